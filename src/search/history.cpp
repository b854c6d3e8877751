#include "search/history.h"

#include <algorithm>

#include "search/query.h"
#include "textio/text_file.h"

namespace vx::search {

void SearchHistory::Load(std::u16string_view fileName) {
    items_.clear();
    try {
        // Not ReadTextFile: that passes UTF-16 text through the ANSI code page.
        items_ = textio::ReadUtf16LeLines(fileName);
    } catch (const std::exception&) {
        // A missing or unreadable history file starts an empty history.
        items_.clear();
    }
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
