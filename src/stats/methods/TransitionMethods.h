#pragma once
/// @file Group 10: transitions. What followed, in the next draw, a draw that
/// resembled the reference draw: pairs before -> after (and triples
/// before-before -> before -> after for the three-draw members) of numbers,
/// channels or segments, collected only where the "before" part equals what
/// the reference draw (and the draw before it) shows now.
///
/// For archive entry i the earlier draws are P1 = entry i - 1 and P2 = entry
/// i - 2, read with the caller's order; R1 is the reference draw and R2 the
/// entry before it. A member produces nothing when an earlier draw it needs
/// does not exist (its draw number is 0 or less). A combination stands for
/// the draw after the reference draw: its "before" parts are R1 and R2
/// themselves, so its values are the transitions from them to each of its
/// numbers (at every position for the positional members, whose filter
/// looks at any number of the combination). A byte that is no number gives
/// no value.

#include "stats/CustomStatBases.h"
#include "stats/KeyedStat.h"
#include "stats/methods/SerialMethods.h"
#include "stats/methods/SetCountMatcher.h"

namespace lot {

namespace detail {

/// What a transition member compares and collects.
enum class TChainShape {
    All,   ///< every number of P1 whose item occurs in R1, to every number of the draw
    Pos,   ///< position by position
    At,    ///< the single position Param
    Count, ///< how many numbers lie in the item Param
};

QString ChainCode(TItemView::TKind kind, int depth, TChainShape shape);
QString ChainCaption(TItemView::TKind kind, int depth, TChainShape shape);
QString ChainHelpTopic(TItemView::TKind kind, int depth, TChainShape shape);

/// The fast matcher of a combination matched by the item of any of its
/// numbers: which byte values are hits, as the pair table of TAnyNumberMatcher.
std::array<uint8_t, 256> ItemHits(const TItemView &items, const TStatDrawArray &selected, TKeySearch search,
                                  int word);

/// The count table of the count members for TNumberSetCountMatcher: which
/// counts of numbers in the set are selected (none when not active).
TNumberSetCountMatcher::THits CountHits(const TStatDrawArray &selected, TKeySearch search, int word,
                                        bool active);

} // namespace detail

/// Base of the transitions: group 10, flag D, values that cannot be typed,
/// and the items the family works on.
class TCustomChainStat : public TCustomStat {
public:
    TCustomChainStat(const TStatList &list, int param, TItemView items);
    static uint8_t Group() { return 10; }
    static uint8_t Flags() { return sfDynamic; }
    static bool AllowsValueList() { return false; }

    const TItemView &Items() const { return m_items; }
    int ItemOf(int n) const { return m_items.Of(n); }

protected:
    /// "%0:s -> %1:s" (two words) or "%0:s-%1:s -> %2:s" (three), each word
    /// an item text, or a decimal count when counts.
    QString ChainText(const TStatDraw &v, int words, bool counts) const;

    const TItemView m_items;
};

/// The numbers' transitions between two and three draws.
class TCustomChainValues2Stat : public TCustomChainStat {
public:
    static TItemView View(const TStatList &) { return TItemView::NumbersView(); }
    TCustomChainValues2Stat(const TStatList &list, int param) : TCustomChainStat(list, param, View(list)) {}
};
class TCustomChainValues3Stat : public TCustomChainStat {
public:
    static TItemView View(const TStatList &) { return TItemView::NumbersView(); }
    TCustomChainValues3Stat(const TStatList &list, int param) : TCustomChainStat(list, param, View(list)) {}
};

/// The channels' transitions: the channel size of the registry.
class TCustomChainChannelsStat : public TCustomChainStat {
public:
    static TItemView View(const TStatList &list) { return TItemView::ChannelsOf(list); }
    TCustomChainChannelsStat(const TStatList &list, int param) : TCustomChainStat(list, param, View(list)) {}
};
class TCustomChainChannels2Stat : public TCustomChainChannelsStat {
public:
    using TCustomChainChannelsStat::TCustomChainChannelsStat;
};
class TCustomChainChannels3Stat : public TCustomChainChannelsStat {
public:
    using TCustomChainChannelsStat::TCustomChainChannelsStat;
};

/// The segments' transitions: the segment map of the registry.
class TCustomChainSegmentsStat : public TCustomChainStat {
public:
    static TItemView View(const TStatList &list) { return TItemView::SegmentsOf(list); }
    TCustomChainSegmentsStat(const TStatList &list, int param) : TCustomChainStat(list, param, View(list)) {}
};
class TCustomChainSegments2Stat : public TCustomChainSegmentsStat {
public:
    using TCustomChainSegmentsStat::TCustomChainSegmentsStat;
};
class TCustomChainSegments3Stat : public TCustomChainSegmentsStat {
public:
    using TCustomChainSegmentsStat::TCustomChainSegmentsStat;
};

/// A transition member of Depth draws (2 or 3) and a shape; Base gives the
/// items (Base::View) and Kind names them in the code and caption.
template <class D, class Base, TItemView::TKind Kind, int Depth, detail::TChainShape Shape>
class TChainStat : public TKeyedStat<D, Base> {
    using Keyed = TKeyedStat<D, Base>;
    static constexpr bool Positional = Shape == detail::TChainShape::Pos || Shape == detail::TChainShape::At;

public:
    using Keyed::Keyed;
    static_assert(Depth == 2 || Depth == 3, "transitions span two or three draws");

