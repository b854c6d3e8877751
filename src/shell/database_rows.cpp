#include "shell/database_rows.h"

#include <algorithm>

#include "platform/ansi.h"
#include "platform/collation.h"
#include "platform/folder_listing.h"
#include "platform/text.h"

namespace vx::shell {

std::u16string RowNameOfFile(std::u16string_view fileName) {
    std::u16string name(fileName);
    const std::size_t pos = platform::UpperCase(name).find(u".DAT");
    if (pos != std::u16string::npos) name.erase(pos, 4);
    return name;
}

void SortRows(std::vector<std::u16string>& rows) {
    std::stable_sort(rows.begin(), rows.end(), [](const auto& a, const auto& b) {
        return platform::CollateCompare(a, b) < 0;
    });
}

std::vector<std::u16string> ReadDatabaseRows(std::u16string_view databaseFolder) {
    std::vector<std::u16string> rows;
    for (const auto& entry : platform::ListFolder(databaseFolder, u"*.DAT")) {
        rows.push_back(platform::AnsiToWide(platform::WideToAnsi(RowNameOfFile(entry.name))));
    }
    SortRows(rows);
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
