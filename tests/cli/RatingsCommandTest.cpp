// The ratings command: list (with the chance column), refresh, the CSV export
// and rows back into a script file, with their refusals.

#include "CliTestUtil.h"
#include "XlsxReader.h"

#include "archive/DrawsArchive.h"
#include "core/Codec1251.h"

#include <gtest/gtest.h>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

using namespace lot;
using namespace lot::clitest;

namespace {

QByteArray ReadBytes(const QString &path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

class CliRatingsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        TDrawsArchive archive;
        archive.Append(Draw(101, {7, 3, 11, 17, 25, 40}));
        archive.Append(Draw(103, {1, 2, 3, 4, 5, 6}));
        archive.SaveDrawsFile(Path("Brantlee_6x45.ldr"));
        QFile ini(Path("Brantlee_6x45.ini"));
        ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
        ini.write("[STAKES]\r\nCost=1\r\nProfits=1\r\nProfit_0_Overlap=3\r\nProfit_0_Profit=10\r\n");
    }
    QString Path(const char *name) const { return m_dir.filePath(QString::fromLatin1(name)); }
    TCliRun Run(const QStringList &args) { return RunCli(m_dir.path(), args); }
    void Stake(const char *numbers, const char *comment) {
        const TCliRun r =
            Run({"stakes", "add", numbers, "--draw", "101", "--comment", QString::fromUtf8(comment)});
        ASSERT_EQ(r.Code, 0) << r.Err.toStdString();
    }
    QTemporaryDir m_dir;
};

} // namespace

TEST_F(CliRatingsTest, CheckedStakesAreListedInTheSortOrder) {
    Stake("3;11;17;30;31;32", "мой"); // 3 overlaps, profit 9
    Stake("1;2;4;5;6;8", "МОЙ");      // 0, -1: the same row
    Stake("3;11;17;25;40;44", "ещё"); // 5, -1
    EXPECT_EQ(QFileInfo(Path("Brantlee_6x45.lrt")).size(), 2 * 304);

    TCliRun r = Run({"ratings", "list"});
    ASSERT_EQ(r.Code, 0) << r.Err.toStdString();
    // "Среднее" descending: 5.000 before 1.500.
    ASSERT_EQ(r.Lines().size(), 2);
    EXPECT_TRUE(r.Lines()[0].startsWith("ещё\t1\t5\t5.000\t-1.00\t-1.00\t0\t0\t0\t0\t0\t1\t0\t"));
    EXPECT_EQ(r.Lines()[1], "мой\t2\t3\t1.500\t8.00\t4.00\t1\t0\t0\t1\t0\t0\t0\t"
                            "9.944%\t-42.413%\t-15.147%\t47.756%\t-0.136%\t-0.003%\t0.000%");

    r = Run({"ratings", "list", "--chance"});
    ASSERT_EQ(r.Code, 0) << r.Err.toStdString();
    const QStringList cells = r.Lines()[1].split('\t');
    ASSERT_EQ(cells.size(), 21);
    EXPECT_EQ(cells[20], "0.199"); // two random stakes reach 3 overlaps
}

TEST_F(CliRatingsTest, ExportRefreshAndToScript) {
    Stake("3;11;17;30;31;32", "мой");
    TCliRun r = Run({"ratings", "export", Path("r.csv")});
    ASSERT_EQ(r.Code, 0) << r.Err.toStdString();
    const QByteArray csv = ReadBytes(Path("r.csv"));
    EXPECT_TRUE(csv.endsWith(ToCp1251(QStringLiteral("\r\n\"мой\";1;3;3.000;9.00;9.00;0;0;0;1;0;0;0\r\n"))));

    // Refresh asks first: without --yes nothing changes.
    const QByteArray before = ReadBytes(Path("Brantlee_6x45.lrt"));
    r = Run({"--yes", "stakes", "delete", "--rows", "1-1"});
    ASSERT_EQ(r.Code, 0) << r.Err.toStdString();
    r = Run({"ratings", "refresh"});
    EXPECT_EQ(r.Code, 1);
    EXPECT_EQ(ReadBytes(Path("Brantlee_6x45.lrt")), before);
    r = Run({"--yes", "ratings", "refresh"});
    ASSERT_EQ(r.Code, 0) << r.Err.toStdString();
    EXPECT_EQ(r.Out, "Рейтинг: 0\n");
    EXPECT_EQ(ReadBytes(Path("Brantlee_6x45.lrt")).size(), 0);

    r = Run({"ratings", "export", Path("e.csv")});
    EXPECT_EQ(r.Code, 1);
    EXPECT_FALSE(QFileInfo::exists(Path("e.csv")));

    // Deleting all stakes asks the refresh question as well.
    Stake("3;11;17;30;31;32", "мой");
    r = Run({"--yes", "stakes", "delete", "--all"});
    ASSERT_EQ(r.Code, 0) << r.Err.toStdString();
    EXPECT_EQ(ReadBytes(Path("Brantlee_6x45.lrt")).size(), 0);
}

