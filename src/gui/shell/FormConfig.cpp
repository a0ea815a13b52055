#include "gui/shell/FormConfig.h"

#include "core/CoreHelpers.h"
#include "core/Format.h"

#include <algorithm>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QSpinBox>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QVBoxLayout>

namespace lot {

namespace {

const int ProfitRows = CombSize + 1; // overlaps 0..6

/// Cell editor that accepts only what the pattern allows while typing.
class TPatternDelegate : public QStyledItemDelegate {
public:
    TPatternDelegate(const QString &pattern, QObject *parent)
        : QStyledItemDelegate(parent), m_pattern(pattern) {}
    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                          const QModelIndex &index) const override {
        QWidget *editor = QStyledItemDelegate::createEditor(parent, option, index);
        if (auto *line = qobject_cast<QLineEdit *>(editor)) {
            line->setValidator(new QRegularExpressionValidator(m_pattern, line));
            line->setAlignment(Qt::AlignCenter);
        }
        return editor;
    }

private:
    QRegularExpression m_pattern;
};

QDoubleSpinBox *MakeDoubleEdit(const QString &name, int decimals, double min, double max, QWidget *parent) {
    auto *edit = new QDoubleSpinBox(parent);
    edit->setObjectName(name);
    edit->setDecimals(decimals);
    edit->setRange(min, max);
    edit->setAlignment(Qt::AlignRight);
    return edit;
}

/// Message boxes show line feeds; the texts carry CR line breaks.
QString DisplayText(const QString &text) {
    QString s = text;
    s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    s.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return s;
}

/// The prize for this overlap count; 0 when the settings list none.
TMoney PrizeFor(const TConfigData &data, int overlap) {
    for (const TProfitItem &p : data.Profits)
        if (p.Overlap == overlap) return p.Prize;
    return {};
}

int SegmentOfText(const QString &text, bool *ok = nullptr) {
    bool isInt = false;
    const int v = text.trimmed().toInt(&isInt);
    const bool valid = isInt && v >= SegmentMin && v <= SegmentMax;
    if (ok) *ok = valid;
    return valid ? v : 1;
}

} // namespace

QString TFormConfig::BadSegmentText(const QString &value) {
    return Format(QStringLiteral("Некорректное значение: %s!\r\rУкажите любое число от 1 до 9"), {value});
}

