#include "gui/shell/Page.h"

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

} // namespace lot
