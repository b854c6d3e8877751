#include "indexing/detail/unicode_filing.h"

#include "platform/helper_thread.h"

namespace vx::indexing {

namespace {

// Documents waiting at most: enough to even out their sizes, few enough to hold little memory.
constexpr std::size_t kMaxWaiting = 64;

}  // namespace

UnicodeFiling::UnicodeFiling(index::WordIndex& index, bool threaded) : index_(index) {
    if (!threaded) return;
    thread_ = std::thread([this] {
        platform::RunAsHelperThread();
        Work();
    });
}

UnicodeFiling::~UnicodeFiling() {
    if (!thread_.joinable()) return;
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
    thread_.join();
}

void UnicodeFiling::File(std::shared_ptr<const DocumentWords> words, int32_t number) {
    if (!thread_.joinable()) {
        words->FileUnicodeWords(number, index_);
        return;
    }
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return queue_.size() < kMaxWaiting; });
    queue_.emplace_back(std::move(words), number);
    changed_.notify_all();
}

void UnicodeFiling::Wait() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return queue_.empty() && !busy_; });
    if (failure_) std::rethrow_exception(std::exchange(failure_, nullptr));
}

void UnicodeFiling::Work() {
    std::unique_lock lock(mutex_);
    for (;;) {
        changed_.wait(lock, [&] { return stopping_ || !queue_.empty(); });
        if (stopping_) return;
        auto [words, number] = std::move(queue_.front());
        queue_.pop_front();
        busy_ = true;
        lock.unlock();
        std::exception_ptr failure;
        try {
            words->FileUnicodeWords(number, index_);
        } catch (...) {
            failure = std::current_exception();
        }
        words.reset();
        lock.lock();
        busy_ = false;
        if (failure && !failure_) failure_ = failure;
        changed_.notify_all();
    }
}

}  // namespace vx::indexing
