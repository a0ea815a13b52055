#include "stats/PrefetchFile.h"

#include "core/AtomicFile.h"
#include "core/CoreHelpers.h"
#include "core/Errors.h"
#include "core/Format.h"
#include "stats/CustomStat.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cstring>
#include <exception>
#include <limits>
#include <QFile>
#include <QtEndian>
#include <thread>

namespace lot {

// ---- counting over the full set -----------------------------------------------------------

namespace {

/// The full set in lexicographic order falls into one run per pair of first
/// numbers (a, b); runs are the unit of work handed to the workers.
struct TPrefix {
    uint8_t A, B;
};

std::vector<TPrefix> FullSetPrefixes() {
    std::vector<TPrefix> prefixes;
    for (int a = 1; a <= NumberCount - 5; ++a)
        for (int b = a + 1; b <= NumberCount - 4; ++b)
            prefixes.push_back({uint8_t(a), uint8_t(b)});
    return prefixes;
}

int FillRun(const TPrefix &p, TComb *out) {
    TComb c;
    c.N[0] = p.A;
    c.N[1] = p.B;
    TComb *o = out;
    for (int d3 = p.B + 1; d3 <= NumberCount - 3; ++d3) {
        c.N[2] = uint8_t(d3);
        for (int d4 = d3 + 1; d4 <= NumberCount - 2; ++d4) {
            c.N[3] = uint8_t(d4);
            for (int d5 = d4 + 1; d5 <= NumberCount - 1; ++d5) {
                c.N[4] = uint8_t(d5);
                for (int d6 = d5 + 1; d6 <= NumberCount; ++d6) {
                    c.N[5] = uint8_t(d6);
                    *o++ = c;
                }
            }
        }
    }
    return int(o - out);
}

// The longest run: first numbers 1 and 2, then any four of the other 43.
constexpr int MaxRunLength = 123410;

} // namespace

TPrefetchTable CountFullSet(const std::function<TCombValuesFn()> &makeEvaluator, int threads,
                            const std::function<void(int percent)> &poll) {
    const std::vector<TPrefix> prefixes = FullSetPrefixes();
    const int runCount = int(prefixes.size());
    // Combinations before each run, so progress follows the work done (the
    // first runs are by far the longest).
    std::vector<int> runStart(size_t(runCount) + 1, 0);
    for (int i = 0; i < runCount; ++i)
        runStart[size_t(i) + 1] = runStart[size_t(i)] + int(Binomial(NumberCount - prefixes[size_t(i)].B, 4));
    threads = std::clamp(threads, 1, 64);

    std::vector<TCombValuesFn> evaluators;
    std::vector<TKeyCounter> counters(static_cast<size_t>(threads));
    for (int t = 0; t < threads; ++t)
        evaluators.push_back(makeEvaluator());

    std::atomic<int> next{0};
    std::atomic<bool> failed{false};
    std::vector<std::exception_ptr> errors(static_cast<size_t>(threads));

    const auto work = [&](int t, bool polling) {
        try {
            std::vector<TComb> run(MaxRunLength);
            int lastPercent = -1;
            for (;;) {
                if (failed.load(std::memory_order_relaxed)) return;
                const int i = next.fetch_add(1, std::memory_order_relaxed);
                if (i >= runCount) return;
                const int n = FillRun(prefixes[size_t(i)], run.data());
                evaluators[size_t(t)](run.data(), n, counters[size_t(t)]);
                if (polling && poll) {
                    const int percent = int(int64_t(runStart[size_t(i) + 1]) * 100 / FullSetSize);
                    if (percent != lastPercent) {
                        lastPercent = percent;
                        poll(percent);
                    }
                }
            }
        } catch (...) {
            errors[size_t(t)] = std::current_exception();
            failed = true;
        }
    };

    {
        std::vector<std::jthread> workers;
        for (int t = 1; t < threads; ++t)
            workers.emplace_back(work, t, false);
        work(0, true);
    }
    for (const std::exception_ptr &e : errors)
        if (e) std::rethrow_exception(e);

    // The order in which workers took runs does not matter: counts only add.
    for (int t = 1; t < threads; ++t)
        counters[0].Merge(counters[size_t(t)]);
    return counters[0].ToTable();
}

TCombValuesFn StatEvaluator(TCustomStat &stat) {
    return [&stat](const TComb *combs, int count, TKeyCounter &counter) {
        stat.CountCombKeys(combs, count, counter);
    };
}

// ---- files ------------------------------------------------------------------------------

namespace {
void PutInt32(char *p, int32_t v) {
    qToLittleEndian<qint32>(v, p);
}
int32_t GetInt32(const char *p) {
    return qFromLittleEndian<qint32>(p);
}
} // namespace

void WritePrefetchFile(const QString &fileName, const TPrefetchTable &table) {
    QByteArray bytes(qsizetype(table.Records.size() + 1) * 12, Qt::Uninitialized);
    char *p = bytes.data();
    for (const TPrefetchRec &r : table.Records) {
        std::memcpy(p, r.Key.B, 8); // the key bytes are little-endian already
        PutInt32(p + 8, r.Count);
        p += 12;
    }
    PutInt32(p, table.MinCount);
    PutInt32(p + 4, table.MaxCount);
    PutInt32(p + 8, 0);

    WriteFileAtomically(fileName, bytes);
}

TPrefetchTable ReadPrefetchFile(const QString &fileName) {
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) throw EError(file.errorString());
    const qint64 size = file.size();
    const auto bad = [](const char *why) { return EPrefetchFormatError(QString::fromUtf8(why)); };
    if (size < 12 || size % 12 != 0) throw bad("Неверный размер файла");
    if (size / 12 - 1 > MaxPrefetchRecords) throw bad("Слишком большой файл");
    const QByteArray bytes = file.readAll();
    if (bytes.size() != size) throw EError(file.errorString());

    TPrefetchTable table;
    const qsizetype count = bytes.size() / 12 - 1;
    table.Records.resize(size_t(count));
    const char *p = bytes.constData();
    for (qsizetype i = 0; i < count; ++i, p += 12) {
        TPrefetchRec &r = table.Records[size_t(i)];
        std::memcpy(r.Key.B, p, 8);
        r.Count = GetInt32(p + 8);
        if (r.Count < 0) throw bad("Некорректное количество в записи");
        if (i > 0 && !(table.Records[size_t(i - 1)].Key < r.Key)) throw bad("Записи не упорядочены");
    }
    table.MinCount = GetInt32(p);
    table.MaxCount = GetInt32(p + 4);
    int32_t mn = 0, mx = 0;
    if (count > 0) {
        mn = std::numeric_limits<int32_t>::max();
        for (const TPrefetchRec &r : table.Records) {
            mn = std::min(mn, r.Count);
            mx = std::max(mx, r.Count);
        }
    }
    if (table.MinCount != mn || table.MaxCount != mx || GetInt32(p + 8) != 0)
        throw bad("Некорректная завершающая запись");
    return table;
}

} // namespace lot
