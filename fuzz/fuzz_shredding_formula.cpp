// A shredding formula is whatever the user types into the formulas dialog or
// the ini file. Valuing it must never crash or raise, the value must keep to
// its digits, the one-parse evaluator must give what the substituted text
// gives, and checking it must give a problem text or none.
//
// Input: a byte of digits (0..15), 18 bytes of numbers (n1..n6, p1..p6,
// t1..t6, any byte value), then the formula as UTF-8.

#include "stats/methods/ShreddingFormula.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (size < 19 || size > 20000) return 0;
    const int digits = data[0] % 16;
    lot::TShreddingNumbers numbers;
    for (size_t i = 0; i < 6; ++i) {
        numbers.N[i] = data[1 + i];
        numbers.P[i] = data[7 + i];
        numbers.T[i] = data[13 + i];
    }
    const QString formula =
        QString::fromUtf8(reinterpret_cast<const char *>(data + 19), qsizetype(size - 19));

    lot::TShreddingEvaluator evaluator(formula, digits);
    const int32_t value = evaluator.Value(numbers);
    if (value < 0) std::abort();
    if (digits <= 9) {
        int64_t limit = 1;
        for (int i = 0; i < digits; ++i)
            limit *= 10;
        if (value >= limit) std::abort();
    }
    if (value != lot::ShreddingValueAsWritten(formula, digits, numbers)) std::abort();

    const lot::TFormulaProblem problem = lot::CheckFormula(formula);
    if (problem.Code >= 0 && lot::FormulaProblemText(1, problem).isEmpty()) std::abort();
    return 0;
}
