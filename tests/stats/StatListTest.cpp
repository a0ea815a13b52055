#include "core/Errors.h"
#include "stats/CustomStatBases.h"
#include "StatsTestUtil.h"

#include <gtest/gtest.h>

namespace lot {
namespace {

// Stand-ins for the families of later groups, to exercise registration.
class TTestStat : public TCustomNumbersStat {
public:
    using TCustomNumbersStat::TCustomNumbersStat;
    static uint8_t Flags() { return sfPrefetch; }
    bool CombMatches(const TComb &, const TStatDrawArray &, int, bool, bool) override { return false; }
};

class TTestEmptyRange : public TTestStat {
    LOT_STAT_CLASS(TTestEmptyRange)
public:
    using TTestStat::TTestStat;
    static QString CodeFormat() { return QStringLiteral("EMP%d"); }
    static QString CaptionFormat() { return QStringLiteral("Пусто %0:d"); }
    static uint8_t Group() { return 3; }
    static bool HasParamRange() { return true; }
    // Depends on the game settings, like the per-column methods.
    static TParamRange GetParamRange(const TStatList &list) { return {list.MatrixCols(), 2}; }
};

class TTestDisabled : public TTestStat {
    LOT_STAT_CLASS(TTestDisabled)
public:
    using TTestStat::TTestStat;
    static QString CodeFormat() { return QStringLiteral("DISA"); }
    static QString CaptionFormat() { return QStringLiteral("Выключен"); }
    static uint8_t Group() { return 1; }
    static bool Enabled() { return false; }
};

class TTestHidden : public TTestStat {
    LOT_STAT_CLASS(TTestHidden)
public:
    using TTestStat::TTestStat;
    static QString CodeFormat() { return QStringLiteral("HIDE"); }
    static QString CaptionFormat() { return QStringLiteral("Скрытый"); }
    static uint8_t Group() { return 2; }
    static bool ShowInStatistics() { return false; }
};

class TTestShredding : public TTestStat {
    LOT_STAT_CLASS(TTestShredding)
public:
    using TTestStat::TTestStat;
    static QString CodeFormat() { return QStringLiteral("SHR%d"); }
    static QString CaptionFormat() { return QStringLiteral("Метод шинковки %0:d: %%s"); }
    static uint8_t Group() { return 12; }
    static uint8_t Flags() { return sfOrdered | sfPrefetch; }
    static bool HasParamRange() { return true; }
    static TParamRange GetParamRange(const TStatList &) { return {1, 3}; }
};

QStringList Codes(const TStatList &list) {
    QStringList codes;
    for (int i = 0; i < list.Count(); ++i)
        codes << list.EntryCode(i);
    return codes;
}

TEST(StatListTest, RegistersTheFixedClassListInOrder) {
    TStatList list;
    list.RegisterAll();
    // The default game settings: 9 channels of 5, a matrix of 5 columns and 9 rows.
    EXPECT_EQ(Codes(list).join(','),
              QStringLiteral("NUMS,DIGS,EVEN,EVNV,SMAL,SMLV,PRIM,PRMV,"
                             "SUMS,SUM1,SUM2,SUM3,SUMC,SUMV,SUMT,SUME,SUMP,S2T3,"
                             "DIFA,DIFM,DIFD,DIFO,DIFK,CHAN,CHNV,CHNC,"
                             "COLS,ROWS,COLV,ROWV,COLN,ROWN,COLM,ROWM,COLA,ROWA,COLC,ROWC,"
                             "SGMS,SGMV,SGMC,SEQL,SEQS,LENS,"
                             "RPV2,RPV3,PRL2,PRV2O1,PRV2O2,PRV2O3,PRV+1,PRV-1,PRV+2,PRV-2,"
                             "RPC2,RPC3,PRB2,RPO1,PRC2O2,PRC2O3,PRC+1,PRC-1,PRC+2,PRC-2,"
                             "KNM2,KNM3,KNM4,KNS2,KNS3,KNS4,KNP21,KNP22,KNP23,KNP24,KNP25,"
                             "KNP31,KNP32,KNP33,KNP34,KNP41,KNP42,KNP43,"
                             "KDS2,KDS3,KDS4,KCM2,KCM3,KCM4,KCS2,KCS3,KCS4,"
                             "KFM2,KFM3,KFM4,KFS2,KFS3,KFS4,KRM2,KRM3,KRM4,KRS2,KRS3,KRS4,"
                             "KGM2,KGM3,KGM4,KGS2,KGS3,KGS4,"
                             "POS1,POS2,POS3,POS4,POS5,POS6,POE1,POE2,"
                             "CHN1,CHN2,CHN3,CHN4,CHN5,CHN6,CHN7,CHN8,CHN9,COL1,COL2,COL3,COL4,COL5,"
                             "ROW1,ROW2,ROW3,ROW4,ROW5,ROW6,ROW7,ROW8,ROW9,SGM1,"
                             "GRPV,GRPP,GRCV,GRCP,GRSV,GRSP,PRDV,PRDC,PRDG,"
                             "SDV2,SDP2,SDN1,SDN2,SDN3,SDN4,SDN5,SDN6,SDP3,SDM1,SDM2,SDM3,SDM4,SDM5,SDM6,"
                             "SCV2,SCP2,SCN1,SCN2,SCN3,SCN4,SCN5,SCN6,SCP3,SCM1,SCM2,SCM3,SCM4,SCM5,SCM6,"
                             "SC2C1,SC2C2,SC2C3,SC2C4,SC2C5,SC2C6,SC2C7,SC2C8,SC2C9,"
                             "SC3C1,SC3C2,SC3C3,SC3C4,SC3C5,SC3C6,SC3C7,SC3C8,SC3C9,SDA2,SDG2,SDZ2,SDC2,"
                             "SSV2,SSP2,SSN1,SSN2,SSN3,SSN4,SSN5,SSN6,SSP3,SSM1,SSM2,SSM3,SSM4,SSM5,SSM6,"
                             "SS2C1,SS3C1,"
                             "HCO1,HCO2,HCO3,"
                             "SHR1,SHR2,SHR3"));
    for (int i = 0; i < list.Count(); ++i) {
        EXPECT_TRUE(list.Items(i).Selected);
        EXPECT_TRUE(list.Items(i).CustomCaption.isEmpty());
        EXPECT_TRUE(list.IsEnabled(i));
    }
    EXPECT_EQ(list.Items(111).Param, 3);
    EXPECT_EQ(list.FindEntry(QStringLiteral("pos3")), 111);
    EXPECT_EQ(list.FindEntry(QStringLiteral("prv-2")), 53);
    EXPECT_EQ(list.FindEntry(QStringLiteral("NONE")), -1);
    EXPECT_EQ(list.IndexOf(&list.Items(4)), 4);
    EXPECT_THROW(list.Items(list.Count()), EError);
    EXPECT_THROW(list.CreateStat(-1), EError);
}

TEST(StatListTest, RegistrationResetsOptionsAndSkipsDisabledAndEmptyRanges) {
    TStatList list;
    TConfigData config;
    config.MatrixCols = 3; // range 3..2: empty
    list.SetConfig(config);
    list.SetOrdered(true);
    list.SetShowGroupName(false);
    list.ApplyFavorites(QStringLiteral("HIDE"));
    const std::vector<const TStatClass *> classes = {
        &TTestEmptyRange::StaticClass(), &TTestDisabled::StaticClass(), &TTestHidden::StaticClass()};
    list.RegisterClasses(classes);
    EXPECT_EQ(Codes(list), QStringList{QStringLiteral("HIDE")});
    EXPECT_FALSE(list.Ordered());
    EXPECT_TRUE(list.ShowGroupName());
    EXPECT_TRUE(list.ShowMethodFlags());
    EXPECT_TRUE(list.AllSelected());

    config.MatrixCols = 1;
    list.SetConfig(config);
    list.RegisterClasses(classes);
    EXPECT_EQ(Codes(list).join(','), QStringLiteral("EMP1,EMP2,HIDE"));
}

TEST(StatListTest, DisplayCaptions) {
    TStatList list;
    list.RegisterAll();
    const int nums = list.FindEntry(QStringLiteral("NUMS"));
    const int pos2 = list.FindEntry(QStringLiteral("POS2"));
    const int poe1 = list.FindEntry(QStringLiteral("POE1"));
    EXPECT_EQ(list.DisplayCaption(nums, true), QStringLiteral("{ num } Числа тиража [ N ]"));
    EXPECT_EQ(list.DisplayCaption(pos2, true), QStringLiteral("{ num } Число в 2 позиции тиража [ SNG ]"));
    EXPECT_EQ(list.DisplayCaption(poe1, true),
              QStringLiteral("{ num } Extra (Bonus, Star...) - число (!без фильтра!) [ G ]"));
    EXPECT_EQ(list.DisplayCaption(nums, false), QStringLiteral("{ num } Числа тиража"));
    list.SetShowGroupName(false);
    EXPECT_EQ(list.DisplayCaption(nums, true), QStringLiteral("Числа тиража [ N ]"));
    list.SetShowMethodFlags(false);
    EXPECT_EQ(list.DisplayCaption(nums, true), QStringLiteral("Числа тиража"));
    list.Items(nums).CustomCaption = QStringLiteral("Мои числа 100%");
    EXPECT_EQ(list.DisplayCaption(nums, true), QStringLiteral("Мои числа 100%"));
}

TEST(StatListTest, ShreddingEntriesTakeTheirFormula) {
    TStatList list;
    TShreddingData shredding;
    shredding.Formula2 = QStringLiteral("n1*n2");
    list.SetShredding(shredding);
    list.RegisterClasses({&TTestShredding::StaticClass()});
    ASSERT_EQ(list.Count(), 3);
    EXPECT_EQ(list.Items(0).Formula, QStringLiteral("(n1+n2+n3)/(n4+n5+n6)"));
    EXPECT_EQ(list.EntryCaption(0), QStringLiteral("Метод шинковки 1: (n1+n2+n3)/(n4+n5+n6)"));
    EXPECT_EQ(list.EntryCaption(1), QStringLiteral("Метод шинковки 2: n1*n2"));
    EXPECT_EQ(list.DisplayCaption(1, true), QStringLiteral("{ shr } Метод шинковки 2: n1*n2 [ SN ]"));
    list.Items(2).CustomCaption = QStringLiteral("Моя формула: %s");
    EXPECT_EQ(list.EntryCaption(2), QStringLiteral("Моя формула: (n1+n3+n5)/(n2+n4+n6)"));
    // A caption with a stray placeholder stays as typed instead of failing.
    list.Items(2).CustomCaption = QStringLiteral("Формула %d %s");
    EXPECT_EQ(list.EntryCaption(2), QStringLiteral("Формула %d %s"));
}

TEST(StatListTest, FavouritesText) {
    TStatList list;
    list.RegisterAll();
    struct TCase {
        const char *Text;
        const char *Selected; // codes of the selected entries
        bool All;
    };
    const TCase cases[] = {
        {"NUMS,pos2", "NUMS,POS2", false},
        {"nums, POS2", "NUMS", false}, // the second word keeps its blank
        {"pos2,NUMS,XXXX", "NUMS,POS2", false},
        {"  ", "", true},
        {"", "", true},
        {"XXXX", "", false},
    };
    for (const TCase &c : cases) {
        list.ApplyFavorites(QString::fromLatin1(c.Text));
        EXPECT_EQ(list.AllSelected(), c.All) << c.Text;
        EXPECT_EQ(list.FavoritesText(), QString::fromLatin1(c.Selected)) << c.Text;
        QStringList listed;
        for (int i = 0; i < list.Count(); ++i)
            if (!c.All && list.IsListed(i)) listed << list.EntryCode(i);
        EXPECT_EQ(listed.join(','), QString::fromLatin1(c.Selected)) << c.Text;
    }
}

TEST(StatListTest, NormalizeSelection) {
    TStatList list;
    list.RegisterAll();
    list.ApplyFavorites(QStringLiteral("XXXX")); // nothing selected
    list.NormalizeSelection();
    EXPECT_TRUE(list.AllSelected());
    for (int i = 0; i < list.Count(); ++i)
        EXPECT_TRUE(list.Items(i).Selected);

    list.Items(3).Selected = false;
    list.NormalizeSelection();
    EXPECT_FALSE(list.AllSelected());
    EXPECT_EQ(list.FavoritesText().split(',').size(), list.Count() - 1);

    list.Items(3).Selected = true;
    list.NormalizeSelection();
    EXPECT_TRUE(list.AllSelected());
    EXPECT_EQ(list.FavoritesText(), QString()) << "all marked is stored as no restriction";
}

TEST(StatListTest, SelectorItems) {
    TStatList list;
    list.RegisterClasses({&TTestHidden::StaticClass()});
    EXPECT_TRUE(list.SelectorItems().Statistics.isEmpty()) << "not shown in statistics";

    list.RegisterAll();
    list.ApplyFavorites(QStringLiteral("PRIM,NUMS,POS1,POE1"));
    TStatSelectors s = list.SelectorItems();
    EXPECT_FALSE(s.Sorted);
    QStringList stats, graphs;
    for (const TSelectorItem &item : s.Statistics)
        stats << list.EntryCode(item.Entry);
    for (const TSelectorItem &item : s.Graphs)
        graphs << list.EntryCode(item.Entry);
    EXPECT_EQ(stats.join(','), QStringLiteral("NUMS,PRIM,POS1,POE1"));
    EXPECT_EQ(graphs.join(','), QStringLiteral("PRIM,POS1,POE1"));
    EXPECT_EQ(s.Statistics[0].Caption, QStringLiteral("{ num } Числа тиража [ N ]"));

    list.SetOrdered(true);
    list.SetShowGroupName(false);
    s = list.SelectorItems();
    EXPECT_TRUE(s.Sorted);
    stats.clear();
    for (const TSelectorItem &item : s.Statistics)
        stats << list.EntryCode(item.Entry);
    // "Extra ..." (Latin) sorts before Cyrillic; "Количество..." < "Числа" < "Число".
    EXPECT_EQ(stats.join(','), QStringLiteral("POE1,PRIM,NUMS,POS1"));

    EXPECT_EQ(TStatList::SelectorIndexAfterRefill(3, true, 5), 3);
    EXPECT_EQ(TStatList::SelectorIndexAfterRefill(3, false, 5), 0);
    EXPECT_EQ(TStatList::SelectorIndexAfterRefill(7, true, 5), -1);
    EXPECT_EQ(TStatList::SelectorIndexAfterRefill(3, false, 0), -1);
    EXPECT_EQ(TStatList::SelectorIndexAfterRefill(-1, true, 5), -1);
}

TEST(StatListTest, StatForComboNeedsASelection) {
    TStatList list;
    list.RegisterAll();
    try {
        list.StatForCombo(-1, QStringLiteral("cbDrawsStat"));
        FAIL() << "no error";
    } catch (const EError &e) {
        EXPECT_EQ(e.Message(), QStringLiteral("Не выбран метод расчета статистики (cb: cbDrawsStat)!"));
    }
    auto stat = list.StatForCombo(109, QStringLiteral("cbDrawsStat"));
    EXPECT_EQ(stat->Param(), 1);
    EXPECT_EQ(stat->InstanceCaption(), QStringLiteral("Число в 1 позиции тиража"));
}

TEST(StatListTest, StakeProfit) {
    TStatList list;
    TConfigData config;
    config.Cost = TMoney::FromUnits(15000); // 1.5
    config.Profits = {{2, TMoney::FromUnits(0)}, {3, TMoney::FromUnits(100000)}, {3, TMoney::FromUnits(999)}};
    list.SetConfig(config);
    struct TCase {
        int N, Overlaps;
        int64_t Units;
    };
    const TCase cases[] = {
        {8, 3, -320000}, // 10 - 28 x 1.5; the first row for 3 overlaps
        {6, -1, -15000}, // the cost of one ticket
        {7, 5, -105000}, // no prize row: 7 tickets
        {3, 3, 85000},   // fewer than six numbers: one ticket
        {6, 2, -15000},  // a prize of 0
        {45, -1, -15000 * Binomial(45, 6)},
        {99, -1, -15000 * Binomial(45, 6)}, // bounded to the game's numbers
    };
    for (const TCase &c : cases)
        EXPECT_EQ(list.StakeProfit(c.N, c.Overlaps).Units, c.Units) << c.N << "/" << c.Overlaps;

    config.Cost = TMoney::FromUnits(INT64_MAX / 2);
    list.SetConfig(config);
    EXPECT_EQ(list.StakeProfit(45, -1).Units, -INT64_MAX) << "saturates instead of wrapping";
}

TEST(StatListTest, WeightCoefficientOverride) {
    TStatList list;
    TWeightCoefs own;
    own.Count = 2;
    own.UsePercents = true;
    const TWeightCoefs defaults = list.WeightCoefs();
    EXPECT_EQ(defaults.Deviation, -1);
    EXPECT_EQ(defaults.Level, 1);

    list.PushWeightCoefs();
    list.ApplyWeightCoefs(true, own);
    EXPECT_EQ(list.WeightCoefs(), own);
    list.ApplyWeightCoefs(false, own);
    EXPECT_EQ(list.WeightCoefs(), defaults);
    list.ApplyWeightCoefs(true, own);
    list.PopWeightCoefs();
    EXPECT_EQ(list.WeightCoefs(), defaults);
}

TEST(StatListTest, ChangedPrefetchGroups) {
    TConfigData a;
    TConfigData b = a;
    EXPECT_TRUE(ChangedPrefetchGroups(a, b).isEmpty());
    b.Cost = TMoney::FromUnits(1);
    EXPECT_TRUE(ChangedPrefetchGroups(a, b).isEmpty());
    b.MatrixCols = 9;
    b.ChannelSize = 7;
    b.MatrixSegments[44] = 2;
    EXPECT_EQ(ChangedPrefetchGroups(a, b), (QList<int>{4, 3, 5}));
}

} // namespace
} // namespace lot
