#pragma once
/// @file TStatTable: the statistics table of the statistics tab without a
/// window. For the method chosen in its selector and a sample of the newest
/// draws in use it lists one row per value (count, share, norm from the full
/// set, deviation, depth, weight, periods, the expected and the actual next
/// draw), keeps the row selection that filters read, sorts by any column and
/// prepares the data of the chart under the table.
///
/// The workspace owns one table; the GUI page shows it and scripts drive it
/// headless through the same operations.

#include "stats/StatList.h"
#include "stats/StatValues.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

#include <array>
#include <climits>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace lot {

class IHost;
class TCustomStat;
class TDrawsArchive;

/// Columns of the table, in display order.
enum TStatColumn : int {
    scValue = 0,            ///< "Значение"
    scCount = 1,            ///< "Количество"
    scCountPercent = 2,     ///< "Кол-во в %"
    scNorm = 3,             ///< "Норма"
    scDeviation = 4,        ///< "Отклонение"
    scDeviationPercent = 5, ///< "Откл-ие в %"
    scDepth = 6,            ///< "Глубина"
    scDepthPercent = 7,     ///< "Глубина в %"
    scWeight = 8,           ///< "Вес"
    scLastDraw = 9,         ///< "Посл. тираж"
    scPeriodMin = 10,       ///< "Период min"
    scPeriod = 11,          ///< "Период"
    scPeriodMax = 12,       ///< "Период max"
    scExpectPrd = 13,       ///< "Ожд. ПРД"
    scExpectStf = 14,       ///< "Ожд. СТФ"
    scExpectKrn = 15,       ///< "Ожд. КРН"
    scFact = 16,            ///< "Факт"
    scDiffPrd = 17,         ///< "+/- ПРД"
    scDiffStf = 18,         ///< "+/- СТФ"
    scDiffKrn = 19,         ///< "+/- КРН"
};
inline constexpr int StatColumnCount = 20;

/// One record of a method's counts over the full set: a value key and the
/// number of combinations of the full set that have it.
struct TFullSetRec {
    TStatKey Key;
    int32_t Count = 0;
};

/// A method's counts over the full set (the content of its prefetch file).
struct TFullSetCounts {
    std::vector<TFullSetRec> Records; ///< ascending by key
    int32_t MinCount = 0;             ///< the trailer's smallest count
    int32_t MaxCount = 0;             ///< the trailer's largest count
};

/// Gives the full-set counts of a method instance, or nothing when the
/// comparison is switched off, the method cannot give them or an error was
/// already shown. The workspace connects it to the prefetch files.
using TFullSetSource = std::function<std::optional<TFullSetCounts>(const TCustomStat &stat)>;

/// One row: its own copy of the value record and the twenty cell texts.
struct TStatRow {
    TStatDraw Data;
    std::array<QString, StatColumnCount> Cells;
    bool Selected = false;
};

/// Figures of one computation over the value list.
struct TStatSummary {
    int SampleSize = 0; ///< draws actually analysed (at most the sample length)
    int64_t Total = 0;  ///< sum of the counts
    int MinCount = 0;   ///< smallest count, values with count 0 included
    int MaxCount = 0;   ///< largest count
    int MaxDepth = 0;   ///< largest depth
};

/// One point of a chart series.
struct TStatChartPoint {
    double X = 0;
    double Y = 0;
    QString Label; ///< the value text the point stands for
};

/// One line series of the chart.
struct TStatChartSeries {
    QString Title;
    QList<TStatChartPoint> Points;
};

/// The chart under the table. Colours and pens are the view's business.
struct TStatChart {
    /// "Фактические данные": the counts of the sample.
    std::optional<TStatChartSeries> Actual;
    /// "Все возможные комбинации": the full-set counts scaled to the sample;
    /// only with the full-set comparison and ShowTotalLine.
    std::optional<TStatChartSeries> Total;
};

