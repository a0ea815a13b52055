// Number geometry, group colours, membership, sorting, counting, integer
// lists and segment maps.

#include "core/CoreHelpers.h"

#include <gtest/gtest.h>

#include <vector>

using namespace lot;

namespace {

TComb Comb(std::initializer_list<int> numbers) {
    TComb c;
    int i = 0;
    for (int n : numbers)
        c[i++] = uint8_t(n);
    return c;
}

TDrawRec Draw(std::initializer_list<int> main, std::initializer_list<int> extra = {1, 2}) {
    TDrawRec d;
    int i = 0;
    for (int n : main)
        d.Numbers[i++] = uint8_t(n);
    i = 0;
    for (int n : extra)
        d.Extra[i++] = uint8_t(n);
    return d;
}

// Qt 6.4 compares two empty QLists with memcmp on null pointers, which the
// sanitizer build reports; a vector compares the same values safely.
std::vector<int> ToVector(const QList<int> &values) {
    return {values.begin(), values.end()};
}

TNumberSet Set(std::initializer_list<int> numbers) {
    TNumberSet s;
    for (int n : numbers)
        s.Numbers[s.Count++] = uint8_t(n);
    return s;
}

} // namespace

TEST(Geometry, GroupsAndShifts) {
    EXPECT_EQ(NumberGroup(45, 5), 9);
    EXPECT_EQ(NumberGroup(1, 5), 1);
    EXPECT_EQ(NumberGroup(5, 5), 1);
    EXPECT_EQ(NumberGroup(6, 5), 2);
    EXPECT_EQ(NumberGroup(45, 2), 23);
    EXPECT_EQ(NumberGroup(0, 5), 0);
    EXPECT_EQ(NumberGroup(7, 0), 0); // no division by zero

    EXPECT_EQ(ShiftNumber(44, 3), 2);
    EXPECT_EQ(ShiftNumber(2, -3), 44);
    EXPECT_EQ(ShiftNumber(45, 0), 45);
    EXPECT_EQ(ShiftNumber(3, -3), 45);
    EXPECT_EQ(ShiftNumber(42, 3), 45);
    EXPECT_EQ(ShiftComb(Comb({44, 1, 20, 45, 2, 30}), 3), Comb({2, 4, 23, 3, 5, 33}));
}

TEST(Geometry, Matrix) {
    EXPECT_EQ(MatrixRows(7), 7);
    EXPECT_EQ(MatrixRows(9), 5);
    EXPECT_EQ(MatrixRows(45), 1);
    EXPECT_EQ(MatrixColumn(45, 7), 3);
    EXPECT_EQ(MatrixRow(45, 7), 7);
    EXPECT_EQ(MatrixColumn(1, 7), 1);
    EXPECT_EQ(MatrixRow(7, 7), 1);
    EXPECT_EQ(MatrixRow(8, 7), 2);
    // MatrixNumber is the inverse of row/column (zero-based there).
    for (int cols : {3, 7, 9, 10}) {
        for (int n = 1; n <= NumberCount; ++n)
            EXPECT_EQ(MatrixNumber(MatrixRow(n, cols) - 1, MatrixColumn(n, cols) - 1, cols), n);
    }
    EXPECT_EQ(MatrixRows(0), 0);
    EXPECT_EQ(MatrixColumn(5, 0), 0);
    EXPECT_EQ(MatrixRow(5, -1), 0);
}

TEST(Geometry, GroupColours) {
    const uint32_t red = 0xFFFF0000;
    EXPECT_EQ(GroupColourRgb(1, 5), 0xFFAAFFAAu);
    EXPECT_EQ(GroupColourRgb(45, 5), 0xFFAAD5FFu); // group 9
    EXPECT_EQ(GroupColourRgb(45, 2), 0xFFFFAAAAu); // group 23 wraps to 4
    EXPECT_EQ(GroupColourRgb(38, 2), 0xFFD5EAFFu); // group 19, last of the palette
    EXPECT_EQ(GroupColourRgb(39, 2), 0xFFAAFFAAu); // group 20 wraps to 1
    EXPECT_EQ(GroupColour(0, 5), red);
    EXPECT_EQ(GroupColour(46, 5), red);
    EXPECT_EQ(GroupColour(-3, 5), red);
    EXPECT_EQ(GroupColour(10, 0), red);
    EXPECT_EQ(GroupColour(10, -4), red);
    // With width 1 groups go up to 45; beyond 38 there is no second wrap.
    for (int n = 1; n <= NumberCount; ++n) {
        const uint32_t c = GroupColourRgb(n, 1);
        if (n <= 38)
            EXPECT_EQ(c, GroupColourRgb(n <= 19 ? n : n - 19, 1)) << n;
        else
            EXPECT_EQ(c, red) << n;
    }
}

