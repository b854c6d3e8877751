// The indexing run: passes of at most chunk-size documents, each saved as a chunk file; the
// database file and the word lists at the end of the last pass (or the merge of the chunks
// after a run of several passes); the run log.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "indexing/detail/run_state.h"

namespace vx::indexing {

// Runs the indexing of state.setup.rootFolder after the pre-scan. Throws textio::FileError when a
// database file cannot be written.
void RunIndexing(RunState& state);

// The path entries as the pass-1 header writes them: an entry whose folder equals the folder of
// the entry before it ends after its "=".
std::vector<std::u16string> PathLinesForHeader(const std::vector<std::u16string>& pathList);

}  // namespace vx::indexing
