#include "stats/methods/NumberMethods.h"

namespace lot {

namespace {

/// The combination read as three pairs of neighbouring numbers, each pair
/// mapped by a 64 KiB table to a small value computed once from the two
/// numbers; the three pair values combine into the combination's value v
/// (below 64), which a second table says is selected or not: four table
/// reads and no branch per combination.
template <class Combine> class TPairMatcher final : public TInlineCombMatcher<TPairMatcher<Combine>> {
public:
    /// pairValue(a, b) for every two bytes; combine(x, y, z) of three pair
    /// values stays below 64; selected[v] selects the value v.
    template <class PairValue>
    TPairMatcher(PairValue pairValue, const std::array<uint8_t, 64> &selected)
        : m_table(1 << 16), m_selected(selected) {
        for (int a = 0; a < 256; ++a)
            for (int b = 0; b < 256; ++b)
                m_table[size_t(a | b << 8)] = uint8_t(pairValue(a, b));
    }
    bool Matches(const TComb &c) const override { return Bit(c) != 0; }
    unsigned Bit(const TComb &c) const {
        return m_selected[Combine{}(Pair(c, 0), Pair(c, 2), Pair(c, 4)) & 63];
    }
    bool IsThreadSafe() const override { return true; }

private:
    unsigned Pair(const TComb &c, int i) const { return m_table[size_t(c[i] | c[i + 1] << 8)]; }

    std::vector<uint8_t> m_table;
    std::array<uint8_t, 64> m_selected;
};

/// How many numbers have the trait: pair values 0..2, added.
struct TSumOfPairs {
    unsigned operator()(unsigned x, unsigned y, unsigned z) const { return x + y + z; }
};
/// The trait mask, position 1 as bit 5: pair values 0..3, two bits each.
struct TMaskOfPairs {
    unsigned operator()(unsigned x, unsigned y, unsigned z) const { return x << 4 | y << 2 | z; }
};

/// The number at one position marked in a byte table.
class TPositionMatcher final : public TInlineCombMatcher<TPositionMatcher> {
public:
    TPositionMatcher(const std::array<uint8_t, 256> &hits, int index) : m_index(index), m_hits(hits) {}
    bool Matches(const TComb &c) const override { return Bit(c) != 0; }
    unsigned Bit(const TComb &c) const { return m_hits[c[m_index]]; }
    bool IsThreadSafe() const override { return true; }

private:
    int m_index;
    std::array<uint8_t, 256> m_hits;
};

/// Values 1..45 with count 0.
void ListNumbers(TStatDraw &work, TStatDrawArray &values) {
    for (int n = 1; n <= NumberCount; ++n) {
        work.Key = TStatKey::FromWords(uint16_t(n));
        AddValue(values, work, false);
    }
}
} // namespace

// The selected values are decided by the methods' own search
// (TSelectedKeys), so the fast matchers answer as CombMatches does.
std::unique_ptr<TCombMatcher> detail::MakeTraitPairMatcher(const TNumberTrait &trait, bool mask,
                                                           const TStatDrawArray &selected) {
    const TSelectedKeys keys(selected, mask ? ksInt1 : ksWord1);
    std::array<uint8_t, 64> values{};
    for (int v = 0; v < 64; ++v)
        values[size_t(v)] =
            uint8_t(keys.Bit(mask ? TStatKey::FromInts(v) : TStatKey::FromWords(uint16_t(v))));
    if (mask)
        return std::make_unique<TPairMatcher<TMaskOfPairs>>(
            [&trait](int a, int b) { return trait[size_t(a)] * 2 + trait[size_t(b)]; }, values);
    return std::make_unique<TPairMatcher<TSumOfPairs>>(
        [&trait](int a, int b) { return trait[size_t(a)] + trait[size_t(b)]; }, values);
}

std::unique_ptr<TCombMatcher> detail::MakePositionMatcher(int position, const TStatDrawArray &selected) {
    const TSelectedKeys keys(selected, ksWord1);
    std::array<uint8_t, 256> hits{};
    for (int n = 1; n < 256; ++n) // 0 is no number: it has no value
        hits[size_t(n)] = uint8_t(keys.Bit(TStatKey::FromWords(uint16_t(n))));
    return std::make_unique<TPositionMatcher>(hits, position - 1);
}

std::unique_ptr<TCombMatcher> TstPosVal::MakeMatcher(const TStatDrawArray &selected, int refIdx, bool sorted,
                                                     bool excludeMode) {
    // A position outside 1..6 has no values; the derived matcher says so.
    if (!List().FastPaths() || m_param < 1 || m_param > CombSize)
        return TKeyedStat::MakeMatcher(selected, refIdx, sorted, excludeMode);
    return detail::MakePositionMatcher(m_param, selected);
}

void TstValues::EnumAllValues(int lastIdx, TStatDrawArray &values) {
    TKeyedStat::EnumAllValues(lastIdx, values);
    ListNumbers(m_work, values);
}

void TstSmallValues::EnumAllValues(int lastIdx, TStatDrawArray &values) {
    TCustomStat::EnumAllValues(lastIdx, values);
}

void TstPosVal::EnumAllValues(int lastIdx, TStatDrawArray &values) {
    TKeyedStat::EnumAllValues(lastIdx, values);
    ListNumbers(m_work, values);
}

int TstPosExt::DrawKeysOf(int, TStatKey *keys) const {
    const int n = m_param >= 1 && m_param <= ExtraCount ? Draw().Extra[m_param - 1] : 0;
    if (n == 0) return 0;
    keys[0] = TStatKey::FromWords(uint16_t(n));
    return 1;
}

int TstPosExt::GraphValue(const TComb &, int drawIdx) {
    const TDrawRec d = ReadDraw(drawIdx, false);
    return m_param >= 1 && m_param <= ExtraCount ? d.Extra[m_param - 1] : 0;
}

} // namespace lot
