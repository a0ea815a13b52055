#pragma once
// The fields the stake dialogs share, with their ranges and hints.

#include <QString>

class QDialog;
class QDialogButtonBox;
class QLineEdit;
class QSpinBox;
class QWidget;

namespace lot {

class IHost;

/// Tool tip and status tip.
void SetHint(QWidget *widget, const QString &hint);
/// "edDrawNumber": 1..2147483647.
QSpinBox *NewDrawNumberEdit(QWidget *parent, int value, const QString &hint);
/// "edDrawsCount": 1..65535.
QSpinBox *NewDrawsCountEdit(QWidget *parent, int value);
/// "edComment": at most 64 characters.
QLineEdit *NewCommentEdit(QWidget *parent, const QString &text);
/// OK and "Отмена" wired to the dialog's accept and reject.
QDialogButtonBox *NewOkCancel(QDialog *dialog);
/// Shows "Необходимо ввести комментарий!" and focuses the field when it is
/// empty (blanks only count as empty: such a comment names nothing).
bool RequireComment(IHost &host, QLineEdit *comment);

} // namespace lot
