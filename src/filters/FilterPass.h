#pragma once
/// @file The filtering pass: every combination of a source array is tested
/// once with a prepared matcher and the survivors are written, in source
/// order, to a target array. This is the hottest loop of the program; it may
/// run on every core, with a result identical to the plain sequential pass.

#include "core/Lottery.h"

#include <functional>
#include <span>

namespace lot {

class TCombMatcher;

struct TFilterPassOptions {
    /// Use several threads when the matcher allows it.
    bool Parallel = true;
    /// Called on the calling thread about a hundred times per pass (status
    /// line, pending events). Never called from a worker.
    std::function<void()> Tick;
};

/// Writes from target[0] on every combination c of source for which
/// matcher.Matches(c) equals keepMatching, keeping their order; returns how
/// many were written. target must hold source.size() combinations and must
/// not overlap source. An error raised by the matcher propagates; target is
/// then undefined.
int RunFilterPass(std::span<const TComb> source, TComb *target, const TCombMatcher &matcher,
                  bool keepMatching, const TFilterPassOptions &options = {});

/// The plain sequential pass, one combination after the other: the reference
/// the parallel pass is tested against.
int RunFilterPassSequential(std::span<const TComb> source, TComb *target, const TCombMatcher &matcher,
                            bool keepMatching);

} // namespace lot
