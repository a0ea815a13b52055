// Checking stakes against the archive: candidates, prices, the stake logs,
// the progress texts, and the operations that check after adding.

#include "StakesTestUtil.h"

#include "core/Codec1251.h"
#include "shell/FakeHost.h"
#include "stakes/StakeLog.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

using namespace lot;
using namespace lot::stakestest;
using lot::test::TFakeHost;

namespace {

class StakesCheckTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(stakes.LoadStakes());
        // Cost 1, prizes 3 overlaps: 10, 4 overlaps: 100.
        stakes.SetPrizes(1, {{3, 10}, {4, 100}});
        ASSERT_TRUE(
            stakes.Archive.ReplaceDraws({Draw(101, {7, 3, 11, 17, 25, 40}), Draw(103, {1, 2, 3, 4, 5, 6})}));
        stakes.SetLogClock([] { return QDateTime(QDate(2026, 12, 5), QTime(21, 7, 3)); });
        host.Clear();
    }
    QString Path() const { return folder.StakesFile(); }
    QString LogPath(int o) const { return dir.filePath(QStringLiteral("Brantlee_6x45-%1.log").arg(o)); }
    qint64 Check() {
        qint64 checked = -1;
        EXPECT_TRUE(stakes.CheckAndSave(&checked));
        return checked;
    }
    TStakeRec At(qint64 i) { return stakes.File().ReadRecord(i); }

    QTemporaryDir dir;
    TDataFolder folder{dir.path()};
    TFakeHost host;
    TTestStakes stakes{host, folder};
};

} // namespace

TEST_F(StakesCheckTest, ProfitsOfThePrizeRows) {
    // Draw 101 is 7 3 11 17 25 40.
    stakes.File().AppendRecord(Stake(101, {3, 11, 17, 30, 31, 32})); // 3 overlaps
    stakes.File().AppendRecord(Stake(101, {3, 11, 30, 31, 32, 33})); // 2
    stakes.File().AppendRecord(Stake(101, {3, 11, 17, 25, 31, 32})); // 4
    stakes.File().AppendRecord(Stake(999, {1, 2, 3, 4, 5, 6}));      // no draw
    EXPECT_EQ(Check(), 3);
    const char *expected[] = {"9.00", "-1.00", "99.00"};
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(StakeCellText(At(i), scProfit), expected[i]) << i;
    const TStakeRec first = At(0);
    EXPECT_EQ(first.Checked, 1);
    EXPECT_EQ(StakeDrawResultText(first), "7;3;11;17;25;40");
    EXPECT_EQ(first.DrawResult[6], 0);
    EXPECT_EQ(NumberSetToText(first.Overlaps, " "), "3 11 17");
    // Unchecked, the stake shows minus its cost as made.
    TStakeRec unchecked = At(3);
    EXPECT_EQ(unchecked.Checked, 0);
    EXPECT_EQ(unchecked.Overlaps.Count, -1);
    EXPECT_EQ(stakes.NewManualStake(Numbers({1, 2, 3, 4, 5, 6})).Profit, -10000);
}

TEST_F(StakesCheckTest, SevenAndEightNumberStakesPayTheirTicketsAndOnePrize) {
    stakes.SetPrizes(1.5, {{3, 10}});
    stakes.File().AppendRecord(Stake(101, {3, 11, 17, 30, 31, 32, 33, 34})); // 8 numbers, 3 overlaps
    stakes.File().AppendRecord(Stake(101, {3, 11, 17, 25, 31, 32, 33}));     // 7 numbers, 4 overlaps
    stakes.File().AppendRecord(Stake(101, {3, 11, 17, 31, 32}));             // 5 numbers: never checked
    EXPECT_EQ(Check(), 2);
    EXPECT_EQ(StakeCellText(At(0), scProfit), "-32.00"); // 10 - 28 x 1.5
    EXPECT_EQ(StakeCellText(At(1), scProfit), "-10.50"); // 7 tickets, no prize for 4
    EXPECT_EQ(At(2).Checked, 0);
    EXPECT_EQ(stakes.StakeCost(8), -420000);
}

