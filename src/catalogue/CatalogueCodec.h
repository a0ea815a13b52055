#pragma once
/// @file The catalogue's encodings: the C-style escaping E of form values
/// (and its inverse, which the catalogue server reads them with), the form
/// body, Base64, and the catalogue's UTC date texts.

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QPair>
#include <QString>

namespace lot {

/// One form field: its name and its value as sent (bytes, before URL encoding).
using TFormField = QPair<QByteArray, QByteArray>;
using TFormFields = QList<TFormField>;

/// E(text): the text in the ANSI code page (Windows-1251) with bytes 0..6 as \0..\6, 7 \a, 8 \b,
/// 9 \t, 10 \n, 11 \v, 12 \f, 13 \r, 27 \e, and " ' ? \ each behind a backslash; every other
/// byte stays as it is.
QByteArray CatalogueEscape(const QString &text);
/// E of bytes already in the ANSI code page.
QByteArray CatalogueEscapeBytes(const QByteArray &ansi);
/// The inverse of E: raises EError for a backslash at the end or before a character E never
/// writes, so a value that no client wrote is refused rather than guessed at.
QByteArray CatalogueUnescape(const QByteArray &escaped);

/// The "application/x-www-form-urlencoded" body of fields in their order: every byte outside
/// A-Z a-z 0-9 - . _ ~ as %XX.
QByteArray FormBody(const TFormFields &fields);

/// Standard Base64 of bytes.
QByteArray Base64(const QByteArray &bytes);
/// Decodes standard Base64; raises EError for anything else.
QByteArray FromBase64(const QByteArray &text);

/// A reply date "yyyy-mm-dd hh:mm:ss" in UTC as local time; empty text gives an invalid
/// (unset) time. Raises EConvertError for any other text.
QDateTime CatalogueDate(const QString &text);
/// The catalogue's text of a time: "yyyy-mm-dd hh:mm:ss" in UTC; empty for an invalid time.
QString CatalogueDateText(const QDateTime &time);

/// The three-letter abbreviation of a Windows language id (1049 "RUS", 1033 "ENU" ...); the
/// number itself for one not in the table.
QString LanguageAbbreviation(int lcid);
/// The languages offered for a script: id and name, the interface's own first.
QList<QPair<int, QString>> ScriptLanguages();

} // namespace lot
