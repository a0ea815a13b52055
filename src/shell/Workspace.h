#pragma once
/// @file TWorkspace: everything the main window owns, without a window.
/// The GUI and the command line drive the same workspace; it reaches the
/// user only through IHost and tells views about changes through signals.

#include "archive/DrawsArchive.h"
#include "combs/CombList.h"
#include "core/Host.h"
#include "core/Lottery.h"
#include "filters/FilterEngine.h"
#include "shell/WindowSettings.h"
#include "stakes/StakesFile.h"
#include "stats/PrefetchFiles.h"
#include "stats/StatList.h"
#include "stats/StatTable.h"

#include <array>
#include <cstdint>
#include <functional>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

namespace lot {

struct TCsvImportResult;

/// Combinations of the full set that share exactly k main numbers with a draw.
struct TMatchClass {
    int64_t Count = 0;
    long double Share = 0; ///< Count divided by the full set size
};
using TMatchClassTable = std::array<TMatchClass, CombSize + 1>;

/// How the start-up sequence ended.
enum class TStartupResult {
    Running,        ///< keep the window open (also after a reported error)
    Terminate,      ///< a batch switch finished its work: end the program normally
    DataLockFailed, ///< the data lock message was shown: end the program with failure
};

class TWorkspace : public QObject {
    Q_OBJECT

public:
    /// dataDir: the folder of every data file (created files go there too).
    TWorkspace(IHost &host, const QString &dataDir, QObject *parent = nullptr);
    /// Closes the stakes file (ending the data lock) when Shutdown() did not.
    ~TWorkspace() override;

    IHost &Host() const { return m_host; }

    // ---- data folder and file names ----------------------------------------
    const QString &DataDir() const { return m_dataDir; }
    /// Absolute path of name inside the data folder.
    QString FilePath(const QString &name) const;
    /// Absolute path of "Brantlee_6x45" + ext (ext with its dot, e.g. ".ldr").
    QString ProgramFilePath(const QString &ext) const;
    QString DrawsFileName() const;  ///< "Brantlee_6x45.ldr"
    QString StakesFileName() const; ///< "Brantlee_6x45.lsk"
    QString IniFileName() const;    ///< "Brantlee_6x45.ini"
    QString FrmFileName() const;    ///< "Brantlee_6x45.frm"
    QString FltFileName() const;    ///< "Brantlee_6x45.flt"
    QString BuffFileName() const;   ///< "Brantlee_6x45.~buff"
    QString PrefetchDir() const;    ///< "Prefetchs"

    // ---- parts ----------------------------------------------------------------
    TDrawsArchive &Archive() { return m_archive; }
    const TDrawsArchive &Archive() const { return m_archive; }
    TStakesFile &Stakes() { return m_stakes; }
    const TStakesFile &Stakes() const { return m_stakes; }
    TWindowSettings &Settings() { return m_settings; }
    const TWindowSettings &Settings() const { return m_settings; }
    /// The combination list with its undo copy, history and buffer key.
    TCombList &Combs() { return m_combs; }
    const TCombList &Combs() const { return m_combs; }
    /// The method registry with the game settings and generation parameters.
    TStatList &Stats() { return m_stats; }
    const TStatList &Stats() const { return m_stats; }
    /// The prefetch files of the registered methods.
    TPrefetchFiles &Prefetchs() { return m_prefetchs; }
    const TPrefetchFiles &Prefetchs() const { return m_prefetchs; }
    /// The statistics table of the statistics tab.
    TStatTable &StatTable() { return m_statTable; }
    const TStatTable &StatTable() const { return m_statTable; }
    /// Filtering of the combination list by the statistics table and the
    /// draw views, and the automatic filter steps of scripts.
    TFilterEngine &Filters() { return m_filters; }

