// The search command without its dialog: the window program and vantor-xml-cli both drive it.
//
// Typical use (the window program): keep one SearchHistory loaded from the working folder; when
// the dialog's "&Suche" is pressed, run ConfirmCheck and show its messages; on acceptance put the
// new field text into the search field and call SearchRun::Run with it. Run writes the history
// file and the result page and sets the status texts through the host.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/host.h"
#include "platform/working_folders.h"
#include "search/entry_scan.h"
#include "search/history.h"
#include "search/query.h"

namespace vx::search {

class LinkTargets;

// The dialog state. The dialog keeps at most one of und / oder on; phrase implies und.
struct SearchOptions {
    bool und = false;
    bool oder = true;  // the dialog's initial state
    bool phrase = false;
    int resultLimit = 50;  // "Ergebnisse maximal anzeigen.", 1 to 50 (values outside are clamped)
};

enum class SearchOutcome {
    Finished,         // normal end, or the output limit was reached (see limitReached)
    Cancelled,        // the host switched searchActive off / set cancel during the lookup
    DamagedDatabase,  // scan-mask key empty or file missing: show kDamagedDatabaseMessage, end
};

inline constexpr char16_t kDamagedDatabaseMessage[] =
    u"Datenbank ist beschädigt! Indizieren Sie die Datenbank noch mal neu. Programm wird beendet!";
inline constexpr char16_t kDamagedDatabaseCaption[] = u"Warnung";

struct SearchResult {
    SearchOutcome outcome = SearchOutcome::Finished;
    bool limitReached = false;  // the output loop stopped at the result limit
    // Page line 2 as it stands at the end (the final count line, or the limit text), as plain
    // text (not HTML-escaped, without "<br>").
    std::u16string countLine;
    // The documents of the hits the output loop went through, as Linux paths (UTF-8), in hit
    // order, each once: those the page shows with context lines.
    std::vector<std::string> hitPaths;
    // For every entry of hitPaths: its context lines as the page shows them, as plain text.
    std::vector<std::vector<std::u16string>> hitContexts;
    // A phrase search: the documents the page lists, which hold all the words; hitPaths holds
    // those of them with the phrase on one line (the others show "Kein Kontext enthalten!").
    std::size_t allWordsDocuments = 0;
    // The result page written ("" when none was written).
    std::u16string pagePath;
};

class SearchRun {
  public:
    // The host receives status texts and OpenInBrowser; flags.searchActive / flags.cancel may be
    // changed by the host at any time from another thread.
    SearchRun(Host& host, RunFlags& flags, platform::WorkingFolders folders,
              SearchHistory& history);

    // When false, the result page is written but never handed to Host::OpenInBrowser.
    void SetOpenPages(bool open) { openPages_ = open; }
    // How the entry scan finds its lines (tests and benchmarks compare the ways); only Auto uses
    // and refreshes the lookup file.
    void SetScanMode(ScanMode mode) { scanMode_ = mode; }
    // The way the last run's entry scan went.
    ScanPath LastScanPath() const { return lastScanPath_; }

    // Runs the search from the search field's text (after ConfirmCheck accepted it) over the
    // database databaseName (a row of the database list). A history file that cannot be written
    // gives a warning; throws textio::FileError when no result page can be written (the flags
    // are cleared first).
    SearchResult Run(std::u16string_view searchFieldText, const SearchOptions& options,
                     std::u16string_view databaseName);

    // The page lines of the last run (HTML fragments, before the page head and tail).
    const std::vector<std::u16string>& PageLines() const { return pageLines_; }

  private:
    SearchResult RunSearch(std::u16string_view searchFieldText, const SearchOptions& options,
                           std::u16string_view databaseName);
    // The status texts, flags and history entry of a search's start.
    void StartSearch(const std::u16string& fieldText);
    // A damaged database ends the search at once.
    void EndDamaged(SearchResult& result);
    // The display and flags at the end, and the count line of the result.
    void FinishSearch(SearchResult& result, bool cancelled);
    // Writes the page into pageFolder, or, when that is empty, into the working folder, or, when
    // the working folder takes no files, into the scratch folder (with a warning). Returns the
    // folder written to; throws textio::FileError when no page could be written.
    std::u16string WritePage(LinkTargets& links, RunDisplay* pageHost,
                             const std::u16string& pageFolder);

    Host& host_;
    RunFlags& flags_;
    platform::WorkingFolders folders_;
    SearchHistory& history_;
    bool openPages_ = true;
    ScanMode scanMode_ = ScanMode::Auto;
    ScanPath lastScanPath_ = ScanPath::Bytes;
    std::u16string refreshLookup_;  // database file whose lookup file the run should write
    std::vector<std::u16string> pageLines_;
    std::u16string pageFolder_;  // where this run's page went ("" before the first write)
};

}  // namespace vx::search
