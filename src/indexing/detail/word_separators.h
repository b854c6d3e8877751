// The two separator sets a text-copy line is split with, as lookup tables.
#pragma once

#include <array>
#include <string_view>

namespace vx::indexing {

// The two separator sets a line is split with, one after the other.
enum class WordSplit { First, Second };

// Every separator of both sets lies below U+0100, so one table of 256 entries per set decides
// membership. The second set is given as a text with repeated characters; repeats change
// nothing.
struct SeparatorTable {
    std::array<bool, 256> member{};
    constexpr explicit SeparatorTable(std::u16string_view chars) {
        for (const char16_t c : chars) member[c] = true;
    }
    bool Contains(char16_t c) const { return c < 256 && member[c]; }
};

inline constexpr SeparatorTable kFirstSplit(u"\u0060\u00B4,:;()= ");
inline constexpr SeparatorTable kSecondSplit(u"&?\u00D8=/\\#$0009#$0020 ");

inline const SeparatorTable& SeparatorsOf(WordSplit split) {
    return split == WordSplit::First ? kFirstSplit : kSecondSplit;
}

}  // namespace vx::indexing
