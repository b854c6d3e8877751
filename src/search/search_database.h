// A database file as the search reads it, in one pass: the part up to and including the
// "[DATENBANK]" line becomes an index::DatabaseFile for the document and path lookups; the lines
// of the index section are then streamed, so that the file is never held whole in memory.
#pragma once

#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>

#include "index/database_file.h"
#include "textio/text_file.h"

namespace vx::search {

// No line of a real database is this long: a path stays far below the header bound, and an entry
// line lists at most the documents of two passes. A longer line means a damaged file.
inline constexpr std::size_t kMaxHeaderLineUnits = 64 * 1024;
inline constexpr std::size_t kMaxIndexLineUnits = 64u << 20;

// The database file is damaged (a line beyond the bounds above).
class DamagedDatabaseError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

class SearchDatabase {
  public:
    // A database given as text (lines split at CR LF, LF or CR).
    explicit SearchDatabase(std::u16string text);
    // Opens the file and reads its header part (decoded as ReadTextFile decodes it); throws
    // textio::FileError when it cannot be read, DamagedDatabaseError for an overlong line.
    static SearchDatabase Open(std::u16string_view fileName);

    // Lines up to and including the first one that contains "[DATENBANK]" (all lines without).
    const index::DatabaseFile& Header() const { return *header_; }
    // The next line of the index section: the "[DATENBANK]" line first, then every line after
    // it. False at the end (at once when the file has no such line). Each line is read once.
    // Throws DamagedDatabaseError for an overlong line.
    bool NextIndexLine(std::u16string& line);

  private:
    SearchDatabase() = default;
    bool NextLine(std::u16string& line, std::size_t limit);
    void ReadHeader();

    std::unique_ptr<textio::LineReader> reader_;  // the file, or
    std::u16string text_;                         // the text given
    std::size_t position_ = 0;
    std::unique_ptr<index::DatabaseFile> header_;
    bool markerPending_ = false;  // the "[DATENBANK]" line is still to be delivered
    std::u16string marker_;
};

}  // namespace vx::search
