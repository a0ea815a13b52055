#pragma once
/// @file Group 1 methods: the sum of the six numbers, whether it lies in a
/// central range, how it changes from the previous draw, the sums of the
/// even and of the prime numbers, and how many numbers are the sum of two
/// others.
///
/// SUMC, SUMV and SUMT are dynamic: a draw has a value only when its
/// previous draw resembles the reference draw, and a combination stands for
/// the draw after the reference draw (its previous draw). A draw without a
/// previous draw in the archive (the oldest one) has no value in them: its
/// previous sum would read as 0, which is no sum.

#include "stats/CustomStatBases.h"
#include "stats/KeyedStat.h"
#include "stats/methods/NumberMethods.h"

namespace lot {

namespace detail {

inline int SumOf(const TComb &c) {
    int s = 0;
#pragma GCC unroll 6
    for (int i = 0; i < CombSize; ++i)
        s += c[i];
    return s;
}

inline int SumOf(const TDrawRec &d) {
    int s = 0;
    for (int i = 0; i < CombSize; ++i)
        s += d.Numbers[i];
    return s;
}

/// Sum of the numbers with the trait.
inline int TraitSumOf(const TComb &c, const TNumberTrait &trait) {
    int s = 0;
#pragma GCC unroll 6
    for (int i = 0; i < CombSize; ++i)
        s += trait[c[i]] ? c[i] : 0;
    return s;
}

/// -1, 0 or 1 as the sum went down, stayed or went up.
constexpr int Direction(int from, int to) {
    return to > from ? 1 : (to < from ? -1 : 0);
}

/// Smallest and largest sum of six numbers of 1..45.
inline constexpr int SumMin = 1 + 2 + 3 + 4 + 5 + 6;
inline constexpr int SumMax = 40 + 41 + 42 + 43 + 44 + 45;
/// How far a previous sum may lie from the reference sum for SUMV.
inline constexpr int SumChangeWindow = (SumMax - SumMin) / 10;

/// A central range of SUM%d.
struct TSumRange {
    int Low = 1;
    int High = 0; ///< below Low: no sum lies in it
    bool Contains(int sum) const { return sum >= Low && sum <= High; }
};

} // namespace detail

/// SUMS: the sum of the six numbers.
class TstSumValues final : public TKeyedStat<TstSumValues, TCustomGraphStat> {
    LOT_STAT_CLASS(TstSumValues)
public:
    using TKeyedStat::TKeyedStat;
    static QString CodeFormat() { return QStringLiteral("SUMS"); }
    static QString CaptionFormat() { return QStringLiteral("Сумма тиража: все значения"); }
    static uint8_t Group() { return 1; }
    static uint8_t Flags() { return sfPrefetch; }
    static constexpr TKeySearch MatchSearch = ksWord1Word3;
    static constexpr int MaxKeys = 1;

    /// 21..255.
    void EnumAllValues(int lastIdx, TStatDrawArray &values) override;
    int KeysOf(const TComb &c, TStatKey *keys) const {
        keys[0] = TStatKey::FromInts(detail::SumOf(c));
        return 1;
    }
};

/// SUM%d: 1 when the sum lies in central range Param (1..3), else 0.
class TstSumRanges final : public TKeyedStat<TstSumRanges, TCustomGraphStat> {
    LOT_STAT_CLASS(TstSumRanges)
public:
    using TKeyedStat::TKeyedStat;
    static QString CodeFormat() { return QStringLiteral("SUM%d"); }
    static QString CaptionFormat() { return QStringLiteral("Сумма тиража: диапазон %d (%d/%d)"); }
    /// The format takes the range and its share, e.g. "диапазон 2 (1/2)".
    static QString CaptionOf(int param);
    static uint8_t Group() { return 1; }
    static uint8_t Flags() { return sfPrefetch; }
    static bool AllowsValueList() { return false; }
    static bool HasParamRange() { return true; }
    static TParamRange GetParamRange(const TStatList &) { return {1, 3}; }
    static constexpr int MaxKeys = 1;

