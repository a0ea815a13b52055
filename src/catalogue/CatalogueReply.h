#pragma once
/// @file The catalogue's reply reader. A reply holds "<result>" ... "</result>", inside it
/// "<row>" ... "</row>", inside a row "<name>" value "</name>", each taken as the results
/// page's TextBetween and CutBetween take theirs: tags match without regard to case, the first
/// occurrence counts, an opening tag without its closing tag raises, and the text between is
/// trimmed and unquoted. The body is read as bytes, so every element is cut out before it is
/// decoded as its call says (ANSI, UTF-8 or Base64 of UTF-8), and only bytes up to the blank are
/// trimmed: a UTF-8 letter ending in byte 0x85 or 0xA0 keeps it.

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>

#include <cstdint>

namespace lot {

class TReplyRow {
public:
    explicit TReplyRow(QByteArray text) : m_text(std::move(text)) {}
    /// The row's bytes between its tags, trimmed.
    const QByteArray &Text() const { return m_text; }
    /// The row begins with prefix (ASCII, without regard to case).
    bool StartsWith(const char *prefix) const;

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
    QByteArray m_text;
};

/// The rows of a reply. No result element, or an empty one, gives no rows. A row with a
/// non-empty "<error>" element raises EError with its text (UTF-8).
QList<TReplyRow> ReadReply(const QByteArray &body);

/// The bytes between the first start tag and the end tag after it, trimmed of bytes up to the
/// blank and unquoted; empty without a start tag; EError without the end tag. consumed
/// (optional) receives how far the end tag reaches (0 without a start tag).
QByteArray BytesBetween(const QByteArray &text, const QByteArray &start, const QByteArray &end,
                        qsizetype from = 0, qsizetype *consumed = nullptr);

/// The text of a reply row carrying the server's error.
QString CatalogueErrorText(const QString &serverText);

} // namespace lot
