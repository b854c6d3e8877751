#include "shell/qt_host.h"

#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QThread>

#include "platform/paths.h"
#include "shell/main_window.h"
#include "shell/notice_window.h"

namespace vx::shell {
namespace {

QString Q(const std::u16string& s) {
    return QString::fromStdU16String(s);
}

bool OnUiThread(const QObject& object) {
    return QThread::currentThread() == object.thread();
}

}  // namespace

void QtHost::OnUi(std::function<void()> f) {
    if (OnUiThread(window_)) {
        f();
    } else {
        QMetaObject::invokeMethod(&window_, std::move(f), Qt::QueuedConnection);
    }
}

void QtHost::OnUiAndWait(const std::function<void()>& f) {
    if (OnUiThread(window_)) {
        f();
    } else {
        QMetaObject::invokeMethod(&window_, f, Qt::BlockingQueuedConnection);
    }
}

void QtHost::SetStatusLine(const std::u16string& text) {
    {
        std::lock_guard lock(mutex_);
        status_ = text;
    }
    OnUi([this, text] { window_.StatusLabel()->setText(Q(text)); });
}

std::u16string QtHost::StatusLine() const {
    std::lock_guard lock(mutex_);
    return status_;
}

void QtHost::SetTotalsLine(const std::u16string& text) {
    {
        std::lock_guard lock(mutex_);
        totals_ = text;
    }
    OnUi([this, text] { window_.TotalsLabel()->setText(Q(text)); });
}

std::u16string QtHost::TotalsLine() const {
    std::lock_guard lock(mutex_);
    return totals_;
}

void QtHost::SetProgressLine(const std::u16string& text) {
    {
        std::lock_guard lock(mutex_);
        progress_ = text;
    }
    OnUi([this, text] { window_.ProgressLabel()->setText(Q(text)); });
}

std::u16string QtHost::ProgressLine() const {
    std::lock_guard lock(mutex_);
    return progress_;
}

void QtHost::SetCurrentFile(const std::u16string& text) {
    {
        std::lock_guard lock(mutex_);
        currentFile_ = text;
    }
    OnUi([this, text] {
        window_.CurrentFileField()->setText(Q(text));
        window_.CurrentFileField()->setCursorPosition(0);
    });
}

std::u16string QtHost::CurrentFile() const {
    std::lock_guard lock(mutex_);
    return currentFile_;
}

void QtHost::SetCurrentFileVisible(bool visible) {
    OnUi([this, visible] { window_.CurrentFileField()->setVisible(visible); });
}

MessageAnswer QtHost::ShowMessage(MessageKind kind, const std::u16string& caption,
                                  const std::u16string& text, MessageButtons buttons) {
    MessageAnswer answer = MessageAnswer::Cancel;
    OnUiAndWait([&] { answer = window_.Message(kind, Q(caption), Q(text), buttons); });
    return answer;
}

bool QtHost::ConfirmIndexing(int documentCount, const std::u16string& sizeText) {
    bool yes = false;
    OnUiAndWait([&] {
        NoticeWindow* notice = window_.Notice();
        if (notice == nullptr) {
            yes = Host::ConfirmIndexing(documentCount, sizeText);
            return;
        }
        yes = notice->Ask(documentCount, sizeText);
    });
    return yes;
}

void QtHost::SetPatienceIndicator(bool on) {
    OnUi([this, on] { window_.SetPatienceIndicator(on); });
}

void QtHost::StartElapsedDisplay(int64_t startTickMs, std::function<std::u16string()> sizeText) {
    OnUi([this, startTickMs, sizeText = std::move(sizeText)]() mutable {
        window_.StartElapsedDisplay(startTickMs, std::move(sizeText));
    });
}

void QtHost::StopElapsedDisplay() {
    OnUi([this] { window_.StopElapsedDisplay(); });
}

void QtHost::SetCommandsEnabled(bool enabled) {
    OnUi([this, enabled] { window_.SetCommandsEnabled(enabled); });
}

void QtHost::SetCloseButton(const std::u16string& caption, bool enabled) {
    OnUi([this, caption, enabled] { window_.SetCloseButton(Q(caption), enabled); });
}

void QtHost::Pause(int /*milliseconds*/) {
    // The engine runs on its own thread, so the window refreshes by itself; on the window's
    // thread the pending events are processed once.
    if (OnUiThread(window_)) {
        QCoreApplication::processEvents();
    } else {
        QThread::yieldCurrentThread();
    }
}

void QtHost::RunLogLine(const std::u16string& /*line*/) {}

void QtHost::RefreshDatabaseList() {
    OnUi([this] { window_.RefreshDatabaseListAfterRun(); });
}

int QtHost::MainWindowWidth() const {
    return width_;
}

void QtHost::OpenInBrowser(const std::u16string& windowsPath) {
    const std::string hostPath = platform::ToHostPath(windowsPath);
    OnUi([this, hostPath] {
        if (window_.Environment().openFile && !hostPath.empty()) {
            window_.Environment().openFile(QString::fromStdString(hostPath));
        }
    });
}

}  // namespace vx::shell
