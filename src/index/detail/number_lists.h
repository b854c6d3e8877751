// The document numbers of the word entries, in filing order. Every list grows in chunks of one
// shared pool (2, 4, 8, ... numbers, at most 256 per chunk), each chunk linked to the next: a
// list of n numbers takes about n to 2n slots and no number ever moves.
#pragma once

#include <cstdint>
#include <limits>

#include "index/detail/paged_vector.h"

namespace vx::index {

class NumberLists {
  public:
    static constexpr uint32_t kNone = std::numeric_limits<uint32_t>::max();

    struct List {
        uint32_t head = kNone;  // first chunk
        uint32_t tail = kNone;  // last chunk
        uint32_t count = 0;
    };

    void Append(List& list, int32_t number);

    // Calls f(number) for every number of the list in filing order.
    template <typename F>
    void ForEach(const List& list, const F& f) const {
        for (uint32_t chunk = list.head; chunk != kNone; chunk = Next(chunk)) {
            const uint32_t used = Used(chunk);
            for (uint32_t i = 0; i < used; ++i) f(static_cast<int32_t>(slots_[chunk + 2 + i]));
        }
    }

    // Drops every list (the lists handed out become invalid).
    void Clear() { slots_.clear(); }

  private:
    static constexpr uint32_t kMaxChunk = 256;

    // Chunk layout: next chunk, capacity << 16 | used, then the numbers.
    uint32_t Next(uint32_t chunk) const { return slots_[chunk]; }
    uint32_t Used(uint32_t chunk) const { return slots_[chunk + 1] & 0xFFFF; }
    uint32_t Capacity(uint32_t chunk) const { return slots_[chunk + 1] >> 16; }
    uint32_t NewChunk(uint32_t capacity);

    // Pages of 64 Ki slots; a chunk never crosses a page.
    PagedVector<uint32_t, 16> slots_;
};

}  // namespace vx::index
