#include "indexing/detail/prefetch_pool.h"

#include <condition_variable>
#include <deque>
#include <exception>
#include <mutex>
#include <thread>
#include <unordered_map>
#include <vector>

#include "platform/helper_thread.h"

namespace vx::indexing {

namespace {

struct Job {
    std::u16string path;
    std::u16string storedPath;
    bool started = false;
    bool done = false;
    PreparedDocument result;
    std::exception_ptr error;
};

}  // namespace

struct PrefetchPool::Impl {
    Prepare prepare;
    std::vector<std::thread> workers;
    std::mutex mutex;
    std::condition_variable wake;      // workers wait for jobs
    std::condition_variable finished;  // the run thread waits for a job
    std::deque<std::shared_ptr<Job>> queue;
    std::unordered_map<std::u16string, std::shared_ptr<Job>> jobs;
    bool stopping = false;

    void Work() {
        platform::RunAsHelperThread();
        for (;;) {
            std::shared_ptr<Job> job;
            {
                std::unique_lock lock(mutex);
                wake.wait(lock, [&] { return stopping || !queue.empty(); });
                if (stopping) return;
                job = std::move(queue.front());
                queue.pop_front();
                if (job->started) continue;
                job->started = true;
            }
            Run(*job);
        }
    }

    void Run(Job& job) {
        PreparedDocument result;
        std::exception_ptr error;
        try {
            result = prepare(job.path, job.storedPath);
        } catch (...) {
            error = std::current_exception();
        }
        std::lock_guard lock(mutex);
        job.result = std::move(result);
        job.error = error;
        job.done = true;
        finished.notify_all();
    }
};

PrefetchPool::PrefetchPool(int threads, Prepare prepare) : impl_(std::make_unique<Impl>()) {
    impl_->prepare = std::move(prepare);
    for (int i = 0; i < threads; ++i) impl_->workers.emplace_back([this] { impl_->Work(); });
}

PrefetchPool::~PrefetchPool() {
    {
        std::lock_guard lock(impl_->mutex);
        impl_->stopping = true;
    }
    impl_->wake.notify_all();
    for (auto& worker : impl_->workers) worker.join();
}

int PrefetchPool::Threads() const {
    return static_cast<int>(impl_->workers.size());
}

void PrefetchPool::Prefetch(const WalkItem& item) {
    if (impl_->workers.empty()) return;
    std::lock_guard lock(impl_->mutex);
    if (impl_->jobs.contains(item.fullPath)) return;
    auto job = std::make_shared<Job>();
    job->path = item.fullPath;
    job->storedPath = item.storedPath;
    impl_->jobs.emplace(item.fullPath, job);
    impl_->queue.push_back(std::move(job));
    impl_->wake.notify_one();
}

PreparedDocument PrefetchPool::Take(const std::u16string& path, const std::u16string& storedPath) {
    {
        std::unique_lock lock(impl_->mutex);
        auto it = impl_->jobs.find(path);
        if (it != impl_->jobs.end()) {
            std::shared_ptr<Job> job = it->second;
            impl_->jobs.erase(it);
            if (job->started) {
                impl_->finished.wait(lock, [&] { return job->done; });
                if (job->error) std::rethrow_exception(job->error);
                return std::move(job->result);
            }
            job->started = true;  // a worker that finds it in the queue skips it
        }
    }
    return impl_->prepare(path, storedPath);
}

void PrefetchPool::DropAll() {
    std::unique_lock lock(impl_->mutex);
    for (auto& entry : impl_->jobs) {
        Job& job = *entry.second;
        if (!job.started)
            job.started = true;  // never runs now
        else
            impl_->finished.wait(lock, [&job] { return job.done; });
    }
    impl_->jobs.clear();
    impl_->queue.clear();
}

}  // namespace vx::indexing
