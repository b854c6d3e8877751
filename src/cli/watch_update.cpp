#include "cli/watch_update.h"

#include <poll.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <exception>
#include <iostream>
#include <new>

#include "cli/watch_host.h"
#include "cli/watch_output.h"
#include "indexing/commands.h"
#include "platform/paths.h"
#include "platform/system_error_text.h"

namespace vx::cli {

namespace {

// The child's exit statuses.
constexpr int kUpdated = 0;
constexpr int kNotUpdated = 1;
constexpr int kBusy = 3;

// "0,7 s"
std::string Seconds(int64_t ms) {
    const int64_t tenths = (ms + 50) / 100;
    return std::to_string(tenths / 10) + "," + std::to_string(tenths % 10) + " s";
}

}  // namespace

UpdateRunner::UpdateRunner(const platform::WorkingFolders& folders,
                           const indexing::RunOptions& options, const StopSignals& stop)
    : folders_(folders), options_(options), stop_(stop) {
    void* shared = mmap(nullptr, sizeof(std::atomic<int>), PROT_READ | PROT_WRITE,
                        MAP_SHARED | MAP_ANONYMOUS, -1, 0);
    if (shared != MAP_FAILED) request_ = new (shared) std::atomic<int>(0);
}

UpdateRunner::~UpdateRunner() {
    if (request_ != nullptr) munmap(request_, sizeof(std::atomic<int>));
}

UpdateEnd UpdateRunner::Run(const std::u16string& name, const std::string& what) {
    std::cout.flush();
    const pid_t parent = getpid();
    const pid_t child = request_ != nullptr ? fork() : -1;
    if (child == 0) {
        // Ends with the watcher, however that ends; the watcher passes its signals on.
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (getppid() != parent) _exit(kNotUpdated);
        signal(SIGINT, SIG_IGN);
        signal(SIGTERM, SIG_IGN);
        int status = kNotUpdated;
        try {
            status = Update(name, what);
        } catch (const std::exception& error) {
            PrintNote(Utf8(name) + ": Fehler: " + error.what());
        }
        _exit(status);
    }
    if (child < 0) {
        PrintNote(Utf8(name) + ": Die Aktualisierung kann nicht beginnen: " +
                  Utf8(platform::SystemErrorText(errno)) + ".");
        return UpdateEnd::NotUpdated;
    }
    const int status = Await(child);
    if (WIFEXITED(status) && WEXITSTATUS(status) == kUpdated) return UpdateEnd::Updated;
    if (WIFEXITED(status) && WEXITSTATUS(status) == kBusy) return UpdateEnd::Busy;
    if (WIFSIGNALED(status)) {
        PrintNote(Utf8(name) + ": Die Aktualisierung endete mit dem Signal " +
                  std::to_string(WTERMSIG(status)) +
                  "; die Datenbank ist die vorige oder die neue.");
    }
    return UpdateEnd::NotUpdated;
}

int UpdateRunner::Await(int child) {
    // Readable when the child has ended (-1 on systems without it: waitpid alone then).
    const int process = static_cast<int>(syscall(SYS_pidfd_open, child, 0));
    int status = W_EXITCODE(kNotUpdated, 0);
    bool passedOn = false;
    for (;;) {
        int ending = 0;
        const pid_t ended = waitpid(child, &ending, passedOn || process < 0 ? 0 : WNOHANG);
        if (ended == child) status = ending;
        if (ended == child || (ended < 0 && errno != EINTR)) break;
        if (!passedOn && stop_.Signal() != 0) {
            request_->store(stop_.Signal());
            passedOn = true;
        } else if (process >= 0) {
            pollfd fds[] = {{process, POLLIN, 0}, {stop_.Fd(), POLLIN, 0}};
            poll(fds, 2, -1);
        }
    }
    if (process >= 0) close(process);
    return status;
}

int UpdateRunner::Update(const std::u16string& name, const std::string& what) {
    // What the watcher's resolver knew is not this process's to keep current.
    platform::ClearPathCache();
    RunFlags flags;
    WatchHost host(request_, flags);
    const int64_t start = SteadyTickMs();
    indexing::IndexingCommands commands(host, flags, folders_);
    commands.SetOptions(options_);
    const indexing::CommandResult result = commands.Reindex(name, 1, nullptr);
    const int64_t took = SteadyTickMs() - start;
    if (result.outcome == indexing::CommandOutcome::Busy) return kBusy;
    const std::string shown = Utf8(name);
    host.PrintMessages(shown + ": ");
    if (result.outcome != indexing::CommandOutcome::Done) {
        PrintLine(shown + " nicht aktualisiert.");
        return kNotUpdated;
    }
    if (host.Cancelled()) {
        PrintLine(shown + ": Aktualisierung nach " + Seconds(took) +
                  " abgebrochen; gespeichert ist, was bis dahin indiziert war.");
    } else {
        PrintLine(shown + " aktualisiert in " + Seconds(took) + ": " + what + " (" +
                  GroupedNumber(result.documents) + " Dokumente, " +
                  GroupedNumber(result.documents - result.reused) + " davon neu gelesen).");
    }
    return kUpdated;
}

}  // namespace vx::cli
