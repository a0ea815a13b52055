#pragma once
/// @file Group 6 methods: runs of consecutive numbers inside one draw. A run
/// is a maximal stretch of neighbouring positions whose numbers go up by
/// exactly 1; a number outside a longer run is a run of its own, so the
/// lengths of a draw's runs add up to 6. The graph values of SEQS and LENS
/// take a step of 1 in either direction, which differs only for draws
/// evaluated in drawing order.

#include "stats/CustomStatBases.h"
#include "stats/KeyedStat.h"

#include <array>

namespace lot {

namespace detail {

/// The lengths of the runs of six numbers in position order; returns how
/// many runs. With bothWays a step down by 1 also continues a run.
inline int RunLengths(const TComb &c, std::array<int, CombSize> &lengths, bool bothWays = false) {
    int n = 0, len = 1;
    for (int i = 1; i < CombSize; ++i) {
        const int step = int(c[i]) - int(c[i - 1]);
        if (step == 1 || (bothWays && step == -1)) {
            ++len;
        } else {
            lengths[size_t(n++)] = len;
            len = 1;
        }
    }
    lengths[size_t(n++)] = len;
    return n;
}

/// How many runs have two numbers or more.
inline int LongRunCount(const TComb &c, bool bothWays = false) {
    std::array<int, CombSize> lengths;
    const int n = RunLengths(c, lengths, bothWays);
    int count = 0;
    for (int i = 0; i < n; ++i)
        count += lengths[size_t(i)] >= 2;
    return count;
}

/// The length of the longest run.
inline int LongestRun(const TComb &c, bool bothWays = false) {
    std::array<int, CombSize> lengths;
    const int n = RunLengths(c, lengths, bothWays);
    int most = 0;
    for (int i = 0; i < n; ++i)
        most = lengths[size_t(i)] > most ? lengths[size_t(i)] : most;
    return most;
}

} // namespace detail

/// SEQL: the length of every run.
class TstSequenceLen final : public TKeyedStat<TstSequenceLen, TCustomNumbersStat> {
    LOT_STAT_CLASS(TstSequenceLen)
public:
    using TKeyedStat::TKeyedStat;
    static QString CodeFormat() { return QStringLiteral("SEQL"); }
    static QString CaptionFormat() { return QStringLiteral("Длина последовательности в тираже"); }
    static uint8_t Group() { return 6; }
    static uint8_t Flags() { return sfOrdered | sfPrefetch; }
    static constexpr TKeySearch MatchSearch = ksWord1;

    /// 1..6.
    void EnumAllValues(int lastIdx, TStatDrawArray &values) override;
    int KeysOf(const TComb &c, TStatKey *keys) const {
        std::array<int, CombSize> lengths;
        const int n = detail::RunLengths(c, lengths);
        for (int i = 0; i < n; ++i)
            keys[i] = TStatKey::FromWords(uint16_t(lengths[size_t(i)]));
        return n;
    }
};

/// SEQS: how many runs have two numbers or more.
class TstSequenceCnt final : public TKeyedStat<TstSequenceCnt, TCustomGraphStat> {
    LOT_STAT_CLASS(TstSequenceCnt)
public:
    using TKeyedStat::TKeyedStat;
    static QString CodeFormat() { return QStringLiteral("SEQS"); }
    static QString CaptionFormat() { return QStringLiteral("Количество последовательностей в тираже"); }
    static uint8_t Group() { return 6; }
    static uint8_t Flags() { return sfOrdered | sfPrefetch; }
    static constexpr TKeySearch MatchSearch = ksWord1;
    static constexpr int MaxKeys = 1;

    /// 0..3.
    void EnumAllValues(int lastIdx, TStatDrawArray &values) override;
    /// The graph takes a step of 1 in either direction.
    int GraphValue(const TComb &numbers, int drawIdx) override;
    int KeysOf(const TComb &c, TStatKey *keys) const {
        keys[0] = TStatKey::FromWords(uint16_t(detail::LongRunCount(c)));
        return 1;
    }
};

/// LENS: the length of the longest run.
class TstSequenceLenMax final : public TKeyedStat<TstSequenceLenMax, TCustomGraphStat> {
    LOT_STAT_CLASS(TstSequenceLenMax)
public:
    using TKeyedStat::TKeyedStat;
    static QString CodeFormat() { return QStringLiteral("LENS"); }
    static QString CaptionFormat() { return QStringLiteral("Макс. длина последовательности в тираже"); }
    static uint8_t Group() { return 6; }
    static uint8_t Flags() { return sfOrdered | sfPrefetch; }
    static constexpr TKeySearch MatchSearch = ksWord1;
    static constexpr int MaxKeys = 1;

    /// 1..6.
    void EnumAllValues(int lastIdx, TStatDrawArray &values) override;
    /// The graph takes a step of 1 in either direction.
    int GraphValue(const TComb &numbers, int drawIdx) override;
    int KeysOf(const TComb &c, TStatKey *keys) const {
        keys[0] = TStatKey::FromWords(uint16_t(detail::LongestRun(c)));
        return 1;
    }
};

} // namespace lot
