// The state of one create or re-index command and its indexing run, shared by the discovery, the
// document indexer and the run; each group says which step writes it. The files the run writes
// are the indexing run's own (RunFiles, lent to the document indexer), and the merge takes what
// it reads as parameters.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "index/database_files.h"
#include "index/word_index.h"
#include "indexing/detail/run_log.h"
#include "indexing/run_options.h"
#include "platform/collation.h"
#include "platform/host.h"
#include "platform/text.h"
#include "platform/working_folders.h"

namespace vx::indexing {

// A set of full paths in which letter case does not count (as on the file systems of Windows):
// two paths are one when their upper-case forms are equal. Names that differ in any other way,
// even where the locale's comparison sees no difference, stay distinct documents.
class PathSet {
  public:
    // False when an equal path is already in the set.
    bool Add(std::u16string_view path) { return paths_.insert(platform::UpperCase(path)).second; }
    bool Contains(std::u16string_view path) const {
        return paths_.contains(platform::UpperCase(path));
    }
    bool Remove(std::u16string_view path) { return paths_.erase(platform::UpperCase(path)) != 0; }
    void Clear() { paths_.clear(); }
    std::size_t Size() const { return paths_.size(); }
    bool Empty() const { return paths_.empty(); }

  private:
    std::unordered_set<std::u16string> paths_;
};

struct RunState {
    RunState(Host& h, RunFlags& f, const platform::WorkingFolders& w, index::WordIndex& words,
             std::u16string& lastCopied)
        : host(h), flags(f), folders(w), wordIndex(words), lastCopiedFolder(lastCopied) {}

    // What the commands lend the run.
    Host& host;
    RunFlags& flags;
    const platform::WorkingFolders& folders;
    index::WordIndex& wordIndex;
    // Folder of the last document copied into the scratch folder.
    std::u16string& lastCopiedFolder;

    // What the run indexes and how (from the dialog's fields and the options): set by the
    // commands before the run.
    struct Setup {
        std::u16string nameField;   // the database name as typed; base of the word lists and log
        std::u16string rootFolder;  // the folder without trailing "\"
        std::u16string scanMask = u"*.xml";
        int chunkSize = kDefaultChunkSize;
        int parseThreads = 0;
        // Re-index: the name under which the previous database file is kept ("" for a create).
        std::u16string previousCopy;
        // Re-index: take unchanged documents from their text copies (not with --full).
        bool reuseTextCopies = false;
    } setup;

    // What the pre-scan found (the walk takes each file out when it meets it, and notes those it
    // gave to the document indexer).
    struct Found {
        PathSet files;                                              // full paths the pre-scan found
        std::vector<std::u16string> pathList;                       // "P" + n + "=" + folder + " "
        std::unordered_map<std::u16string, int32_t> lastPathEntry;  // folder -> last n
        PathSet indexedFiles;  // full paths given to the document indexing
        int64_t bytes = 0;     // sizes of the files the pre-scan walked
        int32_t count = 0;     // documents the pre-scan listed (the notice's number)
        // Files (".xml") and folders whose names cannot be stored: never indexed, named in the
        // log.
        std::vector<std::u16string> unstorable;
    } found;

    // The counters of the whole run: the documents counted by the document indexer, the postings
    // by the run.
    struct Counts {
        int32_t documents = 0;              // documents numbered
        int32_t failures = 0;               // numbered documents without a text copy
        int32_t unloadable = 0;             // numbered documents the parser could not load
        int32_t reused = 0;                 // documents taken from their text copies
        int64_t postings = 0;               // "," characters of the index lines written so far
        std::atomic<int64_t> sizeTotal{0};  // read by the host's elapsed-time display
        int64_t startTickMs = 0;
    } count;

    // The pass being indexed: started and ended by the run, its documents numbered and listed by
    // the document indexer.
    struct Pass {
        int number = 1;
        int completed = 0;                         // passes whose chunk is written
        int32_t documentCounter = 0;               // number of the pass's last document
        std::vector<std::u16string> documentList;  // document lines of the pass
    } pass;

    RunLog log{host};  // also taken by the merge

    index::DatabaseFiles Files() const { return {folders, setup.nameField}; }

    void Log(std::u16string line) { log.Add(std::move(line)); }
};

}  // namespace vx::indexing
