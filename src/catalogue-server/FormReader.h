#pragma once
/// @file The catalogue server's reader of "application/x-www-form-urlencoded" bodies. Requests
/// come from anyone, so every size is bounded and every malformed body is refused with EError;
/// nothing here can read outside the body.

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>

#include <cstdint>

namespace lot::server {

class TForm {
public:
    static constexpr qsizetype MaxBodySize = 16 * 1024 * 1024;
    static constexpr int MaxFields = 64;
    static constexpr qsizetype MaxNameSize = 64;

    /// Reads a body: fields separated by "&", name and value by the first "=", "+" a blank and
    /// "%XX" a byte. Raises EError for a body past MaxBodySize, more than MaxFields fields, a
    /// name past MaxNameSize or empty, a "%" not followed by two hexadecimal digits, or a field
    /// named twice.
    static TForm Read(const QByteArray &body);

    bool Has(const char *name) const;
    /// The value's bytes as sent; empty when missing.
    QByteArray Raw(const char *name) const;
    /// An integer field; raises EError (naming the field) when missing or not a 32-bit integer.
    int32_t Integer(const char *name) const;
    /// An integer field, def when missing or empty.
    int32_t IntegerOr(const char *name, int32_t def) const;
    /// A field in the E escaping of the client, in the ANSI code page, trimmed. Raises EError for
    /// a malformed escape or a text longer than maxChars.
    QString Escaped(const char *name, qsizetype maxChars) const;
    /// A field sent as typed in the ANSI code page, trimmed; raises past maxChars.
    QString Plain(const char *name, qsizetype maxChars) const;

    const QList<QPair<QByteArray, QByteArray>> &Fields() const { return m_fields; }

private:
    QList<QPair<QByteArray, QByteArray>> m_fields;
};

/// Percent-decodes one name or value; raises EError for a bad "%" sequence.
QByteArray PercentDecode(const QByteArray &text);

} // namespace lot::server
