// How a helper thread of a long command shares the processors with the thread it helps.
#pragma once

namespace vx::platform {

// Marks the calling thread as a helper: it keeps its share of the processors, but when it is
// woken it waits for the running thread's time slice to end instead of interrupting it. The
// thread that hands out the work (the run thread, or the window) then runs on.
void RunAsHelperThread();

}  // namespace vx::platform
