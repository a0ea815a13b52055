#include "filters/FilterPass.h"

#include "stats/CustomStat.h"

#include <algorithm>
#include <atomic>
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
/// Chunks per thread of a parallel pass: the calling thread ticks after each
/// of its chunks, so about a hundred times.
constexpr size_t ChunksPerThread = 100;

/// Blocks small enough to stay in the first-level cache between the test
/// and the copy.
constexpr size_t BlockSize = 4096;

int FilterRange(const TComb *source, size_t count, TComb *target, const TCombMatcher &matcher,
                bool keepMatching) {
    size_t written = 0;
    for (size_t begin = 0; begin < count; begin += BlockSize)
        written += matcher.FilterBlock(source + begin, std::min(BlockSize, count - begin), target + written,
                                       keepMatching);
    return int(written);
}

/// The pass on several threads. The source is cut into chunks that the
/// calling thread and the workers take in turn from a shared counter, so a
/// thread slowed down by other work on the machine holds nobody up. Each
/// chunk writes its survivors at its own offset of target (a chunk never has
/// more survivors than combinations, so chunks cannot collide); afterwards
/// the runs are moved down in chunk order into one compact run. Moving in
/// order is safe: every run moves towards the start, over slots already
/// emptied or its own.
int FilterParallel(const TComb *source, size_t count, TComb *target, const TCombMatcher &matcher,
                   bool keepMatching, int threads, const std::function<void()> &tick) {
    const size_t chunkCount = std::min(count, size_t(threads) * ChunksPerThread);
    const size_t chunkSize = (count + chunkCount - 1) / chunkCount;
    std::vector<size_t> survivors(chunkCount, 0);
    std::atomic<size_t> next{0};
    std::exception_ptr failure;
    std::mutex failureLock;

    const auto work = [&](bool caller) {
        for (;;) {
            const size_t chunk = next.fetch_add(1);
            if (chunk >= chunkCount) return;
            const size_t begin = chunk * chunkSize;
            if (begin >= count) continue;
            try {
                survivors[chunk] = size_t(FilterRange(source + begin, std::min(chunkSize, count - begin),
                                                      target + begin, matcher, keepMatching));
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

    size_t written = 0;
    for (size_t chunk = 0; chunk < chunkCount; ++chunk) {
        const size_t begin = chunk * chunkSize;
        const size_t n = survivors[chunk];
        if (written != begin && n > 0) std::memmove(target + written, target + begin, n * sizeof(TComb));
        written += n;
    }
    return int(written);
}

} // namespace

int RunFilterPassSequential(std::span<const TComb> source, TComb *target, const TCombMatcher &matcher,
                            bool keepMatching) {
    return FilterRange(source.data(), source.size(), target, matcher, keepMatching);
}

int RunFilterPass(std::span<const TComb> source, TComb *target, const TCombMatcher &matcher,
                  bool keepMatching, const TFilterPassOptions &options) {
    const size_t total = source.size();
    const int threads = std::max(1, QThread::idealThreadCount());
    if (options.Parallel && threads > 1 && matcher.IsThreadSafe() && total >= MinParallelSize)
        return FilterParallel(source.data(), total, target, matcher, keepMatching, threads, options.Tick);
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
