#include "catalogue/CatalogueReply.h"

#include "catalogue/CatalogueCodec.h"
#include "core/Codec1251.h"
#include "core/Errors.h"
#include "core/Format.h"
#include "download/TextExtract.h"

#include <cmath>

namespace lot {

namespace {

QString Tag(const QString &name) {
    return QLatin1Char('<') + name + QLatin1Char('>');
}
QString EndTag(const QString &name) {
    return QStringLiteral("</") + name + QLatin1Char('>');
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

QByteArray TReplyRow::Raw(const QString &name) const {
    return TextBetween(m_text, Tag(name), EndTag(name), TBetweenMode::Raise).toLatin1();
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
    // Latin-1 keeps one character per byte, so tags are found before anything is decoded.
    const QString text = QString::fromLatin1(body);
    QString result =
        TextBetween(text, QStringLiteral("<result>"), QStringLiteral("</result>"), TBetweenMode::Raise);
    QList<TReplyRow> rows;
    while (result.indexOf(QStringLiteral("<row>"), 0, Qt::CaseInsensitive) >= 0) {
        TReplyRow row(
            CutBetween(result, QStringLiteral("<row>"), QStringLiteral("</row>"), TBetweenMode::Raise));
        const QByteArray error = row.Raw(QStringLiteral("error"));
        if (!error.isEmpty()) throw EError(CatalogueErrorText(QString::fromUtf8(error)));
        rows.append(std::move(row));
    }
    return rows;
}

} // namespace lot
