#include "platform/detail/parallel.h"

#include <algorithm>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

namespace vx::platform {

namespace {

// Below this many items a second thread costs more than it saves.
constexpr std::size_t kMinItemsPerThread = 2048;

}  // namespace

void ParallelRanges(std::size_t count, const std::function<void(std::size_t, std::size_t)>& work) {
    // Asking for the processors reads a file: not for work that is one thread's anyway.
    const std::size_t threads =
        count < 2 * kMinItemsPerThread
            ? 1
            : std::clamp<std::size_t>(count / kMinItemsPerThread, 1,
                                      std::clamp(std::thread::hardware_concurrency(), 1u, 8u));
    if (threads == 1) {
        if (count > 0) work(0, count);
        return;
    }
    std::exception_ptr error;
    std::mutex errorMutex;
    const auto run = [&](std::size_t part) {
        try {
            work(count * part / threads, count * (part + 1) / threads);
        } catch (...) {
            std::lock_guard lock(errorMutex);
            if (!error) error = std::current_exception();
        }
    };
    std::vector<std::thread> helpers;
    for (std::size_t part = 1; part < threads; ++part) helpers.emplace_back(run, part);
    run(0);
    for (auto& helper : helpers) helper.join();
    if (error) std::rethrow_exception(error);
}

}  // namespace vx::platform
