#include "filters/FilterEngine.h"

#include "archive/DrawsArchive.h"
#include "combs/CombsController.h"
#include "core/Errors.h"
#include "core/Format.h"
#include "core/Host.h"
#include "filters/FilterPass.h"
#include "stats/methods/NumberMethods.h"
#include "stats/StatList.h"
#include "stats/StatTable.h"

#include <cstring>

namespace lot {

namespace {

const char *const FilteringStatus = "Фильтрация комбинаций...";
const char *const NoValuesMessage = "В выделенном диапазоне нет значений для фильтра!";

/// Adds n with its text unless n was collected already.
void Collect(TNumberSelection &sel, QStringList &texts, int n, const QString &text) {
    if (sel.Numbers.contains(n)) return;
    sel.Numbers << n;
    texts << text;
}

} // namespace

TFilterEngine::TFilterEngine(IHost &host, TStatList &stats, const TDrawsArchive &archive,
                             TCombsController &combs, TStatTable &table)
    : m_host(host), m_stats(stats), m_archive(archive), m_combs(combs), m_table(table) {}

TFilterEngine::~TFilterEngine() = default;

QString TFilterEngine::UndoHistoryText() {
    return QStringLiteral("Отмена последней операции");
}

bool TFilterEngine::IsStopped() {
    if (m_isStopped) return m_isStopped();
    m_host.ProcessMessages();
    return false;
}

void TFilterEngine::Log(const QString &text) {
    if (m_writeLog) m_writeLog(text);
}

int TFilterEngine::ReferenceIndex() const {
    const int idx = m_archive.Count() - 1 - m_archive.Offset();
    return idx < 0 ? 0 : idx;
}

// ---- the filtering pass ----------------------------------------------------------------

int TFilterEngine::Pass(TCustomStat &instance, const TStatDrawArray &selected, bool del) {
    const int refIdx = ReferenceIndex();
    const bool sorted = m_table.SortedDraws();
    try {
        instance.LoadDraws(-1, refIdx, sorted);
        const std::unique_ptr<TCombMatcher> matcher = instance.MakeMatcher(selected, refIdx, sorted, del);
        TFilterPassOptions options;
        options.Parallel = m_parallel;
        options.Tick = [this] { m_host.ProcessMessages(); };
        return RunFilterPass(m_combs.UndoCombs(), m_combs.WritableData(), *matcher, !del, options);
    } catch (...) {
        // The list was being overwritten: give it back its content from the
        // undo copy, which stays available.
        std::memcpy(m_combs.WritableData(), m_combs.UndoData(), size_t(m_combs.UndoCount()) * sizeof(TComb));
        m_combs.SetCount(m_combs.UndoCount());
        m_combs.RefreshCombsView();
        throw;
    }
}

void TFilterEngine::ApplySelection(TCustomStat *instance, bool del) {
    TBusyGuard busy(m_host);
    m_host.ShowStatus(QString::fromUtf8(FilteringStatus));
    const TStatDrawArray selected = m_table.SelectedValues();
    if (selected.empty()) return;
    const QString valuesText = m_table.SelectedValuesText();

    std::unique_ptr<TCustomStat> own;
    if (!instance) {
        own = m_table.CreateSelectedStat();
        instance = own.get();
    }
    m_combs.SetCount(0);
    if (m_combs.UndoCount() > 0) {
        m_combs.SetCount(Pass(*instance, selected, del));
        m_combs.AddHistoryRow(del, m_table.SelectorText(), valuesText);
    }
    m_combs.RefreshCombsView();
}

// ---- manual filtering ----------------------------------------------------------------------

bool TFilterEngine::CanFilterBySelection() const {
    return m_host.IsIdle() && !m_combs.IsEmpty() && m_table.SelectedCount() > 0;
}

TNumberSelection TFilterEngine::CollectNumbers(TNumberView view, const QStringList &cells) {
    TNumberSelection sel;
    QStringList texts;
    for (const QString &raw : cells) {
        const QString cell = raw.trimmed();
        if (cell.isEmpty()) continue;
        switch (view) {
        case TNumberView::Card:
        case TNumberView::Week:
            Collect(sel, texts, IntOr(cell, 0), cell);
            break;
        case TNumberView::Layout:
            for (QString part : cell.split(QLatin1Char(','))) {
                part.remove(QLatin1Char('[')).remove(QLatin1Char(']'));
                part = part.trimmed();
                if (!part.isEmpty()) Collect(sel, texts, IntOr(part, 0), part);
            }
            break;
        }
    }
    sel.Text = texts.join(QStringLiteral("; "));
    return sel;
}

void TFilterEngine::ApplyNumberSelection(TNumberView view, const QStringList &cells, bool del,
                                         const QString &caption) {
    TBusyGuard busy(m_host);
    m_host.ShowStatus(QString::fromUtf8(FilteringStatus));
    const TNumberSelection sel = CollectNumbers(view, cells);
    if (sel.Numbers.isEmpty()) throw EError(QString::fromUtf8(NoValuesMessage));

    TStatDrawArray selected;
    for (int n : sel.Numbers) {
        TStatDraw v;
        // Only the first key word holds the number; a text beyond the game's
        // numbers must not wrap around into one of them.
        v.Key = TStatKey::FromWords(uint16_t(IsValidNumber(n) ? n : 0));
        selected.push_back(v);
    }
    m_combs.SetCount(0);
    if (m_combs.UndoCount() > 0) {
        const std::unique_ptr<TCustomStat> nums = TstValues::StaticClass().Create(m_stats, 0);
        m_combs.SetCount(Pass(*nums, selected, del));
        m_combs.AddHistoryRow(del, caption, sel.Text);
    }
    m_combs.RefreshCombsView();
}

QString TFilterEngine::NoValuesText() {
    return QString::fromUtf8(NoValuesMessage);
}

// ---- automatic filter steps ----------------------------------------------------------------

TStatValues TFilterEngine::ReadRow(int row, const TCustomStat &instance) const {
    TStatValues v;
    v.Value = m_table.Cell(row, scValue);
    v.Key = instance.ParseValue(v.Value);
    v.Count = m_table.Cell(row, scCount);
    v.CountPercent = m_table.Cell(row, scCountPercent);
    v.Deviation = m_table.Cell(row, scDeviation);
    v.DeviationPercent = m_table.Cell(row, scDeviationPercent);
    v.Depth = m_table.Cell(row, scDepth);
    v.DepthPercent = m_table.Cell(row, scDepthPercent);
    v.Weight = m_table.Cell(row, scWeight);
    v.PeriodMin = m_table.Cell(row, scPeriodMin);
    v.Period = m_table.Cell(row, scPeriod);
    v.PeriodMax = m_table.Cell(row, scPeriodMax);
    return v;
}

QString TFilterEngine::RowLogText(const TStatValues &v) const {
    return Format(
        QStringLiteral("< [%s] кол-во: %s (%s %%), отклонение: %s (%s %%), глубина: %s (%s %%), вес: %s >"),
        {v.Value, v.Count, v.CountPercent, v.Deviation, v.DeviationPercent, v.Depth, v.DepthPercent,
         v.Weight});
}

bool TFilterEngine::StopBefore(const TFilterPart &part, const TStatValues &v, int steps, bool single) const {
    // The table is sorted descending, so the count (or its share) falls
    // walking down and rises walking up: both walks stop where it crosses.
    switch (part.StopMode) {
    case smCombCount:
        return single && part.StopValue >= m_combs.Count();
    case smCount: {
        const int count = IntOr(v.Count, 0);
        return part.BottomUp ? count >= part.StopValue : count <= part.StopValue;
    }
    case smPercent: {
        const double percent = NumberOr(v.CountPercent, 0);
        return part.BottomUp ? percent >= part.StopValue : percent <= part.StopValue;
    }
    case smSteps:
        return steps >= part.StopValue;
    default:
        return false;
    }
}

void TFilterEngine::FilterStep(TCustomStat &instance, const TFilterPart &part) {
    Log(part.KeepSelected ? QStringLiteral("Оставляем выделенные значения...")
                          : QStringLiteral("Удаляем выделенные значения..."));
    // Without a selected row ApplySelection leaves the list as it is, so
    // only a copy keeps it.
    if (m_moveUndo && m_table.SelectedCount() > 0)
        m_combs.MoveListToUndo(true);
    else
        m_combs.MakeUndoCopy(true);
    ApplySelection(&instance, !part.KeepSelected);
    Log(Format(QStringLiteral("Количество комбинаций в списке: %d"), {m_combs.Count()}));
    m_table.ClearSelection();
}

bool TFilterEngine::UndoIfEmpty() {
    if (m_combs.Count() > 0) return false;
    Log(QStringLiteral("{UNDO} Откат изменений..."));
    m_combs.RestoreUndo(true);
    m_combs.AddHistoryRowWithIcon(HistoryIconUndo, UndoHistoryText(), QString());
    return true;
}

void TFilterEngine::WalkMulti(const TFilterPart &part, TCustomStat &instance) {
    const int rows = m_table.RowCount();
    int steps = 0;
    for (int k = 0; k < rows; ++k) {
        const int row = part.BottomUp ? rows - 1 - k : k;
        if (IsStopped()) return;
        const TStatValues v = ReadRow(row, instance);
        if (StopBefore(part, v, steps, false)) break;
        if (RowMatches(part, v)) {
            m_table.SetSelected(row, true);
            Log(Format(QStringLiteral("Шаг %.3d. Выделение строки: "), {steps + 1}) + RowLogText(v));
        }
        ++steps;
    }
    if (IsStopped()) return;
    FilterStep(instance, part);
    UndoIfEmpty();
}

void TFilterEngine::WalkSingle(const TFilterPart &part, TCustomStat &instance) {
    const int rows = m_table.RowCount();
    int steps = 0;
    for (int k = 0; k < rows; ++k) {
        const int row = part.BottomUp ? rows - 1 - k : k;
        if (IsStopped()) break;
        const TStatValues v = ReadRow(row, instance);
        if (StopBefore(part, v, steps, true)) break;
        if (IsStopped()) break;
        if (!RowMatches(part, v)) continue;
        m_table.SelectOnly(row);
        Log(Format(QStringLiteral("Шаг %.3d. Выделение строки: "), {steps + 1}) + RowLogText(v));
        FilterStep(instance, part);
        // A step is a filtering that left something; one that emptied the
        // list is undone and does not count.
        if (UndoIfEmpty()) {
            if (part.StopMode == smUntilEmpty) break;
        } else {
            ++steps;
        }
    }
}

void TFilterEngine::ApplyFilterPart(const TFilterPart &part) {
    TBusyGuard busy(m_host, false);
    m_table.ClearSelection();
    if (!m_table.SelectEntry(part.Method)) {
        const bool known = part.Method >= 0 && part.Method < m_stats.Count();
        throw EError(Format(QStringLiteral("Метод расчета статистики \"%s\" на найден!\r%s\r\rВозможно, Вы "
                                           "отключили данных метод расчета либо использовали сценарий от "
                                           "другой модификации программы."),
                            {known ? m_stats.EntryCode(part.Method) : QString(),
                             known ? m_stats.EntryCaption(part.Method) : QString()}));
    }
    m_table.SetSort(part.SortColumn, true);
    m_table.SetSampleLength(part.SampleLength);
    Log(Format(QStringLiteral("Анализ тиражей и расчет статистики \"%s\" для выборки в %d тиражей..."),
               {m_table.SelectorText(), part.SampleLength}));
    m_stats.ApplyWeightCoefs(part.OverrideCoefs, part.Coefs);
    m_table.ComputeStatistics(false);
    if (IsStopped()) return;

    const std::unique_ptr<TCustomStat> instance = m_stats.CreateStat(part.Method);
    if (LogEnabled())
        for (int row = 0; row < m_table.RowCount(); ++row)
            Log(RowLogText(ReadRow(row, *instance)));
    if (IsStopped()) return;

    if (part.MultiSelect)
        WalkMulti(part, *instance);
    else
        WalkSingle(part, *instance);
}

void TFilterEngine::ApplyFilterRec(const TFilterRec &rec) {
    for (const TFilterPart &part : rec)
        if (part.Enabled && m_combs.Count() > 1) ApplyFilterPart(part);
}

} // namespace lot
