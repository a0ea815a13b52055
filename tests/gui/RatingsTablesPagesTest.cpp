// The "Рейтинг" and "Регуляры" tabs over a started workspace: the ratings
// list with its sort, modes, graphs, exports and rows back to script lines;
// the rules list with the rule dialog's checks, the next stake and the test
// over past draws.

#include "GuiTestUtil.h"
#include "XlsxReader.h"

#include "combs/CombGenerator.h"
#include "combs/CombsController.h"
#include "core/Codec1251.h"
#include "core/IniFile.h"
#include "gui/combs/CombsPage.h"
#include "gui/scripts/FormTestCnt.h"
#include "gui/shell/ActionList.h"
#include "gui/stakes/FormStake.h"
#include "gui/stakes/FormTable.h"
#include "gui/stakes/RatingsModel.h"
#include "gui/stakes/RatingsPage.h"
#include "gui/stakes/StakesPage.h"
#include "gui/stakes/TablesPage.h"
#include "gui/stats/FormGraph.h"
#include "gui/stats/GraphChart.h"
#include "shell/Workspace.h"
#include "stakes/StakesController.h"
#include "stakes/TablesController.h"

#include <functional>
#include <gtest/gtest.h>
#include <QAbstractItemModelTester>
#include <QAction>
#include <QFile>
#include <QHeaderView>
#include <QLineEdit>
#include <QLineSeries>
#include <QRadioButton>
#include <QSpinBox>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>

namespace lot {
namespace {

using guitest::TMessageRecorder;

/// Runs fn on the next modal dialog of type T once it shows.
template <class T> void OnDialog(std::function<void(T &)> fn) {
    QTimer::singleShot(0, [fn] {
        for (QWidget *w : QApplication::topLevelWidgets())
            if (auto *form = qobject_cast<T *>(w); form && form->isVisible()) return fn(*form);
        ADD_FAILURE() << "no dialog";
    });
}

class RatingsTablesPagesTest : public ::testing::Test {
protected:
    void SetUp() override {
        guitest::EnsureApplication();
        ASSERT_TRUE(m_dir.isValid());
        m_rec.Attach(m_host);
        TIniFile ini;
        ini.Load(Path("Brantlee_6x45.ini"));
        ini.WriteInteger("GLOBAL", "CombsGenerateMode", cgmOnlyOf);
        ini.WriteString("GLOBAL", "CombsGenerateParameters", "1;2;3;4;5;6;7;8");
        ini.WriteString("STAKES", "Cost", "1");
        ini.WriteInteger("STAKES", "Profits", 1);
        ini.WriteInteger("STAKES", "Profit_0_Overlap", 3);
        ini.WriteString("STAKES", "Profit_0_Profit", "10");
        ini.Save();
        TDrawsArchive archive;
        for (const TDrawRec &d : guitest::TenDraws())
            archive.Append(d);
        archive.SaveDrawsFile(Path("Brantlee_6x45.ldr"));

        m_ws = std::make_unique<TWorkspace>(m_host, m_dir.path());
        m_window = std::make_unique<QWidget>();
        m_actions = std::make_unique<TActionList>(m_host, m_window.get());
        m_combs = std::make_unique<TCombsPage>(*m_ws, m_host, *m_actions, m_window.get());
        m_stakes = std::make_unique<TStakesPage>(*m_ws, m_host, *m_actions, m_window.get());
        m_ratings = std::make_unique<TRatingsPage>(*m_ws, m_host, *m_actions, m_window.get());
        m_tables = std::make_unique<TTablesPage>(*m_ws, m_host, *m_actions, m_window.get());
        m_tester = std::make_unique<QAbstractItemModelTester>(
            m_ratings->Model(), QAbstractItemModelTester::FailureReportingMode::Fatal);
        QObject::connect(&m_host, &TGuiHost::BusyChanged, m_actions.get(), &TActionList::UpdateAll);
        m_ws->LoadWindowSettings();
        m_ws->LoadGameSettings();
        ASSERT_EQ(m_ws->Startup({}), TStartupResult::Running);
        ASSERT_TRUE(m_rec.Messages.isEmpty()) << m_rec.Texts().join('|').toStdString();
        QCoreApplication::processEvents();
        m_actions->UpdateAll();
    }
    void TearDown() override {
        m_tester.reset();
        if (m_ws) m_ws->Shutdown();
        m_tables.reset();
        m_ratings.reset();
        m_stakes.reset();
        m_combs.reset();
        m_actions.reset();
        m_window.reset();
        m_ws.reset();
    }
    QString Path(const char *name) const { return m_dir.filePath(QString::fromLatin1(name)); }
    QAction *Action(const char *name) const { return m_actions->Find(QLatin1String(name)); }
    bool Enabled(const char *name) const {
        m_actions->UpdateAll();
        QAction *a = Action(name);
        EXPECT_NE(a, nullptr) << name;
        return a && a->isEnabled();
    }
    void Run(const char *name) {
        QAction *a = Action(name);
        ASSERT_NE(a, nullptr) << name;
        m_actions->Execute(a);
    }
    /// A manual stake for a past draw, checked at once.
    void Stake(int draw, std::initializer_list<int> numbers, const QString &comment) {
        TNumberSet set;
        for (int n : numbers)
            set.Numbers[set.Count++] = uint8_t(n);
        TStakeRec rec = m_ws->Stakes().NewManualStake(set);
        rec.DrawNumber = draw;
        SetStakeComment(rec, comment);
        ASSERT_TRUE(m_ws->Stakes().AddStake(rec, 1));
    }
    QString Cell(int row, int column) const {
        return m_ratings->Model()->index(row, column).data().toString();
    }
    void SelectRatings(std::initializer_list<int> rows) {
        QItemSelection selection;
        for (int r : rows)
            selection.select(m_ratings->Model()->index(r, 0),
                             m_ratings->Model()->index(r, RatingColumnCount - 1));
        m_ratings->List()->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
    }
    void SelectRules(std::initializer_list<int> rows) {
        QItemSelection selection;
        for (int r : rows)
            selection.select(m_tables->Model()->index(r, 0),
                             m_tables->Model()->index(r, TableColumnCount - 1));
        m_tables->List()->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
        if (rows.size() > 0)
            m_tables->List()->selectionModel()->setCurrentIndex(m_tables->Model()->index(*rows.begin(), 0),
                                                                QItemSelectionModel::NoUpdate);
    }

