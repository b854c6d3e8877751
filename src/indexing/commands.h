// The create and re-index commands: what the window program and the command-line tool call to
// index databases. The commands are meant to run off the user-interface thread; they report
// through the Host and read the RunFlags, which the host may set at any time.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "indexing/run_options.h"
#include "platform/host.h"
#include "platform/working_folders.h"

namespace vx::indexing {

enum class CommandOutcome {
    Done,      // the run ended (also after a cancel); the database files are written
    Refused,   // a check failed, nothing was selected, or no documents were found
    Declined,  // the notice or the dialog was answered with "Nein" / cancelled
    Failed,    // a file-system error ended the command (reported by an error box)
    Busy,      // another run writes the database (reported by a notice naming it); try later
};

struct CommandResult {
    CommandOutcome outcome = CommandOutcome::Refused;
    std::u16string databaseName;  // the name field (base name of the database's files)
    int32_t documents = 0;        // documents numbered in the run
    int32_t failures = 0;         // documents reported as not indexable
    int64_t postings = 0;         // "," characters of all index lines of all passes
    int passes = 0;               // passes run
    int32_t reused = 0;           // documents a re-index took from their text copies
};

// The dialog of the re-index command: receives the database name and the stored folder (on
// disk spelling) and may change the folder; false when the dialog was cancelled or refused.
using ReindexDialog = std::function<bool(const std::u16string& name, std::u16string& folder)>;

class IndexingCommands {
  public:
    IndexingCommands(Host& host, RunFlags& flags, platform::WorkingFolders folders);
    ~IndexingCommands();
    IndexingCommands(const IndexingCommands&) = delete;
    IndexingCommands& operator=(const IndexingCommands&) = delete;

    void SetOptions(const RunOptions& options);
    const RunOptions& Options() const;

    // Each command writes its database only while it holds the database's lock (from the
    // pre-scan to the end of the run); another program's run holding it makes the command end
    // as Busy before anything is done.

    // The create command after the new-database dialog returned OK with name and folder
    // (Windows form): pre-scan, notice (Host::ConfirmIndexing), indexing run.
    CommandResult Create(const std::u16string& name, const std::u16string& folder);

    // The re-index command for the selected row (selectedName empty when no row is selected;
    // rowCount = rows of the list): the messages for no selection, the stored folder, the
    // dialog, the backup of the database file, pre-scan, notice and run.
    CommandResult Reindex(const std::u16string& selectedName, int rowCount,
                          const ReindexDialog& dialog);

    // The folder stored in the database file (the folder key of the scan-mask section, else the
    // scan-mask line's folder), trimmed, and resolved to its spelling on disk when it exists in
    // another letter case.
    std::u16string StoredFolder(const std::u16string& databaseName) const;

    const platform::WorkingFolders& Folders() const;

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace vx::indexing
