// Taking over an unchanged document from the previous run instead of parsing it: its words from
// those the run kept, or from its text copy when the copy still gives the lines recorded for it.
#pragma once

#include "indexing/detail/prepared_document.h"

namespace vx::indexing {

// The words of an unchanged document without parsing it: those the previous run kept (when its
// copy still has the recorded size and time), else those of its copy. True (Reused) when either
// serves; false leaves the document as it was.
bool ReuseWords(const PrepareSettings& settings, PreparedDocument& doc,
                const ReindexRecord& record);

// While the run defers (PrepareSettings::deferReuse), takes an unchanged document whose copy has
// its recorded size and time without reading anything (Deferred).
bool DeferReuse(const PrepareSettings& settings, PreparedDocument& doc,
                const ReindexRecord& record);

}  // namespace vx::indexing
