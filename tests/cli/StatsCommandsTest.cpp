// The statistics subcommands: methods, value, draw-values.

#include "archive/DrawsArchive.h"
#include "cli/Command.h"
#include "core/Codec1251.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>

namespace lot::cli {
namespace {

struct TRunResult {
    int Code = 0;
    QString Out, Err;
};

class StatsCommandsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        TDrawsArchive archive;
        TDrawRec d;
        d.DrawNumber = 501;
        const uint8_t first[6] = {40, 11, 3, 22, 23, 6};
        std::copy(first, first + 6, d.Numbers);
        d.Extra[0] = 15;
        d.Extra[1] = 16;
        archive.Append(d);
        d.DrawNumber = 502;
        const uint8_t second[6] = {2, 9, 13, 20, 31, 44};
        std::copy(second, second + 6, d.Numbers);
        archive.Append(d);
        archive.SaveDrawsFile(m_dir.filePath(QStringLiteral("Brantlee_6x45.ldr")));
    }

    TRunResult Run(QStringList args) {
        args.prepend(m_dir.path());
        args.prepend(QStringLiteral("--data"));
        TRunResult r;
        QTextStream out(&r.Out);
        QTextStream err(&r.Err);
        r.Code = RunCliArgs(args, out, err);
        out.flush();
        err.flush();
        return r;
    }

    QTemporaryDir m_dir;
};

TEST_F(StatsCommandsTest, MethodsListsEveryEntry) {
    const TRunResult r = Run({QStringLiteral("methods")});
    ASSERT_EQ(r.Code, 0) << r.Err.toStdString();
    const QStringList lines = r.Out.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 225);
    EXPECT_EQ(lines[0], QStringLiteral("0\tNUMS\tnum\tN\t{ num } Числа тиража [ N ]"));
    EXPECT_EQ(lines[111], QStringLiteral("111\tPOS3\tnum\tSNG\t{ num } Число в 3 позиции тиража [ SNG ]"));
    EXPECT_EQ(
        lines[116],
        QStringLiteral("116\tPOE2\tnum\tG\t{ num } Extra (Bonus, Star...) - число (!без фильтра!) [ G ]"));
    EXPECT_EQ(lines[142],
              QString::fromUtf8("142\tGRPP\tser\tD\t{ ser } Интервалы между повторениями чисел [ D ]"));
    EXPECT_EQ(lines[147], QString::fromUtf8("147\tPRDV\tper\tP\t{ per } Периоды повторения чисел [ P ]"));
    EXPECT_EQ(lines[155], QString::fromUtf8("155\tSDN4\tmov\tSD\t{ mov } Переходы чисел между 2 тиражами в 4 "
                                            "позиции [ SD ]"));
    EXPECT_EQ(lines[221], QString::fromUtf8("221\tHCO3\togn\tSD\t{ ogn } Числа Огнева 3 (динамический, "
                                            "только фильтр) [ SD ]"));
    EXPECT_EQ(lines.last(),
              QString::fromUtf8("224\tSHR3\tshr\tSNG\t{ shr } Метод шинковки 3: (n1+n3+n5)/(n2+n4+n6) "
                                "[ SNG ]"));
}

TEST_F(StatsCommandsTest, MethodsShowTheUsersNamesAndOptions) {
    QFile flt(m_dir.filePath(QStringLiteral("Brantlee_6x45.flt")));
    ASSERT_TRUE(flt.open(QIODevice::WriteOnly));
    flt.write(
        ToCp1251(QStringLiteral("[FILTERS]\r\nShowGroupName=0\r\n[STRINGS_RUS]\r\nNUMS=Мои числа\r\n")));
    flt.close();
    const TRunResult r = Run({QStringLiteral("methods")});
    ASSERT_EQ(r.Code, 0);
    EXPECT_TRUE(r.Out.startsWith(QStringLiteral("0\tNUMS\tnum\tN\tМои числа [ N ]\n")));
}

