// Case-insensitive name lookup in host folders, with a cache of folder listings. Used by the
// path resolver; not part of the module's interface.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vx::platform::detail {

// Name on disk (raw bytes) of the entry of hostFolder whose name, decoded from UTF-8 and
// upper-cased, equals the upper-cased name; nullopt when there is none or the folder cannot be
// read. When several entries qualify, the smallest byte string wins.
std::optional<std::string> FindNameIgnoringCase(const std::string& hostFolder,
                                                std::u16string_view name);
void ClearNameCache();

}  // namespace vx::platform::detail
