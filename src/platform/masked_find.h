// Searching bytes for a pattern in which some bits of some bytes do not count (an ASCII letter
// in either case, for example).
#pragma once

#include <cstddef>
#include <string_view>

namespace vx::platform {

// The first position at or after from where the pattern stands in bytes, or npos: a byte b at
// position i of the pattern matches when (b | mask[i]) == value[i] (mask as long as value; all
// zero bytes for an exact search). Candidates are found 32 or 16 bytes at a time where the
// processor allows it.
std::size_t FindMasked(std::string_view bytes, std::size_t from, std::string_view value,
                       std::string_view mask);

}  // namespace vx::platform
