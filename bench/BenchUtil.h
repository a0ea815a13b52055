#pragma once
// What the benchmark programs share: a host that keeps quiet, and the
// reporter that ends a run with every result as a ratio to its floor, the
// copy of the full list measured in the same run.

#include "combs/CombGenerator.h"
#include "core/Host.h"

#include <benchmark/benchmark.h>
#include <QFile>

#include <cstdio>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

namespace lot::bench {

class TQuietHost : public IHost {
public:
    void ShowStatus(const QString &) override {}
    void ShowError(const QString &text) override { std::fprintf(stderr, "%s\n", qPrintable(text)); }
    void ShowInformation(const QString &) override {}
    void ShowAttention(const QString &) override {}
    void ShowWarning(const QString &) override {}
    bool Confirm(const QString &, const QString &, bool) override { return false; }
};

/// The full combination list and a target of its size: the floor of the
/// list benchmarks is one copy of the list into the target.
struct TFullList {
    std::vector<TComb> Source;
    std::vector<TComb> Target;

    TFullList() : Source(size_t(FullSetSize)), Target(size_t(FullSetSize)) {
        Source.resize(size_t(GenerateInto(cgmFullSet, 0, Source.data())));
    }
    void Copy() {
        std::memcpy(Target.data(), Source.data(), Source.size() * sizeof(TComb));
        benchmark::DoNotOptimize(Target.data());
        benchmark::ClobberMemory();
    }
};

/// A "kB" field of /proc/self/status ("VmHWM:", "VmRSS:"); -1 when unknown.
inline long StatusKb(const char *field) {
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly)) return -1;
    for (const QByteArray &line : f.readAll().split('\n'))
        if (line.startsWith(field))
            return line.mid(int(qstrlen(field))).trimmed().split(' ').first().toLong();
    return -1;
}

/// The console output plus, at the end, every result as a ratio to the first
/// benchmark whose name starts with floorName; floorLabel names the floor in
/// the summary.
class TRatioReporter : public benchmark::ConsoleReporter {
public:
    explicit TRatioReporter(std::string floorName, std::string floorLabel = "the copy of the full list")
        : m_floor(std::move(floorName)), m_label(std::move(floorLabel)) {}

    void ReportRuns(const std::vector<Run> &runs) override {
        ConsoleReporter::ReportRuns(runs);
        // Single runs, or the medians when repetitions are aggregated.
        for (const Run &r : runs)
            if (!r.error_occurred &&
                ((r.run_type == Run::RT_Iteration && r.repetitions <= 1) || r.aggregate_name == "median"))
                m_times.emplace_back(r.benchmark_name(), r.GetAdjustedRealTime());
    }
    void Finalize() override {
        ConsoleReporter::Finalize();
        double floor = 0;
        for (const auto &[name, t] : m_times)
            if (floor <= 0 && name.rfind(m_floor, 0) == 0) floor = t;
        if (floor <= 0) return;
        std::printf("\nratio to %s (%.2f ms):\n", m_label.c_str(), floor);
        for (const auto &[name, t] : m_times)
            std::printf("  %-44s %8.2f ms  %6.2fx\n", name.c_str(), t, t / floor);
    }

private:
    std::string m_floor;
    std::string m_label;
    std::vector<std::pair<std::string, double>> m_times;
};

} // namespace lot::bench
