// Speed of the statistics table: one forced computation per registered
// method over the 1000 newest of 2000 synthetic draws, as the statistics tab
// runs it (counting, the row texts with "Факт", sorting, the chart data).
//   table/CODE           offset 0: "Факт" finds nothing after the sample
//   table_offset/CODE    offset 500: "Факт" searches the hidden draws
// The slowest method of each kind is printed at the end; the tab must feel
// instant, so anything near 100 ms is a fault.

#include "stats/StatTable.h"
#include "archive/DemoDraws.h"
#include "archive/DrawsArchive.h"
#include "core/Host.h"
#include "stats/StatList.h"

#include "BenchUtil.h"

#include <benchmark/benchmark.h>
#include <QDate>

#include <cstdio>
#include <string>
#include <vector>

using namespace lot;

namespace {

struct TFixture {
    bench::TQuietHost Host;
    TDrawsArchive Archive;
    TStatList Stats{&Archive};
    TStatTable Table{Host, Stats, Archive};

    TFixture() {
        for (const TDrawRec &d : MakeDemoDraws(2000, 7, QDate(2026, 1, 3)))
            Archive.Append(d);
        Stats.RegisterAll();
        Table.FillSelector(false);
        Table.SetSampleLength(1000);
    }
};

TFixture &Fixture() {
    static TFixture fixture;
    return fixture;
}

void ComputeTable(benchmark::State &state, int selectorIndex, int offset) {
    TFixture &f = Fixture();
    f.Archive.SetOffset(offset);
    f.Table.SetSelectorIndex(selectorIndex);
    for (auto _ : state) {
        f.Table.ComputeStatistics(true);
        benchmark::DoNotOptimize(f.Table.RowCount());
    }
    state.counters["rows"] = f.Table.RowCount();
}

/// Remembers the slowest run of each benchmark family.
class TSlowestReporter : public benchmark::ConsoleReporter {
public:
    struct TSlowest {
        std::string Name;
        double Ms = 0;
    };
    void ReportRuns(const std::vector<Run> &runs) override {
        for (const Run &run : runs) {
            const double ms =
                run.GetAdjustedRealTime() * 1000.0 / benchmark::GetTimeUnitMultiplier(run.time_unit);
            const std::string name = run.benchmark_name();
            TSlowest &slot = name.rfind("table_offset/", 0) == 0 ? m_offset : m_plain;
            if (ms > slot.Ms) slot = {name, ms};
        }
        ConsoleReporter::ReportRuns(runs);
    }
    void Finalize() override {
        ConsoleReporter::Finalize();
        std::printf("slowest at offset 0:   %s %.2f ms\n", m_plain.Name.c_str(), m_plain.Ms);
        std::printf("slowest at offset 500: %s %.2f ms\n", m_offset.Name.c_str(), m_offset.Ms);
    }

private:
    TSlowest m_plain, m_offset;
};

} // namespace

int main(int argc, char **argv) {
    TFixture &f = Fixture();
    const QList<TSelectorItem> &items = f.Table.SelectorItems();
    for (int i = 0; i < items.size(); ++i) {
        const std::string code = f.Stats.EntryCode(items[i].Entry).toStdString();
        benchmark::RegisterBenchmark(("table/" + code).c_str(), ComputeTable, i, 0)
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("table_offset/" + code).c_str(), ComputeTable, i, 500)
            ->Unit(benchmark::kMillisecond);
    }
    benchmark::Initialize(&argc, argv);
    TSlowestReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
