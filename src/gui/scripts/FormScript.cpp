#include "gui/scripts/FormScript.h"

#include "filters/FilterText.h"
#include "gui/filters/FormFilter.h"
#include "scripts/ScriptLine.h"

#include <limits>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QEvent>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace lot {

namespace {

void SetHint(QWidget *widget, const QString &hint) {
    widget->setToolTip(hint);
    widget->setStatusTip(hint);
}

} // namespace

TFormScript::TFormScript(const TStatList &stats, const TStatTable &table, IHost *host, QWidget *parent)
    : QDialog(parent), m_stats(stats), m_table(table), m_host(host) {
    setObjectName(QStringLiteral("TFormScript"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 10, 12, 10);

    layout->addWidget(new QLabel(QStringLiteral("Комментарии:"), this));
    m_edComment = new QLineEdit(this);
    m_edComment->setObjectName(QStringLiteral("edComment"));
    SetHint(m_edComment, QStringLiteral("Комментарии (можно оставить пустым)"));
    layout->addWidget(m_edComment);

    auto *options = new QGroupBox(QStringLiteral(" Опции "), this);
    options->setObjectName(QStringLiteral("gbOptions"));
    auto *grid = new QGridLayout(options);
    grid->addWidget(new QLabel(QStringLiteral("Начальный список комбинаций:"), options), 0, 0);
    grid->addWidget(new QLabel(QStringLiteral("Кол-во тиражей:"), options), 0, 1);
    m_cbSource = new QComboBox(options);
    m_cbSource->setObjectName(QStringLiteral("cbSource"));
    for (int i = 0; i < ScriptSourceCount; ++i)
        m_cbSource->addItem(ScriptSourceCaption(i));
    grid->addWidget(m_cbSource, 1, 0);
    m_edDraws = new QSpinBox(options);
    m_edDraws->setObjectName(QStringLiteral("edDraws"));
    m_edDraws->setRange(0, std::numeric_limits<int>::max());
    SetHint(m_edDraws, QStringLiteral("Исключить указанное количество тиражей из списка комбинаций перед "
                                      "применением фильтров"));
    grid->addWidget(m_edDraws, 1, 1);
    grid->addWidget(
        new QLabel(QStringLiteral("В случае неоднозначного результата после применения фильтров:"), options),
        2, 0, 1, 2);
    m_cbStakeMode = new QComboBox(options);
    m_cbStakeMode->setObjectName(QStringLiteral("cbStakeMode"));
    for (int i = 0; i < ScriptStakeModeCount; ++i)
        m_cbStakeMode->addItem(ScriptStakeModeCaption(i));
    grid->addWidget(m_cbStakeMode, 3, 0, 1, 2);
    m_chClear = new QCheckBox(
        QStringLiteral("Удалить все ставки перед выполнением (накопление только рейтинга)"), options);
    m_chClear->setObjectName(QStringLiteral("chClearStakes"));
    grid->addWidget(m_chClear, 4, 0, 1, 2);
    m_chNewOnly = new QCheckBox(
        QStringLiteral("Только новые ставки (пропускать те ставки, которые уже есть в списке)"), options);
    m_chNewOnly->setObjectName(QStringLiteral("chNewOnly"));
    grid->addWidget(m_chNewOnly, 5, 0, 1, 2);
    grid->setColumnStretch(0, 1);
    layout->addWidget(options);

    auto *filters = new QGroupBox(QStringLiteral(" Фильтры "), this);
    filters->setObjectName(QStringLiteral("gbFilters"));
    auto *form = new QFormLayout(filters);
    for (int k = 0; k < FilterSlotCount; ++k) {
        auto *edit = new QLineEdit(filters);
        edit->setObjectName(QStringLiteral("edFilter%1").arg(k + 1));
        edit->installEventFilter(this);
        auto *button = new QPushButton(QStringLiteral("..."), filters);
        button->setObjectName(QStringLiteral("btFilter%1").arg(k + 1));
        button->setFixedWidth(28);
        SetHint(button, QStringLiteral("Редактировать фильтр"));
        connect(button, &QPushButton::clicked, this, [this, k] { EditFilterField(k + 1); });
        auto *row = new QHBoxLayout;
        row->addWidget(edit, 1);
        row->addWidget(button);
        form->addRow(QStringLiteral("Фильтр %1:").arg(k + 1), row);
        m_edFilters[size_t(k)] = edit;
        m_btFilters[size_t(k)] = button;
    }
    layout->addWidget(filters);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->setObjectName(QStringLiteral("btButtons"));
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("ОК"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Отмена"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    setMinimumWidth(560);
}

bool TFormScript::EditScriptLine(const TStatList &stats, const TStatTable &table, IHost *host,
                                 QWidget *parent, const QString &title, int excludedDraws, QString &line) {
    TFormScript form(stats, table, host, parent);
    form.setWindowTitle(title);
    form.SetExcludedDraws(excludedDraws);
    form.SetLine(line);
    if (form.exec() != QDialog::Accepted) return false;
    line = form.Line();
    return true;
}

void TFormScript::SetExcludedDraws(int draws) {
    m_edDraws->setValue(draws);
}

void TFormScript::SetLine(const QString &line) {
    if (IsScriptSeparator(line)) return;
    m_edComment->setText(LineComments(line));
    const TScriptOptions o = TextToOptions(LineOptions(line));
    m_cbSource->setCurrentIndex(o.Source);
    m_edDraws->setValue(o.DrawsExclude);
    m_cbStakeMode->setCurrentIndex(o.StakeMode);
    m_chClear->setChecked(o.ClearStakes);
    m_chNewOnly->setChecked(o.NewOnly);
    for (int k = 0; k < FilterSlotCount; ++k)
        m_edFilters[size_t(k)]->setText(LineFilter(line, k + 1));
}

QString TFormScript::Line() const {
    TScriptOptions o;
    o.Source = uint8_t(std::max(0, m_cbSource->currentIndex()));
    o.DrawsExclude = m_edDraws->value();
    o.StakeMode = uint8_t(std::max(0, m_cbStakeMode->currentIndex()));
    o.ClearStakes = m_chClear->isChecked();
    o.NewOnly = m_chNewOnly->isChecked();
    QStringList filters;
    for (QLineEdit *edit : m_edFilters)
        filters << edit->text();
    return JoinScriptLine(OptionsToText(o), filters, m_edComment->text());
}

QLineEdit *TFormScript::FilterEdit(int slot) const {
    return slot >= 1 && slot <= FilterSlotCount ? m_edFilters[size_t(slot - 1)] : nullptr;
}

QPushButton *TFormScript::FilterButton(int slot) const {
    return slot >= 1 && slot <= FilterSlotCount ? m_btFilters[size_t(slot - 1)] : nullptr;
}

bool TFormScript::EditFilterField(int slot) {
    QLineEdit *edit = FilterEdit(slot);
    if (!edit) return false;
    TFilterItem item = TextToFilter(m_stats, edit->text());
    if (!TFormFilter::EditFilter(m_stats, m_table, item, m_host, this)) return false;
    edit->setText(FilterToText(m_stats, item));
    return true;
}

bool TFormScript::eventFilter(QObject *watched, QEvent *event) {
    if (event->type() == QEvent::MouseButtonDblClick) {
        for (int k = 0; k < FilterSlotCount; ++k) {
            if (watched == m_edFilters[size_t(k)]) {
                EditFilterField(k + 1);
                return true;
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace lot
