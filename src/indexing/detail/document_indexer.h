// Indexing of one document: text copy, number, document line, progress and word filing. The
// extraction and the writing of the text copy of upcoming documents may run ahead on worker
// threads; numbering and filing stay on the run thread in document order, so the database does
// not depend on the number of threads.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <unordered_set>
#include <vector>

#include "index/database_commit.h"
#include "indexing/detail/kept_words.h"
#include "indexing/detail/reindex_cache.h"
#include "indexing/detail/run_state.h"
#include "indexing/detail/walk_item.h"

namespace vx::indexing {

// The files the run writes at its end, put in place together, and what the previous run kept
// about its documents beside what this run keeps: owned by the indexing run, filled by the
// document indexer.
struct RunFiles {
    index::DatabaseCommit& commit;
    // What the previous run recorded (nullptr: every document is parsed), and this run's records.
    const ReindexCache* previousRecords = nullptr;
    ReindexCache& records;
    // The words file of the previous run (nullptr when there is none to read) and this run's.
    const KeptWordsFile* previousWords = nullptr;
    KeptWordsWriter& keptWords;
    // The previous run's files may turn out to be this run's result: the filing of unchanged
    // documents waits until one must be filed (DocumentIndexer::AllDeferred).
    bool deferReuse = false;
    // Where the text copies of parsed documents are written until the commit puts them in place
    // (Windows form, no trailing "\"), and the copies (host paths as written) that the
    // documents numbered so far have: every other copy of the database goes with the commit.
    std::u16string stagedCopies;
    std::unordered_set<std::string> textCopies{};
};

class DocumentIndexer {
  public:
    // threads = 0: everything on the calling thread.
    DocumentIndexer(RunState& state, RunFiles& files, int threads);
    ~DocumentIndexer();
    DocumentIndexer(const DocumentIndexer&) = delete;
    DocumentIndexer& operator=(const DocumentIndexer&) = delete;

    // Starts the extraction of a document that is expected to be indexed soon.
    void Prefetch(const WalkItem& item);
    // Waits for or forgets every prefetched document that was not indexed.
    void DropPrefetched();
    int Threads() const;

    // Indexes the document the walk met (its text copy and document line follow its stored
    // path; the file itself is read at its full path).
    void Index(const WalkItem& item);

    // A re-index that may keep the previous run's files (RunFiles::deferReuse) defers the
    // filing of unchanged documents, taken on the recorded stamps of the document and its copy
    // alone, until a document that must be filed comes, also across passes. True when every
    // document numbered so far was deferred.
    bool AllDeferred() const;
    // Where deferred documents of an earlier pass go once filed: the word index then holds
    // exactly that pass's words, and the writer saves them (and empties the index).
    void SetEarlierPassWriter(std::function<void(int pass)> writer);
    // Returns when the words of every document indexed so far are in the word index, those of
    // deferred documents filed in their order (those of earlier passes through the writer), and
    // no more are deferred: the index may be saved or emptied then.
    void FinishFiling();

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace vx::indexing
