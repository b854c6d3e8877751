// The Host of the watcher's updates: a run shows nothing while it works (the watcher prints one
// line per update), asks nothing (the notice is answered with yes), keeps its messages for the
// watcher to print once the outcome is known, and takes a stop request as the close button.
#pragma once

#include <atomic>
#include <mutex>
#include <string>
#include <vector>

#include "platform/host.h"

namespace vx::cli {

class WatchHost : public Host {
  public:
    // stop: set (to the signal) when the run is to stop; nullptr when nothing stops it.
    WatchHost(const std::atomic<int>* stop, RunFlags& flags) : stop_(stop), flags_(flags) {}

    void SetStatusLine(const std::u16string& /*text*/) override {}
    void SetTotalsLine(const std::u16string& /*text*/) override {}
    MessageAnswer ShowMessage(MessageKind kind, const std::u16string& caption,
                              const std::u16string& text, MessageButtons buttons) override;
    bool ConfirmIndexing(int /*documentCount*/, const std::u16string& /*sizeText*/) override {
        return true;
    }
    // A stop request cancels the run (once).
    void Pause() override;

    // Prints the messages shown so far as notes (after the prefix) and forgets them.
    void PrintMessages(const std::string& prefix);
    // Whether a stop request cancelled the run.
    bool Cancelled() const { return cancelled_; }

  private:
    const std::atomic<int>* stop_;
    RunFlags& flags_;
    bool cancelled_ = false;
    std::mutex mutex_;
    std::vector<std::string> messages_;
};

}  // namespace vx::cli
