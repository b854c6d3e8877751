#include "index/word_index.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <limits>
#include <unordered_map>

#include "index/bucket_selection.h"
#include "platform/ansi.h"
#include "platform/collation.h"

namespace vx::index {

namespace {

constexpr uint32_t kNoEntry = std::numeric_limits<uint32_t>::max();

// One word entry: the word (Windows-1252) and its document numbers in filing order. The entry
// text "WORD=n1,n2," is only built when the index is saved.
struct Entry {
    std::string word;
    std::vector<int32_t> numbers;
    uint32_t nextOfWord = kNoEntry;  // next lookup-visible entry of the same word
    int16_t bucket = 0;
    bool ascending = true;  // numbers were filed in ascending order (the normal case)

    bool Holds(int32_t number) const {
        if (ascending) {
            if (number > numbers.back()) return false;
            return std::binary_search(numbers.begin(), numbers.end(), number);
        }
        return std::find(numbers.begin(), numbers.end(), number) != numbers.end();
    }
    void Append(int32_t number) {
        if (number <= numbers.back()) ascending = false;
        numbers.push_back(number);
    }
};

struct WordHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
};

// The lookup-visible entries of one word, as a chain through Entry::nextOfWord.
struct Chain {
    uint32_t first = kNoEntry;
    uint32_t last = kNoEntry;
};

void AppendNumber(std::u16string& out, int32_t number) {
    char digits[16];
    const auto result = std::to_chars(digits, digits + sizeof digits, number);
    for (const char* p = digits; p != result.ptr; ++p) out.push_back(static_cast<char16_t>(*p));
    out.push_back(u',');
}

}  // namespace

struct WordIndex::Impl {
    std::vector<Entry> entries;
    std::array<std::vector<uint32_t>, kBucketCount> buckets;
    std::array<int64_t, kBucketCount> counters{};
    std::unordered_map<std::string, Chain, WordHash, std::equal_to<>> lookup;
    platform::SortedUniqueList unicodePostings;

    // The entry text as saved: the ANSI entry widened (ANSI to wide and back leaves it as it is).
    void EntryText(const Entry& entry, std::u16string& out) const {
        out.clear();
        out.reserve(entry.word.size() + 1 + entry.numbers.size() * 7);
        for (const char c : entry.word) {
            out.push_back(platform::AnsiToWideChar(static_cast<unsigned char>(c)));
        }
        out.push_back(u'=');
        for (const int32_t n : entry.numbers) AppendNumber(out, n);
    }
};

WordIndex::WordIndex() : impl_(std::make_unique<Impl>()) {}
WordIndex::~WordIndex() = default;

void WordIndex::ExtendWordEntry(std::string_view key, int32_t number, bool& handled) {
    // Only an entry of exactly this word begins with key = word + "=".
    std::string_view word = key;
    if (!word.empty() && word.back() == '=') word.remove_suffix(1);
    const auto found = impl_->lookup.find(word);
    if (found == impl_->lookup.end()) return;
    for (uint32_t id = found->second.first; id != kNoEntry;) {
        Entry& entry = impl_->entries[id];
        // "Already filed" looks at the number list only, never at the word: A17,B still
        // receives document 17. Every new number is filed; the counter is a statistic.
        if (!entry.Holds(number)) {
            ++impl_->counters[entry.bucket];
            entry.Append(number);
        }
        handled = false;
        id = entry.nextOfWord;
    }
}

void WordIndex::AddWordEntry(std::string_view word, int32_t number) {
    const BucketSet add = SelectBucketSet(word, BucketPurpose::Add);
    if (add.count == 0) return;
    // Lookup selects on the key word + "=", so a one-byte word shows "=" as its second byte.
    const unsigned char c1 = word.empty() ? 0 : static_cast<unsigned char>(word[0]);
    const unsigned char c2 = word.size() >= 2 ? static_cast<unsigned char>(word[1]) : '=';
    const BucketSet lookup = SelectBucketSet(c1, c2, BucketPurpose::Lookup);
    for (int i = 0; i < add.count; ++i) {
        const int bucket = add.buckets[i];
        const auto id = static_cast<uint32_t>(impl_->entries.size());
        Entry entry;
        entry.word.assign(word);
        entry.numbers.push_back(number);
        entry.bucket = static_cast<int16_t>(bucket);
        impl_->entries.push_back(std::move(entry));
        impl_->buckets[bucket].push_back(id);
        // Entries that lookup never visits (the "&" second-umlaut case) stay out of the
        // chain, so every later occurrence adds another entry there, as the file shows.
        if (!lookup.Contains(bucket)) continue;
        Chain& chain = impl_->lookup.try_emplace(std::string(word)).first->second;
        if (chain.last == kNoEntry) {
            chain.first = id;
        } else {
            impl_->entries[chain.last].nextOfWord = id;
        }
        chain.last = id;
    }
}

void WordIndex::AddUnicodePosting(std::u16string_view word, int32_t number) {
    std::u16string entry(word);
    entry.push_back(u'=');
    AppendNumber(entry, number);
    impl_->unicodePostings.Add(std::move(entry));
}

void WordIndex::ListenLoeschen() {
    std::vector<Entry>().swap(impl_->entries);
    for (auto& bucket : impl_->buckets) std::vector<uint32_t>().swap(bucket);
    impl_->lookup = {};
    impl_->unicodePostings.Clear();
}

void WordIndex::ForEachEntry(const std::function<void(std::u16string_view)>& sink) const {
    std::u16string text;
    for (const int bucket : SaveOrder()) {
        for (const uint32_t id : impl_->buckets[bucket]) {
            impl_->EntryText(impl_->entries[id], text);
            sink(text);
        }
    }
    for (const std::u16string& posting : impl_->unicodePostings) sink(posting);
}

void WordIndex::SaveBuckets(std::vector<std::u16string>& indexList) const {
    ForEachEntry([&](std::u16string_view entry) { indexList.emplace_back(entry); });
}

void WordIndex::ResetExtensionCounters() {
    impl_->counters.fill(0);
}

int64_t WordIndex::ExtensionCounter(int bucket) const {
    return impl_->counters.at(bucket);
}

std::vector<std::u16string> WordIndex::BucketEntries(int bucket) const {
    std::vector<std::u16string> result;
    for (const uint32_t id : impl_->buckets.at(bucket)) {
        impl_->EntryText(impl_->entries[id], result.emplace_back());
    }
    return result;
}

std::size_t WordIndex::UnicodePostingCount() const {
    return impl_->unicodePostings.Size();
}

}  // namespace vx::index
