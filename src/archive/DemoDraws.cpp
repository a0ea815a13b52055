#include "archive/DemoDraws.h"

#include "core/CoreHelpers.h"

#include <numeric>
#include <random>

namespace lot {

namespace {

/// Uniform in [0, bound) by rejection: the top partial block of the 32-bit
/// range is redrawn so that no value is favoured.
quint32 Uniform(std::mt19937 &gen, quint32 bound) {
    const quint32 limit = quint32((0x1'0000'0000ULL / bound) * bound - 1);
    quint32 x;
    do
        x = quint32(gen());
    while (x > limit);
    return x % bound;
}

/// The latest Wednesday or Saturday on or before `date`.
QDate LastDrawDay(QDate date) {
    while (date.dayOfWeek() != Qt::Wednesday && date.dayOfWeek() != Qt::Saturday)
        date = date.addDays(-1);
    return date;
}

/// The draw day before `date`: Saturday -> Wednesday (3 days), Wednesday ->
/// Saturday of the week before (4 days).
QDate PreviousDrawDay(QDate date) {
    return date.addDays(date.dayOfWeek() == Qt::Saturday ? -3 : -4);
}

} // namespace

TDrawsArray MakeDemoDraws(int count, quint32 seed, QDate lastDate) {
    TDrawsArray draws;
    if (count <= 0) return draws;
    draws.resize(size_t(count));

    std::mt19937 gen(seed);
    for (int i = 0; i < count; ++i) {
        TDrawRec &draw = draws[size_t(i)];
        draw.DrawNumber = DemoFirstDrawNumber + 2 * i;
        // A partial Fisher-Yates shuffle: eight balls drawn without
        // replacement, the first six are the main numbers in draw order.
        uint8_t pool[NumberCount];
        std::iota(pool, pool + NumberCount, uint8_t(1));
        for (int k = 0; k < CombSize + ExtraCount; ++k) {
            const int j = k + int(Uniform(gen, quint32(NumberCount - k)));
            std::swap(pool[k], pool[j]);
        }
        for (int k = 0; k < CombSize; ++k)
            draw.Numbers[k] = pool[k];
        for (int k = 0; k < ExtraCount; ++k)
            draw.Extra[k] = pool[CombSize + k];
    }

    if (lastDate.isValid()) {
        QDate date = LastDrawDay(lastDate);
        for (int i = count - 1; i >= 0; --i) {
            SetDrawDateText(draws[size_t(i)], DateToDrawText(date));
            date = PreviousDrawDay(date);
        }
    }
    return draws;
}

} // namespace lot
