// The "Системы" tab over a started workspace and a catalogue in memory: the
// list and its sort, the actions' enabled tests, download and system play
// through the multi-stake dialog; the system dialog's normalisation,
// validations in their order, read-only mode, digit fields, context menu
// and guarantee table.

#include "GuiTestUtil.h"

#include "combs/CombGenerator.h"
#include "core/IniFile.h"
#include "gui/combs/CombsPage.h"
#include "gui/shell/ActionList.h"
#include "gui/stakes/FormMulti.h"
#include "gui/stakes/StakesPage.h"
#include "gui/systems/FormSystem.h"
#include "gui/systems/SystemsPage.h"
#include "shell/Workspace.h"
#include "stakes/StakeRec.h"
#include "stakes/StakesController.h"
#include "systems/FakeCatalogue.h"
#include "systems/SystemsController.h"

#include <gtest/gtest.h>
#include <QAbstractItemModelTester>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableView>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

namespace lot {
namespace {

using guitest::TMessageRecorder;
using test::TFakeCatalogue;

tSystemInfo Entry(int id, int nums, int csize, const char *mail = "") {
    tSystemInfo info;
    info.Id = id;
    info.Nums = uint8_t(nums);
    info.CSize = csize;
    info.Title = QStringLiteral("Система %1").arg(id);
    info.OwnerMail = QString::fromLatin1(mail);
    info.Created = QDateTime(QDate(2024, 1, 2), QTime(3, 4, 5));
    return info;
}

class SystemsPageTest : public ::testing::Test {
protected:
    void SetUp() override {
        guitest::EnsureApplication();
        ASSERT_TRUE(m_dir.isValid());
        m_rec.Attach(m_host);
        TIniFile ini;
        ini.Load(m_dir.filePath("Brantlee_6x45.ini"));
        ini.WriteInteger("GLOBAL", "CombsGenerateMode", cgmOnlyOf);
        ini.WriteString("GLOBAL", "CombsGenerateParameters", "1;2;3;4;5;6;7");
        // A catalogue is set and the user known: start-up loads the list (from the fake below).
        ini.WriteString("CATALOGUE", "Url", "http://127.0.0.1:9");
        ini.WriteString("CATALOGUE", "UserName", "Я");
        ini.WriteString("CATALOGUE", "UserMail", "me@example.org");
        ini.Save();
        TDrawsArchive archive;
        for (const TDrawRec &d : guitest::TenDraws())
            archive.Append(d);
        archive.SaveDrawsFile(m_dir.filePath("Brantlee_6x45.ldr"));

        m_ws = std::make_unique<TWorkspace>(m_host, m_dir.path());
        m_ws->Systems().SetUser(QStringLiteral("Я"), QStringLiteral("me@example.org"));
        m_ws->Systems().SetCatalogueFactory([s = m_state] { return std::make_unique<TFakeCatalogue>(s); });
        m_state->Entries = {Entry(3, 10, 1), Entry(2, 7, 7, "me@example.org"), Entry(1, 8, 1, "x@y.z")};
        m_state->Contents[2] =
            QStringLiteral("1 2 3 4 5 6\n1 2 3 4 5 7\n1 2 3 4 6 7\n1 2 3 5 6 7\n1 2 4 5 6 7\n"
                           "1 3 4 5 6 7\n2 3 4 5 6 7");
        m_state->Contents[3] = QStringLiteral("1 2 3 4 5 6");
        m_window = std::make_unique<QWidget>();
        m_actions = std::make_unique<TActionList>(m_host, m_window.get());
        m_combs = std::make_unique<TCombsPage>(*m_ws, m_host, *m_actions, m_window.get());
        m_stakes = std::make_unique<TStakesPage>(*m_ws, m_host, *m_actions, m_window.get());
        m_page = std::make_unique<TSystemsPage>(*m_ws, m_host, *m_actions, m_window.get());
        m_tester = std::make_unique<QAbstractItemModelTester>(
            m_page->Model(), QAbstractItemModelTester::FailureReportingMode::Fatal);
        QObject::connect(&m_host, &TGuiHost::BusyChanged, m_actions.get(), &TActionList::UpdateAll);
        m_ws->LoadWindowSettings();
        m_ws->LoadGameSettings();
        ASSERT_EQ(m_ws->Startup({}), TStartupResult::Running);
        ASSERT_TRUE(m_rec.Messages.isEmpty()) << m_rec.Texts().join('|').toStdString();
        m_actions->UpdateAll();
    }
    void TearDown() override {
        m_tester.reset();
        if (m_ws) m_ws->Shutdown();
        m_page.reset();
        m_stakes.reset();
        m_combs.reset();
        m_actions.reset();
        m_window.reset();
        m_ws.reset();
    }
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
    /// The title shown in view row r.
    QString Title(int r) const { return m_page->List()->model()->index(r, scsTitle).data().toString(); }
    void SelectView(std::initializer_list<int> rows) {
        QAbstractItemModel *model = m_page->List()->model();
        QItemSelection selection;
        for (int r : rows)
            selection.select(model->index(r, 0), model->index(r, SystemColumnCount - 1));
        m_page->List()->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
        m_page->List()->selectionModel()->setCurrentIndex(model->index(*rows.begin(), 0),
                                                          QItemSelectionModel::NoUpdate);
    }

