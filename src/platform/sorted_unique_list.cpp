#include "platform/collation.h"

namespace vx::platform {

// NOLINTNEXTLINE(performance-unnecessary-value-param): moved into the list when it is new
bool SortedUniqueList::Add(std::u16string s) {
    std::string key = CollationKey(s);
    return items_.try_emplace(std::move(key), std::move(s)).second;
}

bool SortedUniqueList::Contains(std::u16string_view s) const {
    return items_.find(CollationKey(s)) != items_.end();
}

bool SortedUniqueList::Remove(std::u16string_view s) {
    return items_.erase(CollationKey(s)) != 0;
}

std::vector<std::u16string> SortedUniqueList::Items() const {
    std::vector<std::u16string> out;
    out.reserve(items_.size());
    for (const auto& [key, value] : items_) out.push_back(value);
    return out;
}

}  // namespace vx::platform
