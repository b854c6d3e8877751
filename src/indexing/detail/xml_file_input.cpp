#include "indexing/detail/xml_file_input.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <string>

#include "platform/paths.h"

namespace vx::indexing {

XmlFileInput::~XmlFileInput() {
    if (fd_ >= 0) ::close(fd_);
}

bool XmlFileInput::Open(std::u16string_view windowsPath) {
    const std::string host = platform::ToHostPath(windowsPath);
    if (host.empty()) {
        openError_ = ENOENT;
        return false;
    }
    // Non-blocking so that opening a pipe cannot hang; regular files ignore the flag.
    fd_ = ::open(host.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd_ < 0) {
        openError_ = errno;
        return false;
    }
    struct stat st {};
    if (::fstat(fd_, &st) != 0 || !S_ISREG(st.st_mode)) {
        openError_ = S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
        ::close(fd_);
        fd_ = -1;
        return false;
    }
    chunk_.reset(new char[kChunkBytes]);
    return true;
}

bool XmlFileInput::Fill() {
    for (;;) {
        const ssize_t n = ::read(fd_, chunk_.get(), kChunkBytes);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            failed_ = true;
            return false;
        }
        pos_ = 0;
        end_ = static_cast<std::size_t>(n);
        bytesRead_ += end_;
        return n > 0;
    }
}

int XmlFileInput::Read(char* buffer, int len) {
    if (fd_ < 0 || failed_) return -1;
    if (len <= 0) return 0;
    if (pos_ == end_ && !Fill()) return failed_ ? -1 : 0;
    const std::size_t n = std::min(end_ - pos_, static_cast<std::size_t>(len));
    std::memcpy(buffer, chunk_.get() + pos_, n);
    pos_ += n;
    return static_cast<int>(n);
}

}  // namespace vx::indexing
