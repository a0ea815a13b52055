#include "stakes/StakesChecker.h"

#include "archive/DrawsArchive.h"
#include "core/CoreHelpers.h"
#include "core/Format.h"
#include "core/Host.h"
#include "stakes/StakesFile.h"
#include "stats/StatList.h"

#include <vector>

namespace lot {

TStakesChecker::TStakesChecker(IHost &host, TStakesFile &file, const TDrawsArchive &archive,
                               const TStatList &registry)
    : m_host(host), m_file(file), m_archive(archive), m_registry(registry) {}

TStakeRec TStakesChecker::Checked(const TStakeRec &rec, const TDrawRec &draw, const TStatList &registry) {
    TStakeRec r = rec;
    r.Checked = 1;
    for (int i = 0; i < CombSize; ++i)
        r.DrawResult[i] = draw.Numbers[i];
    r.DrawResult[6] = r.DrawResult[7] = 0;
    r.Overlaps = IntersectDraw(draw, r.Numbers);
    r.Profit = registry.StakeProfit(StakeNumberCount(r), r.Overlaps.Count).Units;
    return r;
}

const TDrawRec *TStakesChecker::FindDraw(int drawNumber) {
    // A batch's stakes share their draw: one lookup serves them all, also
    // when the draw is not in yet (a miss scans the whole archive).
    if (m_hasLast && drawNumber == m_lastNumber) return m_lastDraw;
    const int index = m_archive.FindDrawIndex(drawNumber);
    m_hasLast = true;
    m_lastNumber = drawNumber;
    m_lastDraw = index >= 0 ? &m_archive.At(index) : nullptr;
    return m_lastDraw;
}

qint64 TStakesChecker::Run(const TOnChecked &onChecked) {
    const qint64 count = m_file.Count();
    // The progress step is one hundredth of what is left to scan, measured
    // over the whole file and again from the first candidate on, where the
    // count of scanned records starts afresh.
    qint64 toScan = count;
    qint64 step = std::max<qint64>(1, toScan / 100);
    qint64 scanned = 0;
    bool candidateMet = false;
    qint64 checked = 0;

    std::vector<TStakeRec> block(static_cast<size_t>(TStakesFile::BlockRecords));
    std::vector<qint64> done;
    for (qint64 at = 0; at < count;) {
        const qint64 got =
            m_file.ReadRecords(at, block.data(), std::min(TStakesFile::BlockRecords, count - at));
        if (got <= 0) break;
        qint64 first = -1, last = -1;
        done.clear();
        for (qint64 i = 0; i < got; ++i) {
            TStakeRec &rec = block[size_t(i)];
            const bool candidate = IsCheckCandidate(rec);
            if (candidate && !candidateMet) {
                candidateMet = true;
                toScan = count - (at + i + 1);
                step = std::max<qint64>(1, toScan / 100);
                scanned = 0;
            } else {
                ++scanned;
                if (scanned % step == 0 && toScan > 0)
                    m_host.ShowStatus(
                        Format(QStringLiteral("Проверка результатов ставок ( завершено %.0f %% )..."),
                               {100.0 * double(scanned) / double(toScan)}));
            }
            if (!candidate) continue;
            const TDrawRec *draw = FindDraw(rec.DrawNumber);
            if (!draw) continue;
            rec = Checked(rec, *draw, m_registry);
            if (first < 0) first = i;
            last = i;
            done.push_back(i);
        }
        if (first >= 0) {
            m_file.WriteRecords(at + first, block.data() + first, last - first + 1);
            checked += qint64(done.size());
            if (onChecked)
                for (qint64 i : done)
                    onChecked(block[size_t(i)]);
        }
        at += got;
    }
    return checked;
}

} // namespace lot
