#include "core/Format.h"

#include "core/Errors.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace lot {

TFormatSettings &FormatSettings() {
    static TFormatSettings settings;
    return settings;
}

namespace {

// Guards against a width or precision taken from data ("%*d").
constexpr int MaxWidth = 65535;
constexpr int MaxFloatPrecision = 18;

[[noreturn]] void ThrowInvalid(const QString &fmt) {
    throw EError(QStringLiteral("Формат \"%1\" неверен или несовместим с аргументом").arg(fmt));
}

bool IsIntegerType(int id) {
    switch (id) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::UChar:
        return true;
    default:
        return false;
    }
}

// 32-bit arguments print their negative values in 32-bit two's complement
// with %u and %x, as the classic Format does for Integer.
bool IsWideType(int id) {
    return id == QMetaType::LongLong || id == QMetaType::ULongLong ||
           (sizeof(long) == 8 && (id == QMetaType::Long || id == QMetaType::ULong));
}

struct TIntArg {
    bool Negative = false;
    quint64 Magnitude = 0;
    bool Wide = false;

    quint64 Bits() const {
        if (!Negative) return Magnitude;
        const quint64 twos = ~Magnitude + 1;
        return Wide ? twos : (twos & 0xFFFFFFFFull);
    }
};

// Decimal digits of a finite double: value = 0.D1D2... * 10^Exp. Seventeen
// significant digits identify any double; rounding then works on the
// decimal digits, half away from zero, as the classic float formatting does.
struct TDigits {
    QByteArray Digits; // no leading zeros; empty for zero
    int Exp = 0;
    bool Negative = false;

    static TDigits From(double v) {
        TDigits d;
        d.Negative = std::signbit(v);
        if (v == 0) return d;
        char buf[64];
        const auto res =
            std::to_chars(buf, buf + sizeof buf, std::fabs(v), std::chars_format::scientific, 16);
        const QByteArray text(buf, int(res.ptr - buf));
        const int e = text.indexOf('e');
        d.Digits = text.left(e).replace('.', QByteArray());
        d.Exp = text.mid(e + 1).toInt() + 1;
        d.Trim();
        return d;
    }

    void Trim() {
        while (!Digits.isEmpty() && Digits.endsWith('0'))
            Digits.chop(1);
        if (Digits.isEmpty()) Exp = 0;
    }

    // Keeps the first `keep` digits, rounding half up on the next one.
    void RoundTo(int keep) {
        if (keep >= Digits.size()) return;
        if (keep < 0) {
            Digits.clear();
            Exp = 0;
            return;
        }
        const bool up = Digits[keep] >= '5';
        Digits.truncate(keep);
        if (up) {
            int i = keep - 1;
            while (i >= 0 && Digits[i] == '9')
                Digits[i--] = '0';
            if (i >= 0) {
                ++Digits[i];
            } else {
                Digits.prepend('1');
                ++Exp;
            }
        }
        Trim();
    }

    char DigitAt(int i) const { return i >= 0 && i < Digits.size() ? Digits[i] : '0'; }
    bool IsZero() const { return Digits.isEmpty(); }
};

QString SpecialFloat(double v) {
    if (std::isnan(v)) return QStringLiteral("NAN");
    return v < 0 ? QStringLiteral("-INF") : QStringLiteral("INF");
}

QString FixedText(double v, int decimals, bool thousands) {
    if (!std::isfinite(v)) return SpecialFloat(v);
    const TFormatSettings &fs = FormatSettings();
    TDigits d = TDigits::From(v);
    d.RoundTo(d.Exp + decimals);
    QString intPart;
    for (int i = 0; i < d.Exp; ++i)
        intPart += QChar(d.DigitAt(i));
    if (intPart.isEmpty()) intPart = QStringLiteral("0");
    if (thousands && !fs.ThousandSeparator.isNull()) {
        for (qsizetype pos = intPart.size() - 3; pos > 0; pos -= 3)
            intPart.insert(pos, fs.ThousandSeparator);
    }
    QString s = (d.Negative && !d.IsZero()) ? QStringLiteral("-") : QString();
    s += intPart;
    if (decimals > 0) {
        s += fs.DecimalSeparator;
        for (int i = 0; i < decimals; ++i)
            s += QChar(d.DigitAt(d.Exp + i));
    }
    return s;
}

