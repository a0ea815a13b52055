// What every registered method must keep, whatever its family: the derived
// operations with the fast paths switched off answer exactly like those with
// them on, and both like the plain definitions (CombMatches, CombValues).

#include "StatsTestUtil.h"

#include "filters/FilterPass.h"
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
        // Four segments, not in the order of their digits: the segment
        // members then have several values per combination.
        TConfigData config = m_list.Config();
        for (int n = 1; n <= NumberCount; ++n)
            config.MatrixSegments[size_t(n - 1)] = uint8_t((n * 7) % 4 + 2);
        m_list.SetConfig(config);
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
            // Runs that share the first five or four numbers, as an ordered
            // list has them (fast matchers keep what those decide), among
            // others.
            std::vector<TComb> block(130);
            for (size_t i = 0; i < block.size(); ++i) {
                block[i] = RandomComb(m_anyByte(m_rng) < 26);
                if (i > 0 && i % 4 != 0) {
                    const TComb fresh = block[i];
                    block[i] = block[i - 1];
                    block[i][5] = fresh[5];
                    if (i % 4 == 2) block[i][4] = fresh[4];
                }
            }
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
        // The dynamic members count against the newest draw.
        stat->LoadDraws(-1, 2, false);
        // Random combinations, some malformed, and runs that share their
        // first five numbers as an ordered list has them.
        std::vector<TComb> combs(700);
        for (size_t i = 0; i < combs.size(); ++i) {
            combs[i] = RandomComb(i % 9 == 0);
            if (i % 5 != 0) {
                const uint8_t last = combs[i][5];
                combs[i] = combs[i - 1];
                combs[i][5] = last;
            }
        }
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

// The filter pass, prepared as the filter engine prepares it, keeps exactly
// the combinations for which CombMatches holds (or, deleting, exactly the
// others), over a sample of the full set and some malformed combinations;
// the dynamic methods at two reference draws of an archive whose sums repeat.
class FilterPassContract : public ::testing::Test {
protected:
    void SetUp() override {
        // Sums 138 150 138 125 138 140 150 138: both reference draws (#8
        // and #7) have earlier draws of their sum.
        const std::array<std::array<int, 6>, 8> draws = {{{4, 30, 9, 40, 18, 37},
                                                          {3, 17, 6, 38, 45, 41},
                                                          {36, 12, 21, 30, 13, 26},
                                                          {2, 27, 15, 24, 14, 43},
                                                          {26, 17, 14, 36, 1, 44},
                                                          {8, 13, 42, 15, 22, 40},
                                                          {24, 17, 10, 38, 45, 16},
                                                          {24, 29, 12, 8, 30, 35}}};
        for (size_t i = 0; i < draws.size(); ++i)
            m_archive.Append(test::MakeStatDraw(int(i) + 1, draws[i]));
        // Four segments, as above: a segment's series then has pauses too.
        TConfigData config = m_list.Config();
        for (int n = 1; n <= NumberCount; ++n)
            config.MatrixSegments[size_t(n - 1)] = uint8_t((n * 7) % 4 + 2);
        m_list.SetConfig(config);
        m_list.RegisterAll();

        // Every 997th combination of the full set, in its order, then bytes of any value.
        int index = 0;
        TComb c;
        for (c[0] = 1; c[0] <= 40; ++c[0])
            for (c[1] = c[0] + 1; c[1] <= 41; ++c[1])
                for (c[2] = c[1] + 1; c[2] <= 42; ++c[2])
                    for (c[3] = c[2] + 1; c[3] <= 43; ++c[3])
                        for (c[4] = c[3] + 1; c[4] <= 44; ++c[4])
                            for (c[5] = c[4] + 1; c[5] <= 45; ++c[5])
                                if (index++ % 997 == 0) m_sample.push_back(c);
        std::mt19937 rng(7);
        std::uniform_int_distribution<int> anyByte(0, 255);
        for (int i = 0; i < 300; ++i) {
            for (int k = 0; k < CombSize; ++k)
                c[k] = uint8_t(anyByte(rng));
            m_sample.push_back(c);
        }
    }

    /// Values the statistics table would show over the whole archive up to
    /// refIdx, every other one, plus a combination's.
    TStatDrawArray Selection(TCustomStat &stat, int refIdx, bool sorted) const {
        TStatDrawArray values;
        TStatScratch scratch;
        TLastValueArray last;
        for (int i = 0; i <= refIdx; ++i)
            stat.DrawValues(i, refIdx, sorted, values, scratch, last);
        TStatDrawArray selected;
        for (size_t i = 0; i < values.size(); i += 2)
            selected.push_back(values[i]);
        stat.LoadDraws(-1, refIdx, sorted);
        stat.CombValues(m_sample[m_sample.size() / 2], selected);
        return selected;
    }

