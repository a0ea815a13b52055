#pragma once
/// @file Group 3 methods: the numbers 1..45 split into consecutive channels
/// of ChannelSize numbers (a game setting, read when the instance is made):
/// each number's channel, how many numbers each channel holds, how many
/// channels are occupied, the channels of every pair, triple and quadruple
/// of positions (KCM2..KCM4) and of every run of neighbouring positions
/// (KCS2..KCS4), and the count in one channel (CHN%d).
///
/// A byte outside 1..45 lies in no channel: it gives no channel value and
/// is not counted; in a tuple it stands as channel 0.

#include "stats/CustomStatBases.h"
#include "stats/KeyedStat.h"
#include "stats/methods/DifferenceMethods.h"

#include <array>

namespace lot {

class TStatList;

/// A place (channel, column, row) of every byte value; 0 for none.
using TPlaceTable = std::array<uint8_t, 256>;

/// The channels of one channel size.
class TChannelLayout {
public:
    /// size outside 1..45 gives no channels at all.
    explicit TChannelLayout(int size);
    /// The layout of the registry's channel size.
    static TChannelLayout Of(const TStatList &list);

    int Size() const { return m_size; }
    /// How many channels: ceil(45 / Size).
    int Count() const { return m_count; }
    const TPlaceTable &Places() const { return m_of; }
    /// "%.2d [%s-%s]": the channel and its first and last number (the last
    /// channel's last number may lie beyond 45).
    QString Text(int channel) const;

private:
    int m_size = 0;
    int m_count = 0;
    TPlaceTable m_of{};
};

namespace detail {

/// The positions (0..5) of the tuples of Size positions.
struct TPositionTuples {
    int Count = 0;
    std::array<std::array<uint8_t, 4>, 20> Positions{};
};

/// Every choice of Size positions, in increasing order of the positions
/// (15 pairs, 20 triples, 15 quadruples); with windows, only the runs of
/// neighbouring positions (5, 4, 3 of them).
constexpr TPositionTuples MakePositionTuples(int size, bool windows) {
    TPositionTuples t;
    if (windows) {
        for (int s = 0; s + size <= CombSize; ++s, ++t.Count)
            for (int w = 0; w < size; ++w)
                t.Positions[size_t(t.Count)][size_t(w)] = uint8_t(s + w);
        return t;
    }
    for (int mask = 0; mask < 1 << CombSize; ++mask) {
        if (__builtin_popcount(unsigned(mask)) != size) continue;
        int w = 0;
        for (int p = 0; p < CombSize; ++p)
            if (mask & (1 << p)) t.Positions[size_t(t.Count)][size_t(w++)] = uint8_t(p);
        ++t.Count;
    }
    // In lexicographic order of the positions: (1,2), (1,3), ... (5,6).
    for (int i = 1; i < t.Count; ++i)
        for (int j = i; j > 0 && t.Positions[size_t(j)] < t.Positions[size_t(j - 1)]; --j) {
            const auto tmp = t.Positions[size_t(j)];
            t.Positions[size_t(j)] = t.Positions[size_t(j - 1)];
            t.Positions[size_t(j - 1)] = tmp;
        }
    return t;
}

/// The tuples of Size - 1 positions that lie within the first five
/// positions: the beginnings of the tuples the matcher looks up.
constexpr TPositionTuples MakePrefixTuples(int size) {
    const TPositionTuples all = MakePositionTuples(size - 1, false);
    TPositionTuples t;
    for (int i = 0; i < all.Count; ++i)
        if (all.Positions[size_t(i)][size_t(size - 2)] < CombSize - 1)
            t.Positions[size_t(t.Count++)] = all.Positions[size_t(i)];
    return t;
}

/// The fast matcher of the tuple methods. A table gives, for the places of
/// the first Size - 1 words of a tuple (each below 64, six bits each), the
/// places of the last word that complete a selected tuple, as a bit mask
/// (512 bytes for pairs, 32 KiB for triples, 2 MiB for quadruples). What
/// the first five numbers decide (a selected tuple among them, and the last
/// places that would complete one with the sixth number) is kept while they
/// stay the same, as they do over long runs of an ordered list: a
/// combination then costs one shift. A combination with a place of 64 or
/// more (a byte outside the numbers, as a place of its own) is looked up
/// among the selected keys themselves.
template <int Size, bool Windows> class TPackedTupleMatcher final : public TCombMatcher {
public:
    static constexpr TPositionTuples Tuples = MakePositionTuples(Size, Windows);
    static constexpr TPositionTuples Prefixes = MakePrefixTuples(Size);

    TPackedTupleMatcher(const TPlaceTable &places, const TStatDrawArray &selected)
        : m_places(places), m_keys(selected, ksExact), m_last(size_t(1) << (6 * (Size - 1))) {
        for (const TStatDraw &s : selected) {
            bool fits = true;
            uint32_t index = 0;
            for (int w = 1; w <= 4; ++w) {
                const uint16_t v = s.Key.W(w);
                if (w <= Size)
                    fits = fits && v < 64;
                else
                    fits = fits && v == 0; // a tuple's key has no more words
                if (w < Size) index = index << 6 | (v & 63u);
            }
            if (fits) m_last[index] |= uint64_t(1) << s.Key.W(Size);
        }
    }
    bool Matches(const TComb &c) const override {
        TPrefixState state;
        return Bit(c, state) != 0;
    }
    bool IsThreadSafe() const override { return true; }
    void MatchBits(const TComb *source, size_t count, uint64_t *bits) const override {
        TPrefixState state; // one block on one thread
        MatchBitsWith([this, &state](const TComb &c) { return Bit(c, state); }, source, count, bits);
    }

private:
    /// What the first five numbers of the last combination decided.
    struct TPrefixState {
        uint64_t Numbers = ~uint64_t(0); ///< their bytes; no combination has these
        uint64_t Within = 0;             ///< bit 0: a selected tuple lies within them
        uint64_t Completing = 0;         ///< the sixth places that complete a selected tuple
    };

    uint32_t Index(const uint32_t *p, const std::array<uint8_t, 4> &positions) const {
        uint32_t index = 0;
        for (int w = 0; w < Size - 1; ++w)
            index = index << 6 | p[positions[size_t(w)]];
        return index;
    }

    void Decide(const uint32_t *p, TPrefixState &state) const {
        uint64_t within = 0, completing = 0;
        if constexpr (Windows) {
            for (int s = 0; s + Size < CombSize; ++s) {
                uint32_t index = 0;
                for (int w = 0; w < Size - 1; ++w)
                    index = index << 6 | p[s + w];
                within |= m_last[index] >> p[s + Size - 1];
            }
            uint32_t index = 0;
            for (int w = 0; w < Size - 1; ++w)
                index = index << 6 | p[CombSize - Size + w];
            completing = m_last[index];
        } else {
            uint64_t after[CombSize] = {}; // after[r]: the places at positions r..4
            for (int r = CombSize - 2; r >= 0; --r)
                after[r] = after[r + 1] | uint64_t(1) << p[r];
            for (int t = 0; t < Prefixes.Count; ++t) {
                const auto &positions = Prefixes.Positions[size_t(t)];
                const uint64_t last = m_last[Index(p, positions)];
                completing |= last;
                within |= last & after[positions[size_t(Size - 2)] + 1];
            }
            within = within != 0;
        }
        state.Within = within & 1;
        state.Completing = completing;
    }

    unsigned Bit(const TComb &c, TPrefixState &state) const {
        uint32_t p[CombSize];
        uint32_t any = 0;
#pragma GCC unroll 6
        for (int i = 0; i < CombSize; ++i) {
            p[i] = m_places[c[i]];
            any |= p[i];
        }
        if (any >= 64) [[unlikely]]
            return Searched(p);
        const uint64_t numbers = uint64_t(c[0]) | uint64_t(c[1]) << 8 | uint64_t(c[2]) << 16 |
                                 uint64_t(c[3]) << 24 | uint64_t(c[4]) << 32;
        if (numbers != state.Numbers) {
            Decide(p, state);
            state.Numbers = numbers;
        }
        return unsigned((state.Within | state.Completing >> p[CombSize - 1]) & 1);
    }

    unsigned Searched(const uint32_t *p) const {
        unsigned hit = 0;
        for (int t = 0; t < Tuples.Count; ++t) {
            TStatKey k;
            for (int w = 0; w < Size; ++w)
                k.SetW(w + 1, uint16_t(p[Tuples.Positions[size_t(t)][size_t(w)]]));
            hit |= m_keys.Bit(k);
        }
        return hit;
    }

    const TPlaceTable m_places;
    const TSelectedKeys m_keys;
    std::vector<uint64_t> m_last;
};

} // namespace detail

/// Base of the channel methods: group 3 and the channel size of the registry.
class TCustomChannelsStat : public TCustomStat {
public:
    TCustomChannelsStat(const TStatList &list, int param);
    static uint8_t Group() { return 3; }
    const TChannelLayout &Channels() const { return m_channels; }

protected:
    const TChannelLayout m_channels;
};

/// The graph base of the channel methods.
class TCustomChannelsGraphStat : public TCustomGraphStat {
public:
    TCustomChannelsGraphStat(const TStatList &list, int param);
    static uint8_t Group() { return 3; }
    const TChannelLayout &Channels() const { return m_channels; }

protected:
    const TChannelLayout m_channels;
};

/// The places of every tuple or window of Size positions as words w1..wSize
/// (KCM, KCS, the matrix's KFM, KFS, KRM, KRS, the segments' KGM, KGS and,
/// with every byte its own place, the numbers' KNM, KNS). D gives Places(),
/// the place of every byte value.
template <class D, class Base, int Size, bool Windows> class TPlaceTupleStat : public TKeyedStat<D, Base> {
public:
    using TKeyedStat<D, Base>::TKeyedStat;
    static uint8_t Flags() { return sfOrdered; }
    static bool AllowsValueList() { return false; }
    static constexpr detail::TPositionTuples Tuples = detail::MakePositionTuples(Size, Windows);
    static constexpr int MaxKeys = Tuples.Count;

    QString ValueToText(const TStatDraw &v) const override { return detail::WordsText(v, Size); }
    // Fast path: a bit table of the selected tuples instead of a search per
    // tuple (bench_methods pass/KNM3, pass/KGM3).
    std::unique_ptr<TCombMatcher> MakeMatcher(const TStatDrawArray &selected, int refIdx, bool sorted,
                                              bool excludeMode) override {
        if (!this->List().FastPaths())
            return TKeyedStat<D, Base>::MakeMatcher(selected, refIdx, sorted, excludeMode);
        return std::make_unique<detail::TPackedTupleMatcher<Size, Windows>>(this->Self().Places(), selected);
    }
    // Fast path: pairs and triples of places below 64 counted in a direct
    // table (at most 1 MiB) instead of the counter's hash table, then handed
    // to the counter once per chunk (bench_methods prefetch/KNM3).
    void CountCombKeys(const TComb *combs, int count, TKeyCounter &counter) override {
        if (Size > 3 || !this->List().FastPaths()) {
            TKeyedStat<D, Base>::CountCombKeys(combs, count, counter);
            return;
        }
        const TPlaceTable &places = this->Self().Places();
        if (m_dense.empty()) m_dense.assign(size_t(1) << (6 * Size), 0);
        // A chunk adds at most 20 to an entry per combination: no overflow.
        constexpr int Chunk = 1 << 20;
        for (int from = 0; from < count; from += Chunk) {
            const int to = count - from < Chunk ? count : from + Chunk;
            for (int i = from; i < to;) {
                uint32_t p[CombSize];
                uint32_t any = 0;
                for (int k = 0; k < CombSize; ++k) {
                    p[k] = places[combs[i][k]];
                    any |= p[k];
                }
                if (any >= 64) [[unlikely]] {
                    TStatKey keys[MaxKeys];
                    counter.AddKeys(keys, KeysOf(combs[i], keys));
                    ++i;
                    continue;
                }
                // The following combinations with the same first five numbers
                // (and a sixth place below 64) share the tuples among those:
                // counted once for all of them.
                int end = i + 1;
                while (end < to && std::memcmp(combs[end].N, combs[i].N, CombSize - 1) == 0 &&
                       places[combs[end][CombSize - 1]] < 64)
                    ++end;
                const uint32_t run = uint32_t(end - i);
                for (int t = 0; t < Tuples.Count; ++t) {
                    const auto &positions = Tuples.Positions[size_t(t)];
                    const bool withSixth = positions[size_t(Size - 1)] == CombSize - 1;
                    uint32_t index = 0;
                    for (int w = 0; w < Size - 1; ++w)
                        index = index << 6 | p[positions[size_t(w)]];
                    if (!withSixth) {
                        index = index << 6 | p[positions[size_t(Size - 1)]];
                        if (m_dense[index] == 0) m_touched.push_back(index);
                        m_dense[index] += run;
                        continue;
                    }
                    for (int k = i; k < end; ++k) {
                        const uint32_t full = index << 6 | places[combs[k][CombSize - 1]];
                        if (m_dense[full]++ == 0) m_touched.push_back(full);
                    }
                }
                i = end;
            }
            for (const uint32_t index : m_touched) {
                TStatKey k;
                for (int w = 0; w < Size; ++w)
                    k.SetW(w + 1, uint16_t(index >> (6 * (Size - 1 - w)) & 63));
                counter.Add(k, m_dense[index]);
                m_dense[index] = 0;
            }
            m_touched.clear();
        }
    }
    int KeysOf(const TComb &c, TStatKey *keys) const {
        const TPlaceTable &places = this->Self().Places();
        uint16_t p[CombSize];
#pragma GCC unroll 6
        for (int i = 0; i < CombSize; ++i)
            p[i] = places[c[i]];
        for (int t = 0; t < Tuples.Count; ++t) {
            TStatKey k;
            for (int w = 0; w < Size; ++w)
                k.SetW(w + 1, p[Tuples.Positions[size_t(t)][size_t(w)]]);
            keys[t] = k;
        }
        return Tuples.Count;
    }

private:
    std::vector<uint32_t> m_dense;   ///< counts by packed places, zero between chunks
    std::vector<uint32_t> m_touched; ///< the entries of m_dense a chunk made non-zero
};

/// CHAN: the channel of each number.
class TstChannels final : public TKeyedStat<TstChannels, TCustomChannelsStat> {
    LOT_STAT_CLASS(TstChannels)
public:
    using TKeyedStat::TKeyedStat;
    static QString CodeFormat() { return QStringLiteral("CHAN"); }
    static QString CaptionFormat() { return QStringLiteral("Каналы"); }
    static uint8_t Flags() { return sfPrefetch; }
    static constexpr TKeySearch MatchSearch = KeySearchByte(1);

