#include "index/database_commit.h"

#include <stdio.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>

#include "platform/files.h"
#include "platform/paths.h"
#include "platform/text.h"
#include "textio/text_file.h"

namespace vx::index {

namespace {

// Staged files end in ".tmp", so no listing of the database files ever shows them.
constexpr std::u16string_view kStagedSuffix = u".tmp";

[[noreturn]] void Fail(std::u16string_view path, std::u16string_view action) {
    throw textio::FileError::About(path, action, errno);
}

}  // namespace

DatabaseCommit::DatabaseCommit(std::u16string stagingFolder, std::u16string databaseFile)
    : stagingFolder_(std::move(stagingFolder)), databaseFile_(std::move(databaseFile)) {}

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

void DatabaseCommit::StageTextCopy(std::u16string_view staged, std::u16string_view finalPath) {
    TextCopy copy;
    // The staged copies of a run share one folder.
    const std::u16string_view stagedFolder = platform::FolderOf(staged);
    if (stagedFolder != stagedCopiesFolder_) {
        stagedCopiesFolder_ = stagedFolder;
        stagedCopiesHostFolder_ = platform::ToHostPath(stagedFolder);
    }
    copy.staged = stagedCopiesHostFolder_ + "/" + platform::ToUtf8(platform::NameOf(staged));
    copy.final = platform::ToHostPathAsWritten(finalPath);
    if (copy.final.empty()) {
        errno = ENOENT;
        Fail(finalPath, u"kann nicht angelegt werden");
    }
    textCopies_.push_back(std::move(copy));
}

void DatabaseCommit::PlaceTextCopies() {
    // A copy that it replaces waits in the staging folder until the database file is in place.
    const std::string previousFolder = platform::ToHostPath(stagingFolder_);
    std::size_t number = 0;
    std::string madeFolder;
    for (TextCopy& copy : textCopies_) {
        const std::string folder = copy.final.substr(0, copy.final.rfind('/'));
        if (folder != madeFolder) {
            if (!platform::CreateFolderTreeAsWritten(platform::ToWindowsPath(folder))) {
                const int error = errno;
                RestoreTextCopies();
                errno = error;
                Fail(platform::ToWindowsPath(folder), u"kann nicht angelegt werden");
            }
            madeFolder = folder;
        }
        // Most copies are new; the rename that does not replace tells which are not.
        if (platform::RenameNoReplace(copy.staged, copy.final)) {
            copy.placed = true;
            continue;
        }
        if (errno == EEXIST) {
            copy.previous = previousFolder + "/~vorher" + std::to_string(++number) + ".tmp";
            if (link(copy.final.c_str(), copy.previous.c_str()) != 0) copy.previous.clear();
        }
        if (rename(copy.staged.c_str(), copy.final.c_str()) != 0) {
            const int error = errno;
            if (!copy.previous.empty()) unlink(copy.previous.c_str());
            copy.previous.clear();
            RestoreTextCopies();
            errno = error;
            Fail(platform::ToWindowsPath(copy.final), u"kann nicht an ihren Platz gebracht werden");
        }
        copy.placed = true;
    }
}

void DatabaseCommit::RestoreTextCopies() {
    for (std::size_t i = textCopies_.size(); i-- > 0;) {
        TextCopy& copy = textCopies_[i];
        if (!copy.placed) continue;
        if (copy.previous.empty()) {
            rename(copy.final.c_str(), copy.staged.c_str());
        } else {
            unlink(copy.staged.c_str());
            rename(copy.previous.c_str(), copy.final.c_str());
            copy.previous.clear();
        }
        copy.placed = false;
    }
}

void DatabaseCommit::Commit(std::u16string_view previousCopy) {
    // The database file goes last; the others keep their order.
    std::stable_partition(files_.begin(), files_.end(),
                          [&](const File& file) { return file.final != databaseFile_; });
    for (const File& file : files_) {
        if (file.synced && !platform::SyncFileAt(file.staged))
            Fail(file.final, u"kann nicht gespeichert werden");
    }
    PlaceTextCopies();
    std::vector<std::u16string> folders;
    while (!files_.empty()) {
        const File file = files_.front();
        const bool database = file.final == databaseFile_;
        try {
            if (database && !previousCopy.empty() && platform::FileExists(file.final)) {
                KeepPrevious(previousCopy);
            }
            if (!platform::ReplaceFileAt(file.staged, file.final)) {
                Fail(file.final, u"kann nicht an ihren Platz gebracht werden");
            }
        } catch (...) {
            RestoreTextCopies();
            throw;
        }
        files_.erase(files_.begin());
        const std::u16string folder(platform::FolderOf(file.final));
        if (std::find(folders.begin(), folders.end(), folder) == folders.end()) {
            folders.push_back(folder);
        }
    }
    for (TextCopy& copy : textCopies_) {
        if (!copy.previous.empty()) unlink(copy.previous.c_str());
    }
    textCopies_.clear();
    // The renames reach the disk with their folders; a folder that cannot be synced has still
    // been changed, so this is no failure of the run.
    for (const std::u16string& folder : folders) platform::SyncFolderAt(folder);
}

void DatabaseCommit::KeepPrevious(std::u16string_view previousCopy) {
    // A second name for the database file, then renamed over the earlier copy: the database file
    // itself never disappears. Without links the file is renamed (as the command always did).
    const std::u16string link = stagingFolder_ + u"\\~" +
                                std::u16string(platform::NameOf(previousCopy)) +
                                std::u16string(kStagedSuffix);
    platform::DeleteFileAt(link);  // a leftover of a killed run; LinkFileAt fails if it stays
    if (platform::LinkFileAt(databaseFile_, link)) {
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
    if (!platform::RenameFileAt(databaseFile_, previousCopy)) {
        Fail(previousCopy, u"kann nicht angelegt werden");
    }
}

void DatabaseCommit::Discard() {
    // A staged file that stays is harmless: no reader looks at it, and the next run of the
    // database empties its staging folder before it starts.
    for (const File& file : files_) platform::DeleteFileAt(file.staged);
    files_.clear();
    for (const TextCopy& copy : textCopies_) unlink(copy.staged.c_str());
    textCopies_.clear();
}

}  // namespace vx::index
