#pragma once
/// @file A set of draws' main numbers that answers "is this combination one
/// of those draws?" in constant time.

#include "core/Lottery.h"

#include <array>
#include <cstdint>
#include <cstring>
#include <functional>
#include <span>
#include <vector>

namespace lot {

namespace detail {
/// Bit n for the numbers 1..45; bit 0 for every other byte value.
extern const std::array<uint64_t, 256> NumberBits;
} // namespace detail

/// The numbers of a combination as a set: bit n for number n. Any byte
/// outside 1..45 shows as bit 0, so such a combination never looks like a
/// regular draw.
inline uint64_t CombMask(const TComb &c) {
    const std::array<uint64_t, 256> &bits = detail::NumberBits;
    return bits[c.N[0]] | bits[c.N[1]] | bits[c.N[2]] | bits[c.N[3]] | bits[c.N[4]] | bits[c.N[5]];
}

/// The six bytes of a combination, in their order, as one integer.
inline uint64_t CombBytesKey(const TComb &c) {
    uint32_t lo;
    uint16_t hi;
    std::memcpy(&lo, c.N, 4);
    std::memcpy(&hi, c.N + 4, 2);
    return uint64_t(lo) | uint64_t(hi) << 32;
}

/// The six numbers sorted and packed into one integer: two combinations hold
/// the same numbers in any order exactly when their keys are equal.
uint64_t SortedCombKey(const TComb &c);

/// Main numbers of a range of draws. A combination is "in" the set when it
/// holds the same six numbers as one of the draws, in any order (the same
/// multiset: a combination with a repeated number never equals a draw of
/// six distinct numbers).
///
/// The exact test: a draw of six distinct numbers 1..45 is kept as its bit
/// mask in a small open addressing table (one probe whatever the number of
/// draws); any other draw (repeated numbers, bytes outside 1..45, which only
/// damaged input holds) as a sorted key.
///
/// In front of it, for up to FilterDrawLimit draws (the usual "last N
/// draws"), a filter over every ordering of every draw's six bytes: a
/// combination is hashed by its own bytes, with no sorting and no table
/// lookups, and almost every one is turned away after one multiply and one
/// load of a 32 KB array.
class TDrawKeySet {
public:
    static constexpr int FilterDrawLimit = 128;

    TDrawKeySet() = default;
    explicit TDrawKeySet(std::span<const TDrawRec> draws);

    bool IsEmpty() const { return m_empty; }
    bool HasFilter() const { return !m_filter.empty(); }

    bool Contains(const TComb &c) const {
        if (m_empty) return false;
        if (HasFilter() && !PassesFilter(CombBytesKey(c))) return false;
        return ContainsMask(c);
    }

    /// The filter, for loops that keep it in registers.
    struct TFilter {
        const uint64_t *Words;
        int Shift;
        /// False when the combination with these six bytes (CombBytesKey) is
        /// certainly not in the set; true when it may be.
        bool Passes(uint64_t key) const {
            const uint64_t h = key * HashFactor;
            const uint64_t probe = FilterBits(h);
            return (Words[h >> Shift] & probe) == probe;
        }
    };
    TFilter Filter() const { return {m_filter.data(), m_filterShift}; }
    bool PassesFilter(uint64_t key) const { return Filter().Passes(key); }

    /// The exact test. The table holds masks of six distinct numbers 1..45
    /// only; a combination with a repeated number or a stray byte has another
    /// kind of mask and can never hit one, so the table answers first.
    bool ContainsMask(const TComb &c) const {
        const uint64_t m = CombMask(c);
        for (uint64_t i = (m * HashFactor) >> m_shift;; i = (i + 1) & m_slotMask) {
            const uint64_t s = m_slots[i];
            if (s == m) return true;
            if (s == EmptySlot) break;
        }
        return !m_irregularKeys.empty() && ContainsIrregular(c, m);
    }

private:
    static constexpr uint64_t HashFactor = 0x9E3779B97F4A7C15ull;
    static constexpr uint64_t EmptySlot = ~uint64_t(0); ///< no mask looks like this

    /// Two bits of one filter word per key (a blocked Bloom filter): one
    /// load, and a false pass (a mispredicted branch and the exact test)
    /// about ten times rarer than with one bit. The bits come from the
    /// middle of the product, which depends on all six bytes.
    static uint64_t FilterBits(uint64_t h) {
        return uint64_t(1) << (h >> 34 & 63) | uint64_t(1) << (h >> 40 & 63);
    }
    bool ContainsIrregular(const TComb &c, uint64_t mask) const;
    void BuildFilter(std::span<const TDrawRec> draws);
    void BuildMasks(std::span<const TDrawRec> draws);

    bool m_empty = true;
    std::vector<uint64_t> m_slots;  ///< masks of the regular draws, open addressing
    std::vector<uint64_t> m_filter; ///< filter words, chosen by the top hash bits; empty = no filter
    uint64_t m_slotMask = 0;
    int m_shift = 63;
    int m_filterShift = 63;
    std::vector<uint64_t> m_irregularKeys; ///< sorted keys of the other draws, ascending
};

/// Copies the combinations of src that are not in the set to dst, in order,
/// and returns how many were copied. dst may equal src (in-place compaction).
int CopyExceptDraws(const TComb *src, int count, TComb *dst, const TDrawKeySet &set);

/// The same on several threads, with the same result element for element:
/// each thread compacts its own part of src into dst at that part's own
/// position, then the parts are moved together in order. progress runs on
/// the calling thread about a hundred times with an estimate of the
/// combinations done. src and dst must not overlap.
int CopyExceptDrawsParallel(const TComb *src, int count, TComb *dst, const TDrawKeySet &set, int threads,
                            const std::function<void(int done)> &progress = {});

} // namespace lot
