#include "core/Errors.h"
#include "filters/RowTest.h"
#include "FiltersTestUtil.h"

#include <gtest/gtest.h>

namespace lot {
namespace {

/// A row with a distinct number in every field, so a mode reading the wrong
/// field fails its case.
TStatValues SampleRow() {
    TStatValues v;
    v.Value = QStringLiteral("ЧнЧннЧ (022)");
    v.Key = 22;
    v.Count = QStringLiteral("12");
    v.CountPercent = QStringLiteral("4.16667");
    v.Deviation = QStringLiteral("-3");
    v.DeviationPercent = QStringLiteral("-20.00000");
    v.Depth = QStringLiteral("7");
    v.DepthPercent = QStringLiteral("35.00");
    v.Weight = QStringLiteral("10.50");
    v.PeriodMin = QStringLiteral("2");
    v.Period = QStringLiteral("8.3333");
    v.PeriodMax = QStringLiteral("19");
    return v;
}

/// A row whose cells show "-" (a value never drawn, no full-set comparison).
TStatValues DashRow() {
    TStatValues v;
    v.Value = QStringLiteral("30");
    v.Key = 30;
    v.Count = QStringLiteral("0");
    v.CountPercent = QStringLiteral("0.00000");
    for (QString *s : {&v.Deviation, &v.DeviationPercent, &v.Depth, &v.DepthPercent, &v.Weight, &v.PeriodMin,
                       &v.Period, &v.PeriodMax})
        *s = QStringLiteral("-");
    return v;
}

enum class TOutcome { Yes, No, Error };

struct TCase {
    int Mode;
    const char *Level;
    TOutcome Sample; ///< on SampleRow()
    TOutcome Dash;   ///< on DashRow()
};

constexpr TOutcome Y = TOutcome::Yes, N = TOutcome::No, E = TOutcome::Error;

// One line per mode (and a second where the boundary matters).
const TCase Cases[] = {
    {0, "anything", Y, Y}, {1, "7", Y, N},     {1, "8", N, N}, // depth >= T; "-" is 0
    {2, "35", Y, N},       {2, "36", N, N},                    // depth % >= T
    {3, "7", Y, N},        {3, "6", N, N},                     // depth <= T; "-" is 65535
    {4, "35", Y, N},       {4, "65535", Y, Y},                 // depth % <= T
    {5, "1,7;9", Y, E},    {5, "8", N, E},                     // depth in list; "-" cannot be compared
    {6, "34,35", Y, E},    {6, "36", N, E},                    // depth % equal to a list number
    {7, "-3", Y, Y},       {7, "-2", N, Y},                    // deviation >= T; "-" is 0
    {7, "1", N, N},        {8, "-20", Y, Y},   {8, "-19", N, Y},   {9, "-3", Y, N},  {9, "-4", N, N},
    {10, "-20", Y, N},     {10, "-21", N, N},  {11, "5,-3", Y, E}, {11, "3", N, E},  {12, "-20", Y, E},
    {12, "20", N, E},      {13, "12", Y, N},   {13, "13", N, N}, // count >= T ("0" on the dash row)
    {14, "4", Y, N},       {14, "5", N, N},    {15, "12", Y, Y},   {15, "11", N, Y}, {16, "4", N, Y},
    {16, "5", Y, Y},       {17, "1,12", Y, N}, {17, "0", N, Y},    {18, "4", N, N},  {18, "0", N, Y},
    {19, "10", Y, N},      {19, "11", N, N},                       // weight >= T; "-" is 0
    {19, "0", Y, Y},       {20, "11", Y, Y},   {20, "10", N, Y},   // weight <= T; "-" is 0 too
    {20, "-1", N, N},      {21, "10", N, E},   {21, "11,5", N, E}, // 10.50 equals no integer
    {22, "2", Y, N},       {22, "3", N, N},                        // period min >= T
    {23, "2", Y, N},       {23, "1", N, N},                        // period min <= T; "-" is 65535
    {24, "2", Y, E},       {24, "3", N, E},    {25, "8", Y, N},    {25, "9", N, N},  // period >= T
    {26, "9", Y, Y},       {26, "8", N, Y},                                          // period <= T; "-" is 0
    {27, "8", N, E},       {27, "9", N, E},    {28, "19", Y, N},   {28, "20", N, N}, // period max >= T
    {29, "19", Y, N},      {29, "18", N, N},   {30, "1;19", Y, E}, {30, "18", N, E}, {31, "22", Y, N},
    {31, "30", N, Y}, // the parsed key, not the caption
    {31, "1,2", N, N},
};

TOutcome Outcome(const TFilterPart &part, const TStatValues &row) {
    try {
        return RowMatches(part, row) ? TOutcome::Yes : TOutcome::No;
    } catch (const EConvertError &) {
        return TOutcome::Error;
    }
}

TEST(RowMatchesTest, EveryModeAgainstTwoRows) {
    for (const TCase &c : Cases) {
        TFilterPart part;
        part.LevelMode = uint8_t(c.Mode);
        part.LevelValue = QString::fromLatin1(c.Level);
        SCOPED_TRACE(testing::Message() << "mode " << c.Mode << " value " << c.Level);
        EXPECT_EQ(Outcome(part, SampleRow()), c.Sample);
        EXPECT_EQ(Outcome(part, DashRow()), c.Dash);
    }
}

TEST(RowMatchesTest, BadThresholdsAndListItemsRaise) {
    const TStatValues row = SampleRow();
    TFilterPart part;
    for (int mode : {1, 4, 7, 13, 19, 20, 22, 26, 29}) {
        part.LevelMode = uint8_t(mode);
        for (const char *bad : {"", "x", "1.5", "1,2"}) {
            part.LevelValue = QString::fromLatin1(bad);
            EXPECT_EQ(Outcome(part, row), TOutcome::Error) << mode << " " << bad;
        }
    }
    part.LevelMode = lmCountList;
    part.LevelValue = QStringLiteral("1,x");
    EXPECT_EQ(Outcome(part, row), TOutcome::Error);
    // The error names the text that failed.
    try {
        RowMatches(part, row);
        FAIL();
    } catch (const EConvertError &e) {
        EXPECT_TRUE(e.Message().contains(QStringLiteral("\"x\""))) << e.Message().toStdString();
    }
    // An empty item between separators is no value, not an error.
    part.LevelValue = QStringLiteral("1,,12;");
    EXPECT_EQ(Outcome(part, row), TOutcome::Yes);
    // A mode outside the table selects nothing.
    part.LevelMode = 32;
    EXPECT_EQ(Outcome(part, row), TOutcome::No);
}

TEST(RowMatchesTest, NumberReaders) {
    EXPECT_EQ(IntOr(QStringLiteral(" 42 "), 0), 42);
    EXPECT_EQ(IntOr(QStringLiteral("-"), 65535), 65535);
    EXPECT_EQ(IntOr(QStringLiteral("4.0"), 7), 7);
    EXPECT_EQ(NumberOr(QStringLiteral("12,5"), 0), 12.5);
    EXPECT_EQ(NumberOr(QStringLiteral("inf"), 3), 3);
    EXPECT_EQ(StrictNumber(QStringLiteral("-0.25")), -0.25);
    EXPECT_THROW(StrictInt(QStringLiteral("1 2")), EConvertError);
    EXPECT_THROW(StrictNumber(QString()), EConvertError);
}

} // namespace
} // namespace lot