TEST_F(StakesCheckTest, APrizeForNoOverlapsPaysStakesWithout) {
    stakes.SetPrizes(1, {{0, 2}});
    stakes.File().AppendRecord(Stake(101, {1, 2, 4, 5, 6, 8}));
    EXPECT_EQ(Check(), 1);
    EXPECT_EQ(At(0).Overlaps.Count, 0);
    EXPECT_EQ(StakeCellText(At(0), scProfit), "1.00");
}

TEST_F(StakesCheckTest, OnlyUncheckedStakesOfKnownDrawsAreChecked) {
    TStakeRec hostile = Stake(101, {1, 2, 3, 4, 5, 6});
    hostile.Numbers.Count = 200;
    const TStakeRec recs[] = {SeparatorRecord(), Stake(0, {1, 2, 3, 4, 5, 6}), Stake(105, {1, 2, 3, 4, 5, 6}),
                              hostile, CheckedStake(101, 5)};
    for (const TStakeRec &rec : recs)
        stakes.File().AppendRecord(rec);
    const QByteArray before = ReadAll(Path());
    EXPECT_EQ(Check(), 0);
    EXPECT_EQ(ReadAll(Path()), before);

    // Draw 105 arrives: its stake is checked at the next check, once.
    TDrawsArray draws = stakes.Archive.Draws().Draws();
    draws.push_back(Draw(105, {1, 2, 3, 10, 20, 30}));
    ASSERT_TRUE(stakes.Archive.ReplaceDraws(draws));
    EXPECT_EQ(Check(), 1);
    EXPECT_EQ(At(2).Overlaps.Count, 3);
    EXPECT_EQ(Check(), 0);
}

TEST_F(StakesCheckTest, LogLinesGoToTheFileOfTheirOverlapCount) {
    stakes.SetStakesLogEnabled(true);
    TStakeRec none = Stake(101, {1, 2, 4, 5, 6, 8});
    none.Sample = 28;
    TStakeRec all = Stake(103, {1, 2, 3, 4, 5, 6});
    all.Sample = 8145060;
    SetStakeComment(all, QStringLiteral("Ставка \"вручную\""));
    stakes.File().AppendRecord(none);
    stakes.File().AppendRecord(all);
    EXPECT_EQ(Check(), 2);
    EXPECT_EQ(FromCp1251(ReadAll(LogPath(0))),
              "2026.12.05 21:07:03: Тираж № 101. Ставка: \"тест\" [1;2;4;5;6;8] {28}. Результаты тиража: "
              "[7;3;11;17;25;40]. Совпадений: 0. Профит: -1.00.\r\n");
    EXPECT_EQ(FromCp1251(ReadAll(LogPath(6))),
              "2026.12.05 21:07:03: Тираж № 103. Ставка: \"Ставка \"вручную\"\" [1;2;3;4;5;6] {8145060}. "
              "Результаты тиража: [1;2;3;4;5;6]. Совпадений: 6. Профит: -1.00.\r\n");
    const QStringList logs = QDir(dir.path()).entryList({"*.log"});
    EXPECT_EQ(logs, QStringList({"Brantlee_6x45-0.log", "Brantlee_6x45-6.log"}));

    // Logs switched off: no line.
    stakes.SetStakesLogEnabled(false);
    stakes.File().AppendRecord(Stake(101, {1, 2, 4, 5, 6, 9}));
    EXPECT_EQ(Check(), 1);
    EXPECT_EQ(ReadAll(LogPath(0)).count('\n'), 1);

    // LogStakesDelete removes them all and says so.
    host.Clear();
    ASSERT_TRUE(stakes.DeleteStakeLogs());
    EXPECT_TRUE(QDir(dir.path()).entryList({"*.log"}).isEmpty());
    EXPECT_EQ(host.Texts(TFakeHost::TKind::Information),
              QStringList({"Удаление журналов ставок\r\rУдалено файлов: 2 из 2."}));
    host.Clear();
    ASSERT_TRUE(stakes.DeleteStakeLogs());
    EXPECT_EQ(host.Texts(TFakeHost::TKind::Information), QStringList({"Файлы журналов не найдены!"}));
}

