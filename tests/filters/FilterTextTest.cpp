#include "filters/FilterText.h"
#include "FiltersTestUtil.h"

#include <gtest/gtest.h>

#include <QLocale>
#include <QThread>

namespace lot {
namespace {

class FilterTextTest : public ::testing::Test {
protected:
    void SetUp() override { stats.RegisterAll(); }
    TFilterItem Read(const QString &text) const { return TextToFilter(stats, text); }
    QString Write(const TFilterItem &item) const { return FilterToText(stats, item); }

    TDrawsArchive archive;
    TStatList stats{&archive};
};

TEST_F(FilterTextTest, EmptyTextIsDisabledAllZeroItem) {
    const TFilterItem item = Read(QString());
    EXPECT_EQ(item, TFilterItem{});
    EXPECT_FALSE(item.Enabled);
    EXPECT_EQ(item.Method, -1);
    EXPECT_EQ(item.Coefs, ZeroWeightCoefs);
    EXPECT_EQ(Write(item), QString());
    // Only Enabled decides: a disabled item with stray fields still writes nothing.
    TFilterItem stray;
    stray.SampleLengths = QStringLiteral("100");
    EXPECT_EQ(Write(stray), QString());
}

TEST_F(FilterTextTest, ReadsEveryWord) {
    const TFilterItem item = Read(QStringLiteral("BMF8#nums:100-500;100#wmv:10#st:3#0.5:-1:1:1:0"));
    EXPECT_TRUE(item.Enabled);
    EXPECT_TRUE(item.BottomUp);
    EXPECT_TRUE(item.MultiSelect);
    EXPECT_TRUE(item.KeepSelected);
    EXPECT_EQ(item.SortColumn, 8);
    EXPECT_EQ(item.Method, stats.FindEntry(QStringLiteral("NUMS")));
    EXPECT_EQ(item.MethodText, QStringLiteral("nums:100-500;100"));
    EXPECT_EQ(item.SampleLengths, QStringLiteral("100-500;100"));
    EXPECT_EQ(item.LevelMode, lmWeightMin);
    EXPECT_EQ(item.LevelValues, QStringLiteral("10"));
    EXPECT_EQ(item.StopMode, smSteps);
    EXPECT_EQ(item.StopValue, 3);
    EXPECT_TRUE(item.OverrideCoefs);
    EXPECT_EQ(double(item.Coefs.Count), 0.5);
    EXPECT_EQ(double(item.Coefs.Deviation), -1.0);
    EXPECT_EQ(double(item.Coefs.Level), 1.0);
    EXPECT_TRUE(item.Coefs.UsePercents);
    EXPECT_FALSE(item.Coefs.UseAbsValues);
    // Codes are written in their registered spelling.
    EXPECT_EQ(Write(item), QStringLiteral("BMF8#NUMS:100-500;100#WMV:10#ST:3#0.5:-1:1:1:0"));
}

TEST_F(FilterTextTest, RoundTrips) {
    const QString texts[] = {
        QStringLiteral("TSD1#NUMS:1000#LNO:#SF:1"),
        QStringLiteral("TSD12#POS3:50,100#LDV:1,2,3#SC:1000"),
        QStringLiteral("BSF0#PRMV:1-10;2#LVA:1,2,3#SP:5"),
        QStringLiteral("TMF3#EVEN:200#PXR:4#SV:-7#0.125:-2.5:3:0:1"),
        // A method of another edition survives a read and a write unchanged.
        QStringLiteral("TSD1#ZZQX7:some;thing#CMV:5#ST:2"),
    };
    for (const QString &text : texts) {
        SCOPED_TRACE(text.toStdString());
        const TFilterItem item = Read(text);
        EXPECT_EQ(Write(item), text);
        EXPECT_EQ(Read(Write(item)), item);
    }
}

TEST_F(FilterTextTest, UnregisteredMethodKeepsItsWordOnly) {
    const TFilterItem item = Read(QStringLiteral("TSD1#xYz9:1,2#LNO:#SF:1"));
    EXPECT_EQ(item.Method, -1);
    EXPECT_EQ(item.MethodText, QStringLiteral("xYz9:1,2"));
    EXPECT_EQ(item.SampleLengths, QString());
    EXPECT_EQ(Write(item), QStringLiteral("TSD1#xYz9:1,2#LNO:#SF:1"));
}

TEST_F(FilterTextTest, FirstWordFlagsAndSortColumn) {
    struct TCase {
        const char *Word;
        bool BottomUp, Multi, Keep;
        int Sort;
    };
    const TCase cases[] = {
        {"TSD12", false, false, false, 12},      {"TSD", false, false, false, 1}, // three letters: column 1
        {"TSDx", false, false, false, 1},                                         // not a number: column 1
        {"tsd1", false, false, false, 1},        // lower-case letters are not flags
        {"FMB4", true, true, true, 4},           // flags in any order; the number follows the first three
        {"TSDB", true, false, false, 1},         // a flag after the three letters counts too
        {"BMF99999999999", true, true, true, 1}, // beyond an integer: column 1
    };
    for (const TCase &c : cases) {
        SCOPED_TRACE(c.Word);
        const TFilterItem item = Read(QString::fromLatin1(c.Word) + QStringLiteral("#NUMS:10"));
        EXPECT_EQ(item.BottomUp, c.BottomUp);
        EXPECT_EQ(item.MultiSelect, c.Multi);
        EXPECT_EQ(item.KeepSelected, c.Keep);
        EXPECT_EQ(item.SortColumn, c.Sort);
    }
}

TEST_F(FilterTextTest, SeparatorRunsCountAsOne) {
    const TFilterItem item = Read(QStringLiteral("##TSD1##NUMS::10##LDV:::4,5#"));
    EXPECT_EQ(item.Method, stats.FindEntry(QStringLiteral("NUMS")));
    EXPECT_EQ(item.SampleLengths, QStringLiteral("10"));
    EXPECT_EQ(item.LevelMode, lmDepthList);
    EXPECT_EQ(item.LevelValues, QStringLiteral("4,5"));
    EXPECT_EQ(SplitFilterWords(QStringLiteral("::a::b:"), QLatin1Char(':')),
              (QStringList{QStringLiteral("a"), QStringLiteral("b")}));
    EXPECT_TRUE(SplitFilterWords(QStringLiteral("###"), QLatin1Char('#')).isEmpty());
}

TEST_F(FilterTextTest, MissingAndUnknownWordsFallBack) {
    // Words 3 and 4 missing.
    TFilterItem item = Read(QStringLiteral("TSD1#NUMS:10"));
    EXPECT_EQ(item.LevelMode, 0);
    EXPECT_EQ(item.StopMode, 0);
    EXPECT_EQ(item.StopValue, 0);
    EXPECT_FALSE(item.OverrideCoefs);
    // Unknown mode and stop codes.
    item = Read(QStringLiteral("TSD1#NUMS:10#QQQ:5#XX:7"));
    EXPECT_EQ(item.LevelMode, 0);
    EXPECT_EQ(item.LevelValues, QString());
    EXPECT_EQ(item.StopMode, 0);
    EXPECT_EQ(item.StopValue, 0);
    // A stop value that is not an integer reads as 1.
    item = Read(QStringLiteral("TSD1#NUMS:10#LNO:#ST:x"));
    EXPECT_EQ(item.StopMode, smSteps);
    EXPECT_EQ(item.StopValue, 1);
    item = Read(QStringLiteral("TSD1#NUMS:10#LNO:#ST"));
    EXPECT_EQ(item.StopValue, 1);
    // Values are trimmed.
    item = Read(QStringLiteral("TSD1#NUMS: 10 #CDV: 1,2 #SV: 4 "));
    EXPECT_EQ(item.SampleLengths, QStringLiteral("10"));
    EXPECT_EQ(item.LevelValues, QStringLiteral("1,2"));
    EXPECT_EQ(item.StopValue, 4);
}

TEST_F(FilterTextTest, CodesMatchAsPrefixesInTableOrder) {
    // The first code that is a prefix wins: "LNOX" is LNO, "SFZ" is SF.
    TFilterItem item = Read(QStringLiteral("TSD1#NUMS:10#lnox:3#sfz:2"));
    EXPECT_EQ(item.LevelMode, 0);
    EXPECT_EQ(item.LevelValues, QStringLiteral("3"));
    EXPECT_EQ(item.StopMode, smFull);
    EXPECT_EQ(item.StopValue, 2);
    for (int mode = 0; mode < LevelModeCount; ++mode) {
        item = Read(QStringLiteral("TSD1#NUMS:10#") + LevelModeCode(mode) + QStringLiteral(":7"));
        EXPECT_EQ(item.LevelMode, mode) << mode;
    }
    for (int stop = 0; stop < StopModeCount; ++stop) {
        item = Read(QStringLiteral("TSD1#NUMS:10#LNO:#") + StopModeCode(stop) + QStringLiteral(":7"));
        EXPECT_EQ(item.StopMode, stop) << stop;
        EXPECT_EQ(item.StopValue, 7);
    }
}

TEST_F(FilterTextTest, CoefficientsReadLenientlyAndWriteWithPoint) {
    struct TCase {
        const char *Word;
        double Count, Deviation, Level;
        bool Percents, Abs;
    };
    const TCase cases[] = {
        {"0,5:-1:1:1:0", 0.5, -1, 1, true, false},     // comma as decimal separator
        {"1a.2b5:x:--3:0:1", 1.25, 0, 0, false, true}, // stray characters dropped; "--3" is no number
        {"7", 7, 0, 0, false, false},                  // missing sub-words read as 0 / off
        {"1.2.3:2:3:yes:1", 0, 2, 3, false, true},     // two separators: no number
        {"1e5:0:0:0:0", 15, 0, 0, false, false},       // no exponents: "e" is dropped
    };
    for (const TCase &c : cases) {
        SCOPED_TRACE(c.Word);
        const TFilterItem item =
            Read(QStringLiteral("TSD1#NUMS:10#WMV:1#SF:1#") + QString::fromLatin1(c.Word));
        EXPECT_TRUE(item.OverrideCoefs);
        EXPECT_EQ(double(item.Coefs.Count), c.Count);
        EXPECT_EQ(double(item.Coefs.Deviation), c.Deviation);
        EXPECT_EQ(double(item.Coefs.Level), c.Level);
        EXPECT_EQ(item.Coefs.UsePercents, c.Percents);
        EXPECT_EQ(item.Coefs.UseAbsValues, c.Abs);
    }
}

TEST_F(FilterTextTest, CoefficientsWriteTheSameWhateverTheLocale) {
    const QLocale saved;
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    TFilterItem item = Read(QStringLiteral("TSD1#NUMS:10#WMV:1#SF:1#0,5:-1:1:1:0"));
    EXPECT_EQ(Write(item), QStringLiteral("TSD1#NUMS:10#WMV:1#SF:1#0.5:-1:1:1:0"));
    // Values that a general format would write with an exponent read back exactly.
    item.Coefs.Count = 1e-7;
    item.Coefs.Deviation = 123456789012.5;
    item.Coefs.Level = -0.1;
    EXPECT_EQ(Read(Write(item)).Coefs, item.Coefs);
    QLocale::setDefault(saved);
}

TEST_F(FilterTextTest, PartAndRecordTexts) {
    TFilterPart part;
    part.Enabled = true;
    part.Method = stats.FindEntry(QStringLiteral("POS2"));
    part.SampleLength = 300;
    part.SortColumn = 6;
    part.BottomUp = true;
    part.KeepSelected = true;
    part.LevelMode = lmDepthList;
    part.LevelValue = QStringLiteral("1,2,3");
    part.LevelText = QStringLiteral("1-3;1");
    part.StopMode = smSteps;
    part.StopValue = 2;
    EXPECT_EQ(PartToText(stats, part), QStringLiteral("BSF#POS2:300#LDV:1-3;1#ST:2"));
    part.OverrideCoefs = true;
    part.Coefs = TWeightCoefs{1, -1, 0.25, false, true};
    EXPECT_EQ(PartToText(stats, part), QStringLiteral("BSF#POS2:300#LDV:1-3;1#ST:2#1:-1:0.25:0:1"));

    TFilterRec rec;
    EXPECT_EQ(FilterRecToText(stats, rec), QString());
    rec[0] = part;
    rec[0].OverrideCoefs = false;
    rec[2] = part;
    rec[2].Method = stats.FindEntry(QStringLiteral("NUMS"));
    rec[2].MultiSelect = true;
    rec[2].OverrideCoefs = false;
    rec[2].LevelMode = lmNone;
    rec[2].LevelText = QString();
    EXPECT_EQ(FilterRecToText(stats, rec),
              QStringLiteral("BSF#POS2:300#LDV:1-3;1#ST:2 + BMF#NUMS:300#LNO:#ST:2"));
}

TEST(FilterTables, CodesAndCaptions) {
    EXPECT_EQ(LevelModeCode(0), QStringLiteral("LNO"));
    EXPECT_EQ(LevelModeCode(31), QStringLiteral("LVA"));
    EXPECT_EQ(LevelModeCaption(0), QStringLiteral("Весь список (без условий)"));
    EXPECT_EQ(LevelModeCaption(25), QStringLiteral("\"Период\": не менее заданного значения"));
    EXPECT_EQ(LevelModeCaption(31), QStringLiteral("\"Значения\": из заданного списка значений"));
    EXPECT_EQ(StopModeCaption(2), QStringLiteral("Пока список не будет пуст и откатить на шаг"));
    EXPECT_EQ(StopModeCode(5), QStringLiteral("SP"));
    for (int bad : {-1, 32, 1000})
        EXPECT_EQ(LevelModeCaption(bad), QStringLiteral("# ERROR #"));
    for (int bad : {-1, 6})
        EXPECT_EQ(StopModeCaption(bad), QStringLiteral("# ERROR #"));
    // Every code is distinct and none is a prefix of a later one, so the
    // prefix search of the reader finds each mode by its own code.
    for (int i = 0; i < LevelModeCount; ++i)
        for (int j = i + 1; j < LevelModeCount; ++j)
            EXPECT_FALSE(LevelModeCode(j).startsWith(LevelModeCode(i))) << i << " " << j;

    QList<int> listModes;
    for (int m = 0; m < LevelModeCount; ++m)
        if (IsListLevelMode(m)) listModes << m;
    EXPECT_EQ(listModes, (QList<int>{5, 6, 11, 12, 17, 18, 31}));
    EXPECT_TRUE(IsWeightLevelMode(19) && IsWeightLevelMode(21));
    EXPECT_FALSE(IsWeightLevelMode(18) || IsWeightLevelMode(22));
}

TEST(FilterVarTest, LongChainsAreFreedWithoutRecursion) {
    // On a 64 KB stack a destructor recursing once per variant would overflow
    // long before the end of the chain.
    std::unique_ptr<TFilterVar> head = std::make_unique<TFilterVar>();
    TFilterVar *tail = head.get();
    for (int i = 0; i < 20000; ++i) {
        tail->Next = std::make_unique<TFilterVar>();
        tail = tail->Next.get();
    }
    QThread *thread = QThread::create([&head] { head.reset(); });
    thread->setStackSize(64 * 1024);
    thread->start();
    ASSERT_TRUE(thread->wait());
    delete thread;
    EXPECT_EQ(head, nullptr);
}

} // namespace
} // namespace lot
