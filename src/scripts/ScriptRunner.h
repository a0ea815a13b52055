#pragma once
/// @file TScriptRunner: running a script, once for the current draws offset
/// (a forecast) or over the N most recent past draws (a test), line by line
/// and variant by variant: the source list, the filter steps of the filter
/// engine, the stakes of the line's stake mode and the script log. It drives the
/// other areas through their controllers and reports through IHost; the
/// scripts controller owns it.

#include "scripts/ScriptLine.h"
#include "scripts/ScriptLog.h"
#include "scripts/ScriptVariants.h"

#include <cstdint>
#include <functional>
#include <QElapsedTimer>
#include <QList>
#include <QString>
#include <QStringList>
#include <random>

namespace lot {

class IHost;
class TArchiveController;
class TCombsController;
class TDataFolder;
class TFiltersController;
class TStakesController;
class TStatsController;
struct TComb;

/// The 1-based line and variant numbers, the comment and the text of a
/// script stake: "01.003: my comment @ FULL#RAND + TSD#NUMS:1000#LNO:#SF:1",
/// without the comment "01.003: @ ...".
QString StakeComment(int line, int variant, const QString &comment, const QString &text);
/// "Вы задали слишком много вариантов фильтров - ..." (without the system's message).
QString TooManyVariantsText();

/// The shortcuts a run takes. Each gives the same stakes as the plain way;
/// None() is the plain way the tests compare with.
struct TScriptShortcuts {
    /// FULL and EXCL copy the generated list kept from the first variant
    /// instead of enumerating it again (TCombsController::SetSourceCache).
    bool CachedSource = true;
    /// A filter step hands the list's storage to the undo copy instead of
    /// copying it (TFilterEngine::SetMoveUndo).
    bool MoveUndo = true;
    /// The statistics table keeps the computations of the run and takes a
    /// kept one back instead of recomputing (TStatTable::SetReuseComputations).
    bool ReuseTables = true;
    /// The methods' fast matchers (TStatList::SetFastPaths).
    bool FastPaths = true;
    /// The filter pass and the exclusion of draws on every core.
    bool Parallel = true;

    static TScriptShortcuts None() { return {false, false, false, false, false}; }
};

/// One script run within a forecast or test.
struct TScriptCycle {
    int Cycle = 0;    ///< 1-based
    int Offset = 0;   ///< the draws offset it ran at
    int Lines = 0;    ///< lines run
    int Variants = 0; ///< variants run (a line without filters runs none)
    int Stakes = 0;   ///< stakes added
};

/// What a forecast or test did.
struct TScriptRunResult {
    QList<TScriptCycle> Cycles;
    int Stakes = 0;       ///< stakes added in all
    bool Stopped = false; ///< it ended by a stop (the user, "STOP", an error)
    bool Failed = false;  ///< an error ended it
    QString Message;      ///< the error's text as shown
    quint32 Seed = 0;     ///< the seed of "RAND"
    QString LogFile;      ///< the script log written, if any
};

/// The four panels of the tab's status bar (SetScriptStatus).
struct TScriptStatus {
    int Line = 0;
    int Variant = 0;
    int Variants = 0;
    QString Text;
};

class TScriptRunner {
public:
    /// What the runner tells its owner about; every member may be unset.
    struct TEvents {
        std::function<void()> StatusChanged;              ///< the tab's status bar
        std::function<void(bool running)> RunningChanged; ///< the user interface follows
        std::function<void(int index)> LineSelected;      ///< the running line; -1: none
        std::function<void(const TScriptCycle &)> CycleFinished;
    };

    TScriptRunner(IHost &host, const TDataFolder &files, TArchiveController &archive, TStatsController &stats,
                  TCombsController &combs, TFiltersController &filters, TStakesController &stakes);
    ~TScriptRunner();
    TScriptRunner(const TScriptRunner &) = delete;
    TScriptRunner &operator=(const TScriptRunner &) = delete;

    void SetEvents(TEvents events) { m_events = std::move(events); }
    TScriptLog &Log() { return m_log; }
    const TScriptLog &Log() const { return m_log; }
    void SetShortcuts(const TScriptShortcuts &s) { m_shortcuts = s; }
    /// The memory a line's variants may take (TVariantList::SetBudget); 0:
    /// the default budget.
    void SetVariantBudget(std::size_t bytes) { m_variantBudget = bytes; }
    const TScriptShortcuts &Shortcuts() const { return m_shortcuts; }

    // ---- runs --------------------------------------------------------------------------
    /// ScriptRun: the script once at the current offset. lines: the script.
    TScriptRunResult Forecast(const QStringList &lines, quint32 seed);
    /// ScriptTest: the script at offsets count, count - 1, ..., 1; the offset
    /// is restored at the end unless the test was stopped.
    TScriptRunResult Test(const QStringList &lines, int count, quint32 seed);

    // ---- run state -----------------------------------------------------------------------
    bool Running() const { return m_running; }
    bool StopRequested() const { return m_stop; }
    int Cycle() const { return m_cycle; }
    int StakeCounter() const { return m_stakeCounter; }
    const TScriptStatus &Status() const { return m_status; }
    /// ScriptStop after its confirmation: logs the break banner and sets the stop flag.
    void RequestStop();
    /// Lets pending events run, then answers the stop flag.
    bool IsStopped();
    /// Draws an index 0..n-1 (n > 0) from the run's generator.
    uint32_t RandomIndex(uint32_t n);

private:
    void Begin(quint32 seed, TScriptRunResult &result);
    void End(TScriptRunResult &result);
    void LogOffsetBanner();
    void RunScriptOnce();
    void RunScriptLine(int index, const QString &line);
    void RunFilterless(int index, const QString &line, const TScriptOptions &options);
    void PrepareSourceList(const TScriptOptions &options);
    void MakeScriptStakes(int mode, int line, int variant, const QString &comment, const QString &text,
                          bool newOnly);
    void AddScriptStake(const TComb &comb, bool batch, int sample, const QString &stakeComment, bool newOnly);
    /// The system for the list's distinct numbers (the local file for their
    /// count), its combinations staked as script stakes: all of them, or
    /// (whole false) those also in the list.
    void SystemPlay(bool whole, int sample, const QString &stakeComment, bool newOnly);
    void CheckStakes();
    void SetScriptStatus(int line, int variant, const QString &text, int variants);
    void UpdateStakeStatus(bool batch);
    void WriteLog(const QString &text);
    void Fail(const QString &message);
    void ApplyShortcuts(bool running);

    IHost &m_host;
    TArchiveController &m_archive;
    TStatsController &m_stats;
    TCombsController &m_combs;
    TFiltersController &m_filters;
    TStakesController &m_stakes;
    TScriptLog m_log;
    QString m_systemsDir;
    TEvents m_events;
    TScriptShortcuts m_shortcuts;

    QStringList m_lines;
    std::mt19937 m_random;
    bool m_running = false;
    bool m_stop = false;
    bool m_failed = false;
    QString m_failure;
    int m_cycle = 0;
    int m_stakeCounter = 0;
    TScriptCycle m_current;
    TScriptStatus m_status;
    QElapsedTimer m_stakeStatusTimer;
    std::size_t m_variantBudget = 0;
    bool m_savedFastPaths = true;
    bool m_savedParallel = true;
    int m_savedThreads = 1;
};

} // namespace lot
