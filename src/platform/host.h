// What the engine needs from the program that drives it (the windows or the command-line tool).
// The engine calls these from its own thread; a host marshals display updates to its user
// interface and blocks in ShowMessage until the user has answered.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>

#include "platform/text.h"

namespace vx {

enum class MessageKind { Plain, Information, Warning, Error, Confirmation };
enum class MessageButtons { Ok, YesNo };
enum class MessageAnswer { Ok, Yes, No, Cancel };

// The run flags of the main window. The host sets them at any moment from its own thread (the
// close/cancel button); the engine reads and changes them between its steps.
struct RunFlags {
    std::atomic<bool> running{false};        // indexing phase of create / re-index
    std::atomic<bool> updateRunning{false};  // the whole re-index command
    std::atomic<bool> searchActive{false};
    std::atomic<bool> cancel{false};     // the cancel request
    std::atomic<bool> chunkFull{false};  // ends the walk of the current pass
    std::atomic<bool> aborted{false};    // a run was cancelled; chooses the final status text
};

class Host {
  public:
    virtual ~Host() = default;

    // The status area of the main window. Getters return what was last set by anyone.
    virtual void SetStatusLine(const std::u16string& text) = 0;
    virtual std::u16string StatusLine() const = 0;
    virtual void SetTotalsLine(const std::u16string& text) = 0;
    virtual std::u16string TotalsLine() const = 0;
    virtual void SetProgressLine(const std::u16string& text) = 0;
    virtual std::u16string ProgressLine() const = 0;
    virtual void SetCurrentFile(const std::u16string& text) = 0;
    virtual void SetCurrentFileVisible(bool visible) = 0;

    // A modal message box; blocks the engine until answered.
    virtual MessageAnswer ShowMessage(MessageKind kind, const std::u16string& caption,
                                      const std::u16string& text, MessageButtons buttons) = 0;

    // Patience indicator timer on/off (off also empties the indicator).
    virtual void SetPatienceIndicator(bool on) = 0;
    // Elapsed-time display on from the given tick (milliseconds of SteadyTickMs), or off.
    // While on, the host refreshes the totals line every second (when it is not empty) with
    // "XML-Dateien-Gesamtgröße: " + sizeText() + "     Zeit: " + elapsed-time text.
    virtual void StartElapsedDisplay(int64_t startTickMs,
                                     std::function<std::u16string()> sizeText) = 0;
    virtual void StopElapsedDisplay() = 0;

    // The three command buttons, and the close/cancel button's caption and state.
    virtual void SetCommandsEnabled(bool enabled) = 0;
    virtual void SetCloseButton(const std::u16string& caption, bool enabled) = 0;

    // A point where the host may refresh its display and take clicks. Never sleeps.
    virtual void Pause(int milliseconds) = 0;

    // A line of the run log (the engine keeps the log itself; hosts may show it).
    virtual void RunLogLine(const std::u16string& /*line*/) {}

    // The notice window of the create and re-index commands: documentCount documents of
    // sizeText were found; true ("Ja") starts the indexing. The default asks through ShowMessage
    // with the notice's text (NoticeText).
    virtual bool ConfirmIndexing(int documentCount, const std::u16string& sizeText);
    // The database list is to be read again (after a run; the windows run their list refresh).
    virtual void RefreshDatabaseList() {}
    // Width of the main window in pixels: the current-file field shortens folders to width / 12
    // characters.
    virtual int MainWindowWidth() const { return 1024; }
    // Progress of the indexing run after every numbered document, for hosts that draw their own
    // progress display (the command-line tool). The texts of the status area come as well.
    struct RunProgress {
        int32_t documents = 0;       // documents numbered so far in the run
        int32_t reused = 0;          // of those, taken unchanged from their text copies
        int32_t foundDocuments = 0;  // documents found by the pre-scan
        int64_t bytes = 0;           // sizes of the numbered documents
        int64_t startTickMs = 0;     // run start (SteadyTickMs)
        std::u16string path;         // the document just numbered (Windows form)
    };
    virtual void DocumentIndexed(const RunProgress& /*progress*/) {}
    // Opens a local file (the result page) in the user's browser.
    virtual void OpenInBrowser(const std::u16string& /*windowsPath*/) {}
};

// Millisecond tick count of a steady clock.
int64_t SteadyTickMs();

// The notice text: "Es wurden " + count + " XML-Dokumente mit einer Gesamtgröße von " + size
// text + " gefunden." + CR LF CR LF + "Möchten Sie mit der Indizierung beginnen ?".
inline std::u16string NoticeText(int documentCount, const std::u16string& sizeText) {
    return u"Es wurden " + platform::IntText(documentCount) +
           u" XML-Dokumente mit einer Gesamtgröße von " + sizeText + u" gefunden.\r\n\r\n" +
           u"Möchten Sie mit der Indizierung beginnen ?";
}

inline bool Host::ConfirmIndexing(int documentCount, const std::u16string& sizeText) {
    return ShowMessage(MessageKind::Plain, u"Information", NoticeText(documentCount, sizeText),
                       MessageButtons::YesNo) == MessageAnswer::Yes;
}

}  // namespace vx
