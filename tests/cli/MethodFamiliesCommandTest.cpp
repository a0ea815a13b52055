// The sum, difference, channel and matrix methods from the command line, on
// a folder with channels of 7 and a matrix of 7 columns: their places in the
// registry, values of combinations at a reference draw chosen by the offset,
// values of draws, a statistics table, a prefetch file and filters.

#include "CliTestUtil.h"

#include "archive/DrawsArchive.h"
#include "combs/CombFile.h"
#include "core/CoreHelpers.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using namespace lot;

namespace {

class MethodFamiliesCommandTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        // Sums 138 150 138 125 138 140 150 138.
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
        ini.write("[GLOBAL]\r\nMatrixCols=7\r\nChannelSize=7\r\n");
    }
    QString Path(const char *name) const { return QDir(m_dir.path()).filePath(QString::fromLatin1(name)); }
    clitest::TCliRun Run(const QStringList &args) const { return clitest::RunCli(m_dir.path(), args); }

    QTemporaryDir m_dir;
};

TEST_F(MethodFamiliesCommandTest, MethodsInTheirFixedPlaces) {
    const clitest::TCliRun run = Run({QStringLiteral("methods")});
    ASSERT_EQ(run.Code, 0) << run.Err.toStdString();
    const QStringList lines = run.Lines();
    // 8 numbers, 10 sums, 5 differences, 3 channels, 12 matrix, 3 segments,
    // 3 sequences, 20 repeats, 18 combination values, 27 combination members
    // of the families, 8 positions, 7 channels, 7 columns, 7 rows, 1
    // segment, 6 series, 3 periods, 65 transitions (SC2C and SC3C of 7
    // channels), 3 characteristic numbers, 3 shredding formulas.
    ASSERT_EQ(lines.size(), 219);
    const char *expected[] = {
        "8\tSUMS\tsum\tNG\t{ sum } Сумма тиража: все значения [ NG ]",
        "9\tSUM1\tsum\tNG\t{ sum } Сумма тиража: диапазон 1 (1/3) [ NG ]",
        "11\tSUM3\tsum\tNG\t{ sum } Сумма тиража: диапазон 3 (2/3) [ NG ]",
        "12\tSUMC\tsum\tDG\t{ sum } Сумма тиража: изменения (точно) [ DG ]",
        "13\tSUMV\tsum\tD\t{ sum } Сумма тиража: изменения (диапазон) [ D ]",
        "14\tSUMT\tsum\tDG\t{ sum } Сумма тиража: направление изменения [ DG ]",
        "17\tS2T3\tsum\tNG\t{ sum } Сумма двух чисел тиража равна третьему числу [ NG ]",
        "18\tDIFA\tdif\tSN\t{ dif } Все разности между соседними позициями [ SN ]",
        "22\tDIFK\tdif\tSNG\t{ dif } Количество одинаковых разностей между соседними позициями [ SNG ]",
        "23\tCHAN\tgrp\tN\t{ grp } Каналы [ N ]",
        "25\tCHNC\tgrp\tNG\t{ grp } Количество каналов в тираже [ NG ]",
        "26\tCOLS\tmtx\tN\t{ mtx } Столбцы матрицы (не пустые) [ N ]",
        "37\tROWC\tmtx\tNG\t{ mtx } Количество строк матрицы со смежными числами [ NG ]",
        "82\tKDS2\tdif\tS\t{ dif } Сочетания из 2 разностей между числами [ S ]",
        "85\tKCM2\tgrp\tS\t{ grp } Сочетания из 2 каналов по всем числам тиража [ S ]",
        "90\tKCS4\tgrp\tS\t{ grp } Сочетания из 4 каналов по соседним числам [ S ]",
        "91\tKFM2\tmtx\tS\t{ mtx } Сочетания из 2 столбцов по всем числам тиража [ S ]",
        "102\tKRS4\tmtx\tS\t{ mtx } Сочетания из 4 строк по соседним числам [ S ]",
        "109\tPOS1\tnum\tSNG\t{ num } Число в 1 позиции тиража [ SNG ]",
        "117\tCHN1\tgrp\tNG\t{ grp } Количество чисел в 1 канале [ NG ]",
        "123\tCHN7\tgrp\tNG\t{ grp } Количество чисел в 7 канале [ NG ]",
        "124\tCOL1\tmtx\tNG\t{ mtx } Количество чисел в 1 столбце матрицы [ NG ]",
        "130\tCOL7\tmtx\tNG\t{ mtx } Количество чисел в 7 столбце матрицы [ NG ]",
        "131\tROW1\tmtx\tNG\t{ mtx } Количество чисел в 1 строке матрицы [ NG ]",
        "137\tROW7\tmtx\tNG\t{ mtx } Количество чисел в 7 строке матрицы [ NG ]",
        "218\tSHR3\tshr\tSNG\t{ shr } Метод шинковки 3: (n1+n3+n5)/(n2+n4+n6) [ SNG ]",
    };
    for (const char *line : expected) {
        const QString text = QString::fromUtf8(line);
        const int index = text.section(QLatin1Char('\t'), 0, 0).toInt();
        EXPECT_EQ(lines[index], text);
    }
}

