// The favourites manager and the description window on real widgets: the
// tree, marks by click and double click, the bulk and group actions, renames,
// the names' import (which lands at once, even when the dialog is then
// cancelled), "ОК" refilling the selectors, and the main window's reset
// question and F8 description.

#include "GuiTestUtil.h"

#include "core/IniFile.h"
#include "gui/filters/FormFilterHelp.h"
#include "gui/filters/FormManager.h"
#include "gui/shell/ActionList.h"
#include "gui/stats/StatsPage.h"
#include "shell/Workspace.h"
#include "stats/StatList.h"
#include "stats/StatsController.h"
#include "stats/StatTable.h"

#include <gtest/gtest.h>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QInputDialog>
#include <QLabel>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QTreeWidget>

namespace lot {
namespace {

class FormManagerTest : public ::testing::Test {
protected:
    void SetUp() override {
        guitest::EnsureApplication();
        ASSERT_TRUE(m_dir.isValid());
        m_messages.Attach(m_host);
        m_ws = std::make_unique<TWorkspace>(m_host, m_dir.path());
        m_ws->LoadGameSettings();
        ASSERT_TRUE(m_ws->Archive().ReplaceDraws(guitest::TenDraws()));
    }
    void TearDown() override {
        EXPECT_TRUE(m_messages.Messages.isEmpty()) << m_messages.Texts().join('\n').toStdString();
    }

    const TStatList &Registry() const { return m_ws->Stats().Registry(); }
    int Entry(const char *code) const { return Registry().FindEntry(QLatin1String(code)); }
    QStringList SelectorCodes() const {
        QStringList codes;
        for (const TSelectorItem &item : m_ws->Stats().Table().SelectorItems())
            codes << Registry().EntryCode(item.Entry);
        return codes;
    }
    /// Clicks the node in the tree's viewport as the mouse does.
    static void Click(QTreeWidget *tree, QTreeWidgetItem *node, bool doubleClick = false) {
        const QPoint at = tree->visualItemRect(node).center();
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, at);
        if (doubleClick) QTest::mouseDClick(tree->viewport(), Qt::LeftButton, {}, at);
    }
    static int MarkedCount(const QTreeWidget *tree) {
        int marked = 0;
        for (int g = 0; g < tree->topLevelItemCount(); ++g)
            for (int i = 0; i < tree->topLevelItem(g)->childCount(); ++i)
                marked += TFormManager::ImageOf(tree->topLevelItem(g)->child(i)) == TFormManager::imMarked;
        return marked;
    }

