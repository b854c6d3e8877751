// The state of the running command, and the moves between its states that the hosts and the
// commands make (RunSwitch). A host changes the flags only through RunSwitch; the engine's steps
// also change the flags of their own work (the end of a pass, the end of a search).
#pragma once

#include <atomic>

namespace vx {

// The host changes it at any moment from its own thread (the close/cancel button); the engine
// reads and changes it between its steps.
struct RunFlags {
    std::atomic<bool> running{false};        // indexing phase of create / re-index
    std::atomic<bool> updateRunning{false};  // the whole re-index command
    std::atomic<bool> searchActive{false};
    std::atomic<bool> cancel{false};     // the cancel request
    std::atomic<bool> chunkFull{false};  // ends the walk of the current pass
    std::atomic<bool> aborted{false};    // a run was cancelled; chooses the final status text
    // An indexing run has ended and its closing status text ("Fertig mit der …") still stands;
    // the next command, or a cancel text, replaces it.
    std::atomic<bool> finished{false};
};

// What a cancel request stopped (the close button shows its texts from it).
struct CancelledParts {
    bool update = false;    // a re-index command, before or during its run
    bool indexing = false;  // an indexing run, which now saves what it has
    bool endedRun = false;  // a run that had already ended: only marked cancelled
};

// Each move changes the flags one at a time (every flag is atomic on its own), as the engine
// reads them.
class RunSwitch {
  public:
    explicit RunSwitch(RunFlags& flags) : flags_(flags) {}

    // Whether a command runs that the close button cancels.
    bool Busy() const { return flags_.running || flags_.updateRunning || flags_.searchActive; }
    bool Indexing() const { return flags_.running || flags_.updateRunning; }

    // A command starts: no request and no closing text of the last one stand.
    void ClearRequests() {
        flags_.cancel = false;
        flags_.aborted = false;
        flags_.finished = false;
    }
    void StartUpdate() {
        flags_.cancel = false;
        flags_.updateRunning = true;
    }
    void EndUpdate() { flags_.updateRunning = false; }
    void StartIndexing() { flags_.running = true; }
    // The run has written its files; its closing text stands.
    void EndIndexing() {
        flags_.finished = true;
        flags_.running = false;
    }
    // From the search button on: the database list stays as it is. A cancel request that a
    // cancelled indexing run left is not this search's.
    void StartSearch() {
        flags_.cancel = false;
        flags_.searchActive = true;
    }
    void EndSearch() { flags_.searchActive = false; }

    // The close button: cancels the re-index command, a search and the indexing run, in this
    // order.
    CancelledParts Cancel() {
        CancelledParts parts;
        flags_.cancel = true;
        if (flags_.updateRunning) {
            parts.update = true;
            flags_.finished = false;
            flags_.chunkFull = true;
            flags_.updateRunning = false;
        }
        // A search stops at its next look at the flags and shows its own end.
        flags_.searchActive = false;
        if (flags_.running) {
            parts.indexing = true;
            flags_.finished = false;
            flags_.running = false;
        }
        if (flags_.finished) {
            parts.endedRun = true;
            flags_.aborted = true;
        }
        return parts;
    }
    // The program ends: whatever runs stops at its next step (an indexing run saves what it
    // has), without the texts of the close button.
    void StopForExit() {
        flags_.cancel = true;
        flags_.chunkFull = true;
        flags_.searchActive = false;
    }
    // A failure ended the command: nothing runs any more (a cancel request stays as it was).
    void EndAfterFailure() {
        flags_.running = false;
        flags_.updateRunning = false;
        flags_.searchActive = false;
    }

  private:
    RunFlags& flags_;
};

}  // namespace vx
