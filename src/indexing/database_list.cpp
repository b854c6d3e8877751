// The rows of the database list and the row chosen after a create run.
#include "indexing/commands.h"
#include "platform/collation.h"
#include "platform/folder_listing.h"
#include "platform/text.h"

namespace vx::indexing {

std::vector<std::u16string> ListDatabaseNames(const platform::WorkingFolders& folders) {
    std::vector<std::u16string> rows;
    for (const auto& entry : platform::ListFolder(folders.database + u"\\", u"*.DAT")) {
        std::u16string name = entry.name;
        const auto dat = platform::UpperCase(name).find(u".DAT");
        if (dat != std::u16string::npos) name.erase(dat, 4);
        rows.push_back(std::move(name));
    }
    platform::SortByCollation(rows);
    return rows;
}

int RowToSelectAfterCreate(const std::vector<std::u16string>& rows, std::u16string_view name) {
    if (name.empty()) return -1;
    const std::u16string upperName = platform::UpperCase(name);
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
