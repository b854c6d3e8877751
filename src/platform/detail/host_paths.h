// The host forms of paths for the file operations.
#pragma once

#include <sys/stat.h>

#include <cerrno>
#include <string>
#include <string_view>

#include "platform/paths.h"

namespace vx::platform::detail {

// stat of the host form of the path (ToHostPath, given in hostPath when asked for); false when
// it has none or stat fails. The check the mapping makes of the path serves as the stat where it
// can.
bool StatWindowsPath(std::u16string_view windowsPath, struct stat& st,
                     std::string* hostPath = nullptr);

// The host form of the path; "" with errno set to ENOENT when it has none.
inline std::string ToHostPathOrNoEntry(std::u16string_view windowsPath) {
    std::string host = ToHostPath(windowsPath);
    if (host.empty()) errno = ENOENT;
    return host;
}

// The host forms of the two paths of a file operation (rename, link, copy).
// False, with errno set to ENOENT, when either path has no host form.
inline bool ToHostPaths(std::u16string_view from, std::u16string_view to, std::string& hostFrom,
                        std::string& hostTo) {
    hostFrom = ToHostPath(from);
    hostTo = ToHostPath(to);
    if (hostFrom.empty() || hostTo.empty()) {
        errno = ENOENT;
        return false;
    }
    return true;
}

}  // namespace vx::platform::detail
