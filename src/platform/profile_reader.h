// INI-style key reader for database files (the profile-string reader).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace vx::platform {

// The longest value the profile reader gives unless asked for more.
inline constexpr std::size_t kProfileValueLimit = 254;

// Value of key in [section] of the file: section and key compared without regard to case, the
// value is the text after the first "=" to the end of the line, trimmed, at most maxLength
// characters (a surrogate pair is never cut in half), decoded from UTF-8. "" when the file, the
// section or the key is missing.
std::u16string ReadProfileString(std::u16string_view file, std::u16string_view section,
                                 std::u16string_view key,
                                 std::size_t maxLength = kProfileValueLimit);

}  // namespace vx::platform
