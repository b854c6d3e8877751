#include "platform/paths.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

#include "platform/detail/host_paths.h"
#include "platform/detail/name_cache.h"
#include "platform/text.h"

namespace vx::platform {

namespace {

// The host's working folder; "" when it cannot be had.
std::string HostWorkingFolder() {
    // PATH_MAX on Linux: a deeper folder doubles the buffer until it fits.
    constexpr std::size_t kFirstBufferSize = 4096;
    std::vector<char> buf(kFirstBufferSize);
    while (getcwd(buf.data(), buf.size()) == nullptr) {
        if (errno != ERANGE) return {};
        buf.resize(buf.size() * 2);
    }
    return buf.data();
}

bool IsSeparator(char16_t c) {
    return c == u'\\' || c == u'/';
}

// Components of the absolute Windows-form path on drive Z:, with "." dropped and ".." taking
// away the component before it (as Windows normalises paths); false when the path is not on
// drive Z:, not absolute or holds a NUL character.
bool SplitDriveZPath(std::u16string_view path, std::vector<std::u16string_view>& parts) {
    if (path.size() < 2 || path[1] != u':' || (path[0] != u'Z' && path[0] != u'z')) return false;
    path.remove_prefix(2);
    if (!path.empty() && !IsSeparator(path[0])) return false;  // "Z:name" is drive-relative
    // A NUL would cut the host path short and lead somewhere else.
    if (path.find(u'\0') != std::u16string_view::npos) return false;
    std::size_t i = 0;
    while (i < path.size()) {
        while (i < path.size() && IsSeparator(path[i])) ++i;
        std::size_t j = i;
        while (j < path.size() && !IsSeparator(path[j])) ++j;
        const std::u16string_view part = path.substr(i, j - i);
        if (part == u"..") {
            if (!parts.empty()) parts.pop_back();
        } else if (!part.empty() && part != u".") {
            parts.push_back(part);
        }
        i = j;
    }
    return true;
}

bool EntryExists(const std::string& hostPath) {
    struct stat st {};
    return lstat(hostPath.c_str(), &st) == 0;
}

// ToHostPath; asWritten receives what lstat tells of the path when it exists as written.
std::string ResolveHostPath(std::u16string_view windowsPath, struct stat& asWritten,
                            bool& existsAsWritten) {
    existsAsWritten = false;
    std::vector<std::u16string_view> parts;
    if (!SplitDriveZPath(windowsPath, parts)) return "";
    if (parts.empty()) return "/";

    std::string written;
    std::size_t parentSize = 0;
    for (const auto part : parts) {
        parentSize = written.size();
        written.push_back('/');
        written += ToUtf8(part);
    }
    if (lstat(written.c_str(), &asWritten) == 0) {
        existsAsWritten = true;
        return written;
    }

    // Component by component: the spelling as written when it exists, otherwise an entry that
    // differs only in letter case; from the first component that exists in no spelling on, the
    // rest is kept as written.
    std::string resolved;
    std::size_t first = 0;
    // Most often the path names a file yet to be made in a folder that exists as written; every
    // folder on the way exists as written then too, and the walk starts at the last component.
    if (parts.size() > 1 && EntryExists(written.substr(0, parentSize))) {
        resolved = written.substr(0, parentSize);
        first = parts.size() - 1;
    }
    for (std::size_t i = first; i < parts.size(); ++i) {
        std::string candidate = resolved + "/" + ToUtf8(parts[i]);
        if (EntryExists(candidate)) {
            resolved = std::move(candidate);
            continue;
        }
        const auto onDisk =
            detail::FindNameIgnoringCase(resolved.empty() ? "/" : resolved, parts[i]);
        if (!onDisk) {
            resolved = std::move(candidate);
            for (std::size_t k = i + 1; k < parts.size(); ++k) {
                resolved.push_back('/');
                resolved += ToUtf8(parts[k]);
            }
            break;
        }
        resolved += "/" + *onDisk;
    }
    return resolved;
}

}  // namespace

std::string ToHostPathAsWritten(std::u16string_view windowsPath) {
    std::vector<std::u16string_view> parts;
    if (!SplitDriveZPath(windowsPath, parts)) return "";
    if (parts.empty()) return "/";
    std::string host;
    for (const auto part : parts) {
        host.push_back('/');
        host += ToUtf8(part);
    }
    return host;
}

std::string ToHostPath(std::u16string_view windowsPath) {
    struct stat st {};
    bool existsAsWritten = false;
    return ResolveHostPath(windowsPath, st, existsAsWritten);
}

namespace detail {

bool StatWindowsPath(std::u16string_view windowsPath, struct stat& st, std::string* hostPath) {
    bool existsAsWritten = false;
    std::string host = ResolveHostPath(windowsPath, st, existsAsWritten);
    if (host.empty()) return false;
    // What lstat told of an entry that is no symbolic link is what stat would tell.
    const bool found = (existsAsWritten && !S_ISLNK(st.st_mode)) || stat(host.c_str(), &st) == 0;
    if (hostPath != nullptr) *hostPath = std::move(host);
    return found;
}

}  // namespace detail

std::u16string ToWindowsPath(std::string_view hostPath) {
    std::string full;
    if (hostPath.empty() || hostPath[0] != '/') {
        full = "/";
        const std::string folder = HostWorkingFolder();
        if (folder.starts_with('/')) full = folder + "/";
    }
    full += hostPath;
    std::u16string out = u"Z:";
    const std::u16string wide = FromUtf8(full);
    for (const char16_t c : wide) {
        if (c == u'/') {
            if (out.back() != u'\\') out.push_back(u'\\');
        } else {
            out.push_back(c);
        }
    }
    return out;
}

std::u16string CurrentDirectory() {
    const std::string folder = HostWorkingFolder();
    if (folder.empty()) return u"Z:\\";
    std::u16string path = ToWindowsPath(folder);
    if (path.size() > 3 && path.back() == u'\\') path.pop_back();
    return path;
}

void ClearPathCache() {
    detail::ClearNameCache();
}

std::u16string_view FolderOf(std::u16string_view path) {
    const std::size_t slash = path.rfind(u'\\');
    return slash == std::u16string_view::npos ? std::u16string_view() : path.substr(0, slash);
}

std::u16string_view NameOf(std::u16string_view path) {
    const std::size_t slash = path.rfind(u'\\');
    return slash == std::u16string_view::npos ? path : path.substr(slash + 1);
}

std::u16string_view ExtensionOf(std::u16string_view path) {
    const std::u16string_view name = NameOf(path);
    const std::size_t dot = name.rfind(u'.');
    return dot == std::u16string_view::npos ? std::u16string_view() : name.substr(dot);
}

std::u16string WithTrailingBackslash(std::u16string_view path) {
    std::u16string out(path);
    if (out.empty() || out.back() != u'\\') out.push_back(u'\\');
    return out;
}

}  // namespace vx::platform
