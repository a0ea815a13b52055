// The derived operations of the statistic methods against their fast paths,
// with a copy of the full list as the floor, all in one run:
//   copy                      std::memcpy of the 8,145,060 combinations
//   pass/CODE/fast|derived    the filtering pass over the full set on every
//                             core, with the method's fast paths on, and with
//                             every fast path off (the derived path alone)
//   prefetch/CODE/fast|derived  the full-set counts (a prefetch build without
//                             the file), the same two ways
// NUMS and DIGS give their keys number by number and so have the derived
// fast paths (the pair table, the counts per position); PRMV and POS1 have
// one key per combination and hand-written matchers of their family. SUMS
// and DIFA (one and five keys per combination) have the derived path only;
// CHAN and COLS give their keys number by number. HCO1 and RPC2 (dynamic)
// have one key per combination; KNM3 and KGM3 the most of all (20 triples)
// and KNM4 the widest (15 quadruples), with the bit table of the tuples as
// their fast matcher and no file of their own (no flag N): their prefetch is
// the full-set count a file would take. The ratios to "copy" printed at the
// end are what to watch. The segment map has nine segments, so that SGMV,
// the member with a file and the most keys per combination, gives nine.
// The transitions and the periods read the reference draw and the draws
// before it, so they run over an archive of 2,000 demo draws of their own:
// SDV2 has the most keys (36 per combination), SCP2 and SDP3 one per
// position, SC2C1 a count, SDA2 the numbers inside channels, PRDV a period
// matched by an earlier draw. Their "prefetch" is the full-set count with
// the newest draw as the reference draw, on every core.

#include "archive/DemoDraws.h"
#include "archive/DrawsArchive.h"
#include "combs/CombGenerator.h"
#include "core/Host.h"
#include "core/HotLoop.h"
#include "filters/FilterPass.h"
#include "stats/KeyCounter.h"
#include "stats/PrefetchFiles.h"
#include "stats/StatList.h"

#include "BenchUtil.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <QDate>
#include <string>
#include <thread>
#include <vector>

namespace {

using namespace lot;

struct TFixture : bench::TFullList {
    bench::TQuietHost Host;
    TDrawsArchive Archive;
    TStatList Stats{&Archive};

    TFixture() {
        // Nine segments, so that SGMV gives nine keys per combination.
        TConfigData config = Stats.Config();
        for (int n = 1; n <= NumberCount; ++n)
            config.MatrixSegments[size_t(n - 1)] = uint8_t((n - 1) % 9 + 1);
        Stats.SetConfig(config);
        Stats.RegisterAll();
    }
};

TFixture &Fixture() {
    static TFixture fixture;
    return fixture;
}

/// The registry of the members that read earlier draws: 2,000 demo draws.
struct TDrawsFixture {
    TDrawsArchive Archive;
    TStatList Stats{&Archive};

