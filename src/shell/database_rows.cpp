#include "shell/database_rows.h"

#include "index/database_files.h"
#include "platform/ansi.h"
#include "platform/collation.h"
#include "platform/folder_listing.h"
#include "platform/text.h"

namespace vx::shell {

std::vector<std::u16string> ReadDatabaseRows(std::u16string_view databaseFolder) {
    std::vector<std::u16string> rows;
    for (const auto& entry : platform::ListFolder(databaseFolder, index::kDatabaseFileMask)) {
        rows.push_back(
            platform::AnsiToWide(platform::WideToAnsi(index::DatabaseRowOf(entry.name))));
    }
    platform::SortByCollation(rows);
    return rows;
}

int FirstPaintRow(const std::u16string& stored, int rowCount) {
    if (rowCount <= 0) return -1;
    int64_t index = 0;
    if (!stored.empty() && !platform::ParseInt(stored, index)) index = 0;
    if (index < 0 || index >= rowCount) index = 0;
    return static_cast<int>(index);
}

}  // namespace vx::shell
