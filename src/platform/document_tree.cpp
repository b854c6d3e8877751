#include "platform/document_tree.h"

#include <sys/stat.h>

#include <utility>
#include <vector>

#include "platform/detail/host_folder.h"
#include "platform/detail/nanoseconds.h"

namespace vx::platform {

namespace {

// One document: counted as changed, added or removed, or not at all when it is as it was.
void Count(const std::optional<DocumentState>& before, const std::optional<DocumentState>& now,
           DocumentChanges& changes) {
    if (before && now) {
        changes.changed += *before == *now ? 0 : 1;
    } else if (now) {
        ++changes.added;
    } else if (before) {
        ++changes.removed;
    }
}

}  // namespace

std::optional<DocumentState> DocumentStateOf(const std::string& hostPath) {
    struct stat st {};
    if (stat(hostPath.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return std::nullopt;
    return DocumentState{static_cast<uint64_t>(st.st_size), detail::Nanoseconds(st.st_mtim),
                         detail::Nanoseconds(st.st_ctim), static_cast<uint64_t>(st.st_dev),
                         static_cast<uint64_t>(st.st_ino)};
}

DocumentStates ListDocuments(const std::string& root, const DocumentNameFilter& isDocument) {
    DocumentStates states;
    std::set<std::pair<dev_t, ino_t>> seen;
    std::vector<std::string> folders{root};
    std::vector<detail::HostEntry> entries;
    while (!folders.empty()) {
        const std::string folder = std::move(folders.back());
        folders.pop_back();
        struct stat st {};
        if (stat(folder.c_str(), &st) != 0 || !seen.insert({st.st_dev, st.st_ino}).second) {
            continue;
        }
        if (!detail::ReadHostFolder(folder, entries)) continue;
        for (const detail::HostEntry& entry : entries) {
            std::string path = detail::HostChild(folder, entry.name);
            if (entry.isDirectory) {
                if (!entry.name.starts_with('.')) folders.push_back(std::move(path));
            } else if (isDocument(entry.name)) {
                if (auto state = DocumentStateOf(path)) states.emplace(std::move(path), *state);
            }
        }
    }
    return states;
}

std::set<std::string> PathsBelow(const DocumentStates& states, const std::string& folder) {
    const std::string prefix = folder.ends_with('/') ? folder : folder + "/";
    std::set<std::string> paths;
    for (auto it = states.lower_bound(prefix); it != states.end() && it->first.starts_with(prefix);
         ++it) {
        paths.insert(it->first);
    }
    return paths;
}

DocumentChanges& DocumentChanges::operator+=(const DocumentChanges& other) {
    changed += other.changed;
    added += other.added;
    removed += other.removed;
    return *this;
}

DocumentChanges UpdateDocuments(DocumentStates& states, const std::set<std::string>& paths) {
    DocumentChanges changes;
    for (const std::string& path : paths) {
        const auto known = states.find(path);
        std::optional<DocumentState> before;
        if (known != states.end()) before = known->second;
        const std::optional<DocumentState> now = DocumentStateOf(path);
        Count(before, now, changes);
        if (now) {
            states.insert_or_assign(path, *now);
        } else if (known != states.end()) {
            states.erase(known);
        }
    }
    return changes;
}

DocumentChanges ReplaceDocuments(DocumentStates& states, DocumentStates now) {
    DocumentChanges changes;
    auto before = states.begin();
    auto after = now.begin();
    // Both are sorted by path: one pass over the two.
    while (before != states.end() || after != now.end()) {
        if (after == now.end() || (before != states.end() && before->first < after->first)) {
            Count(before->second, std::nullopt, changes);
            ++before;
        } else if (before == states.end() || after->first < before->first) {
            Count(std::nullopt, after->second, changes);
            ++after;
        } else {
            Count(before->second, after->second, changes);
            ++before;
            ++after;
        }
    }
    states = std::move(now);
    return changes;
}

}  // namespace vx::platform