    TDrawsFixture() {
        for (const TDrawRec &d : MakeDemoDraws(2000, 7, QDate(2026, 1, 3)))
            Archive.Append(d);
        Stats.RegisterAll();
    }
    int Last() const { return Archive.Count() - 1; }
};

TDrawsFixture &DrawsFixture() {
    static TDrawsFixture fixture;
    return fixture;
}

struct TCase {
    const char *Code;
    std::vector<int> Values; ///< selected keys: w1, or d1 for the masks, or Words words each
    bool AsInt;
    int Words = 1;
};

const TCase Cases[] = {
    {"NUMS", {3, 9, 17, 22, 38, 45}, false},
    {"DIGS", {0, 7}, false},
    {"PRMV", {0, 3, 5, 6, 9, 10, 12, 15, 17, 18, 20, 23, 24, 27, 29, 30, 33, 36, 40, 63}, true},
    {"POS1", {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}, false},
    {"SUMS",
     {100, 120, 121, 122, 123, 124, 125, 126, 127, 128, 129, 130, 131, 132, 133, 134, 135, 160},
     true},
    {"DIFA", {1, 7, 15}, false},
    {"CHAN", {2, 5, 9}, false},
    {"COLS", {1, 4}, false},
    // One key per combination, and the most keys per combination (20 triples).
    {"HCO1", {2, 5, 8, 13}, false},
    {"RPC2", {1, 2}, false},
    {"KNM3", {1, 2, 3, 7, 19, 33, 10, 20, 30, 12, 30, 45, 2, 3, 4, 40, 41, 42}, false, 3},
    {"KGM3", {1, 1, 1}, false, 3},
    {"KNM4", {1, 2, 3, 4, 7, 19, 33, 40, 10, 20, 30, 40}, false, 4},
    // The most keys per combination among the members with a file: SGMV with
    // nine segments (nine), SEQL (up to six).
    {"SGMV", {1, 2, 2, 0, 5, 3}, false, 2},
    {"SEQL", {3, 4}, false},
};

// Selected values as the table of each would list them: pairs and triples
// ending in a few numbers (channels, counts), a period of 7 draw numbers.
const TCase DrawsCases[] = {
    {"SDV2", {3, 17, 12, 30, 40, 8}, false, 2},
    {"SCP2", {1, 3, 5, 2, 7, 9}, false, 2},
    {"SDP3", {3, 5, 6, 12, 12, 14, 20, 23, 24}, false, 3},
    {"SC2C1", {1, 0, 1, 2}, false, 2},
    {"SDA2", {12, 14, 31, 0, 5, 2}, false, 2},
    {"PRDV", {3, 14, 17, 14, 30, 14}, false, 2},
};

TStatDrawArray Selected(const TCase &c) {
    TStatDrawArray selected;
    for (size_t i = 0; i + size_t(c.Words) <= c.Values.size(); i += size_t(c.Words)) {
        TStatDraw d;
        if (c.AsInt)
            d.Key = TStatKey::FromInts(c.Values[i]);
        else
            for (int w = 0; w < c.Words; ++w)
                d.Key.SetW(w + 1, uint16_t(c.Values[i + size_t(w)]));
        selected.push_back(d);
    }
    return selected;
}

void Copy(benchmark::State &state) {
    TFixture &f = Fixture();
    for (auto _ : state)
        f.Copy();
}

void Pass(benchmark::State &state, const TCase &c, bool fast) {
    TFixture &f = Fixture();
    f.Stats.SetFastPaths(fast);
    const std::unique_ptr<TCustomStat> stat =
        f.Stats.CreateStat(f.Stats.FindEntry(QString::fromLatin1(c.Code)));
    stat->LoadDraws(-1, 0, false);
    const auto matcher = stat->MakeMatcher(Selected(c), 0, false, false);
    f.Stats.SetFastPaths(true);
    TFilterPassOptions options;
    options.Tick = [] {}; // as the program runs it: about a hundred slices per pass
    int survivors = 0;
    for (auto _ : state) {
        survivors = RunFilterPass(f.Source, f.Target.data(), *matcher, true, options);
        benchmark::DoNotOptimize(survivors);
        benchmark::ClobberMemory();
    }
    state.counters["survivors"] = survivors;
}

void Prefetch(benchmark::State &state, const TCase &c, bool fast) {
    TFixture &f = Fixture();
    const TStatMethod &m = f.Stats.Items(f.Stats.FindEntry(QString::fromLatin1(c.Code)));
    TPrefetchFiles files(f.Host, f.Stats);
    f.Stats.SetFastPaths(fast);
    for (auto _ : state)
        benchmark::DoNotOptimize(files.ComputeTable(*m.StatClass, m.Param, HotLoopThreads()));
    f.Stats.SetFastPaths(true);
}

void DrawsPass(benchmark::State &state, const TCase &c, bool fast) {
    TFixture &f = Fixture();
    TDrawsFixture &d = DrawsFixture();
    d.Stats.SetFastPaths(fast);
    const std::unique_ptr<TCustomStat> stat =
        d.Stats.CreateStat(d.Stats.FindEntry(QString::fromLatin1(c.Code)));
    stat->LoadDraws(-1, d.Last(), false);
    const auto matcher = stat->MakeMatcher(Selected(c), d.Last(), false, false);
    d.Stats.SetFastPaths(true);
    TFilterPassOptions options;
    options.Tick = [] {};
    int survivors = 0;
    for (auto _ : state) {
        survivors = RunFilterPass(f.Source, f.Target.data(), *matcher, true, options);
        benchmark::DoNotOptimize(survivors);
        benchmark::ClobberMemory();
    }
    state.counters["survivors"] = survivors;
}

/// The full-set count of a member that reads the reference draw: each core
/// counts a slice with its own instance, the counters merged at the end.
void DrawsPrefetch(benchmark::State &state, const TCase &c, bool fast) {
    TFixture &f = Fixture();
    TDrawsFixture &d = DrawsFixture();
    const int entry = d.Stats.FindEntry(QString::fromLatin1(c.Code));
    const int threads = HotLoopThreads();
    d.Stats.SetFastPaths(fast);
    size_t keys = 0;
    for (auto _ : state) {
        std::vector<TKeyCounter> counters(static_cast<size_t>(threads));
        std::vector<std::thread> workers;
        const size_t slice = (f.Source.size() + size_t(threads) - 1) / size_t(threads);
        for (int t = 0; t < threads; ++t)
            workers.emplace_back([&, t] {
                const size_t from = std::min(f.Source.size(), size_t(t) * slice);
                const size_t to = std::min(f.Source.size(), from + slice);
                const std::unique_ptr<TCustomStat> stat = d.Stats.CreateStat(entry);
                stat->LoadDraws(-1, d.Last(), false);
                stat->CountCombKeys(f.Source.data() + from, int(to - from), counters[size_t(t)]);
            });
        for (std::thread &w : workers)
            w.join();
        for (int t = 1; t < threads; ++t)
            counters[0].Merge(counters[size_t(t)]);
        keys = counters[0].ToTable().Records.size();
        benchmark::DoNotOptimize(keys);
    }
    d.Stats.SetFastPaths(true);
    state.counters["values"] = double(keys);
}

void RegisterAll() {
    benchmark::RegisterBenchmark("copy", Copy)->Unit(benchmark::kMillisecond)->UseRealTime();
    for (const TCase &c : Cases)
        for (bool fast : {true, false}) {
            const std::string suffix = std::string(c.Code) + (fast ? "/fast" : "/derived");
            benchmark::RegisterBenchmark(("pass/" + suffix).c_str(), Pass, c, fast)
                ->Unit(benchmark::kMillisecond)
                ->UseRealTime();
            benchmark::RegisterBenchmark(("prefetch/" + suffix).c_str(), Prefetch, c, fast)
                ->Unit(benchmark::kMillisecond)
                ->UseRealTime()
                ->Iterations(3);
        }
    for (const TCase &c : DrawsCases)
        for (bool fast : {true, false}) {
            const std::string suffix = std::string(c.Code) + (fast ? "/fast" : "/derived");
            benchmark::RegisterBenchmark(("pass/" + suffix).c_str(), DrawsPass, c, fast)
                ->Unit(benchmark::kMillisecond)
                ->UseRealTime();
            benchmark::RegisterBenchmark(("prefetch/" + suffix).c_str(), DrawsPrefetch, c, fast)
                ->Unit(benchmark::kMillisecond)
                ->UseRealTime()
                ->Iterations(3);
        }
}

} // namespace

int main(int argc, char **argv) {
    RegisterAll();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    bench::TRatioReporter reporter("copy");
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
