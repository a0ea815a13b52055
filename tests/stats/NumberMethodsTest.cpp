#include "stats/methods/NumberMethods.h"
#include "stats/CustomStatBases.h"
#include "StatsTestUtil.h"

#include <gtest/gtest.h>
#include <QTemporaryDir>

#include <map>
#include <random>

namespace lot {
namespace {

using test::MakeComb;
using test::ValueTexts;

class NumberMethodsTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::FillSampleArchive(m_archive);
        m_list.RegisterAll();
    }
    std::unique_ptr<TCustomStat> Stat(const QString &code) {
        const int entry = m_list.FindEntry(code);
        EXPECT_GE(entry, 0) << code.toStdString();
        return m_list.CreateStat(entry);
    }
    QStringList DrawTexts(const QString &code, int drawIdx, bool sorted) {
        auto stat = Stat(code);
        TStatDrawArray values;
        TStatScratch scratch;
        TLastValueArray last;
        stat->DrawValues(drawIdx, m_archive.Count() - 1, sorted, values, scratch, last);
        return ValueTexts(*stat, values);
    }
    QStringList CombTexts(const QString &code, const TComb &c) {
        auto stat = Stat(code);
        TStatDrawArray values;
        stat->CombValues(c, values);
        for (const TStatDraw &v : values)
            EXPECT_EQ(v.Depth, 0);
        return ValueTexts(*stat, values);
    }

    TDrawsArchive m_archive;
    TStatList m_list{&m_archive};
};

QStringList L(std::initializer_list<const char *> items) {
    QStringList list;
    for (const char *s : items)
        list << QString::fromUtf8(s);
    return list;
}

TEST_F(NumberMethodsTest, ClassOperations) {
    struct TCase {
        const char *Code;
        const char *Caption;
        const char *Flags;
        const char *ClassName;
    };
    const TCase cases[] = {
        {"NUMS", "Числа тиража", "N", "TstValues"},
        {"DIGS", "Цифры тиража", "N", "TstDigits"},
        {"EVEN", "Количество четных чисел в тираже (Ч:Н)", "NG", "TstEvenCount"},
        {"EVNV", "Четные и нечетные числа в тираже (Чн..нЧ)", "SN", "TstEvenValues"},
        {"SMAL", "Количество чисел из первой половины диапазона (1П:2П)", "NG", "TstSmallCount"},
        {"SMLV", "Числа из первой половины диапазона (12..12)", "SN", "TstSmallValues"},
        {"PRIM", "Количество простых чисел (П:С)", "NG", "TstPrimeCount"},
        {"PRMV", "Простые и составные числа (ПС..СП)", "SN", "TstPrimeValues"},
        {"POS3", "Число в 3 позиции тиража", "SNG", "TstPosVal"},
        {"POE2", "Extra (Bonus, Star...) - число (!без фильтра!)", "G", "TstPosExt"},
    };
    for (const TCase &c : cases) {
        const QString code = QString::fromLatin1(c.Code);
        const int i = m_list.FindEntry(code);
        ASSERT_GE(i, 0) << c.Code;
        const TStatClass &cls = *m_list.Items(i).StatClass;
        EXPECT_EQ(cls.Group(), 0) << c.Code;
        EXPECT_STREQ(cls.ClassName(), c.ClassName);
        EXPECT_EQ(m_list.EntryCaption(i), QString::fromUtf8(c.Caption)) << c.Code;
        EXPECT_EQ(FlagLetters(cls.FullFlags()), QString::fromLatin1(c.Flags)) << c.Code;
        EXPECT_EQ(cls.Flags() & sfGraph, 0) << "G comes only from FullFlags";
        EXPECT_EQ(cls.CanPrefetch(), QString::fromLatin1(c.Flags).contains('N')) << c.Code;
        EXPECT_EQ(Stat(code)->InstanceCaption(), m_list.EntryCaption(i));
        EXPECT_EQ(&Stat(code)->Class(), &cls);
    }
    const TStatClass &pos = TstPosVal::StaticClass();
    EXPECT_EQ(pos.CodeFormat(), QStringLiteral("POS%d"));
    EXPECT_EQ(pos.HelpTopic(4), QStringLiteral("POSx"));
    EXPECT_EQ(TstPosExt::StaticClass().HelpTopic(1), QStringLiteral("POSx"));
    EXPECT_EQ(TstValues::StaticClass().HelpTopic(0), QStringLiteral("NUMS"));
}