/// The statistics table.
///
/// Computing raises EError (the status line is cleared first, the table is
/// left empty); callers at an operation boundary show it.
class TStatTable : public QObject {
    Q_OBJECT

public:
    /// Range of the sample length spin edit.
    static constexpr int MinSampleLength = 1;
    static constexpr int MaxSampleLength = INT_MAX;
    static constexpr int DefaultSampleLength = 1000;
    /// Name of the method selector, used in the "no method selected" error.
    static constexpr const char *SelectorName = "cbDrawsStat";
    /// Weight shown when the weight cannot be computed.
    static constexpr double WeightFault = -999.99;

    TStatTable(IHost &host, const TStatList &stats, const TDrawsArchive &archive, QObject *parent = nullptr);
    ~TStatTable() override;

    // ---- inputs ----------------------------------------------------------------
    /// Where the full-set counts come from; none set: never compared.
    void SetFullSetSource(TFullSetSource source) { m_fullSet = std::move(source); }
    /// Draws are evaluated with their main numbers ascending.
    bool SortedDraws() const { return m_sortedDraws; }
    void SetSortedDraws(bool on) { m_sortedDraws = on; }
    /// The chart also shows the full-set line.
    bool ShowTotalLine() const { return m_showTotalLine; }
    void SetShowTotalLine(bool on) { m_showTotalLine = on; }

    /// Sample length L, kept within MinSampleLength..MaxSampleLength.
    int SampleLength() const { return m_sampleLength; }
    void SetSampleLength(int length);

    // ---- method selector -----------------------------------------------------------
    /// Refills the selector from the registry's statistics items. The index
    /// afterwards follows TStatList::SelectorIndexAfterRefill.
    void FillSelector(bool keepSelection);
    const QList<TSelectorItem> &SelectorItems() const { return m_selector; }
    /// Index into SelectorItems(); -1 without a selection.
    int SelectorIndex() const { return m_selectorIndex; }
    /// Selects an item (-1 or an index outside the items: no selection).
    /// Does not compute: the caller runs ComputeStatistics(false).
    void SetSelectorIndex(int index);
    /// Registry entry of the selected item; -1 without a selection.
    int SelectedEntry() const;
    /// Caption of the selected item; empty without a selection.
    QString SelectorText() const;
    /// Index of the item carrying a registry entry; -1 when it is not listed.
    int SelectorIndexOfEntry(int entry) const;
    /// Selects the item carrying a registry entry; false when it is not listed.
    bool SelectEntry(int entry);
    /// A new instance of the selected method; raises "Не выбран метод
    /// расчета статистики (cb: cbDrawsStat)!" without a selection.
    std::unique_ptr<TCustomStat> CreateSelectedStat() const;

    // ---- computation -------------------------------------------------------------------
    /// Recomputes the rows and the chart. Without force nothing happens when
    /// the archive length, the draws offset, the sample length and the
    /// selected method are those of the last run (only changed weight
    /// coefficients are applied to the weight column then).
    void ComputeStatistics(bool force);
    /// Empties rows and chart and forgets the last run.
    void Clear();
    /// Number of completed computations (tests check change detection with it).
    int ComputeCount() const { return m_computeCount; }
    /// Script runs switch between a few methods and lengths at one offset:
    /// while on, the last computations (at most capacity) are kept, and a
    /// request whose inputs (archive length, offset, sample length, method,
    /// sorted draws) equal a kept one's takes its rows, figures and chart
    /// instead of computing again (the weight column follows the current
    /// coefficients). A forced computation and switching off forget them.
    void SetReuseComputations(bool on, int capacity = 8);
    bool ReuseComputations() const { return m_reuseCapacity > 0; }
    /// Requests answered from a kept computation.
    int ReuseCount() const { return m_reuseCount; }

    /// The last computation compared the sample with the full set.
    bool HasFull() const { return m_hasFull; }
    const TStatSummary &Summary() const { return m_summary; }
    const TStatChart &Chart() const { return m_chart; }

    // ---- rows and cells -------------------------------------------------------------------
    static QString ColumnCaption(int column);
    static const QStringList &ColumnCaptions();
    /// The full-set columns "Норма", "Отклонение", "Откл-ие в %".
    static bool IsFullSetColumn(int column);

