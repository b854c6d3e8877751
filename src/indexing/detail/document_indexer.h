// Indexing of one document: text copy, number, document line, progress and word filing. The
// extraction and the writing of the text copy of upcoming documents may run ahead on worker
// threads; numbering and filing stay on the run thread in document order, so the database does
// not depend on the number of threads.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "indexing/detail/run_state.h"
#include "indexing/detail/walk_item.h"

namespace vx::indexing {

class DocumentIndexer {
  public:
    // threads = 0: everything on the calling thread.
    DocumentIndexer(RunState& state, int threads);
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

    // A re-index that may keep the previous run's files (RunState::run.deferReuse) defers the
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
