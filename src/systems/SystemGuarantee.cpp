#include "systems/SystemGuarantee.h"

#include "core/Errors.h"
#include "core/HotLoop.h"

#include <algorithm>
#include <atomic>
#include <bit>
#include <thread>

namespace lot {

namespace {

int64_t Choose(int n, int k) {
    if (k < 0 || k > n) return 0;
    int64_t r = 1;
    for (int i = 1; i <= k; ++i)
        r = r * (n - k + i) / i;
    return r;
}

void CheckSystem(const std::vector<TComb> &positions, int n) {
    if (n < CombSize + 1 || n > NumberCount) throw EError(QStringLiteral("N must be 7..45"));
    for (const TComb &c : positions) {
        uint64_t used = 0;
        for (int i = 0; i < CombSize; ++i) {
            if (c[i] < 1 || c[i] > n || (used >> c[i] & 1))
                throw EError(
                    QStringLiteral("a combination of the system is not six distinct positions 1..N"));
            used |= uint64_t(1) << c[i];
        }
    }
}

/// The combinations as bit columns: Mask(x) has bit c set when combination c
/// holds number x (0-based), so adding a number to a case adds one to the
/// counters of W words at once.
class TColumns {
public:
    TColumns(const std::vector<TComb> &positions, int n)
        : m_words(std::max<size_t>(1, (positions.size() + 63) / 64)), m_bits(size_t(n) * m_words) {
        for (size_t c = 0; c < positions.size(); ++c)
            for (int i = 0; i < CombSize; ++i)
                m_bits[size_t(positions[c][i] - 1) * m_words + c / 64] |= uint64_t(1) << (c % 64);
    }
    size_t Words() const { return m_words; }
    const uint64_t *Mask(int x) const { return m_bits.data() + size_t(x) * m_words; }

private:
    size_t m_words;
    std::vector<uint64_t> m_bits;
};

/// The counters of every combination in three bit planes (counts 0..6).
/// Planes are stored b0, b1, b2 one after another, W words each.
inline void AddNumber(const uint64_t *from, const uint64_t *mask, uint64_t *to, size_t w) {
    for (size_t i = 0; i < w; ++i) {
        const uint64_t b0 = from[i], b1 = from[w + i], b2 = from[2 * w + i];
        uint64_t carry = mask[i];
        to[i] = b0 ^ carry;
        carry &= b0;
        to[w + i] = b1 ^ carry;
        carry &= b1;
        to[2 * w + i] = b2 ^ carry;
    }
}

/// The best count after adding the number of mask to the case of planes.
inline int BestWith(const uint64_t *planes, const uint64_t *mask, size_t w) {
    uint64_t any6 = 0, any5 = 0, any4 = 0, any3 = 0, any2 = 0, any1 = 0;
    for (size_t i = 0; i < w; ++i) {
        const uint64_t b0 = planes[i], b1 = planes[w + i], b2 = planes[2 * w + i];
        uint64_t carry = mask[i];
        const uint64_t n0 = b0 ^ carry;
        carry &= b0;
        const uint64_t n1 = b1 ^ carry;
        carry &= b1;
        const uint64_t n2 = b2 ^ carry;
        // Six is the most a combination can hold: nothing below can beat it.
        any6 |= n2 & n1;
        if (any6) return 6;
        any5 |= n2 & n0;
        any4 |= n2;
        any3 |= n1 & n0;
        any2 |= n1;
        any1 |= n0;
    }
    return any5 ? 5 : any4 ? 4 : any3 ? 3 : any2 ? 2 : any1 ? 1 : 0;
}

/// One walk of the cases of m numbers whose two smallest are given.
class TWalker {
public:
    TWalker(const TColumns &cols, int n, int m)
        : m_cols(cols), m_n(n), m_m(m), m_stack(size_t(m + 1) * 3 * cols.Words()) {}

