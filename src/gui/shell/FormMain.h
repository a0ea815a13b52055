#pragma once

#include "gui/shell/TemplateMain.h"

namespace lot {

/// The game's own main window: the results download joins here.
class TFormMain : public TTemplateMain {
    Q_OBJECT
public:
    TFormMain(const QString &dataDir, const QStringList &args, QWidget *parent = nullptr);
};

} // namespace lot
