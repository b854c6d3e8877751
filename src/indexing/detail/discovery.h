// Finding the documents of a folder tree: the pre-scan that builds the found-file list and the
// path list, and the indexing walk of one pass. Both walks visit the tree in the same order:
// the files of a folder (in the listing's fixed order), then its subfolders whose names do not
// begin with "."; a folder already on the current walk path (a symbolic-link loop) is skipped.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "indexing/detail/run_state.h"
#include "indexing/detail/walk_item.h"
#include "platform/folder_listing.h"

namespace vx::indexing {

class DocumentIndexer;

// The root folder as both walks use it: doubled backslashes joined, no trailing backslash.
std::u16string NormalizeRootFolder(std::u16string_view folder);

// The files of a tree in walk order, listing each folder when the walk reaches it.
class WalkCursor {
  public:
    // onFolder runs for every folder entered (the root included); onBadFolder for every subfolder
    // that is not entered because its name cannot be stored (its path as listed).
    WalkCursor(std::u16string root, std::u16string mask, std::function<void()> onFolder = nullptr,
               std::function<void(const std::u16string&)> onBadFolder = nullptr);
    bool Next(WalkItem& item);

  private:
    struct Frame {
        std::u16string folder;
        std::u16string storedFolder;
        std::vector<platform::FolderEntry> subfolders;
        std::vector<std::u16string> storedNames;  // of the subfolders
        std::size_t next = 0;
        uint64_t device = 0;
        uint64_t inode = 0;
    };
    void Enter(std::u16string folder, std::u16string storedFolder, uint64_t device, uint64_t inode);

    std::u16string mask_;
    std::function<void()> onFolder_;
    std::function<void(const std::u16string&)> onBadFolder_;
    std::vector<Frame> stack_;
    std::vector<platform::FolderEntry> files_;
    std::vector<std::u16string> storedFiles_;
    std::size_t nextFile_ = 0;
    std::u16string filesFolder_;
    std::u16string storedFilesFolder_;
};

// The pre-scan: fills state.found: files (stored paths), pathList and lastPathEntry (stored
// folders), bytes (every file matching the mask counts to the size; only ".xml" files are
// listed) and unstorable (".xml" files and folders whose names cannot be stored). Stops at the
// next entry once the cancel flag is set.
void PreScan(RunState& state, std::u16string_view folder, std::u16string_view mask);

// The indexing walk of the current pass (state.pass) with the pass rules; ends when the tree is
// done or the cancel or chunk-full flag is set.
void WalkPass(RunState& state, DocumentIndexer& indexer);

}  // namespace vx::indexing