TEST_F(MethodFamiliesCommandTest, ValueAtTheReferenceDrawTheOffsetChooses) {
    struct TCase {
        QStringList Args;
        const char *Out;
    };
    const QString sum150 = QStringLiteral("20;25;30;35;22;18");
    const QString offset = QStringLiteral("--offset");
    const TCase cases[] = {
        {{QStringLiteral("SUMC"), sum150}, "+12 : 138 + 12 = 150\n"},
        {{QStringLiteral("SUMC"), sum150, offset, QStringLiteral("0")}, "+12 : 138 + 12 = 150\n"},
        {{QStringLiteral("SUMC"), sum150, offset, QStringLiteral("1")}, "+00 : 150 + 0 = 150\n"},
        {{QStringLiteral("SUMT"), offset, QStringLiteral("1"), sum150}, "=\n"},
        {{QStringLiteral("SUMT"), sum150, offset, QStringLiteral("3")}, "+\n"},
        {{QStringLiteral("SUMV"), sum150, offset, QStringLiteral("2")}, "+10\n"},
        {{QStringLiteral("SUMV"), sum150, QStringLiteral("--offset=7")}, "+12\n"},
        {{QStringLiteral("SUMS"), sum150, offset, QStringLiteral("5")}, "150\n"},
        {{QStringLiteral("CHAN"), QStringLiteral("1;2;3;4;5;45")}, "01 [1-7]\n07 [43-49]\n"},
        {{QStringLiteral("COLM"), QStringLiteral("1;2;3;4;5;45")}, "1111100 (124)\n"},
        {{QStringLiteral("ROWV"), QStringLiteral("43;44;45;1;2;3")},
         "1 x 3\n2 x 0\n3 x 0\n4 x 0\n5 x 0\n6 x 0\n7 x 3\n"},
        {{QStringLiteral("KDS3"), QStringLiteral("1;2;4;7;11;16")}, "1:2:3\n2:3:4\n3:4:5\n"},
    };
    for (const TCase &c : cases) {
        const clitest::TCliRun run = Run(QStringList{QStringLiteral("value")} + c.Args);
        EXPECT_EQ(run.Code, 0) << c.Args.join(' ').toStdString() << run.Err.toStdString();
        EXPECT_EQ(run.Out, QString::fromUtf8(c.Out)) << c.Args.join(' ').toStdString();
    }
    for (const char *bad : {"8", "-1", "x"}) {
        const clitest::TCliRun run =
            Run({QStringLiteral("value"), QStringLiteral("SUMC"), sum150, offset, QString::fromLatin1(bad)});
        EXPECT_EQ(run.Code, 1) << bad;
        EXPECT_TRUE(run.Out.isEmpty()) << bad;
        EXPECT_EQ(run.Err, QStringLiteral("value: --offset must be an integer 0..7\n")) << bad;
    }
}

TEST_F(MethodFamiliesCommandTest, DrawValues) {
    struct TCase {
        QStringList Args;
        const char *Out;
    };
    const QString index = QStringLiteral("--index");
    const TCase cases[] = {
        {{QStringLiteral("SUMC"), index, QStringLiteral("1")}, "+12 : 138 + 12 = 150\n"},
        {{QStringLiteral("SUMC"), index, QStringLiteral("0")}, ""}, // no previous draw
        {{QStringLiteral("SUMT"), index, QStringLiteral("3")}, "-\n"},
        {{QStringLiteral("DIFA"), index, QStringLiteral("0")}, "26\n21\n31\n22\n19\n"},
        {{QStringLiteral("DIFA"), index, QStringLiteral("0"), QStringLiteral("--sorted")},
         "5\n9\n12\n7\n3\n"},
        {{QStringLiteral("ROWA"), index, QStringLiteral("2")}, "2 x 2\n"},
        {{QStringLiteral("CHN7"), index, QStringLiteral("3")}, "1\n"},
    };
    for (const TCase &c : cases) {
        const clitest::TCliRun run = Run(QStringList{QStringLiteral("draw-values")} + c.Args);
        EXPECT_EQ(run.Code, 0) << c.Args.join(' ').toStdString() << run.Err.toStdString();
        EXPECT_EQ(run.Out, QString::fromUtf8(c.Out)) << c.Args.join(' ').toStdString();
    }
}

