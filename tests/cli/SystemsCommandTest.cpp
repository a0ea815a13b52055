// The systems command: the guarantees of a local system or a file, its
// lines, the local list, system play in both modes, publishing's checks,
// the calls that need the catalogue while none is set, and the same
// commands against a catalogue server run in the test.

#include "CliTestUtil.h"

#include "archive/DrawsArchive.h"
#include "catalogue-server/CatalogueServer.h"
#include "core/IniFile.h"

#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using namespace lot;
using namespace lot::clitest;

namespace {

const QString Missing = QStringLiteral("Online-каталог систем не подключен!");

class CliSystemsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        TDrawsArchive archive;
        archive.Append(Draw(101, {7, 3, 11, 17, 25, 40}));
        archive.SaveDrawsFile(Path("Brantlee_6x45.ldr"));
        QDir().mkpath(Path("Systems"));
    }
    QString Path(const char *name) const { return m_dir.filePath(QString::fromLatin1(name)); }
    void Write(const char *name, const QByteArray &text) {
        QFile f(Path(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
    }
    TCliRun Run(const QStringList &args) { return RunCli(m_dir.path(), args); }
    QTemporaryDir m_dir;
};

/// The full system over seven numbers: every six of them.
const QByteArray FullSeven = "1 2 3 4 5 6\r\n1 2 3 4 5 7\r\n1 2 3 4 6 7\r\n1 2 3 5 6 7\r\n"
                             "1 2 4 5 6 7\r\n1 3 4 5 6 7\r\n2 3 4 5 6 7\r\n";

} // namespace

TEST_F(CliSystemsTest, CheckPrintsTheGuaranteeTable) {
    Write("Systems/6-07-0_0003.dat", FullSeven);
    TCliRun r = Run({"systems", "check", "7"});
    ASSERT_EQ(r.Code, 0) << r.Err.toStdString();
    QStringList expected;
    for (int m = 3; m <= 6; ++m)
        for (int k = 1; k <= m; ++k)
            expected << QStringLiteral("%1\t%2\t100.00").arg(m).arg(k);
    EXPECT_EQ(r.Lines(), expected);

    // A file outside the folder; N from its largest position.
    Write("one.txt", "01 02 03 04 05 06\r\n07-01-02-03-04-05\r\n");
    r = Run({"systems", "check", Path("one.txt")});
    ASSERT_EQ(r.Code, 0) << r.Err.toStdString();
    ASSERT_EQ(r.Lines().size(), 18);
    EXPECT_EQ(r.Lines().last(), "6\t6\t28.57"); // 2 of 7
    EXPECT_EQ(r.Lines().value(16), "6\t5\t100.00");

    r = Run({"systems", "check", "8"});
    EXPECT_EQ(r.Code, 1);
    EXPECT_EQ(r.Err, "Система для 8 чисел не найдена или не загружена на компьютер!\n");
    Write("bad.txt", "1 2 3 4 5 6\r\n1 2 3 4 5 x\r\n");
    r = Run({"systems", "check", Path("bad.txt")});
    EXPECT_EQ(r.Code, 1);
    EXPECT_TRUE(r.Err.startsWith("Ошибка загрузки комбинаций системы!\n\n")) << r.Err.toStdString();
}

TEST_F(CliSystemsTest, ShowAndTheLocalList) {
    Write("Systems/6-07-0_0003.dat", FullSeven);
    Write("Systems/6-10-2_0012.dat", "1 2 3 4 5 6\r\n5 6 7 8 9 10\r\n");
    TCliRun r = Run({"systems", "show", "10"});
    ASSERT_EQ(r.Code, 0) << r.Err.toStdString();
    EXPECT_EQ(r.Lines(), QStringList({"1 2 3 4 5 6", "5 6 7 8 9 10"}));
    r = Run({"systems", "list", "--local"});
    ASSERT_EQ(r.Code, 0) << r.Err.toStdString();
    EXPECT_EQ(r.Lines(), QStringList({"07\t6-07-0_0003.dat\t7", "10\t6-10-2_0012.dat\t2"}));
}

