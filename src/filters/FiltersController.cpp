#include "filters/FiltersController.h"

#include "combs/CombsController.h"
#include "core/Host.h"
#include "stats/StatList.h"

namespace lot {

namespace {
const char *const FilterErrorFormat = "Ошибка фильтрации комбинаций!\r\r%s";
} // namespace

TFiltersController::TFiltersController(IHost &host, TStatList &stats, const TDrawsArchive &archive,
                                       TCombsController &combs, TStatTable &table, QObject *parent)
    : QObject(parent), m_host(host), m_stats(stats), m_engine(host, stats, archive, combs, table) {}

TOpResult TFiltersController::FilterBySelection(bool del) {
    TBusyGuard busy(m_host);
    return Guarded(m_host, QString::fromUtf8(FilterErrorFormat), [&] {
        m_engine.Combs().MakeUndoCopy(true);
        m_engine.ApplySelection(nullptr, del);
    });
}

TOpResult TFiltersController::FilterByNumbers(TNumberView view, const QStringList &cells, bool del,
                                              const QString &caption) {
    if (TFilterEngine::CollectNumbers(view, cells).Numbers.isEmpty())
        return Refused(m_host, TFilterEngine::NoValuesText());
    TBusyGuard busy(m_host);
    return Guarded(m_host, QString::fromUtf8(FilterErrorFormat), [&] {
        m_engine.Combs().MakeUndoCopy(true);
        m_engine.ApplyNumberSelection(view, cells, del, caption);
    });
}

TOpResult TFiltersController::RunFilterStep(const TFilterPart &part) {
    m_stats.PushWeightCoefs();
    const TOpResult r = Guarded(m_host, {}, [&] { m_engine.ApplyFilterPart(part); });
    m_stats.PopWeightCoefs();
    return r;
}

} // namespace lot
