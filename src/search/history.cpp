#include "search/history.h"

#include <algorithm>
#include <fstream>
#include <sstream>

#include "platform/paths.h"
#include "platform/text.h"
#include "search/query.h"
#include "textio/text_file.h"

namespace vx::search {

namespace {

// The history is UTF-16 LE with mark; ReadTextFile would pass it through the ANSI code page and
// lose every other character, so the file is decoded here. Without that mark it is UTF-8.
std::u16string DecodeHistory(const std::string& bytes) {
    if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
        static_cast<unsigned char>(bytes[1]) == 0xFE) {
        std::u16string text;
        text.reserve(bytes.size() / 2);
        for (std::size_t i = 2; i + 1 < bytes.size(); i += 2) {
            text += static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                          (static_cast<unsigned char>(bytes[i + 1]) << 8));
        }
        return text;
    }
    std::string_view utf8(bytes);
    if (utf8.starts_with("\xEF\xBB\xBF")) utf8.remove_prefix(3);
    return platform::FromUtf8(utf8);
}

}  // namespace

void SearchHistory::Load(std::u16string_view fileName) {
    items_.clear();
    const std::string path = platform::ToHostPath(fileName);
    if (path.empty()) return;
    std::ifstream in(path, std::ios::binary);
    if (!in) return;
    std::ostringstream bytes;
    bytes << in.rdbuf();
    items_ = textio::SplitLines(DecodeHistory(bytes.str()));
}

void SearchHistory::Save(std::u16string_view fileName) const {
    textio::WriteUtf16LeLines(items_, fileName);
}

void SearchHistory::Add(std::u16string_view text) {
    // Equal items are blanked, then every empty item goes.
    std::erase_if(items_, [&](const std::u16string& item) { return item.empty() || item == text; });
    items_.insert(items_.begin(), std::u16string(text));
    if (text == kPlaceholderText) items_.erase(items_.begin());
    // A file written elsewhere may hold more than the maximum; trim it down completely.
    while (items_.size() > kHistoryMax) items_.pop_back();
}

}  // namespace vx::search
