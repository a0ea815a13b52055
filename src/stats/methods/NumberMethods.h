#pragma once
/// @file Group 0 methods that look at the six numbers one by one: numbers,
/// digits, even/small/prime counts and masks, the number at a position and
/// the supplementary numbers.
///
/// A number 0 stands for "no number" (a draw outside the archive) and gives
/// no value in NUMS, DIGS, POS%d and POE%d.

#include "stats/CustomStatBases.h"

#include <array>

namespace lot {

/// A property of a number, one entry per byte value.
using TNumberTrait = std::array<uint8_t, 256>;

/// Count of the numbers with a trait, shown as k:6-k (EVEN, SMAL, PRIM).
class TNumberCountStat : public TCustomRatioStat {
public:
    using TCustomRatioStat::TCustomRatioStat;
    static uint8_t Group() { return 0; }
    static uint8_t Flags() { return sfPrefetch; }

    void EnumAllValues(int lastIdx, TStatDrawArray &values) override;
    void CombValues(const TComb &c, TStatDrawArray &values) override;
    int CombKeys(const TComb &c, TStatKey *keys) const override;
    void DrawValues(int drawIdx, int lastIdx, bool sorted, TStatDrawArray &values, TStatScratch &scratch,
                    TLastValueArray &lastValues) override;
    bool CombMatches(const TComb &c, const TStatDrawArray &selected, int refIdx, bool sorted,
                     bool excludeMode) override;
    std::unique_ptr<TCombMatcher> MakeMatcher(const TStatDrawArray &selected, int refIdx, bool sorted,
                                              bool excludeMode) override;
    int GraphValue(const TComb &numbers, int drawIdx) override;

protected:
    virtual const TNumberTrait &Trait() const = 0;
};

/// Mask of the positions whose number has a trait (EVNV, SMLV, PRMV).
class TNumberMaskStat : public TCustomMaskStat {
public:
    using TCustomMaskStat::TCustomMaskStat;
    static uint8_t Group() { return 0; }
    static uint8_t Flags() { return sfOrdered | sfPrefetch; }

    void CombValues(const TComb &c, TStatDrawArray &values) override;
    int CombKeys(const TComb &c, TStatKey *keys) const override;
    void DrawValues(int drawIdx, int lastIdx, bool sorted, TStatDrawArray &values, TStatScratch &scratch,
                    TLastValueArray &lastValues) override;
    bool CombMatches(const TComb &c, const TStatDrawArray &selected, int refIdx, bool sorted,
                     bool excludeMode) override;
    std::unique_ptr<TCombMatcher> MakeMatcher(const TStatDrawArray &selected, int refIdx, bool sorted,
                                              bool excludeMode) override;

protected:
    virtual const TNumberTrait &Trait() const = 0;
};

/// NUMS: each of the six numbers is a value.
class TstValues : public TCustomValuesStat {
    LOT_STAT_CLASS(TstValues)
public:
    using TCustomValuesStat::TCustomValuesStat;
    static QString CodeFormat() { return QStringLiteral("NUMS"); }
    static QString CaptionFormat() { return QStringLiteral("Числа тиража"); }
    static uint8_t Group() { return 0; }
    static uint8_t Flags() { return sfPrefetch; }

    void EnumAllValues(int lastIdx, TStatDrawArray &values) override;
    void CombValues(const TComb &c, TStatDrawArray &values) override;
    int NumberKeys(int n, TStatKey *keys) const override;
    void DrawValues(int drawIdx, int lastIdx, bool sorted, TStatDrawArray &values, TStatScratch &scratch,
                    TLastValueArray &lastValues) override;
    bool CombMatches(const TComb &c, const TStatDrawArray &selected, int refIdx, bool sorted,
                     bool excludeMode) override;
    std::unique_ptr<TCombMatcher> MakeMatcher(const TStatDrawArray &selected, int refIdx, bool sorted,
                                              bool excludeMode) override;
};

/// DIGS: each decimal digit of each number is a value.
class TstDigits : public TCustomNumbersStat {
    LOT_STAT_CLASS(TstDigits)
public:
    using TCustomNumbersStat::TCustomNumbersStat;
    static QString CodeFormat() { return QStringLiteral("DIGS"); }
    static QString CaptionFormat() { return QStringLiteral("Цифры тиража"); }
    static uint8_t Group() { return 0; }
    static uint8_t Flags() { return sfPrefetch; }

