// Regular table stakes: the rule record and file, the shift around the
// number circle, the rule dialog's checks, and the rules' stakes for the
// next draw and over past draws, checked and rated.

#include "StakesTestUtil.h"

#include "core/Codec1251.h"
#include "core/CoreHelpers.h"
#include "shell/FakeHost.h"
#include "stakes/TablesController.h"

#include <gtest/gtest.h>
#include <QFile>
#include <QTemporaryDir>

using namespace lot;
using namespace lot::stakestest;
using lot::test::TFakeHost;

namespace {

TComb C(std::initializer_list<int> n) {
    TComb c;
    int i = 0;
    for (int x : n)
        c[i++] = uint8_t(x);
    return c;
}

/// The circle 1..45 written independently of the code under test.
int Wrapped(int a, int s) {
    return ((a - 1 + s) % 45 + 45) % 45 + 1;
}

} // namespace

TEST(TablesTest, FileHoldsRecordsAtTheirOffsets) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("t.ltb"));
    TTableRec rule = NewTableRule(QStringLiteral("Регуляр"), true, -7, C({30, 2, 10, 1, 3, 20}));
    rule.Stakes = 0x01020304;
    SaveTables(path, {NewTableRule(QStringLiteral("a"), false, 1, C({1, 2, 3, 4, 5, 6})), rule});
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray b = f.readAll();
    ASSERT_EQ(b.size(), 2 * 280);
    const char *rec = b.constData() + 280;
    EXPECT_EQ(uint8_t(rec[0]), 7);
    EXPECT_EQ(QByteArray(rec + 1, 7), ToCp1251(QStringLiteral("Регуляр")));
    EXPECT_EQ(uint8_t(rec[256]), 1);
    EXPECT_EQ(QByteArray(rec + 257, 6), QByteArray("\x01\x02\x03\x0a\x14\x1e", 6)); // sorted start
    EXPECT_EQ(QByteArray(rec + 263, 6), QByteArray("\x01\x02\x03\x0a\x14\x1e", 6)); // current = start
    EXPECT_EQ(QByteArray(rec + 269, 3), QByteArray(3, '\0'));
    int32_t step, stakes;
    std::memcpy(&step, rec + 272, 4);
    std::memcpy(&stakes, rec + 276, 4);
    EXPECT_EQ(step, -7);
    EXPECT_EQ(stakes, 0x01020304);

    // Back unchanged; a partial record at the end is left out.
    ASSERT_TRUE(f.copy(dir.filePath(QStringLiteral("u.ltb"))));
    QFile u(dir.filePath(QStringLiteral("u.ltb")));
    ASSERT_TRUE(u.open(QIODevice::Append));
    u.write("xyz");
    u.close();
    const TTablesArray rows = LoadTables(u.fileName());
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(QByteArray(reinterpret_cast<const char *>(&rows[1]), 280), QByteArray(rec, 280));
    EXPECT_THROW(LoadTables(dir.filePath(QStringLiteral("missing.ltb"))), EError);
}

