#include "gui/stakes/FormMulti.h"

#include "gui/stakes/StakeFields.h"

#include <QDialogButtonBox>

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QVBoxLayout>

namespace lot {

TFormMulti::TFormMulti(IHost &host, int drawNumber, int drawsCount, const QString &comment, QWidget *parent)
    : QDialog(parent), m_host(host) {
    setObjectName(QStringLiteral("TFormMulti"));
    setWindowTitle(QStringLiteral("Добавление мультиставки"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(14, 10, 14, 10);
    auto *form = new QFormLayout;
    form->setRowWrapPolicy(QFormLayout::WrapAllRows);
    form->setVerticalSpacing(4);
    layout->addLayout(form);

    m_edDrawNumber = NewDrawNumberEdit(this, drawNumber, QStringLiteral("Номер тиража"));
    m_edDrawsCount = NewDrawsCountEdit(this, drawsCount);
    auto *labels = new QHBoxLayout;
    labels->addWidget(new QLabel(QStringLiteral("Номер тиража:"), this), 1);
    labels->addWidget(new QLabel(QStringLiteral("Кол-во тиражей:"), this), 1);
    auto *numbers = new QHBoxLayout;
    numbers->addWidget(m_edDrawNumber);
    numbers->addWidget(m_edDrawsCount);
    form->addRow(labels);
    form->addRow(numbers);

    m_edComment = NewCommentEdit(this, comment);
    form->addRow(new QLabel(QStringLiteral("Комментарий к ставке:"), this));
    form->addRow(m_edComment);

    layout->addStretch(1);
    layout->addWidget(NewOkCancel(this));
    setMinimumWidth(360);
    m_edComment->setFocus();
    m_edComment->selectAll();
}

bool TFormMulti::Execute(IHost &host, int &drawNumber, int &drawsCount, QString &comment, QWidget *parent) {
    TFormMulti form(host, drawNumber, drawsCount, comment, parent);
    if (form.exec() != QDialog::Accepted) return false;
    drawNumber = form.DrawNumber();
    drawsCount = form.DrawsCount();
    comment = form.Comment();
    return true;
}

int TFormMulti::DrawNumber() const {
    return m_edDrawNumber->value();
}

int TFormMulti::DrawsCount() const {
    return m_edDrawsCount->value();
}

QString TFormMulti::Comment() const {
    return m_edComment->text();
}

void TFormMulti::accept() {
    if (!RequireComment(m_host, m_edComment)) return;
    QDialog::accept();
}

} // namespace lot
