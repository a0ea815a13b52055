#include "gui/stakes/FormStakeFilter.h"

#include "gui/stakes/StakeFields.h"
#include "stakes/StakeRec.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace lot {

TFormStakeFilter::TFormStakeFilter(QWidget *parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TFormStakeFilter"));
    setWindowTitle(QStringLiteral("Удаление по условию"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(14, 10, 14, 10);
    layout->addWidget(new QLabel(QStringLiteral("Выберите условие:"), this));

    m_cbCondition = new QComboBox(this);
    m_cbCondition->setObjectName(QStringLiteral("cbCondition"));
    for (int c = 0; c < StakeConditionCount; ++c)
        m_cbCondition->addItem(StakeConditionText(c));
    m_cbCondition->setCurrentIndex(0);
    SetHint(m_cbCondition, QStringLiteral("Режим сравнения с количеством совпадений"));
    m_edValue = new QSpinBox(this);
    m_edValue->setObjectName(QStringLiteral("edValue"));
    m_edValue->setRange(0, StakeConditionValueMax);
    m_edValue->setValue(0);
    SetHint(m_edValue, QStringLiteral("Количество совпадений"));
    auto *row = new QHBoxLayout;
    row->addWidget(m_cbCondition, 1);
    row->addWidget(m_edValue);
    layout->addLayout(row);

    layout->addStretch(1);
    QDialogButtonBox *buttons = NewOkCancel(this);
    m_ok = buttons->button(QDialogButtonBox::Ok);
    SetHint(m_ok, QStringLiteral("Удалить ставки"));
    layout->addWidget(buttons);
    setMinimumWidth(300);
}

bool TFormStakeFilter::Execute(uint16_t &packed, QWidget *parent) {
    TFormStakeFilter form(parent);
    if (form.exec() != QDialog::Accepted) return false;
    packed = form.Packed();
    return true;
}

int TFormStakeFilter::Condition() const {
    return m_cbCondition->currentIndex();
}

int TFormStakeFilter::Value() const {
    return m_edValue->value();
}

} // namespace lot
