#include "platform/helper_thread.h"

#include <sched.h>

namespace vx::platform {

void RunAsHelperThread() {
    // A batch thread does not preempt on wake-up. Failing changes nothing but the speed.
    const sched_param param{};
    sched_setscheduler(0, SCHED_BATCH, &param);
}

}  // namespace vx::platform
