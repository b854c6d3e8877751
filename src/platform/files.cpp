#include "platform/files.h"

#include <dirent.h>
#include <errno.h>
#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "platform/detail/host_paths.h"
#include "platform/detail/nanoseconds.h"
#include "platform/paths.h"
#include "platform/text.h"

namespace vx::platform {

namespace {

bool IsHostDirectory(const std::string& host) {
    struct stat st {};
    return !host.empty() && stat(host.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// Last component of a Windows-form path, either separator accepted.
std::u16string_view LastComponent(std::u16string_view path) {
    while (!path.empty() && (path.back() == u'\\' || path.back() == u'/')) path.remove_suffix(1);
    const std::size_t sep = path.find_last_of(u"\\/");
    return sep == std::u16string_view::npos ? path : path.substr(sep + 1);
}

}  // namespace

bool RenameNoReplace(const std::string& hostFrom, const std::string& hostTo) {
    if (renameat2(AT_FDCWD, hostFrom.c_str(), AT_FDCWD, hostTo.c_str(), RENAME_NOREPLACE) == 0) {
        return true;
    }
    if (errno != EINVAL && errno != ENOSYS) return false;
    // File systems without RENAME_NOREPLACE: a hard link refuses an existing target.
    if (link(hostFrom.c_str(), hostTo.c_str()) == 0) return unlink(hostFrom.c_str()) == 0;
    struct stat st {};
    if (lstat(hostTo.c_str(), &st) == 0) {
        errno = EEXIST;
        return false;
    }
    return rename(hostFrom.c_str(), hostTo.c_str()) == 0;
}

bool FileExists(std::u16string_view path) {
    struct stat st {};
    return detail::StatWindowsPath(path, st) && !S_ISDIR(st.st_mode);
}

bool DirectoryExists(std::u16string_view path) {
    struct stat st {};
    return detail::StatWindowsPath(path, st) && S_ISDIR(st.st_mode);
}

std::optional<FileInfo> StatPath(std::u16string_view path) {
    struct stat st {};
    if (!detail::StatWindowsPath(path, st)) return std::nullopt;
    FileInfo info;
    info.size = static_cast<uint64_t>(st.st_size);
    info.dosTime = PackDosTime(st.st_mtim.tv_sec);
    info.modifiedNs = detail::Nanoseconds(st.st_mtim);
    info.changedNs = detail::Nanoseconds(st.st_ctim);
    info.device = static_cast<uint64_t>(st.st_dev);
    info.inode = static_cast<uint64_t>(st.st_ino);
    info.isDirectory = S_ISDIR(st.st_mode);
    return info;
}

bool CreateFolder(std::u16string_view path) {
    const std::string host = ToHostPath(path);
    if (host.empty()) return false;
    mkdir(host.c_str(), 0777);
    return IsHostDirectory(host);
}

namespace {

bool CreateHostFolderTree(const std::string& host) {
    if (host.empty()) return false;
    if (IsHostDirectory(host)) return true;
    for (std::size_t pos = host.find('/', 1); pos != std::string::npos;
         pos = host.find('/', pos + 1)) {
        mkdir(host.substr(0, pos).c_str(), 0777);
    }
    mkdir(host.c_str(), 0777);
    return IsHostDirectory(host);
}

// Removes what keep refuses below the host folder; true when the folder is left empty.
bool PruneHostFolder(const std::string& folder,
                     const std::function<bool(const std::string&)>& keep) {
    DIR* dir = opendir(folder.c_str());
    if (dir == nullptr) return false;
    bool empty = true;
    std::vector<std::pair<std::string, bool>> entries;  // path, is a folder
    while (const dirent* entry = readdir(dir)) {
        const std::string name = entry->d_name;
        if (name == "." || name == "..") continue;
        std::string path = folder;
        path.append("/").append(name);
        bool isFolder = entry->d_type == DT_DIR;
        if (entry->d_type == DT_UNKNOWN) {
            struct stat st {};
            isFolder = lstat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
        }
        entries.emplace_back(std::move(path), isFolder);
    }
    closedir(dir);
    for (const auto& [path, isFolder] : entries) {
        const bool gone = isFolder ? PruneHostFolder(path, keep) && rmdir(path.c_str()) == 0
                                   : !keep(path) && unlink(path.c_str()) == 0;
        empty = empty && gone;
    }
    return empty;
}

}  // namespace

bool CreateFolderTree(std::u16string_view path) {
    // The resolver spells every existing folder as on disk, so creating each prefix of the host
    // path creates exactly the missing folders.
    return CreateHostFolderTree(ToHostPath(path));
}

bool CreateFolderTreeAsWritten(std::u16string_view path) {
    return CreateHostFolderTree(ToHostPathAsWritten(path));
}

bool RemoveFolderTree(std::u16string_view path) {
    const std::string host = ToHostPath(path);
    if (host.empty() || host == "/") return false;
    std::error_code error;
    std::filesystem::remove_all(host, error);
    struct stat st {};
    return lstat(host.c_str(), &st) != 0;
}

void RemoveFilesExcept(std::u16string_view folder,
                       const std::function<bool(const std::string& hostPath)>& keep) {
    const std::string host = ToHostPath(folder);
    if (!host.empty() && host != "/") PruneHostFolder(host, keep);
}

bool DeleteFileAt(std::u16string_view path) {
    const std::string host = ToHostPath(path);
    return !host.empty() && unlink(host.c_str()) == 0;
}

bool RenameFileAt(std::u16string_view from, std::u16string_view to) {
    std::string hostFrom;
    std::string hostTo;
    if (!detail::ToHostPaths(from, to, hostFrom, hostTo)) return false;
    if (hostTo == hostFrom) {
        // The target resolved to the source itself: a change of letter case only, which the
        // file system sees as a new name.
        hostTo = hostTo.substr(0, hostTo.rfind('/') + 1) + ToUtf8(LastComponent(to));
        if (hostTo == hostFrom) {
            struct stat st {};
            return lstat(hostFrom.c_str(), &st) == 0;
        }
    }
    return RenameNoReplace(hostFrom, hostTo);
}

bool ReplaceFileAt(std::u16string_view from, std::u16string_view to) {
    std::string hostFrom;
    std::string hostTo;
    if (!detail::ToHostPaths(from, to, hostFrom, hostTo) ||
        rename(hostFrom.c_str(), hostTo.c_str()) != 0) {
        return false;
    }
    // Two names of one file: rename(2) leaves both, and the source name goes here.
    struct stat source {};
    struct stat target {};
    if (hostFrom != hostTo && lstat(hostFrom.c_str(), &source) == 0 &&
        lstat(hostTo.c_str(), &target) == 0 && source.st_ino == target.st_ino &&
        source.st_dev == target.st_dev) {
        unlink(hostFrom.c_str());
    }
    return true;
}

bool LinkFileAt(std::u16string_view from, std::u16string_view to) {
    std::string hostFrom;
    std::string hostTo;
    return detail::ToHostPaths(from, to, hostFrom, hostTo) &&
           link(hostFrom.c_str(), hostTo.c_str()) == 0;
}

namespace {

bool SyncHost(const std::string& host, int flags) {
    if (host.empty()) {
        errno = ENOENT;
        return false;
    }
    const int fd = open(host.c_str(), flags | O_CLOEXEC);
    if (fd < 0) return false;
    const bool synced = fsync(fd) == 0;
    const int error = errno;
    close(fd);
    errno = error;
    return synced;
}

}  // namespace

bool SyncFileAt(std::u16string_view path) {
    return SyncHost(ToHostPath(path), O_RDONLY);
}

bool SyncFolderAt(std::u16string_view path) {
    return SyncHost(ToHostPath(path), O_RDONLY | O_DIRECTORY);
}

bool CanCreateFilesIn(std::u16string_view folder) {
    const std::string host = ToHostPath(folder);
    if (host.empty() || !IsHostDirectory(host)) {
        errno = ENOENT;
        return false;
    }
    const std::string probe = host + "/.vantor-probe-" + std::to_string(getpid());
    const int fd = open(probe.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) return false;
    close(fd);
    unlink(probe.c_str());
    return true;
}

}  // namespace vx::platform
