// The sequence methods: their class operations, the runs of chosen
// combinations, draws in drawing order against sorted ones, and the graph
// values that take a step down as well.

#include "stats/methods/SequenceMethods.h"
#include "StatsTestUtil.h"

#include <gtest/gtest.h>

namespace lot {
namespace {

using test::MakeComb;
using test::Texts;

TEST(SequenceMethodsTest, ClassOperations) {
    struct TCase {
        const char *Code, *ClassName, *Caption, *Flags, *Listed;
    };
    const TCase cases[] = {
        {"SEQL", "TstSequenceLen", "Длина последовательности в тираже", "SN", "1,2,3,4,5,6"},
        {"SEQS", "TstSequenceCnt", "Количество последовательностей в тираже", "SNG", "0,1,2,3"},
        {"LENS", "TstSequenceLenMax", "Макс. длина последовательности в тираже", "SNG", "1,2,3,4,5,6"},
    };
    test::TMethodProbe probe;
    for (const TCase &c : cases) {
        const int i = probe.List.FindEntry(QString::fromLatin1(c.Code));
        ASSERT_GE(i, 0) << c.Code;
        const TStatClass &cls = *probe.List.Items(i).StatClass;
        EXPECT_STREQ(cls.ClassName(), c.ClassName);
        EXPECT_EQ(cls.Group(), 6) << c.Code;
        EXPECT_EQ(probe.List.EntryCaption(i), QString::fromUtf8(c.Caption)) << c.Code;
        EXPECT_EQ(FlagLetters(cls.FullFlags()), QString::fromLatin1(c.Flags)) << c.Code;
        EXPECT_TRUE(cls.AllowsValueList()) << c.Code;
        EXPECT_EQ(probe.ListedTexts(QString::fromLatin1(c.Code)).join(','), QString::fromLatin1(c.Listed));
    }
    EXPECT_EQ(probe.List.DisplayCaption(probe.List.FindEntry(QStringLiteral("LENS")), true),
              QString::fromUtf8("{ seq } Макс. длина последовательности в тираже [ SNG ]"));
}

TEST(SequenceMethodsTest, RunsOfCombinations) {
    struct TCase {
        std::array<int, 6> Numbers;
        const char *Lengths; ///< SEQL's values in order
        const char *Count, *Longest, *CountGraph, *LongestGraph;
    };
    const TCase cases[] = {
        {{4, 5, 6, 20, 21, 40}, "3,2,1", "2", "3", "2", "3"},
        {{1, 2, 3, 4, 5, 6}, "6", "1", "6", "1", "6"},
        {{10, 12, 14, 16, 18, 20}, "1", "0", "1", "0", "1"},
        {{7, 8, 15, 16, 30, 31}, "2", "3", "2", "3", "2"},
        {{1, 2, 44, 45, 10, 11}, "2", "3", "2", "3", "2"},
        // Going down: no run for the values, runs for the graph.
        {{6, 5, 4, 3, 2, 1}, "1", "0", "1", "1", "6"},
        {{33, 32, 31, 30, 12, 2}, "1", "0", "1", "1", "4"},
        {{5, 6, 5, 6, 9, 8}, "2,1", "2", "2", "2", "4"},
        // No wrap from 45 to 1.
        {{45, 1, 2, 20, 30, 40}, "1,2", "1", "2", "1", "2"},
    };
    test::TMethodProbe probe;
    auto seqs = probe.Stat(QStringLiteral("SEQS"));
    auto lens = probe.Stat(QStringLiteral("LENS"));
    for (const TCase &c : cases) {
        const TComb comb = MakeComb(c.Numbers);
        const std::string name = CombToText(comb).toStdString();
        EXPECT_EQ(probe.CombTexts(QStringLiteral("SEQL"), comb).join(','), QString::fromLatin1(c.Lengths))
            << name;
        EXPECT_EQ(probe.CombTexts(QStringLiteral("SEQS"), comb).join(','), QString::fromLatin1(c.Count))
            << name;
        EXPECT_EQ(probe.CombTexts(QStringLiteral("LENS"), comb).join(','), QString::fromLatin1(c.Longest))
            << name;
        EXPECT_EQ(QString::number(static_cast<TCustomGraphStat &>(*seqs).GraphValue(comb, 0)),
                  QString::fromLatin1(c.CountGraph))
            << name;
        EXPECT_EQ(QString::number(static_cast<TCustomGraphStat &>(*lens).GraphValue(comb, 0)),
                  QString::fromLatin1(c.LongestGraph))
            << name;
    }
}

TEST(SequenceMethodsTest, LengthsAddUpToSixAndCountEachRun) {
    test::TMethodProbe probe;
    auto seql = probe.Stat(QStringLiteral("SEQL"));
    TStatDrawArray values;
    seql->CombValues(MakeComb({10, 12, 14, 16, 18, 20}), values);
    ASSERT_EQ(values.size(), 1u);
    EXPECT_EQ(values[0].Count, 6) << "a draw without neighbours adds the value 1 six times";
    values.clear();
    seql->CombValues(MakeComb({1, 2, 10, 11, 30, 31}), values);
    ASSERT_EQ(values.size(), 1u);
    EXPECT_EQ(values[0].Count, 3);
}

TEST(SequenceMethodsTest, DrawsInDrawingOrderAndSorted) {
    test::TMethodProbe probe;
    probe.Archive.Append(test::MakeStatDraw(7, {21, 40, 6, 5, 4, 20}));
    probe.Archive.Append(test::MakeStatDraw(8, {4, 5, 6, 20, 21, 40}));
    EXPECT_EQ(probe.DrawTexts(QStringLiteral("SEQL"), 0, 1), Texts({"1"}));
    EXPECT_EQ(probe.DrawTexts(QStringLiteral("SEQL"), 0, 1, true), Texts({"3", "2", "1"}));
    EXPECT_EQ(probe.DrawTexts(QStringLiteral("LENS"), 0, 1), Texts({"1"}));
    EXPECT_EQ(probe.DrawTexts(QStringLiteral("LENS"), 0, 1, true), Texts({"3"}));
    EXPECT_EQ(probe.DrawTexts(QStringLiteral("SEQS"), 0, 1, true), Texts({"2"}));
    // The graph of the draw in drawing order: 6 5 4 goes down.
    auto lens = probe.Stat(QStringLiteral("LENS"));
    EXPECT_EQ(static_cast<TCustomGraphStat &>(*lens).DrawGraphValue(0, 1, false), 3);
    EXPECT_EQ(static_cast<TCustomGraphStat &>(*lens).DrawGraphValue(1, 1, false), 3);
}

} // namespace
} // namespace lot
