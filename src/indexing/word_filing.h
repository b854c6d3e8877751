// Splitting the lines of a document's text copy into words and filing them in the word index.
#pragma once

#include <atomic>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "index/word_index.h"
#include "indexing/detail/word_separators.h"

namespace vx::indexing {

// True when c separates words under the split.
bool IsWordSeparator(char16_t c, WordSplit split);

// The words of the text under the split: maximal runs of non-separators, in order.
std::vector<std::u16string_view> SplitWords(std::u16string_view text, WordSplit split);

// A word after the word rules: the form that is filed and its class (word buckets for ANSI
// words, the Unicode postings otherwise).
struct NormalizedWord {
    std::u16string text;
    bool ansi = false;
};

// The word rules up to the filing: trimming, words starting with a digit or longer than 50
// code units discarded, ".." cut, trailing dots removed, the class decision and, for a Unicode
// word, its leading-character removal. Nothing when the word is discarded. A single-character
// ANSI word is returned too (the filing skips it).
std::optional<NormalizedWord> NormalizeWord(std::u16string_view word);

// Files one word (as it comes out of a split) for the document. Returns false when the cancel
// flag was set before the index was touched.
bool FileWord(std::u16string_view word, int32_t documentNumber, index::WordIndex& index,
              const std::atomic<bool>& cancel);

// Files the words of one text-copy line (decoded, without its line break) for the document:
// " " + upper-case(line) + " ", split 1 then split 2, the word rules, buckets or Unicode
// postings. Returns false when the cancel flag stopped it (tested before each word).
bool FileWordsOfLine(std::u16string_view line, int32_t documentNumber, index::WordIndex& index,
                     const std::atomic<bool>& cancel);

}  // namespace vx::indexing
