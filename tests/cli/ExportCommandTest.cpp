// "export" and "stats --out": the lists land in spreadsheets that an
// independent reader reads back cell for cell.

#include "CliTestUtil.h"
#include "XlsxReader.h"

#include "archive/DrawsArchive.h"
#include "combs/CombFile.h"
#include "core/CoreHelpers.h"

#include <gtest/gtest.h>
#include <QFile>
#include <QTemporaryDir>

namespace lot {
namespace {

using clitest::RunCli;
using clitest::TCliRun;

class ExportCommandTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        TDrawsArchive archive;
        TDrawRec older = clitest::Draw(501, {40, 11, 3, 22, 23, 6});
        SetDrawDateText(older, QStringLiteral("5 Dec 2026"));
        TDrawRec newer = clitest::Draw(502, {2, 9, 13, 20, 31, 44});
        SetDrawDateText(newer, QStringLiteral("9 Dec 2026"));
        archive.Append(older);
        archive.Append(newer);
        archive.SaveDrawsFile(m_dir.filePath(QStringLiteral("Brantlee_6x45.ldr")));
    }
    TCliRun Run(const QStringList &args) { return RunCli(m_dir.path(), args); }
    QList<test::TReadSheet> Read(const QString &name) {
        QString error;
        QList<test::TReadSheet> sheets = test::ReadXlsx(m_dir.filePath(name), &error);
        EXPECT_FALSE(sheets.isEmpty()) << error.toStdString();
        return sheets;
    }
    static QString Fill(int number) {
        return QStringLiteral("@%1")
            .arg(GroupColourRgb(number, 5) & 0xFFFFFF, 6, 16, QLatin1Char('0'))
            .toUpper();
    }

    QTemporaryDir m_dir;
};

TEST_F(ExportCommandTest, DrawsNewestFirstWithTheGridsColours) {
    TCliRun run = Run({"export", "draws", "--out", m_dir.filePath("draws.xlsx")});
    ASSERT_EQ(run.Code, 0) << run.Err.toStdString();
    EXPECT_EQ(run.Out, "2\n");
    QList<test::TReadSheet> sheets = Read("draws.xlsx");
    ASSERT_EQ(sheets.size(), 1);
    EXPECT_EQ(sheets[0].Name, "Архив тиражей");
    ASSERT_EQ(sheets[0].Rows.size(), 3);
    QStringList captions;
    for (const QString &c : sheets[0].Rows[0])
        captions << c.section('@', 0, 0);
    EXPECT_EQ(captions, (QStringList{"s:Тираж", "s:1", "s:2", "s:3", "s:4", "s:5", "s:6", "s:E1", "s:E2",
                                     "s:S", "s:Дата тиража"}));
    // The newest draw is the draws offset's row (light red); the older one is plain.
    EXPECT_EQ(sheets[0].Rows[1], (QStringList{"n:502@FFAAAA", "n:2@FFAAAA", "n:9@FFAAAA", "n:13@FFAAAA",
                                              "n:20@FFAAAA", "n:31@FFAAAA", "n:44@FFAAAA", "n:44@FFAAAA",
                                              "n:45@FFAAAA", "n:119@FFAAAA", "s:9 Dec 2026@FFAAAA"}));
    EXPECT_EQ(sheets[0].Rows[2], (QStringList{"n:501", "n:40", "n:11", "n:3", "n:22", "n:23", "n:6", "n:44",
                                              "n:45", "n:105", "s:5 Dec 2026"}));

    // Sorted and coloured: numbers ascending in their group colours, the rest white.
    run = Run({"export", "draws", "--sorted", "--colored", "--out", m_dir.filePath("draws.xlsx")});
    ASSERT_EQ(run.Code, 0) << run.Err.toStdString();
    sheets = Read("draws.xlsx");
    ASSERT_EQ(sheets[0].Rows.size(), 3);
    QStringList older{"n:501@FFFFFF"};
    for (int n : {3, 6, 11, 22, 23, 40})
        older << QStringLiteral("n:%1").arg(n) + Fill(n);
    older << "n:44@FFFFFF"
          << "n:45@FFFFFF"
          << "n:105@FFFFFF"
          << "s:5 Dec 2026@FFFFFF";
    EXPECT_EQ(sheets[0].Rows[2], older);
}

