#include "index/database_commit.h"

#include <algorithm>
#include <cerrno>

#include "platform/files.h"
#include "platform/paths.h"
#include "platform/text.h"
#include "textio/text_file.h"

namespace vx::index {

namespace {

// Staged files end in ".tmp", so no listing of "*.DAT" ever shows them.
constexpr std::u16string_view kStagedSuffix = u".tmp";

bool IsDatabaseFile(std::u16string_view path) {
    return platform::UpperCase(platform::NameOf(path)).ends_with(u".DAT");
}

[[noreturn]] void Fail(std::u16string_view path, std::u16string_view action) {
    throw textio::FileError::About(path, action, errno);
}

}  // namespace

DatabaseCommit::DatabaseCommit(std::u16string stagingFolder)
    : stagingFolder_(std::move(stagingFolder)) {}

DatabaseCommit::~DatabaseCommit() {
    Discard();
}

std::u16string DatabaseCommit::Stage(std::u16string_view finalPath, bool synced) {
    for (const File& file : files_) {
        if (file.final == finalPath) return file.staged;
    }
    File file;
    file.staged = stagingFolder_ + u"\\~" + std::u16string(platform::NameOf(finalPath)) +
                  std::u16string(kStagedSuffix);
    file.final = finalPath;
    file.synced = synced;
    files_.push_back(file);
    return file.staged;
}

void DatabaseCommit::Unstage(std::u16string_view finalPath) {
    for (auto file = files_.begin(); file != files_.end(); ++file) {
        if (file->final == finalPath) {
            platform::DeleteFileAt(file->staged);
            files_.erase(file);
            return;
        }
    }
}

std::u16string DatabaseCommit::FinalNameOf(std::u16string_view stagedPath) const {
    for (const File& file : files_) {
        if (file.staged == stagedPath) return file.final;
    }
    return {};
}

void DatabaseCommit::Commit(std::u16string_view previousCopy) {
    // The database file goes last; the others keep their order.
    std::stable_partition(files_.begin(), files_.end(),
                          [](const File& file) { return !IsDatabaseFile(file.final); });
    for (const File& file : files_) {
        if (file.synced && !platform::SyncFileAt(file.staged))
            Fail(file.final, u"kann nicht gespeichert werden");
    }
    std::vector<std::u16string> folders;
    while (!files_.empty()) {
        const File file = files_.front();
        if (IsDatabaseFile(file.final) && !previousCopy.empty() &&
            platform::FileExists(file.final)) {
            KeepPrevious(file.final, previousCopy);
        }
        if (!platform::ReplaceFileAt(file.staged, file.final)) {
            Fail(file.final, u"kann nicht an ihren Platz gebracht werden");
        }
        files_.erase(files_.begin());
        const std::u16string folder(platform::FolderOf(file.final));
        if (std::find(folders.begin(), folders.end(), folder) == folders.end()) {
            folders.push_back(folder);
        }
    }
    // The renames reach the disk with their folders; a folder that cannot be synced has still
    // been changed, so this is no failure of the run.
    for (const std::u16string& folder : folders) platform::SyncFolderAt(folder);
}

void DatabaseCommit::KeepPrevious(const std::u16string& databaseFile,
                                  std::u16string_view previousCopy) {
    // A second name for the database file, then renamed over the earlier copy: the database file
    // itself never disappears. Without links the file is renamed (as the command always did).
    const std::u16string link = stagingFolder_ + u"\\~" +
                                std::u16string(platform::NameOf(previousCopy)) +
                                std::u16string(kStagedSuffix);
    platform::DeleteFileAt(link);  // a leftover of a killed run; LinkFileAt fails if it stays
    if (platform::LinkFileAt(databaseFile, link)) {
        if (!platform::ReplaceFileAt(link, previousCopy)) {
            const int error = errno;
            platform::DeleteFileAt(link);
            errno = error;
            Fail(previousCopy, u"kann nicht angelegt werden");
        }
        return;
    }
    if (platform::FileExists(previousCopy) && !platform::DeleteFileAt(previousCopy)) {
        Fail(previousCopy, u"kann nicht gelöscht werden");
    }
    if (!platform::RenameFileAt(databaseFile, previousCopy)) {
        Fail(previousCopy, u"kann nicht angelegt werden");
    }
}

void DatabaseCommit::Discard() {
    // A staged file that stays is harmless: no reader looks at it, and the next run empties the
    // staging folder before it starts (and stops when it cannot).
    for (const File& file : files_) platform::DeleteFileAt(file.staged);
    files_.clear();
}

}  // namespace vx::index
