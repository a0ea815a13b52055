// Speed of the combination list's hot paths, as ratios to a plain copy of
// the full list (the floor any pass over it can reach):
//   copy            std::copy of 8,145,060 combinations into a sized array
//   generate        the full set in lexicographic order
//   exclude/10/T    ExcludeLastDraws with the 10 newest draws of an archive,
//                   on every core (T = 0) and on the sequential path (T = 1)
//   prefetch/harness  the prefetch machinery with a trivial one-value method
//   prefetch/CODE   the full-set counts of every method that can prefetch
// The resident memory of a full list with its undo copy is printed first.

#include "archive/DemoDraws.h"
#include "archive/DrawsArchive.h"
#include "combs/CombGenerator.h"
#include "combs/CombsController.h"
#include "core/Host.h"
#include "core/HotLoop.h"
#include "stats/PrefetchFiles.h"
#include "stats/StatList.h"

#include "BenchUtil.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <map>
#include <memory>
#include <QDate>
#include <QFile>
#include <string>
#include <vector>

using namespace lot;

namespace {

bench::TQuietHost &Host() {
    static bench::TQuietHost host;
    return host;
}

TDrawsArchive &Archive() {
    static TDrawsArchive archive = [] {
        TDrawsArchive a;
        for (const TDrawRec &d : MakeDemoDraws(2000, 7, QDate(2026, 1, 3)))
            a.Append(d);
        return a;
    }();
    return archive;
}

TStatList &Stats() {
    static TStatList stats(&Archive());
    static const bool registered = [] {
        stats.RegisterAll();
        return true;
    }();
    (void)registered;
    return stats;
}

long StatusKb(const char *field) {
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly)) return -1;
    for (const QByteArray &line : f.readAll().split('\n'))
        if (line.startsWith(field))
            return line.mid(int(qstrlen(field))).trimmed().split(' ').first().toLong();
    return -1;
}

void ReportMemory() {
    const long before = StatusKb("VmRSS:");
    {
        TCombsController list(Host());
        list.ReserveFullSet();
        list.GenerateCombs(true, 0, {});
        list.MakeUndoCopy(true);
        const long after = StatusKb("VmRSS:");
        std::printf("memory: VmRSS %ld kB before, %ld kB with a full list and its undo copy (+%ld kB), "
                    "VmHWM %ld kB\n",
                    before, after, after - before, StatusKb("VmHWM:"));
    }
}

void BM_Copy(benchmark::State &state) {
    std::vector<TComb> src(FullSetSize), dst(FullSetSize);
    GenerateInto(0, 0, src.data());
    for (auto _ : state) {
        std::copy(src.begin(), src.end(), dst.begin());
        benchmark::DoNotOptimize(dst.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_Copy)->Name("copy")->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_Generate(benchmark::State &state) {
    std::vector<TComb> dst(FullSetSize);
    for (auto _ : state) {
        benchmark::DoNotOptimize(GenerateInto(0, 0, dst.data()));
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_Generate)->Name("generate")->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_Exclude(benchmark::State &state) {
    TCombsController list(Host());
    list.SetThreads(state.range(0) > 0 ? int(state.range(0)) : HotLoopThreads());
    list.ReserveFullSet();
    list.GenerateCombs(false, 0, {});
    list.MakeUndoCopy(false);
    for (auto _ : state) {
        // Reads the undo copy, writes the list: the same input every time.
        benchmark::DoNotOptimize(list.ExcludeLastDraws(Archive(), 10));
        state.PauseTiming();
        list.ClearHistory();
        state.ResumeTiming();
    }
}
// Argument: threads (0 = every core, 1 = the sequential path).
BENCHMARK(BM_Exclude)->Name("exclude/10")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

// The prefetch machinery alone (enumeration, workers, counting) with a
// trivial one-value method: the floor under every prefetch/CODE figure.
void BM_PrefetchHarness(benchmark::State &state) {
    const auto makeEvaluator = [] {
        return TCombValuesFn([](const TComb *combs, int count, TKeyCounter &counter) {
            for (int i = 0; i < count; ++i)
                counter.Add(TStatKey::FromWords(combs[i].N[2]), 1);
        });
    };
    for (auto _ : state)
        benchmark::DoNotOptimize(CountFullSet(makeEvaluator, HotLoopThreads()));
}
BENCHMARK(BM_PrefetchHarness)->Name("prefetch/harness")->Unit(benchmark::kMillisecond)->UseRealTime();

void RegisterPrefetchBenchmarks() {
    TStatList &stats = Stats();
    for (int i = 0; i < stats.Count(); ++i) {
        if (!stats.CanPrefetch(i)) continue;
        const TStatMethod &m = stats.Items(i);
        const std::string name = "prefetch/" + stats.EntryCode(i).toStdString();
        benchmark::RegisterBenchmark(name.c_str(),
                                     [&m](benchmark::State &state) {
                                         TPrefetchFiles files(Host(), Stats());
                                         for (auto _ : state)
                                             benchmark::DoNotOptimize(
                                                 files.ComputeTable(*m.StatClass, m.Param, HotLoopThreads()));
                                     })
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime()
            ->Iterations(2);
    }
}

} // namespace

int main(int argc, char **argv) {
    ReportMemory();
    RegisterPrefetchBenchmarks();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    bench::TRatioReporter reporter("copy");
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
