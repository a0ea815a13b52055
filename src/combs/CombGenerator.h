#pragma once
/// @file Enumeration of the full set and of the "Мои числа" subsets.

#include "core/Lottery.h"

#include <cstdint>
#include <QString>
#include <QStringList>

namespace lot {

/// Generation modes; the number is the item index of the mode selector and
/// the value stored as `CombsGenerateMode`.
enum TCombsGenerateMode : int {
    cgmFullSet = 0,  ///< every combination
    cgmAnyOf = 1,    ///< at least one of the given numbers
    cgmOnlyOf = 2,   ///< only the given numbers
    cgmNoneOf = 3,   ///< none of the given numbers
    cgmFromFile = 4, ///< a combination file
};

inline constexpr int CombsGenerateModeCount = 5;

/// The five mode texts in selector order.
QStringList CombsGenerateModeTexts();

/// A stored mode outside 1..4 stands for the full set.
inline int NormalizeGenerateMode(int mode) {
    return mode >= 1 && mode <= 4 ? mode : cgmFullSet;
}

/// Bit n set for every number 1..45 named in text. Words are split on "," and
/// ";" and trimmed; a word that is not an integer, or names a number outside
/// 1..45, adds nothing (such a number could never match anyway).
uint64_t ParseMyNumbers(const QString &text);

/// Bit mask of a number 1..45 (0 for anything else).
inline uint64_t NumberBit(int n) {
    return IsValidNumber(n) ? uint64_t(1) << n : 0;
}

/// Writes the combinations kept by a mode 0..3 (anything else counts as 0)
/// in lexicographic order from dest[0] and returns how many were written.
/// dest must have room for FullSetSize combinations.
int GenerateInto(int mode, uint64_t numbers, TComb *dest);

/// How many combinations GenerateInto would write, without writing them.
int64_t GenerateCount(int mode, uint64_t numbers);

} // namespace lot
