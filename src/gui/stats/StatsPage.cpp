#include "gui/stats/StatsPage.h"

#include "export/ListSheets.h"
#include "filters/FilterText.h"
#include "gui/filters/FormFilter.h"
#include "gui/filters/FormFilterHelp.h"
#include "gui/filters/FormManager.h"
#include "gui/shell/ActionList.h"
#include "gui/shell/GuiHost.h"
#include "gui/shell/SheetExport.h"
#include "gui/stats/StatModel.h"
#include "shell/Workspace.h"
#include "stats/StatTable.h"

#include <QAction>
#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QImage>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QLegendMarker>
#include <QLineSeries>
#include <QMenu>
#include <QPainter>
#include <QSpinBox>
#include <QSplitter>
#include <QTableView>
#include <QToolBar>
#include <QValueAxis>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace lot {

namespace {

const QString Category = QStringLiteral("Статистика");

/// A 2 x 2 point marker outlined in the given colour.
QImage MarkerImage(const QColor &outline) {
    QImage image(2, 2, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setPen(outline);
    painter.drawRect(0, 0, 1, 1);
    return image;
}

QLineSeries *MakeSeries(const TStatChartSeries &data, const QColor &colour, int width, const QColor &marker,
                        bool markersVisible) {
    auto *series = new QLineSeries;
    series->setName(data.Title);
    QPen pen(colour);
    pen.setWidth(width);
    series->setPen(pen);
    series->setMarkerSize(2);
    series->setLightMarker(MarkerImage(marker));
    series->setPointsVisible(markersVisible);
    series->setPointLabelsVisible(false);
    QList<QPointF> points;
    points.reserve(data.Points.size());
    for (const TStatChartPoint &p : data.Points)
        points.append({p.X, p.Y});
    series->replace(points);
    return series;
}

} // namespace

TStatsPage::TStatsPage(TWorkspace &workspace, TGuiHost &host, TActionList &actions, QWidget *parent)
    : QWidget(parent), TPage(this, actions), m_ws(workspace), m_host(host), m_actions(actions) {
    setObjectName(QStringLiteral("tsDrawsStat"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(4);

    auto *top = new QHBoxLayout;
    m_cbMethod = new QComboBox(this);
    m_cbMethod->setObjectName(QLatin1String(TStatTable::SelectorName));
    const QString methodHint = QStringLiteral("Вид расчета статистики");
    m_cbMethod->setToolTip(methodHint);
    m_cbMethod->setStatusTip(methodHint);
    m_cbMethod->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    m_cbMethod->setMinimumContentsLength(40);
    m_cbMethod->setMaxVisibleItems(30);
    top->addWidget(m_cbMethod, 1);

    auto *lbLen = new QLabel(QStringLiteral("Тиражей:"), this);
    m_edLen = new QSpinBox(this);
    m_edLen->setObjectName(QStringLiteral("edDrawsStatLen"));
    const QString lenHint = QStringLiteral("Количество тиражей, использующихся для расчета статистики");
    m_edLen->setToolTip(lenHint);
    m_edLen->setStatusTip(lenHint);
    m_edLen->setRange(TStatTable::MinSampleLength, TStatTable::MaxSampleLength);
    m_edLen->setValue(Table().SampleLength());
    m_edLen->setKeyboardTracking(false);
    m_edLen->setMinimumWidth(90);
    m_edLen->installEventFilter(this);
    lbLen->setBuddy(m_edLen);
    top->addWidget(lbLen);
    top->addWidget(m_edLen);

    m_toolBar = new QToolBar(this);
    m_toolBar->setObjectName(QStringLiteral("tbDrawsStat"));
    m_toolBar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    layout->addLayout(top);
    // A row of its own: the captions are long and must not squeeze the selector.
    layout->addWidget(m_toolBar);

    m_splitter = new QSplitter(Qt::Vertical, this);
    m_splitter->setObjectName(QStringLiteral("DrawsStatSplitter"));
    m_splitter->setChildrenCollapsible(false);

    m_model = new TStatModel(Table(), this);
    m_list = new QTableView(m_splitter);
    m_list->setObjectName(QLatin1String(ListName));
    m_list->setModel(m_model);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setWordWrap(false);
    m_list->setCornerButtonEnabled(false);
    m_list->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    m_list->verticalHeader()->hide();
    m_list->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_list->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    m_list->horizontalHeader()->setHighlightSections(false);
    m_list->horizontalHeader()->setSectionsClickable(true);
    m_list->horizontalHeader()->setSortIndicatorShown(true);
    m_list->setStyleSheet(QStringLiteral("QTableView { gridline-color: #d8d8d8; }"));
    m_list->setContextMenuPolicy(Qt::CustomContextMenu);
    for (int c = 0; c < StatColumnCount; ++c)
        m_list->setColumnWidth(c, c == scValue ? ValueColumnWidth : ColumnWidth);

    m_chart = new QChart;
    m_chart->setObjectName(QStringLiteral("chDrawsStat"));
    m_chart->legend()->setAlignment(Qt::AlignRight);
    m_chart->setMargins(QMargins(2, 2, 2, 2));
    m_chart->setBackgroundRoundness(0);
    m_chartView = new QChartView(m_chart, m_splitter);
    m_chartView->setObjectName(QStringLiteral("ChartDrawsStat"));
    m_chartView->setRenderHint(QPainter::Antialiasing);
    m_chartView->setMinimumHeight(60);
    m_splitter->addWidget(m_list);
    m_splitter->addWidget(m_chartView);
    m_splitter->setStretchFactor(0, 1);
    m_splitter->setStretchFactor(1, 0);
    layout->addWidget(m_splitter, 1);

    CreateActions();
    const QStringList tools = {"StatFilter_Include",         "StatFilter_Exclude",     "", "StatRefresh", "",
                               "DrawsStatePrefetchsEnabled", "DrawsStateShowTotalLine"};
    m_actions.AddByName(m_toolBar, tools);
    m_popup = new QMenu(this);
    m_popup->setObjectName(QStringLiteral("pmDrawsStat"));
    m_actions.AddByName(m_popup, tools);
    connect(m_list, &QWidget::customContextMenuRequested, this,
            [this](const QPoint &pos) { m_popup->popup(m_list->viewport()->mapToGlobal(pos)); });

    TStatTable &table = Table();
    connect(&table, &TStatTable::SelectorChanged, this, &TStatsPage::FillSelector);
    connect(&table, &TStatTable::TableChanged, this, &TStatsPage::OnTableChanged);
    connect(&table, &TStatTable::SelectionChanged, this, [this] {
        ApplySelectionToView();
        m_actions.UpdateAll();
    });
    connect(&table, &TStatTable::SampleLengthChanged, this, [this](int length) {
        if (m_edLen->value() != length) {
            const QSignalBlocker block(m_edLen);
            m_edLen->setValue(length);
        }
        m_ws.Settings().SetDrawsStatLen(length);
    });
    connect(m_cbMethod, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (!m_syncing) SelectMethod(index);
    });
    connect(m_edLen, &QSpinBox::valueChanged, this, [this](int v) { Table().SetSampleLength(v); });
    connect(m_list->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &TStatsPage::TakeSelectionFromView);
    connect(m_list->horizontalHeader(), &QHeaderView::sectionClicked, this, [this](int column) {
        if (m_host.IsIdle()) Table().ClickColumn(column);
        UpdateSortIndicator();
    });
    connect(&m_ws.Stats(), &TStatsController::PrefetchsEnabledChanged, this, &TStatsPage::SetPrefetchColumns);
    connect(m_splitter, &QSplitter::splitterMoved, this,
            [this] { m_ws.Settings().SetDrawsStatHeight(ChartHeight()); });

    SetPrefetchColumns(m_ws.Stats().PrefetchsEnabled());
    FillSelector();
    OnTableChanged();
}

TStatTable &TStatsPage::Table() const {
    return m_ws.Stats().Table();
}

void TStatsPage::CreateActions() {
    using TSpec = TActionList::TSpec;
    AddPageAction(
        TSpec{QStringLiteral("FiltersManager"),
              QStringLiteral("Избранные статистики"),
              Category,
              {},
              QStringLiteral("Настройка списка избранных видов статистики (фильтров)")},
        [this] { FiltersManagerExecute(); }, [] { return true; });
    AddPageAction(
        TSpec{QStringLiteral("FiltersReset"),
              QStringLiteral("Все доступные статистики"),
              Category,
              {},
              QStringLiteral("Отображать все доступные виды статистики (фильтры)")},
        [this] { FiltersResetExecute(); }, [] { return true; });
    AddPageAction(
        TSpec{QStringLiteral("FiltersInfo"), QStringLiteral("Описание статистики"), Category,
              QKeySequence(Qt::Key_F8), QStringLiteral("Сведения о выбранном методе расчета статистики")},
        [this] { FiltersInfoExecute(); }, [this] { return FiltersInfoUpdate(); });
    AddPageAction(
        TSpec{QStringLiteral("StatXlsExport"), QStringLiteral("Экспорт статистики в Microsoft Excel"),
              Category},
        [this] { ExportSheetToFile(m_host, TStatsSheet(Table(), Caption())); },
        [this] { return Table().RowCount() > 0; });
    AddPageAction(
        TSpec{QStringLiteral("StatRefresh"), QStringLiteral("Обновить"), Category},
        [this] { StatRefreshExecute(); }, [this] { return StatRefreshUpdate(); });
    AddPageAction(
        TSpec{QStringLiteral("DrawsStatePrefetchsEnabled"),
              QStringLiteral("Использовать сравнение с полным набором комбинаций"),
              Category,
              {},
              {},
              true},
        [this] { DrawsStatePrefetchsEnabledExecute(); },
        [this] { return DrawsStatePrefetchsEnabledUpdate(); });
    AddPageAction(
        TSpec{QStringLiteral("DrawsStateShowTotalLine"),
              QStringLiteral("График идеального распределения"),
              Category,
              {},
              {},
              true},
        [this] { DrawsStateShowTotalLineExecute(); }, [this] { return DrawsStateShowTotalLineUpdate(); });
    AddPageAction(
        TSpec{QStringLiteral("StatFilter_Include"), QStringLiteral("Оставить выделенные"), Category,
              QKeySequence(Qt::Key_F7),
              QStringLiteral("В списке комбинаций оставить комбинации с выделенными характеристиками")},
        [this] { StatFilter_IncludeExecute(); }, [this] { return StatFilter_IncludeUpdate(); });
    AddPageAction(
        TSpec{QStringLiteral("StatFilter_Exclude"), QStringLiteral("Удалить выделенные"), Category,
              QKeySequence(Qt::CTRL | Qt::Key_F7),
              QStringLiteral("Из списка комбинаций удалить комбинации с выделенными характеристиками")},
        [this] { StatFilter_ExcludeExecute(); }, [this] { return StatFilter_ExcludeUpdate(); });
}

// ---- handlers and enabled tests -------------------------------------------------------------

void TStatsPage::FiltersManagerExecute() {
    TFormManager::Execute(m_ws, m_host, window());
}

void TStatsPage::FiltersResetExecute() {
    if (!m_host.Confirm(QStringLiteral("Вы действительно хотите сбросить список избранных фильтров?")))
        return;
    m_ws.Stats().ResetFavourites();
}

int TStatsPage::SelectedEntry() const {
    const TStatTable &table = Table();
    const int index = table.SelectorIndex();
    return index >= 0 && index < table.SelectorItems().size() ? table.SelectorItems()[index].Entry : -1;
}

void TStatsPage::FiltersInfoExecute() {
    const int entry = SelectedEntry();
    if (entry >= 0) TFormFilterHelp::Execute(m_ws.Stats().Registry(), entry, m_ws.Settings(), window());
}

bool TStatsPage::FiltersInfoUpdate() const {
    return SelectedEntry() >= 0;
}

void TStatsPage::StatFilter_IncludeExecute() {
    m_ws.Filters().FilterBySelection(false);
}

bool TStatsPage::StatFilter_IncludeUpdate() const {
    return m_ws.Filters().CanFilterBySelection();
}

void TStatsPage::StatFilter_ExcludeExecute() {
    m_ws.Filters().FilterBySelection(true);
}

bool TStatsPage::StatFilter_ExcludeUpdate() const {
    return m_ws.Filters().CanFilterBySelection();
}

void TStatsPage::StatRefreshExecute() {
    m_ws.Stats().ComputeStatistics(true);
}

bool TStatsPage::StatRefreshUpdate() const {
    return !m_ws.Archive().IsEmpty() && Table().SelectorIndex() >= 0;
}

void TStatsPage::DrawsStatePrefetchsEnabledExecute() {
    m_ws.Stats().SetPrefetchsEnabled(!m_ws.Stats().PrefetchsEnabled());
}

bool TStatsPage::DrawsStatePrefetchsEnabledUpdate() const {
    if (QAction *a = m_actions.Find(QStringLiteral("DrawsStatePrefetchsEnabled")))
        a->setChecked(m_ws.Stats().PrefetchsEnabled());
    return true;
}

void TStatsPage::DrawsStateShowTotalLineExecute() {
    m_ws.Stats().SetShowTotalLine(!m_ws.Stats().ShowTotalLine());
}

bool TStatsPage::DrawsStateShowTotalLineUpdate() const {
    if (QAction *a = m_actions.Find(QStringLiteral("DrawsStateShowTotalLine")))
        a->setChecked(m_ws.Stats().ShowTotalLine());
    return true;
}

void TStatsPage::SelectMethod(int index) {
    if (!m_host.IsIdle()) {
        // A running operation owns the table; the selector goes back.
        FillSelector();
        return;
    }
    Table().SetSelectorIndex(index);
    m_ws.Stats().ComputeStatistics(false);
    m_actions.UpdateAll();
}

void TStatsPage::ApplyLengthEdit() {
    m_edLen->interpretText();
    if (!m_edLen->hasAcceptableInput() || !m_host.IsIdle()) return;
    Table().SetSampleLength(m_edLen->value());
    m_ws.Stats().ComputeStatistics(false);
    m_actions.UpdateAll();
}

bool TStatsPage::eventFilter(QObject *watched, QEvent *event) {
    if (watched == m_edLen && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            ApplyLengthEdit();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

// ---- layout ----------------------------------------------------------------------------------

QString TStatsPage::Caption() const {
    return QStringLiteral("Статистика");
}

QList<TMenuEntries> TStatsPage::MenuEntries() const {
    return {{QStringLiteral("mnStat"),
             {"FiltersManager", "FiltersReset", "FiltersInfo", "", "StatRefresh", "StatXlsExport", "",
              "DrawsStatePrefetchsEnabled", "DrawsStateShowTotalLine"}}};
}

void TStatsPage::ApplyGameSettings(const TConfigData &) {
    FillSelector();
}

QList<TScreenshotRender> TStatsPage::ScreenshotRenders() const {
    return {{QStringLiteral("TFormFilter"),
             [this](QWidget *parent) -> std::unique_ptr<QWidget> {
                 auto form = std::make_unique<TFormFilter>(m_ws.Stats().Registry(), Table(), &m_host, parent);
                 form->SetFilter(
                     TextToFilter(m_ws.Stats().Registry(),
                                  QStringLiteral("BMF1#NUMS:100-500;100#WMV:10#ST:3#0.5:-1:1:1:0")));
                 return form;
             }},
            {QStringLiteral("TFormManager"),
             [this](QWidget *parent) -> std::unique_ptr<QWidget> {
                 return std::make_unique<TFormManager>(m_ws, m_host, parent);
             }},
            {QStringLiteral("TFormFilterHelp"), [this](QWidget *parent) -> std::unique_ptr<QWidget> {
                 const int entry = qMax(0, m_ws.Stats().Registry().FindEntry(QStringLiteral("PRMV")));
                 return std::make_unique<TFormFilterHelp>(m_ws.Stats().Registry(), entry, m_ws.Settings(),
                                                          parent);
             }}};
}

void TStatsPage::LoadWindowSettings(const TWindowSettings &settings, const QString &) {
    SetPrefetchColumns(m_ws.Stats().PrefetchsEnabled());
    SetChartHeight(std::clamp(settings.DrawsStatHeight(), 40, 2000));
    const QSignalBlocker block(m_edLen);
    m_edLen->setValue(Table().SampleLength());
}

void TStatsPage::SetPrefetchColumns(bool visible) {
    for (int c = 0; c < StatColumnCount; ++c) {
        if (!TStatTable::IsFullSetColumn(c)) continue;
        m_list->setColumnHidden(c, !visible);
        if (visible) m_list->setColumnWidth(c, ColumnWidth);
    }
}

void TStatsPage::SetChartHeight(int height) {
    const int total = std::max(m_splitter->height(), height + 100);
    m_splitter->setSizes({total - height, height});
}

int TStatsPage::ChartHeight() const {
    const QList<int> sizes = m_splitter->sizes();
    return sizes.size() > 1 ? sizes[1] : m_chartView->height();
}

// ---- following the engine --------------------------------------------------------------------

void TStatsPage::FillSelector() {
    const TStatTable &table = Table();
    m_syncing = true;
    m_cbMethod->clear();
    for (const TSelectorItem &item : table.SelectorItems())
        m_cbMethod->addItem(item.Caption, item.Entry);
    m_cbMethod->setCurrentIndex(table.SelectorIndex());
    m_syncing = false;
    m_actions.UpdateAll();
}

void TStatsPage::OnTableChanged() {
    ApplySelectionToView();
    UpdateSortIndicator();
    UpdateChart();
    m_actions.UpdateAll();
}

void TStatsPage::ApplySelectionToView() {
    const TStatTable &table = Table();
    QItemSelection selection;
    for (int row : table.SelectedRows())
        selection.select(m_model->index(row, 0), m_model->index(row, StatColumnCount - 1));
    m_syncing = true;
    m_list->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
    m_syncing = false;
}

void TStatsPage::TakeSelectionFromView() {
    if (m_syncing) return;
    QList<int> rows;
    for (const QModelIndex &index : m_list->selectionModel()->selectedRows())
        rows.append(index.row());
    m_syncing = true;
    Table().SetSelectedRows(rows);
    m_syncing = false;
    m_actions.UpdateAll();
}

void TStatsPage::UpdateSortIndicator() {
    const TStatTable &table = Table();
    m_list->horizontalHeader()->setSortIndicator(
        table.SortColumn(), table.SortDescending() ? Qt::DescendingOrder : Qt::AscendingOrder);
}

void TStatsPage::UpdateChart() {
    m_chart->removeAllSeries();
    for (QAbstractAxis *axis : m_chart->axes()) {
        m_chart->removeAxis(axis);
        delete axis;
    }
    const TStatChart &data = Table().Chart();
    if (!data.Actual) return;

    auto *axisX = new QCategoryAxis;
    axisX->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    auto *axisY = new QValueAxis;
    axisY->setLabelFormat(QStringLiteral("%.0f"));
    m_chart->addAxis(axisX, Qt::AlignBottom);
    m_chart->addAxis(axisY, Qt::AlignLeft);

    // The labelled series gives the value texts of the axis; a few dozen
    // labels fit, so longer series label every n-th point.
    const TStatChartSeries &labelled = data.Total ? *data.Total : *data.Actual;
    const qsizetype step = std::max<qsizetype>(1, (labelled.Points.size() + 39) / 40);
    double minX = 0, maxX = 1, maxY = 1;
    bool first = true;
    for (const TStatChartSeries *s : {&*data.Actual, data.Total ? &*data.Total : nullptr}) {
        if (!s) continue;
        for (const TStatChartPoint &p : s->Points) {
            minX = first ? p.X : std::min(minX, p.X);
            maxX = first ? p.X : std::max(maxX, p.X);
            maxY = std::max(maxY, p.Y);
            first = false;
        }
    }
    for (qsizetype i = 0; i < labelled.Points.size(); i += step) {
        const TStatChartPoint &p = labelled.Points[i];
        // Category labels must be unique; a repeated text gets an invisible suffix.
        QString label = p.Label;
        while (axisX->categoriesLabels().contains(label))
            label += QChar(0x200B);
        axisX->append(label, p.X);
    }
    axisX->setRange(minX - 0.5, maxX + 0.5);
    axisY->setRange(0, std::ceil(maxY * 1.05));
    axisY->applyNiceNumbers();

    auto attach = [&](QLineSeries *series) {
        m_chart->addSeries(series);
        series->attachAxis(axisX);
        series->attachAxis(axisY);
    };
    attach(MakeSeries(*data.Actual, QColor(ActualColour), 2, QColor(ActualMarkerColour), true));
    if (data.Total) attach(MakeSeries(*data.Total, QColor(TotalColour), 1, QColor(TotalMarkerColour), false));
}

} // namespace lot