    QTemporaryDir m_dir;
    TGuiHost m_host;
    TMessageRecorder m_rec;
    std::unique_ptr<TWorkspace> m_ws;
    std::unique_ptr<QWidget> m_window;
    std::unique_ptr<TActionList> m_actions;
    std::unique_ptr<TCombsPage> m_combs;
    std::unique_ptr<TStakesPage> m_stakes;
    std::unique_ptr<TRatingsPage> m_ratings;
    std::unique_ptr<TTablesPage> m_tables;
    std::unique_ptr<QAbstractItemModelTester> m_tester;
};

} // namespace

TEST_F(RatingsTablesPagesTest, RatingsListSortsSwitchesModesAndExports) {
    EXPECT_EQ(m_ratings->Caption(), "Рейтинг");
    EXPECT_EQ(m_ratings->List()->objectName(), "lvRatings");
    EXPECT_EQ(Action("RatingsRefresh")->shortcut(), QKeySequence(Qt::Key_F5));
    EXPECT_EQ(Action("StakesGraphProfits")->shortcut(), QKeySequence(Qt::ALT | Qt::Key_F6));
    for (const char *name : {"RatingsExport", "RatingsXlsExport", "RatingsToScript", "RatingsGraphOverlap",
                             "StakesGraphDraws", "StakesGraphOverlap"})
        EXPECT_FALSE(Enabled(name)) << name;
    EXPECT_TRUE(Enabled("RatingsRefresh"));

    // Draw 4019 is 40 10 30 20 11 35; draw 4017 is 39 9 29 19 10 36.
    Stake(4019, {10, 11, 20, 1, 2, 3}, QStringLiteral("Три")); // 3 overlaps: +9
    Stake(4019, {1, 2, 3, 4, 5, 6}, QStringLiteral("ТРИ"));    // 0: -1, the same row
    Stake(4017, {9, 10, 19, 29, 1, 2}, QStringLiteral("мой @ FULL#RAND + TSD#NUMS:10#LNO:#SF:1")); // 4: -1
    ASSERT_EQ(m_ratings->Model()->rowCount(), 2);
    // "Среднее" descending at first.
    EXPECT_EQ(Cell(0, rcComment), "мой @ FULL#RAND + TSD#NUMS:10#LNO:#SF:1");
    EXPECT_EQ(Cell(1, rcComment), "Три");
    EXPECT_EQ(Cell(1, rcStakes), "2");
    EXPECT_EQ(Cell(1, rcAverage), "1.500");
    EXPECT_EQ(Cell(1, rcProfit), "8.00");
    EXPECT_EQ(Cell(1, rcHistogram0 + 3), "1");
    EXPECT_EQ(m_ratings->Model()->index(1, 0).data(Qt::ToolTipRole).toString().left(40),
              QStringLiteral("Вероятность угадать случайными ставками (2) не меньше 3: ").left(40));
    EXPECT_EQ(m_ratings->List()->horizontalHeader()->sortIndicatorSection(), rcAverage);

    // A click on "Профит" sorts by it, largest first; again, smallest first.
    m_ratings->List()->horizontalHeader()->sectionClicked(rcProfit);
    EXPECT_EQ(Cell(0, rcComment), "Три");
    m_ratings->List()->horizontalHeader()->sectionClicked(rcProfit);
    EXPECT_EQ(Cell(0, rcComment), "мой @ FULL#RAND + TSD#NUMS:10#LNO:#SF:1");
    EXPECT_EQ(m_ws->Stakes().RatingsSortColumn(), rcProfit);
    EXPECT_FALSE(m_ws->Stakes().RatingsSortDescending());

    // The modes: checked while active, stored at once, the E cells follow.
    EXPECT_TRUE(Action("RatingsEffMode1")->isChecked());
    Run("RatingsEffMode0");
    EXPECT_TRUE(Action("RatingsEffMode0")->isChecked());
    EXPECT_FALSE(Action("RatingsEffMode1")->isChecked());
    EXPECT_EQ(Cell(1, rcEfficiency0), "1"); // 2 stakes x p(0) = 0.80
    EXPECT_EQ(TWindowSettings(Path("Brantlee_6x45.frm")).RatingsEffMode(), 0);
    Run("RatingsEffMode2");
    EXPECT_TRUE(Cell(1, rcEfficiency0).endsWith('%'));

    // Graphs: the overlap histogram of the selected rows against chance.
    SelectRatings({0, 1});
    ASSERT_TRUE(Enabled("RatingsGraphOverlap"));
    Run("RatingsGraphOverlap");
    ASSERT_NE(m_ratings->LastGraph(), nullptr);
    TGraphChart *chart = m_ratings->LastGraph()->Chart();
    EXPECT_EQ(m_ratings->LastGraph()->windowTitle(),
              "График количества совпадений для выделенных строк рейтинга");
    ASSERT_EQ(chart->Series().size(), 3);
    EXPECT_EQ(chart->Series()[0]->name(), "Нормальные значения");
    EXPECT_EQ(chart->Series()[0]->color(), QColor(128, 128, 128));
    EXPECT_EQ(chart->Series()[0]->count(), 7);
    m_ratings->LastGraph()->close();

    Run("StakesGraphDraws");
    ASSERT_NE(m_ratings->LastGraph(), nullptr);
    chart = m_ratings->LastGraph()->Chart();
    ASSERT_NE(chart->FindSeries("Накопленное значение"), nullptr);
    // Draw 4019 first (+8), then 4017 (-1): the running sum 8, 7.
    QLineSeries *sum = chart->FindSeries("Накопленное значение");
    ASSERT_EQ(sum->count(), 2);
    EXPECT_EQ(sum->at(0), QPointF(4019, 8));
    EXPECT_EQ(sum->at(1), QPointF(4017, 7));
    m_ratings->LastGraph()->close();

    Run("StakesGraphOverlap");
    ASSERT_NE(m_ratings->LastGraph(), nullptr);
    EXPECT_EQ(m_ratings->LastGraph()->Chart()->Series().size(), 2);
    m_ratings->LastGraph()->close();

    // CSV in Windows-1251 with CR LF; the spreadsheet with the tab's caption.
    const QString csv = Path("r.csv");
    m_host.SetFileInterceptor(
        [&](bool, const QString &filter) { return filter.contains("xlsx") ? Path("r.xlsx") : csv; });
    Run("RatingsExport");
    QFile f(csv);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QStringList lines = FromCp1251(f.readAll()).split("\r\n");
    EXPECT_TRUE(lines[0].startsWith("\"Комментарий\";\"Ставок\";"));
    EXPECT_EQ(lines.size(), 4); // header, two rows, the empty rest after the last CR LF
    Run("RatingsXlsExport");
    QString error;
    const QList<test::TReadSheet> sheets = test::ReadXlsx(Path("r.xlsx"), &error);
    ASSERT_EQ(sheets.size(), 1) << error.toStdString();
    EXPECT_EQ(sheets[0].Name, "Рейтинг");
    ASSERT_EQ(sheets[0].Rows.size(), 3);
    EXPECT_EQ(test::CellText(sheets[0].Rows[0][0]), "Комментарий");
    for (int c = 0; c < RatingColumnCount; ++c)
        EXPECT_EQ(test::CellText(sheets[0].Rows[2][c]), Cell(1, c)) << c;

    // A row whose comment holds a script line goes back into the script.
    SelectRatings({0});
    const int before = int(m_ws->Scripts().Lines().size());
    Run("RatingsToScript");
    EXPECT_EQ(m_ws->Scripts().Lines().size(), before + 1);
    EXPECT_EQ(m_ws->Scripts().Line(before), "FULL#RAND|TSD#NUMS:10#LNO:#SF:1| | | | | | |мой");
    SelectRatings({1});
    m_rec.Messages.clear();
    Run("RatingsToScript");
    EXPECT_EQ(m_rec.Texts(), QStringList{"Строку\r\rТри\r\rневозможно добавить в сценарий!"});

    // Deleting every stake asks whether the rows built from them go too.
    m_rec.Messages.clear();
    m_rec.Answer = false;
    ASSERT_TRUE(m_ws->Stakes().StakeClear());
    EXPECT_EQ(m_ratings->Model()->rowCount(), 2);
    m_rec.Answer = true;
    Run("RatingsRefresh");
    EXPECT_EQ(m_ratings->Model()->rowCount(), 0);
}

TEST_F(RatingsTablesPagesTest, RulesAreAddedStakedAndTested) {
    EXPECT_EQ(m_tables->Caption(), "Регуляры");
    EXPECT_TRUE(Enabled("TablesAdd"));
    for (const char *name : {"TablesDel", "TablesStakeAdd", "TablesStakeTest"})
        EXPECT_FALSE(Enabled(name)) << name;

    // One focused combination (row 0: 1;2;3;4;5;6) is the start; the
    // dialog's checks in their order.
    m_combs->List()->selectionModel()->setCurrentIndex(m_combs->List()->model()->index(0, 0),
                                                       QItemSelectionModel::ClearAndSelect |
                                                           QItemSelectionModel::Rows);
    QStringList seen;
    OnDialog<TFormTable>([&](TFormTable &f) {
        EXPECT_EQ(f.windowTitle(), "Добавление регулярной ставки");
        EXPECT_EQ(f.CommentEdit()->text(), "Регулярная ставка");
        EXPECT_EQ(f.CombStartEdit()->text(), "1;2;3;4;5;6");
        EXPECT_TRUE(f.CombStartEdit()->isEnabled());
        EXPECT_EQ(f.StepEdit()->minimum(), -45);
        EXPECT_EQ(f.StepEdit()->maximum(), 45);
        EXPECT_EQ(f.StepEdit()->value(), 1);
        f.CombStartEdit()->setText("1;2;3;4;5");
        f.CommentEdit()->clear();
        f.accept();
        f.CombStartEdit()->setText("45;2;3;4;5;6");
        f.accept();
        seen = m_rec.Texts();
        f.CommentEdit()->setText("Мой");
        f.StepEdit()->setValue(1);
        f.UseLastDrawButton()->setChecked(true);
        EXPECT_FALSE(f.CombStartEdit()->isEnabled());
        f.UseMyCombButton()->setChecked(true);
        f.accept();
    });
    Run("TablesAdd");
    EXPECT_EQ(seen, (QStringList{"Введена некорректная комбинация!", "Необходимо ввести комментарий!"}));
    ASSERT_EQ(m_ws->Tables().Count(), 1);
    EXPECT_EQ(m_tables->Model()->index(0, tcStart).data().toString(), "2;3;4;5;6;45");

    // Three selected combinations: one rule per combination with its position.
    m_combs->List()->selectionModel()->clearSelection();
    QItemSelection three;
    for (int r : {1, 4, 7})
        three.select(m_combs->List()->model()->index(r, 0), m_combs->List()->model()->index(r, 0));
    m_combs->List()->selectionModel()->select(three, QItemSelectionModel::ClearAndSelect |
                                                         QItemSelectionModel::Rows);
    OnDialog<TFormTable>([&](TFormTable &f) {
        EXPECT_EQ(f.CombStartEdit()->text(), "{...Выделенные комбинации...}");
        EXPECT_FALSE(f.CombStartEdit()->isEnabled());
        m_rec.Messages.clear();
        f.CommentEdit()->setText("мой"); // taken, ignoring case
        f.accept();
        EXPECT_EQ(m_rec.Texts(),
                  QStringList{"Запись с таким комментарией уже присутствует в списке!\rВыберите "
                              "другой комментарий."});
        f.CommentEdit()->setText("X");
        f.StepEdit()->setValue(-3);
        f.accept();
    });
    Run("TablesAdd");
    ASSERT_EQ(m_ws->Tables().Names(), (QStringList{"Мой", "X (2)", "X (5)", "X (8)"}));
    EXPECT_EQ(QFileInfo(Path("Brantlee_6x45.ltb")).size(), 4 * 280);

    // The next stake of the focused rule, through the stake dialog.
    SelectRules({0});
    ASSERT_TRUE(Enabled("TablesStakeAdd"));
    OnDialog<TFormStake>([](TFormStake &f) {
        EXPECT_EQ(f.StakeDataEdit()->text(), "1;3;4;5;6;7");
        EXPECT_EQ(f.DrawNumberEdit()->value(), 4021);
        EXPECT_EQ(f.CommentEdit()->text(), "Мой");
        f.accept();
    });
    Run("TablesStakeAdd");
    EXPECT_EQ(m_ws->Stakes().Count(), 1);
    EXPECT_EQ(m_tables->Model()->index(0, tcCurrent).data().toString(), "1;3;4;5;6;7");
    EXPECT_EQ(m_tables->Model()->index(0, tcStakes).data().toString(), "1");

    // A test of two rules over three past draws: six regular stakes, checked,
    // rated, and the draws offset as it was.
    SelectRules({1, 3});
    OnDialog<TFormTestCnt>([](TFormTestCnt &f) {
        EXPECT_EQ(f.CountEdit()->maximum(), 9);
        f.CountEdit()->setValue(3);
        f.accept();
    });
    Run("TablesStakeTest");
    EXPECT_EQ(m_ws->Stakes().Count(), 7);
    EXPECT_EQ(m_ws->Archive().Offset(), 0);
    EXPECT_EQ(m_tables->Model()->index(1, tcStakes).data().toString(), "3");
    EXPECT_GE(m_ws->Stakes().Ratings().Find("X (2)"), 0);
    EXPECT_GE(m_ws->Stakes().Ratings().Find("X (8)"), 0);

    // Delete asks first.
    SelectRules({1, 2});
    m_rec.Messages.clear();
    m_rec.Answer = true;
    Run("TablesDel");
    EXPECT_EQ(m_rec.Texts(),
              QStringList{"Удалить все выделенные записи (всего будет удалено 2 записи(ей))?"});
    EXPECT_EQ(m_ws->Tables().Names(), (QStringList{"Мой", "X (8)"}));

    // Hiding the tab drops the rules; the file stays as saved.
    m_ws->Settings().SetTabTables(false);
    m_ws->Tables().TabVisibilityChanged(false);
    EXPECT_EQ(m_tables->Model()->rowCount(), 0);
    EXPECT_FALSE(Enabled("TablesAdd"));
    EXPECT_EQ(QFileInfo(Path("Brantlee_6x45.ltb")).size(), 2 * 280);
}

} // namespace lot
