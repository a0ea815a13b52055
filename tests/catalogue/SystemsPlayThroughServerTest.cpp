// The systems area of whole workspaces over the real catalogue server program on 127.0.0.1,
// reached through the catalogue settings of their data folders: a system one user published is
// fetched, downloaded and played, edited and deleted; another user sees it as someone else's,
// may download it but not delete it.

#include "CatalogueServerProcess.h"

#include "core/IniFile.h"
#include "scripts/ScriptsTestUtil.h"
#include "systems/SystemsController.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

namespace lot {
namespace {

using test::TScriptWorkspace;
using test::TServerProcess;

class SystemsPlayThroughServer : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        m_server = std::make_unique<TServerProcess>(m_dir.filePath(QStringLiteral("catalogue.sqlite")));
        ASSERT_FALSE(m_server->Url().isEmpty()) << m_server->Errors().toStdString();
    }
    /// A workspace of the user over the server, its list the combinations of 1..7.
    void OpenAs(TScriptWorkspace &w, const char *name, const char *mail) {
        w.SetGeneration(cgmOnlyOf, QStringLiteral("1;2;3;4;5;6;7"));
        w.SetDraws(3);
        TIniFile ini;
        ini.Load(w.Path(QStringLiteral("Brantlee_6x45.ini")));
        ini.WriteString(QStringLiteral("CATALOGUE"), QStringLiteral("Url"), m_server->Url());
        ini.WriteString(QStringLiteral("CATALOGUE"), QStringLiteral("CaFile"), test::TestCaFile());
        ini.WriteString(QStringLiteral("CATALOGUE"), QStringLiteral("UserName"), QString::fromUtf8(name));
        ini.WriteString(QStringLiteral("CATALOGUE"), QStringLiteral("UserMail"), QString::fromLatin1(mail));
        ini.Save();
        w.Open();
        // As start-up step 13 does.
        ASSERT_TRUE(w.Ws().Catalogue().LoadSettings());
        w.Ws().Systems().SetUser(w.Ws().Catalogue().Settings().UserName,
                                 w.Ws().Catalogue().Settings().UserMail);
        ASSERT_TRUE(w.Ws().Systems().HasCatalogue());
    }

    QTemporaryDir m_dir;
    std::unique_ptr<TServerProcess> m_server;
};

TEST_F(SystemsPlayThroughServer, PublishFetchDownloadPlayEditAndDelete) {
    TScriptWorkspace alice;
    OpenAs(alice, "Алиса", "alice@example.org");
    TSystemsController &sys = alice.Ws().Systems();
    EXPECT_EQ(sys.UserMail(), "alice@example.org");

    ASSERT_TRUE(sys.LoadSystems());
    ASSERT_EQ(sys.Count(), 1); // an empty catalogue: the placeholder
    EXPECT_EQ(sys.At(0).Info.Id, -1);

    tSystemData data = sys.NewSystem();
    EXPECT_EQ(data.Info.Author, "Алиса");
    data.Info.Title = QStringLiteral("Полная \"семерка\"");
    data.Info.Description = QStringLiteral("Все шестерки из 7 чисел?");
    data.Info.Nums = 7;
    data.Info.Block = 2;
    data.Info.Url = QStringLiteral("https://example.org/wheel?7");
    data.Info.Created = QDateTime(QDate(2025, 6, 7), QTime(8, 9, 10));
    data.Content = QStringLiteral("01 02 03 04 05 06\r\n01 02 03 04 05 07\r\n01 02 03 04 06 07\r\n"
                                  "01 02 03 05 06 07\r\n01 02 04 05 06 07\r\n01 03 04 05 06 07\r\n"
                                  "02 03 04 05 06 07");
    int row = -1;
    // The count sent is the content's even when the caller left it 0.
    ASSERT_EQ(data.Info.CSize, 0);
    ASSERT_TRUE(sys.AddSystem(data, &row)) << alice.Host.Errors().join('|').toStdString();
    const int32_t id = sys.At(row).Info.Id;
    EXPECT_GT(id, 0);

    ASSERT_TRUE(sys.LoadSystems());
    row = sys.FindId(id);
    ASSERT_GE(row, 0);
    const tSystemInfo listed = sys.At(row).Info;
    EXPECT_EQ(listed.Title, data.Info.Title);
    EXPECT_EQ(listed.Description, data.Info.Description);
    EXPECT_EQ(int(listed.Nums), 7);
    EXPECT_EQ(int(listed.Block), 2);
    EXPECT_EQ(listed.CSize, 7);
    EXPECT_EQ(sys.State(row), TSystemState::Own);

    ASSERT_TRUE(sys.DownloadSystems({row})) << alice.Host.Errors().join('|').toStdString();
    EXPECT_TRUE(sys.At(row).Loaded);
    const QString path = sys.LocalPath(sys.At(row).Info);
    EXPECT_TRUE(QFileInfo::exists(path));
    EXPECT_EQ(QFileInfo(path).fileName(), QStringLiteral("6-07-2_%1.dat").arg(id, 4, 10, QLatin1Char('0')));

    tSystemData fetched;
    ASSERT_TRUE(sys.FetchSystem(row, fetched));
    EXPECT_EQ(SystemContentLines(fetched.Content), SystemContentLines(data.Content));

    // The downloaded system plays over the list's seven numbers.
    TSystemPlay play;
    ASSERT_TRUE(sys.PrepareSystemPlay(true, play));
    int made = 0;
    ASSERT_TRUE(sys.StakeSystem(play, alice.Ws().Stakes().NextDrawNumber(), 1, play.Comment, &made));
    EXPECT_EQ(made, 7);

    fetched.Info.Title = QStringLiteral("Семерка");
    fetched.Content = QStringLiteral("01 02 03 04 05 06\r\n02 03 04 05 06 07");
    ASSERT_TRUE(sys.UpdateSystem(row, fetched)) << alice.Host.Errors().join('|').toStdString();
    ASSERT_TRUE(sys.LoadSystems());
    row = sys.FindId(id);
    ASSERT_GE(row, 0);
    EXPECT_EQ(sys.At(row).Info.Title, "Семерка");
    EXPECT_EQ(sys.At(row).Info.CSize, 2);

    {
        // Another user sees the system as someone else's and may not delete it.
        TScriptWorkspace bob;
        OpenAs(bob, "Боб", "bob@example.org");
        ASSERT_TRUE(bob.Ws().Systems().LoadSystems());
        const int bobRow = bob.Ws().Systems().FindId(id);
        ASSERT_GE(bobRow, 0);
        EXPECT_EQ(bob.Ws().Systems().State(bobRow), TSystemState::Other);
        EXPECT_FALSE(bob.Ws().Systems().DeleteSystem(bobRow));
        ASSERT_TRUE(bob.Ws().Systems().DownloadSystems({bobRow}));
        EXPECT_EQ(SystemFilesFor(bob.Ws().Systems().Dir(), 7).size(), 1);
    }

    alice.Host.ConfirmAnswer = true;
    ASSERT_TRUE(sys.DeleteSystem(row)) << alice.Host.Errors().join('|').toStdString();
    EXPECT_EQ(sys.FindId(id), -1);
    EXPECT_TRUE(SystemFilesFor(sys.Dir(), 7).isEmpty());
    ASSERT_TRUE(sys.LoadSystems());
    EXPECT_EQ(sys.FindId(id), -1);
}

} // namespace
} // namespace lot
