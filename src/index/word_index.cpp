#include "index/word_index.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <limits>

#include "index/bucket_selection.h"
#include "index/word_entry.h"
#include "index/word_table.h"
#include "platform/ansi.h"
#include "platform/collation.h"

namespace vx::index {

namespace {

constexpr uint32_t kNoEntry = std::numeric_limits<uint32_t>::max();

static_assert(WordTable::kNone == kNoEntry && WordEntry::kNone == kNoEntry);

void AppendNumber(std::u16string& out, int32_t number) {
    char digits[16];
    const auto result = std::to_chars(digits, digits + sizeof digits, number);
    for (const char* p = digits; p != result.ptr; ++p) out.push_back(static_cast<char16_t>(*p));
    out.push_back(u',');
}

}  // namespace

struct WordIndex::Impl {
    std::vector<WordEntry> entries;
    std::string longWords;  // words too long to stand in their entry
    std::array<std::vector<uint32_t>, kBucketCount> buckets;
    std::array<int64_t, kBucketCount> counters{};
    // Word -> first of its lookup-visible entries; the rest follow through nextOfWord.
    WordTable lookup;
    platform::SortedUniqueList unicodePostings;

    // The entry text as saved: the ANSI entry widened (ANSI to wide and back leaves it as it is).
    void EntryText(const WordEntry& entry, std::u16string& out) const {
        const std::string_view word = entry.Word(longWords);
        out.clear();
        out.reserve(word.size() + 1 + entry.NumberCount() * 7);
        for (const char c : word) {
            out.push_back(platform::AnsiToWideChar(static_cast<unsigned char>(c)));
        }
        out.push_back(u'=');
        entry.ForEachNumber([&](int32_t n) { AppendNumber(out, n); });
    }
    uint32_t Find(std::string_view word, uint32_t hash) const {
        return lookup.Find(word, hash, [this](uint32_t id) { return entries[id].Word(longWords); });
    }
};

WordIndex::WordIndex() : impl_(std::make_unique<Impl>()) {}
WordIndex::~WordIndex() = default;

void WordIndex::ExtendWordEntry(std::string_view key, int32_t number, bool& handled) {
    // Only an entry of exactly this word begins with key = word + "=".
    std::string_view word = key;
    if (!word.empty() && word.back() == '=') word.remove_suffix(1);
    for (uint32_t id = impl_->Find(word, WordTable::Hash(word)); id != kNoEntry;) {
        WordEntry& entry = impl_->entries[id];
        // "Already filed" looks at the number list only, never at the word: A17,B still
        // receives document 17. Every new number is filed; the counter is a statistic.
        if (!entry.Holds(number)) {
            ++impl_->counters[entry.Bucket()];
            entry.Append(number);
        }
        handled = false;
        id = entry.NextOfWord();
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
        impl_->entries.emplace_back(word, number, bucket, impl_->longWords);
        impl_->buckets[bucket].push_back(id);
        // Entries that lookup never visits (the "&" second-umlaut case) stay out of the
        // chain, so every later occurrence adds another entry there, as the file shows.
        if (!lookup.Contains(bucket)) continue;
        const uint32_t hash = WordTable::Hash(word);
        uint32_t last = impl_->Find(word, hash);
        if (last == kNoEntry) {
            impl_->lookup.Insert(hash, id);
            continue;
        }
        while (impl_->entries[last].NextOfWord() != kNoEntry) {
            last = impl_->entries[last].NextOfWord();
        }
        impl_->entries[last].SetNextOfWord(id);
    }
}

void WordIndex::AddUnicodePosting(std::u16string_view word, int32_t number) {
    std::u16string entry(word);
    entry.push_back(u'=');
    AppendNumber(entry, number);
    impl_->unicodePostings.Add(std::move(entry));
}

void WordIndex::ListenLoeschen() {
    decltype(impl_->entries)().swap(impl_->entries);
    std::string().swap(impl_->longWords);
    for (auto& bucket : impl_->buckets) std::vector<uint32_t>().swap(bucket);
    impl_->lookup.Clear();
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
