// The series and period methods: their class operations and order, the
// runs of presence and absence of the reference draw's items over the
// sample, the periods of items with several numbers in one draw, and the
// period filter, which reads the draw a selected period lies back.

#include "stats/methods/SerialMethods.h"
#include "StatsTestUtil.h"

#include "archive/DemoDraws.h"
#include "stats/StatTable.h"

#include <gtest/gtest.h>
#include <QDate>

namespace lot {
namespace {

using test::MakeComb;
using test::MakeStatDraw;
using test::Texts;

TEST(SerialMethodsTest, ClassOperationsInRegistrationOrder) {
    struct TCase {
        const char *Code, *ClassName, *Caption, *Flags;
        int Group;
    };
    const TCase cases[] = {
        {"GRPV", "TstNumGroups", "Повторы чисел в нескольких тиражах подряд", "D", 8},
        {"GRPP", "TstNumPauses", "Интервалы между повторениями чисел", "D", 8},
        {"GRCV", "TstChnGroups", "Повторы каналов в нескольких тиражах подряд", "D", 8},
        {"GRCP", "TstChnPauses", "Интервалы между повторениями каналов", "D", 8},
        {"GRSV", "TstSgmGroups", "Повторы сегментов в нескольких тиражах подряд", "D", 8},
        {"GRSP", "TstSgmPauses", "Интервалы между повторениями сегментов", "D", 8},
        {"PRDV", "TstNumPeriods", "Периоды повторения чисел", "P", 9},
        {"PRDC", "TstChnPeriods", "Периоды повторения каналов", "P", 9},
        {"PRDG", "TstSgmPeriods", "Периоды повторения сегментов", "P", 9},
    };
    test::TMethodProbe probe;
    const int first = probe.List.FindEntry(QStringLiteral("GRPV"));
    ASSERT_GT(first, 0);
    EXPECT_EQ(probe.List.EntryCode(first - 1), QStringLiteral("SGM1")) << "after the per-segment counts";
    for (int k = 0; k < int(std::size(cases)); ++k) {
        const TCase &c = cases[k];
        const int i = first + k;
        EXPECT_EQ(probe.List.EntryCode(i), QString::fromLatin1(c.Code));
        const TStatClass &cls = *probe.List.Items(i).StatClass;
        EXPECT_STREQ(cls.ClassName(), c.ClassName);
        EXPECT_EQ(cls.Group(), c.Group) << c.Code;
        EXPECT_EQ(probe.List.EntryCaption(i), QString::fromUtf8(c.Caption)) << c.Code;
        EXPECT_EQ(FlagLetters(cls.FullFlags()), QString::fromLatin1(c.Flags)) << c.Code;
        EXPECT_FALSE(cls.AllowsValueList()) << c.Code;
        EXPECT_FALSE(cls.HasParamRange()) << c.Code;
        EXPECT_EQ(cls.HelpTopic(0), QString::fromLatin1(c.Code));
        EXPECT_TRUE(probe.ListedTexts(QString::fromLatin1(c.Code)).isEmpty()) << c.Code << ": none listed";
    }
    EXPECT_EQ(probe.List.DisplayCaption(first + 3, true),
              QString::fromUtf8("{ ser } Интервалы между повторениями каналов [ D ]"));
    EXPECT_EQ(probe.List.DisplayCaption(first + 6, true),
              QString::fromUtf8("{ per } Периоды повторения чисел [ P ]"));
}

/// The values of a whole sample ending at entry last, in list order, as
/// "text:count:depth:last draw".
QStringList SampleValues(const test::TMethodProbe &probe, const QString &code, int first, int last) {
    auto stat = probe.Stat(code);
    TStatDrawArray values;
    TStatScratch scratch;
    TLastValueArray lastValues;
    for (int i = first; i <= last; ++i)
        stat->DrawValues(i, last, false, values, scratch, lastValues);
    QStringList texts;
    for (const TStatDraw &v : values)
        texts << QStringLiteral("%1:%2:%3:%4")
                     .arg(stat->ValueToText(v))
                     .arg(v.Count)
                     .arg(v.Depth)
                     .arg(v.LastDraw);
    return texts;
}

TEST(SerialMethodsTest, RunsOfTheReferenceDrawsItems) {
    struct TCase {
        const char *Name;
        std::vector<std::array<int, 6>> Draws; // oldest first, numbers 1, 2, ...
        const char *Code;
        std::vector<const char *> Values;
    };
    const TCase cases[] = {
        // 7 in the newest draw and the two before it, not in the one before those.
        {"a number three draws running",
         {{1, 2, 3, 4, 5, 6},
          {7, 8, 9, 10, 11, 12},
          {40, 41, 42, 43, 44, 45},
          {7, 13, 14, 15, 16, 17},
          {7, 18, 19, 20, 21, 22},
          {7, 23, 24, 25, 26, 27}},
         "GRPV",
         {"7 x 1:1:5:2", "7 x 3:1:1:6", "23 x 1:1:1:6", "24 x 1:1:1:6", "25 x 1:1:1:6", "26 x 1:1:1:6",
          "27 x 1:1:1:6"}},
        // 30 absent for the four draws before the newest one; the numbers
        // of the newest draw absent from the oldest end a pause of 1 there.
        {"a number absent for four draws",
         {{30, 2, 3, 4, 5, 6},
          {7, 8, 9, 10, 11, 12},
          {7, 8, 9, 10, 11, 13},
          {7, 8, 9, 10, 11, 14},
          {7, 8, 9, 10, 11, 15},
          {30, 8, 9, 10, 11, 16}},
         "GRPP",
         {"8 x 1:1:6:1", "9 x 1:1:6:1", "10 x 1:1:6:1", "11 x 1:1:6:1", "16 x 5:1:2:5", "30 x 4:1:2:5"}},
        // Channel 1 (1..5) in every draw but the third.
        {"a channel's runs",
         {{1, 9, 18, 27, 36, 45},
          {2, 10, 19, 28, 37, 44},
          {6, 11, 20, 29, 38, 43},
          {3, 12, 21, 30, 39, 42},
          {4, 13, 22, 31, 40, 41}},
         "GRCV",
         {"01 x 2:2:1:5", "03 x 3:1:1:5", "05 x 2:1:1:5", "07 x 1:1:1:5", "08 x 5:1:1:5", "09 x 5:1:1:5"}},
    };
    for (const TCase &c : cases) {
        SCOPED_TRACE(c.Name);
        test::TMethodProbe probe;
        for (size_t i = 0; i < c.Draws.size(); ++i)
            probe.Archive.Append(MakeStatDraw(int(i) + 1, c.Draws[i]));
        QStringList expected;
        for (const char *v : c.Values)
            expected << QString::fromUtf8(v);
        EXPECT_EQ(SampleValues(probe, QString::fromLatin1(c.Code), 0, int(c.Draws.size()) - 1), expected);
    }
}

TEST(SerialMethodsTest, PeriodsOfItems) {
    test::TMethodProbe probe; // channel size 5
    probe.Archive.Append(MakeStatDraw(1, {1, 20, 30, 40, 44, 45}));
    probe.Archive.Append(MakeStatDraw(3, {1, 2, 21, 31, 41, 6}));  // channel 1 twice
    probe.Archive.Append(MakeStatDraw(5, {3, 4, 22, 32, 42, 11})); // channel 1 twice again
    // The first appearance records nothing; the second number of channel 1
    // in one draw records nothing either.
    EXPECT_EQ(SampleValues(probe, QStringLiteral("PRDC"), 0, 0), QStringList{});
    EXPECT_EQ(SampleValues(probe, QStringLiteral("PRDC"), 0, 2),
              Texts({"01 x 2:2:1:5", "09 x 2:2:1:5", "05 x 2:1:1:5", "07 x 2:1:1:5"}));
    EXPECT_EQ(SampleValues(probe, QStringLiteral("PRDV"), 0, 1), Texts({"1 x 2:1:1:3"}));
}

TEST(SerialMethodsTest, PeriodFilterReadsTheDrawThePeriodLiesBack) {
    test::TMethodProbe probe;
    probe.Archive.Append(MakeStatDraw(1, {1, 2, 3, 4, 5, 6}));
    probe.Archive.Append(MakeStatDraw(2, {7, 8, 9, 10, 11, 12}));
    probe.Archive.Append(MakeStatDraw(3, {13, 14, 15, 16, 17, 18}));
    auto stat = probe.Stat(QStringLiteral("PRDV"));
    // The combination stands for the draw after entry 2: a period of 3 lies
    // back at entry 0, one of 2 at entry 1.
    struct TCase {
        int Number, Period;
        bool Exclude, Matches;
    };
    const TCase cases[] = {{1, 3, false, true}, {1, 2, false, false}, {7, 2, false, true},
                           {1, 3, true, false}, {1, 2, true, true},   {40, 1, true, true}};
    for (const TCase &c : cases) {
        TStatDrawArray selected(1);
        selected[0].Key = TStatKey::FromWords(uint16_t(c.Number), uint16_t(c.Period));
        const TComb comb = MakeComb({c.Number, 20, 21, 22, 23, 24});
        EXPECT_EQ(stat->CombMatches(comb, selected, 2, false, c.Exclude), c.Matches)
            << c.Number << " x " << c.Period << (c.Exclude ? " excluding" : "");
        EXPECT_EQ(stat->MakeMatcher(selected, 2, false, c.Exclude)->Matches(comb), c.Matches);
    }
    // Selected 40 x 1 in exclude mode: 40 is not in entry 2, so a
    // combination holding 40 matches, one without it does not.
    TStatDrawArray selected(1);
    selected[0].Key = TStatKey::FromWords(40, 1);
    EXPECT_TRUE(stat->CombMatches(MakeComb({40, 20, 21, 22, 23, 24}), selected, 2, false, true));
    EXPECT_FALSE(stat->CombMatches(MakeComb({41, 20, 21, 22, 23, 24}), selected, 2, false, true));
}

TEST(SerialMethodsTest, CombinationsTakeTheRunsAndDistancesOfTheirItems) {
    test::TMethodProbe probe;
    probe.Archive.Append(MakeStatDraw(1, {1, 2, 3, 4, 5, 6}));
    probe.Archive.Append(MakeStatDraw(2, {1, 8, 9, 10, 11, 12}));
    probe.Archive.Append(MakeStatDraw(3, {1, 14, 15, 16, 17, 18}));
    const TComb c = MakeComb({1, 2, 14, 40, 0, 99});
    // 1 would run a fourth draw; 2 comes back after two; 40 never came out.
    EXPECT_EQ(probe.CombTexts(QStringLiteral("GRPV"), c, 2), Texts({"1 x 4", "2 x 1", "14 x 2", "40 x 1"}));
    EXPECT_EQ(probe.CombTexts(QStringLiteral("GRPP"), c, 2), Texts({"1 x 0", "2 x 2", "14 x 0", "40 x 3"}));
    EXPECT_EQ(probe.CombTexts(QStringLiteral("PRDV"), c, 2), Texts({"1 x 1", "2 x 3", "14 x 1"}));
}

} // namespace
} // namespace lot

