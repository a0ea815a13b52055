#pragma once
// Helpers of the stakes tests: a stakes controller over a temporary data
// folder with the archive, the registry and the combination list it reads,
// and small records and files.

#include "archive/ArchiveController.h"
#include "combs/CombsController.h"
#include "core/DataFolder.h"
#include "core/WindowSettings.h"
#include "stakes/StakesController.h"
#include "stats/StatsController.h"

#include <cstring>
#include <initializer_list>
#include <QByteArray>
#include <QFile>
#include <QString>
#include <vector>

#include <ostream>

/// Readable QString values in failure messages.
inline void PrintTo(const QString &s, std::ostream *os) {
    *os << '"' << s.toStdString() << '"';
}

namespace lot::stakestest {

/// What a stakes controller reads, owned together (constructed before it).
struct TStakesDeps {
    TWindowSettings Settings;
    TArchiveController Archive;
    TStatsController Stats;
    TCombsController Combs;
    TStakesDeps(IHost &host, const TDataFolder &folder)
        : Archive(host, folder, Settings), Stats(host, folder, Settings, Archive), Combs(host) {}
};

/// A stakes controller with its own archive, registry, list and settings.
class TTestStakes : public TStakesDeps, public TStakesController {
public:
    TTestStakes(IHost &host, const TDataFolder &folder)
        : TStakesDeps(host, folder),
          TStakesController(host, folder, Settings, Archive, Stats.Registry(), Combs) {}

    /// Cost and prize rows (overlaps, prize) in whole money units.
    void SetPrizes(double cost, std::initializer_list<std::pair<int, double>> prizes) {
        TConfigData config = Stats.Registry().Config();
        config.Cost = TMoney::FromDouble(cost);
        config.Profits.clear();
        for (const auto &[overlaps, prize] : prizes)
            config.Profits.push_back(TProfitItem{uint8_t(overlaps), TMoney::FromDouble(prize)});
        Stats.Registry().SetConfig(config);
    }
};

inline TDrawRec Draw(int number, std::initializer_list<int> mains) {
    TDrawRec d;
    d.DrawNumber = number;
    int i = 0;
    for (int n : mains)
        d.Numbers[i++] = uint8_t(n);
    d.Extra[0] = 44;
    d.Extra[1] = 45;
    return d;
}

inline TNumberSet Numbers(std::initializer_list<int> numbers) {
    TNumberSet s;
    for (int n : numbers)
        s.Numbers[s.Count++] = uint8_t(n);
    return s;
}

/// An unchecked stake of kind, draw and numbers.
inline TStakeRec Stake(int drawNumber, std::initializer_list<int> numbers, uint8_t kind = skManual) {
    TStakeRec rec;
    rec.Kind = kind;
    rec.DrawNumber = drawNumber;
    rec.Numbers = Numbers(numbers);
    SetStakeComment(rec, QStringLiteral("тест"));
    return rec;
}

/// A checked stake with overlap count o (its numbers do not matter).
inline TStakeRec CheckedStake(int drawNumber, int o) {
    TStakeRec rec = Stake(drawNumber, {1, 2, 3, 4, 5, 6});
    rec.Checked = 1;
    rec.Overlaps.Count = o;
    return rec;
}

inline QByteArray RecordBytes(const TStakeRec &rec) {
    return QByteArray(reinterpret_cast<const char *>(&rec), int(sizeof rec));
}

inline QByteArray ReadAll(const QString &path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

/// The records of a stakes file on disk.
inline std::vector<TStakeRec> RecordsOnDisk(const QString &path) {
    const QByteArray bytes = ReadAll(path);
    std::vector<TStakeRec> recs(size_t(bytes.size() / 312));
    if (!recs.empty()) std::memcpy(static_cast<void *>(recs.data()), bytes.constData(), recs.size() * 312);
    return recs;
}

} // namespace lot::stakestest
