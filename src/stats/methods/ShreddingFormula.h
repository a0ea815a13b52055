#pragma once
/// @file The shredding formulas: an arithmetic expression over the six
/// numbers being valued (n1..n6), the numbers of the draw before (p1..p6)
/// and of the draw two before (t1..t6), evaluated by muparser. The value is
/// the first digits of the fractional part of the result.
///
/// A formula means what its text says after every n%d, p%d and t%d (in any
/// letter case) is replaced by the decimal text of its number, n1, p1, t1
/// first, then n2, p2, t2 and so on: "n12" is n1 followed by the digit 2.
/// Parsing that text for every combination would be far too slow for the
/// full set, so TShreddingEvaluator parses the formula once with the numbers
/// bound as variables wherever the two readings cannot differ, and falls
/// back to the text otherwise.

#include "core/Lottery.h"

#include <array>
#include <cstdint>
#include <memory>
#include <QString>

namespace lot {

/// The numbers a formula is valued with; 0 stands for a missing number.
struct TShreddingNumbers {
    std::array<uint8_t, CombSize> N{}; ///< the six numbers being valued
    std::array<uint8_t, CombSize> P{}; ///< the numbers of the draw before
    std::array<uint8_t, CombSize> T{}; ///< the numbers of the draw two before
};

/// trunc(frac(|f|) * 10^digits); 0 when f is not finite, digits is negative
/// or the result does not fit the 32-bit value (an overflow is a failure).
int32_t ShreddingDigits(double f, int digits);

/// The formula's text with the numbers put in: for i = 1..6, every "n<i>",
/// then "p<i>", then "t<i>", letter case ignored, becomes the decimal text
/// of that number.
QString SubstituteNumbers(const QString &formula, const TShreddingNumbers &numbers);

/// The formula as the text of SubstituteNumbers reads, evaluated; 0 on any
/// failure. The definition the evaluator is checked against.
int32_t ShreddingValueAsWritten(const QString &formula, int digits, const TShreddingNumbers &numbers);

/// True when parsing the formula once with n1..n6, p1..p6, t1..t6 as
/// variables gives what SubstituteNumbers' text gives for all numbers: each
/// such name stands alone (no letter, digit, "_" or "." beside it, no
/// exponent sign before it) and nothing is assigned.
bool CanBindNumbers(const QString &formula);

/// What muparser reports about a formula.
struct TFormulaProblem {
    int Code = 0;      ///< muparser's error code
    int Position = -1; ///< 0-based position in the text muparser read; -1 when none
    QString Token;     ///< the token it stopped at
    QString Message;   ///< its own (English) message
};

/// The problem muparser finds in the formula, read with sample numbers
/// (1..6, 7..12, 13..18); Code < 0 means none. A formula is a sound one
/// when it parses: a division by zero is not a problem of the text.
TFormulaProblem CheckFormula(const QString &formula);

/// The Russian text of a problem: what kind of error and where, for the
/// formula with the given number (1..3), e.g. "Ошибка в формуле 1: ...".
QString FormulaProblemText(int formulaNumber, const TFormulaProblem &problem);

/// The most decimal digits a formula may keep: more would not fit the value.
inline constexpr int MaxShreddingDigits = 9;

/// Values one formula for many sets of numbers. The formula is parsed once
/// (numbers bound as variables) when CanBindNumbers holds, else the text is
/// substituted and parsed for every value. Not thread-safe: a muparser
/// parser keeps its stack and variables in itself, so each thread needs its
/// own evaluator.
class TShreddingEvaluator {
public:
    TShreddingEvaluator(const QString &formula, int digits);
    ~TShreddingEvaluator();
    TShreddingEvaluator(const TShreddingEvaluator &) = delete;
    TShreddingEvaluator &operator=(const TShreddingEvaluator &) = delete;

    /// True when the numbers are bound as variables (one parse).
    bool IsBound() const;
    /// The value of the numbers; 0 on any failure.
    int32_t Value(const TShreddingNumbers &numbers);
    /// The value of six numbers with the earlier ones given.
    int32_t Value(const TComb &n, const std::array<uint8_t, CombSize> &p,
                  const std::array<uint8_t, CombSize> &t);

private:
    struct TImpl;
    std::unique_ptr<TImpl> m;
};

} // namespace lot
