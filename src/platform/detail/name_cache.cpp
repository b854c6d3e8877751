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

#include "platform/hash64.h"
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

// The upper-cased decoded form of a name on disk, which lookups compare; buffer holds it. A name
// of ASCII bytes, the most common, is upper-cased in place without decoding.
std::u16string_view UpperKeyOf(std::string_view name, std::u16string& buffer) {
    buffer.clear();
    for (const char c : name) {
        if (static_cast<unsigned char>(c) >= 0x80) {
            buffer = UpperCase(FromUtf8(name));
            return buffer;
        }
        buffer.push_back(static_cast<char16_t>(c >= 'a' && c <= 'z' ? c - 32 : c));
    }
    return buffer;
}

uint64_t KeyHash(std::u16string_view upper) {
    return Hash64(upper.data(), upper.size() * sizeof(char16_t));
}

struct Listing {
    dev_t device = 0;
    ino_t inode = 0;
    int watch = -1;
    int64_t mtimeNs = 0;
    bool trusted = false;
    // Names on disk by the hash of their upper-cased form: one small node a name, since a folder
    // of thousands of files is read whole for a single lookup.
    std::unordered_multimap<uint64_t, std::string> byKeyHash;

    void AddName(std::string name) {
        const uint64_t hash = KeyHash(UpperKeyOf(name, scratch_));
        const auto [first, last] = byKeyHash.equal_range(hash);
        for (auto it = first; it != last; ++it) {
            if (it->second == name) return;
        }
        byKeyHash.emplace(hash, std::move(name));
    }
    void RemoveName(const std::string& name) {
        const auto [first, last] = byKeyHash.equal_range(KeyHash(UpperKeyOf(name, scratch_)));
        for (auto it = first; it != last; ++it) {
            if (it->second == name) {
                byKeyHash.erase(it);
                return;
            }
        }
    }
    std::optional<std::string> Find(const std::u16string& upper) {
        const std::string* smallest = nullptr;
        const auto [first, last] = byKeyHash.equal_range(KeyHash(upper));
        for (auto it = first; it != last; ++it) {
            if (UpperKeyOf(it->second, scratch_) == upper &&
                (smallest == nullptr || it->second < *smallest)) {
                smallest = &it->second;
            }
        }
        if (smallest == nullptr) return std::nullopt;
        return *smallest;
    }

  private:
    std::u16string scratch_;
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
            std::string name = e->d_name;
            if (name != "." && name != "..") l.AddName(std::move(name));
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
