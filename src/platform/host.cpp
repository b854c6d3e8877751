#include "platform/host.h"

#include <chrono>

namespace vx {

int64_t SteadyTickMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

}  // namespace vx