TEST(Membership, Overlaps) {
    const TDrawRec d = Draw({5, 1, 9, 30, 22, 14}, {2, 3});
    EXPECT_EQ(CountOverlaps(d, Comb({1, 5, 9, 14, 22, 30})), 6);
    EXPECT_EQ(CountOverlaps(d, Comb({2, 3, 4, 6, 7, 8})), 0); // supplementary numbers do not count
    EXPECT_EQ(CountOverlaps(d, Comb({1, 2, 3, 4, 5, 45})), 2);
    EXPECT_EQ(CountDrawOverlaps(d, Draw({30, 31, 32, 33, 34, 5})), 2);
    EXPECT_EQ(CountDrawOverlaps(d, d), 6);

    EXPECT_TRUE(InDraw(30, d));
    EXPECT_FALSE(InDraw(2, d));
    EXPECT_TRUE(InComb(44, Comb({3, 11, 17, 25, 40, 44})));
    EXPECT_FALSE(InComb(0, Comb({3, 11, 17, 25, 40, 44})));
    EXPECT_TRUE(InGroupOfDraw(6, d, 5)); // 30
    EXPECT_FALSE(InGroupOfDraw(9, d, 5));
    EXPECT_FALSE(InGroupOfDraw(1, d, 0));
}

TEST(Membership, SegmentsIgnoreNumbersOutsideTheGame) {
    TSegmentMap map;
    map.fill(1);
    map[29] = 7; // number 30
    EXPECT_TRUE(InSegmentOfDraw(7, Draw({5, 1, 9, 30, 22, 14}), map));
    EXPECT_FALSE(InSegmentOfDraw(7, Draw({5, 1, 9, 31, 22, 14}), map));
    EXPECT_FALSE(InSegmentOfDraw(1, Draw({0, 46, 200, 0, 0, 0}), map));
}

TEST(Membership, NumberSets) {
    const TDrawRec d = Draw({30, 1, 9, 5, 22, 14});
    const TNumberSet hit = IntersectDraw(d, Set({1, 2, 5, 14, 30, 44, 45}));
    EXPECT_EQ(NumberSetToText(hit, ";"), "1;5;14;30");
    EXPECT_EQ(IntersectDraw(d, Set({})).Count, 0);

    EXPECT_TRUE(SameNumberSet(Set({1, 5, 9}), Set({9, 1, 5})));
    EXPECT_FALSE(SameNumberSet(Set({1, 5, 9}), Set({9, 1, 6})));
    EXPECT_FALSE(SameNumberSet(Set({1, 5}), Set({1, 5, 9})));
    EXPECT_TRUE(SameNumberSet(Set({}), Set({})));
    TNumberSet corrupt = Set({1, 2});
    corrupt.Count = 99;
    EXPECT_TRUE(SameNumberSet(corrupt, corrupt)); // must not read past eight numbers
}

TEST(Sorting, TinyArrays) {
    TComb c = Comb({44, 3, 40, 11, 25, 17});
    SortComb(c);
    EXPECT_EQ(c, Comb({3, 11, 17, 25, 40, 44}));

    const TDrawRec d = Draw({30, 1, 9, 5, 22, 14}, {45, 2});
    const TDrawRec sorted = SortDrawNumbers(d);
    EXPECT_EQ(DrawValuesText(sorted), "1;5;9;14;22;30 e:45;2");
    EXPECT_EQ(DrawValuesText(d), "30;1;9;5;22;14 e:45;2"); // the original is untouched

    TNumberSet s = Set({8, 3, 7, 1});
    s.Numbers[4] = 0; // beyond the count: left alone
    s.Numbers[5] = 2;
    s.Count = 4;
    SortNumberSet(s);
    EXPECT_EQ(NumberSetToText(s, ","), "1,3,7,8");
    EXPECT_EQ(s.Numbers[5], 2);

    QList<int> values{3, 9, -1, 9, 0, 42};
    SortIntsDescending(values);
    EXPECT_EQ(values, (QList<int>{42, 9, 9, 3, 0, -1}));
}

TEST(ByteLists, AddAndUnique) {
    QByteArray list;
    AddNumber(list, 5);
    AddNumber(list, 5);
    AddNumberOnce(list, 5);
    AddNumberOnce(list, 7);
    EXPECT_EQ(list, QByteArray("\x05\x05\x07"));

    const std::vector<TComb> combs{Comb({9, 3, 1, 2, 4, 5}), Comb({3, 9, 10, 0, 46, 1})};
    EXPECT_EQ(UniqueNumbers(combs.data(), qsizetype(combs.size())),
              QByteArray("\x09\x03\x01\x02\x04\x05\x0a"));
    EXPECT_EQ(CountUniqueNumbers(combs.data(), 0), 0);
}

