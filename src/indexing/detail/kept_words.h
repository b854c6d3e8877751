// The words file of a database: the words of each document in the compact form of
// DocumentWords, one document after the other in the order they were filed. The re-index cache
// records where each document's words lie and their hash, so that the next re-index files an
// unchanged document's words without reading and splitting its text copy again. Written by every
// run beside the cache; a form that is missing, cut short or changed is never used.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "indexing/detail/reindex_cache.h"
#include "indexing/document_words.h"
#include "platform/read_only_file.h"
#include "textio/file_byte_stream.h"

namespace vx::indexing {

// The form to keep of a document's words; sets the record's hash of it.
std::string KeptWordsForm(const DocumentWords& words, ReindexRecord& record);

// The words the record places in the file; nullopt when they cannot be read or are not what
// was recorded. form receives the bytes read.
std::optional<DocumentWords> ReadKeptWords(const platform::ReadOnlyFile& file,
                                           const ReindexRecord& record, std::string& form);

class KeptWordsWriter {
  public:
    // Creates the file. Throws textio::FileError.
    explicit KeptWordsWriter(std::u16string_view fileName);
    // Appends a document's form and records where it lies. Throws textio::FileError.
    void Append(std::string_view form, ReindexRecord& record);
    // Writes what is buffered and closes the file. Throws textio::FileError.
    void Close();

  private:
    void Flush();

    textio::FileByteStream file_;
    std::string buffer_;
    uint64_t written_ = 0;
};

}  // namespace vx::indexing
