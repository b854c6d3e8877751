#include "platform/ansi.h"

#include <array>

namespace vx::platform {

namespace {

// Windows-1252 bytes 0x80..0x9F; the five undefined bytes map to the C1 control of the same
// value, as the Windows conversion does.
constexpr std::array<char16_t, 32> kHigh = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80..87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 88..8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90..97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 98..9F
};

// Byte of every code unit, 0 when it has none (code unit 0 itself is byte 0).
const std::array<unsigned char, 0x10000>& ByteTable() {
    static const auto table = [] {
        std::array<unsigned char, 0x10000> t{};
        for (unsigned b = 1; b < 256; ++b) {
            t[(b >= 0x80 && b <= 0x9F) ? kHigh[b - 0x80] : b] = static_cast<unsigned char>(b);
        }
        return t;
    }();
    return table;
}

}  // namespace

char16_t AnsiToWideChar(unsigned char b) {
    return (b >= 0x80 && b <= 0x9F) ? kHigh[b - 0x80] : static_cast<char16_t>(b);
}

bool IsAnsiChar(char16_t c) {
    return c == 0 || ByteTable()[c] != 0;
}

char AnsiByte(char16_t c) {
    if (c == 0) return '\0';
    const unsigned char b = ByteTable()[c];
    return b != 0 ? static_cast<char>(b) : '?';
}

std::string WideToAnsi(std::u16string_view s) {
    const auto& table = ByteTable();
    std::string out(s.size(), '\0');
    for (std::size_t i = 0; i < s.size(); ++i) {
        const unsigned char b = table[s[i]];
        out[i] = (b != 0 || s[i] == 0) ? static_cast<char>(b) : '?';
    }
    return out;
}

std::u16string AnsiToWide(std::string_view s) {
    std::u16string out(s.size(), u'\0');
    for (std::size_t i = 0; i < s.size(); ++i) {
        out[i] = AnsiToWideChar(static_cast<unsigned char>(s[i]));
    }
    return out;
}

}  // namespace vx::platform
