// The Unicode postings list of the word index: one entry WORD=number, per word and document for
// the words that do not begin with an ANSI character. It is saved as a sorted list that ignores
// equal strings would hold it: in the order of the locale's comparison that ignores letter case,
// an entry equal under that comparison to an earlier one left out.
//
// Filing only records (word, number); the order is worked out when the list is saved, from one
// collation key per distinct word instead of one per entry (merge_order.h says why that order is
// exact).
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "index/detail/paged_vector.h"
#include "index/detail/word_table.h"

namespace vx::index {

class UnicodePostings {
  public:
    // hash = Hash(word).
    void Add(std::u16string_view word, uint32_t hash, int32_t number);
    static uint32_t Hash(std::u16string_view word);
    void Clear();
    // Entries as they are saved.
    std::size_t Size() const;
    // Indices of the postings in save order, equal entries left out; the order's collation keys
    // make it the costly part of saving.
    std::vector<uint32_t> SaveOrder() const;
    // Calls sink with every entry ("WORD=12,") in an order SaveOrder gave.
    void ForEachInOrder(const std::vector<uint32_t>& order,
                        const std::function<void(std::u16string_view)>& sink) const;

    // The entry text of a posting (an index SaveOrder gives), its word and the words.
    void EntryText(uint32_t posting, std::u16string& out) const;
    uint32_t WordOf(uint32_t posting) const { return postings_[posting].word; }
    std::size_t WordCount() const { return words_.size(); }
    std::u16string_view WordText(uint32_t word) const {
        return std::u16string_view(store_).substr(words_[word].offset, words_[word].length);
    }

  private:
    struct Word {
        uint32_t offset = 0;
        uint32_t length = 0;
        int32_t lastNumber = 0;
        bool posted = false;
    };
    struct Posting {
        uint32_t word = 0;
        int32_t number = 0;
    };

    std::u16string store_;  // the words, one after the other
    std::vector<Word> words_;
    WordTable table_;  // word -> index in words_
    PagedVector<Posting, 14> postings_;
};

}  // namespace vx::index
