// The names of databases: the rows of the database list, the database file of a name, and the
// row chosen after a create run.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/working_folders.h"

namespace vx::indexing {

// The rows of the database list: the database files of Datenbank\, each named as
// index::DatabaseRowOf names its row, sorted by the collation ignoring case, duplicates kept.
std::vector<std::u16string> ListDatabaseNames(const platform::WorkingFolders& folders);
// The same rows in the order of the listing, for a caller that needs no order.
std::vector<std::u16string> ListDatabaseRowsUnsorted(const platform::WorkingFolders& folders);

// The row that the list selects after a create run for the name field's text: the row equal
// to the name (letter case ignored); without one, the last row that contains the name (exact
// substring). -1 when there is none or the name is empty.
int RowToSelectAfterCreate(const std::vector<std::u16string>& rows, std::u16string_view name);

}  // namespace vx::indexing
