// The catalogue area's operations as the window and the command line run them: their status
// texts, their error texts with the reason, and what they change.

#include "CatalogueServerProcess.h"

#include "catalogue/CatalogueController.h"
#include "core/DataFolder.h"
#include "core/Errors.h"
#include "core/IniFile.h"
#include "scripts/ScriptFile.h"
#include "shell/FakeHost.h"
#include "shell/Workspace.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

namespace lot {
namespace {

class CatalogueController : public ::testing::Test {
protected:
    void SetUp() override {
        test::EnsureApplication();
        ASSERT_TRUE(m_dir.isValid());
        m_server = std::make_unique<test::TServerProcess>(m_dir.filePath(QStringLiteral("db.sqlite")));
        ASSERT_FALSE(m_server->Url().isEmpty());
        m_data = m_dir.filePath(QStringLiteral("data"));
        QDir().mkpath(m_data);
    }
    void WriteSettings(const QString &url) {
        TIniFile ini;
        ini.Load(m_data + QStringLiteral("/Brantlee_6x45.ini"));
        ini.WriteString("GLOBAL", "Keep", "1");
        ini.WriteString("CATALOGUE", "Url", url);
        ini.WriteString("CATALOGUE", "CaFile", test::TestCaFile());
        ini.Save();
    }
    std::unique_ptr<TWorkspace> Workspace() {
        auto ws = std::make_unique<TWorkspace>(m_host, m_data);
        EXPECT_TRUE(ws->Catalogue().LoadSettings());
        return ws;
    }

