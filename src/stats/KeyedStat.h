#pragma once
/// @file TKeyedStat: the one form of a statistic method. A method states its
/// keys once; the framework derives every operation that needs them.
///
/// A concrete method class D derives from TKeyedStat<D, Base> (Base is one
/// of the value-format bases of CustomStatBases.h) and defines, as plain
/// const member functions that read nothing but the instance:
///
///  - `int KeysOf(const TComb &c, TStatKey *keys) const`: the keys of a
///    combination's values, a value occurring k times given k times, at most
///    D::MaxKeys of them; a dynamic method reads RefDraw() here. Or, for a
///    method whose values are those of the six numbers taken one by one,
///  - `int NumberKeysOf(int n, TStatKey *keys) const`: the keys number n
///    gives wherever it stands (at most D::MaxNumberKeys); KeysOf is then
///    the six numbers' keys together.
///  - optionally `int DrawKeysOf(int drawIdx, TStatKey *keys) const`: the
///    keys of archive entry drawIdx, already loaded into Draw(), where the
///    draw form differs from KeysOf(Draw's numbers) (supplementary numbers,
///    values that look at earlier draws).
///  - `static constexpr TKeySearch MatchSearch`: how CombMatches compares a
///    key with the selected ones (default: the exact key).
///  - `static constexpr int MaxKeys` (default 6) and `MaxNumberKeys` (1).
///  - `static constexpr TPeriodKeys PeriodKeys`: whose periods a draw's
///    values measure (default: every key's; TPeriodKeys::First: only the
///    first key's, the others still moving their previous draw).
///  - optionally `void RefLoaded(int refIdx, bool sorted)`: called whenever
///    the reference draw is loaded (LoadDraws, and the scans of CombMatches
///    and the matcher), for a dynamic method that also reads other draws
///    counted from the reference draw (earlier draws of the repeats).
///
/// A dynamic method (flag D) reads RefDraw() in KeysOf: the combination
/// stands for the draw after the reference draw. The derived CombMatches
/// and matcher take the reference draw from their refIdx (the newest draw
/// in use); the table's DrawValues from LoadDraws (the newest draw of the
/// sample).
///
/// From these the framework derives CombValues and DrawValues (through
/// AddValue, with the depth and period rules), NextOccurrence (from an
/// index of where each key occurs in the archive, built on the first call
/// for the sample's last draw and order), CombKeys and NumberKeys,
/// CombMatches ("one of the combination's keys is selected"), the prefetch
/// counting (CountCombKeys), the filter-pass matcher (a flat table or a
/// sorted list of the selected keys, answering a block of combinations at
/// a time with KeysOf inlined into the loop) and, for graph methods, the
/// graph value (w1 of the first key). A method overrides one of them only
/// where its definition really differs, saying why in one line.
///
/// Methods that give their keys number by number also get two derived fast
/// paths: the prefetch build counts how often each number stands at each
/// position over a run instead of visiting every combination's keys, and the
/// matcher reads a combination as three pairs of numbers through a 64 KiB
/// table. TStatList::SetFastPaths(false) switches these off, leaving the
/// plain derived path (benchmarks and tests compare the two).

#include "stats/CustomStat.h"
#include "stats/CustomStatBases.h"
#include "stats/KeyCounter.h"
#include "stats/StatList.h"

#include <algorithm>
#include <array>
#include <memory>
#include <type_traits>
#include <vector>

namespace lot {

/// Whose periods the values of one draw measure (see TKeyedStat).
enum class TPeriodKeys { All, First };

// ---- where keys occur -------------------------------------------------------------------

/// The archive entries each key occurs in, ascending: NextOccurrence of a
/// keyed method answers from it instead of valuing every later draw again
/// for every row of the statistics table.
class TKeyOccurrences {
public:
    /// True when built for this sample's last draw, order and archive size.
    bool IsFor(int lastIdx, bool sorted, size_t drawCount) const {
        return m_built && m_lastIdx == lastIdx && m_sorted == sorted && m_drawCount == drawCount;
    }
    /// Starts again for these; Add every draw's keys, then Finish.
    void Reset(int lastIdx, bool sorted, size_t drawCount);
    void Add(const TStatKey &key, int drawIdx) { m_at.push_back({key.Bits(), drawIdx}); }
    void Finish();
    /// The first entry from fromIdx on holding key; -1 when none.
    int FirstFrom(const TStatKey &key, int fromIdx) const;

private:
    struct TAt {
        uint64_t Key; ///< the key's bits
        int DrawIdx;
        auto operator<=>(const TAt &) const = default;
    };
    std::vector<TAt> m_at; ///< sorted by key, then entry
    bool m_built = false;
    int m_lastIdx = 0;
    bool m_sorted = false;
    size_t m_drawCount = 0;
};

// ---- the selected keys of one pass -------------------------------------------------------

/// The selected keys as a method's search compares them, prepared once per
/// pass: a flat byte table over the range of their masked bits when that
/// range is small (the usual case: a number, a sum, a mask), else a sorted
/// list searched by halves.
class TSelectedKeys {
public:
    /// Ranges up to this size get a flat table.
    static constexpr uint64_t FlatLimit = 1 << 16;

