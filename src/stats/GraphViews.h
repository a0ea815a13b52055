#pragma once
/// @file What the graph views plot: the graph value of one method over a
/// sample of the archive with its mean and mode, the graph values of one
/// draw or combination under every graph method, and the distribution of
/// draw sums beside the full set's.

#include "core/Lottery.h"

#include <QList>
#include <QString>
#include <vector>

namespace lot {

class TStatList;

struct TGraphPoint {
    int X = 0; ///< the draw number
    int Y = 0; ///< the graph value
};

/// The graph of one method over a sample.
struct TGraphSample {
    QList<TGraphPoint> Points; ///< oldest first
    double Mean = 0;           ///< "Среднее значение"
    /// "Наиболее часто встречающееся значение": the first value, in order
    /// of first appearance, that reaches the highest tally.
    int Mode = 0;
};

/// Over archive entries max(0, last − length + 1)..last with last = newest
/// index − offset; empty when the archive is empty, the entry has no graph
/// or the offset leaves no draw. Entries are read sorted when `sorted`.
TGraphSample ComputeGraphSample(const TStatList &registry, int entry, int offset, int length, bool sorted);

/// One row of the detail window: an entry's caption and the graph value.
struct TDetailValue {
    int Entry = -1;
    QString Caption;
    int Value = 0;
};

/// The graph values of six numbers under every entry whose class has a
/// graph and is shown in statistics, each from a fresh instance loaded at
/// archive position `position` (the entry the numbers stand for).
QList<TDetailValue> DetailValues(const TStatList &registry, const TComb &numbers, int position, bool sorted);

/// The sums distribution: tallies by sum, thresholds and ranges.
struct TSumsDistribution {
    struct TTally {
        int Sum = 0;
        qint64 Count = 0;
    };
    QList<TTally> Theoretical; ///< every sum 21..255 over the full set, by sum
    QList<TTally> Actual;      ///< the sums the archive's draws have, by sum
    qint64 MaxT = 0, MinT = 0, MaxA = 0;
    qint64 Thresholds[3] = {};
    struct TRange {
        int Low = 0, High = 0;
    };
    TRange Ranges[3];

    /// "Диапазон %d (от %s и выше по оси Y) - суммы %d-%d" of range k (0..2).
    QString RangeTitle(int k) const;
    /// A theoretical count on the scale of the actual tally: count / maxT × maxA.
    double Scaled(double count) const { return MaxT > 0 ? count / double(MaxT) * double(MaxA) : 0; }
};

TSumsDistribution ComputeSumsDistribution(const TDrawsArray &draws);

inline const QString SumsDistributionCaption =
    QStringLiteral("Распределение сумм тиражей и всех возможных комбинаций");
inline const QString ActualSumsTitle = QStringLiteral("Фактическое распределение сумм (по тиражам)");
inline const QString TheoreticalSumsTitle =
    QStringLiteral("Теоретическое распределение сумм (по комбинациям)");
inline const QString GraphMeanTitle = QStringLiteral("Среднее значение");
inline const QString GraphModeTitle = QStringLiteral("Наиболее часто встречающееся значение");

} // namespace lot