TEST_F(NumberMethodsTest, HelpUrlNeedsAnExistingHelpFile) {
    QTemporaryDir dir;
    const QString help = dir.filePath(QStringLiteral("Zelvin_RUS.chm"));
    const TStatClass &nums = TstValues::StaticClass();
    EXPECT_EQ(nums.HelpUrl(0, help), QString()) << "missing file";
    EXPECT_EQ(nums.HelpUrl(0, QString()), QString());
    QFile file(help);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    EXPECT_EQ(nums.HelpUrl(0, help),
              QStringLiteral("ms-its:") + help + QStringLiteral("::/Filters_1049_NUMS.htm"));
    EXPECT_EQ(TstPosVal::StaticClass().HelpUrl(5, help),
              QStringLiteral("ms-its:") + help + QStringLiteral("::/Filters_1049_POSx.htm"));
}

TEST_F(NumberMethodsTest, DrawValuesUnsortedAndSorted) {
    struct TCase {
        const char *Code;
        int Draw;
        QStringList Unsorted, Sorted;
    };
    // Draw 1 is 40 11 3 22 23 6 in drawing order.
    const TCase cases[] = {
        {"NUMS", 1, L({"40", "11", "3", "22", "23", "6"}), L({"3", "6", "11", "22", "23", "40"})},
        {"DIGS", 1, L({"4", "0", "1", "3", "2", "6"}), L({"3", "6", "1", "2", "4", "0"})},
        {"EVEN", 1, L({"3:3"}), L({"3:3"})},
        {"EVNV", 1, L({"ЧннЧнЧ (026)"}), L({"нЧнЧнЧ (042)"})},
        {"SMAL", 1, L({"4:2"}), L({"4:2"})},
        {"SMLV", 1, L({"211121 (034)"}), L({"111122 (003)"})},
        {"PRIM", 1, L({"3:3"}), L({"3:3"})},
        {"PRMV", 1, L({"СППСПС (026)"}), L({"ПСПСПС (042)"})},
        {"PRMV", 0, L({"ПСПСПС (042)"}), L({"ПСПСПС (042)"})},
        {"POS1", 1, L({"40"}), L({"3"})},
        {"POS3", 1, L({"3"}), L({"11"})},
        {"POS6", 2, L({"6"}), L({"10"})},
        {"POE1", 1, L({"15"}), L({"15"})},
        {"POE2", 1, L({}), L({})}, // 0: no supplementary number
        {"POE2", 2, L({"12"}), L({"12"})},
        {"PRIM", 2, L({"1:5"}), L({"1:5"})}, // 1 counts as prime
        {"NUMS", 7, L({}), L({})},           // outside the archive: no numbers
    };
    for (const TCase &c : cases) {
        const QString code = QString::fromLatin1(c.Code);
        EXPECT_EQ(DrawTexts(code, c.Draw, false), c.Unsorted) << c.Code << " draw " << c.Draw;
        EXPECT_EQ(DrawTexts(code, c.Draw, true), c.Sorted) << c.Code << " sorted draw " << c.Draw;
    }
}

TEST_F(NumberMethodsTest, DrawValuesFillTheValueRecord) {
    auto stat = Stat(QStringLiteral("NUMS"));
    TStatDrawArray values;
    TStatScratch scratch;
    TLastValueArray last;
    for (int i = 0; i < m_archive.Count(); ++i)
        stat->DrawValues(i, 2, false, values, scratch, last);
    // 6 appears in draws 102 and 103; 9 in 101 and 103.
    const int six = FindValue(values, TStatKey::FromWords(6));
    const int nine = FindValue(values, TStatKey::FromWords(9));
    ASSERT_GE(six, 0);
    ASSERT_GE(nine, 0);
    EXPECT_EQ(values[size_t(six)].Count, 2);
    EXPECT_EQ(values[size_t(six)].Depth, 1);
    EXPECT_EQ(values[size_t(six)].LastDraw, 103);
    EXPECT_EQ(values[size_t(six)].PeriodMin, 1);
    EXPECT_EQ(values[size_t(nine)].PeriodMax, 2);
    int total = 0;
    for (const TStatDraw &v : values)
        total += v.Count;
    EXPECT_EQ(total, 18) << "six values per draw";
}

