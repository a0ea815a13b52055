#include "scripts/ScriptLog.h"

#include "core/Codec1251.h"
#include "core/Format.h"
#include "core/Host.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace lot {

TScriptLog::TScriptLog(IHost &host, const QString &dir) : m_host(host), m_dir(dir) {}

QDateTime TScriptLog::Now() const {
    return m_clock ? m_clock() : QDateTime::currentDateTime();
}

QString TScriptLog::FileMask() {
    return QStringLiteral("ScriptLog_*.txt");
}

QString TScriptLog::DashLine() {
    return QString(94, QLatin1Char('-'));
}

QString TScriptLog::EqualsLine() {
    return QString(94, QLatin1Char('='));
}

void TScriptLog::NewLogFile() {
    m_failureShown = false;
    m_fileName = m_enabled ? QDir(m_dir).filePath(QStringLiteral("ScriptLog_") +
                                                  Now().toString(QStringLiteral("yyyy-MM-dd-hh-mm-ss")) +
                                                  QStringLiteral(".txt"))
                           : QString();
}

void TScriptLog::Write(const QString &text) {
    if (!m_enabled) return;
    if (m_fileName.isEmpty()) NewLogFile();
    const QString entry = QLatin1Char('[') + Now().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss")) +
                          QStringLiteral("]: ") + text;
    QFile file(m_fileName);
    const QByteArray bytes = ToCp1251(entry) + QByteArray("\r\n");
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append) || file.write(bytes) != bytes.size() ||
        !file.flush()) {
        if (m_failureShown) return;
        m_failureShown = true;
        m_host.ShowError(Format(QStringLiteral("Ошибка записи журнала: %s!"), {file.errorString()}));
    }
}

QString TScriptLog::Close() {
    QString name;
    if (m_enabled && !m_fileName.isEmpty() && QFileInfo(m_fileName).isFile()) {
        name = m_fileName;
        m_host.OpenWithDefault(name);
    }
    m_fileName.clear();
    return name;
}

QStringList TScriptLog::FindLogs(const QString &dir) {
    const QDir folder(dir);
    QStringList files;
    for (const QString &name : folder.entryList({FileMask()}, QDir::Files | QDir::Hidden | QDir::System))
        files << folder.filePath(name);
    return files;
}

TScriptLogsDeleted TScriptLog::DeleteLogs(const QString &dir) {
    TScriptLogsDeleted result;
    for (const QString &file : FindLogs(dir)) {
        ++result.Found;
        if (QFile::remove(file))
            ++result.Deleted;
        else
            result.Failed << QFileInfo(file).fileName();
    }
    return result;
}

} // namespace lot
