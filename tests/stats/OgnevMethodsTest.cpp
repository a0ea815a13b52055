// The characteristic number methods: their class operations, the three
// variants on chosen draws, and HCO3's table: the reference draw's number,
// its multiples and the draw that followed it.

#include "stats/methods/OgnevMethods.h"
#include "StatsTestUtil.h"

#include "stats/StatTable.h"

#include <gtest/gtest.h>

namespace lot {
namespace {

using test::MakeComb;
using test::MakeStatDraw;
using test::Texts;

TEST(OgnevMethodsTest, ClassOperations) {
    struct TCase {
        const char *Code, *ClassName, *Caption, *Flags;
        bool ValueList;
    };
    const TCase cases[] = {
        {"HCO1", "TstOgnev1", "Число Огнева 1 (только разность)", "SNG", true},
        {"HCO2", "TstOgnev2", "Число Огнева 2 (разность + сложение, если {0,1})", "SNG", true},
        {"HCO3", "TstOgnev3", "Числа Огнева 3 (динамический, только фильтр)", "SD", false},
    };
    test::TMethodProbe probe;
    for (const TCase &c : cases) {
        const int i = probe.List.FindEntry(QString::fromLatin1(c.Code));
        ASSERT_GE(i, 0) << c.Code;
        const TStatClass &cls = *probe.List.Items(i).StatClass;
        EXPECT_STREQ(cls.ClassName(), c.ClassName);
        EXPECT_EQ(cls.Group(), 11) << c.Code;
        EXPECT_EQ(probe.List.EntryCaption(i), QString::fromUtf8(c.Caption)) << c.Code;
        EXPECT_EQ(FlagLetters(cls.FullFlags()), QString::fromLatin1(c.Flags)) << c.Code;
        EXPECT_EQ(cls.AllowsValueList(), c.ValueList) << c.Code;
        EXPECT_TRUE(probe.ListedTexts(QString::fromLatin1(c.Code)).isEmpty()) << c.Code;
    }
    EXPECT_EQ(probe.List.DisplayCaption(probe.List.FindEntry(QStringLiteral("HCO1")), true),
              QString::fromUtf8("{ ogn } Число Огнева 1 (только разность) [ SNG ]"));
}

TEST(OgnevMethodsTest, TheThreeVariants) {
    struct TCase {
        std::array<int, 6> Numbers;
        int Variant0, Variant1;
        const char *Variant2;
    };
    const TCase cases[] = {
        // 1,1,1,1,1 then 0,0,0,0 then 0,0,0 then 0,0: h = 0, a + b = 0.
        {{1, 2, 3, 4, 5, 6}, 0, 0, "0"},
        // 1,19,5,36,1 / 18,14,31,35 / 4,17,4 / 13,13: h = 0, a + b = 26.
        {{28, 27, 8, 3, 39, 40}, 0, 26, "26"},
        // ... / 7,6: h = 1, a + b = 13.
        {{20, 25, 22, 27, 13, 17}, 1, 13, "13 (1)"},
        // ... / 1,0: h = 1, a + b = 1.
        {{35, 13, 18, 20, 38, 17}, 1, 1, "1 (1)"},
        // 14,10,26,4,23 / 4,16,22,19 / 12,6,3 / 6,3: h = 3.
        {{29, 43, 33, 7, 11, 34}, 3, 3, "3"},
        {{9, 37, 5, 17, 8, 32}, 4, 4, "4"},
        // The same numbers ascending: 3,1,8,15,5 / 2,7,7,10 / 5,0,3 / 5,3: h = 2.
        {{5, 8, 9, 17, 32, 37}, 2, 2, "2"},
    };
    test::TMethodProbe probe;
    for (const TCase &c : cases) {
        const TComb comb = MakeComb(c.Numbers);
        const std::string name = CombToText(comb).toStdString();
        EXPECT_EQ(probe.CombTexts(QStringLiteral("HCO1"), comb), QStringList{QString::number(c.Variant0)})
            << name;
        EXPECT_EQ(probe.CombTexts(QStringLiteral("HCO2"), comb), QStringList{QString::number(c.Variant1)})
            << name;
        auto hco1 = probe.Stat(QStringLiteral("HCO1"));
        EXPECT_EQ(static_cast<TCustomGraphStat &>(*hco1).GraphValue(comb, 0), c.Variant0) << name;
        // HCO3 of the draw as the newest one: its number first.
        test::TMethodProbe drawProbe;
        drawProbe.Archive.Append(MakeStatDraw(10, c.Numbers));
        EXPECT_EQ(drawProbe.DrawTexts(QStringLiteral("HCO3"), 0, 0).value(0), QString::fromLatin1(c.Variant2))
            << name;
    }
}

TEST(OgnevMethodsTest, CandidatesOfTheReferenceDraw) {
    struct TCase {
        std::array<int, 6> Numbers;
        const char *Values;
    };
    const TCase cases[] = {
        {{29, 43, 33, 7, 11, 34}, "3,27,24,21,18,15,12,9,6"},
        {{1, 18, 16, 44, 8, 40}, "7,42,35,28,21,14"}, // 49 lies outside the numbers
        {{9, 37, 5, 17, 8, 32}, "4,44,40,36,32,28,24,20,16,12,8"},
        {{35, 13, 18, 20, 38, 17}, "1 (1)"},
        {{1, 2, 3, 4, 5, 6}, "0"},
        {{20, 25, 22, 27, 13, 17}, "13 (1),39,26"},
    };
    for (const TCase &c : cases) {
        test::TMethodProbe probe;
        probe.Archive.Append(MakeStatDraw(1, {1, 2, 3, 4, 5, 6}));
        probe.Archive.Append(MakeStatDraw(2, c.Numbers));
        EXPECT_EQ(probe.DrawTexts(QStringLiteral("HCO3"), 1, 1).join(','), QString::fromLatin1(c.Values));
        EXPECT_TRUE(probe.DrawTexts(QStringLiteral("HCO3"), 0, 1).isEmpty()) << "only the reference draw";
    }
}

TEST(OgnevMethodsTest, TableMarksWhatTheFollowingDrawHeld) {
    test::TMethodProbe probe;
    probe.Archive.Append(MakeStatDraw(1, {10, 20, 30, 40, 41, 42}));
    probe.Archive.Append(MakeStatDraw(2, {29, 43, 33, 7, 11, 34})); // 3 and its multiples
    probe.Archive.Append(MakeStatDraw(3, {27, 3, 6, 10, 11, 44}));
    test::TRecordingHost host;
    TStatTable table(host, probe.List, probe.Archive);
    table.FillSelector(false);
    table.SetSampleLength(3);
    table.SetSort(scValue, false);
    ASSERT_TRUE(table.SelectEntry(probe.List.FindEntry(QStringLiteral("HCO3"))));
    const auto rows = [&] {
        table.ComputeStatistics(true);
        QStringList texts;
        for (int r = 0; r < table.RowCount(); ++r)
            texts << table.Cell(r, scValue) + QLatin1Char(':') + table.Cell(r, scCount);
        return texts.join(',');
    };
    probe.Archive.SetOffset(1);
    EXPECT_EQ(rows(), QStringLiteral("3:1,6:1,9:0,12:0,15:0,18:0,21:0,24:0,27:1"));
    EXPECT_EQ(table.Cell(0, scDepth), QStringLiteral("1"));
    EXPECT_EQ(table.Cell(0, scPeriodMin), QStringLiteral("-"));
    EXPECT_EQ(table.Cell(0, scFact), QStringLiteral("-")) << "no later draw has a value";
    // With no offset there is no following draw: nothing counts.
    probe.Archive.SetOffset(0);
    const QString newest = rows();
    EXPECT_FALSE(newest.contains(QStringLiteral(":1"))) << newest.toStdString();
    EXPECT_EQ(table.Summary().Total, 0);

    // A filter keeps the combinations holding one of the selected numbers.
    auto hco3 = probe.Stat(QStringLiteral("HCO3"));
    TStatDrawArray selected(1);
    selected[0].Key = TStatKey::FromWords(13, 1, 0, 2);
    EXPECT_TRUE(hco3->CombMatches(MakeComb({1, 2, 13, 40, 41, 42}), selected, 2, false, false));
    EXPECT_FALSE(hco3->CombMatches(MakeComb({1, 2, 14, 40, 41, 42}), selected, 2, false, false));
    EXPECT_TRUE(host.Errors.isEmpty());
}

} // namespace
} // namespace lot
