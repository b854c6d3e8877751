// What a run keeps about the documents it indexed, so that the next re-index can file an
// unchanged document's words from its text copy instead of parsing it again. Kept in a small
// binary file beside the database file and written with it by every run.
//
// A record holds the document's size and exact last-write time when its text copy was made and a
// hash of the lines its words were filed from. A document is taken from its copy only when its
// size and time are still those and the copy, read again, gives lines with that hash: a copy
// that was rewritten, cut short or damaged since (by a later run that was killed, say) fails the
// hash, and the document is parsed again.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace vx::indexing {

// The file of the cache of a database: Datenbank\ + name field + ".cache" (never matched by the
// database list's "*.DAT").
std::u16string ReindexCacheFileName(std::u16string_view databaseFolder,
                                    std::u16string_view nameField);

// A 64-bit hash of a sequence of lines (each line's length and code units).
class LineHash {
  public:
    void Add(std::u16string_view line);
    uint64_t Value() const;

  private:
    uint64_t state_ = 0x9E3779B97F4A7C15ull;
    uint64_t lines_ = 0;
};

struct ReindexRecord {
    uint64_t size = 0;       // document size when the copy was made
    int64_t modifiedNs = 0;  // document last-write time then, in nanoseconds
    uint64_t linesHash = 0;  // LineHash of the lines the words were filed from
    bool readBack = false;   // those lines were read back from the copy by the text reader
                             // (a text too large to keep, or with unpaired surrogates)
};

class ReindexCache {
  public:
    // Reads the cache file; a missing, unreadable, damaged or foreign file gives an empty cache.
    static ReindexCache Load(std::u16string_view fileName);

    const ReindexRecord* Find(std::u16string_view path) const;
    // Records a document (path in Windows form); a path recorded again replaces the record.
    void Add(std::u16string_view path, const ReindexRecord& record);
    std::size_t Size() const { return paths_.size(); }

    // Writes the cache file. Throws textio::FileError.
    void Write(std::u16string_view fileName) const;

  private:
    std::vector<std::u16string> paths_;
    std::vector<ReindexRecord> records_;
    std::unordered_map<std::u16string, std::size_t> byPath_;
};

}  // namespace vx::indexing
