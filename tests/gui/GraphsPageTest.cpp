// The graphs tab on real widgets: the selector of graph methods, the three
// series with their titles, colours and points, the recompute rules, and
// the sums distribution window.

#include "GuiTestUtil.h"

#include "gui/shell/ActionList.h"
#include "gui/stats/FormGraph.h"
#include "gui/stats/GraphChart.h"
#include "gui/stats/GraphsPage.h"
#include "shell/Workspace.h"
#include "stats/GraphViews.h"
#include "stats/StatsController.h"

#include <gtest/gtest.h>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineSeries>
#include <QSpinBox>
#include <QTemporaryDir>

namespace lot {
namespace {

class GraphsPageTest : public ::testing::Test {
protected:
    void SetUp() override {
        guitest::EnsureApplication();
        ASSERT_TRUE(m_dir.isValid());
        m_messages.Attach(m_host);
        m_ws = std::make_unique<TWorkspace>(m_host, m_dir.path());
        m_ws->LoadGameSettings();
        ASSERT_TRUE(m_ws->Archive().ReplaceDraws(guitest::TenDraws()));
        m_owner = std::make_unique<QWidget>();
        m_actions = new TActionList(m_host, m_owner.get());
        m_page = new TGraphsPage(*m_ws, m_host, *m_actions, m_owner.get());
        m_page->resize(900, 500);
    }
    void TearDown() override {
        EXPECT_TRUE(m_messages.Messages.isEmpty()) << m_messages.Texts().join('\n').toStdString();
    }
    void Select(const char *code) {
        const int entry = m_ws->Stats().Registry().FindEntry(QLatin1String(code));
        const int index = m_page->MethodSelector()->findData(entry);
        ASSERT_GE(index, 0) << code;
        m_page->MethodSelector()->setCurrentIndex(index);
    }
    static QList<double> Ys(const QLineSeries *series) {
        QList<double> ys;
        for (const QPointF &p : series->points())
            ys << p.y();
        return ys;
    }

    QTemporaryDir m_dir;
    TGuiHost m_host;
    guitest::TMessageRecorder m_messages;
    std::unique_ptr<TWorkspace> m_ws;
    std::unique_ptr<QWidget> m_owner;
    TActionList *m_actions = nullptr;
    TGraphsPage *m_page = nullptr;
};

TEST_F(GraphsPageTest, ThreeSeriesOverTheSample) {
    EXPECT_EQ(m_page->objectName(), "tsDrawsGraph");
    EXPECT_EQ(m_page->Caption(), "Графики");
    EXPECT_EQ(m_page->LengthEdit()->objectName(), "edDrawsGraphLen");
    EXPECT_EQ(m_page->LengthEdit()->value(), 100);
    EXPECT_EQ(m_page->LengthEdit()->maximum(), 2147483647);
    EXPECT_EQ(m_page->MethodSelector()->toolTip(), "Тип графика");
    // Only methods with a graph are offered.
    for (int i = 0; i < m_page->MethodSelector()->count(); ++i)
        EXPECT_TRUE(m_ws->Stats().Registry().HasGraph(m_page->MethodSelector()->itemData(i).toInt())) << i;
    EXPECT_EQ(m_page->MethodSelector()->findData(m_ws->Stats().Registry().FindEntry("NUMS")), -1);

    m_owner->show();
    Select("POS1");
    // Draw k has first number k + 31: the sample of 4 is draws 4013..4019.
    m_page->LengthEdit()->setValue(4);
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(m_page->LengthEdit(), &enter);
    const QList<QLineSeries *> series = m_page->Chart()->Series();
    ASSERT_EQ(series.size(), 3);
    EXPECT_EQ(series[0]->name(), m_page->MethodSelector()->currentText());
    EXPECT_EQ(series[0]->pen().color(), QColor(0, 128, 0));
    EXPECT_EQ(series[0]->points().first().x(), 4013);
    EXPECT_EQ(series[0]->points().last().x(), 4019);
    EXPECT_EQ(Ys(series[0]), (QList<double>{37, 38, 39, 40}));
    EXPECT_EQ(series[1]->name(), "Среднее значение");
    EXPECT_EQ(series[1]->pen().color(), QColor(0, 0, 255));
    EXPECT_EQ(Ys(series[1]), (QList<double>{38.5, 38.5, 38.5, 38.5}));
    EXPECT_EQ(series[2]->name(), "Наиболее часто встречающееся значение");
    EXPECT_EQ(series[2]->pen().color(), QColor(255, 0, 0));
    EXPECT_EQ(Ys(series[2]), (QList<double>{37, 37, 37, 37})) << "all tie: the first seen";
    EXPECT_FALSE(series[0]->pointLabelsVisible());
    m_page->MarksBox()->setChecked(true);
    EXPECT_TRUE(m_page->Chart()->Series()[0]->pointLabelsVisible());

    // The offset moves the sample; the workspace's recompute redraws.
    m_ws->Archive().ChangeOffset(1);
    m_ws->RecomputeAll(false);
    EXPECT_EQ(m_page->Chart()->Series()[0]->points().last().x(), 4017);
}

TEST_F(GraphsPageTest, SumsDistributionOpensItsGraphWindow) {
    QAction *action = m_actions->Find("SumsDistribution");
    ASSERT_NE(action, nullptr);
    EXPECT_EQ(action->text(), "Распределение сумм тиражей и всех возможных комбинаций");
    m_actions->Execute(action);
    TFormGraph *form = nullptr;
    for (QWidget *w : QApplication::topLevelWidgets())
        if (auto *f = qobject_cast<TFormGraph *>(w)) form = f;
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(form->windowTitle(), "Распределение сумм тиражей и всех возможных комбинаций");
    QStringList titles;
    for (QLineSeries *s : form->Chart()->Series())
        titles << s->name();
    EXPECT_EQ(titles, (QStringList{"Фактическое распределение сумм (по тиражам)",
                                   "Теоретическое распределение сумм (по комбинациям)",
                                   "Диапазон 1 (от 1/3 и выше по оси Y) - суммы 93-183",
                                   "Диапазон 2 (от 1/2 и выше по оси Y) - суммы 102-174",
                                   "Диапазон 3 (от 2/3 и выше по оси Y) - суммы 110-166"}));
    const QList<QLineSeries *> series = form->Chart()->Series();
    EXPECT_EQ(series[0]->pen().color(), QColor(255, 0, 0));
    EXPECT_TRUE(series[0]->pointLabelsVisible());
    EXPECT_FALSE(series[1]->pointLabelsVisible());
    EXPECT_EQ(series[1]->points().size(), 235);
    form->MarksBox()->setChecked(false);
    EXPECT_FALSE(series[0]->pointLabelsVisible()) << "the marks box hides the remembered series' marks";
    form->close();
    delete form;
}

} // namespace
} // namespace lot
