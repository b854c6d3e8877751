#include "search/search_run.h"

#include <algorithm>
#include <cerrno>
#include <functional>
#include <optional>
#include <unordered_map>

#include "index/database_files.h"
#include "index/database_lines.h"
#include "index/stored_names.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "platform/profile_reader.h"
#include "platform/text.h"
#include "search/context.h"
#include "search/html_text.h"
#include "search/result_page.h"
#include "search/search_database.h"
#include "search/word_lookup.h"
#include "textio/text_file.h"

namespace vx::search {

namespace {

constexpr int kMinLimit = 1;
constexpr int kMaxLimit = 50;

// Which heading and collection the dialog state and the words choose.
struct Choice {
    Heading heading = Heading::None;
    enum { None, Any, All } collection = None;
};

Choice ChooseCollection(const SearchOptions& options, const PreparedQuery& query) {
    const bool onlyFirst = !query.words[0].text.empty() && query.words[1].text.empty();
    if (onlyFirst) return {Heading::SingleWord, Choice::Any};
    if (options.oder) return {Heading::Oder, Choice::Any};
    if (options.und) return {Heading::Und, Choice::All};
    return {};
}

// Opens the database file for the search; nothing when it is damaged (no scan-mask key, or a
// file that does not open).
std::optional<SearchDatabase> OpenDatabase(const std::u16string& databaseFile, ScanMode mode) {
    if (platform::ReadProfileString(databaseFile, index::kScanMaskSection, index::kScanMaskKey)
            .empty()) {
        return std::nullopt;
    }
    try {
        return SearchDatabase::Open(databaseFile, mode == ScanMode::Auto);
    } catch (const std::exception&) {
        return std::nullopt;  // a file that cannot be read ends the search as a damaged one
    }
}

// The documents the page lists (SearchResult::hitPaths), each once with the context lines of
// all its words.
class ShownHits {
  public:
    ShownHits(SearchResult& result, LinkTargets& links) : result_(result), links_(links) {}

    void Note(const std::u16string& displayPath, const Context& context) {
        const std::string& path = links_.HostPathOf(displayPath);
        const auto [entry, added] = listed_.try_emplace(path, result_.hitPaths.size());
        if (added) {
            result_.hitPaths.push_back(path);
            result_.hitContexts.emplace_back();
        }
        // Every word of the search adds the lines it was found in; a line is listed once.
        std::vector<std::u16string>& lines = result_.hitContexts[entry->second];
        for (std::u16string& line : context.PlainLines()) {
            if (std::find(lines.begin(), lines.end(), line) == lines.end()) {
                lines.push_back(std::move(line));
            }
        }
    }

  private:
    SearchResult& result_;
    LinkTargets& links_;
    std::unordered_map<std::string, std::size_t> listed_;  // path -> its entry of hitPaths
};

// The contexts of one hit's words. Its text copy is read once for all of them; one that cannot
// be read is like a missing one: no context at all. A cancel request empties every context. The
// copy is read into the buffer the hit before left, and leaves it to the next. The document's path
// on disk, found on the way to its copy, is passed on to the links.
class HitContexts {
  public:
    HitContexts(const Lookup& lookup, const Hit& hit, const RunFlags& flags, bool& cancelled,
                std::string& buffer, LinkTargets& links)
        : lookup_(lookup),
          hit_(hit),
          flags_(flags),
          cancelled_(cancelled),
          buffer_(buffer),
          links_(links) {}
    HitContexts(const HitContexts&) = delete;
    HitContexts& operator=(const HitContexts&) = delete;
    ~HitContexts() {
        if (copy_) buffer_ = std::move(*copy_).Release();
    }

