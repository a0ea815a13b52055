#pragma once
/// @file Counts of value keys over many combinations: the counter the
/// methods count into and the sorted table it gives, which is also the
/// content of a prefetch file.

#include "stats/StatKey.h"

#include <cstdint>
#include <cstring>
#include <QtEndian>
#include <vector>

namespace lot {

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

} // namespace lot