    QString ValueToText(const TStatDraw &v) const override { return m_channels.Text(v.Key.Byte(1)); }
    /// The integer before the first space: the channel text reads back as its channel.
    int TextToValue(const QString &s) const override;
    /// Every channel.
    void EnumAllValues(int lastIdx, TStatDrawArray &values) override;
    int NumberKeysOf(int n, TStatKey *keys) const {
        const int ch = n >= 0 && n < 256 ? m_channels.Places()[size_t(n)] : 0;
        if (ch == 0) return 0;
        keys[0] = TStatKey::FromWords(uint16_t(ch));
        return 1;
    }
};

/// CHNV: for every channel, how many of the numbers it holds.
class TstChanValues final : public TKeyedStat<TstChanValues, TCustomChannelsStat> {
    LOT_STAT_CLASS(TstChanValues)
public:
    using TKeyedStat::TKeyedStat;
    static QString CodeFormat() { return QStringLiteral("CHNV"); }
    static QString CaptionFormat() { return QStringLiteral("Количество чисел в канале"); }
    static uint8_t Flags() { return sfPrefetch; }
    static bool AllowsValueList() { return false; }
    static constexpr int MaxKeys = NumberCount;

    QString ValueToText(const TStatDraw &v) const override;
    /// Counts 0..min(size, 6) of every channel.
    void EnumAllValues(int lastIdx, TStatDrawArray &values) override;
    int KeysOf(const TComb &c, TStatKey *keys) const {
        std::array<uint8_t, NumberCount + 1> counts{};
#pragma GCC unroll 6
        for (int i = 0; i < CombSize; ++i)
            ++counts[m_channels.Places()[c[i]]];
        const int n = m_channels.Count();
        for (int ch = 1; ch <= n; ++ch)
            keys[ch - 1] = TStatKey::FromWords(uint16_t(ch), counts[size_t(ch)]);
        return n;
    }
};

/// CHNC: how many channels hold a number.
class TstChanCount final : public TKeyedStat<TstChanCount, TCustomChannelsGraphStat> {
    LOT_STAT_CLASS(TstChanCount)
public:
    using TKeyedStat::TKeyedStat;
    static QString CodeFormat() { return QStringLiteral("CHNC"); }
    static QString CaptionFormat() { return QStringLiteral("Количество каналов в тираже"); }
    static uint8_t Flags() { return sfPrefetch; }
    static constexpr TKeySearch MatchSearch = ksWord1;
    static constexpr int MaxKeys = 1;

