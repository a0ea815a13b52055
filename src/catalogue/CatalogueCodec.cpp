#include "catalogue/CatalogueCodec.h"

#include "core/Codec1251.h"
#include "core/Errors.h"
#include "core/Format.h"

#include <QTimeZone>

namespace lot {

namespace {

/// The letter E writes for a control byte, or 0 when it has none.
char ControlLetter(unsigned char c) {
    switch (c) {
    case 7:
        return 'a';
    case 8:
        return 'b';
    case 9:
        return 't';
    case 10:
        return 'n';
    case 11:
        return 'v';
    case 12:
        return 'f';
    case 13:
        return 'r';
    case 27:
        return 'e';
    default:
        return c <= 6 ? char('0' + c) : 0;
    }
}

} // namespace

QByteArray CatalogueEscapeBytes(const QByteArray &ansi) {
    QByteArray out;
    out.reserve(ansi.size() + ansi.size() / 8 + 8);
    for (const char ch : ansi) {
        const auto c = static_cast<unsigned char>(ch);
        if (const char letter = ControlLetter(c)) {
            out += '\\';
            out += letter;
        } else if (ch == '"' || ch == '\'' || ch == '?' || ch == '\\') {
            out += '\\';
            out += ch;
        } else {
            out += ch;
        }
    }
    return out;
}

QByteArray CatalogueEscape(const QString &text) {
    return CatalogueEscapeBytes(ToCp1251(text));
}

QByteArray CatalogueUnescape(const QByteArray &escaped) {
    QByteArray out;
    out.reserve(escaped.size());
    for (qsizetype i = 0; i < escaped.size(); ++i) {
        const char ch = escaped[i];
        if (ch != '\\') {
            out += ch;
            continue;
        }
        if (++i == escaped.size()) throw EError(QStringLiteral("Обратная косая черта в конце значения"));
        const char next = escaped[i];
        switch (next) {
        case 'a':
            out += char(7);
            break;
        case 'b':
            out += char(8);
            break;
        case 't':
            out += char(9);
            break;
        case 'n':
            out += char(10);
            break;
        case 'v':
            out += char(11);
            break;
        case 'f':
            out += char(12);
            break;
        case 'r':
            out += char(13);
            break;
        case 'e':
            out += char(27);
            break;
        case '"':
        case '\'':
        case '?':
        case '\\':
            out += next;
            break;
        default:
            if (next >= '0' && next <= '6') {
                out += char(next - '0');
                break;
            }
            throw EError(Format(QStringLiteral("Недопустимая последовательность \"\\%s\" в значении"),
                                {QString::fromLatin1(QByteArray(1, next).toPercentEncoding())}));
        }
    }
    return out;
}

QByteArray FormBody(const TFormFields &fields) {
    QByteArray body;
    for (const TFormField &field : fields) {
        if (!body.isEmpty()) body += '&';
        body += field.first.toPercentEncoding();
        body += '=';
        body += field.second.toPercentEncoding();
    }
    return body;
}

QByteArray Base64(const QByteArray &bytes) {
    return bytes.toBase64();
}

QByteArray FromBase64(const QByteArray &text) {
    const auto decoded = QByteArray::fromBase64Encoding(text, QByteArray::AbortOnBase64DecodingErrors);
    if (!decoded) throw EError(QStringLiteral("Ошибка декодирования Base64"));
    return *decoded;
}

QDateTime CatalogueDate(const QString &text) {
    if (text.isEmpty()) return {};
    const auto bad = [&text] {
        return EConvertError(Format(QStringLiteral("\"%s\" не является правильной датой"), {text}));
    };
    // Fixed places: year 1-4, month 6-7, day 9-10, hour 12-13, minute 15-16, second 18-19.
    if (text.size() != 19) throw bad();
    const auto number = [&](int from, int length) {
        int value = 0;
        for (int i = from; i < from + length; ++i) {
            const QChar c = text[i];
            if (c < QLatin1Char('0') || c > QLatin1Char('9')) throw bad();
            value = value * 10 + (c.unicode() - '0');
        }
        return value;
    };
    const QDate date(number(0, 4), number(5, 2), number(8, 2));
    const QTime time(number(11, 2), number(14, 2), number(17, 2));
    if (!date.isValid() || !time.isValid()) throw bad();
    return QDateTime(date, time, Qt::UTC).toLocalTime();
}

QString CatalogueDateText(const QDateTime &time) {
    if (!time.isValid()) return {};
    return time.toUTC().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

namespace {
struct TLanguage {
    int Lcid;
    const char *Abbreviation;
    const char *Name;
};
// Windows' LOCALE_SABBREVLANGNAME of the languages a script is likely written for.
constexpr TLanguage Languages[] = {
    {1049, "RUS", "Русский"},  {1058, "UKR", "Українська"}, {1059, "BEL", "Беларуская"},
    {1033, "ENU", "English"},  {1031, "DEU", "Deutsch"},    {1036, "FRA", "Français"},
    {1045, "PLK", "Polski"},   {1087, "KKZ", "Қазақ"},      {1062, "LVI", "Latviešu"},
    {1063, "LTH", "Lietuvių"}, {1061, "ETI", "Eesti"},      {1068, "AZE", "Azərbaycan"},
};
} // namespace

QString LanguageAbbreviation(int lcid) {
    for (const TLanguage &l : Languages)
        if (l.Lcid == lcid) return QString::fromLatin1(l.Abbreviation);
    return QString::number(lcid);
}

QList<QPair<int, QString>> ScriptLanguages() {
    QList<QPair<int, QString>> list;
    for (const TLanguage &l : Languages)
        list.append({l.Lcid, QString::fromUtf8(l.Name)});
    return list;
}

} // namespace lot
