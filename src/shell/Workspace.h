#pragma once
/// @file TWorkspace: everything the main window owns, without a window. It
/// owns the data folder, the window settings, the command-line switches and
/// one controller per area, and runs start-up and shutdown in their order.
/// It holds no area logic: each area's operations, error boundary and
/// signals are its controller's. The GUI and the command line drive the
/// same workspace; it reaches the user only through IHost.

#include "archive/ArchiveController.h"
#include "catalogue/CatalogueController.h"
#include "combs/CombsController.h"
#include "core/DataFolder.h"
#include "core/Host.h"
#include "core/Lottery.h"
#include "core/WindowSettings.h"
#include "download/DownloadController.h"
#include "filters/FiltersController.h"
#include "scripts/ScriptsController.h"
#include "stakes/StakesController.h"
#include "stakes/TablesController.h"
#include "stats/StatsController.h"
#include "systems/SystemsController.h"

#include <array>
#include <cstdint>
#include <functional>
#include <QObject>
#include <QString>
#include <QStringList>

namespace lot {

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
    ~TWorkspace() override;

    IHost &Host() const { return m_host; }
    /// The data folder and the names of the files in it.
    const TDataFolder &Files() const { return m_files; }
    const QString &DataDir() const { return m_files.Dir(); }
    /// The window settings store (".frm").
    TWindowSettings &Settings() { return m_settings; }
    const TWindowSettings &Settings() const { return m_settings; }

    /// Stores a window setting, a switch being written at once; error box
    /// "Ошибка сохранения параметров программы!\r\r%s" (the switch still
    /// applies for this run).
    TOpResult StoreSetting(const std::function<void(TWindowSettings &)> &store);

    // ---- the areas ----------------------------------------------------------------
    TArchiveController &Archive() { return m_archive; }
    const TArchiveController &Archive() const { return m_archive; }
    TStatsController &Stats() { return m_stats; }
    const TStatsController &Stats() const { return m_stats; }
    TCombsController &Combs() { return m_combs; }
    const TCombsController &Combs() const { return m_combs; }
    TFiltersController &Filters() { return m_filters; }
    const TFiltersController &Filters() const { return m_filters; }
    TStakesController &Stakes() { return m_stakes; }
    const TStakesController &Stakes() const { return m_stakes; }
    TDownloadController &Download() { return m_download; }
    const TDownloadController &Download() const { return m_download; }
    TScriptsController &Scripts() { return m_scripts; }
    const TScriptsController &Scripts() const { return m_scripts; }
    TTablesController &Tables() { return m_tables; }
    const TTablesController &Tables() const { return m_tables; }
    TCatalogueController &Catalogue() { return m_catalogue; }
    const TCatalogueController &Catalogue() const { return m_catalogue; }
    TSystemsController &Systems() { return m_systems; }
    const TSystemsController &Systems() const { return m_systems; }

    // ---- command-line switches ------------------------------------------------------
    void SetArguments(const QStringList &args) { m_args = args; }
    const QStringList &Arguments() const { return m_args; }
    bool HasSwitch(const QString &name) const;

    // ---- full set and match classes (start-up step 8) ---------------------------------
    int FullSetSize() const { return m_fullSetSize; }
    const TMatchClassTable &MatchClasses() const { return m_matchClasses; }
    /// Computes the full set size and the match-class table.
    void ComputeMatchClasses();

    // ---- views ---------------------------------------------------------------------------
    /// Unless the views are frozen: recomputes the statistics table with
    /// force, then emits RecomputeRequested for the other views. Every
    /// controller's request to recompute arrives here.
    void RecomputeAll(bool force);
    bool ViewsFrozen() const { return m_viewsFrozen; }
    void SetViewsFrozen(bool frozen) { m_viewsFrozen = frozen; }

    // ---- status bar ------------------------------------------------------------------------
    static constexpr int StatusPanelCount = 7;
    /// Text of status panel i: 0 "Архив тиражей: %d", 1 "Следующий тираж: %d",
    /// 2 the next-draw numbers, 3 "Комбинаций: %d", 4 "Ставок: %d",
    /// 5 "Рейтинг: %d"; 6 (the status text) and others give "".
    QString StatusPanelText(int i) const;

    // ---- start-up and shutdown ----------------------------------------------------------------
    /// Start-up step 5 (engine side): reads the ".frm" file, applies the
    /// first-start rule and hands the switches to the areas. Error box
    /// "Ошибка загрузки параметров программы!\r\r%s".
    TOpResult LoadWindowSettings();
    /// The ".frm" file for a run without a window (the command line): the
    /// switches reach the areas as at start-up step 5, but nothing is
    /// written, the first-start rule included (its prefetch switch applies
    /// in memory). Error box "Ошибка загрузки параметров программы!\r\r%s".
    TOpResult ReadWindowSettings();
    /// Writes the ".frm" file; error box "Ошибка сохранения параметров программы!\r\r%s".
    TOpResult SaveWindowSettings();
    /// Start-up step 6 (engine side): the game settings, the methods, the
    /// filter list file and the selector (TStatsController::LoadGameSettings),
    /// then the proxy settings.
    TOpResult LoadGameSettings();
    /// What start-up steps 14 and 18 run instead of the results download
    /// (tests); unset, they run TDownloadController::DownloadDraws, step 18
    /// only when a results site is set.
    void SetDrawsDownloader(std::function<bool()> downloader) { m_downloader = std::move(downloader); }
    /// Start-up steps 8..18 (the start timer); args are the program's
    /// arguments (switches). Step 19, the first-run dialog, is the caller's:
    /// show it when the result is Running and Settings().FirstRun() is set.
    /// Errors other than the data lock show "Ошибка инициализации программы!\r\r%s".
    TStartupResult Startup(const QStringList &args);
    /// Shutdown in its order: window settings written, the combination list
    /// and the archive released, the stakes file closed. The caller stores
    /// its sizes in Settings() first.
    void Shutdown();
    /// " версия " + version, appended to the window caption at start.
    static QString VersionCaptionSuffix(const QString &version);

signals:
    /// Some status panel text changed; read them with StatusPanelText().
    void StatusPanelsChanged();
    /// All analysis views should recompute (RecomputeAll).
    void RecomputeRequested(bool force);
    /// The system became busy or idle again.
    void BusyChanged(bool busy);

private:
    IHost &m_host;
    TDataFolder m_files;
    QStringList m_args;
    TWindowSettings m_settings;
    TArchiveController m_archive;
    TStatsController m_stats;
    TCombsController m_combs;
    TStakesController m_stakes;
    TFiltersController m_filters;
    TDownloadController m_download;
    TScriptsController m_scripts;
    TTablesController m_tables;
    TCatalogueController m_catalogue;
    TSystemsController m_systems;
    int m_busyListener = -1;
    bool m_viewsFrozen = false;
    int m_fullSetSize = 0;
    TMatchClassTable m_matchClasses{};
    std::function<bool()> m_downloader;
};

} // namespace lot
