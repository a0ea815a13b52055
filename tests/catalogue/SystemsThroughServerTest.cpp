// The systems tab's operations against the real catalogue server: the workspace's systems
// reach it through the client made from the catalogue settings.

#include "CatalogueServerProcess.h"

#include "catalogue/CatalogueController.h"
#include "core/IniFile.h"
#include "shell/FakeHost.h"
#include "shell/Workspace.h"
#include "systems/SystemsController.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

namespace lot {
namespace {

const char *const kFullSeven = "1 2 3 4 5 6\n1 2 3 4 5 7\n1 2 3 4 6 7\n1 2 3 5 6 7\n"
                               "1 2 4 5 6 7\n1 3 4 5 6 7\n2 3 4 5 6 7";

class SystemsThroughServer : public ::testing::Test {
protected:
    void SetUp() override {
        test::EnsureApplication();
        ASSERT_TRUE(m_dir.isValid());
        m_server = std::make_unique<test::TServerProcess>(m_dir.filePath(QStringLiteral("db.sqlite")));
        ASSERT_FALSE(m_server->Url().isEmpty()) << m_server->Errors().toStdString();
    }
    /// A workspace on its own data folder, pointed at the server as that user.
    std::unique_ptr<TWorkspace> Workspace(const QString &folder, const QString &name, const QString &mail) {
        const QString data = m_dir.filePath(folder);
        QDir().mkpath(data);
        TIniFile ini;
        ini.Load(data + QStringLiteral("/Brantlee_6x45.ini"));
        ini.WriteString("CATALOGUE", "Url", m_server->Url());
        ini.WriteString("CATALOGUE", "CaFile", test::TestCaFile());
        ini.WriteString("CATALOGUE", "UserName", name);
        ini.WriteString("CATALOGUE", "UserMail", mail);
        ini.Save();
        auto ws = std::make_unique<TWorkspace>(m_host, data);
        ws->LoadWindowSettings();
        EXPECT_TRUE(ws->Catalogue().LoadSettings());
        ws->Systems().SetUser(ws->Catalogue().Settings().UserName, ws->Catalogue().Settings().UserMail);
        return ws;
    }
    static tSystemData SevenSystem(TSystemsController &systems, const QString &title) {
        tSystemData d = systems.NewSystem();
        d.Info.Title = title;
        d.Info.Description = QStringLiteral("Полная система на 7 чисел");
        d.Info.Nums = 7;
        d.Info.CSize = 7;
        d.Content = QString::fromLatin1(kFullSeven);
        return d;
    }