    // ---- game settings and the combination list ------------------------------
    /// Start-up step 6 (engine side): the game settings, generation parameters
    /// and shredding formulas from the ini file (status "Загрузка файла
    /// конфигурации..."), the registration of the methods and the filter list
    /// file. Errors are shown by the registry; start-up goes on with defaults.
    void LoadGameSettings();
    /// After the settings dialog: stores and saves the game settings, re-registers the
    /// methods, refills the selector, rebuilds the prefetch groups the change invalidated
    /// and recomputes every view. False when the settings file could not be written.
    bool ApplyGameSettings(const TConfigData &config, const QList<int> &changedGroups);
    /// Makes mode and parameters the saved generation parameters and writes
    /// them to the ini file at once (error box "Ошибка записи в файл
    /// конфигурации!\r\r%s").
    bool SaveCombsGenerateParameters(int mode, const QString &parameters);
    /// CombsDelExists: the undo copy (shown), then the exclusion of the last n
    /// draws in use. Returns the number of combinations removed.
    int ExcludeLastDraws(int n);
    /// The prefetch switch (window setting PrefetchsEnabled).
    bool PrefetchsEnabled() const { return m_prefetchs.Enabled(); }
    /// DrawsStatePrefetchsEnabled: stores the switch at once, builds the
    /// missing prefetch files when it is on, emits PrefetchsEnabledChanged and
    /// recomputes with force.
    void SetPrefetchsEnabled(bool on);

    // ---- command-line switches ------------------------------------------------
    void SetArguments(const QStringList &args) { m_args = args; }
    const QStringList &Arguments() const { return m_args; }
    bool HasSwitch(const QString &name) const;

    // ---- full set and match classes (start-up step 8) ---------------------------
    int FullSetSize() const { return m_fullSetSize; }
    const TMatchClassTable &MatchClasses() const { return m_matchClasses; }
    /// Computes the full set size and the match-class table.
    void ComputeMatchClasses();

    // ---- archive view state -----------------------------------------------------
    int DrawsOffset() const { return m_archive.Offset(); }
    /// Largest offset the offset spin edit allows: Count - 1 (0 when empty).
    int MaxDrawsOffset() const;
    /// NextDrawNumber at the current offset, as panel 1 shows it.
    int NextDrawNumber() const;
    /// Main numbers of the draw at position offset - 1; empty at offset 0.
    const QList<int> &NextDrawSet() const { return m_nextDrawSet; }
    /// A zeroed record carrying NextDrawNumber(0): what manual add proposes.
    TDrawRec NewDrawTemplate() const;
    bool SortedDraws() const { return m_sortedDraws; }
    bool ColorDraws() const { return m_colorDraws; }
    /// Stores SortedDraws at once, repaints the list and recomputes with force.
    void SetSortedDraws(bool on);
    /// Stores ColorDraws at once and repaints the list.
    void SetColorDraws(bool on);

    // ---- archive operations (each shows its own error box, returns success) ------
    /// Reads the draws file; missing file: empty archive, no message.
    /// Error box "Ошибка чтения файла тиражей!\r\r%s" (whole records are kept).
    bool LoadDraws();
    /// Rewrites the draws file, then refreshes the view with force.
    /// Error box "Ошибка записи в файл тиражей!\r\r%s".
    bool SaveDraws();
    /// Appends, saves and recomputes. A failed save restores the archive, so
    /// memory and file never disagree. A record with numbers outside 1..45,
    /// repeated main numbers or a draw number below 1 is refused with
    /// "Введена некорректная комбинация!".
    bool AddDraw(const TDrawRec &rec);
    /// Replaces the draw at index in place, saves and recomputes (same rules).
    bool EditDraw(int index, const TDrawRec &rec);
    /// Confirmation text for deleting count rows.
    static QString DeleteConfirmText(int count);
    /// Title of delete confirmations ("Предупреждение"; No is the default).
    static QString DeleteConfirmTitle();
    /// Deletes the draws with these numbers (the numbers of the selected rows
    /// in row order, newest first), visiting rows from the last one. The
    /// caller has confirmed already. Every number is located before anything
    /// is removed, so a missing draw changes nothing.
    bool DeleteDrawsByNumbers(const QList<int> &drawNumbers);
    /// Imports a draws CSV file and saves (no recompute). On any failure the
    /// archive is left as it was. result (optional) receives the counts.
    bool ImportDrawsCsv(const QString &path, TCsvImportResult *result = nullptr);
    /// Writes the draws CSV file.
    bool ExportDrawsCsv(const QString &path);
    /// Replaces the whole archive (demo archives, tests) and saves; on a
    /// failed save the old archive is restored.
    bool ReplaceDraws(const TDrawsArray &draws);
    /// Does nothing when v equals the offset; else stores v (clamped to
    /// 0..MaxDrawsOffset()), emits OffsetChanged, refreshes and recomputes.
    void ChangeDrawsOffset(int v);
    /// Rebuilds the next-draw set and the status panels; emits DrawsChanged.
    void RefreshDrawsView(bool force);

