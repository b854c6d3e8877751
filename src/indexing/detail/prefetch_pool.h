// Worker threads that prepare the documents the walk expects to index soon, so that the run
// thread, which numbers and files them in walk order, finds them ready.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "indexing/detail/prepared_document.h"
#include "indexing/detail/walk_item.h"

namespace vx::indexing {

class PrefetchPool {
  public:
    using Prepare = std::function<PreparedDocument(const std::u16string& path,
                                                   const std::u16string& storedPath)>;
    // threads = 0: no workers; every document is prepared when it is taken.
    PrefetchPool(int threads, Prepare prepare);
    ~PrefetchPool();  // waits for the documents being prepared
    PrefetchPool(const PrefetchPool&) = delete;
    PrefetchPool& operator=(const PrefetchPool&) = delete;

    int Threads() const;
    // Queues a document for a worker.
    void Prefetch(const WalkItem& item);
    // The prepared document: the worker's result (waited for; what it threw is thrown here), or
    // prepared now on the calling thread when no worker started it.
    PreparedDocument Take(const std::u16string& path, const std::u16string& storedPath);
    // Waits for or forgets every queued document that was not taken.
    void DropAll();

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace vx::indexing
