#include "platform/text.h"

#include "platform/utf8.h"

#include <unicode/uchar.h>

#include <algorithm>
#include <array>
#include <bitset>
#include <limits>
#include <vector>

namespace vx::platform {

namespace {

// The tables cover every UTF-16 code unit; each is built once on first use, from ICU's ranges of
// general categories: asking ICU about each of the 65,536 code units costs more than the rest of
// a short search.

struct CategoryRange {
    UChar32 first;
    UChar32 limit;
    UCharCategory category;
};

// The ranges of one general category each that make up the BMP, asked of ICU once for all tables.
const std::vector<CategoryRange>& CategoryRanges() {
    static const auto ranges = [] {
        std::vector<CategoryRange> r;
        struct Context {
            std::vector<CategoryRange>* ranges;
        } const context{&r};
        u_enumCharTypes(
            [](const void* c, UChar32 start, UChar32 limit, UCharCategory category) -> UBool {
                if (start >= 0x10000) return false;
                static_cast<const Context*>(c)->ranges->push_back(
                    {start, std::min<UChar32>(limit, 0x10000), category});
                return true;
            },
            &context);
        return r;
    }();
    return ranges;
}

// Calls visit(first, limit, category) for each range of CategoryRanges.
template <class Visit>
void ForEachCategoryRange(Visit visit) {
    for (const CategoryRange& r : CategoryRanges()) visit(r.first, r.limit, r.category);
}

const std::array<char16_t, 0x10000>& UpperTable() {
    static const auto table = [] {
        std::array<char16_t, 0x10000> t{};
        for (uint32_t c = 0; c < 0x10000; ++c) t[c] = static_cast<char16_t>(c);
        ForEachCategoryRange([&t](UChar32 first, UChar32 limit, UCharCategory category) {
            // Other letters, unassigned and private-use code points and surrogate halves have
            // no case.
            if (category == U_OTHER_LETTER || category == U_UNASSIGNED ||
                category == U_PRIVATE_USE_CHAR || category == U_SURROGATE) {
                return;
            }
            for (UChar32 c = first; c < limit; ++c) {
                const UChar32 u = u_toupper(c);
                if (u >= 0 && u <= 0xFFFF)
                    t[static_cast<std::size_t>(c)] = static_cast<char16_t>(u);
            }
        });
        return t;
    }();
    return table;
}

const std::bitset<0x10000>& FormatTable() {
    static const auto table = [] {
        std::bitset<0x10000> t;
        ForEachCategoryRange([&t](UChar32 first, UChar32 limit, UCharCategory category) {
            if (category != U_FORMAT_CHAR) return;
            for (UChar32 c = first; c < limit; ++c) t.set(static_cast<std::size_t>(c));
        });
        return t;
    }();
    return table;
}

// White space and controls; white space is made of separators and controls.
const std::bitset<0x10000>& TrimTable() {
    static const auto table = [] {
        std::bitset<0x10000> t;
        ForEachCategoryRange([&t](UChar32 first, UChar32 limit, UCharCategory category) {
            const bool control = category == U_CONTROL_CHAR;
            if (!control && category != U_SPACE_SEPARATOR && category != U_LINE_SEPARATOR &&
                category != U_PARAGRAPH_SEPARATOR) {
                return;
            }
            for (UChar32 c = first; c < limit; ++c) {
                if (control || u_isUWhiteSpace(c)) t.set(static_cast<std::size_t>(c));
            }
        });
        return t;
    }();
    return table;
}

}  // namespace

char16_t UpperChar(char16_t c) {
    return UpperTable()[c];
}

const char16_t* UpperCaseTable() {
    return UpperTable().data();
}

std::u16string UpperCase(std::u16string_view s) {
    const auto& table = UpperTable();
    std::u16string out(s.size(), u'\0');
    for (std::size_t i = 0; i < s.size(); ++i) out[i] = table[s[i]];
    return out;
}

void AppendUpperCase(std::u16string& out, std::u16string_view s) {
    const auto& table = UpperTable();
    const std::size_t start = out.size();
    out.resize(start + s.size());
    for (std::size_t i = 0; i < s.size(); ++i) out[start + i] = table[s[i]];
}

bool IsTrimChar(char16_t c) {
    return TrimTable()[c];
}

bool IsFormatChar(char16_t c) {
    return FormatTable()[c];
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
    return EncodeUtf8(s, LoneSurrogates::Keep);
}

std::u16string FromUtf8(std::string_view s) {
    return DecodeUtf8(s);
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

int HexDigitValue(char16_t c) {
    if (c >= u'0' && c <= u'9') return c - u'0';
    if (c >= u'A' && c <= u'F') return c - u'A' + 10;
    if (c >= u'a' && c <= u'f') return c - u'a' + 10;
    return -1;
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
