#include "search/word_lookup.h"

#include "index/database_lines.h"
#include "index/stored_names.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "platform/text.h"
#include "search/result_page.h"

namespace vx::search {

using platform::IntText;

std::vector<std::u16string> EntryNumbers(std::u16string_view entry) {
    const std::u16string_view list = index::EntryNumberList(entry);
    std::vector<std::u16string> numbers;
    std::size_t start = 0;
    while (start <= list.size()) {
        std::size_t comma = list.find(u',', start);
        if (comma == std::u16string_view::npos) comma = list.size();
        if (comma > start) numbers.emplace_back(list.substr(start, comma - start));
        start = comma + 1;
    }
    return numbers;
}

Lookup::Lookup(Host& host, RunFlags& flags, std::vector<std::u16string>& pageLines,
               const PreparedQuery& query, std::u16string textCopyFolder,
               std::u16string databaseName)
    : host_(host),
      flags_(flags),
      pageLines_(pageLines),
      query_(query),
      textCopyFolder_(std::move(textCopyFolder)),
      databaseName_(std::move(databaseName)) {}

void Lookup::ClearEntryLists() {
    combined_.clear();
    for (auto& list : wordEntries_) list.clear();
}

void Lookup::Record(int k, const std::u16string& line, int times) {
    for (int t = 0; t < times; ++t) {
        if (k == 0) {
            combined_.push_back(line);
            if (und_) wordEntries_[0].push_back(line);
        } else if (und_) {
            wordEntries_[static_cast<std::size_t>(k)].push_back(line);
        } else {
            combined_.push_back(line);
        }
    }
}

void Lookup::ScanWordEntries(SearchDatabase& database) {
    ClearEntryLists();
    host_.Pause();  // the one point of a search where a click of the close button is taken
    EntryMatcher matcher(
        query_, [this](int k, const std::u16string& line, int times) { Record(k, line, times); },
        [this] { ClearEntryLists(); });
    scanPath_ = ScanIndexSection(database, matcher, scanMode_);
}

bool Lookup::Singular() const {
    return query_.ExistingWords() == 1;
}

void Lookup::SetCountLine(const std::u16string& text) {
    if (pageLines_.size() > kCountLineIndex) pageLines_[kCountLineIndex] = text;
}

void Lookup::AppendCountHead() {
    pageLines_.push_back(CountLine(unique_, Singular()));
    pageLines_.push_back(u" ");
    pageLines_.push_back(kSeparatorLine);
}

std::u16string Lookup::DocumentPathOf(SearchDatabase& database, std::u16string_view number) const {
    const std::optional<std::u16string> line = database.DocumentLine(number);
    index::DocumentLineParts parts = index::SplitDocumentLine(number, line ? &*line : nullptr);
    if (auto folderLine = database.PathLine(parts.key)) parts.key = std::move(*folderLine);
    return index::DocumentPath(parts.key, parts.rest);
}

std::u16string Lookup::TextCopyOf(std::u16string_view document) const {
    std::u16string s(document);
    std::size_t drive = s.find(u":\\");
    if (drive != std::u16string::npos) s.erase(drive, 1);
    std::u16string path = textCopyFolder_ + databaseName_ + u"\\" + s;
    // Only the name is the copy's own: a folder may well be called "docs.xml".
    const std::size_t name = path.rfind(u'\\') + 1;
    if (platform::UpperCase(platform::ExtensionOf(path)) == u".XML") {
        path.replace(name, std::u16string::npos, index::TextCopyName(path.substr(name)));
    }
    return path;
}

std::u16string Lookup::TextCopyPathOf(SearchDatabase& database, std::u16string_view number) const {
    return TextCopyOf(DocumentPathOf(database, number));
}

Hit Lookup::HitOf(SearchDatabase& database, std::u16string_view number) const {
    Hit hit;
    hit.document = DocumentPathOf(database, number);
    hit.textCopy = TextCopyOf(hit.document);
    return hit;
}

std::u16string Lookup::ExistingTextCopy(const Hit& hit, std::string* hostPath) const {
    if (hit.textCopyLookedUp) {
        if (hostPath != nullptr) *hostPath = hit.hostPath;
        return hit.textCopy;
    }
    // The copy's folders and name as the indexing run wrote them, from the document's folders and
    // name as they are on disk: opened as written, without searching folders for a name in
    // another letter case. Escaped names stand in the copy's path as stored.
    if (hit.document.find(index::kEscapeMark) == std::u16string::npos) {
        const std::string onDisk = platform::ToHostPath(hit.document);
        if (hostPath != nullptr) *hostPath = onDisk;
        if (!onDisk.empty()) {
            std::u16string copy = TextCopyOf(platform::ToWindowsPath(onDisk));
            if (platform::FileExists(copy)) return copy;
        }
    }
    return hit.textCopy;
}

bool Lookup::StopForInactive() {
    if (flags_.searchActive) return false;
    flags_.cancel = false;
    host_.SetCurrentFile(kCancelledText + IntText(hitCount_));
    sawCancel_ = true;
    return true;
}

void Lookup::CollectAnyWord(SearchDatabase& database) {
    found_.clear();
    foundSet_.clear();
    const int limit = resultLimit_;
    if (firstDatabase_) AppendCountHead();
    for (const std::u16string& entry : combined_) {
        if (!flags_.searchActive) {
            SetCountLine(CountLine(hitCount_, Singular()));
            StopForInactive();
            return;
        }
        for (std::u16string& number : EntryNumbers(entry)) {
            if (foundSet_.contains(number)) continue;
            foundSet_.insert(number);
            found_.push_back(number);
            ++unique_;
            SetCountLine(CountLine(unique_, false));
            Hit hit = HitOf(database, number);
            if (hitCount_ >= limit || flags_.cancel) {
                if (flags_.cancel) sawCancel_ = true;
                combined_.clear();
                SetCountLine(CountLine(hitCount_, Singular()));
                flags_.cancel = false;
                flags_.searchActive = false;
                return;
            }
            hits_.push_back(std::move(hit));
            ++hitCount_;
        }
    }
    combined_.clear();
    SetCountLine(CountLine(unique_, Singular()));
}

bool Lookup::AndFind(SearchDatabase& database, const std::u16string& number) {
    if (hitCount_ >= resultLimit_ || flags_.cancel) {
        if (flags_.cancel) sawCancel_ = true;
        ListFoundDocuments(database);
        flags_.searchActive = false;
        flags_.cancel = false;
        return true;
    }
    found_.push_back(number);
    ++hitCount_;
    return false;
}

// Whether an entry line lists document number d (after its "=" or between two commas).
class Lookup::DocumentNumber {
  public:
    explicit DocumentNumber(const std::u16string& d)
        : inside_(u"," + d + u","), first_(u"=" + d + u",") {}
    bool ListedIn(const std::u16string& entry) const {
        return entry.find(inside_) != std::u16string::npos ||
               entry.find(first_) != std::u16string::npos;
    }

