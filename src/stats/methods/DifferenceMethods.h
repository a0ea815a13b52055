#pragma once
/// @file Group 2 methods: the differences between neighbouring numbers of a
/// draw (position 1 with 2, ..., 5 with 6), e_k = |a(k+1) - a(k)|: all of
/// them, the largest, repeated ones, the spread between the smallest and
/// the largest number, and the runs of 2, 3 or 4 consecutive differences
/// (KDS2..KDS4, registered with the combination values).

#include "stats/CustomStatBases.h"
#include "stats/KeyedStat.h"

#include <array>

namespace lot {

namespace detail {

inline constexpr int DiffCount = CombSize - 1;
using TDiffs = std::array<int, DiffCount>;

inline TDiffs DiffsOf(const TComb &c) {
    TDiffs e{};
#pragma GCC unroll 5
    for (int k = 0; k < DiffCount; ++k)
        e[size_t(k)] = c[k + 1] > c[k] ? c[k + 1] - c[k] : c[k] - c[k + 1];
    return e;
}

/// The distinct differences in order of first appearance with how often
/// each occurs; returns how many there are.
inline int DiffMultiplicities(const TDiffs &e, std::array<int, DiffCount> &diffs,
                              std::array<int, DiffCount> &counts) {
    int n = 0;
    for (int k = 0; k < DiffCount; ++k) {
        int j = 0;
        while (j < n && diffs[size_t(j)] != e[size_t(k)])
            ++j;
        if (j == n) {
            diffs[size_t(n)] = e[size_t(k)];
            counts[size_t(n++)] = 0;
        }
        ++counts[size_t(j)];
    }
    return n;
}

/// "%0:d x %1:d" of w1 and w2.
QString PairText(const TStatDraw &v);
/// w1..w(size) joined by ":".
QString WordsText(const TStatDraw &v, int size);

} // namespace detail

/// DIFA: each of the five differences; periods are measured for the first.
class TstDiffTotal final : public TKeyedStat<TstDiffTotal, TCustomNumbersStat> {
    LOT_STAT_CLASS(TstDiffTotal)
public:
    using TKeyedStat::TKeyedStat;
    static QString CodeFormat() { return QStringLiteral("DIFA"); }
    static QString CaptionFormat() { return QStringLiteral("Все разности между соседними позициями"); }
    static uint8_t Group() { return 2; }
    static uint8_t Flags() { return sfOrdered | sfPrefetch; }
    static constexpr TKeySearch MatchSearch = ksWord1;
    static constexpr int MaxKeys = detail::DiffCount;
    static constexpr TPeriodKeys PeriodKeys = TPeriodKeys::First;

    /// 1..44.
    void EnumAllValues(int lastIdx, TStatDrawArray &values) override;
    // Fast path: five reads of a table of neighbour pairs, about four times
    // quicker than the derived pass (bench_methods pass/DIFA).
    std::unique_ptr<TCombMatcher> MakeMatcher(const TStatDrawArray &selected, int refIdx, bool sorted,
                                              bool excludeMode) override;
    int KeysOf(const TComb &c, TStatKey *keys) const {
        const detail::TDiffs e = detail::DiffsOf(c);
#pragma GCC unroll 5
        for (int k = 0; k < detail::DiffCount; ++k)
            keys[k] = TStatKey::FromWords(uint16_t(e[size_t(k)]));
        return detail::DiffCount;
    }
};

/// DIFM: the largest difference.
class TstDiffMax final : public TKeyedStat<TstDiffMax, TCustomGraphStat> {
    LOT_STAT_CLASS(TstDiffMax)
public:
    using TKeyedStat::TKeyedStat;
    static QString CodeFormat() { return QStringLiteral("DIFM"); }
    static QString CaptionFormat() {
        return QStringLiteral("Максимальная разность между соседними позициями");
    }
    static uint8_t Group() { return 2; }
    static uint8_t Flags() { return sfOrdered | sfPrefetch; }
    static constexpr TKeySearch MatchSearch = ksWord1;
    static constexpr int MaxKeys = 1;

    /// 1..44.
    void EnumAllValues(int lastIdx, TStatDrawArray &values) override;
    int KeysOf(const TComb &c, TStatKey *keys) const {
        const detail::TDiffs e = detail::DiffsOf(c);
        int m = e[0];
        for (int k = 1; k < detail::DiffCount; ++k)
            m = e[size_t(k)] > m ? e[size_t(k)] : m;
        keys[0] = TStatKey::FromWords(uint16_t(m));
        return 1;
    }
};

/// DIFD: the largest number minus the smallest; the scan starts from 45 and 1.
class TstMinMaxDiffs final : public TKeyedStat<TstMinMaxDiffs, TCustomGraphStat> {
    LOT_STAT_CLASS(TstMinMaxDiffs)
public:
    using TKeyedStat::TKeyedStat;
    static QString CodeFormat() { return QStringLiteral("DIFD"); }
    static QString CaptionFormat() {
        return QStringLiteral("Разность между минимальным и максимальным числом");
    }
    static uint8_t Group() { return 2; }
    static uint8_t Flags() { return sfPrefetch; }
    static constexpr TKeySearch MatchSearch = ksWord1;
    static constexpr int MaxKeys = 1;

