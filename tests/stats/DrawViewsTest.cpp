// The layout, its side lists and the repeats analysis on small archives
// whose answers are worked out by hand.

#include "StatsTestUtil.h"

#include "stats/DrawViews.h"

#include <gtest/gtest.h>

namespace lot {
namespace {

using test::MakeStatDraw;

TDrawsArray FourDraws() {
    // Oldest first.
    return {MakeStatDraw(101, {1, 2, 3, 4, 5, 6}), MakeStatDraw(102, {1, 2, 7, 8, 9, 10}),
            MakeStatDraw(103, {1, 11, 12, 13, 14, 15}), MakeStatDraw(104, {2, 3, 16, 17, 18, 19})};
}

TEST(LayoutTest, CountsByNewestOccurrenceWithTheNextDrawBracketed) {
    const TDrawsArray draws = FourDraws();
    TLayout layout = ComputeLayout(draws, 0, 3);
    // Draws 102..104: 1 and 2 twice (newest 103 and 104), the others once.
    EXPECT_EQ(layout.Counts, (QList<int>{2, 1}));
    EXPECT_EQ(layout.Draws, (QList<int>{104, 103, 102}));
    EXPECT_EQ(layout.FirstDraw, 102);
    EXPECT_EQ(layout.LastDraw, 104);
    EXPECT_EQ(layout.Cells[0], (QStringList{"2", "1", ""}));
    EXPECT_EQ(layout.Cells[1], (QStringList{"3, 16, 17, 18, 19", "11, 12, 13, 14, 15", "7, 8, 9, 10"}));
    for (const QStringList &row : layout.Cells)
        EXPECT_FALSE(row.join(' ').contains('[')) << "offset 0: nothing is bracketed";

    // Offset 1: draws 101..103 in use; draw 104 (2, 3, 16..19) is the next one.
    layout = ComputeLayout(draws, 1, 3);
    EXPECT_EQ(layout.Counts, (QList<int>{3, 2, 1}));
    EXPECT_EQ(layout.Draws, (QList<int>{103, 102, 101}));
    EXPECT_EQ(layout.Cells[0], (QStringList{"1", "", ""}));
    EXPECT_EQ(layout.Cells[1], (QStringList{"", "[2]", ""}));
    EXPECT_EQ(layout.Cells[2], (QStringList{"11, 12, 13, 14, 15", "7, 8, 9, 10", "[3], 4, 5, 6"}));

    EXPECT_TRUE(ComputeLayout(draws, 4, 3).Counts.isEmpty());
    EXPECT_TRUE(ComputeLayout({}, 0, 3).Cells.isEmpty());
}

TEST(LayoutTest, CellColours) {
    EXPECT_EQ(LayoutCellColour(1, 1, 2, 2, true, "[7]"), 0x00FF00u);
    // 255 − 155·1/2 = 177.5 → 178; 100 + 77.5 → 178 (rounded half away from zero).
    EXPECT_EQ(LayoutCellColour(1, 1, 2, 2, true, "7"), (178u << 16) | (178u << 8) | 178u);
    EXPECT_EQ(LayoutCellColour(2, 2, 2, 2, true, "7"), (100u << 16) | (100u << 8) | 255u);
    const struct {
        int row, column;
        uint32_t colour;
    } blocks[] = {
        {1, 1, 0xEAFFEA}, {5, 6, 0xFFEAEA}, {6, 6, 0xEAFFEA}, {11, 3, 0xEAFFEA}, {10, 11, 0xFFEAEA}};
    for (const auto &b : blocks)
        EXPECT_EQ(LayoutCellColour(b.row, b.column, 20, 20, false, "7"), b.colour)
            << b.row << "," << b.column;
}

TEST(LayoutTest, SideListsByCountInOrderOfFirstOccurrence) {
    const TLayoutList list = ComputeLayoutList(FourDraws(), 0, 4);
    EXPECT_EQ(list.Header, "101 - 104");
    ASSERT_EQ(list.Rows.size(), 3);
    EXPECT_EQ(list.Rows[0].Count, 3);
    EXPECT_EQ(list.Rows[0].Numbers, "2, 1");
    EXPECT_EQ(list.Rows[1].Numbers, "3");
    EXPECT_EQ(list.Rows[2].Numbers, "16, 17, 18, 19, 11, 12, 13, 14, 15, 7, 8, 9, 10, 4, 5, 6");
}

TEST(RepeatsTest, SharedNumbersWithEarlierDraws) {
    const QList<TRepeatRow> rows = ComputeRepeats(FourDraws(), 2, 3);
    // 104 shares 2, 3 with 101 and 2 with 102; 103 shares 1 with 102 and 101.
    ASSERT_EQ(rows.size(), 3);
    EXPECT_EQ(rows[0].Draw, 104);
    EXPECT_EQ(rows[0].Shared, 1);
    EXPECT_EQ(rows[0].Count, 1);
    EXPECT_EQ(rows[0].DrawsList, "102");
    EXPECT_EQ(rows[1].Shared, 2);
    EXPECT_EQ(rows[1].DrawsList, "101");
    EXPECT_EQ(rows[2].Draw, 103);
    EXPECT_EQ(rows[2].Shared, 1);
    EXPECT_EQ(rows[2].Count, 2);
    EXPECT_EQ(rows[2].DrawsList, "102 101");

    EXPECT_EQ(ComputeRepeats(FourDraws(), 1, 1).size(), 0) << "104 shares nothing with 103";
    EXPECT_TRUE(ComputeRepeats({MakeStatDraw(1, {1, 2, 3, 4, 5, 6})}, 100, 100).isEmpty()) << "one draw";
}

} // namespace
} // namespace lot