QString ExponentText(int exp, bool plusSign, int minDigits) {
    QString s = exp < 0 ? QStringLiteral("-") : (plusSign ? QStringLiteral("+") : QString());
    s += QStringLiteral("%1").arg(std::abs(exp), minDigits, 10, QChar('0'));
    return s;
}

// "-d.ddddE+ddd" with `precision` significant digits.
QString ScientificText(double v, int precision) {
    if (!std::isfinite(v)) return SpecialFloat(v);
    TDigits d = TDigits::From(v);
    d.RoundTo(precision);
    QString s = (d.Negative && !d.IsZero()) ? QStringLiteral("-") : QString();
    s += QChar(d.IsZero() ? '0' : d.DigitAt(0));
    if (precision > 1) {
        s += FormatSettings().DecimalSeparator;
        for (int i = 1; i < precision; ++i)
            s += QChar(d.DigitAt(i));
    }
    s += 'E';
    s += ExponentText(d.IsZero() ? 0 : d.Exp - 1, true, 3);
    return s;
}

// Shortest form with at most `precision` significant digits; scientific for
// very large or very small magnitudes.
QString GeneralText(double v, int precision) {
    if (!std::isfinite(v)) return SpecialFloat(v);
    TDigits d = TDigits::From(v);
    d.RoundTo(precision);
    if (d.IsZero()) return QStringLiteral("0");
    const QChar dot = FormatSettings().DecimalSeparator;
    QString s = d.Negative ? QStringLiteral("-") : QString();
    if (d.Exp > precision || d.Exp < -4) {
        s += QChar(d.DigitAt(0));
        if (d.Digits.size() > 1) {
            s += dot;
            for (int i = 1; i < d.Digits.size(); ++i)
                s += QChar(d.Digits[i]);
        }
        s += 'E';
        s += ExponentText(d.Exp - 1, false, 1);
        return s;
    }
    if (d.Exp <= 0) {
        s += '0';
        s += dot;
        for (int i = d.Exp; i < 0; ++i)
            s += '0';
        s += QString::fromLatin1(d.Digits);
        return s;
    }
    for (int i = 0; i < d.Exp; ++i)
        s += QChar(d.DigitAt(i));
    if (d.Digits.size() > d.Exp) {
        s += dot;
        s += QString::fromLatin1(d.Digits.mid(d.Exp));
    }
    return s;
}

class TFormatter {
public:
    TFormatter(const QString &fmt, const QVariantList &args) : m_fmt(fmt), m_args(args) {}

    QString Run() {
        QString out;
        const qsizetype n = m_fmt.size();
        while (m_pos < n) {
            const QChar ch = m_fmt[m_pos++];
            if (ch != '%') {
                out += ch;
                continue;
            }
            if (m_pos < n && m_fmt[m_pos] == '%') {
                out += '%';
                ++m_pos;
                continue;
            }
            out += Spec();
        }
        return out;
    }

private:
    QChar Peek() const { return m_pos < m_fmt.size() ? m_fmt[m_pos] : QChar(); }

    const QVariant &NextArg() {
        if (m_argIndex < 0 || m_argIndex >= m_args.size())
            throw EError(QStringLiteral("Нет аргумента для формата \"%1\"").arg(m_fmt));
        return m_args[m_argIndex++];
    }

    // Digits or '*' (taken from the arguments); false when neither is there.
    bool ReadNumber(int &value) {
        if (Peek() == '*') {
            ++m_pos;
            const QVariant &arg = NextArg();
            if (!IsIntegerType(arg.typeId())) ThrowInvalid(m_fmt);
            value = int(qBound<qint64>(-MaxWidth, arg.toLongLong(), qint64(MaxWidth)));
            return true;
        }
        if (!Peek().isDigit()) return false;
        qint64 v = 0;
        while (Peek().isDigit()) {
            v = std::min<qint64>(v * 10 + Peek().digitValue(), MaxWidth);
            ++m_pos;
        }
        value = int(v);
        return true;
    }

