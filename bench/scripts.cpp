// Speed of a script test run against its floor, the copy of the full list,
// in one run:
//   copy            a plain copy of 8,145,060 combinations (the floor)
//   test/optimised  the test run of the script line below over 20 offsets
//                   of a 2,000-draw archive, with every shortcut of a run
//                   (the source list copied from the cached full set, the
//                   undo copy taking the list's storage, the statistics
//                   tables kept, the fast matchers on every core)
//   test/plain      the same run with every shortcut off
// The time shown for a test is the time per variant (the run's time divided
// by the variants it ran), so its ratio to the copy is what to watch; the
// target is at most 8x.
//
//   FULL:0#FIRST|TSD1#NUMS:100,200,300#LMV:1-3;1#ST:3|TSD1#EVEN:100#LNO:#SF:1| | | | | |
//
// Nine variants per offset: NUMS over 100, 200 and 300 draws with depth at
// least 1, 2 and 3, three filterings each, then every EVEN value in turn.

#include "archive/ArchiveController.h"
#include "archive/DemoDraws.h"
#include "combs/CombsController.h"
#include "scripts/ScriptsController.h"
#include "shell/Workspace.h"
#include "stakes/StakesController.h"

#include "BenchUtil.h"

#include <benchmark/benchmark.h>
#include <chrono>
#include <cstring>
#include <memory>
#include <QDate>
#include <QTemporaryDir>
#include <vector>

using namespace lot;

namespace {

const QString BenchLine =
    QStringLiteral("FULL:0#FIRST|TSD1#NUMS:100,200,300#LMV:1-3;1#ST:3|TSD1#EVEN:100#LNO:#SF:1| | | | | |");
constexpr int Offsets = 20;
constexpr quint32 Seed = 20240601;

bench::TQuietHost &Host() {
    static bench::TQuietHost host;
    return host;
}

/// A workspace over its own folder, opened as the command line opens it.
struct TScriptBench {
    QTemporaryDir Dir;
    std::unique_ptr<TWorkspace> Ws;

    TScriptBench() {
        Ws = std::make_unique<TWorkspace>(Host(), Dir.path());
        Ws->SetViewsFrozen(true);
        Ws->ReadWindowSettings();
        Ws->LoadGameSettings();
        Ws->Stakes().AcquireDataLock();
        Ws->Archive().ReplaceDraws(MakeDemoDraws(2000, 7, QDate(2026, 1, 3)));
        Ws->Combs().ReserveFullSet();
        Ws->Combs().GenerateSavedCombs(Ws->Stats().Registry());
        Ws->Scripts().UseScript({BenchLine});
    }
};

TScriptBench &Bench() {
    static TScriptBench bench;
    return bench;
}

void Copy(benchmark::State &state) {
    TScriptBench &b = Bench();
    const auto source = b.Ws->Combs().Combs();
    std::vector<TComb> target(source.size());
    for (auto _ : state) {
        std::memcpy(target.data(), source.data(), source.size() * sizeof(TComb));
        benchmark::DoNotOptimize(target.data());
        benchmark::ClobberMemory();
    }
}

void Test(benchmark::State &state, bool optimised) {
    TScriptBench &b = Bench();
    TScriptsController &scripts = b.Ws->Scripts();
    scripts.Runner().SetShortcuts(optimised ? TScriptShortcuts() : TScriptShortcuts::None());
    int variants = 0;
    int stakes = 0;
    for (auto _ : state) {
        b.Ws->Stakes().TruncateStakes();
        TScriptRunResult result;
        const auto start = std::chrono::steady_clock::now();
        scripts.RunTest(Offsets, Seed, &result);
        const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
        variants = 0;
        for (const TScriptCycle &c : result.Cycles)
            variants += c.Variants;
        stakes = result.Stakes;
        state.SetIterationTime(elapsed.count() / std::max(1, variants));
    }
    state.counters["variants"] = variants;
    state.counters["stakes"] = stakes;
    scripts.Runner().SetShortcuts(TScriptShortcuts());
}

} // namespace

BENCHMARK(Copy)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Test, optimised, true)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(1);
BENCHMARK_CAPTURE(Test, plain, false)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(1);

int main(int argc, char **argv) {
    benchmark::Initialize(&argc, argv);
    bench::TRatioReporter reporter("Copy");
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
