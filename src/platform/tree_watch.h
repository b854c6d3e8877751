// Watching a folder tree for changes with inotify. Every folder of the tree gets a watch (those
// whose names begin with "." are left out, as the indexing walk leaves them out); folders that
// appear are watched as they come, folders removed or moved away are forgotten. What happened is
// reported as paths: the caller reads the events when Fd() is readable (poll), so that between
// two changes nothing runs.
#pragma once

#include <cstddef>
#include <map>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/document_tree.h"

namespace vx::platform {

struct TreeEvent {
    enum class Kind {
        Document,    // a document was written, created, removed, renamed or had its attributes
                     // changed; also every document found in a folder that appeared
        FolderGone,  // a folder was removed or moved away (the documents below it with it)
        Unwatched,   // a folder (and what is below it) could not be watched; error tells why
                     // (ENOSPC: the limit of watches is reached; EMFILE: that of instances)
        Lost,        // events were lost (the event queue overflowed): the tree is watched
                     // afresh, and what changed in it is unknown
        RootGone,    // the tree's folder is gone (or was moved): nothing is watched any more
    };
    Kind kind = Kind::Document;
    std::string path;  // host path (the tree's folder for Lost and RootGone)
    int error = 0;
};

class TreeWatch {
  public:
    struct Options {
        bool subfolders = true;  // false: only the folder itself
        // At most this many folders watched (0: as many as the system allows); a folder beyond
        // is reported as Unwatched with ENOSPC, as when the system's limit is reached.
        std::size_t maxWatches = 0;
    };

    TreeWatch(std::string root, DocumentNameFilter isDocument, Options options);
    TreeWatch(std::string root, DocumentNameFilter isDocument)
        : TreeWatch(std::move(root), std::move(isDocument), Options()) {}
    ~TreeWatch();
    TreeWatch(const TreeWatch&) = delete;
    TreeWatch& operator=(const TreeWatch&) = delete;

    // Starts watching, afresh when it watched already. Appends Unwatched for the folders it
    // cannot watch, RootGone when the folder is not there.
    void Start(std::vector<TreeEvent>& events);
    // Readable when events wait; -1 when nothing is watched.
    int Fd() const { return fd_; }
    // Appends what happened since the last call; never waits.
    void Read(std::vector<TreeEvent>& events);

    std::size_t WatchCount() const { return folders_.size(); }

  private:
    void Stop();
    // Watches the folder and, with subfolders, every folder below it; reportDocuments appends
    // the documents found on the way.
    void WatchFolder(const std::string& folder, bool reportDocuments,
                     std::vector<TreeEvent>& events);
    // Drops the watches of the folder and of every folder below it.
    void Forget(const std::string& folder);
    // One event of the kernel's; false when the watch had to start afresh (the rest of the
    // buffer is then stale).
    bool Take(int wd, uint32_t mask, const std::string& name, std::vector<TreeEvent>& events);

    std::string root_;
    DocumentNameFilter isDocument_;
    Options options_;
    int fd_ = -1;
    int rootWd_ = -1;
    std::unordered_map<int, std::string> folders_;  // watch -> folder
    std::map<std::string, int> watches_;            // folder -> watch, sorted for Forget
};

}  // namespace vx::platform
