#include "indexing/xml_utf16.h"

#include <cstdint>

namespace vx::indexing {

namespace {

bool IsContinuation(unsigned char b) {
    return (b & 0xC0) == 0x80;
}

// Decodes the sequence at p (at least one byte before end); returns its length, or 0 when the
// bytes do not form a well-formed sequence.
std::size_t DecodeSequence(const unsigned char* p, const unsigned char* end, uint32_t& cp) {
    const unsigned char b0 = p[0];
    const std::size_t left = static_cast<std::size_t>(end - p);
    if (b0 >= 0xC2 && b0 <= 0xDF) {
        if (left < 2 || !IsContinuation(p[1])) return 0;
        cp = ((b0 & 0x1Fu) << 6) | (p[1] & 0x3Fu);
        return 2;
    }
    if (b0 >= 0xE0 && b0 <= 0xEF) {
        if (left < 3 || !IsContinuation(p[1]) || !IsContinuation(p[2])) return 0;
        cp = ((b0 & 0x0Fu) << 12) | ((p[1] & 0x3Fu) << 6) | (p[2] & 0x3Fu);
        return cp >= 0x800 ? 3 : 0;
    }
    if (b0 >= 0xF0 && b0 <= 0xF4) {
        if (left < 4 || !IsContinuation(p[1]) || !IsContinuation(p[2]) || !IsContinuation(p[3])) {
            return 0;
        }
        cp = ((b0 & 0x07u) << 18) | ((p[1] & 0x3Fu) << 12) | ((p[2] & 0x3Fu) << 6) | (p[3] & 0x3Fu);
        return (cp >= 0x10000 && cp <= 0x10FFFF) ? 4 : 0;
    }
    return 0;
}

}  // namespace

void AppendUtf16(std::string_view utf8, std::u16string& out) {
    const std::size_t base = out.size();
    // UTF-16 never needs more code units than UTF-8 has bytes.
    out.resize(base + utf8.size());
    char16_t* dst = out.data() + base;
    const auto* p = reinterpret_cast<const unsigned char*>(utf8.data());
    const auto* end = p + utf8.size();
    while (p < end) {
        if (*p < 0x80) {
            *dst++ = *p++;
            continue;
        }
        uint32_t cp = 0;
        const std::size_t n = DecodeSequence(p, end, cp);
        if (n == 0) {
            *dst++ = u'\uFFFD';
            ++p;
        } else if (cp < 0x10000) {
            *dst++ = static_cast<char16_t>(cp);
            p += n;
        } else {
            cp -= 0x10000;
            *dst++ = static_cast<char16_t>(0xD800 + (cp >> 10));
            *dst++ = static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
            p += n;
        }
    }
    out.resize(static_cast<std::size_t>(dst - out.data()));
}

}  // namespace vx::indexing
