#include "shell/background_task.h"

#include <QCoreApplication>
#include <exception>

namespace vx::shell {

BackgroundTask::~BackgroundTask() {
    if (thread_.joinable()) thread_.join();
}

void BackgroundTask::Start(std::function<void()> work,
                           std::function<void(const std::string&)> then) {
    if (thread_.joinable()) thread_.join();
    busy_ = true;
    thread_ = std::thread([this, work = std::move(work), then = std::move(then)]() {
        std::string error;
        try {
            work();
        } catch (const std::exception& e) {
            error = e.what();
            if (error.empty()) error = "?";
        } catch (...) {
            error = "?";
        }
        QMetaObject::invokeMethod(
            context_,
            [this, then, error]() {
                if (thread_.joinable()) thread_.join();
                // Busy until `then` is done, so no second command starts in between.
                then(error);
                busy_ = false;
            },
            Qt::QueuedConnection);
    });
}

void BackgroundTask::WaitProcessingEvents() {
    while (busy_) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
}

}  // namespace vx::shell
