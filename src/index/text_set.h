// Distinct texts numbered in the order they were first added, kept one after the other in one
// string.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "index/detail/word_table.h"

namespace vx::index {

class TextSet {
  public:
    // The number of the text, added when it is new.
    uint32_t Add(std::u16string_view text) {
        const uint32_t hash = WordTable::Hash(Bytes(text));
        const uint32_t known =
            table_.Find(Bytes(text), hash, [this](uint32_t i) { return Bytes(Text(i)); });
        if (known != WordTable::kNone) return known;
        store_.append(text);
        ends_.push_back(static_cast<uint32_t>(store_.size()));
        const auto id = static_cast<uint32_t>(ends_.size() - 1);
        table_.Insert(hash, id);
        return id;
    }
    std::u16string_view Text(uint32_t i) const {
        const uint32_t begin = i == 0 ? 0 : ends_[i - 1];
        return std::u16string_view(store_).substr(begin, ends_[i] - begin);
    }
    std::size_t Size() const { return ends_.size(); }
    void Clear() {
        std::u16string().swap(store_);
        std::vector<uint32_t>().swap(ends_);
        table_.Clear();
    }

  private:
    static std::string_view Bytes(std::u16string_view s) {
        return {reinterpret_cast<const char*>(s.data()), s.size() * sizeof(char16_t)};
    }

    std::u16string store_;
    std::vector<uint32_t> ends_;  // end of each text in store_
    WordTable table_;
};

}  // namespace vx::index
