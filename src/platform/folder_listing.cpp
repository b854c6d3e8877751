#include "platform/folder_listing.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <memory>

#include "platform/detail/host_folder.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "platform/text.h"

namespace vx::platform {

namespace {

struct Found {
    std::u16string upper;
    std::string raw;
    FolderEntry entry;
};

}  // namespace

std::vector<FolderEntry> ListFolder(std::u16string_view folder, std::u16string_view mask) {
    // A path without a host form opens no folder either.
    const detail::HostFolderStream dir = detail::OpenHostFolder(ToHostPath(folder));
    if (!dir) return {};
    const int dirFd = dirfd(dir.get());

    std::vector<Found> found;
    while (const dirent* d = readdir(dir.get())) {
        std::string raw = d->d_name;
        if (raw == "." || raw == "..") continue;
        std::u16string name = FromUtf8(raw);
        if (!MatchesMask(name, mask) && !MatchesShortNameMask(name, mask)) continue;

        struct stat st {};
        if (fstatat(dirFd, raw.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) continue;
        FolderEntry e;
        if (S_ISLNK(st.st_mode)) {
            e.isSymlink = true;
            struct stat target {};
            if (fstatat(dirFd, raw.c_str(), &target, 0) == 0) {
                st = target;
            } else {
                st.st_mode = S_IFREG;
                st.st_size = 0;
            }
        }
        if (!S_ISREG(st.st_mode) && !S_ISDIR(st.st_mode)) continue;
        e.isDirectory = S_ISDIR(st.st_mode);
        e.size = static_cast<uint64_t>(st.st_size);
        e.dosTime = PackDosTime(st.st_mtim.tv_sec);
        e.device = static_cast<uint64_t>(st.st_dev);
        e.inode = static_cast<uint64_t>(st.st_ino);
        e.nameReadable = ToUtf8(name) == raw;
        e.name = name;
        found.push_back({UpperCase(name), std::move(raw), std::move(e)});
    }
    // Upper-cased names code unit by code unit; the bytes on disk only break ties, so the order
    // never depends on the order the file system returns.
    std::sort(found.begin(), found.end(), [](const Found& a, const Found& b) {
        if (a.upper != b.upper) return a.upper < b.upper;
        return a.raw < b.raw;
    });
    std::vector<FolderEntry> out;
    out.reserve(found.size());
    for (auto& f : found) out.push_back(std::move(f.entry));
    return out;
}

bool FolderIdentity(std::u16string_view folder, uint64_t& device, uint64_t& inode) {
    const std::string host = ToHostPath(folder);
    struct stat st {};
    if (host.empty() || stat(host.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return false;
    device = static_cast<uint64_t>(st.st_dev);
    inode = static_cast<uint64_t>(st.st_ino);
    return true;
}

}  // namespace vx::platform
