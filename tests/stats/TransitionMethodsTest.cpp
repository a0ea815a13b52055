// The transition methods: their class operations, order and parameter
// ranges, the earlier draws they compare with the reference draw, the
// oldest draws that have none, the counts they list in advance, and the
// filters: any number of a combination for the pairs, the channel of the
// reference draw's number for the failures and counts inside channels.

#include "stats/methods/TransitionMethods.h"
#include "StatsTestUtil.h"

#include <gtest/gtest.h>

namespace lot {
namespace {

using test::MakeComb;
using test::MakeStatDraw;
using test::Texts;

TEST(TransitionMethodsTest, ClassOperationsInRegistrationOrder) {
    struct TCase {
        const char *Code, *ClassName, *Caption, *Flags, *Help;
    };
    // The first entry of each class with the default settings.
    const TCase cases[] = {
        {"SDV2", "TstChainValues2", "Переходы чисел между 2 тиражами без учета позиции", "D", "SDV2"},
        {"SDP2", "TstChainValues2Pos", "Переходы чисел между 2 тиражами с учетом позиции", "SD", "SDP2"},
        {"SDN1", "TstChainValues2At", "Переходы чисел между 2 тиражами в 1 позиции", "SD", "SDNx"},
        {"SDP3", "TstChainValues3Pos", "Переходы чисел между 3 тиражами с учетом позиции", "SD", "SDP3"},
        {"SDM1", "TstChainValues3At", "Переходы чисел между 3 тиражами в 1 позиции", "SD", "SDMx"},
        {"SCV2", "TstChainChannels2", "Переходы каналов между 2 тиражами без учета позиции", "D", "SCV2"},
        {"SCP2", "TstChainChannels2Pos", "Переходы каналов между 2 тиражами с учетом позиции", "SD", "SCP2"},
        {"SCN1", "TstChainChannels2At", "Переходы каналов между 2 тиражами в 1 позиции", "SD", "SCNx"},
        {"SCP3", "TstChainChannels3Pos", "Переходы каналов между 3 тиражами с учетом позиции", "SD", "SCP3"},
        {"SCM1", "TstChainChannels3At", "Переходы каналов между 3 тиражами в 1 позиции", "SD", "SCMx"},
        {"SC2C1", "TstChainChannels2Cnt", "Переходы кол-ва чисел в 1 канале между 2 тиражами", "D", "SC2Cx"},
        {"SC3C1", "TstChainChannels3Cnt", "Переходы кол-ва чисел в 1 канале между 3 тиражами", "D", "SC3Cx"},
        {"SDA2", "TstChainChannels2InsideAll", "Переходы чисел в пределах каналов (все)", "D", "SDA2"},
        {"SDG2", "TstChainChannels2InsideSuc", "Переходы чисел в пределах каналов (N-M, удачные)", "D",
         "SDG2"},
        {"SDZ2", "TstChainChannels2InsideBad", "Переходы чисел в пределах каналов (N-0, не удачные)", "D",
         "SDZ2"},
        {"SDC2", "TstChainChannels2InsideCnt", "Переходы чисел в пределах каналов (количество)", "D", "SDC2"},
        {"SSV2", "TstChainSegments2", "Переходы сегментов между 2 тиражами без учета позиции", "D", "SSV2"},
        {"SSP2", "TstChainSegments2Pos", "Переходы сегментов между 2 тиражами с учетом позиции", "SD",
         "SSP2"},
        {"SSN1", "TstChainSegments2At", "Переходы сегментов между 2 тиражами в 1 позиции", "SD", "SSNx"},
        {"SSP3", "TstChainSegments3Pos", "Переходы сегментов между 3 тиражами с учетом позиции", "SD",
         "SSP3"},
        {"SSM1", "TstChainSegments3At", "Переходы сегментов между 3 тиражами в 1 позиции", "SD", "SSMx"},
        {"SS2C1", "TstChainSegments2Cnt", "Переходы кол-ва чисел в 1 сегменте между 2 тиражами", "D",
         "SS2Cx"},
        {"SS3C1", "TstChainSegments3Cnt", "Переходы кол-ва чисел в 1 сегменте между 3 тиражами", "D",
         "SS3Cx"},
    };
    test::TMethodProbe probe;
    int previous = probe.List.FindEntry(QStringLiteral("PRDG"));
    ASSERT_GT(previous, 0);
    for (const TCase &c : cases) {
        const int i = probe.List.FindEntry(QString::fromLatin1(c.Code));
        ASSERT_GT(i, previous) << c.Code << " in its place";
        previous = i;
        const TStatClass &cls = *probe.List.Items(i).StatClass;
        EXPECT_STREQ(cls.ClassName(), c.ClassName);
        EXPECT_EQ(cls.Group(), 10) << c.Code;
        EXPECT_EQ(probe.List.EntryCaption(i), QString::fromUtf8(c.Caption)) << c.Code;
        EXPECT_EQ(FlagLetters(cls.FullFlags()), QString::fromLatin1(c.Flags)) << c.Code;
        EXPECT_FALSE(cls.AllowsValueList()) << c.Code;
        EXPECT_EQ(cls.HelpTopic(1), QString::fromLatin1(c.Help)) << c.Code;
    }
    EXPECT_EQ(probe.List.EntryCode(previous + 1), QStringLiteral("HCO1"));
    EXPECT_EQ(probe.List.EntryCaption(probe.List.FindEntry(QStringLiteral("SDN4"))),
              QString::fromUtf8("Переходы чисел между 2 тиражами в 4 позиции"));
    EXPECT_EQ(TstChainChannels2InsideBad::InsideKind(), 2);
    EXPECT_EQ(TstChainChannels2InsideCnt::InsideKind(), 3);
}

TEST(TransitionMethodsTest, ParameterRangesFollowTheSettings) {
    const auto codes = [](const test::TMethodProbe &probe, const char *prefix) {
        QStringList found;
        for (int i = 0; i < probe.List.Count(); ++i)
            if (probe.List.EntryCode(i).startsWith(QLatin1String(prefix))) found << probe.List.EntryCode(i);
        return found.join(QLatin1Char(','));
    };
    test::TMethodProbe probe(5, 10);
    EXPECT_EQ(codes(probe, "SDM"), QStringLiteral("SDM1,SDM2,SDM3,SDM4,SDM5,SDM6"));
    EXPECT_EQ(codes(probe, "SC2C"), QStringLiteral("SC2C1,SC2C2,SC2C3,SC2C4,SC2C5"));
    EXPECT_EQ(codes(probe, "SS3C"), QStringLiteral("SS3C1"));
    probe.SetSettings(5, 0);
    EXPECT_EQ(codes(probe, "SC2C"), QString()) << "no channels, no entries";
    EXPECT_EQ(codes(probe, "SC3C"), QString());
    TConfigData config = probe.List.Config();
    for (int n = 1; n <= NumberCount; ++n)
        config.MatrixSegments[size_t(n - 1)] = uint8_t(n <= 20 ? 2 : 4);
    probe.List.SetConfig(config);
    probe.List.RegisterAll();
    EXPECT_EQ(codes(probe, "SS2C"), QStringLiteral("SS2C2,SS2C3,SS2C4"));
}

/// Five draws, oldest first (numbers 1..5).
void FillChainArchive(TDrawsArchive &archive) {
    archive.Append(MakeStatDraw(1, {3, 12, 20, 31, 40, 45}));
    archive.Append(MakeStatDraw(2, {5, 12, 23, 30, 38, 1}));
    archive.Append(MakeStatDraw(3, {6, 14, 24, 35, 41, 9}));
    archive.Append(MakeStatDraw(4, {3, 12, 20, 31, 40, 45}));
    archive.Append(MakeStatDraw(5, {5, 12, 23, 31, 38, 44}));
}

TEST(TransitionMethodsTest, EarlierDrawsLikeTheReferenceDraw) {
    test::TMethodProbe probe;
    FillChainArchive(probe.Archive);
    struct TCase {
        const char *Code;
        int Index;
        bool Sorted;
        std::vector<const char *> Values;
    };
    const TCase cases[] = {
        // Entry 1 follows entry 0, which shares 12 and 31 with the reference
        // draw (entry 4) and 12 at the same position.
        {"SDV2", 2, false, {"5 -> 6",  "5 -> 14",  "5 -> 24",  "5 -> 35",  "5 -> 41",  "5 -> 9",
                            "12 -> 6", "12 -> 14", "12 -> 24", "12 -> 35", "12 -> 41", "12 -> 9",
                            "23 -> 6", "23 -> 14", "23 -> 24", "23 -> 35", "23 -> 41", "23 -> 9",
                            "38 -> 6", "38 -> 14", "38 -> 24", "38 -> 35", "38 -> 41", "38 -> 9"}},
        {"SDP2", 1, false, {"12 -> 12", "31 -> 30"}},
        {"SDP2", 2, false, {"5 -> 6", "12 -> 14", "23 -> 24", "38 -> 41"}},
        // Entry 2 shares no number position by position with the reference draw.
        {"SDP2", 3, false, {}},
        {"SDN2", 2, false, {"12 -> 14"}},
        {"SDN4", 2, false, {}},
        // Entry 3 and 4: entries 0 and 1 are like entries 3 and 4 at positions 1-3 and 5.
        {"SDP3", 2, false, {"3-5 -> 6", "12-12 -> 14", "20-23 -> 24", "40-38 -> 41"}},
        {"SDM5", 2, false, {"40-38 -> 41"}},
        {"SCP2", 3, false, {"03 -> 03", "05 -> 04", "07 -> 07"}},
        {"SCP2", 2, false, {"01 -> 02", "03 -> 03", "05 -> 05", "08 -> 09"}},
        // Sorted, entry 1 reads 1 5 12 23 30 38 and the reference 5 12 23 31 38 44:
        // no number at its place, only the channel of the first.
        {"SDP2", 2, true, {}},
        {"SCP2", 2, true, {"01 -> 02"}},
        // Channel 3 (11..15): one number in entries 0, 1, 3, 4 and in entry 2.
        {"SC2C3", 2, false, {"1 -> 1"}},
        {"SC3C3", 2, false, {"1-1 -> 1"}},
        {"SC2C9", 1, false, {"1 -> 0"}},
    };
    for (const TCase &c : cases) {
        QStringList expected;
        for (const char *v : c.Values)
            expected << QString::fromUtf8(v);
        EXPECT_EQ(probe.DrawTexts(QString::fromLatin1(c.Code), c.Index, 4, c.Sorted), expected)
            << c.Code << " entry " << c.Index << (c.Sorted ? " sorted" : "");
    }
}

TEST(TransitionMethodsTest, TheOldestDrawHasNoTransition) {
    test::TMethodProbe probe;
    FillChainArchive(probe.Archive);
    int members = 0;
    for (int i = 0; i < probe.List.Count(); ++i) {
        if (probe.List.Items(i).StatClass->Group() != 10) continue;
        ++members;
        const QString code = probe.List.EntryCode(i);
        EXPECT_TRUE(probe.DrawTexts(code, 0, 4).isEmpty()) << code.toStdString();
        if (probe.List.EntryCaption(i).contains(QString::fromUtf8("между 3 тиражами"))) {
            EXPECT_TRUE(probe.DrawTexts(code, 1, 4).isEmpty()) << code.toStdString() << ": two earlier draws";
        }
    }
    EXPECT_EQ(members, 69);
}

TEST(TransitionMethodsTest, CountMembersListEveryCountOfTheReferenceDraw) {
    test::TMethodProbe probe;
    FillChainArchive(probe.Archive);
    // The reference draw has one number in channel 3 (12); in channel 1 it
    // has one (5), and so has the draw before it (3).
    EXPECT_EQ(probe.ListedTexts(QStringLiteral("SC2C3")),
              Texts({"1 -> 0", "1 -> 1", "1 -> 2", "1 -> 3", "1 -> 4", "1 -> 5"}));
    EXPECT_EQ(probe.ListedTexts(QStringLiteral("SC3C1")),
              Texts({"1-1 -> 0", "1-1 -> 1", "1-1 -> 2", "1-1 -> 3", "1-1 -> 4", "1-1 -> 5"}));
    EXPECT_TRUE(probe.ListedTexts(QStringLiteral("SDV2")).isEmpty());
}

TEST(TransitionMethodsTest, PairsMatchAnyNumberOfTheCombination) {
    // 12 -> 30 keeps every combination holding 30, whatever the reference draw.
    for (const int ref : {0, 2, 4}) {
        test::TMethodProbe probe;
        FillChainArchive(probe.Archive);
        auto stat = probe.Stat(QStringLiteral("SDV2"));
        TStatDrawArray selected(1);
        selected[0].Key = TStatKey::FromWords(12, 30);
        for (const TComb &c : {MakeComb({30, 1, 2, 3, 4, 5}), MakeComb({1, 2, 3, 4, 5, 30})}) {
            EXPECT_TRUE(stat->CombMatches(c, selected, ref, false, false)) << ref;
            EXPECT_TRUE(stat->MakeMatcher(selected, ref, false, false)->Matches(c)) << ref;
        }
        EXPECT_FALSE(stat->CombMatches(MakeComb({12, 1, 2, 3, 4, 5}), selected, ref, false, false)) << ref;
    }
}

TEST(TransitionMethodsTest, InsideChannelsMatchByTheReferenceDrawsNumbers) {
    test::TMethodProbe probe; // channels of 5
    FillChainArchive(probe.Archive);
    struct TCase {
        const char *Code;
        int W1, W2;
        std::array<int, 6> Comb;
        bool Matches;
    };
    // The reference draw (entry 4) is 5 12 23 31 38 44.
    const TCase cases[] = {
        {"SDA2", 12, 14, {14, 1, 2, 3, 4, 6}, true},  // a continuation: the number itself
        {"SDA2", 12, 14, {13, 1, 2, 3, 4, 6}, false}, // another number of the channel is not it
        {"SDA2", 12, 0, {13, 1, 2, 3, 4, 6}, true},   // a failure: any number of the channel
        {"SDA2", 12, 0, {20, 1, 2, 3, 4, 6}, false},  // outside the channel of 12
        {"SDG2", 13, 14, {14, 1, 2, 3, 4, 6}, false}, // 13 is not in the reference draw
        {"SDC2", 31, 2, {33, 1, 2, 3, 4, 6}, true},   // a count: any number of the channel
        {"SDC2", 31, 2, {36, 1, 2, 3, 4, 6}, false},  // 36 lies in the next channel
        {"SDZ2", 44, 0, {41, 20, 21, 22, 24, 25}, true},
    };
    for (const TCase &c : cases) {
        auto stat = probe.Stat(QString::fromLatin1(c.Code));
        TStatDrawArray selected(1);
        selected[0].Key = TStatKey::FromWords(uint16_t(c.W1), uint16_t(c.W2));
        const TComb comb = MakeComb(c.Comb);
        EXPECT_EQ(stat->CombMatches(comb, selected, 4, false, false), c.Matches)
            << c.Code << " " << c.W1 << " -> " << c.W2;
        EXPECT_EQ(stat->MakeMatcher(selected, 4, false, false)->Matches(comb), c.Matches) << c.Code;
    }
}

} // namespace
} // namespace lot
