#include "core/Money.h"

#include <cmath>
#include <limits>

namespace lot {

namespace {

constexpr int64_t MaxUnits = std::numeric_limits<int64_t>::max();
constexpr int64_t MinUnits = std::numeric_limits<int64_t>::min();

// Magnitude without overflow for MinUnits.
uint64_t Magnitude(int64_t v) {
    return v < 0 ? uint64_t(0) - uint64_t(v) : uint64_t(v);
}

} // namespace

TMoney TMoney::FromDouble(double v) {
    if (std::isnan(v)) return {};
    const double scaled = v * double(Scale);
    if (scaled >= 9.2e18) return {MaxUnits};
    if (scaled <= -9.2e18) return {MinUnits};
    return {int64_t(std::llround(scaled))};
}

bool TMoney::TryParse(const QString &input, TMoney &out) {
    const QString text = input.trimmed();
    qsizetype pos = 0;
    bool negative = false;
    if (pos < text.size() && (text[pos] == '-' || text[pos] == '+')) negative = text[pos++] == '-';
    uint64_t whole = 0;
    int intDigits = 0;
    while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9') {
        whole = whole * 10 + uint64_t(text[pos++].unicode() - '0');
        // Anything above this no longer fits in 1/10000 units.
        if (whole > uint64_t(MaxUnits / Scale)) return false;
        ++intDigits;
    }
    uint64_t fraction = 0;
    int fracDigits = 0;
    bool roundUp = false;
    if (pos < text.size() && (text[pos] == '.' || text[pos] == ',')) {
        ++pos;
        while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9') {
            const int digit = text[pos++].unicode() - '0';
            if (fracDigits < 4)
                fraction = fraction * 10 + uint64_t(digit);
            else if (fracDigits == 4)
                roundUp = digit >= 5; // half away from zero on the magnitude
            ++fracDigits;
        }
    }
    if (pos != text.size() || intDigits + fracDigits == 0) return false;
    for (int i = fracDigits; i < 4; ++i)
        fraction *= 10;
    const uint64_t units = whole * uint64_t(Scale) + fraction + (roundUp ? 1 : 0);
    // The negative range reaches one unit further than the positive one.
    if (units > uint64_t(MaxUnits) + (negative ? 1 : 0)) return false;
    out.Units = negative ? int64_t(uint64_t(0) - units) : int64_t(units);
    return true;
}

QString TMoney::ToText() const {
    const uint64_t hundredths = (Magnitude(Units) + 50) / 100; // half away from zero
    QString s = (Units < 0 && hundredths != 0) ? QStringLiteral("-") : QString();
    s += QString::number(hundredths / 100);
    s += '.';
    s += QStringLiteral("%1").arg(hundredths % 100, 2, 10, QChar('0'));
    return s;
}

QString TMoney::ToIniText() const {
    const uint64_t mag = Magnitude(Units);
    QString s = Units < 0 ? QStringLiteral("-") : QString();
    s += QString::number(mag / uint64_t(Scale));
    uint64_t frac = mag % uint64_t(Scale);
    if (frac != 0) {
        QString digits = QStringLiteral("%1").arg(frac, 4, 10, QChar('0'));
        while (digits.endsWith('0'))
            digits.chop(1);
        s += '.';
        s += digits;
    }
    return s;
}

} // namespace lot
