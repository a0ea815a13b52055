// The "Сценарий" tab in a started window: a line written in the line dialog
// with its filter made in the filter dialog, edited again, run as a
// forecast with the other tabs locked meanwhile, and the enabled tests of
// the editing actions.

#include "GuiTestUtil.h"

#include "archive/ArchiveController.h"
#include "combs/CombGenerator.h"
#include "core/IniFile.h"
#include "gui/filters/FormFilter.h"
#include "gui/scripts/FormScript.h"
#include "gui/scripts/FormTestCnt.h"
#include "gui/scripts/ScriptModel.h"
#include "gui/scripts/ScriptPage.h"
#include "gui/shell/ActionList.h"
#include "gui/shell/FormMain.h"
#include "scripts/ScriptFile.h"
#include "shell/Workspace.h"
#include "stakes/StakeRec.h"
#include "stakes/StakesController.h"
#include "stats/StatsController.h"

#include <gtest/gtest.h>
#include <memory>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSpinBox>
#include <QTableView>
#include <QTemporaryDir>

namespace lot {
namespace {

using guitest::TMessageRecorder;
using guitest::WhenModal;

class ScriptPageTest : public ::testing::Test {
protected:
    void SetUp() override {
        guitest::EnsureApplication();
        ASSERT_TRUE(m_dir.isValid());
        // The 28 combinations of 1..8 are the source list.
        TIniFile ini;
        ini.Load(Path("Brantlee_6x45.ini"));
        ini.WriteInteger("GLOBAL", "CombsGenerateMode", cgmOnlyOf);
        ini.WriteString("GLOBAL", "CombsGenerateParameters", "1;2;3;4;5;6;7;8");
        ini.Save();
        TDrawsArchive archive;
        for (const TDrawRec &d : guitest::TenDraws())
            archive.Append(d);
        archive.SaveDrawsFile(Path("Brantlee_6x45.ldr"));
        m_window = std::make_unique<TFormMain>(m_dir.path(), QStringList{});
        m_rec.Attach(m_window->Host());
        m_window->show();
        ASSERT_EQ(m_window->RunStartup(), TStartupResult::Running);
        m_page = dynamic_cast<TScriptPage *>(m_window->Page(QStringLiteral("tsScript")));
        ASSERT_NE(m_page, nullptr);
    }
    void TearDown() override { m_window.reset(); }

    QString Path(const char *name) const { return m_dir.filePath(QString::fromLatin1(name)); }
    QAction *Action(const char *name) const { return m_window->Actions().Find(QLatin1String(name)); }
    bool Enabled(const char *name) const {
        m_window->Actions().UpdateAll();
        QAction *a = Action(name);
        EXPECT_NE(a, nullptr) << name;
        return a && a->isEnabled();
    }
    void Run(const char *name) { m_window->Actions().Execute(Action(name)); }
    TScriptsController &Scripts() { return m_window->Workspace().Scripts(); }
    QString Cell(int row, int column) const { return m_page->Model()->index(row, column).data().toString(); }
    std::vector<TStakeRec> Stakes() {
        std::vector<TStakeRec> stakes;
        m_window->Workspace().Stakes().VisitStakes([&](qint64, const TStakeRec &rec) {
            if (rec.Kind != skSeparator) stakes.push_back(rec);
        });
        return stakes;
    }

