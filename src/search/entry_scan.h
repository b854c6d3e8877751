// The entry scan of one database: every line of the index section that a search word records,
// in file order, found by one of three ways that record the same lines:
// - through the lookup file, reading only the lines whose keys fit the words;
// - by a scan of the file's bytes, decoding only the lines that hold a word's byte anchor;
// - by decoding every line (a UTF-16 or UTF-32 file, or when asked to).
#pragma once

#include "search/detail/entry_match.h"
#include "search/search_database.h"

namespace vx::search {

enum class ScanMode {
    Auto,      // the lookup file when it can answer the words, else the byte scan
    Scan,      // the byte scan (the decoding scan for a file that is not UTF-8)
    Decoding,  // every line decoded
};

enum class ScanPath { Lookup, Bytes, Decoding };

// Tests the lines of the database's index section with the matcher. A lookup file found damaged
// part way is dropped, and a line too long for the byte scan to hold leaves the file to the
// decoding scan: what was recorded is reset, and the next way records anew. Throws
// DamagedDatabaseError for a line beyond the bounds of a database.
ScanPath ScanIndexSection(SearchDatabase& database, EntryMatcher& matcher, ScanMode mode);

}  // namespace vx::search
