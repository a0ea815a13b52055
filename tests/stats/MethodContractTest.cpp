// What every registered method must keep, whatever its family: the derived
// operations with the fast paths switched off answer exactly like those with
// them on, and both like the plain definitions (CombMatches, CombValues).

#include "StatsTestUtil.h"

#include "stats/KeyCounter.h"
#include "stats/PrefetchFiles.h"

#include <gtest/gtest.h>

#include <map>
#include <random>

namespace lot {
namespace {

class MethodContract : public ::testing::Test {
protected:
    void SetUp() override {
        test::FillSampleArchive(m_archive);
        m_list.RegisterAll();
    }

    TComb RandomComb(bool malformed) {
        TComb c;
        for (int i = 0; i < CombSize; ++i)
            c[i] = uint8_t(malformed ? m_anyByte(m_rng) : m_number(m_rng));
        return c;
    }

    /// The counts of CountCombKeys over combs, by key bytes.
    static std::map<uint64_t, int64_t> Counted(TCustomStat &stat, const std::vector<TComb> &combs) {
        TKeyCounter counter;
        stat.CountCombKeys(combs.data(), int(combs.size()), counter);
        std::map<uint64_t, int64_t> counts;
        for (const TPrefetchRec &r : counter.ToTable().Records)
            counts[r.Key.Bits()] = r.Count;
        return counts;
    }

    std::mt19937 m_rng{20261210};
    std::uniform_int_distribution<int> m_number{1, NumberCount};
    std::uniform_int_distribution<int> m_anyByte{0, 255};
    TDrawsArchive m_archive;
    TStatList m_list{&m_archive};
};

TEST_F(MethodContract, DerivedMatcherEqualsCombMatches) {
    for (int entry = 0; entry < m_list.Count(); ++entry) {
        const std::string code = m_list.EntryCode(entry).toStdString();
        auto stat = m_list.CreateStat(entry);
        for (int round = 0; round < 24; ++round) {
            // Keys the method produces, plus keys it never produces.
            TStatDrawArray selected;
            for (int k = 0; k < round % 4; ++k)
                stat->CombValues(RandomComb(false), selected);
            if (round % 3 == 0) {
                TStatDraw odd;
                odd.Key = TStatKey::FromWords(uint16_t(m_anyByte(m_rng)), uint16_t(round % 2), 0, 7);
                selected.push_back(odd);
                odd.Key = TStatKey::FromInts(-(round + 1), 70000 * round);
                selected.push_back(odd);
            }
            const bool sorted = round % 2 == 0;
            stat->LoadDraws(-1, 2, sorted);
            m_list.SetFastPaths(false);
            const auto derived = stat->MakeMatcher(selected, 2, sorted, false);
            m_list.SetFastPaths(true);
            const auto fast = stat->MakeMatcher(selected, 2, sorted, false);
            EXPECT_TRUE(derived->IsThreadSafe()) << code;
            std::vector<TComb> block(130);
            for (TComb &c : block)
                c = RandomComb(m_anyByte(m_rng) < 26);
            std::vector<uint64_t> derivedBits(3), fastBits(3);
            derived->MatchBits(block.data(), block.size(), derivedBits.data());
            fast->MatchBits(block.data(), block.size(), fastBits.data());
            for (size_t i = 0; i < block.size(); ++i) {
                const bool expected = stat->CombMatches(block[i], selected, 2, sorted, false);
                ASSERT_EQ((derivedBits[i / 64] >> (i % 64)) & 1, expected ? 1u : 0u)
                    << code << " " << CombToText(block[i]).toStdString();
                ASSERT_EQ((fastBits[i / 64] >> (i % 64)) & 1, expected ? 1u : 0u)
                    << code << " " << CombToText(block[i]).toStdString();
            }
            EXPECT_EQ(derivedBits[2] >> 2, 0u) << code << ": bits past the block stay clear";
        }
    }
}

TEST_F(MethodContract, CountedKeysEqualCombValueRecords) {
    for (int entry = 0; entry < m_list.Count(); ++entry) {
        const std::string code = m_list.EntryCode(entry).toStdString();
        auto stat = m_list.CreateStat(entry);
        std::vector<TComb> combs(700);
        for (size_t i = 0; i < combs.size(); ++i)
            combs[i] = RandomComb(i % 9 == 0);
        std::map<uint64_t, int64_t> expected;
        for (const TComb &c : combs) {
            TStatDrawArray values;
            stat->CombValues(c, values);
            for (const TStatDraw &v : values)
                expected[v.Key.Bits()] += v.Count;
        }
        m_list.SetFastPaths(false);
        EXPECT_EQ(Counted(*stat, combs), expected) << code << " derived";
        m_list.SetFastPaths(true);
        EXPECT_EQ(Counted(*stat, combs), expected) << code << " fast";
    }
}

TEST_F(MethodContract, FullSetTablesDoNotDependOnTheFastPaths) {
    test::TRecordingHost host;
    TPrefetchFiles files(host, m_list);
    for (const char *code : {"NUMS", "DIGS"}) {
        const TStatMethod &m = m_list.Items(m_list.FindEntry(QString::fromLatin1(code)));
        const TPrefetchTable fast = files.ComputeTable(*m.StatClass, m.Param, 2);
        m_list.SetFastPaths(false);
        const TPrefetchTable derived = files.ComputeTable(*m.StatClass, m.Param, 2);
        m_list.SetFastPaths(true);
        EXPECT_TRUE(fast == derived) << code;
        EXPECT_FALSE(fast.Records.empty()) << code;
    }
}

} // namespace
} // namespace lot
