// Memory the process has freed, given back to the system; large pages for large runs.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vx::platform {

// Returns the free pages of the heap to the system. After a large structure is freed, the
// allocator keeps its pages for reuse; the phases after it then add to the process's peak.
void ReturnFreeMemory();

// Starts the program again in this process (the same process number and arguments) with the C
// library's allocator asking for large pages (2 MB) for its memory, where the system gives them
// only to a program that asks. A run that builds large tables then takes one page fault where it
// took hundreds. Returns only when nothing was done: the setting is on already, the user set it
// either way, the system has large pages always or never, or the program cannot start again.
void RestartWithLargePages(char** argv);

// The parts of RestartWithLargePages that decide. The value GLIBC_TUNABLES gets (nullopt: leave
// it as it is) from its value now (nullptr: not set).
std::optional<std::string> TunablesWithLargePages(const char* tunables);
// Whether the transparent huge page mode (the line of
// /sys/kernel/mm/transparent_hugepage/enabled) gives them only on request.
bool LargePagesOnRequest(std::string_view modeLine);

}  // namespace vx::platform
