#include "platform/profile_reader.h"

#include <fstream>
#include <memory>

#include "platform/paths.h"
#include "platform/text.h"

namespace vx::platform {

namespace {

std::u16string NameKey(std::string_view bytes) {
    return UpperCase(TrimView(FromUtf8(bytes)));
}

}  // namespace

std::u16string ReadProfileString(std::u16string_view file, std::u16string_view section,
                                 std::u16string_view key, std::size_t maxLength) {
    const std::string host = ToHostPath(file);
    if (host.empty()) return u"";
    // The sections asked for stand at the start of large files: a read of 64 KB, not zeroed.
    constexpr std::size_t kBufferSize = std::size_t{64} * 1024;
    const auto buffer = std::make_unique_for_overwrite<char[]>(kBufferSize);
    std::ifstream in;
    in.rdbuf()->pubsetbuf(buffer.get(), static_cast<std::streamsize>(kBufferSize));
    in.open(host, std::ios::binary);
    if (!in) return u"";

    const std::u16string wantedSection = UpperCase(TrimView(section));
    const std::u16string wantedKey = UpperCase(TrimView(key));
    bool inSection = false;
    bool firstLine = true;
    std::string line;
    // Line by line, so that only the lines up to the end of the wanted section are read.
    while (std::getline(in, line)) {
        if (firstLine && line.rfind("\xEF\xBB\xBF", 0) == 0) line.erase(0, 3);
        firstLine = false;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const std::size_t start = line.find_first_not_of(" \t");
        if (start == std::string::npos) continue;
        if (line[start] == '[') {
            if (inSection) break;
            const std::size_t close = line.find(']', start + 1);
            const std::size_t end = close == std::string::npos ? line.size() : close;
            inSection =
                NameKey(std::string_view(line).substr(start + 1, end - start - 1)) == wantedSection;
            continue;
        }
        if (!inSection) continue;
        const std::size_t eq = line.find('=');
        if (eq == std::string::npos) continue;
        if (NameKey(std::string_view(line).substr(0, eq)) != wantedKey) continue;
        std::u16string value = Trim(FromUtf8(std::string_view(line).substr(eq + 1)));
        if (value.size() > maxLength) {
            value.resize(maxLength);
            // Never leave the first half of a surrogate pair alone at the end.
            if (value.back() >= 0xD800 && value.back() <= 0xDBFF) value.pop_back();
        }
        return value;
    }
    return u"";
}

}  // namespace vx::platform
