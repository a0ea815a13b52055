#include "gui/scripts/FormTestCnt.h"

#include <algorithm>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace lot {

TFormTestCnt::TFormTestCnt(int maxCount, QWidget *parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TFormTestCnt"));
    setWindowTitle(QStringLiteral("Количество тестов"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(14, 10, 14, 10);
    layout->addWidget(new QLabel(QStringLiteral("Укажите количество тестов:"), this));
    m_edCount = new QSpinBox(this);
    m_edCount->setObjectName(QStringLiteral("edCount"));
    m_edCount->setRange(1, std::max(1, maxCount));
    m_edCount->setValue(std::min(DefaultCount, std::max(1, maxCount)));
    const QString hint =
        QStringLiteral("Укажите количество последних тиражей, на которых будет производится тестирование");
    m_edCount->setToolTip(hint);
    m_edCount->setStatusTip(hint);
    layout->addWidget(m_edCount);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("ОК"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Отмена"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    setMinimumWidth(300);
    m_edCount->setFocus();
}

bool TFormTestCnt::Execute(int maxCount, int &count, QWidget *parent) {
    TFormTestCnt form(maxCount, parent);
    if (form.exec() != QDialog::Accepted) return false;
    count = form.Count();
    return true;
}

int TFormTestCnt::Count() const {
    return m_edCount->value();
}

} // namespace lot