TFormConfig::TFormConfig(const TConfigData &data, QWidget *parent, TErrorSink errorSink)
    : QDialog(parent), m_original(data), m_errorSink(std::move(errorSink)), m_segments(data.MatrixSegments) {
    setObjectName(QStringLiteral("TFormConfig"));
    setWindowTitle(QStringLiteral("Параметры системы"));

    // ---- matrix and segments ----
    m_matrixCol = new QSpinBox(this);
    m_matrixCol->setObjectName(QStringLiteral("edMatrixCol"));
    m_matrixCol->setRange(MatrixColsMin, MatrixColsMax);
    m_matrixCol->setToolTip(QStringLiteral("Количество столбцов"));
    m_matrixRow = new QSpinBox(this);
    m_matrixRow->setObjectName(QStringLiteral("edMatrixRow"));
    m_matrixRow->setRange(1, NumberCount);
    m_matrixRow->setReadOnly(true);
    m_matrixRow->setButtonSymbols(QAbstractSpinBox::NoButtons);
    m_matrixRow->setToolTip(QStringLiteral("Количество строк"));
    auto *matrixRow = new QHBoxLayout;
    matrixRow->addWidget(m_matrixCol);
    matrixRow->addWidget(new QLabel(QStringLiteral("x"), this));
    matrixRow->addWidget(m_matrixRow);
    matrixRow->addStretch();

    m_segmentGrid = new QTableWidget(this);
    m_segmentGrid->setObjectName(QStringLiteral("sgSegments"));
    m_segmentGrid->horizontalHeader()->hide();
    m_segmentGrid->verticalHeader()->hide();
    m_segmentGrid->horizontalHeader()->setDefaultSectionSize(26);
    m_segmentGrid->verticalHeader()->setDefaultSectionSize(22);
    m_segmentGrid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_segmentGrid->setItemDelegate(new TPatternDelegate(QStringLiteral("[0-9]*"), m_segmentGrid));
    m_segmentGrid->setMinimumSize(200, 160);

    // ---- channels, cost and prizes ----
    m_channelSize = new QSpinBox(this);
    m_channelSize->setObjectName(QStringLiteral("edChannelSize"));
    m_channelSize->setRange(ChannelSizeMin, ChannelSizeMax);
    m_channelSize->setToolTip(QStringLiteral("Ширина канала"));

    const double cost = data.Cost.ToDouble();
    m_cost = MakeDoubleEdit(QStringLiteral("edCost"), 2, std::min(0.0, cost), std::max(1e9, cost), this);
    m_cost->setToolTip(QStringLiteral("Стоимость одной ставки"));

    m_profits = new QTableWidget(ProfitRows, 2, this);
    m_profits->setObjectName(QStringLiteral("edProfits"));
    m_profits->setHorizontalHeaderLabels({QStringLiteral("Совпадений"), QStringLiteral("Сумма выигрыша")});
    m_profits->verticalHeader()->hide();
    m_profits->horizontalHeader()->setStretchLastSection(true);
    m_profits->verticalHeader()->setDefaultSectionSize(22);
    m_profits->setSelectionMode(QAbstractItemView::SingleSelection);
    m_profits->setItemDelegateForColumn(
        1, new TPatternDelegate(QStringLiteral("[0-9]*([.,][0-9]*)?"), m_profits));

    // ---- weight coefficients ----
    auto *coefs = new QGroupBox(QStringLiteral("Весовые коэффициенты"), this);
    m_coefCount = MakeDoubleEdit(QStringLiteral("edCoefCount"), 3, -1e9, 1e9, coefs);
    m_coefDeviation = MakeDoubleEdit(QStringLiteral("edCoefDeviation"), 3, -1e9, 1e9, coefs);
    m_coefLevel = MakeDoubleEdit(QStringLiteral("edCoefLevel"), 3, -1e9, 1e9, coefs);
    m_coefPercents = new QCheckBox(QStringLiteral("Использовать значения в %"), coefs);
    m_coefPercents->setObjectName(QStringLiteral("cbCoefPercents"));
    m_coefAbs = new QCheckBox(QStringLiteral("Использовать абсолютные значения"), coefs);
    m_coefAbs->setObjectName(QStringLiteral("cbCoefAbs"));
    auto *coefForm = new QFormLayout;
    coefForm->addRow(QStringLiteral("Количество:"), m_coefCount);
    coefForm->addRow(QStringLiteral("Отклонение:"), m_coefDeviation);
    coefForm->addRow(QStringLiteral("Глубина:"), m_coefLevel);
    auto *coefLayout = new QVBoxLayout(coefs);
    coefLayout->addLayout(coefForm);
    coefLayout->addWidget(m_coefPercents);
    coefLayout->addWidget(m_coefAbs);

    // Kept for the record only: extended stakes are not edited here.
    m_stakeMaxLen = new QSpinBox(this);
    m_stakeMaxLen->setObjectName(QStringLiteral("edStakeMaxLen"));
    m_stakeMaxLen->setRange(std::min(0, data.MaxStake), std::max(NumberCount, data.MaxStake));
    m_stakeMaxLen->setToolTip(QStringLiteral("Расширенная ставка:"));
    m_stakeMaxLen->hide();

    // ---- layout ----
    auto *left = new QFormLayout;
    left->addRow(QStringLiteral("Размер матрицы:"), matrixRow);
    left->addRow(new QLabel(QStringLiteral("Сегменты матрицы:"), this));
    left->addRow(m_segmentGrid);
    auto *right = new QFormLayout;
    right->addRow(QStringLiteral("Размер канала:"), m_channelSize);
    right->addRow(QStringLiteral("Стоимость ставки:"), m_cost);
    right->addRow(new QLabel(QStringLiteral("Размеры выигрышей:"), this));
    right->addRow(m_profits);
    auto *columns = new QHBoxLayout;
    columns->addLayout(left, 1);
    columns->addLayout(right, 1);

    auto *buttons = new QDialogButtonBox(this);
    QPushButton *ok = buttons->addButton(QStringLiteral("ОК"), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("btnOk"));
    ok->setDefault(true);
    buttons->addButton(QStringLiteral("Отмена"), QDialogButtonBox::RejectRole)
        ->setObjectName(QStringLiteral("btnCancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(columns);
    layout->addWidget(coefs);
    layout->addWidget(buttons);

    // ---- values ----
    m_matrixCol->setValue(std::clamp(data.MatrixCols, MatrixColsMin, MatrixColsMax));
    m_channelSize->setValue(std::clamp(data.ChannelSize, ChannelSizeMin, ChannelSizeMax));
    m_cost->setValue(cost);
    for (int i = 0; i < ProfitRows; ++i) {
        auto *name = new QTableWidgetItem(QString::number(i));
        name->setFlags(Qt::ItemIsEnabled);
        name->setTextAlignment(Qt::AlignCenter);
        m_profits->setItem(i, 0, name);
        auto *value = new QTableWidgetItem(PrizeFor(data, i).ToText());
        value->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        m_profits->setItem(i, 1, value);
    }
    m_coefCount->setValue(double(data.WeightCoefs.Count));
    m_coefDeviation->setValue(double(data.WeightCoefs.Deviation));
    m_coefLevel->setValue(double(data.WeightCoefs.Level));
    m_coefPercents->setChecked(data.WeightCoefs.UsePercents);
    m_coefAbs->setChecked(data.WeightCoefs.UseAbsValues);
    m_stakeMaxLen->setValue(data.MaxStake);
    FillSegments();

    connect(m_matrixCol, &QSpinBox::valueChanged, this, &TFormConfig::MatrixColsChanged);
    connect(m_segmentGrid, &QTableWidget::itemChanged, this, &TFormConfig::SegmentEdited);
}

bool TFormConfig::Execute(QWidget *parent, TConfigData &data, QList<int> &changedGroups,
                          TErrorSink errorSink) {
    TFormConfig form(data, parent, std::move(errorSink));
    changedGroups.clear();
    if (form.exec() != QDialog::Accepted) return false;
    const TConfigData edited = form.Data();
    changedGroups = ChangedPrefetchGroups(data, edited);
    data = edited;
    return true;
}

void TFormConfig::ShowError(const QString &text) {
    if (m_errorSink)
        m_errorSink(text);
    else
        QMessageBox::critical(this, QStringLiteral("Ошибка"), DisplayText(text));
}

void TFormConfig::FillSegments() {
    m_filling = true;
    const int cols = m_matrixCol->value();
    const int rows = MatrixRows(cols);
    m_matrixRow->setValue(rows);
    m_segmentGrid->clearContents();
    m_segmentGrid->setColumnCount(cols);
    m_segmentGrid->setRowCount(rows);
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < cols; ++c) {
            const int n = r * cols + c + 1;
            auto *item = new QTableWidgetItem;
            item->setTextAlignment(Qt::AlignCenter);
            if (n <= NumberCount) {
                item->setText(QString::number(m_segments[size_t(n - 1)]));
                item->setToolTip(QString::number(n));
            } else {
                item->setFlags(Qt::NoItemFlags); // beyond 45: empty and not selectable
            }
            m_segmentGrid->setItem(r, c, item);
        }
    }
    m_filling = false;
}

