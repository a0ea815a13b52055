#pragma once
/// @file Group 0 methods that look at the six numbers one by one: numbers,
/// digits, even/small/prime counts and masks, the number at a position and
/// the supplementary numbers.
///
/// A number 0 stands for "no number" (a draw outside the archive) and gives
/// no value in NUMS, DIGS, POS%d and POE%d.

#include "stats/CustomStatBases.h"
#include "stats/KeyedStat.h"

#include <array>

namespace lot {

/// A property of a number, one entry per byte value.
using TNumberTrait = std::array<uint8_t, 256>;

namespace detail {

template <class Pred> constexpr TNumberTrait MakeTrait(Pred pred) {
    TNumberTrait t{};
    for (int n = 0; n < 256; ++n)
        t[size_t(n)] = pred(n) ? 1 : 0;
    return t;
}

// 1 counts as prime in this game's tradition.
constexpr bool IsPrimeNumber(int n) {
    for (int p : {1, 2, 3, 5, 7, 11, 13, 17, 19, 23, 29, 31, 37, 41, 43})
        if (p == n) return true;
    return false;
}

/// The first half of 1..45.
inline constexpr int SmallMax = 22;

inline constexpr TNumberTrait EvenTrait = MakeTrait([](int n) { return n % 2 == 0; });
inline constexpr TNumberTrait OddTrait = MakeTrait([](int n) { return n % 2 != 0; });
inline constexpr TNumberTrait SmallTrait = MakeTrait([](int n) { return n <= SmallMax; });
inline constexpr TNumberTrait LargeTrait = MakeTrait([](int n) { return n > SmallMax; });
inline constexpr TNumberTrait PrimeTrait = MakeTrait([](int n) { return IsPrimeNumber(n); });

/// The decimal digits of every byte value, most significant first; none for
/// 0 (no number).
struct TDigits {
    int Count = 0;
    uint8_t Digits[3] = {};
};
constexpr std::array<TDigits, 256> MakeDigitTable() {
    std::array<TDigits, 256> t{};
    for (int n = 1; n < 256; ++n) {
        int tmp[3] = {}, count = 0;
        for (int v = n; v > 0; v /= 10)
            tmp[count++] = v % 10;
        t[size_t(n)].Count = count;
        for (int i = 0; i < count; ++i)
            t[size_t(n)].Digits[i] = uint8_t(tmp[count - 1 - i]);
    }
    return t;
}
inline constexpr std::array<TDigits, 256> DigitTable = MakeDigitTable();

/// The fast matcher of the count (mask false) or mask (mask true) of a
/// trait: the combination read as three pairs of numbers through a 64 KiB
/// table of the pairs' counts or 2-bit masks.
std::unique_ptr<TCombMatcher> MakeTraitPairMatcher(const TNumberTrait &trait, bool mask,
                                                   const TStatDrawArray &selected);
/// The fast matcher of the number at position 1..6: a byte table.
std::unique_ptr<TCombMatcher> MakePositionMatcher(int position, const TStatDrawArray &selected);

} // namespace detail

/// Count of the numbers with the trait D::Trait, shown as k:6-k (EVEN, SMAL, PRIM).
template <class D> class TNumberCountStat : public TKeyedStat<D, TCustomRatioStat> {
public:
    using TKeyedStat<D, TCustomRatioStat>::TKeyedStat;
    static uint8_t Group() { return 0; }
    static uint8_t Flags() { return sfPrefetch; }
    static constexpr TKeySearch MatchSearch = ksWord1;
    static constexpr int MaxKeys = 1;

    /// 1..6; a count of 0 enters the table only when it occurs.
    void EnumAllValues(int lastIdx, TStatDrawArray &values) override {
        TCustomRatioStat::EnumAllValues(lastIdx, values);
        for (int k = 1; k <= CombSize; ++k) {
            this->m_work.Key = TStatKey::FromWords(uint16_t(k));
            AddValue(values, this->m_work, false);
        }
    }
    // Fast path: about a quarter quicker than the derived pass (bench_methods pass/PRMV).
    std::unique_ptr<TCombMatcher> MakeMatcher(const TStatDrawArray &selected, int refIdx, bool sorted,
                                              bool excludeMode) override {
        if (!this->List().FastPaths())
            return TKeyedStat<D, TCustomRatioStat>::MakeMatcher(selected, refIdx, sorted, excludeMode);
        return detail::MakeTraitPairMatcher(D::Trait, false, selected);
    }
    int KeysOf(const TComb &c, TStatKey *keys) const {
        int count = 0;
#pragma GCC unroll 6
        for (int i = 0; i < CombSize; ++i)
            count += D::Trait[c[i]];
        keys[0] = TStatKey::FromWords(uint16_t(count));
        return 1;
    }
};

/// Mask of the positions whose number has the trait D::Trait, position 1
/// shifted in first (EVNV, SMLV, PRMV).
template <class D> class TNumberMaskStat : public TKeyedStat<D, TCustomMaskStat> {
public:
    using TKeyedStat<D, TCustomMaskStat>::TKeyedStat;
    static uint8_t Group() { return 0; }
    static uint8_t Flags() { return sfOrdered | sfPrefetch; }
    static constexpr TKeySearch MatchSearch = ksInt1;
    static constexpr int MaxKeys = 1;

    // Fast path: about a quarter quicker than the derived pass (bench_methods pass/PRMV).
    std::unique_ptr<TCombMatcher> MakeMatcher(const TStatDrawArray &selected, int refIdx, bool sorted,
                                              bool excludeMode) override {
        if (!this->List().FastPaths())
            return TKeyedStat<D, TCustomMaskStat>::MakeMatcher(selected, refIdx, sorted, excludeMode);
        return detail::MakeTraitPairMatcher(D::Trait, true, selected);
    }
    int KeysOf(const TComb &c, TStatKey *keys) const {
        int mask = 0;
#pragma GCC unroll 6
        for (int i = 0; i < CombSize; ++i)
            mask = mask * 2 + D::Trait[c[i]];
        keys[0] = TStatKey::FromInts(mask);
        return 1;
    }
};

/// NUMS: each of the six numbers is a value.
class TstValues final : public TKeyedStat<TstValues, TCustomValuesStat> {
    LOT_STAT_CLASS(TstValues)
public:
    using TKeyedStat::TKeyedStat;
    static QString CodeFormat() { return QStringLiteral("NUMS"); }
    static QString CaptionFormat() { return QStringLiteral("Числа тиража"); }
    static uint8_t Group() { return 0; }
    static uint8_t Flags() { return sfPrefetch; }