TEST_F(ExportCommandTest, CombsAndTheStatisticsTable) {
    const TComb combs[] = {{{1, 2, 3, 4, 5, 6}}, {{40, 41, 42, 43, 44, 45}}};
    WriteCombsFile(m_dir.filePath("two.lcv"), combs, 2);
    TCliRun run = Run({"export", "combs", m_dir.filePath("two.lcv"), "--out", m_dir.filePath("combs.xlsx")});
    ASSERT_EQ(run.Code, 0) << run.Err.toStdString();
    QList<test::TReadSheet> sheets = Read("combs.xlsx");
    ASSERT_EQ(sheets.size(), 1);
    EXPECT_EQ(sheets[0].Name, "Комбинации");
    EXPECT_EQ(sheets[0].Rows.mid(1),
              (QList<QStringList>{{"n:1", "n:1", "n:2", "n:3", "n:4", "n:5", "n:6", "n:21"},
                                  {"n:2", "n:40", "n:41", "n:42", "n:43", "n:44", "n:45", "n:255"}}));

    // The statistics table exactly as "stats" prints it; value texts such
    // as "03" or "1:5" stay texts, plain numbers become numbers.
    const TCliRun printed = Run({"stats", "EVEN", "--len", "2"});
    ASSERT_EQ(printed.Code, 0) << printed.Err.toStdString();
    run = Run({"export", "stats", "EVEN", "--len", "2", "--out", m_dir.filePath("stats.xlsx")});
    ASSERT_EQ(run.Code, 0) << run.Err.toStdString();
    sheets = Read("stats.xlsx");
    ASSERT_EQ(sheets.size(), 1);
    EXPECT_EQ(sheets[0].Name, "Статистика");
    QStringList lines = printed.Lines();
    lines.removeLast(); // the summary figures
    ASSERT_EQ(sheets[0].Rows.size(), lines.size());
    for (int r = 0; r < lines.size(); ++r) {
        QStringList cells;
        for (const QString &c : sheets[0].Rows[r])
            cells << test::CellText(c);
        EXPECT_EQ(cells.join('\t').toStdString(), lines[r].toStdString()) << r;
    }
    EXPECT_TRUE(sheets[0].Rows[1][0].startsWith("s:")) << "the value \"1:5\" is a text";
}

TEST_F(ExportCommandTest, BadArgumentsWriteNothing) {
    const struct {
        QStringList args;
        const char *error;
    } cases[] = {
        {{"export", "draws"}, "--out FILE.xlsx is required"},
        {{"export", "--out", "x.xlsx"}, "what to export"},
        {{"export", "cards", "--out", "x.xlsx"}, "cannot export \"cards\""},
        {{"export", "card", "--sorted", "--out", "missing/x.xlsx"}, "Папка не найдена"},
        {{"export", "combs", "--out", "x.xlsx"}, "the list to export is missing"},
        {{"export", "draws", "--out", "missing/x.xlsx"}, "Папка не найдена"},
        {{"export", "stats", "NOPE", "--len", "2", "--out", "x.xlsx"}, "unknown method"},
    };
    for (const auto &c : cases) {
        QStringList args = c.args;
        for (QString &a : args)
            if (a.endsWith(".xlsx")) a = m_dir.filePath(a);
        const TCliRun run = Run(args);
        EXPECT_EQ(run.Code, 1) << args.join(' ').toStdString();
        EXPECT_TRUE(run.Err.contains(QString::fromUtf8(c.error))) << run.Err.toStdString();
    }
    EXPECT_FALSE(QFile::exists(m_dir.filePath("x.xlsx")));
}

} // namespace
} // namespace lot
