// Speed of the stakes file's bulk operations on 1,000,000 stakes (312 MB),
// one run each, in records per second beside the floor: a raw write of the
// same bytes to a file in the same folder, measured in the same run.
//   floor/write        1,000,000 records written in 1 MiB blocks
//   floor/write+sync   the same followed by fsync
//   append             AddStakesForCombs of 1,000,000 combinations into an
//                      empty stakes file, with its closing check (their draw,
//                      the next one, is not in the archive of 2,000 draws yet)
//   check              CheckAndSave once the draw is in: every stake is read,
//                      checked and written back
//   delete             DeleteStakesByOverlaps "Менее [ < ]" 1 through the
//                      temporary file (about two stakes in five go)
// Each run starts after a sync, so none pays for another's dirty pages.
// The same three operations run first on 100,000 stakes; the peak resident
// memory (VmHWM) after each size shows that memory does not grow with the
// number of stakes.

#include "archive/ArchiveController.h"
#include "archive/DemoDraws.h"
#include "combs/CombsController.h"
#include "core/DataFolder.h"
#include "core/WindowSettings.h"
#include "stakes/StakesController.h"
#include "stats/StatsController.h"

#include "BenchUtil.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <memory>
#include <QDate>
#include <QTemporaryDir>
#include <unistd.h>
#include <vector>

using namespace lot;

namespace {

constexpr int StakeCount = 1000000;
constexpr int SmallCount = 100000;
// The demo archive's 2,000 draws are 1001 ... 4999: the stakes are made for
// the next one.
constexpr int DemoDraws = 2000;
constexpr int DrawNumber = 5001;

bench::TQuietHost &Host() {
    static bench::TQuietHost host;
    return host;
}

/// The first n combinations of the full set in lexicographic order.
std::vector<TComb> FirstCombs(int n) {
    std::vector<TComb> combs;
    combs.reserve(size_t(n));
    TComb c{{1, 2, 3, 4, 5, 6}};
    while (int(combs.size()) < n) {
        combs.push_back(c);
        int i = CombSize - 1;
        while (i >= 0 && c[i] == NumberCount - (CombSize - 1 - i))
            --i;
        if (i < 0) break;
        ++c[i];
        for (int j = i + 1; j < CombSize; ++j)
            c[j] = uint8_t(c[j - 1] + 1);
    }
    return combs;
}

/// A stakes controller over its own folder, as the window holds one.
struct TStakesBench {
    QTemporaryDir Dir;
    TDataFolder Folder{Dir.path()};
    TWindowSettings Settings;
    TArchiveController Archive{Host(), Folder, Settings};
    TStatsController Stats{Host(), Folder, Settings, Archive};
    TCombsController Combs{Host()};
    TStakesController Stakes{Host(), Folder, Settings, Archive, Stats.Registry(), Combs};

    TStakesBench() {
        TConfigData config = Stats.Registry().Config();
        config.Cost = TMoney::FromDouble(1);
        config.Profits = {{3, TMoney::FromDouble(10)}, {4, TMoney::FromDouble(100)}};
        Stats.Registry().SetConfig(config);
        Archive.ReplaceDraws(MakeDemoDraws(DemoDraws, 7, QDate(2026, 12, 5)));
        if (!Stakes.LoadStakes()) std::fprintf(stderr, "no stakes file\n");
    }
    bool Append(const std::vector<TComb> &combs) {
        return bool(Stakes.AddStakesForCombs(combs, DrawNumber, 1, QStringLiteral("bench")));
    }
    /// The stakes' draw arrives: 2 9 17 25 33 41 (every stake holds 1).
    void AddDraw() {
        TDrawRec draw;
        draw.DrawNumber = DrawNumber;
        const uint8_t numbers[CombSize] = {2, 9, 17, 25, 33, 41};
        std::copy(numbers, numbers + CombSize, draw.Numbers);
        draw.Extra[0] = 44;
        draw.Extra[1] = 45;
        TDrawsArray draws = Archive.Draws().Draws();
        draws.push_back(draw);
        Archive.ReplaceDraws(draws);
    }
    qint64 Check() {
        qint64 checked = 0;
        Stakes.CheckAndSave(&checked);
        return checked;
    }
    qint64 Delete() {
        qint64 removed = 0;
        Stakes.DeleteStakesByOverlaps(3, 1, &removed);
        return removed;
    }
};

/// Writes back what earlier runs left dirty, so no run pays for another's.
void Settle() {
    ::sync();
}

const std::vector<TComb> &Combs() {
    static const std::vector<TComb> combs = FirstCombs(StakeCount);
    return combs;
}

TStakesBench &Bench() {
    static TStakesBench bench;
    return bench;
}

void RawWrite(benchmark::State &state, bool sync) {
    const QString path = Bench().Dir.filePath(QStringLiteral("floor.bin"));
    std::vector<char> block(size_t(3360 * StakeRecSize), '\x02');
    const qint64 total = qint64(StakeCount) * StakeRecSize;
    Settle();
    for (auto _ : state) {
        QFile f(path);
        f.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered);
        for (qint64 done = 0; done < total;) {
            const qint64 n = std::min<qint64>(qint64(block.size()), total - done);
            f.write(block.data(), n);
            done += n;
        }
        if (sync) ::fsync(f.handle());
        f.close();
        state.PauseTiming();
        QFile::remove(path);
        state.ResumeTiming();
    }
    state.SetItemsProcessed(StakeCount);
}
BENCHMARK_CAPTURE(RawWrite, write, false)
    ->Name("floor/write")
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(RawWrite, sync, true)
    ->Name("floor/write+sync")
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

void BM_Append(benchmark::State &state) {
    Settle();
    for (auto _ : state)
        if (!Bench().Append(Combs())) state.SkipWithError("append failed");
    state.SetItemsProcessed(StakeCount);
}
BENCHMARK(BM_Append)->Name("append")->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_Check(benchmark::State &state) {
    Bench().AddDraw();
    Settle();
    for (auto _ : state)
        if (Bench().Check() != StakeCount) state.SkipWithError("not every stake was checked");
    state.SetItemsProcessed(StakeCount);
}
BENCHMARK(BM_Check)->Name("check")->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_Delete(benchmark::State &state) {
    qint64 removed = 0;
    Settle();
    for (auto _ : state)
        removed = Bench().Delete();
    state.counters["removed"] = double(removed);
    state.SetItemsProcessed(StakeCount);
}
BENCHMARK(BM_Delete)->Name("delete")->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

/// The three operations on the first 100,000 stakes, untimed, for the
/// memory they need; the file is emptied afterwards.
void RunSmall() {
    const std::vector<TComb> small(Combs().begin(), Combs().begin() + SmallCount);
    TStakesBench bench;
    bench.Append(small);
    bench.AddDraw();
    bench.Check();
    bench.Delete();
}

} // namespace

int main(int argc, char **argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    (void)Combs();
    const long start = bench::StatusKb("VmHWM:");
    RunSmall();
    const long small = bench::StatusKb("VmHWM:");
    bench::TRatioReporter reporter("floor/write", "the raw write of 1,000,000 records");
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const long large = bench::StatusKb("VmHWM:");
    std::printf("\npeak resident memory (VmHWM): %ld kB before any stake, %ld kB after 100,000 stakes, "
                "%ld kB after 1,000,000 stakes (%ld kB more)\n",
                start, small, large, large - small);
    benchmark::Shutdown();
    return 0;
}
