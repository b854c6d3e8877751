#include "indexing/database_names.h"
#include "platform/collation.h"
#include "platform/folder_listing.h"
#include "platform/text.h"

namespace vx::indexing {

std::u16string DatabaseFileName(std::u16string_view name) {
    std::u16string file(name);
    if (!platform::UpperCase(name).ends_with(u".DAT")) file += u".dat";
    return file;
}

std::u16string DatabaseRowOf(std::u16string_view fileName) {
    std::u16string row(fileName);
    const auto dat = platform::UpperCase(row).find(u".DAT");
    if (dat != std::u16string::npos) row.erase(dat, 4);
    return row;
}

std::vector<std::u16string> ListDatabaseNames(const platform::WorkingFolders& folders) {
    std::vector<std::u16string> rows;
    for (const auto& entry : platform::ListFolder(folders.database + u"\\", u"*.DAT")) {
        rows.push_back(DatabaseRowOf(entry.name));
    }
    platform::SortByCollation(rows);
    return rows;
}

int RowToSelectAfterCreate(const std::vector<std::u16string>& rows, std::u16string_view name) {
    if (name.empty()) return -1;
    // The row of the database file just written ("Archiv" for the name "Archiv.dat").
    const std::u16string upperName = platform::UpperCase(DatabaseRowOf(DatabaseFileName(name)));
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