    /// 1..45.
    void EnumAllValues(int lastIdx, TStatDrawArray &values) override;
    int NumberKeysOf(int n, TStatKey *keys) const {
        if (n <= 0 || n > 255) return 0;
        keys[0] = TStatKey::FromWords(uint16_t(n));
        return 1;
    }
};

/// DIGS: each decimal digit of each number is a value; lists no values.
class TstDigits final : public TKeyedStat<TstDigits, TCustomNumbersStat> {
    LOT_STAT_CLASS(TstDigits)
public:
    using TKeyedStat::TKeyedStat;
    static QString CodeFormat() { return QStringLiteral("DIGS"); }
    static QString CaptionFormat() { return QStringLiteral("Цифры тиража"); }
    static uint8_t Group() { return 0; }
    static uint8_t Flags() { return sfPrefetch; }
    static constexpr int MaxNumberKeys = 3;
    static constexpr int MaxKeys = CombSize * MaxNumberKeys;

    int NumberKeysOf(int n, TStatKey *keys) const {
        if (n < 0 || n > 255) return 0;
        const detail::TDigits &d = detail::DigitTable[size_t(n)];
        for (int j = 0; j < d.Count; ++j)
            keys[j] = TStatKey::FromWords(d.Digits[j]);
        return d.Count;
    }
};

/// EVEN: count of even numbers.
class TstEvenCount final : public TNumberCountStat<TstEvenCount> {
    LOT_STAT_CLASS(TstEvenCount)
public:
    using TNumberCountStat::TNumberCountStat;
    static QString CodeFormat() { return QStringLiteral("EVEN"); }
    static QString CaptionFormat() { return QStringLiteral("Количество четных чисел в тираже (Ч:Н)"); }
    static constexpr const TNumberTrait &Trait = detail::EvenTrait;
};

/// EVNV: mask with a bit set for an odd number.
class TstEvenValues final : public TNumberMaskStat<TstEvenValues> {
    LOT_STAT_CLASS(TstEvenValues)
public:
    using TNumberMaskStat::TNumberMaskStat;
    static QString CodeFormat() { return QStringLiteral("EVNV"); }
    static QString CaptionFormat() { return QStringLiteral("Четные и нечетные числа в тираже (Чн..нЧ)"); }
    static constexpr const TNumberTrait &Trait = detail::OddTrait;
    QString ZeroLetter() const override { return QStringLiteral("Ч"); }
    QString OneLetter() const override { return QStringLiteral("н"); }
};

/// SMAL: count of numbers of the first half (1..22).
class TstSmallCount final : public TNumberCountStat<TstSmallCount> {
    LOT_STAT_CLASS(TstSmallCount)
public:
    using TNumberCountStat::TNumberCountStat;
    static QString CodeFormat() { return QStringLiteral("SMAL"); }
    static QString CaptionFormat() {
        return QStringLiteral("Количество чисел из первой половины диапазона (1П:2П)");
    }
    static constexpr const TNumberTrait &Trait = detail::SmallTrait;
};

/// SMLV: mask with a bit set for a number of the second half; lists no values.
class TstSmallValues final : public TNumberMaskStat<TstSmallValues> {
    LOT_STAT_CLASS(TstSmallValues)
public:
    using TNumberMaskStat::TNumberMaskStat;
    static QString CodeFormat() { return QStringLiteral("SMLV"); }
    static QString CaptionFormat() { return QStringLiteral("Числа из первой половины диапазона (12..12)"); }
    static constexpr const TNumberTrait &Trait = detail::LargeTrait;
    QString ZeroLetter() const override { return QStringLiteral("1"); }
    QString OneLetter() const override { return QStringLiteral("2"); }
    /// Only the masks that occur are listed, unlike the other masks.
    void EnumAllValues(int lastIdx, TStatDrawArray &values) override;
};

/// PRIM: count of prime numbers (1 counts as prime).
class TstPrimeCount final : public TNumberCountStat<TstPrimeCount> {
    LOT_STAT_CLASS(TstPrimeCount)
public:
    using TNumberCountStat::TNumberCountStat;
    static QString CodeFormat() { return QStringLiteral("PRIM"); }
    static QString CaptionFormat() { return QStringLiteral("Количество простых чисел (П:С)"); }
    static constexpr const TNumberTrait &Trait = detail::PrimeTrait;
};

/// PRMV: mask with a bit set for a prime number.
class TstPrimeValues final : public TNumberMaskStat<TstPrimeValues> {
    LOT_STAT_CLASS(TstPrimeValues)
public:
    using TNumberMaskStat::TNumberMaskStat;
    static QString CodeFormat() { return QStringLiteral("PRMV"); }
    static QString CaptionFormat() { return QStringLiteral("Простые и составные числа (ПС..СП)"); }
    static constexpr const TNumberTrait &Trait = detail::PrimeTrait;
    QString ZeroLetter() const override { return QStringLiteral("С"); }
    QString OneLetter() const override { return QStringLiteral("П"); }
};

/// POS%d: the number at position Param (1..6).
class TstPosVal final : public TKeyedStat<TstPosVal, TCustomGraphStat> {
    LOT_STAT_CLASS(TstPosVal)
public:
    using TKeyedStat::TKeyedStat;
    static QString CodeFormat() { return QStringLiteral("POS%d"); }
    static QString CaptionFormat() { return QStringLiteral("Число в %0:d позиции тиража"); }
    static QString HelpTopicFormat() { return QStringLiteral("POSx"); }
    static uint8_t Group() { return 0; }
    static uint8_t Flags() { return sfOrdered | sfPrefetch; }
    static bool HasParamRange() { return true; }
    static TParamRange GetParamRange(const TStatList &) { return {1, CombSize}; }
    static constexpr TKeySearch MatchSearch = ksWord1;
    static constexpr int MaxKeys = 1;

