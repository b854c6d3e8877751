// A time of stat(2) or clock_gettime(2) as one number of nanoseconds.
#pragma once

#include <cstdint>
#include <ctime>

namespace vx::platform::detail {

inline int64_t Nanoseconds(const timespec& time) {
    return int64_t{time.tv_sec} * 1'000'000'000 + time.tv_nsec;
}

}  // namespace vx::platform::detail
