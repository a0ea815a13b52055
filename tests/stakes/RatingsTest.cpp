// The ratings: the record and file layout, the accumulation of checked
// stakes, the list's cells in the three efficiency modes, the comparison and
// the quicksort order (ties included), the CSV export, refresh and the
// chance of a row's overlaps.

#include "StakesTestUtil.h"

#include "core/Codec1251.h"
#include "shell/FakeHost.h"
#include "stakes/RatingChance.h"
#include "stakes/Ratings.h"

#include <cmath>
#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QTemporaryDir>

using namespace lot;
using namespace lot::stakestest;
using lot::test::TFakeHost;

namespace {

TRatingRec Row(const QString &comment, int stakes, int overlaps = 0, int64_t profit = 0) {
    TRatingRec r;
    SetRatingComment(r, comment);
    r.Stakes = stakes;
    r.Overlaps = overlaps;
    r.Profit = profit;
    return r;
}

TStakeRec Checked(const QString &comment, int o, double profit) {
    TStakeRec rec = CheckedStake(101, o);
    SetStakeComment(rec, comment);
    rec.Profit = TMoney::FromDouble(profit).Units;
    return rec;
}

QString Comments(const TRatingsArray &rows) {
    QStringList s;
    for (const TRatingRec &r : rows)
        s << RatingComment(r);
    return s.join(QLatin1Char(','));
}

} // namespace

TEST(RatingsTest, FileHoldsRecordsAtTheirOffsets) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("r.lrt"));
    TRatingRec r = Row(QStringLiteral("Тест"), 7, 9, -123456789012LL);
    r.Histogram[0] = 1;
    r.Histogram[6] = 0x01020304;
    TRatings ratings;
    ratings.SetRows({Row(QStringLiteral("a"), 1), r});
    ratings.Save(path);
    const QByteArray b = ReadAll(path);
    ASSERT_EQ(b.size(), 2 * 304);
    const char *rec = b.constData() + 304;
    EXPECT_EQ(uint8_t(rec[0]), 4); // length byte
    EXPECT_EQ(QByteArray(rec + 1, 4), ToCp1251(QStringLiteral("Тест")));
    auto i32 = [&](int at) {
        int32_t v;
        std::memcpy(&v, rec + at, 4);
        return v;
    };
    EXPECT_EQ(i32(256), 7);
    EXPECT_EQ(i32(260), 9);
    EXPECT_EQ(i32(264), 1);
    EXPECT_EQ(i32(264 + 24), 0x01020304);
    EXPECT_EQ(i32(292), 0); // padding
    int64_t profit;
    std::memcpy(&profit, rec + 296, 8);
    EXPECT_EQ(profit, -123456789012LL);

    // A partial record at the end is left out; the rest reads back unchanged.
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::Append));
    f.write("xyz");
    f.close();
    TRatings back;
    back.Load(path);
    ASSERT_EQ(back.Count(), 2);
    EXPECT_EQ(std::memcmp(&back.At(1), &r, sizeof r), 0);
}

TEST(RatingsTest, AccumulatesByCommentIgnoringCase) {
    TRatings ratings;
    ratings.Accumulate(Checked(QStringLiteral("Сценарий Abc"), 3, 9));
    ratings.Accumulate(Checked(QStringLiteral("сЦЕНАРИЙ aBC"), 0, -1));
    ratings.Accumulate(Checked(QStringLiteral("Другой"), 6, 1000));
    TStakeRec unchecked = Checked(QStringLiteral("Другой"), 0, 0);
    unchecked.Overlaps.Count = -1;
    ratings.Accumulate(unchecked);
    TStakeRec hostile = Checked(QStringLiteral("Другой"), 0, 0);
    hostile.Overlaps.Count = 7; // no histogram slot: ignored, never written past it
    ratings.Accumulate(hostile);

    ASSERT_EQ(ratings.Count(), 2);
    const TRatingRec &a = ratings.At(0);
    EXPECT_EQ(RatingComment(a), QStringLiteral("Сценарий Abc")); // the first comment stays the key
    EXPECT_EQ(a.Stakes, 2);
    EXPECT_EQ(a.Overlaps, 3);
    EXPECT_EQ(a.Histogram[0], 1);
    EXPECT_EQ(a.Histogram[3], 1);
    EXPECT_EQ(a.Profit, 8 * 10000);
    EXPECT_EQ(ratings.At(1).Stakes, 1);
    EXPECT_EQ(ratings.At(1).Histogram[6], 1);
    EXPECT_EQ(ratings.Find(QStringLiteral("ДРУГОЙ")), 1);
}

