// The channel methods: their class operations, the channels of the default
// size and of others, the registration that follows the channel size and
// bytes that lie in no channel.

#include "stats/methods/ChannelMethods.h"
#include "StatsTestUtil.h"

#include <gtest/gtest.h>

namespace lot {
namespace {

using test::MakeComb;
using test::Texts;

TEST(ChannelMethodsTest, ClassOperations) {
    struct TCase {
        const char *Code, *ClassName, *Caption, *Flags;
        bool ValueList;
    };
    const TCase cases[] = {
        {"CHAN", "TstChannels", "Каналы", "N", true},
        {"CHNV", "TstChanValues", "Количество чисел в канале", "N", false},
        {"CHNC", "TstChanCount", "Количество каналов в тираже", "NG", true},
        {"KCM2", "TstCombChnMix2", "Сочетания из 2 каналов по всем числам тиража", "S", false},
        {"KCM3", "TstCombChnMix3", "Сочетания из 3 каналов по всем числам тиража", "S", false},
        {"KCM4", "TstCombChnMix4", "Сочетания из 4 каналов по всем числам тиража", "S", false},
        {"KCS2", "TstCombChnSeq2", "Сочетания из 2 каналов по соседним числам", "S", false},
        {"KCS3", "TstCombChnSeq3", "Сочетания из 3 каналов по соседним числам", "S", false},
        {"KCS4", "TstCombChnSeq4", "Сочетания из 4 каналов по соседним числам", "S", false},
        {"CHN1", "TstChnValCnt", "Количество чисел в 1 канале", "NG", true},
        {"CHN9", "TstChnValCnt", "Количество чисел в 9 канале", "NG", true},
    };
    test::TMethodProbe probe;
    for (const TCase &c : cases) {
        const int i = probe.List.FindEntry(QString::fromLatin1(c.Code));
        ASSERT_GE(i, 0) << c.Code;
        const TStatClass &cls = *probe.List.Items(i).StatClass;
        EXPECT_STREQ(cls.ClassName(), c.ClassName);
        EXPECT_EQ(cls.Group(), 3) << c.Code;
        EXPECT_EQ(probe.List.EntryCaption(i), QString::fromUtf8(c.Caption)) << c.Code;
        EXPECT_EQ(FlagLetters(cls.FullFlags()), QString::fromLatin1(c.Flags)) << c.Code;
        EXPECT_EQ(cls.AllowsValueList(), c.ValueList) << c.Code;
    }
    EXPECT_EQ(TstChnValCnt::StaticClass().HelpTopic(4), QStringLiteral("CHNx"));
    EXPECT_EQ(TstChannels::StaticClass().HelpTopic(0), QStringLiteral("CHAN"));
}

TEST(ChannelMethodsTest, ChannelsOfFive) {
    test::TMethodProbe probe;
    const TComb c = MakeComb({1, 2, 3, 4, 5, 45});
    EXPECT_EQ(probe.CombTexts(QStringLiteral("CHAN"), c), Texts({"01 [1-5]", "09 [41-45]"}));
    EXPECT_EQ(probe.CombTexts(QStringLiteral("CHNC"), c), Texts({"2"}));
    EXPECT_EQ(probe.CombTexts(QStringLiteral("CHNV"), c),
              Texts({"01 [1-5] x 5", "02 [6-10] x 0", "03 [11-15] x 0", "04 [16-20] x 0", "05 [21-25] x 0",
                     "06 [26-30] x 0", "07 [31-35] x 0", "08 [36-40] x 0", "09 [41-45] x 1"}));
    EXPECT_EQ(probe.CombTexts(QStringLiteral("CHN1"), c), Texts({"5"}));
    EXPECT_EQ(probe.CombTexts(QStringLiteral("CHN9"), c), Texts({"1"}));
    EXPECT_EQ(probe.CombTexts(QStringLiteral("KCS2"), c), Texts({"1:1", "1:9"}));

    auto chan = probe.Stat(QStringLiteral("CHAN"));
    TStatDrawArray values;
    chan->CombValues(c, values);
    ASSERT_EQ(values.size(), 2u);
    EXPECT_EQ(values[0].Count, 5) << "channel 1 five times";
    EXPECT_EQ(values[0].Key.Byte(1), 1);
    EXPECT_EQ(chan->TextToValue(QStringLiteral("03 [11-15]")), 3);
    EXPECT_EQ(chan->TextToValue(QStringLiteral("7")), 7);
    EXPECT_EQ(chan->ParseValue(QStringLiteral("03 [11-15]")), 3);
}

TEST(ChannelMethodsTest, ListedValuesFollowTheChannelSize) {
    struct TCase {
        int Size;
        int Channels, ChannelValues;
        const char *LastChannel, *LastChannelValue, *Counts, *InChannel;
    };
    const TCase cases[] = {
        {5, 9, 54, "09 [41-45]", "09 [41-45] x 5", "1,2,3,4,5", "1,2,3,4,5"},
        {10, 5, 35, "05 [41-50]", "05 [41-50] x 6", "1,2,3,4,5,6", "1,2,3,4,5,6,7,8,9,10"},
        {3, 15, 60, "15 [43-45]", "15 [43-45] x 3", "1,2,3", "1,2,3"},
        {45, 1, 7, "01 [1-45]", "01 [1-45] x 6", "1,2,3,4,5,6", ""},
    };
    for (const TCase &c : cases) {
        test::TMethodProbe probe(5, c.Size);
        const QStringList channels = probe.ListedTexts(QStringLiteral("CHAN"));
        ASSERT_EQ(channels.size(), c.Channels) << c.Size;
        EXPECT_EQ(channels.back(), QString::fromUtf8(c.LastChannel)) << c.Size;
        const QStringList values = probe.ListedTexts(QStringLiteral("CHNV"));
        ASSERT_EQ(values.size(), c.ChannelValues) << c.Size;
        EXPECT_EQ(values.back(), QString::fromUtf8(c.LastChannelValue)) << c.Size;
        EXPECT_EQ(probe.ListedTexts(QStringLiteral("CHNC")).join(','), QString::fromLatin1(c.Counts))
            << c.Size;
        if (c.Size < 45) {
            EXPECT_EQ(probe.ListedTexts(QStringLiteral("CHN1")).join(','), QString::fromLatin1(c.InChannel));
        }
    }
}

TEST(ChannelMethodsTest, ChannelEntriesFollowTheChannelSize) {
    struct TCase {
        int Size;
        const char *Codes; ///< the CHN entries
    };
    const TCase cases[] = {
        {5, "CHN1,CHN2,CHN3,CHN4,CHN5,CHN6,CHN7,CHN8,CHN9"},
        {7, "CHN1,CHN2,CHN3,CHN4,CHN5,CHN6,CHN7"},
        {10, "CHN1,CHN2,CHN3,CHN4,CHN5"},
        {23, "CHN1,CHN2"},
        {45, "CHN1"},
        // Sizes the settings dialog does not give: no channels, no entries.
        {0, ""},
        {-3, ""},
        {46, ""},
    };
    for (const TCase &c : cases) {
        test::TMethodProbe probe(5, c.Size);
        QStringList codes;
        for (int i = 0; i < probe.List.Count(); ++i)
            if (probe.List.Items(i).StatClass == &TstChnValCnt::StaticClass())
                codes << probe.List.EntryCode(i);
        EXPECT_EQ(codes.join(','), QString::fromLatin1(c.Codes)) << c.Size;
    }
}

TEST(ChannelMethodsTest, TuplesAndRunsOfPositions) {
    test::TMethodProbe probe;
    struct TCase {
        const char *Code;
        int Keys;
    };
    const TCase cases[] = {{"KCM2", 15}, {"KCM3", 20}, {"KCM4", 15}, {"KCS2", 5}, {"KCS3", 4}, {"KCS4", 3}};
    const TComb c = MakeComb({1, 8, 15, 22, 29, 36});
    for (const TCase &t : cases) {
        auto stat = probe.Stat(QString::fromLatin1(t.Code));
        TStatKey keys[TCustomStat::MaxCombKeys];
        EXPECT_EQ(stat->CombKeys(c, keys), t.Keys) << t.Code;
    }
    // Positions 1 and 2 first, then 1 and 3, ..., 5 and 6.
    EXPECT_EQ(probe.CombTexts(QStringLiteral("KCM2"), c),
              Texts({"1:2", "1:3", "1:5", "1:6", "1:8", "2:3", "2:5", "2:6", "2:8", "3:5", "3:6", "3:8",
                     "5:6", "5:8", "6:8"}));
    EXPECT_EQ(probe.CombTexts(QStringLiteral("KCS3"), c), Texts({"1:2:3", "2:3:5", "3:5:6", "5:6:8"}));
    EXPECT_EQ(probe.CombTexts(QStringLiteral("KCM4"), MakeComb({45, 1, 2, 3, 4, 5})).first(),
              QStringLiteral("9:1:1:1"));
}

TEST(ChannelMethodsTest, BytesOutsideTheNumbersLieInNoChannel) {
    test::TMethodProbe probe;
    const TComb c = MakeComb({0, 1, 46, 255, 45, 7});
    EXPECT_EQ(probe.CombTexts(QStringLiteral("CHAN"), c), Texts({"01 [1-5]", "09 [41-45]", "02 [6-10]"}));
    EXPECT_EQ(probe.CombTexts(QStringLiteral("CHNC"), c), Texts({"3"}));
    EXPECT_EQ(probe.CombTexts(QStringLiteral("CHN1"), c), Texts({"1"}));
    EXPECT_EQ(probe.CombTexts(QStringLiteral("CHNV"), c).first(), QStringLiteral("01 [1-5] x 1"));
    EXPECT_EQ(probe.CombTexts(QStringLiteral("KCS2"), c).first(), QStringLiteral("0:1"));

    // Without channels nothing has a value, and nothing matches.
    probe.SetSettings(5, 0);
    TStatDrawArray any(1);
    any[0].Key = TStatKey::FromWords(0);
    for (const char *code : {"CHAN", "CHNV"}) {
        EXPECT_TRUE(probe.CombTexts(QString::fromLatin1(code), c).isEmpty()) << code;
        EXPECT_TRUE(probe.ListedTexts(QString::fromLatin1(code)).isEmpty()) << code;
        EXPECT_FALSE(probe.Stat(QString::fromLatin1(code))->CombMatches(c, any, 0, false, false)) << code;
    }
    EXPECT_EQ(probe.CombTexts(QStringLiteral("CHNC"), c), Texts({"0"}));
}

} // namespace
} // namespace lot
