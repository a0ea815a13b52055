#pragma once
/// @file A set of draws' main numbers that answers "is this combination one
/// of those draws?" in constant time.

#include "core/Lottery.h"

#include <cstdint>
#include <cstring>
#include <functional>
#include <span>
#include <vector>

namespace lot {

namespace detail {
/// Bit n for the numbers 1..45; bit 0 for every other byte value.
extern const uint64_t NumberBits[256];
} // namespace detail

/// The numbers of a combination as a set: bit n for number n. Any byte
/// outside 1..45 shows as bit 0, so such a combination never looks like a
/// regular draw.
inline uint64_t CombMask(const TComb &c) {
    const uint64_t *bits = detail::NumberBits;
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
/// Two representations, both exact:
///  - up to PermutationDrawLimit draws (the usual "last N draws"), every
///    ordering of every draw's six bytes is stored, so a combination is
///    looked up by its own bytes with no sorting at all; a small filter
///    rejects almost every combination after one multiply and one load;
///  - for more draws, six distinct numbers 1..45 are matched through their
///    bit mask (one probe whatever the number of draws), and anything else
///    (repeated numbers, bytes outside 1..45, which only damaged input holds)
///    through sorted keys.
class TDrawKeySet {
public:
    static constexpr int PermutationDrawLimit = 128;

    TDrawKeySet() = default;
    explicit TDrawKeySet(std::span<const TDrawRec> draws);

    bool IsEmpty() const { return m_empty; }
    bool UsesPermutations() const { return m_permutations; }

    bool Contains(const TComb &c) const {
        if (m_empty) return false;
        return m_permutations ? ContainsBytes(CombBytesKey(c)) : ContainsMask(c);
    }

    /// Mask form. The table holds masks of six distinct numbers 1..45 only; a
    /// combination with a repeated number or a stray byte has another kind of
    /// mask and can never hit one, so the table answers first and exactly.
    bool ContainsMask(const TComb &c) const {
        const uint64_t m = CombMask(c);
        for (uint64_t i = (m * HashFactor) >> m_shift;; i = (i + 1) & m_slotMask) {
            const uint64_t s = m_slots[i];
            if (s == m) return true;
            if (s == EmptySlot) break;
        }
        return !m_irregularKeys.empty() && ContainsIrregular(c, m);
    }

    /// Permutation form: the combination with these bytes is in the set.
    bool ContainsBytes(uint64_t key) const {
        const uint64_t h = key * HashFactor;
        const uint64_t probe = FilterBits(h);
        if ((m_filter[h >> m_filterShift] & probe) != probe) return false;
        for (uint64_t i = h >> m_shift;; i = (i + 1) & m_slotMask) {
            const uint64_t s = m_slots[i];
            if (s == key) return true;
            if (s == EmptySlot) return false;
        }
    }

private:
    static constexpr uint64_t HashFactor = 0x9E3779B97F4A7C15ull;
    static constexpr uint64_t EmptySlot = ~uint64_t(0); ///< no 48-bit key looks like this

    /// Two bits of one filter word per key (a blocked Bloom filter): one
    /// load, and a false hit (a mispredicted branch and a table probe) about
    /// ten times rarer than with one bit.
    static uint64_t FilterBits(uint64_t h) {
        return uint64_t(1) << (h >> 20 & 63) | uint64_t(1) << (h >> 26 & 63);
    }
    bool ContainsIrregular(const TComb &c, uint64_t mask) const;
    void BuildPermutations(std::span<const TDrawRec> draws);
    void BuildMasks(std::span<const TDrawRec> draws);
    void BuildTable(const std::vector<uint64_t> &keys);

    bool m_empty = true;
    bool m_permutations = false;
    std::vector<uint64_t> m_slots;  ///< open addressing table of keys (bytes or masks)
    std::vector<uint64_t> m_filter; ///< permutation form: filter words, chosen by the top hash bits
    uint64_t m_slotMask = 0;
    int m_shift = 63;
    int m_filterShift = 63;
    std::vector<uint64_t> m_irregularKeys; ///< mask form: sorted keys of the other draws, ascending
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