TEST(RatingsTest, CellsInTheThreeEfficiencyModes) {
    TRatingRec r = Row(QStringLiteral("x"), 100, 95, -1234567);
    r.Histogram[0] = 40;
    r.Histogram[1] = 55;
    r.Histogram[3] = 5;
    struct Case {
        int column, mode;
        const char *text;
    } cases[] = {
        {rcStakes, 0, "100"},
        {rcOverlaps, 0, "95"},
        {rcAverage, 0, "0.950"},
        {rcProfit, 0, "-123.46"},
        {rcAverageProfit, 0, "-1.23"},
        {rcHistogram0 + 1, 0, "55"},
        {rcEfficiency0, 0, "40"},
        {rcEfficiency0, 1, "-0.056%"},
        {rcEfficiency0, 2, "99.859%"},
        {rcEfficiency0 + 1, 0, "42"},
        {rcEfficiency0 + 1, 1, "12.587%"},
        {rcEfficiency0 + 1, 2, "129.678%"},
        {rcEfficiency0 + 3, 0, "2"},
        {rcEfficiency0 + 3, 1, "2.756%"},
        {rcEfficiency0 + 3, 2, "222.810%"},
        {rcEfficiency0 + 6, 0, "0"},
        {rcEfficiency0 + 6, 2, "0.000%"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(RatingCellText(r, c.column, c.mode), QString::fromUtf8(c.text))
            << c.column << " mode " << c.mode;

    // The average profit is rounded to the money unit first: 99 / 2 = 49.5 -> 50 units, which
    // shows as 0.01 (0.00495 itself would show as 0.00).
    EXPECT_EQ(RatingCellText(Row(QStringLiteral("y"), 2, 0, 99), rcAverageProfit, 0), QStringLiteral("0.01"));
    EXPECT_EQ(RatingCellText(Row(QStringLiteral("y"), 2, 0, -99), rcAverageProfit, 0),
              QStringLiteral("-0.01"));

    const TRatingRec empty = Row(QStringLiteral("z"), 0);
    for (int c : {int(rcAverage), int(rcAverageProfit), int(rcEfficiency0), int(rcEfficiency0 + 6)})
        EXPECT_TRUE(RatingCellText(empty, c, 1).isEmpty()) << c;
    EXPECT_EQ(RatingCellText(empty, rcStakes, 1), QStringLiteral("0"));
}

TEST(RatingsTest, ComparisonRoundsToHundredths) {
    // Averages 1/3 and 0.334 differ by 0.07 hundredths: equal; 1/3 and 0.34 by 0.67: ordered.
    struct Case {
        TRatingRec a, b;
        int column, expected;
    } cases[] = {
        {Row("a", 300, 100), Row("b", 1000, 334), rcAverage, 0},
        {Row("a", 300, 100), Row("b", 100, 34), rcAverage, -1},
        {Row("a", 1, 0, 1049), Row("b", 1, 0, 1000), rcProfit, 0},        // 0.49 hundredths
        {Row("a", 1, 0, 1050), Row("b", 1, 0, 1000), rcProfit, 1},        // half a hundredth
        {Row("a", 2, 0, 2098), Row("b", 1, 0, 1000), rcAverageProfit, 0}, // 1049 vs 1000
        {Row("a", 2, 0, 2100), Row("b", 1, 0, 1000), rcAverageProfit, 1},
        {Row("a", 5), Row("b", 0), rcStakes, 0}, // a row without stakes equals every row
        {Row("a", 5), Row("b", 4), rcStakes, 1},
        {Row("a", 5), Row("B", 5), rcEfficiency0 + 2, 0},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(CompareRatings(c.a, c.b, c.column, false), c.expected) << c.column;
        EXPECT_EQ(CompareRatings(c.a, c.b, c.column, true), -c.expected) << c.column;
    }
    // The comment column is case-sensitive.
    EXPECT_NE(CompareRatings(Row("abc", 1), Row("ABC", 1), rcComment, false), 0);
}

TEST(RatingsTest, QuicksortOrderWithTies) {
    // Worked by hand through the list's quicksort: equal keys are swapped past each other.
    struct Case {
        int column;
        bool descending;
        const char *order;
    } cases[] = {
        {rcStakes, false, "d,b,a,c"},
        {rcStakes, true, "c,a,d,b"},
        {rcEfficiency0, false, "c,d,a,b"}, // every pair equal, and still reordered
        {-1, false, "a,b,c,d"},            // no column: left alone
    };
    for (const Case &c : cases) {
        TRatingsArray rows{Row("a", 2), Row("b", 1), Row("c", 2), Row("d", 1)};
        SortRatingRows(rows, c.column, c.descending);
        EXPECT_EQ(Comments(rows), QString::fromLatin1(c.order)) << c.column << c.descending;
    }
    TRatingsArray byComment{Row("b", 1), Row("a", 1), Row("c", 1)};
    SortRatingRows(byComment, rcComment, false);
    EXPECT_EQ(Comments(byComment), QStringLiteral("a,b,c"));
}

TEST(RatingsTest, CsvExportLines) {
    TRatingRec r = Row(QStringLiteral("Ставка \"вручную\""), 3, 4, 25001);
    r.Histogram[1] = 2;
    r.Histogram[2] = 1;
    const QStringList dot = RatingsCsvLines({r, Row(QStringLiteral("пусто"), 0)}, QLatin1Char('.'));
    ASSERT_EQ(dot.size(), 3);
    EXPECT_EQ(dot[0],
              QStringLiteral("\"Комментарий\";\"Ставок\";\"Угадано\";\"Среднее\";\"Профит\";\"Ср. профит\";"
                             "\"0\";\"1\";\"2\";\"3\";\"4\";\"5\";\"6\";\"E0\";\"E1\";\"E2\";\"E3\";\"E4\";"
                             "\"E5\";\"E6\""));
    EXPECT_EQ(dot[1], QStringLiteral("\"Ставка \"\"вручную\"\"\";3;4;1.333;2.50;0.83;0;2;1;0;0;0;0"));
    EXPECT_EQ(dot[1].count(QLatin1Char(';')) + 1, 13);
    EXPECT_EQ(dot[2], QStringLiteral("\"пусто\";0;0;;0.00;;0;0;0;0;0;0;0"));
    const QStringList comma = RatingsCsvLines({r}, QLatin1Char(','));
    EXPECT_EQ(comma[1], QStringLiteral("\"Ставка \"\"вручную\"\"\";3;4;1,333;2,50;0,83;0;2;1;0;0;0;0"));
}

// ---- the controller ------------------------------------------------------------------------

namespace {

class RatingsControllerTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(stakes.LoadStakes());
        stakes.SetPrizes(1, {{3, 10}, {4, 100}});
        ASSERT_TRUE(stakes.Archive.ReplaceDraws({Draw(101, {7, 3, 11, 17, 25, 40})}));
        host.Clear();
    }
    void Add(std::initializer_list<int> numbers, const QString &comment) {
        TStakeRec rec = Stake(101, numbers);
        SetStakeComment(rec, comment);
        stakes.File().AppendRecord(rec);
    }
    QTemporaryDir dir;
    TDataFolder folder{dir.path()};
    TFakeHost host;
    TTestStakes stakes{host, folder};
};

} // namespace

