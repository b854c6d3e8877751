// File-system services on Windows-form paths (resolved through paths.h).
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace vx::platform {

struct FileInfo {
    uint64_t size = 0;
    // Last-write time in local time, packed as a DOS date and time (date in the high 16 bits).
    int32_t dosTime = 0;
    // Last-write time exactly, in nanoseconds since 1970 (to tell a changed file from one that
    // was only listed again).
    int64_t modifiedNs = 0;
    // What nobody can set back: the last change of the file's data or attributes (ctime, in
    // nanoseconds) and which file it is (a file renamed over it is another one).
    int64_t changedNs = 0;
    uint64_t device = 0;
    uint64_t inode = 0;
    bool isDirectory = false;
};

bool FileExists(std::u16string_view path);       // a file (not a folder) exists
bool DirectoryExists(std::u16string_view path);  // a folder exists
std::optional<FileInfo> StatPath(std::u16string_view path);
// One level; true when the folder exists afterwards.
bool CreateFolder(std::u16string_view path);
// With all missing parents; true when the folder exists afterwards.
bool CreateFolderTree(std::u16string_view path);
// The same with every component spelled exactly as written (ToHostPathAsWritten): a folder that
// exists only in another letter case is not taken for it.
bool CreateFolderTreeAsWritten(std::u16string_view path);
// Removes a folder with everything in it; true when it is gone afterwards.
bool RemoveFolderTree(std::u16string_view path);
// Removes every file below the folder whose host path keep refuses, then every folder below it
// that is left empty (the folder itself stays). Entries that cannot be removed stay.
void RemoveFilesExcept(std::u16string_view folder,
                       const std::function<bool(const std::string& hostPath)>& keep);
bool DeleteFileAt(std::u16string_view path);
// Renames (moves) a file; fails when the target exists.
bool RenameFileAt(std::u16string_view from, std::u16string_view to);
// rename(2) on host paths that fails with errno EEXIST instead of replacing the target.
bool RenameNoReplace(const std::string& hostFrom, const std::string& hostTo);
// Renames a file over the target, replacing it in one step (readers see the old file or the new
// one, never none). On failure errno tells why.
bool ReplaceFileAt(std::u16string_view from, std::u16string_view to);
// Gives the file a second name (a hard link); fails when the target exists or the file system has
// no links. On failure errno tells why.
bool LinkFileAt(std::u16string_view from, std::u16string_view to);
// Writes the file's data, or a folder's entries (renames), through to the disk. On failure errno
// tells why.
bool SyncFileAt(std::u16string_view path);
bool SyncFolderAt(std::u16string_view path);
// Whether a new file can be created in the folder: creates and removes a probe file. On failure
// errno tells why.
bool CanCreateFilesIn(std::u16string_view folder);
// Copies a file into a folder under its own name, or under "Kopie (n) von <name>" when that
// name is taken. Returns the Windows-form path of the copy, "" on failure.
std::u16string CopyFileInto(std::u16string_view file, std::u16string_view folder);
// Copies the bytes of a file to a new file (created or replaced). False on failure, with errno
// telling why and nothing left at to.
bool CopyFileTo(std::u16string_view from, std::u16string_view to);
// Deletes every file (not folders) directly in the folder, without asking. Returns "" or, when a
// file could not be deleted, the message naming the first such file and the reason.
std::u16string DeleteAllFilesIn(std::u16string_view folder);
// A file is in use when it exists and cannot be opened for reading, or another process holds a
// lock on it (flock or a POSIX record lock). Write permission is not needed: a read-only
// document is not in use.
bool IsFileInUse(std::u16string_view path);
// DOS date/time packing of a time_t in local time.
int32_t PackDosTime(int64_t unixSeconds);

}  // namespace vx::platform
