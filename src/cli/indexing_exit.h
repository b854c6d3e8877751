// The exit status of an indexing command's outcome.
#pragma once

#include "cli/command_registry.h"
#include "indexing/commands.h"

namespace vx::cli {

inline int ExitStatusOf(indexing::CommandOutcome outcome) {
    switch (outcome) {
        case indexing::CommandOutcome::Done:
            return kExitOk;
        case indexing::CommandOutcome::Refused:
        case indexing::CommandOutcome::Declined:
            return kExitRefused;
        case indexing::CommandOutcome::Failed:
            break;
    }
    return kExitFailed;
}

}  // namespace vx::cli
