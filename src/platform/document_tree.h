// The documents of a folder tree by host path, with what tells a changed document from the same
// one, and how two such listings differ. A walk follows the rules of the indexing walk: folders
// whose names begin with "." are left out, and symbolic links are followed (a folder reached a
// second time is read once).
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>

namespace vx::platform {

// Which files of a tree are documents, by their names.
using DocumentNameFilter = std::function<bool(std::string_view name)>;

// What a re-index compares to tell whether a document changed.
struct DocumentState {
    uint64_t size = 0;
    int64_t modifiedNs = 0;  // last-write time
    int64_t changedNs = 0;   // change time (ctime)
    uint64_t device = 0;
    uint64_t inode = 0;
    bool operator==(const DocumentState&) const = default;
};

// Host path -> state.
using DocumentStates = std::map<std::string, DocumentState>;

// The state of a regular file (or of what a link leads to); nullopt for anything else.
std::optional<DocumentState> DocumentStateOf(const std::string& hostPath);

// Every document below the folder (nothing when it cannot be read).
DocumentStates ListDocuments(const std::string& root, const DocumentNameFilter& isDocument);

// The paths of the listing at or below a folder.
std::set<std::string> PathsBelow(const DocumentStates& states, const std::string& folder);

struct DocumentChanges {
    int changed = 0;
    int added = 0;
    int removed = 0;
    bool Any() const { return changed + added + removed > 0; }
    DocumentChanges& operator+=(const DocumentChanges& other);
};

// Brings the listing up to date for the given paths (read again now) and counts what differs.
DocumentChanges UpdateDocuments(DocumentStates& states, const std::set<std::string>& paths);
// Replaces the listing with a new one and counts what differs.
DocumentChanges ReplaceDocuments(DocumentStates& states, DocumentStates now);

}  // namespace vx::platform
