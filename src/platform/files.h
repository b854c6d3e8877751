// File-system services on Windows-form paths (resolved through paths.h).
#pragma once

#include <cstdint>
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
    bool isDirectory = false;
};

bool FileExists(std::u16string_view path);       // a file (not a folder) exists
bool DirectoryExists(std::u16string_view path);  // a folder exists
std::optional<FileInfo> StatPath(std::u16string_view path);
// One level; true when the folder exists afterwards.
bool CreateFolder(std::u16string_view path);
// With all missing parents; true when the folder exists afterwards.
bool CreateFolderTree(std::u16string_view path);
bool DeleteFileAt(std::u16string_view path);
// Renames (moves) a file; fails when the target exists.
bool RenameFileAt(std::u16string_view from, std::u16string_view to);
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
// A file is in use when it exists and cannot be opened read-write (no permission), or another
// process holds an exclusive flock on it.
bool IsFileInUse(std::u16string_view path);
// DOS date/time packing of a time_t in local time.
int32_t PackDosTime(int64_t unixSeconds);

}  // namespace vx::platform
