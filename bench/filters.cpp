// The filtering pass over the full set against its floor, a plain copy of
// the list. Run: bench_filters (all four in one run); the ratios of the
// filter passes to "Copy" are what to watch.

#include "archive/DrawsArchive.h"
#include "combs/CombGenerator.h"
#include "filters/FilterPass.h"
#include "stats/StatList.h"

#include "BenchUtil.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

namespace {

using namespace lot;

struct TFixture : bench::TFullList {
    TDrawsArchive Archive;
    TStatList Stats{&Archive};

    TFixture() { Stats.RegisterAll(); }
};

TFixture &Fixture() {
    static TFixture fixture;
    return fixture;
}

TStatDrawArray Keys(std::initializer_list<int> values, bool asInt) {
    TStatDrawArray selected;
    for (int v : values) {
        TStatDraw d;
        d.Key = asInt ? TStatKey::FromInts(v) : TStatKey::FromWords(uint16_t(v));
        selected.push_back(d);
    }
    return selected;
}

void Copy(benchmark::State &state) {
    TFixture &f = Fixture();
    for (auto _ : state)
        f.Copy();
    state.SetItemsProcessed(int64_t(state.iterations()) * int64_t(f.Source.size()));
}

void FilterPass(benchmark::State &state, const char *code, const TStatDrawArray &selected, bool parallel) {
    TFixture &f = Fixture();
    const std::unique_ptr<TCustomStat> stat =
        f.Stats.CreateStat(f.Stats.FindEntry(QString::fromLatin1(code)));
    stat->LoadDraws(-1, 0, false);
    const auto matcher = stat->MakeMatcher(selected, 0, false, false);
    TFilterPassOptions options;
    options.Parallel = parallel;
    options.Tick = [] {}; // as the program runs it: about a hundred slices per pass
    int survivors = 0;
    for (auto _ : state) {
        survivors = RunFilterPass(f.Source, f.Target.data(), *matcher, true, options);
        benchmark::DoNotOptimize(survivors);
        benchmark::ClobberMemory();
    }
    state.counters["survivors"] = survivors;
    state.SetItemsProcessed(int64_t(state.iterations()) * int64_t(f.Source.size()));
}

const TStatDrawArray NumsKeys = Keys({3, 9, 17, 22, 38, 45}, false);
const TStatDrawArray Pos1Keys = Keys({1, 2, 3, 4, 5, 6, 7, 8, 9, 10}, false);
const TStatDrawArray PrmvKeys =
    Keys({0, 3, 5, 6, 9, 10, 12, 15, 17, 18, 20, 23, 24, 27, 29, 30, 33, 36, 40, 63}, true);

} // namespace

BENCHMARK(Copy)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(FilterPass, NUMS_6, "NUMS", NumsKeys, true)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MeasureProcessCPUTime();
BENCHMARK_CAPTURE(FilterPass, POS1_10, "POS1", Pos1Keys, true)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MeasureProcessCPUTime();
BENCHMARK_CAPTURE(FilterPass, PRMV_20, "PRMV", PrmvKeys, true)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MeasureProcessCPUTime();
BENCHMARK_CAPTURE(FilterPass, NUMS_6_sequential, "NUMS", NumsKeys, false)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
