// A database file as the search reads it: the lookup file beside it when one matches it, the
// header part (document and path lines) read only when the lookup file cannot answer, and the
// byte offset where the index section begins.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

#include "index/database_file.h"
#include "index/lookup_file.h"
#include "platform/read_only_file.h"
#include "search/detail/line_cursor.h"

namespace vx::search {

using index::kMaxHeaderLineUnits;
using index::kMaxIndexLineUnits;

// The database file is damaged (a line beyond the bounds of index/database_file.h).
class DamagedDatabaseError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

class SearchDatabase {
  public:
    // Opens the database file (and, with useLookup, the lookup file beside it when it matches);
    // throws textio::FileError when the database file cannot be read.
    static SearchDatabase Open(std::u16string_view fileName, bool useLookup = true);
    ~SearchDatabase();
    SearchDatabase(SearchDatabase&&) noexcept;
    SearchDatabase& operator=(SearchDatabase&&) noexcept;

    const std::u16string& FileName() const { return fileName_; }
    const platform::ReadOnlyFile& File() const { return *file_; }
    // The window through which lines at given offsets are read.
    FileWindow& Window() { return *window_; }
    // Where the file's UTF-8 text begins; nullopt for a UTF-16 or UTF-32 text, which is only
    // read decoded, line by line.
    std::optional<uint64_t> TextStart() const { return textStart_; }

    // The lookup file, or nullptr.
    index::LookupFile* Lookup() { return lookup_.get(); }
    // Forgets a lookup file found damaged.
    void DropLookup();
    // True when a UTF-8 database file had no usable lookup file: a fresh one is worth writing.
    bool LookupWanted() const { return lookupWanted_; }

    // The lines up to and including the index section's marker line (all lines without one), read
    // on first use; throws DamagedDatabaseError for a line beyond kMaxHeaderLineUnits.
    const index::DatabaseFile& Header();
    // Offset of the index section's marker line of a UTF-8 text, nullopt without one.
    std::optional<uint64_t> MarkerOffset();

    // The document line of a number and the folder line of a path key, as index::DatabaseFile
    // gives them (the path line trimmed, "" when no line before names a folder).
    std::optional<std::u16string> DocumentLine(std::u16string_view number);
    std::optional<std::u16string> PathLine(std::u16string_view key);

  private:
    SearchDatabase(std::u16string fileName, platform::ReadOnlyFile file);
    // The line at a header offset the lookup file gave, checked to begin a line before the
    // index section; nullopt (and the lookup file dropped) otherwise.
    std::optional<std::u16string> HeaderLineAt(uint64_t offset);

    std::u16string fileName_;
    std::unique_ptr<platform::ReadOnlyFile> file_;
    std::unique_ptr<FileWindow> window_;
    std::unique_ptr<FileWindow> lineWindow_;  // for single header lines the lookup file finds
    std::optional<uint64_t> textStart_;
    std::unique_ptr<index::LookupFile> lookup_;
    bool lookupWanted_ = false;
    std::unique_ptr<index::DatabaseFile> header_;
    std::optional<uint64_t> markerOffset_;
};

// Writes a fresh lookup file beside the database file under a temporary name and renames it into
// place; any failure (a folder without write permission, a full disk) leaves things as they were.
void RefreshLookupFile(std::u16string_view databaseFile);

}  // namespace vx::search
