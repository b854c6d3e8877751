#include "shell/startup_checks.h"

#include <unistd.h>

#include "shell/mounted_drives.h"

namespace vx::shell {

std::string FileSystemTypeOf(const std::string& hostFolder) {
    std::vector<MountedDrive> mounts = ReadMounts();
    const std::string mountPoint = DriveOf(mounts, hostFolder);
    std::string type;
    // A later mount on the same point covers the earlier one.
    for (const auto& mount : mounts) {
        if (mount.mountPoint == mountPoint) type = mount.type;
    }
    return type;
}

bool IsOnOpticalDrive(const std::string& hostFolder) {
    const std::string type = FileSystemTypeOf(hostFolder);
    return type == "iso9660" || type == "udf";
}

bool IsAdministratorUser() {
    return geteuid() == 0;
}

}  // namespace vx::shell
