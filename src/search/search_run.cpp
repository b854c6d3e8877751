#include "search/search_run.h"

#include <algorithm>
#include <cerrno>
#include <unordered_map>

#include "platform/files.h"
#include "platform/paths.h"
#include "platform/profile_reader.h"
#include "platform/text.h"
#include "search/context.h"
#include "search/html_text.h"
#include "search/lookup.h"
#include "search/result_page.h"
#include "search/search_database.h"
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

// The hit's text-copy path as the output loop uses it.
std::u16string HitFile(std::u16string_view hit) {
    std::u16string h = platform::Trim(hit);
    std::size_t size = h.find(u"SIZE:");
    if (size != std::u16string::npos) h.erase(size);
    std::size_t drive = h.find(u":\\");
    if (drive != std::u16string::npos && drive > 0) h.erase(0, drive - 1);
    return h;
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
        flags_.searchActive = false;
        flags_.cancel = false;
        host_.SetPatienceIndicator(false);
        throw;
    }
}

std::u16string SearchRun::WritePage(const std::u16string& working, Host* pageHost,
                                    const std::u16string& pageFolder) {
    if (!pageFolder.empty()) {
        SchreibHTMLDoc(pageLines_, working, pageHost, pageFolder);
        return pageFolder;
    }
    try {
        SchreibHTMLDoc(pageLines_, working, pageHost, working);
        return working;
    } catch (const textio::FileError& error) {
        const int why = error.SystemError();
        if (why != EACCES && why != EPERM && why != EROFS) throw;
        // A working folder that takes no files: the page goes to the user's own scratch folder.
        SchreibHTMLDoc(pageLines_, working, pageHost, folders_.zipTemp);
        host_.ShowMessage(MessageKind::Warning, u"Warnung",
                          platform::FromUtf8(error.what()) + u"\r\nDie Ergebnisseite steht in " +
                              folders_.zipTemp + kResultFileName + u".",
                          MessageButtons::Ok);
        return folders_.zipTemp;
    }
}

