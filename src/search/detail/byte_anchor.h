// Finding the lines that may hold a search word without decoding the others: the word's longest
// run of characters whose every lower- and upper-case form has a UTF-8 form of one length
// becomes a byte pattern with per-byte masks, which every line holding the word must contain.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace vx::search {

struct ByteAnchor {
    // A byte b at position i matches when (b | mask[i]) == value[i].
    std::string value;
    std::string mask;
    // The pattern begins with the word's first character: without a leading wildcard it can
    // only stand at a line start.
    bool atWordStart = false;
};

struct AnchorChoice {
    std::optional<ByteAnchor> anchor;  // nullopt: every line may hold the word
    bool never = false;                // no line can hold the word (a character no text has)
};

// The anchor of an upper-case search word (as FindUpper compares: code unit by code unit,
// upper-cased).
AnchorChoice AnchorOf(std::u16string_view upperWord);

// The first position at or after from where the anchor matches bytes, or npos.
std::size_t FindAnchor(std::string_view bytes, std::size_t from, const ByteAnchor& anchor);

}  // namespace vx::search