TEST_F(CliSystemsTest, PlayInBothModes) {
    Write("Systems/6-07-0_0003.dat", FullSeven);
    Write("list.lcv", "1;2;3;4;5;6\r\n2;3;4;5;6;7\r\n");
    TCliRun r = Run({"systems", "play", "--list", Path("list.lcv")});
    ASSERT_EQ(r.Code, 0) << r.Err.toStdString();
    EXPECT_EQ(r.Lines(), QStringList({"6-07-0_0003.dat", "Ставок сделано: 7", "Ставок: 7"}));
    r = Run({"systems", "play", "--filter", "--draw", "201", "--comment", "две", "--list", Path("list.lcv")});
    ASSERT_EQ(r.Code, 0) << r.Err.toStdString();
    EXPECT_EQ(r.Lines(),
              QStringList({"6-07-0_0003.dat", "Ставок сделано: 2", "Ставок: 10"})); // and a separator
    r = Run({"stakes", "list"});
    ASSERT_EQ(r.Code, 0) << r.Err.toStdString();
    const QStringList lines = r.Lines();
    ASSERT_EQ(lines.size(), 9); // the separator is an empty line
    EXPECT_TRUE(lines[0].startsWith("103\t")) << lines[0].toStdString();
    EXPECT_TRUE(lines[0].contains("Системная игра для 7 чисел [вся система]: 6-07-0_0003"))
        << lines[0].toStdString();
    EXPECT_TRUE(lines[7].startsWith("201\t")) << lines[7].toStdString();
    EXPECT_TRUE(lines[8].endsWith(QStringLiteral("\tдве"))) << lines[8].toStdString();

    Write("ten.lcv", "1;2;3;4;5;6\r\n5;6;7;8;9;10\r\n");
    r = Run({"systems", "play", "--list", Path("ten.lcv")});
    EXPECT_EQ(r.Code, 1);
    EXPECT_TRUE(r.Err.startsWith("Система для 10 чисел не найдена или не загружена на компьютер!\n\n"));
}

TEST_F(CliSystemsTest, PublishChecksTheFieldsInOrderThenNeedsTheCatalogue) {
    Write("seven.txt", "1-2-3-4-5-6\r\n2,3,4,5,6,7\r\n1 2 3\r\n");
    Write("six.txt", "1 2 3 4 5 6\r\n");
    Write("empty.txt", "\r\n");
    struct TCase {
        QStringList Args;
        const char *Err;
    } cases[] = {
        {{"--title", " ", "--descr", "d", "--author", "a", "seven.txt"},
         "Название системы должно быть указано обязательно!"},
        {{"--title", "t", "--descr", "d", "--author", "a", "six.txt"},
         "Указано недопустмое количество используемых чисел!"},
        {{"--title", "t", "--descr", "d", "--author", " ", "seven.txt"},
         "Имя автора должно быть указано обязательно!"},
        {{"--title", "t", "--descr", "", "--author", "a", "seven.txt"},
         "Описание системы должно быть указано обязательно!"},
        {{"--title", "t", "--descr", "d", "--author", "a", "empty.txt"},
         "Указано недопустмое количество используемых чисел!"},
        {{"--title", "t", "--descr", "d", "--author", "a", "--block", "6", "seven.txt"},
         "systems: --block must be an integer 0..5"},
        {{"--title", "t", "--descr", "d", "seven.txt"},
         "systems publish: --title T, --descr D and --author A are required"},
        {{"--title", "t", "--descr", "d", "--author", "a", "seven.txt"},
         "Ошибка добавления системы!\n\nOnline-каталог систем не подключен!"},
    };
    for (TCase &c : cases) {
        QStringList args{"systems", "publish"};
        for (QString &a : c.Args)
            args << (a.endsWith(".txt") ? Path(a.toLatin1().constData()) : a);
        const TCliRun r = Run(args);
        EXPECT_EQ(r.Code, 1) << c.Err;
        EXPECT_EQ(r.Err, QString::fromUtf8(c.Err) + "\n");
    }
}

