#include "platform/text.h"

#include <unicode/uchar.h>

#include <array>
#include <bitset>
#include <limits>

namespace vx::platform {

namespace {

// Both tables cover every UTF-16 code unit; they are built once on first use.
const std::array<char16_t, 0x10000>& UpperTable() {
    static const auto table = [] {
        std::array<char16_t, 0x10000> t{};
        for (uint32_t c = 0; c < 0x10000; ++c) {
            t[c] = static_cast<char16_t>(c);
            if (c >= 0xD800 && c <= 0xDFFF) continue;  // surrogate halves stay as they are
            const UChar32 u = u_toupper(static_cast<UChar32>(c));
            if (u >= 0 && u <= 0xFFFF) t[c] = static_cast<char16_t>(u);
        }
        return t;
    }();
    return table;
}

const std::bitset<0x10000>& TrimTable() {
    static const auto table = [] {
        std::bitset<0x10000> t;
        for (uint32_t c = 0; c < 0x10000; ++c) {
            const auto u = static_cast<UChar32>(c);
            if (u_isUWhiteSpace(u) || u_charType(u) == U_CONTROL_CHAR) t.set(c);
        }
        return t;
    }();
    return table;
}

void AppendUtf8(std::string& out, uint32_t cp) {
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

bool IsContinuation(unsigned char b) {
    return (b & 0xC0) == 0x80;
}

// Length of the well-formed sequence starting at s[i] and its code point; 0 when the byte at i
// does not start one. Lone surrogates in their 3-byte form are accepted so that every UTF-16
// string survives ToUtf8 / FromUtf8 unchanged.
std::size_t DecodeOne(std::string_view s, std::size_t i, uint32_t& cp) {
    const auto b0 = static_cast<unsigned char>(s[i]);
    const std::size_t left = s.size() - i;
    if (b0 < 0x80) {
        cp = b0;
        return 1;
    }
    if (b0 >= 0xC2 && b0 <= 0xDF) {
        if (left < 2 || !IsContinuation(static_cast<unsigned char>(s[i + 1]))) return 0;
        cp = ((b0 & 0x1Fu) << 6) | (static_cast<unsigned char>(s[i + 1]) & 0x3Fu);
        return 2;
    }
    if (b0 >= 0xE0 && b0 <= 0xEF) {
        if (left < 3) return 0;
        const auto b1 = static_cast<unsigned char>(s[i + 1]);
        const auto b2 = static_cast<unsigned char>(s[i + 2]);
        if (!IsContinuation(b1) || !IsContinuation(b2)) return 0;
        if (b0 == 0xE0 && b1 < 0xA0) return 0;  // overlong
        cp = ((b0 & 0x0Fu) << 12) | ((b1 & 0x3Fu) << 6) | (b2 & 0x3Fu);
        return 3;
    }
    if (b0 >= 0xF0 && b0 <= 0xF4) {
        if (left < 4) return 0;
        const auto b1 = static_cast<unsigned char>(s[i + 1]);
        const auto b2 = static_cast<unsigned char>(s[i + 2]);
        const auto b3 = static_cast<unsigned char>(s[i + 3]);
        if (!IsContinuation(b1) || !IsContinuation(b2) || !IsContinuation(b3)) return 0;
        if (b0 == 0xF0 && b1 < 0x90) return 0;   // overlong
        if (b0 == 0xF4 && b1 >= 0x90) return 0;  // beyond U+10FFFF
        cp = ((b0 & 0x07u) << 18) | ((b1 & 0x3Fu) << 12) | ((b2 & 0x3Fu) << 6) | (b3 & 0x3Fu);
        return 4;
    }
    return 0;
}

}  // namespace

char16_t UpperChar(char16_t c) {
    return UpperTable()[c];
}

std::u16string UpperCase(std::u16string_view s) {
    const auto& table = UpperTable();
    std::u16string out(s.size(), u'\0');
    for (std::size_t i = 0; i < s.size(); ++i) out[i] = table[s[i]];
    return out;
}

bool IsTrimChar(char16_t c) {
    return TrimTable()[c];
}

std::u16string_view TrimView(std::u16string_view s) {
    const auto& table = TrimTable();
    std::size_t b = 0;
    std::size_t e = s.size();
    while (b < e && table[s[b]]) ++b;
    while (e > b && table[s[e - 1]]) --e;
    return s.substr(b, e - b);
}

std::u16string Trim(std::u16string_view s) {
    return std::u16string(TrimView(s));
}

std::string ToUtf8(std::u16string_view s) {
    std::string out;
    out.reserve(s.size() + s.size() / 2);
    for (std::size_t i = 0; i < s.size(); ++i) {
        uint32_t cp = s[i];
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < s.size() && s[i + 1] >= 0xDC00 &&
            s[i + 1] <= 0xDFFF) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (s[i + 1] - 0xDC00u);
            ++i;
        }
        AppendUtf8(out, cp);
    }
    return out;
}

std::u16string FromUtf8(std::string_view s) {
    std::u16string out;
    out.reserve(s.size());
    std::size_t i = 0;
    while (i < s.size()) {
        uint32_t cp = 0;
        const std::size_t n = DecodeOne(s, i, cp);
        if (n == 0) {
            out.push_back(u'\uFFFD');
            ++i;
            continue;
        }
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(cp));
        }
        i += n;
    }
    return out;
}

std::u16string Ascii(std::string_view s) {
    std::u16string out(s.size(), u'\0');
    for (std::size_t i = 0; i < s.size(); ++i) out[i] = static_cast<unsigned char>(s[i]);
    return out;
}

std::u16string IntText(int64_t n) {
    // Work on the magnitude as unsigned so that the smallest int64 has no overflow.
    uint64_t m = n < 0 ? 0 - static_cast<uint64_t>(n) : static_cast<uint64_t>(n);
    char16_t buf[24];
    std::size_t pos = sizeof buf / sizeof buf[0];
    do {
        buf[--pos] = static_cast<char16_t>(u'0' + m % 10);
        m /= 10;
    } while (m != 0);
    if (n < 0) buf[--pos] = u'-';
    return std::u16string(buf + pos, sizeof buf / sizeof buf[0] - pos);
}

std::u16string GroupedIntText(int64_t n) {
    const std::u16string plain = IntText(n);
    const std::size_t sign = n < 0 ? 1 : 0;
    const std::size_t digits = plain.size() - sign;
    std::u16string out = plain.substr(0, sign);
    for (std::size_t i = 0; i < digits; ++i) {
        if (i != 0 && (digits - i) % 3 == 0) out.push_back(u'.');
        out.push_back(plain[sign + i]);
    }
    return out;
}

bool ParseInt(std::u16string_view s, int64_t& out) {
    s = TrimView(s);
    if (s.empty()) return false;
    bool negative = false;
    std::size_t i = 0;
    if (s[0] == u'+' || s[0] == u'-') {
        negative = s[0] == u'-';
        ++i;
    }
    if (i == s.size()) return false;
    const uint64_t limit =
        negative ? uint64_t{1} << 63 : static_cast<uint64_t>(std::numeric_limits<int64_t>::max());
    uint64_t value = 0;
    for (; i < s.size(); ++i) {
        if (s[i] < u'0' || s[i] > u'9') return false;
        const uint64_t digit = s[i] - u'0';
        if (value > (limit - digit) / 10) return false;
        value = value * 10 + digit;
    }
    out = negative ? static_cast<int64_t>(0 - value) : static_cast<int64_t>(value);
    return true;
}

}  // namespace vx::platform