TEST_F(NumberMethodsTest, DigitOfElevenCountsTwiceWithPeriodZeroUntilReplaced) {
    TDrawsArchive archive;
    archive.Append(test::MakeStatDraw(10, {11, 22, 23, 24, 25, 26}));
    archive.Append(test::MakeStatDraw(15, {31, 32, 33, 34, 35, 36}));
    TStatList list(&archive);
    list.RegisterAll();
    auto digs = list.CreateStat(list.FindEntry(QStringLiteral("DIGS")));
    TStatDrawArray values;
    TStatScratch scratch;
    TLastValueArray last;
    digs->DrawValues(0, 1, false, values, scratch, last);
    const int one = FindValue(values, TStatKey::FromWords(1));
    ASSERT_GE(one, 0);
    EXPECT_EQ(values[size_t(one)].Count, 2);
    EXPECT_EQ(values[size_t(one)].PeriodMin, 0);
    digs->DrawValues(1, 1, false, values, scratch, last);
    EXPECT_EQ(values[size_t(one)].Count, 3);
    EXPECT_EQ(values[size_t(one)].PeriodMin, 5);
    EXPECT_EQ(values[size_t(one)].PeriodMax, 5);
}

TEST_F(NumberMethodsTest, CombinationValues) {
    struct TCase {
        const char *Code;
        TComb Comb;
        QStringList Texts;
    };
    const TComb c = MakeComb({1, 4, 6, 8, 9, 10});
    const TCase cases[] = {
        {"NUMS", c, L({"1", "4", "6", "8", "9", "10"})},
        {"DIGS", c, L({"1", "4", "6", "8", "9", "0"})},
        {"EVEN", c, L({"4:2"})},
        {"EVNV", c, L({"нЧЧЧнЧ (034)"})},
        {"SMAL", c, L({"6:0"})},
        {"SMLV", MakeComb({1, 2, 3, 4, 5, 45}), L({"111112 (001)"})},
        {"PRIM", c, L({"1:5"})},
        {"PRMV", MakeComb({2, 9, 13, 20, 31, 44}), L({"ПСПСПС (042)"})},
        {"POS2", c, L({"4"})},
        {"POS2", MakeComb({9, 3, 1, 2, 4, 5}), L({"3"})}, // the bytes as they stand
        {"POE1", c, L({})},
    };
    for (const TCase &t : cases)
        EXPECT_EQ(CombTexts(QString::fromLatin1(t.Code), t.Comb), t.Texts) << t.Code;

    // Count 1 per value, merged: DIGS of 11 adds the digit 1 once with count 2.
    auto digs = Stat(QStringLiteral("DIGS"));
    TStatDrawArray values;
    digs->CombValues(MakeComb({11, 20, 30, 40, 41, 42}), values);
    EXPECT_EQ(ValueTexts(*digs, values), L({"1", "2", "0", "3", "4"}));
    EXPECT_EQ(values[0].Count, 3);
    EXPECT_EQ(values[2].Count, 3);
}

