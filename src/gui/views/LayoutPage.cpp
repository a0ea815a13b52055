#include "gui/views/LayoutPage.h"

#include "core/Host.h"
#include "gui/shell/ActionList.h"
#include "gui/shell/GuiHost.h"
#include "gui/views/FormRepeats.h"
#include "gui/views/NumberGrid.h"
#include "shell/Workspace.h"
#include "stats/DrawViews.h"

#include <QAction>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QSpinBox>
#include <QSplitter>
#include <QTableWidget>
#include <QVBoxLayout>

namespace lot {

namespace {

const QString Category = QStringLiteral("Схема");
const QString LayoutStatus = QStringLiteral("Построение схемы выпадения номеров...");

QSpinBox *LengthBox(QWidget *parent, const QString &name, int value) {
    auto *box = new QSpinBox(parent);
    box->setObjectName(name);
    box->setRange(1, 2147483647);
    box->setValue(value);
    return box;
}

} // namespace

TLayoutPage::TLayoutPage(TWorkspace &workspace, TGuiHost &host, TActionList &actions, QWidget *parent)
    : QWidget(parent), TPage(this, actions), m_ws(workspace), m_host(host) {
    setObjectName(QStringLiteral("tsLayout"));
    m_gradient = m_ws.Settings().LayoutGradient();
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    auto *splitter = new QSplitter(Qt::Horizontal, this);
    layout->addWidget(splitter);

    auto *left = new QWidget(splitter);
    auto *leftLayout = new QVBoxLayout(left);
    leftLayout->setContentsMargins(0, 0, 0, 0);
    auto *controls = new QHBoxLayout;
    controls->addWidget(new QLabel(QStringLiteral("Тиражей:"), left));
    m_edLen = LengthBox(left, QStringLiteral("edLayoutLen"), DefaultLength);
    controls->addWidget(m_edLen);
    auto *refresh = new QPushButton(QStringLiteral("Обновить"), left);
    refresh->setObjectName(QStringLiteral("btLayoutRefresh"));
    controls->addWidget(refresh);
    controls->addStretch();
    leftLayout->addLayout(controls);
    m_grid = new QTableWidget(left);
    m_grid->setObjectName(QStringLiteral("sgLayout"));
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setSelectionMode(QAbstractItemView::ContiguousSelection);
    m_grid->horizontalHeader()->setDefaultSectionSize(40);
    m_grid->verticalHeader()->setMinimumWidth(50);
    m_grid->verticalHeader()->setDefaultAlignment(Qt::AlignCenter);
    m_grid->setContextMenuPolicy(Qt::CustomContextMenu);
    leftLayout->addWidget(m_grid, 1);

    auto *right = new QWidget(splitter);
    auto *rightLayout = new QVBoxLayout(right);
    rightLayout->setContentsMargins(0, 0, 0, 0);
    auto *listControls = new QHBoxLayout;
    auto *lists = new QHBoxLayout;
    for (int i = 0; i < ListCount; ++i) {
        m_edLists[i] = LengthBox(right, QStringLiteral("edLayoutCmp%1").arg(i + 1), DefaultListLengths[i]);
        listControls->addWidget(m_edLists[i]);
        m_lists[i] = new QTableWidget(0, 2, right);
        m_lists[i]->setObjectName(QStringLiteral("lvLayoutCmp%1").arg(i + 1));
        m_lists[i]->setEditTriggers(QAbstractItemView::NoEditTriggers);
        m_lists[i]->verticalHeader()->hide();
        m_lists[i]->horizontalHeader()->setStretchLastSection(true);
        m_lists[i]->setColumnWidth(0, 50);
        lists->addWidget(m_lists[i]);
    }
    auto *listsRefresh = new QPushButton(QStringLiteral("Обновить"), right);
    listsRefresh->setObjectName(QStringLiteral("btLayoutCmpRefresh"));
    listControls->addWidget(listsRefresh);
    rightLayout->addLayout(listControls);
    rightLayout->addLayout(lists, 1);
    splitter->addWidget(left);
    splitter->addWidget(right);
    splitter->setStretchFactor(0, 3);
    splitter->setStretchFactor(1, 2);
    splitter->setSizes({600, 400});

    CreateActions();
    m_popup = new QMenu(this);
    m_popup->setObjectName(QStringLiteral("pmLayout"));
    actions.AddByName(m_popup, {"LayoutFilter_Include", "LayoutFilter_Exclude", "", "ViewShemaGradient"});
    connect(m_grid, &QWidget::customContextMenuRequested, this,
            [this](const QPoint &pos) { m_popup->popup(m_grid->viewport()->mapToGlobal(pos)); });
    connect(m_grid->selectionModel(), &QItemSelectionModel::selectionChanged, &actions,
            &TActionList::UpdateAll);
    connect(m_edLen, &QSpinBox::valueChanged, this, [this] {
        if (isVisible()) RecomputeLayout(false);
    });
    connect(refresh, &QPushButton::clicked, this, [this] { RecomputeLayout(true); });
    connect(listsRefresh, &QPushButton::clicked, this, [this] { RecomputeLists(true); });
    connect(&m_ws, &TWorkspace::RecomputeRequested, this, [this] {
        if (!isVisible()) return;
        RecomputeLayout(false);
        RecomputeLists(false);
    });
}

QString TLayoutPage::Caption() const {
    return QStringLiteral("Схема");
}

void TLayoutPage::CreateActions() {
    using TSpec = TActionList::TSpec;
    const auto update = [this] { return !m_ws.Combs().IsEmpty() && !m_grid->selectedItems().isEmpty(); };
    AddPageAction(
        TSpec{QStringLiteral("LayoutFilter_Include"),
              QStringLiteral("Оставить выделенные"),
              Category,
              {},
              KeepNumbersHint},
        [this] { FilterByViewNumbers(m_ws, TNumberView::Layout, *m_grid, false, Caption()); }, update);
    AddPageAction(
        TSpec{QStringLiteral("LayoutFilter_Exclude"),
              QStringLiteral("Удалить выделенные"),
              Category,
              {},
              DropNumbersHint},
        [this] { FilterByViewNumbers(m_ws, TNumberView::Layout, *m_grid, true, Caption()); }, update);
    AddPageAction(
        TSpec{QStringLiteral("ViewShemaGradient"),
              QStringLiteral("Градиентная раскраска схемы"),
              QStringLiteral("Вид"),
              {},
              {},
              true},
        [this] {
            m_gradient = !m_gradient;
            const bool on = m_gradient;
            m_ws.StoreSetting([on](TWindowSettings &s) { s.SetLayoutGradient(on); });
            PaintGrid();
        },
        [this] {
            for (QAction *a : PageActions())
                if (a->objectName() == QLatin1String("ViewShemaGradient")) a->setChecked(m_gradient);
            return isVisible();
        });
    AddPageAction(
        TSpec{QStringLiteral("AnalyzeRepeats"), QStringLiteral("Количество повторов в зависимости от тиража"),
              QStringLiteral("Статистика")},
        [this] {
            auto *form = new TFormRepeats(m_ws, m_host, window());
            form->setAttribute(Qt::WA_DeleteOnClose);
            form->show();
        },
        [this] { return !m_ws.Archive().IsEmpty(); });
}

QList<TMenuEntries> TLayoutPage::MenuEntries() const {
    return {{QStringLiteral("mnView"), {"ViewShemaGradient"}},
            {QStringLiteral("mnStat"), {"AnalyzeRepeats"}}};
}

void TLayoutPage::RecomputeLayout(bool force) {
    const TState now{m_ws.Archive().Count(), m_ws.Archive().Offset(), m_edLen->value()};
    if (!force && now == m_layoutState) return;
    m_layoutState = now;
    TBusyGuard busy(m_host);
    m_host.ShowStatus(LayoutStatus);
    const TLayout layout = ComputeLayout(m_ws.Archive().Draws().Draws(), now.Offset, now.Length);
    const QSignalBlocker block(m_grid->selectionModel());
    m_grid->clear();
    m_grid->setRowCount(int(layout.Counts.size()));
    m_grid->setColumnCount(int(layout.Draws.size()));
    QStringList columns, rows;
    for (int d : layout.Draws)
        columns << QString::number(d);
    for (int c : layout.Counts)
        rows << QString::number(c);
    m_grid->setHorizontalHeaderLabels(columns);
    m_grid->setVerticalHeaderLabels(rows);
    for (int r = 0; r < layout.Counts.size(); ++r)
        for (int c = 0; c < layout.Draws.size(); ++c) {
            auto *item = new QTableWidgetItem(layout.Cells[r][c]);
            item->setTextAlignment(Qt::AlignCenter);
            m_grid->setItem(r, c, item);
        }
    // Columns start 40 pixels wide and widen to their text plus 10.
    for (int c = 0; c < m_grid->columnCount(); ++c) {
        int width = 40;
        for (int r = 0; r < m_grid->rowCount(); ++r)
            width = std::max(width, m_grid->fontMetrics().horizontalAdvance(m_grid->item(r, c)->text()) + 10);
        width = std::max(width, m_grid->fontMetrics().horizontalAdvance(columns[c]) + 10);
        m_grid->setColumnWidth(c, width);
    }
    PaintGrid();
    m_host.ShowStatus(QString());
}

void TLayoutPage::PaintGrid() {
    const int rows = m_grid->rowCount();
    const int columns = m_grid->columnCount();
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < columns; ++c)
            if (QTableWidgetItem *item = m_grid->item(r, c))
                item->setBackground(QColor::fromRgb(
                    0xFF000000 | LayoutCellColour(r + 1, c + 1, rows, columns, m_gradient, item->text())));
}

