#include <ctime>

#include "platform/files.h"

namespace vx::platform {

int32_t PackDosTime(int64_t unixSeconds) {
    const auto t = static_cast<time_t>(unixSeconds);
    tm local{};
    if (localtime_r(&t, &local) == nullptr) return 0;
    int year = local.tm_year + 1900;
    int month = local.tm_mon + 1;
    int day = local.tm_mday;
    int hour = local.tm_hour;
    int minute = local.tm_min;
    int second = local.tm_sec;
    // A DOS date covers 1980 to 2107; times outside are clamped to its ends.
    if (year < 1980) {
        year = 1980, month = 1, day = 1, hour = 0, minute = 0, second = 0;
    } else if (year > 2107) {
        year = 2107, month = 12, day = 31, hour = 23, minute = 59, second = 58;
    }
    const uint32_t date = (static_cast<uint32_t>(year - 1980) << 9) |
                          (static_cast<uint32_t>(month) << 5) | static_cast<uint32_t>(day);
    const uint32_t time = (static_cast<uint32_t>(hour) << 11) |
                          (static_cast<uint32_t>(minute) << 5) | static_cast<uint32_t>(second / 2);
    return static_cast<int32_t>((date << 16) | time);
}

}  // namespace vx::platform
