// What a run keeps about the documents it indexed, so that the next re-index can file an
// unchanged document's words from its text copy instead of parsing it again. Kept in a small
// binary file beside the database file and written with it by every run.
//
// A record holds the document's size, exact last-write time, change time and identity (device and
// inode) when its text copy was made and a hash of the lines its words were filed from. A document
// is taken from its copy only when all of these are still those (a file renamed over it, or one
// whose time was set back after an edit, is parsed again) and the copy, read again, gives lines
// with that hash: a copy that was rewritten, cut short or damaged since (by a later run that was
// killed, say) fails the hash, and the document is parsed again. The record also says where the run
// kept the document's words (kept_words.h): while the copy keeps its recorded size and time, those
// words are filed without reading the copy.
//
// The cache also names the files the run wrote (their sizes and exact times) and how many
// postings they hold: a re-index that finds every document unchanged, and those files as they were
// written, takes them as its result instead of writing the same bytes again.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/files.h"
#include "platform/read_only_file.h"

namespace vx::indexing {

// A 64-bit hash of a sequence of lines (each line's length and code units).
class LineHash {
  public:
    void Add(std::u16string_view line);
    uint64_t Value() const;

  private:
    uint64_t state_ = 0x9E3779B97F4A7C15ull;
    uint64_t lines_ = 0;
};

// A document as a run read it: what tells a changed or another file from the same one.
struct DocumentStamp {
    uint64_t size = 0;
    int64_t modifiedNs = 0;  // last-write time, in nanoseconds
    int64_t changedNs = 0;   // change time (ctime), which nobody can set back
    uint64_t device = 0;
    uint64_t inode = 0;
    bool operator==(const DocumentStamp&) const = default;
    static DocumentStamp Of(const platform::FileInfo& info) {
        return {info.size, info.modifiedNs, info.changedNs, info.device, info.inode};
    }
};

struct ReindexRecord {
    DocumentStamp document;    // the document when the copy was made
    uint64_t linesHash = 0;    // LineHash of the lines the words were filed from
    bool readBack = false;     // those lines were read back from the copy by the text reader
                               // (a text too large to keep, or with unpaired surrogates)
    platform::FileStamp copy;  // the text copy as written then
    // Where the run kept the document's words in the words file (see kept_words.h), and the
    // hash of that form; wordsSize 0 when it kept none.
    uint64_t wordsOffset = 0;
    uint32_t wordsSize = 0;
    uint64_t wordsHash = 0;
};

// The files of a run that wrote its database file in one pass, as they were when it ended.
struct RunOutputs {
    platform::FileStamp database;
    platform::FileStamp ansiList;
    platform::FileStamp unicodeList;
    int64_t postings = 0;  // the "," characters of the index lines
};

class ReindexCache {
  public:
    // Reads the cache file; a missing, unreadable, damaged or foreign file gives an empty cache.
    static ReindexCache Load(std::u16string_view fileName);

    const ReindexRecord* Find(std::u16string_view path) const;
    // Records a document (path in Windows form); a path recorded again replaces the record.
    void Add(std::u16string_view path, const ReindexRecord& record);
    std::size_t Size() const { return paths_.size(); }
    // The paths in the order they were recorded.
    const std::vector<std::u16string>& Paths() const { return paths_; }

    // What the run wrote, when it wrote its database file in one pass.
    const std::optional<RunOutputs>& Outputs() const { return outputs_; }
    void SetOutputs(const RunOutputs& outputs) { outputs_ = outputs; }

    // Writes the cache file. Throws textio::FileError.
    void Write(std::u16string_view fileName) const;

  private:
    std::vector<std::u16string> paths_;
    std::vector<ReindexRecord> records_;
    std::unordered_map<std::u16string, std::size_t> byPath_;
    std::optional<RunOutputs> outputs_;
};

}  // namespace vx::indexing
