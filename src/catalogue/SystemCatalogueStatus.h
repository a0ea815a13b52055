#pragma once
/// @file TSystemCatalogueStatus: the catalogue's system calls with their status texts. It
/// forwards to a catalogue and shows "Загрузка \"%s\"..." while a system's content arrives,
/// "Сохранение \"%s\"..." and "Удаление \"%s\"..." while one is saved or deleted, with the
/// system's title (the content call knows only the id, so the titles of the last list are kept).

#include "systems/SystemInfo.h"

#include <QHash>

namespace lot {

class IHost;

class TSystemCatalogueStatus : public ISystemCatalogue {
public:
    TSystemCatalogueStatus(ISystemCatalogue &catalogue, IHost &host) : m_catalogue(catalogue), m_host(host) {}

    QList<tSystemInfo> ListSystems() override;
    QString SystemContent(int32_t id) override;
    int32_t SaveSystem(const tSystemData &data, bool deletion) override;

private:
    ISystemCatalogue &m_catalogue;
    IHost &m_host;
    QHash<int32_t, QString> m_titles;
};

} // namespace lot
