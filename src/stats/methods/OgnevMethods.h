#pragma once
/// @file Group 11 methods: the characteristic number of six numbers in
/// their order, reduced by repeated differences of neighbours down to two
/// numbers a, b and h = |b - a|. Variant 0 is h; variant 1 is a + b when h
/// is 0 or 1, else h; variant 2 is a + b when h is 0, the pair (1, a + b)
/// when h is 1, else h.
///
/// HCO3 is dynamic and meant for filtering only: its table holds the
/// characteristic number (variant 2) of the reference draw and a series of
/// its multiples, each counted 1 when it came out in the draw that followed
/// the reference draw (known only while a draws offset hides that draw);
/// a combination has the values of its numbers.

#include "stats/CustomStatBases.h"
#include "stats/KeyedStat.h"

namespace lot {

namespace detail {

/// A characteristic number; Pair: variant 2's pair (1, Value).
struct TOgnevNumber {
    int Value = 0;
    bool Pair = false;
};

/// |a - b| without a branch: the differences of a draw are as good as random.
constexpr int AbsDiff(int a, int b) {
    const int d = a - b;
    const int sign = d >> 31; // all ones when negative
    return (d ^ sign) - sign;
}

/// The result from the last two numbers a, b of the reduction.
constexpr TOgnevNumber OgnevResult(int a, int b, int variant) {
    const int h = AbsDiff(a, b);
    if (variant == 1 && h < 2) return {a + b, false};
    if (variant == 2 && h == 0) return {a + b, false};
    if (variant == 2 && h == 1) return {a + b, true};
    return {h, false};
}

inline TOgnevNumber OgnevNumber(const TComb &c, int variant) {
    int x[CombSize];
#pragma GCC unroll 6
    for (int i = 0; i < CombSize; ++i)
        x[i] = c[i];
#pragma GCC unroll 4
    for (int n = CombSize; n > 2; --n)
#pragma GCC unroll 5
        for (int i = 0; i + 1 < n; ++i)
            x[i] = AbsDiff(x[i + 1], x[i]);
    return OgnevResult(x[0], x[1], variant);
}

/// The fast matcher of HCO1 and HCO2. The reduction of the first five
/// numbers (the last number of each row of differences) is kept while they
/// stay the same, as they do over long runs of an ordered list: a new sixth
/// number then costs four differences instead of fifteen. Every value of
/// bytes (a + b is at most 510) has its place in a table of hits.
template <int Variant> class TOgnevMatcher final : public TCombMatcher {
public:
    explicit TOgnevMatcher(const TSelectedKeys &keys) {
        for (int v = 0; v < int(m_hits.size()); ++v)
            m_hits[size_t(v)] = uint8_t(keys.Bit(TStatKey::FromWords(uint16_t(v))));
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
    struct TPrefixState {
        uint64_t Numbers = ~uint64_t(0); ///< the bytes of the first five numbers; none has these
        int Last[4] = {};                ///< the last number of each row: x5, then its differences
        int Third = 0;                   ///< the first of the last two numbers
    };

    unsigned Bit(const TComb &c, TPrefixState &state) const {
        const uint64_t numbers = uint64_t(c[0]) | uint64_t(c[1]) << 8 | uint64_t(c[2]) << 16 |
                                 uint64_t(c[3]) << 24 | uint64_t(c[4]) << 32;
        if (numbers != state.Numbers) {
            int x[5] = {c[0], c[1], c[2], c[3], c[4]};
            state.Last[0] = x[4];
            for (int n = 5, row = 1; n > 1; --n, ++row) {
                for (int i = 0; i + 1 < n; ++i)
                    x[i] = AbsDiff(x[i + 1], x[i]);
                if (row < 4) state.Last[row] = x[n - 2];
            }
            state.Third = x[0];
            state.Numbers = numbers;
        }
        int d = c[5];
#pragma GCC unroll 4
        for (int row = 0; row < 4; ++row)
            d = AbsDiff(d, state.Last[row]);
        return m_hits[size_t(OgnevResult(state.Third, d, Variant).Value)];
    }

    std::array<uint8_t, 512> m_hits{};
};

} // namespace detail

/// Base of HCO1 and HCO2: group 11 with a graph value.
class TCustomOgnevGraphStat : public TCustomGraphStat {
public:
    using TCustomGraphStat::TCustomGraphStat;
    static uint8_t Group() { return 11; }
};

template <class D, int Variant> class TOgnevStat : public TKeyedStat<D, TCustomOgnevGraphStat> {
public:
    using TKeyedStat<D, TCustomOgnevGraphStat>::TKeyedStat;
    static QString CodeFormat() { return QStringLiteral("HCO") + QString::number(Variant + 1); }
    static uint8_t Flags() { return sfOrdered | sfPrefetch; }
    static constexpr TKeySearch MatchSearch = ksWord1;
    static constexpr int MaxKeys = 1;

    int KeysOf(const TComb &c, TStatKey *keys) const {
        keys[0] = TStatKey::FromWords(uint16_t(detail::OgnevNumber(c, Variant).Value));
        return 1;
    }
    // Fast path: the reduction of the first five numbers kept over a run
    // (bench_methods pass/HCO1).
    std::unique_ptr<TCombMatcher> MakeMatcher(const TStatDrawArray &selected, int refIdx, bool sorted,
                                              bool excludeMode) override {
        if (!this->List().FastPaths())
            return TKeyedStat<D, TCustomOgnevGraphStat>::MakeMatcher(selected, refIdx, sorted, excludeMode);
        return std::make_unique<detail::TOgnevMatcher<Variant>>(TSelectedKeys(selected, ksWord1));
    }
};

/// HCO1: the characteristic number by differences alone.
class TstOgnev1 final : public TOgnevStat<TstOgnev1, 0> {
    LOT_STAT_CLASS(TstOgnev1)
public:
    using TOgnevStat::TOgnevStat;
    static QString CaptionFormat() { return QStringLiteral("Число Огнева 1 (только разность)"); }
};

/// HCO2: a + b instead of a difference of 0 or 1.
class TstOgnev2 final : public TOgnevStat<TstOgnev2, 1> {
    LOT_STAT_CLASS(TstOgnev2)
public:
    using TOgnevStat::TOgnevStat;
    static QString CaptionFormat() {
        return QStringLiteral("Число Огнева 2 (разность + сложение, если {0,1})");
    }
};

/// HCO3: the candidates derived from the reference draw's characteristic
/// number; any number of a combination among the selected ones matches.
class TstOgnev3 final : public TKeyedStat<TstOgnev3, TCustomStat> {
    LOT_STAT_CLASS(TstOgnev3)
public:
    using TKeyedStat::TKeyedStat;
    static QString CodeFormat() { return QStringLiteral("HCO3"); }
    static QString CaptionFormat() { return QStringLiteral("Числа Огнева 3 (динамический, только фильтр)"); }
    static uint8_t Group() { return 11; }
    static uint8_t Flags() { return sfOrdered | sfDynamic; }
    static bool AllowsValueList() { return false; }
    static constexpr TKeySearch MatchSearch = ksWord1;
    /// The number and at most ten multiples (of 4: 44, 40, ..., 8).
    static constexpr int MaxKeys = 12;

    /// The number, then "(1)" for the pair result.
    QString ValueToText(const TStatDraw &v) const override;
    /// The candidates count 1 when they came out in the draw after lastIdx,
    /// else 0, and measure no periods.
    void DrawValues(int drawIdx, int lastIdx, bool sorted, TStatDrawArray &values, TStatScratch &scratch,
                    TLastValueArray &lastValues) override;
    int NumberKeysOf(int n, TStatKey *keys) const {
        if (n <= 0 || n > 255) return 0;
        keys[0] = TStatKey::FromWords(uint16_t(n));
        return 1;
    }
    /// The candidates of the reference draw; none for any other draw.
    int DrawKeysOf(int drawIdx, TStatKey *keys) const;
};

} // namespace lot
