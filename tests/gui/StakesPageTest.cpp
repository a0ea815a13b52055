// The "Ставки" tab beside the combination tab over a started workspace:
// the grid model, its colours and numbers, the stake actions, the dialogs'
// validations and a million-record file.

#include "GuiTestUtil.h"
#include "XlsxReader.h"

#include "combs/CombGenerator.h"
#include "combs/CombsController.h"
#include "core/IniFile.h"
#include "gui/combs/CombsPage.h"
#include "gui/shell/ActionList.h"
#include "gui/shell/FormMain.h"
#include "gui/stakes/FormMulti.h"
#include "gui/stakes/FormStake.h"
#include "gui/stakes/FormStakeFilter.h"
#include "gui/stakes/StakesModel.h"
#include "gui/stakes/StakesPage.h"
#include "shell/Workspace.h"
#include "stakes/StakesController.h"

#include <functional>
#include <gtest/gtest.h>
#include <QAbstractItemModelTester>
#include <QAction>
#include <QBrush>
#include <QComboBox>
#include <QFile>
#include <QHeaderView>
#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QTableView>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace lot {
namespace {

using guitest::TMessageRecorder;

QStringList g_modelTestFailures;
void RecordModelTest(QtMsgType type, const QMessageLogContext &context, const QString &message) {
    if (type != QtDebugMsg && context.category &&
        QLatin1String(context.category) == QLatin1String("qt.modeltest"))
        g_modelTestFailures << message;
}

/// Runs fn on the next modal dialog of type T once it shows.
template <class T> void OnDialog(std::function<void(T &)> fn) {
    QTimer::singleShot(0, [fn] {
        for (QWidget *w : QApplication::topLevelWidgets())
            if (auto *form = qobject_cast<T *>(w); form && form->isVisible()) return fn(*form);
        ADD_FAILURE() << "no dialog";
    });
}

TStakeRec Record(int drawNumber, uint8_t kind, std::initializer_list<int> numbers) {
    TStakeRec rec;
    rec.Kind = kind;
    rec.DrawNumber = drawNumber;
    for (int n : numbers)
        rec.Numbers.Numbers[rec.Numbers.Count++] = uint8_t(n);
    SetStakeComment(rec, QStringLiteral("тест"));
    return rec;
}

/// Both pages under one window, as the main window holds them.
class StakesPageTest : public ::testing::Test {
protected:
    void SetUp() override {
        guitest::EnsureApplication();
        ASSERT_TRUE(m_dir.isValid());
        m_rec.Attach(m_host);
        g_modelTestFailures.clear();
        m_previousHandler = qInstallMessageHandler(RecordModelTest);
    }
    void TearDown() override {
        m_tester.reset();
        qInstallMessageHandler(m_previousHandler);
        EXPECT_TRUE(g_modelTestFailures.isEmpty()) << g_modelTestFailures.join('\n').toStdString();
        if (m_ws) m_ws->Shutdown();
        m_stakes.reset();
        m_combs.reset();
        m_actions.reset();
        m_window.reset();
        m_ws.reset();
    }

