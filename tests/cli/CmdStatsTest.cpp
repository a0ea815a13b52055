// "stats": the statistics table as tab-separated text.

#include "CliTestUtil.h"

#include "archive/DrawsArchive.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QTemporaryDir>

using namespace lot;

namespace {

struct TStatsRun {
    int Code = -1;
    QStringList Lines;
    QString Err;
};

TStatsRun RunStats(const QString &dataDir, const QStringList &args) {
    const clitest::TCliRun cli = clitest::RunCli(dataDir, QStringList{QStringLiteral("stats")} + args);
    return {cli.Code, cli.Lines(), cli.Err};
}

using clitest::Draw;

class CmdStatsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        TDrawsArchive archive;
        archive.Append(Draw(101, {1, 2, 3, 4, 5, 6}));
        archive.Append(Draw(103, {1, 7, 8, 9, 10, 11}));
        archive.Append(Draw(105, {2, 7, 12, 13, 14, 15}));
        archive.Append(Draw(107, {1, 2, 16, 17, 18, 19}));
        archive.Append(Draw(109, {3, 20, 21, 22, 23, 24}));
        archive.Append(Draw(111, {1, 25, 26, 27, 28, 29}));
        archive.SaveDrawsFile(QDir(m_dir.path()).filePath(QStringLiteral("Brantlee_6x45.ldr")));
    }
    QTemporaryDir m_dir;
};

TEST_F(CmdStatsTest, PrintsHeaderRowsAndSummary) {
    const TStatsRun run = RunStats(m_dir.path(), {"NUMS", "--len", "1000"});
    ASSERT_EQ(run.Code, 0) << run.Err.toStdString();
    ASSERT_EQ(run.Lines.size(), 47);
    EXPECT_EQ(run.Lines[0], "Значение\tКоличество\tКол-во в %\tНорма\tОтклонение\tОткл-ие в %\tГлубина\t"
                            "Глубина в %\tВес\tПосл. тираж\tПериод min\tПериод\tПериод max\tОжд. ПРД\t"
                            "Ожд. СТФ\tОжд. КРН\tФакт\t+/- ПРД\t+/- СТФ\t+/- КРН");
    // Ascending by count, ties by value: 30 (never drawn) first, 1 last.
    EXPECT_EQ(run.Lines[1], "30\t0\t0.00000\t-\t-\t-\t-\t-\t-\t-\t-\t-\t-\t-\t-\t-\t-\t-\t-\t-");
    EXPECT_EQ(run.Lines[45],
              "1\t4\t11.11111\t-\t-\t-\t1\t16.67\t1.00\t111\t2\t1.5000\t4\t112\t139\t134\t-\t-\t-\t-");
    EXPECT_EQ(run.Lines[46], "SampleSize=6\tTotal=36\tMinCount=0\tMaxCount=4\tMaxDepth=6");
}

TEST_F(CmdStatsTest, OffsetSortAndDirection) {
    const TStatsRun run =
        RunStats(m_dir.path(), {"NUMS", "--len", "5", "--offset", "1", "--sort", "0", "--desc"});
    ASSERT_EQ(run.Code, 0) << run.Err.toStdString();
    ASSERT_EQ(run.Lines.size(), 47);
    EXPECT_TRUE(run.Lines[1].startsWith("45\t0\t"));
    EXPECT_EQ(run.Lines[45],
              "1\t3\t10.00000\t-\t-\t-\t2\t40.00\t2.00\t107\t2\t1.6667\t4\t109\t143\t135\t111\t-2\t+32\t+24");
    EXPECT_EQ(run.Lines[46], "SampleSize=5\tTotal=30\tMinCount=0\tMaxCount=3\tMaxDepth=5");
}

TEST_F(CmdStatsTest, BadArgumentsAreReported) {
    struct TCase {
        QStringList Args;
        const char *Message;
    } cases[] = {
        {{"NUMS"}, "--len L is required"},
        {{"NUMS", "--len", "0"}, "--len must be an integer 1..2147483647"},
        {{"NUMS", "--len", "abc"}, "--len must be an integer"},
        {{"NUMS", "--len", "10", "--sort", "20"}, "--sort must be an integer 0..19"},
        {{"NUMS", "--len", "10", "--offset", "6"}, "--offset must be an integer 0..5"},
        {{"XXXX", "--len", "10"}, "unknown method \"XXXX\""},
        {{"--len", "10"}, "missing method CODE"},
        {{"NUMS", "EVEN", "--len", "10"}, "unexpected argument: EVEN"},
    };
    for (const TCase &c : cases) {
        const TStatsRun run = RunStats(m_dir.path(), c.Args);
        EXPECT_EQ(run.Code, 1) << c.Args.join(' ').toStdString();
        EXPECT_TRUE(run.Err.contains(QString::fromUtf8(c.Message))) << run.Err.toStdString();
        EXPECT_TRUE(run.Lines.isEmpty());
    }
}

TEST_F(CmdStatsTest, EmptyArchiveIsAnError) {
    QTemporaryDir empty;
    const TStatsRun run = RunStats(empty.path(), {"NUMS", "--len", "10"});
    EXPECT_EQ(run.Code, 1);
    EXPECT_TRUE(run.Err.contains("the draws archive is empty")) << run.Err.toStdString();
    // Reading never creates files in the data folder.
    EXPECT_TRUE(QDir(empty.path()).entryList(QDir::Files).isEmpty());
}

} // namespace
