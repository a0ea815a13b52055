#pragma once
/// @file TStatsController: the statistics area as the user works with it.
/// It owns the method registry with the game settings, the prefetch files
/// and the statistics table, holds the user-level operations on them with
/// their error boundary (the registry, the prefetch files and the table
/// raise), and tells views about changes through its signals.

#include "core/OpResult.h"
#include "stats/Favourites.h"
#include "stats/PrefetchFiles.h"
#include "stats/StatList.h"
#include "stats/StatTable.h"

#include <QList>
#include <QObject>
#include <QString>

namespace lot {

class IHost;
class TArchiveController;
class TDataFolder;
class TWindowSettings;

class TStatsController : public QObject {
    Q_OBJECT
public:
    TStatsController(IHost &host, const TDataFolder &files, TWindowSettings &settings,
                     const TArchiveController &archive, QObject *parent = nullptr);

    /// The method registry with the game settings.
    TStatList &Registry() { return m_stats; }
    const TStatList &Registry() const { return m_stats; }
    /// The statistics table of the statistics tab.
    TStatTable &Table() { return m_table; }
    const TStatTable &Table() const { return m_table; }
    /// The prefetch files of the registered methods.
    TPrefetchFiles &Prefetchs() { return m_prefetchs; }
    const TPrefetchFiles &Prefetchs() const { return m_prefetchs; }

    // ---- the game settings file and the filter list file ---------------------------------
    TOpResult LoadSettings();
    TOpResult SaveSettings();
    TOpResult LoadCombsGenerate();
    TOpResult SaveCombsGenerate();
    TOpResult LoadShredding();
    TOpResult SaveShredding();
    TOpResult LoadFilterList(const QString &fileName, bool withOptions);
    TOpResult SaveFilterList(const QString &fileName, bool withOptions, bool allCaptions);
    /// After a change of the game settings: saves the filter list, registers
    /// again, selects all and reloads the filter list with options.
    TOpResult Reregister();

    /// Start-up step 6: the generation parameters, the game settings and the
    /// shredding formulas from the ini file in that order (status "Загрузка
    /// файла конфигурации..."; after a read error the others are not read,
    /// the file being the same), the registration of the methods, the filter
    /// list file and the selector. Start-up goes on with defaults after an
    /// error; the result is that of reading the game settings file.
    TOpResult LoadGameSettings();
    /// After the settings dialog: stores and saves the game settings,
    /// re-registers the methods, refills the selector and, when some groups
    /// changed and the prefetch switch is on, rebuilds their prefetch files
    /// (and builds missing ones); then asks every view to recompute.
    TOpResult ApplyGameSettings(const TConfigData &config, const QList<int> &changedGroups);
    /// The shredding formulas dialog's OK and the command line's "shredding
    /// set": checks every formula and digit count (the first problem is the
    /// error, shown and returned, and nothing changes), then stores and saves
    /// the formulas (section SHREDDING), registers the methods again and
    /// refills the selectors; when a formula or digit count changed, the
    /// prefetch files of group 12 are rebuilt (with the prefetch switch off
    /// they are removed instead, as they describe the old formulas); then
    /// every view recomputes.
    TOpResult ApplyShredding(const TShreddingData &data);
    /// Makes mode and parameters the saved generation parameters and writes
    /// them to the ini file at once.
    TOpResult SaveCombsGenerateParameters(int mode, const QString &parameters);

    // ---- favourites and method names (the filter manager) ----------------------------------
    /// The manager's OK: the edited marks and names into the registry,
    /// NormalizeSelection, the display options; then, busy with "Подождите
    /// пожалуйста...", the filter list file saved with options, the methods
    /// registered again with it, the selectors refilled with the first item
    /// selected, and every view recomputed.
    TOpResult ApplyFavourites(const QList<TMethodEdit> &edits, const TDisplayOptions &options);
    /// FiltersReset after its question: every method listed, the filter list
    /// file saved with options, the selectors refilled with the first item
    /// selected, the views recomputed.
    TOpResult ResetFavourites();
    /// The command line's choice: exactly these entries are favourites (none
    /// or all: every method is listed), saved and refilled as by the manager.
    TOpResult SetFavouriteEntries(const QList<int> &entries);
    /// NamesImport: the custom names of fileName (its captions section; no
    /// options) replace those of the registry at once.
    TOpResult ImportNames(const QString &fileName);
    /// NamesExport: the edited names (not the marks) into the registry, a
    /// name for every method written to fileName (no options), then the
    /// names saved in the program's own filter list file read back.
    TOpResult ExportNames(const QString &fileName, const QList<TMethodEdit> &edits);
    /// The display options of the registry.
    TDisplayOptions DisplayOptions() const;

    // ---- prefetch files -------------------------------------------------------------------
    /// The prefetch switch (window setting PrefetchsEnabled).
    bool PrefetchsEnabled() const { return m_prefetchs.Enabled(); }
    /// The switch for this run only, not stored (the command line's options).
    void UsePrefetchs(bool on) { m_prefetchs.SetEnabled(on); }
    /// DrawsStatePrefetchsEnabled: stores the switch at once, builds the
    /// missing prefetch files when it is on, emits PrefetchsEnabledChanged and
    /// asks for a recompute with force.
    void SetPrefetchsEnabled(bool on);
    TOpResult CreatePrefetch(int entry);
    TOpResult CreatePrefetch(const TStatClass &statClass, int param);
    /// The counts of a method, or none when there are none to compare with
    /// (switch off, no distribution, or an error, which is shown).
    std::optional<TPrefetchTable> OpenPrefetch(const TStatClass &statClass, int param);
    TOpResult CreateAllPrefetchs(bool force, uint16_t groups);

    // ---- the statistics table ---------------------------------------------------------------
    /// ComputeStatistics of the table as an operation (sorted view as the
    /// archive shows it).
    TOpResult ComputeStatistics(bool force);
    /// The same with draws sorted or not whatever the archive's view says
    /// (the command line's --sorted).
    TOpResult ComputeStatistics(bool force, bool sorted);
    /// Draws evaluated sorted or not for this run, whatever the archive's
    /// view says, until the next ComputeStatistics(force) without it (the
    /// command line's --sorted for filter steps).
    void UseSortedDraws(bool sorted) { m_table.SetSortedDraws(sorted); }
    /// ShowTotalLine: stores the switch at once and recomputes the table with force.
    bool ShowTotalLine() const { return m_table.ShowTotalLine(); }
    void SetShowTotalLine(bool on);
    /// Takes the prefetch switch, the total line and the sample length from
    /// the window settings just loaded.
    void ApplyWindowSettings();

signals:
    /// The prefetch switch changed: the full-set columns show (on) or hide (off).
    void PrefetchsEnabledChanged(bool on);
    /// The analysis views are out of date (the workspace recomputes them).
    void RecomputeRequested(bool force);

private:
    /// Saves the filter list with options, registers again, refills the
    /// selectors from the first item and asks for a recompute; busy.
    TOpResult SaveAndRefill(bool reregister);
    void StoreSwitch(void (TWindowSettings::*set)(bool), bool on);
    /// The prefetch files of these groups after their settings changed:
    /// rebuilt when the switch is on, else removed (the next use builds them).
    void RefreshPrefetchGroups(uint16_t groups);

    IHost &m_host;
    const TDataFolder &m_files;
    TWindowSettings &m_settings;
    const TArchiveController &m_archive;
    TStatList m_stats;
    TPrefetchFiles m_prefetchs;
    TStatTable m_table;
};

} // namespace lot