    /// TenDraws (the next draw is 4021), the 28 combinations of 1..8, cost 1.
    void Start(bool testModel = true) {
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
        m_stakes->resize(900, 500);
        if (testModel)
            m_tester = std::make_unique<QAbstractItemModelTester>(
                m_stakes->Model(), QAbstractItemModelTester::FailureReportingMode::Warning);
        QObject::connect(&m_host, &TGuiHost::BusyChanged, m_actions.get(), &TActionList::UpdateAll);
        m_ws->LoadWindowSettings();
        m_stakes->LoadWindowSettings(m_ws->Settings(), TWindowSettings::MainSection());
        m_ws->LoadGameSettings();
        ASSERT_EQ(m_ws->Startup({}), TStartupResult::Running);
        ASSERT_TRUE(m_rec.Messages.isEmpty()) << m_rec.Texts().join('|').toStdString();
        QCoreApplication::processEvents();
        m_actions->UpdateAll();
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
    TStakesController &Stakes() { return m_ws->Stakes(); }
    void Append(const TStakeRec &rec) {
        Stakes().File().AppendRecord(rec);
        Stakes().RefreshStakesView(true, false);
    }
    QString Cell(int row, int column, int role = Qt::DisplayRole) const {
        return m_stakes->Model()->index(row, column).data(role).toString();
    }
    QVariant Data(int row, int column, int role) const {
        return m_stakes->Model()->index(row, column).data(role);
    }
    void SelectCombs(std::initializer_list<int> rows) {
        QTableView *list = m_combs->List();
        list->clearSelection();
        for (int row : rows)
            list->selectionModel()->select(list->model()->index(row, 0),
                                           QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }

    QTemporaryDir m_dir;
    TGuiHost m_host;
    TMessageRecorder m_rec;
    std::unique_ptr<TWorkspace> m_ws;
    std::unique_ptr<QWidget> m_window;
    std::unique_ptr<TActionList> m_actions;
    std::unique_ptr<TCombsPage> m_combs;
    std::unique_ptr<TStakesPage> m_stakes;
    std::unique_ptr<QAbstractItemModelTester> m_tester;
    QtMessageHandler m_previousHandler = nullptr;
};

} // namespace

TEST_F(StakesPageTest, GridHasNineColumnsOfTheInitialLayout) {
    Start();
    EXPECT_EQ(m_stakes->objectName(), "tsStakes");
    EXPECT_EQ(m_stakes->Caption(), "Ставки");
    QTableView *grid = m_stakes->Grid();
    EXPECT_EQ(grid->objectName(), "sgStakes");
    ASSERT_EQ(m_stakes->Model()->columnCount(), 9);
    const QStringList headers = {"№ тиража",   "Вид ставки", "Моя ставка", "Выборка",    "Результаты тиража",
                                 "Совпадений", "Совпадения", "Профит",     "Комментарий"};
    for (int c = 0; c < 9; ++c) {
        EXPECT_EQ(m_stakes->Model()->headerData(c, Qt::Horizontal).toString(), headers[c]);
        // The design widths, wider only where the header text needs it.
        EXPECT_GE(grid->columnWidth(c), TStakesPage::DefaultColumnWidths()[c]) << c;
    }
    EXPECT_EQ(grid->columnWidth(8), 1000);
    EXPECT_EQ(grid->selectionBehavior(), QAbstractItemView::SelectRows);
    EXPECT_EQ(grid->selectionMode(), QAbstractItemView::ContiguousSelection);
    EXPECT_GE(grid->verticalHeader()->defaultSectionSize(), 18);
    EXPECT_EQ(m_stakes->Model()->rowCount(), 0);
    EXPECT_EQ(m_ws->StatusPanelText(4), "Ставок: 0");

    // Widths the user set come back at the next start; the initial layout
    // returns when an outdated file is emptied.
    grid->setColumnWidth(2, 333);
    m_stakes->SaveWindowSettings(m_ws->Settings(), TWindowSettings::MainSection());
    grid->setColumnWidth(2, 50);
    m_stakes->LoadWindowSettings(m_ws->Settings(), TWindowSettings::MainSection());
    EXPECT_EQ(grid->columnWidth(2), 333);
    emit Stakes().StakesLayoutReset();
    EXPECT_EQ(grid->columnWidth(2), 120);
}

TEST_F(StakesPageTest, ActionsWithCaptionsShortcutsAndEnabledTests) {
    Start();
    const struct {
        const char *Name, *Caption, *Shortcut;
    } specs[] = {
        {"StakeAdd", "Сделать ставку", "F4"},
        {"StakeAddRandom", "Сделать случайную ставку", "Ctrl+F4"},
        {"StakeAddSelected", "Сделать ставки для выделенных комбинаций", "Alt+F4"},
        {"StakeAddAll", "Сделать ставки для всех комбинаций", "Ctrl+Alt+F4"},
        {"StakeDel", "Удалить ставку", "Ctrl+Del"},
        {"StakeFilter", "Удалить по условию", "Alt+D"},
        {"StakeClear", "Удалить все ставки", "Ctrl+Shift+Del"},
        {"StakesCheckManual", "Проверить ставки", "Ctrl+F5"},
        {"LogStakes", "Журналы ставок", ""},
        {"StakesScroll", "Прокручивать список при добавлении", ""},
        {"StakesCheckLine", "Проверять ставки после каждой строки сценария", ""},
        {"LogStakesDelete", "Удалить журналы ставок", ""},
        {"StakesXlsExport", "Экспорт ставок в Microsoft Excel", ""},
    };
    for (const auto &s : specs) {
        QAction *a = Action(s.Name);
        ASSERT_NE(a, nullptr) << s.Name;
        EXPECT_EQ(a->text(), QString::fromUtf8(s.Caption)) << s.Name;
        EXPECT_EQ(a->shortcut(), QKeySequence(QString::fromLatin1(s.Shortcut))) << s.Name;
        EXPECT_EQ(TActionList::Category(a), "Ставки");
    }
    EXPECT_EQ(Action("StakesCheckManual")->statusTip(), "Выполнить проверку ставок по архиву тиражей");
    EXPECT_TRUE(Action("StakesXlsExport")->isVisible());

    // An empty stakes file beside a list of 28 combinations, none selected.
    EXPECT_TRUE(Enabled("StakeAdd"));
    EXPECT_TRUE(Enabled("StakeAddRandom"));
    EXPECT_FALSE(Enabled("StakeAddSelected"));
    EXPECT_TRUE(Enabled("StakeAddAll"));
    for (const char *name : {"StakeDel", "StakeFilter", "StakeClear", "StakesCheckManual", "StakesXlsExport"})
        EXPECT_FALSE(Enabled(name)) << name;
    EXPECT_TRUE(Enabled("LogStakesDelete"));
    SelectCombs({3});
    EXPECT_TRUE(Enabled("StakeAddSelected"));

    Append(Record(4021, skManual, {1, 2, 3, 4, 5, 6}));
    for (const char *name : {"StakeFilter", "StakeClear", "StakesCheckManual"})
        EXPECT_TRUE(Enabled(name)) << name;
    EXPECT_FALSE(Enabled("StakeDel")) << "nothing selected in the grid";
    m_stakes->Grid()->selectRow(0);
    EXPECT_TRUE(Enabled("StakeDel"));

    // The stake options are switches stored at once.
    EXPECT_FALSE(Action("LogStakes")->isChecked());
    EXPECT_TRUE(Action("StakesScroll")->isChecked());
    Run("LogStakes");
    Run("StakesScroll");
    EXPECT_TRUE(Action("LogStakes")->isChecked());
    EXPECT_FALSE(Action("StakesScroll")->isChecked());
    const TWindowSettings stored(Path("Brantlee_6x45.frm"));
    EXPECT_TRUE(stored.StakesLogEnabled());
    EXPECT_FALSE(stored.StakesScrollEnabled());
}

TEST_F(StakesPageTest, StakeDialogRefusesBadNumbersAndAnEmptyComment) {
    Start();
    TStakeRec rec = Stakes().NewManualStake(TNumberSet{});
    TFormStake form(m_host, rec, 1);
    EXPECT_EQ(form.windowTitle(), "Добавление ставки");
    EXPECT_TRUE(form.StakeDataEdit()->text().isEmpty());
    EXPECT_EQ(form.DrawNumberEdit()->value(), 4021);
    EXPECT_EQ(form.DrawsCountEdit()->maximum(), 65535);
    EXPECT_EQ(form.CommentEdit()->maxLength(), 64);
    EXPECT_EQ(form.CommentEdit()->text(), "Ставка \"вручную\"");
    for (const char *bad : {"", "1;2;3;4;5;5", "1,2,3,4,5,46"}) {
        m_rec.Messages.clear();
        form.StakeDataEdit()->setText(QString::fromLatin1(bad));
        form.accept();
        EXPECT_EQ(form.result(), QDialog::Rejected) << bad;
        EXPECT_EQ(m_rec.Texts(), QStringList({"Введена некорректная комбинация!"})) << bad;
    }
    form.StakeDataEdit()->setText("6, 5;4,3 ,2;1");
    EXPECT_EQ(form.StakeSumEdit()->text(), "21");
    form.StakeDataEdit()->setText("10;x;5");
    EXPECT_EQ(form.StakeSumEdit()->text(), "15");
    form.StakeDataEdit()->setText("6, 5;4,3 ,2;1");
    form.CommentEdit()->setText("  ");
    m_rec.Messages.clear();
    form.accept();
    EXPECT_EQ(m_rec.Texts(), QStringList({"Необходимо ввести комментарий!"}));
    EXPECT_EQ(form.result(), QDialog::Rejected);
    form.CommentEdit()->setText("мой");
    form.DrawNumberEdit()->setValue(4019);
    form.DrawsCountEdit()->setValue(2);
    form.accept();
    ASSERT_EQ(form.result(), QDialog::Accepted);
    EXPECT_EQ(NumberSetToText(form.Stake().Numbers, ";"), "1;2;3;4;5;6");
    EXPECT_EQ(form.Stake().DrawNumber, 4019);
    EXPECT_EQ(StakeComment(form.Stake()), "мой");
    EXPECT_EQ(form.Stake().Sample, 28) << "the rest of the record stays";
    EXPECT_EQ(form.DrawsCount(), 2);
}

TEST_F(StakesPageTest, StakeAddMakesAStakeOfTheFocusedCombination) {
    Start();
    // No combination focused: the numbers field opens empty.
    OnDialog<TFormStake>([](TFormStake &f) {
        EXPECT_TRUE(f.StakeDataEdit()->text().isEmpty());
        f.reject();
    });
    Run("StakeAdd");
    EXPECT_EQ(Stakes().Count(), 0);

    SelectCombs({0});
    OnDialog<TFormStake>([](TFormStake &f) {
        EXPECT_EQ(f.StakeDataEdit()->text(), "1;2;3;4;5;6");
        f.DrawNumberEdit()->setValue(4001); // 31 1 21 11 2 44
        f.accept();
    });
    Run("StakeAdd");
    ASSERT_EQ(m_stakes->Model()->rowCount(), 1);
    EXPECT_EQ(Cell(0, 0), "4001");
    EXPECT_EQ(Cell(0, 2), "1;2;3;4;5;6");
    EXPECT_EQ(Cell(0, 3), "28");
    EXPECT_EQ(Cell(0, 4), "31;1;21;11;2;44") << "checked at once";
    EXPECT_EQ(Cell(0, 5), "2");
    EXPECT_EQ(Cell(0, 7), "-1.00");
    int top = -1, bottom = -1;
    ASSERT_TRUE(m_stakes->SelectedRange(top, bottom));
    EXPECT_EQ(top, 0) << "the new last row is selected";
    EXPECT_EQ(m_ws->StatusPanelText(4), "Ставок: 1");

    // A double click on the combination list runs the same action.
    OnDialog<TFormStake>([](TFormStake &f) {
        EXPECT_EQ(f.StakeDataEdit()->text(), "1;2;3;4;5;7");
        f.accept();
    });
    SelectCombs({1});
    emit m_combs->List()->doubleClicked(m_combs->List()->model()->index(1, 0));
    EXPECT_EQ(Stakes().Count(), 2);
}

TEST_F(StakesPageTest, RandomStakesRepeatWithTheSeed) {
    Start();
    QStringList shown;
    for (int round = 0; round < 2; ++round) {
        Stakes().SetRandomSeed(7);
        for (int i = 0; i < 3; ++i) {
            OnDialog<TFormStake>([&](TFormStake &f) {
                shown << f.StakeDataEdit()->text();
                f.reject();
            });
            Run("StakeAddRandom");
        }
    }
    ASSERT_EQ(shown.size(), 6);
    EXPECT_EQ(shown.mid(0, 3), shown.mid(3, 3));
}

TEST_F(StakesPageTest, BatchStakesForTheSelectedAndAllCombinations) {
    Start();
    SelectCombs({0, 27});
    OnDialog<TFormMulti>([&](TFormMulti &f) {
        EXPECT_EQ(f.windowTitle(), "Добавление мультиставки");
        EXPECT_EQ(f.DrawNumberEdit()->value(), 4021);
        EXPECT_EQ(f.DrawNumberEdit()->toolTip(), "Номер тиража");
        f.CommentEdit()->clear();
        m_rec.Messages.clear();
        f.accept();
        EXPECT_EQ(m_rec.Texts(), QStringList({"Необходимо ввести комментарий!"}));
        EXPECT_TRUE(f.isVisible());
        f.CommentEdit()->setText("пара");
        f.DrawsCountEdit()->setValue(2);
        f.accept();
    });
    Run("StakeAddSelected");
    // 1;2;3;4;5;6 and 3;4;5;6;7;8 for draws 4021 and 4022, separated.
    const QStringList draws = {"4021", "", "4022", "", "4021", "", "4022"};
    ASSERT_EQ(m_stakes->Model()->rowCount(), 7);
    for (int r = 0; r < 7; ++r)
        EXPECT_EQ(Cell(r, 0), draws[r]) << r;
    EXPECT_EQ(Cell(6, 2), "3;4;5;6;7;8");
    EXPECT_EQ(Cell(6, 8), "пара");
    EXPECT_FALSE(m_combs->HasSelection()) << "the list selection is cleared";

    OnDialog<TFormMulti>([](TFormMulti &f) { f.accept(); });
    Run("StakeAddAll");
    EXPECT_EQ(Stakes().Count(), 7 + 28);
    EXPECT_EQ(Cell(34, 8), "Ставка \"вручную\"");
}

TEST_F(StakesPageTest, DeletesAskFirstAndKeepTheSeparators) {
    Start();
    for (int i = 0; i < 4; ++i)
        Append(Record(4001 + 2 * i, skManual, {1, 2, 3, 4, 5, 6}));
    Append(SeparatorRecord());
    m_stakes->Grid()->selectionModel()->select(
        QItemSelection(m_stakes->Model()->index(1, 0), m_stakes->Model()->index(2, 8)),
        QItemSelectionModel::ClearAndSelect);
    m_rec.Answer = false;
    Run("StakeDel");
    EXPECT_EQ(m_rec.Texts(),
              QStringList({"Удалить все выделенные записи (всего будет удалено 2 записи(ей))?"}));
    EXPECT_EQ(m_rec.Messages[0].Title, "Предупреждение");
    EXPECT_EQ(Stakes().Count(), 5);
    m_rec.Answer = true;
    Run("StakeDel");
    ASSERT_EQ(m_stakes->Model()->rowCount(), 3);
    EXPECT_EQ(Cell(0, 0), "4001");
    EXPECT_EQ(Cell(1, 0), "4007");

    // Checked stakes of 4001 (overlaps 2) and 4007; "Менее [ < ]" 3 leaves the separator.
    OnDialog<TFormStakeFilter>([](TFormStakeFilter &f) {
        EXPECT_EQ(f.windowTitle(), "Удаление по условию");
        EXPECT_EQ(f.ConditionBox()->count(), 5);
        EXPECT_EQ(f.ConditionBox()->itemText(3), "Менее [ < ]");
        EXPECT_EQ(f.ConditionBox()->currentIndex(), 0);
        EXPECT_EQ(f.ValueEdit()->value(), 0);
        EXPECT_EQ(f.ValueEdit()->maximum(), 6);
        EXPECT_EQ(f.OkButton()->toolTip(), "Удалить ставки");
        f.ConditionBox()->setCurrentIndex(3);
        f.ValueEdit()->setValue(3);
        EXPECT_EQ(f.Packed(), 0x0303);
        f.accept();
    });
    Run("StakeFilter");
    ASSERT_EQ(m_stakes->Model()->rowCount(), 1);
    EXPECT_EQ(Cell(0, 0), "");

    // The checked stakes made rating rows: emptying the file asks whether
    // they are rebuilt from what is left (nothing).
    m_rec.Messages.clear();
    ASSERT_GT(Stakes().Ratings().Count(), 0);
    Run("StakeClear");
    EXPECT_EQ(m_rec.Texts(),
              QStringList({"Удалить выделенную запись?",
                           "Пересчитать рейтинг только по текущим ставкам?\r\rНакопленные ранее "
                           "данные по удаленным ставкам будут потеряны."}));
    EXPECT_EQ(m_stakes->Model()->rowCount(), 0);
    EXPECT_EQ(Stakes().Ratings().Count(), 0);
    EXPECT_EQ(m_ws->StatusPanelText(4), "Ставок: 0");
}

TEST_F(StakesPageTest, RowColoursResultColoursAndMatchedNumbersInBlue) {
    Start();
    Append(Record(4021, skManual, {1, 2, 3, 4, 5, 6}));
    Append(Record(4021, skRegular, {1, 2, 3, 4, 5, 6}));
    Append(Record(4021, skScript, {1, 2, 3, 4, 5, 6}));
    Append(Record(4021, skSystem, {1, 2, 3, 4, 5, 6}));
    Append(SeparatorRecord());
    Append(Record(4001, skManual, {1, 2, 11, 21, 31, 44})); // all six: wins 0 (no prize), red
    Append(Record(4001, skManual, {1, 2, 11, 40, 41, 42})); // three: wins 10 - 1, green
    ASSERT_TRUE(Stakes().CheckStakesManual());
    const QRgb kinds[] = {0xFFEAFFEA, 0xFFFFEAEA, 0xFFEAFFFF, 0xFFFCFDD9};
    for (int r = 0; r < 4; ++r)
        EXPECT_EQ(Data(r, 8, Qt::BackgroundRole).value<QBrush>().color().rgba(), kinds[r]) << r;
    EXPECT_FALSE(Data(4, 0, Qt::BackgroundRole).isValid()) << "a separator keeps the window colour";
    EXPECT_FALSE(Data(0, 7, Qt::ForegroundRole).value<QBrush>().color() == QColor(255, 0, 0))
        << "unchecked: no result colour";
    for (int c : {5, 6, 7}) {
        EXPECT_EQ(Data(5, c, Qt::ForegroundRole).value<QBrush>().color(), QColor(255, 0, 0)) << c;
        EXPECT_EQ(Data(6, c, Qt::ForegroundRole).value<QBrush>().color(), QColor(0, 128, 0)) << c;
    }
    EXPECT_EQ(Cell(6, 7), "9.00");
    EXPECT_EQ(Data(0, 7, Qt::TextAlignmentRole).toInt(), int(Qt::AlignRight | Qt::AlignVCenter));
    EXPECT_EQ(Data(0, 8, Qt::TextAlignmentRole).toInt(), int(Qt::AlignLeft | Qt::AlignVCenter));
    EXPECT_EQ(Data(0, 2, Qt::TextAlignmentRole).toInt(), int(Qt::AlignCenter));

    // The delegate draws matched numbers in blue: the checked stake's cell
    // holds blue pixels, the unchecked one's none.
    m_stakes->show();
    QTableView *grid = m_stakes->Grid();
    grid->clearSelection();
    const QImage image = grid->viewport()->grab().toImage();
    const auto bluePixels = [&](int row, int column) {
        const QRect cell = grid->visualRect(m_stakes->Model()->index(row, column));
        int count = 0;
        for (int y = cell.top(); y <= cell.bottom(); ++y)
            for (int x = cell.left(); x <= cell.right(); ++x)
                if (image.pixelColor(x, y) == QColor(0, 0, 255)) ++count;
        return count;
    };
    EXPECT_GT(bluePixels(6, 2), 0);
    EXPECT_GT(bluePixels(6, 4), 0);
    EXPECT_EQ(bluePixels(0, 2), 0);
}

TEST_F(StakesPageTest, ExportWritesTheGridAsItShows) {
    Start();
    Append(Record(4021, skManual, {1, 2, 3, 4, 5, 6}));
    Append(SeparatorRecord());
    Append(Record(4001, skManual, {1, 2, 11, 40, 41, 42}));
    ASSERT_TRUE(Stakes().CheckStakesManual());
    // The player moved the comment first and hid the sample column.
    QHeaderView *header = m_stakes->Grid()->horizontalHeader();
    header->moveSection(8, 0);
    header->setSectionHidden(3, true);
    const QString file = Path("stakes.xlsx");
    m_host.SetFileInterceptor([&](bool save, const QString &filter) {
        EXPECT_TRUE(save);
        EXPECT_EQ(filter, "Книга Excel (*.xlsx)");
        return file;
    });
    ASSERT_TRUE(Enabled("StakesXlsExport"));
    Run("StakesXlsExport");
    QString error;
    const QList<test::TReadSheet> sheets = test::ReadXlsx(file, &error);
    ASSERT_EQ(sheets.size(), 1) << error.toStdString();
    EXPECT_EQ(sheets[0].Name, "Ставки");
    const QList<int> columns = {8, 0, 1, 2, 4, 5, 6, 7};
    ASSERT_EQ(sheets[0].Rows.size(), 4);
    for (int c = 0; c < columns.size(); ++c)
        EXPECT_EQ(test::CellText(sheets[0].Rows[0][c]),
                  m_stakes->Model()->headerData(columns[c], Qt::Horizontal).toString());
    for (int r = 0; r < 3; ++r) {
        ASSERT_EQ(sheets[0].Rows[r + 1].size(), columns.size()) << r;
        for (int c = 0; c < columns.size(); ++c) {
            const QString cell = sheets[0].Rows[r + 1][c];
            EXPECT_EQ(test::CellText(cell), Cell(r, columns[c])) << r << "," << c;
            const QVariant background = Data(r, columns[c], Qt::BackgroundRole);
            const QString fill =
                background.isValid()
                    ? QStringLiteral("%1")
                          .arg(background.value<QBrush>().color().rgb() & 0xFFFFFF, 6, 16, QLatin1Char('0'))
                          .toUpper()
                    : QString();
            EXPECT_EQ(test::CellFill(cell), fill) << r << "," << c;
        }
    }
    EXPECT_TRUE(m_rec.Messages.isEmpty()) << m_rec.Texts().join('|').toStdString();
}

TEST_F(StakesPageTest, AMillionRecordFileScrollsToItsEndReadingOnlyWhatShows) {
    // A sparse file: a real first and last record, zeros (empty rows) between.
    constexpr qint64 Count = 1000000;
    {
        QFile f(Path("Brantlee_6x45.lsk"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        TStakeRec first = Record(4001, skManual, {1, 2, 3, 4, 5, 6});
        f.write(reinterpret_cast<const char *>(&first), 312);
        ASSERT_TRUE(f.resize((Count - 1) * 312));
        ASSERT_TRUE(f.seek((Count - 1) * 312));
        TStakeRec last = Record(4019, skScript, {9, 10, 11, 12, 13, 14});
        SetStakeComment(last, QStringLiteral("последняя"));
        f.write(reinterpret_cast<const char *>(&last), 312);
    }
    Start(false);
    ASSERT_EQ(m_stakes->Model()->rowCount(), Count);
    EXPECT_EQ(m_ws->StatusPanelText(4), "Ставок: 1000000");
    m_stakes->show();
    const qint64 before = Stakes().File().RecordsRead();
    QTableView *grid = m_stakes->Grid();
    grid->scrollToBottom();
    grid->viewport()->grab();
    QCoreApplication::processEvents();
    EXPECT_EQ(grid->verticalScrollBar()->value(), grid->verticalScrollBar()->maximum());
    EXPECT_EQ(Cell(Count - 1, 8), "последняя");
    EXPECT_EQ(Cell(Count - 1, 1), "Сценарий");
    EXPECT_TRUE(Cell(Count - 2, 0).isEmpty());
    EXPECT_LT(Stakes().File().RecordsRead() - before, 200) << "only the rows on screen are read";
}

} // namespace lot

namespace lot {

TEST_F(StakesPageTest, AltF4InTheCombinationListMakesStakesOfTheSelection) {
    Start();
    m_window->show();
    QApplication::setActiveWindow(m_window.get());
    QTableView *list = m_combs->List();
    list->setFocus();
    SelectCombs({2});
    bool opened = false;
    OnDialog<TFormMulti>([&](TFormMulti &f) {
        opened = true;
        f.reject();
    });
    QTest::keyClick(list, Qt::Key_F4, Qt::AltModifier);
    QCoreApplication::processEvents();
    EXPECT_TRUE(opened);
    EXPECT_EQ(Stakes().Count(), 0);
}

} // namespace lot

namespace lot {

TEST(StakesInTheWindowTest, AltF4MakesStakesInTheCombinationListAndClosesElsewhere) {
    guitest::EnsureApplication();
    QTemporaryDir dir;
    TMessageRecorder rec;
    TFormMain w(dir.path(), {});
    rec.Attach(w.Host());
    w.show();
    ASSERT_EQ(w.RunStartup(), TStartupResult::Running);
    QApplication::setActiveWindow(&w);
    ASSERT_NE(w.Page("tsStakes"), nullptr);
    w.ListsTabs()->setCurrentWidget(w.CombsPage());
    QTableView *list = w.CombsPage()->List();
    list->setFocus();
    list->selectRow(0);
    bool opened = false;
    OnDialog<TFormMulti>([&](TFormMulti &f) {
        opened = true;
        f.reject();
    });
    QTest::keyClick(list, Qt::Key_F4, Qt::AltModifier);
    QCoreApplication::processEvents();
    EXPECT_TRUE(opened);
    EXPECT_TRUE(w.isVisible());

    // Anywhere else Alt+F4 is the window's own: it closes.
    w.ListsTabs()->setCurrentIndex(0);
    QWidget *draws = w.ListsTabs()->currentWidget()->findChild<QTableView *>();
    ASSERT_NE(draws, nullptr);
    QApplication::setActiveWindow(&w);
    draws->setFocus();
    QTest::keyClick(draws, Qt::Key_F4, Qt::AltModifier);
    QCoreApplication::processEvents();
    EXPECT_FALSE(w.isVisible());
}

} // namespace lot