    /// 1..44.
    void EnumAllValues(int lastIdx, TStatDrawArray &values) override;
    int KeysOf(const TComb &c, TStatKey *keys) const {
        int lo = NumberCount, hi = 1;
#pragma GCC unroll 6
        for (int i = 0; i < CombSize; ++i) {
            lo = c[i] < lo ? c[i] : lo;
            hi = c[i] > hi ? c[i] : hi;
        }
        keys[0] = TStatKey::FromWords(uint16_t(hi - lo));
        return 1;
    }
};

/// DIFO: each distinct difference with how often it occurs.
class TstDiffSame final : public TKeyedStat<TstDiffSame, TCustomStat> {
    LOT_STAT_CLASS(TstDiffSame)
public:
    using TKeyedStat::TKeyedStat;
    static QString CodeFormat() { return QStringLiteral("DIFO"); }
    static QString CaptionFormat() { return QStringLiteral("Одинаковые разности между соседними позициями"); }
    static uint8_t Group() { return 2; }
    static uint8_t Flags() { return sfOrdered | sfPrefetch; }
    static bool AllowsValueList() { return false; }
    static constexpr int MaxKeys = detail::DiffCount;

    QString ValueToText(const TStatDraw &v) const override { return detail::PairText(v); }
    int KeysOf(const TComb &c, TStatKey *keys) const {
        std::array<int, detail::DiffCount> diffs, counts;
        const int n = detail::DiffMultiplicities(detail::DiffsOf(c), diffs, counts);
        for (int i = 0; i < n; ++i)
            keys[i] = TStatKey::FromWords(uint16_t(diffs[size_t(i)]), uint16_t(counts[size_t(i)]));
        return n;
    }
};

/// DIFK: the largest multiplicity of a difference.
class TstDiffSameCnt final : public TKeyedStat<TstDiffSameCnt, TCustomGraphStat> {
    LOT_STAT_CLASS(TstDiffSameCnt)
public:
    using TKeyedStat::TKeyedStat;
    static QString CodeFormat() { return QStringLiteral("DIFK"); }
    static QString CaptionFormat() {
        return QStringLiteral("Количество одинаковых разностей между соседними позициями");
    }
    static uint8_t Group() { return 2; }
    static uint8_t Flags() { return sfOrdered | sfPrefetch; }
    static constexpr TKeySearch MatchSearch = ksWord1;
    static constexpr int MaxKeys = 1;

    /// 1..5.
    void EnumAllValues(int lastIdx, TStatDrawArray &values) override;
    int KeysOf(const TComb &c, TStatKey *keys) const {
        std::array<int, detail::DiffCount> diffs, counts;
        const int n = detail::DiffMultiplicities(detail::DiffsOf(c), diffs, counts);
        int m = 0;
        for (int i = 0; i < n; ++i)
            m = counts[size_t(i)] > m ? counts[size_t(i)] : m;
        keys[0] = TStatKey::FromWords(uint16_t(m));
        return 1;
    }
};

/// KDS2..KDS4: every run of Size consecutive differences (5 - Size + 1 of
/// them); periods are measured for the first.
template <class D, int Size> class TDiffSeqStat : public TKeyedStat<D, TCustomStat> {
public:
    using TKeyedStat<D, TCustomStat>::TKeyedStat;
    static QString CodeFormat() { return QStringLiteral("KDS") + QString::number(Size); }
    static QString CaptionFormat();
    static uint8_t Group() { return 2; }
    static uint8_t Flags() { return sfOrdered; }
    static bool AllowsValueList() { return false; }
    static constexpr int MaxKeys = detail::DiffCount - Size + 1;
    static constexpr TPeriodKeys PeriodKeys = TPeriodKeys::First;

    QString ValueToText(const TStatDraw &v) const override { return detail::WordsText(v, Size); }
    int KeysOf(const TComb &c, TStatKey *keys) const {
        const detail::TDiffs e = detail::DiffsOf(c);
        for (int s = 0; s < MaxKeys; ++s) {
            TStatKey k;
            for (int w = 0; w < Size; ++w)
                k.SetW(w + 1, uint16_t(e[size_t(s + w)]));
            keys[s] = k;
        }
        return MaxKeys;
    }
};

/// The caption of the combination members of the differences.
QString DiffSeqCaption(int size);

template <class D, int Size> QString TDiffSeqStat<D, Size>::CaptionFormat() {
    return DiffSeqCaption(Size);
}

class TstCombDiffSeq2 final : public TDiffSeqStat<TstCombDiffSeq2, 2> {
    LOT_STAT_CLASS(TstCombDiffSeq2)
public:
    using TDiffSeqStat::TDiffSeqStat;
};

class TstCombDiffSeq3 final : public TDiffSeqStat<TstCombDiffSeq3, 3> {
    LOT_STAT_CLASS(TstCombDiffSeq3)
public:
    using TDiffSeqStat::TDiffSeqStat;
};

class TstCombDiffSeq4 final : public TDiffSeqStat<TstCombDiffSeq4, 4> {
    LOT_STAT_CLASS(TstCombDiffSeq4)
public:
    using TDiffSeqStat::TDiffSeqStat;
};

} // namespace lot
