#include "textio/file_byte_stream.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/paths.h"
#include "platform/text.h"
#include "textio/text_file.h"

namespace vx::textio {

FileByteStream::FileByteStream(std::u16string_view fileName, FileOpenMode mode)
    : displayName_(vx::platform::ToUtf8(fileName)) {
    const std::string hostPath = vx::platform::ToHostPath(fileName);
    if (hostPath.empty()) Fail("Cannot open file", ENOENT);
    int flags = O_CLOEXEC;
    switch (mode) {
        case FileOpenMode::Read:
            flags |= O_RDONLY;
            break;
        case FileOpenMode::CreateWrite:
            flags |= O_WRONLY | O_CREAT | O_TRUNC;
            break;
        case FileOpenMode::ReadWrite:
            flags |= O_RDWR;
            break;
        case FileOpenMode::OpenOrCreate:
            flags |= O_RDWR | O_CREAT;
            break;
    }
    do {
        fd_ = ::open(hostPath.c_str(), flags, 0666);
    } while (fd_ < 0 && errno == EINTR);
    if (fd_ < 0) Fail("Cannot open file", errno);
    struct stat info;
    if (::fstat(fd_, &info) == 0 && S_ISDIR(info.st_mode)) {
        ::close(fd_);
        fd_ = -1;
        Fail("Cannot open file", EISDIR);
    }
}

FileByteStream::~FileByteStream() {
    if (fd_ >= 0) ::close(fd_);
}

void FileByteStream::Fail(const char* what, int error) const {
    throw FileError(std::string(what) + " \"" + displayName_ + "\": " + std::strerror(error));
}

size_t FileByteStream::Read(void* buffer, size_t count) {
    auto* out = static_cast<char*>(buffer);
    size_t done = 0;
    while (done < count) {
        const ssize_t n = ::read(fd_, out + done, count - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            Fail("Cannot read file", errno);
        }
        if (n == 0) break;
        done += static_cast<size_t>(n);
    }
    return done;
}

size_t FileByteStream::Write(const void* buffer, size_t count) {
    const auto* in = static_cast<const char*>(buffer);
    size_t done = 0;
    while (done < count) {
        const ssize_t n = ::write(fd_, in + done, count - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            Fail("Cannot write file", errno);
        }
        done += static_cast<size_t>(n);
    }
    return done;
}

int64_t FileByteStream::Seek(int64_t offset, SeekOrigin origin) {
    const int whence = origin == SeekOrigin::Begin
                           ? SEEK_SET
                           : (origin == SeekOrigin::Current ? SEEK_CUR : SEEK_END);
    const off_t position = ::lseek(fd_, static_cast<off_t>(offset), whence);
    if (position < 0) Fail("Cannot seek in file", errno);
    return static_cast<int64_t>(position);
}

int64_t FileByteStream::Size() {
    struct stat info;
    if (::fstat(fd_, &info) != 0) Fail("Cannot read the size of file", errno);
    return static_cast<int64_t>(info.st_size);
}

void FileByteStream::SetSize(int64_t size) {
    int result;
    do {
        result = ::ftruncate(fd_, static_cast<off_t>(size));
    } while (result != 0 && errno == EINTR);
    if (result != 0) Fail("Cannot change the size of file", errno);
    if (Position() > size) Seek(size, SeekOrigin::Begin);
}

void FileByteStream::Close() {
    if (fd_ < 0) return;
    const int fd = fd_;
    fd_ = -1;
    // The descriptor is released even when close reports an error; the error is still reported.
    if (::close(fd) != 0 && errno != EINTR) Fail("Cannot write file", errno);
}

}  // namespace vx::textio
