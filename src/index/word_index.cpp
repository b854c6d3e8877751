#include "index/word_index.h"

#include <array>
#include <exception>
#include <limits>
#include <thread>

#include "index/detail/bucket_selection.h"
#include "index/detail/keyed_line_sorter.h"
#include "index/detail/merge_rules.h"
#include "index/detail/paged_vector.h"
#include "index/detail/unicode_postings.h"
#include "index/detail/word_entry.h"
#include "index/detail/word_table.h"
#include "index/text_set.h"
#include "platform/ansi.h"
#include "platform/text.h"

namespace vx::index {

namespace {

constexpr uint32_t kNoEntry = std::numeric_limits<uint32_t>::max();

static_assert(WordTable::kNone == kNoEntry && WordEntry::kNone == kNoEntry);

// The lookup buckets of a word: selected on the key word + "=", so a one-byte word shows "=" as
// its second byte.
BucketSet LookupBuckets(std::string_view word) {
    const unsigned char c1 = word.empty() ? 0 : static_cast<unsigned char>(word[0]);
    const unsigned char c2 = word.size() >= 2 ? static_cast<unsigned char>(word[1]) : '=';
    return SelectBucketSet(c1, c2, BucketPurpose::Lookup);
}

// The save order of the Unicode postings, worked out on a thread of its own while the caller goes
// on.
class SaveOrderAside {
  public:
    explicit SaveOrderAside(const UnicodePostings& postings)
        : thread_([this, &postings] {
              try {
                  order_ = postings.SaveOrder();
              } catch (...) {
                  failure_ = std::current_exception();
              }
          }) {}
    ~SaveOrderAside() {
        if (thread_.joinable()) thread_.join();
    }
    SaveOrderAside(const SaveOrderAside&) = delete;
    SaveOrderAside& operator=(const SaveOrderAside&) = delete;
    std::vector<uint32_t> Take() {
        thread_.join();
        if (failure_) std::rethrow_exception(failure_);
        return std::move(order_);
    }

  private:
    std::vector<uint32_t> order_;
    std::exception_ptr failure_;
    std::thread thread_;  // last: it starts once the others are there
};

// The upper-cased word of an entry becomes the MergeKeyText of its lines.
void EndKeyText(std::u16string& word) {
    const auto eq = word.find(u'=');
    if (eq == std::u16string::npos) {
        word.push_back(u'=');
    } else {
        word.resize(eq + 1);
    }
}

}  // namespace

struct WordIndex::Impl {
    PagedVector<WordEntry> entries;
    std::string words;  // the words of the entries, one after the other
    NumberLists numbers;
    std::array<std::vector<uint32_t>, kBucketCount> buckets;
    std::array<int64_t, kBucketCount> counters{};
    // Word -> first of its lookup-visible entries; the rest follow through nextOfWord.
    WordTable lookup;
    UnicodePostings unicodePostings;

    // The entry text as saved: the ANSI entry widened (ANSI to wide and back leaves it as it is).
    void EntryText(const WordEntry& entry, std::u16string& out) const {
        const std::string_view word = entry.Word(words);
        out.clear();
        out.reserve(word.size() + 1 + entry.NumberCount() * 7);
        for (const char c : word) {
            out.push_back(platform::AnsiToWideChar(static_cast<unsigned char>(c)));
        }
        out.push_back(u'=');
        entry.ForEachNumber(numbers, [&](int32_t n) { AppendNumber(out, n); });
    }
    uint32_t Find(std::string_view word, uint32_t hash) const {
        return lookup.Find(word, hash, [this](uint32_t id) { return entries[id].Word(words); });
    }

    // ExtendWordEntry for a word (without "="); false when the word has no lookup-visible entry.
    bool Extend(std::string_view word, uint32_t hash, int32_t number) {
        bool found = false;
        for (uint32_t id = Find(word, hash); id != kNoEntry;) {
            WordEntry& entry = entries[id];
            // "Already filed" looks at the number list only, never at the word: A17,B still
            // receives document 17. Every new number is filed; the counter is a statistic.
            if (!entry.Holds(number, numbers)) {
                ++counters[static_cast<std::size_t>(entry.Bucket())];
                entry.Append(number, numbers);
            }
            found = true;
            id = entry.NextOfWord();
        }
        return found;
    }

