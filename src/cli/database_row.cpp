#include "cli/database_row.h"

#include "platform/text.h"

namespace vx::cli {

const std::u16string* DatabaseRowNamed(const std::vector<std::u16string>& rows,
                                       std::u16string_view name) {
    const std::u16string upperName = platform::UpperCase(name);
    const std::u16string* named = nullptr;
    for (const std::u16string& row : rows) {
        if (row == name) return &row;
        if (platform::UpperCase(row) == upperName) named = &row;
    }
    return named;
}

}  // namespace vx::cli
