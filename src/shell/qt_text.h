// The engine's texts (UTF-16) as Qt strings.
#pragma once

#include <QString>
#include <string>

namespace vx::shell {

inline QString Q(const std::u16string& text) {
    return QString::fromStdU16String(text);
}

}  // namespace vx::shell
