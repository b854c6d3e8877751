#include "index/detail/unicode_postings.h"

#include <algorithm>
#include <numeric>

#include "index/detail/merge_rules.h"
#include "platform/collation.h"

// The order is worked out from one collation key per word, as merge_order.h explains; the
// entries of one word, or of words whose primary keys are equal, follow their numbers.

namespace vx::index {

namespace {

std::string_view Bytes(std::u16string_view s) {
    return {reinterpret_cast<const char*>(s.data()), s.size() * sizeof(char16_t)};
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

void UnicodePostings::EntryText(uint32_t index, std::u16string& out) const {
    const Posting& posting = postings_[index];
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
                                                   EntryText(items[i], scratch);
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
    if (!MergeRulesHold()) {
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
        EntryText(p, text);
        sink(text);
    }
}

}  // namespace vx::index
