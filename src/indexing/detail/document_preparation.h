// Everything that happens to a document before the run numbers it: where its text copy goes,
// whether it is indexed at all, and its words, taken over from the previous run or from a parse
// into a staged text copy. Runs on worker threads ahead of the run thread, except for documents
// in use, which the run thread prepares itself.
#pragma once

#include <atomic>
#include <string>

#include "indexing/detail/prepared_document.h"

namespace vx::indexing {

// Prepares a document (read at path; its text copy lies where its stored path leads). A document
// in use is left InUse, for the run thread to prepare with PrepareInUse.
PreparedDocument Prepare(const PrepareSettings& settings, const std::u16string& path,
                         const std::u16string& storedPath, const std::atomic<bool>& cancel);

// A document in use, parsed from its copy in the scratch folder (copy: the copy's path, "" when
// it could not be copied): Parsed, or WithoutCopy when it has no text.
void PrepareInUse(const PrepareSettings& settings, const std::u16string& copy,
                  const std::atomic<bool>& cancel, PreparedDocument& doc);

}  // namespace vx::indexing