    QTemporaryDir m_dir;
    TGuiHost m_host;
    TMessageRecorder m_rec;
    std::shared_ptr<TFakeCatalogue::TState> m_state = std::make_shared<TFakeCatalogue::TState>();
    std::unique_ptr<TWorkspace> m_ws;
    std::unique_ptr<QWidget> m_window;
    std::unique_ptr<TActionList> m_actions;
    std::unique_ptr<TCombsPage> m_combs;
    std::unique_ptr<TStakesPage> m_stakes;
    std::unique_ptr<TSystemsPage> m_page;
    std::unique_ptr<QAbstractItemModelTester> m_tester;
};

TEST_F(SystemsPageTest, TheListIsLoadedAtStartSortedByNumbers) {
    ASSERT_EQ(m_page->Model()->rowCount(), 3);
    EXPECT_EQ(Title(0), "Система 2");
    EXPECT_EQ(Title(1), "Система 1");
    EXPECT_EQ(Title(2), "Система 3");
    QAbstractItemModel *view = m_page->List()->model();
    EXPECT_EQ(view->index(0, scsNums).data().toString(), "07");
    EXPECT_EQ(view->index(0, scsCreated).data().toString(), "2024-01-02 03:04:05");
    EXPECT_EQ(view->headerData(scsCombs, Qt::Horizontal).toString(), "Комбинаций");
    EXPECT_FALSE(view->index(0, 0).data(Qt::DecorationRole).value<QIcon>().isNull());

    EXPECT_TRUE(Enabled("SystemsRefresh"));
    EXPECT_TRUE(Enabled("SystemsAdd"));
    EXPECT_FALSE(Enabled("SystemsDownload"));
    EXPECT_FALSE(Enabled("SystemsProp"));
    EXPECT_FALSE(Enabled("SystemsDel"));
    EXPECT_TRUE(Enabled("SystemStakeAll"));
    SelectView({1});
    EXPECT_TRUE(Enabled("SystemsDownload"));
    EXPECT_TRUE(Enabled("SystemsProp"));
    EXPECT_FALSE(Enabled("SystemsDel")); // another user's
    SelectView({0});
    EXPECT_TRUE(Enabled("SystemsDel"));
    EXPECT_EQ(Action("SystemStakeAll")->text(), QStringLiteral("Cистемная игра по списку системы"));
    EXPECT_EQ(Action("SystemStakeAll")->shortcut(), QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_J));
    EXPECT_EQ(Action("SystemStakeFilter")->shortcut(), QKeySequence(Qt::ALT | Qt::Key_J));
}

TEST_F(SystemsPageTest, DownloadThenPlayThroughTheMultiStakeDialog) {
    // Playing before the download: the system for 7 numbers is missing.
    Run("SystemStakeAll");
    ASSERT_EQ(m_rec.Messages.size(), 1);
    EXPECT_TRUE(m_rec.Messages[0].Text.startsWith("Система для 7 чисел не найдена"))
        << m_rec.Texts()[0].toStdString();
    m_rec.Messages.clear();

    SelectView({0, 2});
    Run("SystemsDownload");
    EXPECT_TRUE(m_rec.Messages.isEmpty()) << m_rec.Texts().join('|').toStdString();
    QAbstractItemModel *view = m_page->List()->model();
    EXPECT_EQ(view->index(0, scsStatus).data().toString(), "Загружена");
    EXPECT_EQ(view->index(2, scsStatus).data().toString(), "Загружена");
    // The focused item stays selected, the other loaded one leaves the selection.
    EXPECT_EQ(m_page->SelectedRows(), QList<int>({m_ws->Systems().FindId(2)}));

    QString shownComment;
    auto watch = guitest::WhenModal<TFormMulti>([&](TFormMulti *form) {
        shownComment = form->CommentEdit()->text();
        form->DrawsCountEdit()->setValue(2);
        form->accept();
    });
    Run("SystemStakeFilter");
    EXPECT_EQ(shownComment, "Системная игра для 7 чисел [комбинации]: 6-07-0_0002");
    // Seven combinations for two draws, the second copy after a separator each time.
    EXPECT_GE(m_ws->Stakes().Count(), 14);
    EXPECT_TRUE(m_rec.Messages.isEmpty()) << m_rec.Texts().join('|').toStdString();
}

TEST(FormSystemTest, OkChecksTheFieldsInOrder) {
    guitest::EnsureApplication();
    TGuiHost host;
    TMessageRecorder rec;
    rec.Attach(host);
    tSystemData data;
    data.Info.OwnerMail = QStringLiteral("me@example.org");
    TFormSystem form(host, data, true);
    form.show();
    auto okFails = [&](const char *text, QWidget *focus) {
        rec.Messages.clear();
        form.accept();
        ASSERT_EQ(rec.Messages.size(), 1);
        EXPECT_EQ(rec.Messages[0].Text, QString::fromUtf8(text));
        EXPECT_EQ(form.focusWidget(), focus) << text;
        EXPECT_EQ(form.result(), 0);
    };
    form.TitleEdit()->setText("  ");
    okFails("Название системы должно быть указано обязательно!", form.TitleEdit());
    form.TitleEdit()->setText("Моя");
    form.CombsEdit()->setPlainText("1-2-3-4-5-6\n1,2,3,4,5,6\n1 2 3 4 5\n");
    ASSERT_TRUE(form.NormaliseCombs());
    EXPECT_EQ(form.CombsEdit()->toPlainText(), "01 02 03 04 05 06\n01 02 03 04 05 06");
    EXPECT_EQ(form.NumsEdit()->text(), "6");
    EXPECT_EQ(form.CountLabel()->text(), "2");
    okFails("Указано недопустмое количество используемых чисел!", form.NumsEdit());
    form.CombsEdit()->setPlainText("1 2 3 4 5 6\n2 3 4 5 6 7\n1 3 4 5 6 7");
    ASSERT_TRUE(form.NormaliseCombs());
    EXPECT_EQ(form.NumsEdit()->text(), "7");
    form.OlapEdit()->setText("6");
    okFails("Указан недопустмый размер блока!", form.OlapEdit());
    form.OlapEdit()->setText("2");
    form.AuthorEdit()->setText("");
    okFails("Имя автора должно быть указано обязательно!", form.AuthorEdit());
    form.AuthorEdit()->setText("Я");
    okFails("Описание системы должно быть указано обязательно!", form.DescrEdit());
    form.DescrEdit()->setPlainText("Три из семи");
    const QString combs = form.CombsEdit()->toPlainText();
    form.CombsEdit()->setPlainText(" ");
    okFails("Содержимое системы должно быть указано обязательно!", form.CombsEdit());
    form.CombsEdit()->setPlainText(combs);
    rec.Messages.clear();
    form.TitleEdit()->setFocus();
    form.accept();
    EXPECT_TRUE(rec.Messages.isEmpty());
    EXPECT_EQ(form.result(), QDialog::Accepted);
    const tSystemData r = form.Result();
    EXPECT_EQ(r.Info.Id, 0);
    EXPECT_EQ(r.Info.OwnerMail, "me@example.org");
    EXPECT_EQ(r.Info.Nums, 7);
    EXPECT_EQ(r.Info.Block, 2);
    EXPECT_EQ(r.Info.CSize, 3);
    EXPECT_EQ(r.Info.Title, "Моя");
    EXPECT_TRUE(r.Info.Created.isValid());
    EXPECT_FALSE(r.Info.LastDownload.isValid());
    EXPECT_EQ(r.Content, "01 02 03 04 05 06\r\n02 03 04 05 06 07\r\n01 03 04 05 06 07");
}

TEST(FormSystemTest, LeavingTheCombinationsNormalisesAndShowsTheGuarantees) {
    guitest::EnsureApplication();
    TGuiHost host;
    TMessageRecorder rec;
    rec.Attach(host);
    TFormSystem form(host, tSystemData{}, true);
    form.show();
    QApplication::setActiveWindow(&form);
    form.CombsEdit()->setFocus();
    form.CombsEdit()->setPlainText("1 2 3 4 5 6\n\n7 1 2 3 4 5");
    form.TitleEdit()->setFocus();
    QApplication::processEvents();
    EXPECT_EQ(form.CombsEdit()->toPlainText(), "01 02 03 04 05 06\n07 01 02 03 04 05");
    EXPECT_EQ(form.NumsEdit()->text(), "7");
    EXPECT_EQ(form.GuaranteesGrid()->item(3, 5)->text(), "28.57"); // 6 of 6: 2 cases of 7
    EXPECT_EQ(form.GuaranteesGrid()->item(0, 2)->text(), "85.71"); // 3 of 3: 30 cases of 35
    EXPECT_TRUE(form.GuaranteeLabel()->text().contains("5 при 6"))
        << form.GuaranteeLabel()->text().toStdString();

    // A word that is not a number: the conversion error, the text stays.
    form.CombsEdit()->setPlainText("1 2 3 4 5 x");
    EXPECT_FALSE(form.NormaliseCombs());
    ASSERT_EQ(rec.Messages.size(), 1);
    EXPECT_EQ(form.CombsEdit()->toPlainText(), "1 2 3 4 5 x");

    // Digits only in the number fields.
    form.NumsEdit()->clear();
    QTest::keyClicks(form.NumsEdit(), "1a2-");
    EXPECT_EQ(form.NumsEdit()->text(), "12");
    QTest::keyClick(form.NumsEdit(), Qt::Key_Backspace);
    EXPECT_EQ(form.NumsEdit()->text(), "1");

    // The context menu: paste only with text on the clipboard.
    QApplication::clipboard()->setText("1 2 3 4 5 6");
    QList<QAction *> menu = form.CombsMenu()->actions();
    ASSERT_EQ(menu.size(), 6);
    EXPECT_EQ(menu[0]->text(), "Копировать в буфер обмена");
    EXPECT_TRUE(menu[1]->isEnabled());
    EXPECT_TRUE(menu[4]->isEnabled());
    QApplication::clipboard()->clear();
    menu = form.CombsMenu()->actions();
    EXPECT_FALSE(menu[1]->isEnabled());

    EXPECT_FALSE(form.UrlButton()->isEnabled());
    form.UrlEdit()->setText("https://example.org");
    EXPECT_TRUE(form.UrlButton()->isEnabled());
}

TEST(FormSystemTest, ReadOnlyShowsAndClosesOnly) {
    guitest::EnsureApplication();
    TGuiHost host;
    TMessageRecorder rec;
    rec.Attach(host);
    tSystemData data;
    data.Info.Id = 5;
    data.Info.Nums = 7;
    data.Info.Title = QStringLiteral("Чужая");
    data.Info.Created = QDateTime(QDate(2020, 5, 6), QTime(7, 8, 9));
    data.Content = QStringLiteral("1-2-3-4-5-6");
    TFormSystem form(host, data, false);
    form.show();
    EXPECT_TRUE(form.OkButton()->isHidden());
    EXPECT_EQ(form.CancelButton()->text(), "Закрыть окно");
    EXPECT_TRUE(form.TitleEdit()->isReadOnly());
    EXPECT_TRUE(form.NumsEdit()->isReadOnly());
    EXPECT_TRUE(form.CombsEdit()->isReadOnly());
    form.CombsEdit()->setFocus();
    form.TitleEdit()->setFocus();
    QApplication::processEvents();
    EXPECT_EQ(form.CombsEdit()->toPlainText(), "1-2-3-4-5-6");
    QList<QAction *> menu = form.CombsMenu()->actions();
    EXPECT_FALSE(menu[1]->isEnabled());
    EXPECT_FALSE(menu[4]->isEnabled());
    EXPECT_TRUE(menu[5]->isEnabled());
    EXPECT_NE(form.findChild<QLabel *>("lbCreated"), nullptr);
    EXPECT_EQ(form.findChild<QLabel *>("lbCreated")->text(), "2020-05-06 07:08:09");
    EXPECT_TRUE(rec.Messages.isEmpty());
}

} // namespace
} // namespace lot
