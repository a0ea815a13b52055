#pragma once
/// @file TStakeLog: the stake logs "Brantlee_6x45-%d.log", one text file
/// per overlap count, to which every checked stake adds a line while the
/// logs are switched on.

#include "stakes/StakeRec.h"

#include <array>
#include <functional>
#include <memory>
#include <QDateTime>
#include <QFile>
#include <QString>
#include <QStringList>

namespace lot {

class IHost;

/// What deleting the logs did.
struct TStakeLogsDeleted {
    int Found = 0;
    int Deleted = 0;
    QStringList Failed; ///< "<file>: <reason>"
};

/// The logs of one check. The files stay open while it runs, so a check of
/// millions of stakes does not open and close a file per stake. Failures
/// never stop the check: each is shown once per log file (a folder that
/// refuses one line refuses the next million as well) and the line is lost.
class TStakeLog {
public:
    /// A log larger than this is deleted before the next line (256 MiB).
    static constexpr qint64 MaxLogSize = 268435456;

    /// dir: the data folder.
    TStakeLog(IHost &host, const QString &dir);
    ~TStakeLog();
    TStakeLog(const TStakeLog &) = delete;
    TStakeLog &operator=(const TStakeLog &) = delete;

    /// "<dir>/Brantlee_6x45-%d.log" for overlaps.
    static QString FileName(const QString &dir, int overlaps);
    /// The file name with "*" for the overlap count.
    static QString FileMask();
    /// The line of a checked stake without its line end:
    /// "yyyy.mm.dd hh:nn:ss: Тираж № ... Профит: 9.00."
    static QString LineText(const QDateTime &time, const TStakeRec &rec);

    /// The clock of the lines (tests set a fixed one).
    void SetClock(std::function<QDateTime()> clock) { m_clock = std::move(clock); }

    /// WriteStakeLog: appends the line of a checked stake to the log of its
    /// overlap count (Windows-1251, CR LF). A record that is not checked,
    /// or whose overlap count names no log, writes nothing.
    void Write(const TStakeRec &rec);

    /// LogStakesDelete's work: deletes every file of the mask in dir.
    static TStakeLogsDeleted DeleteLogs(const QString &dir);

private:
    struct TOpenLog {
        std::unique_ptr<QFile> File;
        qint64 Size = 0;
        bool Failed = false;
    };
    bool Open(TOpenLog &log, const QString &name);
    void DeleteOversized(TOpenLog &log, const QString &name);

    IHost &m_host;
    QString m_dir;
    std::function<QDateTime()> m_clock;
    std::array<TOpenLog, CombSize + 1> m_logs;
};

} // namespace lot