    /// Range 1..3; an empty range for any other parameter.
    static detail::TSumRange Range(int param);

    QString ValueToText(const TStatDraw &v) const override;
    /// 0 and 1.
    void EnumAllValues(int lastIdx, TStatDrawArray &values) override;
    /// The in-range row decides alone when it is selected: the combinations
    /// in the range match. Otherwise those outside it match.
    bool CombMatches(const TComb &c, const TStatDrawArray &selected, int refIdx, bool sorted,
                     bool excludeMode) override;
    // The same rule as CombMatches: the derived matcher of the one value it comes to.
    std::unique_ptr<TCombMatcher> MakeMatcher(const TStatDrawArray &selected, int refIdx, bool sorted,
                                              bool excludeMode) override;
    int KeysOf(const TComb &c, TStatKey *keys) const {
        keys[0] = TStatKey::FromWords(m_range.Contains(detail::SumOf(c)) ? 1 : 0);
        return 1;
    }

private:
    detail::TSumRange m_range = Range(m_param);
};

/// SUMC: (previous sum, sum) of the draws whose previous sum equals the
/// reference sum.
class TstSumChange final : public TKeyedStat<TstSumChange, TCustomGraphStat> {
    LOT_STAT_CLASS(TstSumChange)
public:
    using TKeyedStat::TKeyedStat;
    static QString CodeFormat() { return QStringLiteral("SUMC"); }
    static QString CaptionFormat() { return QStringLiteral("Сумма тиража: изменения (точно)"); }
    static uint8_t Group() { return 1; }
    static uint8_t Flags() { return sfDynamic; }
    static bool AllowsValueList() { return false; }
    /// The sum alone decides: the combination's previous sum is the reference sum.
    static constexpr TKeySearch MatchSearch = ksInt2;
    static constexpr int MaxKeys = 1;

    QString ValueToText(const TStatDraw &v) const override;
    /// The graph reads the draw before drawIdx, not the reference draw.
    int GraphValue(const TComb &numbers, int drawIdx) override;
    int KeysOf(const TComb &c, TStatKey *keys) const {
        keys[0] = TStatKey::FromInts(detail::SumOf(RefDraw()), detail::SumOf(c));
        return 1;
    }
    int DrawKeysOf(int drawIdx, TStatKey *keys) const;
};

/// SUMV: sum - previous sum of the draws whose previous sum lies within 23
/// of the reference sum.
class TstSumChangeSome final : public TKeyedStat<TstSumChangeSome, TCustomStat> {
    LOT_STAT_CLASS(TstSumChangeSome)
public:
    using TKeyedStat::TKeyedStat;
    static QString CodeFormat() { return QStringLiteral("SUMV"); }
    static QString CaptionFormat() { return QStringLiteral("Сумма тиража: изменения (диапазон)"); }
    static uint8_t Group() { return 1; }
    static uint8_t Flags() { return sfDynamic; }
    static bool AllowsValueList() { return false; }
    static constexpr TKeySearch MatchSearch = ksInt1;
    static constexpr int MaxKeys = 1;

    QString ValueToText(const TStatDraw &v) const override;
    int KeysOf(const TComb &c, TStatKey *keys) const {
        keys[0] = TStatKey::FromInts(detail::SumOf(c) - detail::SumOf(RefDraw()));
        return 1;
    }
    int DrawKeysOf(int drawIdx, TStatKey *keys) const;
};

/// SUMT: the direction of the sum from the previous draw, for the draws
/// whose previous sum equals the reference sum.
class TstSumTrend final : public TKeyedStat<TstSumTrend, TCustomGraphStat> {
    LOT_STAT_CLASS(TstSumTrend)
public:
    using TKeyedStat::TKeyedStat;
    static QString CodeFormat() { return QStringLiteral("SUMT"); }
    static QString CaptionFormat() { return QStringLiteral("Сумма тиража: направление изменения"); }
    static uint8_t Group() { return 1; }
    static uint8_t Flags() { return sfDynamic; }
    static bool AllowsValueList() { return false; }
    static constexpr TKeySearch MatchSearch = ksInt1;
    static constexpr int MaxKeys = 1;

