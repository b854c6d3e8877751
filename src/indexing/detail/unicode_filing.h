// Files the Unicode words of documents on a thread of its own while the run thread files their
// ANSI words. The two parts of the word index share nothing, each keeps the order of its own
// filing, and the index is read only after Wait: what is saved is what one thread would file.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <exception>
#include <memory>
#include <mutex>
#include <thread>
#include <utility>

#include "index/word_index.h"
#include "indexing/document_words.h"

namespace vx::indexing {

class UnicodeFiling {
  public:
    // Without a thread of its own (threaded false), File files at once.
    UnicodeFiling(index::WordIndex& index, bool threaded);
    ~UnicodeFiling();
    UnicodeFiling(const UnicodeFiling&) = delete;
    UnicodeFiling& operator=(const UnicodeFiling&) = delete;

    // Files the document's Unicode words after those of the documents handed in before.
    void File(std::shared_ptr<const DocumentWords> words, int32_t number);
    // Returns when every document handed in is filed; rethrows a failure of the filing.
    void Wait();

  private:
    void Work();

    index::WordIndex& index_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<std::pair<std::shared_ptr<const DocumentWords>, int32_t>> queue_;
    bool busy_ = false;
    bool stopping_ = false;
    std::exception_ptr failure_;
    std::thread thread_;
};

}  // namespace vx::indexing
