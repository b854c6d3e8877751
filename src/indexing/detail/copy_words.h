// The words of a document's text copy as the filing reads them, with the hash of its lines that
// the next re-index checks a copy against (reindex_cache.h).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "indexing/detail/text_copy.h"
#include "indexing/document_words.h"

namespace vx::indexing {

struct CopyWords {
    DocumentWords words;
    uint64_t linesHash = 0;
    bool readBack = false;  // read back from the copy file by the text reader
};

// The words of lines kept by the extraction.
CopyWords WordsOfLines(const std::vector<std::u16string>& lines);
// The words of a copy written from kept lines (each line followed by CR LF, nothing else).
// Throws textio::FileError.
CopyWords WordsOfWrittenCopy(const std::u16string& copyFile);
// The words of a copy read back line by line by the text reader (a text too large to keep, or
// with unpaired surrogates). Throws textio::FileError.
CopyWords WordsReadBack(const std::u16string& copyFile);
// After the extraction into the sink: the words of the lines it kept, or of its copy read back;
// nullopt when it wrote no copy.
std::optional<CopyWords> WordsOfSink(TextCopySink& sink, const std::u16string& copyFile);

}  // namespace vx::indexing
