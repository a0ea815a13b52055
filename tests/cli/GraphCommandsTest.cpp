// "graph", "detail" and "sums-distribution" on a small archive.

#include "CliTestUtil.h"

#include "archive/DrawsArchive.h"
#include "core/CoreHelpers.h"

#include <gtest/gtest.h>
#include <QTemporaryDir>

namespace lot {
namespace {

using clitest::RunCli;
using clitest::TCliRun;

class GraphCommandsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        TDrawsArchive archive;
        // Even counts 2, 4, 3 (oldest first).
        const std::initializer_list<int> draws[] = {
            {1, 2, 3, 4, 5, 7}, {2, 4, 6, 8, 1, 3}, {10, 12, 14, 1, 3, 5}};
        int number = 21;
        for (const auto &mains : draws) {
            TDrawRec d = clitest::Draw(number++, mains);
            SetDrawDateText(d, QStringLiteral("%1 Dec 2026").arg(number));
            archive.Append(d);
        }
        archive.SaveDrawsFile(m_dir.filePath(QStringLiteral("Brantlee_6x45.ldr")));
    }
    TCliRun Run(const QStringList &args) { return RunCli(m_dir.path(), args); }
    QTemporaryDir m_dir;
};

TEST_F(GraphCommandsTest, GraphPrintsPointsMeanAndMode) {
    TCliRun run = Run({"graph", "EVEN", "--len", "3"});
    ASSERT_EQ(run.Code, 0) << run.Err.toStdString();
    EXPECT_EQ(run.Out,
              "21\t2\n22\t4\n23\t3\nСреднее значение\t3\nНаиболее часто встречающееся значение\t2\n");
    run = Run({"graph", "EVEN", "--len", "2", "--offset", "1"});
    ASSERT_EQ(run.Code, 0) << run.Err.toStdString();
    EXPECT_EQ(run.Out, "21\t2\n22\t4\nСреднее значение\t3\nНаиболее часто встречающееся значение\t2\n");
    run = Run({"graph", "SUMS", "--len", "3"});
    EXPECT_TRUE(run.Out.contains("Среднее значение\t30.333333333333332\n")) << run.Out.toStdString();

    for (const QStringList &bad : {QStringList{"graph", "NUMS"}, QStringList{"graph", "NOPE"},
                                   QStringList{"graph", "EVEN", "--len", "0"}, QStringList{"graph"},
                                   QStringList{"graph", "EVEN", "--offset", "3"}}) {
        run = Run(bad);
        EXPECT_EQ(run.Code, 1) << bad.join(' ').toStdString();
        EXPECT_TRUE(run.Out.isEmpty()) << bad.join(' ').toStdString();
    }
}

TEST_F(GraphCommandsTest, DetailOfADrawAndOfACombination) {
    TCliRun run = Run({"detail", "--index", "1", "--cols", "9"});
    ASSERT_EQ(run.Code, 0) << run.Err.toStdString();
    QStringList lines = run.Lines();
    ASSERT_GE(lines.size(), 8);
    EXPECT_EQ(lines[0], "Номер тиража: 22");
    EXPECT_EQ(lines[1], "Дата тиража: 23 Dec 2026");
    EXPECT_EQ(lines[2], "Числа: 2;4;6;8;1;3");
    EXPECT_TRUE(lines.contains("Количество четных чисел в тираже (Ч:Н)\t4"));
    EXPECT_TRUE(lines.contains("Сумма тиража: все значения\t24"));
    // The grid of 9 columns, 5 rows.
    EXPECT_EQ(lines.mid(lines.size() - 5, 2),
              (QStringList{"1\t2\t3\t4\t.\t6\t.\t8\t.", ".\t.\t.\t.\t.\t.\t.\t.\t."}));

    run = Run({"detail", "45;1;2;3;4;5", "--sorted"});
    ASSERT_EQ(run.Code, 0) << run.Err.toStdString();
    lines = run.Lines();
    EXPECT_EQ(lines[0], "Числа: 1;2;3;4;5;45") << "a combination has no draw number and no date";
    EXPECT_FALSE(run.Out.contains("Номер тиража"));
    EXPECT_TRUE(lines.contains("Число в 6 позиции тиража\t45"));

    for (const QStringList &bad :
         {QStringList{"detail"}, QStringList{"detail", "--index", "3"}, QStringList{"detail", "1;2;3;4;5;46"},
          QStringList{"detail", "1;2;3"}, QStringList{"detail", "--index", "0", "1;2;3;4;5;6"}}) {
        run = Run(bad);
        EXPECT_EQ(run.Code, 1) << bad.join(' ').toStdString();
    }
}

TEST_F(GraphCommandsTest, SumsDistributionTalliesAndRanges) {
    const TCliRun run = Run({"sums-distribution"});
    ASSERT_EQ(run.Code, 0) << run.Err.toStdString();
    const QStringList lines = run.Lines();
    ASSERT_EQ(lines.size(), 1 + 235 + 3);
    EXPECT_EQ(lines[0], "Сумма\tТиражей\tКомбинаций");
    EXPECT_EQ(lines[1], "21\t0\t1");
    EXPECT_EQ(lines[2], "22\t1\t1");
    EXPECT_EQ(lines[4], "24\t1\t3");
    EXPECT_EQ(lines[235], "255\t0\t1");
    EXPECT_EQ(lines.mid(236), (QStringList{"Диапазон 1 (от 1/3 и выше по оси Y) - суммы 93-183",
                                           "Диапазон 2 (от 1/2 и выше по оси Y) - суммы 102-174",
                                           "Диапазон 3 (от 2/3 и выше по оси Y) - суммы 110-166"}));
}

} // namespace
} // namespace lot
