// Searching upper-case text in text of any case, code unit by code unit, without building an
// upper-cased copy of the text searched.
#pragma once

#include <string>
#include <string_view>

#include "platform/text.h"

namespace vx::search {

// True when the upper-cased text at position pos (0-based) begins with upperNeedle.
inline bool UpperMatchesAt(std::u16string_view text, std::size_t pos,
                           std::u16string_view upperNeedle) {
    if (pos > text.size() || text.size() - pos < upperNeedle.size()) return false;
    for (std::size_t j = 0; j < upperNeedle.size(); ++j) {
        if (platform::UpperCharFast(text[pos + j]) != upperNeedle[j]) return false;
    }
    return true;
}

// The only code units outside ASCII whose simple upper-case form is ASCII: dotless i (U+0131,
// upper "I") and long s (U+017F, upper "S").
inline bool UpperIsAscii(char16_t c) {
    return c == 0x0131 || c == 0x017F;
}

// 0-based position of the first occurrence of upperNeedle in the upper-cased text at or after
// from, or npos. An empty needle is found at from.
inline std::size_t FindUpper(std::u16string_view text, std::u16string_view upperNeedle,
                             std::size_t from = 0) {
    if (upperNeedle.empty()) return from <= text.size() ? from : std::u16string_view::npos;
    if (text.size() < upperNeedle.size()) return std::u16string_view::npos;
    const char16_t first = upperNeedle.front();
    const std::size_t last = text.size() - upperNeedle.size();
    const char16_t final = upperNeedle.back();
    if (final < 0x80 && !(final >= u'A' && final <= u'Z')) {
        // An ASCII character that is no letter matches only itself ("HAUS=" ends with "="):
        // the candidates are its few places in the text.
        const std::size_t tail = upperNeedle.size() - 1;
        for (std::size_t at = text.find(final, from + tail); at != std::u16string_view::npos;
             at = text.find(final, at + 1)) {
            if (UpperMatchesAt(text, at - tail, upperNeedle)) return at - tail;
        }
        return std::u16string_view::npos;
    }
    const char16_t* const units = text.data();
    if (first < 0x80 && first != u'I' && first != u'S') {
        // Candidates for an ASCII first character without a table lookup per code unit: for a
        // letter both cases fold into one comparison; no other code unit has it as upper case.
        const bool letter = first >= u'A' && first <= u'Z';
        const char16_t fold = letter ? 0x20 : 0;
        const char16_t folded = first | fold;
        for (std::size_t i = from; i <= last; ++i) {
            if ((units[i] | fold) == folded && UpperMatchesAt(text, i, upperNeedle)) return i;
        }
        return std::u16string_view::npos;
    }
    for (std::size_t i = from; i <= last; ++i) {
        if (platform::UpperCharFast(text[i]) == first && UpperMatchesAt(text, i, upperNeedle))
            return i;
    }
    return std::u16string_view::npos;
}

}  // namespace vx::search
