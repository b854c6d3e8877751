#include "indexing/close_button.h"

#include "indexing/detail/run_texts.h"

namespace vx::indexing {

bool CloseButtonClick(RunDisplay& display, RunFlags& flags) {
    RunSwitch run(flags);
    if (!run.Busy()) return false;
    const CancelledParts cancelled = run.Cancel();
    if (cancelled.update) display.SetStatusLine(kUpdateCancelledText);
    if (cancelled.indexing) {
        display.SetStatusLine(kIndexingCancelledText);
        display.ShowRunControls(RunControls::Saving);
    }
    if (cancelled.endedRun) display.ShowRunControls(RunControls::Idle);
    return true;
}

}  // namespace vx::indexing
