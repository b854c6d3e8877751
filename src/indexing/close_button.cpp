#include "indexing/close_button.h"

#include "indexing/detail/run_texts.h"

namespace vx::indexing {

bool CloseButtonClick(RunDisplay& display, RunFlags& flags) {
    if (!flags.running && !flags.updateRunning && !flags.searchActive) return false;
    flags.cancel = true;
    if (flags.updateRunning) {
        display.SetStatusLine(kUpdateCancelledText);
        flags.finished = false;
        flags.chunkFull = true;
        flags.updateRunning = false;
    }
    // A search stops at its next look at the flags and shows its own end.
    flags.searchActive = false;
    if (flags.running) {
        display.SetStatusLine(kIndexingCancelledText);
        flags.finished = false;
        flags.running = false;
        display.ShowRunControls(RunControls::Saving);
    }
    if (flags.finished) {
        // The run had already ended: the click only marks it cancelled.
        flags.aborted = true;
        display.ShowRunControls(RunControls::Idle);
    }
    return true;
}

}  // namespace vx::indexing
