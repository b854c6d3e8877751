// The sampled bytes of a database file that its lookup file records: both ends and pieces spread
// over the file, hashed with the size. Cheap to check at every search.
#pragma once

#include <cstdint>

#include "platform/read_only_file.h"

namespace vx::index::lookup {

uint64_t DatabaseSamples(const platform::ReadOnlyFile& database);

}  // namespace vx::index::lookup
