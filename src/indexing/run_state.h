// The state of one create or re-index command and its indexing run, shared by the discovery,
// the document indexing, the run and the merge.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "index/database_commit.h"
#include "index/word_index.h"
#include "indexing/reindex_cache.h"
#include "platform/collation.h"
#include "platform/host.h"
#include "platform/text.h"
#include "platform/working_folders.h"

namespace vx::indexing {

// A set of full paths in which letter case does not count (as on the file systems of the
// windows): two paths are one when their upper-case forms are equal. Names that differ in any
// other way, even where the locale's comparison sees no difference, stay distinct documents.
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
    RunState(Host& h, RunFlags& f, const platform::WorkingFolders& w)
        : host(h), flags(f), folders(w) {}

    Host& host;
    RunFlags& flags;
    const platform::WorkingFolders& folders;

    // Names of the run (from the dialog's fields).
    std::u16string nameField;     // the database name as typed; base of the word lists and log
    std::u16string databaseName;  // nameField, plus ".dat" unless it ends in ".dat"
    std::u16string rootFolder;    // the folder without trailing "\"
    std::u16string scanMask = u"*.xml";
    int chunkSize = 20000;
    int parseThreads = 0;

    // Discovery.
    PathSet foundFiles;                                         // full paths the pre-scan found
    std::vector<std::u16string> pathList;                       // "P" + n + "=" + folder + " "
    std::unordered_map<std::u16string, int32_t> lastPathEntry;  // folder -> last n
    PathSet indexedFiles;  // full paths given to the document indexing
    int64_t preScanBytes = 0;
    int32_t foundCount = 0;  // documents the pre-scan listed (the notice's number)

    // Counters of the run.
    int32_t documentCounter = 0;
    int32_t failureCounter = 0;
    int32_t unloadableCounter = 0;  // numbered documents the parser could not load
    // Files (".xml") and folders whose names cannot be stored: never indexed, named in the log.
    std::vector<std::u16string> unstorable;
    int32_t passDocumentCounter = 0;
    int pass = 1;
    int completedPasses = 0;
    int64_t postings = 0;
    std::atomic<int64_t> sizeTotal{0};  // read by the host's elapsed-time display
    int64_t startTickMs = 0;

    // Lists of the run.
    std::vector<std::u16string> documentList;  // document lines of the current pass
    std::vector<std::u16string> runLog;
    index::WordIndex* wordIndex = nullptr;
    // The files the run writes at its end, put in place together (owned by the run).
    index::DatabaseCommit* commit = nullptr;
    // Re-index: the name under which the previous database file is kept ("" for a create).
    std::u16string previousCopy;
    // Re-index: take unchanged documents from their text copies (not with --full).
    bool reuseTextCopies = false;
    // What the previous run kept about its documents (nullptr: every document is parsed), and
    // what this run keeps, written with its database file (both owned by the run).
    const ReindexCache* previousRecords = nullptr;
    ReindexCache* records = nullptr;
    int32_t reusedCounter = 0;  // documents taken from their text copies
    // Folder of the last document copied into the scratch folder (lives as long as the commands).
    std::u16string* lastCopiedFolder = nullptr;

    void Log(std::u16string line) {
        host.RunLogLine(line);
        runLog.push_back(std::move(line));
    }
};

}  // namespace vx::indexing
