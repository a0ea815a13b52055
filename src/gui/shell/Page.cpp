#include "gui/shell/Page.h"

#include <QTabWidget>
#include <QWidget>

namespace lot {

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
