// Menus, popup menus and tool bars are built from lists of action names: a
// name without an action must show up, and the built window must have none.

#include "GuiTestUtil.h"

#include "gui/shell/ActionList.h"
#include "gui/shell/FormMain.h"

#include <gtest/gtest.h>
#include <memory>
#include <QAction>
#include <QMenu>
#include <QSet>
#include <QTabBar>
#include <QTemporaryDir>
#include <QToolBar>
#include <QToolButton>
#include <string>

namespace lot {
namespace {

using guitest::TMessageRecorder;

/// The entries of a menu or tool bar as "Name Name | Name", "|" for a separator.
std::string Entries(const QWidget *target) {
    QStringList names;
    for (const QAction *a : target->actions())
        names << (a->isSeparator() ? QStringLiteral("|") : a->objectName());
    return names.join(QLatin1Char(' ')).toStdString();
}

class ActionListByNameTest : public ::testing::Test {
protected:
    void SetUp() override {
        guitest::EnsureApplication();
        m_owner = std::make_unique<QWidget>();
        m_actions = std::make_unique<TActionList>(m_host, m_owner.get());
        for (const char *name : {"Open", "Save"})
            m_actions->Add(
                TActionList::TSpec{QLatin1String(name), QLatin1String(name), QStringLiteral("Файл")}, [] {},
                [] { return true; });
    }
    TGuiHost m_host;
    std::unique_ptr<QWidget> m_owner;
    std::unique_ptr<TActionList> m_actions;
};

TEST_F(ActionListByNameTest, MisspeltNamesAreLeftOutAndRecorded) {
    QMenu menu;
    menu.setObjectName(QStringLiteral("pmTest"));
    QToolBar bar;
    bar.setObjectName(QStringLiteral("tbTest"));
    for (QWidget *target : std::initializer_list<QWidget *>{&menu, &bar})
        m_actions->AddByName(target, {"Open", "", "Sve", "Save"});
    EXPECT_EQ(Entries(&menu), "Open | Save");
    EXPECT_EQ(Entries(&bar), "Open | Save");
    EXPECT_EQ(m_actions->Require(QStringLiteral("Save"), QStringLiteral("btnSave")),
              m_actions->Find(QStringLiteral("Save")));
    EXPECT_EQ(m_actions->Require(QStringLiteral("Close"), QStringLiteral("btnClose")), nullptr);
    EXPECT_EQ(m_actions->MissingNames().join(QLatin1Char(',')).toStdString(),
              "pmTest: Sve,tbTest: Sve,btnClose: Close");
}

class MainWindowMenusTest : public ::testing::Test {
protected:
    void SetUp() override {
        guitest::EnsureApplication();
        ASSERT_TRUE(m_dir.isValid());
        m_window = std::make_unique<TFormMain>(m_dir.path(), QStringList());
        m_rec.Attach(m_window->Host());
        m_window->show();
        ASSERT_EQ(m_window->RunStartup(), TStartupResult::Running);
    }
    QTemporaryDir m_dir;
    TMessageRecorder m_rec;
    std::unique_ptr<TFormMain> m_window;
};

TEST_F(MainWindowMenusTest, EveryEntryNamesAnExistingAction) {
    EXPECT_TRUE(m_window->MissingMenuActions().isEmpty())
        << m_window->MissingMenuActions().join(QLatin1Char('\n')).toStdString();
    // A tool button wired to a missing action would sit there without one.
    for (const QToolButton *button : m_window->findChildren<QToolButton *>()) {
        if (qobject_cast<const QTabBar *>(button->parent()) ||
            button->objectName().startsWith(QLatin1String("qt_")))
            continue;
        EXPECT_NE(button->defaultAction(), nullptr) << button->objectName().toStdString();
    }
    // Find answers the first action of a name: a second one would never run.
    QSet<QString> seen;
    QStringList twice;
    for (const QAction *a : m_window->Actions().Actions()) {
        if (seen.contains(a->objectName())) twice << a->objectName();
        seen.insert(a->objectName());
    }
    EXPECT_TRUE(twice.isEmpty()) << twice.join(QLatin1Char(' ')).toStdString();
}

TEST_F(MainWindowMenusTest, MenusHoldTheirEntriesInOrder) {
    const struct {
        const char *name, *entries;
    } expected[] = {
        {"mnFile", "EditConfig EditShredding EditProxy | ExitProgram"},
        {"mnDraws",
         "DrawsDownload AutoDownload | DrawsAdd DrawsEdit DrawsDel | DrawsInfo | DrawsImport DrawsExport "
         "DrawsXlsExport | DrawsSorted"},
        {"mnCombs", "CombsGen CombsOpen CombsSave | CombsUndo | CombsDelExists CombsDelSelected | CombsCopy "
                    "CombsPaste CombsSelectAll | CombsInfo CombsFindInDraws CombsCheckNums | CombsXlsExport"},
        {"mnStat",
         "FiltersManager FiltersReset FiltersInfo | StatRefresh StatXlsExport | DrawsStatePrefetchsEnabled "
         "DrawsStateShowTotalLine | SumsDistribution AnalyzeRepeats"},
        {"mnStakes",
         "StakeAdd StakeAddRandom StakeAddSelected StakeAddAll | StakeDel StakeFilter StakeClear | "
         "StakesCheckManual | LogStakes StakesScroll StakesCheckLine LogStakesDelete | StakesXlsExport | "
         "StakesGraphDraws StakesGraphOverlap StakesGraphProfits | SystemStakeAll SystemStakeFilter"},
        {"mnRating",
         "RatingsRefresh | RatingsToScript | RatingsGraphOverlap | RatingsEffMode0 RatingsEffMode1 "
         "RatingsEffMode2 | RatingsExport RatingsXlsExport"},
        {"mnTables", "TablesAdd TablesDel | TablesStakeAdd TablesStakeTest"},
        {"mnSystems", "SystemsRefresh SystemsDownload | SystemsAdd SystemsProp SystemsDel | SystemStakeAll "
                      "SystemStakeFilter"},
        {"mnScript",
         "ScriptRun ScriptTest ScriptStop | LogToggle LogsDelete | ScriptAdd ScriptClone ScriptEdit "
         "ScriptEmpty | ScriptUp ScriptDown | ScriptDel ScriptClr | ScriptOpen ScriptLoad ScriptSave | "
         "ScriptLibrary ScriptLibraryRefresh ScriptLibraryDownload ScriptLibraryUpload ScriptLibraryReplace "
         "ScriptLibraryDelete ScriptLibraryView ScriptLibraryRates"},
        {"pmOnlineScripts",
         "ScriptLibraryRefresh | ScriptLibraryDownload ScriptLibraryUpload ScriptLibraryReplace "
         "ScriptLibraryDelete | ScriptLibraryView ScriptLibraryRates | ScriptLibraryRate1 ScriptLibraryRate2 "
         "ScriptLibraryRate3 ScriptLibraryRate4 ScriptLibraryRate5 ScriptLibraryRate0 | ScriptLibraryHide"},
        {"mnView",
         "TabGraphs TabCard TabLayout TabWeek TabTables SystemsOn | ViewColorDraws ViewColorCombs | "
         "ViewColorCard ViewColorCardSequences ViewShemaGradient"},
        {"pmCard",
         "CardFilter_Include CardFilter_Exclude | ViewColorCard ViewColorCardSequences | CardXlsExport"},
        {"pmLayout", "LayoutFilter_Include LayoutFilter_Exclude | ViewShemaGradient"},
        {"mnHelp", "AutoUpdate"},
        {"AutoDownload", "AutoDownload0 AutoDownload1 AutoDownload2"},
        {"pmDraws", "DrawsDownload | DrawsAdd DrawsEdit DrawsDel | DrawsInfo | DrawsImport DrawsExport "
                    "DrawsXlsExport | DrawsSorted ViewColorDraws"},
        {"pmCombs", "CombsGen CombsOpen CombsSave | CombsUndo | CombsDelExists CombsDelSelected | CombsCopy "
                    "CombsPaste CombsSelectAll | CombsInfo CombsFindInDraws CombsCheckNums | CombsXlsExport "
                    "ViewColorCombs"},
        {"pmStakes",
         "StakeAdd StakeAddRandom StakeAddSelected StakeAddAll | StakeDel StakeFilter StakeClear | "
         "StakesCheckManual | LogStakes StakesScroll StakesCheckLine LogStakesDelete | StakesXlsExport"},
        {"pmRatings",
         "RatingsRefresh | RatingsToScript | RatingsGraphOverlap StakesGraphDraws StakesGraphOverlap "
         "StakesGraphProfits | RatingsEffMode0 RatingsEffMode1 RatingsEffMode2 | RatingsExport "
         "RatingsXlsExport"},
        {"pmTables", "TablesAdd TablesDel | TablesStakeAdd TablesStakeTest"},
        {"pmSystems", "SystemsRefresh SystemsDownload | SystemsAdd SystemsProp SystemsDel | SystemStakeAll "
                      "SystemStakeFilter"},
        {"pmScript",
         "ScriptAdd ScriptClone ScriptEdit ScriptEmpty | ScriptUp ScriptDown | ScriptDel ScriptClr | "
         "ScriptOpen ScriptLoad ScriptSave | ScriptRun ScriptTest ScriptStop | LogToggle LogsDelete"},
        {"pmDrawsStat", "StatFilter_Include StatFilter_Exclude | StatRefresh | DrawsStatePrefetchsEnabled "
                        "DrawsStateShowTotalLine"},
        {"tbDrawsStat", "StatFilter_Include StatFilter_Exclude | StatRefresh | DrawsStatePrefetchsEnabled "
                        "DrawsStateShowTotalLine"},
    };
    for (const auto &e : expected) {
        const QString name = QLatin1String(e.name);
        const QWidget *target = m_window->Menu(name);
        if (!target) target = m_window->findChild<QMenu *>(name);
        if (!target) target = m_window->findChild<QToolBar *>(name);
        ASSERT_NE(target, nullptr) << e.name;
        EXPECT_EQ(Entries(target), e.entries) << e.name;
    }
    EXPECT_TRUE(m_rec.Messages.isEmpty()) << m_rec.Texts().join('|').toStdString();
}

} // namespace
} // namespace lot
