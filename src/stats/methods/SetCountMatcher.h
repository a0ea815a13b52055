#pragma once
/// @file The fast matcher of the members that count how many numbers of a
/// combination lie in a set of numbers (repeats, transition counts).

#include "core/Lottery.h"
#include "stats/KeyedStat.h"

#include <array>
#include <cstdint>

namespace lot::detail {

/// How many numbers of a combination lie in a set, the set's numbers as one
/// bit per byte value (duplicates of a number count once, as in the
/// combination's mask), and the selected counts as a table.
class TNumberSetCountMatcher final : public TInlineCombMatcher<TNumberSetCountMatcher> {
public:
    /// hits[n] is set when a combination with n numbers in the set matches.
    using THits = std::array<uint8_t, CombSize + 1>;

    TNumberSetCountMatcher(uint64_t set, const THits &hits) : m_hits(hits) {
        for (int b = 1; b < 64; ++b)
            m_bit[size_t(b)] = set & uint64_t(1) << b;
    }
    /// The counts selected as keys whose first word is the count.
    TNumberSetCountMatcher(uint64_t set, const TSelectedKeys &keys)
        : TNumberSetCountMatcher(set, HitsOf(keys)) {}

    bool Matches(const TComb &c) const override { return Bit(c) != 0; }
    bool IsThreadSafe() const override { return true; }
    unsigned Bit(const TComb &c) const {
        const uint64_t m = m_bit[c[0]] | m_bit[c[1]] | m_bit[c[2]] | m_bit[c[3]] | m_bit[c[4]] | m_bit[c[5]];
        return m_hits[size_t(__builtin_popcountll(m))];
    }

private:
    static THits HitsOf(const TSelectedKeys &keys) {
        THits hits{};
        for (int n = 0; n <= CombSize; ++n)
            hits[size_t(n)] = uint8_t(keys.Bit(TStatKey::FromWords(uint16_t(n))));
        return hits;
    }

    std::array<uint64_t, 256> m_bit{};
    THits m_hits{};
};

} // namespace lot::detail
