// Which database a command's NAME argument names: one rule for every command that takes one.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vx::cli {

// The row of the database list that NAME names: the row spelled exactly so, else the (last)
// row equal to it with letter case ignored; nullptr when there is none.
const std::u16string* DatabaseRowNamed(const std::vector<std::u16string>& rows,
                                       std::u16string_view name);

}  // namespace vx::cli
