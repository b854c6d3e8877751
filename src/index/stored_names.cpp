#include "index/stored_names.h"

#include "platform/paths.h"
#include "platform/text.h"

namespace vx::index {

namespace {

constexpr std::u16string_view kFileSuffix = u".XML";

}  // namespace

std::u16string EscapeName(std::u16string_view name, bool isFile) {
    static constexpr char16_t kHex[] = u"0123456789ABCDEF";
    std::u16string out(1, kEscapeMark);
    for (const char16_t c : name) {
        if (c == u'%' || c == kEscapeMark || platform::UpperChar(c) != c) {
            out += u'%';
            for (int shift = 12; shift >= 0; shift -= 4) out += kHex[(c >> shift) & 0xF];
        } else {
            out += c;
        }
    }
    if (isFile) out += kFileSuffix;
    return out;
}

bool NeedsEscapeByItself(std::u16string_view name) {
    return !name.empty() && name.front() == kEscapeMark;
}

std::u16string UnescapeName(std::u16string_view stored) {
    if (!NeedsEscapeByItself(stored)) return std::u16string(stored);
    std::u16string_view body = stored.substr(1);
    // The appended ".XML" of a file name (any case: a reader may have upper-cased the rest).
    if (body.size() >= kFileSuffix.size() &&
        platform::UpperCase(body.substr(body.size() - kFileSuffix.size())) == kFileSuffix) {
        body.remove_suffix(kFileSuffix.size());
    }
    std::u16string out;
    for (std::size_t i = 0; i < body.size(); ++i) {
        if (body[i] == u'%' && i + 4 < body.size()) {
            int value = 0;
            bool valid = true;
            for (std::size_t j = 1; j <= 4; ++j) {
                const int digit = platform::HexDigitValue(body[i + j]);
                valid = valid && digit >= 0;
                value = value * 16 + (digit < 0 ? 0 : digit);
            }
            if (valid) {
                out += static_cast<char16_t>(value);
                i += 4;
                continue;
            }
        }
        out += body[i];
    }
    return out;
}

std::u16string UnescapePath(std::u16string_view path) {
    if (path.find(kEscapeMark) == std::u16string_view::npos) return std::u16string(path);
    std::u16string out;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = path.find(u'\\', start);
        out += UnescapeName(path.substr(start, end - start));
        if (end == std::u16string_view::npos) break;
        out += u'\\';
        start = end + 1;
    }
    return out;
}

std::u16string TextCopyName(std::u16string_view fileName) {
    std::u16string name(fileName);
    const std::u16string_view extension = platform::ExtensionOf(fileName);
    if (!extension.empty()) name.erase(name.find(extension), extension.size());
    return name + u".txt";
}

bool HoldableName(std::u16string_view name) {
    if (name.find_first_of(u"\r\n\\") != std::u16string_view::npos) return false;
    return platform::UpperCase(name).find(u"SIZE:") == std::u16string::npos;
}

}  // namespace vx::index
