#include "index/stored_names.h"

#include "index/database_lines.h"
#include "platform/folder_listing.h"
#include "platform/hash64.h"
#include "platform/paths.h"
#include "platform/text.h"

namespace vx::index {

namespace {

constexpr std::u16string_view kFileSuffix = u".XML";
constexpr std::u16string_view kShortenedMark = u"%%";
constexpr char16_t kHex[] = u"0123456789ABCDEF";

void AppendHex(std::u16string& out, uint64_t value, int digits) {
    for (int shift = 4 * (digits - 1); shift >= 0; shift -= 4) out += kHex[(value >> shift) & 0xF];
}

std::size_t Utf8Bytes(char16_t c) {
    if (c < 0x80) return 1;
    if (c < 0x800) return 2;
    return 3;  // a surrogate half counts 3, its pair together 6 >= the 4 it takes
}

// The escaped form cut to fit kMaxStoredNameBytes with the hash of the name: whole escapes and
// whole surrogate pairs only.
std::u16string Shortened(std::u16string_view escaped, std::u16string_view name) {
    const std::size_t tail = kShortenedMark.size() + 16 + kFileSuffix.size();
    std::size_t bytes = 0;
    std::size_t end = 0;
    while (end < escaped.size()) {
        std::size_t step = escaped[end] == u'%' ? 5 : 1;
        if (step == 1 && escaped[end] >= 0xD800 && escaped[end] <= 0xDBFF) step = 2;
        std::size_t stepBytes = 0;
        for (std::size_t i = end; i < end + step && i < escaped.size(); ++i)
            stepBytes += Utf8Bytes(escaped[i]);
        if (bytes + stepBytes + tail > kMaxStoredNameBytes) break;
        bytes += stepBytes;
        end += step;
    }
    std::u16string out(escaped.substr(0, std::min(end, escaped.size())));
    out += kShortenedMark;
    AppendHex(out, platform::Hash64(name.data(), name.size() * sizeof(char16_t)), 16);
    return out;
}

bool IsShortened(std::u16string_view stored) {
    return stored.find(kShortenedMark) != std::u16string_view::npos;
}

}  // namespace

std::u16string EscapeName(std::u16string_view name, bool isFile) {
    std::u16string out(1, kEscapeMark);
    for (const char16_t c : name) {
        if (c == u'%' || c == kEscapeMark || platform::UpperChar(c) != c) {
            out += u'%';
            AppendHex(out, c, 4);
        } else {
            out += c;
        }
    }
    std::size_t bytes = kFileSuffix.size();
    for (const char16_t c : out) bytes += Utf8Bytes(c);
    if (bytes > kMaxStoredNameBytes) out = Shortened(out, name);
    if (isFile) out += kFileSuffix;
    return out;
}

bool NeedsEscapeByItself(std::u16string_view name) {
    return !name.empty() && name.front() == kEscapeMark;
}

std::u16string UnescapeName(std::u16string_view stored) {
    if (!NeedsEscapeByItself(stored) || IsShortened(stored)) return std::u16string(stored);
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
        const std::u16string_view stored = path.substr(start, end - start);
        if (NeedsEscapeByItself(stored) && IsShortened(stored)) {
            out += OnDiskName(out, stored, end == std::u16string_view::npos);
        } else {
            out += UnescapeName(stored);
        }
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

std::u16string OnDiskName(std::u16string_view folder, std::u16string_view stored, bool isFile) {
    const std::u16string upper = platform::UpperCase(stored);
    for (const platform::FolderEntry& entry :
         platform::ListFolder(platform::WithTrailingBackslash(folder), u"*")) {
        if (EscapeName(entry.name, isFile) == upper) return entry.name;
    }
    return std::u16string(stored);
}

bool HoldableName(std::u16string_view name) {
    if (name.find_first_of(u"\r\n\\") != std::u16string_view::npos) return false;
    return !HoldsSizeMarker(platform::UpperCase(name));
}

}  // namespace vx::index
