#include "stats/KeyedStat.h"

namespace lot {

void TKeyOccurrences::Reset(int lastIdx, bool sorted, size_t drawCount) {
    m_at.clear();
    m_built = true;
    m_lastIdx = lastIdx;
    m_sorted = sorted;
    m_drawCount = drawCount;
}

void TKeyOccurrences::Finish() {
    std::sort(m_at.begin(), m_at.end());
}

int TKeyOccurrences::FirstFrom(const TStatKey &key, int fromIdx) const {
    const uint64_t bits = key.Bits();
    const auto at = std::lower_bound(m_at.begin(), m_at.end(), TAt{bits, fromIdx});
    return at != m_at.end() && at->Key == bits ? at->DrawIdx : -1;
}

TSelectedKeys::TSelectedKeys(const TStatDrawArray &selected, TKeySearch search) : m_search(search) {
    if (selected.empty()) return; // a flat table of no entries: nothing is a hit
    uint64_t lo = UINT64_MAX, hi = 0;
    for (const TStatDraw &s : selected) {
        const uint64_t bits = s.Key.Bits() & search;
        lo = std::min(lo, bits);
        hi = std::max(hi, bits);
    }
    if (hi - lo < FlatLimit) {
        m_min = lo;
        m_table.assign(size_t(hi - lo + 2), 0); // the last entry answers every key outside
        for (const TStatDraw &s : selected)
            m_table[size_t((s.Key.Bits() & search) - lo)] = 1;
        return;
    }
    m_flat = false;
    for (const TStatDraw &s : selected)
        m_sorted.push_back(s.Key.Bits() & search);
    std::sort(m_sorted.begin(), m_sorted.end());
    m_sorted.erase(std::unique(m_sorted.begin(), m_sorted.end()), m_sorted.end());
}

TAnyNumberMatcher::TAnyNumberMatcher(const std::array<uint8_t, 256> &hits) : m_pairs(1 << 16) {
    for (int a = 0; a < 256; ++a)
        for (int b = 0; b < 256; ++b)
            m_pairs[size_t(a | b << 8)] = uint8_t(hits[size_t(a)] | hits[size_t(b)]);
}

} // namespace lot
