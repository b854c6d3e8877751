// The rows of the database list: one per database file of the database folder.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vx::shell {

// Every entry matching index::kDatabaseFileMask in the folder, named as the engine names the rows
// (index::DatabaseRowOf), passed through the ANSI code page as the list holds it, sorted in
// collation order (equal names are all kept). A missing or unreadable folder gives no rows.
std::vector<std::u16string> ReadDatabaseRows(std::u16string_view databaseFolder);

// The row selected at first paint from the stored text ("" counts as "0"): the stored index when
// it names a row, else 0; -1 when there are no rows.
int FirstPaintRow(const std::u16string& stored, int rowCount);

}  // namespace vx::shell
