// "download" from the command line against a results site of the test's own.

#include "CliTestUtil.h"
#include "download/ResultsPages.h"
#include "download/TestServers.h"

#include "archive/DrawsArchive.h"
#include "core/CoreHelpers.h"
#include "core/IniFile.h"

#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QDate>
#include <QTemporaryDir>

namespace lot {
namespace {

using clitest::RunCli;

void EnsureApplication() {
    static int argc = 1;
    static char name[] = "test_cli";
    static char *argv[] = {name, nullptr};
    if (!QCoreApplication::instance()) new QCoreApplication(argc, argv);
}

class DownloadCommandTest : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureApplication();
        ASSERT_TRUE(m_dir.isValid());
        // A newest draw of last month: the download reads last month and this one.
        const QDate lastMonth = QDate::currentDate().addMonths(-1);
        m_lastMonth =
            QStringLiteral("%1-%2").arg(QLatin1String(Months[lastMonth.month() - 1])).arg(lastMonth.year());
        m_thisMonth = QStringLiteral("%1-%2")
                          .arg(QLatin1String(Months[QDate::currentDate().month() - 1]))
                          .arg(QDate::currentDate().year());
        TDrawsArchive archive;
        TDrawRec d = clitest::Draw(100, {1, 2, 3, 4, 5, 6});
        SetDrawDateText(d, DateToDrawText(QDate(lastMonth.year(), lastMonth.month(), 1)));
        archive.Append(d);
        archive.SaveDrawsFile(m_dir.filePath(QStringLiteral("Brantlee_6x45.ldr")));
    }
    void Configure(const QString &url) {
        TIniFile ini;
        ini.WriteString(QStringLiteral("DOWNLOAD"), QStringLiteral("ResultsUrl"), url);
        ini.WriteString(QStringLiteral("DOWNLOAD"), QStringLiteral("CaFile"),
                        QStringLiteral(TEST_DATA_DIR "/download/ca.pem"));
        ini.SaveAs(m_dir.filePath(QStringLiteral("Brantlee_6x45.ini")));
    }
    QByteArray Path(const QString &month) const { return "/brantlee-draw/results/" + month.toLatin1(); }

    static constexpr const char *Months[12] = {"january",   "february", "march",    "april",
                                               "may",       "june",     "july",     "august",
                                               "september", "october",  "november", "december"};
    QTemporaryDir m_dir;
    QString m_lastMonth, m_thisMonth;
};

TEST_F(DownloadCommandTest, PrintsEachMonthAndTheTotal) {
    test::TWebServer site(true);
    const QDate d = QDate::currentDate().addMonths(-1);
    const QByteArray date =
        QStringLiteral("%1-%2-15").arg(d.year()).arg(d.month(), 2, 10, QLatin1Char('0')).toLatin1();
    site.Route(
        Path(m_lastMonth),
        test::TAnswer{"200 OK",
                      test::ResultsPage({{102, date.constData(), {3, 11, 17, 25, 40, 44}, {7, 29}}}).toUtf8(),
                      {},
                      0});
    site.Route(Path(m_thisMonth), test::TAnswer{"200 OK", "<html>nothing yet</html>", {}, 0});
    Configure(site.Url());
    // A stake waits for draw 102, the next one.
    ASSERT_EQ(RunCli(m_dir.path(), {"stakes", "add", "1;3;11;17;25;45"}).Code, 0);
    const clitest::TCliRun run = RunCli(m_dir.path(), {QStringLiteral("download")});
    EXPECT_EQ(run.Code, 0) << run.Err.toStdString();
    EXPECT_EQ(run.Out, m_lastMonth + "\t1\n" + m_thisMonth + "\t0\nЗагружено тиражей: 1\n");
    // The draw that came in settled it: four of its numbers are in.
    const clitest::TCliRun stakes = RunCli(m_dir.path(), {"stakes", "list"});
    EXPECT_EQ(stakes.Out, QStringLiteral("102\tВручную\t1;3;11;17;25;45\t0\t3;11;17;25;40;44\t4\t3 11 17 25\t"
                                         "0.00\tСтавка \"вручную\"\n"));
    // The switch of the window does the same.
    EXPECT_EQ(RunCli(m_dir.path(), {QStringLiteral("loadonly")}).Code, 0);
}

TEST_F(DownloadCommandTest, AFirstMonthThatFailsEndsWithStatusOne) {
    test::TWebServer site(true);
    site.Route(Path(m_lastMonth), test::TAnswer{"503 Service Unavailable", "busy", {}, 0});
    Configure(site.Url());
    const clitest::TCliRun run = RunCli(m_dir.path(), {QStringLiteral("download")});
    EXPECT_EQ(run.Code, 1);
    EXPECT_TRUE(run.Err.contains(QStringLiteral("Повторить попытку?"))) << run.Err.toStdString();
    EXPECT_TRUE(run.Err.contains(QStringLiteral("Ответ: нет"))) << "answered no without --yes";
    EXPECT_EQ(site.Seen().size(), 1);
    // With --yes it retries, but not for ever.
    const clitest::TCliRun again =
        RunCli(m_dir.path(), {QStringLiteral("--yes"), QStringLiteral("download")});
    EXPECT_EQ(again.Code, 1);
    EXPECT_EQ(site.Seen().size(), 1 + 10);
}

TEST_F(DownloadCommandTest, WithoutASiteItSaysWhereToSetIt) {
    const clitest::TCliRun run = RunCli(m_dir.path(), {QStringLiteral("download")});
    EXPECT_EQ(run.Code, 1);
    EXPECT_TRUE(run.Err.contains(QStringLiteral("ResultsUrl"))) << run.Err.toStdString();
}

} // namespace
} // namespace lot
