#pragma once
/// @file TPrefetchFiles: building and opening the prefetch files of the
/// registered statistic methods ("<data>/Prefetchs/Brantlee_6x45_<code>.dfc").

#include "stats/PrefetchFile.h"

#include <cstdint>
#include <optional>
#include <QList>
#include <QString>

namespace lot {

class IHost;
class TStatList;
class TStatClass;
class TCustomStat;

/// Method groups 0..12 as bits of a group set.
inline constexpr uint16_t PrefetchGroupsNone = 0;
inline constexpr uint16_t PrefetchGroupsAll = 0x1FFF;
inline constexpr uint16_t PrefetchGroupBit(int group) {
    return group >= 0 && group < 16 ? uint16_t(1u << group) : uint16_t(0);
}
/// The group set of a list of groups (numbers outside 0..15 are ignored).
inline uint16_t PrefetchGroupSet(const QList<int> &groups) {
    uint16_t set = 0;
    for (int g : groups)
        set |= PrefetchGroupBit(g);
    return set;
}

/// Builds and opens prefetch files.
///
/// A build enumerates the full set by itself: the user's combination list
/// and its undo copy are left alone, so building a file (which the
/// statistics table may trigger at any time) never takes away the user's
/// undo. The enumeration runs on every core, each worker with its own method
/// instance (so CombValues must not share mutable state between instances);
/// the file is the same as with one thread, which SetThreads(1) gives.
class TPrefetchFiles {
public:
    TPrefetchFiles(IHost &host, const TStatList &stats);

    void SetDataDir(const QString &dir) { m_dataDir = dir; }
    const QString &DataDir() const { return m_dataDir; }
    /// The prefetch switch (window setting PrefetchsEnabled).
    bool Enabled() const { return m_enabled; }
    void SetEnabled(bool on) { m_enabled = on; }
    /// Worker threads of a build; 1 runs the plain sequential path.
    int Threads() const { return m_threads; }
    void SetThreads(int threads) { m_threads = threads < 1 ? 1 : threads; }

    /// "<data>/Prefetchs".
    QString PrefetchDir() const;
    /// "<data>/Prefetchs/Brantlee_6x45_<code>.dfc".
    QString FileNameForCode(const QString &code) const;
    QString FileName(const TStatClass &statClass, int param) const;

    /// Builds the file of one method (replacing an old one). On failure no
    /// file is left and EError "Ошибка создания файла данных для полного
    /// набора вариантов!\r\rИмя файла: %s\r\r%s" is raised.
    void CreatePrefetch(const TStatClass &statClass, int param);
    void CreatePrefetch(int entry);

    /// The counts of a method, or none when the switch is off or the method
    /// cannot prefetch. A missing or empty file is built first; so is a
    /// damaged one (wrong size, order, counts or trailer), since it could
    /// only mislead the statistics table. Raises EError with the creation
    /// message or "Ошибка открытия файла данных для полного набора
    /// вариантов!\r\rИмя файла: %s\r\r%s".
    std::optional<TPrefetchTable> OpenPrefetch(const TCustomStat &stat);
    std::optional<TPrefetchTable> OpenPrefetch(const TStatClass &statClass, int param);

    /// Builds, for every registered method that can prefetch, its file when
    /// it is missing or its group is in groups. Runs only when force is set
    /// or the switch is on. A progress window shows one step per registered
    /// method. Stops at the first failure, raising its error.
    void CreateAllPrefetchs(bool force, uint16_t groups);

    /// The counts of a method over the full set, computed with the given
    /// number of threads (1 = sequential), without touching any file.
    TPrefetchTable ComputeTable(const TStatClass &statClass, int param, int threads) const;

private:
    IHost &m_host;
    const TStatList &m_stats;
    QString m_dataDir;
    bool m_enabled = false;
    int m_threads;
};

} // namespace lot
