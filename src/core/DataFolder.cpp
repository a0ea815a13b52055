#include "core/DataFolder.h"

#include "core/Lottery.h"

#include <QDir>

namespace lot {

TDataFolder::TDataFolder(const QString &dir) : m_dir(QDir(dir).absolutePath()) {}

QString TDataFolder::FilePath(const QString &name) const {
    return QDir(m_dir).filePath(name);
}

QString TDataFolder::ProgramFilePath(const QString &ext) const {
    return FilePath(QLatin1String(ProgramName) + ext);
}

QString TDataFolder::DrawsFile() const {
    return ProgramFilePath(QStringLiteral(".ldr"));
}
QString TDataFolder::StakesFile() const {
    return ProgramFilePath(QStringLiteral(".lsk"));
}
QString TDataFolder::RatingsFile() const {
    return ProgramFilePath(QStringLiteral(".lrt"));
}
QString TDataFolder::TablesFile() const {
    return ProgramFilePath(QStringLiteral(".ltb"));
}
QString TDataFolder::IniFile() const {
    return ProgramFilePath(QStringLiteral(".ini"));
}
QString TDataFolder::FrmFile() const {
    return ProgramFilePath(QStringLiteral(".frm"));
}
QString TDataFolder::FltFile() const {
    return ProgramFilePath(QStringLiteral(".flt"));
}
QString TDataFolder::BuffFile() const {
    return ProgramFilePath(QStringLiteral(".~buff"));
}
QString TDataFolder::PrefetchDir() const {
    return FilePath(QStringLiteral("Prefetchs"));
}

} // namespace lot