TEST_F(MethodFamiliesCommandTest, StatisticsTableOfADynamicMember) {
    // What followed the sum 138: up twice (#3, #11), down once (#7).
    const clitest::TCliRun run =
        Run({QStringLiteral("stats"), QStringLiteral("SUMT"), QStringLiteral("--len"), QStringLiteral("8")});
    ASSERT_EQ(run.Code, 0) << run.Err.toStdString();
    const QStringList lines = run.Lines();
    ASSERT_EQ(lines.size(), 5);
    EXPECT_TRUE(lines[1].startsWith(QStringLiteral("=\t0\t0.00000\t")));
    EXPECT_TRUE(lines[2].startsWith(QStringLiteral("-\t1\t33.33333\t-\t-\t-\t5\t100.00\t5.00\t7\t")));
    EXPECT_TRUE(
        lines[3].startsWith(QStringLiteral("+\t2\t66.66667\t-\t-\t-\t3\t60.00\t3.00\t11\t8\t4.0000\t8\t")));
    EXPECT_EQ(lines[4], QStringLiteral("SampleSize=8\tTotal=3\tMinCount=0\tMaxCount=2\tMaxDepth=5"));
}

TEST_F(MethodFamiliesCommandTest, PrefetchFileOfAChannelOfTheSettings) {
    const clitest::TCliRun build = Run({QStringLiteral("prefetch"), QStringLiteral("build"),
                                        QStringLiteral("--codes"), QStringLiteral("CHN7")});
    ASSERT_EQ(build.Code, 0) << build.Err.toStdString();
    EXPECT_EQ(build.Out, QStringLiteral("CHN7\tBrantlee_6x45_CHN7.dfc\t4\n"));
    // Channel 7 of 7 holds 43, 44, 45: C(3, k) * C(42, 6 - k) combinations have k of them.
    const clitest::TCliRun dump =
        Run({QStringLiteral("prefetch"), QStringLiteral("dump"), QStringLiteral("CHN7")});
    ASSERT_EQ(dump.Code, 0) << dump.Err.toStdString();
    EXPECT_EQ(dump.Out,
              QStringLiteral("0\t0\t0\t0\t0\t5245786\n1\t0\t0\t0\t1\t2552004\n2\t0\t0\t0\t2\t335790\n"
                             "3\t0\t0\t0\t3\t11480\ntrailer\t11480\t5245786\t0\n"));
}

TEST_F(MethodFamiliesCommandTest, FilterBySelectedRows) {
    // Sums 150, 138, 100, 200.
    const std::vector<TComb> list = {
        TextToComb(QStringLiteral("20;25;30;35;22;18")), TextToComb(QStringLiteral("4;30;9;40;18;37")),
        TextToComb(QStringLiteral("10;11;12;13;14;40")), TextToComb(QStringLiteral("45;44;43;40;20;8"))};
    WriteCombsFile(Path("in.lcv"), list.data(), int(list.size()));
    const auto output = [this] {
        TCombsArray combs;
        int count = 0;
        TCombFileReadInfo info;
        ReadCombsFile(Path("out.lcv"), combs, count, info);
        QStringList texts;
        for (int i = 0; i < count; ++i)
            texts << CombToText(combs[size_t(i)]);
        return texts;
    };
    const QStringList io = {QStringLiteral("filter"), QStringLiteral("--in"), Path("in.lcv"),
                            QStringLiteral("--out"), Path("out.lcv")};

    // Keep the rise from the newest draw's sum 138.
    clitest::TCliRun run =
        Run(io + QStringList{QStringLiteral("--select"), QStringLiteral("+"), QStringLiteral("SUMT"),
                             QStringLiteral("--len"), QStringLiteral("8"), QStringLiteral("--keep")});
    ASSERT_EQ(run.Code, 0) << run.Err.toStdString();
    EXPECT_EQ(run.Lines(), QStringList{QStringLiteral("2")});
    EXPECT_EQ(output(),
              (QStringList{QStringLiteral("20;25;30;35;22;18"), QStringLiteral("45;44;43;40;20;8")}));

    // At offset 1 the reference draw is #13 (sum 150): "=" keeps the sum 150 alone.
    run = Run(io + QStringList{QStringLiteral("--offset"), QStringLiteral("1"), QStringLiteral("--select"),
                               QStringLiteral("="), QStringLiteral("SUMT"), QStringLiteral("--len"),
                               QStringLiteral("8"), QStringLiteral("--keep")});
    ASSERT_EQ(run.Code, 0) << run.Err.toStdString();
    EXPECT_EQ(output(), QStringList{QStringLiteral("20;25;30;35;22;18")});

    // Delete what touches the last channel, 43..49.
    run =
        Run(io + QStringList{QStringLiteral("--select"), QStringLiteral("07 [43-49]"), QStringLiteral("CHAN"),
                             QStringLiteral("--len"), QStringLiteral("8"), QStringLiteral("--delete")});
    ASSERT_EQ(run.Code, 0) << run.Err.toStdString();
    EXPECT_EQ(run.Lines(), QStringList{QStringLiteral("3")});
    EXPECT_FALSE(output().contains(QStringLiteral("45;44;43;40;20;8")));
}

} // namespace
