#pragma once
/// @file Windows-1251 codec: text files are Windows-1251 with CR LF; the
/// conversion happens at the file boundary only.

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace lot {

/// Every byte decodes; 0x98, which has no character in the code page,
/// becomes U+0098 (and encodes back to 0x98), so a read-write round trip
/// keeps every byte of a file.
QString FromCp1251(const QByteArray &bytes);
/// Characters without a Windows-1251 code become '?' (one per character,
/// also for a surrogate pair).
QByteArray ToCp1251(const QString &text);
/// Splits on CR LF, LF or lone CR; a final line terminator gives no empty line.
QStringList SplitLines(const QString &text);
/// Joins lines with CR LF, each line terminated.
QString JoinLinesCrLf(const QStringList &lines);

} // namespace lot