    TSelectedKeys(const TStatDrawArray &selected, TKeySearch search);

    bool IsFlat() const { return m_flat; }
    TKeySearch Search() const { return m_search; }

    /// The flat table as plain values, for a loop to keep in registers.
    struct TFlat {
        const uint8_t *Table; ///< Size entries, then a 0 for every key outside them
        uint64_t Size;
        uint64_t Min;
        TKeySearch Search;
        /// 1 when the key is among the selected, else 0; no branch.
        unsigned Bit(const TStatKey &key) const {
            const uint64_t d = (key.Bits() & Search) - Min;
            return Table[d < Size ? d : Size];
        }
    };
    TFlat Flat() const { return {m_table.data(), m_table.size() - 1, m_min, m_search}; }

    /// 1 when the key is among the selected, else 0 (sorted list only).
    unsigned SortedBit(const TStatKey &key) const {
        return std::binary_search(m_sorted.begin(), m_sorted.end(), key.Bits() & m_search) ? 1u : 0u;
    }
    unsigned Bit(const TStatKey &key) const { return m_flat ? Flat().Bit(key) : SortedBit(key); }

private:
    TKeySearch m_search;
    bool m_flat = true;
    uint64_t m_min = 0;
    std::vector<uint8_t> m_table{0}; ///< the flat table and its trailing 0
    std::vector<uint64_t> m_sorted;
};

// ---- derived matchers ---------------------------------------------------------------------

/// The derived matcher of method D: D's keys of each combination looked up
/// in the selected keys (a flat table when Flat, else the sorted list).
/// KeysOf is const and reads only the instance, so one matcher may serve
/// every thread of a pass. The instance must outlive the matcher.
template <class D, bool Flat> class TKeysMatcher final : public TCombMatcher {
public:
    TKeysMatcher(const D &stat, TSelectedKeys keys) : m_stat(stat), m_keys(std::move(keys)) {}
    bool Matches(const TComb &c) const override {
        return Flat ? Test(m_keys.Flat(), c) != 0 : Test(m_keys, c) != 0;
    }
    bool IsThreadSafe() const override { return true; }
    void MatchBits(const TComb *source, size_t count, uint64_t *bits) const override {
        // The table's fields as locals of the block loop: the compiler keeps
        // them in registers instead of reading them for every combination.
        const D &stat = m_stat;
        if constexpr (Flat) {
            const TSelectedKeys::TFlat flat = m_keys.Flat();
            MatchBitsWith([&stat, flat](const TComb &c) { return Test(stat, flat, c); }, source, count, bits);
        } else {
            const TSelectedKeys &keys = m_keys;
            MatchBitsWith([&stat, &keys](const TComb &c) { return Test(stat, keys, c); }, source, count,
                          bits);
        }
    }

private:
    template <class Keys> unsigned Test(const Keys &keys, const TComb &c) const {
        return Test(m_stat, keys, c);
    }
    template <class Keys> static unsigned Test(const D &stat, const Keys &keys, const TComb &c) {
        TStatKey k[D::MaxKeys];
        const int n = stat.KeysOf(c, k);
        unsigned hit = 0;
        for (int i = 0; i < n; ++i)
            hit |= keys.Bit(k[i]);
        return hit;
    }

    const D &m_stat;
    TSelectedKeys m_keys;
};

/// The fast matcher of a method whose keys come number by number: a number
/// is a hit when one of its keys is selected, a combination when one of its
/// numbers is. The combination is read as three pairs of neighbouring
/// numbers, each pair looked up in a 64 KiB table: four table reads and no
/// branch per combination, in the hottest loop of the program.
class TAnyNumberMatcher final : public TInlineCombMatcher<TAnyNumberMatcher> {
public:
    /// hits[n]: number n (any byte value) is a hit.
    explicit TAnyNumberMatcher(const std::array<uint8_t, 256> &hits);
    bool Matches(const TComb &c) const override { return Bit(c) != 0; }
    unsigned Bit(const TComb &c) const { return Pair(c, 0) | Pair(c, 2) | Pair(c, 4); }
    bool IsThreadSafe() const override { return true; }

private:
    unsigned Pair(const TComb &c, int i) const { return m_pairs[size_t(c[i] | c[i + 1] << 8)]; }
    std::vector<uint8_t> m_pairs;
};

// ---- the one form -------------------------------------------------------------------------

namespace detail {

template <class D>
concept HasNumberKeys = requires(const D &d, TStatKey *k) {
    { d.NumberKeysOf(1, k) } -> std::same_as<int>;
};
template <class D>
concept HasDrawKeys = requires(const D &d, TStatKey *k) {
    { d.DrawKeysOf(0, k) } -> std::same_as<int>;
};
template <class D>
concept HasRefLoaded = requires(D &d) {
    d.RefLoaded(0, false);
};

/// The layer that gives the graph value of a graph method from its keys.
template <class D, class Base, bool Graph = std::is_base_of_v<TCustomGraphStat, Base>>
class TKeyedGraphLayer : public Base {
public:
    using Base::Base;
};

template <class D, class Base> class TKeyedGraphLayer<D, Base, true> : public Base {
public:
    using Base::Base;
    /// The value is one integer: w1 of the first key, 0 when there is none.
    int GraphValue(const TComb &numbers, int drawIdx) override {
        Q_UNUSED(drawIdx);
        TStatKey keys[D::MaxKeys];
        return static_cast<const D &>(*this).KeysOf(numbers, keys) > 0 ? keys[0].W(1) : 0;
    }
};

} // namespace detail

template <class D, class Base> class TKeyedStat : public detail::TKeyedGraphLayer<D, Base> {
    using Layer = detail::TKeyedGraphLayer<D, Base>;

public:
    using Layer::Layer;

    /// Defaults of the definition (see the file comment).
    static constexpr TKeySearch MatchSearch = ksExact;
    static constexpr int MaxKeys = CombSize;
    static constexpr int MaxNumberKeys = 1;
    static constexpr TPeriodKeys PeriodKeys = TPeriodKeys::All;

    /// The keys of the six numbers taken one by one (methods with NumberKeysOf).
    int KeysOf(const TComb &c, TStatKey *keys) const {
        static_assert(detail::HasNumberKeys<D>, "a keyed method defines KeysOf or NumberKeysOf");
        static_assert(D::MaxKeys >= CombSize * D::MaxNumberKeys, "MaxKeys holds six numbers' keys");
        int n = 0;
#pragma GCC unroll 6
        for (int i = 0; i < CombSize; ++i)
            n += Self().NumberKeysOf(c[i], keys + n);
        return n;
    }

    // ---- derived operations ----

    void LoadDraws(int drawIdx, int refIdx, bool sorted) override {
        Base::LoadDraws(drawIdx, refIdx, sorted);
        if constexpr (detail::HasRefLoaded<D>) static_cast<D &>(*this).RefLoaded(refIdx, sorted);
    }

    void CombValues(const TComb &c, TStatDrawArray &values) override {
        Base::CombValues(c, values);
        TStatKey keys[D::MaxKeys];
        const int n = Self().KeysOf(c, keys);
        for (int i = 0; i < n; ++i) {
            this->m_work.Key = keys[i];
            AddValue(values, this->m_work, false);
        }
    }

    void DrawValues(int drawIdx, int lastIdx, bool sorted, TStatDrawArray &values, TStatScratch &scratch,
                    TLastValueArray &lastValues) override {
        Base::DrawValues(drawIdx, lastIdx, sorted, values, scratch, lastValues);
        TStatKey keys[D::MaxKeys];
        const int n = DrawKeys(drawIdx, keys);
        for (int i = 0; i < n; ++i) {
            this->m_work.Key = keys[i];
            this->AddDrawValue(values, this->m_work, D::PeriodKeys == TPeriodKeys::All || i == 0);
        }
    }

    /// The draws' values are their keys: the first entry from fromIdx
    /// holding v's key, found in the index of where keys occur.
    int NextOccurrence(const TStatDraw &v, int fromIdx, bool sorted, int lastIdx) override {
        const int count = int(this->Draws().size());
        if (fromIdx >= count) return -1;
        if (!m_occurrences.IsFor(lastIdx, sorted, size_t(count))) {
            m_occurrences.Reset(lastIdx, sorted, size_t(count));
            TStatKey keys[D::MaxKeys];
            for (int i = 0; i < count; ++i) {
                this->LoadDraws(i, lastIdx, sorted);
                const int n = DrawKeys(i, keys);
                for (int j = 0; j < n; ++j)
                    m_occurrences.Add(keys[j], i);
            }
            m_occurrences.Finish();
        }
        const int idx = m_occurrences.FirstFrom(v.Key, fromIdx < 0 ? 0 : fromIdx);
        return idx < 0 ? -1 : this->Draws()[size_t(idx)].DrawNumber;
    }

    int CombKeys(const TComb &c, TStatKey *keys) const override {
        static_assert(D::MaxKeys <= TCustomStat::MaxCombKeys, "CombKeys callers hold MaxCombKeys keys");
        return Self().KeysOf(c, keys);
    }

    int NumberKeys(int n, TStatKey *keys) const override {
        if constexpr (detail::HasNumberKeys<D>) {
            static_assert(D::MaxNumberKeys <= TCustomStat::MaxNumberKeys,
                          "NumberKeys callers hold four keys");
            return Self().NumberKeysOf(n, keys);
        } else {
            return TCustomStat::NumberKeys(n, keys);
        }
    }

    bool CombMatches(const TComb &c, const TStatDrawArray &selected, int refIdx, bool sorted,
                     bool excludeMode) override {
        Q_UNUSED(excludeMode);
        LoadRefDraw(refIdx, sorted);
        TStatKey keys[D::MaxKeys];
        const int n = Self().KeysOf(c, keys);
        for (int i = 0; i < n; ++i)
            if (FindKeyBy(selected, D::MatchSearch, keys[i])) return true;
        return false;
    }

    std::unique_ptr<TCombMatcher> MakeMatcher(const TStatDrawArray &selected, int refIdx, bool sorted,
                                              bool excludeMode) override {
        Q_UNUSED(excludeMode);
        LoadRefDraw(refIdx, sorted);
        TSelectedKeys keys(selected, D::MatchSearch);
        if constexpr (detail::HasNumberKeys<D>) {
            if (this->List().FastPaths()) {
                std::array<uint8_t, 256> hits{};
                for (int n = 0; n < 256; ++n) {
                    TStatKey k[D::MaxNumberKeys];
                    const int count = Self().NumberKeysOf(n, k);
                    for (int j = 0; j < count; ++j)
                        hits[size_t(n)] |= uint8_t(keys.Bit(k[j]));
                }
                return std::make_unique<TAnyNumberMatcher>(hits);
            }
        }
        if (keys.IsFlat()) return std::make_unique<TKeysMatcher<D, true>>(Self(), std::move(keys));
        return std::make_unique<TKeysMatcher<D, false>>(Self(), std::move(keys));
    }

    void CountCombKeys(const TComb *combs, int count, TKeyCounter &counter) override {
        if constexpr (detail::HasNumberKeys<D>) {
            if (this->List().FastPaths()) {
                CountByNumbers(combs, count, counter);
                return;
            }
        }
        TStatKey keys[D::MaxKeys];
        for (int i = 0; i < count; ++i)
            counter.AddKeys(keys, Self().KeysOf(combs[i], keys));
    }

protected:
    const D &Self() const {
        return static_cast<const D &>(*this);
    }

    /// A dynamic method's reference draw for a scan: archive entry refIdx.
    void LoadRefDraw(int refIdx, bool sorted) {
        if (D::Flags() & sfDynamic) this->m_refDraw = this->ReadDraw(refIdx, sorted);
        if constexpr (detail::HasRefLoaded<D>) static_cast<D &>(*this).RefLoaded(refIdx, sorted);
    }

    /// Adds a listed value (count 0) with this key: EnumAllValues' work.
    void AddListed(TStatDrawArray &values, const TStatKey &key) {
        this->m_work.Key = key;
        AddValue(values, this->m_work, false);
    }
    /// AddListed of the one-word keys first..last.
    void AddListedWords(TStatDrawArray &values, int first, int last) {
        for (int w = first; w <= last; ++w)
            AddListed(values, TStatKey::FromWords(uint16_t(w)));
    }

    /// The keys of archive entry drawIdx, loaded into Draw().
    int DrawKeys(int drawIdx, TStatKey *keys) const {
        if constexpr (detail::HasDrawKeys<D>)
            return Self().DrawKeysOf(drawIdx, keys);
        else
            return Self().KeysOf(this->DrawComb(), keys);
    }

private:
    TKeyOccurrences m_occurrences;

    /// How often each number stands at each position over the run, then each
    /// number's keys that many times: exact for any run, and about six
    /// increments per combination whatever the method.
    void CountByNumbers(const TComb *combs, int count, TKeyCounter &counter) const {
        // One row per position: consecutive combinations often share a
        // number at a position, never across positions.
        std::array<int64_t, CombSize * 256> seen{};
        for (int i = 0; i < count; ++i)
            for (int p = 0; p < CombSize; ++p)
                ++seen[size_t(p * 256 + combs[i][p])];
        for (int n = 0; n < 256; ++n) {
            int64_t times = 0;
            for (int p = 0; p < CombSize; ++p)
                times += seen[size_t(p * 256 + n)];
            if (times == 0) continue;
            TStatKey k[D::MaxNumberKeys];
            const int kc = Self().NumberKeysOf(n, k);
            for (int j = 0; j < kc; ++j)
                counter.Add(k[j], times);
        }
    }
};

} // namespace lot
