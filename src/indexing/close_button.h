// The close/cancel button while a command runs (the window's button; Ctrl-C of the command-line
// tool): what it cancels, the status text it leaves, and the controls it shows.
#pragma once

#include "platform/host.h"

namespace vx::indexing {

// Applies the cancel rules of the run flags (update-running, search-active, running, in this
// order). Returns false when no command runs: the host then closes (after its confirmation).
bool CloseButtonClick(RunDisplay& display, RunFlags& flags);

}  // namespace vx::indexing
