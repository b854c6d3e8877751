#include "indexing/word_filing.h"

#include <array>

#include "indexing/detail/word_rules.h"
#include "platform/ansi.h"
#include "platform/text.h"

namespace vx::indexing {

namespace {

// Calls visit(word) for every word of the text; stops and returns false when visit does.
template <typename Visit>
bool ForEachWord(std::u16string_view text, const SeparatorTable& table, Visit&& visit) {
    const std::size_t n = text.size();
    std::size_t i = 0;
    while (i < n) {
        while (i < n && table.Contains(text[i])) ++i;
        if (i == n) break;
        const std::size_t start = i;
        while (i < n && !table.Contains(text[i])) ++i;
        if (!visit(text.substr(start, i - start))) return false;
    }
    return true;
}

bool Cancelled(const std::atomic<bool>& cancel) {
    return cancel.load(std::memory_order_relaxed);
}

// Unicode words already offered to the postings list during one line. Offering a word again
// for the same document changes nothing (the list ignores an equal entry), and both splits
// mostly yield the same Unicode words, so the repeats are skipped. The views point into the
// line buffer of the call.
struct PostedWords {
    static constexpr std::size_t kLimit = 64;
    std::vector<std::u16string_view> words;

    bool Seen(std::u16string_view w) const {
        for (const auto& p : words) {
            if (p == w) return true;
        }
        return false;
    }
    void Remember(std::u16string_view w) {
        if (words.size() < kLimit) words.push_back(w);
    }
};

bool FileOneWord(std::u16string_view word, int32_t documentNumber, index::WordIndex& index,
                 const std::atomic<bool>& cancel, PostedWords* posted) {
    bool ansi = false;
    if (!ApplyWordRules(word, ansi)) return true;
    if (Cancelled(cancel)) return false;
    if (!ansi) {
        // Every occurrence counts; the postings list keeps one entry per word and document.
        if (posted != nullptr && posted->Seen(word)) return true;
        index.AddUnicodePosting(word, documentNumber);
        if (posted != nullptr) posted->Remember(word);
        return true;
    }
    if (word.size() < 2) return true;

    // The key buffer is reused: filing runs for every word of every document.
    thread_local std::string key;
    key.resize(word.size() + 1);
    for (std::size_t i = 0; i < word.size(); ++i) key[i] = platform::AnsiByte(word[i]);
    key[word.size()] = '=';

    bool handled = true;
    index.ExtendWordEntry(key, documentNumber, handled);
    if (handled && AdmitsNewEntry(word)) {
        if (Cancelled(cancel)) return false;
        index.AddWordEntry(std::string_view(key).substr(0, word.size()), documentNumber);
    }
    return true;
}

}  // namespace

bool IsWordSeparator(char16_t c, WordSplit split) {
    return SeparatorsOf(split).Contains(c);
}

std::vector<std::u16string_view> SplitWords(std::u16string_view text, WordSplit split) {
    std::vector<std::u16string_view> words;
    ForEachWord(text, SeparatorsOf(split), [&](std::u16string_view w) {
        words.push_back(w);
        return true;
    });
    return words;
}

std::optional<NormalizedWord> NormalizeWord(std::u16string_view word) {
    bool ansi = false;
    if (!ApplyWordRules(word, ansi)) return std::nullopt;
    return NormalizedWord{std::u16string(word), ansi};
}

bool FileWord(std::u16string_view word, int32_t documentNumber, index::WordIndex& index,
              const std::atomic<bool>& cancel) {
    return FileOneWord(word, documentNumber, index, cancel, nullptr);
}

bool FileWordsOfLine(std::u16string_view line, int32_t documentNumber, index::WordIndex& index,
                     const std::atomic<bool>& cancel) {
    thread_local std::u16string padded;
    padded.clear();
    padded.reserve(line.size() + 2);
    padded.push_back(u' ');
    for (const char16_t c : line) padded.push_back(platform::UpperChar(c));
    padded.push_back(u' ');

    thread_local PostedWords posted;
    posted.words.clear();
    const auto fileOne = [&](std::u16string_view w) {
        if (Cancelled(cancel)) return false;
        return FileOneWord(w, documentNumber, index, cancel, &posted);
    };
    const std::u16string_view text(padded);
    return ForEachWord(text, kFirstSplit, fileOne) && ForEachWord(text, kSecondSplit, fileOne);
}

}  // namespace vx::indexing