void TFormConfig::MatrixColsChanged(int) {
    FillSegments();
}

void TFormConfig::SegmentEdited(QTableWidgetItem *item) {
    if (m_filling || !item) return;
    const int n = item->row() * m_segmentGrid->columnCount() + item->column() + 1;
    if (n < 1 || n > NumberCount) return;
    bool ok = false;
    const int segment = SegmentOfText(item->text(), &ok);
    m_segments[size_t(n - 1)] = uint8_t(segment);
    if (ok) return;
    const QString typed = item->text();
    m_filling = true;
    item->setText(QStringLiteral("1"));
    m_filling = false;
    ShowError(BadSegmentText(typed));
}

TConfigData TFormConfig::Data() const {
    TConfigData d = m_original;
    d.MatrixCols = m_matrixCol->value();
    d.ChannelSize = m_channelSize->value();
    d.MaxStake = m_stakeMaxLen->value();

    // A value the dialog only showed rounded keeps its full precision: opening
    // and confirming the dialog must not change a price of 1.2345 to 1.23.
    const auto unchanged = [](double shown, double original, int decimals) {
        const double scale = decimals == 2 ? 100.0 : 1000.0;
        return qRound64(shown * scale) == qRound64(original * scale);
    };
    if (!unchanged(m_cost->value(), m_original.Cost.ToDouble(), 2))
        d.Cost = TMoney::FromDouble(m_cost->value());

    d.Profits.clear();
    for (int i = 0; i < ProfitRows; ++i) {
        TProfitItem p;
        p.Overlap = uint8_t(m_profits->item(i, 0)->text().toInt());
        const QString text = m_profits->item(i, 1)->text();
        const TMoney original = PrizeFor(m_original, i);
        if (text == original.ToText())
            p.Prize = original;
        else if (!TMoney::TryParse(text, p.Prize))
            p.Prize = TMoney();
        d.Profits.push_back(p);
    }

    TWeightCoefs &w = d.WeightCoefs;
    const TWeightCoefs &o = m_original.WeightCoefs;
    if (!unchanged(m_coefCount->value(), double(o.Count), 3)) w.Count = m_coefCount->value();
    if (!unchanged(m_coefDeviation->value(), double(o.Deviation), 3)) w.Deviation = m_coefDeviation->value();
    if (!unchanged(m_coefLevel->value(), double(o.Level), 3)) w.Level = m_coefLevel->value();
    w.UsePercents = m_coefPercents->isChecked();
    w.UseAbsValues = m_coefAbs->isChecked();

    // Read back row by row; an empty or non-numeric cell gives segment 1.
    const int cols = m_segmentGrid->columnCount();
    for (int n = 1; n <= NumberCount; ++n) {
        const QTableWidgetItem *item = m_segmentGrid->item((n - 1) / cols, (n - 1) % cols);
        d.MatrixSegments[size_t(n - 1)] = uint8_t(SegmentOfText(item ? item->text() : QString()));
    }
    return d;
}

} // namespace lot
