// The guarantee table of a system: known wheels, small random systems
// against brute force, the parallel walk against the sequential one, the
// early-exit check against the table, and the printed shares.

#include "systems/SystemGuarantee.h"
#include "core/Errors.h"

#include <gtest/gtest.h>
#include <random>

using namespace lot;

namespace {

TComb P(int a, int b, int c, int d, int e, int f) {
    return TComb{{uint8_t(a), uint8_t(b), uint8_t(c), uint8_t(d), uint8_t(e), uint8_t(f)}};
}

/// Every six of 1..n.
std::vector<TComb> FullSystem(int n) {
    std::vector<TComb> combs;
    for (int a = 1; a <= n; ++a)
        for (int b = a + 1; b <= n; ++b)
            for (int c = b + 1; c <= n; ++c)
                for (int d = c + 1; d <= n; ++d)
                    for (int e = d + 1; e <= n; ++e)
                        for (int f = e + 1; f <= n; ++f)
                            combs.push_back(P(a, b, c, d, e, f));
    return combs;
}

std::vector<TComb> RandomSystem(std::mt19937 &rng, int n, int count) {
    std::vector<TComb> combs;
    std::vector<int> numbers(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i)
        numbers[size_t(i)] = i + 1;
    for (int i = 0; i < count; ++i) {
        std::shuffle(numbers.begin(), numbers.end(), rng);
        combs.push_back(P(numbers[0], numbers[1], numbers[2], numbers[3], numbers[4], numbers[5]));
    }
    return combs;
}

} // namespace

TEST(SystemGuarantee, TheFullSystemOverSevenGuaranteesEverything) {
    const std::vector<TComb> full = FullSystem(7);
    ASSERT_EQ(full.size(), 7u);
    const TGuaranteeTable t = GuaranteeTable(full, 7);
    for (int m = 3; m <= 6; ++m) {
        EXPECT_EQ(t.Guarantee(m), m) << m;
        for (int k = 1; k <= m; ++k)
            EXPECT_EQ(t.Reached[size_t(m)][size_t(k)], t.Cases[size_t(m)]) << m << " " << k;
    }
    EXPECT_EQ(t.Cases[6], 7);
    EXPECT_EQ(t.Cases[3], 35);
}

TEST(SystemGuarantee, OneCombinationOverSevenHitsSixInOneCaseOfSeven) {
    const TGuaranteeTable t = GuaranteeTable({P(1, 2, 3, 4, 5, 6)}, 7);
    EXPECT_EQ(t.Reached[6][6], 1);
    EXPECT_EQ(t.Reached[6][5], 7);
    EXPECT_EQ(t.Guarantee(6), 5);
    // Three of seven drawn: the one number left out holds at most one of them.
    EXPECT_EQ(t.Guarantee(3), 2);
    EXPECT_EQ(t.Reached[3][3], 20); // C(6, 3)
    const QStringList lines = GuaranteeTableLines(t);
    ASSERT_EQ(lines.size(), 18);
    EXPECT_EQ(lines.first(), "3\t1\t100.00");
    EXPECT_EQ(lines[2], "3\t3\t57.14");
    EXPECT_EQ(lines.last(), "6\t6\t14.29");
}

TEST(SystemGuarantee, AnEmptySystemReachesNothing) {
    const TGuaranteeTable t = GuaranteeTable({}, 10);
    for (int m = 3; m <= 6; ++m) {
        EXPECT_EQ(t.Guarantee(m), 0);
        EXPECT_EQ(t.Reached[size_t(m)][1], 0);
    }
    EXPECT_FALSE(GuaranteeHolds({}, 10, 3, 1));
}

TEST(SystemGuarantee, SmallRandomSystemsAgreeWithBruteForce) {
    std::mt19937 rng(7);
    for (int n : {7, 8, 9, 10, 12, 15}) {
        for (int count : {1, 2, 5, 17, 64, 65, 130}) {
            const std::vector<TComb> system = RandomSystem(rng, n, count);
            const TGuaranteeTable brute = GuaranteeTableBrute(system, n);
            EXPECT_EQ(GuaranteeTable(system, n, false), brute) << n << " " << count;
            EXPECT_EQ(GuaranteeTable(system, n, true), brute) << n << " " << count;
        }
    }
}

TEST(SystemGuarantee, LargeSystemsAgreeWithBruteForce) {
    std::mt19937 rng(11);
    const std::vector<TComb> twenty = RandomSystem(rng, 20, 200);
    EXPECT_EQ(GuaranteeTable(twenty, 20), GuaranteeTableBrute(twenty, 20));
    // Large enough for the walk to go on every core.
    const std::vector<TComb> big = RandomSystem(rng, 35, 130);
    const TGuaranteeTable table = GuaranteeTable(big, 35, true);
    EXPECT_EQ(table, GuaranteeTableBrute(big, 35));
    EXPECT_EQ(table, GuaranteeTable(big, 35, false));
    for (int k = 1; k <= 6; ++k)
        EXPECT_EQ(GuaranteeHolds(big, 35, 6, k, true), table.Reached[6][size_t(k)] == table.Cases[6]) << k;
}

TEST(SystemGuarantee, TheEarlyExitCheckAgreesWithTheTable) {
    std::mt19937 rng(3);
    for (int n : {8, 11, 14}) {
        const std::vector<TComb> system = RandomSystem(rng, n, 20);
        const TGuaranteeTable t = GuaranteeTable(system, n);
        for (int m = 3; m <= 6; ++m)
            for (int k = 1; k <= m; ++k)
                for (bool parallel : {false, true})
                    EXPECT_EQ(GuaranteeHolds(system, n, m, k, parallel),
                              t.Reached[size_t(m)][size_t(k)] == t.Cases[size_t(m)])
                        << n << " " << m << " " << k;
    }
}

TEST(SystemGuarantee, ASystemOfBadPositionsIsRefused) {
    EXPECT_THROW(GuaranteeTable({P(1, 2, 3, 4, 5, 8)}, 7), EError);
    EXPECT_THROW(GuaranteeTable({P(1, 1, 3, 4, 5, 6)}, 7), EError);
    EXPECT_THROW(GuaranteeTable({P(1, 2, 3, 4, 5, 6)}, 6), EError);
}

TEST(SystemGuarantee, SharesShowOneHundredOnlyForEveryCase) {
    struct TCase {
        int64_t Reached, Cases;
        const char *Text;
    } cases[] = {
        {1, 7, "14.29"},
        {7, 7, "100.00"},
        {0, 7, "0.00"},
        {1, 8, "12.50"},
        {1, 3, "33.33"},
        {2, 3, "66.67"},
        {8145059, 8145060, "99.99"},
        {1, 8145060, "0.00"},
        {931, 1000, "93.10"},
        {99995, 100000, "99.99"},
        {99994, 100000, "99.99"},
        {12345, 100000, "12.35"},
    };
    for (const TCase &c : cases)
        EXPECT_EQ(GuaranteeShareText(c.Reached, c.Cases), QString::fromLatin1(c.Text))
            << c.Reached << "/" << c.Cases;
}