TEST_F(NumberMethodsTest, ListedValues) {
    struct TCase {
        const char *Code;
        int Count;
        const char *First, *Last;
    };
    const TCase cases[] = {
        {"NUMS", 45, "1", "45"},   {"DIGS", 0, "", ""},
        {"EVEN", 6, "1:5", "6:0"}, {"EVNV", 64, "ЧЧЧЧЧЧ (000)", "нннннн (063)"},
        {"SMAL", 6, "1:5", "6:0"}, {"SMLV", 0, "", ""},
        {"PRIM", 6, "1:5", "6:0"}, {"PRMV", 64, "СССССС (000)", "ПППППП (063)"},
        {"POS4", 45, "1", "45"},   {"POE1", 0, "", ""},
    };
    for (const TCase &c : cases) {
        auto stat = Stat(QString::fromLatin1(c.Code));
        TStatDrawArray values;
        stat->EnumAllValues(2, values);
        ASSERT_EQ(int(values.size()), c.Count) << c.Code;
        for (const TStatDraw &v : values) {
            EXPECT_EQ(v.Count, 0);
            EXPECT_EQ(v.Depth, 0);
        }
        if (c.Count == 0) continue;
        EXPECT_EQ(stat->ValueToText(values.front()), QString::fromUtf8(c.First)) << c.Code;
        EXPECT_EQ(stat->ValueToText(values.back()), QString::fromUtf8(c.Last)) << c.Code;
    }
}

TEST_F(NumberMethodsTest, CountWithoutAnyNumberEntersTheTableWhenItOccurs) {
    TDrawsArchive archive;
    archive.Append(test::MakeStatDraw(1, {1, 3, 5, 7, 9, 11}));
    TStatList list(&archive);
    list.RegisterAll();
    auto even = list.CreateStat(list.FindEntry(QStringLiteral("EVEN")));
    TStatDrawArray values;
    TStatScratch scratch;
    TLastValueArray last;
    even->EnumAllValues(0, values);
    even->DrawValues(0, 0, false, values, scratch, last);
    ASSERT_EQ(values.size(), 7u);
    EXPECT_EQ(even->ValueToText(values.back()), QStringLiteral("0:6"));
    EXPECT_EQ(values.back().Count, 1);
}

TEST_F(NumberMethodsTest, ValueTexts) {
    auto even = Stat(QStringLiteral("EVEN"));
    EXPECT_EQ(even->TextToValue(QStringLiteral("2:4")), 2);
    EXPECT_EQ(even->TextToValue(QStringLiteral("x:4")), 0);
    EXPECT_EQ(even->ParseValue(QStringLiteral("5:1")), 5);
    auto evnv = Stat(QStringLiteral("EVNV"));
    EXPECT_EQ(evnv->TextToValue(QStringLiteral("ЧнЧннЧ (022)")), 22);
    EXPECT_EQ(evnv->TextToValue(QStringLiteral("нн")), 48) << "missing letters are 0 bits";
    TStatDraw zero;
    EXPECT_EQ(evnv->ValueToText(zero), QStringLiteral("ЧЧЧЧЧЧ (000)"));
    auto nums = Stat(QStringLiteral("NUMS"));
    EXPECT_EQ(nums->TextToValue(QStringLiteral(" 17 ")), 17);
    EXPECT_EQ(nums->TextToValue(QStringLiteral("abc")), 0);
}

TEST_F(NumberMethodsTest, GraphValues) {
    struct TCase {
        const char *Code;
        int Draw;
        bool Sorted;
        int Value;
    };
    const TCase cases[] = {
        {"EVEN", 1, false, 3}, {"SMAL", 1, false, 4},  {"PRIM", 2, false, 1}, {"POS3", 1, false, 3},
        {"POS3", 1, true, 11}, {"POE1", 1, false, 15}, {"POE2", 0, true, 29}, {"POS1", 9, false, 0},
    };
    for (const TCase &c : cases) {
        auto stat = Stat(QString::fromLatin1(c.Code));
        auto *graph = dynamic_cast<TCustomGraphStat *>(stat.get());
        ASSERT_NE(graph, nullptr) << c.Code;
        EXPECT_EQ(graph->DrawGraphValue(c.Draw, 2, c.Sorted), c.Value) << c.Code << " draw " << c.Draw;
    }
}

