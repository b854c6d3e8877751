#include "platform/detail/host_folder.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <memory>

namespace vx::platform::detail {

bool ReadHostFolder(const std::string& folder, std::vector<HostEntry>& entries) {
    entries.clear();
    const HostFolderStream dir = OpenHostFolder(folder);
    if (!dir) return false;
    const int dirFd = dirfd(dir.get());
    while (const dirent* d = readdir(dir.get())) {
        const std::string name = d->d_name;
        if (name == "." || name == "..") continue;
        unsigned char type = d->d_type;
        if (type == DT_UNKNOWN || type == DT_LNK) {
            struct stat st {};
            if (fstatat(dirFd, name.c_str(), &st, 0) != 0) continue;
            type = S_ISDIR(st.st_mode) ? DT_DIR : S_ISREG(st.st_mode) ? DT_REG : DT_UNKNOWN;
        }
        if (type == DT_DIR || type == DT_REG) entries.push_back({name, type == DT_DIR});
    }
    return true;
}

std::string HostChild(const std::string& folder, const std::string& name) {
    return folder.ends_with('/') ? folder + name : folder + "/" + name;
}

}  // namespace vx::platform::detail
