#include "stats/StatTable.h"

#include "archive/DrawsArchive.h"
#include "core/Errors.h"
#include "core/Format.h"
#include "core/Host.h"
#include "stats/CustomStat.h"

#include <QHash>

#include <algorithm>
#include <cmath>
#include <numeric>

namespace lot {

namespace {

const QString Dash = QStringLiteral("-");

/// x rounded to the nearest integer, halves to even, without relying on the
/// floating-point environment; saturates instead of overflowing.
int64_t RoundHalfEven(long double x) {
    if (!std::isfinite(x)) return 0;
    constexpr long double limit = 9.2e18L;
    if (x >= limit) return INT64_MAX;
    if (x <= -limit) return INT64_MIN;
    const long double f = std::floor(x);
    const long double diff = x - f;
    int64_t r = int64_t(f);
    if (diff > 0.5L || (diff == 0.5L && (r % 2) != 0)) ++r;
    return r;
}

int32_t ClampToInt32(int64_t v) {
    return int32_t(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
}

QString FixedText(const char *format, long double v) {
    return Format(QLatin1String(format), {double(v)});
}

/// A cell read the way the sort reads it: a number when it reads as one
/// after "," becomes ".".
struct TSortKey {
    bool IsNumber = false;
    double Number = 0;
    bool Plain = false; ///< ASCII without letters: no case to fold
};

TSortKey SortKeyOf(const QString &cell) {
    TSortKey key;
    key.Plain = std::all_of(cell.cbegin(), cell.cend(), [](QChar ch) {
        const char16_t u = ch.unicode();
        return u < 0x80 && !((u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z'));
    });
    QString text = cell;
    text.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    const double v = text.toDouble(&ok);
    if (ok && !std::isnan(v)) {
        key.IsNumber = true;
        key.Number = v;
    }
    return key;
}

int CompareKeys(const TSortKey &ka, const QString &a, const TSortKey &kb, const QString &b) {
    if (ka.IsNumber && kb.IsNumber) return ka.Number < kb.Number ? -1 : (ka.Number > kb.Number ? 1 : 0);
    // Without letters a case makes no difference, and the plain compare is
    // much quicker (value texts such as 7:19:33 of tables of many thousand rows).
    const Qt::CaseSensitivity cs = ka.Plain && kb.Plain ? Qt::CaseSensitive : Qt::CaseInsensitive;
    const int c = a.compare(b, cs);
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

/// The difference cell of an expected cell and the actual draw number.
QString DifferenceText(const QString &expected, int fact) {
    bool ok = false;
    const qlonglong e = expected.toLongLong(&ok);
    if (!ok || e == -1) return Dash;
    const qlonglong d = e - fact;
    return d > 0 ? QStringLiteral("+") + QString::number(d) : QString::number(d);
}

} // namespace

TStatTable::TStatTable(IHost &host, const TStatList &stats, const TDrawsArchive &archive, QObject *parent)
    : QObject(parent), m_host(host), m_stats(stats), m_archive(archive), m_weightCoefs(stats.WeightCoefs()) {}

TStatTable::~TStatTable() = default;

// ---- inputs ----------------------------------------------------------------------

void TStatTable::SetSampleLength(int length) {
    length = std::clamp(length, MinSampleLength, MaxSampleLength);
    if (length == m_sampleLength) return;
    m_sampleLength = length;
    emit SampleLengthChanged(length);
}

// ---- method selector -------------------------------------------------------------------

void TStatTable::FillSelector(bool keepSelection) {
    const int previous = m_selectorIndex;
    m_selector = m_stats.SelectorItems().Statistics;
    m_selectorIndex = TStatList::SelectorIndexAfterRefill(previous, keepSelection, int(m_selector.size()));
    emit SelectorChanged();
}

void TStatTable::SetSelectorIndex(int index) {
    if (index < 0 || index >= m_selector.size()) index = -1;
    if (index == m_selectorIndex) return;
    m_selectorIndex = index;
    emit SelectorChanged();
}

int TStatTable::SelectedEntry() const {
    return m_selectorIndex >= 0 ? m_selector[m_selectorIndex].Entry : -1;
}

QString TStatTable::SelectorText() const {
    return m_selectorIndex >= 0 ? m_selector[m_selectorIndex].Caption : QString();
}

int TStatTable::SelectorIndexOfEntry(int entry) const {
    for (int i = 0; i < m_selector.size(); ++i)
        if (m_selector[i].Entry == entry) return i;
    return -1;
}

bool TStatTable::SelectEntry(int entry) {
    const int index = SelectorIndexOfEntry(entry);
    if (index < 0) return false;
    SetSelectorIndex(index);
    return true;
}

std::unique_ptr<TCustomStat> TStatTable::CreateSelectedStat() const {
    return m_stats.StatForCombo(SelectedEntry(), QLatin1String(SelectorName));
}

// ---- computation -----------------------------------------------------------------------------

TStatTable::TLastRun TStatTable::CurrentInputs() const {
    return {m_archive.Count(), m_archive.Offset(), m_sampleLength, m_selectorIndex, SelectedEntry()};
}

bool TStatTable::SameInputs(const TLastRun &a, const TLastRun &b) {
    return a.ArchiveCount == b.ArchiveCount && a.Offset == b.Offset && a.SampleLength == b.SampleLength &&
           a.SelectorIndex == b.SelectorIndex && a.Entry == b.Entry;
}

void TStatTable::SetReuseComputations(bool on, int capacity) {
    m_reuseCapacity = on ? std::max(1, capacity) : 0;
    m_kept.clear();
}

bool TStatTable::TakeKept(const TLastRun &inputs) {
    for (size_t i = 0; i < m_kept.size(); ++i) {
        TKeptRun &k = m_kept[i];
        if (!SameInputs(k.Inputs, inputs) || k.SortedDraws != m_sortedDraws) continue;
        m_rows = k.Rows;
        m_hasFull = k.HasFull;
        m_summary = k.Summary;
        m_chart = k.Chart;
        m_weightCoefs = k.WeightCoefs;
        if (!(m_stats.WeightCoefs() == m_weightCoefs)) {
            m_weightCoefs = m_stats.WeightCoefs();
            for (TStatRow &row : m_rows)
                FillWeightCell(row);
        }
        Sort();
        // The most recent use goes last, so the oldest is dropped first.
        std::rotate(m_kept.begin() + std::ptrdiff_t(i), m_kept.begin() + std::ptrdiff_t(i) + 1, m_kept.end());
        ++m_reuseCount;
        return true;
    }
    return false;
}

void TStatTable::Keep(const TLastRun &inputs) {
    if (m_reuseCapacity <= 0) return;
    TKeptRun k;
    k.Inputs = inputs;
    k.SortedDraws = m_sortedDraws;
    k.Rows = m_rows;
    for (TStatRow &row : k.Rows)
        row.Selected = false;
    k.HasFull = m_hasFull;
    k.Summary = m_summary;
    k.Chart = m_chart;
    k.WeightCoefs = m_weightCoefs;
    if (int(m_kept.size()) >= m_reuseCapacity) m_kept.erase(m_kept.begin());
    m_kept.push_back(std::move(k));
}

void TStatTable::ComputeStatistics(bool force) {
    const TLastRun inputs = CurrentInputs();
    const bool unchanged = SameInputs(inputs, m_lastRun);
    if (!force && unchanged) {
        // A script step may bring its own weight coefficients without any
        // other change; the weight column follows them instead of showing
        // the previous step's weights.
        if (!(m_stats.WeightCoefs() == m_weightCoefs)) {
            m_weightCoefs = m_stats.WeightCoefs();
            if (!m_rows.empty()) {
                for (TStatRow &row : m_rows)
                    FillWeightCell(row);
                Sort();
                emit TableChanged();
            }
        }
        return;
    }
    // Whatever changed the data behind a forced computation changed it for
    // the kept ones too.
    if (force) m_kept.clear();
    m_lastRun = inputs;
    if (m_selectorIndex < 0 || m_archive.IsEmpty()) {
        const bool hadSelection = SelectedCount() > 0;
        m_rows.clear();
        m_chart = {};
        m_summary = {};
        m_hasFull = false;
        emit TableChanged();
        if (hadSelection) emit SelectionChanged();
        return;
    }
    if (!force && TakeKept(inputs)) {
        emit TableChanged();
        emit SelectionChanged();
        return;
    }
    try {
        Compute();
        Keep(inputs);
    } catch (...) {
        // The next request recomputes instead of trusting a half-done run.
        m_lastRun = {};
        m_rows.clear();
        m_chart = {};
        m_summary = {};
        m_hasFull = false;
        emit TableChanged();
        emit SelectionChanged();
        throw;
    }
    emit TableChanged();
    emit SelectionChanged();
}

void TStatTable::Clear() {
    m_lastRun = {};
    m_rows.clear();
    m_chart = {};
    m_summary = {};
    m_hasFull = false;
    emit TableChanged();
    emit SelectionChanged();
}

void TStatTable::Compute() {
    TBusyGuard busy(m_host);
    m_host.ShowStatus(QStringLiteral("Анализ тиражей и расчет статистики..."));
    m_rows.clear();
    m_chart = {};
    m_summary = {};
    m_hasFull = false;
    m_weightCoefs = m_stats.WeightCoefs();

    const int last = m_archive.Count() - 1 - m_archive.Offset();
    const int first = int(std::max<int64_t>(0, int64_t(last) - m_sampleLength + 1));
    m_summary.SampleSize = std::max(0, last - first + 1);

    std::unique_ptr<TCustomStat> stat = CreateSelectedStat();
    std::optional<TFullSetCounts> full;
    if (m_fullSet) full = m_fullSet(*stat);

    TStatDrawArray values;
    if (last >= first) {
        stat->EnumAllValues(last, values);
        TStatScratch scratch;
        scratch.Clear();
        TLastValueArray lastValues;
        TValueIndex index(values);
        stat->SetValueIndex(&index);
        for (int i = first; i <= last; ++i)
            stat->DrawValues(i, last, m_sortedDraws, values, scratch, lastValues);
        stat->SetValueIndex(nullptr);
    }

    if (!values.empty()) {
        m_summary.MinCount = INT_MAX;
        m_summary.MaxCount = INT_MIN;
    }
    for (const TStatDraw &v : values) {
        m_summary.Total += v.Count;
        m_summary.MinCount = std::min(m_summary.MinCount, int(v.Count));
        m_summary.MaxCount = std::max(m_summary.MaxCount, int(v.Count));
        m_summary.MaxDepth = std::max(m_summary.MaxDepth, int(v.Depth));
    }

    long double ratio = 0;
    if (full && !full->Records.empty() && full->MaxCount > 0) {
        const long double f = full->MaxCount;
        if (full->MinCount == full->MaxCount)
            ratio = ((static_cast<long double>(m_summary.MaxCount) + m_summary.MinCount) / 2) / f;
        else
            ratio = m_summary.MaxCount / f;
        m_hasFull = true;
    }
    if (m_hasFull && !values.empty()) ComputeNorms(*full, double(ratio), values);

    m_rows.resize(values.size());
    for (size_t i = 0; i < values.size(); ++i)
        FillRow(*stat, values[i], last, m_rows[i]);

    BuildChart(*stat, values, m_hasFull ? &*full : nullptr, double(ratio));
    Sort();
    ++m_computeCount;
}

void TStatTable::ComputeNorms(const TFullSetCounts &full, double ratio, TStatDrawArray &values) const {
    // First value of each key, as a linear search would find it.
    QHash<quint64, int> firstOfKey;
    firstOfKey.reserve(qsizetype(values.size()));
    for (size_t i = values.size(); i-- > 0;)
        firstOfKey[values[i].Key.OrderValue()] = int(i);
    for (const TFullSetRec &rec : full.Records) {
        const auto it = firstOfKey.constFind(rec.Key.OrderValue());
        if (it == firstOfKey.cend()) continue;
        values[size_t(*it)].Norm = ClampToInt32(
            RoundHalfEven(static_cast<long double>(rec.Count) * static_cast<long double>(ratio)));
    }
}

void TStatTable::FillRow(TCustomStat &stat, const TStatDraw &v, int lastIdx, TStatRow &row) {
    row.Data = v;
    row.Selected = false;
    auto &c = row.Cells;
    const TStatSummary &s = m_summary;

    c[scValue] = stat.ValueToText(v);
    c[scCount] = QString::number(v.Count);
    c[scCountPercent] =
        s.Total == 0 ? Dash : FixedText("%.5f", static_cast<long double>(v.Count) * 100 / s.Total);
    if (m_hasFull) {
        const int64_t dev = int64_t(v.Count) - v.Norm;
        c[scNorm] = QString::number(v.Norm);
        c[scDeviation] = QString::number(dev);
        if (v.Norm == 0)
            c[scDeviationPercent] = FixedText("%.5f", v.Count != 0 ? 100 : 0);
        else
            c[scDeviationPercent] = FixedText("%.5f", static_cast<long double>(dev) * 100 / v.Norm);
    } else {
        c[scNorm] = c[scDeviation] = c[scDeviationPercent] = Dash;
    }

    if (v.Depth == 0) {
        for (int i = scDepth; i < StatColumnCount; ++i)
            c[size_t(i)] = Dash;
        return;
    }
    c[scDepth] = QString::number(v.Depth);
    c[scDepthPercent] = FixedText("%.2f", static_cast<long double>(v.Depth) * 100 / s.MaxDepth);
    FillWeightCell(row);
    c[scLastDraw] = QString::number(v.LastDraw);

    if (v.Count < 2) {
        for (int i = scPeriodMin; i <= scExpectPrd; ++i)
            c[size_t(i)] = Dash;
    } else {
        const long double period = static_cast<long double>(s.SampleSize) / v.Count;
        c[scPeriodMin] = QString::number(v.PeriodMin);
        c[scPeriod] = FixedText("%.4f", period);
        c[scPeriodMax] = QString::number(v.PeriodMax);
        c[scExpectPrd] = QString::number(RoundHalfEven(period + v.LastDraw));
    }
    if (v.Count < 1) {
        for (int i = scExpectStf; i < StatColumnCount; ++i)
            c[size_t(i)] = Dash;
        return;
    }
    const long double count = v.Count;
    c[scExpectStf] = QString::number(RoundHalfEven((count + 1) * v.LastDraw / count));
    c[scExpectKrn] = QString::number(
        RoundHalfEven((count + 2) * (static_cast<long double>(v.LastDraw) + 1) / (count + 1)));

    // The search for the next occurrence runs past the draws the offset
    // hides: that is what fills "Факт" when studying the past.
    const int k = m_archive.FindDrawIndex(v.LastDraw);
    const int fact = k < 0 ? -1 : stat.NextOccurrence(v, k + 1, m_sortedDraws, lastIdx);
    if (fact == -1) {
        for (int i = scFact; i < StatColumnCount; ++i)
            c[size_t(i)] = Dash;
        return;
    }
    c[scFact] = QString::number(fact);
    c[scDiffPrd] = DifferenceText(c[scExpectPrd], fact);
    c[scDiffStf] = DifferenceText(c[scExpectStf], fact);
    c[scDiffKrn] = DifferenceText(c[scExpectKrn], fact);
}

void TStatTable::FillWeightCell(TStatRow &row) const {
    const TStatDraw &v = row.Data;
    if (v.Depth == 0) {
        row.Cells[scWeight] = Dash;
        return;
    }
    const TWeightCoefs &k = m_weightCoefs;
    const TStatSummary &s = m_summary;
    const long double dev = m_hasFull ? static_cast<long double>(v.Count) - v.Norm : 0;
    long double c = v.Count;
    long double d = dev;
    long double l = v.Depth;
    if (k.UsePercents) {
        c = s.Total == 0 ? 0 : static_cast<long double>(v.Count) * 100 / s.Total;
        d = m_hasFull && v.Norm != 0 ? dev * 100 / v.Norm : 0;
        l = s.MaxDepth == 0 ? 0 : static_cast<long double>(v.Depth) * 100 / s.MaxDepth;
    }
    if (k.UseAbsValues) {
        c = std::fabs(c);
        d = std::fabs(d);
        l = std::fabs(l);
    }
    long double weight = k.Count * c + k.Deviation * d + k.Level * l;
    // Coefficients from a hand-edited settings file can be anything; what
    // does not give a finite number shows the fault value instead.
    if (!std::isfinite(weight) || !std::isfinite(double(weight))) weight = WeightFault;
    row.Cells[scWeight] = FixedText("%.2f", weight);
}

void TStatTable::BuildChart(const TCustomStat &stat, const TStatDrawArray &values, const TFullSetCounts *full,
                            double ratio) {
    if (values.size() <= 1) return;
    TStatChartSeries actual;
    actual.Title = QStringLiteral("Фактические данные");
    if (full) {
        std::optional<TStatChartSeries> total;
        if (m_showTotalLine) {
            total.emplace();
            total->Title = QStringLiteral("Все возможные комбинации");
        }
        QHash<quint64, int> countOfKey;
        countOfKey.reserve(qsizetype(values.size()));
        for (size_t i = values.size(); i-- > 0;)
            countOfKey[values[i].Key.OrderValue()] = values[i].Count;
        TStatDraw probe;
        int x = 0;
        for (const TFullSetRec &rec : full->Records) {
            ++x;
            probe.Key = rec.Key;
            const QString label = stat.ValueToText(probe);
            if (total) total->Points.append({double(x), double(rec.Count) * ratio, label});
            const auto it = countOfKey.constFind(rec.Key.OrderValue());
            if (it != countOfKey.cend()) actual.Points.append({double(x), double(*it), label});
        }
        m_chart.Total = std::move(total);
    } else {
        std::vector<int> order(values.size());
        std::iota(order.begin(), order.end(), 0);
        std::stable_sort(order.begin(), order.end(),
                         [&](int a, int b) { return values[size_t(a)].Key < values[size_t(b)].Key; });
        int x = 0;
        for (int i : order) {
            const TStatDraw &v = values[size_t(i)];
            actual.Points.append({double(++x), double(v.Count), stat.ValueToText(v)});
        }
    }
    m_chart.Actual = std::move(actual);
}

// ---- rows and cells ----------------------------------------------------------------------------

const QStringList &TStatTable::ColumnCaptions() {
    static const QStringList captions = {
        QStringLiteral("Значение"),    QStringLiteral("Количество"),  QStringLiteral("Кол-во в %"),
        QStringLiteral("Норма"),       QStringLiteral("Отклонение"),  QStringLiteral("Откл-ие в %"),
        QStringLiteral("Глубина"),     QStringLiteral("Глубина в %"), QStringLiteral("Вес"),
        QStringLiteral("Посл. тираж"), QStringLiteral("Период min"),  QStringLiteral("Период"),
        QStringLiteral("Период max"),  QStringLiteral("Ожд. ПРД"),    QStringLiteral("Ожд. СТФ"),
        QStringLiteral("Ожд. КРН"),    QStringLiteral("Факт"),        QStringLiteral("+/- ПРД"),
        QStringLiteral("+/- СТФ"),     QStringLiteral("+/- КРН"),
    };
    return captions;
}

QString TStatTable::ColumnCaption(int column) {
    return column >= 0 && column < StatColumnCount ? ColumnCaptions()[column] : QString();
}

bool TStatTable::IsFullSetColumn(int column) {
    return column == scNorm || column == scDeviation || column == scDeviationPercent;
}

const TStatRow &TStatTable::Row(int row) const {
    if (row < 0 || row >= RowCount())
        throw EError(Format(QStringLiteral("Строка %d таблицы статистики не существует!"), {row}));
    return m_rows[size_t(row)];
}

QString TStatTable::Cell(int row, int column) const {
    if (row < 0 || row >= RowCount() || column < 0 || column >= StatColumnCount) return QString();
    return m_rows[size_t(row)].Cells[size_t(column)];
}

QStringList TStatTable::TextLines() const {
    QStringList lines;
    lines << ColumnCaptions().join(QLatin1Char('\t'));
    for (const TStatRow &row : m_rows) {
        QStringList cells(row.Cells.begin(), row.Cells.end());
        lines << cells.join(QLatin1Char('\t'));
    }
    lines << Format(QStringLiteral("SampleSize=%d\tTotal=%d\tMinCount=%d\tMaxCount=%d\tMaxDepth=%d"),
                    {m_summary.SampleSize, qlonglong(m_summary.Total), m_summary.MinCount, m_summary.MaxCount,
                     m_summary.MaxDepth});
    return lines;
}

// ---- sorting ------------------------------------------------------------------------------------------

int TStatTable::CompareCells(const QString &a, const QString &b) {
    return CompareKeys(SortKeyOf(a), a, SortKeyOf(b), b);
}

void TStatTable::SetSort(int column, bool descending) {
    if (column < 0 || column >= StatColumnCount)
        throw EError(
            Format(QStringLiteral("Некорректное занчение номера столбца сортировки (%d)"), {column}));
    m_sortColumn = column;
    m_sortDescending = descending;
    if (m_rows.empty()) return;
    Sort();
    emit TableChanged();
}

void TStatTable::ClickColumn(int column) {
    SetSort(column, column == m_sortColumn ? !m_sortDescending : false);
}

void TStatTable::Sort() {
    const size_t n = m_rows.size();
    if (n < 2) return;
    std::vector<TSortKey> keys(n), valueKeys(n);
    for (size_t i = 0; i < n; ++i) {
        keys[i] = SortKeyOf(m_rows[i].Cells[size_t(m_sortColumn)]);
        valueKeys[i] = SortKeyOf(m_rows[i].Cells[scValue]);
    }
    std::vector<int> order(n);
    std::iota(order.begin(), order.end(), 0);
    const size_t col = size_t(m_sortColumn);
    std::stable_sort(order.begin(), order.end(), [&](int ia, int ib) {
        const TStatRow &a = m_rows[size_t(ia)];
        const TStatRow &b = m_rows[size_t(ib)];
        int c = CompareKeys(keys[size_t(ia)], a.Cells[col], keys[size_t(ib)], b.Cells[col]);
        if (c == 0)
            c = CompareKeys(valueKeys[size_t(ia)], a.Cells[scValue], valueKeys[size_t(ib)], b.Cells[scValue]);
        return m_sortDescending ? c > 0 : c < 0;
    });
    std::vector<TStatRow> sorted;
    sorted.reserve(n);
    for (int i : order)
        sorted.push_back(std::move(m_rows[size_t(i)]));
    m_rows = std::move(sorted);
}

// ---- selection ------------------------------------------------------------------------------------------

bool TStatTable::IsSelected(int row) const {
    return row >= 0 && row < RowCount() && m_rows[size_t(row)].Selected;
}

QList<int> TStatTable::SelectedRows() const {
    QList<int> rows;
    for (int i = 0; i < RowCount(); ++i)
        if (m_rows[size_t(i)].Selected) rows << i;
    return rows;
}

int TStatTable::SelectedCount() const {
    return int(std::count_if(m_rows.begin(), m_rows.end(), [](const TStatRow &r) { return r.Selected; }));
}

void TStatTable::SetSelected(int row, bool selected) {
    if (row < 0 || row >= RowCount() || m_rows[size_t(row)].Selected == selected) return;
    m_rows[size_t(row)].Selected = selected;
    emit SelectionChanged();
}

void TStatTable::SetSelectedRows(const QList<int> &rows) {
    std::vector<bool> wanted(m_rows.size(), false);
    for (int r : rows)
        if (r >= 0 && r < RowCount()) wanted[size_t(r)] = true;
    bool changed = false;
    for (size_t i = 0; i < m_rows.size(); ++i) {
        if (m_rows[i].Selected != wanted[i]) {
            m_rows[i].Selected = wanted[i];
            changed = true;
        }
    }
    if (changed) emit SelectionChanged();
}

void TStatTable::SelectOnly(int row) {
    SetSelectedRows({row});
}

void TStatTable::ClearSelection() {
    SetSelectedRows({});
}

int TStatTable::SelectByValueTexts(const QStringList &texts) {
    QStringList wanted;
    for (const QString &t : texts)
        wanted << t.trimmed();
    int matched = 0;
    bool changed = false;
    for (TStatRow &row : m_rows) {
        if (!wanted.contains(row.Cells[scValue].trimmed())) continue;
        ++matched;
        if (!row.Selected) {
            row.Selected = true;
            changed = true;
        }
    }
    if (changed) emit SelectionChanged();
    return matched;
}

TStatDrawArray TStatTable::SelectedValues() const {
    TStatDrawArray values;
    for (const TStatRow &row : m_rows)
        if (row.Selected) values.push_back(row.Data);
    return values;
}

QString TStatTable::SelectedValuesText() const {
    QStringList texts;
    for (const TStatRow &row : m_rows)
        if (row.Selected) texts << row.Cells[scValue];
    return texts.join(QStringLiteral("; "));
}

} // namespace lot
