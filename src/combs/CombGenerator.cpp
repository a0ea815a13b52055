#include "combs/CombGenerator.h"

#include "core/CoreHelpers.h"

#include <bit>
#include <cstring>
#include <QRegularExpression>
#include <QtEndian>

namespace lot {

QStringList CombsGenerateModeTexts() {
    return {
        QStringLiteral("Полный список (все возможные для данного лото варианты)"),
        QStringLiteral("Мои числа - должно присутствовать любое из указанных"),
        QStringLiteral("Мои числа - комбинации только из списка указанных"),
        QStringLiteral("Мои числа - исключить комбинации с любым из указанных"),
        QStringLiteral("Загрузить список из заранее подготовленного CSV-файла"),
    };
}

uint64_t ParseMyNumbers(const QString &text) {
    uint64_t mask = 0;
    const QStringList words = text.split(QRegularExpression(QStringLiteral("[,;]")));
    for (const QString &word : words) {
        bool ok = false;
        const int n = word.trimmed().toInt(&ok);
        if (ok) mask |= NumberBit(n);
    }
    return mask;
}

namespace {

// The enumeration is written out as six loops (rather than a generic
// "next combination" step) because this is the hot path of every start-up
// and every script run: the prefix stays in registers and the innermost
// loop is a plain store.
int GenerateAll(TComb *dest) {
    // Each combination goes out as one 8-byte store of the five-number
    // prefix and the last number; its two spare bytes land on the next
    // combination of the run, which the next store overwrites. The last of
    // each run is stored as six bytes, so nothing is written past the array.
    TComb *p = dest;
    for (uint64_t a = 1; a <= 40; ++a) {
        for (uint64_t b = a + 1; b <= 41; ++b) {
            for (uint64_t d3 = b + 1; d3 <= 42; ++d3) {
                for (uint64_t d4 = d3 + 1; d4 <= 43; ++d4) {
                    for (uint64_t d5 = d4 + 1; d5 <= 44; ++d5) {
                        const uint64_t prefix = a | b << 8 | d3 << 16 | d4 << 24 | d5 << 32;
                        for (uint64_t d6 = d5 + 1; d6 < 45; ++d6) {
                            const uint64_t v = qToLittleEndian(prefix | d6 << 40);
                            std::memcpy(static_cast<void *>(p++), &v, 8);
                        }
                        const uint64_t v = qToLittleEndian(prefix | uint64_t(45) << 40);
                        std::memcpy(static_cast<void *>(p++), &v, 6);
                    }
                }
            }
        }
    }
    return int(p - dest);
}

template <class Keep> int GenerateFiltered(TComb *dest, Keep keep) {
    TComb *p = dest;
    TComb c;
    for (int a = 1; a <= 40; ++a) {
        c.N[0] = uint8_t(a);
        const uint64_t ma = uint64_t(1) << a;
        for (int b = a + 1; b <= 41; ++b) {
            c.N[1] = uint8_t(b);
            const uint64_t mb = ma | uint64_t(1) << b;
            for (int d3 = b + 1; d3 <= 42; ++d3) {
                c.N[2] = uint8_t(d3);
                const uint64_t m3 = mb | uint64_t(1) << d3;
                for (int d4 = d3 + 1; d4 <= 43; ++d4) {
                    c.N[3] = uint8_t(d4);
                    const uint64_t m4 = m3 | uint64_t(1) << d4;
                    for (int d5 = d4 + 1; d5 <= 44; ++d5) {
                        c.N[4] = uint8_t(d5);
                        const uint64_t m5 = m4 | uint64_t(1) << d5;
                        for (int d6 = d5 + 1; d6 <= 45; ++d6) {
                            if (keep(m5 | uint64_t(1) << d6)) {
                                c.N[5] = uint8_t(d6);
                                *p++ = c;
                            }
                        }
                    }
                }
            }
        }
    }
    return int(p - dest);
}

} // namespace

int GenerateInto(int mode, uint64_t numbers, TComb *dest) {
    switch (NormalizeGenerateMode(mode)) {
    case cgmAnyOf:
        return GenerateFiltered(dest, [numbers](uint64_t m) { return (m & numbers) != 0; });
    case cgmOnlyOf:
        return GenerateFiltered(dest, [numbers](uint64_t m) { return (m & ~numbers) == 0; });
    case cgmNoneOf:
        return GenerateFiltered(dest, [numbers](uint64_t m) { return (m & numbers) == 0; });
    default:
        return GenerateAll(dest);
    }
}

int64_t GenerateCount(int mode, uint64_t numbers) {
    const int k = std::popcount(numbers & (NumberBit(NumberCount) * 2 - 2));
    const auto choose = [](int n, int r) -> int64_t { return r > n ? 0 : Binomial(n, r); };
    switch (NormalizeGenerateMode(mode)) {
    case cgmAnyOf:
        return FullSetSize - choose(NumberCount - k, CombSize);
    case cgmOnlyOf:
        return choose(k, CombSize);
    case cgmNoneOf:
        return choose(NumberCount - k, CombSize);
    default:
        return FullSetSize;
    }
}

} // namespace lot
