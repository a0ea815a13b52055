#include "stats/methods/NumberMethods.h"

#include <bitset>
#include <vector>

namespace lot {

namespace {

// ---- number traits ---------------------------------------------------------------

template <class Pred> constexpr TNumberTrait MakeTrait(Pred pred) {
    TNumberTrait t{};
    for (int n = 0; n < 256; ++n)
        t[size_t(n)] = pred(n) ? 1 : 0;
    return t;
}

// 1 counts as prime in this game's tradition.
constexpr int Primes[] = {1, 2, 3, 5, 7, 11, 13, 17, 19, 23, 29, 31, 37, 41, 43};

constexpr bool IsPrimeNumber(int n) {
    for (int p : Primes)
        if (p == n) return true;
    return false;
}

constexpr int SmallMax = 22; // the first half of 1..45

constexpr TNumberTrait EvenTrait = MakeTrait([](int n) { return n % 2 == 0; });
constexpr TNumberTrait OddTrait = MakeTrait([](int n) { return n % 2 != 0; });
constexpr TNumberTrait SmallTrait = MakeTrait([](int n) { return n <= SmallMax; });
constexpr TNumberTrait LargeTrait = MakeTrait([](int n) { return n > SmallMax; });
constexpr TNumberTrait PrimeTrait = MakeTrait([](int n) { return IsPrimeNumber(n); });

int CountOf(const TComb &c, const TNumberTrait &trait) {
    int count = 0;
    for (int i = 0; i < CombSize; ++i)
        count += trait[c[i]];
    return count;
}

/// Position 1 is shifted in first and ends as bit 5.
int MaskOf(const TComb &c, const TNumberTrait &trait) {
    int mask = 0;
    for (int i = 0; i < CombSize; ++i)
        mask = mask * 2 + trait[c[i]];
    return mask;
}

/// Decimal digits of n, most significant first; none for 0 (no number).
int DigitsOf(int n, int (&digits)[3]) {
    if (n <= 0) return 0;
    int count = 0;
    int tmp[3];
    while (n > 0 && count < 3) {
        tmp[count++] = n % 10;
        n /= 10;
    }
    for (int i = 0; i < count; ++i)
        digits[i] = tmp[count - 1 - i];
    return count;
}

/// The number at a position (1..6); 0 outside.
int NumberAt(const TComb &c, int position) {
    return position >= 1 && position <= CombSize ? c[position - 1] : 0;
}

// ---- matchers ----------------------------------------------------------------------

/// The combination read as three pairs of neighbouring numbers, each pair
/// mapped by a 64 KiB table to a small value computed once from the two
/// numbers; the three pair values combine into the combination's value v
/// (below 64), which a second table says is selected or not. A combination
/// costs four table reads and no branch, which the filter pass feels: it is
/// the hottest loop of the program.
template <class Combine> class TPairMatcher final : public TInlineCombMatcher<TPairMatcher<Combine>> {
public:
    /// pairValue(a, b) for every two bytes; combine(x, y, z) of three pair
    /// values must stay below 64; bit v of selected selects the value v.
    template <class PairValue> TPairMatcher(PairValue pairValue, uint64_t selected) : m_table(1 << 16) {
        for (int a = 0; a < 256; ++a)
            for (int b = 0; b < 256; ++b)
                m_table[size_t(a | b << 8)] = uint8_t(pairValue(a, b));
        for (size_t v = 0; v < m_selected.size(); ++v)
            m_selected[v] = uint8_t((selected >> v) & 1);
    }
    bool Matches(const TComb &c) const override { return Bit(c) != 0; }
    unsigned Bit(const TComb &c) const {
        return m_selected[Combine{}(Pair(c, 0), Pair(c, 2), Pair(c, 4)) & 63];
    }
    bool IsThreadSafe() const override { return true; }

private:
    unsigned Pair(const TComb &c, int i) const { return m_table[size_t(c[i] | c[i + 1] << 8)]; }

    std::vector<uint8_t> m_table;
    std::array<uint8_t, 64> m_selected{};
};

/// The number at one position marked in a byte table.
class TPositionMatcher final : public TInlineCombMatcher<TPositionMatcher> {
public:
    TPositionMatcher(const std::bitset<256> &hits, int index) : m_index(index) {
        for (size_t n = 0; n < m_hits.size(); ++n)
            m_hits[n] = hits[n] ? 1 : 0;
    }
    bool Matches(const TComb &c) const override { return Bit(c) != 0; }
    unsigned Bit(const TComb &c) const { return m_hits[c[m_index]]; }
    bool IsThreadSafe() const override { return true; }

private:
    int m_index;
    std::array<uint8_t, 256> m_hits{};
};

/// Any of the six numbers marked: pair values 0 or 1, or-ed.
struct TAnyOfPairs {
    unsigned operator()(unsigned x, unsigned y, unsigned z) const { return x | y | z; }
};
/// How many numbers have a trait: pair values 0..2, added.
struct TSumOfPairs {
    unsigned operator()(unsigned x, unsigned y, unsigned z) const { return x + y + z; }
};
/// The trait mask, position 1 as bit 5: pair values 0..3, two bits each.
struct TMaskOfPairs {
    unsigned operator()(unsigned x, unsigned y, unsigned z) const { return x << 4 | y << 2 | z; }
};

/// True when any of the six numbers is marked in hits.
std::unique_ptr<TCombMatcher> MakeAnyNumberMatcher(const std::bitset<256> &hits) {
    return std::make_unique<TPairMatcher<TAnyOfPairs>>(
        [&hits](int a, int b) { return hits[size_t(a)] || hits[size_t(b)] ? 1 : 0; }, uint64_t(2));
}

/// The selected values v < limit of a bitset as a 64-bit mask.
template <size_t N> uint64_t SelectedMask(const std::bitset<N> &hits) {
    uint64_t mask = 0;
    for (size_t v = 0; v < N && v < 64; ++v)
        if (hits[v]) mask |= uint64_t(1) << v;
    return mask;
}

class TNeverMatcher final : public TCombMatcher {
public:
    bool Matches(const TComb &) const override { return false; }
    bool IsThreadSafe() const override { return true; }
};

/// Marks the values v in 0..N-1 for which FindWord(selected, 1, v) holds.
template <size_t N> std::bitset<N> SelectedW1(const TStatDrawArray &selected) {
    std::bitset<N> hits;
    for (const TStatDraw &s : selected)
        if (s.Key.W(1) < N) hits.set(s.Key.W(1));
    return hits;
}

/// Marks the values v in 0..N-1 whose exact key (v, 0, 0, 0) is selected.
template <size_t N> std::bitset<N> SelectedExact(const TStatDrawArray &selected) {
    std::bitset<N> hits;
    for (const TStatDraw &s : selected)
        if (s.Key.W(2) == 0 && s.Key.W(3) == 0 && s.Key.W(4) == 0 && s.Key.W(1) < N) hits.set(s.Key.W(1));
    return hits;
}

} // namespace

// ---- count and mask bases ------------------------------------------------------------

void TNumberCountStat::EnumAllValues(int lastIdx, TStatDrawArray &values) {
    TCustomRatioStat::EnumAllValues(lastIdx, values);
    // A count of 0 is not listed: it enters the table only when it occurs.
    for (int k = 1; k <= CombSize; ++k) {
        m_work.Key = TStatKey::FromWords(uint16_t(k));
        AddValue(values, m_work, false);
    }
}

void TNumberCountStat::CombValues(const TComb &c, TStatDrawArray &values) {
    TCustomRatioStat::CombValues(c, values);
    m_work.Key = TStatKey::FromWords(uint16_t(CountOf(c, Trait())));
    AddValue(values, m_work, false);
}

int TNumberCountStat::CombKeys(const TComb &c, TStatKey *keys) const {
    keys[0] = TStatKey::FromWords(uint16_t(CountOf(c, Trait())));
    return 1;
}

void TNumberCountStat::DrawValues(int drawIdx, int lastIdx, bool sorted, TStatDrawArray &values,
                                  TStatScratch &scratch, TLastValueArray &lastValues) {
    TCustomRatioStat::DrawValues(drawIdx, lastIdx, sorted, values, scratch, lastValues);
    m_work.Key = TStatKey::FromWords(uint16_t(CountOf(DrawComb(), Trait())));
    AddValue(values, m_work, true);
}

bool TNumberCountStat::CombMatches(const TComb &c, const TStatDrawArray &selected, int, bool, bool) {
    return FindWord(selected, 1, uint16_t(CountOf(c, Trait())));
}

std::unique_ptr<TCombMatcher> TNumberCountStat::MakeMatcher(const TStatDrawArray &selected, int, bool, bool) {
    const TNumberTrait &trait = Trait();
    return std::make_unique<TPairMatcher<TSumOfPairs>>(
        [&trait](int a, int b) { return trait[size_t(a)] + trait[size_t(b)]; },
        SelectedMask(SelectedW1<CombSize + 1>(selected)));
}

int TNumberCountStat::GraphValue(const TComb &numbers, int) {
    return CountOf(numbers, Trait());
}

void TNumberMaskStat::CombValues(const TComb &c, TStatDrawArray &values) {
    TCustomMaskStat::CombValues(c, values);
    m_work.Key = TStatKey::FromInts(MaskOf(c, Trait()));
    AddValue(values, m_work, false);
}

int TNumberMaskStat::CombKeys(const TComb &c, TStatKey *keys) const {
    keys[0] = TStatKey::FromInts(MaskOf(c, Trait()));
    return 1;
}

void TNumberMaskStat::DrawValues(int drawIdx, int lastIdx, bool sorted, TStatDrawArray &values,
                                 TStatScratch &scratch, TLastValueArray &lastValues) {
    TCustomMaskStat::DrawValues(drawIdx, lastIdx, sorted, values, scratch, lastValues);
    m_work.Key = TStatKey::FromInts(MaskOf(DrawComb(), Trait()));
    AddValue(values, m_work, true);
}

bool TNumberMaskStat::CombMatches(const TComb &c, const TStatDrawArray &selected, int, bool, bool) {
    return FindInt(selected, 1, MaskOf(c, Trait()));
}

std::unique_ptr<TCombMatcher> TNumberMaskStat::MakeMatcher(const TStatDrawArray &selected, int, bool, bool) {
    std::bitset<64> hits;
    for (const TStatDraw &s : selected)
        if (s.Key.D(1) >= 0 && s.Key.D(1) < 64) hits.set(size_t(s.Key.D(1)));
    const TNumberTrait &trait = Trait();
    return std::make_unique<TPairMatcher<TMaskOfPairs>>(
        [&trait](int a, int b) { return trait[size_t(a)] * 2 + trait[size_t(b)]; }, SelectedMask(hits));
}

const TNumberTrait &TstEvenCount::Trait() const {
    return EvenTrait;
}
const TNumberTrait &TstEvenValues::Trait() const {
    return OddTrait;
}
const TNumberTrait &TstSmallCount::Trait() const {
    return SmallTrait;
}
const TNumberTrait &TstSmallValues::Trait() const {
    return LargeTrait;
}
const TNumberTrait &TstPrimeCount::Trait() const {
    return PrimeTrait;
}
const TNumberTrait &TstPrimeValues::Trait() const {
    return PrimeTrait;
}

void TstSmallValues::EnumAllValues(int lastIdx, TStatDrawArray &values) {
    // Only the masks that occur are listed.
    TCustomStat::EnumAllValues(lastIdx, values);
}

// ---- NUMS ------------------------------------------------------------------------------

void TstValues::EnumAllValues(int lastIdx, TStatDrawArray &values) {
    TCustomValuesStat::EnumAllValues(lastIdx, values);
    for (int n = 1; n <= NumberCount; ++n) {
        m_work.Key = TStatKey::FromWords(uint16_t(n));
        AddValue(values, m_work, false);
    }
}

void TstValues::CombValues(const TComb &c, TStatDrawArray &values) {
    TCustomValuesStat::CombValues(c, values);
    for (int i = 0; i < CombSize; ++i) {
        if (c[i] == 0) continue;
        m_work.Key = TStatKey::FromWords(c[i]);
        AddValue(values, m_work, false);
    }
}

int TstValues::NumberKeys(int n, TStatKey *keys) const {
    if (n <= 0 || n > 255) return 0;
    keys[0] = TStatKey::FromWords(uint16_t(n));
    return 1;
}

void TstValues::DrawValues(int drawIdx, int lastIdx, bool sorted, TStatDrawArray &values,
                           TStatScratch &scratch, TLastValueArray &lastValues) {
    TCustomValuesStat::DrawValues(drawIdx, lastIdx, sorted, values, scratch, lastValues);
    for (int i = 0; i < CombSize; ++i) {
        if (m_draw.Numbers[i] == 0) continue;
        m_work.Key = TStatKey::FromWords(m_draw.Numbers[i]);
        AddValue(values, m_work, true);
    }
}

bool TstValues::CombMatches(const TComb &c, const TStatDrawArray &selected, int, bool, bool) {
    for (int i = 0; i < CombSize; ++i)
        if (c[i] != 0 && FindKey(selected, TStatKey::FromWords(c[i]))) return true;
    return false;
}

std::unique_ptr<TCombMatcher> TstValues::MakeMatcher(const TStatDrawArray &selected, int, bool, bool) {
    std::bitset<256> hits = SelectedExact<256>(selected);
    hits.reset(0);
    return MakeAnyNumberMatcher(hits);
}

// ---- DIGS ------------------------------------------------------------------------------

void TstDigits::CombValues(const TComb &c, TStatDrawArray &values) {
    TCustomNumbersStat::CombValues(c, values);
    for (int i = 0; i < CombSize; ++i) {
        int digits[3];
        const int count = DigitsOf(c[i], digits);
        for (int j = 0; j < count; ++j) {
            m_work.Key = TStatKey::FromWords(uint16_t(digits[j]));
            AddValue(values, m_work, false);
        }
    }
}

namespace {
/// The digits of every byte value, worked out once.
struct TDigits {
    int Count = 0;
    int Digits[3] = {};
};
const std::array<TDigits, 256> &DigitTable() {
    static const std::array<TDigits, 256> table = [] {
        std::array<TDigits, 256> t{};
        for (int n = 0; n < 256; ++n)
            t[size_t(n)].Count = DigitsOf(n, t[size_t(n)].Digits);
        return t;
    }();
    return table;
}
} // namespace

int TstDigits::NumberKeys(int n, TStatKey *keys) const {
    if (n < 0 || n > 255) return 0;
    const TDigits &d = DigitTable()[size_t(n)];
    for (int j = 0; j < d.Count; ++j)
        keys[j] = TStatKey::FromWords(uint16_t(d.Digits[j]));
    return d.Count;
}

void TstDigits::DrawValues(int drawIdx, int lastIdx, bool sorted, TStatDrawArray &values,
                           TStatScratch &scratch, TLastValueArray &lastValues) {
    TCustomNumbersStat::DrawValues(drawIdx, lastIdx, sorted, values, scratch, lastValues);
    for (int i = 0; i < CombSize; ++i) {
        int digits[3];
        const int count = DigitsOf(m_draw.Numbers[i], digits);
        for (int j = 0; j < count; ++j) {
            m_work.Key = TStatKey::FromWords(uint16_t(digits[j]));
            AddValue(values, m_work, true);
        }
    }
}

bool TstDigits::CombMatches(const TComb &c, const TStatDrawArray &selected, int, bool, bool) {
    for (int i = 0; i < CombSize; ++i) {
        int digits[3];
        const int count = DigitsOf(c[i], digits);
        for (int j = 0; j < count; ++j)
            if (FindKey(selected, TStatKey::FromWords(uint16_t(digits[j])))) return true;
    }
    return false;
}

std::unique_ptr<TCombMatcher> TstDigits::MakeMatcher(const TStatDrawArray &selected, int, bool, bool) {
    const std::bitset<10> digitHits = SelectedExact<10>(selected);
    std::bitset<256> numberHits;
    for (int n = 1; n < 256; ++n) {
        int digits[3];
        const int count = DigitsOf(n, digits);
        for (int j = 0; j < count; ++j)
            if (digitHits[size_t(digits[j])]) numberHits.set(size_t(n));
    }
    return MakeAnyNumberMatcher(numberHits);
}

// ---- POS%d -------------------------------------------------------------------------------

void TstPosVal::EnumAllValues(int lastIdx, TStatDrawArray &values) {
    TCustomGraphStat::EnumAllValues(lastIdx, values);
    for (int n = 1; n <= NumberCount; ++n) {
        m_work.Key = TStatKey::FromWords(uint16_t(n));
        AddValue(values, m_work, false);
    }
}

void TstPosVal::CombValues(const TComb &c, TStatDrawArray &values) {
    TCustomGraphStat::CombValues(c, values);
    const int n = NumberAt(c, m_param);
    if (n == 0) return;
    m_work.Key = TStatKey::FromWords(uint16_t(n));
    AddValue(values, m_work, false);
}

int TstPosVal::CombKeys(const TComb &c, TStatKey *keys) const {
    const int n = NumberAt(c, m_param);
    if (n == 0) return 0;
    keys[0] = TStatKey::FromWords(uint16_t(n));
    return 1;
}

void TstPosVal::DrawValues(int drawIdx, int lastIdx, bool sorted, TStatDrawArray &values,
                           TStatScratch &scratch, TLastValueArray &lastValues) {
    TCustomGraphStat::DrawValues(drawIdx, lastIdx, sorted, values, scratch, lastValues);
    const int n = NumberAt(DrawComb(), m_param);
    if (n == 0) return;
    m_work.Key = TStatKey::FromWords(uint16_t(n));
    AddValue(values, m_work, true);
}

bool TstPosVal::CombMatches(const TComb &c, const TStatDrawArray &selected, int, bool, bool) {
    const int n = NumberAt(c, m_param);
    return n != 0 && FindWord(selected, 1, uint16_t(n));
}

std::unique_ptr<TCombMatcher> TstPosVal::MakeMatcher(const TStatDrawArray &selected, int, bool, bool) {
    std::bitset<256> hits = SelectedW1<256>(selected);
    hits.reset(0);
    if (m_param < 1 || m_param > CombSize) return std::make_unique<TNeverMatcher>();
    return std::make_unique<TPositionMatcher>(hits, m_param - 1);
}

int TstPosVal::GraphValue(const TComb &numbers, int) {
    return NumberAt(numbers, m_param);
}

// ---- POE%d -------------------------------------------------------------------------------

namespace {
int ExtraAt(const TDrawRec &d, int index) {
    return index >= 1 && index <= ExtraCount ? d.Extra[index - 1] : 0;
}
} // namespace

void TstPosExt::DrawValues(int drawIdx, int lastIdx, bool sorted, TStatDrawArray &values,
                           TStatScratch &scratch, TLastValueArray &lastValues) {
    TCustomGraphStat::DrawValues(drawIdx, lastIdx, sorted, values, scratch, lastValues);
    const int n = ExtraAt(m_draw, m_param);
    if (n == 0) return;
    m_work.Key = TStatKey::FromWords(uint16_t(n));
    AddValue(values, m_work, true);
}

bool TstPosExt::CombMatches(const TComb &, const TStatDrawArray &, int, bool, bool) {
    return false;
}

std::unique_ptr<TCombMatcher> TstPosExt::MakeMatcher(const TStatDrawArray &, int, bool, bool) {
    return std::make_unique<TNeverMatcher>();
}

int TstPosExt::GraphValue(const TComb &, int drawIdx) {
    return ExtraAt(ReadDraw(drawIdx, false), m_param);
}

} // namespace lot
