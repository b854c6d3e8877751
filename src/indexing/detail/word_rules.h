// The word rules on views: no allocation per word.
#pragma once

#include <cstddef>
#include <string_view>

namespace vx::indexing {

// The lengths of the words the rules leave: an ANSI word of 2 to 50 bytes, a Unicode word of 1 to
// 50 code units.
inline constexpr std::size_t kMinAnsiWordLength = 2;
inline constexpr std::size_t kMinUnicodeWordLength = 1;
inline constexpr std::size_t kMaxWordLength = 50;

// Applies the word rules to w in place (w is narrowed to the filed form). Returns false when
// the word is discarded; ansi receives the class decided before the Unicode leading-character
// removal.
bool ApplyWordRules(std::u16string_view& w, bool& ansi);

// The admission test for a new bucket entry: first code unit in F, last code unit in L.
bool AdmitsNewEntry(std::u16string_view w);

}  // namespace vx::indexing
