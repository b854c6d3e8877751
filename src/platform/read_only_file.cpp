#include "platform/read_only_file.h"

#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <utility>

#include "platform/detail/host_paths.h"
#include "platform/detail/nanoseconds.h"
#include "platform/paths.h"

namespace vx::platform {

std::optional<ReadOnlyFile> ReadOnlyFile::Open(std::u16string_view path) {
    const std::string host = detail::ToHostPathOrNoEntry(path);
    if (host.empty()) return std::nullopt;
    const int fd = open(host.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return std::nullopt;
    struct stat st {};
    const bool stated = fstat(fd, &st) == 0;
    if (!stated || !S_ISREG(st.st_mode)) {
        const int error = stated ? EISDIR : errno;
        close(fd);
        errno = error;
        return std::nullopt;
    }
    ReadOnlyFile file(fd);
    file.size_ = static_cast<uint64_t>(st.st_size);
    file.modifiedNs_ = detail::Nanoseconds(st.st_mtim);
    return file;
}

ReadOnlyFile::~ReadOnlyFile() {
    if (fd_ >= 0) close(fd_);
}

ReadOnlyFile::ReadOnlyFile(ReadOnlyFile&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)), size_(other.size_), modifiedNs_(other.modifiedNs_) {}

ReadOnlyFile& ReadOnlyFile::operator=(ReadOnlyFile&& other) noexcept {
    if (this != &other) {
        if (fd_ >= 0) close(fd_);
        fd_ = std::exchange(other.fd_, -1);
        size_ = other.size_;
        modifiedNs_ = other.modifiedNs_;
    }
    return *this;
}

std::size_t ReadOnlyFile::ReadAt(uint64_t offset, void* buffer, std::size_t count) const {
    std::size_t done = 0;
    auto* out = static_cast<char*>(buffer);
    while (done < count) {
        const ssize_t n = pread(fd_, out + done, count - done, static_cast<off_t>(offset + done));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        done += static_cast<std::size_t>(n);
    }
    return done;
}

bool ReadOnlyFile::ReadExactly(uint64_t offset, void* buffer, std::size_t count) const {
    return ReadAt(offset, buffer, count) == count;
}

std::optional<FileStamp> StampOf(std::u16string_view path) {
    struct stat st {};
    if (!detail::StatWindowsPath(path, st) || !S_ISREG(st.st_mode)) return std::nullopt;
    return FileStamp{static_cast<uint64_t>(st.st_size), detail::Nanoseconds(st.st_mtim)};
}

}  // namespace vx::platform