TEST(TablesTest, ShiftsAroundTheCircle) {
    struct TCase {
        TComb From;
        int Step;
        const char *To;
    } cases[] = {
        {C({40, 41, 42, 43, 44, 45}), 1, "1;41;42;43;44;45"},
        {C({1, 2, 3, 10, 20, 30}), -3, "7;17;27;43;44;45"},
        {C({5, 6, 7, 8, 9, 10}), 0, "5;6;7;8;9;10"},
        {C({5, 6, 7, 8, 9, 10}), 45, "5;6;7;8;9;10"},
        {C({5, 6, 7, 8, 9, 10}), -45, "5;6;7;8;9;10"},
        {C({1, 2, 3, 43, 44, 45}), 44, "1;2;42;43;44;45"},
    };
    for (const TCase &c : cases)
        EXPECT_EQ(CombToText(ShiftedTableComb(c.From, c.Step)), c.To) << c.Step;

    // Every step keeps six distinct numbers and matches the circle.
    const TComb start = C({1, 9, 17, 33, 44, 45});
    for (int s = -TableStepLimit; s <= TableStepLimit; ++s) {
        TComb expected;
        for (int i = 0; i < CombSize; ++i)
            expected[i] = uint8_t(Wrapped(start[i], s));
        SortComb(expected);
        EXPECT_EQ(ShiftedTableComb(start, s), expected) << s;
    }

    // Step 0 on its own combination repeats it; from the previous draw it
    // follows the draw, whatever the rule's current numbers.
    TTableRec still = NewTableRule(QStringLiteral("x"), false, 0, C({3, 11, 17, 25, 40, 44}));
    for (int i = 0; i < 3; ++i)
        AdvanceTable(still, C({1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(CombToText(TableCurrent(still)), "3;11;17;25;40;44");
    EXPECT_EQ(still.Stakes, 3);
    TTableRec follow = NewTableRule(QStringLiteral("y"), true, 2, C({3, 11, 17, 25, 40, 44}));
    AdvanceTable(follow, C({45, 1, 7, 2, 30, 44}));
    EXPECT_EQ(CombToText(TableCurrent(follow)), "1;2;3;4;9;32");
    EXPECT_EQ(CombToText(TableStart(follow)), "3;11;17;25;40;44");
}

TEST(TablesTest, RuleChecksInTheDialogsOrder) {
    const QStringList names{QStringLiteral("Регуляр"), QStringLiteral("B")};
    struct TCase {
        const char *Name;
        bool AskStart;
        const char *Start;
        TTableRuleError Error;
    } cases[] = {
        {"новый", true, "3;11;17;25;40;44", TTableRuleError::None},
        {"новый", true, "44,3, 11;17;25;40", TTableRuleError::None},
        {"", true, "3;11;17;25;40", TTableRuleError::BadCombination}, // the combination first
        {"новый", true, "3;11;17;25;40;46", TTableRuleError::BadCombination},
        {"новый", true, "3;3;17;25;40;44", TTableRuleError::BadCombination},
        {"новый", true, "{...Выделенные комбинации...}", TTableRuleError::BadCombination},
        {"новый", false, "{...Выделенные комбинации...}", TTableRuleError::None},
        {"", false, "", TTableRuleError::EmptyName},
        {"   ", false, "", TTableRuleError::EmptyName},
        {"РЕГУЛЯР", false, "", TTableRuleError::DuplicateName},
        {"b", true, "1;2;3;4;5;6", TTableRuleError::DuplicateName},
    };
    for (const TCase &c : cases) {
        TComb start;
        EXPECT_EQ(
            CheckTableRule(QString::fromUtf8(c.Name), c.AskStart, QString::fromUtf8(c.Start), names, &start),
            c.Error)
            << c.Name << " " << c.Start;
    }
    TComb start;
    ASSERT_EQ(CheckTableRule(QStringLiteral("n"), true, QStringLiteral("44,3,11;17;25;40"), names, &start),
              TTableRuleError::None);
    EXPECT_EQ(CombToText(start), "3;11;17;25;40;44");
    EXPECT_EQ(TableRuleErrorText(TTableRuleError::DuplicateName),
              QStringLiteral(
                  "Запись с таким комментарией уже присутствует в списке!\rВыберите другой комментарий."));
}

namespace {

class TablesControllerTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(stakes.LoadStakes());
        stakes.SetPrizes(1, {{3, 10}, {4, 100}});
        // Draws 101..109, numbers 1..6 shifted by the draw's place.
        std::vector<TDrawRec> draws;
        for (int i = 0; i < 5; ++i)
            draws.push_back(Draw(101 + 2 * i, {1 + i, 2 + i, 3 + i, 4 + i, 5 + i, 6 + i}));
        ASSERT_TRUE(stakes.Archive.ReplaceDraws(draws));
        host.Clear();
    }
    TTableRec Rule(const char *name, bool lastDraw, int step, TComb start) {
        return NewTableRule(QString::fromUtf8(name), lastDraw, step, start);
    }
    QTemporaryDir dir;
    TDataFolder folder{dir.path()};
    TFakeHost host;
    TTestStakes stakes{host, folder};
    TTablesController tables{host, folder, stakes.Settings, stakes.Archive, stakes, stakes.Combs};
};

} // namespace

TEST_F(TablesControllerTest, AddsOneRuleOrOnePerSelectedCombination) {
    ASSERT_TRUE(tables.AddRules(Rule("X", false, 1, C({9, 3, 4, 5, 6, 7})), {}, {}));
    ASSERT_EQ(tables.Count(), 1);
    EXPECT_EQ(TableCellText(tables.At(0), tcStart), "3;4;5;6;7;9");
    EXPECT_EQ(TableCellText(tables.At(0), tcCurrent), "3;4;5;6;7;9");
    EXPECT_EQ(TableCellText(tables.At(0), tcStakes), "0");

    // Three selected combinations: "Y (p)" with their list positions.
    ASSERT_TRUE(tables.AddRules(
        Rule("Y", false, 2, TComb{}),
        {C({1, 2, 3, 4, 5, 6}), C({7, 8, 9, 10, 11, 12}), C({13, 14, 15, 16, 17, 18})}, {2, 5, 9}));
    EXPECT_EQ(tables.Names(), (QStringList{"X", "Y (2)", "Y (5)", "Y (9)"}));
    EXPECT_EQ(TableCellText(tables.At(2), tcStart), "7;8;9;10;11;12");
    EXPECT_EQ(tables.At(3).Step, 2);

    // The name is checked ignoring case; nothing is added then.
    EXPECT_FALSE(tables.AddRules(Rule("x", false, 1, C({1, 2, 3, 4, 5, 6})), {}, {}));
    EXPECT_EQ(tables.Count(), 4);

    // The file holds the list; a fresh controller reads it back.
    TTablesController again{host, folder, stakes.Settings, stakes.Archive, stakes, stakes.Combs};
    ASSERT_TRUE(again.LoadTables());
    EXPECT_EQ(again.Names(), tables.Names());

    // Deleting rows in any order; an index outside the list deletes nothing.
    EXPECT_FALSE(tables.DeleteRules({1, 7}));
    EXPECT_EQ(host.Errors().last(), QStringLiteral("Запись со индексом 7 в файле данных не найдена!"));
    EXPECT_EQ(tables.Count(), 4);
    ASSERT_TRUE(tables.DeleteRules({3, 1, 3}));
    EXPECT_EQ(tables.Names(), (QStringList{"X", "Y (5)"}));
}

TEST_F(TablesControllerTest, NextStakeIsARegularStakeForTheNextDraw) {
    ASSERT_TRUE(tables.AddRules(Rule("Своя", false, 1, C({40, 41, 42, 43, 44, 45})), {}, {}));
    ASSERT_TRUE(tables.AddRules(Rule("Тираж", true, -1, TComb{}), {}, {}));
    TTableRec advanced;
    TStakeRec stake;
    tables.NextStake(0, advanced, stake);
    EXPECT_EQ(stake.Kind, skRegular);
    EXPECT_EQ(stake.DrawNumber, 111);
    EXPECT_EQ(StakeComment(stake), QStringLiteral("Своя"));
    EXPECT_EQ(StakeCellText(stake, scNumbers), "1;41;42;43;44;45");
    EXPECT_EQ(stake.Overlaps.Count, -1);
    EXPECT_EQ(stake.Checked, 0);
    EXPECT_EQ(StakeCellText(stake, scProfit), "-1.00");
    // The rule itself moves only when the stake is made.
    EXPECT_EQ(tables.At(0).Stakes, 0);
    ASSERT_TRUE(tables.CommitStake(0, advanced, stake, 1));
    EXPECT_EQ(tables.At(0).Stakes, 1);
    EXPECT_EQ(TableCellText(tables.At(0), tcCurrent), "1;41;42;43;44;45");
    EXPECT_EQ(stakes.Count(), 1);

    // From the previous draw (109: 5..10) at the current offset.
    tables.NextStake(1, advanced, stake);
    EXPECT_EQ(StakeCellText(stake, scNumbers), "4;5;6;7;8;9");
    stakes.Archive.ChangeOffset(2);
    tables.NextStake(1, advanced, stake);
    EXPECT_EQ(stake.DrawNumber, 107);
    EXPECT_EQ(StakeCellText(stake, scNumbers), "2;3;4;5;6;7");

    // Over an empty archive such a rule has no numbers: an error, no stake.
    ASSERT_TRUE(stakes.Archive.ReplaceDraws({}));
    EXPECT_THROW(tables.NextStake(1, advanced, stake), EError);
}

TEST_F(TablesControllerTest, TestOverPastDrawsMakesCheckedRatedStakes) {
    ASSERT_TRUE(tables.AddRules(Rule("A", false, 1, C({1, 2, 3, 4, 5, 6})), {}, {}));
    ASSERT_TRUE(tables.AddRules(Rule("B", true, 0, TComb{}), {}, {}));
    ASSERT_TRUE(tables.AddRules(Rule("C", false, 5, C({1, 2, 3, 4, 5, 6})), {}, {}));
    stakes.Archive.ChangeOffset(1);
    bool frozen = false;
    int freezes = 0;
    tables.SetFreezeViews([&](bool f) {
        frozen = f;
        ++freezes;
    });
    int appended = 0;
    ASSERT_TRUE(tables.TestRules({1, 0}, 3, &appended));
    EXPECT_EQ(appended, 6);
    EXPECT_EQ(stakes.Archive.Offset(), 1); // restored
    EXPECT_FALSE(frozen);
    EXPECT_EQ(freezes, 2);

    // Offsets 3, 2, 1: the next draws 105, 107, 109, rules in list order.
    const std::vector<TStakeRec> recs = RecordsOnDisk(folder.StakesFile());
    ASSERT_EQ(recs.size(), 6u);
    const char *expected[6][3] = {{"105", "A", "2;3;4;5;6;7"}, {"105", "B", "2;3;4;5;6;7"},
                                  {"107", "A", "3;4;5;6;7;8"}, {"107", "B", "3;4;5;6;7;8"},
                                  {"109", "A", "4;5;6;7;8;9"}, {"109", "B", "4;5;6;7;8;9"}};
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(recs[size_t(i)].Kind, skRegular);
        EXPECT_EQ(StakeCellText(recs[size_t(i)], scDrawNumber), expected[i][0]) << i;
        EXPECT_EQ(StakeComment(recs[size_t(i)]), QString::fromUtf8(expected[i][1])) << i;
        EXPECT_EQ(StakeCellText(recs[size_t(i)], scNumbers), expected[i][2]) << i;
        EXPECT_EQ(recs[size_t(i)].Checked, 1) << i; // checked against draws 105..109
    }
    // Each draw is the one before moved up by one: both rules share five
    // numbers with every draw they were made for.
    for (const TStakeRec &rec : recs)
        EXPECT_EQ(rec.Overlaps.Count, 5);
    EXPECT_EQ(tables.At(0).Stakes, 3);
    EXPECT_EQ(TableCellText(tables.At(0), tcCurrent), "4;5;6;7;8;9");
    EXPECT_EQ(tables.At(2).Stakes, 0); // not selected
    ASSERT_EQ(stakes.Ratings().Count(), 2);
    const int a = stakes.Ratings().Find(QStringLiteral("A"));
    ASSERT_GE(a, 0);
    EXPECT_EQ(stakes.Ratings().At(a).Stakes, 3);
    EXPECT_EQ(stakes.Ratings().At(a).Histogram[5], 3);

    // The rules file was saved with the moved rules.
    TTablesController again{host, folder, stakes.Settings, stakes.Archive, stakes, stakes.Combs};
    ASSERT_TRUE(again.LoadTables());
    EXPECT_EQ(again.At(0).Stakes, 3);
}

TEST_F(TablesControllerTest, HiddenTabKeepsNoRulesAndTheFileAsSaved) {
    ASSERT_TRUE(tables.AddRules(Rule("A", false, 1, C({1, 2, 3, 4, 5, 6})), {}, {}));
    const QByteArray saved = ReadAll(folder.TablesFile());
    ASSERT_EQ(saved.size(), 280);
    stakes.Settings.SetTabTables(false);
    tables.TabVisibilityChanged(false);
    EXPECT_EQ(tables.Count(), 0);
    EXPECT_TRUE(tables.SaveTables()); // does nothing while hidden
    EXPECT_EQ(ReadAll(folder.TablesFile()), saved);
    stakes.Settings.SetTabTables(true);
    tables.TabVisibilityChanged(true);
    EXPECT_EQ(tables.Names(), QStringList{"A"});
}
