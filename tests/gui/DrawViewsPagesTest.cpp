// The card and layout tabs and the repeats window on real widgets: cells,
// colours, the number filters from a selection, the display switches and
// the repeats list and chart.

#include "GuiTestUtil.h"

#include "combs/CombGenerator.h"
#include "combs/CombsController.h"
#include "gui/shell/ActionList.h"
#include "gui/stats/GraphChart.h"
#include "gui/views/CardPage.h"
#include "gui/views/FormRepeats.h"
#include "gui/views/LayoutPage.h"
#include "shell/Workspace.h"

#include <gtest/gtest.h>
#include <QAction>
#include <QBrush>
#include <QItemSelectionModel>
#include <QLineSeries>
#include <QSpinBox>
#include <QTableView>
#include <QTableWidget>
#include <QTemporaryDir>

namespace lot {
namespace {

class DrawViewsPagesTest : public ::testing::Test {
protected:
    void SetUp() override {
        guitest::EnsureApplication();
        ASSERT_TRUE(m_dir.isValid());
        m_messages.Attach(m_host);
        m_ws = std::make_unique<TWorkspace>(m_host, m_dir.path());
        m_ws->LoadGameSettings();
        ASSERT_TRUE(m_ws->Archive().ReplaceDraws(guitest::TenDraws()));
        ASSERT_TRUE(m_ws->Combs().GenerateCombs(true, cgmOnlyOf, QStringLiteral("1;2;3;4;5;6;7;8")));
        m_owner = std::make_unique<QWidget>();
        m_actions = new TActionList(m_host, m_owner.get());
        m_card = new TCardPage(*m_ws, m_host, *m_actions, m_owner.get());
        m_layout = new TLayoutPage(*m_ws, m_host, *m_actions, m_owner.get());
        m_owner->resize(1000, 700);
        m_owner->show();
    }
    void TearDown() override {
        EXPECT_TRUE(m_messages.Messages.isEmpty()) << m_messages.Texts().join('\n').toStdString();
    }
    QAction *Action(const char *name) const { return m_actions->Find(QLatin1String(name)); }
    bool Enabled(const char *name) {
        m_actions->UpdateAll();
        return Action(name)->isEnabled();
    }
    static void Select(QAbstractItemView *view, int row, int column) {
        view->selectionModel()->select(view->model()->index(row, column), QItemSelectionModel::Select);
    }

