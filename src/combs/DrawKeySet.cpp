#include "combs/DrawKeySet.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <thread>

namespace lot {

namespace detail {
namespace {
constexpr std::array<uint64_t, 256> MakeNumberBits() {
    std::array<uint64_t, 256> bits{};
    for (int i = 0; i < 256; ++i)
        bits[size_t(i)] = IsValidNumber(i) ? uint64_t(1) << (i & 63) : uint64_t(1);
    return bits;
}
} // namespace
constinit const std::array<uint64_t, 256> NumberBits = MakeNumberBits();
} // namespace detail

uint64_t SortedCombKey(const TComb &c) {
    uint8_t n[CombSize];
    std::copy(std::begin(c.N), std::end(c.N), n);
    std::sort(n, n + CombSize);
    uint64_t key = 0;
    for (uint8_t v : n)
        key = key << 8 | v;
    return key;
}

namespace {
bool IsRegular(uint64_t mask) {
    return (mask & 1) == 0 && std::popcount(mask) == CombSize;
}

TComb DrawNumbers(const TDrawRec &d) {
    TComb c;
    std::copy(std::begin(d.Numbers), std::end(d.Numbers), c.N);
    return c;
}
} // namespace

TDrawKeySet::TDrawKeySet(std::span<const TDrawRec> draws) {
    if (draws.empty()) return;
    m_empty = false;
    BuildMasks(draws);
    if (draws.size() <= size_t(FilterDrawLimit)) BuildFilter(draws);
}

void TDrawKeySet::BuildMasks(std::span<const TDrawRec> draws) {
    std::vector<uint64_t> masks;
    masks.reserve(draws.size());
    for (const TDrawRec &d : draws) {
        const TComb c = DrawNumbers(d);
        const uint64_t m = CombMask(c);
        if (IsRegular(m))
            masks.push_back(m);
        else
            m_irregularKeys.push_back(SortedCombKey(c));
    }
    std::sort(m_irregularKeys.begin(), m_irregularKeys.end());
    m_irregularKeys.erase(std::unique(m_irregularKeys.begin(), m_irregularKeys.end()), m_irregularKeys.end());

    // At most an eighth full, so a probe rarely looks past its first slot.
    int bits = 4;
    while ((size_t(1) << bits) < masks.size() * 8)
        ++bits;
    m_slots.assign(size_t(1) << bits, EmptySlot);
    m_slotMask = (uint64_t(1) << bits) - 1;
    m_shift = 64 - bits;
    for (uint64_t m : masks) {
        uint64_t i = (m * HashFactor) >> m_shift;
        while (m_slots[i] != EmptySlot && m_slots[i] != m)
            i = (i + 1) & m_slotMask;
        m_slots[i] = m;
    }
}

void TDrawKeySet::BuildFilter(std::span<const TDrawRec> draws) {
    const size_t keys = draws.size() * 720; // orderings of six numbers, at most
    // About 32 filter bits per key (at least 64 words, at most 2^15 words =
    // 256 KB): with two bits per key, a combination that is not in the set
    // gets past the filter about once in three hundred times.
    int wordBits = 6;
    while (wordBits < 15 && (size_t(64) << wordBits) < keys * 32)
        ++wordBits;
    m_filter.assign(size_t(1) << wordBits, 0);
    m_filterShift = 64 - wordBits;
    for (const TDrawRec &d : draws) {
        uint8_t n[CombSize];
        std::copy(std::begin(d.Numbers), std::end(d.Numbers), n);
        std::sort(n, n + CombSize);
        do {
            TComb c;
            std::copy(n, n + CombSize, c.N);
            const uint64_t h = CombBytesKey(c) * HashFactor;
            m_filter[h >> m_filterShift] |= FilterBits(h);
        } while (std::next_permutation(n, n + CombSize));
    }
}

bool TDrawKeySet::ContainsIrregular(const TComb &c, uint64_t mask) const {
    return !IsRegular(mask) &&
           std::binary_search(m_irregularKeys.begin(), m_irregularKeys.end(), SortedCombKey(c));
}

int CopyExceptDraws(const TComb *src, int count, TComb *dst, const TDrawKeySet &set) {
    if (set.IsEmpty()) {
        if (dst != src) std::copy(src, src + count, dst);
        return count;
    }
    TComb *out = dst;
    const TComb *end = src + count;
    if (set.HasFilter()) {
        // The hot path: every combination is copied and the output only
        // advances past the ones that stay, so the loop has no branch that
        // depends on the data except the rare filter pass. Combinations are
        // moved as 8-byte words (the two bytes past each one are the next
        // one's, rewritten right after), all but the last, which could reach
        // past the end of either array.
        // The filter is taken into locals: the byte stores below may alias
        // anything, so members would be read again on every combination.
        constexpr uint64_t Low48 = 0xFFFFFFFFFFFFull;
        const TDrawKeySet::TFilter filter = set.Filter();
        const TComb *last = count > 0 ? end - 1 : end;
        for (const TComb *p = src; p < last; ++p) {
            uint64_t word;
            std::memcpy(&word, p, 8);
            const bool drop = filter.Passes(word & Low48) && set.ContainsMask(*p);
            std::memcpy(reinterpret_cast<char *>(out), &word, 8);
            out += !drop;
        }
        if (count > 0 && !set.Contains(*last)) *out++ = *last;
    } else {
        for (const TComb *p = src; p != end; ++p)
            if (!set.ContainsMask(*p)) *out++ = *p;
    }
    return int(out - dst);
}

int CopyExceptDrawsParallel(const TComb *src, int count, TComb *dst, const TDrawKeySet &set, int threads,
                            const std::function<void(int done)> &progress) {
    // Below this a second thread costs more than it saves.
    constexpr int MinPart = 1 << 19;
    threads = std::clamp(std::min(threads, count / MinPart), 1, 64);
    std::vector<int> start(static_cast<size_t>(threads) + 1), kept(static_cast<size_t>(threads));
    for (int t = 0; t <= threads; ++t)
        start[size_t(t)] = int(int64_t(count) * t / threads);

    const auto part = [&](int t) {
        kept[size_t(t)] = CopyExceptDraws(src + start[size_t(t)], start[size_t(t) + 1] - start[size_t(t)],
                                          dst + start[size_t(t)], set);
    };
    {
        std::vector<std::jthread> workers;
        for (int t = 1; t < threads; ++t)
            workers.emplace_back(part, t);
        // The calling thread takes the first part in steps of about 1 %,
        // reporting as it goes; the others run at the same pace.
        const int first = start[1];
        const int step = std::max(1, first / 100);
        int done = 0;
        for (int at = 0; at < first; at += step) {
            const int n = std::min(step, first - at);
            done += CopyExceptDraws(src + at, n, dst + done, set);
            if (progress) progress(int(int64_t(at + n) * count / std::max(1, first)));
        }
        kept[0] = done;
    }
    int out = kept[0];
    for (int t = 1; t < threads; ++t) {
        if (out != start[size_t(t)])
            std::memmove(static_cast<void *>(dst + out), dst + start[size_t(t)],
                         size_t(kept[size_t(t)]) * sizeof(TComb));
        out += kept[size_t(t)];
    }
    return out;
}

} // namespace lot
