// The online scripts panel of the "Сценарий" tab against a catalogue server running in the
// test (plain HTTP on 127.0.0.1): the list and its columns, publishing through the publish
// dialog with its checks, downloading into the current script, the ratings window, the
// read-only properties, the filter box and the panel switch.

#include "GuiTestUtil.h"

#include "catalogue-server/CatalogueServer.h"
#include "catalogue/CatalogueController.h"
#include "core/IniFile.h"
#include "core/WindowSettings.h"
#include "gui/catalogue/FormIdentity.h"
#include "gui/catalogue/FormScrPublic.h"
#include "gui/catalogue/FormScrRates.h"
#include "gui/catalogue/OnlineScriptsModel.h"
#include "gui/catalogue/OnlineScriptsPanel.h"
#include "gui/scripts/ScriptPage.h"
#include "gui/shell/ActionList.h"
#include "gui/shell/FormMain.h"
#include "scripts/ScriptFile.h"
#include "scripts/ScriptsController.h"
#include "shell/Workspace.h"

#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <QAction>
#include <QComboBox>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTreeWidget>

#include <memory>

namespace lot {
namespace {

using guitest::TMessageRecorder;
using guitest::WhenModal;

class OnlineScriptsPanelTest : public ::testing::Test {
protected:
    void SetUp() override {
        guitest::EnsureApplication();
        ASSERT_TRUE(m_dir.isValid());
        server::TServerOptions options;
        options.Database = m_dir.filePath(QStringLiteral("catalogue.sqlite"));
        options.Port = 0;
        m_server = std::make_unique<server::TCatalogueServer>(options);
        m_data = m_dir.filePath(QStringLiteral("data"));
        QDir().mkpath(m_data);
        TIniFile ini;
        ini.Load(m_data + QStringLiteral("/Brantlee_6x45.ini"));
        ini.WriteString("CATALOGUE", "Url", m_server->Url());
        ini.WriteString("CATALOGUE", "UserName", "Анна");
        ini.WriteString("CATALOGUE", "UserMail", "anna@example.org");
        ini.Save();
        WriteScriptFile(m_data + QStringLiteral("/Brantlee_6x45.lss"),
                        {QStringLiteral("FULL:0#ALL| | | | | | | |")});
        m_window = std::make_unique<TFormMain>(m_data, QStringList{});
        m_rec.Attach(m_window->Host());
        m_window->show();
        ASSERT_EQ(m_window->RunStartup(), TStartupResult::Running);
        m_page = dynamic_cast<TScriptPage *>(m_window->Page(QStringLiteral("tsScript")));
        ASSERT_NE(m_page, nullptr);
        m_panel = m_page->Library();
        ASSERT_NE(m_panel, nullptr);
    }
    void TearDown() override { m_window.reset(); }

    QAction *Action(const char *name) const { return m_window->Actions().Find(QLatin1String(name)); }
    bool Enabled(const char *name) const {
        m_window->Actions().UpdateAll();
        QAction *a = Action(name);
        EXPECT_NE(a, nullptr) << name;
        return a && a->isEnabled();
    }
    void Run(const char *name) { m_window->Actions().Execute(Action(name)); }
    TCatalogueController &Catalogue() { return m_window->Workspace().Catalogue(); }
    QString Cell(int row, int column) const { return m_panel->Model()->index(row, column).data().toString(); }
    int Rows() const { return m_panel->Model()->rowCount(); }
    void Focus(int row) { m_panel->List()->setCurrentIndex(m_panel->Model()->index(row, 0)); }

    /// A script of another user, published straight to the server.
    int32_t PublishAsOther(const QString &title, const QString &text) {
        TCatalogueSettings s;
        s.Url = m_server->Url();
        s.UserName = QStringLiteral("Пётр");
        s.UserMail = QStringLiteral("petr@example.org");
        s.ClientKey = QStringLiteral("petr-key");
        m_other = std::make_unique<TCatalogueClient>(s);
        tScriptData d;
        d.AuthorName = s.UserName;
        d.Lcid = 1058;
        d.Title = title;
        d.Description = QStringLiteral("Чужое описание");
        return m_other->SaveScript(d, text);
    }

