#include "gui/stats/GraphsPage.h"

#include "core/Host.h"
#include "gui/shell/ActionList.h"
#include "gui/shell/GuiHost.h"
#include "gui/stats/FormGraph.h"
#include "gui/stats/GraphChart.h"
#include "shell/Workspace.h"
#include "stats/GraphViews.h"
#include "stats/StatsController.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QSpinBox>
#include <QToolBar>
#include <QVBoxLayout>

namespace lot {

namespace {

const QString Category = QStringLiteral("Графики");
const QString LengthKey = QStringLiteral("DrawsGraphLen");
const QString MarksKey = QStringLiteral("DrawsGraphMarks");

} // namespace

TGraphsPage::TGraphsPage(TWorkspace &workspace, TGuiHost &host, TActionList &actions, QWidget *parent)
    : QWidget(parent), TPage(this, actions), m_ws(workspace), m_host(host) {
    setObjectName(QStringLiteral("tsDrawsGraph"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    auto *controls = new QHBoxLayout;
    auto *toolBar = new QToolBar(this);
    toolBar->setObjectName(QStringLiteral("tbDrawsGraph"));
    toolBar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    controls->addWidget(toolBar);
    m_cbMethod = new QComboBox(this);
    m_cbMethod->setObjectName(QStringLiteral("cbDrawsGraph"));
    m_cbMethod->setToolTip(QStringLiteral("Тип графика"));
    m_cbMethod->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    m_cbMethod->setMinimumContentsLength(40);
    controls->addWidget(m_cbMethod, 1);
    m_edLen = new QSpinBox(this);
    m_edLen->setObjectName(QStringLiteral("edDrawsGraphLen"));
    m_edLen->setRange(1, 2147483647);
    m_edLen->setValue(DefaultLength);
    m_edLen->setToolTip(QStringLiteral("Количество тиражей, использующихся для построения графиков"));
    m_edLen->installEventFilter(this);
    controls->addWidget(m_edLen);
    m_cbMarks = new QCheckBox(QStringLiteral("Отображать метки на графике"), this);
    m_cbMarks->setObjectName(QStringLiteral("cbDrawsGraphMarks"));
    controls->addWidget(m_cbMarks);
    layout->addLayout(controls);
    m_chart = new TGraphChart(this);
    m_chart->setObjectName(QStringLiteral("ChartDrawsGraph"));
    layout->addWidget(m_chart, 1);

    CreateActions();
    actions.AddByName(toolBar, {"GraphRefresh", "", "SumsDistribution"});

    connect(m_cbMethod, &QComboBox::currentIndexChanged, this, [this] { Recompute(false); });
    connect(m_cbMarks, &QCheckBox::toggled, this, [this] { Recompute(true); });
    connect(&m_ws.Stats().Table(), &TStatTable::SelectorChanged, this, &TGraphsPage::FillSelector);
    connect(&m_ws, &TWorkspace::RecomputeRequested, this, [this](bool force) {
        if (isVisible()) Recompute(force);
    });
    FillSelector();
}

QString TGraphsPage::Caption() const {
    return QStringLiteral("Графики");
}

void TGraphsPage::CreateActions() {
    using TSpec = TActionList::TSpec;
    AddPageAction(
        TSpec{QStringLiteral("GraphRefresh"),
              QStringLiteral("Обновить"),
              Category,
              {},
              QStringLiteral("Построить график заново")},
        [this] { Recompute(true); }, [this] { return m_cbMethod->currentIndex() >= 0; });
    AddPageAction(
        TSpec{QStringLiteral("SumsDistribution"), SumsDistributionCaption, Category},
        [this] { SumsDistributionExecute(); }, [this] { return !m_ws.Archive().IsEmpty(); });
}

QList<TMenuEntries> TGraphsPage::MenuEntries() const {
    return {{QStringLiteral("mnStat"), {"", "SumsDistribution"}}};
}

void TGraphsPage::FillSelector() {
    const TStatSelectors selectors = m_ws.Stats().Registry().SelectorItems();
    QList<int> entries;
    for (const TSelectorItem &item : selectors.Graphs)
        entries << item.Entry;
    if (entries == m_entries && m_cbMethod->count() == entries.size()) return;
    // A new list (favourites, names or settings changed): from the first item.
    const QSignalBlocker block(m_cbMethod);
    m_cbMethod->clear();
    for (const TSelectorItem &item : selectors.Graphs)
        m_cbMethod->addItem(item.Caption, item.Entry);
    m_entries = entries;
    m_cbMethod->setCurrentIndex(entries.isEmpty() ? -1 : 0);
    m_drawn = {};
    if (isVisible()) Recompute(true);
}

void TGraphsPage::Recompute(bool force) {
    const int entry = m_cbMethod->currentIndex() >= 0 ? m_cbMethod->currentData().toInt() : -1;
    const TDrawn now{m_ws.Archive().Count(), m_ws.Archive().Offset(), m_edLen->value(), entry};
    if (!force && now == m_drawn) return;
    m_drawn = now;
    m_chart->Clear();
    if (entry < 0 || m_ws.Archive().IsEmpty()) return;
    TBusyGuard busy(m_host);
    m_host.ShowStatus(QStringLiteral("Анализ тиражей и построение графиков..."));
    const TGraphSample sample = ComputeGraphSample(m_ws.Stats().Registry(), entry, now.Offset, now.Length,
                                                   m_ws.Archive().SortedDraws());
    const bool marks = m_cbMarks->isChecked();
    const QString title = m_cbMethod->currentText();
    for (const TGraphPoint &p : sample.Points)
        m_chart->AddPoint(p.X, title, p.Y, true, marks, QColor(0, 128, 0), 2, QColor(255, 0, 255));
    for (const TGraphPoint &p : sample.Points) {
        m_chart->AddPoint(p.X, GraphMeanTitle, sample.Mean, false, false, QColor(0, 0, 255));
        m_chart->AddPoint(p.X, GraphModeTitle, sample.Mode, false, false, QColor(255, 0, 0));
    }
    m_chart->Finish();
    m_host.ShowStatus(QString());
}

void TGraphsPage::SumsDistributionExecute() {
    TSumsDistribution distribution;
    {
        TBusyGuard busy(m_host);
        m_host.ShowStatus(QStringLiteral("Идет сбор статистики...."));
        distribution = ComputeSumsDistribution(m_ws.Archive().Draws().Draws());
        m_host.ShowStatus(QString());
    }
    auto *form = new TFormGraph(window());
    form->setAttribute(Qt::WA_DeleteOnClose);
    form->ShowSumsDistribution(distribution);
    form->show();
}

void TGraphsPage::showEvent(QShowEvent *event) {
    QWidget::showEvent(event);
    Recompute(false);
}

bool TGraphsPage::eventFilter(QObject *watched, QEvent *event) {
    if (watched == m_edLen && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            m_edLen->interpretText();
            Recompute(false);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TGraphsPage::LoadWindowSettings(const TWindowSettings &settings, const QString &section) {
    m_edLen->setValue(std::max(1, settings.ReadInt(section, LengthKey, DefaultLength)));
    const QSignalBlocker block(m_cbMarks);
    m_cbMarks->setChecked(settings.ReadBool(section, MarksKey, false));
}

void TGraphsPage::SaveWindowSettings(TWindowSettings &settings, const QString &section) const {
    settings.WriteInt(section, LengthKey, m_edLen->value());
    settings.WriteInt(section, MarksKey, m_cbMarks->isChecked() ? 1 : 0);
}

QList<TScreenshotRender> TGraphsPage::ScreenshotRenders() const {
    return {{QStringLiteral("TFormGraph_Sums"), [this](QWidget *parent) -> std::unique_ptr<QWidget> {
                 auto form = std::make_unique<TFormGraph>(parent);
                 form->ShowSumsDistribution(ComputeSumsDistribution(m_ws.Archive().Draws().Draws()));
                 return form;
             }}};
}

} // namespace lot