SearchResult SearchRun::RunSearch(std::u16string_view searchFieldText, const SearchOptions& options,
                                  std::u16string_view databaseName) {
    SearchResult result;
    pageFolder_.clear();
    host_.SetStatusLine(u"");
    host_.SetTotalsLine(u"");
    host_.SetProgressLine(u"");
    host_.SetCurrentFile(u"");
    flags_.searchActive = true;

    host_.SetPatienceIndicator(true);
    host_.SetStatusLine(u"Suche läuft.");

    const std::u16string fieldText(searchFieldText);
    history_.Add(fieldText);
    try {
        history_.Save(folders_.working + kHistoryFileName);
    } catch (const textio::FileError& error) {
        // The history is a convenience; the search goes on without it.
        host_.ShowMessage(
            MessageKind::Warning, u"Warnung",
            platform::FromUtf8(error.what()) +
                u"\r\nDie Suche läuft trotzdem; der Suchtext bleibt nicht gespeichert.",
            MessageButtons::Ok);
    }

    const PreparedQuery query = PrepareWords(fieldText);
    pageLines_.clear();
    const int limit = std::clamp(options.resultLimit, kMinLimit, kMaxLimit);
    const std::u16string name(databaseName);
    const std::u16string working = folders_.working;
    Host* pageHost = openPages_ ? &host_ : nullptr;

    auto writePage = [&] {
        pageFolder_ = WritePage(working, pageHost, pageFolder_);
        result.pagePath = pageFolder_ + kResultFileName;
    };
    // The head is complete even when no collection ran or one ended before writing it.
    auto ensureHead = [&] {
        if (pageLines_.empty()) {
            pageLines_.push_back(HeadingLine(Heading::None));
            pageLines_.push_back(SearchTextLine(query.displayText));
        }
        if (pageLines_.size() < kPageHeadLines) {
            pageLines_.resize(2);
            pageLines_.push_back(CountLine(0, query.ExistingWords() == 1));
            pageLines_.push_back(u" ");
            pageLines_.push_back(kSeparatorLine);
        }
    };
    auto finish = [&] {
        host_.SetPatienceIndicator(false);
        host_.SetStatusLine(u"Fertig mit Suche.");
        flags_.searchActive = false;
        flags_.cancel = false;
        host_.SetCloseButton(u"Schli&eßen", true);
        std::u16string count = pageLines_[kCountLineIndex];
        for (std::size_t at = count.find(u"<br>"); at != std::u16string::npos;
             at = count.find(u"<br>")) {
            count.erase(at, 4);
        }
        result.countLine = HtmlUnescape(count);
    };

    Lookup lookup(host_, flags_, pageLines_, query, folders_.textCopy, name);
    lookup.SetResultLimit(limit);
    lookup.SetUnd(options.und);
    lookup.SetFirstDatabase(true);
    lookup.SetScanMode(scanMode_);

    // The one database of the run.
    const std::u16string databaseFile = folders_.database + u"\\" + name + u".dat";
    std::optional<SearchDatabase> database;
    if (!platform::ReadProfileString(databaseFile, u"Scanmaske", u"TextdateienPfad").empty()) {
        try {
            database.emplace(SearchDatabase::Open(databaseFile, scanMode_ == ScanMode::Auto));
        } catch (const std::exception&) {
            database.reset();
        }
    }
    if (!database) {
        host_.SetPatienceIndicator(false);
        flags_.searchActive = false;
        result.outcome = SearchOutcome::DamagedDatabase;
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
        host_.SetPatienceIndicator(false);
        flags_.searchActive = false;
        result.outcome = SearchOutcome::DamagedDatabase;
        return result;
    }
    if (database->LookupWanted()) refreshLookup_ = databaseFile;
    bool cancelled = lookup.SawCancel();

    // Output loop: one block per hit and word (or per hit for a phrase).
    const std::vector<std::u16string> hits = lookup.Hits();
    std::unordered_map<std::string, std::size_t> listed;  // path -> its entry of hitPaths
    auto noteShown = [&](const std::u16string& displayPath, const Context& context) {
        std::u16string target = ResolveLinkTarget(displayPath, working);
        std::string path = platform::ToHostPath(target);
        if (path.empty()) path = platform::ToUtf8(target);
        const auto [entry, added] = listed.try_emplace(path, result.hitPaths.size());
        if (added) {
            result.hitPaths.push_back(path);
            result.hitContexts.emplace_back();
        }
        // Every word of the search adds the lines it was found in; a line is listed once.
        std::vector<std::u16string>& lines = result.hitContexts[entry->second];
        for (std::u16string& line : context.PlainLines()) {
            if (std::find(lines.begin(), lines.end(), line) == lines.end()) {
                lines.push_back(std::move(line));
            }
        }
    };
    // The text copy of the current hit, read once for all its words (one that cannot be read is
    // like a missing one: no context at all).
    std::optional<TextCopy> copy;
    bool copyRead = false;
    auto contextOf = [&](const std::u16string& file, std::u16string_view word) {
        Context context;
        if (!flags_.cancel && platform::FileExists(file)) {
            if (!copyRead) {
                copyRead = true;
                copy = TextCopy::Read(file);
            }
            if (copy) context = CollectContextIn(*copy, word);
        }
        if (flags_.cancel) {
            cancelled = true;
            context = Context();
        }
        context.Trim();
        return context;
    };
    for (std::size_t r = 0; r < hits.size(); ++r) {
        const std::u16string file = HitFile(hits[r]);
        copyRead = false;
        copy.reset();
        const std::u16string displayPath = DisplayPath(file, name);
        if (options.phrase) {
            Context context = contextOf(file, fieldText);
            if (!context.Empty()) {
                std::u16string marked = MarkContext(context, fieldText, false, false, true);
                pageLines_.push_back(HtmlEscape(displayPath));
                pageLines_.push_back(std::move(marked));
                noteShown(displayPath, context);
            }
        } else {
            for (int k = 0; k < query.count; ++k) {
                const SearchWord& word = query.words[k];
                if (word.text.empty()) continue;
                Context context = contextOf(file, word.text);
                if (context.Empty()) continue;
                std::u16string marked =
                    MarkContext(context, word.text, word.leading, word.trailing, false);
                pageLines_.push_back(u" <br> ");
                // The path keeps every character (no round trip through the ANSI code page).
                if (marked.find(u"Kein Kontext enthalten!") == std::u16string::npos) {
                    pageLines_.push_back(HtmlEscape(displayPath));
                    noteShown(displayPath, context);
                }
                pageLines_.push_back(std::move(marked));
                pageLines_.push_back(u" ");
            }
        }

        const std::size_t total = hits.size();
        if ((r == 5 && total > 11) || (r == 25 && total > 36) || (r == 50 && total > 61) ||
            (r == 75 && total > 86)) {
            ensureHead();
            int count = CountPathLines(pageLines_, false);
            if (r + 1 < total) pageLines_[kCountLineIndex] = IntermediateCountLine(count);
            host_.SetStatusLine(u"");
            writePage();
        }
        if (static_cast<std::size_t>(limit) == r + 1) {
            ensureHead();
            pageLines_[kCountLineIndex] = LimitCountLine(CountPathLines(pageLines_, false));
            host_.SetStatusLine(u"");
            writePage();
            lookup.ClearHits();
            result.limitReached = true;
            finish();
            if (cancelled) result.outcome = SearchOutcome::Cancelled;
            return result;
        }
    }

    ensureHead();
    pageLines_[kCountLineIndex] =
        FinalCountLine(CountPathLines(pageLines_, true), HtmlEscape(name));
    host_.SetStatusLine(u"");
    writePage();
    lookup.ClearHits();
    finish();
    if (cancelled) result.outcome = SearchOutcome::Cancelled;
    return result;
}

}  // namespace vx::search
