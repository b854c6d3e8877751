#include "textio/file_byte_stream.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/paths.h"
#include "platform/text.h"
#include "textio/text_file.h"

namespace vx::textio {

namespace {
constexpr char16_t kCannotOpen[] = u"kann nicht geöffnet werden";
constexpr char16_t kCannotCreate[] = u"kann nicht angelegt werden";
constexpr char16_t kCannotRead[] = u"kann nicht gelesen werden";
constexpr char16_t kCannotWrite[] = u"kann nicht geschrieben werden";
}  // namespace

FileByteStream::FileByteStream(std::u16string_view fileName, FileOpenMode mode)
    : displayName_(fileName) {
    const std::string hostPath = vx::platform::ToHostPath(fileName);
    const char16_t* const openAction =
        mode == FileOpenMode::CreateWrite ? kCannotCreate : kCannotOpen;
    if (hostPath.empty()) Fail(openAction, ENOENT);
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
    if (fd_ < 0) Fail(openAction, errno);
    struct stat info;
    if (::fstat(fd_, &info) == 0 && S_ISDIR(info.st_mode)) {
        ::close(fd_);
        fd_ = -1;
        Fail(openAction, EISDIR);
    }
}

FileByteStream::~FileByteStream() {
    if (fd_ >= 0) ::close(fd_);
}

void FileByteStream::Fail(const char16_t* action, int error) const {
    throw FileError::About(displayName_, action, error);
}

size_t FileByteStream::Read(void* buffer, size_t count) {
    auto* out = static_cast<char*>(buffer);
    size_t done = 0;
    while (done < count) {
        const ssize_t n = ::read(fd_, out + done, count - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            Fail(kCannotRead, errno);
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
            Fail(kCannotWrite, errno);
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
    if (position < 0) Fail(kCannotRead, errno);
    return static_cast<int64_t>(position);
}

int64_t FileByteStream::Size() {
    struct stat info;
    if (::fstat(fd_, &info) != 0) Fail(kCannotRead, errno);
    return static_cast<int64_t>(info.st_size);
}

void FileByteStream::SetSize(int64_t size) {
    int result;
    do {
        result = ::ftruncate(fd_, static_cast<off_t>(size));
    } while (result != 0 && errno == EINTR);
    if (result != 0) Fail(kCannotWrite, errno);
    if (Position() > size) Seek(size, SeekOrigin::Begin);
}

void FileByteStream::Close() {
    if (fd_ < 0) return;
    const int fd = fd_;
    fd_ = -1;
    // The descriptor is released even when close reports an error; the error is still reported.
    if (::close(fd) != 0 && errno != EINTR) Fail(kCannotWrite, errno);
}

void ReadWholeFile(std::u16string_view fileName, std::string& bytes) {
    FileByteStream file(fileName, FileOpenMode::Read);
    bytes.resize(static_cast<std::size_t>(file.Size()));
    std::size_t done = 0;
    while (done < bytes.size()) {
        const std::size_t n = file.Read(bytes.data() + done, bytes.size() - done);
        if (n == 0) break;
        done += n;
    }
    bytes.resize(done);
}

}  // namespace vx::textio
