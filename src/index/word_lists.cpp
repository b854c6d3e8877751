#include "index/word_lists.h"

#include "index/database_file.h"
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
    // The marker line itself; an entry whose word happens to contain the marker text is a word.
    if (IsIndexMarkerLine(line) || IsSizeLine(line)) return;
    AddEntryLine(line);
}

void WordLists::AddEntryLine(std::u16string_view line) {
    AddWord(EntryWord(platform::TrimView(line)));
}

void WordLists::AddWord(std::u16string_view word) {
    switch (ClassifyWord(word)) {
        case WordList::Ansi:
            ansi_.Add(std::u16string(word));
            break;
        case WordList::Unicode:
            unicode_.Add(std::u16string(word));
            break;
        case WordList::None:
            break;
    }
}

void WordLists::Clear() {
    ansi_.Clear();
    unicode_.Clear();
}

void WordLists::Write(std::u16string_view ansiFileName, std::u16string_view unicodeFileName) const {
    WriteWordList(ansi_, ansiFileName);
    WriteWordList(unicode_, unicodeFileName);
}

std::u16string WordListText(const platform::SortedUniqueList& words) {
    std::u16string text;
    for (const std::u16string& word : words) {
        text.append(word);
        text.append(u"\r\n");
    }
    return text;
}

void WriteWordList(const platform::SortedUniqueList& words, std::u16string_view fileName) {
    textio::WriteToStream(WordListText(words), fileName, textio::kCodePageUtf8);
}

}  // namespace vx::index