    static QString CodeFormat() { return detail::ChainCode(Kind, Depth, Shape); }
    static QString CaptionFormat() { return detail::ChainCaption(Kind, Depth, Shape); }
    static QString HelpTopicFormat() { return detail::ChainHelpTopic(Kind, Depth, Shape); }
    static uint8_t Flags() { return Positional ? uint8_t(sfOrdered | sfDynamic) : uint8_t(sfDynamic); }
    static bool HasParamRange() {
        return Shape == detail::TChainShape::At || Shape == detail::TChainShape::Count;
    }
    /// The positions 1..6, or the items of the registry's settings.
    static TParamRange GetParamRange(const TStatList &list) {
        if constexpr (Shape == detail::TChainShape::At) return {1, CombSize};
        const TItemView items = Base::View(list);
        return {items.Min(), items.Max()};
    }
    static constexpr TKeySearch MatchSearch = Depth == 2 ? ksWord2 : ksWord3;
    static constexpr int MaxKeys = Shape == detail::TChainShape::All ? CombSize * CombSize : CombSize;

    QString ValueToText(const TStatDraw &v) const override {
        return this->ChainText(v, Depth, Shape == detail::TChainShape::Count);
    }

    /// The count members list the reference draw's counts followed by every
    /// count 0..S of the item (S: the channel size, or the numbers of the
    /// segment); the others list nothing.
    void EnumAllValues(int lastIdx, TStatDrawArray &values) override {
        Keyed::EnumAllValues(lastIdx, values);
        if constexpr (Shape == detail::TChainShape::Count) {
            const int r1 = CountIn(this->ReadDraw(lastIdx, false));
            const int r2 = CountIn(this->ReadDraw(lastIdx - 1, false));
            const int s = this->m_items.Kind() == TItemView::TKind::Channels
                              ? this->m_items.ChannelSize()
                              : this->m_items.SizeOf(this->m_param);
            for (int k = 0; k <= s; ++k)
                this->AddListed(values, Depth == 2
                                            ? TStatKey::FromWords(uint16_t(r1), uint16_t(k))
                                            : TStatKey::FromWords(uint16_t(r2), uint16_t(r1), uint16_t(k)));
        }
    }

    void RefLoaded(int refIdx, bool sorted) {
        m_sorted = sorted;
        m_r2 = this->ReadDraw(refIdx - 1, sorted);
        m_refItems = this->m_items.ItemMask(this->RefDraw());
    }

    int KeysOf(const TComb &c, TStatKey *keys) const {
        if (!Active()) return 0;
        return Transitions(this->RefDraw(), m_r2, c.N, true, keys);
    }

    int DrawKeysOf(int drawIdx, TStatKey *keys) const {
        const TDrawRec p1 = this->ReadDraw(drawIdx - 1, m_sorted);
        if (p1.DrawNumber <= 0) return 0;
        TDrawRec p2;
        if constexpr (Depth == 3) {
            p2 = this->ReadDraw(drawIdx - 2, m_sorted);
            if (p2.DrawNumber <= 0) return 0;
        }
        return Transitions(p1, p2, this->Draw().Numbers, false, keys);
    }

    // Fast path: the item of each byte value, or the count in the item, as a
    // table instead of a search per key (bench_methods pass/SDV2).
    std::unique_ptr<TCombMatcher> MakeMatcher(const TStatDrawArray &selected, int refIdx, bool sorted,
                                              bool excludeMode) override {
        if (!this->List().FastPaths()) return Keyed::MakeMatcher(selected, refIdx, sorted, excludeMode);
        this->LoadRefDraw(refIdx, sorted);
        if constexpr (Shape == detail::TChainShape::Count) {
            return std::make_unique<detail::TNumberSetCountMatcher>(
                m_set, detail::CountHits(selected, MatchSearch, Depth, Active()));
        } else {
            // A combination has a value for each of its numbers when the
            // reference draw (for All: an item of it) is there.
            const bool active = Active() && (Shape != detail::TChainShape::All || m_refItems != 0);
            std::array<uint8_t, 256> hits{};
            if (active) hits = detail::ItemHits(this->m_items, selected, MatchSearch, Depth);
            return std::make_unique<TAnyNumberMatcher>(hits);
        }
    }

