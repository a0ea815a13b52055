#include "scripts/ScriptRunner.h"

#include "archive/ArchiveController.h"
#include "combs/CombsController.h"
#include "core/CoreHelpers.h"
#include "core/DataFolder.h"
#include "core/Errors.h"
#include "core/Format.h"
#include "core/Host.h"
#include "filters/FiltersController.h"
#include "filters/FilterText.h"
#include "stakes/StakeRec.h"
#include "stakes/StakesController.h"
#include "stats/StatsController.h"
#include "systems/SystemsController.h"

#include <exception>
#include <QFileInfo>

namespace lot {

namespace {

const char StartBanner[] =
    "### ЗАПУСК СЦЕНАРИЯ ##########################################################################";
const char EndBanner[] =
    "### ЗАВЕРШЕНИЕ СЦЕНАРИЯ ######################################################################";
const char BreakBanner[] =
    "### ВЫПОЛНЕНИЕ СЦЕНАРИЯ ПРЕРВАНО #############################################################";
const char OffsetBanner[] =
    "=== Выполнение сценария для смещения %.6d ==================================================";
const char RunningStatus[] = "Выполнение сценария...";
const char FinishedStatus[] = "Сценарий завершен!";
const char ExpandingStatus[] = "Создание всех вариантов фильтров...";
const char SourceLog[] = "Создание начального списка комбинаций...";
const char CountLog[] = "Количество комбинаций в списке: %d";

QString Text(const char *utf8) {
    return QString::fromUtf8(utf8);
}

/// A failure an operation of another area has shown already: the line ends
/// without a second box.
class EShown : public std::exception {
public:
    explicit EShown(QString message) : m_message(std::move(message)) {}
    const char *what() const noexcept override { return "shown"; }
    const QString &Message() const { return m_message; }

private:
    QString m_message;
};

void Must(const TOpResult &r) {
    if (!r) throw EShown(r.Message());
}

} // namespace

QString StakeComment(int line, int variant, const QString &comment, const QString &text) {
    QString s = Format(QStringLiteral("%.2d.%.3d:"), {line, variant});
    if (!comment.isEmpty()) s += QLatin1Char(' ') + comment;
    return s + QStringLiteral(" @ ") + text;
}

QString TooManyVariantsText() {
    return QStringLiteral(
        "Вы задали слишком много вариантов фильтров - программа не сможет обработать их все!\rПожалуйста, "
        "уменьшите в каждом из фильтров количество вариантов длины выборки и глубины, а затем повторите "
        "попытку.");
}

TScriptRunner::TScriptRunner(IHost &host, const TDataFolder &files, TArchiveController &archive,
                             TStatsController &stats, TCombsController &combs, TFiltersController &filters,
                             TStakesController &stakes)
    : m_host(host), m_archive(archive), m_stats(stats), m_combs(combs), m_filters(filters), m_stakes(stakes),
      m_log(host, files.Dir()), m_systemsDir(SystemsDir(files.Dir())) {}

TScriptRunner::~TScriptRunner() = default;

// ---- run state -----------------------------------------------------------------------------

bool TScriptRunner::IsStopped() {
    m_host.ProcessMessages();
    return m_stop;
}

void TScriptRunner::RequestStop() {
    if (!m_running || m_stop) return;
    WriteLog(Text(BreakBanner));
    m_stop = true;
}

uint32_t TScriptRunner::RandomIndex(uint32_t n) {
    // Lemire's multiply and reject: the same index for the same seed with
    // every standard library, unlike std::uniform_int_distribution.
    uint64_t m = uint64_t(m_random()) * n;
    auto low = uint32_t(m);
    if (low < n) {
        const uint32_t threshold = uint32_t(-n) % n;
        while (low < threshold) {
            m = uint64_t(m_random()) * n;
            low = uint32_t(m);
        }
    }
    return uint32_t(m >> 32);
}

void TScriptRunner::WriteLog(const QString &text) {
    m_log.Write(text);
}

void TScriptRunner::Fail(const QString &message) {
    m_stop = true;
    if (!m_failed) {
        m_failed = true;
        m_failure = message;
    }
}

void TScriptRunner::SetScriptStatus(int line, int variant, const QString &text, int variants) {
    m_status = {line, variant, variants, text};
    if (m_events.StatusChanged) m_events.StatusChanged();
    m_host.ProcessMessages();
}

void TScriptRunner::UpdateStakeStatus(bool batch) {
    if (batch && m_stakeStatusTimer.isValid() && m_stakeStatusTimer.elapsed() < 101) return;
    m_stakeStatusTimer.start();
    if (m_events.StatusChanged) m_events.StatusChanged();
    m_host.ProcessMessages();
}

void TScriptRunner::CheckStakes() {
    (void)m_stakes.CheckAndSave();
    m_stakes.RefreshStakesView(true, false);
}

// ---- shortcuts ---------------------------------------------------------------------------------

void TScriptRunner::ApplyShortcuts(bool running) {
    TFilterEngine &engine = m_filters.Engine();
    TStatList &registry = m_stats.Registry();
    if (running) {
        m_savedFastPaths = registry.FastPaths();
        m_savedParallel = engine.Parallel();
        m_savedThreads = m_combs.Threads();
        registry.SetFastPaths(m_savedFastPaths && m_shortcuts.FastPaths);
        engine.SetParallel(m_savedParallel && m_shortcuts.Parallel);
        if (!m_shortcuts.Parallel) m_combs.SetThreads(1);
        engine.SetMoveUndo(m_shortcuts.MoveUndo);
        m_combs.SetSourceCache(m_shortcuts.CachedSource);
        m_stats.Table().SetReuseComputations(m_shortcuts.ReuseTables);
        engine.SetIsStopped([this] { return IsStopped(); });
        if (m_log.Enabled()) engine.SetWriteLog([this](const QString &text) { WriteLog(text); });
    } else {
        registry.SetFastPaths(m_savedFastPaths);
        engine.SetParallel(m_savedParallel);
        m_combs.SetThreads(m_savedThreads);
        engine.SetMoveUndo(false);
        m_combs.SetSourceCache(false);
        m_stats.Table().SetReuseComputations(false);
        engine.SetIsStopped(nullptr);
        engine.SetWriteLog(nullptr);
    }
}

// ---- forecast and test ----------------------------------------------------------------------------

void TScriptRunner::Begin(quint32 seed, TScriptRunResult &result) {
    m_host.ShowStatus(Text(RunningStatus));
    if (m_log.Enabled()) {
        m_log.NewLogFile();
        WriteLog(Text(StartBanner));
    }
    m_running = true;
    m_stop = false;
    m_failed = false;
    m_failure.clear();
    m_stakeCounter = 0;
    m_random.seed(seed);
    result.Seed = seed;
    ApplyShortcuts(true);
    if (m_events.RunningChanged) m_events.RunningChanged(true);
}

void TScriptRunner::End(TScriptRunResult &result) {
    m_cycle = 0;
    m_running = false;
    result.Stopped = m_stop;
    result.Failed = m_failed;
    result.Message = m_failure;
    result.Stakes = m_stakeCounter;
    m_stop = false;
    ApplyShortcuts(false);
    if (m_events.RunningChanged) m_events.RunningChanged(false);
    WriteLog(Text(EndBanner));
    result.LogFile = m_log.Close();
    m_host.ShowStatus(QString());
}

void TScriptRunner::LogOffsetBanner() {
    WriteLog(TScriptLog::EqualsLine());
    WriteLog(Format(Text(OffsetBanner), {m_archive.Offset()}));
    WriteLog(TScriptLog::EqualsLine());
}

TScriptRunResult TScriptRunner::Forecast(const QStringList &lines, quint32 seed) {
    TScriptRunResult result;
    TBusyGuard busy(m_host);
    m_lines = lines;
    Begin(seed, result);
    m_cycle = 1;
    SetScriptStatus(0, 0, Text(RunningStatus), 0);
    TStatTable &table = m_stats.Table();
    const int sortColumn = table.SortColumn();
    const bool sortDescending = table.SortDescending();

    LogOffsetBanner();
    m_current = {m_cycle, m_archive.Offset()};
    RunScriptOnce();
    result.Cycles.append(m_current);
    if (m_events.CycleFinished) m_events.CycleFinished(m_current);

    if (!m_stop) SetScriptStatus(0, 0, Text(FinishedStatus), 0);
    (void)Guarded(m_host, QString(), [&] { table.SetSort(sortColumn, sortDescending); });
    End(result);
    return result;
}

TScriptRunResult TScriptRunner::Test(const QStringList &lines, int count, quint32 seed) {
    TScriptRunResult result;
    TBusyGuard busy(m_host);
    m_lines = lines;
    Begin(seed, result);
    TStatTable &table = m_stats.Table();
    const int sortColumn = table.SortColumn();
    const bool sortDescending = table.SortDescending();
    const int offset = m_archive.Offset();
    m_cycle = 0;

    for (int v = count; v >= 1; --v) {
        ++m_cycle;
        SetScriptStatus(0, 0, Text(RunningStatus), 0);
        if (IsStopped()) break;
        m_archive.ChangeOffset(v);
        if (IsStopped()) break;
        LogOffsetBanner();
        if (IsStopped()) break;
        m_current = {m_cycle, m_archive.Offset()};
        RunScriptOnce();
        result.Cycles.append(m_current);
        if (m_events.CycleFinished) m_events.CycleFinished(m_current);
    }
    if (!m_stop) m_archive.ChangeOffset(offset);

    m_cycle = 0;
    SetScriptStatus(0, 0, Text(FinishedStatus), 0);
    (void)Guarded(m_host, QString(), [&] { table.SetSort(sortColumn, sortDescending); });
    End(result);
    return result;
}

// ---- one script run ------------------------------------------------------------------------------

void TScriptRunner::RunScriptOnce() {
    TStatList &registry = m_stats.Registry();
    try {
        Must(m_stakes.AppendSeparator());
    } catch (const EShown &e) {
        Fail(e.Message());
        return;
    }
    m_combs.DeleteBuffer();
    registry.PushWeightCoefs();
    for (int i = 0; i < m_lines.size(); ++i) {
        if (IsStopped()) break;
        const QString &line = m_lines[i];
        // Only a line that is exactly empty is skipped; one of blanks runs.
        if (line.isEmpty()) continue;
        if (m_events.LineSelected) m_events.LineSelected(i);
        WriteLog(TScriptLog::DashLine());
        WriteLog(Format(QStringLiteral("Выполнение строки %.3d: \"%s\""), {i + 1, line}));
        WriteLog(TScriptLog::DashLine());
        ++m_current.Lines;
        RunScriptLine(i, line);
        if (m_events.LineSelected) m_events.LineSelected(-1);
        if (m_stop) break;
    }
    if (!m_stakes.StakesCheckOnLine()) CheckStakes();
    registry.PopWeightCoefs();
    m_combs.DeleteBuffer();
}

void TScriptRunner::RunScriptLine(int index, const QString &line) {
    const bool checkOnLine = m_stakes.StakesCheckOnLine();
    TVariantList variants;
    if (m_variantBudget > 0) variants.SetBudget(m_variantBudget);
    bool inVariant = false;
    try {
        m_combs.DiscardUndo();
        const TScriptOptions options = TextToOptions(LineOptions(line));
        QList<TFilterItem> items;
        if (!IsStopped()) {
            for (int slot = 1; slot <= FilterSlotCount; ++slot) {
                const QString text = LineFilter(line, slot);
                if (!text.isEmpty()) items.append(TextToFilter(m_stats.Registry(), text));
            }
        }
        if (items.isEmpty() && !m_stop) {
            // The implementer's choice: a line without filter text runs the
            // path of a line without variants (the options alone decide).
            inVariant = true;
            RunFilterless(index, line, options);
            // A stop during the path leaves its stakes to the check below.
            if (!m_stop) inVariant = false;
        } else if (!IsStopped()) {
            WriteLog(Text(ExpandingStatus));
            SetScriptStatus(index + 1, 0, Text(ExpandingStatus), 0);
            TExpandHooks hooks;
            hooks.IsStopped = [this] { return IsStopped(); };
            hooks.Progress = [this, index](int n) {
                SetScriptStatus(index + 1, 0,
                                Format(QStringLiteral("Создание всех вариантов фильтров ( %d )..."), {n}), 0);
            };
            hooks.OutOfMemory = [this](const QString &reason) {
                const QString text = TooManyVariantsText() + QStringLiteral("\r\r") + reason;
                Fail(text);
                m_host.ShowError(text);
            };
            ExpandVariants(m_stats.Registry(), items, variants, hooks);
            WriteLog(Format(QStringLiteral("Создано %d вариантов фильтров."), {variants.Count()}));

            const int total = variants.Count();
            const QString prefix = OptionsToShortText(options) + QStringLiteral(" + ");
            const QString comment = LineComments(line);
            for (int v = 1; !variants.IsEmpty(); ++v) {
                const TFilterRec rec = variants.TakeHead()->Parts;
                if (IsStopped()) break;
                inVariant = true;
                const QString recText = FilterRecToText(m_stats.Registry(), rec);
                WriteLog(QString());
                WriteLog(TScriptLog::DashLine());
                WriteLog(Format(QStringLiteral("Применение набора фильтров %.3d: \"%s\""), {v, recText}));
                WriteLog(TScriptLog::DashLine());
                SetScriptStatus(index + 1, v, recText, total);
                ++m_current.Variants;
                WriteLog(Text(SourceLog));
                PrepareSourceList(options);
                WriteLog(Format(Text(CountLog), {m_combs.Count()}));
                if (IsStopped()) break;
                m_filters.Engine().ApplyFilterRec(rec);
                if (IsStopped()) break;
                MakeScriptStakes(options.StakeMode, index + 1, v, comment, prefix + recText, options.NewOnly);
                if (IsStopped()) break;
                WriteLog(TScriptLog::DashLine());
                if (checkOnLine) CheckStakes();
                inVariant = false;
            }
        }
    } catch (const EShown &e) {
        Fail(e.Message());
    } catch (const std::exception &e) {
        const QString text = ExceptionText(e);
        Fail(text);
        m_host.ShowError(text);
    }
    m_combs.DiscardUndo();
    variants.Clear();
    if (inVariant && m_stop && checkOnLine) CheckStakes();
}

void TScriptRunner::RunFilterless(int index, const QString &line, const TScriptOptions &options) {
    WriteLog(QStringLiteral("{ERROR} Фильтры не применялись!"));
    WriteLog(QString());
    const QString text = OptionsToShortText(options);
    SetScriptStatus(index + 1, 0, text, 0);
    WriteLog(Text(SourceLog));
    PrepareSourceList(options);
    WriteLog(Format(Text(CountLog), {m_combs.Count()}));
    if (IsStopped()) return;
    MakeScriptStakes(options.StakeMode, index + 1, 0, LineComments(line), text, options.NewOnly);
    if (IsStopped()) return;
    if (m_stakes.StakesCheckOnLine()) CheckStakes();
}

void TScriptRunner::PrepareSourceList(const TScriptOptions &options) {
    if (options.Source == srcFull || options.Source == srcExcl) {
        const TStatList &registry = m_stats.Registry();
        Must(m_combs.GenerateCombs(true, registry.CombsGenerateMode(), registry.CombsGenerateParameters()));
        if (IsStopped()) return;
    }
    if (options.Source == srcExcl && options.DrawsExclude > 0) {
        const int offset = m_archive.Offset();
        if (!m_combs.LoadBuffer(offset, options.DrawsExclude)) {
            // The exclusion rewrites the whole list from the undo copy.
            if (m_shortcuts.MoveUndo)
                m_combs.MoveListToUndo(true);
            else
                m_combs.MakeUndoCopy(true);
            m_combs.ExcludeLastDraws(m_archive.Draws(), options.DrawsExclude);
            Must(m_combs.CreateBuffer(offset, options.DrawsExclude));
        }
        if (IsStopped()) return;
    }
    if (options.ClearStakes) Must(m_stakes.TruncateStakes());
}

// ---- stakes ------------------------------------------------------------------------------------------

void TScriptRunner::MakeScriptStakes(int mode, int line, int variant, const QString &comment,
                                     const QString &text, bool newOnly) {
    WriteLog(Format(QStringLiteral("{*} Добавление ставки, режим: \"%s\""), {ScriptStakeModeCaption(mode)}));
    const int count = m_combs.Count();
    if (count <= 0 || mode == ssmNone) return;
    const QString stakeComment = StakeComment(line, variant, comment, text);
    if (count > 1 && mode == ssmStop) {
        m_stop = true;
        WriteLog(QStringLiteral("{!} Сценарий остановлен!"));
        m_host.ShowAttention(Format(QStringLiteral("Выполнение сценария прервано, т.к. после применения всех "
                                                   "фильтров в списке комбинаций их осталось более одной: "
                                                   "%d!\r\rФильтры: %s"),
                                    {count, stakeComment}));
        return;
    }
    if (count > 1 && mode == ssmSkip) {
        WriteLog(QStringLiteral("{-} Ставка игнорирована!"));
        return;
    }
    if (IsStopped()) return;
    if (count == 1) {
        AddScriptStake(m_combs.At(0), false, count, stakeComment, newOnly);
    } else {
        switch (mode) {
        case ssmRand:
            AddScriptStake(m_combs.At(int(RandomIndex(uint32_t(count)))), false, count, stakeComment,
                           newOnly);
            break;
        case ssmFirst:
            AddScriptStake(m_combs.At(0), false, count, stakeComment, newOnly);
            break;
        case ssmLast:
            AddScriptStake(m_combs.At(count - 1), false, count, stakeComment, newOnly);
            break;
        case ssmAll:
            for (int k = 0; k < count; ++k) {
                if (IsStopped()) break;
                AddScriptStake(m_combs.At(k), true, count, stakeComment, newOnly);
            }
            break;
        case ssmSysA:
        case ssmSysC:
            SystemPlay(mode == ssmSysA, count, stakeComment, newOnly);
            break;
        default:
            break;
        }
    }
    m_stakes.RefreshStakesView(true, true);
}

void TScriptRunner::AddScriptStake(const TComb &comb, bool batch, int sample, const QString &stakeComment,
                                   bool newOnly) {
    TStakeRec rec;
    rec.Version = StakesVersion;
    rec.Kind = skScript;
    rec.DrawNumber = m_stakes.NextDrawNumber();
    rec.Checked = 0;
    rec.Sample = sample;
    rec.Numbers = CombToNumberSet(comb);
    SortNumberSet(rec.Numbers);
    rec.Overlaps = TNumberSet{-1, {}};
    rec.Profit = m_stakes.StakeCost(rec.Numbers.Count);
    SetStakeComment(rec, stakeComment);
    const QString numbers = NumberSetToText(rec.Numbers, QStringLiteral(";"));

    bool found = false;
    if (newOnly) Must(m_stakes.FindStake(rec.DrawNumber, rec.Numbers, found));
    if (found) {
        WriteLog(Format(QStringLiteral("{-} Ставка на тираж %d не добавлена, так как уже имеется в списке "
                                       "ставок: [%s]"),
                        {rec.DrawNumber, numbers}));
    } else {
        Must(m_stakes.AddStakes(rec, 1, batch));
        WriteLog(Format(QStringLiteral("{+} Ставка на тираж %d добавлена в список ставок: [%s]"),
                        {rec.DrawNumber, numbers}));
        ++m_stakeCounter;
        ++m_current.Stakes;
    }
    UpdateStakeStatus(batch);
}

void TScriptRunner::SystemPlay(bool whole, int sample, const QString &stakeComment, bool newOnly) {
    const QByteArray numbers = SystemPlayNumbers(m_combs.Combs());
    const int n = int(numbers.size());
    TExpandedSystem system;
    const TOpResult r = ExpandLocalSystem(m_host, m_systemsDir, numbers, system);
    if (!r) {
        WriteLog(
            Format(QStringLiteral("{#} Системная игра для %d чисел [ОШИБКА]: \"%s\""), {n, r.Message()}));
        return;
    }
    const QString file = QFileInfo(system.FilePath).completeBaseName();
    WriteLog(
        Format(whole ? QStringLiteral("{#} Системная игра для %d чисел [все система]: загружен файл \"%s\"")
                     : QStringLiteral("{#} Системная игра для %d чисел [система * комбинации]: загружен "
                                      "файл \"%s\""),
               {n, file}));
    std::vector<TComb> sorted = system.Combs;
    for (TComb &c : sorted)
        SortComb(c);
    const std::vector<bool> inList =
        whole ? std::vector<bool>(sorted.size(), true) : SystemCombsInList(sorted, m_combs.Combs());
    for (size_t i = 0; i < sorted.size(); ++i) {
        if (!inList[i]) continue;
        if (IsStopped()) break;
        AddScriptStake(sorted[i], true, sample, stakeComment, newOnly);
    }
}

} // namespace lot
