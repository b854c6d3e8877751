// JSON text for the machine-readable output of vantor-xml-cli.
#pragma once

#include <string>
#include <string_view>

namespace vx::cli {

// A JSON string literal (with its quotes) of UTF-8 text. Control characters, '"' and '\' are
// escaped; bytes that are not well-formed UTF-8 (a Linux file name may hold any) and encoded
// surrogates become U+FFFD, so the output is always valid JSON in UTF-8.
std::string JsonString(std::string_view utf8);

}  // namespace vx::cli
