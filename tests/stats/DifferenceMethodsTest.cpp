// The difference methods: their class operations, the differences of
// chosen combinations and the periods of the members with several values.

#include "stats/methods/DifferenceMethods.h"
#include "StatsTestUtil.h"

#include <gtest/gtest.h>

namespace lot {
namespace {

using test::MakeComb;
using test::MakeStatDraw;
using test::Texts;

TEST(DifferenceMethodsTest, ClassOperations) {
    struct TCase {
        const char *Code, *ClassName, *Caption, *Flags;
        bool ValueList;
    };
    const TCase cases[] = {
        {"DIFA", "TstDiffTotal", "Все разности между соседними позициями", "SN", true},
        {"DIFM", "TstDiffMax", "Максимальная разность между соседними позициями", "SNG", true},
        {"DIFD", "TstMinMaxDiffs", "Разность между минимальным и максимальным числом", "NG", true},
        {"DIFO", "TstDiffSame", "Одинаковые разности между соседними позициями", "SN", false},
        {"DIFK", "TstDiffSameCnt", "Количество одинаковых разностей между соседними позициями", "SNG", true},
        {"KDS2", "TstCombDiffSeq2", "Сочетания из 2 разностей между числами", "S", false},
        {"KDS3", "TstCombDiffSeq3", "Сочетания из 3 разностей между числами", "S", false},
        {"KDS4", "TstCombDiffSeq4", "Сочетания из 4 разностей между числами", "S", false},
    };
    test::TMethodProbe probe;
    for (const TCase &c : cases) {
        const int i = probe.List.FindEntry(QString::fromLatin1(c.Code));
        ASSERT_GE(i, 0) << c.Code;
        const TStatClass &cls = *probe.List.Items(i).StatClass;
        EXPECT_STREQ(cls.ClassName(), c.ClassName);
        EXPECT_EQ(cls.Group(), 2) << c.Code;
        EXPECT_FALSE(cls.HasParamRange()) << c.Code;
        EXPECT_EQ(cls.HelpTopic(0), QString::fromLatin1(c.Code));
        EXPECT_EQ(probe.List.EntryCaption(i), QString::fromUtf8(c.Caption)) << c.Code;
        EXPECT_EQ(FlagLetters(cls.FullFlags()), QString::fromLatin1(c.Flags)) << c.Code;
        EXPECT_EQ(cls.AllowsValueList(), c.ValueList) << c.Code;
    }
}

TEST(DifferenceMethodsTest, ValuesOfCombinations) {
    test::TMethodProbe probe;
    struct TCase {
        const char *Code;
        TComb Comb;
        QStringList Texts;
    };
    const TComb spec = MakeComb({3, 6, 9, 10, 17, 24}); // 3 3 1 7 7
    const TComb run = MakeComb({1, 2, 4, 7, 11, 16});   // 1 2 3 4 5
    const TCase cases[] = {
        {"DIFA", spec, Texts({"3", "1", "7"})},
        {"DIFA", MakeComb({40, 2, 17, 25, 33, 8}), Texts({"38", "15", "8", "25"})}, // |2 - 40| first
        {"DIFM", spec, Texts({"7"})},
        {"DIFD", spec, Texts({"21"})},
        {"DIFD", MakeComb({45, 1, 2, 3, 4, 5}), Texts({"44"})},
        {"DIFO", spec, Texts({"3 x 2", "1 x 1", "7 x 2"})},
        {"DIFO", MakeComb({1, 2, 3, 4, 5, 6}), Texts({"1 x 5"})},
        {"DIFK", spec, Texts({"2"})},
        {"DIFK", MakeComb({3, 9, 15, 21, 27, 33}), Texts({"5"})}, // arithmetic progression
        {"DIFK", run, Texts({"1"})},                              // all five differ
        {"KDS2", run, Texts({"1:2", "2:3", "3:4", "4:5"})},
        {"KDS3", run, Texts({"1:2:3", "2:3:4", "3:4:5"})},
        {"KDS4", run, Texts({"1:2:3:4", "2:3:4:5"})},
        {"KDS2", MakeComb({1, 2, 3, 4, 5, 6}), Texts({"1:1"})},
    };
    for (const TCase &c : cases)
        EXPECT_EQ(probe.CombTexts(QString::fromLatin1(c.Code), c.Comb), c.Texts)
            << c.Code << " " << CombToText(c.Comb).toStdString();

    const QStringList diffs = probe.ListedTexts(QStringLiteral("DIFA"));
    ASSERT_EQ(diffs.size(), 44);
    EXPECT_EQ(diffs.front(), QStringLiteral("1"));
    EXPECT_EQ(diffs.back(), QStringLiteral("44"));
    EXPECT_EQ(probe.ListedTexts(QStringLiteral("DIFK")), Texts({"1", "2", "3", "4", "5"}));
    EXPECT_TRUE(probe.ListedTexts(QStringLiteral("DIFO")).isEmpty());
}

TEST(DifferenceMethodsTest, SixConsecutiveNumbersMatchTheDifferenceOne) {
    test::TMethodProbe probe;
    auto difa = probe.Stat(QStringLiteral("DIFA"));
    TStatDrawArray one(1);
    one[0].Key = TStatKey::FromWords(1);
    for (bool fast : {true, false}) {
        probe.List.SetFastPaths(fast);
        const auto matcher = difa->MakeMatcher(one, 0, false, false);
        EXPECT_TRUE(matcher->Matches(MakeComb({5, 6, 7, 8, 9, 10})));
        EXPECT_TRUE(matcher->Matches(MakeComb({40, 41, 3, 20, 22, 24})));
        EXPECT_FALSE(matcher->Matches(MakeComb({1, 3, 5, 7, 9, 11})));
        EXPECT_TRUE(difa->CombMatches(MakeComb({5, 6, 7, 8, 9, 10}), one, 0, false, false));
    }
}

// DIFA and KDS2 measure periods from the first value of a draw only; the
// others still move the value's previous draw, and DIFO measures them all.
TEST(DifferenceMethodsTest, PeriodsOfTheFirstDifferenceOnly) {
    test::TMethodProbe probe;
    probe.Archive.Append(MakeStatDraw(10, {1, 6, 8, 20, 30, 40}));    // 5 2 12 10 10
    probe.Archive.Append(MakeStatDraw(12, {1, 3, 8, 10, 20, 30}));    // 2 5 2 10 10
    probe.Archive.Append(MakeStatDraw(20, {1, 6, 8, 13, 30, 40}));    // 5 2 5 17 10
    probe.Archive.Append(MakeStatDraw(30, {10, 15, 17, 19, 21, 45})); // 5 2 2 2 24
    const auto periods = [&probe](const char *code, const TStatKey &key) {
        auto stat = probe.Stat(QString::fromLatin1(code));
        TStatDrawArray values;
        TStatScratch scratch;
        TLastValueArray last;
        for (int i = 0; i < probe.Archive.Count(); ++i)
            stat->DrawValues(i, probe.Archive.Count() - 1, false, values, scratch, last);
        const int at = FindValue(values, key);
        return at < 0 ? std::array<int, 3>{-1, -1, -1}
                      : std::array<int, 3>{values[size_t(at)].Count, values[size_t(at)].PeriodMin,
                                           values[size_t(at)].PeriodMax};
    };
    // Five times; 20 - 12 and 30 - 20, never 12 - 10 nor 20 - 20.
    EXPECT_EQ(periods("DIFA", TStatKey::FromWords(5)), (std::array<int, 3>{5, 8, 10}));
    // 5:2 is the first run in #10, #20 and #30, the second in #12.
    EXPECT_EQ(periods("KDS2", TStatKey::FromWords(5, 2)), (std::array<int, 3>{4, 8, 10}));
    // DIFO: "5 x 1" in #10, #12 and #30 ("5 x 2" in #20), every one measured.
    EXPECT_EQ(periods("DIFO", TStatKey::FromWords(5, 1)), (std::array<int, 3>{3, 2, 18}));
}

TEST(DifferenceMethodsTest, DrawOrderOrAscending) {
    test::TMethodProbe probe;
    probe.Archive.Append(MakeStatDraw(1, {40, 2, 17, 25, 33, 8}));
    EXPECT_EQ(probe.DrawTexts(QStringLiteral("DIFA"), 0, 0), Texts({"38", "15", "8", "25"}));
    EXPECT_EQ(probe.DrawTexts(QStringLiteral("DIFA"), 0, 0, true), Texts({"6", "9", "8", "7"}));
    EXPECT_EQ(probe.DrawTexts(QStringLiteral("DIFM"), 0, 0), Texts({"38"}));
    EXPECT_EQ(probe.DrawTexts(QStringLiteral("DIFM"), 0, 0, true), Texts({"9"}));
    EXPECT_EQ(probe.DrawTexts(QStringLiteral("DIFD"), 0, 0), Texts({"38"}));
    EXPECT_EQ(probe.DrawTexts(QStringLiteral("DIFD"), 0, 0, true), Texts({"38"}));
}

} // namespace
} // namespace lot
