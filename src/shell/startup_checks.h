// Host checks made at start-up.
#pragma once

#include <string>

namespace vx::shell {

// True when the folder lies on an ISO 9660 or UDF file system (a CD/DVD).
bool IsOnOpticalDrive(const std::string& hostFolder);
// The file-system type name of the mount holding the folder ("ext4", "iso9660"), "" if unknown.
std::string FileSystemTypeOf(const std::string& hostFolder);
// The user is the administrator: the root user.
bool IsAdministratorUser();

}  // namespace vx::shell
