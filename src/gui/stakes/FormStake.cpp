#include "gui/stakes/FormStake.h"

#include "core/CoreHelpers.h"
#include "core/Host.h"
#include "core/Messages.h"
#include "gui/stakes/StakeFields.h"

#include <QDialogButtonBox>

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QVBoxLayout>

namespace lot {

TFormStake::TFormStake(IHost &host, const TStakeRec &rec, int drawsCount, QWidget *parent)
    : QDialog(parent), m_host(host), m_result(rec) {
    setObjectName(QStringLiteral("TFormStake"));
    setWindowTitle(QStringLiteral("Добавление ставки"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(14, 10, 14, 10);
    auto *form = new QFormLayout;
    form->setRowWrapPolicy(QFormLayout::WrapAllRows);
    form->setVerticalSpacing(4);
    layout->addLayout(form);

    m_edDrawNumber = NewDrawNumberEdit(this, rec.DrawNumber, QStringLiteral("Номер первого тиража"));
    m_edDrawsCount = NewDrawsCountEdit(this, drawsCount);
    auto *numbers = new QHBoxLayout;
    numbers->addWidget(m_edDrawNumber);
    numbers->addWidget(m_edDrawsCount);
    auto *labels = new QHBoxLayout;
    labels->addWidget(new QLabel(QStringLiteral("Номер тиража:"), this), 1);
    labels->addWidget(new QLabel(QStringLiteral("Кол-во тиражей:"), this), 1);
    form->addRow(labels);
    form->addRow(numbers);

    m_edStakeData = new QLineEdit(NumberSetToText(rec.Numbers, QStringLiteral(";")), this);
    m_edStakeData->setObjectName(QStringLiteral("edStakeData"));
    SetHint(m_edStakeData, QStringLiteral("Введите числа, разделенные точкой с запятой или запятой"));
    m_edStakeSum = new QLineEdit(this);
    m_edStakeSum->setObjectName(QStringLiteral("edStakeSum"));
    m_edStakeSum->setReadOnly(true);
    m_edStakeSum->setMaximumWidth(80);
    SetHint(m_edStakeSum, QStringLiteral("Сумма введенных чисел"));
    auto *stakeRow = new QHBoxLayout;
    stakeRow->addWidget(m_edStakeData, 1);
    stakeRow->addSpacing(6);
    stakeRow->addWidget(new QLabel(QStringLiteral("Сумма:"), this));
    stakeRow->addWidget(m_edStakeSum);
    form->addRow(new QLabel(QStringLiteral("Ставка:"), this));
    form->addRow(stakeRow);

    m_edComment = NewCommentEdit(this, StakeComment(rec));
    form->addRow(new QLabel(QStringLiteral("Комментарий к ставке:"), this));
    form->addRow(m_edComment);

    layout->addStretch(1);
    layout->addWidget(NewOkCancel(this));
    connect(m_edStakeData, &QLineEdit::textChanged, this, &TFormStake::UpdateSum);
    UpdateSum();
    setMinimumWidth(420);
    m_edStakeData->setFocus();
}

bool TFormStake::Execute(IHost &host, TStakeRec &rec, int &drawsCount, QWidget *parent) {
    TFormStake form(host, rec, drawsCount, parent);
    if (form.exec() != QDialog::Accepted) return false;
    rec = form.Stake();
    drawsCount = form.DrawsCount();
    return true;
}

int TFormStake::DrawsCount() const {
    return m_edDrawsCount->value();
}

void TFormStake::UpdateSum() {
    m_edStakeSum->setText(QString::number(StakeNumbersSum(m_edStakeData->text())));
}

void TFormStake::accept() {
    TNumberSet numbers;
    if (!ParseStakeNumbers(m_edStakeData->text(), numbers)) {
        m_host.ShowError(QString::fromUtf8(msg::BadCombination));
        m_edStakeData->setFocus();
        return;
    }
    if (!RequireComment(m_host, m_edComment)) return;
    m_result.DrawNumber = m_edDrawNumber->value();
    m_result.Numbers = numbers;
    SetStakeComment(m_result, m_edComment->text());
    QDialog::accept();
}

} // namespace lot
