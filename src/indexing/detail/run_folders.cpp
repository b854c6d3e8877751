#include "indexing/detail/run_folders.h"

#include <unistd.h>

#include <cerrno>

#include "platform/file_lock.h"
#include "platform/files.h"
#include "platform/folder_listing.h"
#include "platform/paths.h"
#include "platform/text.h"
#include "textio/text_file.h"

namespace vx::indexing {

namespace {

int64_t ThisProcess() {
    return static_cast<int64_t>(getpid());
}

// The staging folders of runs that ended without removing them, and what earlier versions
// left loose in the chunk folder. A lock file stays: removing it could let two writers in.
void RemoveStagingLeftovers(const platform::WorkingFolders& folders, std::u16string_view folder) {
    const bool chunkFolder = folder == folders.chunk;
    for (const platform::FolderEntry& entry :
         platform::ListFolder(platform::WithTrailingBackslash(folder), u"*")) {
        const std::u16string path = platform::WithTrailingBackslash(folder) + entry.name;
        const std::optional<std::u16string> owner = index::StagingOwner(entry.name);
        if (!entry.isDirectory) {
            if (!owner && chunkFolder) platform::DeleteFileAt(path);
            continue;
        }
        if (!owner) continue;
        // Whoever holds the owner's lock uses the folder; a lock taken here shows nobody does.
        const std::u16string lock = index::StagingOwnerLock(folders, *owner);
        if (platform::FileLock::TryTake(lock)) {
            platform::RemoveFolderTree(path);
        }
    }
}

void RemoveLookupScratch(const platform::WorkingFolders& folders) {
    for (const platform::FolderEntry& entry :
         platform::ListFolder(folders.database + u"\\", u"*.tmp")) {
        const std::optional<int64_t> owner = index::LookupScratchOwner(entry.name);
        if (owner && *owner != ThisProcess() && !platform::ProcessRuns(*owner)) {
            platform::DeleteFileAt(folders.database + u"\\" + entry.name);
        }
    }
}

void RemoveScratchCopyFolders(const platform::WorkingFolders& folders) {
    for (const platform::FolderEntry& entry : platform::ListFolder(folders.zipTemp, u"*")) {
        int64_t pid = 0;
        if (entry.isDirectory && platform::ParseInt(entry.name, pid) && pid != ThisProcess() &&
            !platform::ProcessRuns(pid)) {
            platform::RemoveFolderTree(folders.zipTemp + entry.name);
        }
    }
}

}  // namespace

std::u16string PrepareStaging(const index::DatabaseFiles& files) {
    // What a killed run of this database left: its chunks would be merged into this run's.
    for (const std::u16string& folder : {files.Staging(), files.StagedTextCopies()}) {
        if (!platform::RemoveFolderTree(folder) || !platform::CreateFolder(folder)) {
            throw textio::FileError::About(folder, u"kann nicht angelegt werden", errno);
        }
    }
    return files.StagedTextCopies();
}

std::u16string ScratchCopyFolder(const platform::WorkingFolders& folders) {
    return folders.zipTemp + platform::IntText(ThisProcess()) + u"\\";
}

void RemoveLeftovers(const platform::WorkingFolders& folders) {
    RemoveStagingLeftovers(folders, folders.chunk);
    RemoveStagingLeftovers(folders, folders.textCopy);
    RemoveLookupScratch(folders);
    RemoveScratchCopyFolders(folders);
}

}  // namespace vx::indexing
