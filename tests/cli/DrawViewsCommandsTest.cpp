// "card", "layout" and "repeats" on a four-draw archive.

#include "CliTestUtil.h"

#include "archive/DrawsArchive.h"

#include <gtest/gtest.h>
#include <QTemporaryDir>

namespace lot {
namespace {

using clitest::RunCli;
using clitest::TCliRun;

class DrawViewsCommandsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        TDrawsArchive archive;
        archive.Append(clitest::Draw(101, {1, 2, 3, 4, 5, 6}));
        archive.Append(clitest::Draw(102, {1, 2, 7, 8, 9, 10}));
        archive.Append(clitest::Draw(103, {1, 11, 12, 13, 14, 15}));
        archive.Append(clitest::Draw(104, {2, 3, 16, 17, 18, 19}));
        archive.SaveDrawsFile(m_dir.filePath(QStringLiteral("Brantlee_6x45.ldr")));
    }
    TCliRun Run(const QStringList &args) { return RunCli(m_dir.path(), args); }
    QTemporaryDir m_dir;
};

TEST_F(DrawViewsCommandsTest, CardRowsNewestFirst) {
    const TCliRun run = Run({"card", "--count", "1"});
    ASSERT_EQ(run.Code, 0) << run.Err.toStdString();
    const QStringList lines = run.Lines();
    ASSERT_EQ(lines.size(), 2);
    const QStringList header = lines[0].split('\t');
    ASSERT_EQ(header.size(), 48);
    EXPECT_EQ(header.first(), "Тираж");
    EXPECT_EQ(header.last(), "E2");
    const QStringList row = lines[1].split('\t');
    ASSERT_EQ(row.size(), 48);
    EXPECT_EQ(row[0], "104");
    EXPECT_EQ(row[1], "");
    EXPECT_EQ(row[2], "2");
    EXPECT_EQ(row[19], "19");
    EXPECT_EQ(row[46], "44");
    EXPECT_EQ(Run({"card", "--count", "0"}).Code, 1);
}

TEST_F(DrawViewsCommandsTest, LayoutWithItsListsAndRepeats) {
    TCliRun run = Run({"layout", "--len", "3", "--offset", "1", "--lists", "2"});
    ASSERT_EQ(run.Code, 0) << run.Err.toStdString();
    EXPECT_EQ(run.Out, "Кол-во\t103\t102\t101\n"
                       "3\t1\t\t\n"
                       "2\t\t[2]\t\n"
                       "1\t11, 12, 13, 14, 15\t7, 8, 9, 10\t[3], 4, 5, 6\n"
                       "\n"
                       "Кол-во\t102 - 103\n"
                       "2\t1\n"
                       "1\t11, 12, 13, 14, 15, 2, 7, 8, 9, 10\n");
    EXPECT_EQ(Run({"layout", "--lists", "5,x"}).Code, 1);

    run = Run({"repeats", "--len", "2", "--deep", "3"});
    ASSERT_EQ(run.Code, 0) << run.Err.toStdString();
    EXPECT_EQ(run.Out, "Тираж\tСовпадений\tКол-во повторов\tСписок тиражей\n"
                       "104\t1\t1\t102\n"
                       "104\t2\t1\t101\n"
                       "103\t1\t2\t102 101\n");
    EXPECT_EQ(Run({"repeats", "--deep", "0"}).Code, 1);
}

} // namespace
} // namespace lot
