#pragma once
/// @file Group 5 methods: a free division of the numbers 1..45 into
/// segments, the segment digit of every number being a game setting
/// (MatrixSegments, read when the instance is made). They mirror the
/// channel methods: each number's segment, how many numbers each segment
/// holds, how many segments are occupied, the segments of every tuple and
/// run of positions (KGM2..KGM4, KGS2..KGS4) and the count in one segment
/// (SGM%d).
///
/// A byte outside 1..45 lies in no segment: it gives no segment value and
/// is not counted; in a tuple it stands as segment 0.

#include "stats/CustomStatBases.h"
#include "stats/KeyedStat.h"
#include "stats/methods/ChannelMethods.h"

#include <array>

namespace lot {

/// The segments of one segment map.
class TSegmentLayout {
public:
    /// A digit 0 (no segment) leaves its number outside every segment.
    explicit TSegmentLayout(const TSegmentMap &map);
    /// The layout of the registry's segment map.
    static TSegmentLayout Of(const TStatList &list);

    /// The segment of every byte value; 0 for none.
    const TPlaceTable &Places() const { return m_of; }
    /// The place of every byte value in Order() (1-based); 0 for none.
    const TPlaceTable &Slots() const { return m_slot; }
    /// How many distinct segments the numbers have.
    int Count() const { return m_count; }
    /// The distinct segments in order of their first number.
    const std::array<uint8_t, NumberCount> &Order() const { return m_order; }
    /// The smallest and the largest segment in use; Max < Min when none is.
    int Min() const { return m_min; }
    int Max() const { return m_max; }

private:
    TPlaceTable m_of{};
    TPlaceTable m_slot{};
    std::array<uint8_t, NumberCount> m_order{};
    int m_count = 0;
    int m_min = 1;
    int m_max = 0;
};

/// Base of the segment methods: group 5 and the segment map of the registry.
class TCustomSegmentsStat : public TCustomStat {
public:
    TCustomSegmentsStat(const TStatList &list, int param);
    static uint8_t Group() { return 5; }
    const TSegmentLayout &Segments() const { return m_segments; }

protected:
    const TSegmentLayout m_segments;
};

/// The graph base of the segment methods.
class TCustomSegmentsGraphStat : public TCustomGraphStat {
public:
    TCustomSegmentsGraphStat(const TStatList &list, int param);
    static uint8_t Group() { return 5; }
    const TSegmentLayout &Segments() const { return m_segments; }

protected:
    const TSegmentLayout m_segments;
};

/// SGMS: the segment of each number.
class TstSegments final : public TKeyedStat<TstSegments, TCustomSegmentsStat> {
    LOT_STAT_CLASS(TstSegments)
public:
    using TKeyedStat::TKeyedStat;
    static QString CodeFormat() { return QStringLiteral("SGMS"); }
    static QString CaptionFormat() { return QStringLiteral("Сегменты матрицы"); }
    static uint8_t Flags() { return sfPrefetch; }
    static constexpr TKeySearch MatchSearch = ksWord1;

    QString ValueToText(const TStatDraw &v) const override { return QString::number(v.Key.W(1)); }
    /// The segments of 1..45, each once, in order of their first number.
    void EnumAllValues(int lastIdx, TStatDrawArray &values) override;
    int NumberKeysOf(int n, TStatKey *keys) const {
        const int s = n >= 0 && n < 256 ? m_segments.Places()[size_t(n)] : 0;
        if (s == 0) return 0;
        keys[0] = TStatKey::FromWords(uint16_t(s));
        return 1;
    }
};

namespace detail {

/// The fast matcher of SGMV: the selected counts of every segment as a
/// table by place in the segment order, instead of a search of the
/// selected pairs (whose range of keys is too wide for a flat table) for
/// every segment of every combination.
class TSegmentCountsMatcher final : public TInlineCombMatcher<TSegmentCountsMatcher> {
public:
    TSegmentCountsMatcher(const TSegmentLayout &segments, const TStatDrawArray &selected);
    bool Matches(const TComb &c) const override { return Bit(c) != 0; }
    bool IsThreadSafe() const override { return true; }
    unsigned Bit(const TComb &c) const {
        // The counts of up to nine segments as four bits each; a number in
        // no segment (place 0) or in a place beyond nine goes to the top field.
        uint64_t counts = 0;
#pragma GCC unroll 6
        for (int i = 0; i < CombSize; ++i)
            counts += m_field[c[i]];
        if (m_count > MaxPacked) [[unlikely]]
            return Counted(c);
        unsigned hit = 0;
        for (int s = 1; s <= m_count; ++s)
            hit |= m_hitMask[size_t(s)] >> (counts >> (4 * (s - 1)) & 15);
        return hit & 1;
    }

private:
    static constexpr int MaxPacked = 9;
    unsigned Counted(const TComb &c) const;