TEST_F(NumberMethodsTest, CombMatchesSelectedAndUnselectedKeys) {
    struct TCase {
        const char *Code;
        TComb Comb;
        QStringList Selected;
        bool Expected;
    };
    const TComb c = MakeComb({1, 4, 6, 8, 9, 10});
    const TCase cases[] = {
        {"NUMS", c, L({"10"}), true},
        {"NUMS", c, L({"11", "45"}), false},
        {"DIGS", c, L({"0"}), true},
        {"DIGS", c, L({"2", "3", "5", "7"}), false},
        {"EVEN", c, L({"3:3", "4:2"}), true},
        {"EVEN", c, L({"3:3"}), false},
        {"EVNV", c, L({"нЧЧЧнЧ (034)"}), true},
        {"EVNV", c, L({"ЧЧЧЧЧЧ (000)"}), false},
        {"SMAL", c, L({"6:0"}), true},
        {"SMLV", MakeComb({1, 2, 3, 4, 5, 45}), L({"111112 (001)"}), true},
        {"SMLV", MakeComb({1, 2, 3, 4, 5, 45}), L({"111111 (000)"}), false},
        {"PRIM", c, L({"1:5"}), true},
        {"PRIM", c, L({"0:6"}), false},
        {"PRMV", MakeComb({2, 9, 13, 20, 31, 44}), L({"ПСПСПС (042)"}), true},
        {"PRMV", MakeComb({2, 9, 13, 20, 31, 44}), L({"СПСПСП (021)"}), false},
        {"POS3", MakeComb({5, 10, 15, 20, 25, 30}), L({"15"}), true},
        {"POS3", MakeComb({5, 10, 15, 20, 25, 30}), L({"20"}), false},
        {"POE1", c, L({"1", "4", "15"}), false},
        {"NUMS", c, L({}), false},
    };
    for (const TCase &t : cases) {
        auto stat = Stat(QString::fromLatin1(t.Code));
        const TStatDrawArray selected = test::SelectedFromTexts(*stat, t.Selected);
        stat->LoadDraws(-1, 2, false);
        for (bool exclude : {false, true})
            EXPECT_EQ(stat->CombMatches(t.Comb, selected, 2, false, exclude), t.Expected)
                << t.Code << " " << t.Selected.join(',').toStdString();
        EXPECT_EQ(stat->MakeMatcher(selected, 2, false, false)->Matches(t.Comb), t.Expected) << t.Code;
    }
}

TEST_F(NumberMethodsTest, SelectedKeyMustMatchInTheMethodsOwnView) {
    // NUMS compares the whole key; POS and the counts only w1; the masks d1.
    TStatDrawArray selected(1);
    selected[0].Key = TStatKey::FromWords(10, 0, 0, 1);
    const TComb c = MakeComb({1, 4, 6, 8, 9, 10});
    EXPECT_FALSE(Stat(QStringLiteral("NUMS"))->CombMatches(c, selected, 2, false, false));
    EXPECT_TRUE(Stat(QStringLiteral("POS6"))->CombMatches(c, selected, 2, false, false));
    selected[0].Key = TStatKey::FromInts(34, 99);
    EXPECT_TRUE(Stat(QStringLiteral("EVNV"))->CombMatches(c, selected, 2, false, false));
}

TEST_F(NumberMethodsTest, NextOccurrence) {
    auto nums = Stat(QStringLiteral("NUMS"));
    TStatDraw v;
    v.Key = TStatKey::FromWords(9);
    EXPECT_EQ(nums->NextOccurrence(v, 0, false, 2), 101);
    EXPECT_EQ(nums->NextOccurrence(v, 1, false, 2), 103);
    v.Key = TStatKey::FromWords(45);
    EXPECT_EQ(nums->NextOccurrence(v, 0, false, 2), -1);
    v.Key = TStatKey::FromWords(9);
    EXPECT_EQ(nums->NextOccurrence(v, 3, false, 2), -1) << "beyond the archive";
    auto pos1 = Stat(QStringLiteral("POS1"));
    v.Key = TStatKey::FromWords(3);
    EXPECT_EQ(pos1->NextOccurrence(v, 0, false, 2), -1);
    EXPECT_EQ(pos1->NextOccurrence(v, 0, true, 2), 102) << "sorted: 3 is the smallest of draw 102";
}

