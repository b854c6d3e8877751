// The watcher of `vantor-xml-cli watch`: keeps databases current while their documents change.
// It watches each database's folder tree (platform/tree_watch.h), gathers the changes of
// documents until the tree has been quiet for a moment, and then re-indexes the database under
// its lock, printing one line per update. Between updates it waits in poll, without a timeout
// unless a change, a retry or a walk is due.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "cli/stop_signals.h"
#include "indexing/run_options.h"
#include "platform/working_folders.h"

namespace vx::cli {

struct WatchSettings {
    std::vector<std::u16string> names;  // the databases; empty: every database of the folder
    indexing::RunOptions run;
    // Seconds between two walks of a tree that inotify cannot watch completely.
    int intervalSeconds = 30;
    std::size_t maxWatches = 0;  // folders watched per database (0: as many as allowed)
};

// Runs until a stop signal comes; returns the exit status (0 after SIGTERM, 130 after SIGINT,
// 2 when a database named is not there).
int RunWatcher(const platform::WorkingFolders& folders, const WatchSettings& settings,
               const StopSignals& stop);

}  // namespace vx::cli
