// Open-addressing hash table from a word to the first of its entries. The table keeps only the
// hash and the entry number; the word itself is compared through the caller's entries, so a
// lookup touches one slot and the entry it needs anyway.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <limits>
#include <string_view>
#include <vector>

namespace vx::index {

class WordTable {
  public:
    static constexpr uint32_t kNone = std::numeric_limits<uint32_t>::max();

    static uint32_t Hash(std::string_view word) {
        const std::size_t h = std::hash<std::string_view>{}(word);
        return static_cast<uint32_t>(h ^ (h >> 32));
    }

    // The entry stored for word, or kNone; wordOf(entry) yields an entry's word.
    template <typename WordOf>
    uint32_t Find(std::string_view word, uint32_t hash, const WordOf& wordOf) const {
        if (slots_.empty()) return kNone;
        for (std::size_t i = hash & mask_;; i = (i + 1) & mask_) {
            const Slot& slot = slots_[i];
            if (slot.entry == kNone) return kNone;
            if (slot.hash == hash && wordOf(slot.entry) == word) return slot.entry;
        }
    }

    // Stores entry for a word that Find does not know.
    void Insert(uint32_t hash, uint32_t entry) {
        if ((size_ + 1) * 2 > slots_.size()) Grow();
        Place(hash, entry);
        ++size_;
    }

    void Clear() {
        decltype(slots_)().swap(slots_);
        mask_ = 0;
        size_ = 0;
    }

  private:
    struct Slot {
        uint32_t hash = 0;
        uint32_t entry = kNone;
    };

    void Place(uint32_t hash, uint32_t entry) {
        std::size_t i = hash & mask_;
        while (slots_[i].entry != kNone) i = (i + 1) & mask_;
        slots_[i] = {hash, entry};
    }

    void Grow() {
        std::vector<Slot> old;
        old.swap(slots_);
        slots_.assign(old.empty() ? 1024 : old.size() * 2, Slot{});
        mask_ = slots_.size() - 1;
        for (const Slot& slot : old) {
            if (slot.entry != kNone) Place(slot.hash, slot.entry);
        }
    }

    std::vector<Slot> slots_;
    std::size_t mask_ = 0;
    std::size_t size_ = 0;
};

}  // namespace vx::index
