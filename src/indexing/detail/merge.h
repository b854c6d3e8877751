// The merge of the chunk files of a run of several passes into the database file.
#pragma once

#include <string>
#include <vector>

#include "indexing/detail/run_state.h"

namespace vx::indexing {

// Joins sorted entry lines: an entry line directly followed by one of the same word takes over
// its numbers; each further entry line of that word becomes a continuation line (numbers
// only). An empty remembered word matches nothing. Lines come trimmed; joined-away lines are
// left as empty strings.
std::vector<std::u16string> MergeSortedEntries(const std::vector<std::u16string>& sorted);

// Reads the chunks of Datenbank\Temp, writes the merged database file and both word lists (staged
// in state.commit) and deletes the chunks.
void MergeChunks(RunState& state);

}  // namespace vx::indexing
