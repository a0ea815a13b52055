// Reading the monthly results page, and the months the download walks.

#include "ResultsPages.h"

#include "core/CoreHelpers.h"
#include "core/Errors.h"
#include "download/ResultsPage.h"

#include <gtest/gtest.h>

namespace lot {
namespace {

using test::ResultsPage;

TEST(ResultsMonths, TextsPathsAndTheNextMonth) {
    EXPECT_EQ(ResultsMonthText(202701), QStringLiteral("january-2027"));
    EXPECT_EQ(ResultsMonthText(202612), QStringLiteral("december-2026"));
    EXPECT_EQ(ResultsMonthText(198605), QStringLiteral("may-1986"));
    EXPECT_EQ(ResultsMonthText(202613), QStringLiteral("error-2026"));
    EXPECT_EQ(ResultsMonthPath(202701), QStringLiteral("/brantlee-draw/results/january-2027"));
    EXPECT_EQ(NextResultsMonth(202612), 202701);
    EXPECT_EQ(NextResultsMonth(202701), 202702);
}

TEST(ResultsPageReader, DrawsOnOrAfterTheEarliestDateOncePerNumber) {
    const QString page = ResultsPage({
        {4023, "2026-12-31", {3, 11, 17, 25, 40, 44}, {7, 29}},
        {4023, "2026-12-31", {3, 11, 17, 25, 40, 44}, {7, 29}}, // listed twice
        {4021, "2026-12-28", {1, 2, 3, 4, 5, 6}, {8, 9}},       // already stored
    });
    const TResultsPage r = ReadResultsPage(page, 20261229);
    ASSERT_EQ(r.Draws.size(), 1u);
    const TDrawRec &d = r.Draws[0];
    EXPECT_EQ(d.DrawNumber, 4023);
    EXPECT_EQ(DrawDateText(d), QStringLiteral("31 Dec 2026"));
    EXPECT_EQ(DrawValuesText(d), QStringLiteral("3;11;17;25;40;44 e:7;29"));
    EXPECT_EQ(r.Skipped, 0);
    // From an earlier date both draws, newest first as listed.
    const TResultsPage all = ReadResultsPage(page, 20261201);
    ASSERT_EQ(all.Draws.size(), 2u);
    EXPECT_EQ(all.Draws[0].DrawNumber, 4023);
    EXPECT_EQ(all.Draws[1].DrawNumber, 4021);
}

TEST(ResultsPageReader, DrawsTheArchiveCannotHoldAreLeftOut) {
    const TResultsPage r =
        ReadResultsPage(ResultsPage({
                            {4025, "2027-01-07", {3, 11, 17, 25, 40, 46}, {7, 29}}, // 46
                            {0, "2027-01-04", {3, 11, 17, 25, 40, 44}, {7, 29}},    // no number
                            {4021, "2027-01-02", {3, 11, 17, 25, 40, 44}, {0, 29}}, // extra 0
                            {4019, "2027-01-01", {1, 2, 3, 4, 5, 6}, {7, 8}},
                        }),
                        20270101);
    ASSERT_EQ(r.Draws.size(), 1u);
    EXPECT_EQ(r.Draws[0].DrawNumber, 4019);
    EXPECT_EQ(r.Skipped, 3);
}

TEST(ResultsPageReader, PagesWithoutTheBlockOrWithBrokenMarkers) {
    EXPECT_TRUE(ReadResultsPage(QStringLiteral("<html>Maintenance</html>"), 20270101).Draws.empty());
    // The block starts but never ends.
    EXPECT_THROW(ReadResultsPage(QStringLiteral("{\"drawsPast\":{\"draws\":[{\"drawNo\":1"), 20270101),
                 EError);
    // A draw without its date end marker.
    QString page = ResultsPage({{4023, "2026-12-31", {3, 11, 17, 25, 40, 44}, {7, 29}}});
    page.replace(QStringLiteral("T00:00:00"), QString());
    EXPECT_THROW(ReadResultsPage(page, 20270101), EError);
    // A date that is not a number.
    QString date = ResultsPage({{4023, "2026-12-3x", {3, 11, 17, 25, 40, 44}, {7, 29}}});
    EXPECT_THROW(ReadResultsPage(date, 20270101), EError);
}

} // namespace
} // namespace lot
