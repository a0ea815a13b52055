#include "gui/stakes/FormTable.h"

#include "core/CoreHelpers.h"
#include "core/Host.h"
#include "gui/stakes/StakeFields.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace lot {

TFormTable::TFormTable(IHost &host, const TTableRec &rule, const QStringList &names, QWidget *parent)
    : QDialog(parent), m_host(host), m_result(rule), m_names(names), m_selected(rule.Stakes) {
    setObjectName(QStringLiteral("TFormTable"));
    setWindowTitle(QStringLiteral("Добавление регулярной ставки"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(14, 10, 14, 10);
    layout->setSpacing(4);

    layout->addWidget(new QLabel(QStringLiteral("Комментарий к ставке:"), this));
    m_edComment = NewCommentEdit(this, TableName(rule));
    m_edComment->setMaxLength(TableNameMaxLength);
    layout->addWidget(m_edComment);
    layout->addSpacing(6);

    m_rbUseMyComb = new QRadioButton(QStringLiteral("Использовать постоянную стартовую комбинацию:"), this);
    m_rbUseMyComb->setObjectName(QStringLiteral("rbUseMyComb"));
    layout->addWidget(m_rbUseMyComb);
    m_edCombStart = new QLineEdit(this);
    m_edCombStart->setObjectName(QStringLiteral("edCombStart"));
    SetHint(m_edCombStart, QStringLiteral("Введите числа, разделенные точкой с запятой или запятой"));
    m_edCombStart->setText(m_selected == 1 ? CombToText(TableStart(rule))
                                           : QStringLiteral("{...Выделенные комбинации...}"));
    auto *indented = new QHBoxLayout;
    indented->addSpacing(20);
    indented->addWidget(m_edCombStart, 1);
    layout->addLayout(indented);
    m_rbUseLastDraw = new QRadioButton(QStringLiteral("Использовать данные предыдущего тиража"), this);
    m_rbUseLastDraw->setObjectName(QStringLiteral("rbUseLastDraw"));
    layout->addWidget(m_rbUseLastDraw);
    (rule.UseLastDraw ? m_rbUseLastDraw : m_rbUseMyComb)->setChecked(true);
    layout->addSpacing(6);

    layout->addWidget(new QLabel(QStringLiteral("Шаг:"), this));
    m_edStep = new QSpinBox(this);
    m_edStep->setObjectName(QStringLiteral("edStep"));
    m_edStep->setRange(-TableStepLimit, TableStepLimit);
    m_edStep->setValue(qBound(-TableStepLimit, rule.Step, TableStepLimit));
    m_edStep->setMaximumWidth(90);
    SetHint(m_edStep, QStringLiteral("Шаг изменения элементов комбинации"));
    layout->addWidget(m_edStep);

    layout->addStretch(1);
    layout->addWidget(NewOkCancel(this));
    connect(m_rbUseMyComb, &QRadioButton::toggled, this, &TFormTable::UpdateEnabled);
    UpdateEnabled();
    setMinimumWidth(420);
    m_edComment->setFocus();
}

bool TFormTable::Execute(IHost &host, TTableRec &rule, const QStringList &names, QWidget *parent) {
    TFormTable form(host, rule, names, parent);
    if (form.exec() != QDialog::Accepted) return false;
    rule = form.Rule();
    return true;
}

void TFormTable::UpdateEnabled() {
    m_edCombStart->setEnabled(m_rbUseMyComb->isChecked() && m_selected == 1);
}

void TFormTable::accept() {
    const bool askStart = m_rbUseMyComb->isChecked() && m_selected == 1;
    TComb start = TableStart(m_result);
    const TTableRuleError error =
        CheckTableRule(m_edComment->text(), askStart, m_edCombStart->text(), m_names, &start);
    if (error != TTableRuleError::None) {
        m_host.ShowError(TableRuleErrorText(error));
        (error == TTableRuleError::BadCombination ? m_edCombStart : m_edComment)->setFocus();
        return;
    }
    SetTableName(m_result, m_edComment->text());
    m_result.UseLastDraw = m_rbUseLastDraw->isChecked() ? 1 : 0;
    m_result.Step = m_edStep->value();
    if (m_selected == 1) {
        SortComb(start);
        SetTableStart(m_result, start);
    }
    QDialog::accept();
}

} // namespace lot
