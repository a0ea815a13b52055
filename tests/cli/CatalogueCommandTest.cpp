// "catalogue": the online catalogue from the command line, against a catalogue server run in
// the test over plain HTTP on 127.0.0.1.

#include "CliTestUtil.h"

#include "catalogue-server/CatalogueServer.h"
#include "core/IniFile.h"
#include "scripts/ScriptFile.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <memory>

namespace lot {
namespace {

using clitest::RunCli;

void EnsureApplication() {
    static int argc = 1;
    static char name[] = "test_cli";
    static char *argv[] = {name, nullptr};
    if (!QCoreApplication::instance()) new QCoreApplication(argc, argv);
}

class CatalogueCommand : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureApplication();
        ASSERT_TRUE(m_dir.isValid());
        server::TServerOptions options;
        options.Database = m_dir.filePath(QStringLiteral("catalogue.sqlite"));
        options.Port = 0;
        m_server = std::make_unique<server::TCatalogueServer>(options);
        m_data = m_dir.filePath(QStringLiteral("data"));
        QDir().mkpath(m_data);
    }
    void SetUrl() {
        TIniFile ini;
        ini.Load(Ini());
        ini.WriteString("CATALOGUE", "Url", m_server->Url());
        ini.Save();
    }
    QString Ini() const { return m_data + QStringLiteral("/Brantlee_6x45.ini"); }
    QString Script() const { return m_data + QStringLiteral("/Brantlee_6x45.lss"); }

    QTemporaryDir m_dir;
    QString m_data;
    std::unique_ptr<server::TCatalogueServer> m_server;
};

TEST_F(CatalogueCommand, WithoutAnAddressOrIdentityItSaysWhatIsMissing) {
    const auto run = RunCli(m_data, {"catalogue", "scripts"});
    EXPECT_EQ(run.Code, 1);
    EXPECT_TRUE(run.Err.contains(QStringLiteral("[CATALOGUE]"))) << run.Err.toStdString();
    SetUrl();
    WriteScriptFile(Script(), {QStringLiteral("FULL:0#ALL| | | | | | | |")});
    const auto publish = RunCli(m_data, {"catalogue", "publish-script", "--title", "T"});
    EXPECT_EQ(publish.Code, 1);
    EXPECT_TRUE(publish.Err.contains(QStringLiteral("catalogue identity"))) << publish.Err.toStdString();
    EXPECT_EQ(RunCli(m_data, {"catalogue", "rate", "1", "9"}).Code, 1);
    EXPECT_EQ(RunCli(m_data, {"catalogue", "scripts", "--filter", "7"}).Code, 1);
    EXPECT_EQ(RunCli(m_data, {"catalogue", "frobnicate"}).Code, 1);
}

