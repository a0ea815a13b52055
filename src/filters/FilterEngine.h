#pragma once
/// @file TFilterEngine: applying filters to the combination list: the
/// filtering pass by the selected rows of the statistics table
/// (ApplySelection) or by numbers picked in a draw view
/// (ApplyNumberSelection), and the automatic steps of scripts that walk the
/// statistics table (ApplyFilterPart, ApplyFilterRec). It raises; the
/// filters controller is the boundary of the user's operations.
///
/// Every reducing operation follows one pattern: the undo copy is taken,
/// the survivors of the undo copy are written into the list from its start,
/// a history row is added and the view is refreshed.

#include "filters/Filter.h"
#include "filters/RowTest.h"
#include "stats/StatValues.h"

#include <functional>
#include <memory>
#include <QString>
#include <QStringList>

namespace lot {

class IHost;
class TCombsController;
class TCustomStat;
class TDrawsArchive;
class TStatList;
class TStatTable;

/// The draw views whose selected cells can filter the list.
enum class TNumberView {
    Card,   ///< "Карта": each non-empty cell is one number
    Layout, ///< "Схема": each non-empty cell holds numbers separated by ","
    Week,   ///< "Неделя": each selected column c stands for the number c
};

/// The numbers collected from a draw view's selection.
struct TNumberSelection {
    QList<int> Numbers; ///< each number once, in order of first appearance
    QString Text;       ///< their texts as shown, joined by "; "
};

class TFilterEngine {
public:
    /// Hook of a script run: lets pending events run and says whether the
    /// user asked to stop. Unset: events run and the answer is no.
    using TIsStopped = std::function<bool()>;
    /// Hook of the script log: appends one entry. Unset: the log is off.
    using TWriteLog = std::function<void(const QString &)>;

    TFilterEngine(IHost &host, TStatList &stats, const TDrawsArchive &archive, TCombsController &combs,
                  TStatTable &table);
    ~TFilterEngine();
    TFilterEngine(const TFilterEngine &) = delete;
    TFilterEngine &operator=(const TFilterEngine &) = delete;

    void SetIsStopped(TIsStopped hook) { m_isStopped = std::move(hook); }
    void SetWriteLog(TWriteLog hook) { m_writeLog = std::move(hook); }
    bool LogEnabled() const { return bool(m_writeLog); }
    /// The combination list the engine filters.
    TCombsController &Combs() { return m_combs; }

    /// The filtering pass may use every core (the result is the same).
    void SetParallel(bool on) { m_parallel = on; }
    bool Parallel() const { return m_parallel; }
    /// A step of ApplyFilterPart hands the list's storage to the undo copy
    /// (TCombsController::MoveListToUndo) instead of copying it, since the
    /// pass rewrites the list anyway. The result is the same; off copies.
    void SetMoveUndo(bool on) { m_moveUndo = on; }
    bool MoveUndo() const { return m_moveUndo; }

    // ---- manual filtering from the statistics tab ------------------------------
    /// StatFilter_Include / StatFilter_Exclude are enabled: idle, a non-empty
    /// list and at least one selected row.
    bool CanFilterBySelection() const;

    /// Filters the undo copy into the list by the selected rows of the table;
    /// the caller has taken the undo copy just before. instance: the method to
    /// use (nullptr: one for the table's selector, freed afterwards). Without
    /// a selected row nothing changes. If the pass fails the list gets the
    /// undo copy back and the error propagates.
    void ApplySelection(TCustomStat *instance, bool del);

    // ---- manual filtering from the draw views ----------------------------------
    /// The numbers of a view's selection: cells in the order walked (columns
    /// left to right, rows top to bottom within a column). Card and layout
    /// cells are texts; week cells are the column numbers as texts.
    static TNumberSelection CollectNumbers(TNumberView view, const QStringList &cells);
    /// Filters the undo copy into the list by the numbers of a view's
    /// selection (a combination matches when it holds one of them); the
    /// caller has taken the undo copy. Raises "В выделенном диапазоне нет
    /// значений для фильтра!" when the selection holds no value; the list is
    /// then unchanged. caption names the view in the history row.
    void ApplyNumberSelection(TNumberView view, const QStringList &cells, bool del, const QString &caption);
    /// "В выделенном диапазоне нет значений для фильтра!"
    static QString NoValuesText();

    // ---- automatic filter steps --------------------------------------------------
    /// One automatic filter step: selects the part's method in the table,
    /// sorts, computes and walks the rows, filtering as the part says until
    /// its stop condition holds. Raises EError when the method is not listed,
    /// the sort column does not exist, or a value cannot be converted.
    void ApplyFilterPart(const TFilterPart &part);
    /// Runs the enabled parts in order while the list holds more than one
    /// combination.
    void ApplyFilterRec(const TFilterRec &rec);

    /// The row of the table as the row test reads it; key read by instance.
    TStatValues ReadRow(int row, const TCustomStat &instance) const;

    /// The history row added when a step that emptied the list is undone.
    static QString UndoHistoryText();

private:
    bool IsStopped();
    void Log(const QString &text);
    QString RowLogText(const TStatValues &v) const;
    bool StopBefore(const TFilterPart &part, const TStatValues &v, int steps, bool single) const;
    void FilterStep(TCustomStat &instance, const TFilterPart &part);
    bool UndoIfEmpty();
    void WalkMulti(const TFilterPart &part, TCustomStat &instance);
    void WalkSingle(const TFilterPart &part, TCustomStat &instance);
    int ReferenceIndex() const;
    int Pass(TCustomStat &instance, const TStatDrawArray &selected, bool del);

    IHost &m_host;
    TStatList &m_stats;
    const TDrawsArchive &m_archive;
    TCombsController &m_combs;
    TStatTable &m_table;
    TIsStopped m_isStopped;
    TWriteLog m_writeLog;
    bool m_parallel = true;
    bool m_moveUndo = false;
};

} // namespace lot
