// The expansion of a script line's filters into variants: counts, order,
// the texts of the parts, the failures of the expansion and the budget that
// stands for memory that cannot be had.

#include "scripts/ScriptVariants.h"
#include "archive/DrawsArchive.h"
#include "core/Errors.h"
#include "filters/FilterText.h"
#include "stats/StatList.h"

#include <gtest/gtest.h>
#include <ostream>

inline void PrintTo(const QString &s, std::ostream *os) {
    *os << '"' << s.toStdString() << '"';
}

namespace lot {
namespace {

class ScriptVariantsTest : public ::testing::Test {
protected:
    void SetUp() override { m_stats.RegisterAll(); }

    QList<TFilterItem> Items(std::initializer_list<const char *> texts) const {
        QList<TFilterItem> items;
        for (const char *t : texts)
            items << TextToFilter(m_stats, QString::fromUtf8(t));
        return items;
    }
    /// The variants' texts in list order.
    QStringList Expand(std::initializer_list<const char *> texts, const TExpandHooks &hooks = {}) {
        TVariantList list;
        ExpandVariants(m_stats, Items(texts), list, hooks);
        QStringList out;
        EXPECT_EQ(list.Remaining(), list.Count());
        while (auto v = list.TakeHead())
            out << FilterRecToText(m_stats, v->Parts);
        EXPECT_EQ(list.Remaining(), 0);
        return out;
    }

