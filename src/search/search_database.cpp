#include "search/search_database.h"

#include "textio/text_file.h"

namespace vx::search {

namespace {

constexpr std::u16string_view kMarker = u"[DATENBANK]";

}  // namespace

SearchDatabase::SearchDatabase(std::u16string text)
    : text_(std::make_unique<const std::u16string>(std::move(text))) {
    const std::u16string_view all = *text_;
    std::vector<std::u16string> header;
    bool inIndex = false;
    const char16_t* const data = all.data();
    const std::size_t size = all.size();
    std::size_t start = 0;
    while (start < size) {
        std::size_t end = start;
        while (end < size && data[end] != u'\r' && data[end] != u'\n') ++end;
        const std::u16string_view line = all.substr(start, end - start);
        if (!inIndex && line.find(kMarker) != std::u16string_view::npos) {
            inIndex = true;
            // A rough guess from the average entry line keeps the vector from regrowing often.
            indexLines_.reserve((all.size() - start) / 16 + 1);
            header.emplace_back(line);
        }
        if (inIndex) {
            indexLines_.push_back(line);
        } else {
            header.emplace_back(line);
        }
        start = end;
        if (start < all.size())
            start +=
                (all[start] == u'\r' && start + 1 < all.size() && all[start + 1] == u'\n') ? 2 : 1;
    }
    header_ = std::make_unique<index::DatabaseFile>(std::move(header));
}

SearchDatabase SearchDatabase::Load(std::u16string_view fileName) {
    return SearchDatabase(textio::ReadTextFile(fileName));
}

}  // namespace vx::search
