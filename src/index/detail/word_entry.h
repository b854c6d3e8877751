// One word entry of a bucket in compact form: where its word (Windows-1252) lies in the index's
// word store, its bucket, and its document numbers in filing order. The entry text "WORD=n1,n2,"
// is built only when the index is saved.
#pragma once

#include <cstdint>
#include <limits>
#include <string_view>

#include "index/detail/number_lists.h"

namespace vx::index {

class WordEntry {
  public:
    static constexpr uint32_t kNone = std::numeric_limits<uint32_t>::max();

    WordEntry() = default;
    WordEntry(uint32_t wordOffset, uint32_t wordLength, int bucket)
        : wordOffset_(wordOffset), wordLength_(wordLength), bucket_(static_cast<int16_t>(bucket)) {}

    std::string_view Word(std::string_view store) const {
        return store.substr(wordOffset_, wordLength_);
    }
    int Bucket() const { return bucket_; }
    uint32_t NextOfWord() const { return nextOfWord_; }
    void SetNextOfWord(uint32_t next) { nextOfWord_ = next; }

    // Within a run numbers only grow, so the last number answers nearly every question.
    bool Holds(int32_t number, const NumberLists& lists) const {
        if (numbers_.count == 0) return false;
        if (ascending_) return number <= last_ && (number == last_ || HeldEarlier(number, lists));
        return number == last_ || HeldEarlier(number, lists);
    }

    void Append(int32_t number, NumberLists& lists) {
        if (numbers_.count > 0 && number <= last_) ascending_ = false;
        lists.Append(numbers_, number);
        last_ = number;
    }

    // Calls f with every number in filing order.
    template <typename F>
    void ForEachNumber(const NumberLists& lists, const F& f) const {
        lists.ForEach(numbers_, f);
    }
    std::size_t NumberCount() const { return numbers_.count; }

  private:
    bool HeldEarlier(int32_t number, const NumberLists& lists) const {
        bool found = false;
        lists.ForEach(numbers_, [&](int32_t n) { found = found || n == number; });
        return found;
    }

    uint32_t wordOffset_ = 0;
    uint32_t wordLength_ = 0;
    int16_t bucket_ = 0;
    bool ascending_ = true;        // numbers were filed in ascending order (the normal case)
    uint32_t nextOfWord_ = kNone;  // next lookup-visible entry of the same word
    int32_t last_ = 0;
    NumberLists::List numbers_;
};

static_assert(sizeof(WordEntry) <= 32);

}  // namespace vx::index
