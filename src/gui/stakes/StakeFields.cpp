#include "gui/stakes/StakeFields.h"

#include "core/Host.h"
#include "core/Messages.h"
#include "stakes/StakeRec.h"

#include <limits>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>

namespace lot {

void SetHint(QWidget *widget, const QString &hint) {
    widget->setToolTip(hint);
    widget->setStatusTip(hint);
}

QSpinBox *NewDrawNumberEdit(QWidget *parent, int value, const QString &hint) {
    auto *edit = new QSpinBox(parent);
    edit->setObjectName(QStringLiteral("edDrawNumber"));
    edit->setRange(1, std::numeric_limits<int>::max());
    edit->setValue(value);
    edit->setMinimumWidth(120);
    SetHint(edit, hint);
    return edit;
}

QSpinBox *NewDrawsCountEdit(QWidget *parent, int value) {
    auto *edit = new QSpinBox(parent);
    edit->setObjectName(QStringLiteral("edDrawsCount"));
    edit->setRange(1, 65535);
    edit->setValue(value);
    edit->setMinimumWidth(120);
    SetHint(edit,
            QStringLiteral("Количество тиражей, на которые нужно сделать ставку (начиная с указанного)"));
    return edit;
}

QLineEdit *NewCommentEdit(QWidget *parent, const QString &text) {
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(QStringLiteral("edComment"));
    edit->setMaxLength(StakeCommentMaxLength);
    edit->setText(text);
    return edit;
}

QDialogButtonBox *NewOkCancel(QDialog *dialog) {
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, dialog);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Отмена"));
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    return buttons;
}

bool RequireComment(IHost &host, QLineEdit *comment) {
    if (!comment->text().trimmed().isEmpty()) return true;
    host.ShowError(QString::fromUtf8(msg::StakeCommentMissing));
    comment->setFocus();
    return false;
}

} // namespace lot
