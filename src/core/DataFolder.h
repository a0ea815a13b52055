#pragma once
/// @file The data folder and the names of the files in it. Every data file
/// lives there and is named after the program; no caller builds one of
/// these paths by hand.

#include <QString>

namespace lot {

class TDataFolder {
public:
    /// dir is made absolute.
    explicit TDataFolder(const QString &dir);

    const QString &Dir() const { return m_dir; }
    /// Absolute path of name inside the folder.
    QString FilePath(const QString &name) const;
    /// Absolute path of "Brantlee_6x45" + ext (ext with its dot, e.g. ".ldr").
    QString ProgramFilePath(const QString &ext) const;

    QString DrawsFile() const;   ///< "Brantlee_6x45.ldr"
    QString StakesFile() const;  ///< "Brantlee_6x45.lsk"
    QString RatingsFile() const; ///< "Brantlee_6x45.lrt"
    QString TablesFile() const;  ///< "Brantlee_6x45.ltb"
    QString IniFile() const;     ///< "Brantlee_6x45.ini"
    QString FrmFile() const;     ///< "Brantlee_6x45.frm"
    QString FltFile() const;     ///< "Brantlee_6x45.flt"
    QString BuffFile() const;    ///< "Brantlee_6x45.~buff"
    QString PrefetchDir() const; ///< "Prefetchs"

private:
    QString m_dir;
};

} // namespace lot
