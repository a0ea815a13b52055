// The draws card's cells and colours: repeats in neighbouring draws (yellow
// beside another number, lime alone), neighbours in one draw (aqua), the
// channel colours of the number columns, and the switches that turn them off.

#include "archive/DrawsArchive.h"
#include "core/CoreHelpers.h"
#include "export/ListSheets.h"

#include <gtest/gtest.h>

namespace lot {
namespace {

TDrawRec Draw(int number, std::array<int, 6> mains, int e1 = 44, int e2 = 45) {
    TDrawRec d;
    d.DrawNumber = number;
    for (int i = 0; i < 6; ++i)
        d.Numbers[i] = uint8_t(mains[size_t(i)]);
    d.Extra[0] = uint8_t(e1);
    d.Extra[1] = uint8_t(e2);
    return d;
}

uint32_t Channel(int n) {
    return GroupColourRgb(n, 5) & 0xFFFFFF;
}

TEST(CardSheetTest, RepeatsNeighboursAndChannels) {
    TDrawsArchive archive;
    // Oldest first; 30 repeats in three draws in a row, 14, 15 stand side by side.
    archive.Append(Draw(1, {30, 31, 2, 8, 20, 40}));
    archive.Append(Draw(2, {30, 14, 15, 4, 22, 41}));
    archive.Append(Draw(3, {30, 6, 10, 24, 33, 42}, 7, 9));
    TCardSheet card(archive);
    ASSERT_EQ(card.RowCount(), 3);
    ASSERT_EQ(card.ColumnCount(), 48);
    EXPECT_EQ(card.ColumnCaption(0), "Тираж");
    EXPECT_EQ(card.ColumnCaption(45), "45");
    EXPECT_EQ(card.ColumnCaption(46), "E1");
    EXPECT_EQ(card.ColumnCaption(47), "E2");

    // Row 0 is the newest draw 3.
    EXPECT_EQ(card.Cell(0, 0).Value.toInt(), 3);
    EXPECT_EQ(card.Cell(0, 30).Value.toInt(), 30);
    EXPECT_FALSE(card.Cell(0, 31).Value.isValid()) << "31 is not in draw 3";
    EXPECT_EQ(card.Cell(0, 46).Value.toInt(), 7);
    EXPECT_EQ(card.Cell(0, 47).Value.toInt(), 9);
    EXPECT_EQ(card.Cell(0, 46).Fill, TSheetCell::NoFill) << "the E columns are never coloured";

    const struct {
        int row, column;
        uint32_t fill;
    } cases[] = {
        {0, 30, TCardSheet::Lime},                       // repeated below, alone in its draw
        {1, 30, TCardSheet::Lime},                       // repeated above and below
        {2, 30, TCardSheet::Yellow},                     // repeated above, 31 beside it
        {2, 31, TCardSheet::Aqua},                       // beside 30, not repeated
        {1, 14, TCardSheet::Aqua},                       // 14, 15 in one draw
        {1, 15, TCardSheet::Aqua},   {1, 4, Channel(4)}, // a plain number
        {1, 5, Channel(5)},                              // an empty cell of the number columns
        {0, 45, Channel(45)},
    };
    for (const auto &c : cases)
        EXPECT_EQ(card.Cell(c.row, c.column).Fill, c.fill) << c.row << "," << c.column;

    card.ColorCardSequences = false;
    EXPECT_EQ(card.Cell(2, 30).Fill, Channel(30));
    EXPECT_EQ(card.Cell(1, 14).Fill, Channel(14));
    card.ColorCard = false;
    EXPECT_EQ(card.Cell(1, 14).Fill, TSheetCell::NoFill);
    card.ColorCardSequences = true;
    EXPECT_EQ(card.Cell(1, 14).Fill, TCardSheet::Aqua) << "the sequences show without the channels";
    EXPECT_EQ(card.Cell(1, 4).Fill, TSheetCell::NoFill);
    EXPECT_FALSE(card.Cell(3, 1).Value.isValid()) << "past the last row";
    EXPECT_FALSE(card.Cell(0, 48).Value.isValid());
}

} // namespace
} // namespace lot
