// A database file as the search reads it: the text is read once; the part up to and including the
// "[DATENBANK]" line becomes an index::DatabaseFile for the document and path lookups, and the
// index section stays as views into the text, so that the hundreds of thousands of entry lines
// cost no allocation each.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "index/database_file.h"

namespace vx::search {

class SearchDatabase {
  public:
    // The text of a database file (lines split at CR LF, LF or CR).
    explicit SearchDatabase(std::u16string text);
    // Reads the file with ReadTextFile; throws textio::FileError when it cannot be read.
    static SearchDatabase Load(std::u16string_view fileName);

    // Lines up to and including the first one that contains "[DATENBANK]" (all lines without).
    const index::DatabaseFile& Header() const { return *header_; }
    // The first line containing "[DATENBANK]" and every line after it; empty without such line.
    const std::vector<std::u16string_view>& IndexLines() const { return indexLines_; }

  private:
    std::unique_ptr<const std::u16string> text_;  // the views point into it
    std::unique_ptr<index::DatabaseFile> header_;
    std::vector<std::u16string_view> indexLines_;
};

}  // namespace vx::search
