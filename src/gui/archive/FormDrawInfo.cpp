#include "gui/archive/FormDrawInfo.h"

#include "stats/GraphViews.h"

#include "core/CoreHelpers.h"
#include "stats/CustomStatBases.h"
#include "stats/StatList.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QStyle>
#include <QTableWidget>
#include <QVBoxLayout>

#include <utility>

namespace lot {

namespace {
constexpr int CellSize = 30;
}

int TDrawInfoData::ValuePosition() const {
    if (DrawNumber >= 0) return ArrayIndex;
    const int count = Registry ? int(Registry->DrawsArray().size()) : 0;
    return qMax(0, count - qMax(0, DrawsOffset));
}

TFormDrawInfo::TFormDrawInfo(const TDrawInfoData &data, QWidget *parent) : QDialog(parent), m_data(data) {
    setObjectName(QStringLiteral("TFormDrawInfo"));
    setWindowTitle(QStringLiteral("Подробная информация"));
    setAttribute(Qt::WA_DeleteOnClose);
    if (m_data.Sorted) SortComb(m_data.Numbers);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(14, 12, 14, 12);
    auto *form = new QFormLayout;
    form->setLabelAlignment(Qt::AlignLeft);
    auto bold = [this](const QString &text) {
        auto *label = new QLabel(text, this);
        label->setTextInteractionFlags(Qt::TextSelectableByMouse);
        QFont font = label->font();
        font.setBold(true);
        label->setFont(font);
        return label;
    };
    if (m_data.DrawNumber >= 0)
        form->addRow(QStringLiteral("Номер тиража:"), bold(QString::number(m_data.DrawNumber)));
    if (!m_data.DrawDate.isEmpty()) form->addRow(QStringLiteral("Дата тиража:"), bold(m_data.DrawDate));
    m_numbers = bold(CombToText(m_data.Numbers));
    m_numbers->setObjectName(QStringLiteral("lbNumbers"));
    form->addRow(QStringLiteral("Числа:"), m_numbers);
    if (m_data.ArrayIndex >= 0)
        form->addRow(QStringLiteral("Индекс в архиве:"), bold(QString::number(m_data.ArrayIndex)));
    layout->addLayout(form);

    // The number matrix on the left, the graph values beside it.
    auto *body = new QHBoxLayout;
    auto *matrixColumn = new QVBoxLayout;
    auto *colsRow = new QHBoxLayout;
    colsRow->addWidget(new QLabel(QStringLiteral("Количество столбцов:"), this));
    m_edCols = new QSpinBox(this);
    m_edCols->setObjectName(QStringLiteral("edCols"));
    m_edCols->setRange(1, NumberCount);
    m_edCols->setValue(qBound(1, m_data.MatrixCols, NumberCount));
    colsRow->addWidget(m_edCols);
    colsRow->addStretch();
    matrixColumn->addLayout(colsRow);

    m_matrix = new QTableWidget(this);
    m_matrix->setObjectName(QStringLiteral("sgMatrix"));
    m_matrix->horizontalHeader()->hide();
    m_matrix->verticalHeader()->hide();
    m_matrix->horizontalHeader()->setDefaultSectionSize(CellSize);
    m_matrix->verticalHeader()->setDefaultSectionSize(CellSize);
    m_matrix->horizontalHeader()->setMinimumSectionSize(CellSize);
    m_matrix->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_matrix->setSelectionMode(QAbstractItemView::NoSelection);
    m_matrix->setFocusPolicy(Qt::NoFocus);
    m_matrix->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    m_matrix->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_matrix->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    matrixColumn->addWidget(m_matrix, 0, Qt::AlignHCenter);
    matrixColumn->addStretch();
    body->addLayout(matrixColumn);

    if (m_data.Registry) {
        m_values = new QTableWidget(this);
        m_values->setObjectName(QStringLiteral("lvValues"));
        m_values->setColumnCount(2);
        m_values->setHorizontalHeaderLabels({QStringLiteral("Метод"), QStringLiteral("Значение")});
        m_values->verticalHeader()->hide();
        m_values->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
        m_values->setEditTriggers(QAbstractItemView::NoEditTriggers);
        m_values->setSelectionBehavior(QAbstractItemView::SelectRows);
        m_values->setSelectionMode(QAbstractItemView::SingleSelection);
        m_values->setFocusPolicy(Qt::NoFocus);
        m_values->setWordWrap(false);
        m_values->horizontalHeader()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
        m_values->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
        m_values->horizontalHeader()->setHighlightSections(false);
        body->addWidget(m_values, 1);
        FillValues();
        // Wide enough for the longest caption and its value.
        m_values->resizeColumnToContents(0);
        m_values->setMinimumWidth(m_values->columnWidth(0) +
                                  fontMetrics().horizontalAdvance(QStringLiteral("Значение")) + 40 +
                                  m_values->verticalScrollBar()->sizeHint().width());
    }
    layout->addLayout(body, 1);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    buttons->button(QDialogButtonBox::Close)->setText(QStringLiteral("Закрыть"));
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);

