// Finding the next line break (CR or LF) in decoded text.
#pragma once

#include <cstddef>
#include <string_view>

namespace vx::textio {

// Index of the first CR or LF in text, text.size() when there is none.
inline size_t FindLineBreak(std::u16string_view text) {
    const char16_t* const data = text.data();
    const size_t size = text.size();
    for (size_t i = 0; i < size; ++i) {
        const char16_t c = data[i];
        if (c <= u'\r' && (c == u'\r' || c == u'\n')) return i;
    }
    return size;
}

}  // namespace vx::textio
