// One word entry of a bucket in compact form: the word (Windows-1252) and its document numbers in
// filing order. The entry text "WORD=n1,n2," is built only when the index is saved.
//
// Filing touches one entry per occurrence, mostly of words that were last seen many documents
// ago, so the data an occurrence needs (the word to confirm the hash match, the latest numbers)
// shares the entry's first cache line; the numbers move to the heap in groups.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

namespace vx::index {

class alignas(64) WordEntry {
  public:
    static constexpr uint32_t kNone = std::numeric_limits<uint32_t>::max();

    // Long words are kept in the caller's arena, which only grows while the entry lives.
    WordEntry(std::string_view word, int32_t number, int bucket, std::string& arena)
        : wordLength_(static_cast<uint32_t>(word.size())), bucket_(static_cast<int16_t>(bucket)) {
        if (word.size() <= kInlineWord) {
            std::memcpy(inlineWord_, word.data(), word.size());
        } else {
            const auto offset = static_cast<uint32_t>(arena.size());
            arena.append(word);
            std::memcpy(inlineWord_, &offset, sizeof offset);
        }
        pending_[0] = number;
        pendingCount_ = 1;
    }

    std::string_view Word(const std::string& arena) const {
        if (wordLength_ <= kInlineWord) return {inlineWord_, wordLength_};
        uint32_t offset;
        std::memcpy(&offset, inlineWord_, sizeof offset);
        return std::string_view(arena).substr(offset, wordLength_);
    }

    int Bucket() const { return bucket_; }
    uint32_t NextOfWord() const { return nextOfWord_; }
    void SetNextOfWord(uint32_t next) { nextOfWord_ = next; }

    bool Holds(int32_t number) const {
        const int32_t* pendingEnd = pending_ + pendingCount_;
        if (ascending_) {
            if (number > Last()) return false;
            return std::find(pending_, pendingEnd, number) != pendingEnd ||
                   std::binary_search(numbers_.begin(), numbers_.end(), number);
        }
        return std::find(pending_, pendingEnd, number) != pendingEnd ||
               std::find(numbers_.begin(), numbers_.end(), number) != numbers_.end();
    }

    void Append(int32_t number) {
        if (number <= Last()) ascending_ = false;
        pending_[pendingCount_++] = number;
        if (pendingCount_ == kPending) {
            numbers_.insert(numbers_.end(), pending_, pending_ + kPending);
            pendingCount_ = 0;
        }
    }

    // Calls f with every number in filing order.
    template <typename F>
    void ForEachNumber(const F& f) const {
        for (const int32_t n : numbers_) f(n);
        for (uint32_t i = 0; i < pendingCount_; ++i) f(pending_[i]);
    }
    std::size_t NumberCount() const { return numbers_.size() + pendingCount_; }

  private:
    static constexpr std::size_t kInlineWord = 24;
    static constexpr uint32_t kPending = 6;

    int32_t Last() const { return pendingCount_ ? pending_[pendingCount_ - 1] : numbers_.back(); }

    // First cache line: everything an occurrence reads.
    char inlineWord_[kInlineWord];
    uint32_t wordLength_;
    uint32_t nextOfWord_ = kNone;  // next lookup-visible entry of the same word
    int16_t bucket_;
    uint8_t pendingCount_ = 0;
    bool ascending_ = true;  // numbers were filed in ascending order (the normal case)
    int32_t pending_[kPending];
    // Second cache line: the numbers filed before the pending ones.
    std::vector<int32_t> numbers_;
};

static_assert(sizeof(WordEntry) == 128);

}  // namespace vx::index
