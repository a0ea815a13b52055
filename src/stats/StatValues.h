#pragma once
/// @file Value records of the statistic methods, the value lists and the
/// operations on them (AddValue, the key searches), groups and flags.

#include "core/Lottery.h"
#include "stats/StatKey.h"

#include <array>
#include <cstdint>
#include <QHash>
#include <QString>
#include <vector>

namespace lot {

#pragma pack(push, 1)
/// The statistics of one value over a sample of draws; also one row of the
/// statistics table and one selected value of a filter.
struct TStatDraw {
    int32_t LastDraw = 0;   ///< draw number of the newest occurrence in the sample
    int32_t Depth = 0;      ///< draws back to that occurrence, 1 = newest draw; 0 = never
    int32_t PrevDraw = 0;   ///< draw number of the occurrence processed last
    uint16_t PeriodMin = 0; ///< smallest distance between occurrences; 0 = not yet known
    uint16_t PeriodMax = 0; ///< largest distance between occurrences; 0 = not yet known
    int32_t Count = 0;      ///< occurrences (combinations, for a full-set distribution)
    int32_t Norm = 0;       ///< expected count from the full set; 0 = not computed
    TStatKey Key;
};
#pragma pack(pop)
static_assert(sizeof(TStatDraw) == 32, "TStatDraw is 32 bytes");

using TStatDrawArray = std::vector<TStatDraw>;

/// A small integer counted inside one draw.
struct TStatSimpleItem {
    int32_t Key = 0;
    int32_t Count = 0;
};
using TStatSimpleArray = std::vector<TStatSimpleItem>;

/// Adds count to the item with this key (a non-positive count leaves an
/// existing item unchanged) or appends a new item.
void AddSimpleValue(TStatSimpleArray &items, int32_t key, int32_t count);
/// Sorts ascending by key, equal keys keeping their order.
void SortSimpleValues(TStatSimpleArray &items);

/// The draw number of a value's last occurrence (period methods).
struct TLastValue {
    int32_t DrawNumber = 0;
    TStatKey Key;
};
using TLastValueArray = std::vector<TLastValue>;

/// Records an occurrence of key in draw drawNumber. Returns the distance to
/// the previous occurrence (the stored number is then replaced), or -1 for a
/// value not seen before (it is then appended).
int RecordLastValue(TLastValueArray &values, const TStatKey &key, int32_t drawNumber);

/// State a method carries from one draw to the next during a run over
/// consecutive draws. The caller clears it once before the run. The serial
/// family keeps one run record per item of its range here.
struct TStatScratch {
    struct TRun {
        int32_t RunLength = 0;
        int32_t RunLastDraw = 0;
        int32_t RunDepth = 0;
    };
    std::array<TRun, NumberCount> Runs{};
    void Clear() { *this = TStatScratch{}; }
};
static_assert(sizeof(TStatScratch) == 540, "the series state fills 540 bytes");

/// The one way values enter a list: merges by key (first hit), keeps the
/// smallest non-zero depth with its draw and, with trackPeriods, measures the
/// distance to the previous occurrence. Distances beyond 65535 are kept as
/// 65535 rather than wrapping.
void AddValue(TStatDrawArray &values, const TStatDraw &value, bool trackPeriods);

/// Index of the first value with this key, -1 when none.
int FindValue(const TStatDrawArray &values, const TStatKey &key);

/// AddValue of a value already looked up: found is FindValue's answer for
/// its key.
void AddValueAt(TStatDrawArray &values, int found, const TStatDraw &value, bool trackPeriods);

/// Where each key of one value list stands, for FindValue in one hash probe
/// instead of a scan: a method with many values per draw (the tuples of
/// numbers) fills a statistics table of many thousand rows. The list must
/// grow only by AddValue (appended at the end, keys never changed), as the
/// statistics table fills it; the index follows the new elements lazily.
class TValueIndex {
public:
    explicit TValueIndex(const TStatDrawArray &values) : m_values(&values) {}
    /// FindValue (values, key); values must be the list the index was made for.
    int Find(const TStatDrawArray &values, const TStatKey &key);

private:
    /// Below this many values a scan is as quick.
    static constexpr size_t ScanLimit = 32;
    const TStatDrawArray *m_values;
    size_t m_indexed = 0;
    QHash<quint64, int> m_at; ///< the first position of each key
};

// ---- key searches of CombMatches: first hit, scanning from the first element ----

/// A key search as a mask over TStatKey::Bits(): a selected key is a hit
/// when its masked bits equal the masked bits of the key looked for. Each
/// method names the search its CombMatches uses; the fixed searches below
/// are the masks of the exact key and of one word, byte or integer.
using TKeySearch = uint64_t;
inline constexpr TKeySearch ksExact = ~uint64_t(0);
inline constexpr TKeySearch ksWord1 = 0xFFFFull;
inline constexpr TKeySearch ksWord2 = 0xFFFFull << 16;
inline constexpr TKeySearch ksWord3 = 0xFFFFull << 32;
inline constexpr TKeySearch ksWord4 = 0xFFFFull << 48;
inline constexpr TKeySearch ksWord1Word3 = ksWord1 | ksWord3;
inline constexpr TKeySearch ksInt1 = 0xFFFFFFFFull;
inline constexpr TKeySearch ksInt2 = 0xFFFFFFFFull << 32;
/// Byte at position 1..8.
constexpr TKeySearch KeySearchByte(int position) {
    return position >= 1 && position <= 8 ? 0xFFull << (8 * (position - 1)) : 0;
}

/// True when a selected key equals key under the search.
bool FindKeyBy(const TStatDrawArray &selected, TKeySearch search, const TStatKey &key);

/// All four words equal.
bool FindKey(const TStatDrawArray &selected, const TStatKey &key);
/// w1 and w3 equal.
bool FindKeyW1W3(const TStatDrawArray &selected, uint16_t w1, uint16_t w3);
/// Word at position 1..4 equals w.
bool FindWord(const TStatDrawArray &selected, int position, uint16_t w);
/// Byte at position 1..8 equals b.
bool FindByte(const TStatDrawArray &selected, int position, uint8_t b);
/// Integer at position 1..2 equals d.
bool FindInt(const TStatDrawArray &selected, int position, int32_t d);

// ---- groups ----

inline constexpr int StatGroupCount = 13;
/// "num", "sum", ... ; empty for an unknown group.
QString GroupShortName(int group);
/// "Числа тиража", ... ; empty for an unknown group.
QString GroupCaption(int group);
/// "{ num } Числа тиража"; "#ERROR#" for an unknown group.
QString GroupHeading(int group);

// ---- flags ----

enum TStatFlag : uint8_t {
    sfOrdered = 0x01,  ///< "S": depends on the order of the numbers in the draw
    sfPrefetch = 0x02, ///< "N": a full-set distribution is built
    sfDynamic = 0x04,  ///< "D": a combination's value depends on a reference draw
    sfPeriod = 0x08,   ///< "P": the value is a period between occurrences
    sfGraph = 0x10,    ///< "G": the class has a graph value (FullFlags only)
};

/// Letters of the set bits in the order S, N, D, P, G.
QString FlagLetters(uint8_t flags);

} // namespace lot
