// Word-splitting helpers: a word is a maximal run of characters not in a separator set.
// Positions and word numbers count from 1.
#pragma once

#include <string>
#include <string_view>

namespace vx::search {

bool IsSeparatorChar(std::u16string_view separators, char16_t c);
int CountWords(std::u16string_view s, std::u16string_view separators);
// Position (1-based) where the k-th word begins; false when there are fewer than k words.
bool WordStartPos(int k, std::u16string_view s, std::u16string_view separators, int& position);
// The k-th word, or "" when there are fewer than k words.
std::u16string ExtractWordAt(int k, std::u16string_view s, std::u16string_view separators);

}  // namespace vx::search
