// What the watcher prints: one line per event, after the time of day ("12:03:44 "), flushed at
// once (the journal of a service reads it from a pipe). Lines of its work go to standard output,
// notes of problems to standard error.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace vx::cli {

void PrintLine(const std::string& line);
void PrintNote(const std::string& line);

// "2.039"
std::string GroupedNumber(int64_t n);
std::string Utf8(std::u16string_view text);

}  // namespace vx::cli
