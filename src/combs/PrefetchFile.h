#pragma once
/// @file Prefetch files: per statistic method, how many combinations of the
/// full set have each value. Binary, little-endian: one 12-byte record per
/// value key (the four key words, then the count), ascending by key, then a
/// 12-byte trailer (smallest count, largest count, 0).

#include "combs/HotLoop.h"
#include "core/Errors.h"
#include "core/Lottery.h"
#include "stats/StatKey.h"

#include <cstdint>
#include <cstring>
#include <functional>
#include <memory>
#include <QString>
#include <QtEndian>
#include <vector>

namespace lot {

class TCustomStat;

#pragma pack(push, 1)
/// One record of a prefetch file; the key bytes are the file bytes.
struct TPrefetchRec {
    TStatKey Key;
    int32_t Count = 0; ///< little-endian in the file
};
#pragma pack(pop)
static_assert(sizeof(TPrefetchRec) == 12, "a prefetch record is 12 bytes");

/// The counts of one method over the full set.
struct TPrefetchTable {
    std::vector<TPrefetchRec> Records; ///< ascending by key, keys unique
    int32_t MinCount = 0;              ///< smallest count (0 when there are no records)
    int32_t MaxCount = 0;              ///< largest count (0 when there are no records)

    /// The record of a key, or nullptr (binary search).
    const TPrefetchRec *Find(const TStatKey &key) const;
    /// Sum of all counts (the full set size times the values per combination).
    int64_t Total() const;
    friend bool operator==(const TPrefetchTable &, const TPrefetchTable &);
};

/// Largest number of records a prefetch file may hold: no method has more
/// distinct values than the full set has combinations.
inline constexpr int64_t MaxPrefetchRecords = FullSetSize;

/// Counts per value key. Most methods' keys are one small word (a number, a
/// sum, a count in w1); those are counted in plain arrays. Other keys go to an
/// open addressing table, so adding any key costs one hash probe whatever
/// the number of distinct values.
///
/// Each worker has its own counter, written on every addition: the alignment
/// keeps two counters off one cache line.
class alignas(128) TKeyCounter {
public:
    TKeyCounter();
    void Add(const TStatKey &key, int64_t count) {
        // The key's eight bytes as one little-endian number: w1 is its low word.
        uint64_t k;
        std::memcpy(&k, key.B, 8);
        k = qFromLittleEndian(k);
        if (k < SmallKeys) {
            // Consecutive additions go to rotating banks, so an addition
            // never waits for the store of the one before (the same key
            // often comes many times in a row over the ordered full set).
            m_small[(m_bank++ & (Banks - 1)) * SmallKeys + k] += count;
            m_smallUsed[k] = 1;
        } else {
            AddLarge(k, count);
        }
    }
    /// Adds 1 for each of n keys (the keys of one combination). The i-th
    /// key goes to bank i, so the additions of one combination never wait
    /// for each other, whatever keys repeat.
    void AddKeys(const TStatKey *keys, int n) {
        for (int i = 0; i < n; ++i) {
            uint64_t k;
            std::memcpy(&k, keys[i].B, 8);
            k = qFromLittleEndian(k);
            if (k < SmallKeys) {
                m_small[(uint64_t(i) & (Banks - 1)) * SmallKeys + k] += 1;
                m_smallUsed[k] = 1;
            } else {
                AddLarge(k, 1);
            }
        }
    }
    /// Adds every count of another counter.
    void Merge(const TKeyCounter &other);
    int Size() const;
    /// The counts as a sorted table with its smallest and largest count.
    /// Raises EError when a count does not fit the file's 32-bit field.
    TPrefetchTable ToTable() const;

private:
    static constexpr uint64_t SmallKeys = 4096; ///< keys made of a w1 below this alone
    static constexpr uint64_t Banks = 8;
    int64_t SmallCount(uint64_t k) const;
    void AddLarge(uint64_t key, int64_t count);
    void Grow();
    struct TSlot {
        uint64_t Key = 0; ///< the key's bytes, little-endian; 0 = empty (small keys never come here)
        int64_t Count = 0;
    };
    std::vector<int64_t> m_small; ///< Banks x SmallKeys counts
    std::vector<uint8_t> m_smallUsed;
    uint32_t m_bank = 0;
    std::vector<TSlot> m_slots;
    uint64_t m_mask = 0;
    int m_size = 0;
};

/// Adds the values of a run of combinations to a counter, as one method
/// instance produces them (its CombValues). One evaluator serves one worker.
using TCombValuesFn = std::function<void(const TComb *combs, int count, TKeyCounter &counter)>;

/// Counts the values of every combination of the full set. makeEvaluator is
/// called once per worker on the calling thread and gives that worker its
/// own evaluator (method instances are not shareable). With threads > 1 the
/// work is spread over that many threads; the table is the same as with one.
/// poll runs on the calling thread about a hundred times per pass (status
/// line, pending events).
TPrefetchTable CountFullSet(const std::function<TCombValuesFn()> &makeEvaluator, int threads,
                            const std::function<void(int percent)> &poll = {});

/// The evaluator of a method instance, by its fastest path: counts of the
/// numbers per position times their NumberKeys, else the keys of CombKeys,
/// else its CombValues into a small value list per combination; keys and
/// counts go to the counter. The instance must outlive it.
TCombValuesFn StatEvaluator(TCustomStat &stat);

/// Writes a prefetch file through a temporary file renamed over the target.
/// Raises EError with the system's message.
void WritePrefetchFile(const QString &fileName, const TPrefetchTable &table);

/// A prefetch file that can be read but is not well formed.
class EPrefetchFormatError : public EError {
public:
    using EError::EError;
};

/// Reads and checks a prefetch file. Raises EError with the system's message
/// when it cannot be read, and EPrefetchFormatError naming the fault when it
/// is not a well-formed prefetch file (size, order, counts, trailer).
TPrefetchTable ReadPrefetchFile(const QString &fileName);

} // namespace lot
