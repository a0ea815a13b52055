#pragma once
/// @file The catalogue's reply reader. A reply holds "<result>" ... "</result>", inside it
/// "<row>" ... "</row>", inside a row "<name>" value "</name>"; tags match without regard to
/// case and the first occurrence counts. The body is read byte for byte (each byte one
/// character), so that every element is cut out before it is decoded as the call says:
/// ANSI, UTF-8 or Base64 of UTF-8.

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>

#include <cstdint>

namespace lot {

class TReplyRow {
public:
    explicit TReplyRow(QString text) : m_text(std::move(text)) {}
    /// The row's text between its tags, trimmed.
    const QString &Text() const { return m_text; }

    /// The element's bytes as sent (empty when it is missing); an opening tag without its
    /// closing tag raises EError.
    QByteArray Raw(const QString &name) const;
    /// The element in the ANSI code page (Windows-1251).
    QString Ansi(const QString &name) const;
    /// The element in UTF-8.
    QString Utf8(const QString &name) const;
    /// The element as Base64 of UTF-8; raises EError for a value that is no Base64.
    QString Base64Utf8(const QString &name) const;
    /// The element as a 32-bit integer; raises EConvertError for anything else, empty included.
    int32_t Integer(const QString &name) const;
    /// The element as an integer, def when it is none.
    int32_t IntegerOr(const QString &name, int32_t def) const;
    /// The element as a decimal with "." or ","; 0 when unreadable.
    double Decimal(const QString &name) const;
    /// The element as a catalogue date (UTC) in local time; invalid when empty.
    QDateTime Date(const QString &name) const;

private:
    QString m_text;
};

/// The rows of a reply. No result element, or an empty one, gives no rows. A row with a
/// non-empty "<error>" element raises EError with its text (UTF-8).
QList<TReplyRow> ReadReply(const QByteArray &body);

/// The text of a reply row carrying the server's error.
QString CatalogueErrorText(const QString &serverText);

} // namespace lot
