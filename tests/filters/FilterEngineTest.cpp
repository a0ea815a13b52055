#include "core/Errors.h"
#include "FiltersTestUtil.h"
#include "stats/CustomStatBases.h"
#include "stats/methods/NumberMethods.h"

#include <gtest/gtest.h>

namespace lot {
namespace {

using test::C;
using test::ListOf;

const TComb A = C(1, 20, 21, 22, 23, 24);
const TComb B = C(2, 20, 21, 22, 23, 25);
const TComb Cc = C(3, 20, 21, 22, 23, 26);
const TComb D = C(19, 20, 21, 22, 23, 27);
const TComb E = C(19, 20, 21, 22, 23, 28);
const std::vector<TComb> Five = {A, B, Cc, D, E};

class FilterEngineTest : public ::testing::Test, public test::TFilterBench {
protected:
    void SetUp() override { SetList(Five); }

    void ComputeNums() {
        ASSERT_TRUE(table.SelectEntry(Entry(QStringLiteral("NUMS"))));
        table.ComputeStatistics(true);
    }
    int UndoRows() const { return HistoryRows(TFilterEngine::UndoHistoryText()); }
    int FilterRows() const { return int(combs.History().size()) - UndoRows(); }
};

// ---- manual filtering ------------------------------------------------------------------------

TEST_F(FilterEngineTest, KeepAndDeleteTheSelectedRows) {
    ComputeNums();
    EXPECT_FALSE(engine.CanFilterBySelection());
    table.SelectByValueTexts({QStringLiteral("19"), QStringLiteral("2")});
    EXPECT_TRUE(engine.CanFilterBySelection());
    const QString values = table.SelectedValuesText();

    ASSERT_TRUE(filters.FilterBySelection(false));
    EXPECT_EQ(ListOf(combs), (std::vector<TComb>{B, D, E}));
    ASSERT_EQ(combs.History().size(), 1);
    EXPECT_EQ(combs.History()[0].Operation, table.SelectorText());
    EXPECT_EQ(combs.History()[0].Values, values);
    EXPECT_EQ(combs.History()[0].Count, QStringLiteral("3"));
    EXPECT_EQ(combs.History()[0].ImageIndex, HistoryIconFlagOff);
    EXPECT_EQ(test::ToVector(combs.UndoCombs()), Five);
    EXPECT_TRUE(host.Statuses.contains(QStringLiteral("Фильтрация комбинаций...")));
    EXPECT_TRUE(host.IsIdle());

    ASSERT_TRUE(combs.Undo());
    ASSERT_TRUE(filters.FilterBySelection(true));
    EXPECT_EQ(ListOf(combs), (std::vector<TComb>{A, Cc}));
    EXPECT_EQ(combs.History().back().ImageIndex, HistoryIconFlagOn);
    EXPECT_TRUE(host.Errors.isEmpty());
}

TEST_F(FilterEngineTest, NothingSelectedChangesNothing) {
    ComputeNums();
    ASSERT_TRUE(filters.FilterBySelection(false));
    EXPECT_EQ(ListOf(combs), Five);
    EXPECT_TRUE(combs.History().isEmpty());
    // A manual filtering that empties the list is not undone automatically.
    table.SelectByValueTexts({QStringLiteral("45")});
    ASSERT_TRUE(filters.FilterBySelection(false));
    EXPECT_EQ(combs.Count(), 0);
    EXPECT_EQ(combs.History().size(), 1);
    EXPECT_FALSE(engine.CanFilterBySelection());
}

TEST_F(FilterEngineTest, NumberSelectionsOfTheDrawViews) {
    // Card: each cell one number, repeated numbers once, a text that is no
    // number counts as 0 (which no combination holds).
    const TNumberSelection card = TFilterEngine::CollectNumbers(
        TNumberView::Card, {QStringLiteral("2"), QStringLiteral(" "), QStringLiteral("x"),
                            QStringLiteral("2"), QStringLiteral("19")});
    EXPECT_EQ(card.Numbers, (QList<int>{2, 0, 19}));
    EXPECT_EQ(card.Text, QStringLiteral("2; x; 19"));
    const TNumberSelection layout = TFilterEngine::CollectNumbers(
        TNumberView::Layout, {QStringLiteral("[1, 2]"), QStringLiteral("3,[1]"), QStringLiteral("[]")});
    EXPECT_EQ(layout.Numbers, (QList<int>{1, 2, 3}));
    EXPECT_EQ(layout.Text, QStringLiteral("1; 2; 3"));

    ASSERT_TRUE(filters.FilterByNumbers(TNumberView::Card, {QStringLiteral("2"), QStringLiteral("19")}, false,
                                        QStringLiteral("Карта")));
    EXPECT_EQ(ListOf(combs), (std::vector<TComb>{B, D, E}));
    EXPECT_EQ(combs.History().back().Operation, QStringLiteral("Карта"));
    EXPECT_EQ(combs.History().back().Values, QStringLiteral("2; 19"));

    ASSERT_TRUE(filters.FilterByNumbers(TNumberView::Layout, {QStringLiteral("[2, 3]")}, true,
                                        QStringLiteral("Схема")));
    EXPECT_EQ(ListOf(combs), (std::vector<TComb>{D, E}));
    EXPECT_EQ(combs.History().back().ImageIndex, HistoryIconFlagOn);

    // Only cells that are no number: kept, the list empties; deleted, nothing changes.
    SetList(Five);
    ASSERT_TRUE(
        filters.FilterByNumbers(TNumberView::Card, {QStringLiteral("?")}, true, QStringLiteral("Карта")));
    EXPECT_EQ(ListOf(combs), Five);
    ASSERT_TRUE(
        filters.FilterByNumbers(TNumberView::Card, {QStringLiteral("?")}, false, QStringLiteral("Карта")));
    EXPECT_EQ(combs.Count(), 0);

    // A number beyond the game never matches, even one whose low 16 bits name a number (65536 + 21).
    SetList(Five);
    ASSERT_TRUE(filters.FilterByNumbers(TNumberView::Week, {QStringLiteral("65557")}, false,
                                        QStringLiteral("Неделя")));
    EXPECT_EQ(combs.Count(), 0);
    EXPECT_TRUE(host.Errors.isEmpty());
}

TEST_F(FilterEngineTest, EmptyNumberSelectionIsRefused) {
    const QString message = QStringLiteral("В выделенном диапазоне нет значений для фильтра!");
    EXPECT_FALSE(filters.FilterByNumbers(TNumberView::Card, {QString(), QStringLiteral("  ")}, false,
                                         QStringLiteral("Карта")));
    EXPECT_EQ(host.Errors, QStringList{message});
    EXPECT_EQ(ListOf(combs), Five);
    combs.MakeUndoCopy(false);
    try {
        engine.ApplyNumberSelection(TNumberView::Layout, {}, false, QStringLiteral("Схема"));
        FAIL();
    } catch (const EError &e) {
        EXPECT_EQ(e.Message(), message);
    }
    EXPECT_EQ(ListOf(combs), Five);
    EXPECT_TRUE(combs.History().isEmpty());
}

// ---- single-selection walk ----------------------------------------------------------------------

TEST_F(FilterEngineTest, SingleWalkAppliesEveryRowAndUndoesThoseThatEmptyTheList) {
    TFilterPart part = Part(lmNone, QString(), smFull, 1);
    part.KeepSelected = true;
    engine.ApplyFilterPart(part);
    // Row "1" (the most frequent) keeps A; every later row either keeps A
    // (20..24) or would empty the list and is undone.
    EXPECT_EQ(ListOf(combs), (std::vector<TComb>{A}));
    EXPECT_EQ(FilterRows(), 45);
    EXPECT_EQ(UndoRows(), 39);
    EXPECT_EQ(LogLines(QStringLiteral("{UNDO} Откат изменений...")).size(), 39);
    EXPECT_EQ(LogLines(QStringLiteral("Оставляем выделенные значения...")).size(), 45);
    const THistoryRow &undo = combs.History().back();
    EXPECT_EQ(undo.ImageIndex, HistoryIconUndo);
    EXPECT_EQ(undo.Values, QString());
    EXPECT_EQ(undo.Count, QStringLiteral("1"));
    EXPECT_EQ(table.SelectedCount(), 0);
    // The log numbers the steps by successful filterings.
    const QStringList steps = LogLines(QStringLiteral("Шаг "));
    ASSERT_EQ(steps.size(), 45);
    EXPECT_TRUE(steps[0].startsWith(QStringLiteral("Шаг 001. Выделение строки: < [1] кол-во: 4")));
    EXPECT_TRUE(steps[1].startsWith(QStringLiteral("Шаг 002. Выделение строки: < [2] кол-во: 3")));
    EXPECT_TRUE(steps[2].startsWith(QStringLiteral("Шаг 002. Выделение строки: < [3] кол-во: 2")));
}

TEST_F(FilterEngineTest, SingleWalkUntilEmptyEndsAtTheFirstEmptyingStep) {
    TFilterPart part = Part(lmNone, QString(), smUntilEmpty, 1);
    part.KeepSelected = true;
    engine.ApplyFilterPart(part);
    EXPECT_EQ(ListOf(combs), (std::vector<TComb>{A}));
    EXPECT_EQ(FilterRows(), 2);
    EXPECT_EQ(UndoRows(), 1);
}

TEST_F(FilterEngineTest, SingleWalkStepsCountSuccessfulFilterings) {
    TFilterPart part = Part(lmNone, QString(), smSteps, 3);
    part.KeepSelected = true;
    engine.ApplyFilterPart(part);
    EXPECT_EQ(ListOf(combs), (std::vector<TComb>{A}));
    EXPECT_EQ(FilterRows() - UndoRows(), 3);
}

TEST_F(FilterEngineTest, SingleWalkStopsAtTheCombinationCount) {
    engine.ApplyFilterPart(Part(lmNone, QString(), smCombCount, 4));
    // Row "1" runs on five combinations; four left meet the stop value.
    EXPECT_EQ(ListOf(combs), (std::vector<TComb>{B, Cc, D, E}));
    EXPECT_EQ(combs.History().size(), 1);
}

TEST_F(FilterEngineTest, SingleWalkOnlyFiltersMatchingRows) {
    // Count >= 2: rows 1, 2, 3 are applied one by one; the rest are skipped.
    engine.ApplyFilterPart(Part(lmCountMinValue, QStringLiteral("2"), smFull, 1));
    EXPECT_EQ(ListOf(combs), (std::vector<TComb>{D, E}));
    EXPECT_EQ(combs.History().size(), 3);
    EXPECT_EQ(combs.History()[2].Values, QStringLiteral("3"));
}

TEST_F(FilterEngineTest, DynamicMethodComparesWithTheNewestDrawInUse) {
    // Sums 21 30 49 81 30 49: the newest draw follows 30 with 49, #7 followed 49 with 81.
    archive.Append(test::Draw(9, {1, 2, 3, 7, 8, 9}));
    archive.Append(test::Draw(11, {1, 2, 10, 11, 12, 13}));
    const TComb s21 = C(1, 2, 3, 4, 5, 6), s35 = C(1, 2, 3, 4, 5, 20), s55 = C(1, 2, 3, 4, 5, 40);
    struct TCase {
        int Offset;
        std::vector<TComb> Kept;
    };
    // The one row drawn is "+": the sum rose from the reference sum, 49
    // (offset 0) or 30 (offset 1, #9 being the newest draw in use).
    for (const TCase &c : {TCase{0, {s55}}, TCase{1, {s35, s55}}}) {
        SetList({s21, s35, s55});
        archive.SetOffset(c.Offset);
        TFilterPart part = Part(lmCountMinValue, QStringLiteral("1"), smFull, 1);
        part.Method = Entry(QStringLiteral("SUMT"));
        part.KeepSelected = true;
        engine.ApplyFilterPart(part);
        EXPECT_EQ(ListOf(combs), c.Kept) << c.Offset;
        EXPECT_EQ(combs.History().back().Values, QStringLiteral("+")) << c.Offset;
    }
    EXPECT_TRUE(host.Errors.isEmpty());
}

TEST_F(FilterEngineTest, PeriodFilterTellsDeletingFromKeeping) {
    // Periods of 2 draw numbers: 1 in #1 #3 #5 #7, 3 in #1 #3. The newest
    // draw in use is entry 3, so a period of 2 is looked up in entry 2
    // (#5: 1 2 10 11 12 13), which holds 1 but not 3.
    ASSERT_TRUE(table.SelectEntry(Entry(QStringLiteral("PRDV"))));
    table.ComputeStatistics(true);
    table.SelectByValueTexts({QStringLiteral("1 x 2"), QStringLiteral("3 x 2")});
    ASSERT_EQ(table.SelectedCount(), 2);
    ASSERT_TRUE(filters.FilterBySelection(false));
    EXPECT_EQ(ListOf(combs), (std::vector<TComb>{A})) << "keeps 1, which is there";
    ASSERT_TRUE(combs.Undo());
    // Deleting removes what is not there: 3, not 1.
    ASSERT_TRUE(filters.FilterBySelection(true));
    EXPECT_EQ(ListOf(combs), (std::vector<TComb>{A, B, D, E}));
    EXPECT_TRUE(host.Errors.isEmpty());
}

// ---- multi-selection walk -------------------------------------------------------------------------

TEST_F(FilterEngineTest, MultiWalkStepsExamineThatManyRows) {
    TFilterPart part = Part(lmNone, QString(), smSteps, 3);
    part.MultiSelect = true;
    engine.ApplyFilterPart(part);
    EXPECT_EQ(ListOf(combs), (std::vector<TComb>{D, E}));
    ASSERT_EQ(combs.History().size(), 1);
    EXPECT_EQ(combs.History()[0].Values, QStringLiteral("1; 2; 3"));
    EXPECT_EQ(
        LogLines(QStringLiteral("Шаг ")),
        (QStringList{
            QStringLiteral("Шаг 001. Выделение строки: < [1] кол-во: 4 (16.66667 %), отклонение: - (- %), "
                           "глубина: 1 (25.00 %), вес: 1.00 >"),
            QStringLiteral("Шаг 002. Выделение строки: < [2] кол-во: 3 (12.50000 %), отклонение: - (- %), "
                           "глубина: 2 (50.00 %), вес: 2.00 >"),
            QStringLiteral("Шаг 003. Выделение строки: < [3] кол-во: 2 (8.33333 %), отклонение: - (- %), "
                           "глубина: 3 (75.00 %), вес: 3.00 >"),
        }));
    EXPECT_EQ(LogLines(QStringLiteral("Удаляем выделенные значения...")).size(), 1);
    EXPECT_EQ(LogLines(QStringLiteral("Количество комбинаций в списке: 2")).size(), 1);
}

TEST_F(FilterEngineTest, MultiWalkThatEmptiesTheListIsUndone) {
    TFilterPart part = Part(lmNone, QString(), smFull, 1);
    part.MultiSelect = true;
    engine.ApplyFilterPart(part);
    EXPECT_EQ(ListOf(combs), Five);
    ASSERT_EQ(combs.History().size(), 2);
    EXPECT_EQ(combs.History()[0].Count, QStringLiteral("0"));
    EXPECT_EQ(combs.History()[1].Operation, TFilterEngine::UndoHistoryText());
    EXPECT_EQ(combs.History()[1].Count, QStringLiteral("5"));
    EXPECT_EQ(LogLines(QStringLiteral("{UNDO}")).size(), 1);
}

TEST_F(FilterEngineTest, CountAndPercentStopsFollowTheWalkDirection) {
    // Bottom-up, "SV" 2: rows are taken from the bottom while their count is below 2.
    TFilterPart part = Part(lmNone, QString(), smCount, 2);
    part.MultiSelect = true;
    part.BottomUp = true;
    part.KeepSelected = true;
    engine.ApplyFilterPart(part);
    const QStringList bottomUp = LogLines(QStringLiteral("Шаг "));
    EXPECT_EQ(bottomUp.size(), 42);
    for (const QString &line : bottomUp)
        for (const char *frequent : {"[1]", "[2]", "[3]"})
            EXPECT_FALSE(line.contains(QLatin1String(frequent))) << line.toStdString();
    EXPECT_EQ(ListOf(combs), Five); // every combination holds 20

    // Top-down, "SP" 10: rows 1 (16.7 %) and 2 (12.5 %) pass, row 3 (8.3 %) stops.
    Log.clear();
    part = Part(lmNone, QString(), smPercent, 10);
    part.MultiSelect = true;
    engine.ApplyFilterPart(part);
    EXPECT_EQ(LogLines(QStringLiteral("Шаг ")).size(), 2);
    EXPECT_EQ(ListOf(combs), (std::vector<TComb>{Cc, D, E}));

    // Top-down, "SV" 1: rows 1, 2, 3 pass, the first row of count 1 stops.
    SetList(Five);
    part = Part(lmNone, QString(), smCount, 1);
    engine.ApplyFilterPart(part);
    EXPECT_EQ(ListOf(combs), (std::vector<TComb>{D, E}));
}

TEST_F(FilterEngineTest, ValueListModeComparesTheParsedKey) {
    TFilterPart part = Part(lmValueList, QStringLiteral("2,19"), smFull, 1);
    part.MultiSelect = true;
    part.KeepSelected = true;
    engine.ApplyFilterPart(part);
    EXPECT_EQ(ListOf(combs), (std::vector<TComb>{B, D, E}));
}

// ---- failures, stop flag, variants -----------------------------------------------------------------

TEST_F(FilterEngineTest, StepErrors) {
    TFilterPart part = Part(lmNone, QString(), smFull, 1);
    part.SortColumn = StatColumnCount;
    try {
        engine.ApplyFilterPart(part);
        FAIL();
    } catch (const EError &e) {
        EXPECT_EQ(e.Message(), QStringLiteral("Некорректное занчение номера столбца сортировки (20)"));
    }

    part = Part(lmDepthList, QStringLiteral("x"), smFull, 1);
    EXPECT_THROW(engine.ApplyFilterPart(part), EConvertError);
    EXPECT_EQ(ListOf(combs), Five);

    // A registered method the selector does not list.
    stats.ApplyFavorites(QStringLiteral("NUMS"));
    table.FillSelector(false);
    part = Part(lmNone, QString(), smFull, 1);
    part.Method = Entry(QStringLiteral("POS1"));
    try {
        engine.ApplyFilterPart(part);
        FAIL();
    } catch (const EError &e) {
        EXPECT_EQ(e.Message(), QStringLiteral("Метод расчета статистики \"POS1\" на найден!\r") +
                                   stats.EntryCaption(part.Method) +
                                   QStringLiteral("\r\rВозможно, Вы отключили данных метод расчета либо "
                                                  "использовали сценарий от другой модификации программы."));
    }
    part.Method = -1;
    EXPECT_THROW(engine.ApplyFilterPart(part), EError);
    EXPECT_EQ(ListOf(combs), Five);
    EXPECT_TRUE(host.IsIdle());
}

TEST_F(FilterEngineTest, StopFlagEndsTheStepWithoutFiltering) {
    engine.SetIsStopped([] { return true; });
    for (bool multi : {false, true}) {
        TFilterPart part = Part(lmNone, QString(), smFull, 1);
        part.MultiSelect = multi;
        engine.ApplyFilterPart(part);
    }
    EXPECT_EQ(ListOf(combs), Five);
    EXPECT_TRUE(combs.History().isEmpty());
}

TEST_F(FilterEngineTest, VariantStopsNarrowingAtOneCombination) {
    TFilterRec rec;
    rec[0] = Part(lmValueList, QStringLiteral("1"), smFull, 1);
    rec[0].MultiSelect = true;
    rec[0].KeepSelected = true;
    rec[1] = Part(lmNone, QString(), smFull, 1);
    rec[1].Method = -1; // would raise if it ran
    engine.ApplyFilterRec(rec);
    EXPECT_EQ(ListOf(combs), (std::vector<TComb>{A}));
    EXPECT_EQ(combs.History().size(), 1);

    // With one combination from the start every part is skipped.
    rec[0].Method = -1;
    EXPECT_NO_THROW(engine.ApplyFilterRec(rec));
    EXPECT_EQ(ListOf(combs), (std::vector<TComb>{A}));

    // Disabled parts never run; enabled ones run in order.
    SetList(Five);
    TFilterRec two;
    two[0] = Part(lmValueList, QStringLiteral("19"), smFull, 1);
    two[0].MultiSelect = true;
    two[2] = Part(lmValueList, QStringLiteral("2"), smFull, 1);
    two[2].MultiSelect = true;
    two[1].Method = -1;
    engine.ApplyFilterRec(two);
    EXPECT_EQ(ListOf(combs), (std::vector<TComb>{A, Cc}));
}

// ---- a failing pass -----------------------------------------------------------------------------------

/// A method whose combination test fails on combinations starting with 3.
class TstFailing : public TCustomNumbersStat {
    LOT_STAT_CLASS(TstFailing)
public:
    using TCustomNumbersStat::TCustomNumbersStat;
    static QString CodeFormat() { return QStringLiteral("FAIL"); }
    static QString CaptionFormat() { return QStringLiteral("Failing"); }
    static uint8_t Group() { return 0; }
    static uint8_t Flags() { return 0; }
    void EnumAllValues(int lastIdx, TStatDrawArray &values) override {
        TCustomNumbersStat::EnumAllValues(lastIdx, values);
        m_work.Key = TStatKey::FromWords(1);
        AddValue(values, m_work, false);
    }
    bool CombMatches(const TComb &c, const TStatDrawArray &, int, bool, bool) override {
        if (c[0] == 3) throw EError(QStringLiteral("boom"));
        return false;
    }
};

TEST(FilterEngineFailureTest, AFailingPassLeavesTheListAsItWas) {
    test::TFilterBench bench;
    bench.stats.RegisterClasses({&TstFailing::StaticClass()});
    bench.table.FillSelector(false);
    bench.SetList(Five);
    bench.table.ComputeStatistics(true);
    bench.table.SelectOnly(0);
    EXPECT_FALSE(bench.filters.FilterBySelection(true));
    EXPECT_EQ(bench.host.Errors, QStringList{QStringLiteral("Ошибка фильтрации комбинаций!\r\rboom")});
    EXPECT_EQ(ListOf(bench.combs), Five);
    EXPECT_TRUE(bench.combs.History().isEmpty());
    EXPECT_TRUE(bench.host.IsIdle());
}

} // namespace
} // namespace lot
