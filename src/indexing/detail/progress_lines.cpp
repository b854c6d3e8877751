#include "indexing/detail/progress_lines.h"

#include "indexing/size_text.h"

namespace vx::indexing {

void ShowIndexedSoFar(RunState& state, int32_t documents) {
    state.host.SetStatusLine(IndexedSoFarText(documents, state.count.reused));
    state.host.SetTotalsLine(
        TotalsText(state.count.sizeTotal, ElapsedSince(state.count.startTickMs, SteadyTickMs())));
}

}  // namespace vx::indexing
