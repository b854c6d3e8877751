// A lock that one process holds on a file while it works, for programs that share a folder. The
// lock is an exclusive flock(2) on the file: the system releases it when the holder ends, however
// it ends, so a lock left by a process that died is never in the way. The holder writes its
// program name and process id into the file, so that a program refused the lock can say who
// holds it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vx::platform {

// Who holds a lock, as its file says (program empty and pid 0 when it cannot be read).
struct LockHolder {
    std::u16string program;
    int64_t pid = 0;
};

class FileLock {
  public:
    // Takes the lock on the file (created when missing) without waiting. nullopt when another
    // process (or another FileLock of this one) holds it; heldBy then receives who does. Also
    // nullopt, with heldBy empty, when the file cannot be opened (errno tells why).
    static std::optional<FileLock> TryTake(std::u16string_view path, LockHolder* heldBy = nullptr);
    ~FileLock();
    FileLock(FileLock&& other) noexcept;
    FileLock& operator=(FileLock&& other) noexcept;
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

  private:
    explicit FileLock(int fd) : fd_(fd) {}
    int fd_ = -1;
};

// The name the locks of this process give as the holder's program: the program's own name
// unless SetProgramName chose another ("vantor-xml-cli watch").
std::u16string ProgramName();
void SetProgramName(std::u16string_view name);

// Whether a process with the id runs (false only when the system says there is none).
bool ProcessRuns(int64_t pid);

}  // namespace vx::platform