TEST_F(CliRatingsTest, ToScriptRefusesRowsThatAreNoScriptLines) {
    Stake("3;11;17;30;31;32", "01.001: мой @ FULL#FIRST + TSD#NUMS:10#LNO:#SF:1");
    Stake("1;2;4;5;6;8", "вручную");
    const TCliRun list = Run({"ratings", "list"});
    ASSERT_EQ(list.Lines().size(), 2);
    ASSERT_TRUE(list.Lines()[0].startsWith("01.001"));

    TCliRun r = Run({"ratings", "to-script", "1", "2", "--out", Path("s.lsc")});
    EXPECT_EQ(r.Code, 1); // row 2 refused, row 1 written
    EXPECT_EQ(r.Err, "Строку\n\nвручную\n\nневозможно добавить в сценарий!\n");
    EXPECT_EQ(ReadBytes(Path("s.lsc")),
              ToCp1251(QStringLiteral("FULL#FIRST|TSD#NUMS:10#LNO:#SF:1| | | | | | |01.001: мой\r\n")));

    r = Run({"ratings", "to-script", "3", "--out", Path("t.lsc")});
    EXPECT_EQ(r.Code, 1);
    EXPECT_EQ(r.Err, "В рейтинге нет строки 3 (строк: 2)!\n");
    EXPECT_FALSE(QFileInfo::exists(Path("t.lsc")));
    r = Run({"ratings", "to-script", "0", "--out", Path("t.lsc")});
    EXPECT_EQ(r.Code, 1);
}

TEST_F(CliRatingsTest, SpreadsheetHoldsTheListedCells) {
    EXPECT_NE(Run({"export", "ratings", "--out", Path("r.xlsx")}).Code, 0); // no ratings yet
    EXPECT_FALSE(QFileInfo::exists(Path("r.xlsx")));
    Stake("3;11;17;30;31;32", "мой");
    Stake("3;11;17;25;40;44", "ещё");
    const TCliRun list = Run({"ratings", "list"});
    ASSERT_EQ(list.Lines().size(), 2);
    const TCliRun r = Run({"export", "ratings", "--out", Path("r.xlsx")});
    ASSERT_EQ(r.Code, 0) << r.Err.toStdString();
    EXPECT_EQ(r.Lines(), QStringList{"2"});
    QString error;
    const QList<test::TReadSheet> sheets = test::ReadXlsx(Path("r.xlsx"), &error);
    ASSERT_EQ(sheets.size(), 1) << error.toStdString();
    EXPECT_EQ(sheets[0].Name, "Рейтинг");
    ASSERT_EQ(sheets[0].Rows.size(), 3);
    EXPECT_EQ(test::CellText(sheets[0].Rows[0][19]), "E6");
    for (int row = 0; row < 2; ++row) {
        const QStringList cells = list.Lines()[row].split('\t');
        for (int c = 0; c < 20; ++c)
            EXPECT_EQ(test::CellText(sheets[0].Rows[row + 1][c]), cells[c]) << row << "," << c;
    }
    // Counts are numbers in the sheet, the comment a text.
    EXPECT_TRUE(sheets[0].Rows[1][1].startsWith("n:"));
    EXPECT_TRUE(sheets[0].Rows[1][0].startsWith("s:"));
}
