#include "cli/watch_host.h"

#include <utility>

#include "cli/terminal_host.h"
#include "indexing/close_button.h"

namespace vx::cli {

void WatchHost::SetStatusLine(const std::u16string& text) {
    std::lock_guard lock(mutex_);
    status_ = text;
}

std::u16string WatchHost::StatusLine() const {
    std::lock_guard lock(mutex_);
    return status_;
}

MessageAnswer WatchHost::ShowMessage(MessageKind kind, const std::u16string& /*caption*/,
                                     const std::u16string& text, MessageButtons buttons) {
    std::lock_guard lock(mutex_);
    messages_.push_back(MessageLine(kind, text));
    return buttons == MessageButtons::YesNo ? MessageAnswer::Yes : MessageAnswer::Ok;
}

std::vector<std::string> WatchHost::TakeMessages() {
    std::lock_guard lock(mutex_);
    return std::exchange(messages_, {});
}

void WatchHost::Pause() {
    if (cancelled_ || stop_ == nullptr || stop_->load() == 0) return;
    cancelled_ = true;
    indexing::CloseButtonClick(*this, flags_);
}

}  // namespace vx::cli
