// The ANSI and Unicode word lists of a database, for the search dialog's word browser.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "index/text_set.h"

namespace vx::index {

// The words are collected as they come (each distinct text once) and sorted when the lists are
// read or written; the result is that of a sorted list that ignores equal strings (collation,
// case ignored) and received the words in their order.
class WordLists {
  public:
    // A line of a pass's index list: the size line and the index section's marker line are
    // skipped, every other line is taken as AddEntryLine takes it.
    void AddIndexLine(std::u16string_view line);
    // An entry line: trimmed and cut before its first "="; a non-empty word goes to its list.
    void AddEntryLine(std::u16string_view line);
    // A word goes to the list ClassifyWord names; equal words (collation, case ignored) once.
    void AddWord(std::u16string_view word);

    // The lists in their order.
    std::vector<std::u16string> Ansi() const { return ansi_.Sorted(); }
    std::vector<std::u16string> Unicode() const { return unicode_.Sorted(); }
    void Clear();
    // Writes both lists with WriteWordList.
    void Write(std::u16string_view ansiFileName, std::u16string_view unicodeFileName) const;

  private:
    class Words {
      public:
        void Add(std::u16string_view word);
        std::vector<std::u16string> Sorted() const;
        void Write(std::u16string_view fileName) const;
        void Clear();

      private:
        // Indices of the words in list order, equal ones (collation) after the first left out.
        std::vector<std::size_t> Order() const;
        TextSet words_;
        uint32_t last_ = WordTable::kNone;  // the word added last (entries come in runs)
    };
    Words ansi_;
    Words unicode_;
    std::u16string lastWord_;  // the word of the index line added last
};

// The words in list order, each followed by CR LF.
std::u16string WordListText(const std::vector<std::u16string>& words);
// Writes WordListText with WriteToStream in code page 65001 (UTF-8 without mark).
void WriteWordList(const std::vector<std::u16string>& words, std::u16string_view fileName);

}  // namespace vx::index