    /// 1..min(size, 6).
    void EnumAllValues(int lastIdx, TStatDrawArray &values) override;
    int KeysOf(const TComb &c, TStatKey *keys) const {
        uint64_t seen = 0; // bit ch: channel ch holds a number
#pragma GCC unroll 6
        for (int i = 0; i < CombSize; ++i)
            seen |= uint64_t(1) << m_channels.Places()[c[i]];
        keys[0] = TStatKey::FromWords(uint16_t(__builtin_popcountll(seen & ~uint64_t(1))));
        return 1;
    }
};

/// CHN%d: how many numbers lie in channel Param.
class TstChnValCnt final : public TKeyedStat<TstChnValCnt, TCustomChannelsGraphStat> {
    LOT_STAT_CLASS(TstChnValCnt)
public:
    using TKeyedStat::TKeyedStat;
    static QString CodeFormat() { return QStringLiteral("CHN%d"); }
    static QString CaptionFormat() { return QStringLiteral("Количество чисел в %0:d канале"); }
    static QString HelpTopicFormat() { return QStringLiteral("CHNx"); }
    static uint8_t Flags() { return sfPrefetch; }
    static bool HasParamRange() { return true; }
    /// Every channel of the registry's channel size.
    static TParamRange GetParamRange(const TStatList &list);
    static constexpr TKeySearch MatchSearch = ksWord1;
    static constexpr int MaxKeys = 1;

