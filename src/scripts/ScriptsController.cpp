#include "scripts/ScriptsController.h"

#include "archive/ArchiveController.h"
#include "core/DataFolder.h"
#include "core/Format.h"
#include "core/Host.h"
#include "core/Messages.h"
#include "core/WindowSettings.h"
#include "filters/FilterText.h"
#include "scripts/RatingScript.h"
#include "scripts/ScriptFile.h"
#include "stats/StatsController.h"

#include <algorithm>
#include <QDateTime>
#include <QFile>

namespace lot {

namespace {

QString FileError(const char *format, const QString &fileName, const QString &reason) {
    return Format(QString::fromUtf8(format), {fileName, reason});
}

} // namespace

TScriptsController::TScriptsController(IHost &host, const TDataFolder &files, TWindowSettings &settings,
                                       TArchiveController &archive, TStatsController &stats,
                                       TCombsController &combs, TFiltersController &filters,
                                       TStakesController &stakes, QObject *parent)
    : QObject(parent), m_host(host), m_files(files), m_settings(settings), m_archive(archive), m_stats(stats),
      m_runner(host, files, archive, stats, combs, filters, stakes) {
    TScriptRunner::TEvents events;
    events.StatusChanged = [this] { emit StatusChanged(); };
    events.RunningChanged = [this](bool running) { emit RunningChanged(running); };
    events.LineSelected = [this](int index) { emit LineSelected(index); };
    events.CycleFinished = [this](const TScriptCycle &cycle) { emit CycleFinished(cycle); };
    m_runner.SetEvents(std::move(events));
}

TScriptsController::~TScriptsController() = default;

// ---- the script --------------------------------------------------------------------------------

bool TScriptsController::IsSeparatorRow(int index) const {
    return index < 0 || index >= LineCount() || IsScriptSeparator(m_lines[index]);
}

QString TScriptsController::CountText() const {
    return Format(QStringLiteral("Строк: %d"), {LineCount()});
}

QString TScriptsController::ColumnCaption(int column) {
    if (column == colComments) return QStringLiteral("Комментарии");
    if (column == colOptions) return QStringLiteral("Опции");
    if (column >= colFilter1 && column < ColumnCount)
        return Format(QStringLiteral("Фильтр %d"), {column - colFilter1 + 1});
    return {};
}

QString TScriptsController::CellText(int row, int column) const {
    if (IsSeparatorRow(row)) return {};
    const QString &line = m_lines[row];
    if (column == colComments) return LineComments(line);
    if (column == colOptions) return OptionsCaption(TextToOptions(LineOptions(line)));
    if (column >= colFilter1 && column < ColumnCount) {
        const TStatList &registry = m_stats.Registry();
        return FilterToText(registry, TextToFilter(registry, LineFilter(line, column - colFilter1 + 1)));
    }
    return {};
}

// ---- files -------------------------------------------------------------------------------------

QString TScriptsController::CurrentScriptFile() const {
    return m_files.ProgramFilePath(QStringLiteral(".lss"));
}

TOpResult TScriptsController::StoreScript() {
    const QString fileName = CurrentScriptFile();
    return Guarded(
        m_host, [&](const QString &reason) { return FileError(msg::FileWriteError, fileName, reason); },
        [&] { WriteScriptFile(fileName, m_lines); });
}

TOpResult TScriptsController::Changed() {
    emit ScriptChanged();
    return StoreScript();
}

TOpResult TScriptsController::ReadInto(const QString &fileName, QStringList &lines) {
    TBusyGuard busy(m_host);
    m_host.ShowStatus(Format(QStringLiteral("Загрузка файла \"%s\"..."), {fileName}));
    return Guarded(
        m_host, [&](const QString &reason) { return FileError(msg::FileReadError, fileName, reason); },
        [&] { lines = ReadScriptFile(fileName); });
}

TOpResult TScriptsController::LoadCurrentScript() {
    const QString fileName = CurrentScriptFile();
    if (!QFile::exists(fileName)) return {};
    QStringList lines;
    const TOpResult r = ReadInto(fileName, lines);
    if (r) m_lines = lines;
    emit ScriptChanged();
    return r;
}

TOpResult TScriptsController::OpenScript(const QString &fileName) {
    QStringList lines;
    const TOpResult r = ReadInto(fileName, lines);
    if (!r) {
        emit ScriptChanged();
        return r;
    }
    m_lines = lines;
    return Changed();
}

TOpResult TScriptsController::AddScriptFile(const QString &fileName) {
    QStringList lines;
    const TOpResult r = ReadInto(fileName, lines);
    if (!r) {
        emit ScriptChanged();
        return r;
    }
    AppendScriptLines(m_lines, lines);
    return Changed();
}

TOpResult TScriptsController::SaveScript(const QString &fileName) {
    TBusyGuard busy(m_host);
    m_host.ShowStatus(Format(QStringLiteral("Сохранение файла \"%s\"..."), {fileName}));
    const TOpResult r = Guarded(
        m_host, [&](const QString &reason) { return FileError(msg::FileWriteError, fileName, reason); },
        [&] { WriteScriptFile(fileName, m_lines); });
    emit ScriptChanged();
    return r;
}

TOpResult TScriptsController::SetScript(const QStringList &lines) {
    m_lines = lines;
    return Changed();
}

void TScriptsController::UseScript(const QStringList &lines) {
    m_lines = lines;
    emit ScriptChanged();
}

TOpResult TScriptsController::UseScriptFile(const QString &fileName) {
    QStringList lines;
    const TOpResult r = ReadInto(fileName, lines);
    if (r) UseScript(lines);
    return r;
}

// ---- editing -------------------------------------------------------------------------------------

TOpResult TScriptsController::AppendLine(const QString &line, int *index) {
    m_lines.append(line);
    if (index) *index = LineCount() - 1;
    return Changed();
}

TOpResult TScriptsController::AddRatingLines(const QStringList &comments, int *added) {
    TBusyGuard busy(m_host);
    m_host.ShowStatus(QStringLiteral("Генерация новых строк в сценарии..."));
    int count = 0;
    for (const QString &comment : comments) {
        const QString line = RatingToScriptLine(comment);
        if (!IsRatingScriptLine(m_stats.Registry(), line)) {
            m_host.ShowError(
                Format(QStringLiteral("Строку\r\r%s\r\rневозможно добавить в сценарий!"), {comment}));
            continue;
        }
        m_lines.append(line);
        ++count;
    }
    if (added) *added = count;
    if (count == 0) return {};
    return Changed();
}

TOpResult TScriptsController::ReplaceLine(int index, const QString &line) {
    if (index < 0 || index >= LineCount()) return Refused(m_host, Format(msg::RecordNotFound, {index}));
    m_lines[index] = line;
    return Changed();
}

TOpResult TScriptsController::AppendSeparator(int *index) {
    return AppendLine(QString(), index);
}

TOpResult TScriptsController::DeleteLines(const QList<int> &rows) {
    QList<int> sorted;
    for (int row : rows)
        if (row >= 0 && row < LineCount()) sorted.append(row);
    std::sort(sorted.begin(), sorted.end());
    sorted.erase(std::unique(sorted.begin(), sorted.end()), sorted.end());
    if (sorted.isEmpty()) return {};
    {
        TBusyGuard busy(m_host);
        m_host.ShowStatus(QStringLiteral("Удаление строк..."));
        for (qsizetype i = sorted.size(); i-- > 0;)
            m_lines.removeAt(sorted[i]);
    }
    return Changed();
}

TOpResult TScriptsController::ClearScript() {
    m_lines.clear();
    return Changed();
}

TOpResult TScriptsController::MoveLine(int index, int delta, int *moved) {
    const int target = index + delta;
    if (index < 0 || index >= LineCount() || target < 0 || target >= LineCount())
        return Refused(m_host,
                       Format(msg::RecordNotFound, {index < 0 || index >= LineCount() ? index : target}));
    m_lines.swapItemsAt(index, target);
    if (moved) *moved = target;
    return Changed();
}

// ---- running ---------------------------------------------------------------------------------------

bool TScriptsController::CanRun() const {
    return !Running() && !IsEmpty() && !m_archive.IsEmpty();
}

int TScriptsController::MaxTestCount() const {
    return std::max(0, m_archive.Count() - 1);
}

quint32 TScriptsController::ClockSeed() {
    const quint64 ms = quint64(QDateTime::currentMSecsSinceEpoch());
    return quint32(ms ^ (ms >> 32));
}

QString TScriptsController::StopConfirmText() {
    return QStringLiteral("Остановить выполнение сценария?");
}

void TScriptsController::RequestStop() {
    m_runner.RequestStop();
}

TOpResult TScriptsController::FinishRun(const TScriptRunResult &r, TScriptRunResult *result) {
    if (result) *result = r;
    return r.Failed ? TOpResult::Failure(r.Message) : TOpResult();
}

TOpResult TScriptsController::RunForecast(quint32 seed, TScriptRunResult *result) {
    if (!CanRun()) return TOpResult::Failure(QString());
    return FinishRun(m_runner.Forecast(m_lines, seed), result);
}

TOpResult TScriptsController::RunTest(int count, quint32 seed, TScriptRunResult *result) {
    if (!CanRun()) return TOpResult::Failure(QString());
    if (count < 1 || count > MaxTestCount())
        return Refused(m_host, Format(QStringLiteral("Количество тестов должно быть от 1 до %d!"),
                                      {std::max(1, MaxTestCount())}));
    return FinishRun(m_runner.Test(m_lines, count, seed), result);
}

QString TScriptsController::StatusPanelText(int panel) const {
    const TScriptStatus &s = m_runner.Status();
    switch (panel) {
    case 0:
        return Format(QStringLiteral("Цикл: %d"), {m_runner.Cycle()});
    case 1:
        return Format(QStringLiteral("Строка: %d"), {s.Line});
    case 2:
        return Format(QStringLiteral("Ставок: %d"), {m_runner.StakeCounter()});
    case 3:
        return s.Variants != 0
                   ? Format(QStringLiteral("Фильтр %d из %d: %s"), {s.Variant, s.Variants, s.Text})
                   : s.Text;
    default:
        return {};
    }
}

// ---- the log -------------------------------------------------------------------------------------------

void TScriptsController::SetLogEnabled(bool on) {
    m_runner.Log().SetEnabled(on);
    // A switch that cannot be written still applies for this run.
    (void)Guarded(m_host, QString::fromUtf8(msg::SettingsSaveError),
                  [&] { m_settings.SetScriptLogEnabled(on); });
    emit OptionsChanged();
}

void TScriptsController::ApplyWindowSettings() {
    m_runner.Log().SetEnabled(m_settings.ScriptLogEnabled());
    emit OptionsChanged();
}

TOpResult TScriptsController::DeleteLogs() {
    if (TScriptLog::FindLogs(m_files.Dir()).isEmpty()) {
        m_host.ShowInformation(QStringLiteral("Файлы журналов не найдены!"));
        return {};
    }
    TScriptLogsDeleted result;
    {
        TBusyGuard busy(m_host);
        m_host.ShowStatus(QStringLiteral("Поиск файлов журналов..."));
        result = TScriptLog::DeleteLogs(m_files.Dir());
    }
    QString report = QStringLiteral("Удаление журналов выполнения сценариев\r\r") +
                     Format(QStringLiteral("Удалено файлов: %d из %d."), {result.Deleted, result.Found});
    if (result.Failed.isEmpty()) {
        m_host.ShowInformation(report);
        return {};
    }
    report += QStringLiteral("\rНе удалось удалить:\r") + result.Failed.join(QLatin1Char('\r'));
    return Refused(m_host, report);
}

} // namespace lot
