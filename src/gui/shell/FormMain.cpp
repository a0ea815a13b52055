#include "gui/shell/FormMain.h"

namespace lot {

TFormMain::TFormMain(const QString &dataDir, const QStringList &args, QWidget *parent)
    : TTemplateMain(dataDir, args, parent) {}

} // namespace lot
