#include "cli/terminal_host.h"

#include <signal.h>

#include <gtest/gtest.h>

namespace vx::cli {
namespace {

// Ctrl-C while a run puts its files in place, after its last pause, stops nothing; the run
// ends as done, and the tool still reports the interruption.
TEST(TerminalHost, CtrlCAfterTheLastPauseStillCountsAsAnInterruption) {
    TerminalHost host(true);
    RunFlags flags;
    host.HandleInterrupts(flags);
    flags.running = true;
    raise(SIGINT);
    flags.running = false;
    EXPECT_FALSE(host.Interrupted());
    host.FinishRun();
    EXPECT_TRUE(host.Interrupted());
}

}  // namespace
}  // namespace vx::cli
