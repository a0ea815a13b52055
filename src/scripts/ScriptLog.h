#pragma once
/// @file TScriptLog: the script log "ScriptLog_<start time>.txt" in the data
/// folder. One forecast or test writes one file, entry by entry: each entry
/// is "[yyyy-mm-dd hh:nn:ss]: " and its text, Windows-1251, CR LF, the file
/// opened, appended to and closed for every entry so that it can be read
/// while the script still runs.

#include <functional>
#include <QDateTime>
#include <QString>
#include <QStringList>

namespace lot {

class IHost;

/// What LogsDelete found and removed.
struct TScriptLogsDeleted {
    int Found = 0;
    int Deleted = 0;
    QStringList Failed; ///< file names that could not be deleted
};

class TScriptLog {
public:
    TScriptLog(IHost &host, const QString &dir);

    /// The log is written (ScriptLogEnabled).
    bool Enabled() const { return m_enabled; }
    void SetEnabled(bool on) { m_enabled = on; }
    /// The clock of the file name and the entries (tests set a fixed one).
    void SetClock(std::function<QDateTime()> clock) { m_clock = std::move(clock); }

    /// The current log file; empty when none is open.
    const QString &FileName() const { return m_fileName; }
    /// NewLogFile: with the log enabled the file name becomes
    /// "<folder>/ScriptLog_yyyy-mm-dd-hh-nn-ss.txt" at the current time,
    /// otherwise empty. The file itself is made by the first entry.
    void NewLogFile();
    /// WriteLog: nothing while disabled; opens a new file name first when
    /// none is set. A failure shows "Ошибка записи журнала: %s!" and the
    /// run goes on; the box comes once per log file, since a log that cannot
    /// be written fails every entry of the run (a full disk would otherwise
    /// ask the user to close a box per entry).
    void Write(const QString &text);
    /// CloseLog: with the log enabled and the file on disk, opens it with
    /// the default viewer; the file name becomes empty. Returns the name
    /// the log had (empty when there was no file).
    QString Close();

    /// "ScriptLog_*.txt".
    static QString FileMask();
    /// The log file names of a folder.
    static QStringList FindLogs(const QString &dir);
    /// Deletes every log file of a folder.
    static TScriptLogsDeleted DeleteLogs(const QString &dir);

    /// The 94 dashes and the 94 equals signs.
    static QString DashLine();
    static QString EqualsLine();

private:
    QDateTime Now() const;

    IHost &m_host;
    QString m_dir;
    std::function<QDateTime()> m_clock;
    QString m_fileName;
    bool m_enabled = false;
    bool m_failureShown = false;
};

} // namespace lot
