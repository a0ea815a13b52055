#include "gui/catalogue/FormScrRates.h"

#include "catalogue/CatalogueController.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace lot {

TFormScrRates::TFormScrRates(const QList<tScriptRate> &rates, QWidget *parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TFormScrRates"));
    setWindowTitle(QStringLiteral("Оценки пользователей"));
    auto *layout = new QVBoxLayout(this);
    m_list = new QTreeWidget(this);
    m_list->setObjectName(QStringLiteral("lvRates"));
    m_list->setRootIsDecorated(false);
    m_list->setColumnCount(TCatalogueController::RateColumnCount);
    QStringList captions;
    for (int c = 0; c < TCatalogueController::RateColumnCount; ++c)
        captions << TCatalogueController::RateColumnCaption(c);
    m_list->setHeaderLabels(captions);
    for (const tScriptRate &r : rates) {
        auto *item = new QTreeWidgetItem(m_list);
        for (int c = 0; c < TCatalogueController::RateColumnCount; ++c)
            item->setText(c, TCatalogueController::RateCellText(r, c));
    }
    const int widths[] = {140, 60, 150, 110, 70, 300};
    for (int c = 0; c < TCatalogueController::RateColumnCount; ++c)
        m_list->setColumnWidth(c, widths[c]);
    layout->addWidget(m_list, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    auto *close = new QPushButton(QStringLiteral("Закрыть"), this);
    close->setObjectName(QStringLiteral("btnClose"));
    close->setDefault(true);
    buttons->addWidget(close);
    layout->addLayout(buttons);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    resize(760, 360);
}

} // namespace lot
