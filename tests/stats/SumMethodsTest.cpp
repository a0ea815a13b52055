// The sum methods: their class operations, the central ranges and their
// rule of selection, and the dynamic members' reference draw.

#include "stats/methods/SumMethods.h"
#include "StatsTestUtil.h"

#include <gtest/gtest.h>

namespace lot {
namespace {

using test::MakeComb;
using test::MakeStatDraw;
using test::Texts;

TEST(SumMethodsTest, ClassOperations) {
    struct TCase {
        const char *Code, *ClassName, *Caption, *Flags;
        bool ValueList;
    };
    const TCase cases[] = {
        {"SUMS", "TstSumValues", "Сумма тиража: все значения", "NG", true},
        {"SUM1", "TstSumRanges", "Сумма тиража: диапазон 1 (1/3)", "NG", false},
        {"SUM2", "TstSumRanges", "Сумма тиража: диапазон 2 (1/2)", "NG", false},
        {"SUM3", "TstSumRanges", "Сумма тиража: диапазон 3 (2/3)", "NG", false},
        {"SUMC", "TstSumChange", "Сумма тиража: изменения (точно)", "DG", false},
        {"SUMV", "TstSumChangeSome", "Сумма тиража: изменения (диапазон)", "D", false},
        {"SUMT", "TstSumTrend", "Сумма тиража: направление изменения", "DG", false},
        {"SUME", "TstSumEvenValues", "Сумма тиража: только четные", "NG", true},
        {"SUMP", "TstSumPrimeValues", "Сумма тиража: только простые", "NG", true},
        {"S2T3", "TstSum2To3", "Сумма двух чисел тиража равна третьему числу", "NG", true},
    };
    test::TMethodProbe probe;
    for (const TCase &c : cases) {
        const int i = probe.List.FindEntry(QString::fromLatin1(c.Code));
        ASSERT_GE(i, 0) << c.Code;
        const TStatClass &cls = *probe.List.Items(i).StatClass;
        EXPECT_STREQ(cls.ClassName(), c.ClassName);
        EXPECT_EQ(cls.Group(), 1) << c.Code;
        EXPECT_EQ(probe.List.EntryCaption(i), QString::fromUtf8(c.Caption)) << c.Code;
        EXPECT_EQ(FlagLetters(cls.FullFlags()), QString::fromLatin1(c.Flags)) << c.Code;
        EXPECT_EQ(cls.AllowsValueList(), c.ValueList) << c.Code;
        EXPECT_EQ(probe.Stat(QString::fromLatin1(c.Code))->InstanceCaption(), probe.List.EntryCaption(i));
    }
    EXPECT_EQ(probe.List.DisplayCaption(probe.List.FindEntry(QStringLiteral("SUMS")), true),
              QStringLiteral("{ sum } Сумма тиража: все значения [ NG ]"));
    EXPECT_EQ(TstSumRanges::StaticClass().CodeFormat(), QStringLiteral("SUM%d"));
    EXPECT_EQ(TstSumRanges::StaticClass().Caption(4), QStringLiteral("Сумма тиража: диапазон %d (%d/%d)"))
        << "no range 4: the format as it is";
}

TEST(SumMethodsTest, ValuesOfCombinations) {
    test::TMethodProbe probe;
    struct TCase {
        const char *Code;
        TComb Comb;
        QStringList Texts;
    };
    const TCase cases[] = {
        {"SUMS", MakeComb({1, 2, 3, 4, 5, 6}), Texts({"21"})},
        {"SUMS", MakeComb({40, 41, 42, 43, 44, 45}), Texts({"255"})},
        {"SUMP", MakeComb({1, 4, 6, 8, 10, 12}), Texts({"1"})}, // 1 counts as prime
        {"SUME", MakeComb({1, 4, 6, 8, 10, 12}), Texts({"40"})},
        {"SUME", MakeComb({1, 3, 5, 7, 9, 11}), Texts({"0"})},
        // 1+2=3, 1+3=4, 1+4=5, 2+3=5, 1+5=6, 2+4=6.
        {"S2T3", MakeComb({1, 2, 3, 4, 5, 6}), Texts({"6"})},
        {"S2T3", MakeComb({6, 5, 4, 3, 2, 1}), Texts({"6"})},
        {"S2T3", MakeComb({1, 3, 7, 15, 31, 45}), Texts({"0"})},
        // The bounds of the three ranges.
        {"SUM1", MakeComb({1, 2, 3, 4, 38, 45}), Texts({"93-183"})},
        {"SUM1", MakeComb({1, 2, 3, 4, 37, 45}), Texts({"Остальные"})},
        {"SUM1", MakeComb({45, 44, 43, 42, 8, 1}), Texts({"93-183"})},
        {"SUM1", MakeComb({45, 44, 43, 42, 8, 2}), Texts({"Остальные"})},
        {"SUM2", MakeComb({45, 44, 5, 4, 3, 1}), Texts({"102-174"})},
        {"SUM2", MakeComb({45, 44, 5, 4, 2, 1}), Texts({"Остальные"})},
        {"SUM2", MakeComb({45, 44, 43, 39, 2, 1}), Texts({"102-174"})},
        {"SUM2", MakeComb({45, 44, 43, 40, 2, 1}), Texts({"Остальные"})},
        {"SUM3", MakeComb({45, 44, 10, 6, 3, 2}), Texts({"110-166"})},
        {"SUM3", MakeComb({45, 44, 10, 6, 3, 1}), Texts({"Остальные"})},
        {"SUM3", MakeComb({45, 44, 43, 30, 3, 1}), Texts({"110-166"})},
        {"SUM3", MakeComb({45, 44, 43, 30, 3, 2}), Texts({"Остальные"})},
    };
    for (const TCase &c : cases)
        EXPECT_EQ(probe.CombTexts(QString::fromLatin1(c.Code), c.Comb), c.Texts)
            << c.Code << " " << CombToText(c.Comb).toStdString();
}

TEST(SumMethodsTest, ListedValues) {
    test::TMethodProbe probe;
    const QStringList sums = probe.ListedTexts(QStringLiteral("SUMS"));
    ASSERT_EQ(sums.size(), 235);
    EXPECT_EQ(sums.front(), QStringLiteral("21"));
    EXPECT_EQ(sums.back(), QStringLiteral("255"));
    EXPECT_EQ(probe.ListedTexts(QStringLiteral("SUM2")), Texts({"Остальные", "102-174"}));
    // The three directions even when none occurred, in this order.
    EXPECT_EQ(probe.ListedTexts(QStringLiteral("SUMT")), Texts({"=", "+", "-"}));
    for (const char *code : {"SUMC", "SUMV", "SUME", "SUMP", "S2T3"})
        EXPECT_TRUE(probe.ListedTexts(QString::fromLatin1(code)).isEmpty()) << code;
}

TEST(SumMethodsTest, RangeRowSelectedDecidesAloneOtherwiseTheRestMatch) {
    test::TMethodProbe probe;
    auto stat = probe.Stat(QStringLiteral("SUM1"));
    const TComb in = MakeComb({10, 20, 30, 31, 2, 1}); // 94
    const TComb out = MakeComb({1, 2, 3, 4, 5, 6});    // 21
    const auto selection = [](std::initializer_list<int> values) {
        TStatDrawArray selected;
        for (int v : values) {
            TStatDraw d;
            d.Key = TStatKey::FromWords(uint16_t(v));
            selected.push_back(d);
        }
        return selected;
    };
    struct TCase {
        TStatDrawArray Selected;
        bool In, Out;
    };
    const TCase cases[] = {
        {selection({1}), true, false},    {selection({0}), false, true},
        {selection({0, 1}), true, false},                               // the range row decides
        {selection({1, 0}), true, false}, {selection({}), false, true}, // no range row: the rest
        {selection({7}), false, true},
    };
    for (const TCase &c : cases) {
        const auto matcher = stat->MakeMatcher(c.Selected, 0, false, false);
        EXPECT_EQ(stat->CombMatches(in, c.Selected, 0, false, false), c.In) << c.Selected.size();
        EXPECT_EQ(stat->CombMatches(out, c.Selected, 0, false, false), c.Out) << c.Selected.size();
        EXPECT_EQ(matcher->Matches(in), c.In);
        EXPECT_EQ(matcher->Matches(out), c.Out);
    }
}

class DynamicSumsTest : public ::testing::Test {
protected:
    void SetUp() override {
        // Sums 21, 22, 138, 150, 138, 125, 22.
        m_probe.Archive.Append(MakeStatDraw(1, {1, 2, 3, 4, 5, 6}));
        m_probe.Archive.Append(MakeStatDraw(2, {1, 2, 3, 4, 5, 7}));
        m_probe.Archive.Append(MakeStatDraw(3, {4, 30, 9, 40, 18, 37}));
        m_probe.Archive.Append(MakeStatDraw(4, {3, 17, 6, 38, 45, 41}));
        m_probe.Archive.Append(MakeStatDraw(5, {36, 12, 21, 30, 13, 26}));
        m_probe.Archive.Append(MakeStatDraw(6, {2, 27, 15, 24, 14, 43}));
        m_probe.Archive.Append(MakeStatDraw(7, {1, 2, 3, 4, 5, 7}));
        m_probe.List.RegisterAll();
    }
    test::TMethodProbe m_probe;
};

TEST_F(DynamicSumsTest, DrawsFollowingTheReferenceSum) {
    struct TCase {
        const char *Code;
        int Draw, Last;
        QStringList Texts;
    };
    const TCase cases[] = {
        {"SUMC", 3, 4, Texts({"+12 : 138 + 12 = 150"})},
        {"SUMC", 5, 4, Texts({"- 13 : 138 - 13 = 125"})},
        {"SUMC", 4, 4, Texts({})}, // its previous sum 150 is not 138
        {"SUMT", 3, 4, Texts({"+"})},
        {"SUMT", 5, 4, Texts({"-"})},
        {"SUMV", 3, 4, Texts({"+12"})},
        {"SUMV", 4, 4, Texts({"- 12"})}, // 150 lies within 23 of 138
        {"SUMV", 1, 4, Texts({})},       // 21 does not
        // The oldest draw has no previous draw: its sum would read as 0,
        // within 23 of the reference sum 22, yet no change is shown.
        {"SUMV", 0, 6, Texts({})},
        {"SUMV", 1, 6, Texts({"+01"})},
        {"SUMC", 0, 6, Texts({})},
        {"SUMT", 0, 6, Texts({})},
        {"SUMC", 7, 6, Texts({})}, // outside the archive
    };
    for (const TCase &c : cases)
        EXPECT_EQ(m_probe.DrawTexts(QString::fromLatin1(c.Code), c.Draw, c.Last), c.Texts)
            << c.Code << " draw " << c.Draw << " last " << c.Last;
}

TEST_F(DynamicSumsTest, CombinationsFollowTheReferenceDrawOfTheScan) {
    const TComb c = MakeComb({20, 25, 30, 35, 22, 18}); // 150
    EXPECT_EQ(m_probe.CombTexts(QStringLiteral("SUMC"), c, 2), Texts({"+12 : 138 + 12 = 150"}));
    EXPECT_EQ(m_probe.CombTexts(QStringLiteral("SUMC"), c, 6), Texts({"+128 : 22 + 128 = 150"}));
    EXPECT_EQ(m_probe.CombTexts(QStringLiteral("SUMV"), c, 3), Texts({"+00"}));
    EXPECT_EQ(m_probe.CombTexts(QStringLiteral("SUMT"), c, 3), Texts({"="}));

    // The selection holds the rise (+) and the value +12; the matcher and
    // CombMatches read the reference draw from refIdx whatever was loaded.
    TStatDrawArray up(1), twelve(1);
    up[0].Key = TStatKey::FromInts(1);
    twelve[0].Key = TStatKey::FromInts(12);
    const struct {
        const char *Code;
        const TStatDrawArray &Selected;
        int RefIdx;
        bool Matches;
    } cases[] = {
        {"SUMT", up, 2, true},      // 138 -> 150
        {"SUMT", up, 3, false},     // 150 -> 150
        {"SUMV", twelve, 2, true},  // 150 - 138
        {"SUMV", twelve, 5, false}, // 150 - 125
    };
    for (const auto &k : cases) {
        auto stat = m_probe.Stat(QString::fromLatin1(k.Code));
        stat->LoadDraws(-1, 0, false);
        EXPECT_EQ(stat->CombMatches(c, k.Selected, k.RefIdx, false, false), k.Matches) << k.Code << k.RefIdx;
        stat->LoadDraws(-1, 0, false);
        EXPECT_EQ(stat->MakeMatcher(k.Selected, k.RefIdx, false, false)->Matches(c), k.Matches)
            << k.Code << k.RefIdx;
    }
}

TEST_F(DynamicSumsTest, GraphValuesReadThePreviousDraw) {
    struct TCase {
        const char *Code;
        int DrawIdx, Value;
    };
    const TCase cases[] = {
        {"SUMC", 3, 12}, {"SUMC", 5, -13}, {"SUMC", 0, 21}, // no previous draw: 21 - 0
        {"SUMT", 3, 1},  {"SUMT", 5, -1},  {"SUMT", 4, -1}, {"SUMT", 0, 1}, {"SUMS", 3, 150},
    };
    for (const TCase &c : cases) {
        auto stat = m_probe.Stat(QString::fromLatin1(c.Code));
        auto *graph = dynamic_cast<TCustomGraphStat *>(stat.get());
        ASSERT_NE(graph, nullptr) << c.Code;
        EXPECT_EQ(graph->DrawGraphValue(c.DrawIdx, c.DrawIdx - 1, false), c.Value)
            << c.Code << " " << c.DrawIdx;
    }
}

} // namespace
} // namespace lot
