#include "cli/stop_signals.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>

namespace vx::cli {

namespace {

std::atomic<int> g_signal{0};
std::atomic<int> g_wakeFd{-1};

extern "C" void OnStopSignal(int signal) {
    int none = 0;
    if (g_signal.compare_exchange_strong(none, signal)) {
        const char byte = 1;
        (void)!write(g_wakeFd.load(), &byte, 1);
        return;
    }
    ::signal(signal, SIG_DFL);
    raise(signal);
}

}  // namespace

StopSignals::StopSignals() {
    if (pipe2(pipe_, O_CLOEXEC | O_NONBLOCK) != 0) pipe_[0] = pipe_[1] = -1;
    g_signal = 0;
    g_wakeFd = pipe_[1];
    struct sigaction action {};
    action.sa_handler = OnStopSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

StopSignals::~StopSignals() {
    signal(SIGINT, SIG_DFL);
    signal(SIGTERM, SIG_DFL);
    g_wakeFd = -1;
    for (const int fd : pipe_) {
        if (fd >= 0) close(fd);
    }
}

int StopSignals::Signal() const {
    return g_signal.load();
}

}  // namespace vx::cli