    QTemporaryDir m_dir;
    QString m_data;
    std::unique_ptr<test::TServerProcess> m_server;
    test::TFakeHost m_host;
};

TEST_F(CatalogueController, WithoutAnAddressTheListFailsEmptyAndSaysWhy) {
    auto ws = Workspace();
    EXPECT_FALSE(ws->Catalogue().HasCatalogue());
    const TOpResult r = ws->Catalogue().RefreshScripts();
    EXPECT_FALSE(r);
    ASSERT_EQ(m_host.Errors().size(), 1);
    EXPECT_TRUE(
        m_host.Errors()[0].startsWith(QStringLiteral("Ошибка загрузки каталога online-сценариев!\r\r")));
    EXPECT_TRUE(m_host.Errors()[0].contains(QStringLiteral("[CATALOGUE]")));
    EXPECT_TRUE(ws->Catalogue().Scripts().isEmpty());
    // No catalogue, no key written.
    EXPECT_TRUE(TIniFile(m_data + QStringLiteral("/Brantlee_6x45.ini"))
                    .ReadString("CATALOGUE", "ClientKey")
                    .isEmpty());
}

TEST_F(CatalogueController, PublishRateAndDownloadWithTheirTexts) {
    WriteSettings(m_server->Url());
    auto ws = Workspace();
    ASSERT_TRUE(ws->Catalogue().HasCatalogue());
    // The key is made once and kept beside the other sections.
    const TIniFile ini(m_data + QStringLiteral("/Brantlee_6x45.ini"));
    const QString key = ini.ReadString("CATALOGUE", "ClientKey");
    EXPECT_EQ(key.size(), 32);
    EXPECT_EQ(ini.ReadString("GLOBAL", "Keep"), QStringLiteral("1"));
    EXPECT_EQ(ws->Catalogue().Settings().ClientKey, key);
    ASSERT_TRUE(ws->Catalogue().SetIdentity(QStringLiteral(" Вера "), QStringLiteral("vera@example.org")));
    EXPECT_EQ(TIniFile(m_data + QStringLiteral("/Brantlee_6x45.ini")).ReadString("CATALOGUE", "UserName"),
              QStringLiteral("Вера"));

    ASSERT_TRUE(ws->Scripts().SetScript(
        {QStringLiteral("FULL:0#ALL| | | | | | | |"), QString(), QStringLiteral("CLR")}));
    tScriptData data = ws->Catalogue().NewScriptData();
    EXPECT_EQ(data.Id, -1);
    EXPECT_EQ(data.AuthorName, QStringLiteral("Вера"));
    EXPECT_TRUE(data.Public);
    data.Title = QStringLiteral("Три строки");
    int32_t id = 0;
    m_host.Clear();
    ASSERT_TRUE(ws->Catalogue().PublishScript(data, &id));
    EXPECT_TRUE(m_host.Statuses.contains(QStringLiteral("Сохранение сценария в базе данных...")));
    ASSERT_EQ(ws->Catalogue().Scripts().size(), 1);
    EXPECT_EQ(ws->Catalogue().Focused(), 0);
    EXPECT_EQ(ws->Catalogue().Scripts()[0].Id, id);

    m_host.Clear();
    EXPECT_FALSE(ws->Catalogue().RateScript(id, 7, QString()));
    EXPECT_EQ(m_host.Errors(),
              QStringList{QStringLiteral("Ошибка сохранения оценки online-сценария!\r\rКод возврата: -2")});
    EXPECT_TRUE(m_host.Statuses.contains(QStringLiteral("Отправка оценки на сервер...")));

    m_host.Clear();
    ASSERT_TRUE(ws->Catalogue().RateScript(id, 5, QStringLiteral("Моё")));
    EXPECT_TRUE(m_host.Statuses.contains(QStringLiteral("Загрузка online-каталога сценариев...")));
    ASSERT_EQ(ws->Catalogue().Scripts().size(), 1);
    EXPECT_EQ(ws->Catalogue().Scripts()[0].RatingYou, 5);
    EXPECT_EQ(ws->Catalogue().Focused(), 0);

    ASSERT_TRUE(ws->Scripts().ClearScript());
    m_host.Clear();
    ASSERT_TRUE(ws->Catalogue().DownloadScript(id));
    EXPECT_TRUE(m_host.Statuses.contains(QStringLiteral("Скачивание сценария из online-каталога...")));
    const QStringList lines{QStringLiteral("FULL:0#ALL| | | | | | | |"), QString(), QStringLiteral("CLR")};
    EXPECT_EQ(ws->Scripts().Lines(), lines);
    EXPECT_EQ(ReadScriptFile(ws->Scripts().CurrentScriptFile()), lines);

    m_host.Clear();
    EXPECT_FALSE(ws->Catalogue().DownloadScript(id + 50));
    ASSERT_EQ(m_host.Errors().size(), 1);
    EXPECT_TRUE(m_host.Errors()[0].startsWith(QStringLiteral("Ошибка загрузки online-сценария!\r\r")));
    EXPECT_EQ(ws->Scripts().Lines(), lines);

    m_host.Clear();
    QList<tScriptRate> rates;
    ASSERT_TRUE(ws->Catalogue().LoadRates(id, rates));
    EXPECT_TRUE(m_host.Statuses.contains(QStringLiteral("Загрузка списка оценок...")));
    ASSERT_EQ(rates.size(), 1);
    EXPECT_EQ(TCatalogueController::RateCellText(rates[0], TCatalogueController::rcNotes),
              QStringLiteral("Моё"));

    m_host.Clear();
    ASSERT_TRUE(ws->Catalogue().DeleteScript(id));
    EXPECT_TRUE(m_host.Statuses.contains(QStringLiteral("Удаление сценария из базы данных...")));
    EXPECT_TRUE(ws->Catalogue().Scripts().isEmpty());
}

TEST_F(CatalogueController, TheFilterBoxSendsItsIndexMinusOne) {
    WriteSettings(m_server->Url());
    auto ws = Workspace();
    EXPECT_EQ(TCatalogueController::FilterCaptions().size(), 8);
    EXPECT_EQ(ws->Catalogue().FilterItem(), 2);
    ASSERT_TRUE(ws->Catalogue().SetFilterItem(3));
    EXPECT_EQ(TCatalogueController::FilterCaptions()[3], QStringLiteral("Только мои"));
    EXPECT_EQ(ws->Catalogue().Client()->LastForm().value(0).second, QByteArray("2"));
    EXPECT_EQ(ws->Settings().ScriptLibraryFilter(), 3);
}

TEST(CatalogueCells, TheListsTexts) {
    tScriptInfo s;
    s.Mine = false;
    s.Universal = true;
    s.AppName = QStringLiteral("Other");
    s.RatingAvg = 3.14159;
    s.RatingYou = -1;
    s.Lcid = 1049;
    EXPECT_EQ(TCatalogueController::CellText(s, TCatalogueController::colType), QStringLiteral("Общий"));
    EXPECT_EQ(TCatalogueController::CellText(s, TCatalogueController::colApp),
              QStringLiteral("Универсальный"));
    EXPECT_EQ(TCatalogueController::CellText(s, TCatalogueController::colRating), QStringLiteral("3.142"));
    EXPECT_EQ(TCatalogueController::CellText(s, TCatalogueController::colYours), QStringLiteral("Скрытый"));
    EXPECT_EQ(TCatalogueController::CellText(s, TCatalogueController::colLanguage), QStringLiteral("RUS"));
    EXPECT_EQ(TCatalogueController::CellText(s, TCatalogueController::colCreated), QString());
    s.RatingYou = 0;
    EXPECT_EQ(TCatalogueController::CellText(s, TCatalogueController::colYours), QString());
    s.RatingYou = 4;
    s.Mine = true;
    s.Universal = false;
    s.RatingAvg = 1234.5;
    EXPECT_EQ(TCatalogueController::CellText(s, TCatalogueController::colYours), QStringLiteral("4"));
    EXPECT_EQ(TCatalogueController::CellText(s, TCatalogueController::colType), QStringLiteral("Мой"));
    EXPECT_EQ(TCatalogueController::CellText(s, TCatalogueController::colApp), QStringLiteral("Other"));
    EXPECT_EQ(TCatalogueController::CellText(s, TCatalogueController::colRating),
              QStringLiteral("1 234.500"));
    EXPECT_EQ(TCatalogueController::RateCaption(3), QStringLiteral("[ 3 ] - Удовлетворительно"));
    EXPECT_EQ(TCatalogueController::DeleteQuestion(QStringLiteral("X")),
              QStringLiteral("Вы действительно хотите удалить сценарий \"X\"?"));
}

} // namespace
} // namespace lot