    /// Calls leaf(best) for every case {a, b, ...}; leaf returns false to stop.
    template <class Leaf> bool Walk(int a, int b, Leaf &&leaf) {
        const size_t w = m_cols.Words();
        uint64_t *zero = m_stack.data();
        std::fill(zero, zero + 3 * w, 0);
        uint64_t *one = zero + 3 * w;
        AddNumber(zero, m_cols.Mask(a), one, w);
        if (m_m == 2) return leaf(BestWith(one, m_cols.Mask(b), w));
        uint64_t *two = one + 3 * w;
        AddNumber(one, m_cols.Mask(b), two, w);
        return Descend(b + 1, m_m - 2, two, leaf);
    }

private:
    template <class Leaf> bool Descend(int start, int left, const uint64_t *planes, Leaf &leaf) {
        const size_t w = m_cols.Words();
        if (left == 1) {
            for (int x = start; x < m_n; ++x)
                if (!leaf(BestWith(planes, m_cols.Mask(x), w))) return false;
            return true;
        }
        uint64_t *next = const_cast<uint64_t *>(planes) + 3 * w;
        for (int x = start; x <= m_n - left; ++x) {
            AddNumber(planes, m_cols.Mask(x), next, w);
            if (!Descend(x + 1, left - 1, next, leaf)) return false;
        }
        return true;
    }

