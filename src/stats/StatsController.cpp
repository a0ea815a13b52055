#include "stats/StatsController.h"

#include "archive/ArchiveController.h"
#include "core/DataFolder.h"
#include "core/Host.h"
#include "core/Messages.h"
#include "core/WindowSettings.h"
#include "stats/methods/ShreddingMethods.h"

#include <QFile>

namespace lot {

TStatsController::TStatsController(IHost &host, const TDataFolder &files, TWindowSettings &settings,
                                   const TArchiveController &archive, QObject *parent)
    : QObject(parent), m_host(host), m_files(files), m_settings(settings), m_archive(archive),
      m_stats(&archive.Draws(), files.Dir()), m_prefetchs(host, m_stats),
      m_table(host, m_stats, archive.Draws()) {
    m_prefetchs.SetDataDir(files.Dir());
    m_table.SetFullSetSource([this](const TCustomStat &stat) -> std::optional<TFullSetCounts> {
        std::optional<TPrefetchTable> prefetch = OpenPrefetch(stat.Class(), stat.Param());
        if (!prefetch) return std::nullopt;
        TFullSetCounts counts;
        counts.Records.reserve(prefetch->Records.size());
        for (const TPrefetchRec &rec : prefetch->Records)
            counts.Records.push_back({rec.Key, rec.Count});
        counts.MinCount = prefetch->MinCount;
        counts.MaxCount = prefetch->MaxCount;
        return counts;
    });
}

// ---- the game settings file and the filter list file -------------------------------------

TOpResult TStatsController::LoadSettings() {
    return Guarded(m_host, {}, [&] { m_stats.LoadSettings(); });
}
TOpResult TStatsController::SaveSettings() {
    return Guarded(m_host, {}, [&] { m_stats.SaveSettings(); });
}
TOpResult TStatsController::LoadCombsGenerate() {
    return Guarded(m_host, {}, [&] { m_stats.LoadCombsGenerate(); });
}
TOpResult TStatsController::SaveCombsGenerate() {
    return Guarded(m_host, {}, [&] { m_stats.SaveCombsGenerate(); });
}
TOpResult TStatsController::LoadShredding() {
    return Guarded(m_host, {}, [&] { m_stats.LoadShredding(); });
}
TOpResult TStatsController::SaveShredding() {
    return Guarded(m_host, {}, [&] { m_stats.SaveShredding(); });
}
TOpResult TStatsController::LoadFilterList(const QString &fileName, bool withOptions) {
    return Guarded(m_host, {}, [&] { m_stats.LoadFilterList(fileName, withOptions); });
}
TOpResult TStatsController::SaveFilterList(const QString &fileName, bool withOptions, bool allCaptions) {
    return Guarded(m_host, {}, [&] { m_stats.SaveFilterList(fileName, withOptions, allCaptions); });
}

TOpResult TStatsController::Reregister() {
    const QString fileName = m_stats.FilterListFileName();
    const TOpResult saved = SaveFilterList(fileName, true, false);
    m_stats.RegisterAgain();
    const TOpResult loaded = LoadFilterList(fileName, true);
    return saved ? loaded : saved;
}

TOpResult TStatsController::LoadGameSettings() {
    m_host.ShowStatus(QStringLiteral("Загрузка файла конфигурации..."));
    // One error box at most: the three readers share the file.
    TOpResult read = LoadCombsGenerate();
    if (read) read = LoadSettings();
    if (read) read = LoadShredding();
    m_stats.RegisterAll();
    (void)LoadFilterList(m_files.FltFile(), true);
    m_table.FillSelector(false);
    m_host.ShowStatus(QString());
    return read;
}

TOpResult TStatsController::ApplyGameSettings(const TConfigData &config, const QList<int> &changedGroups) {
    TOpResult saved;
    {
        TBusyGuard busy(m_host);
        m_stats.SetConfig(config);
        m_host.ShowStatus(QStringLiteral("Сохранение файла конфигурации..."));
        saved = SaveSettings();
        (void)Reregister();
        m_table.FillSelector(true);
        if (!changedGroups.isEmpty()) RefreshPrefetchGroups(PrefetchGroupSet(changedGroups));
        m_host.ShowStatus(QString());
    }
    emit RecomputeRequested(true);
    return saved;
}

void TStatsController::RefreshPrefetchGroups(uint16_t groups) {
    // The files of the groups whose settings changed describe the old
    // settings. Without force: with the switch off nothing is built, and a
    // file left behind would be read as the new settings' once it is on.
    if (m_prefetchs.Enabled()) {
        (void)CreateAllPrefetchs(false, groups);
        return;
    }
    for (int i = 0; i < m_stats.Count(); ++i) {
        const TStatMethod &m = m_stats.Items(i);
        if (m.StatClass->CanPrefetch() && (groups & PrefetchGroupBit(m.StatClass->Group())) != 0)
            QFile::remove(m_prefetchs.FileName(*m.StatClass, m.Param));
    }
}

TOpResult TStatsController::ApplyShredding(const TShreddingData &data) {
    const QString problem = ShreddingProblemText(data);
    if (!problem.isEmpty()) return Guarded(m_host, {}, [&] { throw EError(problem); });
    const bool changed = !(data == m_stats.Shredding());
    TOpResult saved;
    {
        TBusyGuard busy(m_host);
        m_stats.SetShredding(data);
        m_host.ShowStatus(QStringLiteral("Сохранение файла конфигурации..."));
        saved = SaveShredding();
        (void)Reregister();
        m_table.FillSelector(true);
        if (changed) RefreshPrefetchGroups(PrefetchGroupBit(TstShreddingStat::Group()));
        m_host.ShowStatus(QString());
    }
    emit RecomputeRequested(true);
    return saved;
}

TOpResult TStatsController::SaveCombsGenerateParameters(int mode, const QString &parameters) {
    m_stats.SetCombsGenerateMode(mode);
    m_stats.SetCombsGenerateParameters(parameters);
    return SaveCombsGenerate();
}

// ---- favourites and method names ------------------------------------------------------------

TDisplayOptions TStatsController::DisplayOptions() const {
    return {m_stats.Ordered(), m_stats.ShowGroupName(), m_stats.ShowMethodFlags()};
}

TOpResult TStatsController::SaveAndRefill(bool reregister) {
    TOpResult saved;
    {
        TBusyGuard busy(m_host);
        m_host.ShowStatus(QString::fromUtf8(msg::PleaseWait));
        const QString fileName = m_files.FltFile();
        saved = SaveFilterList(fileName, true, false);
        if (reregister) {
            m_stats.RegisterAgain();
            (void)LoadFilterList(fileName, true);
        }
        m_table.FillSelector(false);
        m_host.ShowStatus(QString());
    }
    emit RecomputeRequested(true);
    return saved;
}

TOpResult TStatsController::ApplyFavourites(const QList<TMethodEdit> &edits, const TDisplayOptions &options) {
    ApplyMethodEdits(m_stats, edits, true);
    m_stats.NormalizeSelection();
    m_stats.SetOrdered(options.Ordered);
    m_stats.SetShowGroupName(options.ShowGroupName);
    m_stats.SetShowMethodFlags(options.ShowMethodFlags);
    return SaveAndRefill(true);
}

TOpResult TStatsController::ResetFavourites() {
    m_stats.SelectAll();
    return SaveAndRefill(false);
}

TOpResult TStatsController::SetFavouriteEntries(const QList<int> &entries) {
    for (int i = 0; i < m_stats.Count(); ++i)
        m_stats.Items(i).Selected = entries.contains(i);
    m_stats.NormalizeSelection();
    return SaveAndRefill(true);
}

TOpResult TStatsController::ImportNames(const QString &fileName) {
    TBusyGuard busy(m_host);
    m_host.ShowStatus(QString::fromUtf8(msg::PleaseWait));
    const TOpResult r = LoadFilterList(fileName, false);
    m_host.ShowStatus(QString());
    return r;
}

TOpResult TStatsController::ExportNames(const QString &fileName, const QList<TMethodEdit> &edits) {
    TBusyGuard busy(m_host);
    m_host.ShowStatus(QString::fromUtf8(msg::PleaseWait));
    ApplyMethodEdits(m_stats, edits, false);
    const TOpResult r = SaveFilterList(fileName, false, true);
    (void)LoadFilterList(m_files.FltFile(), false);
    m_host.ShowStatus(QString());
    return r;
}

// ---- prefetch files ---------------------------------------------------------------------------

void TStatsController::StoreSwitch(void (TWindowSettings::*set)(bool), bool on) {
    // A switch that cannot be written still applies for this run.
    (void)Guarded(m_host, QString::fromUtf8(msg::SettingsSaveError), [&] { (m_settings.*set)(on); });
}

void TStatsController::SetPrefetchsEnabled(bool on) {
    m_prefetchs.SetEnabled(on);
    StoreSwitch(&TWindowSettings::SetPrefetchsEnabled, on);
    {
        TBusyGuard busy(m_host);
        (void)CreateAllPrefetchs(false, PrefetchGroupsNone);
    }
    emit PrefetchsEnabledChanged(on);
    emit RecomputeRequested(true);
}

TOpResult TStatsController::CreatePrefetch(int entry) {
    return Guarded(m_host, {}, [&] { m_prefetchs.CreatePrefetch(entry); });
}

TOpResult TStatsController::CreatePrefetch(const TStatClass &statClass, int param) {
    return Guarded(m_host, {}, [&] { m_prefetchs.CreatePrefetch(statClass, param); });
}

std::optional<TPrefetchTable> TStatsController::OpenPrefetch(const TStatClass &statClass, int param) {
    std::optional<TPrefetchTable> table;
    (void)Guarded(m_host, {}, [&] { table = m_prefetchs.OpenPrefetch(statClass, param); });
    return table;
}

TOpResult TStatsController::CreateAllPrefetchs(bool force, uint16_t groups) {
    return Guarded(m_host, {}, [&] { m_prefetchs.CreateAllPrefetchs(force, groups); });
}

// ---- the statistics table -----------------------------------------------------------------------

TOpResult TStatsController::ComputeStatistics(bool force) {
    return ComputeStatistics(force, m_archive.SortedDraws());
}

TOpResult TStatsController::ComputeStatistics(bool force, bool sorted) {
    m_table.SetSortedDraws(sorted);
    return Guarded(m_host, {}, [&] { m_table.ComputeStatistics(force); });
}

void TStatsController::SetShowTotalLine(bool on) {
    m_table.SetShowTotalLine(on);
    StoreSwitch(&TWindowSettings::SetShowTotalLine, on);
    (void)ComputeStatistics(true);
}

void TStatsController::ApplyWindowSettings() {
    m_prefetchs.SetEnabled(m_settings.PrefetchsEnabled());
    m_table.SetSortedDraws(m_archive.SortedDraws());
    m_table.SetShowTotalLine(m_settings.ShowTotalLine());
    m_table.SetSampleLength(m_settings.DrawsStatLen());
}

} // namespace lot
