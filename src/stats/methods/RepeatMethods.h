#pragma once
/// @file Group 7 methods: numbers that repeat from an earlier draw, directly
/// or shifted by +-1 or +-2 (wrapped into 1..45). They are dynamic: a
/// combination stands for the draw after the reference draw, and the values
/// of the numbers-type members are kept to the numbers of the reference
/// draw.
///
/// The earlier draw at distance D of archive entry i is entry i - D, read
/// with the caller's order; before the oldest draw it reads as all zeros. A
/// 0 is no number: it is not shifted, so an oldest draw finds no repeat (a
/// shifted 0 would otherwise read as 1 or 44 or 45 and repeat into every
/// draw holding that number).

#include "stats/CustomStatBases.h"
#include "stats/KeyedStat.h"
#include "stats/methods/SetCountMatcher.h"

namespace lot {

namespace detail {

/// x shifted by s and wrapped into 1..45; 0 (no number) stays 0.
constexpr int ShiftNumber(int x, int s) {
    if (x <= 0 || s == 0) return x;
    int y = x + s;
    if (s > 0 && y > NumberCount) y -= NumberCount;
    if (s < 0 && y <= 0) y += NumberCount;
    return y;
}

/// Bit n for each of the six numbers n (1..63), shifted by s.
inline uint64_t NumberMask(const TDrawRec &d, int s = 0) {
    uint64_t mask = 0;
    for (int i = 0; i < CombSize; ++i) {
        const int x = ShiftNumber(d.Numbers[i], s);
        if (x > 0 && x < 64) mask |= uint64_t(1) << x;
    }
    return mask;
}

/// Bit n for each byte n of 1..63 of the combination.
inline uint64_t NumberMask(const TComb &c) {
    uint64_t mask = 0;
#pragma GCC unroll 6
    for (int i = 0; i < CombSize; ++i)
        mask |= c[i] < 64 ? uint64_t(1) << c[i] : 0;
    return mask & ~uint64_t(1);
}

inline int MaskCount(uint64_t mask) {
    return __builtin_popcountll(mask);
}

/// The codes and captions of the members with a shift and a distance.
QString RepValuesCode(int shift, int distance);
QString RepValuesCaption(int shift, int distance);
QString RepCountCode(int shift, int distance);
QString RepCountCaption(int shift, int distance);

} // namespace detail

/// Base of the repeated numbers with a shift and a distance: the value is
/// a number.
class TCustomRepValues2Stat : public TCustomValuesStat {
public:
    using TCustomValuesStat::TCustomValuesStat;
    static uint8_t Group() { return 7; }
    static uint8_t Flags() { return sfDynamic; }
};

/// Base of the repeat counts with a shift and a distance: the value is a count.
class TCustomRepCount2Stat : public TCustomNumbersStat {
public:
    using TCustomNumbersStat::TCustomNumbersStat;
    static uint8_t Group() { return 7; }
    static uint8_t Flags() { return sfDynamic; }
};

/// RPV2, PRV2O1..3, PRV+-1, PRV+-2: the numbers x of the earlier draw at
/// distance Distance, shifted by Shift, that are numbers of the draw and of
/// the reference draw shifted. The table lists the reference draw's numbers
/// shifted; a combination has the values of its numbers.
template <class D, int S, int Dist> class TRepValuesStat : public TKeyedStat<D, TCustomRepValues2Stat> {
    using Keyed = TKeyedStat<D, TCustomRepValues2Stat>;

public:
    using Keyed::Keyed;
    static int Shift() { return S; }
    static int Distance() { return Dist; }
    static QString CodeFormat() { return detail::RepValuesCode(S, Dist); }
    static QString CaptionFormat() { return detail::RepValuesCaption(S, Dist); }

    /// The numbers of entry lastIdx, shifted.
    void EnumAllValues(int lastIdx, TStatDrawArray &values) override {
        Keyed::EnumAllValues(lastIdx, values);
        const TDrawRec last = this->ReadDraw(lastIdx, false);
        for (int i = 0; i < CombSize; ++i)
            if (const int x = detail::ShiftNumber(last.Numbers[i], S); x > 0)
                this->AddListed(values, TStatKey::FromWords(uint16_t(x)));
    }
    void RefLoaded(int, bool sorted) {
        m_sorted = sorted;
        m_refMask = detail::NumberMask(this->RefDraw(), S);
    }
    int NumberKeysOf(int n, TStatKey *keys) const {
        if (n <= 0 || n > 255) return 0;
        keys[0] = TStatKey::FromWords(uint16_t(n));
        return 1;
    }
    int DrawKeysOf(int drawIdx, TStatKey *keys) const {
        const TDrawRec earlier = this->ReadDraw(drawIdx - Dist, m_sorted);
        const uint64_t wanted = m_refMask & detail::NumberMask(this->Draw());
        int n = 0;
        for (int i = 0; i < CombSize; ++i) {
            const int x = detail::ShiftNumber(earlier.Numbers[i], S);
            if (x > 0 && x < 64 && (wanted >> x) & 1) keys[n++] = TStatKey::FromWords(uint16_t(x));
        }
        return n;
    }

private:
    bool m_sorted = false;
    uint64_t m_refMask = 0; ///< the reference draw's numbers, shifted
};

/// RPC2, RPO1, PRC2O2, PRC2O3, PRC+-1, PRC+-2: how many numbers of the
/// earlier draw at distance Distance, shifted by Shift, are numbers of the
/// draw. A combination (the draw after the reference draw) counts those of
/// entry refIdx - Distance + 1.
template <class D, int S, int Dist> class TRepCountStat : public TKeyedStat<D, TCustomRepCount2Stat> {
    using Keyed = TKeyedStat<D, TCustomRepCount2Stat>;

public:
    using Keyed::Keyed;
    static int Shift() { return S; }
    static int Distance() { return Dist; }
    static QString CodeFormat() { return detail::RepCountCode(S, Dist); }
    static QString CaptionFormat() { return detail::RepCountCaption(S, Dist); }
    static constexpr TKeySearch MatchSearch = ksWord1;
    static constexpr int MaxKeys = 1;

    /// 1..6; a draw without repeats adds 0 when it occurs.
    void EnumAllValues(int lastIdx, TStatDrawArray &values) override {
        Keyed::EnumAllValues(lastIdx, values);
        this->AddListedWords(values, 1, CombSize);
    }
    void RefLoaded(int refIdx, bool sorted) {
        m_earlierMask = detail::NumberMask(this->ReadDraw(refIdx - Dist + 1, sorted), S);
    }
    int KeysOf(const TComb &c, TStatKey *keys) const {
        keys[0] = TStatKey::FromWords(uint16_t(detail::MaskCount(detail::NumberMask(c) & m_earlierMask)));
        return 1;
    }
    // Fast path: the set as a bit per byte value (bench_methods pass/RPC2).
    std::unique_ptr<TCombMatcher> MakeMatcher(const TStatDrawArray &selected, int refIdx, bool sorted,
                                              bool excludeMode) override {
        if (!this->List().FastPaths()) return Keyed::MakeMatcher(selected, refIdx, sorted, excludeMode);
        this->LoadRefDraw(refIdx, sorted);
        return std::make_unique<detail::TNumberSetCountMatcher>(m_earlierMask,
                                                                TSelectedKeys(selected, ksWord1));
    }
    int DrawKeysOf(int drawIdx, TStatKey *keys) const {
        const uint64_t earlier = detail::NumberMask(this->ReadDraw(drawIdx - Dist, false), S);
        keys[0] =
            TStatKey::FromWords(uint16_t(detail::MaskCount(earlier & detail::NumberMask(this->Draw()))));
        return 1;
    }

private:
    uint64_t m_earlierMask = 0; ///< what a combination's numbers are counted in
};

class TstRepValues2 final : public TRepValuesStat<TstRepValues2, 0, 1> {
    LOT_STAT_CLASS(TstRepValues2)
public:
    using TRepValuesStat::TRepValuesStat;
};

class TstRepValues2over1 final : public TRepValuesStat<TstRepValues2over1, 0, 2> {
    LOT_STAT_CLASS(TstRepValues2over1)
public:
    using TRepValuesStat::TRepValuesStat;
};

class TstRepValues2over2 final : public TRepValuesStat<TstRepValues2over2, 0, 3> {
    LOT_STAT_CLASS(TstRepValues2over2)
public:
    using TRepValuesStat::TRepValuesStat;
};

class TstRepValues2over3 final : public TRepValuesStat<TstRepValues2over3, 0, 4> {
    LOT_STAT_CLASS(TstRepValues2over3)
public:
    using TRepValuesStat::TRepValuesStat;
};

class TstRepValues2P1 final : public TRepValuesStat<TstRepValues2P1, 1, 1> {
    LOT_STAT_CLASS(TstRepValues2P1)
public:
    using TRepValuesStat::TRepValuesStat;
};

class TstRepValues2N1 final : public TRepValuesStat<TstRepValues2N1, -1, 1> {
    LOT_STAT_CLASS(TstRepValues2N1)
public:
    using TRepValuesStat::TRepValuesStat;
};

class TstRepValues2P2 final : public TRepValuesStat<TstRepValues2P2, 2, 1> {
    LOT_STAT_CLASS(TstRepValues2P2)
public:
    using TRepValuesStat::TRepValuesStat;
};

class TstRepValues2N2 final : public TRepValuesStat<TstRepValues2N2, -2, 1> {
    LOT_STAT_CLASS(TstRepValues2N2)
public:
    using TRepValuesStat::TRepValuesStat;
};

class TstRepCount2 final : public TRepCountStat<TstRepCount2, 0, 1> {
    LOT_STAT_CLASS(TstRepCount2)
public:
    using TRepCountStat::TRepCountStat;
};

class TstRepCount2over1 final : public TRepCountStat<TstRepCount2over1, 0, 2> {
    LOT_STAT_CLASS(TstRepCount2over1)
public:
    using TRepCountStat::TRepCountStat;
};

class TstRepCount2over2 final : public TRepCountStat<TstRepCount2over2, 0, 3> {
    LOT_STAT_CLASS(TstRepCount2over2)
public:
    using TRepCountStat::TRepCountStat;
};

class TstRepCount2over3 final : public TRepCountStat<TstRepCount2over3, 0, 4> {
    LOT_STAT_CLASS(TstRepCount2over3)
public:
    using TRepCountStat::TRepCountStat;
};

class TstRepCount2P1 final : public TRepCountStat<TstRepCount2P1, 1, 1> {
    LOT_STAT_CLASS(TstRepCount2P1)
public:
    using TRepCountStat::TRepCountStat;
};

class TstRepCount2N1 final : public TRepCountStat<TstRepCount2N1, -1, 1> {
    LOT_STAT_CLASS(TstRepCount2N1)
public:
    using TRepCountStat::TRepCountStat;
};

class TstRepCount2P2 final : public TRepCountStat<TstRepCount2P2, 2, 1> {
    LOT_STAT_CLASS(TstRepCount2P2)
public:
    using TRepCountStat::TRepCountStat;
};

class TstRepCount2N2 final : public TRepCountStat<TstRepCount2N2, -2, 1> {
    LOT_STAT_CLASS(TstRepCount2N2)
public:
    using TRepCountStat::TRepCountStat;
};

/// Where the numbers of a draw must be found among the two draws before it:
/// in both, or in the previous one only (not in the one before it).
enum class TRepThree { InBoth, FirstOnly };

/// RPV3, PRL2: the numbers of the draw that are numbers of the reference
/// draw and of the previous draws as Rule says; a combination has the
/// values of its numbers.
template <class D, TRepThree Rule> class TRep3ValuesStat : public TKeyedStat<D, TCustomValuesStat> {
    using Keyed = TKeyedStat<D, TCustomValuesStat>;

public:
    using Keyed::Keyed;
    static uint8_t Group() { return 7; }
    static uint8_t Flags() { return sfDynamic; }

    /// The numbers of entry lastIdx.
    void EnumAllValues(int lastIdx, TStatDrawArray &values) override {
        Keyed::EnumAllValues(lastIdx, values);
        const TDrawRec last = this->ReadDraw(lastIdx, false);
        for (int i = 0; i < CombSize; ++i)
            if (last.Numbers[i] > 0) this->AddListed(values, TStatKey::FromWords(last.Numbers[i]));
    }
    int NumberKeysOf(int n, TStatKey *keys) const {
        if (n <= 0 || n > 255) return 0;
        keys[0] = TStatKey::FromWords(uint16_t(n));
        return 1;
    }
    int DrawKeysOf(int drawIdx, TStatKey *keys) const {
        const uint64_t p1 = detail::NumberMask(this->ReadDraw(drawIdx - 1, false));
        const uint64_t p2 = detail::NumberMask(this->ReadDraw(drawIdx - 2, false));
        const uint64_t wanted =
            detail::NumberMask(this->RefDraw()) & p1 & (Rule == TRepThree::InBoth ? p2 : ~p2);
        int n = 0;
        for (int i = 0; i < CombSize; ++i) {
            const int x = this->Draw().Numbers[i];
            if (x > 0 && x < 64 && (wanted >> x) & 1) keys[n++] = TStatKey::FromWords(uint16_t(x));
        }
        return n;
    }
};

/// RPC3, PRB2: how many numbers of the draw are in the previous draws as
/// Rule says; a combination's numbers are counted in the reference draw and
/// the one before it.
template <class D, TRepThree Rule> class TRep3CountStat : public TKeyedStat<D, TCustomNumbersStat> {
    using Keyed = TKeyedStat<D, TCustomNumbersStat>;

public:
    using Keyed::Keyed;
    static uint8_t Group() { return 7; }
    static uint8_t Flags() { return sfDynamic; }
    static constexpr TKeySearch MatchSearch = ksWord1;
    static constexpr int MaxKeys = 1;

    /// 1..6; a draw without repeats adds 0 when it occurs.
    void EnumAllValues(int lastIdx, TStatDrawArray &values) override {
        Keyed::EnumAllValues(lastIdx, values);
        this->AddListedWords(values, 1, CombSize);
    }
    void RefLoaded(int refIdx, bool) {
        m_wanted = Wanted(detail::NumberMask(this->ReadDraw(refIdx, false)),
                          detail::NumberMask(this->ReadDraw(refIdx - 1, false)));
    }
    int KeysOf(const TComb &c, TStatKey *keys) const {
        keys[0] = TStatKey::FromWords(uint16_t(detail::MaskCount(detail::NumberMask(c) & m_wanted)));
        return 1;
    }
    // Fast path: as the counts with a shift and a distance.
    std::unique_ptr<TCombMatcher> MakeMatcher(const TStatDrawArray &selected, int refIdx, bool sorted,
                                              bool excludeMode) override {
        if (!this->List().FastPaths()) return Keyed::MakeMatcher(selected, refIdx, sorted, excludeMode);
        this->LoadRefDraw(refIdx, sorted);
        return std::make_unique<detail::TNumberSetCountMatcher>(m_wanted, TSelectedKeys(selected, ksWord1));
    }
    int DrawKeysOf(int drawIdx, TStatKey *keys) const {
        const uint64_t wanted = Wanted(detail::NumberMask(this->ReadDraw(drawIdx - 1, false)),
                                       detail::NumberMask(this->ReadDraw(drawIdx - 2, false)));
        keys[0] = TStatKey::FromWords(uint16_t(detail::MaskCount(detail::NumberMask(this->Draw()) & wanted)));
        return 1;
    }

private:
    static uint64_t Wanted(uint64_t first, uint64_t second) {
        return first & (Rule == TRepThree::InBoth ? second : ~second);
    }
    uint64_t m_wanted = 0; ///< what a combination's numbers are counted in
};

/// RPV3: numbers repeated in three draws running.
class TstRepValues3 final : public TRep3ValuesStat<TstRepValues3, TRepThree::InBoth> {
    LOT_STAT_CLASS(TstRepValues3)
public:
    using TRep3ValuesStat::TRep3ValuesStat;
    static QString CodeFormat() { return QStringLiteral("RPV3"); }
    static QString CaptionFormat() { return QStringLiteral("Повторяющиеся числа в 3-х тиражах подряд"); }
};

/// PRL2: numbers repeated from the previous draw but not from the one before.
class TstRepValues2B3 final : public TRep3ValuesStat<TstRepValues2B3, TRepThree::FirstOnly> {
    LOT_STAT_CLASS(TstRepValues2B3)
public:
    using TRep3ValuesStat::TRep3ValuesStat;
    static QString CodeFormat() { return QStringLiteral("PRL2"); }
    static QString CaptionFormat() {
        return QStringLiteral("Повторяющиеся числа не более чем в 2-х тиражах");
    }
};

/// RPC3: how many numbers repeat in three draws running.
class TstRepCount3 final : public TRep3CountStat<TstRepCount3, TRepThree::InBoth> {
    LOT_STAT_CLASS(TstRepCount3)
public:
    using TRep3CountStat::TRep3CountStat;
    static QString CodeFormat() { return QStringLiteral("RPC3"); }
    static QString CaptionFormat() { return QStringLiteral("Количество повторов в 3-х тиражах подряд"); }
};

/// PRB2: how many numbers repeat from the previous draw but not from the one before.
class TstRepCount2B3 final : public TRep3CountStat<TstRepCount2B3, TRepThree::FirstOnly> {
    LOT_STAT_CLASS(TstRepCount2B3)
public:
    using TRep3CountStat::TRep3CountStat;
    static QString CodeFormat() { return QStringLiteral("PRB2"); }
    static QString CaptionFormat() {
        return QStringLiteral("Количество повторов не более чем в 2-х тиражах");
    }
};

} // namespace lot