    QTemporaryDir m_dir;
    TGuiHost m_host;
    guitest::TMessageRecorder m_messages;
    std::unique_ptr<TWorkspace> m_ws;
};

TEST_F(FormManagerTest, TreeMirrorsTheRegistryAndClicksSwitchMarks) {
    TFormManager form(*m_ws, m_host);
    form.resize(700, 600);
    form.show();
    QTreeWidget *tree = form.Tree();
    EXPECT_EQ(form.windowTitle(), "Менеджер избранных методов расчета статистики");
    EXPECT_EQ(form.CountLabel()->text(), QStringLiteral("всего %1 методов").arg(Registry().Count()));

    // Groups in order of their first method; methods in registry order, all marked.
    ASSERT_GE(tree->topLevelItemCount(), 2);
    QTreeWidgetItem *numbers = tree->topLevelItem(0);
    EXPECT_EQ(numbers->text(0), "{ num } Числа тиража");
    EXPECT_EQ(TFormManager::ImageOf(numbers), TFormManager::imGroup);
    EXPECT_EQ(TFormManager::EntryOf(numbers->child(0)), Entry("NUMS"));
    EXPECT_EQ(TFormManager::EntryOf(numbers->child(1)), Entry("DIGS"));
    int methods = 0;
    for (int g = 0; g < tree->topLevelItemCount(); ++g)
        methods += tree->topLevelItem(g)->childCount();
    EXPECT_EQ(methods, Registry().Count());
    EXPECT_EQ(MarkedCount(tree), methods);

    // A click switches a method; a double click counts both its clicks; a
    // group node keeps its image and its children.
    QTreeWidgetItem *even = form.NodeOf(Entry("EVEN"));
    ASSERT_NE(even, nullptr);
    Click(tree, even);
    EXPECT_EQ(TFormManager::ImageOf(even), TFormManager::imUnmarked);
    Click(tree, even, true);
    EXPECT_EQ(TFormManager::ImageOf(even), TFormManager::imUnmarked)
        << "click, then both clicks of a double click";
    Click(tree, numbers, true);
    EXPECT_EQ(TFormManager::ImageOf(numbers), TFormManager::imGroup);
    EXPECT_TRUE(numbers->isExpanded());
    EXPECT_EQ(MarkedCount(tree), methods - 1);

    // Group actions need a selected node; bulk actions reach every method.
    tree->clearSelection();
    form.Actions().UpdateAll();
    EXPECT_FALSE(form.Actions().Find("GroupNone")->isEnabled());
    EXPECT_FALSE(form.Actions().Find("Rename")->isEnabled());
    EXPECT_TRUE(form.Actions().Find("CheckNone")->isEnabled());
    tree->setCurrentItem(numbers);
    EXPECT_TRUE(form.Actions().Find("GroupNone")->isEnabled());
    EXPECT_FALSE(form.Actions().Find("Rename")->isEnabled()) << "a group node is no method";
    form.Actions().Execute(form.Actions().Find("GroupNone"));
    EXPECT_EQ(MarkedCount(tree), methods - numbers->childCount());
    tree->setCurrentItem(even);
    form.Actions().Execute(form.Actions().Find("GroupAll"));
    EXPECT_EQ(MarkedCount(tree), methods);
    form.Actions().Execute(form.Actions().Find("CheckNone"));
    EXPECT_EQ(MarkedCount(tree), 0);
    form.Actions().Execute(form.Actions().Find("CheckAll"));
    EXPECT_EQ(MarkedCount(tree), methods);
    EXPECT_TRUE(m_host.IsIdle());
}

TEST_F(FormManagerTest, OkAppliesMarksNamesAndOptionsAndRefillsTheSelectors) {
    int recomputes = 0;
    QObject::connect(&m_ws->Stats(), &TStatsController::RecomputeRequested,
                     [&](bool force) { recomputes += force; });
    auto watch = guitest::WhenModal<TFormManager>([&](TFormManager *form) {
        QTreeWidget *tree = form->Tree();
        form->Actions().Execute(form->Actions().Find("CheckNone"));
        form->ToggleNode(form->NodeOf(Entry("SUMS")));
        form->ToggleNode(form->NodeOf(Entry("EVEN")));
        tree->setCurrentItem(form->NodeOf(Entry("SUMS")));
        auto rename = guitest::WhenModal<QInputDialog>([](QInputDialog *input) {
            EXPECT_EQ(input->windowTitle(), "Переименование");
            EXPECT_EQ(input->labelText(), "Введите наименование фильтра:");
            EXPECT_EQ(input->textValue(), "Сумма тиража: все значения");
            input->setTextValue(QStringLiteral("Аа сумма"));
            input->accept();
        });
        form->Actions().Execute(form->Actions().Find("Rename"));
        EXPECT_EQ(form->NodeOf(Entry("SUMS"))->text(0), "Аа сумма");
        form->findChild<QCheckBox *>("cbOrdered")->setChecked(true);
        form->findChild<QCheckBox *>("cbShowGroupName")->setChecked(false);
        form->accept();
    });
    ASSERT_TRUE(TFormManager::Execute(*m_ws, m_host, nullptr));
    EXPECT_EQ(SelectorCodes(), (QStringList{"SUMS", "EVEN"})) << "ordered by name: Аа… before Количество…";
    EXPECT_EQ(m_ws->Stats().Table().SelectorIndex(), 0);
    EXPECT_EQ(recomputes, 1);
    EXPECT_TRUE(Registry().Ordered());
    EXPECT_EQ(Registry().Items(Entry("SUMS")).CustomCaption, "Аа сумма");
    TIniFile flt;
    flt.Load(m_ws->Files().FltFile());
    EXPECT_EQ(flt.ReadString(QStringLiteral("FILTERS"), QStringLiteral("Ordered")), "1");

    // Unmarking everything lists every method again.
    auto none = guitest::WhenModal<TFormManager>([&](TFormManager *form) {
        form->Actions().Execute(form->Actions().Find("CheckNone"));
        form->accept();
    });
    ASSERT_TRUE(TFormManager::Execute(*m_ws, m_host, nullptr));
    EXPECT_EQ(SelectorCodes().size(), Registry().Count());
}

TEST_F(FormManagerTest, ImportedNamesStayWhenTheDialogIsCancelled) {
    // A names file with one custom name, written the way the export writes it.
    QList<TMethodEdit> edits;
    for (int i = 0; i < Registry().Count(); ++i)
        edits.append({i, true, MethodName(Registry(), i)});
    edits[Entry("NUMS")].Name = QStringLiteral("Мои числа");
    const QString names = m_dir.filePath("names.flt");
    ASSERT_TRUE(m_ws->Stats().ExportNames(names, edits));
    EXPECT_TRUE(Registry().Items(Entry("NUMS")).CustomCaption.isEmpty())
        << "the export restores the own names";

    QStringList asked;
    m_host.SetFileInterceptor([&](bool save, const QString &filter) {
        asked << QStringLiteral("%1 %2").arg(save).arg(filter);
        return names;
    });
    auto watch = guitest::WhenModal<TFormManager>([&](TFormManager *form) {
        form->ToggleNode(form->NodeOf(Entry("EVEN")));
        form->Actions().Execute(form->Actions().Find("NamesImport"));
        EXPECT_EQ(form->NodeOf(Entry("NUMS"))->text(0), "Мои числа");
        EXPECT_EQ(TFormManager::ImageOf(form->NodeOf(Entry("EVEN"))), TFormManager::imMarked)
            << "the rebuild drops marks not yet applied";
        form->reject();
    });
    EXPECT_FALSE(TFormManager::Execute(*m_ws, m_host, nullptr));
    EXPECT_EQ(asked, QStringList{"0 Наименования фильтров (*.flt)"});
    EXPECT_EQ(Registry().Items(Entry("NUMS")).CustomCaption, "Мои числа");
    EXPECT_EQ(SelectorCodes().size(), Registry().Count());
}

class FiltersActionsTest : public FormManagerTest {
protected:
    void SetUp() override {
        FormManagerTest::SetUp();
        m_owner = std::make_unique<QWidget>();
        m_actions = new TActionList(m_host, m_owner.get());
        m_page = new TStatsPage(*m_ws, m_host, *m_actions, m_owner.get());
        m_actions->UpdateAll();
    }
    QAction *Action(const char *name) const { return m_actions->Find(QLatin1String(name)); }

