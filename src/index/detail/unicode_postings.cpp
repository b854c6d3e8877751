#include "index/detail/unicode_postings.h"

#include <algorithm>
#include <charconv>
#include <numeric>

#include "platform/collation.h"

// Why one key per word orders the entries exactly.
//
// An entry is WORD + "=" + digits + ",". The collation compares the base-letter (primary) weights
// of two strings first and looks at accents, width and case only when those are all equal; its
// keys are written weight after weight, so the primary part of the key of "WORD=" is the
// beginning of the primary part of the key of every entry of that word. Hence:
// - Two words whose primary keys of "WORD=" differ at some byte within both: all entries of one
//   come before all entries of the other, in the order of those keys.
// - Words with equal primary keys of "WORD=": the entries are ordered by their numbers first,
//   compared as the text "n," (the comma weighs less than every digit), and only entries with the
//   same number (the same document) need their own keys.
// - A primary key that is a proper beginning of another (a word containing a character that
//   weighs like "="): those words' entries are ordered by their own keys.
// The comparison's treatment of commas and digits is checked once against the collator in use;
// where it does not hold, every entry is ordered by its own key.

namespace vx::index {

namespace {

std::string_view Bytes(std::u16string_view s) {
    return {reinterpret_cast<const char*>(s.data()), s.size() * sizeof(char16_t)};
}

void AppendNumber(std::u16string& out, int32_t number) {
    char digits[16];
    const auto result = std::to_chars(digits, digits + sizeof digits, number);
    for (const char* p = digits; p != result.ptr; ++p) out.push_back(static_cast<char16_t>(*p));
    out.push_back(u',');
}

// Orders non-negative numbers as their texts "n," compare: digit by digit, a number before the
// longer ones it begins.
uint64_t NumberTextOrder(int32_t number) {
    auto scaled = static_cast<uint64_t>(number);
    int digits = 1;
    for (int32_t v = number; v >= 10; v /= 10) ++digits;
    for (int d = digits; d < 10; ++d) scaled *= 10;
    return scaled << 4 | static_cast<uint64_t>(digits);
}

std::string PrimaryKey(std::u16string_view text) {
    std::string key = platform::CollationKey(text);
    key.resize(std::min(key.size(), key.find('\x01')));
    return key;
}

// Whether the collator in use orders the entries of one word by NumberTextOrder and writes the
// primary key of "WORD=" as the beginning of that of each entry.
bool NumberOrderHolds() {
    static const bool holds = [] {
        std::string previous = PrimaryKey(u",");
        if (previous.empty()) return false;
        for (char16_t digit = u'0'; digit <= u'9'; ++digit) {
            const std::string key = PrimaryKey(std::u16string(1, digit));
            if (key <= previous) return false;
            previous = key;
        }
        const int32_t numbers[] = {1,  2,  9,   10,  11,  12,   19,
                                   20, 99, 100, 101, 105, 1000, 2147483647};
        for (const std::u16string word :
             {u"\u03A9", u"\u0391\u0392\u0393", u"\u0416-\u042F", u"\u65E5\u672C", u"\u00C9"}) {
            const std::string prefix = PrimaryKey(word + u"=");
            std::vector<std::pair<uint64_t, std::string>> entries;
            for (const int32_t number : numbers) {
                std::u16string entry = word + u"=";
                AppendNumber(entry, number);
                if (!PrimaryKey(entry).starts_with(prefix)) return false;
                entries.emplace_back(NumberTextOrder(number), platform::CollationKey(entry));
            }
            std::sort(entries.begin(), entries.end());
            for (std::size_t i = 1; i < entries.size(); ++i) {
                if (!(entries[i - 1].second < entries[i].second)) return false;
            }
        }
        return true;
    }();
    return holds;
}

}  // namespace

uint32_t UnicodePostings::Hash(std::u16string_view word) {
    return WordTable::Hash(Bytes(word));
}

void UnicodePostings::Add(std::u16string_view word, uint32_t hash, int32_t number) {
    const std::string_view bytes = Bytes(word);
    uint32_t id = table_.Find(bytes, hash, [this](uint32_t w) { return Bytes(WordText(w)); });
    if (id == WordTable::kNone) {
        id = static_cast<uint32_t>(words_.size());
        Word& added = words_.emplace_back();
        added.offset = static_cast<uint32_t>(store_.size());
        added.length = static_cast<uint32_t>(word.size());
        store_.append(word);
        table_.Insert(hash, id);
    }
    Word& w = words_[id];
    if (w.posted && w.lastNumber == number) return;  // the same entry again
    w.posted = true;
    w.lastNumber = number;
    postings_.emplace_back(Posting{id, number});
}

void UnicodePostings::Clear() {
    std::u16string().swap(store_);
    std::vector<Word>().swap(words_);
    table_.Clear();
    postings_.clear();
}

void UnicodePostings::EntryText(const Posting& posting, std::u16string& out) const {
    out.assign(WordText(posting.word));
    out.push_back(u'=');
    AppendNumber(out, posting.number);
}

std::vector<uint32_t> UnicodePostings::SaveOrder() const {
    const std::size_t count = postings_.size();
    const std::size_t wordCount = words_.size();
    std::vector<uint32_t> order;
    order.reserve(count);
    if (count == 0) return order;

    // The postings of each word in filing order.
    std::vector<uint32_t> start(wordCount + 1, 0);
    for (std::size_t i = 0; i < count; ++i) ++start[postings_[i].word + 1];
    std::partial_sum(start.begin(), start.end(), start.begin());
    std::vector<uint32_t> byWord(count);
    {
        std::vector<uint32_t> next(start.begin(), start.end() - 1);
        for (std::size_t i = 0; i < count; ++i) {
            byWord[next[postings_[i].word]++] = static_cast<uint32_t>(i);
        }
    }

    // Entries ordered by their own keys, of equal ones the first filed kept.
    std::vector<std::pair<uint64_t, uint32_t>> numbered;
    const auto appendByKeys = [&](std::vector<uint32_t>& items) {
        std::sort(items.begin(), items.end());
        const platform::CollationKeyTable keys(items.size(),
                                               [&](std::size_t i, std::u16string& scratch) {
                                                   EntryText(postings_[items[i]], scratch);
                                                   return std::u16string_view(scratch);
                                               });
        std::vector<uint32_t> sorted(items.size());
        std::iota(sorted.begin(), sorted.end(), 0u);
        std::stable_sort(sorted.begin(), sorted.end(),
                         [&](uint32_t a, uint32_t b) { return keys.Key(a) < keys.Key(b); });
        for (std::size_t i = 0; i < sorted.size(); ++i) {
            if (i > 0 && keys.Key(sorted[i]) == keys.Key(sorted[i - 1])) continue;
            order.push_back(items[sorted[i]]);
        }
    };
    // Entries of words with equal primary keys: by number text, one document's entries by keys.
    const auto appendByNumbers = [&](const std::vector<uint32_t>& items) {
        numbered.clear();
        for (const uint32_t p : items)
            numbered.emplace_back(NumberTextOrder(postings_[p].number), p);
        std::sort(numbered.begin(), numbered.end());
        std::vector<uint32_t> sameNumber;
        for (std::size_t i = 0; i < numbered.size();) {
            std::size_t end = i + 1;
            while (end < numbered.size() && numbered[end].first == numbered[i].first) ++end;
            if (end == i + 1) {
                order.push_back(numbered[i].second);
            } else {
                sameNumber.clear();
                for (std::size_t k = i; k < end; ++k) sameNumber.push_back(numbered[k].second);
                appendByKeys(sameNumber);
            }
            i = end;
        }
    };

    std::vector<uint32_t> group;
    if (!NumberOrderHolds()) {
        group.resize(count);
        std::iota(group.begin(), group.end(), 0u);
        appendByKeys(group);
        return order;
    }

    const platform::CollationKeyTable primary(
        wordCount,
        [&](std::size_t w, std::u16string& scratch) {
            scratch.assign(WordText(static_cast<uint32_t>(w)));
            scratch.push_back(u'=');
            return std::u16string_view(scratch);
        },
        true);
    std::vector<uint32_t> words(wordCount);
    std::iota(words.begin(), words.end(), 0u);
    std::sort(words.begin(), words.end(), [&](uint32_t a, uint32_t b) {
        const int c = primary.Key(a).compare(primary.Key(b));
        return c != 0 ? c < 0 : a < b;
    });
    for (std::size_t g = 0; g < wordCount;) {
        // A group: the words whose primary key begins with that of the group's first word.
        const std::string_view root = primary.Key(words[g]);
        std::size_t end = g + 1;
        bool samePrimary = true;
        while (end < wordCount && primary.Key(words[end]).starts_with(root)) {
            samePrimary = samePrimary && primary.Key(words[end]).size() == root.size();
            ++end;
        }
        group.clear();
        bool nonNegative = true;
        for (std::size_t k = g; k < end; ++k) {
            for (uint32_t i = start[words[k]]; i < start[words[k] + 1]; ++i) {
                group.push_back(byWord[i]);
                nonNegative = nonNegative && postings_[byWord[i]].number >= 0;
            }
        }
        if (samePrimary && nonNegative) {
            appendByNumbers(group);
        } else {
            appendByKeys(group);
        }
        g = end;
    }
    return order;
}

std::size_t UnicodePostings::Size() const {
    return SaveOrder().size();
}

void UnicodePostings::ForEachInOrder(const std::vector<uint32_t>& order,
                                     const std::function<void(std::u16string_view)>& sink) const {
    std::u16string text;
    for (const uint32_t p : order) {
        EntryText(postings_[p], text);
        sink(text);
    }
}

}  // namespace vx::index