    int RowCount() const { return int(m_rows.size()); }
    /// Row in table order; raises EError outside the table.
    const TStatRow &Row(int row) const;
    /// Cell text; empty outside the table.
    QString Cell(int row, int column) const;
    /// The table as text lines: the column captions, one line per row in
    /// table order (cells separated by tabs), then the summary figures.
    QStringList TextLines() const;

    // ---- sorting ------------------------------------------------------------------------------
    int SortColumn() const { return m_sortColumn; }
    bool SortDescending() const { return m_sortDescending; }
    /// Sets the order and re-sorts (the selection stays with its rows).
    /// Raises EError "Некорректное занчение номера столбца сортировки (%d)"
    /// for a column outside the table.
    void SetSort(int column, bool descending);
    /// A click on a column header: the same column again reverses the
    /// order, another column sorts ascending.
    void ClickColumn(int column);
    /// The comparison of two cells: as numbers when both read as numbers
    /// after "," becomes ".", otherwise as text without regard to case.
    /// Negative, zero or positive.
    static int CompareCells(const QString &a, const QString &b);

    // ---- selection -----------------------------------------------------------------------------
    bool IsSelected(int row) const;
    /// Selected rows in table order.
    QList<int> SelectedRows() const;
    int SelectedCount() const;
    /// Rows outside the table are ignored.
    void SetSelected(int row, bool selected);
    /// Makes exactly these rows selected (rows outside the table are ignored).
    void SetSelectedRows(const QList<int> &rows);
    void SelectOnly(int row);
    void ClearSelection();
    /// Adds to the selection every row whose value text ("Значение") equals
    /// one of texts (compared trimmed). Returns the number of rows it matched.
    int SelectByValueTexts(const QStringList &texts);
    /// The value records of the selected rows in table order: what the
    /// method's CombMatches receives.
    TStatDrawArray SelectedValues() const;
    /// Value texts of the selected rows joined by "; ".
    QString SelectedValuesText() const;

signals:
    /// The selector's items or its index changed.
    void SelectorChanged();
    /// Rows were recomputed, cleared or re-sorted (read everything again).
    void TableChanged();
    /// The row selection changed.
    void SelectionChanged();
    /// The sample length changed.
    void SampleLengthChanged(int length);

private:
    struct TLastRun {
        int ArchiveCount = -1;
        int Offset = -1;
        int SampleLength = -1;
        int SelectorIndex = -2;
        int Entry = -2;
    };
    struct TKeptRun {
        TLastRun Inputs;
        bool SortedDraws = false;
        std::vector<TStatRow> Rows;
        bool HasFull = false;
        TStatSummary Summary;
        TStatChart Chart;
        TWeightCoefs WeightCoefs;
    };
    TLastRun CurrentInputs() const;
    static bool SameInputs(const TLastRun &a, const TLastRun &b);
    bool TakeKept(const TLastRun &inputs);
    void Keep(const TLastRun &inputs);
    void Compute();
    void ComputeNorms(const TFullSetCounts &full, double ratio, TStatDrawArray &values) const;
    void FillRow(TCustomStat &stat, const TStatDraw &v, int lastIdx, TStatRow &row);
    void FillWeightCell(TStatRow &row) const;
    void BuildChart(const TCustomStat &stat, const TStatDrawArray &values, const TFullSetCounts *full,
                    double ratio);
    void Sort();

    IHost &m_host;
    const TStatList &m_stats;
    const TDrawsArchive &m_archive;
    TFullSetSource m_fullSet;
    bool m_sortedDraws = false;
    bool m_showTotalLine = true;
    int m_sampleLength = DefaultSampleLength;

    QList<TSelectorItem> m_selector;
    int m_selectorIndex = -1;

    TLastRun m_lastRun;
    TWeightCoefs m_weightCoefs; ///< the coefficients the weight column shows
    int m_computeCount = 0;

    std::vector<TStatRow> m_rows;
    bool m_hasFull = false;
    TStatSummary m_summary;
    TStatChart m_chart;
    int m_sortColumn = scCount;
    bool m_sortDescending = false;
    int m_reuseCapacity = 0;
    int m_reuseCount = 0;
    std::vector<TKeptRun> m_kept; ///< oldest first
};

} // namespace lot
