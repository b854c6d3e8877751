// Looking the prepared words up in a saved database file and collecting the hit documents.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "platform/host.h"
#include "search/entry_scan.h"
#include "search/query.h"
#include "search/search_database.h"

namespace vx::search {

inline constexpr char16_t kCancelledText[] = u"   Suche wurde abgebrochen! Treffer: ";

// A hit of the search: the document's path as the database stores it (Windows form, upper-case,
// escaped names as stored) and the path of its text copy built from it.
struct Hit {
    std::u16string document;
    std::u16string textCopy;
    bool textCopyLookedUp = false;  // textCopy is already what ExistingTextCopy gives
    std::string hostPath;           // the document on disk, as ExistingTextCopy found it
};

// The lists and counters of one search run and the lookup steps that fill them. The page lines
// belong to the run; the collections add the page head's count lines and keep line 2 current.
class Lookup {
  public:
    Lookup(Host& host, RunFlags& flags, std::vector<std::u16string>& pageLines,
           const PreparedQuery& query, std::u16string textCopyFolder, std::u16string databaseName);

    void SetResultLimit(int limit) { resultLimit_ = limit; }
    void SetUnd(bool und) { und_ = und; }
    void SetFirstDatabase(bool first) { firstDatabase_ = first; }
    void SetScanMode(ScanMode mode) { scanMode_ = mode; }

    // Records the matching entry lines of the database's index section (continuation lines
    // appended) in the combined list and the per-word lists, in file order.
    void ScanWordEntries(SearchDatabase& database);
    // How the last entry scan went.
    ScanPath LastScanPath() const { return scanPath_; }
    // The collections look documents up through the database's document and path lines.
    // OR: every document of the combined entries once, up to the result limit.
    void CollectAnyWord(SearchDatabase& database);
    // AND over words 1 to n: documents contained in a matching entry of every word.
    void CollectAllWords(SearchDatabase& database);
    // Turns the found list of the AND collection into hits.
    void ListFoundDocuments(SearchDatabase& database);
    // The stored path of document number d, through its document line and the path list.
    std::u16string DocumentPathOf(SearchDatabase& database, std::u16string_view number) const;
    // The text copy of a document path (as stored, or as on disk): below the text-copy folder and
    // the database name, the path without the colon of its drive, the name made the copy's name.
    std::u16string TextCopyOf(std::u16string_view document) const;
    // The text copy of document number d.
    std::u16string TextCopyPathOf(SearchDatabase& database, std::u16string_view number) const;
    Hit HitOf(SearchDatabase& database, std::u16string_view number) const;
    // The hit's text copy where it is on disk: found through the document's own path when the
    // document is still there, else the path built from the stored one. The document's host
    // path, when it was resolved for that, goes to hostPath.
    std::u16string ExistingTextCopy(const Hit& hit, std::string* hostPath = nullptr) const;

    const std::vector<std::u16string>& CombinedEntries() const { return combined_; }
    const std::vector<std::u16string>& WordEntries(int k) const {
        return wordEntries_[static_cast<std::size_t>(k)];
    }
    const std::vector<std::u16string>& FoundList() const { return found_; }
    const std::vector<Hit>& Hits() const { return hits_; }
    void ClearHits() { hits_.clear(); }
    int UniqueCount() const { return unique_; }
    int HitCount() const { return hitCount_; }
    // True when a collection ended because of the cancel request or the search-active flag.
    bool SawCancel() const { return sawCancel_; }

  private:
    class DocumentNumber;
    // The AND collection from word k (0-based) on, for document d of the first word's entry;
    // true when the collection is to end.
    bool FindInWordsFrom(int k, int n, SearchDatabase& database, const std::u16string& d,
                         const DocumentNumber& number);
    void ClearEntryLists();
    void Record(int k, const std::u16string& line, int times);
    void SetCountLine(const std::u16string& text);
    void AppendCountHead();
    bool Singular() const;
    // The cancel check of the collections; true when the collection must end.
    bool StopForInactive();
    // One find of the AND collection; true when the collection ends (limit or cancel).
    bool AndFind(SearchDatabase& database, const std::u16string& number);

    Host& host_;
    RunFlags& flags_;
    std::vector<std::u16string>& pageLines_;
    const PreparedQuery& query_;
    std::u16string textCopyFolder_;
    std::u16string databaseName_;
    int resultLimit_ = 50;
    bool und_ = false;
    bool firstDatabase_ = true;
    ScanMode scanMode_ = ScanMode::Auto;
    ScanPath scanPath_ = ScanPath::Bytes;

    std::vector<std::u16string> combined_;
    std::array<std::vector<std::u16string>, kMaxWords> wordEntries_;
    std::vector<std::u16string> found_;
    std::unordered_set<std::u16string> foundSet_;
    std::vector<Hit> hits_;
    int unique_ = 0;
    int hitCount_ = 0;
    bool sawCancel_ = false;
};

// The document numbers of an entry: the pieces between commas after its first "=" (the whole
// entry when it has none), empty pieces skipped.
std::vector<std::u16string> EntryNumbers(std::u16string_view entry);

}  // namespace vx::search
