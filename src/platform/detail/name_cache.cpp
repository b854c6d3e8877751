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

#include "platform/detail/host_folder.h"
#include "platform/detail/name_spellings.h"
#include "platform/detail/nanoseconds.h"
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
// A folder of one block is read about as fast as a few names are looked up; a name is looked up
// by its spellings only when it has few of them.
constexpr off_t kSmallFolderBytes = 4096;
constexpr int kSpelledLookups = 8;
constexpr std::size_t kMaxSpellings = 64;
constexpr uint32_t kWatchMask = IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO |
                                IN_DELETE_SELF | IN_MOVE_SELF | IN_ONLYDIR;

// The upper-cased decoded form of a name on disk, which lookups compare; buffer holds it. A name
// of ASCII bytes, the most common, is upper-cased in place without decoding.
std::u16string_view UpperKeyOf(std::string_view name, std::u16string& buffer) {
    buffer.resize(name.size());
    for (std::size_t i = 0; i < name.size(); ++i) {
        const auto c = static_cast<unsigned char>(name[i]);
        if (c >= 0x80) {
            buffer = UpperCase(FromUtf8(name));
            return buffer;
        }
        buffer[i] = UpperCharFast(c);
    }
    return buffer;
}

// A hash of an upper-cased name, taken code unit by code unit so that a name on disk can be
// hashed while it is upper-cased (FNV-1a, mixed for the table's low bits).
class KeyHasher {
  public:
    void Add(char16_t unit) { hash_ = (hash_ ^ unit) * 0x100000001B3ULL; }
    uint64_t Value() const { return MixBits64(hash_); }

  private:
    uint64_t hash_ = 0xCBF29CE484222325ULL;
};

uint64_t KeyHash(std::u16string_view upper) {
    KeyHasher hasher;
    for (const char16_t unit : upper) hasher.Add(unit);
    return hasher.Value();
}

// KeyHash of the upper-cased form of a name on disk.
uint64_t KeyHashOfName(std::string_view name, std::u16string& buffer) {
    KeyHasher hasher;
    for (const char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x80) return KeyHash(UpperKeyOf(name, buffer));
        hasher.Add(UpperCharFast(byte));
    }
    return hasher.Value();
}

// Whether the upper-cased decoded form of a name on disk is upper. Most names differ from it in
// their first bytes, which are compared without decoding.
bool NameMatches(std::string_view name, std::u16string_view upper, std::u16string& buffer) {
    for (std::size_t i = 0; i < name.size(); ++i) {
        const auto c = static_cast<unsigned char>(name[i]);
        if (c >= 0x80) return UpperKeyOf(name, buffer) == upper;
        // An ASCII byte is one code unit at the same place in the decoded form.
        if (i >= upper.size() || UpperCharFast(c) != upper[i]) return false;
    }
    return name.size() == upper.size();
}

// The names of one folder, one after the other in one buffer: a folder of thousands of files is
// read whole for a single lookup, so a name costs no allocation of its own. The first lookups
// compare every name; a folder looked up more often, or one whose entries change, gets a table by
// the hash of the upper-cased names (open addressing), built once.
class NameTable {
  public:
    // A name as read from the folder (each comes once).
    void Insert(std::string_view name) {
        entries_.push_back(
            {0, static_cast<uint32_t>(bytes_.size()), static_cast<uint32_t>(name.size())});
        bytes_ += name;
        if (slots_.empty()) return;
        entries_.back().hash = KeyHashOfName(name, scratch_);
        if (slots_.size() < 2 * entries_.size()) {
            Rebuild();
        } else {
            Place(entries_.size() - 1);
        }
    }
    // A name that an event reports, perhaps known already.
    void Add(std::string_view name) {
        bool known = false;
        ForName(name, [&](Entry&) { known = true; });
        if (!known) Insert(name);
    }
    void Remove(std::string_view name) {
        // A removed name keeps its place with the size 0, which no lookup matches, until the
        // next rebuild.
        ForName(name, [](Entry& e) { e.size = 0; });
    }
    // The smallest name whose upper-cased form is upper.
    std::optional<std::string> Find(std::u16string_view upper) {
        std::optional<std::string_view> smallest;
        const auto consider = [&](const Entry& e) {
            const std::string_view name = NameOf(e);
            if (NameMatches(name, upper, scratch_) && (!smallest || name < *smallest)) {
                smallest = name;
            }
        };
        if (slots_.empty() && ++linearLookups_ <= kLinearLookups) {
            for (const Entry& e : entries_) {
                if (e.size != 0) consider(e);
            }
        } else {
            ForHash(KeyHash(upper), consider);
        }
        if (!smallest) return std::nullopt;
        return std::string(*smallest);
    }

