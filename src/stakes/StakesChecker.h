#pragma once
/// @file TStakesChecker: CheckStakes' pass over the stakes file, which
/// records the draw's numbers in every unchecked stake whose draw is in the
/// archive, counts and prices its overlaps and writes it back.

#include "stakes/StakeRec.h"

#include <functional>

namespace lot {

class IHost;
class TDrawsArchive;
class TStakesFile;
class TStatList;

class TStakesChecker {
public:
    /// Called for every stake once it is checked and stored, in file order.
    using TOnChecked = std::function<void(const TStakeRec &rec)>;

    TStakesChecker(IHost &host, TStakesFile &file, const TDrawsArchive &archive, const TStatList &registry);

    /// Reads the file once from the start, block by block. A candidate (not
    /// checked, a positive draw number, six to eight numbers) whose draw is
    /// in the archive gets checked 1, the draw's six main numbers, the
    /// overlaps IntersectDraw and the profit StakeProfit(count, overlaps);
    /// the block's changed records are written back before onChecked runs
    /// for them. Shows "Проверка результатов ставок ( завершено %.0f %% )..."
    /// about a hundred times. Raises EError; the records written before the
    /// error stay checked. Returns the number of stakes checked.
    qint64 Run(const TOnChecked &onChecked);

    /// The stake as checked against draw.
    static TStakeRec Checked(const TStakeRec &rec, const TDrawRec &draw, const TStatList &registry);

private:
    const TDrawRec *FindDraw(int drawNumber);

    IHost &m_host;
    TStakesFile &m_file;
    const TDrawsArchive &m_archive;
    const TStatList &m_registry;
    bool m_hasLast = false;
    int m_lastNumber = 0;
    const TDrawRec *m_lastDraw = nullptr;
};

} // namespace lot
