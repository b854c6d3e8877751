// The status and totals lines while documents are indexed.
#pragma once

#include <cstdint>

#include "indexing/detail/run_state.h"

namespace vx::indexing {

// Shows the documents indexed so far (with those taken over) in the status line and the size
// and time so far in the totals line.
void ShowIndexedSoFar(RunState& state, int32_t documents);

}  // namespace vx::indexing
