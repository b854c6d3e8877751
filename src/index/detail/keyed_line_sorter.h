// Lines given by number in their save order, read in merge order (merge_order.h): the distinct
// key texts of the lines are sorted by their keys, and only the lines of a group of keys that
// begin with the group's first key are sorted among themselves, group after group as they are
// read.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "index/merge_order.h"
#include "index/text_set.h"
#include "platform/collation.h"

namespace vx::index {

class KeyedLineSorter : public OrderedLines {
  public:
    // keyTexts holds the MergeKeyText of every line, keyOf[line] its number there; text(line, out)
    // writes a line as the file holds it.
    KeyedLineSorter(const TextSet& keyTexts, const std::vector<uint32_t>& keyOf,
                    std::function<void(std::size_t, std::u16string&)> text);

    bool Next() override;
    const OrderedLine& Line() const override { return lines_[order_[position_]]; }

  private:
    bool NextGroup();
    void SortGroup(bool ownKeys);

    std::function<void(std::size_t, std::u16string&)> text_;
    platform::CollationKeyTable keys_;
    std::vector<uint32_t> keyOrder_;  // key numbers in the order of their keys
    std::vector<uint32_t> start_;     // the lines of key k: byKey_[start_[k] .. start_[k + 1])
    std::vector<uint32_t> byKey_;     // line numbers, each key's in save order
    std::size_t nextKey_ = 0;         // in keyOrder_: the first key of the next group

    // The group being read: its lines (line number, key number) in save order, and their order.
    std::vector<std::pair<uint32_t, uint32_t>> members_;
    std::vector<std::u16string> texts_;
    std::vector<OrderedLine> lines_;
    std::vector<std::size_t> order_;
    std::size_t position_ = 0;
    bool started_ = false;
};

}  // namespace vx::index
