#pragma once
/// @file TFiltersController: filtering the combination list as the user
/// does it, by the selected rows of the statistics table, by the numbers
/// picked in a draw view, and by one automatic filter step. It owns the
/// filter engine (which raises) and is the error boundary of its operations.

#include "core/OpResult.h"
#include "filters/FilterEngine.h"

#include <QObject>
#include <QString>
#include <QStringList>

namespace lot {

class TFiltersController : public QObject {
    Q_OBJECT
public:
    TFiltersController(IHost &host, TStatList &stats, const TDrawsArchive &archive, TCombsController &combs,
                       TStatTable &table, QObject *parent = nullptr);

    /// The engine: the filtering pass and the automatic steps of scripts.
    TFilterEngine &Engine() { return m_engine; }
    const TFilterEngine &Engine() const { return m_engine; }

    /// StatFilter_Include / StatFilter_Exclude are enabled: idle, a non-empty
    /// list and at least one selected row.
    bool CanFilterBySelection() const { return m_engine.CanFilterBySelection(); }
    /// StatFilter_Include (del false: keep) and StatFilter_Exclude (del true:
    /// delete): the undo copy, then the pass over the selected rows. An error
    /// is shown as "Ошибка фильтрации комбинаций!\r\r%s" and leaves the list
    /// as it was.
    TOpResult FilterBySelection(bool del);
    /// The draw views' filter actions (CardFilter_Include and the others):
    /// the undo copy, then the pass over the numbers of the selection; a
    /// selection without numbers shows "В выделенном диапазоне нет значений
    /// для фильтра!" and changes nothing.
    TOpResult FilterByNumbers(TNumberView view, const QStringList &cells, bool del, const QString &caption);
    /// One automatic filter step with the step's own weight coefficients,
    /// which last for the step only (as in a script run).
    TOpResult RunFilterStep(const TFilterPart &part);

private:
    IHost &m_host;
    TStatList &m_stats;
    TFilterEngine m_engine;
};

} // namespace lot
