// Disks that refuse writes, for the tests of write failures: a small tmpfs mounted over a folder
// (possible for root), or, for other users, a folder without write permission and a file-size
// limit in a child process (RLIMIT_FSIZE, which makes writes fail as a full disk would).
#pragma once

#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>

namespace vx::testing {

class SmallDisk {
  public:
    // Mounts a tmpfs of the given size over the (existing, empty) folder when the process may.
    SmallDisk(std::filesystem::path folder, std::size_t bytes) : folder_(std::move(folder)) {
        if (::geteuid() != 0) return;
        const std::string options = "size=" + std::to_string(bytes);
        mounted_ = ::mount("tmpfs", folder_.c_str(), "tmpfs", 0, options.c_str()) == 0;
    }
    ~SmallDisk() {
        if (mounted_) ::umount2(folder_.c_str(), MNT_DETACH);
    }
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;

    bool Mounted() const { return mounted_; }
    bool RemountReadOnly() {
        return mounted_ &&
               ::mount("tmpfs", folder_.c_str(), "tmpfs", MS_REMOUNT | MS_RDONLY, nullptr) == 0;
    }

  private:
    std::filesystem::path folder_;
    bool mounted_ = false;
};

// Takes the write permission of a folder away where that stops the process (not for root).
inline bool DenyWritesTo(const std::filesystem::path& folder) {
    if (::geteuid() == 0) return false;
    return ::chmod(folder.c_str(), 0555) == 0;
}

// In a child process before exec: writes beyond bytes fail (EFBIG) instead of raising SIGXFSZ.
inline void LimitFileSizeInChild(rlim_t bytes) {
    ::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{bytes, bytes};
    ::setrlimit(RLIMIT_FSIZE, &limit);
}

}  // namespace vx::testing
