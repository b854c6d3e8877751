#include "index/detail/keyed_line_sorter.h"

#include <algorithm>
#include <numeric>

#include "index/detail/merge_rules.h"

namespace vx::index {

KeyedLineSorter::KeyedLineSorter(const TextSet& keyTexts, const std::vector<uint32_t>& keyOf,
                                 std::function<void(std::size_t, std::u16string&)> text)
    : text_(std::move(text)),
      keys_(
          keyTexts.Size(),
          [&](std::size_t k, std::u16string&) { return keyTexts.Text(static_cast<uint32_t>(k)); },
          true) {
    const std::size_t keyCount = keyTexts.Size();
    keyOrder_.resize(keyCount);
    std::iota(keyOrder_.begin(), keyOrder_.end(), 0u);
    // Without the rules every line forms one group, ordered by the lines' own keys.
    if (MergeRulesHold()) {
        std::sort(keyOrder_.begin(), keyOrder_.end(), [&](uint32_t a, uint32_t b) {
            const int c = keys_.Key(a).compare(keys_.Key(b));
            return c != 0 ? c < 0 : a < b;
        });
    }
    start_.assign(keyCount + 1, 0);
    for (const uint32_t k : keyOf) ++start_[k + 1];
    std::partial_sum(start_.begin(), start_.end(), start_.begin());
    byKey_.resize(keyOf.size());
    std::vector<uint32_t> next(start_.begin(), start_.end() - 1);
    for (std::size_t line = 0; line < keyOf.size(); ++line) {
        byKey_[next[keyOf[line]]++] = static_cast<uint32_t>(line);
    }
}

bool KeyedLineSorter::Next() {
    if (started_ && position_ + 1 < order_.size()) {
        ++position_;
        return true;
    }
    started_ = true;
    return NextGroup();
}

bool KeyedLineSorter::NextGroup() {
    if (nextKey_ == keyOrder_.size()) return false;
    const bool holds = MergeRulesHold();
    const std::string_view root = keys_.Key(keyOrder_[nextKey_]);
    std::size_t end = nextKey_ + 1;
    while (end < keyOrder_.size() && (!holds || keys_.Key(keyOrder_[end]).starts_with(root))) {
        ++end;
    }
    members_.clear();
    for (std::size_t i = nextKey_; i < end; ++i) {
        const uint32_t k = keyOrder_[i];
        for (uint32_t j = start_[k]; j < start_[k + 1]; ++j) members_.emplace_back(byKey_[j], k);
    }
    const bool severalKeys = end - nextKey_ > 1;
    if (severalKeys) std::sort(members_.begin(), members_.end());
    nextKey_ = end;

    if (texts_.size() < members_.size()) texts_.resize(members_.size());
    for (std::size_t i = 0; i < members_.size(); ++i) text_(members_[i].first, texts_[i]);
    lines_.clear();
    for (std::size_t i = 0; i < members_.size(); ++i) {
        lines_.emplace_back(texts_[i], holds ? keys_.Key(members_[i].second) : std::string_view());
    }
    order_.resize(members_.size());
    std::iota(order_.begin(), order_.end(), std::size_t{0});
    if (members_.size() > 1) SortGroup(severalKeys || !holds);
    position_ = 0;
    return true;
}

void KeyedLineSorter::SortGroup(bool ownKeys) {
    if (!ownKeys) {
        std::stable_sort(order_.begin(), order_.end(), [&](std::size_t a, std::size_t b) {
            return CompareInMergeOrder(lines_[a], lines_[b]) < 0;
        });
        return;
    }
    // Lines of several words: each line's own key, computed once.
    std::vector<std::string> own(lines_.size());
    for (std::size_t i = 0; i < lines_.size(); ++i) own[i] = platform::CollationKey(lines_[i].text);
    std::stable_sort(order_.begin(), order_.end(),
                     [&](std::size_t a, std::size_t b) { return own[a] < own[b]; });
}

}  // namespace vx::index
