// The rules for the search text: the confirm check of the dialog and the word preparation.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vx::search {

inline constexpr char16_t kPlaceholderText[] = u"Sie_haben_keinen_Suchtext_eingegeben!";
inline constexpr std::size_t kMaxWords = 5;

struct ConfirmResult {
    // Information messages to show (caption "Information", button OK), in order.
    std::vector<std::u16string> messages;
    // The search field's text after the check.
    std::u16string fieldText;
    // The dialog result: true = OK (run the search), false = cancel.
    bool accepted = true;
    // The text was empty (after the wildcards of a phrase went): the placeholder stands for it.
    bool empty = false;
    // What to put on the clipboard when the clipboard option is on (the window program does; the
    // command-line tool ignores it).
    std::optional<std::u16string> clipboardText;
};

// The check run when the dialog's "&Suche" is pressed. copyToClipboard is the setting
// "Suchtext in Zwischenablage kopieren".
ConfirmResult ConfirmCheck(std::u16string_view searchText, bool phrase, bool copyToClipboard);

// A prepared search word: upper-case text as looked up ("HAUS=", "HAUS", "A ="), and its
// wildcard flags. A word with empty text does not exist and is skipped.
struct SearchWord {
    std::u16string text;
    bool leading = false;
    bool trailing = false;
};

struct PreparedQuery {
    std::u16string displayText;  // the search text with the blank fix, shown on the page
    std::array<SearchWord, kMaxWords> words;
    int count = 0;  // n: number of words used, 0 to 5
    // Number of words with non-empty text.
    int ExistingWords() const;
};

PreparedQuery PrepareWords(std::u16string_view searchFieldText);

}  // namespace vx::search