    Context Of(const ContextWord& word) {
        Context context;
        if (!flags_.cancel) {
            if (!copyRead_) {
                copyRead_ = true;
                std::string hostPath;
                const std::u16string file = lookup_.ExistingTextCopy(hit_, &hostPath);
                if (!hostPath.empty()) links_.NoteHostPath(hit_.document, std::move(hostPath));
                if (platform::FileExists(file)) copy_ = TextCopy::Read(file, std::move(buffer_));
            }
            if (copy_) context = CollectContextIn(*copy_, word);
        }
        if (flags_.cancel) {
            cancelled_ = true;
            context = Context();
        }
        context.Trim();
        return context;
    }

  private:
    const Lookup& lookup_;
    const Hit& hit_;
    const RunFlags& flags_;
    bool& cancelled_;
    std::string& buffer_;
    LinkTargets& links_;
    std::optional<TextCopy> copy_;
    bool copyRead_ = false;
};

// After these hits (numbered from 0) a page is written before the search goes on, so that the
// browser shows the first results early; only when more hits than moreThan were found.
struct InterimPage {
    std::size_t afterHit;
    std::size_t moreThan;
};
constexpr InterimPage kInterimPages[] = {{5, 11}, {25, 36}, {50, 61}, {75, 86}};

// The page lines while the hits are listed: the head, the interim pages, the page at the result
// limit and the final page. write() writes the lines as they stand.
class ResultPageWriter {
  public:
    ResultPageWriter(std::vector<std::u16string>& lines, const PreparedQuery& query,
                     std::function<void()> write)
        : lines_(lines), query_(query), write_(std::move(write)) {}

    void AfterHit(std::size_t hit, std::size_t total) {
        for (const InterimPage& interim : kInterimPages) {
            if (hit != interim.afterHit || total <= interim.moreThan) continue;
            EnsureHead();
            const int count = CountPathLines(lines_, false);
            if (hit + 1 < total) lines_[kCountLineIndex] = IntermediateCountLine(count);
            write_();
        }
    }

    void WriteLimitPage() {
        EnsureHead();
        lines_[kCountLineIndex] = LimitCountLine(CountPathLines(lines_, false));
        write_();
    }

    void WriteFinalPage(const std::u16string& databaseName) {
        EnsureHead();
        lines_[kCountLineIndex] =
            FinalCountLine(CountPathLines(lines_, true), HtmlEscape(databaseName));
        write_();
    }

  private:
    // The head is complete even when no collection ran or one ended before writing it.
    void EnsureHead() {
        if (lines_.empty()) {
            lines_.push_back(HeadingLine(Heading::None));
            lines_.push_back(SearchTextLine(query_.displayText));
        }
        if (lines_.size() < kPageHeadLines) {
            lines_.resize(2);
            lines_.push_back(CountLine(0, query_.ExistingWords() == 1));
            lines_.push_back(u" ");
            lines_.push_back(kSeparatorLine);
        }
    }