TEST_F(StakesCheckTest, ALogPastItsLimitStartsAfresh) {
    stakes.SetStakesLogEnabled(true);
    {
        QFile big(LogPath(0));
        ASSERT_TRUE(big.open(QIODevice::WriteOnly));
        ASSERT_TRUE(big.resize(TStakeLog::MaxLogSize + 1)); // sparse: no disk used
    }
    QFile exact(LogPath(6));
    ASSERT_TRUE(exact.open(QIODevice::WriteOnly));
    ASSERT_TRUE(exact.resize(TStakeLog::MaxLogSize));
    exact.close();
    stakes.File().AppendRecord(Stake(101, {1, 2, 4, 5, 6, 8}));
    stakes.File().AppendRecord(Stake(103, {1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(Check(), 2);
    EXPECT_EQ(ReadAll(LogPath(0)).count('\n'), 1) << "deleted, then the line";
    EXPECT_GT(QFileInfo(LogPath(6)).size(), TStakeLog::MaxLogSize) << "not larger yet: appended to";
    EXPECT_TRUE(host.Errors().isEmpty());
}

TEST_F(StakesCheckTest, AnUnwritableLogIsReportedOnceAndCheckingGoesOn) {
    stakes.SetStakesLogEnabled(true);
    ASSERT_TRUE(QDir(dir.path()).mkdir("Brantlee_6x45-0.log"));
    for (int i = 0; i < 3; ++i)
        stakes.File().AppendRecord(Stake(101, {1, 2, 4, 5, 6, 8}));
    EXPECT_EQ(Check(), 3);
    ASSERT_EQ(host.Errors().size(), 1);
    EXPECT_TRUE(host.Errors()[0].startsWith("Ошибка записи в файл \"" + LogPath(0) + "\"!\r\r"));
}

TEST_F(StakesCheckTest, ProgressOfTwoHundredFiftyRecordsEveryTwoRecords) {
    for (int i = 0; i < 250; ++i)
        stakes.File().AppendRecord(SeparatorRecord());
    EXPECT_EQ(Check(), 0);
    QStringList progress;
    for (const QString &s : host.Statuses)
        if (s.startsWith("Проверка результатов ставок ( завершено")) progress << s;
    ASSERT_EQ(progress.size(), 125);
    EXPECT_EQ(progress.first(), "Проверка результатов ставок ( завершено 1 % )...");
    EXPECT_EQ(progress[1], "Проверка результатов ставок ( завершено 2 % )...");
    EXPECT_EQ(progress.last(), "Проверка результатов ставок ( завершено 100 % )...");
    EXPECT_EQ(host.Statuses.first(), "Проверка результатов ставок...");
    EXPECT_EQ(host.Statuses.last(), "");
}

TEST_F(StakesCheckTest, AddStakeChecksAndJumpsToTheLastRow) {
    QList<std::pair<bool, bool>> views;
    QObject::connect(&stakes, &TStakesController::StakesViewChanged, [&](bool refresh, bool jump) {
        views.append({refresh, jump});
    });
    TStakeRec rec = stakes.NewManualStake(Numbers({40, 3, 11, 17, 25, 7}));
    EXPECT_EQ(NumberSetToText(rec.Numbers, ";"), "3;7;11;17;25;40");
    EXPECT_EQ(rec.DrawNumber, 105) << "the next draw number is the newest plus 2";
    EXPECT_EQ(StakeComment(rec), "Ставка \"вручную\"");
    rec.DrawNumber = 101;
    ASSERT_TRUE(stakes.AddStake(rec, 2));
    EXPECT_EQ(host.Statuses.first(), "Создание ставки...");
    ASSERT_EQ(stakes.Count(), 3);
    EXPECT_EQ(At(0).Overlaps.Count, 6);
    EXPECT_EQ(At(2).Checked, 0); // draw 102 is not in the archive
    EXPECT_EQ(views.last(), std::make_pair(true, true));

    // A batch stake jumps only with the scroll option on.
    views.clear();
    stakes.SetStakesScrollEnabled(false);
    ASSERT_TRUE(stakes.AddStakes(rec, 1, true));
    EXPECT_EQ(views.last(), std::make_pair(false, false));
    stakes.SetStakesScrollEnabled(true);
    ASSERT_TRUE(stakes.AddStakes(rec, 1, true));
    EXPECT_EQ(views.last(), std::make_pair(false, true));
}

TEST_F(StakesCheckTest, StakesForAListShareDrawCommentAndSample) {
    ASSERT_TRUE(stakes.Combs.PasteText("40 3 11 17 25 7\r\n1 2 3 4 5 6\r\n9 10 11 12 13 14\r\n"));
    const TComb *combs = stakes.Combs.Data();
    ASSERT_TRUE(stakes.AddStakesForCombs({combs, 3}, 101, 1, QStringLiteral("пакет")));
    ASSERT_EQ(stakes.Count(), 3);
    for (int i = 0; i < 3; ++i) {
        const TStakeRec rec = At(i);
        EXPECT_EQ(rec.Kind, skManual);
        EXPECT_EQ(rec.DrawNumber, 101);
        EXPECT_EQ(rec.Sample, 3);
        EXPECT_EQ(StakeComment(rec), "пакет");
        EXPECT_EQ(rec.Checked, 1) << "checked at the end of the batch";
    }
    EXPECT_EQ(StakeCellText(At(0), scNumbers), "3;7;11;17;25;40");
    EXPECT_EQ(At(0).Overlaps.Count, 6);

    // Two draws each: separators between the copies.
    ASSERT_TRUE(stakes.AddStakesForCombs({combs, 2}, 200, 2, QStringLiteral("пакет")));
    QStringList draws;
    for (qint64 i = 3; i < stakes.Count(); ++i)
        draws << QString::number(At(i).DrawNumber);
    EXPECT_EQ(draws, QStringList({"-1", "200", "-1", "201", "-1", "200", "-1", "201"}));
}

TEST_F(StakesCheckTest, OptionsAreWrittenAtOnce) {
    stakes.Settings.Load(folder.FrmFile());
    stakes.SetStakesLogEnabled(true);
    stakes.SetStakesScrollEnabled(false);
    stakes.SetStakesCheckOnLine(false);
    TWindowSettings reread(folder.FrmFile());
    EXPECT_TRUE(reread.StakesLogEnabled());
    EXPECT_FALSE(reread.StakesScrollEnabled());
    EXPECT_FALSE(reread.StakesCheckOnLine());
    TTestStakes other(host, folder);
    other.Settings.Load(folder.FrmFile());
    other.ApplyWindowSettings();
    EXPECT_TRUE(other.StakesLogEnabled());
    EXPECT_FALSE(other.StakesScrollEnabled());
    EXPECT_FALSE(other.StakesCheckOnLine());
}

TEST_F(StakesCheckTest, RandomRowsRepeatWithTheirSeed) {
    EXPECT_EQ(stakes.RandomCombRow(), -1);
    ASSERT_TRUE(stakes.Combs.PasteText("1 2 3 4 5 6\r\n1 2 3 4 5 7\r\n1 2 3 4 5 8\r\n1 2 3 4 5 9\r\n"));
    QList<int> first, second;
    stakes.SetRandomSeed(45);
    for (int i = 0; i < 20; ++i)
        first << stakes.RandomCombRow();
    stakes.SetRandomSeed(45);
    for (int i = 0; i < 20; ++i)
        second << stakes.RandomCombRow();
    EXPECT_EQ(first, second);
    for (int row : first)
        EXPECT_TRUE(row >= 0 && row < 4);
    EXPECT_GT(QSet<int>(first.begin(), first.end()).size(), 1);
}
