// One worker thread for the engine part of a command.
#pragma once

#include <QObject>
#include <atomic>
#include <functional>
#include <string>
#include <thread>

namespace vx::shell {

class BackgroundTask {
  public:
    // `context` receives the queued completion; it must outlive the task.
    explicit BackgroundTask(QObject* context) : context_(context) {}
    ~BackgroundTask();
    BackgroundTask(const BackgroundTask&) = delete;
    BackgroundTask& operator=(const BackgroundTask&) = delete;

    bool Busy() const { return busy_; }
    // Runs work on a new thread; afterwards `then` runs on the context's thread with the text of
    // an exception that ended the work ("" when it ended normally).
    void Start(std::function<void()> work, std::function<void(const std::string& error)> then);
    // Processes events until the work and its `then` have run.
    void WaitProcessingEvents();

  private:
    QObject* context_;
    std::thread thread_;
    std::atomic<bool> busy_{false};
};

}  // namespace vx::shell