    TIntArg IntArg() {
        const QVariant &arg = NextArg();
        const int id = arg.typeId();
        if (!IsIntegerType(id)) ThrowInvalid(m_fmt);
        TIntArg r;
        r.Wide = IsWideType(id);
        if (id == QMetaType::ULongLong || id == QMetaType::ULong) {
            r.Magnitude = arg.toULongLong();
        } else {
            const qint64 v = arg.toLongLong();
            r.Negative = v < 0;
            r.Magnitude = r.Negative ? quint64(0) - quint64(v) : quint64(v);
        }
        return r;
    }

    double FloatArg() {
        const QVariant &arg = NextArg();
        const int id = arg.typeId();
        if (id == QMetaType::Double || id == QMetaType::Float) return arg.toDouble();
        if (id == QMetaType::ULongLong || id == QMetaType::ULong) return double(arg.toULongLong());
        if (IsIntegerType(id)) return double(arg.toLongLong());
        ThrowInvalid(m_fmt);
    }

    QString StringArg() {
        const QVariant &arg = NextArg();
        switch (arg.typeId()) {
        case QMetaType::QString:
            return arg.toString();
        case QMetaType::QChar:
            return QString(arg.toChar());
        case QMetaType::QByteArray:
            return QString::fromUtf8(arg.toByteArray());
        default:
            ThrowInvalid(m_fmt);
        }
    }

    QString Spec() {
        int first = 0, width = 0, precision = -1;
        bool left = false;
        bool haveNumber = ReadNumber(first);
        if (haveNumber && Peek() == ':') {
            ++m_pos;
            m_argIndex = first;
            haveNumber = false;
        }
        if (haveNumber) {
            width = first;
        } else {
            if (Peek() == '-') {
                left = true;
                ++m_pos;
            }
            ReadNumber(width);
        }
        if (Peek() == '.') {
            ++m_pos;
            if (!ReadNumber(precision)) precision = 0;
        }
        // A negative width from "%*d" left-justifies, as printf does.
        if (width < 0) {
            left = true;
            width = -width;
        }
        if (precision < 0) precision = -1;
        if (m_pos >= m_fmt.size()) ThrowInvalid(m_fmt);
        const char type = char(m_fmt[m_pos++].toLower().unicode());

        QString text;
        switch (type) {
        case 'd': {
            const TIntArg v = IntArg();
            QString digits = QString::number(v.Magnitude);
            if (precision > digits.size()) digits = QString(precision - digits.size(), '0') + digits;
            text = (v.Negative ? QStringLiteral("-") : QString()) + digits;
            break;
        }
        case 'u': {
            const TIntArg v = IntArg();
            text = QString::number(v.Bits());
            if (precision > text.size()) text = QString(precision - text.size(), '0') + text;
            break;
        }
        case 'x': {
            const TIntArg v = IntArg();
            text = QString::number(v.Bits(), 16).toUpper();
            if (precision > text.size()) text = QString(precision - text.size(), '0') + text;
            break;
        }
        case 'p': {
            const TIntArg v = IntArg();
            text = QStringLiteral("%1").arg(v.Bits(), v.Wide ? 16 : 8, 16, QChar('0')).toUpper();
            break;
        }
        case 'e':
            text =
                ScientificText(FloatArg(), precision < 0 ? 15 : std::clamp(precision, 1, MaxFloatPrecision));
            break;
        case 'g':
            text = GeneralText(FloatArg(), precision < 0 ? 15 : std::clamp(precision, 1, MaxFloatPrecision));
            break;
        case 'f':
            text = FixedText(FloatArg(), precision < 0 ? 2 : std::min(precision, MaxFloatPrecision), false);
            break;
        case 'n':
        case 'm':
            text = FixedText(FloatArg(), precision < 0 ? 2 : std::min(precision, MaxFloatPrecision), true);
            break;
        case 's':
            text = StringArg();
            if (precision >= 0 && precision < text.size()) text.truncate(precision);
            break;
        default:
            ThrowInvalid(m_fmt);
        }
        if (width > text.size()) {
            const QString pad(width - text.size(), ' ');
            text = left ? text + pad : pad + text;
        }
        return text;
    }

    const QString &m_fmt;
    const QVariantList &m_args;
    qsizetype m_pos = 0;
    int m_argIndex = 0;
};

} // namespace

QString Format(const QString &fmt, const QVariantList &args) {
    return TFormatter(fmt, args).Run();
}

QString Format(const QString &fmt, std::initializer_list<QVariant> args) {
    return Format(fmt, QVariantList(args));
}

} // namespace lot