    QTemporaryDir m_dir;
    std::unique_ptr<test::TServerProcess> m_server;
    test::TFakeHost m_host;
};

TEST_F(SystemsThroughServer, PublishListDownloadEditAndDelete) {
    auto alice =
        Workspace(QStringLiteral("alice"), QStringLiteral("Алиса"), QStringLiteral("alice@example.org"));
    TSystemsController &sys = alice->Systems();
    // An empty catalogue gives the placeholder row.
    ASSERT_TRUE(sys.LoadSystems());
    ASSERT_EQ(sys.Count(), 1);
    EXPECT_EQ(sys.At(0).Info.Id, -1);

    int row = -1;
    ASSERT_TRUE(sys.AddSystem(SevenSystem(sys, QStringLiteral("Семёрка")), &row))
        << m_host.Errors().join('|').toStdString();
    ASSERT_TRUE(sys.LoadSystems());
    row = sys.FindId(sys.At(0).Info.Id);
    ASSERT_EQ(sys.Count(), 1);
    const tSystemInfo listed = sys.At(row).Info;
    EXPECT_GT(listed.Id, 0);
    EXPECT_EQ(listed.Title, QStringLiteral("Семёрка"));
    EXPECT_EQ(listed.Author, QStringLiteral("Алиса"));
    EXPECT_EQ(listed.Nums, 7);
    EXPECT_EQ(listed.CSize, 7);
    EXPECT_TRUE(sys.IsOwn(row));
    EXPECT_EQ(sys.State(row), TSystemState::Own);

    // Downloaded: the local file carries the catalogue's creation time.
    ASSERT_TRUE(sys.DownloadSystems({row})) << m_host.Errors().join('|').toStdString();
    const QString local = sys.LocalPath(listed);
    ASSERT_TRUE(QFileInfo::exists(local));
    EXPECT_EQ(QFileInfo(local).lastModified().toSecsSinceEpoch(), listed.Created.toSecsSinceEpoch());
    EXPECT_EQ(sys.State(row), TSystemState::OwnLoaded);
    TExpandedSystem expanded;
    ASSERT_TRUE(sys.ExpandSystem(QByteArray("\x03\x0b\x11\x19\x28\x2c\x2d", 7), expanded));

    // Fetched and changed: the catalogue and the local copy follow.
    tSystemData fetched;
    ASSERT_TRUE(sys.FetchSystem(row, fetched));
    EXPECT_EQ(fetched.Content.split(QLatin1Char('\n'), Qt::SkipEmptyParts).size(), 7);
    fetched.Info.Title = QStringLiteral("Семёрка полная");
    fetched.Info.Description = QStringLiteral("изменена");
    ASSERT_TRUE(sys.UpdateSystem(row, fetched)) << m_host.Errors().join('|').toStdString();
    ASSERT_TRUE(sys.LoadSystems());
    ASSERT_EQ(sys.Count(), 1);
    EXPECT_EQ(sys.At(0).Info.Title, QStringLiteral("Семёрка полная"));
    EXPECT_EQ(sys.At(0).Info.Id, listed.Id);

    // Another player sees it as someone else's and cannot delete it.
    auto bob = Workspace(QStringLiteral("bob"), QStringLiteral("Борис"), QStringLiteral("bob@example.org"));
    ASSERT_TRUE(bob->Systems().LoadSystems());
    ASSERT_EQ(bob->Systems().Count(), 1);
    EXPECT_FALSE(bob->Systems().IsOwn(0));
    EXPECT_EQ(bob->Systems().State(0), TSystemState::Other);
    m_host.Clear();
    EXPECT_FALSE(bob->Systems().DeleteSystem(0));
    ASSERT_EQ(m_host.Errors().size(), 1);
    EXPECT_EQ(m_host.Errors()[0], QStringLiteral("Вы можете удалять только свои системы!"));

    // The owner deletes it: row and local file are gone, the catalogue is empty again.
    m_host.Clear();
    m_host.ConfirmAnswer = true;
    ASSERT_TRUE(sys.DeleteSystem(0)) << m_host.Errors().join('|').toStdString();
    EXPECT_FALSE(QFileInfo::exists(local));
    ASSERT_TRUE(sys.LoadSystems());
    ASSERT_EQ(sys.Count(), 1);
    EXPECT_EQ(sys.At(0).Info.Id, -1);
}

TEST_F(SystemsThroughServer, SomeoneWithTheSameMailButAnotherKeyIsRefused) {
    auto alice =
        Workspace(QStringLiteral("alice"), QStringLiteral("Алиса"), QStringLiteral("alice@example.org"));
    ASSERT_TRUE(alice->Systems().AddSystem(SevenSystem(alice->Systems(), QStringLiteral("Моя"))));
    // Another installation claims the same e-mail: its own key is not the one the server knows.
    auto impostor =
        Workspace(QStringLiteral("impostor"), QStringLiteral("Алиса"), QStringLiteral("alice@example.org"));
    TSystemsController &sys = impostor->Systems();
    ASSERT_TRUE(sys.LoadSystems());
    ASSERT_EQ(sys.Count(), 1);
    ASSERT_TRUE(sys.IsOwn(0)); // the list goes by the e-mail ...
    tSystemData d;
    ASSERT_TRUE(sys.FetchSystem(0, d));
    d.Info.Title = QStringLiteral("Чужая");
    m_host.Clear();
    EXPECT_FALSE(sys.UpdateSystem(0, d)); // ... the server by the key
    ASSERT_EQ(m_host.Errors().size(), 1);
    EXPECT_TRUE(m_host.Errors()[0].startsWith(QStringLiteral("Ошибка изменения системы!\r\r")));
    m_host.Clear();
    EXPECT_FALSE(sys.DeleteSystem(0));
    ASSERT_TRUE(alice->Systems().LoadSystems());
    ASSERT_EQ(alice->Systems().Count(), 1);
    EXPECT_EQ(alice->Systems().At(0).Info.Title, QStringLiteral("Моя"));
}

} // namespace
} // namespace lot
