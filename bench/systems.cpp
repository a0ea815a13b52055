// Speed of the guarantee table of a system, beside its floor: the plain way
// (every case against every combination as bit masks over the N numbers,
// one thread), measured in the same run.
//   brute/45x100     the plain way for 45 numbers and 100 combinations
//   table/45x100     GuaranteeTable: bit-sliced counters, every core
//   table1/45x100    the same on one thread
//   holds/45x100     GuaranteeHolds 2 if 6, a guarantee such a system keeps,
//                    so every case is walked
//   fails/45x100     GuaranteeHolds 4 if 6, which stops at the first case
//                    that breaks it
// and the same for 20 numbers and 200 combinations.
// The systems are random (a fixed seed), so no case ends the walk early.

#include "systems/SystemGuarantee.h"

#include "BenchUtil.h"

#include <benchmark/benchmark.h>
#include <random>
#include <vector>

using namespace lot;

namespace {

std::vector<TComb> RandomSystem(int n, int count) {
    std::mt19937 rng(uint32_t(n * 1000 + count));
    std::vector<int> numbers(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i)
        numbers[size_t(i)] = i + 1;
    std::vector<TComb> combs;
    for (int i = 0; i < count; ++i) {
        std::shuffle(numbers.begin(), numbers.end(), rng);
        TComb c;
        for (int k = 0; k < CombSize; ++k)
            c[k] = uint8_t(numbers[size_t(k)]);
        combs.push_back(c);
    }
    return combs;
}

void BM_Brute(benchmark::State &state) {
    const int n = int(state.range(0)), count = int(state.range(1));
    const std::vector<TComb> system = RandomSystem(n, count);
    for (auto _ : state)
        benchmark::DoNotOptimize(GuaranteeTableBrute(system, n));
}

void BM_Table(benchmark::State &state) {
    const int n = int(state.range(0)), count = int(state.range(1));
    const bool parallel = state.range(2) != 0;
    const std::vector<TComb> system = RandomSystem(n, count);
    for (auto _ : state)
        benchmark::DoNotOptimize(GuaranteeTable(system, n, parallel));
}

void BM_Holds(benchmark::State &state) {
    const int n = int(state.range(0)), count = int(state.range(1)), k = int(state.range(2));
    const std::vector<TComb> system = RandomSystem(n, count);
    for (auto _ : state)
        benchmark::DoNotOptimize(GuaranteeHolds(system, n, 6, k));
}

} // namespace

BENCHMARK(BM_Brute)->Name("brute/45x100")->Args({45, 100})->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Table)->Name("table/45x100")->Args({45, 100, 1})->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Table)->Name("table1/45x100")->Args({45, 100, 0})->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Holds)->Name("holds/45x100")->Args({45, 100, 2})->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Holds)->Name("fails/45x100")->Args({45, 100, 4})->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Brute)->Name("brute/20x200")->Args({20, 200})->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Table)->Name("table/20x200")->Args({20, 200, 1})->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Table)->Name("table1/20x200")->Args({20, 200, 0})->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Holds)->Name("holds/20x200")->Args({20, 200, 2})->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Holds)->Name("fails/20x200")->Args({20, 200, 4})->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char **argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    bench::TRatioReporter reporter("brute/45x100", "the plain way for 45 numbers");
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
