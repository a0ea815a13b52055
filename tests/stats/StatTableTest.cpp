#include "stats/StatTable.h"
#include "core/Errors.h"
#include "stats/methods/NumberMethods.h"
#include "StatsTestUtil.h"

#include <gtest/gtest.h>

#include <limits>

namespace lot {
namespace {

using test::MakeStatDraw;

class TStatusHost : public IHost {
public:
    QStringList Statuses;
    void ShowStatus(const QString &text) override { Statuses << text; }
    void ShowError(const QString &) override {}
    void ShowInformation(const QString &) override {}
    void ShowAttention(const QString &) override {}
    void ShowWarning(const QString &) override {}
    bool Confirm(const QString &, const QString &, bool) override { return false; }
};

// Six draws, oldest first. Number 1 comes in draws 101, 103, 107, 111;
// number 2 in 101, 105, 107; number 3 in 101, 109; 4, 5 and 6 only in 101;
// 30..45 never. Even counts: 3, 2, 3, 3, 3, 2.
void FillArchive(TDrawsArchive &archive) {
    archive.Append(MakeStatDraw(101, {1, 2, 3, 4, 5, 6}, {7, 8}));
    archive.Append(MakeStatDraw(103, {1, 7, 8, 9, 10, 11}, {7, 9}));
    archive.Append(MakeStatDraw(105, {2, 7, 12, 13, 14, 15}, {7, 10}));
    archive.Append(MakeStatDraw(107, {1, 2, 16, 17, 18, 19}, {7, 11}));
    archive.Append(MakeStatDraw(109, {3, 20, 21, 22, 23, 24}, {7, 12}));
    archive.Append(MakeStatDraw(111, {1, 25, 26, 27, 28, 29}, {7, 13}));
}

class StatTableTest : public ::testing::Test {
protected:
    void SetUp() override {
        FillArchive(archive);
        stats.RegisterClasses(
            {&TstValues::StaticClass(), &TstEvenCount::StaticClass(), &TstPosExt::StaticClass()});
        table.FillSelector(false);
        table.SetSampleLength(1000);
    }

    /// Computes the method with this code, sorted by value so rows are easy to find.
    void Compute(const QString &code, bool force = true) {
        ASSERT_TRUE(table.SelectEntry(stats.FindEntry(code)));
        table.ComputeStatistics(force);
    }

    int RowOf(const QString &value) const {
        for (int r = 0; r < table.RowCount(); ++r)
            if (table.Cell(r, scValue) == value) return r;
        return -1;
    }

    /// Cells value..last column of the row showing value.
    QStringList Cells(const QString &value) const {
        const int r = RowOf(value);
        QStringList cells;
        if (r < 0) return cells;
        for (int c = 0; c < StatColumnCount; ++c)
            cells << table.Cell(r, c);
        return cells;
    }

    /// Full-set counts that every call of the source hands out.
    void UseFullSet(const TFullSetCounts &counts) {
        table.SetFullSetSource(
            [counts](const TCustomStat &) { return std::optional<TFullSetCounts>(counts); });
    }