    // ---- views -------------------------------------------------------------------
    /// Unless the views are frozen: recomputes the statistics table with
    /// force, then emits RecomputeRequested for the other views.
    void RecomputeAll(bool force);
    /// ComputeStatistics of the statistics table as an operation: an error
    /// is shown and reported as false.
    bool ComputeStatistics(bool force);
    /// ShowTotalLine: stores the switch at once and recomputes the table with force.
    bool ShowTotalLine() const { return m_statTable.ShowTotalLine(); }
    void SetShowTotalLine(bool on);
    bool ViewsFrozen() const { return m_viewsFrozen; }
    void SetViewsFrozen(bool frozen) { m_viewsFrozen = frozen; }

    // ---- status bar ----------------------------------------------------------------
    static constexpr int StatusPanelCount = 7;
    /// Text of status panel i: 0 "Архив тиражей: %d", 1 "Следующий тираж: %d",
    /// 2 the next-draw numbers, 3 "Комбинаций: %d", 4 "Ставок: %d",
    /// 5 "Рейтинг: %d"; 6 (the status text) and others give "".
    QString StatusPanelText(int i) const;

    // ---- data lock ---------------------------------------------------------------------
    /// The message shown when the data lock cannot be taken.
    static QString DataLockMessage();
    /// LoadStakes on the stakes file; false when refused (its own error box
    /// is shown; the caller then shows DataLockMessage()).
    bool AcquireDataLock();
    bool HasDataLock() const { return m_stakes.IsOpen(); }
    /// Closes the stakes file with status "Сохранение файла ставок...";
    /// error box "Ошибка записи в файл ставок!\r\r%s".
    void ReleaseDataLock();

    // ---- window settings -----------------------------------------------------------------
    /// Start-up step 5 (engine side): reads the ".frm" file, applies the
    /// first-start rule and takes the archive view flags from it. Error box
    /// "Ошибка загрузки параметров программы!\r\r%s".
    bool LoadWindowSettings();
    /// Writes the ".frm" file; error box "Ошибка сохранения параметров программы!\r\r%s".
    bool SaveWindowSettings();

    // ---- start-up and shutdown --------------------------------------------------------------
    /// Runs the draws download (start-up steps 14 and 18); none is set until
    /// the download exists, and those steps are skipped then.
    void SetDrawsDownloader(std::function<bool()> downloader) { m_downloader = std::move(downloader); }
    /// Start-up steps 8..18 (the start timer); args are the program's
    /// arguments (switches). Step 19, the first-run dialog, is the caller's:
    /// show it when the result is Running and Settings().FirstRun() is set.
    /// Errors other than the data lock show "Ошибка инициализации программы!\r\r%s".
    TStartupResult Startup(const QStringList &args);
    /// Shutdown in its order: window settings written, the archive released,
    /// the stakes file closed. The caller stores its sizes in Settings() first.
    void Shutdown();
    /// " версия " + version, appended to the window caption at start.
    static QString VersionCaptionSuffix(const QString &version);

signals:
    /// The archive or its presentation changed; force: row count and all rows.
    void DrawsChanged(bool force);
    /// The offset changed (the spin edit follows).
    void OffsetChanged(int offset);
    /// Some status panel text changed; read them with StatusPanelText().
    void StatusPanelsChanged();
    /// All analysis views should recompute (RecomputeAll).
    void RecomputeRequested(bool force);
    /// An operation of the workspace made the system busy or idle again.
    void BusyChanged(bool busy);
    /// The prefetch switch changed: the full-set comparison columns show
    /// (on) or hide (off).
    void PrefetchsEnabledChanged(bool on);

private:
    class TBusy;
    bool SaveDrawsOrRestore(const TDrawsArray &previous);
    bool ValidateDraw(const TDrawRec &rec) const;

    IHost &m_host;
    QString m_dataDir;
    QStringList m_args;
    TDrawsArchive m_archive;
    TStakesFile m_stakes;
    TWindowSettings m_settings;
    QList<int> m_nextDrawSet;
    bool m_sortedDraws = false;
    bool m_colorDraws = true;
    bool m_viewsFrozen = false;
    int m_fullSetSize = 0;
    TMatchClassTable m_matchClasses{};
    std::function<bool()> m_downloader;
    // After the archive: the registry reads the draws through it.
    TStatList m_stats;
    TPrefetchFiles m_prefetchs;
    TCombList m_combs;
    TStatTable m_statTable;
    TFilterEngine m_filters{m_host, m_stats, m_archive, m_combs, m_statTable};
};

} // namespace lot