    connect(m_edCols, &QSpinBox::valueChanged, this, &TFormDrawInfo::FillMatrix);
    FillMatrix();
}

QString TFormDrawInfo::NumbersText() const {
    return m_numbers->text();
}

void TFormDrawInfo::SetChannelSize(int size) {
    if (size < 1 || size == m_data.ChannelSize) return;
    m_data.ChannelSize = size;
    FillMatrix();
}

void TFormDrawInfo::FillValues() {
    m_values->setRowCount(0);
    for (const TDetailValue &v :
         DetailValues(*m_data.Registry, m_data.Numbers, m_data.ValuePosition(), m_data.Sorted)) {
        const int row = m_values->rowCount();
        m_values->insertRow(row);
        m_values->setItem(row, 0, new QTableWidgetItem(v.Caption));
        auto *value = new QTableWidgetItem(QString::number(v.Value));
        value->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        m_values->setItem(row, 1, value);
    }
}

void TFormDrawInfo::FillMatrix() {
    const int cols = m_edCols->value();
    const int rows = MatrixRows(cols);
    m_matrix->clear();
    m_matrix->setColumnCount(cols);
    m_matrix->setRowCount(rows);
    QFont drawn = m_matrix->font();
    drawn.setBold(true);
    for (int n = 1; n <= NumberCount; ++n) {
        auto *item = new QTableWidgetItem(QString::number(n));
        item->setTextAlignment(Qt::AlignCenter);
        if (InComb(n, m_data.Numbers)) {
            item->setBackground(QColor::fromRgb(GroupColourRgb(n, m_data.ChannelSize)));
            item->setForeground(Qt::black);
            item->setFont(drawn);
        } else {
            item->setForeground(QColor(0xB0, 0xB0, 0xB0));
        }
        m_matrix->setItem(MatrixRow(n, cols) - 1, MatrixColumn(n, cols) - 1, item);
    }
    // Size the grid to its cells, within reason for one column of 45 rows or
    // one row of 45 columns: beyond that it scrolls.
    const int frame = 2 * m_matrix->frameWidth();
    const int scroll = m_matrix->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    const int w = qMin(cols, 15) * CellSize + frame + (rows > 12 ? scroll : 0);
    const int h = qMin(rows, 12) * CellSize + frame + (cols > 15 ? scroll : 0);
    m_matrix->setFixedSize(w, h);
    adjustSize();
}

void TDrawInfoWindows::Add(TFormDrawInfo *form) {
    m_forms.removeAll(nullptr);
    m_forms.append(form);
}

void TDrawInfoWindows::SetChannelSize(int size) {
    for (TFormDrawInfo *form : std::as_const(m_forms))
        if (form) form->SetChannelSize(size);
}

} // namespace lot
