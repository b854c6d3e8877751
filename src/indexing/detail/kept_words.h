// The words file of a database: the words of each document in the numbered form of DocumentWords,
// one document after the other in the order they were filed, then the file's word table
// (kept_word_table.h) and a tail that says where the table lies. The re-index cache records
// where each document's words lie and their hash, so that the next re-index files an unchanged
// document's words without reading and splitting its text copy again. Written by every run
// beside the cache; a form that is missing, cut short or changed is never used.
//
// Tail (48 bytes, little-endian): "VXWORDS2", the file's number (a random number that the hashes
// of its documents' forms take in, so that a cache never takes the forms of another file), the
// table's offset, its count of words, how many of them the documents name, and the hash of the
// table.
//
// A run whose previous words file names mostly words still in use continues its table: the words
// keep their numbers, so that the forms of unchanged documents are copied as they are.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "indexing/detail/kept_word_table.h"
#include "indexing/detail/reindex_cache.h"
#include "indexing/document_words.h"
#include "platform/read_only_file.h"
#include "textio/file_byte_stream.h"

namespace vx::indexing {

// A words file a previous run wrote, with its table read.
class KeptWordsFile {
  public:
    // nullopt when the file is missing or its tail or table do not check out.
    static std::optional<KeptWordsFile> Open(std::u16string_view fileName);

    const KeptWordTable& Table() const { return table_; }
    // Whether the next words file continues this one's table.
    bool Continued() const { return continued_; }
    // The numbered form the record places in the file, when it is there as recorded.
    std::optional<std::string> Form(const ReindexRecord& record) const;

  private:
    KeptWordsFile(platform::ReadOnlyFile file, KeptWordTable table)
        : file_(std::move(file)), table_(std::move(table)) {}

    platform::ReadOnlyFile file_;
    KeptWordTable table_;
    uint64_t number_ = 0;
    uint64_t formsEnd_ = 0;  // where the table begins
    bool continued_ = false;
};

// The form of a document's words that KeptWordsWriter::Append takes.
std::string KeptWordsForm(const DocumentWords& words);

// The words the record places in the file; nullopt when they cannot be read or are not what
// was recorded. form receives them as Append takes them.
std::optional<DocumentWords> ReadKeptWords(const KeptWordsFile& file, const ReindexRecord& record,
                                           std::string& form);

class KeptWordsWriter {
  public:
    // Creates the file, continuing the table of previous when that one is continued. Throws
    // textio::FileError.
    KeptWordsWriter(std::u16string_view fileName, const KeptWordsFile* previous);
    // Appends a document's form (KeptWordsForm, ReadKeptWords) and records where it lies and its
    // hash. Throws textio::FileError.
    void Append(std::string_view form, ReindexRecord& record);
    // Writes what is buffered, the table and the tail, and closes the file. Throws
    // textio::FileError.
    void Close();

  private:
    void Flush();

    textio::FileByteStream file_;
    KeptWordTable table_;
    bool continued_;  // the table is previous's: its numbered forms are taken as they are
    uint64_t number_;
    std::string buffer_;
    std::string form_;
    uint64_t written_ = 0;
    bool closed_ = false;
};

}  // namespace vx::indexing