TEST_F(StatsCommandsTest, ValueOfACombination) {
    struct TCase {
        const char *Code, *Comb, *Out;
    };
    const TCase cases[] = {
        {"NUMS", "1;4;6;8;9;10", "1\n4\n6\n8\n9\n10\n"},
        {"digs", "11;20;30;40;41;42", "1\n2\n0\n3\n4\n"},
        {"PRMV", "2 9 13 20 31 44", "ПСПСПС (042)\n"},
        {"POE1", "1;2;3;4;5;6", ""},
    };
    for (const TCase &c : cases) {
        const TRunResult r =
            Run({QStringLiteral("value"), QString::fromLatin1(c.Code), QString::fromLatin1(c.Comb)});
        EXPECT_EQ(r.Code, 0) << c.Code << r.Err.toStdString();
        EXPECT_EQ(r.Out, QString::fromUtf8(c.Out)) << c.Code;
    }
}

TEST_F(StatsCommandsTest, DrawValues) {
    struct TCase {
        QStringList Args;
        const char *Out;
    };
    const TCase cases[] = {
        {{QStringLiteral("EVNV"), QStringLiteral("--index"), QStringLiteral("0")}, "ЧннЧнЧ (026)\n"},
        {{QStringLiteral("EVNV"), QStringLiteral("--index"), QStringLiteral("0"), QStringLiteral("--sorted")},
         "нЧнЧнЧ (042)\n"},
        {{QStringLiteral("POS1"), QStringLiteral("--sorted"), QStringLiteral("--index=0")}, "3\n"},
        {{QStringLiteral("NUMS"), QStringLiteral("--index"), QStringLiteral("1")}, "2\n9\n13\n20\n31\n44\n"},
        {{QStringLiteral("POE1"), QStringLiteral("--index"), QStringLiteral("0")}, "15\n"},
    };
    for (const TCase &c : cases) {
        const TRunResult r = Run(QStringList{QStringLiteral("draw-values")} + c.Args);
        EXPECT_EQ(r.Code, 0) << c.Args.join(' ').toStdString() << r.Err.toStdString();
        EXPECT_EQ(r.Out, QString::fromUtf8(c.Out)) << c.Args.join(' ').toStdString();
    }
}

TEST_F(StatsCommandsTest, BadArgumentsFailWithAMessage) {
    const QList<QStringList> cases = {
        {QStringLiteral("value"), QStringLiteral("SUMX"), QStringLiteral("1;2;3;4;5;6")},
        {QStringLiteral("value"), QStringLiteral("NUMS"), QStringLiteral("1;2;3")},
        {QStringLiteral("value"), QStringLiteral("NUMS"), QStringLiteral("1;2;3;4;5;99")},
        {QStringLiteral("value"), QStringLiteral("NUMS")},
        {QStringLiteral("draw-values"), QStringLiteral("SUMX"), QStringLiteral("--index"),
         QStringLiteral("0")},
        {QStringLiteral("draw-values"), QStringLiteral("NUMS"), QStringLiteral("--index"),
         QStringLiteral("2")},
        {QStringLiteral("draw-values"), QStringLiteral("NUMS"), QStringLiteral("--index"),
         QStringLiteral("-1")},
        {QStringLiteral("draw-values"), QStringLiteral("NUMS"), QStringLiteral("--index"),
         QStringLiteral("x")},
        {QStringLiteral("draw-values"), QStringLiteral("NUMS")},
        {QStringLiteral("methods"), QStringLiteral("extra")},
    };
    for (const QStringList &args : cases) {
        const TRunResult r = Run(args);
        EXPECT_EQ(r.Code, 1) << args.join(' ').toStdString();
        EXPECT_TRUE(r.Out.isEmpty()) << args.join(' ').toStdString();
        EXPECT_TRUE(r.Err.startsWith(args[0] + QStringLiteral(": ")) ||
                    r.Err.contains(QStringLiteral("Некорректная комбинация")))
            << r.Err.toStdString();
    }
    const TRunResult unknown =
        Run({QStringLiteral("value"), QStringLiteral("SUMX"), QStringLiteral("1;2;3;4;5;6")});
    EXPECT_TRUE(unknown.Err.contains(QStringLiteral("unknown method code: SUMX")))
        << unknown.Err.toStdString();
}

} // namespace
} // namespace lot::cli
