// The close/cancel button while a command runs (the window's button; Ctrl-C of the command-line
// tool): what it cancels, the status text it leaves, and the controls it shows.
#pragma once

#include "platform/host.h"

namespace vx::indexing {

// Cancels what runs (RunSwitch::Cancel) and shows the status text and controls of what it
// cancelled. Returns false when no command runs: the host then closes (after its confirmation).
bool CloseButtonClick(RunDisplay& display, RunFlags& flags);

}  // namespace vx::indexing
