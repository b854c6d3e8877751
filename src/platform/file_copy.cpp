#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>

#include <memory>
#include <vector>

#include "platform/detail/host_folder.h"
#include "platform/detail/host_paths.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "platform/system_error_text.h"
#include "platform/text.h"

namespace vx::platform {

namespace {

constexpr int kMaxCopyNumber = 100000;

class Fd {
  public:
    explicit Fd(int fd) : fd_(fd) {}
    ~Fd() {
        if (fd_ >= 0) close(fd_);
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return fd_; }

  private:
    int fd_;
};

bool CopyBytes(int in, int out) {
    std::vector<char> buf(1 << 20);
    for (;;) {
        const ssize_t n = read(in, buf.data(), buf.size());
        if (n == 0) return true;
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        for (ssize_t done = 0; done < n;) {
            const ssize_t w = write(out, buf.data() + done, static_cast<size_t>(n - done));
            if (w < 0) {
                if (errno == EINTR) continue;
                return false;
            }
            done += w;
        }
    }
}

// The kernel copies without passing the bytes through the process where it can.
bool CopyAll(int in, int out) {
    for (;;) {
        const ssize_t n = copy_file_range(in, nullptr, out, nullptr, std::size_t{1} << 30, 0);
        if (n == 0) return true;
        if (n > 0) continue;
        if (errno == EINTR) continue;
        if (errno != EXDEV && errno != ENOSYS && errno != EINVAL && errno != EOPNOTSUPP) {
            return false;
        }
        return CopyBytes(in, out);  // goes on where the kernel stopped (the offsets moved)
    }
}

}  // namespace

bool CopyFileTo(std::u16string_view from, std::u16string_view to) {
    std::string hostFrom;
    std::string hostTo;
    if (!detail::ToHostPaths(from, to, hostFrom, hostTo)) return false;
    Fd in(open(hostFrom.c_str(), O_RDONLY | O_CLOEXEC));
    if (in.get() < 0) return false;
    Fd out(open(hostTo.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666));
    if (out.get() < 0) return false;
    if (!CopyAll(in.get(), out.get())) {
        const int error = errno;
        unlink(hostTo.c_str());
        errno = error;
        return false;
    }
    return true;
}

std::u16string CopyFileInto(std::u16string_view file, std::u16string_view folder) {
    const std::string hostFile = ToHostPath(file);
    const std::string hostFolder = ToHostPath(folder);
    if (hostFile.empty() || hostFolder.empty()) return u"";
    Fd in(open(hostFile.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    struct stat st {};
    if (in.get() < 0 || fstat(in.get(), &st) != 0 || !S_ISREG(st.st_mode)) return u"";

    const std::u16string folderPrefix = WithTrailingBackslash(folder);
    const std::u16string name(NameOf(file));
    for (int n = 1; n <= kMaxCopyNumber; ++n) {
        const std::u16string copyName = n == 1 ? name : u"Kopie (" + IntText(n) + u") von " + name;
        std::u16string target = folderPrefix + copyName;
        // A name counts as taken in any letter case, as on Windows.
        struct stat existing {};
        if (lstat(ToHostPath(target).c_str(), &existing) == 0) continue;

        const std::string hostTarget =
            hostFolder + (hostFolder == "/" ? "" : "/") + ToUtf8(copyName);
        Fd out(open(hostTarget.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
        if (out.get() < 0) {
            if (errno == EEXIST) continue;
            return u"";
        }
        if (!CopyBytes(in.get(), out.get())) {
            unlink(hostTarget.c_str());
            return u"";
        }
        // The copy keeps the last-write time of the original, as a shell copy does.
        const timespec times[2] = {st.st_atim, st.st_mtim};
        futimens(out.get(), times);
        return target;
    }
    return u"";
}

std::u16string DeleteAllFilesIn(std::u16string_view folder) {
    // A path without a host form opens no folder either.
    const detail::HostFolderStream dir = detail::OpenHostFolder(ToHostPath(folder));
    if (!dir) return {};
    const int dirFd = dirfd(dir.get());
    std::vector<std::string> victims;
    while (const dirent* e = readdir(dir.get())) {
        const std::string name = e->d_name;
        if (name == "." || name == "..") continue;
        struct stat st {};
        // Links to folders count as folders and stay.
        if (fstatat(dirFd, name.c_str(), &st, 0) == 0 && S_ISDIR(st.st_mode)) continue;
        victims.push_back(name);
    }
    std::u16string firstFailure;
    for (const auto& name : victims) {
        if (unlinkat(dirFd, name.c_str(), 0) != 0 && firstFailure.empty()) {
            firstFailure = FileErrorText(std::u16string(folder) + u"\\" + FromUtf8(name),
                                         u"kann nicht gelöscht werden", errno);
        }
    }
    return firstFailure;
}

}  // namespace vx::platform
