#include "stats/KeyCounter.h"

#include "core/Errors.h"

#include <algorithm>
#include <limits>

namespace lot {

// ---- table ----------------------------------------------------------------------------

const TPrefetchRec *TPrefetchTable::Find(const TStatKey &key) const {
    const auto it = std::lower_bound(Records.begin(), Records.end(), key,
                                     [](const TPrefetchRec &r, const TStatKey &k) { return r.Key < k; });
    return it != Records.end() && it->Key == key ? &*it : nullptr;
}

int64_t TPrefetchTable::Total() const {
    int64_t total = 0;
    for (const TPrefetchRec &r : Records)
        total += r.Count;
    return total;
}

bool operator==(const TPrefetchTable &a, const TPrefetchTable &b) {
    return a.MinCount == b.MinCount && a.MaxCount == b.MaxCount &&
           std::equal(a.Records.begin(), a.Records.end(), b.Records.begin(), b.Records.end(),
                      [](const TPrefetchRec &x, const TPrefetchRec &y) {
                          return x.Key == y.Key && x.Count == y.Count;
                      });
}

// ---- counter --------------------------------------------------------------------------

namespace {
uint64_t Mix(uint64_t x) {
    x ^= x >> 33;
    x *= 0xff51afd7ed558ccdULL;
    x ^= x >> 33;
    return x;
}
} // namespace

TKeyCounter::TKeyCounter() : m_small(Banks * SmallKeys), m_smallUsed(SmallKeys), m_slots(64), m_mask(63) {}

int64_t TKeyCounter::SmallCount(uint64_t k) const {
    int64_t sum = 0;
    for (uint64_t b = 0; b < Banks; ++b)
        sum += m_small[b * SmallKeys + k];
    return sum;
}

void TKeyCounter::AddLarge(uint64_t k, int64_t count) {
    for (uint64_t i = Mix(k) & m_mask;; i = (i + 1) & m_mask) {
        TSlot &s = m_slots[size_t(i)];
        if (s.Key == k) {
            s.Count += count;
            return;
        }
        if (s.Key == 0) {
            s.Key = k;
            s.Count = count;
            if (++m_size * 2 > int64_t(m_slots.size())) Grow();
            return;
        }
    }
}

int TKeyCounter::Size() const {
    return m_size + int(std::count(m_smallUsed.begin(), m_smallUsed.end(), uint8_t(1)));
}

void TKeyCounter::Grow() {
    std::vector<TSlot> old(m_slots.size() * 2);
    old.swap(m_slots);
    m_mask = m_slots.size() - 1;
    for (const TSlot &s : old) {
        if (s.Key == 0) continue;
        uint64_t i = Mix(s.Key) & m_mask;
        while (m_slots[size_t(i)].Key != 0)
            i = (i + 1) & m_mask;
        m_slots[size_t(i)] = s;
    }
}

void TKeyCounter::Merge(const TKeyCounter &other) {
    for (uint64_t k = 0; k < SmallKeys; ++k) {
        if (!other.m_smallUsed[k]) continue;
        m_small[k] += other.SmallCount(k);
        m_smallUsed[k] = 1;
    }
    for (const TSlot &s : other.m_slots)
        if (s.Key != 0) AddLarge(s.Key, s.Count);
}

TPrefetchTable TKeyCounter::ToTable() const {
    TPrefetchTable table;
    table.Records.reserve(size_t(Size()));
    const auto append = [&](uint64_t k, int64_t count) {
        if (count > std::numeric_limits<int32_t>::max() || count < std::numeric_limits<int32_t>::min())
            throw EError(QStringLiteral("Счетчик значения не помещается в запись файла"));
        TPrefetchRec r;
        r.Key = TStatKey::FromWords(uint16_t(k), uint16_t(k >> 16), uint16_t(k >> 32), uint16_t(k >> 48));
        r.Count = int32_t(count);
        table.Records.push_back(r);
    };
    for (uint64_t w1 = 0; w1 < SmallKeys; ++w1)
        if (m_smallUsed[w1]) append(w1, SmallCount(w1));
    for (const TSlot &s : m_slots)
        if (s.Key != 0) append(s.Key, s.Count);
    std::sort(table.Records.begin(), table.Records.end(),
              [](const TPrefetchRec &a, const TPrefetchRec &b) { return a.Key < b.Key; });
    if (!table.Records.empty()) {
        const auto [mn, mx] = std::minmax_element(
            table.Records.begin(), table.Records.end(),
            [](const TPrefetchRec &a, const TPrefetchRec &b) { return a.Count < b.Count; });
        table.MinCount = mn->Count;
        table.MaxCount = mx->Count;
    }
    return table;
}

} // namespace lot
