#pragma once

#include "catalogue/CatalogueTypes.h"

#include <QDialog>
#include <QList>

class QTreeWidget;

namespace lot {

/// "Оценки пользователей": one row per rating of a catalogue script.
class TFormScrRates : public QDialog {
    Q_OBJECT
public:
    explicit TFormScrRates(const QList<tScriptRate> &rates, QWidget *parent = nullptr);
    QTreeWidget *List() const { return m_list; }

private:
    QTreeWidget *m_list = nullptr;
};

} // namespace lot