TEST_F(CliSystemsTest, TheCatalogueCallsSayItIsMissing) {
    TCliRun r = Run({"systems", "list"});
    EXPECT_EQ(r.Code, 1);
    EXPECT_EQ(r.Err, "Ошибка загрузки списка систем!\n\n" + Missing + "\n");
    r = Run({"systems", "download", "12"});
    EXPECT_EQ(r.Code, 1);
    EXPECT_EQ(r.Err, "Ошибка загрузки списка систем!\n\n" + Missing + "\n");
    r = Run({"systems", "download", "x"});
    EXPECT_EQ(r.Code, 1);
    EXPECT_TRUE(r.Err.contains("ID must be an integer")) << r.Err.toStdString();
    r = Run({"systems"});
    EXPECT_EQ(r.Err, "systems: missing action (list, download, show, check, play, publish)\n");
}

// ---- against a catalogue server run in the test -----------------------------------------------

namespace {

class CliSystemsServerTest : public CliSystemsTest {
protected:
    void SetUp() override {
        static int argc = 1;
        static char name[] = "test_cli";
        static char *argv[] = {name, nullptr};
        if (!QCoreApplication::instance()) new QCoreApplication(argc, argv);
        CliSystemsTest::SetUp();
        server::TServerOptions options;
        options.Database = m_dir.filePath(QStringLiteral("catalogue.sqlite"));
        options.Port = 0;
        m_server = std::make_unique<server::TCatalogueServer>(options);
        TIniFile ini;
        ini.Load(Path("Brantlee_6x45.ini"));
        ini.WriteString("CATALOGUE", "Url", m_server->Url());
        ini.WriteString("CATALOGUE", "UserName", QStringLiteral("Алиса"));
        ini.WriteString("CATALOGUE", "UserMail", QStringLiteral("alice@example.org"));
        ini.Save();
    }
    std::unique_ptr<server::TCatalogueServer> m_server;
};

} // namespace

TEST_F(CliSystemsServerTest, PublishListDownloadShowCheckAndPlay) {
    Write("seven.txt", FullSeven);
    TCliRun r = Run({"systems", "publish", Path("seven.txt"), "--title", "Семерка", "--descr", "Все шестерки",
                     "--author", "Алиса", "--block", "1"});
    ASSERT_EQ(r.Code, 0) << r.Err.toStdString();
    const QStringList published = r.Lines().value(0).split('\t');
    ASSERT_EQ(published.size(), 12) << r.Out.toStdString();
    const QString id = published[0];
    EXPECT_EQ(published.mid(1, 5), QStringList({"Семерка", "Алиса", "07", "1", "7"}));

    r = Run({"systems", "list"});
    ASSERT_EQ(r.Code, 0) << r.Err.toStdString();
    ASSERT_EQ(r.Lines().size(), 1);
    EXPECT_TRUE(r.Lines()[0].startsWith(id + "\tСемерка\tАлиса\t07\t1\t7\t")) << r.Lines()[0].toStdString();

    r = Run({"systems", "download", id});
    ASSERT_EQ(r.Code, 0) << r.Err.toStdString();
    EXPECT_TRUE(
        r.Lines().value(0).endsWith(QStringLiteral("6-07-1_%1.dat").arg(id.toInt(), 4, 10, QLatin1Char('0'))))
        << r.Out.toStdString();
    r = Run({"systems", "list"});
    EXPECT_TRUE(r.Lines().value(0).contains("\tЗагружена\t")) << r.Out.toStdString();
    r = Run({"systems", "show", "7"});
    ASSERT_EQ(r.Code, 0) << r.Err.toStdString();
    EXPECT_EQ(r.Lines().size(), 7);
    EXPECT_EQ(r.Lines().first(), "01 02 03 04 05 06"); // as the publish normalised it
    r = Run({"systems", "check", "7"});
    ASSERT_EQ(r.Code, 0) << r.Err.toStdString();
    EXPECT_EQ(r.Lines().last(), "6\t6\t100.00");
    Write("list.lcv", "1;2;3;4;5;6\r\n2;3;4;5;6;7\r\n");
    r = Run({"systems", "play", "--filter", "--list", Path("list.lcv")});
    ASSERT_EQ(r.Code, 0) << r.Err.toStdString();
    EXPECT_EQ(r.Lines().value(1), "Ставок сделано: 2");
    r = Run({"systems", "download", "999999"});
    EXPECT_EQ(r.Code, 1);
    EXPECT_EQ(r.Err, "Система #999999 в online-каталоге не найдена!\n");
}