TEST_F(RatingsControllerTest, CheckingAccumulatesSortsAndSaves) {
    Add({3, 11, 17, 30, 31, 32}, QStringLiteral("A")); // 3 overlaps, profit 9
    Add({1, 2, 4, 5, 6, 8}, QStringLiteral("b"));      // 0, -1
    Add({3, 11, 17, 25, 31, 32}, QStringLiteral("a")); // 4, 99
    qint64 checked = 0;
    ASSERT_TRUE(stakes.CheckAndSave(&checked));
    EXPECT_EQ(checked, 3);
    // Sorted by "Среднее" descending: A (3.5), b (0).
    ASSERT_EQ(stakes.Ratings().Count(), 2);
    EXPECT_EQ(RatingComment(stakes.Ratings().At(0)), QStringLiteral("A"));
    EXPECT_EQ(RatingCellText(stakes.Ratings().At(0), rcProfit, 1), QStringLiteral("108.00"));
    EXPECT_EQ(stakes.RatingsCountText(), QStringLiteral("Рейтинг: 2"));
    EXPECT_EQ(QFileInfo(folder.RatingsFile()).size(), 2 * 304);

    // The next start reads them back, in the file's order.
    TFakeHost host2;
    ASSERT_TRUE(stakes.CloseStakes());
    TTestStakes again(host2, folder);
    ASSERT_TRUE(again.LoadRatings());
    ASSERT_EQ(again.Ratings().Count(), 2);
    EXPECT_EQ(RatingComment(again.Ratings().At(1)), QStringLiteral("b"));
}

