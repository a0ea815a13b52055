#include "catalogue/CatalogueReply.h"

#include "catalogue/CatalogueCodec.h"
#include "core/Codec1251.h"
#include "core/Errors.h"
#include "core/Format.h"

#include <cmath>

namespace lot {

namespace {

char AsciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
}

/// Where needle starts in text at or after from, ASCII letters without regard to case; -1.
qsizetype IndexOfAscii(const QByteArray &text, const QByteArray &needle, qsizetype from) {
    if (needle.isEmpty()) return -1;
    const qsizetype last = text.size() - needle.size();
    const char first = needle[0];
    // Tags begin with "<", which has no case: jump from one to the next.
    const bool jump = AsciiLower(first) == first && (first < 'a' || first > 'z');
    for (qsizetype i = qMax<qsizetype>(0, from); i <= last; ++i) {
        if (jump) {
            i = text.indexOf(first, i);
            if (i < 0 || i > last) return -1;
        }
        qsizetype k = 0;
        while (k < needle.size() && AsciiLower(text[i + k]) == AsciiLower(needle[k]))
            ++k;
        if (k == needle.size()) return i;
    }
    return -1;
}

/// Trims bytes up to the blank, as the text form of the reply is trimmed.
QByteArray TrimBytes(const QByteArray &text) {
    qsizetype from = 0, to = text.size();
    while (from < to && static_cast<unsigned char>(text[from]) <= ' ')
        ++from;
    while (to > from && static_cast<unsigned char>(text[to - 1]) <= ' ')
        --to;
    return text.mid(from, to - from);
}

/// A value that starts and ends with a double quote loses both, and every other double quote
/// that does not follow a double quote (TextExtract's Unquote, on bytes).
QByteArray UnquoteBytes(const QByteArray &text) {
    if (text.size() < 2 || !text.startsWith('"') || !text.endsWith('"')) return text;
    const QByteArray inner = text.mid(1, text.size() - 2);
    QByteArray out;
    out.reserve(inner.size());
    for (qsizetype i = 0; i < inner.size(); ++i) {
        if (inner[i] == '"' && (i == 0 || inner[i - 1] != '"')) continue;
        out += inner[i];
    }
    return out;
}

EConvertError NotInteger(const QByteArray &value) {
    return EConvertError(
        Format(QStringLiteral("\"%s\" не является целым числом"), {FromCp1251(value.left(64))}));
}

bool ToInteger(const QByteArray &value, int32_t &out) {
    bool ok = false;
    const int v = value.toInt(&ok, 10);
    if (!ok) return false;
    out = v;
    return true;
}

} // namespace

QByteArray BytesBetween(const QByteArray &text, const QByteArray &start, const QByteArray &end,
                        qsizetype from, qsizetype *consumed) {
    if (consumed) *consumed = 0;
    const qsizetype s = IndexOfAscii(text, start, from);
    if (s < 0) return {};
    const qsizetype begin = s + start.size();
    const qsizetype e = IndexOfAscii(text, end, begin);
    if (e < 0) {
        // The same words as the results page's markers; only the start of the text is quoted.
        const QByteArray excerpt = text.size() <= 300 ? text : text.left(300) + "...";
        throw EError(Format(
            QStringLiteral("Не удалось найти пару идентификаторов \"%1:s\" - \"%2:s\" в тексте\r\r[%0:s]!"),
            {FromCp1251(excerpt), QString::fromLatin1(start), QString::fromLatin1(end)}));
    }
    if (consumed) *consumed = e + end.size();
    return UnquoteBytes(TrimBytes(text.mid(begin, e - begin)));
}

bool TReplyRow::StartsWith(const char *prefix) const {
    const QByteArray p(prefix);
    return m_text.size() >= p.size() && IndexOfAscii(m_text.left(p.size()), p, 0) == 0;
}

QByteArray TReplyRow::Raw(const QString &name) const {
    const QByteArray tag = name.toLatin1();
    return BytesBetween(m_text, "<" + tag + ">", "</" + tag + ">");
}

QString TReplyRow::Ansi(const QString &name) const {
    return FromCp1251(Raw(name));
}

QString TReplyRow::Utf8(const QString &name) const {
    return QString::fromUtf8(Raw(name));
}

QString TReplyRow::Base64Utf8(const QString &name) const {
    return QString::fromUtf8(FromBase64(Raw(name)));
}

int32_t TReplyRow::Integer(const QString &name) const {
    const QByteArray value = Raw(name);
    int32_t out = 0;
    if (!ToInteger(value, out)) throw NotInteger(value);
    return out;
}

int32_t TReplyRow::IntegerOr(const QString &name, int32_t def) const {
    int32_t out = 0;
    return ToInteger(Raw(name), out) ? out : def;
}

double TReplyRow::Decimal(const QString &name) const {
    QByteArray value = Raw(name);
    value.replace(',', '.');
    bool ok = false;
    const double v = value.toDouble(&ok);
    return ok && std::isfinite(v) ? v : 0.0;
}

QDateTime TReplyRow::Date(const QString &name) const {
    return CatalogueDate(FromCp1251(Raw(name)));
}

QString CatalogueErrorText(const QString &serverText) {
    return Format(QStringLiteral("Сервер каталога сообщил об ошибке: %s"), {serverText});
}

QList<TReplyRow> ReadReply(const QByteArray &body) {
    const QByteArray result = BytesBetween(body, "<result>", "</result>");
    QList<TReplyRow> rows;
    qsizetype pos = 0;
    while (IndexOfAscii(result, "<row>", pos) >= 0) {
        qsizetype consumed = 0;
        TReplyRow row(BytesBetween(result, "<row>", "</row>", pos, &consumed));
        pos = consumed;
        const QByteArray error = row.Raw(QStringLiteral("error"));
        if (!error.isEmpty()) throw EError(CatalogueErrorText(QString::fromUtf8(error)));
        rows.append(std::move(row));
    }
    return rows;
}

} // namespace lot