    QTemporaryDir m_dir;
    TGuiHost m_host;
    guitest::TMessageRecorder m_messages;
    std::unique_ptr<TWorkspace> m_ws;
    std::unique_ptr<QWidget> m_owner;
    TActionList *m_actions = nullptr;
    TCardPage *m_card = nullptr;
    TLayoutPage *m_layout = nullptr;
};

TEST_F(DrawViewsPagesTest, CardShowsTheDrawsAndFiltersBySelectedNumbers) {
    QTableView *grid = m_card->Grid();
    ASSERT_EQ(grid->model()->rowCount(), 10);
    ASSERT_EQ(grid->model()->columnCount(), 48);
    // Row 0 is the newest draw 4019 (k = 9): 40, 10, 30, 20, 11, 35.
    EXPECT_EQ(grid->model()->index(0, 0).data().toInt(), 4019);
    EXPECT_EQ(grid->model()->index(0, 10).data().toInt(), 10);
    EXPECT_EQ(grid->model()->index(0, 11).data().toInt(), 11);
    EXPECT_FALSE(grid->model()->index(0, 12).data().isValid());
    // 10 and 11 stand side by side; 10 also stood in the draw before (k = 8: 9, 10).
    EXPECT_EQ(grid->model()->index(0, 10).data(Qt::BackgroundRole).value<QBrush>().color(),
              QColor(255, 255, 0));
    EXPECT_TRUE(Enabled("ViewColorCard"));
    EXPECT_TRUE(Action("ViewColorCard")->isChecked());
    m_actions->Execute(Action("ViewColorCardSequences"));
    EXPECT_FALSE(m_ws->Settings().ColorCardSequences()) << "the switch is stored";
    EXPECT_NE(grid->model()->index(0, 10).data(Qt::BackgroundRole).value<QBrush>().color(),
              QColor(255, 255, 0));

    EXPECT_FALSE(Enabled("CardFilter_Include")) << "nothing selected";
    Select(grid, 0, 0);
    EXPECT_FALSE(Enabled("CardFilter_Include")) << "the draw number column is no number";
    grid->clearSelection();
    Select(grid, 1, 2); // an empty cell adds no number
    Select(grid, 0, 10);
    ASSERT_TRUE(Enabled("CardFilter_Include"));
    const int before = m_ws->Combs().Count();
    m_actions->Execute(Action("CardFilter_Include"));
    EXPECT_LT(m_ws->Combs().Count(), before);
    for (const TComb &c : m_ws->Combs().Combs()) {
        bool has = false;
        for (uint8_t n : c.N)
            has = has || n == 10;
        EXPECT_TRUE(has);
    }
    EXPECT_TRUE(Enabled("CardXlsExport"));
}

TEST_F(DrawViewsPagesTest, LayoutAndItsSideLists) {
    m_layout->LengthEdit()->setValue(3);
    m_layout->RecomputeLayout(true);
    QTableWidget *grid = m_layout->Grid();
    // Draws 4015, 4017, 4019: 9 and 10 come out twice, the others once.
    ASSERT_EQ(grid->rowCount(), 2);
    EXPECT_EQ(grid->verticalHeaderItem(0)->text(), "2");
    EXPECT_EQ(grid->item(0, 0)->text(), "10");
    EXPECT_EQ(grid->item(0, 1)->text(), "9");
    ASSERT_EQ(grid->columnCount(), 3);
    EXPECT_EQ(grid->horizontalHeaderItem(0)->text(), "4019");
    EXPECT_EQ(grid->horizontalHeaderItem(2)->text(), "4015");
    QStringList texts;
    for (int r = 0; r < grid->rowCount(); ++r)
        for (int c = 0; c < grid->columnCount(); ++c)
            texts << grid->item(r, c)->text();
    EXPECT_FALSE(texts.join(' ').contains('[')) << "offset 0";
    m_layout->RecomputeLists(true);
    EXPECT_EQ(m_layout->List(0)->horizontalHeaderItem(1)->text(), "4001 - 4019")
        << "50 draws: the whole archive";
    EXPECT_EQ(m_layout->List(0)->horizontalHeaderItem(0)->text(), "Кол-во");

    // With an offset the next draw's numbers show in brackets, in lime.
    m_ws->Archive().ChangeOffset(1);
    m_layout->RecomputeLayout(false);
    bool bracketed = false;
    for (int r = 0; r < grid->rowCount(); ++r)
        for (int c = 0; c < grid->columnCount(); ++c)
            if (grid->item(r, c)->text().contains('[')) {
                bracketed = true;
                EXPECT_EQ(grid->item(r, c)->background().color(), QColor(0, 255, 0));
            }
    EXPECT_TRUE(bracketed);

    grid->setCurrentCell(0, 0);
    ASSERT_TRUE(Enabled("LayoutFilter_Exclude"));
    const int before = m_ws->Combs().Count();
    m_actions->Execute(Action("LayoutFilter_Exclude"));
    EXPECT_LE(m_ws->Combs().Count(), before);
    EXPECT_TRUE(Enabled("ViewShemaGradient"));
}

TEST_F(DrawViewsPagesTest, RepeatsWindowListsAndCharts) {
    TFormRepeats form(*m_ws, m_host);
    EXPECT_EQ(form.windowTitle(), "Количество повторов в зависимости от тиража");
    EXPECT_EQ(form.LengthEdit()->value(), 100);
    EXPECT_EQ(form.DeepEdit()->value(), 100);
    form.Calculate();
    // Draw k holds k + 1 and k + 2: each draw shares a number with the one before.
    ASSERT_GT(form.List()->rowCount(), 0);
    EXPECT_EQ(form.List()->item(0, 0)->text(), "4019");
    int maxShared = 0;
    for (int r = 0; r < form.List()->rowCount(); ++r)
        maxShared = std::max(maxShared, form.List()->item(r, 1)->text().toInt());
    ASSERT_EQ(form.Chart()->Series().size(), maxShared);
    EXPECT_EQ(form.Chart()->Series()[0]->name(), "Совпадений: 1");
    EXPECT_FALSE(m_host.ProgressIsOpen());

    ASSERT_TRUE(m_ws->Archive().ReplaceDraws({guitest::TenDraws().front()}));
    form.Calculate();
    EXPECT_EQ(form.List()->rowCount(), 0) << "one draw: nothing to compare";
    EXPECT_TRUE(form.Chart()->Series().isEmpty());
}

} // namespace
} // namespace lot
