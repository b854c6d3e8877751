// The in-memory word index of one indexing pass: 680 word buckets with their extension counters
// and the Unicode postings list.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "index/merge_order.h"

namespace vx::index {

// Bucket numbers: the four special buckets, then the pair buckets AA ... ZZ.
constexpr int kHashBucket = 0;
constexpr int kDigitBucket = 1;
constexpr int kInitialUmlautBucket = 2;
constexpr int kSecondUmlautBucket = 3;
constexpr int kFirstPairBucket = 4;  // AA; pair XY is kFirstPairBucket + (X-'A')*26 + (Y-'A')
constexpr int kBucketCount = 680;

enum class BucketPurpose { Lookup, Add };

// The buckets a word (Windows-1252 bytes) selects, in visiting order (hash, digit,
// initial-umlaut, second-umlaut, pair). At most 4 entries.
std::vector<int> SelectBuckets(std::string_view ansiWord, BucketPurpose purpose);
// Buckets in save order: hash, digit, initial-umlaut, AA ... KO, second-umlaut, KP ... ZZ.
const std::vector<int>& SaveOrder();

class WordIndex {
  public:
    WordIndex();
    ~WordIndex();
    WordIndex(const WordIndex&) = delete;
    WordIndex& operator=(const WordIndex&) = delete;

    // key = word + "=" (Windows-1252). Appends the number to every entry of the word in the
    // lookup buckets that does not hold it yet, and clears handled when the word has an entry.
    void ExtendWordEntry(std::string_view key, int32_t number, bool& handled);
    // Appends the entry word=number, to every bucket selected for adding.
    void AddWordEntry(std::string_view word, int32_t number);
    // Records word=number, in the Unicode postings list (equal entries are ignored). Touches
    // nothing the filing of ANSI words touches: one thread may record Unicode postings while
    // another files ANSI words.
    void AddUnicodePosting(std::u16string_view word, int32_t number);
    // The same with hash = UnicodeWordHash(word), for callers that prepare words ahead.
    void AddUnicodePosting(std::u16string_view word, uint32_t hash, int32_t number);
    static uint32_t UnicodeWordHash(std::u16string_view word);

    // The hash under which the index looks a word up (for callers that prepare words ahead).
    static uint32_t WordHash(std::string_view word);
    // One occurrence of a word as the document indexing files it: ExtendWordEntry, then, when
    // the word has no entry and admitted is set, AddWordEntry. hash = WordHash(word).
    void FileOccurrence(std::string_view word, uint32_t hash, int32_t number, bool admitted);
    // Whether a further occurrence of the word in the same document can still change the index:
    // only for a word that lookup never finds, so that each occurrence adds entries again
    // ("R&D"). Any other word's repeats within one document change nothing.
    static bool RefilesEveryOccurrence(std::string_view word);

    // Empties the buckets and the Unicode postings list; the counters stay.
    void ListenLoeschen();
    // Appends every entry in save order (buckets, then the Unicode postings list) to the list.
    void SaveBuckets(std::vector<std::u16string>& indexList) const;
    // Calls sink with every entry in save order, exactly as SaveBuckets would append it; lets a
    // writer stream the index without holding a copy of it.
    void ForEachEntry(const std::function<void(std::u16string_view)>& sink) const;
    // The entries of ForEachEntry as the database text holds them (upper-cased), in merge order
    // (merge_order.h). The index must stay unchanged while they are read.
    std::unique_ptr<OrderedLines> EntriesInMergeOrder() const;
    void ResetExtensionCounters();
    // How often numbers were appended to existing entries of the bucket since the last reset
    // (a statistic; it bounds nothing).
    int64_t ExtensionCounter(int bucket) const;
    // Entries of one bucket as they would be saved (for inspection).
    std::vector<std::u16string> BucketEntries(int bucket) const;
    std::size_t UnicodePostingCount() const;

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace vx::index
