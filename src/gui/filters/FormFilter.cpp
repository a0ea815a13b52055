#include "gui/filters/FormFilter.h"

#include "core/CoreHelpers.h"
#include "core/Host.h"
#include "stats/StatTable.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <limits>

namespace lot {

namespace {

const char *const BadRangeMessage = "Введен некорректный диапазон значений!";
const char *const NoValueListMessage =
    "Для данного вида статистики не доступен режим выделения по списку значений!";
const char *const MultiStopMessage =
    "В режиме мультивыделения остановка сценария по количеству комбинаций или "
    "чисел не может быть выполнена!\rВыберите другой способ останова.";

constexpr double CoefLimit = 1e9;

QComboBox *MakeCombo(const char *name, const QStringList &items, QWidget *parent) {
    auto *box = new QComboBox(parent);
    box->setObjectName(QLatin1String(name));
    box->addItems(items);
    return box;
}

QDoubleSpinBox *MakeCoefEdit(const char *name, QWidget *parent) {
    auto *edit = new QDoubleSpinBox(parent);
    edit->setObjectName(QLatin1String(name));
    edit->setDecimals(3);
    edit->setRange(-CoefLimit, CoefLimit);
    edit->setSingleStep(0.1);
    return edit;
}

/// Typing into the lengths and values fields: digits, ",", "-", ";" and
/// control keys only.
bool IsAcceptedText(const QString &text) {
    for (const QChar ch : text) {
        if (ch.unicode() < 0x20 || ch.unicode() == 0x7F) continue;
        if (ch.isDigit() && ch.unicode() < 0x80) continue;
        if (ch == QLatin1Char(',') || ch == QLatin1Char('-') || ch == QLatin1Char(';')) continue;
        return false;
    }
    return true;
}

QStringList LevelModeCaptions() {
    QStringList captions;
    for (int i = 0; i < LevelModeCount; ++i)
        captions << LevelModeCaption(i);
    return captions;
}

QStringList StopModeCaptions() {
    QStringList captions;
    for (int i = 0; i < StopModeCount; ++i)
        captions << StopModeCaption(i);
    return captions;
}

/// Selects index when the box has it; an index from a hand-written filter
/// text outside the list keeps the current item rather than none.
void SelectIfValid(QComboBox *box, int index) {
    if (index >= 0 && index < box->count()) box->setCurrentIndex(index);
}

} // namespace

TFormFilter::TFormFilter(const TStatList &stats, const QList<TSelectorItem> &methods, int methodIndex,
                         int sampleLength, IHost *host, QWidget *parent)
    : QDialog(parent), m_stats(stats), m_host(host) {
    CreateControls(methods, methodIndex, sampleLength);
}

TFormFilter::TFormFilter(const TStatList &stats, const TStatTable &table, IHost *host, QWidget *parent)
    : TFormFilter(stats, table.SelectorItems(), table.SelectorIndex(), table.SampleLength(), host, parent) {}

bool TFormFilter::EditFilter(const TStatList &stats, const TStatTable &table, TFilterItem &item, IHost *host,
                             QWidget *parent) {
    TFormFilter form(stats, table, host, parent);
    form.SetFilter(item);
    if (form.exec() != QDialog::Accepted) return false;
    item = form.Filter();
    return true;
}

void TFormFilter::CreateControls(const QList<TSelectorItem> &methods, int methodIndex, int sampleLength) {
    setObjectName(QStringLiteral("TFormFilter"));
    setWindowTitle(QStringLiteral("Фильтр"));
    auto *layout = new QVBoxLayout(this);
    auto *form = new QFormLayout;
    form->setRowWrapPolicy(QFormLayout::WrapAllRows);
    layout->addLayout(form);

    m_cbMethod = new QComboBox(this);
    m_cbMethod->setObjectName(QStringLiteral("cbMethod"));
    for (const TSelectorItem &item : methods)
        m_cbMethod->addItem(item.Caption, item.Entry);
    SelectIfValid(m_cbMethod, methodIndex);
    form->addRow(QStringLiteral("Тип фильтра:"), m_cbMethod);

    m_edLengths = new QLineEdit(QString::number(sampleLength), this);
    m_edLengths->setObjectName(QStringLiteral("edLengths"));
    m_edLengths->installEventFilter(this);
    form->addRow(QStringLiteral("Количество тиражей:"), m_edLengths);

    m_cbSort = MakeCombo("cbSortColumn", TStatTable::ColumnCaptions(), this);
    SelectIfValid(m_cbSort, scCount);
    form->addRow(QStringLiteral("Сортировать по столбцу:"), m_cbSort);

    m_cbDirection =
        MakeCombo("cbDirection", {QStringLiteral("Сверху-вниз"), QStringLiteral("Снизу-вверх")}, this);
    form->addRow(QStringLiteral("Направление:"), m_cbDirection);

    m_cbFilterMode = MakeCombo(
        "cbFilterMode", {QStringLiteral("Удалить выделенные"), QStringLiteral("Оставить выделенные")}, this);
    form->addRow(QStringLiteral("Режим фильтра:"), m_cbFilterMode);

    m_chMultiSelect = new QCheckBox(
        QStringLiteral("Использовать режим одновременного выделения нескольких значений в списке"), this);
    m_chMultiSelect->setObjectName(QStringLiteral("chMultiSelect"));
    form->addRow(m_chMultiSelect);

    m_cbLevelMode = MakeCombo("cbLevelMode", LevelModeCaptions(), this);
    form->addRow(QStringLiteral("Режим выделения значений в списке статистики:"), m_cbLevelMode);

    m_edValues = new QLineEdit(this);
    m_edValues->setObjectName(QStringLiteral("edValues"));
    m_edValues->installEventFilter(this);
    form->addRow(QStringLiteral("Значения:"), m_edValues);

    m_gbCoefs = new QGroupBox(QStringLiteral("Коэффициенты для расчета веса"), this);
    m_gbCoefs->setObjectName(QStringLiteral("gbCoefs"));
    auto *coefs = new QFormLayout(m_gbCoefs);
    m_chOverride = new QCheckBox(QStringLiteral("Использовать собственные коэффициенты фильтра"), m_gbCoefs);
    m_chOverride->setObjectName(QStringLiteral("chOverrideCoefs"));
    coefs->addRow(m_chOverride);
    m_edCoefCount = MakeCoefEdit("edCoefCount", m_gbCoefs);
    coefs->addRow(QStringLiteral("Количество:"), m_edCoefCount);
    m_edCoefDeviation = MakeCoefEdit("edCoefDeviation", m_gbCoefs);
    coefs->addRow(QStringLiteral("Отклонение:"), m_edCoefDeviation);
    m_edCoefLevel = MakeCoefEdit("edCoefLevel", m_gbCoefs);
    coefs->addRow(QStringLiteral("Глубина:"), m_edCoefLevel);
    m_chUsePercents = new QCheckBox(QStringLiteral("Использовать значения в %"), m_gbCoefs);
    m_chUsePercents->setObjectName(QStringLiteral("chUsePercents"));
    coefs->addRow(m_chUsePercents);
    m_chUseAbsValues = new QCheckBox(QStringLiteral("Использовать абсолютные значения"), m_gbCoefs);
    m_chUseAbsValues->setObjectName(QStringLiteral("chUseAbsValues"));
    coefs->addRow(m_chUseAbsValues);
    layout->addWidget(m_gbCoefs);
    ShowCoefs(m_stats.WeightCoefs());

    auto *stop = new QFormLayout;
    stop->setRowWrapPolicy(QFormLayout::WrapAllRows);
    m_cbStopMode = MakeCombo("cbStopMode", StopModeCaptions(), this);
    stop->addRow(QStringLiteral("Остановка по:"), m_cbStopMode);
    m_edStopValue = new QSpinBox(this);
    m_edStopValue->setObjectName(QStringLiteral("edStopValue"));
    m_edStopValue->setRange(1, std::numeric_limits<int>::max());
    stop->addRow(QStringLiteral("Значение:"), m_edStopValue);
    layout->addLayout(stop);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("ОК"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Отмена"));
    connect(buttons, &QDialogButtonBox::accepted, this, &TFormFilter::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);

    connect(m_cbLevelMode, &QComboBox::currentIndexChanged, this, &TFormFilter::UpdateEnabling);
    connect(m_chOverride, &QCheckBox::clicked, this, &TFormFilter::UpdateEnabling);
    UpdateEnabling();
}

void TFormFilter::ShowCoefs(const TWeightCoefs &coefs) {
    m_edCoefCount->setValue(double(coefs.Count));
    m_edCoefDeviation->setValue(double(coefs.Deviation));
    m_edCoefLevel->setValue(double(coefs.Level));
    m_chUsePercents->setChecked(coefs.UsePercents);
    m_chUseAbsValues->setChecked(coefs.UseAbsValues);
}

void TFormFilter::SetFilter(const TFilterItem &item) {
    m_item = item;
    if (!item.Enabled) return;
    int methodIndex = 0;
    for (int i = 0; i < m_cbMethod->count(); ++i)
        if (m_cbMethod->itemData(i).toInt() == item.Method) {
            methodIndex = i;
            break;
        }
    SelectIfValid(m_cbMethod, methodIndex);
    if (!item.SampleLengths.isEmpty()) m_edLengths->setText(item.SampleLengths);
    SelectIfValid(m_cbSort, item.SortColumn);
    m_cbDirection->setCurrentIndex(item.BottomUp ? 1 : 0);
    m_chMultiSelect->setChecked(item.MultiSelect);
    m_cbFilterMode->setCurrentIndex(item.KeepSelected ? 1 : 0);
    SelectIfValid(m_cbLevelMode, item.LevelMode);
    if (!item.LevelValues.isEmpty()) m_edValues->setText(item.LevelValues);
    m_chOverride->setChecked(item.OverrideCoefs);
    ShowCoefs(item.OverrideCoefs ? item.Coefs : m_stats.WeightCoefs());
    SelectIfValid(m_cbStopMode, item.StopMode);
    m_edStopValue->setValue(item.StopValue);
    UpdateEnabling();
}

TFilterItem TFormFilter::Filter() const {
    TFilterItem item = m_item;
    item.Enabled = true;
    item.Method = m_cbMethod->currentIndex() >= 0 ? m_cbMethod->currentData().toInt() : -1;
    item.SampleLengths = m_edLengths->text();
    item.SortColumn = m_cbSort->currentIndex();
    item.BottomUp = m_cbDirection->currentIndex() == 1;
    item.MultiSelect = m_chMultiSelect->isChecked();
    item.KeepSelected = m_cbFilterMode->currentIndex() == 1;
    item.LevelMode = uint8_t(m_cbLevelMode->currentIndex());
    item.LevelValues = m_edValues->text();
    item.OverrideCoefs = m_chOverride->isChecked();
    item.Coefs.Count = m_edCoefCount->value();
    item.Coefs.Deviation = m_edCoefDeviation->value();
    item.Coefs.Level = m_edCoefLevel->value();
    item.Coefs.UsePercents = m_chUsePercents->isChecked();
    item.Coefs.UseAbsValues = m_chUseAbsValues->isChecked();
    item.StopMode = uint8_t(m_cbStopMode->currentIndex());
    item.StopValue = m_edStopValue->value();
    return item;
}

void TFormFilter::UpdateEnabling() {
    m_chOverride->setEnabled(IsWeightLevelMode(m_cbLevelMode->currentIndex()));
    const bool own = m_chOverride->isEnabled() && m_chOverride->isChecked();
    for (QWidget *w : std::initializer_list<QWidget *>{m_edCoefCount, m_edCoefDeviation, m_edCoefLevel,
                                                       m_chUsePercents, m_chUseAbsValues})
        w->setEnabled(own);
}

bool TFormFilter::SelectedMethodAllowsValueList() const {
    const int entry = m_cbMethod->currentIndex() >= 0 ? m_cbMethod->currentData().toInt() : -1;
    return entry >= 0 && entry < m_stats.Count() && m_stats.Items(entry).StatClass->AllowsValueList();
}

bool TFormFilter::Refuse(const QString &message, QWidget *control) {
    if (m_host)
        m_host->ShowError(message);
    else
        QMessageBox::critical(this, QStringLiteral("Ошибка"), message);
    control->setFocus();
    return false;
}

bool TFormFilter::Validate() {
    const QList<int> lengths = ParseIntList(m_edLengths->text());
    if (lengths.isEmpty() || (lengths.size() == 1 && lengths[0] == 0))
        return Refuse(QString::fromUtf8(BadRangeMessage), m_edLengths);
    const int mode = m_cbLevelMode->currentIndex();
    if (mode > 0) {
        if (mode == lmValueList && !SelectedMethodAllowsValueList())
            return Refuse(QString::fromUtf8(NoValueListMessage), m_cbLevelMode);
        if (ParseIntList(m_edValues->text()).isEmpty())
            return Refuse(QString::fromUtf8(BadRangeMessage), m_edValues);
    }
    if (m_chMultiSelect->isChecked() && m_cbStopMode->currentIndex() == smCombCount)
        return Refuse(QString::fromUtf8(MultiStopMessage), m_cbStopMode);
    return true;
}

void TFormFilter::accept() {
    if (!Validate()) return;
    m_item = Filter();
    QDialog::accept();
}

bool TFormFilter::eventFilter(QObject *watched, QEvent *event) {
    if ((watched == m_edLengths || watched == m_edValues) && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (!IsAcceptedText(key->text())) return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TFormFilter::showEvent(QShowEvent *event) {
    UpdateEnabling();
    QDialog::showEvent(event);
}

} // namespace lot
