#include "stats/methods/SegmentMethods.h"

#include "core/Format.h"
#include "stats/StatList.h"

namespace lot {

TSegmentLayout::TSegmentLayout(const TSegmentMap &map) {
    for (int n = 1; n <= NumberCount; ++n) {
        const uint8_t s = map[size_t(n - 1)];
        if (s == 0) continue;
        m_of[size_t(n)] = s;
        int slot = 0;
        while (slot < m_count && m_order[size_t(slot)] != s)
            ++slot;
        if (slot == m_count) m_order[size_t(m_count++)] = s;
        m_slot[size_t(n)] = uint8_t(slot + 1);
        if (m_max < m_min) {
            m_min = m_max = s;
        } else {
            m_min = std::min<int>(m_min, s);
            m_max = std::max<int>(m_max, s);
        }
    }
}

detail::TSegmentCountsMatcher::TSegmentCountsMatcher(const TSegmentLayout &segments,
                                                     const TStatDrawArray &selected)
    : m_slots(segments.Slots()), m_count(segments.Count()) {
    for (int b = 0; b < 256; ++b) {
        const int slot = m_slots[size_t(b)];
        m_field[size_t(b)] = uint64_t(1) << (4 * (slot >= 1 && slot <= MaxPacked ? slot - 1 : 15));
    }
    for (const TStatDraw &v : selected) {
        if (v.Key.W(3) != 0 || v.Key.W(4) != 0 || v.Key.W(2) > CombSize) continue;
        for (int s = 1; s <= m_count; ++s)
            if (segments.Order()[size_t(s - 1)] == v.Key.W(1))
                m_hitMask[size_t(s)] |= uint8_t(1u << v.Key.W(2));
    }
}

unsigned detail::TSegmentCountsMatcher::Counted(const TComb &c) const {
    std::array<uint8_t, NumberCount + 1> counts{};
    for (int i = 0; i < CombSize; ++i)
        ++counts[m_slots[c[i]]];
    unsigned hit = 0;
    for (int s = 1; s <= m_count; ++s)
        hit |= m_hitMask[size_t(s)] >> counts[size_t(s)];
    return hit & 1;
}

TSegmentLayout TSegmentLayout::Of(const TStatList &list) {
    return TSegmentLayout(list.MatrixSegments());
}

TCustomSegmentsStat::TCustomSegmentsStat(const TStatList &list, int param)
    : TCustomStat(list, param), m_segments(TSegmentLayout::Of(list)) {}

TCustomSegmentsGraphStat::TCustomSegmentsGraphStat(const TStatList &list, int param)
    : TCustomGraphStat(list, param), m_segments(TSegmentLayout::Of(list)) {}

QString SegmentTupleCaption(int size, bool windows) {
    return Format(windows ? QStringLiteral("Сочетания из %0:d сегментов по соседним числам")
                          : QStringLiteral("Сочетания из %0:d сегментов по всем числам тиража"),
                  {size});
}

void TstSegmValues::CountCombKeys(const TComb *combs, int count, TKeyCounter &counter) {
    if (!List().FastPaths()) {
        TKeyedStat::CountCombKeys(combs, count, counter);
        return;
    }
    const int n = m_segments.Count();
    const TPlaceTable &order = m_segments.Slots();
    std::vector<int64_t> seen(size_t(n + 1) * (CombSize + 1), 0); // [place][count]
    for (int i = 0; i < count; ++i) {
        std::array<uint8_t, NumberCount + 1> counts{};
        for (int p = 0; p < CombSize; ++p)
            ++counts[order[combs[i][p]]];
        for (int s = 1; s <= n; ++s)
            ++seen[size_t(s) * (CombSize + 1) + counts[size_t(s)]];
    }
    for (int s = 1; s <= n; ++s)
        for (int k = 0; k <= CombSize; ++k)
            if (const int64_t times = seen[size_t(s) * (CombSize + 1) + size_t(k)]; times > 0)
                counter.Add(TStatKey::FromWords(m_segments.Order()[size_t(s - 1)], uint16_t(k)), times);
}

void TstSegments::EnumAllValues(int lastIdx, TStatDrawArray &values) {
    TKeyedStat::EnumAllValues(lastIdx, values);
    for (int s = 0; s < m_segments.Count(); ++s)
        AddListed(values, TStatKey::FromWords(m_segments.Order()[size_t(s)]));
}

TParamRange TstSgmValCnt::GetParamRange(const TStatList &list) {
    const TSegmentLayout segments = TSegmentLayout::Of(list);
    return {segments.Min(), segments.Max()};
}

} // namespace lot
