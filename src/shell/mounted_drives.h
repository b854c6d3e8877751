// The "drives" of the new-database dialog on Linux: the mounted file systems that hold files.
#pragma once

#include <string>
#include <vector>

namespace vx::shell {

struct MountedDrive {
    std::string mountPoint;  // host path
    std::string type;        // file-system type
};

// Every line of /proc/self/mounts, in mount order.
std::vector<MountedDrive> ReadMounts();
// Mount points of /proc/self/mounts without the kernel's pseudo file systems, in mount order,
// each once; "/" is always first.
std::vector<MountedDrive> MountedDrives();
// The mount point among the drives that holds the host path (the longest that contains it).
std::string DriveOf(const std::vector<MountedDrive>& drives, const std::string& hostPath);

}  // namespace vx::shell
