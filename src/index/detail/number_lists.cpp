#include "index/detail/number_lists.h"

#include <algorithm>

namespace vx::index {

uint32_t NumberLists::NewChunk(uint32_t capacity) {
    const std::size_t pageSize = decltype(slots_)::kPageSize;
    const std::size_t room = pageSize - (slots_.size() & (pageSize - 1));
    // The rest of a page too small for the chunk stays unused.
    if (room < capacity + 2 && room != pageSize) {
        for (std::size_t i = 0; i < room; ++i) slots_.emplace_back(0);
    }
    const auto chunk = static_cast<uint32_t>(slots_.size());
    slots_.emplace_back(kNone);
    slots_.emplace_back(capacity << 16);
    for (uint32_t i = 0; i < capacity; ++i) slots_.emplace_back(0);
    return chunk;
}

void NumberLists::Append(List& list, int32_t number) {
    if (list.tail == kNone || Used(list.tail) == Capacity(list.tail)) {
        const uint32_t capacity =
            list.tail == kNone ? 2 : std::min(kMaxChunk, Capacity(list.tail) * 2);
        const uint32_t chunk = NewChunk(capacity);
        if (list.tail == kNone) {
            list.head = chunk;
        } else {
            slots_[list.tail] = chunk;
        }
        list.tail = chunk;
    }
    const uint32_t used = Used(list.tail);
    slots_[list.tail + 2 + used] = static_cast<uint32_t>(number);
    ++slots_[list.tail + 1];
    ++list.count;
}

}  // namespace vx::index
