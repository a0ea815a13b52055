#include "stats/methods/NumberMethods.h"

#include <bitset>

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

/// True when any of the six numbers is marked in a byte table.
class TAnyNumberMatcher final : public TInlineCombMatcher<TAnyNumberMatcher> {
public:
    explicit TAnyNumberMatcher(const std::bitset<256> &hits) {
        for (size_t n = 0; n < m_hits.size(); ++n)
            m_hits[n] = hits[n] ? 1 : 0;
    }
    bool Matches(const TComb &c) const override {
        // No early exit: in the filter pass a branch per number mispredicts
        // far more often than six table reads cost.
        return (m_hits[c[0]] | m_hits[c[1]] | m_hits[c[2]] | m_hits[c[3]] | m_hits[c[4]] | m_hits[c[5]]) != 0;
    }
    bool IsThreadSafe() const override { return true; }

private:
    std::array<uint8_t, 256> m_hits{};
};

/// True when a value computed from the combination is marked in a table.
template <size_t N, class ValueOf>
class TValueTableMatcher final : public TInlineCombMatcher<TValueTableMatcher<N, ValueOf>> {
public:
    TValueTableMatcher(const std::bitset<N> &hits, ValueOf valueOf) : m_hits(hits), m_valueOf(valueOf) {}
    bool Matches(const TComb &c) const override {
        const int v = m_valueOf(c);
        return v >= 0 && size_t(v) < N && m_hits[size_t(v)];
    }
    bool IsThreadSafe() const override { return true; }

private:
    std::bitset<N> m_hits;
    ValueOf m_valueOf;
};

template <size_t N, class ValueOf>
std::unique_ptr<TCombMatcher> MakeTableMatcher(const std::bitset<N> &hits, ValueOf valueOf) {
    return std::make_unique<TValueTableMatcher<N, ValueOf>>(hits, valueOf);
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
    return MakeTableMatcher(SelectedW1<CombSize + 1>(selected),
                            [&trait](const TComb &c) { return CountOf(c, trait); });
}

int TNumberCountStat::GraphValue(const TComb &numbers, int) {
    return CountOf(numbers, Trait());
}

void TNumberMaskStat::CombValues(const TComb &c, TStatDrawArray &values) {
    TCustomMaskStat::CombValues(c, values);
    m_work.Key = TStatKey::FromInts(MaskOf(c, Trait()));
    AddValue(values, m_work, false);
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
    return MakeTableMatcher(hits, [&trait](const TComb &c) { return MaskOf(c, trait); });
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
    return std::make_unique<TAnyNumberMatcher>(hits);
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
    return std::make_unique<TAnyNumberMatcher>(numberHits);
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
    const int position = m_param;
    return MakeTableMatcher(hits, [position](const TComb &c) { return NumberAt(c, position); });
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
