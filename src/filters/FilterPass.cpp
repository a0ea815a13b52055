#include "filters/FilterPass.h"

#include "stats/CustomStat.h"

#include <algorithm>
#include <atomic>
#include <bit>
#include <cstring>
#include <exception>
#include <mutex>
#include <QFuture>
#include <QList>
#include <QtConcurrent/QtConcurrentRun>
#include <QThread>
#include <vector>

namespace lot {

namespace {

/// Below this many combinations threads cost more than they save.
constexpr size_t MinParallelSize = 1 << 16;
/// Slices of a sequential pass: the Tick granularity.
constexpr size_t SliceCount = 100;
/// Chunks per thread and phase of a parallel pass: the calling thread ticks
/// after each of its chunks, so about a hundred times per phase.
constexpr size_t ChunksPerThread = 50;

/// Blocks small enough to stay in the first-level cache between the test
/// and the copy; a multiple of 64.
constexpr size_t BlockSize = 4096;

size_t WordsFor(size_t count) {
    return (count + 63) / 64;
}

/// Turns the match bits of count combinations into survivor bits: inverted
/// when the non-matching ones survive, bits past count cleared. Returns the
/// number of survivors.
size_t MakeSurvivorBits(uint64_t *bits, size_t count, bool keepMatching) {
    const size_t words = WordsFor(count);
    size_t survivors = 0;
    for (size_t w = 0; w < words; ++w) {
        uint64_t word = keepMatching ? bits[w] : ~bits[w];
        const size_t n = count - w * 64;
        if (n < 64) word &= (uint64_t(1) << n) - 1;
        bits[w] = word;
        survivors += size_t(std::popcount(word));
    }
    return survivors;
}

/// Copies to out, in order, the combinations whose survivor bit is set.
size_t Compact(const TComb *source, size_t count, const uint64_t *bits, TComb *out) {
    TComb *o = out;
    const size_t words = WordsFor(count);
    for (size_t w = 0; w < words; ++w) {
        uint64_t word = bits[w];
        const TComb *base = source + w * 64;
        if (word == ~uint64_t(0)) {
            std::memcpy(o, base, 64 * sizeof(TComb));
            o += 64;
            continue;
        }
        while (word != 0) {
            *o++ = base[std::countr_zero(word)];
            word &= word - 1;
        }
    }
    return size_t(o - out);
}

/// Test and copy block by block: a block is read from memory once.
size_t FilterRange(const TComb *source, size_t count, TComb *target, const TCombMatcher &matcher,
                   bool keepMatching) {
    uint64_t bits[BlockSize / 64];
    size_t written = 0;
    for (size_t begin = 0; begin < count; begin += BlockSize) {
        const size_t n = std::min(BlockSize, count - begin);
        matcher.MatchBits(source + begin, n, bits);
        MakeSurvivorBits(bits, n, keepMatching);
        written += Compact(source + begin, n, bits, target + written);
    }
    return written;
}

/// Runs job(chunk) for every chunk on the calling thread and threads - 1
/// workers, which take chunks in turn from a shared counter, so a thread
/// slowed down by other work on the machine holds nobody up. The first error
/// stops the handing out of chunks and is raised once all have finished.
void RunChunks(size_t chunkCount, int threads, const std::function<void(size_t)> &job,
               const std::function<void()> &tick) {
    std::atomic<size_t> next{0};
    std::exception_ptr failure;
    std::mutex failureLock;
    const auto work = [&](bool caller) {
        for (;;) {
            const size_t chunk = next.fetch_add(1);
            if (chunk >= chunkCount) return;
            try {
                job(chunk);
            } catch (...) {
                const std::lock_guard<std::mutex> lock(failureLock);
                if (!failure) failure = std::current_exception();
                next.store(chunkCount);
            }
            // Only the calling thread may let the window run.
            if (caller && tick) tick();
        }
    };
    QList<QFuture<void>> workers;
    for (int t = 1; t < threads; ++t)
        workers << QtConcurrent::run(work, false);
    work(true);
    for (QFuture<void> &w : workers)
        w.waitForFinished();
    if (tick) tick(); // the workers may have taken every chunk
    if (failure) std::rethrow_exception(failure);
}

/// The pass on several threads, in two phases over chunks of whole bit
/// words. First every chunk's survivor bits and count go into a bitmap of
/// the source (one bit per combination); then, with each chunk's place in
/// the target known from the counts before it, every chunk copies its
/// survivors straight to that place. No survivor is moved twice and the
/// order is that of the source.
size_t FilterParallel(const TComb *source, size_t count, TComb *target, const TCombMatcher &matcher,
                      bool keepMatching, int threads, const std::function<void()> &tick) {
    const size_t words = WordsFor(count);
    const size_t chunkWords = std::max<size_t>(1, (words + size_t(threads) * ChunksPerThread - 1) /
                                                      (size_t(threads) * ChunksPerThread));
    const size_t chunkSize = chunkWords * 64;
    const size_t chunkCount = (count + chunkSize - 1) / chunkSize;
    std::vector<uint64_t> bitmap(words);
    std::vector<size_t> place(chunkCount + 1, 0);
    const auto range = [&](size_t chunk) { return std::min(chunkSize, count - chunk * chunkSize); };

    RunChunks(
        chunkCount, threads,
        [&](size_t chunk) {
            const size_t begin = chunk * chunkSize;
            uint64_t *bits = bitmap.data() + begin / 64;
            for (size_t b = 0; b < range(chunk); b += BlockSize)
                matcher.MatchBits(source + begin + b, std::min(BlockSize, range(chunk) - b), bits + b / 64);
            place[chunk + 1] = MakeSurvivorBits(bits, range(chunk), keepMatching);
        },
        tick);
    for (size_t chunk = 0; chunk < chunkCount; ++chunk)
        place[chunk + 1] += place[chunk];
    RunChunks(
        chunkCount, threads,
        [&](size_t chunk) {
            const size_t begin = chunk * chunkSize;
            Compact(source + begin, range(chunk), bitmap.data() + begin / 64, target + place[chunk]);
        },
        tick);
    return place[chunkCount];
}

} // namespace

int RunFilterPassSequential(std::span<const TComb> source, TComb *target, const TCombMatcher &matcher,
                            bool keepMatching) {
    return int(FilterRange(source.data(), source.size(), target, matcher, keepMatching));
}

int RunFilterPass(std::span<const TComb> source, TComb *target, const TCombMatcher &matcher,
                  bool keepMatching, const TFilterPassOptions &options) {
    const size_t total = source.size();
    const int threads = std::max(1, QThread::idealThreadCount());
    if (options.Parallel && threads > 1 && matcher.IsThreadSafe() && total >= MinParallelSize)
        return int(
            FilterParallel(source.data(), total, target, matcher, keepMatching, threads, options.Tick));
    if (!options.Tick) return RunFilterPassSequential(source, target, matcher, keepMatching);

    // About a hundred slices, each appending its survivors to what the
    // previous ones wrote, with a tick after each.
    const size_t sliceSize = std::max<size_t>(1, (total + SliceCount - 1) / SliceCount);
    size_t written = 0;
    for (size_t begin = 0; begin < total; begin += sliceSize) {
        written += size_t(FilterRange(source.data() + begin, std::min(sliceSize, total - begin),
                                      target + written, matcher, keepMatching));
        options.Tick();
    }
    return int(written);
}

} // namespace lot
