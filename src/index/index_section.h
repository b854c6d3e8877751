// Reading the index section of a database file: chunk parts, continuation lines and the
// document numbers of an entry.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace vx::index {

// A chunk file split for the merge: header = every line before the first size line (all lines
// when there is none), entries = every line after the first marker line of the index section
// (none without one); database_lines.h recognises both.
struct ChunkParts {
    std::vector<std::u16string> header;
    std::vector<std::u16string> entries;
};
ChunkParts SplitChunk(const std::vector<std::u16string>& lines);

// The continuation lines below lines[entryLine], each trimmed, joined: at most 100 lines, ending
// before the first line that contains "=" or at the end of the lines.
std::u16string ContinuationText(const std::vector<std::u16string>& lines, std::size_t entryLine);

// The document numbers of an entry line (continuation lines appended): the text after the first
// "=" (the whole text without one) split at ",", empty pieces dropped.
std::vector<std::u16string> EntryDocuments(std::u16string_view entry);

}  // namespace vx::index
