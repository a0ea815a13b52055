#include "catalogue/SystemCatalogueStatus.h"

#include "core/Format.h"
#include "core/Host.h"

namespace lot {

QList<tSystemInfo> TSystemCatalogueStatus::ListSystems() {
    QList<tSystemInfo> list = m_catalogue.ListSystems();
    m_titles.clear();
    for (const tSystemInfo &s : list)
        m_titles.insert(s.Id, s.Title);
    return list;
}

QString TSystemCatalogueStatus::SystemContent(int32_t id) {
    m_host.ShowStatus(
        Format(QStringLiteral("Загрузка \"%s\"..."), {m_titles.value(id, QString::number(id))}));
    return m_catalogue.SystemContent(id);
}

int32_t TSystemCatalogueStatus::SaveSystem(const tSystemData &data, bool deletion) {
    m_host.ShowStatus(
        Format(deletion ? QStringLiteral("Удаление \"%s\"...") : QStringLiteral("Сохранение \"%s\"..."),
               {data.Info.Title}));
    const int32_t id = m_catalogue.SaveSystem(data, deletion);
    if (!deletion && id > 0) m_titles.insert(id, data.Info.Title);
    return id;
}

} // namespace lot