TEST_F(RatingsControllerTest, RefreshAsksAndRebuildsFromTheFile) {
    Add({3, 11, 17, 30, 31, 32}, QStringLiteral("A"));
    Add({1, 2, 4, 5, 6, 8}, QStringLiteral("b"));
    ASSERT_TRUE(stakes.CheckAndSave());
    ASSERT_TRUE(stakes.DeleteSelectedStakes(1, 1));
    host.Clear();

    host.ConfirmAnswer = false;
    bool refused = false;
    ASSERT_TRUE(stakes.RatingsRefresh(&refused));
    EXPECT_TRUE(refused);
    EXPECT_EQ(stakes.Ratings().Count(), 2); // No keeps everything
    ASSERT_EQ(host.Messages.size(), 1);
    EXPECT_EQ(host.Messages[0].Text,
              QStringLiteral("Пересчитать рейтинг только по текущим ставкам?\r\rНакопленные "
                             "ранее данные по удаленным ставкам будут потеряны."));

    host.ConfirmAnswer = true;
    ASSERT_TRUE(stakes.RatingsRefresh(&refused));
    EXPECT_FALSE(refused);
    ASSERT_EQ(stakes.Ratings().Count(), 1);
    EXPECT_EQ(RatingComment(stakes.Ratings().At(0)), QStringLiteral("A"));
    EXPECT_EQ(QFileInfo(folder.RatingsFile()).size(), 304);
}

TEST_F(RatingsControllerTest, UnreadableFileIsKeptBeforeTheNextSave) {
    // A directory under the file's name cannot be read as the file.
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("Brantlee_6x45.lrt")));
    EXPECT_FALSE(stakes.LoadRatings());
    ASSERT_FALSE(host.Messages.isEmpty());
    EXPECT_TRUE(host.Messages[0].Text.startsWith(QStringLiteral("Ошибка чтения файла рейтинга!\r\r")));
    EXPECT_TRUE(stakes.Ratings().IsEmpty());
    EXPECT_TRUE(QFileInfo(folder.RatingsFile()).isDir()); // not written over
}

