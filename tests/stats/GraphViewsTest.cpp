// The graph views' numbers: a method's graph over a sample with its mean
// and mode, the detail values of a combination, and the sums distribution
// whose ranges are the constants the sum-range methods use.

#include "StatsTestUtil.h"

#include "archive/DrawsArchive.h"
#include "stats/GraphViews.h"
#include "stats/StatList.h"

#include <gtest/gtest.h>
#include <map>

namespace lot {
namespace {

using test::MakeStatDraw;

class GraphViewsTest : public ::testing::Test {
protected:
    void SetUp() override { m_list.RegisterAll(); }
    void Add(int number, std::array<int, 6> mains) { m_archive.Append(MakeStatDraw(number, mains)); }
    int Entry(const char *code) const { return m_list.FindEntry(QLatin1String(code)); }

    TDrawsArchive m_archive;
    TStatList m_list{&m_archive};
};

TEST_F(GraphViewsTest, SampleMeanAndModeWithTheFirstSeenTie) {
    // Even counts, oldest first: 2, 4, 4, 2, 6.
    Add(11, {1, 2, 3, 4, 5, 7});
    Add(12, {2, 4, 6, 8, 1, 3});
    Add(13, {10, 12, 14, 16, 1, 3});
    Add(14, {1, 3, 5, 7, 2, 4});
    Add(15, {2, 4, 6, 8, 10, 12});
    const int even = Entry("EVEN");

    TGraphSample s = ComputeGraphSample(m_list, even, 1, 4, false);
    ASSERT_EQ(s.Points.size(), 4);
    EXPECT_EQ(s.Points.first().X, 11);
    EXPECT_EQ(s.Points.last().X, 14);
    QList<int> ys;
    for (const TGraphPoint &p : s.Points)
        ys << p.Y;
    EXPECT_EQ(ys, (QList<int>{2, 4, 4, 2}));
    EXPECT_DOUBLE_EQ(s.Mean, 3.0);
    EXPECT_EQ(s.Mode, 2) << "2 and 4 tie; 2 was seen first";

    s = ComputeGraphSample(m_list, even, 0, 1, false);
    ASSERT_EQ(s.Points.size(), 1) << "one draw: one point, and the lines through it";
    EXPECT_EQ(s.Points[0].X, 15);
    EXPECT_DOUBLE_EQ(s.Mean, 6.0);
    EXPECT_EQ(s.Mode, 6);

    s = ComputeGraphSample(m_list, even, 0, 1000, false);
    EXPECT_EQ(s.Points.size(), 5) << "a sample longer than the archive takes all of it";
    EXPECT_DOUBLE_EQ(s.Mean, 18.0 / 5);

    EXPECT_TRUE(ComputeGraphSample(m_list, even, 5, 10, false).Points.isEmpty())
        << "the offset hides every draw";
    EXPECT_TRUE(ComputeGraphSample(m_list, Entry("NUMS"), 0, 10, false).Points.isEmpty()) << "no graph";
    EXPECT_TRUE(ComputeGraphSample(m_list, -1, 0, 10, false).Points.isEmpty());

    // Position 2 of a sorted draw: the second smallest number.
    s = ComputeGraphSample(m_list, Entry("POS2"), 0, 1, true);
    ASSERT_EQ(s.Points.size(), 1);
    EXPECT_EQ(s.Points[0].Y, 4);
    EXPECT_EQ(ComputeGraphSample(m_list, Entry("POS2"), 0, 1, false).Points[0].Y, 4);
    EXPECT_EQ(ComputeGraphSample(m_list, Entry("POS2"), 1, 1, true).Points[0].Y, 2);
    EXPECT_EQ(ComputeGraphSample(m_list, Entry("POS2"), 1, 1, false).Points[0].Y, 3);
}

TEST_F(GraphViewsTest, DetailValuesListEveryGraphMethod) {
    Add(11, {1, 2, 3, 4, 5, 7});
    const QList<TDetailValue> rows = DetailValues(m_list, test::MakeComb({2, 4, 6, 8, 10, 45}), 1, false);
    std::map<QString, int> byCode;
    for (const TDetailValue &v : rows) {
        EXPECT_TRUE(m_list.HasGraph(v.Entry));
        // A shredding formula's caption shows the formula, not its placeholder.
        const QString formula = m_list.Items(v.Entry).Formula;
        const QString caption = m_list.CreateStat(v.Entry)->InstanceCaption();
        EXPECT_EQ(v.Caption,
                  formula.isEmpty() ? caption : QString(caption).replace(QStringLiteral("%s"), formula));
        byCode[m_list.EntryCode(v.Entry)] = v.Value;
    }
    EXPECT_EQ(byCode.count("NUMS"), 0u);
    EXPECT_EQ(byCode["EVEN"], 5);
    EXPECT_EQ(byCode["SUMS"], 75);
    EXPECT_EQ(byCode["POS6"], 45);
}

TEST_F(GraphViewsTest, SumsDistributionRangesAreTheSumRangeConstants) {
    Add(1, {1, 2, 3, 4, 5, 6});       // 21
    Add(2, {40, 41, 42, 43, 44, 45}); // 255
    Add(3, {1, 2, 3, 4, 5, 7});       // 22
    Add(4, {7, 5, 4, 3, 2, 1});       // 22
    const TSumsDistribution d = ComputeSumsDistribution(m_archive.Draws());

    // The tally of the full set, counted here by plain enumeration.
    std::map<int, qint64> full;
    for (int a = 1; a <= 40; ++a)
        for (int b = a + 1; b <= 41; ++b)
            for (int c = b + 1; c <= 42; ++c)
                for (int e = c + 1; e <= 43; ++e)
                    for (int f = e + 1; f <= 44; ++f)
                        for (int g = f + 1; g <= 45; ++g)
                            ++full[a + b + c + e + f + g];
    ASSERT_EQ(d.Theoretical.size(), qsizetype(full.size()));
    qint64 total = 0;
    int i = 0;
    for (const auto &[sum, count] : full) {
        EXPECT_EQ(d.Theoretical[i].Sum, sum);
        EXPECT_EQ(d.Theoretical[i].Count, count) << sum;
        total += d.Theoretical[i++].Count;
    }
    EXPECT_EQ(total, 8145060);
    EXPECT_EQ(d.Theoretical.first().Sum, 21);
    EXPECT_EQ(d.Theoretical.last().Sum, 255);
    EXPECT_EQ(d.MinT, 1);

    ASSERT_EQ(d.Actual.size(), 3);
    EXPECT_EQ(d.Actual[0].Sum, 21);
    EXPECT_EQ(d.Actual[1].Sum, 22);
    EXPECT_EQ(d.Actual[1].Count, 2);
    EXPECT_EQ(d.MaxA, 2);
    EXPECT_EQ(d.Thresholds[0], 1 + d.MaxT / 3);
    EXPECT_EQ(d.Thresholds[1], 1 + d.MaxT / 2);
    EXPECT_EQ(d.Thresholds[2], 1 + d.MaxT * 2 / 3);

    const int expected[3][2] = {{93, 183}, {102, 174}, {110, 166}};
    for (int k = 0; k < 3; ++k) {
        EXPECT_EQ(d.Ranges[k].Low, expected[k][0]) << k;
        EXPECT_EQ(d.Ranges[k].High, expected[k][1]) << k;
    }
    EXPECT_EQ(d.RangeTitle(0), "Диапазон 1 (от 1/3 и выше по оси Y) - суммы 93-183");
    EXPECT_EQ(d.RangeTitle(2), "Диапазон 3 (от 2/3 и выше по оси Y) - суммы 110-166");
    EXPECT_DOUBLE_EQ(d.Scaled(double(d.MaxT)), 2.0);
}

} // namespace
} // namespace lot
