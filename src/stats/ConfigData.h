#pragma once
/// @file The game settings edited by the settings dialog as one record, the
/// weight coefficients of the statistics table and the prize table.

#include "core/CoreHelpers.h"
#include "core/Money.h"

#include <cstdint>
#include <QList>
#include <QString>
#include <vector>

namespace lot {

/// Coefficients of the "Вес" (weight) column.
struct TWeightCoefs {
    long double Count = 0;      ///< coefficient of the count
    long double Deviation = -1; ///< coefficient of the deviation
    long double Level = 1;      ///< coefficient of the depth
    bool UsePercents = false;
    bool UseAbsValues = false;
    friend bool operator==(const TWeightCoefs &, const TWeightCoefs &) = default;
};

/// Prize for a number of overlaps.
struct TProfitItem {
    uint8_t Overlap = 0;
    TMoney Prize;
    friend bool operator==(const TProfitItem &, const TProfitItem &) = default;
};

inline constexpr int MatrixColsMin = 1;
inline constexpr int MatrixColsMax = NumberCount;
inline constexpr int ChannelSizeMin = 3;
inline constexpr int ChannelSizeMax = NumberCount;
inline constexpr int SegmentMin = 1;
inline constexpr int SegmentMax = 9;

/// Prefetch groups that depend on the game settings.
inline constexpr int PrefetchGroupChannels = 3;
inline constexpr int PrefetchGroupMatrix = 4;
inline constexpr int PrefetchGroupSegments = 5;

/// Every number in segment 1.
inline TSegmentMap DefaultSegments() {
    TSegmentMap map;
    map.fill(1);
    return map;
}

/// The game settings of the registry that the settings dialog edits.
struct TConfigData {
    int MatrixCols = 5;  ///< columns of the number matrix, 1..45
    int ChannelSize = 5; ///< numbers per channel, 3..45
    TMoney Cost;         ///< price of one six-number ticket
    int MaxStake = 6;    ///< largest count of numbers in one stake
    std::vector<TProfitItem> Profits;
    TWeightCoefs WeightCoefs;
    TSegmentMap MatrixSegments = DefaultSegments(); ///< segment 1..9 of each number 1..45

    friend bool operator==(const TConfigData &, const TConfigData &) = default;
};

/// The prefetch groups whose files must be rebuilt after the settings changed
/// from before to after: matrix columns (4), channel size (3), segment map
/// compared as 45-digit text (5), in that order.
QList<int> ChangedPrefetchGroups(const TConfigData &before, const TConfigData &after);

} // namespace lot
