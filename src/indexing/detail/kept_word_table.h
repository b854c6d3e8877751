// The word table of a words file (kept_words.h): every word its documents name, once, numbered
// in the order a run first met it. Stored as one entry per word: varint (length << 1 | ANSI),
// then its bytes (Windows-1252, or the code units little-endian).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "indexing/document_words.h"

namespace vx::indexing {

class KeptWordTable : public WordNumbering {
  public:
    void NumberAll(const std::vector<Word>& words, std::vector<uint32_t>& numbers) override;
    std::optional<Word> At(uint64_t n) const override;
    std::size_t Size() const { return BaseSize() + offsets_.size(); }

    // Whether a document appended to the file names word n, and how many words they name.
    void MarkUsed(uint64_t n);
    std::size_t UsedCount() const { return usedCount_; }

    // Gives the stored table to the sink in pieces.
    void WriteTo(const std::function<void(std::string_view)>& sink) const;
    // The table of count entries that WriteTo gave, for reading; nullopt when the bytes are not
    // of that form.
    static std::optional<KeptWordTable> Parse(std::string_view bytes, uint64_t count);
    // A table that goes on from this one, which must stay as it is while the new one lives: the
    // same words under the same numbers, none of them used yet. It looks up only the words it
    // adds, so a word that this one holds may come again under a new number.
    KeptWordTable Continued() const;

  private:
    // An entry: its number, the index's hash of the word, its length (the top bit set for ANSI),
    // then its bytes.
    static constexpr std::size_t kHead = 9;
    struct Slot {
        uint32_t hash = 0;
        uint32_t entry = kEmpty;  // its place
    };
    static constexpr uint32_t kEmpty = 0xFFFFFFFF;

    static uint32_t SlotHash(const Word& word) { return word.hash ^ (word.ansi ? 0 : 0x9E3779B9); }
    std::size_t BaseSize() const { return base_ == nullptr ? 0 : base_->Size(); }
    bool Holds(uint32_t entry, const Word& word) const;
    uint32_t Find(const Word& word, uint32_t hash) const;  // an added word's number, or kEmpty
    uint32_t Add(const Word& word, uint32_t hash);
    void Place(uint32_t hash, uint32_t entry);
    void Grow();

    const KeptWordTable* base_ = nullptr;  // the table this one goes on from
    bool numbering_ = true;                // it keeps slots to look up the words it adds
    // Entries in pages that never move; an entry's place is page << kPageBits | offset.
    static constexpr unsigned kPageBits = 20;
    const char* Entry(uint32_t place) const {
        return pages_[place >> kPageBits].get() + (place & ((1u << kPageBits) - 1));
    }
    std::vector<std::unique_ptr<char[]>> pages_;
    std::size_t pageUsed_ = 0;
    std::vector<uint32_t> offsets_;  // number - BaseSize() -> entry
    std::vector<Slot> slots_;        // open addressing, at most 3/4 full
    std::vector<bool> used_;         // by number
    std::size_t usedCount_ = 0;
};

}  // namespace vx::indexing
