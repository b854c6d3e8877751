// The Host of the command-line tool: message boxes on standard error ("Information: ...",
// "Warnung: ...", "Fehler: ...", "Bestätigung: ..."), questions answered from standard input
// ("j" or "ja" is yes; anything else or the end of the input is no) or with yes by --yes, one
// progress line redrawn in place while a run works on a terminal, and Ctrl-C acting as the close
// button during a run.
#pragma once

#include <cstdint>
#include <functional>
#include <mutex>
#include <string>

#include "platform/host.h"

namespace vx::cli {

class TerminalHost : public Host {
  public:
    explicit TerminalHost(bool assumeYes);
    ~TerminalHost() override;

    // Ctrl-C during a run of these flags acts as the close button; outside a run it ends the
    // program at once. A second Ctrl-C always ends it.
    void HandleInterrupts(RunFlags& flags);

    // What a run shows: the status and totals lines are kept for FinishRun; log lines and the
    // tool's own progress line (from DocumentIndexed) go to standard error.
    void SetStatusLine(const std::u16string& text) override;
    void SetTotalsLine(const std::u16string& text) override;
    void RunLogLine(const std::u16string& line) override;
    void DocumentIndexed(const RunProgress& progress) override;
    // What it asks.
    MessageAnswer ShowMessage(MessageKind kind, const std::u16string& caption,
                              const std::u16string& text, MessageButtons buttons) override;
    bool ConfirmIndexing(int documentCount, const std::u16string& sizeText) override;
    // A pending Ctrl-C is taken here.
    void Pause() override;

    // Removes the progress line and prints the final status and totals lines (standard output).
    // A Ctrl-C that came too late to stop the run still counts as an interruption.
    void FinishRun();
    // Whether Ctrl-C stopped the run.
    bool Interrupted() const { return interrupted_; }

  private:
    // A copy of one of the texts, taken under the lock.
    std::u16string Locked(const std::u16string& text) const;
    bool Ask(const std::string& question);
    void ClearProgress();
    void DrawProgress(bool force);
    void HandlePendingInterrupt();

    bool assumeYes_;
    bool progressOnTerminal_;
    mutable std::mutex mutex_;
    std::u16string status_, totals_;
    RunFlags* flags_ = nullptr;
    RunProgress last_;
    bool haveProgress_ = false;
    bool progressShown_ = false;
    bool interrupted_ = false;
    int64_t lastDraw_ = 0;
};

// "Z:\home\a.xml" -> "/home/a.xml" for display (drive Z: is the root).
std::string DisplayPath(std::u16string_view windowsPath);
// A message box as a line of the terminal: "Warnung: " and the text (CR LF as LF).
std::string MessageLine(MessageKind kind, std::u16string_view text);

}  // namespace vx::cli
