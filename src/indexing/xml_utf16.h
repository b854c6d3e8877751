// UTF-8 to UTF-16 in bulk, for the character data the XML parser delivers.
#pragma once

#include <string>
#include <string_view>

namespace vx::indexing {

// Appends the UTF-16 form of the UTF-8 text. Runs of ASCII are copied directly; a byte that
// does not start a well-formed sequence becomes U+FFFD (the parser only delivers valid UTF-8).
void AppendUtf16(std::string_view utf8, std::u16string& out);

}  // namespace vx::indexing
