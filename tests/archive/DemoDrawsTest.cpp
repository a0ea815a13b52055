#include "archive/DemoDraws.h"

#include "archive/DrawsArchive.h"
#include "core/CoreHelpers.h"

#include <gtest/gtest.h>

#include <set>

using namespace lot;

TEST(MakeDemoDraws, SameArgumentsGiveTheSameArchive) {
    const QDate last(2026, 12, 5);
    const QByteArray a = TDrawsArchive::DrawsToBytes(MakeDemoDraws(500, 42, last));
    EXPECT_EQ(a, TDrawsArchive::DrawsToBytes(MakeDemoDraws(500, 42, last)));
    EXPECT_NE(a, TDrawsArchive::DrawsToBytes(MakeDemoDraws(500, 43, last)));
    EXPECT_TRUE(MakeDemoDraws(0, 42, last).empty());
    EXPECT_TRUE(MakeDemoDraws(-3, 42, last).empty());
}

TEST(MakeDemoDraws, FirstDrawIsTheSameOnEveryMachine) {
    // std::mt19937's output is fixed by the standard and the mapping to 1..45
    // is our own, so these values may only change with the generator itself.
    const TDrawsArray draws = MakeDemoDraws(3, 1, QDate(2026, 12, 5));
    ASSERT_EQ(draws.size(), 3u);
    const TDrawRec &d = draws[0];
    const std::vector<int> got{d.Numbers[0], d.Numbers[1], d.Numbers[2], d.Numbers[3],
                               d.Numbers[4], d.Numbers[5], d.Extra[0],   d.Extra[1]};
    EXPECT_EQ(got, (std::vector<int>{41, 5, 21, 42, 6, 39, 27, 45}));
}

TEST(MakeDemoDraws, Shape) {
    const QDate last(2026, 12, 8); // a Tuesday: the last draw is Saturday 5 December
    const int count = 3000;
    const TDrawsArray draws = MakeDemoDraws(count, 20261205, last);
    ASSERT_EQ(int(draws.size()), count);
    EXPECT_EQ(DrawDateText(draws.back()), QStringLiteral("5 Dec 2026"));
    EXPECT_EQ(DrawDateText(draws[draws.size() - 2]), QStringLiteral("2 Dec 2026"));

    std::vector<int> mainCounts(NumberCount + 1, 0);
    QDate previous;
    for (int i = 0; i < count; ++i) {
        const TDrawRec &d = draws[size_t(i)];
        EXPECT_EQ(d.DrawNumber, 1001 + 2 * i);
        ASSERT_TRUE(HasValidNumbers(d)) << i;
        const std::set<int> eight(std::begin(d.Numbers), std::end(d.Numbers));
        std::set<int> all = eight;
        all.insert(d.Extra[0]);
        all.insert(d.Extra[1]);
        EXPECT_EQ(eight.size(), 6u) << i;
        EXPECT_EQ(all.size(), 8u) << i;
        for (uint8_t n : d.Numbers)
            ++mainCounts[n];

        const QDate date = DrawTextToDate(DrawDateText(d));
        ASSERT_TRUE(date.isValid()) << i;
        EXPECT_TRUE(date.dayOfWeek() == Qt::Wednesday || date.dayOfWeek() == Qt::Saturday) << i;
        if (previous.isValid()) {
            EXPECT_EQ(previous.daysTo(date), previous.dayOfWeek() == Qt::Wednesday ? 3 : 4);
        }
        previous = date;
    }
    // Uniform: each number is expected 400 times as a main number (sd about
    // 19); the bounds are far outside chance for a working generator.
    for (int n = 1; n <= NumberCount; ++n) {
        EXPECT_GT(mainCounts[size_t(n)], 300) << n;
        EXPECT_LT(mainCounts[size_t(n)], 500) << n;
    }
    // Main numbers come in draw order, not sorted.
    int sorted = 0;
    for (const TDrawRec &d : draws)
        sorted += std::is_sorted(std::begin(d.Numbers), std::end(d.Numbers));
    EXPECT_LT(sorted, count / 100);
}

TEST(MakeDemoDraws, LastDateOnADrawDayIsKept) {
    const TDrawsArray draws = MakeDemoDraws(2, 9, QDate(2026, 12, 9)); // a Wednesday
    EXPECT_EQ(DrawDateText(draws[1]), QStringLiteral("9 Dec 2026"));
    EXPECT_EQ(DrawDateText(draws[0]), QStringLiteral("5 Dec 2026"));
    EXPECT_TRUE(DrawDateText(MakeDemoDraws(1, 9, QDate())[0]).isEmpty());
}
