// The statistics tab on real widgets: the table computed through the page,
// its cells, layout, sorting, the selection in both directions, the sample
// length edit, the actions and the chart series.

#include "GuiTestUtil.h"

#include "combs/CombGenerator.h"
#include "combs/CombsController.h"
#include "gui/shell/ActionList.h"
#include "gui/stats/StatModel.h"
#include "gui/stats/StatsPage.h"
#include "shell/Workspace.h"
#include "stats/StatTable.h"

#include <gtest/gtest.h>
#include <QAbstractItemModelTester>
#include <QAction>
#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLineSeries>
#include <QSpinBox>
#include <QTableView>
#include <QTemporaryDir>

namespace lot {
namespace {

// Number 1 in draws 101, 103, 107, 111; number 2 in 101, 105, 107; even
// counts 3, 2, 3, 3, 3, 2.
TDrawsArray SixDraws() {
    using guitest::MakeDraw;
    return {MakeDraw(101, {1, 2, 3, 4, 5, 6}, 7, 8),       MakeDraw(103, {1, 7, 8, 9, 10, 11}, 7, 9),
            MakeDraw(105, {2, 7, 12, 13, 14, 15}, 7, 10),  MakeDraw(107, {1, 2, 16, 17, 18, 19}, 7, 11),
            MakeDraw(109, {3, 20, 21, 22, 23, 24}, 7, 12), MakeDraw(111, {1, 25, 26, 27, 28, 29}, 7, 13)};
}

class StatsPageTest : public ::testing::Test {
protected:
    void SetUp() override {
        guitest::EnsureApplication();
        ASSERT_TRUE(m_dir.isValid());
        m_messages.Attach(m_host);
        m_ws = std::make_unique<TWorkspace>(m_host, m_dir.path());
        m_ws->LoadGameSettings();
        m_owner = std::make_unique<QWidget>();
        m_actions = new TActionList(m_host, m_owner.get());
        m_page = new TStatsPage(*m_ws, m_host, *m_actions, m_owner.get());
        m_tester = std::make_unique<QAbstractItemModelTester>(
            m_page->Model(), QAbstractItemModelTester::FailureReportingMode::Fatal);
        m_owner->resize(1000, 700);
        m_page->resize(1000, 700);
        ASSERT_TRUE(m_ws->Archive().ReplaceDraws(SixDraws()));
        SelectMethod("NUMS");
    }
    void TearDown() override {
        m_tester.reset();
        EXPECT_TRUE(m_messages.Messages.isEmpty()) << m_messages.Texts().join('\n').toStdString();
    }

    TStatTable &Table() const { return m_ws->Stats().Table(); }
    /// Picks a method in the selector, as the user does.
    void SelectMethod(const QString &code) {
        const int index = Table().SelectorIndexOfEntry(m_ws->Stats().Registry().FindEntry(code));
        ASSERT_GE(index, 0) << code.toStdString();
        m_page->MethodSelector()->setCurrentIndex(index);
    }
    QString Shown(int row, int column) const {
        return m_page->Model()->data(m_page->Model()->index(row, column)).toString();
    }
    int RowShowing(const QString &value) const {
        for (int r = 0; r < m_page->Model()->rowCount(); ++r)
            if (Shown(r, scValue) == value) return r;
        return -1;
    }
    QList<int> ViewSelection() const {
        QList<int> rows;
        for (const QModelIndex &i : m_page->List()->selectionModel()->selectedRows())
            rows << i.row();
        std::sort(rows.begin(), rows.end());
        return rows;
    }
    QList<QLineSeries *> Series() const {
        QList<QLineSeries *> list;
        for (QAbstractSeries *s : m_page->Chart()->series())
            list << qobject_cast<QLineSeries *>(s);
        return list;
    }
    void PressEnterInLength() {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QApplication::sendEvent(m_page->LengthEdit(), &press);
    }
    QAction *Action(const char *name) const { return m_actions->Find(QLatin1String(name)); }