  private:
    std::u16string inside_, first_;
};

void Lookup::CollectAllWords(SearchDatabase& database) {
    found_.clear();
    foundSet_.clear();
    combined_.clear();
    const int n = std::min(query_.count, static_cast<int>(kMaxWords));
    if (n >= 2) {
        for (const std::u16string& entry1 : wordEntries_[0]) {
            const std::vector<std::u16string> numbers = EntryNumbers(entry1);
            for (const std::u16string& entry2 : wordEntries_[1]) {
                if (StopForInactive()) return;
                for (const std::u16string& d : numbers) {
                    if (StopForInactive()) return;
                    const DocumentNumber number(d);
                    if (number.ListedIn(entry2) && FindInWordsFrom(2, n, database, d, number)) {
                        return;
                    }
                }
            }
        }
    }
    if (flags_.searchActive) {
        ListFoundDocuments(database);
    } else {
        flags_.cancel = false;
    }
}

bool Lookup::FindInWordsFrom(int k, int n, SearchDatabase& database, const std::u16string& d,
                             const DocumentNumber& number) {
    // Every combination of entries of words 1 to n that lists the document finds it once more.
    if (k == n) return AndFind(database, d);
    // A query of three words looks at the flags per document only, not per entry of its third
    // word.
    const bool lookAtFlags = !(k == 2 && n == 3);
    for (const std::u16string& entry : wordEntries_[static_cast<std::size_t>(k)]) {
        if (lookAtFlags && StopForInactive()) return true;
        if (number.ListedIn(entry) && FindInWordsFrom(k + 1, n, database, d, number)) return true;
    }
    return false;
}

void Lookup::ListFoundDocuments(SearchDatabase& database) {
    if (firstDatabase_) AppendCountHead();
    for (const std::u16string& d : found_) {
        ++unique_;
        Hit hit = HitOf(database, d);
        hit.textCopy = ExistingTextCopy(hit, &hit.hostPath);
        hit.textCopyLookedUp = true;
        // A missing text copy only drops this document; the others are still listed.
        if (!platform::FileExists(hit.textCopy)) continue;
        hits_.push_back(std::move(hit));
    }
    SetCountLine(CountLine(hitCount_, Singular()));
    combined_.clear();
    found_.clear();
}

}  // namespace vx::search
