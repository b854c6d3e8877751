// The folders a run works in besides the database's own: its staging folder, its scratch folder
// for copies of documents in use, and what runs and searches that ended without cleaning up
// left behind.
#pragma once

#include <string>

#include "index/database_files.h"
#include "platform/working_folders.h"

namespace vx::indexing {

// Empties and creates the staging folders of the database (whose lock the caller holds): its
// staging folder and the folder where the text copies of a run wait. Returns the latter (no
// trailing "\"). Throws textio::FileError when a folder cannot be emptied or made.
std::u16string PrepareStaging(const index::DatabaseFiles& files);

// The folder of this process for copies of documents in use (below the user's scratch folder,
// so that runs of several programs never delete each other's copies), with trailing "\".
std::u16string ScratchCopyFolder(const platform::WorkingFolders& folders);

// Removes what no run or search needs any more: the staging folders of databases whose lock
// nobody holds, files of earlier versions loose in the chunk folder, lookup files that searches
// of processes no longer running left half written, and the scratch folders of such processes.
void RemoveLeftovers(const platform::WorkingFolders& folders);

}  // namespace vx::indexing
