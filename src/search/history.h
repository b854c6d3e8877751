// The search-word history "Suchwoerterliste.txt": newest first, at most 50 texts.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vx::search {

inline constexpr char16_t kHistoryFileName[] = u"Suchwoerterliste.txt";
inline constexpr std::size_t kHistoryMax = 50;

class SearchHistory {
  public:
    // Replaces the items by the lines of the file (UTF-16 LE with mark, or any form that
    // ReadTextFile reads); a missing or unreadable file leaves the history empty.
    void Load(std::u16string_view fileName);
    // Writes the items as UTF-16 LE with mark, CR LF after every line. Throws textio::FileError.
    void Save(std::u16string_view fileName) const;

    // Puts the text at the top: removes equal items and empty items first; the placeholder text
    // of an empty search is never kept; at most kHistoryMax items remain.
    void Add(std::u16string_view text);

    const std::vector<std::u16string>& Items() const { return items_; }
    void SetItems(std::vector<std::u16string> items) { items_ = std::move(items); }

  private:
    std::vector<std::u16string> items_;
};

}  // namespace vx::search
