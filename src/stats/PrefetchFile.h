#pragma once
/// @file Prefetch files: per statistic method, how many combinations of the
/// full set have each value. Binary, little-endian: one 12-byte record per
/// value key (the four key words, then the count), ascending by key, then a
/// 12-byte trailer (smallest count, largest count, 0).

#include "core/Errors.h"
#include "core/Lottery.h"
#include "stats/KeyCounter.h"
#include "stats/StatKey.h"

#include <cstdint>
#include <cstring>
#include <functional>
#include <memory>
#include <QString>
#include <QtEndian>
#include <vector>

namespace lot {

class TCustomStat;

/// Largest number of records a prefetch file may hold: no method has more
/// distinct values than the full set has combinations.
inline constexpr int64_t MaxPrefetchRecords = FullSetSize;

/// Adds the values of a run of combinations to a counter, as one method
/// instance produces them (its CombValues). One evaluator serves one worker.
using TCombValuesFn = std::function<void(const TComb *combs, int count, TKeyCounter &counter)>;

/// Counts the values of every combination of the full set. makeEvaluator is
/// called once per worker on the calling thread and gives that worker its
/// own evaluator (method instances are not shareable). With threads > 1 the
/// work is spread over that many threads; the table is the same as with one.
/// poll runs on the calling thread about a hundred times per pass (status
/// line, pending events).
TPrefetchTable CountFullSet(const std::function<TCombValuesFn()> &makeEvaluator, int threads,
                            const std::function<void(int percent)> &poll = {});

/// The evaluator of a method instance: its CountCombKeys. The instance must
/// outlive it.
TCombValuesFn StatEvaluator(TCustomStat &stat);

/// Writes a prefetch file through a temporary file renamed over the target.
/// Raises EError with the system's message.
void WritePrefetchFile(const QString &fileName, const TPrefetchTable &table);

/// A prefetch file that can be read but is not well formed.
class EPrefetchFormatError : public EError {
public:
    using EError::EError;
};

/// Reads and checks a prefetch file. Raises EError with the system's message
/// when it cannot be read, and EPrefetchFormatError naming the fault when it
/// is not a well-formed prefetch file (size, order, counts, trailer).
TPrefetchTable ReadPrefetchFile(const QString &fileName);

} // namespace lot
