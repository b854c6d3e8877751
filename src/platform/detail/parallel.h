// Splitting independent work over the processors.
#pragma once

#include <cstddef>
#include <functional>

namespace vx::platform {

// Calls work(begin, end) for consecutive ranges covering [0, count), on up to one thread per
// processor (the calling thread included), and returns when all are done. Small counts run on
// the calling thread alone. An exception of a range is rethrown here.
void ParallelRanges(std::size_t count, const std::function<void(std::size_t, std::size_t)>& work);

}  // namespace vx::platform