    QTemporaryDir m_dir;
    QString m_data;
    std::unique_ptr<server::TCatalogueServer> m_server;
    std::unique_ptr<TCatalogueClient> m_other;
    std::unique_ptr<TFormMain> m_window;
    TMessageRecorder m_rec;
    TScriptPage *m_page = nullptr;
    TOnlineScriptsPanel *m_panel = nullptr;
};

TEST_F(OnlineScriptsPanelTest, PublishThroughTheDialogWithItsChecks) {
    EXPECT_TRUE(m_panel->IsOn());
    EXPECT_EQ(m_panel->FilterBox()->currentIndex(), 2);
    EXPECT_EQ(m_panel->FilterBox()->currentText(), QStringLiteral("Все, кроме скрытых (по умолчанию)"));
    ASSERT_TRUE(Enabled("ScriptLibraryUpload"));
    EXPECT_FALSE(Enabled("ScriptLibraryDelete"));
    PublishAsOther(QStringLiteral("Занято"), QStringLiteral("CLR"));

    // Empty title, then a taken one: each shown, the dialog stays; then a free one.
    QStringList steps;
    auto watch = WhenModal<TFormScrPublic>([&](TFormScrPublic *form) {
        EXPECT_EQ(form->windowTitle(), QStringLiteral("Свойства сценария"));
        EXPECT_EQ(form->AuthorEdit()->text(), QStringLiteral("Анна"));
        EXPECT_EQ(form->OkButton()->toolTip(), QStringLiteral("Отправить сценарий на сервер"));
        form->OkButton()->click();
        steps << QString::number(form->isVisible());
        form->TitleEdit()->setText(QStringLiteral("  занято "));
        form->OkButton()->click();
        steps << QString::number(form->isVisible());
        form->TitleEdit()->setText(QStringLiteral("Мой первый"));
        form->OkButton()->click();
    });
    Run("ScriptLibraryUpload");
    EXPECT_EQ(steps, (QStringList{"1", "1"}));
    ASSERT_GE(m_rec.Messages.size(), 2);
    EXPECT_EQ(m_rec.Messages[0].Text, QStringLiteral("Название сценария должно быть указано обязательно!"));
    EXPECT_EQ(m_rec.Messages[1].Text,
              QStringLiteral("Сценарий с таким названием уже существует!\rВыберите другое название."));

    // The new item is focused and editable; a reload gives it back from the server.
    ASSERT_GE(Catalogue().Focused(), 0);
    const tScriptInfo *mine = Catalogue().FocusedScript();
    EXPECT_EQ(mine->Title, QStringLiteral("Мой первый"));
    EXPECT_TRUE(mine->Editable);
    Run("ScriptLibraryRefresh");
    ASSERT_EQ(Rows(), 2);
    const int row = Cell(0, TCatalogueController::colTitle) == QStringLiteral("Мой первый") ? 0 : 1;
    EXPECT_EQ(Cell(row, TCatalogueController::colType), QStringLiteral("Мой"));
    EXPECT_EQ(Cell(row, TCatalogueController::colAuthor), QStringLiteral("Анна"));
    EXPECT_EQ(Cell(row, TCatalogueController::colApp), QStringLiteral("Brantlee_6x45"));
    EXPECT_EQ(Cell(row, TCatalogueController::colLanguage), QStringLiteral("RUS"));
    EXPECT_EQ(Cell(1 - row, TCatalogueController::colType), QStringLiteral("Общий"));
    EXPECT_EQ(Cell(1 - row, TCatalogueController::colLanguage), QStringLiteral("UKR"));
    EXPECT_EQ(m_panel->Model()->headerData(9, Qt::Horizontal).toString(), QStringLiteral("Ваша оценка"));

    Focus(1 - row);
    EXPECT_FALSE(Enabled("ScriptLibraryDelete"));
    EXPECT_FALSE(Enabled("ScriptLibraryReplace"));
    Focus(row);
    EXPECT_TRUE(Enabled("ScriptLibraryDelete"));
    m_rec.Answer = true;
    Run("ScriptLibraryDelete");
    EXPECT_EQ(m_rec.Messages.last().Text,
              QStringLiteral("Вы действительно хотите удалить сценарий \"Мой первый\"?"));
    EXPECT_EQ(Rows(), 1);
}

TEST_F(OnlineScriptsPanelTest, DownloadRatesAndProperties) {
    const int32_t id =
        PublishAsOther(QStringLiteral("Чужой"), QStringLiteral("FULL:0#FIRST| | | | | | | |\r\nCLR"));
    ASSERT_GT(id, 0);
    m_other->RateScript(id, 4, QStringLiteral("Неплохо"));
    QAbstractItemModelTester tester(m_panel->Model(), QAbstractItemModelTester::FailureReportingMode::Fatal);
    Run("ScriptLibraryRefresh");
    ASSERT_EQ(Rows(), 1);
    EXPECT_EQ(Cell(0, TCatalogueController::colRating), QStringLiteral("4.000"));
    EXPECT_EQ(Cell(0, TCatalogueController::colYours), QString());
    EXPECT_FALSE(Enabled("ScriptLibraryDownload"));
    Focus(0);
    ASSERT_TRUE(Enabled("ScriptLibraryDownload"));
    EXPECT_FALSE(Enabled("ScriptLibraryRate0"));
    Run("ScriptLibraryDownload");
    EXPECT_EQ(m_window->Workspace().Scripts().Lines(),
              (QStringList{QStringLiteral("FULL:0#FIRST| | | | | | | |"), QStringLiteral("CLR")}));

    // Rating 3 with a comment: the list is reloaded and shows it ticked.
    auto comment = WhenModal<QInputDialog>([](QInputDialog *d) {
        EXPECT_EQ(d->windowTitle(), QStringLiteral("Комментарий"));
        EXPECT_EQ(d->labelText(), QStringLiteral("Вы можете оставить свой комментарий:"));
        d->setTextValue(QStringLiteral("Сойдёт"));
        d->accept();
    });
    Run("ScriptLibraryRate3");
    ASSERT_EQ(Rows(), 1);
    Focus(0);
    EXPECT_EQ(Cell(0, TCatalogueController::colYours), QStringLiteral("3"));
    EXPECT_EQ(Cell(0, TCatalogueController::colRatings), QStringLiteral("2"));
    EXPECT_TRUE(Enabled("ScriptLibraryRate0"));
    EXPECT_TRUE(Action("ScriptLibraryRate3")->isChecked());
    EXPECT_FALSE(Action("ScriptLibraryRate4")->isChecked());

    QStringList rows;
    auto rates = WhenModal<TFormScrRates>([&](TFormScrRates *form) {
        EXPECT_EQ(form->windowTitle(), QStringLiteral("Оценки пользователей"));
        for (int i = 0; i < form->List()->topLevelItemCount(); ++i)
            rows << form->List()->topLevelItem(i)->text(0) + QLatin1Char('|') +
                        form->List()->topLevelItem(i)->text(1) + QLatin1Char('|') +
                        form->List()->topLevelItem(i)->text(5);
        form->accept();
    });
    Run("ScriptLibraryRates");
    EXPECT_EQ(rows, (QStringList{QStringLiteral("Пётр|4|Неплохо"), QStringLiteral("Анна|3|Сойдёт")}));

    bool readOnly = false;
    auto view = WhenModal<TFormScrPublic>([&](TFormScrPublic *form) {
        readOnly = form->OkButton()->isHidden() && form->TitleEdit()->isReadOnly() &&
                   form->CancelButton()->text() == QStringLiteral("Закрыть окно");
        EXPECT_EQ(form->TitleEdit()->text(), QStringLiteral("Чужой"));
        form->reject();
    });
    Run("ScriptLibraryView");
    EXPECT_TRUE(readOnly);

    Run("ScriptLibraryHide");
    EXPECT_EQ(Rows(), 0);
    m_panel->FilterBox()->setCurrentIndex(0);
    emit m_panel->FilterBox()->activated(0);
    EXPECT_EQ(m_window->Workspace().Settings().ScriptLibraryFilter(), 0);
    ASSERT_EQ(Rows(), 1);
    EXPECT_EQ(Cell(0, TCatalogueController::colYours), QStringLiteral("Скрытый"));
}

TEST_F(OnlineScriptsPanelTest, TheIdentityIsAskedForTheFirstTimeItIsNeeded) {
    TIniFile ini;
    ini.LoadForUpdate(m_data + QStringLiteral("/Brantlee_6x45.ini"));
    ini.DeleteKey("CATALOGUE", "UserName");
    ini.DeleteKey("CATALOGUE", "UserMail");
    ini.Save();
    ASSERT_TRUE(Catalogue().LoadSettings());
    ASSERT_FALSE(Catalogue().HasIdentity());

    QString author;
    auto identity = WhenModal<TFormIdentity>([](TFormIdentity *form) {
        form->NameEdit()->setText(QStringLiteral("Лев"));
        form->MailEdit()->setText(QStringLiteral("lev-at-example"));
        form->accept();
        EXPECT_TRUE(form->isVisible());
        form->MailEdit()->setText(QStringLiteral("lev@example.org"));
        form->accept();
    });
    auto publish = WhenModal<TFormScrPublic>([&](TFormScrPublic *form) {
        author = form->AuthorEdit()->text();
        form->reject();
    });
    Run("ScriptLibraryUpload");
    EXPECT_EQ(author, QStringLiteral("Лев"));
    ASSERT_FALSE(m_rec.Messages.isEmpty());
    EXPECT_EQ(m_rec.Messages[0].Text, QStringLiteral("Адрес электронной почты должен иметь вид имя@домен!"));
    const TIniFile stored(m_data + QStringLiteral("/Brantlee_6x45.ini"));
    EXPECT_EQ(stored.ReadString("CATALOGUE", "UserName"), QStringLiteral("Лев"));
    EXPECT_EQ(stored.ReadString("CATALOGUE", "UserMail"), QStringLiteral("lev@example.org"));
    EXPECT_EQ(m_window->Workspace().Systems().UserMail(), QStringLiteral("lev@example.org"));
}

TEST_F(OnlineScriptsPanelTest, TheSwitchHidesThePanelAndIsStored) {
    ASSERT_TRUE(Action("ScriptLibrary")->isChecked());
    EXPECT_EQ(Action("ScriptLibrary")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_L));
    Run("ScriptLibrary");
    EXPECT_FALSE(m_panel->IsOn());
    EXPECT_TRUE(m_panel->isHidden());
    EXPECT_FALSE(Enabled("ScriptLibraryRefresh"));
    TWindowSettings stored(m_data + QStringLiteral("/Brantlee_6x45.frm"));
    EXPECT_FALSE(stored.ScriptLibraryOn());
    Run("ScriptLibrary");
    EXPECT_FALSE(m_panel->isHidden());
    EXPECT_TRUE(m_panel->Hint()->isHidden());

    // Without an address the panel says where to set one.
    TIniFile ini;
    ini.LoadForUpdate(m_data + QStringLiteral("/Brantlee_6x45.ini"));
    ini.DeleteKey("CATALOGUE", "Url");
    ini.Save();
    ASSERT_TRUE(Catalogue().LoadSettings());
    Catalogue().ClearScripts();
    EXPECT_FALSE(m_panel->Hint()->isHidden());
    EXPECT_TRUE(m_panel->Hint()->text().contains(QStringLiteral("[CATALOGUE]")));
    EXPECT_TRUE(m_rec.Messages.isEmpty()) << m_rec.Texts().join(QLatin1Char('\n')).toStdString();
}

} // namespace
} // namespace lot