    /// 1..45.
    void EnumAllValues(int lastIdx, TStatDrawArray &values) override;
    // Fast path: about a third quicker than the derived pass (bench_methods pass/POS1).
    std::unique_ptr<TCombMatcher> MakeMatcher(const TStatDrawArray &selected, int refIdx, bool sorted,
                                              bool excludeMode) override;
    int KeysOf(const TComb &c, TStatKey *keys) const {
        const int n = m_param >= 1 && m_param <= CombSize ? c[m_param - 1] : 0;
        if (n == 0) return 0;
        keys[0] = TStatKey::FromWords(uint16_t(n));
        return 1;
    }
};

/// POE%d: supplementary number Param (1..2) of the draw. Combinations have
/// no supplementary numbers, so it has no full-set values and never matches.
class TstPosExt final : public TKeyedStat<TstPosExt, TCustomGraphStat> {
    LOT_STAT_CLASS(TstPosExt)
public:
    using TKeyedStat::TKeyedStat;
    static QString CodeFormat() { return QStringLiteral("POE%d"); }
    static QString CaptionFormat() {
        return QStringLiteral("Extra (Bonus, Star...) - число (!без фильтра!)");
    }
    static QString HelpTopicFormat() { return QStringLiteral("POSx"); }
    static uint8_t Group() { return 0; }
    static uint8_t Flags() { return 0; }
    static bool HasParamRange() { return true; }
    static TParamRange GetParamRange(const TStatList &) { return {1, ExtraCount}; }
    static constexpr int MaxKeys = 1;

    int KeysOf(const TComb &, TStatKey *) const { return 0; }
    int DrawKeysOf(int drawIdx, TStatKey *keys) const;
    /// The graph reads the draw itself: its numbers carry no supplementary ones.
    int GraphValue(const TComb &numbers, int drawIdx) override;
};

} // namespace lot
