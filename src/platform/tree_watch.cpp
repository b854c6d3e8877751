#include "platform/tree_watch.h"

#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

#include "platform/detail/host_folder.h"

namespace vx::platform {

namespace {

constexpr uint32_t kFolderEvents = IN_CREATE | IN_DELETE | IN_MODIFY | IN_CLOSE_WRITE | IN_ATTRIB |
                                   IN_MOVED_FROM | IN_MOVED_TO | IN_DELETE_SELF | IN_MOVE_SELF |
                                   IN_ONLYDIR | IN_EXCL_UNLINK;

}  // namespace

TreeWatch::TreeWatch(std::string root, DocumentNameFilter isDocument, Options options)
    : root_(std::move(root)), isDocument_(std::move(isDocument)), options_(options) {}

TreeWatch::~TreeWatch() {
    Stop();
}

void TreeWatch::Stop() {
    if (fd_ >= 0) close(fd_);  // drops every watch and what is queued
    fd_ = -1;
    rootWd_ = -1;
    folders_.clear();
    watches_.clear();
}

void TreeWatch::Start(std::vector<TreeEvent>& events) {
    Stop();
    struct stat st {};
    if (stat(root_.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) {
        events.push_back({TreeEvent::Kind::RootGone, root_, errno});
        return;
    }
    fd_ = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (fd_ < 0) {
        events.push_back({TreeEvent::Kind::Unwatched, root_, errno});
        return;
    }
    WatchFolder(root_, false, events);
    const auto root = watches_.find(root_);
    if (root == watches_.end()) {
        Stop();
        return;
    }
    rootWd_ = root->second;
}

void TreeWatch::WatchFolder(const std::string& folder, bool reportDocuments,
                            std::vector<TreeEvent>& events) {
    std::vector<std::string> pending{folder};
    std::vector<detail::HostEntry> entries;
    while (!pending.empty()) {
        const std::string current = std::move(pending.back());
        pending.pop_back();
        if (options_.maxWatches != 0 && folders_.size() >= options_.maxWatches &&
            !watches_.contains(current)) {
            events.push_back({TreeEvent::Kind::Unwatched, current, ENOSPC});
            continue;
        }
        // The watch comes before the listing: a document written in between is listed, or
        // reported by the watch, or both.
        const int wd = inotify_add_watch(fd_, current.c_str(), kFolderEvents);
        if (wd < 0) {
            // A folder that went again at once is reported by its parent's watch.
            if (errno != ENOENT && errno != ENOTDIR) {
                events.push_back({TreeEvent::Kind::Unwatched, current, errno});
            }
            continue;
        }
        // Watched already: the same folder, or one reached a second time through a link.
        if (folders_.contains(wd)) continue;
        folders_.emplace(wd, current);
        watches_.insert_or_assign(current, wd);
        if (!detail::ReadHostFolder(current, entries)) continue;
        for (const detail::HostEntry& entry : entries) {
            if (entry.isDirectory) {
                if (options_.subfolders && !entry.name.starts_with('.')) {
                    pending.push_back(detail::HostChild(current, entry.name));
                }
            } else if (reportDocuments && isDocument_(entry.name)) {
                events.push_back(
                    {TreeEvent::Kind::Document, detail::HostChild(current, entry.name), 0});
            }
        }
    }
}

void TreeWatch::Forget(const std::string& folder) {
    const auto drop = [this](std::map<std::string, int>::iterator it) {
        inotify_rm_watch(fd_, it->second);
        folders_.erase(it->second);
        return watches_.erase(it);
    };
    if (const auto it = watches_.find(folder); it != watches_.end()) drop(it);
    const std::string prefix = folder + "/";
    for (auto it = watches_.lower_bound(prefix);
         it != watches_.end() && it->first.starts_with(prefix);) {
        it = drop(it);
    }
}

void TreeWatch::Read(std::vector<TreeEvent>& events) {
    alignas(inotify_event) char buffer[32 * 1024];
    while (fd_ >= 0) {
        const ssize_t size = read(fd_, buffer, sizeof buffer);
        if (size < 0 && errno == EINTR) continue;
        if (size <= 0) return;
        const char* end = buffer + size;
        for (const char* at = buffer; at < end;) {
            const auto* event = reinterpret_cast<const inotify_event*>(at);
            const std::string name = event->len > 0 ? std::string(event->name) : std::string();
            at += sizeof(inotify_event) + event->len;
            if (!Take(event->wd, event->mask, name, events)) break;
        }
    }
}

bool TreeWatch::Take(int wd, uint32_t mask, const std::string& name,
                     std::vector<TreeEvent>& events) {
    if ((mask & IN_Q_OVERFLOW) != 0) {
        events.push_back({TreeEvent::Kind::Lost, root_, 0});
        Start(events);
        return false;
    }
    const auto found = folders_.find(wd);
    if (found == folders_.end()) return true;  // a watch dropped before its last events came
    const std::string folder = found->second;
    if ((mask & IN_IGNORED) != 0) {
        if (const auto it = watches_.find(folder); it != watches_.end() && it->second == wd) {
            watches_.erase(it);
        }
        folders_.erase(found);
    }
    if (name.empty()) {
        if (wd == rootWd_ && (mask & (IN_DELETE_SELF | IN_MOVE_SELF | IN_UNMOUNT | IN_IGNORED))) {
            Stop();
            events.push_back({TreeEvent::Kind::RootGone, root_, 0});
            return false;
        }
        return true;  // a folder below is reported by its parent's watch
    }
    std::string path = detail::HostChild(folder, name);
    if ((mask & IN_ISDIR) != 0) {
        if (!options_.subfolders || name.starts_with('.')) return true;
        if ((mask & (IN_CREATE | IN_MOVED_TO)) != 0) {
            WatchFolder(path, true, events);
        } else if ((mask & (IN_DELETE | IN_MOVED_FROM)) != 0) {
            Forget(path);
            events.push_back({TreeEvent::Kind::FolderGone, std::move(path), 0});
        }
        return true;
    }
    if (isDocument_(name)) events.push_back({TreeEvent::Kind::Document, std::move(path), 0});
    return true;
}

}  // namespace vx::platform
