#pragma once
/// @file Group 0 methods that count which sets of numbers come out
/// together: the pairs, triples and quadruples of numbers at any positions
/// (KNM2..KNM4), at neighbouring positions (KNS2..KNS4) and at the fixed
/// positions from Param on (KNP2%d, KNP3%d, KNP4%d). A key holds the
/// numbers in position order, w1 first; its text joins them by ":".
///
/// Their value lists are too large to list in advance or to count over the
/// full set (no flag N).

#include "stats/CustomStatBases.h"
#include "stats/KeyedStat.h"
#include "stats/methods/ChannelMethods.h"

namespace lot {

/// Base of the combination value methods: group 0, no typed value lists.
class TCustomCombValuesStat : public TCustomStat {
public:
    using TCustomStat::TCustomStat;
    static uint8_t Group() { return 0; }
    static bool AllowsValueList() { return false; }
};

namespace detail {

/// Every byte value its own place: the tuples of places are tuples of numbers.
constexpr TPlaceTable MakeIdentityPlaces() {
    TPlaceTable t{};
    for (int n = 0; n < 256; ++n)
        t[size_t(n)] = uint8_t(n);
    return t;
}
inline constexpr TPlaceTable IdentityPlaces = MakeIdentityPlaces();

} // namespace detail

/// The caption of KNM2..KNM4 (windows false) and KNS2..KNS4 (true).
QString NumberTupleCaption(int size, bool windows);

template <class D, int Size, bool Windows>
class TNumberTupleStat : public TPlaceTupleStat<D, TCustomCombValuesStat, Size, Windows> {
public:
    using TPlaceTupleStat<D, TCustomCombValuesStat, Size, Windows>::TPlaceTupleStat;
    static QString CodeFormat() { return QString::fromLatin1(Windows ? "KNS%1" : "KNM%1").arg(Size); }
    static QString CaptionFormat() { return NumberTupleCaption(Size, Windows); }
    const TPlaceTable &Places() const { return detail::IdentityPlaces; }
};

/// KNM2..KNM4: every pair, triple, quadruple of positions.
class TstCombValMix2 final : public TNumberTupleStat<TstCombValMix2, 2, false> {
    LOT_STAT_CLASS(TstCombValMix2)
public:
    using TNumberTupleStat::TNumberTupleStat;
};

class TstCombValMix3 final : public TNumberTupleStat<TstCombValMix3, 3, false> {
    LOT_STAT_CLASS(TstCombValMix3)
public:
    using TNumberTupleStat::TNumberTupleStat;
};

class TstCombValMix4 final : public TNumberTupleStat<TstCombValMix4, 4, false> {
    LOT_STAT_CLASS(TstCombValMix4)
public:
    using TNumberTupleStat::TNumberTupleStat;
};

/// KNS2..KNS4: every run of 2, 3, 4 neighbouring positions.
class TstCombValSeq2 final : public TNumberTupleStat<TstCombValSeq2, 2, true> {
    LOT_STAT_CLASS(TstCombValSeq2)
public:
    using TNumberTupleStat::TNumberTupleStat;
};

class TstCombValSeq3 final : public TNumberTupleStat<TstCombValSeq3, 3, true> {
    LOT_STAT_CLASS(TstCombValSeq3)
public:
    using TNumberTupleStat::TNumberTupleStat;
};

class TstCombValSeq4 final : public TNumberTupleStat<TstCombValSeq4, 4, true> {
    LOT_STAT_CLASS(TstCombValSeq4)
public:
    using TNumberTupleStat::TNumberTupleStat;
};

/// KNP2%d, KNP3%d, KNP4%d: the Size numbers from position Param on.
template <class D, int Size> class TNumberRunAtStat : public TKeyedStat<D, TCustomCombValuesStat> {
public:
    using TKeyedStat<D, TCustomCombValuesStat>::TKeyedStat;
    static QString CodeFormat() {
        return QStringLiteral("KNP") + QString::number(Size) + QStringLiteral("%d");
    }
    static QString CaptionFormat() {
        return QStringLiteral("Сочетания из ") + QString::number(Size) +
               QStringLiteral("-х чисел тиража начиная с %0:d позиции");
    }
    static QString HelpTopicFormat() { return QStringLiteral("KNP") + QString::number(Size); }
    static uint8_t Flags() { return sfOrdered; }
    static bool HasParamRange() { return true; }
    static TParamRange GetParamRange(const TStatList &) { return {1, CombSize - Size + 1}; }
    static constexpr int MaxKeys = 1;

    QString ValueToText(const TStatDraw &v) const override { return detail::WordsText(v, Size); }
    int KeysOf(const TComb &c, TStatKey *keys) const {
        if (m_first < 0) return 0;
        TStatKey k;
        for (int w = 0; w < Size; ++w)
            k.SetW(w + 1, c[m_first + w]);
        keys[0] = k;
        return 1;
    }

private:
    /// The first position (0-based); -1 when Param names no start of a run.
    const int m_first = this->m_param >= 1 && this->m_param <= CombSize - Size + 1 ? this->m_param - 1 : -1;
};

class TstCombValPos2 final : public TNumberRunAtStat<TstCombValPos2, 2> {
    LOT_STAT_CLASS(TstCombValPos2)
public:
    using TNumberRunAtStat::TNumberRunAtStat;
};

class TstCombValPos3 final : public TNumberRunAtStat<TstCombValPos3, 3> {
    LOT_STAT_CLASS(TstCombValPos3)
public:
    using TNumberRunAtStat::TNumberRunAtStat;
};

class TstCombValPos4 final : public TNumberRunAtStat<TstCombValPos4, 4> {
    LOT_STAT_CLASS(TstCombValPos4)
public:
    using TNumberRunAtStat::TNumberRunAtStat;
};

} // namespace lot