TEST(ByteLists, UniqueNumbersStopsAtFortyFive) {
    // Every number appears within the first eight combinations; the rest
    // must not be looked at (a null pointer beyond would crash).
    std::vector<TComb> combs;
    for (int i = 0; i < 8; ++i) {
        TComb c;
        for (int j = 0; j < CombSize; ++j)
            c[j] = uint8_t((i * CombSize + j) % NumberCount + 1);
        combs.push_back(c);
    }
    const QByteArray unique = UniqueNumbers(combs.data(), qsizetype(combs.size()));
    ASSERT_EQ(unique.size(), 45);
    for (int n = 1; n <= 45; ++n)
        EXPECT_EQ(uint8_t(unique[n - 1]), n);
    EXPECT_EQ(CountUniqueNumbers(combs.data(), qsizetype(combs.size())), 45);
}

TEST(Counting, Binomial) {
    const struct {
        int n, k;
        int64_t expected;
    } cases[] = {{45, 6, 8145060},
                 {45, 0, 1},
                 {45, 1, 45},
                 {45, 44, 45},
                 {45, 45, 1},
                 {46, 45, 46},
                 {6, 3, 20},
                 {10, 12, 1},
                 {0, 0, 1},
                 {5, -1, 0},
                 {49, 6, 13983816},
                 {60, 30, 118264581564861424},
                 {100, 50, std::numeric_limits<int64_t>::max()}};
    for (const auto &c : cases)
        EXPECT_EQ(Binomial(c.n, c.k), c.expected) << c.n << " " << c.k;
}

TEST(Counting, ExactMatchCountForTheGame) {
    const int64_t expected[] = {3262623, 3454542, 1233765, 182780, 11115, 234, 1};
    int64_t total = 0;
    for (int k = 0; k <= 6; ++k) {
        EXPECT_EQ(ExactMatchCount(45, 6, k), expected[k]) << k;
        total += ExactMatchCount(45, 6, k);
    }
    EXPECT_EQ(total, FullSetSize);
    EXPECT_EQ(ExactMatchCount(45, 6, 7), 0);
    EXPECT_EQ(ExactMatchCount(45, 6, -1), 0);
    EXPECT_EQ(ExactMatchCount(45, 46, 2), 0);
    EXPECT_EQ(ExactMatchCount(10, 8, 3), 0); // C(2, 5) factor is zero
    EXPECT_EQ(ExactMatchCount(5, 3, 5), 1);  // the k >= n rule
    EXPECT_EQ(ExactMatchCount(-3, 2, -5), 0);
}

TEST(IntLists, Parse) {
    const struct {
        const char *text;
        std::vector<int> expected;
    } cases[] = {
        {"5", {5}},
        {"1, 2, 3", {1, 2, 3}},
        {"1;2;3", {1, 2, 3}},
        {" 7 ,; 3 ,", {7, 3}},
        {"-5", {-5}},
        {"1-10;2", {1, 3, 5, 7, 9}},
        {"2-10;4", {2, 6, 10}},
        {"10-1;-3", {10, 7, 4, 1}},
        {"1-10,3", {1, 4, 7, 10}},
        {" 1 - 4 ; 1 ", {1, 2, 3, 4}},
        {"-3-3;3", {-3, 0, 3}},
        {"5-5;1", {5}},
        {"", {}},
        {"   ", {}},
        {"1-10", {}},
        {"10-1;1", {}},
        {"1-10;0", {}},
        {"1-x;1", {}},
        {"a,b", {}},
        {"1,,x", {}},
        {"1-10;2;3", {}},
        {"-", {}},
        {";,", {}},
        {"1-2000000000;1", {}},
        {"-2147483648-2147483647;1", {}},
        {"2147483647-2147483647;1", {2147483647}},
        {"-2147483648-2147483647;2147483647", {-2147483648, -1, 2147483646}},
        {"99999999999", {}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(ToVector(ParseIntList(c.text)), c.expected) << c.text;
}

TEST(IntLists, RangeBound) {
    EXPECT_EQ(ParseIntList("1-100000;1").size(), 100000);
    EXPECT_TRUE(ParseIntList("1-100001;1").isEmpty());
}

TEST(IntLists, ToText) {
    EXPECT_EQ(IntListToText({1, 3, 5}, ", "), "1, 3, 5");
    EXPECT_EQ(IntListToText({-2}, ";"), "-2");
    EXPECT_EQ(IntListToText({}, ";"), "");
}

TEST(SegmentMaps, TextForms) {
    TSegmentMap map;
    for (int i = 0; i < NumberCount; ++i)
        map[i] = uint8_t(i % 9 + 1);
    const QString text = SegmentMapToText(map);
    EXPECT_EQ(text, "123456789123456789123456789123456789123456789");
    EXPECT_EQ(TextToSegmentMap(text), map);

    const TSegmentMap partial = TextToSegmentMap("3x5");
    EXPECT_EQ(partial[0], 3);
    EXPECT_EQ(partial[1], 1); // not a digit
    EXPECT_EQ(partial[2], 5);
    for (int i = 3; i < NumberCount; ++i)
        EXPECT_EQ(partial[i], 1) << i;
    // Only ASCII digits count; other scripts' digits are not segment numbers.
    EXPECT_EQ(TextToSegmentMap(QString::fromUtf8("٣"))[0], 1);
}
