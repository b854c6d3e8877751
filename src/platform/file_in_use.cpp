#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/detail/host_paths.h"
#include "platform/files.h"
#include "platform/paths.h"

namespace vx::platform {

bool IsFileInUse(std::u16string_view path) {
    struct stat st {};
    std::string host;
    if (!detail::StatWindowsPath(path, st, &host) || S_ISDIR(st.st_mode)) return false;
    // O_NONBLOCK keeps the test from hanging on a FIFO.
    const int fd = open(host.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) return true;
    // flock works on a descriptor opened for reading; a record lock of another process shows
    // in F_GETLK, which asks without taking anything.
    bool locked = flock(fd, LOCK_EX | LOCK_NB) != 0;
    struct flock probe {};
    probe.l_type = F_WRLCK;
    probe.l_whence = SEEK_SET;
    if (!locked && fcntl(fd, F_GETLK, &probe) == 0) locked = probe.l_type != F_UNLCK;
    close(fd);  // also releases the lock taken for the test
    return locked;
}

}  // namespace vx::platform