// The fast matchers must answer exactly like CombMatches, for every method
// of the registry, on ordinary and on malformed combinations.
TEST_F(NumberMethodsTest, FastMatcherEqualsCombMatches) {
    std::mt19937 rng(20240611);
    std::uniform_int_distribution<int> number(1, NumberCount);
    std::uniform_int_distribution<int> anyByte(0, 255);
    const auto randomComb = [&](bool malformed) {
        TComb c;
        for (int i = 0; i < CombSize; ++i)
            c[i] = uint8_t(malformed ? anyByte(rng) : number(rng));
        return c;
    };
    for (int entry = 0; entry < m_list.Count(); ++entry) {
        auto stat = m_list.CreateStat(entry);
        for (int round = 0; round < 40; ++round) {
            // Keys the method produces, plus keys it never produces.
            TStatDrawArray selected;
            const int picks = round % 5;
            for (int k = 0; k < picks; ++k)
                stat->CombValues(randomComb(false), selected);
            if (round % 3 == 0) {
                TStatDraw odd;
                odd.Key =
                    TStatKey::FromWords(uint16_t(anyByte(rng)), uint16_t(round % 2), 0, uint16_t(round % 4));
                selected.push_back(odd);
                odd.Key = TStatKey::FromInts(-(round + 1));
                selected.push_back(odd);
            }
            stat->LoadDraws(-1, 2, round % 2 == 0);
            auto matcher = stat->MakeMatcher(selected, 2, round % 2 == 0, round % 4 == 0);
            for (int n = 0; n < 500; ++n) {
                const TComb c = randomComb(n % 10 == 0);
                ASSERT_EQ(matcher->Matches(c),
                          stat->CombMatches(c, selected, 2, round % 2 == 0, round % 4 == 0))
                    << m_list.EntryCode(entry).toStdString() << " " << CombToText(c).toStdString();
            }
        }
        EXPECT_TRUE(stat->MakeMatcher({}, 2, false, false)->IsThreadSafe())
            << m_list.EntryCode(entry).toStdString();
    }
}

TEST_F(NumberMethodsTest, FastKeysCountLikeCombValues) {
    // Counting the keys of CombKeys must give what counting the records of
    // CombValues gives, for proper and for malformed combinations.
    std::mt19937 rng(20261210);
    std::uniform_int_distribution<int> number(1, NumberCount);
    std::uniform_int_distribution<int> anyByte(0, 255);
    int withFastPath = 0;
    for (int entry = 0; entry < m_list.Count(); ++entry) {
        auto stat = m_list.CreateStat(entry);
        TStatKey keys[TCustomStat::MaxCombKeys];
        if (stat->CombKeys(MakeComb({1, 2, 3, 4, 5, 6}), keys) < 0) continue;
        ++withFastPath;
        for (int n = 0; n < 2000; ++n) {
            TComb c;
            for (int i = 0; i < CombSize; ++i)
                c[i] = uint8_t(n % 7 == 0 ? anyByte(rng) : number(rng));
            TStatDrawArray values;
            stat->CombValues(c, values);
            std::map<QByteArray, int> expected, actual;
            for (const TStatDraw &v : values)
                expected[QByteArray(reinterpret_cast<const char *>(v.Key.B), 8)] += v.Count;
            const int count = stat->CombKeys(c, keys);
            ASSERT_LE(count, TCustomStat::MaxCombKeys);
            for (int k = 0; k < count; ++k)
                ++actual[QByteArray(reinterpret_cast<const char *>(keys[k].B), 8)];
            ASSERT_EQ(actual, expected)
                << m_list.EntryCode(entry).toStdString() << " " << CombToText(c).toStdString();
            // A method whose values come from the numbers one by one: the
            // six numbers' keys together.
            if (stat->NumberKeys(1, keys) < 0) continue;
            std::map<QByteArray, int> byNumbers;
            for (int i = 0; i < CombSize; ++i) {
                const int k = stat->NumberKeys(c[i], keys);
                ASSERT_LE(k, TCustomStat::MaxNumberKeys);
                for (int j = 0; j < k; ++j)
                    ++byNumbers[QByteArray(reinterpret_cast<const char *>(keys[j].B), 8)];
            }
            ASSERT_EQ(byNumbers, expected)
                << m_list.EntryCode(entry).toStdString() << " " << CombToText(c).toStdString();
        }
    }
    EXPECT_GT(withFastPath, 0);
}

} // namespace
} // namespace lot
