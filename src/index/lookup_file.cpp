#include "index/lookup_file.h"

#include "index/detail/lookup_samples.h"
#include "platform/hash64.h"
#include "platform/text.h"
#include "platform/utf8.h"

namespace vx::index {

namespace {

bool IsNumberUnit(char16_t c) {
    return (c >= u'0' && c <= u'9') || c == u',';
}

}  // namespace

std::string LookupKey(std::u16string_view lineText) {
    const std::u16string key = platform::UpperCase(lineText.substr(0, lineText.find(u'=')));
    return platform::EncodeUtf8(key, platform::LoneSurrogates::Keep);
}

bool IsNumbersLine(std::u16string_view line) {
    for (const char16_t c : line) {
        if (!IsNumberUnit(c)) return false;
    }
    return !line.empty();
}

bool IsOddLine(std::u16string_view line) {
    const std::size_t eq = line.find(u'=');
    if (eq == std::u16string_view::npos) return false;
    for (const char16_t c : line.substr(eq + 1)) {
        if (!IsNumberUnit(c)) return true;
    }
    return false;
}

namespace lookup {

uint64_t DatabaseSamples(const platform::ReadOnlyFile& database) {
    constexpr uint64_t kEnds = 4096;
    constexpr uint64_t kPieces = 62;
    constexpr uint64_t kPieceSize = 64;
    const uint64_t size = database.Size();
    std::string bytes;
    const auto take = [&](uint64_t offset, uint64_t count) {
        if (offset >= size) return;
        count = std::min(count, size - offset);
        const std::size_t at = bytes.size();
        bytes.resize(at + count);
        bytes.resize(at + database.ReadAt(offset, bytes.data() + at, count));
    };
    take(0, kEnds);
    if (size > kEnds) take(size - kEnds, kEnds);
    for (uint64_t i = 1; i <= kPieces; ++i) take(size / (kPieces + 1) * i, kPieceSize);
    return platform::Hash64(bytes.data(), bytes.size(), size);
}

}  // namespace lookup

}  // namespace vx::index
