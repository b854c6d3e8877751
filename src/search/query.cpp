#include "search/query.h"

#include "platform/text.h"
#include "search/detail/word_split.h"

namespace vx::search {

namespace {

constexpr std::u16string_view kBlank = u" ";

bool IsWildcard(char16_t c) {
    return c == u'*' || c == u'?';
}

}  // namespace

ConfirmResult ConfirmCheck(std::u16string_view searchText, bool phrase, bool copyToClipboard) {
    ConfirmResult result;
    result.fieldText = std::u16string(searchText);

    if (copyToClipboard) {
        std::u16string trimmed = platform::Trim(searchText);
        std::size_t blank = trimmed.find(u' ');
        if (phrase || blank == std::u16string::npos || blank == 0) {
            result.clipboardText = trimmed;
        } else {
            result.clipboardText = trimmed.substr(0, blank + 1);
        }
    }

    std::u16string text = platform::Trim(searchText);
    if (phrase) {
        std::u16string without;
        for (char16_t c : text) {
            if (!IsWildcard(c)) without += c;
        }
        text = std::move(without);
        result.fieldText = text;
        if (platform::Trim(text).size() == 1) {
            result.messages.push_back(
                u"Einzelne Buchstaben sind bei der \"Suche als Satz\" nicht erlaubt");
            result.accepted = false;
        }
    }
    int words = CountWords(text, kBlank);
    if (words > static_cast<int>(kMaxWords)) {
        result.messages.push_back(u"Der Suchtext darf nur maximal 5 Wörter enthalten! Sie haben " +
                                  platform::IntText(words) + u" eingetragen!");
        result.accepted = false;
    }
    if (platform::Trim(text).empty()) {
        result.fieldText = kPlaceholderText;
        result.empty = true;
    }
    return result;
}

int PreparedQuery::ExistingWords() const {
    int existing = 0;
    for (const SearchWord& w : words) {
        if (!w.text.empty()) ++existing;
    }
    return existing;
}

PreparedQuery PrepareWords(std::u16string_view searchFieldText) {
    PreparedQuery query;
    std::u16string text(searchFieldText);
    if (text.starts_with(u"* ")) text.erase(1, 1);
    if (text.starts_with(u"? ")) text.erase(1, 1);
    query.displayText = text;

    std::u16string upper = platform::UpperCase(text);
    int n = CountWords(upper, kBlank);
    if (n > static_cast<int>(kMaxWords)) n = static_cast<int>(kMaxWords);
    query.count = n;
    for (int k = 1; k <= n; ++k) {
        std::u16string w = ExtractWordAt(k, upper, kBlank);
        SearchWord& word = query.words[static_cast<std::size_t>(k - 1)];
        if (!w.empty() && IsWildcard(w.front())) {
            w.erase(0, 1);
            word.leading = true;
            // A lone wildcard leaves no word to look up; it stays empty and is skipped.
            if (w.empty()) continue;
        }
        if (w.empty() || !IsWildcard(w.back())) {
            w += u'=';
        } else {
            w.pop_back();
            if (!w.empty() && IsWildcard(w.back())) w.pop_back();
            word.trailing = true;
        }
        if (w == u"A=") w = u"A =";
        word.text = std::move(w);
    }
    return query;
}

}  // namespace vx::search
