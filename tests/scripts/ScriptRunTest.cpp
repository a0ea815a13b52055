// Forecasts and tests over a small workspace: every stake mode with a result
// of none, one and many combinations, the stake comments and records, the
// options CLR and NEX, the filterless line, errors, stops, the offsets of a
// test and the checks after each line or once per run.

#include "ScriptsTestUtil.h"

#include "stats/StatsController.h"
#include "stats/StatTable.h"
#include "systems/SystemFiles.h"

#include <QDir>

#include <gtest/gtest.h>

namespace lot {
namespace {

using test::TFakeHost;
using test::TScriptWorkspace;

const QString Eight = QStringLiteral("1;2;3;4;5;6;7;8");

QString Line(const char *options, const char *comment = "") {
    return JoinScriptLine(QString::fromUtf8(options), {}, QString::fromUtf8(comment));
}

class ScriptRunTest : public ::testing::Test {
protected:
    /// The 28 combinations of 1..8 as the source, 12 draws that never meet them.
    TWorkspace &Open(int draws = 12) {
        w.SetGeneration(cgmOnlyOf, Eight);
        w.SetDraws(draws);
        return w.Open();
    }
    int NextDraw() { return w.Ws().Archive().NextDrawNumber(); }

    TScriptWorkspace w;
};

// ---- stake modes ---------------------------------------------------------------------------------

TEST_F(ScriptRunTest, FirstAndLastOfManyAndTheStakeRecord) {
    Open();
    const TScriptRunResult r = w.Forecast({Line("FULL:0#FIRST", "первая"), Line("FULL:0#LAST")});
    EXPECT_FALSE(r.Failed);
    EXPECT_FALSE(r.Stopped);
    EXPECT_EQ(r.Stakes, 2);
    const auto stakes = w.Stakes();
    ASSERT_EQ(stakes.size(), 2u);
    EXPECT_EQ(TScriptWorkspace::Numbers(stakes[0]), "1;2;3;4;5;6");
    EXPECT_EQ(TScriptWorkspace::Numbers(stakes[1]), "3;4;5;6;7;8");
    const TStakeRec &s = stakes[0];
    EXPECT_EQ(s.Version, StakesVersion);
    EXPECT_EQ(s.Kind, skScript);
    EXPECT_EQ(s.DrawNumber, NextDraw());
    EXPECT_EQ(s.Checked, 0);
    EXPECT_EQ(s.Sample, 28);
    EXPECT_EQ(s.Overlaps.Count, -1);
    EXPECT_EQ(s.Profit, w.Ws().Stakes().StakeCost(6));
    EXPECT_EQ(StakeComment(s), "01.000: первая @ FULL#FIRST");
    EXPECT_EQ(StakeComment(stakes[1]), "02.000: @ FULL#LAST");
    ASSERT_EQ(r.Cycles.size(), 1);
    EXPECT_EQ(r.Cycles[0].Lines, 2);
    EXPECT_EQ(r.Cycles[0].Variants, 0);
    EXPECT_EQ(r.Cycles[0].Stakes, 2);
}

TEST_F(ScriptRunTest, RandomIsTheSameForTheSameSeed) {
    Open();
    const QStringList script = {Line("FULL:0#RAND"), Line("FULL:0#RAND"), Line("FULL:0#RAND")};
    w.Forecast(script, 77);
    w.Forecast(script, 77);
    w.Forecast(script, 78);
    const auto stakes = w.Stakes();
    ASSERT_EQ(stakes.size(), 9u);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(TScriptWorkspace::Numbers(stakes[size_t(i)]),
                  TScriptWorkspace::Numbers(stakes[size_t(i + 3)]));
    QStringList third;
    for (int i = 6; i < 9; ++i)
        third << TScriptWorkspace::Numbers(stakes[size_t(i)]);
    QStringList first;
    for (int i = 0; i < 3; ++i)
        first << TScriptWorkspace::Numbers(stakes[size_t(i)]);
    EXPECT_NE(first, third);
}

TEST_F(ScriptRunTest, AllWithThreeCombinationsAddsThree) {
    w.SetSourceFile({test::C(1, 2, 3, 4, 5, 6), test::C(1, 2, 3, 4, 5, 7), test::C(1, 2, 3, 4, 5, 8)});
    w.SetDraws(12);
    w.Open();
    int shownCounter = 0;
    QObject::connect(&w.Scripts(), &TScriptsController::StatusChanged,
                     [&] { shownCounter = w.Scripts().Runner().StakeCounter(); });
    const TScriptRunResult r = w.Forecast({Line("FULL:0#ALL")});
    EXPECT_EQ(r.Stakes, 3);
    EXPECT_EQ(shownCounter, 3);
    EXPECT_EQ(w.Scripts().StatusPanelText(2), "Ставок: 3");
    const auto stakes = w.Stakes();
    ASSERT_EQ(stakes.size(), 3u);
    EXPECT_EQ(TScriptWorkspace::Numbers(stakes[2]), "1;2;3;4;5;8");
    EXPECT_EQ(stakes[2].Sample, 3);
}

TEST_F(ScriptRunTest, OneCombinationIsStakedWhateverTheMode) {
    w.SetGeneration(cgmOnlyOf, QStringLiteral("1;2;3;4;5;6"));
    w.SetDraws(12);
    w.Open();
    const TScriptRunResult r = w.Forecast({Line("FULL:0#STOP"), Line("FULL:0#SKIP"), Line("FULL:0#RAND"),
                                           Line("FULL:0#ALL"), Line("FULL:0#NONE")});
    EXPECT_FALSE(r.Stopped);
    EXPECT_EQ(r.Stakes, 4); // NONE never stakes
    for (const TStakeRec &s : w.Stakes()) {
        EXPECT_EQ(TScriptWorkspace::Numbers(s), "1;2;3;4;5;6");
        EXPECT_EQ(s.Sample, 1);
    }
}

TEST_F(ScriptRunTest, NoCombinationNoStake) {
    w.SetGeneration(cgmOnlyOf, QStringLiteral("1;2;3;4;5;6"));
    TDrawsArray draws;
    for (int k = 0; k < 5; ++k)
        draws.push_back(test::ScriptDraw(1 + 2 * k, {10, 11, 12, 13, 14, 15 + k}));
    draws.push_back(test::ScriptDraw(11, {6, 5, 4, 3, 2, 1}));
    w.SetDraws(draws);
    w.Open();
    const TScriptRunResult r = w.Forecast({Line("EXCL:1#ALL"), Line("EXCL:1#RAND"), Line("EXCL:1#STOP")});
    EXPECT_FALSE(r.Stopped);
    EXPECT_EQ(r.Stakes, 0);
    EXPECT_TRUE(w.Stakes().empty());
    // At offset 1 the draw that holds the only combination is hidden.
    w.Ws().Archive().ChangeOffset(1);
    EXPECT_EQ(w.Forecast({Line("EXCL:1#ALL")}).Stakes, 1);
}

TEST_F(ScriptRunTest, StopWithManyCombinationsStopsTheScript) {
    Open();
    const TScriptRunResult r =
        w.Forecast({Line("FULL:0#FIRST"), Line("FULL:0#STOP", "стоп"), Line("FULL:0#LAST")});
    EXPECT_TRUE(r.Stopped);
    EXPECT_FALSE(r.Failed);
    EXPECT_EQ(r.Stakes, 1);
    ASSERT_EQ(w.Stakes().size(), 1u);
    const QStringList attention = w.Host.Texts(TFakeHost::TKind::Attention);
    ASSERT_EQ(attention.size(), 1);
    EXPECT_EQ(attention[0],
              "Выполнение сценария прервано, т.к. после применения всех фильтров в списке комбинаций "
              "их осталось более одной: 28!\r\rФильтры: 02.000: стоп @ FULL#STOP");
    EXPECT_FALSE(w.Scripts().Running());
    EXPECT_FALSE(w.Scripts().StopRequested());
}

TEST_F(ScriptRunTest, SkipWithManyCombinationsGoesOn) {
    Open();
    const TScriptRunResult r = w.Forecast({Line("FULL:0#SKIP"), Line("FULL:0#LAST")});
    EXPECT_FALSE(r.Stopped);
    EXPECT_EQ(r.Stakes, 1);
    EXPECT_EQ(TScriptWorkspace::Numbers(w.Stakes().at(0)), "3;4;5;6;7;8");
}

TEST_F(ScriptRunTest, NewOnlySkipsAStakeAlreadyInTheFile) {
    Open();
    const TScriptRunResult r =
        w.Forecast({Line("FULL:0#FIRST#NEX"), Line("FULL:0#FIRST#NEX"), Line("FULL:0#FIRST")});
    EXPECT_EQ(r.Stakes, 2);
    EXPECT_EQ(w.Stakes().size(), 2u);
    // A stake for another draw is no duplicate.
    w.Ws().Archive().ChangeOffset(1);
    EXPECT_EQ(w.Forecast({Line("FULL:0#FIRST#NEX")}).Stakes, 1);
}

TEST_F(ScriptRunTest, ClearStakesEmptiesTheFileBeforeTheLine) {
    Open();
    w.Forecast({Line("FULL:0#FIRST"), Line("FULL:0#LAST")});
    ASSERT_EQ(w.Stakes().size(), 2u);
    const TScriptRunResult r = w.Forecast({Line("FULL:0#LAST#CLR")});
    EXPECT_EQ(r.Stakes, 1);
    const auto records = w.Records();
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(TScriptWorkspace::Numbers(records[0]), "3;4;5;6;7;8");
}

TEST_F(ScriptRunTest, SystemPlayWithoutASystemLogsTheError) {
    Open();
    w.Scripts().UseLog(true);
    const TScriptRunResult r = w.Forecast({Line("FULL:0#SYSA"), Line("FULL:0#SYSC")});
    EXPECT_FALSE(r.Failed);
    EXPECT_EQ(r.Stakes, 0);
    QFile log(r.LogFile);
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    const QString text = FromCp1251(log.readAll());
    const QString missing = QStringLiteral("Система для 8 чисел не найдена или не загружена на компьютер!");
    EXPECT_EQ(text.count(QStringLiteral("{#} Системная игра для 8 чисел [ОШИБКА]: \"") + missing + "\""), 2);
    const QStringList errors = w.Host.Errors();
    ASSERT_EQ(errors.size(), 2);
    EXPECT_TRUE(errors[0].startsWith(missing + "\r\rПеред системной игрой")) << errors[0].toStdString();
}

TEST_F(ScriptRunTest, SystemPlayStakesTheSystemOverTheListsNumbers) {
    // Three combinations of the numbers 1..8, met in this order.
    w.SetSourceFile({test::C(1, 2, 3, 4, 5, 6), test::C(2, 3, 4, 5, 6, 7), test::C(3, 4, 5, 6, 7, 8)});
    w.SetDraws(12);
    w.Open();
    tSystemInfo info;
    info.Id = 1;
    info.Nums = 8;
    SaveSystemFile(
        QDir(SystemsDir(w.Ws().DataDir())).filePath(SystemFileName(info)),
        {QStringLiteral("6 5 4 3 2 1"), QStringLiteral("1 2 3 4 5 8"), QStringLiteral("3-4-5-6-7-8")},
        QDateTime());
    w.Scripts().UseLog(true);
    const TScriptRunResult r = w.Forecast({Line("FULL:0#SYSA", "все"), Line("FULL:0#SYSC")});
    EXPECT_FALSE(r.Failed);
    EXPECT_EQ(r.Stakes, 5);
    const auto stakes = w.Stakes();
    ASSERT_EQ(stakes.size(), 5u);
    const QStringList expected{"1;2;3;4;5;6", "1;2;3;4;5;8", "3;4;5;6;7;8", "1;2;3;4;5;6", "3;4;5;6;7;8"};
    for (size_t i = 0; i < stakes.size(); ++i) {
        EXPECT_EQ(TScriptWorkspace::Numbers(stakes[i]), expected[int(i)]) << i;
        EXPECT_EQ(stakes[i].Kind, skScript);
        EXPECT_EQ(stakes[i].Sample, 3);
        EXPECT_EQ(StakeComment(stakes[i]), i < 3 ? "01.000: все @ FULL#SYSA" : "02.000: @ FULL#SYSC");
    }
    QFile log(r.LogFile);
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    const QString text = FromCp1251(log.readAll());
    EXPECT_TRUE(text.contains("{#} Системная игра для 8 чисел [все система]: загружен файл \"6-08-0_0001\""));
    EXPECT_TRUE(text.contains(
        "{#} Системная игра для 8 чисел [система * комбинации]: загружен файл \"6-08-0_0001\""));
    EXPECT_TRUE(w.Host.Errors().isEmpty());
}

TEST_F(ScriptRunTest, SystemPlayInATestRunStakesEachPastDraw) {
    w.SetSourceFile({test::C(1, 2, 3, 4, 5, 6), test::C(2, 3, 4, 5, 6, 7)});
    w.SetDraws(12);
    w.Open();
    tSystemInfo info;
    info.Id = 4;
    info.Nums = 7;
    SaveSystemFile(
        QDir(SystemsDir(w.Ws().DataDir())).filePath(SystemFileName(info)),
        {QStringLiteral("1 2 3 4 5 6"), QStringLiteral("2 3 4 5 6 7"), QStringLiteral("1 3 4 5 6 7")},
        QDateTime());
    const int offset = w.Ws().Archive().Offset();
    const TScriptRunResult r = w.Test({Line("FULL:0#SYSA"), Line("FULL:0#SYSC")}, 2);
    EXPECT_FALSE(r.Failed);
    ASSERT_EQ(r.Cycles.size(), 2);
    EXPECT_EQ(r.Stakes, 2 * (3 + 2));
    const auto stakes = w.Stakes();
    ASSERT_EQ(stakes.size(), 10u);
    // Each cycle stakes the draw after its offset, and the test checks them.
    EXPECT_EQ(stakes[0].DrawNumber + 2, stakes[5].DrawNumber);
    EXPECT_EQ(stakes[9].DrawNumber, w.Ws().Archive().Draws().Draws().back().DrawNumber);
    for (const TStakeRec &s : stakes)
        EXPECT_NE(s.Checked, 0);
    EXPECT_EQ(w.Ws().Archive().Offset(), offset);
}

// ---- lines and separators ---------------------------------------------------------------------------

TEST_F(ScriptRunTest, SeparatorsBetweenRunsButNeverTwo) {
    Open();
    w.Forecast({Line("FULL:0#FIRST")});
    w.Forecast({Line("FULL:0#NONE")}); // adds the separator, no stake
    w.Forecast({Line("FULL:0#LAST")}); // the file ends with one already
    const auto records = w.Records();
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(records[0].Kind, skScript);
    EXPECT_EQ(records[1].Kind, skSeparator);
    EXPECT_EQ(records[2].Kind, skScript);
}

TEST_F(ScriptRunTest, AnEmptyLineIsSkippedALineOfBlanksRuns) {
    Open();
    const TScriptRunResult r = w.Forecast({QString(), QStringLiteral("   "), Line("CURR:0#LAST")});
    EXPECT_EQ(r.Cycles[0].Lines, 2);
    // The line of blanks reads FULL:0#RAND without filters: one random stake.
    const auto stakes = w.Stakes();
    ASSERT_EQ(stakes.size(), 2u);
    EXPECT_EQ(StakeComment(stakes[0]), "02.000: @ FULL#RAND");
    EXPECT_EQ(StakeComment(stakes[1]), "03.000: @ CURR#LAST");
}

TEST_F(ScriptRunTest, CurrentListGoesOnFromThePreviousLine) {
    Open();
    // Delete the combinations with 1: the seven of 2..8 stay.
    const QString keep =
        JoinScriptLine(QStringLiteral("FULL:0#NONE"), {QStringLiteral("TSD1#NUMS:12#LVA:1#SF:1")}, QString());
    const TScriptRunResult r = w.Forecast({keep, Line("CURR:0#ALL")});
    EXPECT_FALSE(r.Failed) << r.Message.toStdString();
    EXPECT_EQ(r.Stakes, 7);
    for (const TStakeRec &s : w.Stakes())
        EXPECT_FALSE(InComb(1, TComb{{s.Numbers.Numbers[0], s.Numbers.Numbers[1], s.Numbers.Numbers[2],
                                      s.Numbers.Numbers[3], s.Numbers.Numbers[4], s.Numbers.Numbers[5]}}));
}

TEST_F(ScriptRunTest, VariantsRunInOrderWithTheirComments) {
    Open();
    const QString line = JoinScriptLine(
        QStringLiteral("FULL:0#FIRST"),
        {QStringLiteral("TSD1#NUMS:5,10#LVA:1,2#SF:1"), QStringLiteral("TSD1#NUMS:12#LMV:1-2;1#ST:1")},
        QStringLiteral("v"));
    const TScriptRunResult r = w.Forecast({line});
    EXPECT_FALSE(r.Failed) << r.Message.toStdString();
    EXPECT_EQ(r.Cycles[0].Variants, 4);
    const auto stakes = w.Stakes();
    ASSERT_EQ(stakes.size(), 4u);
    EXPECT_EQ(StakeComment(stakes[0]),
              "01.001: v @ FULL#FIRST + TSD#NUMS:5#LVA:1,2#SF:1 + TSD#NUMS:12#LMV:1#ST:1");
    EXPECT_EQ(StakeComment(stakes[1]),
              "01.002: v @ FULL#FIRST + TSD#NUMS:5#LVA:1,2#SF:1 + TSD#NUMS:12#LMV:2#ST:1");
    EXPECT_EQ(StakeComment(stakes[3]),
              "01.004: v @ FULL#FIRST + TSD#NUMS:10#LVA:1,2#SF:1 + TSD#NUMS:12#LMV:2#ST:1");
}

// ---- errors and stops ---------------------------------------------------------------------------------

TEST_F(ScriptRunTest, AnErrorStopsTheRunAndIsShownOnce) {
    Open();
    const QString bad =
        JoinScriptLine(QStringLiteral("FULL:0#FIRST"), {QStringLiteral("TSD1#ZZZZ:10#LNO:#SF:1")}, QString());
    const TScriptRunResult r = w.Forecast({Line("FULL:0#FIRST"), bad, Line("FULL:0#LAST")});
    EXPECT_TRUE(r.Failed);
    EXPECT_TRUE(r.Stopped);
    EXPECT_EQ(r.Message, "Некорректное описание фильтра: TSD1#ZZZZ:10#LNO:#SF:1!");
    EXPECT_EQ(w.Host.Errors(), QStringList({r.Message}));
    EXPECT_EQ(w.Stakes().size(), 1u);
    EXPECT_FALSE(w.Scripts().Running());
    EXPECT_EQ(w.Scripts().StatusPanelText(0), "Цикл: 0");
}

TEST_F(ScriptRunTest, AMethodNotListedFailsAtRunTime) {
    Open();
    // SUMS is registered but the selector lists only NUMS here.
    TStatTable &table = w.Ws().Stats().Table();
    w.Ws().Stats().Registry().ApplyFavorites(QStringLiteral("NUMS"));
    table.FillSelector(false);
    const QString line =
        JoinScriptLine(QStringLiteral("FULL:0#FIRST"), {QStringLiteral("TSD1#SUMS:10#LNO:#SF:1")}, QString());
    const TScriptRunResult r = w.Forecast({line});
    EXPECT_TRUE(r.Failed);
    EXPECT_TRUE(r.Message.startsWith("Метод расчета статистики \"SUMS\" на найден!"))
        << r.Message.toStdString();
}

TEST_F(ScriptRunTest, TooManyVariants) {
    Open();
    w.Scripts().Runner().SetVariantBudget(TVariantList::VariantBytes * 10);
    w.Scripts().UseLog(true);
    const QString line = JoinScriptLine(QStringLiteral("FULL:0#FIRST"),
                                        {QStringLiteral("TSD1#NUMS:1-100;1#LMV:1-100;1#SF:1")}, QString());
    const TScriptRunResult r = w.Forecast({line, Line("FULL:0#LAST")});
    // The log tells how far the expansion came; none of those variants runs.
    QFile log(r.LogFile);
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    const QString text = FromCp1251(log.readAll());
    EXPECT_TRUE(text.contains(QStringLiteral("]: Создано 10 вариантов фильтров.\r\n")));
    EXPECT_FALSE(text.contains(QStringLiteral("Применение набора фильтров")));
    EXPECT_TRUE(r.Failed);
    EXPECT_TRUE(r.Message.startsWith(TooManyVariantsText() + "\r\r"));
    EXPECT_EQ(w.Host.Errors().size(), 1);
    EXPECT_EQ(r.Cycles[0].Variants, 0);
    EXPECT_TRUE(w.Stakes().empty());
}

TEST_F(ScriptRunTest, TheSortOrderIsRestored) {
    Open();
    TStatTable &table = w.Ws().Stats().Table();
    table.SetSort(scValue, false);
    const QString line = JoinScriptLine(QStringLiteral("FULL:0#FIRST"),
                                        {QStringLiteral("TSD1#NUMS:10#LMV:1#ST:1")}, QString());
    w.Forecast({line});
    EXPECT_EQ(table.SortColumn(), scValue);
    EXPECT_FALSE(table.SortDescending());
    // Also after an error.
    w.Forecast({line, JoinScriptLine(QStringLiteral("FULL:0#FIRST"), {QStringLiteral("TSD1#NUMS:#LNO:#SF:1")},
                                     QString())});
    EXPECT_EQ(table.SortColumn(), scValue);
    EXPECT_FALSE(table.SortDescending());
}

// ---- tests over past draws -------------------------------------------------------------------------------

TEST_F(ScriptRunTest, AThreeOffsetTestReturnsToItsOffset) {
    Open();
    w.Ws().Archive().ChangeOffset(4);
    QList<int> offsets;
    QObject::connect(&w.Scripts(), &TScriptsController::CycleFinished,
                     [&](const TScriptCycle &c) { offsets << c.Offset; });
    const TScriptRunResult r = w.Test({Line("FULL:0#FIRST")}, 3);
    EXPECT_FALSE(r.Stopped);
    EXPECT_EQ(offsets, QList<int>({3, 2, 1}));
    EXPECT_EQ(w.Ws().Archive().Offset(), 4);
    const auto stakes = w.Stakes();
    ASSERT_EQ(stakes.size(), 3u);
    const TDrawsArchive &draws = w.Ws().Archive().Draws();
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(stakes[size_t(i)].DrawNumber, draws.NextDrawNumber(3 - i));
        // That draw is in the archive: checked after the line.
        EXPECT_EQ(stakes[size_t(i)].Checked, 1);
        EXPECT_EQ(stakes[size_t(i)].Overlaps.Count, 0);
    }
    EXPECT_EQ(w.Records().size(), 5u); // separators between the runs
}

TEST_F(ScriptRunTest, AStopInCycleTwoLeavesTheOffsetThere) {
    Open();
    w.Host.OnEvents = [&] {
        TScriptsController &s = w.Scripts();
        if (s.Running() && !s.StopRequested() && s.Runner().Cycle() == 2 && w.Ws().Archive().Offset() == 2)
            s.RequestStop();
    };
    const TScriptRunResult r = w.Test({Line("FULL:0#FIRST")}, 3);
    w.Host.OnEvents = nullptr;
    EXPECT_TRUE(r.Stopped);
    EXPECT_FALSE(r.Failed);
    EXPECT_EQ(w.Ws().Archive().Offset(), 2);
    EXPECT_LE(r.Cycles.size(), 2);
    EXPECT_EQ(w.Scripts().StatusPanelText(3), "Сценарий завершен!");
}

TEST_F(ScriptRunTest, AStopDuringABatchStillChecksTheStakesMade) {
    w.SetSourceFile({test::C(1, 2, 3, 4, 5, 6), test::C(1, 2, 3, 4, 5, 7), test::C(1, 2, 3, 4, 5, 8)});
    w.SetDraws(12);
    w.Open();
    for (const QString &line :
         {Line("FULL:0#ALL"), JoinScriptLine(QStringLiteral("FULL:0#ALL"),
                                             {QStringLiteral("TSD1#NUMS:5#LVA:44#SF:1")}, QString())}) {
        w.Ws().Stakes().TruncateStakes();
        w.Host.OnEvents = [&] {
            if (w.Scripts().Running() && w.Scripts().Runner().StakeCounter() == 1) w.Scripts().RequestStop();
        };
        const TScriptRunResult r = w.Test({line}, 1);
        w.Host.OnEvents = nullptr;
        EXPECT_TRUE(r.Stopped) << line.toStdString();
        const auto stakes = w.Stakes();
        ASSERT_EQ(stakes.size(), 1u) << line.toStdString();
        // The draw of offset 1 is in the archive: the check after the line ran.
        EXPECT_EQ(stakes[0].Checked, 1) << line.toStdString();
    }
}

TEST_F(ScriptRunTest, ChecksAfterEachLineOrOncePerRun) {
    Open();
    const QStringList script = {Line("FULL:0#FIRST"), Line("FULL:0#LAST")};
    const auto checks = [&] {
        return int(w.Host.Statuses.count(QStringLiteral("Проверка результатов ставок...")));
    };
    w.Host.Statuses.clear();
    w.Test(script, 2);
    EXPECT_EQ(checks(), 4);
    w.Ws().Stakes().SetStakesCheckOnLine(false);
    w.Host.Statuses.clear();
    w.Test(script, 2);
    EXPECT_EQ(checks(), 2);
    for (const TStakeRec &s : w.Stakes())
        EXPECT_EQ(s.Checked, 1);
}

TEST_F(ScriptRunTest, TestCountIsBounded) {
    Open(5);
    EXPECT_EQ(w.Scripts().MaxTestCount(), 4);
    w.Scripts().UseScript({Line("FULL:0#FIRST")});
    EXPECT_FALSE(w.Scripts().RunTest(5, 1));
    EXPECT_FALSE(w.Scripts().RunTest(0, 1));
    EXPECT_TRUE(w.Stakes().empty());
    EXPECT_TRUE(w.Scripts().RunTest(4, 1));
    EXPECT_EQ(w.Stakes().size(), 4u);
}

// ---- the statistics table within a run -----------------------------------------------------------------

TEST_F(ScriptRunTest, TheTableRecomputesOnlyWhatChanged) {
    Open();
    const QString line = JoinScriptLine(
        QStringLiteral("FULL:0#FIRST"),
        {QStringLiteral("TSD1#NUMS:10#LMV:1-3;1#ST:1"), QStringLiteral("TSD1#EVEN:10#LNO:#SF:1")}, QString());
    TStatTable &table = w.Ws().Stats().Table();
    const int before = table.ComputeCount();
    w.Forecast({line});
    // NUMS:10 and EVEN:10 once each, whatever the three variants.
    EXPECT_EQ(table.ComputeCount() - before, 2);
    w.Scripts().Runner().SetShortcuts(TScriptShortcuts::None());
    const int plain = table.ComputeCount();
    w.Forecast({line});
    EXPECT_EQ(table.ComputeCount() - plain, 6);
}

} // namespace
} // namespace lot