    TDrawsArchive m_archive;
    TStatList m_stats{&m_archive};
};

TEST_F(ScriptVariantsTest, TwoFiltersOfThreeAndFourLengthsGiveTwelveFilterOneSlowest) {
    const QStringList v = Expand({"TSD1#NUMS:10,20,30#LNO:#SF:1", "TSD1#EVEN:1-4;1#LNO:#SF:1"});
    ASSERT_EQ(v.size(), 12);
    EXPECT_EQ(v[0], "TSD#NUMS:10#LNO:#SF:1 + TSD#EVEN:1#LNO:#SF:1");
    EXPECT_EQ(v[1], "TSD#NUMS:10#LNO:#SF:1 + TSD#EVEN:2#LNO:#SF:1");
    EXPECT_EQ(v[3], "TSD#NUMS:10#LNO:#SF:1 + TSD#EVEN:4#LNO:#SF:1");
    EXPECT_EQ(v[4], "TSD#NUMS:20#LNO:#SF:1 + TSD#EVEN:1#LNO:#SF:1");
    EXPECT_EQ(v[11], "TSD#NUMS:30#LNO:#SF:1 + TSD#EVEN:4#LNO:#SF:1");
}

TEST_F(ScriptVariantsTest, ASingleValueModeVariesTheValueFasterThanTheLength) {
    const QStringList v = Expand({"TSD1#NUMS:100,200#LMV:1-3;1#SF:1"});
    EXPECT_EQ(v,
              QStringList({"TSD#NUMS:100#LMV:1#SF:1", "TSD#NUMS:100#LMV:2#SF:1", "TSD#NUMS:100#LMV:3#SF:1",
                           "TSD#NUMS:200#LMV:1#SF:1", "TSD#NUMS:200#LMV:2#SF:1", "TSD#NUMS:200#LMV:3#SF:1"}));
}

TEST_F(ScriptVariantsTest, AListModeHoldsTheWholeListInOneVariant) {
    TVariantList list;
    ExpandVariants(m_stats, Items({"TSD1#NUMS:100,200#LDV:1-3;1#SF:1"}), list, {});
    ASSERT_EQ(list.Count(), 2);
    const auto first = list.TakeHead();
    EXPECT_EQ(first->Parts[0].LevelValue, "1,2,3");
    EXPECT_EQ(first->Parts[0].LevelText, "1-3;1");
    EXPECT_EQ(first->Parts[0].SampleLength, 100);
    EXPECT_FALSE(first->Parts[1].Enabled);
    EXPECT_EQ(list.TakeHead()->Parts[0].SampleLength, 200);
}

TEST_F(ScriptVariantsTest, TheWeightListModeExpandsPerValue) {
    const QStringList v = Expand({"TSD1#NUMS:50#WDV:1,2#SF:1"});
    EXPECT_EQ(v, QStringList({"TSD#NUMS:50#WDV:1#SF:1", "TSD#NUMS:50#WDV:2#SF:1"}));
}

TEST_F(ScriptVariantsTest, ModeZeroKeepsItsTypedValue) {
    TVariantList list;
    ExpandVariants(m_stats, Items({"BMF8#SUMS:100#LNO:#ST:3#0.5:-1:1:1:0"}), list, {});
    ASSERT_EQ(list.Count(), 1);
    const TFilterPart p = list.TakeHead()->Parts[0];
    EXPECT_TRUE(p.Enabled && p.BottomUp && p.MultiSelect && p.KeepSelected);
    EXPECT_EQ(p.SortColumn, 8);
    EXPECT_EQ(p.StopMode, smSteps);
    EXPECT_EQ(p.StopValue, 3);
    EXPECT_TRUE(p.OverrideCoefs);
    EXPECT_EQ(double(p.Coefs.Count), 0.5);
}

TEST_F(ScriptVariantsTest, TheCountIsTheProduct) {
    TVariantList list;
    ExpandVariants(m_stats,
                   Items({"TSD1#NUMS:1-5;1#LMV:1,2#SF:1", "TSD1#EVEN:10,20#LDV:1,2,3#SF:1",
                          "TSD1#NUMS:7#CMV:1-3;1#SF:1"}),
                   list, {});
    EXPECT_EQ(list.Count(), 5 * 2 * 2 * 3);
}

TEST_F(ScriptVariantsTest, AnEmptyLengthOrValueListFails) {
    TVariantList list;
    try {
        ExpandVariants(m_stats, Items({"TSD1#NUMS:10#LNO:#SF:1", "TSD1#NUMS:#LNO:#SF:1"}), list, {});
        FAIL() << "no error";
    } catch (const EError &e) {
        EXPECT_EQ(e.Message(), "Некорректное описание фильтра: TSD1#NUMS:#LNO:#SF:1!");
    }
    EXPECT_EQ(list.Count(), 0);
    EXPECT_THROW(ExpandVariants(m_stats, Items({"TSD1#NUMS:10#LMV:#SF:1"}), list, {}), EError);
    EXPECT_THROW(ExpandVariants(m_stats, Items({"TSD1#NUMS:10#LMV:x#SF:1"}), list, {}), EError);
}

TEST_F(ScriptVariantsTest, AnUnregisteredMethodFailsAtTheExpansion) {
    TVariantList list;
    try {
        ExpandVariants(m_stats, Items({"TSD1#ZZZZ:100#LNO:#SF:1"}), list, {});
        FAIL() << "no error";
    } catch (const EError &e) {
        EXPECT_EQ(e.Message(), "Некорректное описание фильтра: TSD1#ZZZZ:100#LNO:#SF:1!");
    }
}

TEST_F(ScriptVariantsTest, ProgressEveryThousandAndStop) {
    QList<int> progress;
    TExpandHooks hooks;
    hooks.Progress = [&](int n) { progress << n; };
    TVariantList list;
    ExpandVariants(m_stats, Items({"TSD1#NUMS:1-50;1#LMV:1-50;1#SF:1"}), list, hooks);
    EXPECT_EQ(list.Count(), 2500);
    EXPECT_EQ(progress, QList<int>({1000, 2000}));

    int checks = 0;
    hooks.IsStopped = [&] { return ++checks > 10; };
    TVariantList stopped;
    ExpandVariants(m_stats, Items({"TSD1#NUMS:1-50;1#LMV:1-50;1#SF:1"}), stopped, hooks);
    EXPECT_LT(stopped.Count(), 11);
}

TEST_F(ScriptVariantsTest, PastTheBudgetTheWalkReportsAndEnds) {
    TVariantList list;
    list.SetBudget(TVariantList::VariantBytes * 100);
    QStringList reasons;
    TExpandHooks hooks;
    hooks.OutOfMemory = [&](const QString &reason) { reasons << reason; };
    ExpandVariants(m_stats, Items({"TSD1#NUMS:1-50;1#LMV:1-50;1#SF:1"}), list, hooks);
    EXPECT_EQ(list.Count(), 100);
    ASSERT_EQ(reasons.size(), 1);
    EXPECT_FALSE(reasons[0].isEmpty());
    list.Clear();
    EXPECT_TRUE(list.IsEmpty());
}

TEST_F(ScriptVariantsTest, NoItemsNoVariants) {
    TVariantList list;
    ExpandVariants(m_stats, {}, list, {});
    EXPECT_TRUE(list.IsEmpty());
}

} // namespace
} // namespace lot
