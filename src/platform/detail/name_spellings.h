// Case-insensitive lookup of one name without reading its folder: each spelling of the name in
// letter case is looked up by itself. Used by the name cache; not part of the module's interface.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace vx::platform::detail {

struct SpelledName {
    bool tried = false;               // false: too many spellings, the folder must be read
    std::optional<std::string> name;  // the name found, when tried
};

// The smallest name (raw bytes) in hostFolder whose decoded, upper-cased form is upper, as a
// reading of the folder would find it, when upper is ASCII and has at most maxSpellings
// spellings: every name that upper-cases to it (the few other characters that upper-case to
// ASCII, such as the dotless i, included), tried in byte order. Nothing is found when the folder
// cannot be read.
SpelledName FindBySpellings(const std::string& hostFolder, std::u16string_view upper,
                            std::size_t maxSpellings);

}  // namespace vx::platform::detail
