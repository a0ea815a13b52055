#include "shell/Workspace.h"

#include "archive/DrawsCsv.h"
#include "core/CoreHelpers.h"
#include "core/Errors.h"
#include "core/Format.h"
#include "shell/Switches.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>

namespace lot {

/// Busy state of one workspace operation; BusyChanged follows the host's
/// counter, so nested operations report only the outermost transitions.
class TWorkspace::TBusy {
public:
    explicit TBusy(TWorkspace &ws) : m_ws(ws) {
        m_ws.m_host.BeginBusy();
        if (m_ws.m_host.BusyCount() == 1) emit m_ws.BusyChanged(true);
    }
    ~TBusy() {
        m_ws.m_host.ShowStatus(QString());
        m_ws.m_host.EndBusy();
        if (m_ws.m_host.IsIdle()) emit m_ws.BusyChanged(false);
    }
    TBusy(const TBusy &) = delete;
    TBusy &operator=(const TBusy &) = delete;

private:
    TWorkspace &m_ws;
};

namespace {
void RestoreDraws(TDrawsArchive &archive, const TDrawsArray &draws) {
    archive.ClearDraws();
    for (const TDrawRec &d : draws)
        archive.Append(d);
}
} // namespace

TWorkspace::TWorkspace(IHost &host, const QString &dataDir, QObject *parent)
    : QObject(parent), m_host(host), m_dataDir(QDir(dataDir).absolutePath()), m_stats(&m_archive, m_dataDir),
      m_prefetchs(host, m_stats), m_combs(host), m_statTable(host, m_stats, m_archive) {
    m_stats.SetHost(&m_host);
    m_prefetchs.SetDataDir(m_dataDir);
    m_combs.SetDataDir(m_dataDir);
    m_statTable.SetFullSetSource([this](const TCustomStat &stat) -> std::optional<TFullSetCounts> {
        std::optional<TPrefetchTable> prefetch = m_prefetchs.OpenPrefetch(stat);
        if (!prefetch) return std::nullopt;
        TFullSetCounts counts;
        counts.Records.reserve(prefetch->Records.size());
        for (const TPrefetchRec &rec : prefetch->Records)
            counts.Records.push_back({rec.Key, rec.Count});
        counts.MinCount = prefetch->MinCount;
        counts.MaxCount = prefetch->MaxCount;
        return counts;
    });
    connect(&m_combs, &TCombList::ListChanged, this, &TWorkspace::StatusPanelsChanged);
}

TWorkspace::~TWorkspace() {
    // The host may already be half torn down here: close without messages.
    try {
        m_stakes.CloseStakes();
    } catch (const std::exception &) {
    }
}

// ---- data folder and file names ---------------------------------------------

QString TWorkspace::FilePath(const QString &name) const {
    return QDir(m_dataDir).filePath(name);
}

QString TWorkspace::ProgramFilePath(const QString &ext) const {
    return FilePath(QLatin1String(ProgramName) + ext);
}

QString TWorkspace::DrawsFileName() const {
    return ProgramFilePath(QStringLiteral(".ldr"));
}
QString TWorkspace::StakesFileName() const {
    return ProgramFilePath(QStringLiteral(".lsk"));
}
QString TWorkspace::IniFileName() const {
    return ProgramFilePath(QStringLiteral(".ini"));
}
QString TWorkspace::FrmFileName() const {
    return ProgramFilePath(QStringLiteral(".frm"));
}
QString TWorkspace::FltFileName() const {
    return ProgramFilePath(QStringLiteral(".flt"));
}
QString TWorkspace::BuffFileName() const {
    return ProgramFilePath(QStringLiteral(".~buff"));
}
QString TWorkspace::PrefetchDir() const {
    return FilePath(QStringLiteral("Prefetchs"));
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

// ---- archive view state -----------------------------------------------------

int TWorkspace::MaxDrawsOffset() const {
    return qMax(0, m_archive.Count() - 1);
}

int TWorkspace::NextDrawNumber() const {
    return m_archive.NextDrawNumber(m_archive.Offset());
}

TDrawRec TWorkspace::NewDrawTemplate() const {
    TDrawRec rec;
    rec.DrawNumber = m_archive.NextDrawNumber(0);
    return rec;
}

void TWorkspace::SetSortedDraws(bool on) {
    m_sortedDraws = on;
    m_statTable.SetSortedDraws(on);
    try {
        m_settings.SetSortedDraws(on);
    } catch (const std::exception &e) {
        m_host.ShowError(
            Format(QStringLiteral("Ошибка сохранения параметров программы!\r\r%s"), {ExceptionText(e)}));
    }
    emit DrawsChanged(false);
    RecomputeAll(true);
}

void TWorkspace::SetColorDraws(bool on) {
    m_colorDraws = on;
    try {
        m_settings.SetColorDraws(on);
    } catch (const std::exception &e) {
        m_host.ShowError(
            Format(QStringLiteral("Ошибка сохранения параметров программы!\r\r%s"), {ExceptionText(e)}));
    }
    emit DrawsChanged(false);
}

// ---- archive operations -----------------------------------------------------

bool TWorkspace::LoadDraws() {
    bool ok = true;
    try {
        m_archive.LoadDrawsFile(DrawsFileName());
    } catch (const std::exception &e) {
        m_host.ShowError(Format(QStringLiteral("Ошибка чтения файла тиражей!\r\r%s"), {ExceptionText(e)}));
        ok = false;
    }
    RefreshDrawsView(true);
    return ok;
}

bool TWorkspace::SaveDraws() {
    bool ok = true;
    try {
        m_archive.SaveDrawsFile(DrawsFileName());
    } catch (const std::exception &e) {
        m_host.ShowError(Format(QStringLiteral("Ошибка записи в файл тиражей!\r\r%s"), {ExceptionText(e)}));
        ok = false;
    }
    RefreshDrawsView(true);
    return ok;
}

bool TWorkspace::SaveDrawsOrRestore(const TDrawsArray &previous) {
    if (SaveDraws()) return true;
    // The file still holds the old archive; memory follows it, so the list
    // never shows draws that would vanish at the next start.
    RestoreDraws(m_archive, previous);
    RefreshDrawsView(true);
    return false;
}

bool TWorkspace::ValidateDraw(const TDrawRec &rec) const {
    if (rec.DrawNumber < 1 || !HasValidNumbers(rec)) return false;
    for (int i = 0; i < CombSize; ++i)
        for (int j = i + 1; j < CombSize; ++j)
            if (rec.Numbers[i] == rec.Numbers[j]) return false;
    return true;
}

bool TWorkspace::AddDraw(const TDrawRec &rec) {
    if (!ValidateDraw(rec)) {
        m_host.ShowError(QStringLiteral("Введена некорректная комбинация!"));
        return false;
    }
    const TDrawsArray previous = m_archive.Draws();
    m_archive.Append(rec);
    if (!SaveDrawsOrRestore(previous)) return false;
    RecomputeAll(true);
    return true;
}

bool TWorkspace::EditDraw(int index, const TDrawRec &rec) {
    if (index < 0 || index >= m_archive.Count()) {
        m_host.ShowError(Format(QStringLiteral("Запись со индексом %d в файле данных не найдена!"), {index}));
        return false;
    }
    if (!ValidateDraw(rec)) {
        m_host.ShowError(QStringLiteral("Введена некорректная комбинация!"));
        return false;
    }
    const TDrawsArray previous = m_archive.Draws();
    m_archive.Replace(index, rec);
    if (!SaveDrawsOrRestore(previous)) return false;
    RecomputeAll(true);
    return true;
}

QString TWorkspace::DeleteConfirmText(int count) {
    if (count == 1) return QStringLiteral("Удалить выделенную запись?");
    return Format(QStringLiteral("Удалить все выделенные записи (всего будет удалено %d записи(ей))?"),
                  {count});
}

QString TWorkspace::DeleteConfirmTitle() {
    return QStringLiteral("Предупреждение");
}

bool TWorkspace::DeleteDrawsByNumbers(const QList<int> &drawNumbers) {
    if (drawNumbers.isEmpty()) return true;
    TBusy busy(*this);
    m_host.ShowStatus(QStringLiteral("Удаление выделенных тиражей...."));
    const TDrawsArray previous = m_archive.Draws();
    try {
        for (qsizetype row = drawNumbers.size() - 1; row >= 0; --row)
            m_archive.DeleteDrawAt(m_archive.FindDrawIndex(drawNumbers[row]));
    } catch (const std::exception &e) {
        // All or nothing: a draw that cannot be found leaves the archive whole.
        RestoreDraws(m_archive, previous);
        RefreshDrawsView(true);
        m_host.ShowError(ExceptionText(e));
        return false;
    }
    RefreshDrawsView(true);
    if (!SaveDrawsOrRestore(previous)) return false;
    RecomputeAll(true);
    return true;
}

bool TWorkspace::ImportDrawsCsv(const QString &path, TCsvImportResult *result) {
    TBusy busy(*this);
    m_host.ShowStatus(
        Format(QStringLiteral("Импорт тиражей из файла \"%s\"..."), {QDir::toNativeSeparators(path)}));
    const TDrawsArray previous = m_archive.Draws();
    try {
        const TCsvImportResult r = lot::ImportDrawsCsv(m_archive, path);
        if (result) *result = r;
    } catch (const std::exception &e) {
        // Draws read before the failure are dropped again: memory keeps
        // matching the draws file.
        RestoreDraws(m_archive, previous);
        RefreshDrawsView(true);
        m_host.ShowError(ExceptionText(e));
        return false;
    }
    return SaveDrawsOrRestore(previous);
}

bool TWorkspace::ExportDrawsCsv(const QString &path) {
    TBusy busy(*this);
    m_host.ShowStatus(
        Format(QStringLiteral("Экспорт тиражей в файл \"%s\"..."), {QDir::toNativeSeparators(path)}));
    try {
        lot::ExportDrawsCsv(m_archive, path);
    } catch (const std::exception &e) {
        m_host.ShowError(ExceptionText(e));
        return false;
    }
    return true;
}

bool TWorkspace::ReplaceDraws(const TDrawsArray &draws) {
    const TDrawsArray previous = m_archive.Draws();
    RestoreDraws(m_archive, draws);
    if (!SaveDrawsOrRestore(previous)) return false;
    RecomputeAll(true);
    return true;
}

void TWorkspace::ChangeDrawsOffset(int v) {
    v = qBound(0, v, MaxDrawsOffset());
    if (v == m_archive.Offset()) return;
    m_archive.SetOffset(v);
    emit OffsetChanged(v);
    RefreshDrawsView(false);
    RecomputeAll(false);
}

void TWorkspace::RefreshDrawsView(bool force) {
    // Deleting draws can leave the offset past the archive; it follows the
    // spin edit's new maximum.
    if (m_archive.Offset() > MaxDrawsOffset()) {
        m_archive.SetOffset(MaxDrawsOffset());
        emit OffsetChanged(m_archive.Offset());
    }
    m_nextDrawSet = m_archive.NextDrawSet();
    emit DrawsChanged(force);
    emit StatusPanelsChanged();
}

// ---- game settings and the combination list ---------------------------------

void TWorkspace::LoadGameSettings() {
    m_host.ShowStatus(QStringLiteral("Загрузка файла конфигурации..."));
    // One error box at most: the three readers share the file.
    if (m_stats.LoadSettings() && m_stats.LoadCombsGenerate()) m_stats.LoadShredding();
    m_stats.RegisterAll();
    m_stats.LoadFilterList(FltFileName(), true);
    m_statTable.FillSelector(false);
    m_host.ShowStatus(QString());
}

bool TWorkspace::ApplyGameSettings(const TConfigData &config, const QList<int> &changedGroups) {
    bool saved = false;
    {
        TBusy busy(*this);
        m_stats.SetConfig(config);
        m_host.ShowStatus(QStringLiteral("Сохранение файла конфигурации..."));
        saved = m_stats.SaveSettings();
        m_stats.Reregister();
        m_statTable.FillSelector(true);
        if (!changedGroups.isEmpty()) m_prefetchs.CreateAllPrefetchs(true, PrefetchGroupSet(changedGroups));
        m_host.ShowStatus(QString());
    }
    RecomputeAll(true);
    return saved;
}

bool TWorkspace::SaveCombsGenerateParameters(int mode, const QString &parameters) {
    m_stats.SetCombsGenerateMode(mode);
    m_stats.SetCombsGenerateParameters(parameters);
    return m_stats.SaveCombsGenerate();
}

int TWorkspace::ExcludeLastDraws(int n) {
    TBusy busy(*this);
    m_combs.MakeUndoCopy(true);
    return m_combs.ExcludeLastDraws(m_archive, n);
}

void TWorkspace::SetPrefetchsEnabled(bool on) {
    m_prefetchs.SetEnabled(on);
    try {
        m_settings.SetPrefetchsEnabled(on);
    } catch (const std::exception &e) {
        m_host.ShowError(
            Format(QStringLiteral("Ошибка сохранения параметров программы!\r\r%s"), {ExceptionText(e)}));
    }
    {
        TBusy busy(*this);
        m_prefetchs.CreateAllPrefetchs(false, PrefetchGroupsNone);
    }
    emit PrefetchsEnabledChanged(on);
    RecomputeAll(true);
}

// ---- views ------------------------------------------------------------------

void TWorkspace::RecomputeAll(bool force) {
    if (m_viewsFrozen) return;
    ComputeStatistics(force);
    emit RecomputeRequested(force);
}

bool TWorkspace::ComputeStatistics(bool force) {
    m_statTable.SetSortedDraws(m_sortedDraws);
    try {
        m_statTable.ComputeStatistics(force);
    } catch (const std::exception &e) {
        m_host.ShowError(ExceptionText(e));
        return false;
    }
    return true;
}

void TWorkspace::SetShowTotalLine(bool on) {
    m_statTable.SetShowTotalLine(on);
    try {
        m_settings.SetShowTotalLine(on);
    } catch (const std::exception &e) {
        m_host.ShowError(
            Format(QStringLiteral("Ошибка сохранения параметров программы!\r\r%s"), {ExceptionText(e)}));
    }
    ComputeStatistics(true);
}

// ---- status bar -------------------------------------------------------------

QString TWorkspace::StatusPanelText(int i) const {
    switch (i) {
    case 0:
        return Format(QStringLiteral("Архив тиражей: %d"), {m_archive.Count()});
    case 1:
        return Format(QStringLiteral("Следующий тираж: %d"), {NextDrawNumber()});
    case 2:
        return IntListToText(m_nextDrawSet, QStringLiteral(";"));
    case 3:
        return m_combs.CountText();
    case 4:
        return Format(QStringLiteral("Ставок: %d"), {m_stakes.Count()});
    case 5:
        // The ratings report their count here once they join.
        return Format(QStringLiteral("Рейтинг: %d"), {0});
    default:
        return QString();
    }
}

// ---- data lock --------------------------------------------------------------

QString TWorkspace::DataLockMessage() {
    return QStringLiteral(
        "Невозможно получить монопольный доступ к файлам данных!\r\rВозможные причины данной ошибки: \r\r1) "
        "Вы пытаетесь запустить вторую копию программы из одного и того же каталога. Корректная работа "
        "нескольких копий программы возможна только из разных каталогов.\r\r2) Для программы нет прав на "
        "запись в том каталоге, где она расположена. Например: в Windows 7 и выше по умолчанию запрещена "
        "запись в c:\\Program Files.\r\rПрограмма будет закрыта!");
}

bool TWorkspace::AcquireDataLock() {
    const bool ok = m_stakes.LoadStakes(m_host, StakesFileName());
    emit StatusPanelsChanged();
    return ok;
}

void TWorkspace::ReleaseDataLock() {
    if (!m_stakes.IsOpen()) return;
    m_host.ShowStatus(QStringLiteral("Сохранение файла ставок..."));
    try {
        m_stakes.CloseStakes();
    } catch (const std::exception &e) {
        m_host.ShowError(Format(QStringLiteral("Ошибка записи в файл ставок!\r\r%s"), {ExceptionText(e)}));
    }
    m_host.ShowStatus(QString());
}

// ---- window settings --------------------------------------------------------

bool TWorkspace::LoadWindowSettings() {
    try {
        m_settings.Load(FrmFileName());
        m_sortedDraws = m_settings.SortedDraws();
        m_colorDraws = m_settings.ColorDraws();
        m_settings.ApplyFirstStart();
        m_prefetchs.SetEnabled(m_settings.PrefetchsEnabled());
        m_statTable.SetSortedDraws(m_sortedDraws);
        m_statTable.SetShowTotalLine(m_settings.ShowTotalLine());
        m_statTable.SetSampleLength(m_settings.DrawsStatLen());
    } catch (const std::exception &e) {
        m_host.ShowError(
            Format(QStringLiteral("Ошибка загрузки параметров программы!\r\r%s"), {ExceptionText(e)}));
        return false;
    }
    return true;
}

bool TWorkspace::SaveWindowSettings() {
    try {
        m_settings.Save();
    } catch (const std::exception &e) {
        m_host.ShowError(
            Format(QStringLiteral("Ошибка сохранения параметров программы!\r\r%s"), {ExceptionText(e)}));
        return false;
    }
    return true;
}

// ---- start-up and shutdown ----------------------------------------------------------------

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
        if (m_archive.Offset() != 0) {
            m_archive.SetOffset(0);
            emit OffsetChanged(0);
        }

        // 10. The data lock, first among the data files.
        if (!AcquireDataLock()) {
            m_host.ShowError(DataLockMessage());
            return TStartupResult::DataLockFailed;
        }

        // 11. Draws (a read error is reported and start-up goes on), the
        //     initial combination list with the saved parameters.
        LoadDraws();
        m_combs.GenerateCombs(true, m_stats.CombsGenerateMode(), m_stats.CombsGenerateParameters());
        RecomputeAll(true);

        // 12. Ratings, regular stakes and the script file load here once
        //     they exist.

        const bool loadOnly = HasSwitch(SwitchLoadOnly);
        const bool fullRecreate = HasSwitch(SwitchFullRecreate);
        const bool fullRefresh = HasSwitch(SwitchFullRefresh);

        // 13. Systems and the online catalogue are set up here (unless a
        //     batch switch is given) once they exist.

        // 14.
        if (loadOnly) {
            if (m_downloader) m_downloader();
            if (!fullRecreate && !fullRefresh) return TStartupResult::Terminate;
        }

        // 15. The self-update check belongs to the periphery, which is not
        //     built: it never reports an installed update, so no Restart.

        // 16.
        if (fullRecreate) {
            m_prefetchs.CreateAllPrefetchs(true, PrefetchGroupsAll);
            return TStartupResult::Terminate;
        }

        // 17. Only the missing files; with the switch off nothing is built
        //     unless "fullrefresh" forces it.
        m_prefetchs.CreateAllPrefetchs(fullRefresh, PrefetchGroupsNone);
        if (fullRefresh) return TStartupResult::Terminate;

        // 18. The start-up download.
        if (m_downloader) {
            switch (m_settings.DownloadDrawsOnStart()) {
            case 0:
                if (m_host.Confirm(
                        QStringLiteral("Обновить список тиражей?\r\rДля выполнения обновления необходимо "
                                       "действующее подключение к сети Интернет.")))
                    m_downloader();
                break;
            case 1:
                m_downloader();
                break;
            default:
                break;
            }
        }
        m_host.ShowStatus(QString());
    } catch (const std::exception &e) {
        m_host.ShowStatus(QString());
        m_host.ShowError(Format(QStringLiteral("Ошибка инициализации программы!\r\r%s"), {ExceptionText(e)}));
    }
    return TStartupResult::Running;
}

void TWorkspace::Shutdown() {
    SaveWindowSettings();
    // The buffer file stays on disk; a fresh key at the next start makes the
    // first CreateBuffer overwrite it.
    m_combs.Clear();
    m_combs.ResetBufferKey();
    m_archive.ClearDraws();
    m_nextDrawSet.clear();
    emit DrawsChanged(true);
    ReleaseDataLock();
    // Ratings and regular stakes are released here once they exist.
}

QString TWorkspace::VersionCaptionSuffix(const QString &version) {
    return QStringLiteral(" версия ") + version;
}

} // namespace lot
