// The create and re-index commands, the database list, the checks of the new-database dialog
// and the data folders: what the windows and the command-line tool call to index databases.
// Long commands are meant to run off the user-interface thread; they report through the Host
// and read the RunFlags, which the host may set at any time.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/host.h"
#include "platform/working_folders.h"

namespace vx::indexing {

// Documents per pass of an indexing run.
constexpr int kDefaultChunkSize = 20000;

// The rows of the database list: the names of Datenbank\*.DAT without their first ".DAT"
// (found without regard to case), sorted by the collation ignoring case, duplicates kept.
std::vector<std::u16string> ListDatabaseNames(const platform::WorkingFolders& folders);

// The database file of a name (below Datenbank): the name itself when it ends in ".dat" (any
// case), otherwise the name with ".dat" appended, also when it has another extension
// ("Akten.2024"), so that the list shows it.
std::u16string DatabaseFileName(std::u16string_view name);

// The row of the database list that a database file gives: its name without the first ".DAT".
std::u16string DatabaseRowOf(std::u16string_view fileName);

// The row that the list selects after a create run for the name field's text: the row equal
// to the name (letter case ignored); without one, the last row that contains the name (exact
// substring). -1 when there is none or the name is empty.
int RowToSelectAfterCreate(const std::vector<std::u16string>& rows, std::u16string_view name);

enum class DialogMode { Create, Update };

// Result of the new-database dialog's OK-button checks: the information boxes to show, in
// order, and whether the dialog's result stays OK.
struct DatabaseChecks {
    bool ok = true;
    std::vector<std::u16string> messages;
};
// name and folder as in the fields (untrimmed; folder in Windows form); databaseNames = the rows
// of the database list.
DatabaseChecks CheckNewDatabase(std::u16string_view name, std::u16string_view folder,
                                DialogMode mode, const std::vector<std::u16string>& databaseNames);

// The name field's change rule: every invalid character (/ \ * ? " < > | : ^) removed. removed
// tells whether anything was taken out; when the text was not empty and something was removed
// the dialog shows kInvalidNameMessage (plain message box).
std::u16string RemoveInvalidNameChars(std::u16string_view name, bool& removed);
extern const std::u16string kInvalidNameMessage;

// The message of the folder field when it names drive C: for a user who is not an
// administrator (shown once per program run; the caller keeps the flag).
bool NeedsAdministratorNotice(std::u16string_view folder, bool isAdministrator);
extern const std::u16string kAdministratorNotice;

// Creates the scratch folder, XML_Texte, Datenbank and Datenbank\Temp when missing; each one
// that cannot be created gives its warning box and the next one is tried.
void EnsureDataFolders(Host& host, const platform::WorkingFolders& folders);

// The close/cancel button while a command runs: the status texts and flags of the cancel rules
// (update-running, search-active, running, in this order). Returns false when no run flag is
// set: the host then closes (after its confirmation).
bool CloseButtonClick(Host& host, RunFlags& flags);

enum class CommandOutcome {
    Done,      // the run ended (also after a cancel); the database files are written
    Refused,   // a check failed, nothing was selected, or no documents were found
    Declined,  // the notice or the dialog was answered with "Nein" / cancelled
    Failed,    // a file-system error ended the command (reported by an error box)
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

struct RunOptions {
    int chunkSize = kDefaultChunkSize;  // documents per pass (at least 2)
    // Threads that extract documents ahead of the filing; 0 extracts on the run thread,
    // -1 chooses by the number of processors. The database files do not depend on it.
    int parseThreads = -1;
    // Re-index parses every document, also those unchanged since the previous run.
    bool fullReindex = false;
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

    // The create command after the new-database dialog returned OK with name and folder
    // (Windows form): pre-scan, notice (Host::ConfirmIndexing), indexing run.
    CommandResult Create(const std::u16string& name, const std::u16string& folder);

    // The re-index command for the selected row (selectedName empty when no row is selected;
    // rowCount = rows of the list): the messages for no selection, the stored folder, the
    // dialog, the ".old" file, pre-scan, notice and run.
    CommandResult Reindex(const std::u16string& selectedName, int rowCount,
                          const ReindexDialog& dialog);

    // The folder stored in the database file ("Pfad", else "TextdateienPfad" up to "*."),
    // trimmed, and resolved to its spelling on disk when it exists in another letter case.
    std::u16string StoredFolder(const std::u16string& databaseName) const;

    const platform::WorkingFolders& Folders() const;

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace vx::indexing
