// The combination value methods: their class operations and parameters,
// the tuples in the order of their positions, draws in drawing order that no
// generated combination can match, a filter of one neighbouring pair over
// the full set, and the tuple matcher with bytes outside the numbers.

#include "stats/methods/CombValueMethods.h"
#include "StatsTestUtil.h"

#include <gtest/gtest.h>

namespace lot {
namespace {

using test::MakeComb;
using test::Texts;

TEST(CombValueMethodsTest, ClassOperationsAndParameters) {
    struct TCase {
        const char *Code, *ClassName, *Caption, *Help;
    };
    const TCase cases[] = {
        {"KNM2", "TstCombValMix2", "Сочетания из 2 чисел по всем числам тиража", "KNM2"},
        {"KNM3", "TstCombValMix3", "Сочетания из 3 чисел по всем числам тиража", "KNM3"},
        {"KNM4", "TstCombValMix4", "Сочетания из 4 чисел по всем числам тиража", "KNM4"},
        {"KNS2", "TstCombValSeq2", "Сочетания из 2 соседних чисел тиража", "KNS2"},
        {"KNS3", "TstCombValSeq3", "Сочетания из 3 соседних чисел тиража", "KNS3"},
        {"KNS4", "TstCombValSeq4", "Сочетания из 4 соседних чисел тиража", "KNS4"},
        {"KNP21", "TstCombValPos2", "Сочетания из 2-х чисел тиража начиная с 1 позиции", "KNP2"},
        {"KNP25", "TstCombValPos2", "Сочетания из 2-х чисел тиража начиная с 5 позиции", "KNP2"},
        {"KNP31", "TstCombValPos3", "Сочетания из 3-х чисел тиража начиная с 1 позиции", "KNP3"},
        {"KNP34", "TstCombValPos3", "Сочетания из 3-х чисел тиража начиная с 4 позиции", "KNP3"},
        {"KNP41", "TstCombValPos4", "Сочетания из 4-х чисел тиража начиная с 1 позиции", "KNP4"},
        {"KNP43", "TstCombValPos4", "Сочетания из 4-х чисел тиража начиная с 3 позиции", "KNP4"},
    };
    test::TMethodProbe probe;
    for (const TCase &c : cases) {
        const int i = probe.List.FindEntry(QString::fromLatin1(c.Code));
        ASSERT_GE(i, 0) << c.Code;
        const TStatMethod &m = probe.List.Items(i);
        EXPECT_STREQ(m.StatClass->ClassName(), c.ClassName);
        EXPECT_EQ(m.StatClass->Group(), 0) << c.Code;
        EXPECT_EQ(probe.List.EntryCaption(i), QString::fromUtf8(c.Caption)) << c.Code;
        EXPECT_EQ(FlagLetters(m.StatClass->FullFlags()), QStringLiteral("S")) << c.Code;
        EXPECT_FALSE(m.StatClass->AllowsValueList()) << c.Code;
        EXPECT_FALSE(m.StatClass->CanPrefetch()) << c.Code;
        EXPECT_EQ(m.StatClass->HelpTopic(m.Param), QString::fromLatin1(c.Help)) << c.Code;
        EXPECT_TRUE(probe.ListedTexts(QString::fromLatin1(c.Code)).isEmpty()) << c.Code;
        EXPECT_EQ(probe.Stat(QString::fromLatin1(c.Code))->ParseValue(QStringLiteral("1:2")), 0);
    }
    QStringList codes;
    for (int i = 0; i < probe.List.Count(); ++i)
        if (probe.List.EntryCode(i).startsWith(QLatin1String("KNP"))) codes << probe.List.EntryCode(i);
    EXPECT_EQ(codes.join(','), QStringLiteral("KNP21,KNP22,KNP23,KNP24,KNP25,KNP31,KNP32,KNP33,KNP34,"
                                              "KNP41,KNP42,KNP43"));
    EXPECT_EQ(probe.List.FindEntry(QStringLiteral("KNM2")) + 11,
              probe.List.FindEntry(QStringLiteral("KNP31")))
        << "KNM2..4, KNS2..4, then KNP21..25";
    EXPECT_EQ(probe.List.FindEntry(QStringLiteral("KNP43")) + 1,
              probe.List.FindEntry(QStringLiteral("KDS2")));
}

TEST(CombValueMethodsTest, TuplesInTheOrderOfTheirPositions) {
    test::TMethodProbe probe;
    const TComb c = MakeComb({5, 9, 14, 22, 31, 40});
    struct TCase {
        const char *Code;
        int Count;
        const char *First, *Last;
    };
    const TCase cases[] = {
        {"KNM2", 15, "5:9", "31:40"},
        {"KNM3", 20, "5:9:14", "22:31:40"},
        {"KNM4", 15, "5:9:14:22", "14:22:31:40"},
        {"KNS2", 5, "5:9", "31:40"},
        {"KNS3", 4, "5:9:14", "22:31:40"},
        {"KNS4", 3, "5:9:14:22", "14:22:31:40"},
        {"KNP23", 1, "14:22", "14:22"},
        {"KNP25", 1, "31:40", "31:40"},
        {"KNP32", 1, "9:14:22", "9:14:22"},
        {"KNP43", 1, "14:22:31:40", "14:22:31:40"},
    };
    for (const TCase &k : cases) {
        const QStringList texts = probe.CombTexts(QString::fromLatin1(k.Code), c);
        ASSERT_EQ(texts.size(), k.Count) << k.Code;
        EXPECT_EQ(texts.front(), QString::fromLatin1(k.First)) << k.Code;
        EXPECT_EQ(texts.back(), QString::fromLatin1(k.Last)) << k.Code;
    }
    EXPECT_EQ(probe.CombTexts(QStringLiteral("KNM3"), c).mid(0, 5),
              Texts({"5:9:14", "5:9:22", "5:9:31", "5:9:40", "5:14:22"}));
    EXPECT_EQ(probe.CombTexts(QStringLiteral("KNM4"), c).mid(0, 4),
              Texts({"5:9:14:22", "5:9:14:31", "5:9:14:40", "5:9:22:31"}));
}

TEST(CombValueMethodsTest, DrawingOrderGivesPairsThatGoDown) {
    test::TMethodProbe probe;
    probe.Archive.Append(test::MakeStatDraw(1, {30, 12, 7, 41, 2, 19}));
    EXPECT_EQ(probe.DrawTexts(QStringLiteral("KNM2"), 0, 0).front(), QStringLiteral("30:12"));
    EXPECT_EQ(probe.DrawTexts(QStringLiteral("KNM2"), 0, 0, true).front(), QStringLiteral("2:7"));
    EXPECT_EQ(probe.DrawTexts(QStringLiteral("KNP24"), 0, 0), Texts({"41:2"}));
    EXPECT_EQ(probe.DrawTexts(QStringLiteral("KNP24"), 0, 0, true), Texts({"19:30"}));

    // The pair 30:12 of the draw: no ascending combination has it.
    auto knm2 = probe.Stat(QStringLiteral("KNM2"));
    TStatDrawArray selected;
    TStatDraw v;
    v.Key = TStatKey::FromWords(30, 12);
    selected.push_back(v);
    EXPECT_FALSE(knm2->CombMatches(MakeComb({1, 12, 20, 30, 40, 45}), selected, 0, false, false));
    EXPECT_TRUE(knm2->CombMatches(MakeComb({30, 12, 20, 31, 40, 45}), selected, 0, false, false));
}

TEST(CombValueMethodsTest, ANeighbouringPairKeepsTheCombinationsHoldingIt) {
    test::TMethodProbe probe;
    auto kns2 = probe.Stat(QStringLiteral("KNS2"));
    TStatDrawArray selected(1);
    selected[0].Key = TStatKey::FromWords(1, 2);
    const auto matcher = kns2->MakeMatcher(selected, 0, false, false);
    int64_t kept = 0, both = 0;
    TComb c;
    for (c[0] = 1; c[0] <= 40; ++c[0])
        for (c[1] = c[0] + 1; c[1] <= 41; ++c[1])
            for (c[2] = c[1] + 1; c[2] <= 42; ++c[2])
                for (c[3] = c[2] + 1; c[3] <= 43; ++c[3])
                    for (c[4] = c[3] + 1; c[4] <= 44; ++c[4])
                        for (c[5] = c[4] + 1; c[5] <= 45; ++c[5]) {
                            const bool match = matcher->Matches(c);
                            kept += match;
                            both += match && c[0] == 1 && c[1] == 2;
                        }
    // An ascending combination holding 1 and 2 has them at positions 1 and 2.
    EXPECT_EQ(kept, 123410) << "C(43, 4)";
    EXPECT_EQ(both, kept);
    EXPECT_FALSE(kns2->CombMatches(MakeComb({1, 3, 2, 10, 11, 12}), selected, 0, false, false));
    EXPECT_TRUE(kns2->CombMatches(MakeComb({3, 1, 2, 10, 11, 12}), selected, 0, false, false));
}

TEST(CombValueMethodsTest, TupleMatcherWithBytesOutsideTheNumbers) {
    test::TMethodProbe probe;
    for (const char *code : {"KNM2", "KNM3", "KNM4", "KNS2", "KNS4", "KGM3", "KCM2"}) {
        auto stat = probe.Stat(QString::fromLatin1(code));
        TStatDrawArray selected;
        stat->CombValues(MakeComb({200, 1, 64, 2, 63, 3}), selected);
        stat->CombValues(MakeComb({7, 8, 9, 10, 11, 12}), selected);
        const TComb probes[] = {MakeComb({200, 1, 64, 2, 63, 3}),  MakeComb({200, 1, 64, 2, 62, 3}),
                                MakeComb({7, 8, 9, 10, 11, 12}),   MakeComb({7, 8, 9, 10, 11, 250}),
                                MakeComb({72, 1, 128, 2, 127, 3}), MakeComb({0, 0, 0, 0, 0, 0})};
        for (bool fast : {true, false}) {
            probe.List.SetFastPaths(fast);
            const auto matcher = stat->MakeMatcher(selected, 0, false, false);
            probe.List.SetFastPaths(true);
            for (const TComb &c : probes)
                EXPECT_EQ(matcher->Matches(c), stat->CombMatches(c, selected, 0, false, false))
                    << code << " " << CombToText(c).toStdString() << (fast ? " fast" : "");
        }
        // A byte 64 above another is not that byte: 72 is not 8 for the table.
        EXPECT_TRUE(stat->CombMatches(MakeComb({200, 1, 64, 2, 63, 3}), selected, 0, false, false)) << code;
    }
}

} // namespace
} // namespace lot
