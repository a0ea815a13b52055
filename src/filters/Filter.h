#pragma once
/// @file The filter records: a filter as the user wrote it (TFilterItem), one
/// concrete filter step (TFilterPart), the seven steps of a script line
/// variant (TFilterRec) and the chain of variants (TFilterVar); the tables of
/// row selection modes and stop conditions.

#include "stats/ConfigData.h"

#include <array>
#include <cstdint>
#include <memory>
#include <QString>

namespace lot {

/// Number of row selection modes (0..31).
inline constexpr int LevelModeCount = 32;
/// Number of stop conditions (0..5).
inline constexpr int StopModeCount = 6;
/// Filter slots of one script line.
inline constexpr int FilterSlotCount = 7;
/// The caption of an index outside a table.
inline constexpr const char *FilterCaptionError = "# ERROR #";

/// Row selection modes by index.
enum TLevelMode : uint8_t {
    lmNone = 0,              ///< LNO: every row
    lmDepthMinValue = 1,     ///< LMV
    lmDepthMinPercent = 2,   ///< LMP
    lmDepthMaxValue = 3,     ///< LLV
    lmDepthMaxPercent = 4,   ///< LLP
    lmDepthList = 5,         ///< LDV
    lmDepthPercentList = 6,  ///< LDP
    lmDevMinValue = 7,       ///< DMV
    lmDevMinPercent = 8,     ///< DMP
    lmDevMaxValue = 9,       ///< DLV
    lmDevMaxPercent = 10,    ///< DLP
    lmDevList = 11,          ///< DDV
    lmDevPercentList = 12,   ///< DDP
    lmCountMinValue = 13,    ///< CMV
    lmCountMinPercent = 14,  ///< CMP
    lmCountMaxValue = 15,    ///< CLV
    lmCountMaxPercent = 16,  ///< CLP
    lmCountList = 17,        ///< CDV
    lmCountPercentList = 18, ///< CDP
    lmWeightMin = 19,        ///< WMV
    lmWeightMax = 20,        ///< WLV
    lmWeightList = 21,       ///< WDV
    lmPeriodMinMin = 22,     ///< PIM
    lmPeriodMinMax = 23,     ///< PIL
    lmPeriodMinList = 24,    ///< PIR
    lmPeriodAvgMin = 25,     ///< PAM
    lmPeriodAvgMax = 26,     ///< PAL
    lmPeriodAvgList = 27,    ///< PAR
    lmPeriodMaxMin = 28,     ///< PXM
    lmPeriodMaxMax = 29,     ///< PXL
    lmPeriodMaxList = 30,    ///< PXR
    lmValueList = 31,        ///< LVA: the value key in a typed list
};

/// Stop conditions by index.
enum TStopMode : uint8_t {
    smFull = 0,       ///< SF: process every row
    smCombCount = 1,  ///< SC: combinations left
    smUntilEmpty = 2, ///< SZ: until a step would empty the list (undone)
    smSteps = 3,      ///< ST: number of steps
    smCount = 4,      ///< SV: the count column crosses the value
    smPercent = 5,    ///< SP: the count percentage crosses the value
};

/// Coefficients with every field zero.
inline constexpr TWeightCoefs ZeroWeightCoefs{0, 0, 0, false, false};

/// One filter as written in a script line slot or edited in the filter dialog.
struct TFilterItem {
    /// The slot holds a filter; all other fields are zero or empty otherwise.
    bool Enabled = false;
    /// The method word as read from a text (e.g. "NUMS:1000"); empty when the
    /// filter comes from the dialog. Written back unchanged when Method is
    /// none, so a filter naming a method of another edition survives.
    QString MethodText;
    /// Registry entry index (TStatList::Items); -1 when the text names no
    /// registered method. Entries are recreated by a re-registration, so
    /// holders read their filter texts again after one.
    int Method = -1;
    /// Sample lengths as typed, in the integer list syntax.
    QString SampleLengths;
    /// Statistics-table column the table is sorted by before the walk.
    int32_t SortColumn = 0;
    /// Walk the table from the last row upwards.
    bool BottomUp = false;
    /// Select every matching row first and filter once.
    bool MultiSelect = false;
    /// Keep the combinations having a selected value (else delete them).
    bool KeepSelected = false;
    /// Row selection mode 0..31.
    uint8_t LevelMode = 0;
    /// Values of the selection mode as typed.
    QString LevelValues;
    /// The filter carries its own weight coefficients.
    bool OverrideCoefs = false;
    /// Meaningful only with OverrideCoefs; all zero otherwise (the empty text
    /// reads as an all-zero item).
    TWeightCoefs Coefs = ZeroWeightCoefs;
    /// Stop condition 0..5 and its value.
    uint8_t StopMode = 0;
    int32_t StopValue = 0;

    friend bool operator==(const TFilterItem &, const TFilterItem &) = default;
};

/// One concrete filter step: one sample length and, for the single-value
/// modes, one value of its item.
struct TFilterPart {
    bool Enabled = false;
    int Method = -1; ///< registry entry index, as in TFilterItem
    int32_t SampleLength = 0;
    int32_t SortColumn = 0;
    bool BottomUp = false;
    bool MultiSelect = false;
    bool KeepSelected = false;
    uint8_t LevelMode = 0;
    /// What the row test reads: one decimal number for single-value modes,
    /// the list numbers joined by "," for list modes, the typed text for mode 0.
    QString LevelValue;
    /// The value as shown in texts and logs.
    QString LevelText;
    bool OverrideCoefs = false;
    TWeightCoefs Coefs = ZeroWeightCoefs;
    uint8_t StopMode = 0;
    int32_t StopValue = 0;

    friend bool operator==(const TFilterPart &, const TFilterPart &) = default;
};

/// The steps of one script line variant, in slot order, used parts first.
using TFilterRec = std::array<TFilterPart, FilterSlotCount>;

/// One variant of a script line; variants form a singly linked list in
/// creation order. Freeing the head frees the chain without recursion, so
/// a line with many thousands of variants cannot exhaust the stack.
struct TFilterVar {
    TFilterRec Parts;
    std::unique_ptr<TFilterVar> Next;

    TFilterVar() = default;
    ~TFilterVar();
    TFilterVar(const TFilterVar &) = delete;
    TFilterVar &operator=(const TFilterVar &) = delete;
};

// ---- mode and stop tables ----------------------------------------------------

/// Code of a selection mode ("LNO", "LMV", ...); empty outside 0..31.
QString LevelModeCode(int index);
/// Caption of a selection mode; "# ERROR #" outside 0..31.
QString LevelModeCaption(int index);
/// Code of a stop condition ("SF", ...); empty outside 0..5.
QString StopModeCode(int index);
/// Caption of a stop condition; "# ERROR #" outside 0..5.
QString StopModeCaption(int index);

/// The mode's values form one list held by one variant (modes 5, 6, 11, 12,
/// 17, 18, 31); every other mode but 0 expands into one variant per value.
bool IsListLevelMode(int index);
/// The weight modes 19..21, the only ones that may carry coefficients.
bool IsWeightLevelMode(int index);

} // namespace lot
