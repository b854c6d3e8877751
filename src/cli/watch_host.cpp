#include "cli/watch_host.h"

#include "cli/terminal_host.h"
#include "cli/watch_output.h"
#include "indexing/close_button.h"

namespace vx::cli {

MessageAnswer WatchHost::ShowMessage(MessageKind kind, const std::u16string& /*caption*/,
                                     const std::u16string& text, MessageButtons buttons) {
    std::lock_guard lock(mutex_);
    messages_.push_back(MessageLine(kind, text));
    return buttons == MessageButtons::YesNo ? MessageAnswer::Yes : MessageAnswer::Ok;
}

void WatchHost::PrintMessages(const std::string& prefix) {
    std::vector<std::string> messages;
    {
        std::lock_guard lock(mutex_);
        messages.swap(messages_);
    }
    for (const std::string& message : messages) PrintNote(prefix + message);
}

void WatchHost::Pause() {
    if (cancelled_ || stop_ == nullptr || stop_->load() == 0) return;
    cancelled_ = true;
    indexing::CloseButtonClick(*this, flags_);
}

}  // namespace vx::cli
