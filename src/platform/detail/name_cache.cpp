#include "platform/detail/name_cache.h"

#include <dirent.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <memory>
#include <mutex>
#include <unordered_map>
#include <vector>

#include "platform/text.h"

namespace vx::platform::detail {

namespace {

// Listings of watched folders are kept exact through inotify events, so a folder into which
// the engine writes thousands of new files is read once, not once per file. Without a watch
// (inotify unavailable or out of watches) a listing is re-read when the folder's modification
// time changes. That time only moves at the granularity of the file system's clock, so a
// listing read shortly after the last change may miss entries created in the same tick: such a
// listing still answers hits, but a miss re-reads the folder.
constexpr int64_t kTrustMarginNs = 2'000'000'000;
constexpr std::size_t kMaxFolders = 4096;
constexpr uint32_t kWatchMask = IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO |
                                IN_DELETE_SELF | IN_MOVE_SELF | IN_ONLYDIR;

int64_t Nanoseconds(const timespec& t) {
    return int64_t{t.tv_sec} * 1'000'000'000 + t.tv_nsec;
}

struct Listing {
    dev_t device = 0;
    ino_t inode = 0;
    int watch = -1;
    int64_t mtimeNs = 0;
    bool trusted = false;
    // Upper-cased decoded name -> names on disk with that form.
    std::unordered_map<std::u16string, std::vector<std::string>> byUpperName;

    void AddName(const std::string& name) {
        auto& names = byUpperName[UpperCase(FromUtf8(name))];
        if (std::find(names.begin(), names.end(), name) == names.end()) names.push_back(name);
    }
    void RemoveName(const std::string& name) {
        const auto it = byUpperName.find(UpperCase(FromUtf8(name)));
        if (it == byUpperName.end()) return;
        std::erase(it->second, name);
        if (it->second.empty()) byUpperName.erase(it);
    }
    std::optional<std::string> Find(const std::u16string& upper) const {
        const auto it = byUpperName.find(upper);
        if (it == byUpperName.end()) return std::nullopt;
        return *std::min_element(it->second.begin(), it->second.end());
    }
};

class Cache {
  public:
    std::optional<std::string> Find(const std::string& folder, std::u16string_view name) {
        struct stat st {};
        if (stat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return std::nullopt;
        const std::u16string key = UpperCase(name);

        std::lock_guard lock(mutex_);
        Drain();
        auto it = folders_.find(folder);
        if (it != folders_.end() &&
            (it->second.device != st.st_dev || it->second.inode != st.st_ino)) {
            Forget(it);  // another folder now stands at this path
            it = folders_.end();
        }
        if (it != folders_.end()) {
            Listing& l = it->second;
            if (l.watch >= 0) return l.Find(key);
            if (l.mtimeNs == Nanoseconds(st.st_mtim)) {
                if (auto hit = l.Find(key)) return hit;
                if (l.trusted) return std::nullopt;
            }
            Forget(it);
        }
        if (folders_.size() >= kMaxFolders) Clear();
        Listing fresh;
        fresh.device = st.st_dev;
        fresh.inode = st.st_ino;
        fresh.mtimeNs = Nanoseconds(st.st_mtim);
        // The watch comes before the reading, so no change between the two is lost; events
        // for entries the reading already saw change nothing.
        if (Notify() >= 0) fresh.watch = inotify_add_watch(notify_, folder.c_str(), kWatchMask);
        if (!Read(folder, fresh)) {
            ReleaseWatch(fresh.watch, folder);
            return std::nullopt;
        }
        if (fresh.watch >= 0) watched_[fresh.watch].push_back(folder);
        return folders_.insert_or_assign(folder, std::move(fresh)).first->second.Find(key);
    }

    void Clear() {
        folders_.clear();
        watched_.clear();
        if (notify_ >= 0) close(notify_);  // drops every watch
        notify_ = -1;
    }

    std::mutex mutex_;

  private:
    int Notify() {
        if (notify_ < 0 && !notifyFailed_) {
            notify_ = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
            notifyFailed_ = notify_ < 0;
        }
        return notify_;
    }

    static bool Read(const std::string& folder, Listing& l) {
        std::unique_ptr<DIR, int (*)(DIR*)> dir(opendir(folder.c_str()), closedir);
        if (!dir) return false;
        timespec now{};
        clock_gettime(CLOCK_REALTIME, &now);
        l.trusted = Nanoseconds(now) - l.mtimeNs > kTrustMarginNs;
        while (const dirent* e = readdir(dir.get())) {
            const std::string name = e->d_name;
            if (name != "." && name != "..") l.AddName(name);
        }
        return true;
    }

    void Forget(std::unordered_map<std::string, Listing>::iterator it) {
        ReleaseWatch(it->second.watch, it->first);
        folders_.erase(it);
    }

    // Several paths to one folder share one watch; it goes with the last of them.
    void ReleaseWatch(int watch, const std::string& folder) {
        if (watch < 0) return;
        auto w = watched_.find(watch);
        if (w != watched_.end()) {
            std::erase(w->second, folder);
            if (!w->second.empty()) return;
            watched_.erase(w);
        }
        inotify_rm_watch(notify_, watch);
    }

    void Drain() {
        if (notify_ < 0) return;
        alignas(inotify_event) char buf[64 * 1024];
        for (;;) {
            const ssize_t n = read(notify_, buf, sizeof buf);
            if (n <= 0) return;
            for (ssize_t pos = 0; pos < n;) {
                const auto* ev = reinterpret_cast<const inotify_event*>(buf + pos);
                pos += static_cast<ssize_t>(sizeof(inotify_event) + ev->len);
                if (ev->mask & IN_Q_OVERFLOW) {
                    Clear();
                    return;
                }
                Apply(*ev);
            }
        }
    }

    void Apply(const inotify_event& ev) {
        const auto w = watched_.find(ev.wd);
        if (w == watched_.end()) return;
        if (ev.mask & (IN_DELETE_SELF | IN_MOVE_SELF | IN_IGNORED)) {
            for (const auto& folder : w->second) folders_.erase(folder);
            const int watch = w->first;
            watched_.erase(w);
            if (!(ev.mask & IN_IGNORED)) inotify_rm_watch(notify_, watch);
            return;
        }
        if (ev.len == 0) return;
        const std::string name = ev.name;  // NUL-padded
        for (const auto& folder : w->second) {
            const auto it = folders_.find(folder);
            if (it == folders_.end()) continue;
            if (ev.mask & (IN_CREATE | IN_MOVED_TO)) it->second.AddName(name);
            if (ev.mask & (IN_DELETE | IN_MOVED_FROM)) it->second.RemoveName(name);
        }
    }

    std::unordered_map<std::string, Listing> folders_;
    std::unordered_map<int, std::vector<std::string>> watched_;  // watch -> folder paths
    int notify_ = -1;
    bool notifyFailed_ = false;
};

Cache& TheCache() {
    static Cache cache;
    return cache;
}

}  // namespace

std::optional<std::string> FindNameIgnoringCase(const std::string& hostFolder,
                                                std::u16string_view name) {
    return TheCache().Find(hostFolder, name);
}

void ClearNameCache() {
    Cache& cache = TheCache();
    std::lock_guard lock(cache.mutex_);
    cache.Clear();
}

}  // namespace vx::platform::detail
