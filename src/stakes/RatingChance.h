#pragma once
/// @file The luck of a rating row: the probability that as many random
/// stakes of six numbers would reach at least the row's overlaps sum by
/// pure chance. Each random stake's overlap count follows the match-class
/// table p(0..6); the sum of n of them is counted exactly (the n-fold
/// convolution) up to ExactChanceLimit stakes and approximated beyond it by
/// the saddle-point tail formula of Lugannani and Rice with the continuity
/// correction for lattice sums (Daniels 1987), whose relative error stays
/// of order 1/n far into the tail, where a normal approximation fails by
/// orders of magnitude.

#include "stakes/Ratings.h"

#include <cstdint>
#include <QString>

namespace lot {

/// Up to this many stakes the probability is counted exactly.
inline constexpr int ExactChanceLimit = 1000;

/// P(S_n >= overlaps), S_n the overlaps sum of n random stakes; 1 for
/// overlaps <= 0, 0 above 6 n. n <= 0 gives 1. exactLimit: the largest n
/// counted exactly.
long double ChanceOfOverlaps(int64_t n, int64_t overlaps, int exactLimit = ExactChanceLimit);
/// The exact count, whatever n (the tests' reference for the approximation).
long double ExactChanceOfOverlaps(int64_t n, int64_t overlaps);
/// The saddle-point approximation, whatever n.
long double ApproxChanceOfOverlaps(int64_t n, int64_t overlaps);

/// The probability of a row as "%.3g"-like text: "1", "0.0123", "4.56e-12";
/// empty for a row without stakes.
QString RatingChanceText(const TRatingRec &rec);
/// The row's tooltip: "Вероятность угадать случайными ставками (%d) не меньше %d: %s".
QString RatingChanceHint(const TRatingRec &rec);

} // namespace lot
