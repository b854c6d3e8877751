// What the engine needs from the program that drives it (the window program or the command-line
// tool), in three parts: what a run shows (RunDisplay), what it asks (RunQuestions) and the
// points where the host takes control (RunControl, with the RunFlags it changes through
// RunSwitch). A host implements the parts it has; what it leaves out of the display is simply not
// shown.
//
// The engine calls these from its own thread; a host marshals display updates to its user
// interface and blocks in ShowMessage until the user has answered.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "platform/run_flags.h"
#include "platform/text.h"

namespace vx {

enum class MessageKind { Plain, Information, Warning, Error, Confirmation };
enum class MessageButtons { Ok, YesNo };
enum class MessageAnswer { Ok, Yes, No, Cancel };

// What the user may do at a moment of a command; the host turns it into its controls.
enum class RunControls {
    Idle,         // every command may start; the close button closes the program
    Cancellable,  // an indexing run works: no command starts; the close button cancels the run
    Saving,       // a cancelled run saves what it has indexed: the close button waits
};

// What a run shows. The status and totals lines are required (they say how a run ended); the
// rest is optional.
class RunDisplay {
  public:
    virtual ~RunDisplay() = default;

    virtual void SetStatusLine(const std::u16string& text) = 0;
    virtual void SetTotalsLine(const std::u16string& text) = 0;
    virtual void SetProgressLine(const std::u16string& /*text*/) {}
    // The document being worked on ("" when none), and whether its field is shown at all.
    virtual void SetCurrentFile(const std::u16string& /*text*/) {}
    virtual void SetCurrentFileVisible(bool /*visible*/) {}
    // How many characters of a folder the current-file field shows (longer folders are
    // shortened in the middle).
    virtual int CurrentFileChars() const { return 1024 / 12; }

    // Patience indicator on/off (off also empties the indicator).
    virtual void SetPatienceIndicator(bool /*on*/) {}
    // Elapsed-time display on from the given tick (milliseconds of SteadyTickMs), or off.
    // While on, the host refreshes the totals line every second (when it is not empty) with
    // "XML-Dateien-Gesamtgröße: " + sizeText() + "     Zeit: " + elapsed-time text.
    virtual void StartElapsedDisplay(
        int64_t /*startTickMs*/,
        // NOLINTNEXTLINE(performance-unnecessary-value-param): hosts keep it, so it is moved in
        std::function<std::u16string()> /*sizeText*/) {}
    virtual void StopElapsedDisplay() {}

    // What the user may do now (the host's commands and close/cancel button).
    virtual void ShowRunControls(RunControls /*controls*/) {}

    // A line of the run log (the engine keeps the log itself; hosts may show it).
    virtual void RunLogLine(const std::u16string& /*line*/) {}
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
    // The database files changed: a host that lists them reads the list again.
    virtual void RefreshDatabaseList() {}
    // Opens a local file (the result page) in the user's browser.
    virtual void OpenInBrowser(const std::u16string& /*windowsPath*/) {}
};

// What a run asks the user.
class RunQuestions {
  public:
    virtual ~RunQuestions() = default;

    // A modal message box; blocks the engine until answered.
    virtual MessageAnswer ShowMessage(MessageKind kind, const std::u16string& caption,
                                      const std::u16string& text, MessageButtons buttons) = 0;
    // The notice window of the create and re-index commands: documentCount documents of
    // sizeText were found; true ("Ja") starts the indexing. The default asks through ShowMessage
    // with the notice's text (NoticeText).
    virtual bool ConfirmIndexing(int documentCount, const std::u16string& sizeText);

    // A message box with an OK button and the caption of its kind.
    void Tell(MessageKind kind, const std::u16string& text) {
        ShowMessage(kind, CaptionOf(kind), text, MessageButtons::Ok);
    }
    // "Information" (also for a plain box), "Warnung", "Fehler" or "Bestätigung".
    static std::u16string CaptionOf(MessageKind kind);
};

// Where the host takes control of a run: between two steps the engine gives it a moment, in
// which the host may refresh its display and take a click of its close button (which changes
// the RunFlags).
class RunControl {
  public:
    virtual ~RunControl() = default;

    // Never sleeps.
    virtual void Pause() = 0;
};

// A host in full, as the engine's commands take it.
class Host : public RunDisplay, public RunQuestions, public RunControl {};

// Millisecond tick count of a steady clock.
int64_t SteadyTickMs();

// The notice text: "Es wurden " + count + " XML-Dokumente mit einer Gesamtgröße von " + size
// text + " gefunden." + CR LF CR LF + "Möchten Sie mit der Indizierung beginnen ?".
inline std::u16string NoticeText(int documentCount, const std::u16string& sizeText) {
    return u"Es wurden " + platform::IntText(documentCount) +
           u" XML-Dokumente mit einer Gesamtgröße von " + sizeText + u" gefunden.\r\n\r\n" +
           u"Möchten Sie mit der Indizierung beginnen ?";
}

inline std::u16string RunQuestions::CaptionOf(MessageKind kind) {
    if (kind == MessageKind::Warning) return u"Warnung";
    if (kind == MessageKind::Error) return u"Fehler";
    if (kind == MessageKind::Confirmation) return u"Bestätigung";
    return u"Information";
}

inline bool RunQuestions::ConfirmIndexing(int documentCount, const std::u16string& sizeText) {
    return ShowMessage(MessageKind::Plain, CaptionOf(MessageKind::Plain),
                       NoticeText(documentCount, sizeText),
                       MessageButtons::YesNo) == MessageAnswer::Yes;
}

}  // namespace vx
