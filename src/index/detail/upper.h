// Upper-casing of database lines with a fast path for ASCII.
#pragma once

#include <string>
#include <string_view>

#include "platform/text.h"

namespace vx::index {

inline char16_t UpperUnit(char16_t c) {
    if (c < 0x80) return (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - 0x20) : c;
    return platform::UpperChar(c);
}

inline void AppendUpper(std::u16string& out, std::u16string_view s) {
    for (const char16_t c : s) out.push_back(UpperUnit(c));
}

}  // namespace vx::index