TEST_F(RatingsControllerTest, CsvFileIsWindows1251WithCrLf) {
    Add({3, 11, 17, 30, 31, 32}, QStringLiteral("Тест"));
    ASSERT_TRUE(stakes.CheckAndSave());
    const QString path = dir.filePath(QStringLiteral("r.csv"));
    // The user's locale gives the decimal separator.
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    const TOpResult r = stakes.ExportRatingsCsv(path);
    QLocale::setDefault(QLocale::c());
    ASSERT_TRUE(r);
    const QByteArray bytes = ReadAll(path);
    EXPECT_TRUE(bytes.endsWith("\r\n"));
    EXPECT_EQ(bytes.count("\r\n"), 2);
    EXPECT_TRUE(
        bytes.contains(ToCp1251(QStringLiteral("\r\n\"Тест\";1;3;3,000;9,00;9,00;0;0;0;1;0;0;0\r\n"))));
}

// ---- chance ---------------------------------------------------------------------------------

TEST(RatingChanceTest, ExactAgreesWithAnExhaustiveCount) {
    int64_t counts[CombSize + 1];
    for (int i = 0; i <= CombSize; ++i)
        counts[i] = int64_t(Binomial(6, i)) * Binomial(39, 6 - i);
    const __int128 full = FullSetSize;
    // n = 3: every triple of overlap classes, weighted by its combinations.
    __int128 atLeast[3 * CombSize + 2] = {};
    for (int a = 0; a <= 6; ++a)
        for (int b = 0; b <= 6; ++b)
            for (int c = 0; c <= 6; ++c)
                for (int k = 0; k <= a + b + c; ++k)
                    atLeast[k] += __int128(counts[a]) * counts[b] * counts[c];
    for (int k = 0; k <= 19; ++k) {
        const long double expected = (long double)atLeast[k] / (long double)(full * full * full);
        const long double got = ExactChanceOfOverlaps(3, k);
        EXPECT_NEAR(double(got / (expected > 0 ? expected : 1)), expected > 0 ? 1.0 : 0.0, 1e-12) << k;
    }
    EXPECT_EQ(ExactChanceOfOverlaps(1, 1), 1 - OverlapProbabilities()[0]);
    EXPECT_EQ(ChanceOfOverlaps(5, 0), 1);
    EXPECT_EQ(ChanceOfOverlaps(5, 31), 0);
}

TEST(RatingChanceTest, ApproximationFollowsTheExactTail) {
    // Mean 0.8 overlaps per stake, variance 0.614545: from below the mean to 12 sd above it.
    for (int n : {300, 1000, 2000}) {
        const double mean = n * 0.8, sd = std::sqrt(n * 0.614545);
        for (double z : {-2.0, 0.0, 1.0, 3.0, 6.0, 12.0}) {
            const int64_t k = int64_t(std::ceil(mean + z * sd));
            const long double exact = ExactChanceOfOverlaps(n, k);
            const long double approx = ApproxChanceOfOverlaps(n, k);
            ASSERT_GT(exact, 0);
            EXPECT_NEAR(double(approx / exact), 1.0, 0.01) << "n " << n << " k " << k;
        }
    }
    // All stakes with six overlaps: p(6)^n exactly.
    EXPECT_NEAR(double(ApproxChanceOfOverlaps(2, 12) / ExactChanceOfOverlaps(2, 12)), 1.0, 1e-12);
    // Millions of stakes: the approximation alone, monotone in the overlaps.
    const long double lo = ChanceOfOverlaps(5000000, 4000000), hi = ChanceOfOverlaps(5000000, 4005000);
    EXPECT_GT(lo, hi);
    EXPECT_GT(hi, 0);
}

TEST(RatingChanceTest, TextAndHint) {
    TRatingRec r = Row(QStringLiteral("x"), 1, 1);
    EXPECT_EQ(RatingChanceText(r), QStringLiteral("0.599"));
    r.Overlaps = 6;
    EXPECT_EQ(RatingChanceText(r), QStringLiteral("1.23e-7"));
    EXPECT_EQ(RatingChanceHint(r),
              QStringLiteral("Вероятность угадать случайными ставками (1) не меньше 6: 1.23e-7"));
    EXPECT_TRUE(RatingChanceText(Row(QStringLiteral("y"), 0)).isEmpty());
}