    TStatusHost host;
    TDrawsArchive archive;
    TStatList stats{&archive};
    TStatTable table{host, stats, archive};
};

TEST_F(StatTableTest, ColumnsAreTheTwentyCaptions) {
    EXPECT_EQ(TStatTable::ColumnCaptions(),
              QStringList({"Значение",    "Количество", "Кол-во в %",  "Норма",    "Отклонение",
                           "Откл-ие в %", "Глубина",    "Глубина в %", "Вес",      "Посл. тираж",
                           "Период min",  "Период",     "Период max",  "Ожд. ПРД", "Ожд. СТФ",
                           "Ожд. КРН",    "Факт",       "+/- ПРД",     "+/- СТФ",  "+/- КРН"}));
}

TEST_F(StatTableTest, NumbersOverTheWholeArchive) {
    Compute("NUMS");
    // A sample longer than the archive uses what there is.
    EXPECT_EQ(table.Summary().SampleSize, 6);
    EXPECT_EQ(table.Summary().Total, 36);
    EXPECT_EQ(table.Summary().MinCount, 0);
    EXPECT_EQ(table.Summary().MaxCount, 4);
    EXPECT_EQ(table.Summary().MaxDepth, 6);
    EXPECT_FALSE(table.HasFull());
    ASSERT_EQ(table.RowCount(), 45);

    // Periods 2, 4, 4; expected draws 112.5 -> 112 (half to even), 138.75, 134.4.
    EXPECT_EQ(Cells("1"),
              QStringList({"1", "4",      "11.11111", "-",   "-",   "-",   "1", "16.67", "1.00", "111",
                           "2", "1.5000", "4",        "112", "139", "134", "-", "-",     "-",    "-"}));
    EXPECT_EQ(Cells("2"),
              QStringList({"2", "3",      "8.33333", "-",   "-",   "-",   "3", "50.00", "3.00", "107",
                           "2", "2.0000", "4",       "109", "143", "135", "-", "-",     "-",    "-"}));
    // Drawn once: no periods and no "ПРД", but the other two expectations.
    EXPECT_EQ(Cells("4"), QStringList({"4", "1", "2.77778", "-", "-",   "-",   "6", "100.00", "6.00", "101",
                                       "-", "-", "-",       "-", "202", "153", "-", "-",      "-",    "-"}));
    // Never drawn: a count of 0 and nothing after the full-set columns.
    EXPECT_EQ(Cells("30"), QStringList({"30", "0", "0.00000", "-", "-", "-", "-", "-", "-", "-",
                                        "-",  "-", "-",       "-", "-", "-", "-", "-", "-", "-"}));
}

TEST_F(StatTableTest, FactLooksPastTheOffset) {
    archive.SetOffset(1);
    Compute("NUMS");
    EXPECT_EQ(table.Summary().SampleSize, 5);
    EXPECT_EQ(table.Summary().Total, 30);
    // Number 1 last in 107 within the sample and next in 111, which the
    // offset hides: 109 - 111, 143 - 111, 135 - 111.
    EXPECT_EQ(Cells("1"),
              QStringList({"1", "3",      "10.00000", "-",   "-",   "-",   "2",   "40.00", "2.00", "107",
                           "2", "1.6667", "4",        "109", "143", "135", "111", "-2",    "+32",  "+24"}));
    // Number 3 does not come again: "Факт" and the differences stay empty.
    EXPECT_EQ(Cells("3").mid(scFact), QStringList({"-", "-", "-", "-"}));
    // Drawn once in the sample and again later: the "ПРД" difference is
    // empty because its expectation is.
    archive.SetOffset(4);
    Compute("NUMS");
    EXPECT_EQ(table.Summary().SampleSize, 2);
    EXPECT_EQ(Cells("2").mid(scExpectPrd), QStringList({"-", "202", "153", "105", "-", "+97", "+48"}));
}

TEST_F(StatTableTest, ShortSampleEndsAtTheNewestDrawInUse) {
    table.SetSampleLength(2);
    archive.SetOffset(1);
    Compute("NUMS");
    // Draws 107 and 109 only.
    EXPECT_EQ(table.Summary().SampleSize, 2);
    EXPECT_EQ(table.Cell(RowOf("1"), scCount), "1");
    EXPECT_EQ(table.Cell(RowOf("1"), scDepth), "2");
    EXPECT_EQ(table.Cell(RowOf("3"), scDepth), "1");
    EXPECT_EQ(table.Cell(RowOf("7"), scCount), "0");
}

TEST_F(StatTableTest, RatioValues) {
    Compute("EVEN");
    // Counts 1..6 are always listed, 0 only when it occurs.
    EXPECT_EQ(table.RowCount(), 6);
    EXPECT_EQ(table.Summary().Total, 6);
    EXPECT_EQ(Cells("3:3").mid(0, 3), QStringList({"3:3", "4", "66.66667"}));
    // 3:3 in 101, 105, 107, 109: periods 4, 2, 2.
    EXPECT_EQ(Cells("3:3").mid(scDepth), QStringList({"2", "100.00", "2.00", "109", "2", "1.5000", "4", "110",
                                                      "136", "132", "-", "-", "-", "-"}));
    EXPECT_EQ(Cells("2:4").mid(scDepth, 4), QStringList({"1", "50.00", "1.00", "111"}));
}

TEST_F(StatTableTest, NormsWhenAllFullSetCountsAreEqual) {
    // Every number is in C(44, 5) combinations of the full set.
    TFullSetCounts counts;
    for (int n = 1; n <= 45; ++n)
        counts.Records.push_back({TStatKey::FromWords(uint16_t(n)), 1086008});
    counts.MinCount = counts.MaxCount = 1086008;
    UseFullSet(counts);
    Compute("NUMS");
    ASSERT_TRUE(table.HasFull());
    // The norm is the mean of the sample's largest (4) and smallest (0) count.
    for (int r = 0; r < table.RowCount(); ++r)
        EXPECT_EQ(table.Cell(r, scNorm), "2") << r;
    EXPECT_EQ(Cells("1").mid(scNorm, 6), QStringList({"2", "2", "100.00000", "1", "16.67", "-1.00"}));
    EXPECT_EQ(Cells("4").mid(scNorm, 6), QStringList({"2", "-1", "-50.00000", "6", "100.00", "7.00"}));
    EXPECT_EQ(Cells("30").mid(scNorm, 4), QStringList({"2", "-2", "-100.00000", "-"}));
}

TEST_F(StatTableTest, NormsScaleByTheLargestCount) {
    // Ratio 4 / 8: 8 -> 4, 7 -> 3.5 -> 4, 5 -> 2.5 -> 2 (halves to even).
    TFullSetCounts counts;
    counts.Records = {{TStatKey::FromWords(3), 8}, {TStatKey::FromWords(4), 7}, {TStatKey::FromWords(5), 5}};
    counts.MinCount = 5;
    counts.MaxCount = 8;
    UseFullSet(counts);
    Compute("EVEN");
    EXPECT_EQ(Cells("3:3").mid(scNorm, 3), QStringList({"4", "0", "0.00000"}));
    EXPECT_EQ(Cells("4:2").mid(scNorm, 3), QStringList({"4", "-4", "-100.00000"}));
    EXPECT_EQ(Cells("5:1").mid(scNorm, 3), QStringList({"2", "-2", "-100.00000"}));
    // No full-set record: norm 0, deviation 100 % when drawn, else 0 %.
    EXPECT_EQ(Cells("2:4").mid(scNorm, 3), QStringList({"0", "2", "100.00000"}));
    EXPECT_EQ(Cells("1:5").mid(scNorm, 3), QStringList({"0", "0", "0.00000"}));
}

TEST_F(StatTableTest, EmptyOrZeroFullSetIsNoComparison) {
    for (const TFullSetCounts &counts :
         {TFullSetCounts{}, TFullSetCounts{{{TStatKey::FromWords(3), 0}}, 0, 0}}) {
        UseFullSet(counts);
        Compute("EVEN");
        EXPECT_FALSE(table.HasFull());
        EXPECT_EQ(Cells("3:3").mid(scNorm, 3), QStringList({"-", "-", "-"}));
    }
}

TEST_F(StatTableTest, WeightFollowsTheCoefficients) {
    TFullSetCounts counts;
    for (int n = 1; n <= 45; ++n)
        counts.Records.push_back({TStatKey::FromWords(uint16_t(n)), 1086008});
    counts.MinCount = counts.MaxCount = 1086008;
    UseFullSet(counts);

    struct TCase {
        TWeightCoefs Coefs;
        QString One, Four;
    };
    const long double inf = std::numeric_limits<long double>::infinity();
    const TCase cases[] = {
        // depth - deviation
        {{0, -1, 1, false, false}, "-1.00", "7.00"},
        // count% / 2 + deviation% + depth% / 4: 5.5556 + 100 + 4.1667; 1.3889 - 50 + 25
        {{0.5L, 1, 0.25L, true, false}, "109.72", "-23.61"},
        // absolute deviation
        {{0, 1, 0, false, true}, "2.00", "1.00"},
        {{0, 1, 0, false, false}, "2.00", "-1.00"},
        // absolute percentages
        {{0, 1, 0, true, true}, "100.00", "50.00"},
        // an infinite weight is a fault
        {{inf, 0, 0, false, false}, "-999.99", "-999.99"},
    };
    for (const TCase &c : cases) {
        stats.SetWeightCoefs(c.Coefs);
        Compute("NUMS");
        EXPECT_EQ(table.Cell(RowOf("1"), scWeight), c.One);
        EXPECT_EQ(table.Cell(RowOf("4"), scWeight), c.Four);
    }
}

TEST_F(StatTableTest, NewCoefficientsReachTheWeightWithoutRecount) {
    Compute("NUMS");
    const int computed = table.ComputeCount();
    stats.SetWeightCoefs({1, 0, 0, false, false});
    table.ComputeStatistics(false);
    EXPECT_EQ(table.ComputeCount(), computed);
    EXPECT_EQ(table.Cell(RowOf("1"), scWeight), "4.00");
}

TEST_F(StatTableTest, CompareCellsRule) {
    struct TCase {
        const char *A, *B;
        int Result;
    } cases[] = {
        {"2", "10", -1},    {"10", "2", 1},     {"2,5", "2.4", 1},  {"-1", "1", -1},
        {"-", "1", -1},     {"-", "-", 0},      {"abc", "ABD", -1}, {"Abc", "aBC", 0},
        {"2:4", "10:2", 1}, {"1.50", "1.5", 0}, {"+24", "-2", 1},   {"", "0", -1},
    };
    for (const TCase &c : cases)
        EXPECT_EQ(TStatTable::CompareCells(QString::fromUtf8(c.A), QString::fromUtf8(c.B)), c.Result)
            << c.A << " vs " << c.B;
}

TEST_F(StatTableTest, SortingByColumns) {
    Compute("NUMS");
    // Initially "Количество" ascending; equal counts fall back to the value, as numbers.
    EXPECT_EQ(table.SortColumn(), scCount);
    EXPECT_FALSE(table.SortDescending());
    EXPECT_EQ(table.Cell(0, scValue), "30");
    EXPECT_EQ(table.Cell(1, scValue), "31");
    EXPECT_EQ(table.Cell(44, scValue), "1");

    table.ClickColumn(scValue);
    EXPECT_EQ(table.Cell(0, scValue), "1");
    EXPECT_EQ(table.Cell(9, scValue), "10");
    table.ClickColumn(scValue);
    EXPECT_TRUE(table.SortDescending());
    EXPECT_EQ(table.Cell(0, scValue), "45");

    // "-" is text and sorts before the numbers.
    table.ClickColumn(scExpectPrd);
    EXPECT_FALSE(table.SortDescending());
    EXPECT_EQ(table.Cell(0, scExpectPrd), "-");
    EXPECT_EQ(table.Cell(44, scExpectPrd), "112");

    EXPECT_THROW(table.SetSort(20, true), EError);
    try {
        table.SetSort(-1, false);
    } catch (const EError &e) {
        EXPECT_EQ(e.Message(), "Некорректное занчение номера столбца сортировки (-1)");
    }
    EXPECT_EQ(table.SortColumn(), scExpectPrd);
}

TEST_F(StatTableTest, SelectionStaysWithItsRows) {
    Compute("NUMS");
    int changes = 0;
    QObject::connect(&table, &TStatTable::SelectionChanged, [&] { ++changes; });
    EXPECT_EQ(table.SelectByValueTexts({"4", " 1 ", "99"}), 2);
    EXPECT_EQ(changes, 1);
    table.SetSelected(1000, true); // outside the table: ignored
    table.SetSelectedRows(table.SelectedRows() << -5 << 400);
    EXPECT_EQ(table.SelectedCount(), 2);
    EXPECT_EQ(changes, 1);

    // Ascending count: 4 (count 1) comes before 1 (count 4).
    EXPECT_EQ(table.SelectedValuesText(), "4; 1");
    table.SetSort(scCount, true);
    EXPECT_EQ(table.SelectedValuesText(), "1; 4");
    const TStatDrawArray values = table.SelectedValues();
    ASSERT_EQ(values.size(), 2u);
    EXPECT_EQ(values[0].Key, TStatKey::FromWords(1));
    EXPECT_EQ(values[0].Count, 4);
    EXPECT_EQ(values[1].LastDraw, 101);

    table.SelectOnly(table.RowCount() - 1);
    EXPECT_EQ(table.SelectedRows(), QList<int>{table.RowCount() - 1});
    table.ComputeStatistics(true);
    EXPECT_EQ(table.SelectedCount(), 0);
}

TEST_F(StatTableTest, ChangeDetection) {
    Compute("NUMS");
    const int n = table.ComputeCount();
    // Re-selecting the same method with nothing else changed does nothing.
    Compute("NUMS", false);
    EXPECT_EQ(table.ComputeCount(), n);

    struct TStep {
        const char *What;
        std::function<void()> Change;
    } steps[] = {
        {"sample length", [&] { table.SetSampleLength(3); }},
        {"offset", [&] { archive.SetOffset(2); }},
        {"archive length",
         [&] {
             archive.Append(MakeStatDraw(113, {1, 2, 3, 4, 5, 6}));
         }},
        {"method", [&] { table.SelectEntry(stats.FindEntry("EVEN")); }},
    };
    int expected = n;
    for (const TStep &s : steps) {
        s.Change();
        table.ComputeStatistics(false);
        EXPECT_EQ(table.ComputeCount(), ++expected) << s.What;
        table.ComputeStatistics(false);
        EXPECT_EQ(table.ComputeCount(), expected) << s.What;
    }
    table.ComputeStatistics(true);
    EXPECT_EQ(table.ComputeCount(), expected + 1);
}

TEST_F(StatTableTest, NothingToComputeEmptiesTheTable) {
    Compute("NUMS");
    table.SetSelectorIndex(-1);
    table.ComputeStatistics(false);
    EXPECT_EQ(table.RowCount(), 0);
    EXPECT_FALSE(table.Chart().Actual.has_value());

    Compute("NUMS");
    archive.ClearDraws();
    table.ComputeStatistics(false);
    EXPECT_EQ(table.RowCount(), 0);
    EXPECT_FALSE(table.Chart().Actual.has_value());
}

TEST_F(StatTableTest, StatusTextIsClearedAlsoAfterAnError) {
    Compute("NUMS");
    EXPECT_EQ(host.Statuses, QStringList({"Анализ тиражей и расчет статистики...", ""}));
    EXPECT_TRUE(host.IsIdle());

    host.Statuses.clear();
    table.SetFullSetSource([](const TCustomStat &) -> std::optional<TFullSetCounts> {
        throw EError(QStringLiteral("нет файла"));
    });
    EXPECT_THROW(table.ComputeStatistics(true), EError);
    EXPECT_EQ(host.Statuses.last(), "");
    EXPECT_TRUE(host.IsIdle());
    EXPECT_EQ(table.RowCount(), 0);
}

TEST_F(StatTableTest, NoMethodSelectedIsAnError) {
    try {
        table.SetSelectorIndex(-1);
        table.CreateSelectedStat();
        FAIL();
    } catch (const EError &e) {
        EXPECT_EQ(e.Message(), "Не выбран метод расчета статистики (cb: cbDrawsStat)!");
    }
}

TEST_F(StatTableTest, ChartWithoutFullSet) {
    Compute("NUMS");
    const TStatChart &chart = table.Chart();
    ASSERT_TRUE(chart.Actual.has_value());
    EXPECT_FALSE(chart.Total.has_value());
    EXPECT_EQ(chart.Actual->Title, "Фактические данные");
    ASSERT_EQ(chart.Actual->Points.size(), 45);
    // In key order, one point per value.
    EXPECT_EQ(chart.Actual->Points[0].X, 1);
    EXPECT_EQ(chart.Actual->Points[0].Y, 4);
    EXPECT_EQ(chart.Actual->Points[0].Label, "1");
    EXPECT_EQ(chart.Actual->Points[44].Label, "45");
    EXPECT_EQ(chart.Actual->Points[44].Y, 0);
}

TEST_F(StatTableTest, ChartWithFullSet) {
    TFullSetCounts counts;
    counts.Records = {{TStatKey::FromWords(3), 8}, {TStatKey::FromWords(4), 7}, {TStatKey::FromWords(7), 5}};
    counts.MinCount = 5;
    counts.MaxCount = 8;
    UseFullSet(counts);
    Compute("EVEN");
    const TStatChart &chart = table.Chart();
    ASSERT_TRUE(chart.Total.has_value());
    EXPECT_EQ(chart.Total->Title, "Все возможные комбинации");
    ASSERT_EQ(chart.Total->Points.size(), 3);
    EXPECT_EQ(chart.Total->Points[1].X, 2);
    EXPECT_EQ(chart.Total->Points[1].Y, 3.5);
    EXPECT_EQ(chart.Total->Points[1].Label, "4:2");
    // The key 7 is not among the sample's values: no actual point there.
    ASSERT_EQ(chart.Actual->Points.size(), 2);
    EXPECT_EQ(chart.Actual->Points[0].Y, 4);
    EXPECT_EQ(chart.Actual->Points[1].X, 2);

    table.SetShowTotalLine(false);
    table.ComputeStatistics(true);
    EXPECT_FALSE(table.Chart().Total.has_value());
    EXPECT_EQ(table.Chart().Actual->Points.size(), 2);
}

TEST_F(StatTableTest, NoChartForASingleValue) {
    // Every draw has supplementary number 7 first.
    Compute("POE1");
    EXPECT_EQ(table.RowCount(), 1);
    EXPECT_FALSE(table.Chart().Actual.has_value());
}

} // namespace
} // namespace lot
