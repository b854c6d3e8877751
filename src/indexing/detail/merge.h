// The merge of the chunk files of a run of several passes into the database file.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "indexing/detail/run_log.h"
#include "platform/host.h"

namespace vx::indexing {

// Joins sorted, trimmed entry lines one after the other: an entry line directly followed by one
// of the same word takes over its numbers; each further entry line of that word becomes a
// continuation line (numbers only). An empty remembered word matches nothing. Every line taken
// gives one line to the sink, a joined-away line an empty one.
class EntryJoiner {
  public:
    explicit EntryJoiner(std::function<void(const std::u16string&)> sink)
        : sink_(std::move(sink)) {}
    void Add(std::u16string_view line);
    // Gives the last line.
    void Finish();

  private:
    std::function<void(const std::u16string&)> sink_;
    std::u16string current_;  // taken, not yet given
    bool holding_ = false;
    std::u16string word_;  // the remembered word and its "="
};

// EntryJoiner over a whole list (lines trimmed first).
std::vector<std::u16string> MergeSortedEntries(const std::vector<std::u16string>& sorted);

// Adds the header part of a chunk (its lines before the total-size line, as the file holds them)
// to the header of the merged file: the scan mask and path list of the first chunk only.
void TakeChunkHeader(std::vector<std::u16string> lines, bool firstChunk,
                     std::vector<std::u16string>& header);
// The lines of the merged database file before its entries, from the chunks' header parts.
void WriteMergedHeader(const std::vector<std::u16string>& header,
                       const std::function<void(std::u16string_view)>& line);

// The files the merge writes, under the names the run stages them.
struct MergeTargets {
    std::u16string ansiList;
    std::u16string unicodeList;
    std::u16string databaseFile;
};

// Merges the chunk files (written by index::WriteChunkFiles; the pass-1 chunk first, then the
// further passes in their order) into the database file and both word lists, and deletes them.
// The progress line shows the run's postings and documents; the log names a chunk that cannot be
// deleted. written is called now and then while the database file is written.
void MergeChunks(Host& host, RunLog& log, int64_t postings, int32_t documents,
                 const std::vector<std::u16string>& chunks, const MergeTargets& targets,
                 const std::function<void()>& written = {});

}  // namespace vx::indexing