    void CombValues(const TComb &c, TStatDrawArray &values) override;
    int NumberKeys(int n, TStatKey *keys) const override;
    void DrawValues(int drawIdx, int lastIdx, bool sorted, TStatDrawArray &values, TStatScratch &scratch,
                    TLastValueArray &lastValues) override;
    bool CombMatches(const TComb &c, const TStatDrawArray &selected, int refIdx, bool sorted,
                     bool excludeMode) override;
    std::unique_ptr<TCombMatcher> MakeMatcher(const TStatDrawArray &selected, int refIdx, bool sorted,
                                              bool excludeMode) override;
};

/// EVEN: count of even numbers.
class TstEvenCount : public TNumberCountStat {
    LOT_STAT_CLASS(TstEvenCount)
public:
    using TNumberCountStat::TNumberCountStat;
    static QString CodeFormat() { return QStringLiteral("EVEN"); }
    static QString CaptionFormat() { return QStringLiteral("Количество четных чисел в тираже (Ч:Н)"); }

protected:
    const TNumberTrait &Trait() const override;
};

/// EVNV: mask with a bit set for an odd number.
class TstEvenValues : public TNumberMaskStat {
    LOT_STAT_CLASS(TstEvenValues)
public:
    using TNumberMaskStat::TNumberMaskStat;
    static QString CodeFormat() { return QStringLiteral("EVNV"); }
    static QString CaptionFormat() { return QStringLiteral("Четные и нечетные числа в тираже (Чн..нЧ)"); }
    QString ZeroLetter() const override { return QStringLiteral("Ч"); }
    QString OneLetter() const override { return QStringLiteral("н"); }

protected:
    const TNumberTrait &Trait() const override;
};

/// SMAL: count of numbers of the first half (1..22).
class TstSmallCount : public TNumberCountStat {
    LOT_STAT_CLASS(TstSmallCount)
public:
    using TNumberCountStat::TNumberCountStat;
    static QString CodeFormat() { return QStringLiteral("SMAL"); }
    static QString CaptionFormat() {
        return QStringLiteral("Количество чисел из первой половины диапазона (1П:2П)");
    }

protected:
    const TNumberTrait &Trait() const override;
};

/// SMLV: mask with a bit set for a number of the second half; lists no values.
class TstSmallValues : public TNumberMaskStat {
    LOT_STAT_CLASS(TstSmallValues)
public:
    using TNumberMaskStat::TNumberMaskStat;
    static QString CodeFormat() { return QStringLiteral("SMLV"); }
    static QString CaptionFormat() { return QStringLiteral("Числа из первой половины диапазона (12..12)"); }
    QString ZeroLetter() const override { return QStringLiteral("1"); }
    QString OneLetter() const override { return QStringLiteral("2"); }
    void EnumAllValues(int lastIdx, TStatDrawArray &values) override;

protected:
    const TNumberTrait &Trait() const override;
};

/// PRIM: count of prime numbers (1 counts as prime).
class TstPrimeCount : public TNumberCountStat {
    LOT_STAT_CLASS(TstPrimeCount)
public:
    using TNumberCountStat::TNumberCountStat;
    static QString CodeFormat() { return QStringLiteral("PRIM"); }
    static QString CaptionFormat() { return QStringLiteral("Количество простых чисел (П:С)"); }

protected:
    const TNumberTrait &Trait() const override;
};

/// PRMV: mask with a bit set for a prime number.
class TstPrimeValues : public TNumberMaskStat {
    LOT_STAT_CLASS(TstPrimeValues)
public:
    using TNumberMaskStat::TNumberMaskStat;
    static QString CodeFormat() { return QStringLiteral("PRMV"); }
    static QString CaptionFormat() { return QStringLiteral("Простые и составные числа (ПС..СП)"); }
    QString ZeroLetter() const override { return QStringLiteral("С"); }
    QString OneLetter() const override { return QStringLiteral("П"); }

protected:
    const TNumberTrait &Trait() const override;
};

/// POS%d: the number at position Param (1..6).
class TstPosVal : public TCustomGraphStat {
    LOT_STAT_CLASS(TstPosVal)
public:
    using TCustomGraphStat::TCustomGraphStat;
    static QString CodeFormat() { return QStringLiteral("POS%d"); }
    static QString CaptionFormat() { return QStringLiteral("Число в %0:d позиции тиража"); }
    static QString HelpTopicFormat() { return QStringLiteral("POSx"); }
    static uint8_t Group() { return 0; }
    static uint8_t Flags() { return sfOrdered | sfPrefetch; }
    static bool HasParamRange() { return true; }
    static TParamRange GetParamRange(const TStatList &) { return {1, CombSize}; }

    void EnumAllValues(int lastIdx, TStatDrawArray &values) override;
    void CombValues(const TComb &c, TStatDrawArray &values) override;
    int CombKeys(const TComb &c, TStatKey *keys) const override;
    void DrawValues(int drawIdx, int lastIdx, bool sorted, TStatDrawArray &values, TStatScratch &scratch,
                    TLastValueArray &lastValues) override;
    bool CombMatches(const TComb &c, const TStatDrawArray &selected, int refIdx, bool sorted,
                     bool excludeMode) override;
    std::unique_ptr<TCombMatcher> MakeMatcher(const TStatDrawArray &selected, int refIdx, bool sorted,
                                              bool excludeMode) override;
    int GraphValue(const TComb &numbers, int drawIdx) override;
};

/// POE%d: supplementary number Param (1..2) of the draw. Combinations have
/// no supplementary numbers, so it has no full-set values and never matches.
class TstPosExt : public TCustomGraphStat {
    LOT_STAT_CLASS(TstPosExt)
public:
    using TCustomGraphStat::TCustomGraphStat;
    static QString CodeFormat() { return QStringLiteral("POE%d"); }
    static QString CaptionFormat() {
        return QStringLiteral("Extra (Bonus, Star...) - число (!без фильтра!)");
    }
    static QString HelpTopicFormat() { return QStringLiteral("POSx"); }
    static uint8_t Group() { return 0; }
    static uint8_t Flags() { return 0; }
    static bool HasParamRange() { return true; }
    static TParamRange GetParamRange(const TStatList &) { return {1, ExtraCount}; }

    void DrawValues(int drawIdx, int lastIdx, bool sorted, TStatDrawArray &values, TStatScratch &scratch,
                    TLastValueArray &lastValues) override;
    bool CombMatches(const TComb &c, const TStatDrawArray &selected, int refIdx, bool sorted,
                     bool excludeMode) override;
    std::unique_ptr<TCombMatcher> MakeMatcher(const TStatDrawArray &selected, int refIdx, bool sorted,
                                              bool excludeMode) override;
    int GraphValue(const TComb &numbers, int drawIdx) override;
};

} // namespace lot
