// The data folders a run writes into, created at start-up.
#pragma once

#include "platform/host.h"
#include "platform/working_folders.h"

namespace vx::indexing {

// Creates the scratch folder, XML_Texte, Datenbank and Datenbank\Temp when missing; each one
// that cannot be created gives its warning box and the next one is tried.
void EnsureDataFolders(RunQuestions& questions, const platform::WorkingFolders& folders);

}  // namespace vx::indexing