    TPlaceTable m_slots;
    int m_count;
    std::array<uint64_t, 256> m_field{}; ///< 1 in the four bits of each byte value's place
    /// [place in the order]: bit k when the pair (segment, k) is selected.
    std::array<uint8_t, NumberCount + 1> m_hitMask{};
};

} // namespace detail

/// SGMV: for every segment, in order of its first number, how many of the
/// numbers it holds.
class TstSegmValues final : public TKeyedStat<TstSegmValues, TCustomSegmentsStat> {
    LOT_STAT_CLASS(TstSegmValues)
public:
    using TKeyedStat::TKeyedStat;
    static QString CodeFormat() { return QStringLiteral("SGMV"); }
    static QString CaptionFormat() { return QStringLiteral("Количество чисел в сегменте матрицы"); }
    static uint8_t Flags() { return sfPrefetch; }
    static bool AllowsValueList() { return false; }
    static constexpr int MaxKeys = NumberCount;

    QString ValueToText(const TStatDraw &v) const override { return detail::PairText(v); }
    // Fast path: a table of the selected counts per segment (bench_methods pass/SGMV).
    std::unique_ptr<TCombMatcher> MakeMatcher(const TStatDrawArray &selected, int refIdx, bool sorted,
                                              bool excludeMode) override {
        if (!List().FastPaths()) return TKeyedStat::MakeMatcher(selected, refIdx, sorted, excludeMode);
        return std::make_unique<detail::TSegmentCountsMatcher>(m_segments, selected);
    }
    // Fast path: the pairs counted in a table by place and count, then
    // handed to the counter once per run (their keys are too wide for its
    // direct table; bench_methods prefetch/SGMV).
    void CountCombKeys(const TComb *combs, int count, TKeyCounter &counter) override;
    int KeysOf(const TComb &c, TStatKey *keys) const {
        std::array<uint8_t, NumberCount + 1> counts{};
#pragma GCC unroll 6
        for (int i = 0; i < CombSize; ++i)
            ++counts[m_segments.Slots()[c[i]]];
        const int n = m_segments.Count();
        for (int s = 1; s <= n; ++s)
            keys[s - 1] = TStatKey::FromWords(m_segments.Order()[size_t(s - 1)], counts[size_t(s)]);
        return n;
    }
};

/// SGMC: how many segments hold a number.
class TstSegmCount final : public TKeyedStat<TstSegmCount, TCustomSegmentsGraphStat> {
    LOT_STAT_CLASS(TstSegmCount)
public:
    using TKeyedStat::TKeyedStat;
    static QString CodeFormat() { return QStringLiteral("SGMC"); }
    static QString CaptionFormat() { return QStringLiteral("Количество не пустых сегментов в матрице"); }
    static uint8_t Flags() { return sfPrefetch; }
    static constexpr TKeySearch MatchSearch = ksWord1;
    static constexpr int MaxKeys = 1;