namespace lot {
namespace {

TEST_F(CatalogueController, SystemCallsShowTheirStatusWithTheTitle) {
    WriteSettings(m_server->Url());
    auto ws = Workspace();
    ASSERT_TRUE(ws->Catalogue().SetIdentity(QStringLiteral("Вера"), QStringLiteral("vera@example.org")));
    ISystemCatalogue *systems = ws->Catalogue().SystemCatalogue();
    ASSERT_NE(systems, nullptr);
    tSystemData d;
    d.Info.Nums = 7;
    d.Info.CSize = 1;
    d.Info.Title = QStringLiteral("Семь");
    d.Info.Author = QStringLiteral("Вера");
    d.Info.OwnerMail = QStringLiteral("vera@example.org");
    d.Info.Description = QStringLiteral("Одна");
    d.Content = QStringLiteral("01 02 03 04 05 06");
    m_host.Clear();
    d.Info.Id = systems->SaveSystem(d, false);
    ASSERT_GT(d.Info.Id, 0);
    EXPECT_EQ(m_host.Statuses, QStringList{QStringLiteral("Сохранение \"Семь\"...")});
    ASSERT_EQ(systems->ListSystems().size(), 1);
    m_host.Clear();
    EXPECT_EQ(systems->SystemContent(d.Info.Id), d.Content);
    EXPECT_EQ(m_host.Statuses, QStringList{QStringLiteral("Загрузка \"Семь\"...")});
    m_host.Clear();
    EXPECT_EQ(systems->SaveSystem(d, true), 0);
    EXPECT_EQ(m_host.Statuses, QStringList{QStringLiteral("Удаление \"Семь\"...")});

    // The factory for the systems area gives the same calls.
    auto made = MakeSystemCatalogue(ws->Files(), &m_host);
    ASSERT_NE(made, nullptr);
    EXPECT_TRUE(made->ListSystems().isEmpty());
}

TEST(CatalogueClient, PlainHttpOnlyToThisMachineAndNoAddressNoCall) {
    test::EnsureApplication();
    TCatalogueSettings s;
    s.Url = QStringLiteral("http://catalogue.example.org");
    TCatalogueClient remote(s);
    try {
        remote.ListScripts(1);
        FAIL() << "no error";
    } catch (const EError &e) {
        EXPECT_TRUE(e.Message().contains(QStringLiteral("HTTPS"))) << e.Message().toStdString();
    }
    s.Url = QStringLiteral("ftp://127.0.0.1");
    EXPECT_THROW(TCatalogueClient(s).ListSystems(), EError);
    s.Url.clear();
    EXPECT_THROW(TCatalogueClient(s).ListSystems(), EError);
    QTemporaryDir dir;
    EXPECT_EQ(MakeSystemCatalogue(TDataFolder(dir.path())), nullptr);
}

} // namespace
} // namespace lot
