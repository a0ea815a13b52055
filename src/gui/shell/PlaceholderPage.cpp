#include "gui/shell/PlaceholderPage.h"

namespace lot {

TPlaceholderPage::TPlaceholderPage(const QString &name, const QString &caption, TActionList &actions,
                                   QWidget *parent)
    : QWidget(parent), TPage(this, actions), m_caption(caption) {
    setObjectName(name);
}

} // namespace lot