    int KeysOf(const TComb &c, TStatKey *keys) const {
        uint64_t seen = 0; // bit s: the segment in place s of the order holds a number
#pragma GCC unroll 6
        for (int i = 0; i < CombSize; ++i)
            seen |= uint64_t(1) << m_segments.Slots()[c[i]];
        keys[0] = TStatKey::FromWords(uint16_t(__builtin_popcountll(seen & ~uint64_t(1))));
        return 1;
    }
};

/// SGM%d: how many numbers lie in segment Param.
class TstSgmValCnt final : public TKeyedStat<TstSgmValCnt, TCustomSegmentsGraphStat> {
    LOT_STAT_CLASS(TstSgmValCnt)
public:
    using TKeyedStat::TKeyedStat;
    static QString CodeFormat() { return QStringLiteral("SGM%d"); }
    static QString CaptionFormat() { return QStringLiteral("Количество чисел в %0:d сегменте матрицы"); }
    static QString HelpTopicFormat() { return QStringLiteral("SGMx"); }
    static uint8_t Flags() { return sfPrefetch; }
    static bool HasParamRange() { return true; }
    /// From the smallest to the largest segment of the registry's map.
    static TParamRange GetParamRange(const TStatList &list);
    static constexpr TKeySearch MatchSearch = ksWord1;
    static constexpr int MaxKeys = 1;

    int KeysOf(const TComb &c, TStatKey *keys) const {
        int count = 0;
#pragma GCC unroll 6
        for (int i = 0; i < CombSize; ++i)
            count += m_segments.Places()[c[i]] == m_target;
        keys[0] = TStatKey::FromWords(uint16_t(count));
        return 1;
    }

private:
    /// Param when it is a segment digit; otherwise one no number lies in.
    const int m_target = m_param >= 1 && m_param <= 255 ? m_param : -1;
};

/// The caption of KGM2..KGM4 (windows false) and KGS2..KGS4 (true).
QString SegmentTupleCaption(int size, bool windows);

template <class D, int Size, bool Windows>
class TSegmentTupleStat : public TPlaceTupleStat<D, TCustomSegmentsStat, Size, Windows> {
public:
    using TPlaceTupleStat<D, TCustomSegmentsStat, Size, Windows>::TPlaceTupleStat;
    static QString CodeFormat() { return QString::fromLatin1(Windows ? "KGS%1" : "KGM%1").arg(Size); }
    static QString CaptionFormat() { return SegmentTupleCaption(Size, Windows); }
    const TPlaceTable &Places() const { return this->m_segments.Places(); }
};

/// KGM2..KGM4: the segments of every pair, triple, quadruple of positions.
class TstCombSegmMix2 final : public TSegmentTupleStat<TstCombSegmMix2, 2, false> {
    LOT_STAT_CLASS(TstCombSegmMix2)
public:
    using TSegmentTupleStat::TSegmentTupleStat;
};

class TstCombSegmMix3 final : public TSegmentTupleStat<TstCombSegmMix3, 3, false> {
    LOT_STAT_CLASS(TstCombSegmMix3)
public:
    using TSegmentTupleStat::TSegmentTupleStat;
};

class TstCombSegmMix4 final : public TSegmentTupleStat<TstCombSegmMix4, 4, false> {
    LOT_STAT_CLASS(TstCombSegmMix4)
public:
    using TSegmentTupleStat::TSegmentTupleStat;
};

/// KGS2..KGS4: the segments of every run of 2, 3, 4 neighbouring positions.
class TstCombSegmSeq2 final : public TSegmentTupleStat<TstCombSegmSeq2, 2, true> {
    LOT_STAT_CLASS(TstCombSegmSeq2)
public:
    using TSegmentTupleStat::TSegmentTupleStat;
};

class TstCombSegmSeq3 final : public TSegmentTupleStat<TstCombSegmSeq3, 3, true> {
    LOT_STAT_CLASS(TstCombSegmSeq3)
public:
    using TSegmentTupleStat::TSegmentTupleStat;
};

class TstCombSegmSeq4 final : public TSegmentTupleStat<TstCombSegmSeq4, 4, true> {
    LOT_STAT_CLASS(TstCombSegmSeq4)
public:
    using TSegmentTupleStat::TSegmentTupleStat;
};

} // namespace lot
