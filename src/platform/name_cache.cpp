#include "platform/name_cache.h"

#include <dirent.h>
#include <sys/stat.h>
#include <time.h>

#include <memory>
#include <mutex>
#include <unordered_map>

#include "platform/text.h"

namespace vx::platform::detail {

namespace {

// A folder's modification time only changes at the granularity of the file system's clock, so
// a listing read shortly after the last change may miss entries created in the same tick. Such
// a listing still answers hits, but a miss re-reads the folder.
constexpr int64_t kTrustMarginNs = 2'000'000'000;
constexpr std::size_t kMaxFolders = 4096;

int64_t Nanoseconds(const timespec& t) {
    return int64_t{t.tv_sec} * 1'000'000'000 + t.tv_nsec;
}

struct Listing {
    int64_t mtimeNs = 0;
    bool trusted = false;
    std::unordered_map<std::u16string, std::string> byUpperName;
};

struct Cache {
    std::mutex mutex;
    std::unordered_map<std::string, Listing> folders;
};

Cache& TheCache() {
    static Cache cache;
    return cache;
}

bool ReadListing(const std::string& folder, int64_t mtimeNs, Listing& out) {
    std::unique_ptr<DIR, int (*)(DIR*)> dir(opendir(folder.c_str()), closedir);
    if (!dir) return false;
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    out.mtimeNs = mtimeNs;
    out.trusted = Nanoseconds(now) - mtimeNs > kTrustMarginNs;
    out.byUpperName.clear();
    while (const dirent* e = readdir(dir.get())) {
        const std::string name = e->d_name;
        if (name == "." || name == "..") continue;
        auto [it, inserted] = out.byUpperName.try_emplace(UpperCase(FromUtf8(name)), name);
        if (!inserted && name < it->second) it->second = name;
    }
    return true;
}

}  // namespace

std::optional<std::string> FindNameIgnoringCase(const std::string& hostFolder,
                                                std::u16string_view name) {
    struct stat st {};
    if (stat(hostFolder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return std::nullopt;
    const int64_t mtimeNs = Nanoseconds(st.st_mtim);
    const std::u16string key = UpperCase(name);

    Cache& cache = TheCache();
    std::lock_guard lock(cache.mutex);
    auto it = cache.folders.find(hostFolder);
    if (it != cache.folders.end() && it->second.mtimeNs == mtimeNs) {
        auto hit = it->second.byUpperName.find(key);
        if (hit != it->second.byUpperName.end()) return hit->second;
        if (it->second.trusted) return std::nullopt;
    }
    if (it == cache.folders.end()) {
        if (cache.folders.size() >= kMaxFolders) cache.folders.clear();
        it = cache.folders.try_emplace(hostFolder).first;
    }
    if (!ReadListing(hostFolder, mtimeNs, it->second)) {
        cache.folders.erase(it);
        return std::nullopt;
    }
    auto hit = it->second.byUpperName.find(key);
    if (hit == it->second.byUpperName.end()) return std::nullopt;
    return hit->second;
}

void ClearNameCache() {
    Cache& cache = TheCache();
    std::lock_guard lock(cache.mutex);
    cache.folders.clear();
}

}  // namespace vx::platform::detail
