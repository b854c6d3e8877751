#include "indexing/database_names.h"

#include "index/database_files.h"
#include "platform/collation.h"
#include "platform/folder_listing.h"
#include "platform/text.h"

namespace vx::indexing {

std::vector<std::u16string> ListDatabaseRowsUnsorted(const platform::WorkingFolders& folders) {
    std::vector<std::u16string> rows;
    for (const auto& entry :
         platform::ListFolder(folders.database + u"\\", index::kDatabaseFileMask)) {
        rows.push_back(index::DatabaseRowOf(entry.name));
    }
    return rows;
}

std::vector<std::u16string> ListDatabaseNames(const platform::WorkingFolders& folders) {
    std::vector<std::u16string> rows = ListDatabaseRowsUnsorted(folders);
    platform::SortByCollation(rows);
    return rows;
}

int RowToSelectAfterCreate(const std::vector<std::u16string>& rows, std::u16string_view name) {
    if (name.empty()) return -1;
    // The row of the database file just written (a name that already names a database file
    // gives the row without its extension).
    const std::u16string upperName =
        platform::UpperCase(index::DatabaseRowOf(index::DatabaseFileName(name)));
    int containing = -1;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (platform::UpperCase(rows[i]) == upperName) return static_cast<int>(i);
        if (!rows[i].empty() && rows[i].find(name) != std::u16string::npos) {
            containing = static_cast<int>(i);
        }
    }
    return containing;
}

}  // namespace vx::indexing
