// The series, periods and transitions from the command line, on a folder
// with channels of 7: values of combinations at a reference draw chosen by
// the offset, values of draws and a statistics table of runs.

#include "CliTestUtil.h"

#include "archive/DrawsArchive.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using namespace lot;

namespace {

class SerialMethodsCommandTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        TDrawsArchive archive;
        archive.Append(clitest::Draw(1, {4, 30, 9, 40, 18, 37}));
        archive.Append(clitest::Draw(3, {3, 17, 6, 38, 45, 41}));
        archive.Append(clitest::Draw(5, {36, 12, 21, 30, 13, 26}));
        archive.Append(clitest::Draw(7, {2, 27, 15, 24, 14, 43}));
        archive.Append(clitest::Draw(9, {26, 17, 14, 36, 1, 44}));
        archive.Append(clitest::Draw(11, {8, 13, 42, 15, 22, 40}));
        archive.Append(clitest::Draw(13, {24, 17, 10, 38, 45, 16}));
        archive.Append(clitest::Draw(15, {24, 29, 12, 8, 30, 35}));
        archive.SaveDrawsFile(Path("Brantlee_6x45.ldr"));
        QFile ini(Path("Brantlee_6x45.ini"));
        ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
        ini.write("[GLOBAL]\r\nChannelSize=7\r\n");
    }
    QString Path(const char *name) const { return QDir(m_dir.path()).filePath(QString::fromLatin1(name)); }
    clitest::TCliRun Run(const QStringList &args) const { return clitest::RunCli(m_dir.path(), args); }

    QTemporaryDir m_dir;
};

TEST_F(SerialMethodsCommandTest, ValuesOfCombinationsAndDraws) {
    struct TCase {
        QStringList Args;
        const char *Out;
    };
    const QString comb = QStringLiteral("24;29;1;2;3;4");
    const TCase cases[] = {
        // 24 in the last two draws, 29 in the last one: the next draw would
        // run them to 3 and 2.
        {{QStringLiteral("value"), QStringLiteral("GRPV"), comb},
         "24 x 3\n29 x 2\n1 x 1\n2 x 1\n3 x 1\n4 x 1\n"},
        // At offset 1 the newest draw in use is #13; 29 has not come out by then.
        {{QStringLiteral("value"), QStringLiteral("PRDV"), comb, QStringLiteral("--offset"),
          QStringLiteral("1")},
         "24 x 1\n1 x 3\n2 x 4\n3 x 6\n4 x 7\n"},
        // Channels of 7 of the reference draw 24 29 12 8 30 35, position by position.
        {{QStringLiteral("value"), QStringLiteral("SCP2"), QStringLiteral("1;2;3;4;5;30")},
         "04 -> 01\n05 -> 01\n02 -> 01\n05 -> 05\n"},
        {{QStringLiteral("draw-values"), QStringLiteral("SDP2"), QStringLiteral("--index"),
          QStringLiteral("7")},
         "24 -> 24\n"},
        // Channel 4 (22..28): one number in #9 and in the reference draw, one in #11.
        {{QStringLiteral("draw-values"), QStringLiteral("SC2C4"), QStringLiteral("--index"),
          QStringLiteral("5")},
         "1 -> 1\n"},
        {{QStringLiteral("draw-values"), QStringLiteral("GRPV"), QStringLiteral("--index"),
          QStringLiteral("7")},
         "8 x 1\n12 x 1\n24 x 1\n29 x 1\n30 x 1\n35 x 1\n"},
    };
    for (const TCase &c : cases) {
        const clitest::TCliRun run = Run(c.Args);
        EXPECT_EQ(run.Code, 0) << c.Args.join(' ').toStdString() << run.Err.toStdString();
        EXPECT_EQ(run.Out, QString::fromUtf8(c.Out)) << c.Args.join(' ').toStdString();
    }
}

TEST_F(SerialMethodsCommandTest, StatisticsTableOfRuns) {
    // 30 came out alone in #1 and #5 and now in #15: three runs of one draw.
    const clitest::TCliRun run =
        Run({QStringLiteral("stats"), QStringLiteral("GRPV"), QStringLiteral("--len"), QStringLiteral("8")});
    ASSERT_EQ(run.Code, 0) << run.Err.toStdString();
    const QStringList lines = run.Lines();
    ASSERT_EQ(lines.size(), 9);
    EXPECT_TRUE(lines[7].startsWith(
        QStringLiteral("30 x 1\t3\t27.27273\t-\t-\t-\t1\t20.00\t1.00\t15\t4\t2.6667\t10\t")))
        << lines[7].toStdString();
    EXPECT_EQ(lines[8], QStringLiteral("SampleSize=8\tTotal=11\tMinCount=1\tMaxCount=3\tMaxDepth=5"));
}

} // namespace
