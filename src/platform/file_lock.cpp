#include "platform/file_lock.h"

#include <errno.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <unistd.h>

#include <mutex>
#include <utility>

#include "platform/detail/host_paths.h"
#include "platform/paths.h"
#include "platform/text.h"

namespace vx::platform {

namespace {

std::mutex& ProgramNameMutex() {
    static std::mutex mutex;
    return mutex;
}

std::u16string& ProgramNameStore() {
    static std::u16string name = FromUtf8(program_invocation_short_name);
    return name;
}

// "program\npid\n"
LockHolder ReadHolder(int fd) {
    std::string text(512, '\0');
    const ssize_t n = pread(fd, text.data(), text.size(), 0);
    LockHolder holder;
    if (n <= 0) return holder;
    text.resize(static_cast<std::size_t>(n));
    const auto first = text.find('\n');
    if (first == std::string::npos) return holder;
    const auto second = text.find('\n', first + 1);
    if (second == std::string::npos) return holder;
    int64_t pid = 0;
    if (!ParseInt(FromUtf8(text.substr(first + 1, second - first - 1)), pid) || pid <= 0) {
        return holder;
    }
    holder.program = FromUtf8(text.substr(0, first));
    holder.pid = pid;
    return holder;
}

}  // namespace

std::optional<FileLock> FileLock::TryTake(std::u16string_view path, LockHolder* heldBy) {
    if (heldBy != nullptr) *heldBy = LockHolder();
    const std::string host = detail::ToHostPathOrNoEntry(path);
    if (host.empty()) return std::nullopt;
    // Not inherited: a program this process starts (the browser) must not keep the lock.
    const int fd = open(host.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOCTTY, 0666);
    if (fd < 0) return std::nullopt;
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int error = errno;
        // The holder writes its name right after taking the lock; in that moment it is unknown.
        if (heldBy != nullptr) *heldBy = ReadHolder(fd);
        close(fd);
        errno = error;
        return std::nullopt;
    }
    const std::string text = ToUtf8(ProgramName()) + "\n" + std::to_string(getpid()) + "\n";
    // Who holds the lock is only information: a failure to write it costs no more than that.
    if (ftruncate(fd, 0) == 0) (void)!pwrite(fd, text.data(), text.size(), 0);
    return FileLock(fd);
}

FileLock::~FileLock() {
    if (fd_ >= 0) close(fd_);  // releases the lock
}

FileLock::FileLock(FileLock&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}

FileLock& FileLock::operator=(FileLock&& other) noexcept {
    if (this != &other) {
        if (fd_ >= 0) close(fd_);
        fd_ = std::exchange(other.fd_, -1);
    }
    return *this;
}

std::u16string ProgramName() {
    std::lock_guard lock(ProgramNameMutex());
    return ProgramNameStore();
}

void SetProgramName(std::u16string_view name) {
    std::lock_guard lock(ProgramNameMutex());
    ProgramNameStore() = name;
}

bool ProcessRuns(int64_t pid) {
    if (pid <= 0 || pid > INT32_MAX) return false;
    return kill(static_cast<pid_t>(pid), 0) == 0 || errno != ESRCH;
}

}  // namespace vx::platform
