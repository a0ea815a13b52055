#pragma once
/// @file The stake record (312 bytes, also the record of the stakes file),
/// the separator record and the texts of a stake: its comment, the typed
/// numbers of the stake dialogs, the cells of the stakes grid and the
/// conditions of the delete by overlaps.

#include "core/Lottery.h"

#include <cstddef>
#include <cstdint>
#include <QString>

namespace lot {

/// Version marker stored in byte 0 of every stake record.
inline constexpr uint8_t StakesVersion = 2;

#pragma pack(push, 1)
/// One stake; 312 bytes, also the record of the stakes file.
struct TStakeRec {
    uint8_t Version = StakesVersion;
    uint8_t Kind = skSeparator; ///< TStakeKind
    uint8_t Reserved1[2] = {};
    int32_t DrawNumber = 0; ///< -1 in a separator record
    uint8_t Checked = 0;    ///< 1 once checked against its draw
    uint8_t Reserved2[3] = {};
    int32_t Sample = 0;          ///< size of the combination list when the stake was made
    TNumberSet Numbers;          ///< the numbers played, ascending
    uint8_t DrawResult[8] = {};  ///< main numbers of the draw (archive order), filled when checked
    TNumberSet Overlaps{-1, {}}; ///< count -1 until checked
    int64_t Profit = 0;          ///< money units of 1/10000: prize minus cost
    TShortString<255> Comment;   ///< Windows-1251
};
#pragma pack(pop)

static_assert(sizeof(TStakeRec) == 312, "TStakeRec is a 312-byte file record");
static_assert(offsetof(TStakeRec, DrawNumber) == 4);
static_assert(offsetof(TStakeRec, Checked) == 8);
static_assert(offsetof(TStakeRec, Sample) == 12);
static_assert(offsetof(TStakeRec, Numbers) == 16);
static_assert(offsetof(TStakeRec, DrawResult) == 28);
static_assert(offsetof(TStakeRec, Overlaps) == 36);
static_assert(offsetof(TStakeRec, Profit) == 48);
static_assert(offsetof(TStakeRec, Comment) == 56);

inline constexpr qint64 StakeRecSize = qint64(sizeof(TStakeRec));

/// Longest comment the stake dialogs take (the record holds 255 bytes).
inline constexpr int StakeCommentMaxLength = 64;

/// The comment of manual stakes.
QString ManualStakeComment(); ///< Ставка "вручную"

/// Fills rec as a separator record: version 2, kind 0, draw number -1,
/// overlaps count -1, every other byte zero.
void NewSeparator(TStakeRec &rec);
TStakeRec SeparatorRecord();

/// Shown as an empty row and never checked: a separator, or any record
/// whose draw number is not positive.
inline bool IsEmptyRow(const TStakeRec &rec) {
    return rec.DrawNumber <= 0;
}

/// The stake numbers' count as far as the record can hold them: a count
/// outside 0..8 read from a file never indexes past the eight bytes.
int StakeNumberCount(const TStakeRec &rec);

/// A candidate of the check: not checked yet, a positive draw number and
/// six to eight numbers (a larger count is no stake the program made).
bool IsCheckCandidate(const TStakeRec &rec);

QString StakeComment(const TStakeRec &rec);
/// Stores text in Windows-1251, cut to the record's 255 bytes.
void SetStakeComment(TStakeRec &rec, const QString &text);

/// The numbers of the stake dialog: exactly six words separated by "," or
/// ";", each (trimmed) an integer 1..45, all distinct. On success numbers
/// holds them ascending (count 6).
bool ParseStakeNumbers(const QString &text, TNumberSet &numbers);
/// The running sum of the stake dialog: every word separated by "," or ";",
/// a word that is no integer counting 0.
qint64 StakeNumbersSum(const QString &text);

// ---- the stakes grid ---------------------------------------------------------------------
inline constexpr int StakeColumnCount = 9;
enum TStakeColumn {
    scDrawNumber = 0,
    scKind = 1,
    scNumbers = 2,
    scSample = 3,
    scDrawResult = 4,
    scOverlapCount = 5,
    scOverlaps = 6,
    scProfit = 7,
    scComment = 8
};
/// "№ тиража", "Вид ставки", ... "Комментарий".
QString StakeColumnHeader(int column);
/// The text of a grid cell; every cell of an empty row (IsEmptyRow) is empty.
QString StakeCellText(const TStakeRec &rec, int column);
/// The six draw numbers of a checked stake joined by ";"; empty before.
QString StakeDrawResultText(const TStakeRec &rec);

// ---- delete by overlaps ------------------------------------------------------------------
inline constexpr int StakeConditionCount = 5;
inline constexpr int StakeConditionValueMax = CombSize;
/// "Равно [ = ]", "Более [ > ]", "Не менее [ >= ]", "Менее [ < ]", "Не более [ <= ]".
QString StakeConditionText(int condition);
/// Whether a stake with overlap count o (-1 when unchecked) is removed by
/// the condition with value.
bool StakeConditionHolds(int condition, int value, int o);

} // namespace lot