    /// 1..size.
    void EnumAllValues(int lastIdx, TStatDrawArray &values) override;
    int KeysOf(const TComb &c, TStatKey *keys) const {
        int count = 0;
#pragma GCC unroll 6
        for (int i = 0; i < CombSize; ++i)
            count += m_channels.Places()[c[i]] == m_target;
        keys[0] = TStatKey::FromWords(uint16_t(count));
        return 1;
    }

private:
    /// Param when it names a channel; otherwise a channel no number lies in.
    const int m_target = m_param >= 1 && m_param <= m_channels.Count() ? m_param : -1;
};

/// The caption of KCM2..KCM4 (windows false) and KCS2..KCS4 (true).
QString ChannelTupleCaption(int size, bool windows);

template <class D, int Size, bool Windows>
class TChannelTupleStat : public TPlaceTupleStat<D, TCustomChannelsStat, Size, Windows> {
public:
    using TPlaceTupleStat<D, TCustomChannelsStat, Size, Windows>::TPlaceTupleStat;
    static QString CodeFormat() { return QString::fromLatin1(Windows ? "KCS%1" : "KCM%1").arg(Size); }
    static QString CaptionFormat() { return ChannelTupleCaption(Size, Windows); }
    const TPlaceTable &Places() const { return this->m_channels.Places(); }
};

/// KCM2..KCM4: the channels of every pair, triple, quadruple of positions.
class TstCombChnMix2 final : public TChannelTupleStat<TstCombChnMix2, 2, false> {
    LOT_STAT_CLASS(TstCombChnMix2)
public:
    using TChannelTupleStat::TChannelTupleStat;
};

class TstCombChnMix3 final : public TChannelTupleStat<TstCombChnMix3, 3, false> {
    LOT_STAT_CLASS(TstCombChnMix3)
public:
    using TChannelTupleStat::TChannelTupleStat;
};

class TstCombChnMix4 final : public TChannelTupleStat<TstCombChnMix4, 4, false> {
    LOT_STAT_CLASS(TstCombChnMix4)
public:
    using TChannelTupleStat::TChannelTupleStat;
};

/// KCS2..KCS4: the channels of every run of 2, 3, 4 neighbouring positions.
class TstCombChnSeq2 final : public TChannelTupleStat<TstCombChnSeq2, 2, true> {
    LOT_STAT_CLASS(TstCombChnSeq2)
public:
    using TChannelTupleStat::TChannelTupleStat;
};

class TstCombChnSeq3 final : public TChannelTupleStat<TstCombChnSeq3, 3, true> {
    LOT_STAT_CLASS(TstCombChnSeq3)
public:
    using TChannelTupleStat::TChannelTupleStat;
};

class TstCombChnSeq4 final : public TChannelTupleStat<TstCombChnSeq4, 4, true> {
    LOT_STAT_CLASS(TstCombChnSeq4)
public:
    using TChannelTupleStat::TChannelTupleStat;
};

} // namespace lot
