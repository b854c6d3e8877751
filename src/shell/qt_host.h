// The engines' view of the main window. Engines call it from the worker thread: display updates
// travel to the user-interface thread as queued calls, the texts are cached for the getters,
// and a message box is shown by the user-interface thread while the engine waits.
#pragma once

#include <array>
#include <atomic>
#include <functional>
#include <mutex>
#include <optional>
#include <string>

#include "platform/host.h"

namespace vx::shell {

class MainWindow;

class QtHost : public vx::Host {
  public:
    explicit QtHost(MainWindow& window) : window_(window) {}

    // What a run shows.
    void SetStatusLine(const std::u16string& text) override;
    void SetTotalsLine(const std::u16string& text) override;
    void SetProgressLine(const std::u16string& text) override;
    void SetCurrentFile(const std::u16string& text) override;
    void SetCurrentFileVisible(bool visible) override;
    int CurrentFileChars() const override;
    void SetPatienceIndicator(bool on) override;
    void StartElapsedDisplay(int64_t startTickMs,
                             std::function<std::u16string()> sizeText) override;
    void StopElapsedDisplay() override;
    void ShowRunControls(RunControls controls) override;
    void OpenInBrowser(const std::u16string& windowsPath) override;
    void RefreshDatabaseList() override;
    // What it asks.
    MessageAnswer ShowMessage(MessageKind kind, const std::u16string& caption,
                              const std::u16string& text, MessageButtons buttons) override;
    bool ConfirmIndexing(int documentCount, const std::u16string& sizeText) override;
    // Where the window takes control.
    void Pause() override;

    // Kept by the window on every resize, read by the engine's thread.
    void SetMainWindowWidth(int width) { width_ = width; }
    // The texts of the status area as last set by anyone.
    std::u16string StatusLine() const;
    std::u16string TotalsLine() const;
    std::u16string ProgressLine() const;

    // The size text of the running elapsed-time display; nothing when it is off.
    std::optional<std::u16string> ElapsedSizeText() const;
    // The current-file field's text as last set.
    std::u16string CurrentFile() const;

  private:
    // Runs f on the user-interface thread: at once when called there, else queued.
    void OnUi(std::function<void()> f);
    // Runs f on the user-interface thread and waits for it.
    void OnUiAndWait(const std::function<void()>& f);

    enum Field { kStatus, kTotals, kProgress, kCurrentFile, kFieldCount };
    void SetText(Field field, const std::u16string& text);
    std::u16string Text(Field field) const;
    // Shows the latest texts (on the user-interface thread).
    void ShowTexts();

    MainWindow& window_;
    mutable std::mutex mutex_;
    std::array<std::u16string, kFieldCount> texts_;
    bool refreshPending_ = false;
    mutable std::mutex sizeMutex_;
    std::function<std::u16string()> sizeText_;
    std::atomic<int> width_{1024};
};

}  // namespace vx::shell
