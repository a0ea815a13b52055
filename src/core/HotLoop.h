#pragma once
/// @file Threads of the hot loops over the combination list.

#include <algorithm>
#include <thread>

namespace lot {

/// Every core: the hot loops split their work this many ways (their
/// results do not depend on it).
inline int HotLoopThreads() {
    return int(std::max(1u, std::thread::hardware_concurrency()));
}

} // namespace lot
