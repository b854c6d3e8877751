// The ANSI and Unicode word lists of a database, for the search dialog's word browser.
#pragma once

#include <string>
#include <string_view>

#include "platform/collation.h"

namespace vx::index {

class WordLists {
  public:
    // A line of a pass's index list: the size line and the "[DATENBANK]" line are skipped, every
    // other line is taken as AddEntryLine takes it.
    void AddIndexLine(std::u16string_view line);
    // An entry line: trimmed and cut before its first "="; a non-empty word goes to its list.
    void AddEntryLine(std::u16string_view line);
    // A word goes to the list ClassifyWord names; equal words (collation, case ignored) once.
    void AddWord(std::u16string_view word);

    const platform::SortedUniqueList& Ansi() const { return ansi_; }
    const platform::SortedUniqueList& Unicode() const { return unicode_; }
    void Clear();
    // Writes both lists with WriteWordList.
    void Write(std::u16string_view ansiFileName, std::u16string_view unicodeFileName) const;

  private:
    platform::SortedUniqueList ansi_;
    platform::SortedUniqueList unicode_;
};

// The words in list order, each followed by CR LF.
std::u16string WordListText(const platform::SortedUniqueList& words);
// Writes WordListText with WriteToStream in code page 65001 (UTF-8 without mark).
void WriteWordList(const platform::SortedUniqueList& words, std::u16string_view fileName);

}  // namespace vx::index