    void Add(std::string_view word, uint32_t hash, int32_t number) {
        const BucketSet add = SelectBucketSet(word, BucketPurpose::Add);
        if (add.count == 0) return;
        const BucketSet lookupSet = LookupBuckets(word);
        const auto offset = static_cast<uint32_t>(words.size());
        words.append(word);
        for (int i = 0; i < add.count; ++i) {
            const int bucket = add.buckets[static_cast<std::size_t>(i)];
            const auto id = static_cast<uint32_t>(entries.size());
            WordEntry& entry =
                entries.emplace_back(offset, static_cast<uint32_t>(word.size()), bucket);
            entry.Append(number, numbers);
            buckets[static_cast<std::size_t>(bucket)].push_back(id);
            // Entries that lookup never visits (the "&" second-umlaut case) stay out of the
            // chain, so every later occurrence adds another entry there, as the file shows.
            if (!lookupSet.Contains(bucket)) continue;
            uint32_t last = Find(word, hash);
            if (last == kNoEntry) {
                lookup.Insert(hash, id);
                continue;
            }
            while (entries[last].NextOfWord() != kNoEntry) last = entries[last].NextOfWord();
            entries[last].SetNextOfWord(id);
        }
    }
};

WordIndex::WordIndex() : impl_(std::make_unique<Impl>()) {}
WordIndex::~WordIndex() = default;

uint32_t WordIndex::WordHash(std::string_view word) {
    return WordTable::Hash(word);
}

void WordIndex::ExtendWordEntry(std::string_view key, int32_t number, bool& handled) {
    // Only an entry of exactly this word begins with key = word + "=".
    std::string_view word = key;
    if (!word.empty() && word.back() == '=') word.remove_suffix(1);
    if (impl_->Extend(word, WordTable::Hash(word), number)) handled = false;
}

void WordIndex::AddWordEntry(std::string_view word, int32_t number) {
    impl_->Add(word, WordTable::Hash(word), number);
}

void WordIndex::FileOccurrence(std::string_view word, uint32_t hash, int32_t number,
                               bool admitted) {
    if (!impl_->Extend(word, hash, number) && admitted) impl_->Add(word, hash, number);
}

bool WordIndex::RefilesEveryOccurrence(std::string_view word) {
    const BucketSet add = SelectBucketSet(word, BucketPurpose::Add);
    const BucketSet lookup = LookupBuckets(word);
    for (int i = 0; i < add.count; ++i) {
        if (lookup.Contains(add.buckets[static_cast<std::size_t>(i)])) return false;
    }
    return add.count > 0;
}

void WordIndex::AddUnicodePosting(std::u16string_view word, int32_t number) {
    impl_->unicodePostings.Add(word, UnicodePostings::Hash(word), number);
}

void WordIndex::AddUnicodePosting(std::u16string_view word, uint32_t hash, int32_t number) {
    impl_->unicodePostings.Add(word, hash, number);
}

uint32_t WordIndex::UnicodeWordHash(std::u16string_view word) {
    return UnicodePostings::Hash(word);
}

void WordIndex::ListenLoeschen() {
    impl_->entries.clear();
    std::string().swap(impl_->words);
    impl_->numbers.Clear();
    for (auto& bucket : impl_->buckets) std::vector<uint32_t>().swap(bucket);
    impl_->lookup.Clear();
    impl_->unicodePostings.Clear();
}

void WordIndex::ForEachEntry(const std::function<void(std::u16string_view)>& sink) const {
    // The Unicode postings come last: their order is worked out while the buckets go to the sink.
    SaveOrderAside unicodeOrder(impl_->unicodePostings);
    std::u16string text;
    for (const int bucket : SaveOrder()) {
        for (const uint32_t id : impl_->buckets[static_cast<std::size_t>(bucket)]) {
            impl_->EntryText(impl_->entries[id], text);
            sink(text);
        }
    }
    impl_->unicodePostings.ForEachInOrder(unicodeOrder.Take(), sink);
}

std::unique_ptr<OrderedLines> WordIndex::EntriesInMergeOrder() const {
    // The lines in save order: the bucket entries, then the Unicode postings SaveOrder keeps.
    SaveOrderAside unicodeOrder(impl_->unicodePostings);
    auto entries = std::make_shared<std::vector<uint32_t>>();
    for (const int bucket : SaveOrder()) {
        const auto& ids = impl_->buckets[static_cast<std::size_t>(bucket)];
        entries->insert(entries->end(), ids.begin(), ids.end());
    }
    TextSet keyTexts;
    std::vector<uint32_t> keyOf;
    std::u16string text;
    for (const uint32_t id : *entries) {
        text.clear();
        for (const char c : impl_->entries[id].Word(impl_->words)) {
            text.push_back(
                platform::UpperCharFast(platform::AnsiToWideChar(static_cast<unsigned char>(c))));
        }
        EndKeyText(text);
        keyOf.push_back(keyTexts.Add(text));
    }
    const auto unicode = std::make_shared<std::vector<uint32_t>>(unicodeOrder.Take());
    const UnicodePostings& postings = impl_->unicodePostings;
    std::vector<uint32_t> keyOfWord(postings.WordCount(), kNoEntry);
    for (const uint32_t posting : *unicode) {
        const uint32_t word = postings.WordOf(posting);
        if (keyOfWord[word] == kNoEntry) {
            text.clear();
            platform::AppendUpperCaseFast(text, postings.WordText(word));
            AsReadBack(text);
            EndKeyText(text);
            keyOfWord[word] = keyTexts.Add(text);
        }
        keyOf.push_back(keyOfWord[word]);
    }
    const Impl& impl = *impl_;
    return std::make_unique<KeyedLineSorter>(
        keyTexts, keyOf,
        [&impl, entries, unicode, entry = std::u16string()](std::size_t line,
                                                            std::u16string& out) mutable {
            if (line < entries->size()) {
                impl.EntryText(impl.entries[(*entries)[line]], entry);
            } else {
                impl.unicodePostings.EntryText((*unicode)[line - entries->size()], entry);
            }
            out.clear();
            platform::AppendUpperCaseFast(out, entry);
            AsReadBack(out);
        });
}

void WordIndex::SaveBuckets(std::vector<std::u16string>& indexList) const {
    ForEachEntry([&](std::u16string_view entry) { indexList.emplace_back(entry); });
}

void WordIndex::ResetExtensionCounters() {
    impl_->counters.fill(0);
}

int64_t WordIndex::ExtensionCounter(int bucket) const {
    return impl_->counters.at(static_cast<std::size_t>(bucket));
}

std::vector<std::u16string> WordIndex::BucketEntries(int bucket) const {
    std::vector<std::u16string> result;
    for (const uint32_t id : impl_->buckets.at(static_cast<std::size_t>(bucket))) {
        impl_->EntryText(impl_->entries[id], result.emplace_back());
    }
    return result;
}

std::size_t WordIndex::UnicodePostingCount() const {
    return impl_->unicodePostings.Size();
}

}  // namespace vx::index
