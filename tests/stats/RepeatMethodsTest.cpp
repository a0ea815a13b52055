// The repeat methods: their class operations and order, the shift with its
// wrap, the draws they read (the earlier draw at their distance, the
// reference draw, the two draws before a draw), the oldest draws that have
// no earlier draw, and the statistics table that lists the newest draw's
// numbers.

#include "stats/methods/RepeatMethods.h"
#include "StatsTestUtil.h"

#include "stats/StatTable.h"

#include <gtest/gtest.h>

namespace lot {
namespace {

using test::MakeComb;
using test::MakeStatDraw;
using test::Texts;

TEST(RepeatMethodsTest, ClassOperationsInRegistrationOrder) {
    struct TCase {
        const char *Code, *ClassName, *Caption;
    };
    const TCase cases[] = {
        {"RPV2", "TstRepValues2", "Повторяющиеся числа в 2-х тиражах подряд"},
        {"RPV3", "TstRepValues3", "Повторяющиеся числа в 3-х тиражах подряд"},
        {"PRL2", "TstRepValues2B3", "Повторяющиеся числа не более чем в 2-х тиражах"},
        {"PRV2O1", "TstRepValues2over1", "Повторяющиеся числа в 2-х тиражах через 1 тираж(а)"},
        {"PRV2O2", "TstRepValues2over2", "Повторяющиеся числа в 2-х тиражах через 2 тираж(а)"},
        {"PRV2O3", "TstRepValues2over3", "Повторяющиеся числа в 2-х тиражах через 3 тираж(а)"},
        {"PRV+1", "TstRepValues2P1", "Данные предыдущего тиража + 1"},
        {"PRV-1", "TstRepValues2N1", "Данные предыдущего тиража - 1"},
        {"PRV+2", "TstRepValues2P2", "Данные предыдущего тиража + 2"},
        {"PRV-2", "TstRepValues2N2", "Данные предыдущего тиража - 2"},
        {"RPC2", "TstRepCount2", "Количество повторов в 2-х тиражах подряд"},
        {"RPC3", "TstRepCount3", "Количество повторов в 3-х тиражах подряд"},
        {"PRB2", "TstRepCount2B3", "Количество повторов не более чем в 2-х тиражах"},
        {"RPO1", "TstRepCount2over1", "Количество повторов в 2-х тиражах через 1 тираж(а)"},
        {"PRC2O2", "TstRepCount2over2", "Количество повторов в 2-х тиражах через 2 тираж(а)"},
        {"PRC2O3", "TstRepCount2over3", "Количество повторов в 2-х тиражах через 3 тираж(а)"},
        {"PRC+1", "TstRepCount2P1", "Количество совпадений \"значений + 1\""},
        {"PRC-1", "TstRepCount2N1", "Количество совпадений \"значений - 1\""},
        {"PRC+2", "TstRepCount2P2", "Количество совпадений \"значений + 2\""},
        {"PRC-2", "TstRepCount2N2", "Количество совпадений \"значений - 2\""},
    };
    test::TMethodProbe probe;
    const int first = probe.List.FindEntry(QStringLiteral("RPV2"));
    ASSERT_GT(first, 0);
    for (int k = 0; k < int(std::size(cases)); ++k) {
        const TCase &c = cases[k];
        const int i = first + k;
        EXPECT_EQ(probe.List.EntryCode(i), QString::fromLatin1(c.Code));
        const TStatClass &cls = *probe.List.Items(i).StatClass;
        EXPECT_STREQ(cls.ClassName(), c.ClassName);
        EXPECT_EQ(cls.Group(), 7) << c.Code;
        EXPECT_EQ(probe.List.EntryCaption(i), QString::fromUtf8(c.Caption)) << c.Code;
        EXPECT_EQ(FlagLetters(cls.FullFlags()), QStringLiteral("D")) << c.Code;
        EXPECT_TRUE(cls.AllowsValueList()) << c.Code;
        EXPECT_EQ(cls.HelpTopic(0), QString::fromLatin1(c.Code));
    }
    EXPECT_EQ(probe.List.FindEntry(QStringLiteral("prv-1")), first + 7);
    EXPECT_EQ(probe.List.DisplayCaption(first + 16, true),
              QString::fromUtf8("{ rep } Количество совпадений \"значений + 1\" [ D ]"));
    EXPECT_EQ(TstRepValues2N2::Shift(), -2);
    EXPECT_EQ(TstRepCount2over3::Distance(), 4);
}

TEST(RepeatMethodsTest, ShiftWrapsIntoTheNumbers) {
    struct TCase {
        int X, S, Shifted;
    };
    const TCase cases[] = {{45, 1, 1},  {44, 2, 1},  {45, 2, 2},  {1, -1, 45},
                           {2, -2, 45}, {1, -2, 44}, {20, 0, 20}, {20, 2, 22},
                           {3, -2, 1},  {43, 2, 45}, {0, 1, 0},   {0, -2, 0}}; // no number stays no number
    for (const TCase &c : cases)
        EXPECT_EQ(detail::ShiftNumber(c.X, c.S), c.Shifted) << c.X << " " << c.S;
}

/// Five draws, oldest first:
///   #1 45 10 11 12 13 14
///   #2  1 45 20 21 22 11
///   #3 11  2 21 30 31  1
///   #4 21 11  1 40 41 42
///   #5  1 11 21  3 44 12
class RepeatArchive : public ::testing::Test {
protected:
    void SetUp() override {
        m_probe.Archive.Append(MakeStatDraw(1, {45, 10, 11, 12, 13, 14}));
        m_probe.Archive.Append(MakeStatDraw(2, {1, 45, 20, 21, 22, 11}));
        m_probe.Archive.Append(MakeStatDraw(3, {11, 2, 21, 30, 31, 1}));
        m_probe.Archive.Append(MakeStatDraw(4, {21, 11, 1, 40, 41, 42}));
        m_probe.Archive.Append(MakeStatDraw(5, {1, 11, 21, 3, 44, 12}));
        m_probe.List.RegisterAll();
    }
    QStringList Draw(const char *code, int index, int last = 4) {
        return m_probe.DrawTexts(QString::fromLatin1(code), index, last);
    }
    QStringList Comb(const char *code, std::array<int, 6> numbers, int ref = 4) {
        return m_probe.CombTexts(QString::fromLatin1(code), MakeComb(numbers), ref);
    }
    test::TMethodProbe m_probe;
};

TEST_F(RepeatArchive, ValuesRepeatIntoTheDrawAndTheReferenceDraw) {
    // #2 repeats 45 and 11 from #1; of them only 11 is in the newest draw.
    EXPECT_EQ(Draw("RPV2", 1), Texts({"11"}));
    EXPECT_EQ(Draw("RPV2", 1, 1), Texts({"45", "11"}));
    // #1 + 1 is 1 11 12 13 14 15, #2 + 1 is 2 1 21 22 23 12: only 1 is also in #2.
    EXPECT_EQ(Draw("PRV+1", 1, 1), Texts({"1"})) << "45 + 1 wraps to 1";
    // #4 - 2 is 19 9 44 38 39 40; #5 holds 44, and so does #5 - 2 (from 1).
    EXPECT_EQ(Draw("PRV-2", 4), Texts({"44"}));
    EXPECT_EQ(Draw("PRV2O1", 2), Texts({"11"})) << "#3 against #1";
    // The oldest draws have no earlier draw at the distance: nothing repeats.
    for (const char *code : {"RPV2", "PRV+1", "PRV-1", "PRV+2", "PRV-2", "RPV3", "PRL2"})
        EXPECT_TRUE(Draw(code, 0).isEmpty()) << code;
    EXPECT_TRUE(Draw("PRV2O3", 3).isEmpty());
    // A combination has the values of its numbers.
    EXPECT_EQ(Comb("PRV+1", {2, 1, 40, 41, 42, 43}), Texts({"2", "1", "40", "41", "42", "43"}));
}

TEST_F(RepeatArchive, CountsOfTheEarlierDraw) {
    EXPECT_EQ(Draw("RPC2", 1), Texts({"2"}));
    EXPECT_EQ(Draw("RPC2", 0), Texts({"0"})) << "the oldest draw adds 0";
    EXPECT_EQ(Draw("RPO1", 1), Texts({"0"})) << "no draw two back";
    EXPECT_EQ(Draw("RPO1", 2), Texts({"1"}));
    EXPECT_EQ(Draw("PRC+1", 1), Texts({"2"})) << "1 and 11 from 45 + 1 and 10 + 1";
    EXPECT_EQ(Draw("PRC-2", 4), Texts({"1"}));
    // A combination stands for the draw after the reference draw: counted in
    // entry ref - distance + 1.
    EXPECT_EQ(Comb("RPC2", {1, 11, 21, 3, 30, 31}), Texts({"4"})) << "in #5";
    EXPECT_EQ(Comb("RPO1", {1, 11, 21, 3, 30, 31}), Texts({"3"})) << "in #4";
    EXPECT_EQ(Comb("PRC2O3", {1, 11, 21, 3, 30, 31}), Texts({"3"})) << "in #2";
    EXPECT_EQ(Comb("RPC2", {1, 11, 21, 3, 30, 31}, 3), Texts({"3"})) << "in #4";
    EXPECT_EQ(Comb("PRC+1", {2, 12, 22, 4, 45, 13}), Texts({"6"})) << "#5 + 1";
    EXPECT_EQ(Comb("PRC-1", {45, 10, 20, 2, 43, 11}), Texts({"6"})) << "#5 - 1";
}

TEST_F(RepeatArchive, ThreeDraws) {
    EXPECT_EQ(Draw("RPV3", 4), Texts({"1", "11", "21"}));
    EXPECT_EQ(Draw("RPC3", 4), Texts({"3"}));
    EXPECT_TRUE(Draw("PRL2", 4).isEmpty());
    EXPECT_EQ(Draw("PRB2", 4), Texts({"0"}));
    EXPECT_EQ(Draw("RPV3", 3), Texts({"21", "11", "1"})) << "in the draw's order";
    EXPECT_EQ(Draw("RPC3", 3), Texts({"3"}));
    // #3 against #2 and #1: 11 in both, 21 and 1 in #2 only.
    EXPECT_EQ(Draw("RPC3", 2), Texts({"1"}));
    EXPECT_EQ(Draw("PRB2", 2), Texts({"2"}));
    EXPECT_EQ(Draw("PRL2", 2), Texts({"21", "1"}));
    // #2 has no draw two back: 45 and 11 are in #1 and not in no draw.
    EXPECT_EQ(Draw("PRB2", 1), Texts({"2"}));
    EXPECT_EQ(Draw("RPC3", 1), Texts({"0"}));
    // Combinations: counted in the reference draw and the one before it.
    EXPECT_EQ(Comb("RPC3", {1, 11, 21, 3, 44, 40}), Texts({"3"}));
    EXPECT_EQ(Comb("PRB2", {1, 11, 21, 3, 44, 40}), Texts({"2"})) << "3 and 44 of #5, not in #4";
    EXPECT_EQ(Comb("PRB2", {1, 11, 21, 3, 44, 40}, 3), Texts({"1"})) << "40 of #4, not in #3";
}

TEST_F(RepeatArchive, TableListsTheNewestNumbers) {
    test::TRecordingHost host;
    TStatTable table(host, m_probe.List, m_probe.Archive);
    table.FillSelector(false);
    table.SetSampleLength(5);
    table.SetSort(scValue, false);
    struct TCase {
        const char *Code;
        int Offset;
        const char *Rows; ///< value:count of every row, by value
    };
    const TCase cases[] = {
        {"RPV2", 0, "1:3,3:0,11:4,12:0,21:3,44:0"},  {"PRV+1", 0, "2:1,4:0,12:1,13:0,22:0,45:0"},
        {"RPV2", 1, "1:2,11:3,21:2,40:0,41:0,42:0"}, {"RPC2", 0, "0:1,1:0,2:1,3:3,4:0,5:0,6:0"},
        {"RPC3", 0, "0:2,1:1,2:0,3:2,4:0,5:0,6:0"},
    };
    for (const TCase &c : cases) {
        m_probe.Archive.SetOffset(c.Offset);
        ASSERT_TRUE(table.SelectEntry(m_probe.List.FindEntry(QString::fromLatin1(c.Code))));
        table.ComputeStatistics(true);
        QStringList rows;
        for (int r = 0; r < table.RowCount(); ++r)
            rows << table.Cell(r, scValue) + QLatin1Char(':') + table.Cell(r, scCount);
        EXPECT_EQ(rows.join(','), QString::fromLatin1(c.Rows)) << c.Code << " offset " << c.Offset;
    }
    m_probe.Archive.SetOffset(0);
    EXPECT_TRUE(host.Errors.isEmpty());
}

TEST(RepeatMethodsTest, NewestDrawSharingNothingListsSixRowsOfNoCount) {
    test::TMethodProbe probe;
    probe.Archive.Append(MakeStatDraw(1, {1, 2, 3, 4, 5, 6}));
    probe.Archive.Append(MakeStatDraw(2, {1, 2, 3, 7, 8, 9}));
    probe.Archive.Append(MakeStatDraw(3, {40, 41, 42, 43, 44, 45}));
    test::TRecordingHost host;
    TStatTable table(host, probe.List, probe.Archive);
    table.FillSelector(false);
    ASSERT_TRUE(table.SelectEntry(probe.List.FindEntry(QStringLiteral("RPV2"))));
    table.ComputeStatistics(true);
    ASSERT_EQ(table.RowCount(), 6);
    for (int r = 0; r < 6; ++r) {
        EXPECT_EQ(table.Cell(r, scCount), QStringLiteral("0"));
        EXPECT_EQ(table.Cell(r, scDepth), QStringLiteral("-"));
    }
    EXPECT_EQ(table.Summary().Total, 0);
}

} // namespace
} // namespace lot
