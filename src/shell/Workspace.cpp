#include "shell/Workspace.h"

#include "catalogue/CatalogueClient.h"
#include "core/CoreHelpers.h"
#include "core/Errors.h"
#include "core/Format.h"
#include "core/Messages.h"
#include "shell/Switches.h"

namespace lot {

TWorkspace::TWorkspace(IHost &host, const QString &dataDir, QObject *parent)
    : QObject(parent), m_host(host), m_files(dataDir), m_archive(host, m_files, m_settings),
      m_stats(host, m_files, m_settings, m_archive), m_combs(host),
      m_stakes(host, m_files, m_settings, m_archive, m_stats.Registry(), m_combs),
      m_filters(host, m_stats.Registry(), m_archive.Draws(), m_combs, m_stats.Table()),
      m_download(host, m_files, m_settings, m_archive),
      m_scripts(host, m_files, m_settings, m_archive, m_stats, m_combs, m_filters, m_stakes),
      m_tables(host, m_files, m_settings, m_archive, m_stakes, m_combs),
      m_catalogue(host, m_files, m_settings, m_scripts),
      m_systems(host, m_files, m_settings, m_combs, m_stakes) {
    m_combs.SetDataDir(m_files.Dir());
    // The systems reach the catalogue through a client made per operation
    // from the settings as they are then (none without a catalogue address);
    // the systems controller shows the calls' status texts itself.
    m_systems.SetCatalogueFactory([this] { return MakeSystemCatalogue(m_files); },
                                  [this] { return m_catalogue.HasCatalogue(); });
    connect(&m_catalogue, &TCatalogueController::IdentityChanged, &m_systems, &TSystemsController::SetUser);
    connect(&m_archive, &TArchiveController::RecomputeRequested, this, &TWorkspace::RecomputeAll);
    connect(&m_stats, &TStatsController::RecomputeRequested, this, &TWorkspace::RecomputeAll);
    connect(&m_archive, &TArchiveController::StatusPanelsChanged, this, &TWorkspace::StatusPanelsChanged);
    connect(&m_combs, &TCombsController::ListChanged, this, &TWorkspace::StatusPanelsChanged);
    connect(&m_stakes, &TStakesController::StakesChanged, this, &TWorkspace::StatusPanelsChanged);
    connect(&m_stakes, &TStakesController::RatingsChanged, this, &TWorkspace::StatusPanelsChanged);
    // New draws settle the stakes made for them.
    connect(&m_download, &TDownloadController::DownloadFinished, this,
            [this] { m_stakes.CheckStakesManual(); });
    // A test of regular stakes moves the draws offset; nothing it makes needs the views.
    m_tables.SetFreezeViews([this, was = false](bool frozen) mutable {
        if (frozen) was = m_viewsFrozen;
        m_viewsFrozen = frozen || was;
    });
    m_busyListener = m_host.AddBusyListener([this](bool busy) { emit BusyChanged(busy); });
}

TWorkspace::~TWorkspace() {
    m_host.RemoveBusyListener(m_busyListener);
}

bool TWorkspace::HasSwitch(const QString &name) const {
    return lot::HasSwitch(m_args, name);
}

// ---- full set and match classes ---------------------------------------------

void TWorkspace::ComputeMatchClasses() {
    m_fullSetSize = int(Binomial(NumberCount, CombSize));
    for (int k = 0; k <= CombSize; ++k) {
        TMatchClass &mc = m_matchClasses[size_t(k)];
        mc.Count = ExactMatchCount(NumberCount, CombSize, k);
        mc.Share = m_fullSetSize > 0 ? static_cast<long double>(mc.Count) / m_fullSetSize : 0;
    }
}

// ---- views ------------------------------------------------------------------

void TWorkspace::RecomputeAll(bool force) {
    if (m_viewsFrozen) return;
    (void)m_stats.ComputeStatistics(force);
    emit RecomputeRequested(force);
}

// ---- status bar -------------------------------------------------------------

QString TWorkspace::StatusPanelText(int i) const {
    switch (i) {
    case 0:
        return Format(QStringLiteral("Архив тиражей: %d"), {m_archive.Count()});
    case 1:
        return Format(QStringLiteral("Следующий тираж: %d"), {m_archive.NextDrawNumber()});
    case 2:
        return IntListToText(m_archive.NextDrawSet(), QStringLiteral(";"));
    case 3:
        return m_combs.CountText();
    case 4:
        return m_stakes.CountText();
    case 5:
        return m_stakes.RatingsCountText();
    default:
        return QString();
    }
}

// ---- start-up and shutdown --------------------------------------------------------------

TOpResult TWorkspace::LoadWindowSettings() {
    return Guarded(m_host, QString::fromUtf8(msg::SettingsLoadError), [&] {
        m_settings.Load(m_files.FrmFile());
        m_archive.ApplyWindowSettings();
        // The first-start rule decides the prefetch switch the areas take.
        m_settings.ApplyFirstStart();
        m_stats.ApplyWindowSettings();
        m_stakes.ApplyWindowSettings();
        m_scripts.ApplyWindowSettings();
    });
}

TOpResult TWorkspace::ReadWindowSettings() {
    return Guarded(m_host, QString::fromUtf8(msg::SettingsLoadError), [&] {
        m_settings.Load(m_files.FrmFile());
        m_archive.ApplyWindowSettings();
        m_stats.ApplyWindowSettings();
        // What the first start would write: no prefetch files yet.
        if (!m_settings.PrefetchsInit()) m_stats.UsePrefetchs(false);
        m_stakes.ApplyWindowSettings();
        m_scripts.ApplyWindowSettings();
    });
}

TOpResult TWorkspace::StoreSetting(const std::function<void(TWindowSettings &)> &store) {
    return Guarded(m_host, QString::fromUtf8(msg::SettingsSaveError), [&] { store(m_settings); });
}

TOpResult TWorkspace::SaveWindowSettings() {
    return Guarded(m_host, QString::fromUtf8(msg::SettingsSaveError), [&] { m_settings.Save(); });
}

TOpResult TWorkspace::LoadGameSettings() {
    const TOpResult read = m_stats.LoadGameSettings();
    // The proxy settings share the file: after a read error it would only
    // fail again with a second box.
    if (read) return m_download.LoadSettings();
    return read;
}

TStartupResult TWorkspace::Startup(const QStringList &args) {
    m_args = args;
    try {
        // 8. Full set size and match classes; the combination list and its
        //    undo copy reserve the full set once, so generation and filters
        //    never reallocate.
        m_host.ShowStatus(QStringLiteral("Инициализация..."));
        ComputeMatchClasses();
        m_combs.ReserveFullSet();

        // 9.
        m_archive.ResetOffset();

        // 10. The data lock, first among the data files; the stakes
        //     controller has shown why it failed.
        if (!m_stakes.AcquireDataLock()) return TStartupResult::DataLockFailed;

        // 11. Draws (a read error is reported and start-up goes on), the
        //     initial combination list with the saved parameters.
        (void)m_archive.LoadDraws();
        (void)m_combs.GenerateSavedCombs(m_stats.Registry());
        RecomputeAll(true);

        // 12. The script file, the ratings and the regular stakes.
        (void)m_scripts.LoadCurrentScript();
        (void)m_stakes.LoadRatings();
        (void)m_tables.LoadTables();

        const bool loadOnly = HasSwitch(SwitchLoadOnly);
        const bool fullRecreate = HasSwitch(SwitchFullRecreate);
        const bool fullRefresh = HasSwitch(SwitchFullRefresh);

        // 13. The online catalogue and the systems (unless a batch switch
        //     is given): the catalogue settings with the user's name and
        //     e-mail; the systems list when a catalogue address is set; the
        //     window loads the online scripts list when its panel shows.
        if (!loadOnly && !fullRecreate && !fullRefresh && m_catalogue.LoadSettings()) {
            m_systems.SetUser(m_catalogue.Settings().UserName, m_catalogue.Settings().UserMail);
            if (m_systems.Enabled() && m_catalogue.HasCatalogue()) (void)m_systems.LoadSystems();
        }

        // 14. Asked for by the switch: without a results site the user is
        //     told where to set one.
        const auto download = [this] {
            if (m_downloader) return m_downloader();
            return bool(m_download.DownloadDraws());
        };
        if (loadOnly) {
            download();
            if (!fullRecreate && !fullRefresh) return TStartupResult::Terminate;
        }

        // 15. The self-update check belongs to the periphery, which is not
        //     built: it never reports an installed update, so no Restart.

        // 16.
        if (fullRecreate) {
            (void)m_stats.CreateAllPrefetchs(true, PrefetchGroupsAll);
            return TStartupResult::Terminate;
        }

        // 17. Only the missing files; with the switch off nothing is built
        //     unless "fullrefresh" forces it.
        (void)m_stats.CreateAllPrefetchs(fullRefresh, PrefetchGroupsNone);
        if (fullRefresh) return TStartupResult::Terminate;

        // 18. The start-up download, when there is a site to read.
        if (m_downloader || m_download.HasResultsSite()) {
            switch (m_settings.DownloadDrawsOnStart()) {
            case 0:
                if (m_host.Confirm(
                        QStringLiteral("Обновить список тиражей?\r\rДля выполнения обновления необходимо "
                                       "действующее подключение к сети Интернет.")))
                    download();
                break;
            case 1:
                download();
                break;
            default:
                break;
            }
        }
        m_host.ShowStatus(QString());
    } catch (const std::exception &e) {
        m_host.ShowStatus(QString());
        m_host.ShowError(Format(msg::InitError, {ExceptionText(e)}));
    }
    return TStartupResult::Running;
}

void TWorkspace::Shutdown() {
    (void)SaveWindowSettings();
    // The buffer file stays on disk; a fresh key at the next start makes the
    // first CreateBuffer overwrite it.
    m_combs.Clear();
    m_combs.ResetBufferKey();
    m_archive.Release();
    (void)m_stakes.CloseStakes();
    // Ratings and regular stakes are released here once they exist.
}

QString TWorkspace::VersionCaptionSuffix(const QString &version) {
    return QStringLiteral(" версия ") + version;
}

} // namespace lot
