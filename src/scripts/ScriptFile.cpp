#include "scripts/ScriptFile.h"

#include "core/AtomicFile.h"
#include "core/Codec1251.h"
#include "core/Errors.h"
#include "core/Format.h"
#include "scripts/ScriptLine.h"

#include <QFile>

namespace lot {

QString ScriptFileFilter() {
    return QStringLiteral("Файлы сценариев (*.lsc)");
}

QString ScriptFileSuffix() {
    return QStringLiteral("lsc");
}

QStringList ReadScriptFile(const QString &fileName) {
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) throw EError(file.errorString());
    if (file.size() > MaxScriptFileSize)
        throw EError(
            Format(QStringLiteral("Размер файла (%d байт) больше допустимого для сценария (%d байт)."),
                   {file.size(), MaxScriptFileSize}));
    const QByteArray bytes = file.read(MaxScriptFileSize + 1);
    if (file.error() != QFileDevice::NoError) throw EError(file.errorString());
    return SplitLines(FromCp1251(bytes));
}

QByteArray ScriptFileBytes(const QStringList &lines) {
    return ToCp1251(JoinLinesCrLf(lines));
}

void WriteScriptFile(const QString &fileName, const QStringList &lines) {
    WriteFileAtomically(fileName, ScriptFileBytes(lines));
}

void AppendScriptLines(QStringList &script, const QStringList &added) {
    if (!script.isEmpty() && !added.isEmpty() && !IsScriptSeparator(script.last())) script.append(QString());
    script += added;
}

} // namespace lot
