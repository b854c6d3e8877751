// Writing the pass text of an indexing pass straight to its files.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "index/database_file.h"
#include "index/word_index.h"

namespace vx::index {

// Writes the text that BuildPassText builds from the lists, with the entries of the word index
// following lists.index as SaveBuckets would append them, to every file of fileNames (UTF-8
// without mark, as WriteToStream with code page 65001). The text is streamed, never held whole.
// onIndexLine, when given, sees every index line (lists.index, then the entries) as it is before
// upper-casing, so that the caller can count postings and collect the words. Throws what
// textio::TextWriter throws.
void WritePassFiles(const PassLists& lists, const WordIndex& index,
                    const std::vector<std::u16string>& fileNames,
                    const std::function<void(std::u16string_view)>& onIndexLine = {});

// Writes the chunk of a pass that the merge takes (chunk_file.h): the text of WritePassFiles with
// the lines after the index section's marker line in merge order, and its keys file. onIndexLine
// sees the index lines as the chunk holds them (upper-cased).
void WriteChunkFiles(const PassLists& lists, const WordIndex& index,
                     const std::u16string& chunkFile,
                     const std::function<void(std::u16string_view)>& onIndexLine = {});

}  // namespace vx::index