    std::unique_ptr<QWidget> m_owner;
    TActionList *m_actions = nullptr;
    TStatsPage *m_page = nullptr;
};

TEST_F(FiltersActionsTest, ResetAsksFirstAndInfoDescribesTheSelectedMethod) {
    EXPECT_EQ(Action("FiltersManager")->text(), "Избранные статистики");
    EXPECT_EQ(Action("FiltersReset")->text(), "Все доступные статистики");
    EXPECT_EQ(Action("FiltersInfo")->shortcut(), QKeySequence(Qt::Key_F8));

    QList<TMethodEdit> edits;
    for (int i = 0; i < Registry().Count(); ++i)
        edits.append({i, i == Entry("EVEN"), MethodName(Registry(), i)});
    ASSERT_TRUE(m_ws->Stats().ApplyFavourites(edits, {}));
    ASSERT_EQ(SelectorCodes(), QStringList{"EVEN"});

    m_messages.Answer = false;
    m_actions->Execute(Action("FiltersReset"));
    EXPECT_EQ(SelectorCodes(), QStringList{"EVEN"});
    m_messages.Answer = true;
    m_actions->Execute(Action("FiltersReset"));
    EXPECT_EQ(SelectorCodes().size(), Registry().Count());
    EXPECT_EQ(m_messages.Texts(),
              QStringList(2, "Вы действительно хотите сбросить список избранных фильтров?"));
    m_messages.Messages.clear();

    m_page->MethodSelector()->setCurrentIndex(m_ws->Stats().Table().SelectorIndexOfEntry(Entry("EVEN")));
    m_actions->UpdateAll();
    ASSERT_TRUE(Action("FiltersInfo")->isEnabled());
    QString title, page;
    auto watch = guitest::WhenModal<TFormFilterHelp>([&](TFormFilterHelp *help) {
        title = help->windowTitle();
        page = help->Browser()->toPlainText();
        help->close();
    });
    m_actions->Execute(Action("FiltersInfo"));
    EXPECT_EQ(title, "Описание методики расчета");
    EXPECT_TRUE(page.contains("Код: EVEN")) << page.toStdString();
    EXPECT_TRUE(page.contains("Перечисляемые значения")) << page.toStdString();
}

} // namespace
} // namespace lot