    std::vector<std::u16string>& lines_;
    const PreparedQuery& query_;
    std::function<void()> write_;
};

// The block of a phrase hit: its path and its marked context. Only a document with the phrase
// on a line counts as found; the others show "Kein Kontext enthalten!".
void AddPhraseBlock(std::vector<std::u16string>& lines, const Context& context,
                    const std::u16string& phrase, const std::u16string& displayPath,
                    ShownHits& shown, SearchResult& result) {
    if (context.Empty()) return;
    std::u16string marked = MarkContext(context, phrase, false, false, true);
    lines.push_back(HtmlEscape(displayPath));
    lines.push_back(std::move(marked));
    ++result.allWordsDocuments;
    if (context.HoldsLines()) shown.Note(displayPath, context);
}

// The block of one word of a hit: its path (unless the context says there is none) and the
// marked context.
void AddWordBlock(std::vector<std::u16string>& lines, const Context& context,
                  const SearchWord& word, const std::u16string& displayPath, ShownHits& shown) {
    if (context.Empty()) return;
    std::u16string marked = MarkContext(context, word.text, word.leading, word.trailing, false);
    lines.push_back(u" <br> ");
    // The path keeps every character (no round trip through the ANSI code page).
    if (marked.find(u"Kein Kontext enthalten!") == std::u16string::npos) {
        lines.push_back(HtmlEscape(displayPath));
        shown.Note(displayPath, context);
    }
    lines.push_back(std::move(marked));
    lines.push_back(u" ");
}

}  // namespace

SearchRun::SearchRun(Host& host, RunFlags& flags, platform::WorkingFolders folders,
                     SearchHistory& history)
    : host_(host), flags_(flags), folders_(std::move(folders)), history_(history) {}

SearchResult SearchRun::Run(std::u16string_view searchFieldText, const SearchOptions& options,
                            std::u16string_view databaseName) {
    try {
        refreshLookup_.clear();
        SearchResult result = RunSearch(searchFieldText, options, databaseName);
        // After the page: a database without a usable lookup file gets one for the next search.
        if (!refreshLookup_.empty()) RefreshLookupFile(refreshLookup_);
        return result;
    } catch (...) {
        // A file that could not be written ends the command; the flags must not stay set, or
        // the database list would stay locked as during a search.
        RunSwitch(flags_).EndAfterFailure();
        flags_.cancel = false;  // as at the end of every search
        host_.SetPatienceIndicator(false);
        throw;
    }
}

std::u16string SearchRun::WritePage(LinkTargets& links, RunDisplay* pageHost,
                                    const std::u16string& pageFolder) {
    const std::u16string& working = links.WorkingFolder();
    if (!pageFolder.empty()) {
        SchreibHTMLDoc(pageLines_, links, pageHost, pageFolder);
        return pageFolder;
    }
    try {
        SchreibHTMLDoc(pageLines_, links, pageHost, working);
        return working;
    } catch (const textio::FileError& error) {
        const int why = error.SystemError();
        if (why != EACCES && why != EPERM && why != EROFS) throw;
        // A working folder that takes no files: the page goes to the user's own scratch folder.
        SchreibHTMLDoc(pageLines_, links, pageHost, folders_.zipTemp);
        host_.Tell(MessageKind::Warning, platform::FromUtf8(error.what()) +
                                             u"\r\nDie Ergebnisseite steht in " + folders_.zipTemp +
                                             kResultFileName + u".");
        return folders_.zipTemp;
    }
}

void SearchRun::StartSearch(const std::u16string& fieldText) {
    pageFolder_.clear();
    host_.SetStatusLine(u"");
    host_.SetTotalsLine(u"");
    host_.SetProgressLine(u"");
    host_.SetCurrentFile(u"");
    flags_.finished = false;
    RunSwitch(flags_).StartSearch();
    host_.SetPatienceIndicator(true);
    host_.SetStatusLine(u"Suche läuft.");
    history_.Add(fieldText);
    try {
        history_.Save(folders_.working + kHistoryFileName);
    } catch (const textio::FileError& error) {
        // The history is a convenience; the search goes on without it.
        host_.Tell(MessageKind::Warning,
                   platform::FromUtf8(error.what()) +
                       u"\r\nDie Suche läuft trotzdem; der Suchtext bleibt nicht gespeichert.");
    }
}

void SearchRun::EndDamaged(SearchResult& result) {
    host_.SetPatienceIndicator(false);
    RunSwitch(flags_).EndSearch();
    result.outcome = SearchOutcome::DamagedDatabase;
}

void SearchRun::FinishSearch(SearchResult& result, bool cancelled) {
    host_.SetPatienceIndicator(false);
    host_.SetStatusLine(u"Fertig mit Suche.");
    RunSwitch(flags_).EndSearch();
    flags_.cancel = false;
    host_.ShowRunControls(RunControls::Idle);
    std::u16string count = pageLines_[kCountLineIndex];
    for (std::size_t at = count.find(u"<br>"); at != std::u16string::npos;
         at = count.find(u"<br>")) {
        count.erase(at, 4);
    }
    result.countLine = HtmlUnescape(count);
    if (cancelled) result.outcome = SearchOutcome::Cancelled;
}

SearchResult SearchRun::RunSearch(std::u16string_view searchFieldText, const SearchOptions& options,
                                  std::u16string_view databaseName) {
    SearchResult result;
    const std::u16string fieldText(searchFieldText);
    StartSearch(fieldText);

    const PreparedQuery query = PrepareWords(fieldText);
    pageLines_.clear();
    const int limit = std::clamp(options.resultLimit, kMinLimit, kMaxLimit);
    const std::u16string name(databaseName);
    Lookup lookup(host_, flags_, pageLines_, query, folders_.textCopy, name);
    lookup.SetResultLimit(limit);
    lookup.SetUnd(options.und);
    lookup.SetFirstDatabase(true);
    lookup.SetScanMode(scanMode_);

    // The one database of the run.
    const std::u16string databaseFile = folders_.database + u"\\" + index::DatabaseFileOfRow(name);
    std::optional<SearchDatabase> database = OpenDatabase(databaseFile, scanMode_);
    if (!database) {
        EndDamaged(result);
        return result;
    }
    const Choice choice = ChooseCollection(options, query);
    try {
        lookup.ScanWordEntries(*database);
        lastScanPath_ = lookup.LastScanPath();
        if (choice.collection != Choice::None) {
            pageLines_.push_back(HeadingLine(choice.heading));
            pageLines_.push_back(SearchTextLine(query.displayText));
            if (choice.collection == Choice::Any) {
                lookup.CollectAnyWord(*database);
            } else {
                lookup.CollectAllWords(*database);
            }
        }
    } catch (const DamagedDatabaseError&) {
        // Found by the entry scan, or by the document lookups when they read the header part.
        EndDamaged(result);
        return result;
    }
    if (database->LookupWanted()) refreshLookup_ = databaseFile;
    bool cancelled = lookup.SawCancel();

    // Output loop: one block per hit and word (or per hit for a phrase).
    // The links of the page, looked up once for all its writes.
    LinkTargets links(folders_.working);
    ResultPageWriter page(pageLines_, query, [&] {
        host_.SetStatusLine(u"");
        pageFolder_ = WritePage(links, openPages_ ? &host_ : nullptr, pageFolder_);
        result.pagePath = pageFolder_ + kResultFileName;
    });
    ShownHits shown(result, links);
    // What each block looks for, prepared once for all hits.
    std::vector<ContextWord> looked;
    if (options.phrase) {
        looked.emplace_back(fieldText);
    } else {
        for (int k = 0; k < query.count; ++k) {
            looked.emplace_back(query.words[static_cast<std::size_t>(k)].text);
        }
    }
    std::string copyBuffer;
    const std::vector<Hit>& hits = lookup.Hits();
    for (std::size_t r = 0; r < hits.size(); ++r) {
        HitContexts contexts(lookup, hits[r], flags_, cancelled, copyBuffer, links);
        // Names stored escaped (twins in letter case) are shown and linked as they are on disk.
        const std::u16string displayPath = index::UnescapePath(hits[r].document);
        if (options.phrase) {
            AddPhraseBlock(pageLines_, contexts.Of(looked[0]), fieldText, displayPath, shown,
                           result);
        } else {
            for (int k = 0; k < query.count; ++k) {
                const SearchWord& word = query.words[static_cast<std::size_t>(k)];
                if (word.text.empty()) continue;
                AddWordBlock(pageLines_, contexts.Of(looked[static_cast<std::size_t>(k)]), word,
                             displayPath, shown);
            }
        }
        page.AfterHit(r, hits.size());
        if (static_cast<std::size_t>(limit) == r + 1) {
            page.WriteLimitPage();
            lookup.ClearHits();
            result.limitReached = true;
            FinishSearch(result, cancelled);
            return result;
        }
    }
    page.WriteFinalPage(name);
    lookup.ClearHits();
    FinishSearch(result, cancelled);
    return result;
}

}  // namespace vx::search
