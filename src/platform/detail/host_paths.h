// The host forms of the two paths of a file operation (rename, link, copy).
#pragma once

#include <cerrno>
#include <string>
#include <string_view>

#include "platform/paths.h"

namespace vx::platform::detail {

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
