#include "stats/GraphViews.h"

#include "core/Errors.h"
#include "core/Format.h"
#include "stats/CustomStatBases.h"
#include "stats/StatList.h"

#include <algorithm>
#include <map>
#include <memory>
#include <QHash>

namespace lot {

TGraphSample ComputeGraphSample(const TStatList &registry, int entry, int offset, int length, bool sorted) {
    TGraphSample sample;
    const TDrawsArray &draws = registry.DrawsArray();
    const int last = int(draws.size()) - 1 - std::max(0, offset);
    if (entry < 0 || entry >= registry.Count() || last < 0 || length < 1 || !registry.HasGraph(entry))
        return sample;
    const std::unique_ptr<TCustomStat> stat = registry.CreateStat(entry);
    auto *graph = dynamic_cast<TCustomGraphStat *>(stat.get());
    if (!graph) return sample;
    const int first = std::max(0, last - length + 1);
    QHash<int, int> tally;
    QList<int> seen; // the values in order of first appearance
    double sum = 0;
    for (int i = first; i <= last; ++i) {
        const int y = graph->DrawGraphValue(i, last, sorted);
        sample.Points.append({draws[size_t(i)].DrawNumber, y});
        sum += y;
        if (++tally[y] == 1) seen.append(y);
    }
    int best = 0;
    for (int y : seen)
        if (tally.value(y) > best) {
            best = tally.value(y);
            sample.Mode = y;
        }
    sample.Mean = sum / double(last - first + 1);
    return sample;
}

QList<TDetailValue> DetailValues(const TStatList &registry, const TComb &numbers, int position, bool sorted) {
    QList<TDetailValue> rows;
    for (int i = 0; i < registry.Count(); ++i) {
        if (!registry.HasGraph(i) || !registry.IsShownInStatistics(i)) continue;
        // A fresh instance for the position: methods that read earlier draws
        // read them from there.
        const std::unique_ptr<TCustomStat> stat = registry.CreateStat(i);
        auto *graph = dynamic_cast<TCustomGraphStat *>(stat.get());
        if (!graph) continue;
        stat->LoadDraws(position, position - 1, sorted);
        QString caption = stat->InstanceCaption();
        // A shredding formula's caption takes the formula, as in the selectors.
        if (!registry.Items(i).Formula.isEmpty()) {
            try {
                caption = Format(caption, {registry.Items(i).Formula});
            } catch (const EError &) {
            }
        }
        rows.append({i, caption, graph->GraphValue(numbers, position)});
    }
    return rows;
}

QString TSumsDistribution::RangeTitle(int k) const {
    static const char *const parts[3] = {"1/3", "1/2", "2/3"};
    k = std::clamp(k, 0, 2);
    return Format(QStringLiteral("Диапазон %d (от %s и выше по оси Y) - суммы %d-%d"),
                  {k + 1, QString::fromLatin1(parts[k]), Ranges[k].Low, Ranges[k].High});
}

TSumsDistribution ComputeSumsDistribution(const TDrawsArray &draws) {
    TSumsDistribution d;
    // ways[k][s]: the k-number subsets of the numbers so far with sum s. The
    // same counts as enumerating the full set, without the 8 million steps.
    constexpr int MaxSum = 255;
    std::vector<std::vector<qint64>> ways(CombSize + 1, std::vector<qint64>(MaxSum + 1, 0));
    ways[0][0] = 1;
    for (int n = 1; n <= NumberCount; ++n)
        for (int k = CombSize; k >= 1; --k)
            for (int s = MaxSum; s >= n; --s)
                ways[size_t(k)][size_t(s)] += ways[size_t(k - 1)][size_t(s - n)];
    for (int s = 0; s <= MaxSum; ++s)
        if (ways[CombSize][size_t(s)] > 0) d.Theoretical.append({s, ways[CombSize][size_t(s)]});

    std::map<int, qint64> actual;
    for (const TDrawRec &draw : draws) {
        int sum = 0;
        for (uint8_t n : draw.Numbers)
            sum += n;
        ++actual[sum];
    }
    for (const auto &[sum, count] : actual)
        d.Actual.append({sum, count});

    d.MinT = d.Theoretical.isEmpty() ? 0 : d.Theoretical.first().Count;
    for (const TSumsDistribution::TTally &t : d.Theoretical) {
        d.MaxT = std::max(d.MaxT, t.Count);
        d.MinT = std::min(d.MinT, t.Count);
    }
    for (const TSumsDistribution::TTally &t : d.Actual)
        d.MaxA = std::max(d.MaxA, t.Count);
    const qint64 span = d.MaxT - d.MinT + 1;
    d.Thresholds[0] = d.MinT + span / 3;
    d.Thresholds[1] = d.MinT + span / 2;
    d.Thresholds[2] = d.MinT + span * 2 / 3;
    const qsizetype n = d.Theoretical.size();
    for (int k = 0; k < 3; ++k) {
        for (qsizetype i = 0; i < n / 2; ++i)
            if (d.Theoretical[i].Count >= d.Thresholds[k]) {
                d.Ranges[k].Low = d.Theoretical[i].Sum;
                break;
            }
        for (qsizetype i = n - 1; i >= n / 2; --i)
            if (d.Theoretical[i].Count >= d.Thresholds[k]) {
                d.Ranges[k].High = d.Theoretical[i].Sum;
                break;
            }
    }
    return d;
}

} // namespace lot