    // Fast path: a combination's keys come from its numbers one position at
    // a time, so counting how often each number stands at each position
    // replaces the keys of every combination (bench_methods prefetch/SDV2).
    void CountCombKeys(const TComb *combs, int count, TKeyCounter &counter) override {
        if (Shape == detail::TChainShape::Count || !this->List().FastPaths()) {
            Keyed::CountCombKeys(combs, count, counter);
            return;
        }
        std::array<int64_t, CombSize * 256> seen{};
        for (int i = 0; i < count; ++i)
            for (int p = 0; p < CombSize; ++p)
                ++seen[size_t(p * 256 + combs[i][p])];
        if (!Active()) return;
        const TDrawRec &r1 = this->RefDraw();
        const TItemView &it = this->m_items;
        for (int p = 0; p < CombSize; ++p)
            for (int n = 0; n < 256; ++n) {
                const int64_t times = seen[size_t(p * 256 + n)];
                const int y = it.Of(n);
                if (times == 0 || y == 0) continue;
                if constexpr (Shape == detail::TChainShape::All) {
                    for (int i = 0; i < CombSize; ++i)
                        if (const int x = it.Of(r1.Numbers[i]); x != 0 && x < 64 && ((m_refItems >> x) & 1))
                            counter.Add(Key(0, x, y), times);
                } else {
                    counter.Add(Key(it.Of(m_r2.Numbers[p]), it.Of(r1.Numbers[p]), y), times);
                }
            }
    }

private:
    /// The earlier draws a combination needs exist.
    bool Active() const { return this->RefDraw().DrawNumber > 0 && (Depth == 2 || m_r2.DrawNumber > 0); }

    /// How many numbers of x lie in the item Param (each number once).
    int CountIn(const uint8_t *x) const {
        uint64_t mask = 0;
        for (int i = 0; i < CombSize; ++i)
            if (x[i] < 64) mask |= uint64_t(1) << x[i];
        return __builtin_popcountll(mask & m_set);
    }
    int CountIn(const TDrawRec &d) const { return CountIn(d.Numbers); }

    TStatKey Key(int before2, int before, int after) const {
        return Depth == 2 ? TStatKey::FromWords(uint16_t(before), uint16_t(after))
                          : TStatKey::FromWords(uint16_t(before2), uint16_t(before), uint16_t(after));
    }

    /// The transitions from p1 (and p2) to the numbers after; every
    /// position for a combination, only Param's for a draw of At.
    int Transitions(const TDrawRec &p1, const TDrawRec &p2, const uint8_t *after, bool everyPosition,
                    TStatKey *keys) const {
        const TDrawRec &r1 = this->RefDraw();
        const TItemView &it = this->m_items;
        int n = 0;
        if constexpr (Shape == detail::TChainShape::All) {
            for (int i = 0; i < CombSize; ++i) {
                const int x = it.Of(p1.Numbers[i]);
                if (x == 0 || x >= 64 || !((m_refItems >> x) & 1)) continue;
                for (int j = 0; j < CombSize; ++j)
                    if (const int y = it.Of(after[j]); y != 0) keys[n++] = Key(0, x, y);
            }
        } else if constexpr (Shape == detail::TChainShape::Count) {
            const int k1 = CountIn(p1);
            if (k1 != CountIn(r1)) return 0;
            if (Depth == 3 && CountIn(p2) != CountIn(m_r2)) return 0;
            keys[n++] = Key(CountIn(p2), k1, CountIn(after));
        } else {
            const int only = this->m_param - 1;
            for (int j = 0; j < CombSize; ++j) {
                if (Shape == detail::TChainShape::At && !everyPosition && j != only) continue;
                const int b = it.Of(p1.Numbers[j]);
                if (b != it.Of(r1.Numbers[j])) continue;
                const int bb = it.Of(p2.Numbers[j]);
                if (Depth == 3 && bb != it.Of(m_r2.Numbers[j])) continue;
                if (const int y = it.Of(after[j]); y != 0) keys[n++] = Key(bb, b, y);
            }
        }
        return n;
    }

