#include "index/word_lists.h"

#include "index/database_file.h"
#include "index/database_lines.h"
#include "platform/collation.h"
#include "platform/text.h"
#include "textio/text_file.h"

namespace vx::index {

namespace {

// Set A: "@", "A"-"Z", U+00B3, U+00BB, Ä, É, Ö, Ü.
bool InSetA(char16_t c) {
    return (c >= 0x40 && c <= 0x5A) || c == 0xB3 || c == 0xBB || c == 0xC4 || c == 0xC9 ||
           c == 0xD6 || c == 0xDC;
}
// Set B: set A and ß.
bool InSetB(char16_t c) {
    return InSetA(c) || c == 0xDF;
}

}  // namespace

WordList ClassifyWord(std::u16string_view word) {
    // An empty word names nothing; it must not become an empty line of the Unicode list.
    if (word.empty()) return WordList::None;
    bool allAbove = true;
    for (const char16_t c : word) {
        if (c < 0x7F) {
            allAbove = false;
            break;
        }
    }
    if (allAbove) return WordList::Unicode;
    if (InSetA(word[0]) || (word.size() >= 2 && InSetB(word[1]))) return WordList::Ansi;
    return WordList::None;
}

void WordLists::AddIndexLine(std::u16string_view line) {
    // The entries of one word follow each other (the Unicode postings list has one per
    // document): a line that begins with the word of the line before and "=" adds nothing new.
    if (line.size() > lastWord_.size() && line[lastWord_.size()] == u'=' &&
        line.starts_with(lastWord_)) {
        return;
    }
    // The marker line itself; an entry whose word happens to contain the marker text is a word.
    if (IsIndexMarkerLine(line) || IsSizeLine(line)) return;
    lastWord_ = EntryWord(platform::TrimView(line));
    AddWord(lastWord_);
}

void WordLists::AddEntryLine(std::u16string_view line) {
    AddWord(EntryWord(platform::TrimView(line)));
}

void WordLists::AddWord(std::u16string_view word) {
    switch (ClassifyWord(word)) {
        case WordList::Ansi:
            ansi_.Add(word);
            break;
        case WordList::Unicode:
            unicode_.Add(word);
            break;
        case WordList::None:
            break;
    }
}

void WordLists::Clear() {
    lastWord_.clear();
    ansi_.Clear();
    unicode_.Clear();
}

void WordLists::Write(std::u16string_view ansiFileName, std::u16string_view unicodeFileName) const {
    ansi_.Write(ansiFileName);
    unicode_.Write(unicodeFileName);
}

void WordLists::Words::Add(std::u16string_view word) {
    // Equal texts are kept once, as the first of them; words that are only equal under the
    // collation are told apart when the list is sorted.
    if (last_ != WordTable::kNone && words_.Text(last_) == word) return;
    last_ = words_.Add(word);
}

std::vector<std::size_t> WordLists::Words::Order() const {
    std::vector<std::u16string_view> words;
    words.reserve(words_.Size());
    for (uint32_t i = 0; i < words_.Size(); ++i) words.push_back(words_.Text(i));
    return platform::UniqueCollationOrder(words);
}

std::vector<std::u16string> WordLists::Words::Sorted() const {
    std::vector<std::u16string> sorted;
    for (const std::size_t i : Order()) sorted.emplace_back(words_.Text(static_cast<uint32_t>(i)));
    return sorted;
}

void WordLists::Words::Write(std::u16string_view fileName) const {
    // Streamed: the list text is never held whole.
    textio::TextWriter writer(fileName);
    std::u16string buffer;
    for (const std::size_t i : Order()) {
        buffer.append(words_.Text(static_cast<uint32_t>(i)));
        buffer.append(u"\r\n");
        if (buffer.size() >= (1u << 16)) {
            writer.Write(buffer);
            buffer.clear();
        }
    }
    writer.Write(buffer);
    writer.Close();
}

void WordLists::Words::Clear() {
    last_ = WordTable::kNone;
    words_.Clear();
}

std::u16string WordListText(const std::vector<std::u16string>& words) {
    std::u16string text;
    for (const std::u16string& word : words) {
        text.append(word);
        text.append(u"\r\n");
    }
    return text;
}

void WriteWordList(const std::vector<std::u16string>& words, std::u16string_view fileName) {
    textio::WriteToStream(WordListText(words), fileName, textio::kCodePageUtf8);
}

}  // namespace vx::index