namespace lot {
namespace {

// The periods find the next occurrence from where each item appears; that
// must be what valuing the later draws again finds, for every value of the
// table and every start.
TEST(SerialMethodsTest, NextOccurrenceOfAPeriodAsTheDrawsGiveIt) {
    test::TMethodProbe probe;
    for (const TDrawRec &d : MakeDemoDraws(160, 11, QDate(2026, 1, 3)))
        probe.Archive.Append(d);
    TConfigData config = probe.List.Config();
    for (int n = 1; n <= NumberCount; ++n)
        config.MatrixSegments[size_t(n - 1)] = uint8_t((n * 7) % 4 + 1);
    probe.List.SetConfig(config);
    probe.List.RegisterAll();
    const int last = probe.Archive.Count() - 1;
    for (const char *code : {"PRDV", "PRDC", "PRDG"}) {
        auto stat = probe.Stat(QString::fromLatin1(code));
        TStatDrawArray values;
        TStatScratch scratch;
        TLastValueArray lastValues;
        for (int i = 0; i <= last; ++i)
            stat->DrawValues(i, last, false, values, scratch, lastValues);
        ASSERT_GT(values.size(), 8u) << code;
        TStatDraw odd = values[0];
        odd.Key.SetW(3, 1); // a key no draw gives
        values.push_back(odd);
        for (const TStatDraw &v : values)
            for (const int from : {0, 1, 37, 100, last, last + 1})
                ASSERT_EQ(stat->NextOccurrence(v, from, false, last),
                          stat->TCustomStat::NextOccurrence(v, from, false, last))
                    << code << " " << stat->ValueToText(v).toStdString() << " from " << from;
    }
}

} // namespace
} // namespace lot