    bool m_sorted = false;
    TDrawRec m_r2;           ///< the entry before the reference draw
    uint64_t m_refItems = 0; ///< the items of the reference draw
    /// The numbers of the item Param (count members).
    const uint64_t m_set = [this] {
        uint64_t set = 0;
        for (int n = 1; n <= NumberCount; ++n)
            if (this->m_items.Of(n) == this->m_param && this->m_param != 0) set |= uint64_t(1) << n;
        return set;
    }();
};

/// Base of the number transitions inside channels: InsideKind selects the
/// variant (0 all, 1 successful N-M, 2 failed N-0, 3 the count).
class TCustomChainChannels2Inside : public TCustomChainChannelsStat {
public:
    using TCustomChainChannelsStat::TCustomChainChannelsStat;
    QString ValueToText(const TStatDraw &v) const override { return ChainText(v, 2, true); }
    /// Whether a combination holding number c matches a selected key, the
    /// reference draw holding r; the rule of every variant.
    bool KeyMatches(const TStatKey &key, int r, int c, int insideKind) const;
    bool CombMatches(const TComb &c, const TStatDrawArray &selected, int refIdx, bool sorted,
                     bool excludeMode) override;
    std::unique_ptr<TCombMatcher> MakeMatcher(const TStatDrawArray &selected, int refIdx, bool sorted,
                                              bool excludeMode) override;
    virtual int InsideKindOf() const = 0;
};

template <class D, int Inside> class TChainInsideStat : public TKeyedStat<D, TCustomChainChannels2Inside> {
    using Keyed = TKeyedStat<D, TCustomChainChannels2Inside>;

public:
    using Keyed::Keyed;
    static int InsideKind() { return Inside; }
    static constexpr int MaxKeys = CombSize * CombSize;

    int InsideKindOf() const override { return Inside; }
    void RefLoaded(int, bool) { m_refNumbers = NumberBits(this->RefDraw().Numbers); }
    int KeysOf(const TComb &c, TStatKey *keys) const {
        if (this->RefDraw().DrawNumber <= 0) return 0;
        return Transitions(this->RefDraw(), c.N, keys);
    }
    /// The earlier draw in its own order.
    int DrawKeysOf(int drawIdx, TStatKey *keys) const {
        const TDrawRec p1 = this->ReadDraw(drawIdx - 1, false);
        if (p1.DrawNumber <= 0) return 0;
        return Transitions(p1, this->Draw().Numbers, keys);
    }
    // A failure or a count matches by the channel, not by the key.
    bool CombMatches(const TComb &c, const TStatDrawArray &selected, int refIdx, bool sorted,
                     bool excludeMode) override {
        return TCustomChainChannels2Inside::CombMatches(c, selected, refIdx, sorted, excludeMode);
    }
    std::unique_ptr<TCombMatcher> MakeMatcher(const TStatDrawArray &selected, int refIdx, bool sorted,
                                              bool excludeMode) override {
        return TCustomChainChannels2Inside::MakeMatcher(selected, refIdx, sorted, excludeMode);
    }

private:
    static uint64_t NumberBits(const uint8_t *x) {
        uint64_t mask = 0;
        for (int i = 0; i < CombSize; ++i)
            if (x[i] > 0 && x[i] < 64) mask |= uint64_t(1) << x[i];
        return mask;
    }

    int Transitions(const TDrawRec &p1, const uint8_t *after, TStatKey *keys) const {
        int n = 0;
        for (int i = 0; i < CombSize; ++i) {
            const int x = p1.Numbers[i];
            if (x <= 0 || x >= 64 || !((m_refNumbers >> x) & 1)) continue;
            const int ch = this->ItemOf(x);
            int count = 0;
            for (int j = 0; j < CombSize; ++j) {
                const int y = after[j];
                if (ch == 0 || this->ItemOf(y) != ch) continue;
                ++count;
                if (Inside == 0 || Inside == 1) keys[n++] = TStatKey::FromWords(uint16_t(x), uint16_t(y));
            }
            if (Inside == 3) keys[n++] = TStatKey::FromWords(uint16_t(x), uint16_t(count));
            if ((Inside == 0 || Inside == 2) && count == 0) keys[n++] = TStatKey::FromWords(uint16_t(x));
        }
        return n;
    }

    uint64_t m_refNumbers = 0;
};

// ---- the members ----

#define LOT_CHAIN_MEMBER(Name, Base, Kind, Depth, Shape)                                                     \
    class Name final                                                                                         \
        : public TChainStat<Name, Base, TItemView::TKind::Kind, Depth, detail::TChainShape::Shape> {         \
        LOT_STAT_CLASS(Name)                                                                                 \
    public:                                                                                                  \
        using TChainStat::TChainStat;                                                                        \
    };

LOT_CHAIN_MEMBER(TstChainValues2, TCustomChainValues2Stat, Numbers, 2, All)           // SDV2
LOT_CHAIN_MEMBER(TstChainValues2Pos, TCustomChainValues2Stat, Numbers, 2, Pos)        // SDP2
LOT_CHAIN_MEMBER(TstChainValues2At, TCustomChainValues2Stat, Numbers, 2, At)          // SDN%d
LOT_CHAIN_MEMBER(TstChainValues3Pos, TCustomChainValues3Stat, Numbers, 3, Pos)        // SDP3
LOT_CHAIN_MEMBER(TstChainValues3At, TCustomChainValues3Stat, Numbers, 3, At)          // SDM%d
LOT_CHAIN_MEMBER(TstChainChannels2, TCustomChainChannels2Stat, Channels, 2, All)      // SCV2
LOT_CHAIN_MEMBER(TstChainChannels2Pos, TCustomChainChannels2Stat, Channels, 2, Pos)   // SCP2
LOT_CHAIN_MEMBER(TstChainChannels2At, TCustomChainChannels2Stat, Channels, 2, At)     // SCN%d
LOT_CHAIN_MEMBER(TstChainChannels3Pos, TCustomChainChannels3Stat, Channels, 3, Pos)   // SCP3
LOT_CHAIN_MEMBER(TstChainChannels3At, TCustomChainChannels3Stat, Channels, 3, At)     // SCM%d
LOT_CHAIN_MEMBER(TstChainChannels2Cnt, TCustomChainChannels2Stat, Channels, 2, Count) // SC2C%d
LOT_CHAIN_MEMBER(TstChainChannels3Cnt, TCustomChainChannels3Stat, Channels, 3, Count) // SC3C%d
LOT_CHAIN_MEMBER(TstChainSegments2, TCustomChainSegments2Stat, Segments, 2, All)      // SSV2
LOT_CHAIN_MEMBER(TstChainSegments2Pos, TCustomChainSegments2Stat, Segments, 2, Pos)   // SSP2
LOT_CHAIN_MEMBER(TstChainSegments2At, TCustomChainSegments2Stat, Segments, 2, At)     // SSN%d
LOT_CHAIN_MEMBER(TstChainSegments3Pos, TCustomChainSegments3Stat, Segments, 3, Pos)   // SSP3
LOT_CHAIN_MEMBER(TstChainSegments3At, TCustomChainSegments3Stat, Segments, 3, At)     // SSM%d
LOT_CHAIN_MEMBER(TstChainSegments2Cnt, TCustomChainSegments2Stat, Segments, 2, Count) // SS2C%d
LOT_CHAIN_MEMBER(TstChainSegments3Cnt, TCustomChainSegments3Stat, Segments, 3, Count) // SS3C%d

#undef LOT_CHAIN_MEMBER

class TstChainChannels2InsideAll final : public TChainInsideStat<TstChainChannels2InsideAll, 0> {
    LOT_STAT_CLASS(TstChainChannels2InsideAll)
public:
    using TChainInsideStat::TChainInsideStat;
    static QString CodeFormat() { return QStringLiteral("SDA2"); }
    static QString CaptionFormat() { return QStringLiteral("Переходы чисел в пределах каналов (все)"); }
};

class TstChainChannels2InsideSuc final : public TChainInsideStat<TstChainChannels2InsideSuc, 1> {
    LOT_STAT_CLASS(TstChainChannels2InsideSuc)
public:
    using TChainInsideStat::TChainInsideStat;
    static QString CodeFormat() { return QStringLiteral("SDG2"); }
    static QString CaptionFormat() {
        return QStringLiteral("Переходы чисел в пределах каналов (N-M, удачные)");
    }
};

class TstChainChannels2InsideBad final : public TChainInsideStat<TstChainChannels2InsideBad, 2> {
    LOT_STAT_CLASS(TstChainChannels2InsideBad)
public:
    using TChainInsideStat::TChainInsideStat;
    static QString CodeFormat() { return QStringLiteral("SDZ2"); }
    static QString CaptionFormat() {
        return QStringLiteral("Переходы чисел в пределах каналов (N-0, не удачные)");
    }
};

class TstChainChannels2InsideCnt final : public TChainInsideStat<TstChainChannels2InsideCnt, 3> {
    LOT_STAT_CLASS(TstChainChannels2InsideCnt)
public:
    using TChainInsideStat::TChainInsideStat;
    static QString CodeFormat() { return QStringLiteral("SDC2"); }
    static QString CaptionFormat() {
        return QStringLiteral("Переходы чисел в пределах каналов (количество)");
    }
};

} // namespace lot
