// The stake record's texts: the numbers the stake dialogs take, the running
// sum, the separator record, the grid cells and the delete conditions.

#include "StakesTestUtil.h"

#include "stakes/StakeRec.h"

#include <gtest/gtest.h>

using namespace lot;
using namespace lot::stakestest;

namespace {

struct TNumbersCase {
    const char *Text;
    bool Accepted;
    const char *Stored; ///< NumberSetToText with ";" when accepted
};

class StakeNumbersTest : public ::testing::TestWithParam<TNumbersCase> {};

} // namespace

TEST_P(StakeNumbersTest, SixDistinctNumbersSeparatedByCommaOrSemicolon) {
    const TNumbersCase &c = GetParam();
    TNumberSet set = Numbers({9});
    EXPECT_EQ(ParseStakeNumbers(QString::fromUtf8(c.Text), set), c.Accepted);
    if (c.Accepted) {
        EXPECT_EQ(set.Count, 6);
        EXPECT_EQ(NumberSetToText(set, ";"), QString::fromLatin1(c.Stored));
    } else {
        EXPECT_EQ(set.Count, 1) << "a refused text leaves the set alone";
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, StakeNumbersTest,
    ::testing::Values(TNumbersCase{"6, 5;4,3 ,2;1", true, "1;2;3;4;5;6"},
                      TNumbersCase{"45;44;1;2;3;10", true, "1;2;3;10;44;45"},
                      TNumbersCase{"1;2;3;4;5;5", false, ""}, TNumbersCase{"1,2,3,4,5,46", false, ""},
                      TNumbersCase{"0;1;2;3;4;5", false, ""}, TNumbersCase{"1;2;3;4;5", false, ""},
                      TNumbersCase{"1;2;3;4;5;6;7", false, ""}, TNumbersCase{"1;2;3;4;5;6;", false, ""},
                      TNumbersCase{"1 2 3 4 5 6", false, ""}, TNumbersCase{"1;2;3;4;5;x", false, ""},
                      TNumbersCase{"", false, ""}));

TEST(StakeRecTest, RunningSumCountsNonNumbersAsZero) {
    EXPECT_EQ(StakeNumbersSum("1;2;3;4;5;6"), 21);
    EXPECT_EQ(StakeNumbersSum("6, 5;4,3 ,2;1"), 21);
    EXPECT_EQ(StakeNumbersSum("10;abc;;5"), 15);
    EXPECT_EQ(StakeNumbersSum("99999999999;1"), 1);
    EXPECT_EQ(StakeNumbersSum(""), 0);
}

TEST(StakeRecTest, SeparatorRecordHoldsOnlyItsMarks) {
    TStakeRec rec = Stake(100, {1, 2, 3, 4, 5, 6});
    rec.Checked = 1;
    rec.Profit = 12345;
    NewSeparator(rec);
    TStakeRec expected;
    std::memset(static_cast<void *>(&expected), 0, sizeof expected);
    expected.Version = 2;
    expected.DrawNumber = -1;
    expected.Overlaps.Count = -1;
    EXPECT_EQ(RecordBytes(rec), RecordBytes(expected));
    EXPECT_TRUE(IsEmptyRow(rec));
}

TEST(StakeRecTest, CommentIsWindows1251CutTo255Bytes) {
    TStakeRec rec;
    SetStakeComment(rec, QStringLiteral("Ставка \"вручную\""));
    EXPECT_EQ(rec.Comment.Length, 16);
    EXPECT_EQ(uint8_t(rec.Comment.Chars[0]), 0xD1); // "С" in Windows-1251
    EXPECT_EQ(StakeComment(rec), ManualStakeComment());
    SetStakeComment(rec, QString(300, QLatin1Char('x')));
    EXPECT_EQ(rec.Comment.Length, 255);
    SetStakeComment(rec, QStringLiteral("ok"));
    EXPECT_EQ(RecordBytes(rec).mid(56 + 1 + 2), QByteArray(253, '\0')) << "no tail of a longer comment stays";
}

TEST(StakeRecTest, GridCellsOfUncheckedCheckedAndEmptyRecords) {
    TStakeRec rec = Stake(4021, {3, 11, 17, 25, 40, 44}, skScript);
    rec.Sample = 28;
    rec.Profit = -10000;
    const QStringList unchecked = {"4021", "Сценарий", "3;11;17;25;40;44", "28", "", "", "", "-1.00", "тест"};
    for (int c = 0; c < StakeColumnCount; ++c)
        EXPECT_EQ(StakeCellText(rec, c), unchecked[c]) << c;

    rec.Checked = 1;
    const uint8_t draw[6] = {44, 3, 9, 17, 1, 2};
    std::memcpy(rec.DrawResult, draw, 6);
    rec.Overlaps = Numbers({3, 17, 44});
    rec.Profit = 90000;
    EXPECT_EQ(StakeCellText(rec, scDrawResult), "44;3;9;17;1;2");
    EXPECT_EQ(StakeCellText(rec, scOverlapCount), "3");
    EXPECT_EQ(StakeCellText(rec, scOverlaps), "3 17 44");
    EXPECT_EQ(StakeCellText(rec, scProfit), "9.00");

    for (int drawNumber : {0, -1}) {
        rec.DrawNumber = drawNumber;
        for (int c = 0; c < StakeColumnCount; ++c)
            EXPECT_TRUE(StakeCellText(rec, c).isEmpty()) << c;
    }
    EXPECT_EQ(StakeColumnHeader(0), "№ тиража");
    EXPECT_EQ(StakeColumnHeader(8), "Комментарий");
}

TEST(StakeRecTest, HostileCountsNeverReadPastTheNumbers) {
    TStakeRec rec = Stake(5, {1, 2, 3, 4, 5, 6});
    rec.Numbers.Count = 1000;
    rec.Checked = 1;
    rec.Overlaps.Count = -7;
    EXPECT_EQ(StakeNumberCount(rec), 8);
    EXPECT_FALSE(IsCheckCandidate(rec));
    EXPECT_EQ(StakeCellText(rec, scNumbers), "1;2;3;4;5;6;0;0");
    EXPECT_EQ(StakeCellText(rec, scOverlaps), "");
    rec.Numbers.Count = -3;
    EXPECT_EQ(StakeNumberCount(rec), 0);
    EXPECT_EQ(StakeCellText(rec, scNumbers), "");
}

TEST(StakeRecTest, ConditionsByTheirDialogItems) {
    const char *items[] = {"Равно [ = ]", "Более [ > ]", "Не менее [ >= ]", "Менее [ < ]", "Не более [ <= ]"};
    // Which overlap counts -1..6 each condition removes with value 2.
    const char *removed[] = {"00010000", "00001111", "00011111", "11100000", "11110000"};
    for (int c = 0; c < StakeConditionCount; ++c) {
        EXPECT_EQ(StakeConditionText(c), QString::fromUtf8(items[c]));
        QString got;
        for (int o = -1; o <= 6; ++o)
            got += StakeConditionHolds(c, 2, o) ? '1' : '0';
        EXPECT_EQ(got, QString::fromLatin1(removed[c])) << c;
    }
    EXPECT_FALSE(StakeConditionHolds(5, 0, 0));
    EXPECT_TRUE(StakeConditionText(5).isEmpty());
}
