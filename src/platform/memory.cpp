#include "platform/memory.h"

#include <malloc.h>

namespace vx::platform {

void ReturnFreeMemory() {
    malloc_trim(0);
}

}  // namespace vx::platform
