#include "stats/StatValues.h"
#include "StatsTestUtil.h"

#include <gtest/gtest.h>
#include <QSet>

#include <algorithm>
#include <cstring>
#include <unordered_set>

namespace lot {
namespace {

TEST(StatKeyTest, ViewsShareTheBytesLittleEndian) {
    TStatKey k = TStatKey::FromWords(0x0201, 0x0403, 0x0605, 0x0807);
    for (int i = 1; i <= 8; ++i)
        EXPECT_EQ(k.Byte(i), i) << i;
    EXPECT_EQ(k.D(1), 0x04030201);
    EXPECT_EQ(k.D(2), 0x08070605);

    k.SetD(2, -1);
    EXPECT_EQ(k.W(3), 0xFFFF);
    EXPECT_EQ(k.W(4), 0xFFFF);
    EXPECT_EQ(k.W(1), 0x0201);
    k.SetByte(1, 0xAA);
    EXPECT_EQ(k.W(1), 0x02AA);

    // The byte image is the prefetch file's key layout.
    const uint8_t image[8] = {0x2A, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(std::memcmp(TStatKey::FromInts(42).B, image, 8), 0);
}

TEST(StatKeyTest, OrderIsByUnsignedWordsOneToFour) {
    std::vector<TStatKey> keys = {
        TStatKey::FromWords(2, 0),       TStatKey::FromWords(1, 0xFFFF), TStatKey::FromWords(0xFFFF),
        TStatKey::FromWords(1, 1, 0, 5), TStatKey::FromWords(1, 1, 1),   TStatKey::FromInts(-1),
    };
    std::sort(keys.begin(), keys.end());
    const std::vector<TStatKey> expected = {
        TStatKey::FromWords(1, 1, 0, 5), TStatKey::FromWords(1, 1, 1), TStatKey::FromWords(1, 0xFFFF),
        TStatKey::FromWords(2, 0),       TStatKey::FromWords(0xFFFF),  TStatKey::FromInts(-1), // w1=w2=0xFFFF
    };
    EXPECT_EQ(keys, expected);
    EXPECT_NE(TStatKey::FromWords(1), TStatKey::FromWords(1, 0, 0, 1));
}

TEST(StatKeyTest, HashesAgreeWithEquality) {
    std::unordered_set<TStatKey> std;
    QSet<TStatKey> qt;
    for (int w1 = 0; w1 < 50; ++w1)
        for (int w4 = 0; w4 < 3; ++w4) {
            std.insert(TStatKey::FromWords(uint16_t(w1), 0, 0, uint16_t(w4)));
            qt.insert(TStatKey::FromWords(uint16_t(w1), 0, 0, uint16_t(w4)));
        }
    EXPECT_EQ(std.size(), 150u);
    EXPECT_EQ(qt.size(), 150);
    EXPECT_TRUE(std.count(TStatKey::FromInts(7)));
    EXPECT_TRUE(qt.contains(TStatKey::FromWords(7, 0, 0, 2)));
    EXPECT_FALSE(qt.contains(TStatKey::FromWords(7, 2)));
}

TStatDraw Occurrence(int key, int drawNumber, int depth, int count = 1) {
    TStatDraw v;
    v.Key = TStatKey::FromWords(uint16_t(key));
    v.LastDraw = drawNumber;
    v.PrevDraw = drawNumber;
    v.Depth = depth;
    v.Count = count;
    return v;
}

TEST(AddValueTest, MergesByKeyAndKeepsTheNewestOccurrence) {
    TStatDrawArray values;
    AddValue(values, Occurrence(5, 10, 7), true);
    AddValue(values, Occurrence(6, 11, 6), true);
    AddValue(values, Occurrence(5, 14, 3), true);
    ASSERT_EQ(values.size(), 2u);
    EXPECT_EQ(values[0].Count, 2);
    EXPECT_EQ(values[0].Depth, 3);
    EXPECT_EQ(values[0].LastDraw, 14);
    EXPECT_EQ(values[0].PrevDraw, 14);

    // A larger depth keeps the smaller one and its draw.
    AddValue(values, Occurrence(5, 12, 9), false);
    EXPECT_EQ(values[0].Depth, 3);
    EXPECT_EQ(values[0].LastDraw, 14);
    EXPECT_EQ(values[0].PrevDraw, 12) << "the draw processed last, whatever its depth";
    EXPECT_EQ(values[0].Count, 3);
}

TEST(AddValueTest, ListedValueTakesTheDepthOfItsFirstOccurrence) {
    TStatDrawArray values;
    AddValue(values, Occurrence(5, 0, 0, 0), false); // listed in advance
    AddValue(values, Occurrence(5, 20, 4), true);
    EXPECT_EQ(values[0].Depth, 4);
    EXPECT_EQ(values[0].LastDraw, 20);
    EXPECT_EQ(values[0].Count, 1);
    EXPECT_EQ(values[0].PeriodMin, 0) << "no period before the second occurrence";

    // An addition without a depth never replaces a known one.
    AddValue(values, Occurrence(5, 0, 0, 0), false);
    EXPECT_EQ(values[0].Depth, 4);
}

TEST(AddValueTest, PeriodsAreDistancesBetweenConsecutiveOccurrences) {
    struct TStep {
        int DrawNumber;
        int PeriodMin, PeriodMax;
    };
    // Draw 10 twice (a digit occurring twice in one draw): distance 0 is
    // "not set" and the next non-zero distance replaces it.
    const TStep steps[] = {{10, 0, 0},  {10, 0, 0},  {15, 5, 5}, {17, 2, 5},
                           {27, 2, 10}, {27, 0, 10}, {28, 1, 10}};
    TStatDrawArray values;
    int depth = 100;
    for (const TStep &s : steps) {
        AddValue(values, Occurrence(1, s.DrawNumber, depth--), true);
        EXPECT_EQ(values[0].PeriodMin, s.PeriodMin) << s.DrawNumber;
        EXPECT_EQ(values[0].PeriodMax, s.PeriodMax) << s.DrawNumber;
    }

    // Without tracking nothing is measured, but PrevDraw still follows.
    TStatDrawArray plain;
    AddValue(plain, Occurrence(1, 10, 2), false);
    AddValue(plain, Occurrence(1, 30, 1), false);
    EXPECT_EQ(plain[0].PeriodMax, 0);
    EXPECT_EQ(plain[0].PrevDraw, 30);
}

TEST(AddValueTest, LongDistancesSaturateInsteadOfWrapping) {
    TStatDrawArray values;
    AddValue(values, Occurrence(1, 1, 2), true);
    AddValue(values, Occurrence(1, 70001, 1), true);
    EXPECT_EQ(values[0].PeriodMin, 0xFFFF);
    EXPECT_EQ(values[0].PeriodMax, 0xFFFF);
}

TEST(AddValueTest, TheIndexFindsWhatTheScanFinds) {
    // Two thousand additions of a few hundred keys, some with a period of 0
    // (twice in one draw), some added past the index by AddValue itself: the
    // list is the one plain AddValue gives, element for element.
    TStatDrawArray plain, indexed;
    TValueIndex index(indexed);
    TStatDrawArray other; // a list the index was not made for
    for (int i = 0; i < 2000; ++i) {
        TStatDraw v;
        v.LastDraw = v.PrevDraw = 1000 + i / 3;
        v.Depth = 700 - i / 3;
        v.Count = 1;
        v.Key = TStatKey::FromWords(uint16_t(i * 7919 % 311), uint16_t(i % 2), 0, uint16_t(i % 3 == 0));
        AddValue(plain, v, true);
        if (i % 97 == 0)
            AddValue(indexed, v, true);
        else
            AddValueAt(indexed, index.Find(indexed, v.Key), v, true);
        EXPECT_EQ(index.Find(other, v.Key), -1);
    }
    ASSERT_EQ(indexed.size(), plain.size());
    ASSERT_GT(plain.size(), 300u);
    EXPECT_EQ(std::memcmp(indexed.data(), plain.data(), plain.size() * sizeof(TStatDraw)), 0);
    // A list that shrank is scanned again.
    indexed.resize(10);
    EXPECT_EQ(index.Find(indexed, plain[5].Key), 5);
    EXPECT_EQ(index.Find(indexed, plain[50].Key), -1);
}

TEST(KeySearchTest, EachSearchLooksAtItsOwnView) {
    TStatDrawArray selected(2);
    selected[0].Key = TStatKey::FromWords(7, 8, 9, 10);
    selected[1].Key = TStatKey::FromInts(-5, 300);

    EXPECT_TRUE(FindKey(selected, TStatKey::FromWords(7, 8, 9, 10)));
    EXPECT_FALSE(FindKey(selected, TStatKey::FromWords(7, 8, 9)));
    EXPECT_TRUE(FindKeyW1W3(selected, 7, 9));
    EXPECT_FALSE(FindKeyW1W3(selected, 7, 8));
    EXPECT_TRUE(FindWord(selected, 4, 10));
    EXPECT_TRUE(FindWord(selected, 3, 300));
    EXPECT_FALSE(FindWord(selected, 1, 8));
    EXPECT_TRUE(FindByte(selected, 3, 8));
    EXPECT_TRUE(FindByte(selected, 1, 0xFB)); // low byte of -5
    EXPECT_TRUE(FindInt(selected, 1, -5));
    EXPECT_TRUE(FindInt(selected, 2, 300));
    EXPECT_FALSE(FindInt(selected, 1, 300));
    // Positions outside a view never hit instead of reading past the key.
    EXPECT_FALSE(FindWord(selected, 5, 0));
    EXPECT_FALSE(FindByte(selected, 0, 7));
    EXPECT_FALSE(FindInt(selected, 3, 0));
}

TEST(SimpleValuesTest, AddsCountsAndSortsByKey) {
    TStatSimpleArray items;
    AddSimpleValue(items, 5, 1);
    AddSimpleValue(items, 2, 3);
    AddSimpleValue(items, 5, 2);
    AddSimpleValue(items, 5, -4); // non-positive: unchanged
    AddSimpleValue(items, 9, 0);  // new key: appended as given
    ASSERT_EQ(items.size(), 3u);
    EXPECT_EQ(items[0].Count, 3);
    SortSimpleValues(items);
    EXPECT_EQ(items[0].Key, 2);
    EXPECT_EQ(items[1].Key, 5);
    EXPECT_EQ(items[2].Key, 9);
}

TEST(LastValuesTest, ReturnsTheDistanceToThePreviousOccurrence) {
    TLastValueArray last;
    EXPECT_EQ(RecordLastValue(last, TStatKey::FromWords(3), 100), -1);
    EXPECT_EQ(RecordLastValue(last, TStatKey::FromWords(4), 101), -1);
    EXPECT_EQ(RecordLastValue(last, TStatKey::FromWords(3), 104), 4);
    EXPECT_EQ(RecordLastValue(last, TStatKey::FromWords(3), 110), 6);
    EXPECT_EQ(last.size(), 2u);
}

TEST(GroupsTest, HeadingsShortNamesAndFlags) {
    EXPECT_EQ(GroupHeading(0), QStringLiteral("{ num } Числа тиража"));
    EXPECT_EQ(GroupHeading(12), QStringLiteral("{ shr } Методы шинковки"));
    EXPECT_EQ(GroupShortName(10), QStringLiteral("mov"));
    EXPECT_EQ(GroupHeading(13), QStringLiteral("#ERROR#"));
    EXPECT_EQ(GroupHeading(-1), QStringLiteral("#ERROR#"));
    EXPECT_EQ(FlagLetters(0x1F), QStringLiteral("SNDPG"));
    EXPECT_EQ(FlagLetters(sfGraph | sfPrefetch), QStringLiteral("NG"));
    EXPECT_EQ(FlagLetters(0), QString());
}

} // namespace
} // namespace lot
