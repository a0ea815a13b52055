#pragma once
/// @file Script files: ".lsc" files and the current script file
/// "Brantlee_6x45.lss" share one format, the lines as Windows-1251 text,
/// each ended by CR LF, with no header. Reading takes CR, LF and CR LF as
/// line ends.

#include <QString>
#include <QStringList>

namespace lot {

/// The dialog filter of script files.
QString ScriptFileFilter(); ///< "Файлы сценариев (*.lsc)", the file dialogs' form
/// The default extension, without the dot ("lsc").
QString ScriptFileSuffix();
/// Largest script file read (a script is text typed by people; anything
/// bigger is no script).
inline constexpr qint64 MaxScriptFileSize = 64ll * 1024 * 1024;

/// The lines of a script file. Raises EError with the system's reason when
/// it cannot be read or is larger than MaxScriptFileSize.
QStringList ReadScriptFile(const QString &fileName);
/// Writes the lines, CR LF after each (the last one too), replacing the file
/// atomically. Raises EError with the system's reason.
void WriteScriptFile(const QString &fileName, const QStringList &lines);
/// The bytes of a script file.
QByteArray ScriptFileBytes(const QStringList &lines);

/// ScriptLoad's rule: appends added to script, with an empty separator line
/// first when neither is empty and script does not already end with a
/// separator.
void AppendScriptLines(QStringList &script, const QStringList &added);

} // namespace lot
