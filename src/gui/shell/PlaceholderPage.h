#pragma once

#include "gui/shell/Page.h"

#include <QWidget>

namespace lot {

/// A tab of the right page control that is not built yet: an empty page
/// under the tab's object name and caption, so the tab order, the tab
/// switches and the screenshots already see it.
class TPlaceholderPage : public QWidget, public TPage {
    Q_OBJECT
public:
    TPlaceholderPage(const QString &name, const QString &caption, TActionList &actions,
                     QWidget *parent = nullptr);

    QString Caption() const override { return m_caption; }
    TPageControl Control() const override { return TPageControl::Main; }

private:
    QString m_caption;
};

} // namespace lot
