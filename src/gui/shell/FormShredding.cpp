#include "gui/shell/FormShredding.h"

#include "core/Format.h"
#include "stats/methods/ShreddingFormula.h"
#include "stats/methods/ShreddingMethods.h"

#include <algorithm>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace lot {

namespace {

/// Message boxes show line feeds; the texts carry CR line breaks.
QString DisplayText(const QString &text) {
    QString s = text;
    s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    s.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return s;
}

} // namespace

TFormShredding::TFormShredding(const TShreddingData &data, QWidget *parent, TErrorSink errorSink)
    : QDialog(parent), m_errorSink(std::move(errorSink)) {
    setObjectName(QStringLiteral("TFormShredding"));
    setWindowTitle(QStringLiteral("Методы шинковки"));

    auto *grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("Формула"), this), 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("Цифр"), this), 0, 2);
    for (int k = 1; k <= 3; ++k) {
        auto *label = new QLabel(Format(QStringLiteral("Метод шинковки %d:"), {k}), this);
        QLineEdit *&formula = m_formula[k - 1];
        formula = new QLineEdit(data.Formula(k), this);
        formula->setObjectName(Format(QStringLiteral("edFormula%d"), {k}));
        formula->setMinimumWidth(360);
        formula->setToolTip(QStringLiteral("Арифметическое выражение над n1..n6, p1..p6, t1..t6"));
        label->setBuddy(formula);
        QSpinBox *&digits = m_digits[k - 1];
        digits = new QSpinBox(this);
        digits->setObjectName(Format(QStringLiteral("edFormula%dDigits"), {k}));
        digits->setRange(0, MaxShreddingDigits);
        digits->setValue(std::clamp(data.Digits(k), 0, MaxShreddingDigits));
        digits->setToolTip(QStringLiteral("Количество цифр дробной части"));
        grid->addWidget(label, k, 0);
        grid->addWidget(formula, k, 1);
        grid->addWidget(digits, k, 2);
    }
    grid->setColumnStretch(1, 1);

    auto *hint = new QLabel(QStringLiteral("n1..n6 — числа тиража, p1..p6 — числа предыдущего тиража, "
                                           "t1..t6 — числа тиража перед ним. Значение метода — первые цифры "
                                           "дробной части результата; ошибка вычисления дает 0."),
                            this);
    hint->setObjectName(QStringLiteral("lbHint"));
    hint->setWordWrap(true);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Отмена"));
    connect(buttons, &QDialogButtonBox::accepted, this, &TFormShredding::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(hint);
    layout->addWidget(buttons);
}

TShreddingData TFormShredding::Data() const {
    TShreddingData d;
    d.Formula1 = m_formula[0]->text();
    d.Formula2 = m_formula[1]->text();
    d.Formula3 = m_formula[2]->text();
    d.Formula1Digits = m_digits[0]->value();
    d.Formula2Digits = m_digits[1]->value();
    d.Formula3Digits = m_digits[2]->value();
    return d;
}

void TFormShredding::accept() {
    const TShreddingData d = Data();
    for (int k = 1; k <= 3; ++k) {
        const TFormulaProblem problem = CheckFormula(d.Formula(k));
        if (problem.Code < 0) continue;
        ShowError(FormulaProblemText(k, problem));
        QLineEdit *edit = m_formula[k - 1];
        edit->setFocus();
        if (problem.Position >= 0 && problem.Position <= edit->text().size())
            edit->setCursorPosition(problem.Position);
        return;
    }
    QDialog::accept();
}

bool TFormShredding::Execute(QWidget *parent, TShreddingData &data, TErrorSink errorSink) {
    TFormShredding form(data, parent, std::move(errorSink));
    if (form.exec() != QDialog::Accepted) return false;
    data = form.Data();
    return true;
}

void TFormShredding::ShowError(const QString &text) {
    if (m_errorSink)
        m_errorSink(text);
    else
        QMessageBox::critical(this, QStringLiteral("Ошибка"), DisplayText(text));
}

} // namespace lot
