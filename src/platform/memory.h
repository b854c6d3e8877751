// Memory the process has freed, given back to the system.
#pragma once

namespace vx::platform {

// Returns the free pages of the heap to the system. After a large structure is freed, the
// allocator keeps its pages for reuse; the phases after it then add to the process's peak.
void ReturnFreeMemory();

}  // namespace vx::platform