TEST_F(CatalogueCommand, PublishListRateDownloadAndDelete) {
    SetUrl();
    ASSERT_EQ(RunCli(m_data, {"catalogue", "identity", "--name", "Олег", "--mail", "oleg@example.org"}).Code,
              0);
    EXPECT_EQ(RunCli(m_data, {"catalogue", "identity"}).Out, QStringLiteral("Олег\toleg@example.org\n"));
    const QStringList lines{QStringLiteral("FULL:0#ALL| | | | | | | |"), QString(), QStringLiteral("CLR")};
    WriteScriptFile(Script(), lines);

    const auto publish = RunCli(
        m_data, {"catalogue", "publish-script", "--title", "Мой", "--descr", "Две\r\nстроки", "--public"});
    ASSERT_EQ(publish.Code, 0) << publish.Err.toStdString();
    const QString id = publish.Out.trimmed();
    EXPECT_EQ(id, QStringLiteral("1"));
    const auto again = RunCli(m_data, {"catalogue", "publish-script", "--title", "мой"});
    EXPECT_EQ(again.Code, 1);
    EXPECT_TRUE(again.Err.contains(QStringLiteral("Сценарий с таким названием уже существует!")));

    const auto list = RunCli(m_data, {"catalogue", "scripts"});
    ASSERT_EQ(list.Code, 0) << list.Err.toStdString();
    ASSERT_EQ(list.Lines().size(), 1);
    const QStringList cells = list.Lines()[0].split(QLatin1Char('\t'));
    ASSERT_EQ(cells.size(), 14);
    EXPECT_EQ(cells[0], id);
    EXPECT_EQ(cells[1], QStringLiteral("Мой"));
    EXPECT_EQ(cells[2], QStringLiteral("Мой"));
    EXPECT_EQ(cells[3], QStringLiteral("Олег"));
    EXPECT_EQ(cells[4], QStringLiteral("Brantlee_6x45"));
    EXPECT_EQ(cells[6], QStringLiteral("RUS"));
    EXPECT_EQ(cells[13], QStringLiteral("Две строки"));

    ASSERT_EQ(RunCli(m_data, {"catalogue", "rate", id, "4", "--comment", "Годится"}).Code, 0);
    const auto rates = RunCli(m_data, {"catalogue", "rates", id});
    ASSERT_EQ(rates.Lines().size(), 1);
    EXPECT_TRUE(rates.Lines()[0].startsWith(QStringLiteral("Олег\t4\t")));
    EXPECT_TRUE(rates.Lines()[0].endsWith(QStringLiteral("\tBrantlee_6x45\t0.1.0\tГодится")));
    EXPECT_EQ(RunCli(m_data, {"catalogue", "scripts", "--filter", "4"}).Lines().size(), 1);
    EXPECT_EQ(RunCli(m_data, {"catalogue", "scripts", "--filter", "5"}).Lines().size(), 0);

    WriteScriptFile(Script(), {QStringLiteral("CLR")});
    ASSERT_EQ(RunCli(m_data, {"catalogue", "download-script", id}).Code, 0);
    EXPECT_EQ(ReadScriptFile(Script()), lines);

    EXPECT_EQ(RunCli(m_data, {"catalogue", "delete-script", id}).Code, 1); // not confirmed
    ASSERT_EQ(RunCli(m_data, {"--yes", "catalogue", "delete-script", id}).Code, 0);
    EXPECT_TRUE(RunCli(m_data, {"catalogue", "scripts", "--filter", "0"}).Lines().isEmpty());

    const auto systems = RunCli(m_data, {"catalogue", "systems"});
    EXPECT_EQ(systems.Code, 0);
    EXPECT_TRUE(systems.Lines().isEmpty());
    EXPECT_EQ(RunCli(m_data, {"--yes", "catalogue", "delete-system", "5"}).Code, 1);
}

TEST_F(CatalogueCommand, PublishListFetchAndDeleteASystem) {
    SetUrl();
    ASSERT_EQ(RunCli(m_data, {"catalogue", "identity", "--name", "Олег", "--mail", "oleg@example.org"}).Code,
              0);
    const QString file = m_dir.filePath(QStringLiteral("wheel.txt"));
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("1-2-3-4-5-6\r\n05,06,07,08,09,10\r\n1 2 3\r\n\r\n");
    f.close();
    const auto publish = RunCli(
        m_data, {"catalogue", "publish-system", file, "--title", "Десять", "--descr", "Две", "--block", "3"});
    ASSERT_EQ(publish.Code, 0) << publish.Err.toStdString();
    const QString id = publish.Out.trimmed();

    const auto list = RunCli(m_data, {"catalogue", "systems"});
    ASSERT_EQ(list.Lines().size(), 1);
    const QStringList cells = list.Lines()[0].split(QLatin1Char('\t'));
    ASSERT_EQ(cells.size(), 11);
    EXPECT_EQ(cells[0], id);
    EXPECT_EQ(cells[1], QStringLiteral("Десять"));
    EXPECT_EQ(cells[2], QStringLiteral("Олег"));
    EXPECT_EQ(cells[3], QStringLiteral("10"));
    EXPECT_EQ(cells[4], QStringLiteral("3"));
    EXPECT_EQ(cells[5], QStringLiteral("2"));
    EXPECT_EQ(RunCli(m_data, {"catalogue", "system", id}).Out,
              QStringLiteral("01 02 03 04 05 06\n05 06 07 08 09 10\n"));

    // Positions that do not start at 1, and a missing description, are refused.
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("2 3 4 5 6 7\r\n2 3 4 5 6 9\r\n");
    f.close();
    EXPECT_EQ(RunCli(m_data, {"catalogue", "publish-system", file, "--title", "Сдвиг", "--descr", "x"}).Code,
              1);
    const auto noDescr = RunCli(m_data, {"catalogue", "publish-system", file, "--title", "Сдвиг"});
    EXPECT_EQ(noDescr.Code, 1);

    ASSERT_EQ(RunCli(m_data, {"--yes", "catalogue", "delete-system", id}).Code, 0);
    EXPECT_TRUE(RunCli(m_data, {"catalogue", "systems"}).Lines().isEmpty());
}

} // namespace
} // namespace lot
