#pragma once
/// @file What a system guarantees. For m = 3..6 of the drawn numbers falling
/// among the system's N numbers, each of the C(N, m) cases has a best
/// combination; the table counts, for every k, the cases in which some
/// combination of the system holds at least k of the m numbers. The
/// guarantee for m is the largest k reached in every case ("4 if 6").

#include "core/Lottery.h"

#include <array>
#include <cstdint>
#include <QString>
#include <QStringList>
#include <vector>

namespace lot {

inline constexpr int GuaranteeMinDrawn = 3;
inline constexpr int GuaranteeMaxDrawn = CombSize;

struct TGuaranteeTable {
    int Nums = 0;  ///< N
    int Combs = 0; ///< combinations of the system
    /// Cases[m] = C(N, m).
    std::array<int64_t, GuaranteeMaxDrawn + 1> Cases{};
    /// Reached[m][k]: the cases of m drawn numbers in which some combination
    /// holds at least k of them (Reached[m][0] = Cases[m]).
    std::array<std::array<int64_t, GuaranteeMaxDrawn + 1>, GuaranteeMaxDrawn + 1> Reached{};

    /// The largest k reached in every case of m (0 for an empty system).
    int Guarantee(int m) const;
    friend bool operator==(const TGuaranteeTable &, const TGuaranteeTable &) = default;
};

/// The table of a system given as positions 1..n (n 7..45; every
/// combination six distinct positions of 1..n), exact. Bit-sliced counters
/// over the combinations walk the cases depth first, one task per pair of
/// smallest numbers, on every core when parallel is set; the counts do not
/// depend on it.
TGuaranteeTable GuaranteeTable(const std::vector<TComb> &positions, int n, bool parallel = true);
/// The same by the plain way: every case against every combination as bit
/// masks over the N numbers, one thread. The reference of the tests and the
/// baseline of the benchmarks.
TGuaranteeTable GuaranteeTableBrute(const std::vector<TComb> &positions, int n);
/// Whether the system reaches k of m drawn numbers in every case; stops at
/// the first case that fails, on every core when parallel is set.
bool GuaranteeHolds(const std::vector<TComb> &positions, int n, int m, int k, bool parallel = true);

/// A share of cases in percent with two decimals, rounded half up, but
/// "100.00" only when every case is reached: a guarantee is never shown
/// that one case in millions breaks.
QString GuaranteeShareText(int64_t reached, int64_t cases);
/// The lines of `systems check`: "m\tk\tshare" for m = 3..6 and k = 1..m.
QStringList GuaranteeTableLines(const TGuaranteeTable &table);

} // namespace lot
