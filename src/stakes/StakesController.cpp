#include "stakes/StakesController.h"

#include "archive/ArchiveController.h"
#include "combs/CombsController.h"
#include "core/CoreHelpers.h"
#include "core/DataFolder.h"
#include "core/Host.h"
#include "core/Messages.h"
#include "core/WindowSettings.h"
#include "stakes/StakeLog.h"
#include "stakes/StakesAppender.h"
#include "stakes/StakesChecker.h"
#include "stats/StatList.h"

#include <algorithm>
#include <cstring>
#include <QDir>
#include <vector>

namespace lot {

namespace {

const char RecordReadError[] = "Ошибка чтения записи из файла ставок!\r\r%s";
const char AppendError[] = "Ошибка добавления записи в файл ставок!\r\r%s";
const char FindError[] = "Ошибка поиска записи в файле ставок!\r\r%s";
const char SeekDrawsError[] = "Ошибка поиска записи по номеру тиража в файле ставок!\r\r%s";
const char CheckError[] = "Ошибка проверки ставок!\r\r%s";
const char DeleteError[] = "Ошибка удаления записи из файла ставок!\r\r%s";

QString Text(const char *utf8) {
    return QString::fromUtf8(utf8);
}

} // namespace

TStakesController::TStakesController(IHost &host, const TDataFolder &files, TWindowSettings &settings,
                                     const TArchiveController &archive, const TStatList &registry,
                                     const TCombsController &combs, QObject *parent)
    : QObject(parent), m_host(host), m_files(files), m_settings(settings), m_archive(archive),
      m_registry(registry), m_combs(combs), m_random(QRandomGenerator::global()->generate()) {}

TStakesController::~TStakesController() {
    // The host may already be half torn down here: close without messages.
    try {
        m_file.CloseStakes();
    } catch (const std::exception &) {
    }
}

QString TStakesController::CountText() const {
    return Format(QStringLiteral("Ставок: %d"), {Count()});
}

int TStakesController::NextDrawNumber() const {
    return m_archive.NextDrawNumber();
}

// ---- opening and closing --------------------------------------------------------------------

QString TStakesController::DataLockMessage() {
    return QStringLiteral(
        "Невозможно получить монопольный доступ к файлам данных!\r\rВозможные причины данной ошибки: \r\r1) "
        "Вы пытаетесь запустить вторую копию программы из одного и того же каталога. Корректная работа "
        "нескольких копий программы возможна только из разных каталогов.\r\r2) Для программы нет прав на "
        "запись в том каталоге, где она расположена. Например: в Windows 7 и выше по умолчанию запрещена "
        "запись в c:\\Program Files.\r\rПрограмма будет закрыта!");
}

TOpResult TStakesController::LoadStakes() {
    m_host.ShowStatus(QStringLiteral("Загрузка файла ставок..."));
    TOpResult r;
    try {
        m_file.OpenStakes(m_files.StakesFile());
    } catch (const std::exception &) {
        // Refused by another copy or by the folder's rights: that is what
        // the data-lock message explains; a read error box before it would
        // only say the same less clearly.
        r = Refused(m_host, DataLockMessage());
    }
    if (r) {
        bool emptied = false;
        r = Guarded(m_host, Text(msg::StakesReadError), [&] { emptied = m_file.CheckVersion(m_host); });
        if (!r) {
            // A refused load holds no lock: the caller ends or carries on without data.
            try {
                m_file.CloseStakes();
            } catch (const std::exception &) {
            }
        }
        if (emptied) emit StakesLayoutReset();
    }
    RefreshStakesView(true, false);
    m_host.ShowStatus(QString());
    return r;
}

TOpResult TStakesController::AcquireDataLock() {
    const TOpResult r = LoadStakes();
    if (r || r.Message() == DataLockMessage()) return r;
    return Refused(m_host, DataLockMessage());
}

TOpResult TStakesController::OpenForReading() {
    return Guarded(m_host, Text(msg::StakesReadError), [&] {
        m_file.OpenForReading(m_files.StakesFile());
        if (m_file.IsOpen() && !m_file.HasCurrentVersion())
            throw EError(
                QStringLiteral("Файл ставок другой версии: его размер не кратен 312 байтам или версия "
                               "первой записи не равна 2."));
    });
}

TOpResult TStakesController::CloseStakes() {
    if (!m_file.IsOpen()) return {};
    m_host.ShowStatus(QStringLiteral("Сохранение файла ставок..."));
    const TOpResult r = Guarded(m_host, Text(msg::StakesWriteError), [&] { m_file.CloseStakes(); });
    m_host.ShowStatus(QString());
    return r;
}

TOpResult TStakesController::ReopenStakes() {
    return Guarded(m_host, Text(msg::StakesWriteError), [&] { m_file.Flush(); });
}

// ---- records -----------------------------------------------------------------------------

TOpResult TStakesController::ReadStake(TSeekOrigin origin, qint64 index, TStakeRec &rec) {
    const TOpResult r =
        Guarded(m_host, Text(RecordReadError), [&] { rec = m_file.ReadStake(origin, index); });
    if (!r) std::memset(static_cast<void *>(&rec), 0, sizeof rec);
    return r;
}

bool TStakesController::ViewRecord(qint64 row, TStakeRec &rec) {
    if (row < 0 || row >= m_file.Count()) return false;
    try {
        rec = m_file.ReadStake(TSeekOrigin::Beginning, row);
        return true;
    } catch (const std::exception &e) {
        if (!m_viewErrorShown) {
            m_viewErrorShown = true;
            m_host.ShowError(Format(RecordReadError, {ExceptionText(e)}));
        }
        return false;
    }
}

TOpResult TStakesController::WriteStake(TSeekOrigin origin, qint64 index, const TStakeRec &rec) {
    const TOpResult r = Guarded(m_host, Text(AppendError), [&] { m_file.WriteStake(origin, index, rec); });
    emit StakesChanged();
    return r;
}

TOpResult TStakesController::FindStake(int drawNumber, const TNumberSet &numbers, bool &found) {
    found = false;
    return Guarded(m_host, Text(FindError), [&] { found = m_file.FindStake(drawNumber, numbers); });
}

TOpResult TStakesController::SeekRecentDraws(int n, TRecentDraws &result) {
    result = {};
    return Guarded(m_host, Text(SeekDrawsError), [&] { result = m_file.SeekRecentDraws(n); });
}

void TStakesController::ReadEachStake(const std::function<void(qint64, const TStakeRec &)> &visit) {
    std::vector<TStakeRec> block(static_cast<size_t>(TStakesFile::BlockRecords));
    const qint64 count = m_file.Count();
    for (qint64 at = 0; at < count;) {
        const qint64 got =
            m_file.ReadRecords(at, block.data(), std::min(TStakesFile::BlockRecords, count - at));
        if (got <= 0) break;
        for (qint64 i = 0; i < got; ++i)
            visit(at + i, block[size_t(i)]);
        at += got;
    }
}

TOpResult TStakesController::VisitStakes(const std::function<void(qint64, const TStakeRec &)> &visit) {
    return Guarded(m_host, Text(msg::StakesReadError), [&] { ReadEachStake(visit); });
}

// ---- making stakes ---------------------------------------------------------------------------

int64_t TStakesController::StakeCost(int n) const {
    return m_registry.StakeProfit(n, -1).Units;
}

TStakeRec TStakesController::NewManualStake(const TNumberSet &numbers) const {
    TStakeRec rec;
    rec.Version = StakesVersion;
    rec.Kind = skManual;
    rec.DrawNumber = NextDrawNumber();
    SetStakeComment(rec, ManualStakeComment());
    rec.Checked = 0;
    rec.Sample = m_combs.Count();
    rec.Numbers = numbers;
    rec.Numbers.Count = std::clamp<int32_t>(rec.Numbers.Count, 0, int32_t(sizeof rec.Numbers.Numbers));
    for (int i = rec.Numbers.Count; i < int(sizeof rec.Numbers.Numbers); ++i)
        rec.Numbers.Numbers[i] = 0;
    // Combinations read from a file keep their order; a stake's numbers ascend.
    SortNumberSet(rec.Numbers);
    rec.Overlaps = TNumberSet{-1, {}};
    rec.Profit = StakeCost(rec.Numbers.Count);
    return rec;
}

int TStakesController::RandomCombRow() {
    const int count = m_combs.Count();
    return count > 0 ? int(m_random.bounded(quint32(count))) : -1;
}

TOpResult TStakesController::AppendStakes(const TStakeRec &tmpl, int drawsCount) {
    const TOpResult r = Guarded(m_host, Text(AppendError), [&] { m_file.AppendStakes(tmpl, drawsCount); });
    emit StakesChanged();
    return r;
}

TOpResult TStakesController::AppendSeparator() {
    const TOpResult r = Guarded(m_host, Text(AppendError), [&] { m_file.AppendSeparator(); });
    emit StakesChanged();
    return r;
}

TOpResult TStakesController::AddStake(const TStakeRec &rec, int drawsCount) {
    m_host.ShowStatus(QStringLiteral("Создание ставки..."));
    const TOpResult r = AppendStakes(rec, drawsCount);
    if (r) {
        (void)CheckAndSave();
        RefreshStakesView(true, true);
    }
    m_host.ShowStatus(QString());
    return r;
}

TOpResult TStakesController::AddStakes(const TStakeRec &rec, int drawsCount, bool batch) {
    m_host.ShowStatus(QStringLiteral("Создание ставок..."));
    const TOpResult r = AppendStakes(rec, drawsCount);
    if (r) RefreshStakesView(false, !batch || m_scrollEnabled);
    return r;
}

TOpResult TStakesController::AddStakesForCombs(std::span<const TComb> combs, int drawNumber, int drawsCount,
                                               const QString &comment) {
    TBusyGuard busy(m_host);
    const QString status = QStringLiteral("Создание ставок...");
    m_host.ShowStatus(status);
    TStakeRec tmpl = NewManualStake(TNumberSet{});
    tmpl.DrawNumber = drawNumber;
    SetStakeComment(tmpl, comment);
    const TOpResult r = Guarded(m_host, Text(AppendError), [&] {
        TStakesAppender appender(m_file);
        const qsizetype step = std::max<qsizetype>(1, qsizetype(combs.size()) / 100);
        for (size_t i = 0; i < combs.size(); ++i) {
            TStakeRec rec = tmpl;
            rec.Numbers = CombToNumberSet(combs[i]);
            SortNumberSet(rec.Numbers);
            rec.Profit = StakeCost(rec.Numbers.Count);
            appender.AppendStakes(rec, drawsCount);
            // Lets the window repaint about a hundred times.
            if ((qsizetype(i) + 1) % step == 0) m_host.ShowStatus(status);
        }
        appender.Flush();
    });
    emit StakesChanged();
    if (r) (void)CheckAndSave();
    RefreshStakesView(true, bool(r));
    return r;
}

// ---- checking --------------------------------------------------------------------------------

TOpResult TStakesController::CheckStakes(qint64 &checked) {
    checked = 0;
    TBusyGuard busy(m_host);
    m_host.ShowStatus(QStringLiteral("Проверка результатов ставок..."));
    if (!m_file.IsOpen() || m_file.Count() == 0) return {};
    const TOpResult r = Guarded(m_host, Text(CheckError), [&] {
        TStakeLog log(m_host, m_files.Dir());
        if (m_logClock) log.SetClock(m_logClock);
        TStakesChecker checker(m_host, m_file, m_archive.Draws(), m_registry);
        checker.Run([&](const TStakeRec &rec) {
            ++checked;
            AccumulateRating(rec);
            if (m_logEnabled) log.Write(rec);
        });
    });
    return r;
}

TOpResult TStakesController::CheckAndSave(qint64 *checked) {
    qint64 count = 0;
    TOpResult r = CheckStakes(count);
    if (checked) *checked = count;
    if (count > 0) {
        const TOpResult flushed = ReopenStakes();
        if (r) r = flushed;
        const TOpResult sorted = SortRatings(m_ratingsSortColumn, m_ratingsSortDescending);
        if (r) r = sorted;
    }
    return r;
}

TOpResult TStakesController::CheckStakesManual(qint64 *checked) {
    const TOpResult r = CheckAndSave(checked);
    RefreshStakesView(true, false);
    return r;
}

// ---- deleting ------------------------------------------------------------------------------

TOpResult TStakesController::TruncateStakes() {
    TOpResult r = Guarded(m_host, Text(msg::StakesWriteError), [&] { m_file.Truncate(); });
    if (r) r = ReopenStakes();
    RefreshStakesView(true, false);
    return r;
}

TOpResult TStakesController::DeleteThroughTemp(const std::function<bool(qint64, const TStakeRec &)> &remove,
                                               qint64 *removed) {
    TBusyGuard busy(m_host);
    const QString status = QStringLiteral("Удаление ставок...");
    m_host.ShowStatus(status);
    qint64 count = 0;
    qint64 shown = -1;
    const TOpResult r = Guarded(m_host, Text(DeleteError), [&] {
        count = m_file.RemoveRecords(remove, [&](qint64 done, qint64 total) {
            // About a hundred times a pass, whatever the file's size.
            const qint64 percent = total > 0 ? done * 100 / total : 100;
            if (percent == shown) return;
            shown = percent;
            m_host.ShowStatus(status);
        });
    });
    if (removed) *removed = count;
    emit StakesChanged();
    if (r) (void)CheckAndSave();
    RefreshStakesView(true, false);
    return r;
}

TOpResult TStakesController::DeleteSelectedStakes(qint64 first, qint64 last, qint64 *removed) {
    if (removed) *removed = 0;
    if (first > last) std::swap(first, last);
    if (first < 0 || last >= Count())
        return Refused(m_host,
                       Format(DeleteError, {Format(msg::RecordNotFound, {first < 0 ? first : last})}));
    return DeleteThroughTemp(
        [first, last](qint64 index, const TStakeRec &) { return index >= first && index <= last; }, removed);
}

TOpResult TStakesController::DeleteStakesByOverlaps(int condition, int value, qint64 *removed) {
    if (removed) *removed = 0;
    if (condition < 0 || condition >= StakeConditionCount || value < 0 || value > StakeConditionValueMax)
        return Refused(m_host,
                       Format(DeleteError, {Format(QStringLiteral("Некорректное условие удаления: %d, %d."),
                                                   {condition, value})}));
    return DeleteThroughTemp(
        [condition, value](qint64, const TStakeRec &rec) {
            // Separators always stay; an unchecked stake counts -1 overlaps
            // whatever its bytes say.
            const int o = rec.Checked ? rec.Overlaps.Count : -1;
            return rec.Kind != skSeparator && StakeConditionHolds(condition, value, o);
        },
        removed);
}

TOpResult TStakesController::StakeClear() {
    TBusyGuard busy(m_host);
    m_host.ShowStatus(QStringLiteral("Удаление ставок..."));
    TOpResult r = Guarded(m_host, Text(DeleteError), [&] { m_file.Truncate(); });
    if (r) r = ReopenStakes();
    RefreshStakesView(false, false);
    // The user decides whether the accumulated ratings survive.
    if (r) r = RatingsRefresh();
    return r;
}

TOpResult TStakesController::DeleteStakeLogs() {
    const QDir dir(m_files.Dir());
    if (dir.entryList({TStakeLog::FileMask()}, QDir::Files | QDir::Hidden | QDir::System).isEmpty()) {
        m_host.ShowInformation(QStringLiteral("Файлы журналов не найдены!"));
        return {};
    }
    TStakeLogsDeleted result;
    {
        TBusyGuard busy(m_host);
        m_host.ShowStatus(QStringLiteral("Поиск файлов журналов..."));
        result = TStakeLog::DeleteLogs(m_files.Dir());
    }
    QString report = QStringLiteral("Удаление журналов ставок\r\r") +
                     Format(QStringLiteral("Удалено файлов: %d из %d."), {result.Deleted, result.Found});
    if (result.Failed.isEmpty()) {
        m_host.ShowInformation(report);
        return {};
    }
    report += QStringLiteral("\rНе удалось удалить:\r") + result.Failed.join(QLatin1Char('\r'));
    return Refused(m_host, report);
}

// ---- options and views -------------------------------------------------------------------------

void TStakesController::StoreSwitch(void (TWindowSettings::*set)(bool), bool on) {
    // A switch that cannot be written still applies for this run.
    (void)Guarded(m_host, Text(msg::SettingsSaveError), [&] { (m_settings.*set)(on); });
    emit OptionsChanged();
}

void TStakesController::SetStakesLogEnabled(bool on) {
    m_logEnabled = on;
    StoreSwitch(&TWindowSettings::SetStakesLogEnabled, on);
}

void TStakesController::SetStakesScrollEnabled(bool on) {
    m_scrollEnabled = on;
    StoreSwitch(&TWindowSettings::SetStakesScrollEnabled, on);
}

void TStakesController::SetStakesCheckOnLine(bool on) {
    m_checkOnLine = on;
    StoreSwitch(&TWindowSettings::SetStakesCheckOnLine, on);
}

void TStakesController::ApplyWindowSettings() {
    m_logEnabled = m_settings.StakesLogEnabled();
    m_scrollEnabled = m_settings.StakesScrollEnabled();
    m_checkOnLine = m_settings.StakesCheckOnLine();
    emit OptionsChanged();
}

void TStakesController::RefreshStakesView(bool refresh, bool jump) {
    m_viewErrorShown = false;
    emit StakesViewChanged(refresh, jump);
    emit StakesChanged();
}

} // namespace lot