void TLayoutPage::RecomputeLists(bool force) {
    const TState now{m_ws.Archive().Count(), m_ws.Archive().Offset(), 0};
    if (!force && now == m_listsState) return;
    m_listsState = now;
    TBusyGuard busy(m_host);
    m_host.ShowStatus(LayoutStatus);
    for (int i = 0; i < ListCount; ++i) {
        const TLayoutList list =
            ComputeLayoutList(m_ws.Archive().Draws().Draws(), now.Offset, m_edLists[i]->value());
        QTableWidget *view = m_lists[i];
        view->clearContents();
        view->setHorizontalHeaderLabels({QStringLiteral("Кол-во"), list.Header});
        view->setRowCount(int(list.Rows.size()));
        for (int r = 0; r < list.Rows.size(); ++r) {
            auto *count = new QTableWidgetItem(QString::number(list.Rows[r].Count));
            count->setTextAlignment(Qt::AlignCenter);
            view->setItem(r, 0, count);
            view->setItem(r, 1, new QTableWidgetItem(list.Rows[r].Numbers));
        }
    }
    m_host.ShowStatus(QString());
}

void TLayoutPage::showEvent(QShowEvent *event) {
    QWidget::showEvent(event);
    RecomputeLayout(false);
    RecomputeLists(false);
}

void TLayoutPage::LoadWindowSettings(const TWindowSettings &settings, const QString &section) {
    m_edLen->setValue(std::max(1, settings.ReadInt(section, QStringLiteral("LayoutLen"), DefaultLength)));
    for (int i = 0; i < ListCount; ++i)
        m_edLists[i]->setValue(std::max(
            1, settings.ReadInt(section, QStringLiteral("LayoutCmp%1").arg(i + 1), DefaultListLengths[i])));
}

void TLayoutPage::SaveWindowSettings(TWindowSettings &settings, const QString &section) const {
    settings.WriteInt(section, QStringLiteral("LayoutLen"), m_edLen->value());
    for (int i = 0; i < ListCount; ++i)
        settings.WriteInt(section, QStringLiteral("LayoutCmp%1").arg(i + 1), m_edLists[i]->value());
}

} // namespace lot
