#include "shell/mounted_drives.h"

#include <algorithm>
#include <array>
#include <fstream>
#include <sstream>
#include <string_view>

namespace vx::shell {
namespace {

constexpr std::array<std::string_view, 22> kPseudo{
    "proc",      "sysfs",    "devpts",     "cgroup",         "cgroup2", "mqueue",
    "debugfs",   "tracefs",  "securityfs", "pstore",         "bpf",     "autofs",
    "hugetlbfs", "configfs", "fusectl",    "binfmt_misc",    "nsfs",    "rpc_pipefs",
    "devtmpfs",  "efivarfs", "selinuxfs",  "fuse.gvfsd-fuse"};

std::string Unescape(const std::string& field) {
    std::string out;
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size() &&
            field.substr(i + 1, 3).find_first_not_of("01234567") == std::string::npos) {
            out += static_cast<char>(std::stoi(field.substr(i + 1, 3), nullptr, 8));
            i += 3;
        } else {
            out += field[i];
        }
    }
    return out;
}

bool Holds(const std::string& mountPoint, const std::string& path) {
    if (mountPoint == "/") return !path.empty() && path.front() == '/';
    return path == mountPoint ||
           (path.size() > mountPoint.size() &&
            path.compare(0, mountPoint.size(), mountPoint) == 0 && path[mountPoint.size()] == '/');
}

}  // namespace

std::vector<MountedDrive> ReadMounts() {
    std::vector<MountedDrive> mounts;
    std::ifstream file("/proc/self/mounts");
    std::string line;
    while (std::getline(file, line)) {
        std::istringstream fields(line);
        std::string device, mountPoint, type;
        if (fields >> device >> mountPoint >> type) mounts.push_back({Unescape(mountPoint), type});
    }
    return mounts;
}

std::vector<MountedDrive> MountedDrives() {
    std::vector<MountedDrive> drives{{"/", ""}};
    for (const auto& [mountPoint, type] : ReadMounts()) {
        if (std::find(kPseudo.begin(), kPseudo.end(), type) != kPseudo.end()) continue;
        if (mountPoint.rfind("/proc", 0) == 0 || mountPoint.rfind("/sys", 0) == 0 ||
            mountPoint.rfind("/dev", 0) == 0) {
            continue;
        }
        auto same = [&point = mountPoint](const MountedDrive& d) { return d.mountPoint == point; };
        auto it = std::find_if(drives.begin(), drives.end(), same);
        if (it != drives.end()) {
            it->type = type;
        } else {
            drives.push_back({mountPoint, type});
        }
    }
    return drives;
}

std::string DriveOf(const std::vector<MountedDrive>& drives, const std::string& hostPath) {
    std::string best = "/";
    for (const auto& drive : drives) {
        if (Holds(drive.mountPoint, hostPath) && drive.mountPoint.size() > best.size()) {
            best = drive.mountPoint;
        }
    }
    return best;
}

}  // namespace vx::shell
