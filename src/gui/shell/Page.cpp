#include "gui/shell/Page.h"

#include "core/WindowSettings.h"

#include <QTableView>
#include <QTabWidget>
#include <QWidget>

namespace lot {

void LoadColumnWidths(QTableView *list, int count, const TWindowSettings &settings, const QString &section,
                      const QString &name) {
    QList<int> current;
    for (int c = 0; c < count; ++c)
        current.append(list->columnWidth(c));
    const QList<int> widths = settings.ColumnWidths(section, name, current);
    for (int c = 0; c < count && c < widths.size(); ++c)
        if (widths[c] > 0 && widths[c] <= 4000) list->setColumnWidth(c, widths[c]);
}

void SaveColumnWidths(const QTableView *list, int count, TWindowSettings &settings, const QString &section,
                      const QString &name) {
    QList<int> widths;
    for (int c = 0; c < count; ++c)
        widths.append(list->columnWidth(c));
    settings.SetColumnWidths(section, name, widths);
}

QString TPage::Name() const {
    return m_widget->objectName();
}

QAction *TPage::AddPageAction(const TActionList::TSpec &spec, TActionList::TExecute execute,
                              TActionList::TUpdate update) {
    QAction *action = m_actionList.Add(spec, std::move(execute), std::move(update));
    m_pageActions.append(action);
    return action;
}

void ActivatePage(QWidget *page) {
    // A tab widget keeps its pages in a stack of its own.
    for (QWidget *w = page ? page->parentWidget() : nullptr; w; w = w->parentWidget())
        if (auto *tabs = qobject_cast<QTabWidget *>(w)) {
            const int index = tabs->indexOf(page);
            if (index >= 0) tabs->setCurrentIndex(index);
            return;
        }
}

} // namespace lot