  private:
    static constexpr uint32_t kEmpty = UINT32_MAX;
    static constexpr int kLinearLookups = 4;
    struct Entry {
        uint64_t hash;  // of the name's upper-cased form, once the table is built
        uint32_t offset;
        uint32_t size;  // 0 once removed (no name is empty)
    };

    std::string_view NameOf(const Entry& e) const { return {bytes_.data() + e.offset, e.size}; }
    // Visits the entries of exactly this name. A folder whose entries change gets its table: the
    // changes may come by the thousand.
    template <class Visit>
    void ForName(std::string_view name, Visit visit) {
        ForHash(KeyHashOfName(name, scratch_), [&](Entry& e) {
            if (NameOf(e) == name) visit(e);
        });
    }
    template <class Visit>
    void ForHash(uint64_t hash, Visit visit) {
        if (slots_.empty()) {
            for (Entry& e : entries_) e.hash = KeyHashOfName(NameOf(e), scratch_);
            Rebuild();
        }
        const std::size_t mask = slots_.size() - 1;
        for (std::size_t at = hash & mask; slots_[at] != kEmpty; at = (at + 1) & mask) {
            Entry& e = entries_[slots_[at]];
            if (e.hash == hash && e.size != 0) visit(e);
        }
    }
    void Place(std::size_t entry) {
        const std::size_t mask = slots_.size() - 1;
        std::size_t at = entries_[entry].hash & mask;
        while (slots_[at] != kEmpty) at = (at + 1) & mask;
        slots_[at] = static_cast<uint32_t>(entry);
    }
    // Drops the removed names and lays out the slots for four times the names.
    void Rebuild() {
        std::string bytes;
        bytes.reserve(bytes_.size());
        std::size_t live = 0;
        for (const Entry e : entries_) {
            if (e.size == 0) continue;
            entries_[live++] = {e.hash, static_cast<uint32_t>(bytes.size()), e.size};
            bytes += NameOf(e);
        }
        entries_.resize(live);
        bytes_ = std::move(bytes);
        std::size_t size = 16;
        while (size < 4 * live) size *= 2;
        slots_.assign(size, kEmpty);
        for (std::size_t i = 0; i < live; ++i) Place(i);
    }

    std::string bytes_;  // the names, one after the other
    std::vector<Entry> entries_;
    std::vector<uint32_t> slots_;  // entries, a power of two of them; empty until built
    int linearLookups_ = 0;
    std::u16string scratch_;
};

struct Listing {
    dev_t device = 0;
    ino_t inode = 0;
    int watch = -1;
    int64_t mtimeNs = 0;
    bool trusted = false;
    NameTable names;
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
            if (l.watch >= 0) return l.names.Find(key);
            if (l.mtimeNs == Nanoseconds(st.st_mtim)) {
                if (auto hit = l.names.Find(key)) return hit;
                if (l.trusted) return std::nullopt;
            }
            Forget(it);
        }
        // The first lookups in a large folder try the spellings of the name, which costs less
        // than reading the folder; a folder looked up more often is read and kept.
        if (st.st_size > kSmallFolderBytes) {
            if (spelledLookups_.size() >= kMaxFolders) spelledLookups_.clear();
            if (int& tries = spelledLookups_[folder]; tries < kSpelledLookups) {
                ++tries;
                SpelledName spelled = FindBySpellings(folder, key, kMaxSpellings);
                if (spelled.tried) return std::move(spelled.name);
            }
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
        return folders_.insert_or_assign(folder, std::move(fresh)).first->second.names.Find(key);
    }

    void Clear() {
        folders_.clear();
        spelledLookups_.clear();
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
        const HostFolderStream dir = OpenHostFolder(folder);
        if (!dir) return false;
        timespec now{};
        clock_gettime(CLOCK_REALTIME, &now);
        l.trusted = Nanoseconds(now) - l.mtimeNs > kTrustMarginNs;
        while (const dirent* e = readdir(dir.get())) {
            const std::string_view name = e->d_name;
            if (name != "." && name != "..") l.names.Insert(name);
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
            if (ev.mask & (IN_CREATE | IN_MOVED_TO)) it->second.names.Add(name);
            if (ev.mask & (IN_DELETE | IN_MOVED_FROM)) it->second.names.Remove(name);
        }
    }

    std::unordered_map<std::string, Listing> folders_;
    std::unordered_map<int, std::vector<std::string>> watched_;  // watch -> folder paths
    std::unordered_map<std::string, int> spelledLookups_;        // folder -> lookups by spelling
    int notify_ = -1;
    bool notifyFailed_ = false;
};

Cache& TheCache() {
    // Never destroyed: freeing every listing would only delay the end of the process.
    static Cache& cache = *new Cache();
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
