// INI-style key reader for database files (the profile-string reader).
#pragma once

#include <string>
#include <string_view>

namespace vx::platform {

// Value of key in [section] of the file: section and key compared without regard to case, the
// value is the text after the first "=" to the end of the line, trimmed, at most 254 characters,
// decoded from UTF-8. "" when the file, the section or the key is missing.
std::u16string ReadProfileString(std::u16string_view file, std::u16string_view section,
                                 std::u16string_view key);

}  // namespace vx::platform