    /// The keys of the sample's middle combination at reference draw refIdx.
    std::vector<uint64_t> CombKeys(TCustomStat &stat, int refIdx) const {
        stat.LoadDraws(-1, refIdx, true);
        TStatDrawArray values;
        stat.CombValues(m_sample[m_sample.size() / 2], values);
        std::vector<uint64_t> keys;
        for (const TStatDraw &v : values)
            keys.push_back(v.Key.Bits());
        return keys;
    }

    /// The keys of the table's rows at reference draw refIdx, listed ones first.
    static std::vector<uint64_t> TableKeys(TCustomStat &stat, int refIdx) {
        TStatDrawArray values;
        stat.EnumAllValues(refIdx, values);
        TStatScratch scratch;
        TLastValueArray last;
        for (int i = 0; i <= refIdx; ++i)
            stat.DrawValues(i, refIdx, true, values, scratch, last);
        std::vector<uint64_t> keys;
        for (const TStatDraw &v : values)
            keys.push_back(v.Key.Bits());
        return keys;
    }

    TDrawsArchive m_archive;
    TStatList m_list{&m_archive};
    std::vector<TComb> m_sample;
};

TEST_F(FilterPassContract, KeepsExactlyTheCombinationsThatMatch) {
    ASSERT_GT(m_sample.size(), 8000u);
    std::vector<TComb> target(m_sample.size());
    int dynamic = 0, partial = 0;
    for (int entry = 0; entry < m_list.Count(); ++entry) {
        const std::string code = m_list.EntryCode(entry).toStdString();
        const bool isDynamic = (m_list.Items(entry).StatClass->Flags() & sfDynamic) != 0;
        dynamic += isDynamic;
        auto stat = m_list.CreateStat(entry);
        std::vector<int> keptAt; // by reference draw, keeping
        for (const int refIdx : isDynamic ? std::vector<int>{7, 6} : std::vector<int>{7}) {
            const bool sorted = entry % 2 == 0;
            const bool del = (entry + refIdx) % 3 == 0;
            const TStatDrawArray selected = Selection(*stat, refIdx, sorted);
            for (bool fast : {true, false}) {
                m_list.SetFastPaths(fast);
                stat->LoadDraws(-1, refIdx, sorted);
                const auto matcher = stat->MakeMatcher(selected, refIdx, sorted, del);
                m_list.SetFastPaths(true);
                const int kept = RunFilterPass(m_sample, target.data(), *matcher, !del);
                std::vector<TComb> expected;
                for (const TComb &c : m_sample)
                    if (stat->CombMatches(c, selected, refIdx, sorted, del) != del) expected.push_back(c);
                ASSERT_EQ(kept, int(expected.size())) << code << " ref " << refIdx << (fast ? " fast" : "");
                EXPECT_TRUE(std::equal(expected.begin(), expected.end(), target.begin()))
                    << code << " ref " << refIdx << (fast ? " fast" : "");
                if (fast) {
                    keptAt.push_back(del ? int(m_sample.size()) - kept : kept);
                    partial += kept > 0 && kept < int(m_sample.size());
                }
            }
        }
        if (isDynamic) {
            // Most dynamic members match against the reference draw; the
            // repeated numbers match a combination by its own numbers, and
            // the reference draw decides which rows their table lists.
            const TStatDrawArray selected = Selection(*stat, 7, true);
            bool matchReadsRef = false;
            for (const TComb &c : m_sample)
                if (stat->CombMatches(c, selected, 7, true, false) !=
                    stat->CombMatches(c, selected, 6, true, false)) {
                    matchReadsRef = true;
                    break;
                }
            if (matchReadsRef) {
                EXPECT_NE(keptAt[0], keptAt[1]) << code << ": the reference draw decides";
            } else {
                // The transitions match by the combination's own items too;
                // the reference draw is the "before" part of a combination's
                // values and of the table's rows, which may coincide for two
                // neighbouring draws of so small an archive.
                const std::vector<uint64_t> rows = TableKeys(*stat, 7), own = CombKeys(*stat, 7);
                bool decides = false;
                for (int other = 6; other >= 0 && !decides; --other)
                    decides = TableKeys(*stat, other) != rows || CombKeys(*stat, other) != own;
                EXPECT_TRUE(decides) << code << ": the reference draw decides";
            }
        }
    }
    EXPECT_GE(dynamic, 3) << "SUMC, SUMV, SUMT";
    EXPECT_GT(partial, m_list.Count() * 3 / 4) << "most selections keep some combinations, not all";
}

} // namespace
} // namespace lot
