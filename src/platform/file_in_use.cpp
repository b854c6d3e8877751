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
    const int fd = open(host.c_str(), O_RDWR | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) return true;
    const bool locked = flock(fd, LOCK_EX | LOCK_NB) != 0;
    close(fd);  // also releases the lock taken for the test
    return locked;
}

}  // namespace vx::platform