    QTemporaryDir m_dir;
    TGuiHost m_host;
    guitest::TMessageRecorder m_messages;
    std::unique_ptr<TWorkspace> m_ws;
    std::unique_ptr<QWidget> m_owner;
    TActionList *m_actions = nullptr;
    TStatsPage *m_page = nullptr;
    std::unique_ptr<QAbstractItemModelTester> m_tester;
};

TEST_F(StatsPageTest, ShowsTheComputedTable) {
    EXPECT_EQ(m_page->MethodSelector()->objectName(), "cbDrawsStat");
    EXPECT_EQ(m_page->MethodSelector()->toolTip(), "Вид расчета статистики");
    EXPECT_EQ(m_page->LengthEdit()->objectName(), "edDrawsStatLen");
    EXPECT_EQ(m_page->LengthEdit()->minimum(), 1);
    EXPECT_EQ(m_page->LengthEdit()->maximum(), 2147483647);
    EXPECT_EQ(m_page->LengthEdit()->value(), 1000);

    TStatModel *model = m_page->Model();
    ASSERT_EQ(model->rowCount(), 45);
    ASSERT_EQ(model->columnCount(), 20);
    QStringList headers;
    for (int c = 0; c < model->columnCount(); ++c)
        headers << model->headerData(c, Qt::Horizontal).toString();
    EXPECT_EQ(headers, TStatTable::ColumnCaptions());

    const int one = RowShowing("1");
    ASSERT_GE(one, 0);
    QStringList cells;
    for (int c = 0; c < 20; ++c)
        cells << Shown(one, c);
    EXPECT_EQ(cells,
              QStringList({"1", "4",      "11.11111", "-",   "-",   "-",   "1", "16.67", "1.00", "111",
                           "2", "1.5000", "4",        "112", "139", "134", "-", "-",     "-",    "-"}));

    auto align = [&](int column) {
        return model->data(model->index(0, column), Qt::TextAlignmentRole).toInt();
    };
    EXPECT_EQ(align(scValue), int(Qt::AlignLeft | Qt::AlignVCenter));
    EXPECT_EQ(align(scCount), int(Qt::AlignRight | Qt::AlignVCenter));
    EXPECT_EQ(align(scLastDraw), int(Qt::AlignCenter));
    EXPECT_EQ(align(scPeriodMax), int(Qt::AlignRight | Qt::AlignVCenter));
    for (int c = scExpectPrd; c <= scDiffKrn; ++c)
        EXPECT_EQ(align(c), int(Qt::AlignCenter)) << c;
}

TEST_F(StatsPageTest, ColumnWidthsAndFullSetColumns) {
    QTableView *list = m_page->List();
    EXPECT_EQ(list->objectName(), "lvDrawsStat");
    EXPECT_EQ(list->columnWidth(scValue), 120);
    EXPECT_EQ(list->columnWidth(scCount), 80);
    EXPECT_EQ(list->columnWidth(scDiffKrn), 80);
    // The prefetch switch is off: the three full-set columns take no room.
    for (int c : {scNorm, scDeviation, scDeviationPercent})
        EXPECT_TRUE(list->isColumnHidden(c)) << c;
    EXPECT_FALSE(list->isColumnHidden(scDepth));
    m_page->SetPrefetchColumns(true);
    for (int c : {scNorm, scDeviation, scDeviationPercent}) {
        EXPECT_FALSE(list->isColumnHidden(c)) << c;
        EXPECT_EQ(list->columnWidth(c), 80) << c;
    }
}

TEST_F(StatsPageTest, HeaderClicksSortAndReverse) {
    QHeaderView *header = m_page->List()->horizontalHeader();
    EXPECT_EQ(header->sortIndicatorSection(), scCount);
    EXPECT_EQ(Shown(0, scValue), "30");
    emit header->sectionClicked(scValue);
    EXPECT_EQ(Shown(0, scValue), "1");
    EXPECT_EQ(Shown(10, scValue), "11");
    EXPECT_EQ(header->sortIndicatorOrder(), Qt::AscendingOrder);
    emit header->sectionClicked(scValue);
    EXPECT_EQ(Shown(0, scValue), "45");
    EXPECT_EQ(header->sortIndicatorSection(), scValue);
    EXPECT_EQ(header->sortIndicatorOrder(), Qt::DescendingOrder);
}

TEST_F(StatsPageTest, SelectionFollowsBothWays) {
    QItemSelectionModel *selection = m_page->List()->selectionModel();
    selection->select(m_page->Model()->index(0, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    selection->select(m_page->Model()->index(2, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    EXPECT_EQ(Table().SelectedRows(), QList<int>({0, 2}));
    EXPECT_EQ(Table().SelectedValuesText(), Shown(0, 0) + "; " + Shown(2, 0));

    // A script selects by value: the view follows.
    Table().ClearSelection();
    Table().SelectByValueTexts({"7", "1"});
    EXPECT_EQ(ViewSelection(), QList<int>({RowShowing("7"), RowShowing("1")}));

    // Re-sorting keeps the selected values selected.
    emit m_page->List()->horizontalHeader()->sectionClicked(scValue);
    EXPECT_EQ(ViewSelection(), QList<int>({0, 6}));
    EXPECT_EQ(Table().SelectedValuesText(), "1; 7");
}

TEST_F(StatsPageTest, LengthIsTakenOnEnter) {
    const int computed = Table().ComputeCount();
    m_page->LengthEdit()->setValue(3);
    // Changing the number alone does not recompute.
    EXPECT_EQ(Table().ComputeCount(), computed);
    PressEnterInLength();
    EXPECT_EQ(Table().ComputeCount(), computed + 1);
    EXPECT_EQ(Table().Summary().SampleSize, 3);
    EXPECT_EQ(m_ws->Settings().DrawsStatLen(), 3);
    // Enter again with nothing changed: nothing to do.
    PressEnterInLength();
    EXPECT_EQ(Table().ComputeCount(), computed + 1);
}

TEST_F(StatsPageTest, SelectorComputesOnlyOnChange) {
    const int computed = Table().ComputeCount();
    SelectMethod("EVEN");
    EXPECT_EQ(Table().ComputeCount(), computed + 1);
    EXPECT_EQ(m_page->Model()->rowCount(), 6);
    // Picking it again does nothing; the refresh action always recomputes.
    m_page->MethodSelector()->setCurrentIndex(m_page->MethodSelector()->currentIndex());
    EXPECT_EQ(Table().ComputeCount(), computed + 1);
    m_actions->Execute(Action("StatRefresh"));
    EXPECT_EQ(Table().ComputeCount(), computed + 2);

    // A script selects a method: the selector shows it.
    ASSERT_TRUE(Table().SelectEntry(m_ws->Stats().Registry().FindEntry("NUMS")));
    EXPECT_EQ(m_page->MethodSelector()->currentText(), Table().SelectorText());
}

TEST_F(StatsPageTest, RefreshNeedsDrawsAndAMethod) {
    m_actions->UpdateAll();
    EXPECT_TRUE(Action("StatRefresh")->isEnabled());
    EXPECT_EQ(Action("StatRefresh")->text(), "Обновить");
    m_page->MethodSelector()->setCurrentIndex(-1);
    m_actions->UpdateAll();
    EXPECT_FALSE(Action("StatRefresh")->isEnabled());
    EXPECT_EQ(m_page->Model()->rowCount(), 0);

    SelectMethod("NUMS");
    ASSERT_TRUE(m_ws->Archive().ReplaceDraws({}));
    m_actions->UpdateAll();
    EXPECT_FALSE(Action("StatRefresh")->isEnabled());
    EXPECT_EQ(m_page->Model()->rowCount(), 0);
    EXPECT_TRUE(Series().isEmpty());
}

TEST_F(StatsPageTest, ChartOfTheCounts) {
    const QList<QLineSeries *> series = Series();
    ASSERT_EQ(series.size(), 1);
    QLineSeries *actual = series[0];
    EXPECT_EQ(actual->name(), "Фактические данные");
    EXPECT_EQ(actual->pen().color(), QColor(0, 128, 0));
    EXPECT_EQ(actual->pen().width(), 2);
    EXPECT_TRUE(actual->pointsVisible());
    EXPECT_FALSE(actual->pointLabelsVisible());
    EXPECT_EQ(actual->markerSize(), 2);
    EXPECT_EQ(actual->lightMarker().pixelColor(0, 0), QColor(255, 0, 255));
    ASSERT_EQ(actual->count(), 45);
    EXPECT_EQ(actual->at(0), QPointF(1, 4));
    EXPECT_EQ(actual->at(1), QPointF(2, 3));
    EXPECT_EQ(actual->at(44), QPointF(45, 0));
    auto *axis = qobject_cast<QCategoryAxis *>(m_page->Chart()->axes(Qt::Horizontal).value(0));
    ASSERT_NE(axis, nullptr);
    EXPECT_EQ(axis->categoriesLabels().value(0), "1");
    EXPECT_EQ(axis->endValue("1"), 1);
}

TEST_F(StatsPageTest, IdealLineFollowsItsSwitch) {
    // Every number is equally frequent in the full set.
    Table().SetFullSetSource([](const TCustomStat &) {
        TFullSetCounts counts;
        for (int n = 1; n <= 45; ++n)
            counts.Records.push_back({TStatKey::FromWords(uint16_t(n)), 1086008});
        counts.MinCount = counts.MaxCount = 1086008;
        return std::optional<TFullSetCounts>(counts);
    });
    m_actions->Execute(Action("StatRefresh"));
    QList<QLineSeries *> series = Series();
    ASSERT_EQ(series.size(), 2);
    QLineSeries *total = series[1];
    EXPECT_EQ(total->name(), "Все возможные комбинации");
    EXPECT_EQ(total->pen().color(), QColor(255, 0, 0));
    EXPECT_FALSE(total->pointsVisible());
    EXPECT_EQ(total->lightMarker().pixelColor(0, 0), QColor(128, 0, 128));
    ASSERT_EQ(total->count(), 45);
    EXPECT_EQ(total->at(0).x(), 1);
    EXPECT_DOUBLE_EQ(total->at(0).y(), 2);
    EXPECT_EQ(Shown(RowShowing("1"), scNorm), "2");

    QAction *line = Action("DrawsStateShowTotalLine");
    EXPECT_EQ(line->text(), "График идеального распределения");
    m_actions->UpdateAll();
    EXPECT_TRUE(line->isChecked());
    m_actions->Execute(line);
    EXPECT_FALSE(m_ws->Stats().ShowTotalLine());
    EXPECT_FALSE(line->isChecked());
    ASSERT_EQ(Series().size(), 1);
    EXPECT_EQ(Series()[0]->name(), "Фактические данные");
}

TEST_F(StatsPageTest, KeepAndDeleteSelectedRowsWithUndo) {
    // The 28 combinations of 1..8: 21 hold the number 1, 15 of those also 2.
    TCombsController &combs = m_ws->Combs();
    ASSERT_TRUE(combs.GenerateCombs(false, cgmOnlyOf, QStringLiteral("1;2;3;4;5;6;7;8")));
    ASSERT_EQ(combs.Count(), 28);
    QItemSelectionModel *selection = m_page->List()->selectionModel();
    m_actions->UpdateAll();
    EXPECT_FALSE(Action("StatFilter_Include")->isEnabled()); // no row selected
    EXPECT_EQ(Action("StatFilter_Include")->shortcut(), QKeySequence(Qt::Key_F7));
    EXPECT_EQ(Action("StatFilter_Exclude")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_F7));

    selection->select(m_page->Model()->index(RowShowing("1"), 0),
                      QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    m_actions->UpdateAll();
    ASSERT_TRUE(Action("StatFilter_Include")->isEnabled());
    m_actions->Execute(Action("StatFilter_Include"));
    EXPECT_EQ(combs.Count(), 21);
    for (int i = 0; i < combs.Count(); ++i)
        EXPECT_EQ(combs.At(i)[0], 1);
    EXPECT_EQ(combs.History().last().Values, "1");
    EXPECT_EQ(combs.History().last().Count, "21");

    selection->select(m_page->Model()->index(RowShowing("2"), 0),
                      QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    m_actions->UpdateAll();
    m_actions->Execute(Action("StatFilter_Exclude"));
    EXPECT_EQ(combs.Count(), 6); // 21 minus the 15 that also hold 2
    EXPECT_EQ(combs.History().last().Values, "2");

    // Undo gives back the list before the last filtering.
    combs.RestoreUndo(false);
    EXPECT_EQ(combs.Count(), 21);
}

} // namespace
} // namespace lot
