// One update of a database by the watcher: a re-index in a child process of its own, which
// prints the update's line and ends. So whatever the run allocates is given back when it ends,
// and the watcher stays small between updates. A stop signal that the watcher takes meanwhile
// cancels the run (it saves what it has indexed); the child ignores the signals itself, and a
// watcher that ends at once takes the child with it.
#pragma once

#include <atomic>
#include <string>

#include "cli/stop_signals.h"
#include "indexing/run_options.h"
#include "platform/working_folders.h"

namespace vx::cli {

enum class UpdateEnd {
    Updated,     // the database was re-indexed (perhaps cancelled); its line is printed
    NotUpdated,  // the run was refused or failed; its messages are printed
    Busy,        // another program's run holds the database's lock; nothing is printed
};

class UpdateRunner {
  public:
    UpdateRunner(const platform::WorkingFolders& folders, const indexing::RunOptions& options,
                 const StopSignals& stop);
    ~UpdateRunner();
    UpdateRunner(const UpdateRunner&) = delete;
    UpdateRunner& operator=(const UpdateRunner&) = delete;

    // Re-indexes the database; what says what changed ("1 geändert, 2 neu").
    UpdateEnd Run(const std::u16string& name, const std::string& what);

  private:
    // The child's part; returns its exit status.
    int Update(const std::u16string& name, const std::string& what);
    // Waits for the child, passing a stop signal on; its wait status.
    int Await(int child);

    const platform::WorkingFolders& folders_;
    const indexing::RunOptions& options_;
    const StopSignals& stop_;
    std::atomic<int>* request_ = nullptr;  // shared with the child: the stop signal passed on
};

}  // namespace vx::cli
