#pragma once
/// @file Windows-1251 codec: text files are Windows-1251 with CR LF; the
/// conversion happens at the file boundary only.

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace lot {

QString FromCp1251(const QByteArray &bytes);
/// Characters without a Windows-1251 code become '?'.
QByteArray ToCp1251(const QString &text);
/// Splits on CR LF, LF or lone CR; a final line terminator gives no empty line.
QStringList SplitLines(const QString &text);
/// Joins lines with CR LF, each line terminated.
QString JoinLinesCrLf(const QStringList &lines);

} // namespace lot