    QTemporaryDir m_dir;
    TMessageRecorder m_rec;
    std::unique_ptr<TFormMain> m_window;
    TScriptPage *m_page = nullptr;
};

TEST_F(ScriptPageTest, ALineMadeInTheDialogsIsStoredShownAndRunAsAForecast) {
    EXPECT_EQ(m_page->StatusPanel(0)->text(), "Строк: 0");
    EXPECT_FALSE(Enabled("ScriptRun"));
    const int nums = m_window->Workspace().Stats().Registry().FindEntry(QStringLiteral("NUMS"));
    ASSERT_GE(nums, 0);

    // Add: the filter of slot 1 comes from the filter dialog opened by "...".
    QString title, filterText;
    {
        const auto script = WhenModal<TFormScript>([&](TFormScript *form) {
            title = form->windowTitle();
            EXPECT_EQ(form->SourceBox()->currentIndex(), 0);
            EXPECT_EQ(form->StakeModeBox()->currentIndex(), 0);
            form->CommentEdit()->setText(QStringLiteral("без единицы"));
            form->StakeModeBox()->setCurrentIndex(1); // FIRST
            const auto filter = WhenModal<TFormFilter>([&](TFormFilter *f) {
                f->MethodBox()->setCurrentIndex(f->MethodBox()->findData(nums));
                f->LengthsEdit()->setText(QStringLiteral("5"));
                f->LevelModeBox()->setCurrentIndex(31); // LVA
                f->ValuesEdit()->setText(QStringLiteral("1"));
                f->FilterModeBox()->setCurrentIndex(0); // delete the selected
                f->accept();
            });
            form->FilterButton(1)->click();
            filterText = form->FilterEdit(1)->text();
            form->accept();
        });
        Run("ScriptAdd");
    }
    EXPECT_EQ(title, "Создание новой строки");
    EXPECT_EQ(filterText, "TSD1#NUMS:5#LVA:1#SF:1");
    ASSERT_EQ(Scripts().LineCount(), 1);
    const QString line = "FULL:0#FIRST|TSD1#NUMS:5#LVA:1#SF:1| | | | | | |без единицы";
    EXPECT_EQ(Scripts().Line(0), line);
    EXPECT_EQ(m_page->SelectedRow(), 0);
    EXPECT_EQ(m_page->StatusPanel(0)->text(), "Строк: 1");
    EXPECT_EQ(Cell(0, 0), "без единицы");
    EXPECT_EQ(Cell(0, 1), "Исходный список; Первая; Все создаваемые ставки");
    EXPECT_EQ(Cell(0, 2), "TSD1#NUMS:5#LVA:1#SF:1");
    EXPECT_EQ(Cell(0, 3), "");
    EXPECT_EQ(ReadScriptFile(Path("Brantlee_6x45.lss")), QStringList{line});

    // Edit: the dialog shows the line; LAST instead of FIRST.
    {
        const auto script = WhenModal<TFormScript>([&](TFormScript *form) {
            title = form->windowTitle();
            EXPECT_EQ(form->CommentEdit()->text(), "без единицы");
            EXPECT_EQ(form->StakeModeBox()->currentIndex(), 1);
            EXPECT_EQ(form->FilterEdit(1)->text(), "TSD1#NUMS:5#LVA:1#SF:1");
            form->StakeModeBox()->setCurrentIndex(2);
            form->accept();
        });
        Run("ScriptEdit");
    }
    EXPECT_EQ(title, "Редактирование строки");
    EXPECT_EQ(Scripts().Line(0), "FULL:0#LAST|TSD1#NUMS:5#LVA:1#SF:1| | | | | | |без единицы");
    EXPECT_EQ(ReadScriptFile(Path("Brantlee_6x45.lss")), QStringList{Scripts().Line(0)});

    // The forecast locks the lists while it runs and hands them back.
    QList<bool> tabsEnabled;
    QObject::connect(&Scripts(), &TScriptsController::RunningChanged, m_page, [&](bool running) {
        if (running)
            for (const char *name : {"tsDraws", "tsCombs", "tsDrawsStat"})
                tabsEnabled << m_window->findChild<QWidget *>(QLatin1String(name))->isEnabled();
        tabsEnabled << m_page->List()->isEnabled();
    });
    ASSERT_TRUE(Enabled("ScriptRun"));
    EXPECT_FALSE(Enabled("ScriptStop"));
    Run("ScriptRun");
    EXPECT_TRUE(m_rec.Messages.isEmpty()) << m_rec.Texts().join('|').toStdString();
    EXPECT_EQ(tabsEnabled, QList<bool>({false, false, false, false, true}));
    EXPECT_TRUE(m_window->findChild<QWidget *>(QStringLiteral("tsCombs"))->isEnabled());
    const auto stakes = Stakes();
    ASSERT_EQ(stakes.size(), 1u);
    EXPECT_EQ(NumberSetToText(stakes[0].Numbers, QStringLiteral(";")), "3;4;5;6;7;8");
    EXPECT_EQ(StakeComment(stakes[0]), "01.001: без единицы @ FULL#LAST + TSD#NUMS:5#LVA:1#SF:1");
    EXPECT_EQ(stakes[0].Sample, 7);
    EXPECT_EQ(m_page->StatusPanel(0)->text(), "Строк: 1");
    EXPECT_EQ(m_page->StatusPanel(2)->text(), "Ставок: 1");
    EXPECT_EQ(m_page->StatusPanel(3)->text(), "Сценарий завершен!");
    EXPECT_TRUE(Enabled("ScriptRun"));
}

TEST_F(ScriptPageTest, ActionsCarryTheirCaptionsHintsAndShortcuts) {
    const struct {
        const char *name, *caption, *hint, *shortcut;
    } expected[] = {
        {"ScriptOpen", "Открыть", "Загрузить сценарий из файла", "Ctrl+J"},
        {"ScriptSave", "Сохранить", "Сохранить сценарий в файле", "Ctrl+I"},
        {"ScriptAdd", "Добавить фильтры", "Добавить новую команду в сценарий", "Ctrl+Ins"},
        {"ScriptEmpty", "Добавить разделитель", "Добавить разделитель в сценарий", "Ctrl+Alt+Ins"},
        {"ScriptLoad", "Добавить сценарий", "Добавить выбранный сценарий из файла в текущий сценарий", ""},
        {"ScriptClone", "Клонировать",
         "Добавить новую команду в сценарий и скопировать в нее данные из выделенной", "Ctrl+K"},
        {"ScriptEdit", "Изменить", "Редактировать выделенную команду", "Ctrl+Return"},
        {"ScriptDel", "Удалить", "Удалить выделенные строки", "Ctrl+Del"},
        {"ScriptClr", "Удалить все", "Удалить весь сценарий", ""},
        {"ScriptUp", "Переместить вверх", "Переместить выделенную строку вверх", "Ctrl+Up"},
        {"ScriptDown", "Переместить вниз", "Переместить выделенную строку вниз", "Ctrl+Down"},
        {"ScriptRun", "Прогноз", "Выполнить сценарий для текущего тиража и смещения", "F10"},
        {"ScriptTest", "Тест", "Тестирование сценария на основе результатов предыдуших тиражей", "Ctrl+F10"},
        {"ScriptStop", "Стоп", "Остановить выполнение сценария", "Ctrl+X"},
        {"LogToggle", "Журнал выполнения сценария",
         "Создание подробного журнала выполнения сценария для анализа его работы", ""},
        {"LogsDelete", "Удалить журналы выполнения сценариев", "Удалить файлы журналов выполнения сценария",
         ""},
    };
    for (const auto &e : expected) {
        QAction *a = Action(e.name);
        ASSERT_NE(a, nullptr) << e.name;
        EXPECT_EQ(a->text(), QString::fromUtf8(e.caption)) << e.name;
        EXPECT_EQ(a->statusTip(), QString::fromUtf8(e.hint)) << e.name;
        EXPECT_EQ(a->shortcut().toString(), QString::fromUtf8(e.shortcut)) << e.name;
        EXPECT_EQ(TActionList::Category(a), QStringLiteral("Сценарий")) << e.name;
    }
    EXPECT_TRUE(Action("LogToggle")->isCheckable());
    EXPECT_EQ(m_page->PopupMenu()->defaultAction(), Action("ScriptEdit"));
    const QStringList columns = {"Комментарии", "Опции",    "Фильтр 1", "Фильтр 2", "Фильтр 3",
                                 "Фильтр 4",    "Фильтр 5", "Фильтр 6", "Фильтр 7"};
    ASSERT_EQ(m_page->Model()->columnCount(), columns.size());
    for (int c = 0; c < columns.size(); ++c)
        EXPECT_EQ(m_page->Model()->headerData(c, Qt::Horizontal).toString(), columns[c]);
}

TEST_F(ScriptPageTest, ATestAsksItsCountAndStopsWhenAskedTo) {
    ASSERT_TRUE(Scripts().SetScript({"FULL:0#FIRST| | | | | | | |"}));
    int maximum = 0;
    {
        const auto count = WhenModal<TFormTestCnt>([&](TFormTestCnt *form) {
            maximum = form->CountEdit()->maximum();
            EXPECT_EQ(form->CountEdit()->value(), 9); // the default 10 is more than there is
            form->CountEdit()->setValue(3);
            form->accept();
        });
        Run("ScriptTest");
    }
    EXPECT_EQ(maximum, 9);
    EXPECT_EQ(Stakes().size(), 3u);
    EXPECT_EQ(m_window->Workspace().Archive().Offset(), 0);
    for (const TStakeRec &s : Stakes())
        EXPECT_EQ(s.Checked, 1);

    // "Стоп" after the first run of a test of three: the offset stays where it was.
    QObject::connect(&Scripts(), &TScriptsController::CycleFinished, m_page, [&](const TScriptCycle &c) {
        if (c.Cycle == 1) {
            EXPECT_TRUE(Enabled("ScriptStop"));
            EXPECT_FALSE(Enabled("ScriptEdit"));
            Run("ScriptStop");
            EXPECT_FALSE(Enabled("ScriptStop"));
        }
    });
    {
        const auto count = WhenModal<TFormTestCnt>([&](TFormTestCnt *form) {
            form->CountEdit()->setValue(3);
            form->accept();
        });
        Run("ScriptTest");
    }
    EXPECT_EQ(m_rec.Texts(), QStringList{"Остановить выполнение сценария?"});
    EXPECT_EQ(Stakes().size(), 4u);
    EXPECT_EQ(m_window->Workspace().Archive().Offset(), 3);
    EXPECT_EQ(m_page->StatusPanel(3)->text(), "Сценарий завершен!");
    EXPECT_TRUE(Enabled("ScriptRun"));
}

TEST_F(ScriptPageTest, ClosingTheWindowDuringARunStopsItFirst) {
    ASSERT_TRUE(Scripts().SetScript({"FULL:0#FIRST| | | | | | | |"}));
    bool closedAtOnce = true;
    QObject::connect(&Scripts(), &TScriptsController::CycleFinished, m_page, [&](const TScriptCycle &c) {
        if (c.Cycle != 1) return;
        closedAtOnce = m_window->close();
    });
    {
        const auto count = WhenModal<TFormTestCnt>([&](TFormTestCnt *form) {
            form->CountEdit()->setValue(3);
            form->accept();
        });
        Run("ScriptTest");
    }
    EXPECT_FALSE(closedAtOnce);
    EXPECT_EQ(m_rec.Texts(), QStringList{"Остановить выполнение сценария?"});
    EXPECT_EQ(Stakes().size(), 1u);
    EXPECT_FALSE(Scripts().Running());
    EXPECT_TRUE(m_window->isVisible());
    QCoreApplication::processEvents();
    EXPECT_FALSE(m_window->isVisible());
}

TEST_F(ScriptPageTest, EditingActionsFollowTheScriptAndTheSelection) {
    // Expected with no lines, then with the lines {line, separator, line}
    // and row 0, 1 or 2 selected.
    struct TCase {
        const char *action;
        bool empty, first, separator, last;
    };
    const TCase cases[] = {
        {"ScriptOpen", true, true, true, true},    {"ScriptAdd", true, true, true, true},
        {"ScriptLoad", true, true, true, true},    {"ScriptSave", false, true, true, true},
        {"ScriptEmpty", false, true, true, true},  {"ScriptClr", false, true, true, true},
        {"ScriptClone", false, true, false, true}, {"ScriptEdit", false, true, false, true},
        {"ScriptDel", false, true, true, true},    {"ScriptUp", false, false, true, true},
        {"ScriptDown", false, true, true, false},  {"ScriptRun", false, true, true, true},
        {"ScriptTest", false, true, true, true},   {"ScriptStop", false, false, false, false},
        {"LogToggle", true, true, true, true},     {"LogsDelete", true, true, true, true},
    };
    const auto check = [&](const char *state, bool TCase::*expected) {
        for (const TCase &c : cases)
            EXPECT_EQ(Enabled(c.action), c.*expected) << c.action << " " << state;
    };
    check("empty", &TCase::empty);
    ASSERT_TRUE(Scripts().SetScript({"FULL:0#FIRST| | | | | | | |a", "", "FULL:0#LAST| | | | | | | |b"}));
    m_page->SelectRow(0);
    check("first line", &TCase::first);
    m_page->SelectRow(1);
    check("separator", &TCase::separator);
    m_page->SelectRow(2);
    check("last line", &TCase::last);

    // Down moves the selection with the line; delete asks first.
    m_page->SelectRow(0);
    Run("ScriptDown");
    EXPECT_EQ(m_page->SelectedRow(), 1);
    EXPECT_EQ(Scripts().Lines(),
              QStringList({"", "FULL:0#FIRST| | | | | | | |a", "FULL:0#LAST| | | | | | | |b"}));
    m_rec.Answer = false;
    Run("ScriptDel");
    EXPECT_EQ(m_rec.Texts(), QStringList{"Удалить выделенную запись?"});
    EXPECT_EQ(Scripts().LineCount(), 3);
    m_rec.Answer = true;
    Run("ScriptDel");
    EXPECT_EQ(Scripts().Lines(), QStringList({"", "FULL:0#LAST| | | | | | | |b"}));
    EXPECT_EQ(ReadScriptFile(Path("Brantlee_6x45.lss")), Scripts().Lines());
    EXPECT_EQ(m_page->StatusPanel(0)->text(), "Строк: 2");
    EXPECT_EQ(Cell(0, 1), "");
}

} // namespace
} // namespace lot
