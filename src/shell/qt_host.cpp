#include "shell/qt_host.h"

#include <QCoreApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QThread>
#include <array>

#include "platform/paths.h"
#include "shell/main_window.h"
#include "shell/notice_window.h"
#include "shell/qt_text.h"

namespace vx::shell {
namespace {

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

void QtHost::SetText(Field field, const std::u16string& text) {
    bool post = false;
    {
        std::lock_guard lock(mutex_);
        texts_[field] = text;
        post = !refreshPending_;
        refreshPending_ = true;
    }
    if (OnUiThread(window_)) {
        ShowTexts();
    } else if (post) {
        // One pending refresh carries every change made before it runs, so a fast engine
        // cannot flood the window's event queue.
        QMetaObject::invokeMethod(
            &window_, [this] { ShowTexts(); }, Qt::QueuedConnection);
    }
}

std::u16string QtHost::Text(Field field) const {
    std::lock_guard lock(mutex_);
    return texts_[field];
}

void QtHost::ShowTexts() {
    std::array<std::u16string, kFieldCount> texts;
    {
        std::lock_guard lock(mutex_);
        texts = texts_;
        refreshPending_ = false;
    }
    auto show = [](QLabel* label, const std::u16string& text) {
        const QString q = Q(text);
        if (label->text() != q) label->setText(q);
    };
    show(window_.StatusLabel(), texts[kStatus]);
    show(window_.TotalsLabel(), texts[kTotals]);
    show(window_.ProgressLabel(), texts[kProgress]);
    const QString file = Q(texts[kCurrentFile]);
    if (window_.CurrentFileField()->text() != file) {
        window_.CurrentFileField()->setText(file);
        window_.CurrentFileField()->setCursorPosition(0);
    }
}

void QtHost::SetStatusLine(const std::u16string& text) {
    SetText(kStatus, text);
}
std::u16string QtHost::StatusLine() const {
    return Text(kStatus);
}
void QtHost::SetTotalsLine(const std::u16string& text) {
    SetText(kTotals, text);
}
std::u16string QtHost::TotalsLine() const {
    return Text(kTotals);
}
void QtHost::SetProgressLine(const std::u16string& text) {
    SetText(kProgress, text);
}
std::u16string QtHost::ProgressLine() const {
    return Text(kProgress);
}
void QtHost::SetCurrentFile(const std::u16string& text) {
    SetText(kCurrentFile, text);
}
std::u16string QtHost::CurrentFile() const {
    return Text(kCurrentFile);
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
            yes = RunQuestions::ConfirmIndexing(documentCount, sizeText);
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
    {
        std::lock_guard lock(sizeMutex_);
        sizeText_ = std::move(sizeText);
    }
    OnUi([this, startTickMs] { window_.StartElapsedTimer(startTickMs); });
}

void QtHost::StopElapsedDisplay() {
    {
        // Dropped at once: the engine's state behind the function may end right after this.
        std::lock_guard lock(sizeMutex_);
        sizeText_ = nullptr;
    }
    OnUi([this] { window_.StopElapsedTimer(); });
}

std::optional<std::u16string> QtHost::ElapsedSizeText() const {
    std::lock_guard lock(sizeMutex_);
    if (!sizeText_) return std::nullopt;
    return sizeText_();
}

void QtHost::ShowRunControls(RunControls controls) {
    OnUi([this, controls] { window_.ShowRunControls(controls); });
}

void QtHost::Pause() {
    // The engine runs on its own thread, so the window refreshes by itself; on the window's
    // thread the pending events are processed once.
    if (OnUiThread(window_)) {
        QCoreApplication::processEvents();
    } else {
        QThread::yieldCurrentThread();
    }
}

void QtHost::RefreshDatabaseList() {
    OnUi([this] { window_.RefreshDatabaseListAfterRun(); });
}

int QtHost::CurrentFileChars() const {
    // About the characters of the field's font that the window's width holds.
    return width_ / 12;
}

void QtHost::OpenInBrowser(const std::u16string& windowsPath) {
    const std::string hostPath = platform::ToHostPath(windowsPath);
    if (hostPath.empty()) return;
    OnUi([this, hostPath] { window_.OpenResultPage(QFile::decodeName(hostPath.c_str())); });
}

}  // namespace vx::shell