    const TColumns &m_cols;
    int m_n;
    int m_m;
    std::vector<uint64_t> m_stack;
};

struct TPair {
    int A, B;
};

std::vector<TPair> Pairs(int n, int m) {
    std::vector<TPair> pairs;
    for (int a = 0; a < n; ++a)
        for (int b = a + 1; b <= n - (m - 1); ++b)
            pairs.push_back({a, b});
    return pairs;
}

/// Runs task(i, walker) for i in 0..count-1 on threads threads, each with its
/// own walker and slot.
template <class Task> void ForEachPair(size_t count, int threads, const Task &task) {
    std::atomic<size_t> nextTask{0};
    auto worker = [&](int slot) {
        for (size_t i = nextTask++; i < count; i = nextTask++)
            if (!task(i, slot)) break;
    };
    if (threads <= 1) {
        worker(0);
        return;
    }
    std::vector<std::thread> pool;
    for (int t = 1; t < threads; ++t)
        pool.emplace_back(worker, t);
    worker(0);
    for (std::thread &t : pool)
        t.join();
}

/// Threads for a walk of cases over words of counters: one when the walk is
/// shorter than starting the threads would be.
int ThreadsFor(bool parallel, size_t tasks, int64_t cases, size_t words) {
    constexpr int64_t MinParallelWork = int64_t(1) << 21;
    if (!parallel || cases * int64_t(words) < MinParallelWork) return 1;
    return int(std::min<size_t>(size_t(HotLoopThreads()), std::max<size_t>(1, tasks)));
}

} // namespace

int TGuaranteeTable::Guarantee(int m) const {
    if (m < GuaranteeMinDrawn || m > GuaranteeMaxDrawn) return 0;
    int k = 0;
    while (k < m && Reached[size_t(m)][size_t(k + 1)] == Cases[size_t(m)])
        ++k;
    return k;
}

TGuaranteeTable GuaranteeTable(const std::vector<TComb> &positions, int n, bool parallel) {
    CheckSystem(positions, n);
    TGuaranteeTable table;
    table.Nums = n;
    table.Combs = int(positions.size());
    const TColumns cols(positions, n);
    for (int m = GuaranteeMinDrawn; m <= GuaranteeMaxDrawn; ++m) {
        table.Cases[size_t(m)] = Choose(n, m);
        const std::vector<TPair> pairs = Pairs(n, m);
        const int threads = ThreadsFor(parallel, pairs.size(), table.Cases[size_t(m)], cols.Words());
        std::vector<std::array<int64_t, GuaranteeMaxDrawn + 1>> hist(
            static_cast<size_t>(threads), std::array<int64_t, GuaranteeMaxDrawn + 1>{});
        std::vector<TWalker> walkers;
        walkers.reserve(size_t(threads));
        for (int t = 0; t < threads; ++t)
            walkers.emplace_back(cols, n, m);
        ForEachPair(pairs.size(), threads, [&](size_t i, int slot) {
            auto &h = hist[size_t(slot)];
            walkers[size_t(slot)].Walk(pairs[i].A, pairs[i].B, [&h](int best) {
                ++h[size_t(best)];
                return true;
            });
            return true;
        });
        std::array<int64_t, GuaranteeMaxDrawn + 1> best{};
        for (const auto &h : hist)
            for (size_t k = 0; k < best.size(); ++k)
                best[k] += h[k];
        // Reached k: the cases whose best is k or more.
        int64_t sum = 0;
        for (int k = GuaranteeMaxDrawn; k >= 0; --k) {
            sum += best[size_t(k)];
            table.Reached[size_t(m)][size_t(k)] = k <= m ? sum : 0;
        }
    }
    return table;
}

TGuaranteeTable GuaranteeTableBrute(const std::vector<TComb> &positions, int n) {
    CheckSystem(positions, n);
    TGuaranteeTable table;
    table.Nums = n;
    table.Combs = int(positions.size());
    std::vector<uint64_t> masks;
    for (const TComb &c : positions) {
        uint64_t mask = 0;
        for (int i = 0; i < CombSize; ++i)
            mask |= uint64_t(1) << (c[i] - 1);
        masks.push_back(mask);
    }
    for (int m = GuaranteeMinDrawn; m <= GuaranteeMaxDrawn; ++m) {
        table.Cases[size_t(m)] = Choose(n, m);
        // Every m-subset of the n numbers in turn (Gosper's hack).
        const uint64_t limit = uint64_t(1) << n;
        for (uint64_t d = (uint64_t(1) << m) - 1; d < limit;) {
            int best = 0;
            for (uint64_t mask : masks)
                best = std::max(best, std::popcount(mask & d));
            for (int k = 0; k <= best; ++k)
                ++table.Reached[size_t(m)][size_t(k)];
            const uint64_t c = d & (~d + 1), r = d + c;
            d = (((r ^ d) >> 2) / c) | r;
        }
    }
    return table;
}

bool GuaranteeHolds(const std::vector<TComb> &positions, int n, int m, int k, bool parallel) {
    CheckSystem(positions, n);
    if (m < GuaranteeMinDrawn || m > GuaranteeMaxDrawn || k > m) return false;
    if (k <= 0) return true;
    const TColumns cols(positions, n);
    const std::vector<TPair> pairs = Pairs(n, m);
    const int threads = ThreadsFor(parallel, pairs.size(), Choose(n, m), cols.Words());
    std::vector<TWalker> walkers;
    walkers.reserve(size_t(threads));
    for (int t = 0; t < threads; ++t)
        walkers.emplace_back(cols, n, m);
    std::atomic<bool> failed{false};
    ForEachPair(pairs.size(), threads, [&](size_t i, int slot) {
        if (failed.load(std::memory_order_relaxed)) return false;
        const bool held = walkers[size_t(slot)].Walk(pairs[i].A, pairs[i].B, [&](int best) {
            return best >= k && !failed.load(std::memory_order_relaxed);
        });
        if (!held) failed = true;
        return held;
    });
    return !failed;
}

QString GuaranteeShareText(int64_t reached, int64_t cases) {
    if (cases <= 0) return QStringLiteral("0.00");
    int64_t hundredths = (reached * 20000 + cases) / (2 * cases);
    if (reached < cases) hundredths = std::min<int64_t>(hundredths, 9999);
    return QStringLiteral("%1.%2").arg(hundredths / 100).arg(hundredths % 100, 2, 10, QLatin1Char('0'));
}

QStringList GuaranteeTableLines(const TGuaranteeTable &table) {
    QStringList lines;
    for (int m = GuaranteeMinDrawn; m <= GuaranteeMaxDrawn; ++m)
        for (int k = 1; k <= m; ++k)
            lines << QStringLiteral("%1\t%2\t%3")
                         .arg(m)
                         .arg(k)
                         .arg(
                             GuaranteeShareText(table.Reached[size_t(m)][size_t(k)], table.Cases[size_t(m)]));
    return lines;
}

} // namespace lot
