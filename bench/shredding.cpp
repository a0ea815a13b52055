// The shredding formula SHR1 with its default formula (n1+n2+n3)/(n4+n5+n6)
// and two digits, beside a copy of the full list as the floor, in one run:
//   copy            std::memcpy of the 8,145,060 combinations
//   pass/SHR1       the filtering pass over the full set on every core (one
//                   muparser evaluator per thread, the formula parsed once)
//   prefetch/SHR1   the full-set counts (a prefetch build without the file)
// The ratios to "copy" printed at the end are what to watch: a prefetch
// build is to stay within 60 times the copy.

#include "archive/DrawsArchive.h"
#include "combs/CombGenerator.h"
#include "core/HotLoop.h"
#include "filters/FilterPass.h"
#include "stats/PrefetchFiles.h"
#include "stats/StatList.h"

#include "BenchUtil.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

namespace {

using namespace lot;

struct TFixture : bench::TFullList {
    bench::TQuietHost Host;
    TDrawsArchive Archive;
    TStatList Stats{&Archive};

    TFixture() { Stats.RegisterAll(); }
};

TFixture &Fixture() {
    static TFixture fixture;
    return fixture;
}

void Copy(benchmark::State &state) {
    TFixture &f = Fixture();
    for (auto _ : state)
        f.Copy();
}

void Pass(benchmark::State &state) {
    TFixture &f = Fixture();
    const std::unique_ptr<TCustomStat> stat = f.Stats.CreateStat(f.Stats.FindEntry(QStringLiteral("SHR1")));
    TStatDrawArray selected;
    for (int v : {3, 27, 28, 50, 71, 99}) {
        TStatDraw d;
        d.Key = TStatKey::FromInts(v);
        selected.push_back(d);
    }
    stat->LoadDraws(-1, 0, false);
    const auto matcher = stat->MakeMatcher(selected, 0, false, false);
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

void Prefetch(benchmark::State &state) {
    TFixture &f = Fixture();
    const TStatMethod &m = f.Stats.Items(f.Stats.FindEntry(QStringLiteral("SHR1")));
    TPrefetchFiles files(f.Host, f.Stats);
    for (auto _ : state)
        benchmark::DoNotOptimize(files.ComputeTable(*m.StatClass, m.Param, HotLoopThreads()));
}

} // namespace

int main(int argc, char **argv) {
    benchmark::RegisterBenchmark("copy", Copy)->Unit(benchmark::kMillisecond)->UseRealTime();
    benchmark::RegisterBenchmark("pass/SHR1", Pass)->Unit(benchmark::kMillisecond)->UseRealTime();
    benchmark::RegisterBenchmark("prefetch/SHR1", Prefetch)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime()
        ->Iterations(3);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    bench::TRatioReporter reporter("copy");
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