    QString ValueToText(const TStatDraw &v) const override;
    /// 0, 1, -1.
    void EnumAllValues(int lastIdx, TStatDrawArray &values) override;
    /// The graph reads the draw before drawIdx, and a fall is -1, not a word.
    int GraphValue(const TComb &numbers, int drawIdx) override;
    int KeysOf(const TComb &c, TStatKey *keys) const {
        keys[0] = TStatKey::FromInts(detail::Direction(detail::SumOf(RefDraw()), detail::SumOf(c)));
        return 1;
    }
    int DrawKeysOf(int drawIdx, TStatKey *keys) const;
};

/// SUME: the sum of the even numbers.
class TstSumEvenValues final : public TKeyedStat<TstSumEvenValues, TCustomGraphStat> {
    LOT_STAT_CLASS(TstSumEvenValues)
public:
    using TKeyedStat::TKeyedStat;
    static QString CodeFormat() { return QStringLiteral("SUME"); }
    static QString CaptionFormat() { return QStringLiteral("Сумма тиража: только четные"); }
    static uint8_t Group() { return 1; }
    static uint8_t Flags() { return sfPrefetch; }
    static constexpr TKeySearch MatchSearch = ksWord1Word3;
    static constexpr int MaxKeys = 1;

    int KeysOf(const TComb &c, TStatKey *keys) const {
        keys[0] = TStatKey::FromInts(detail::TraitSumOf(c, detail::EvenTrait));
        return 1;
    }
};

/// SUMP: the sum of the prime numbers (1 counts as prime).
class TstSumPrimeValues final : public TKeyedStat<TstSumPrimeValues, TCustomGraphStat> {
    LOT_STAT_CLASS(TstSumPrimeValues)
public:
    using TKeyedStat::TKeyedStat;
    static QString CodeFormat() { return QStringLiteral("SUMP"); }
    static QString CaptionFormat() { return QStringLiteral("Сумма тиража: только простые"); }
    static uint8_t Group() { return 1; }
    static uint8_t Flags() { return sfPrefetch; }
    static constexpr TKeySearch MatchSearch = ksWord1Word3;
    static constexpr int MaxKeys = 1;

    int KeysOf(const TComb &c, TStatKey *keys) const {
        keys[0] = TStatKey::FromInts(detail::TraitSumOf(c, detail::PrimeTrait));
        return 1;
    }
};

/// S2T3: how many times a number is the sum of two others: one count per
/// position and pair of other positions.
class TstSum2To3 final : public TKeyedStat<TstSum2To3, TCustomGraphStat> {
    LOT_STAT_CLASS(TstSum2To3)
public:
    using TKeyedStat::TKeyedStat;
    static QString CodeFormat() { return QStringLiteral("S2T3"); }
    static QString CaptionFormat() { return QStringLiteral("Сумма двух чисел тиража равна третьему числу"); }
    static uint8_t Group() { return 1; }
    static uint8_t Flags() { return sfPrefetch; }
    static constexpr TKeySearch MatchSearch = ksWord1;
    static constexpr int MaxKeys = 1;

    int KeysOf(const TComb &c, TStatKey *keys) const {
        int count = 0;
        for (int j = 0; j < CombSize; ++j)
            for (int k = j + 1; k < CombSize; ++k) {
                const int pair = c[j] + c[k];
                for (int i = 0; i < CombSize; ++i)
                    count += i != j && i != k && c[i] == pair;
            }
        keys[0] = TStatKey::FromWords(uint16_t(count));
        return 1;
    }
};

} // namespace lot
