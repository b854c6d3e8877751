#include "indexing/commands.h"

#include <algorithm>
#include <cerrno>
#include <exception>
#include <thread>

#include "index/database_files.h"
#include "index/database_lines.h"
#include "index/word_index.h"
#include "indexing/database_names.h"
#include "indexing/detail/discovery.h"
#include "indexing/detail/indexing_run.h"
#include "indexing/detail/run_state.h"
#include "indexing/size_text.h"
#include "platform/file_lock.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "platform/profile_reader.h"
#include "platform/system_error_text.h"
#include "platform/text.h"

namespace vx::indexing {

namespace {

// A run writes its database files, chunks and text copies into these folders; one that takes no
// new file would make the run fail only after indexing everything. "" when all can be written.
std::u16string UnwritableFolderText(const platform::WorkingFolders& folders) {
    for (const std::u16string* folder : {&folders.database, &folders.chunk, &folders.textCopy}) {
        if (!platform::CanCreateFilesIn(*folder)) {
            const int error = errno;
            return u"Im Ordner \"" + *folder + u"\" können keine Dateien angelegt werden: " +
                   platform::SystemErrorText(error) + u".";
        }
    }
    return {};
}

// The notice for a database whose lock another run holds.
std::u16string BusyText(std::u16string_view name, const platform::LockHolder& holder) {
    const std::u16string who =
        holder.pid == 0 ? std::u16string(u"einem anderen Programm")
                        : holder.program + u" (Prozess " + platform::IntText(holder.pid) + u")";
    return u"Die Datenbank \"" + std::u16string(name) + u"\" wird gerade von " + who +
           u" indiziert. Versuchen Sie es später noch einmal.";
}

int ParseThreadsFor(const RunOptions& options) {
    if (options.parseThreads >= 0) return options.parseThreads;
    const unsigned cores = std::thread::hardware_concurrency();
    // One core files the words; the others extract ahead (at least one helper on two cores).
    return static_cast<int>(std::clamp(cores, 1u, 8u));
}

}  // namespace

struct IndexingCommands::Impl {
    Host& host;
    RunFlags& flags;
    platform::WorkingFolders folders;
    RunOptions options;
    index::WordIndex wordIndex;
    std::u16string lastCopiedFolder;

    Impl(Host& h, RunFlags& f, platform::WorkingFolders w)
        : host(h), flags(f), folders(std::move(w)) {}

    // The create command after the dialog, in create or update mode (a re-index keeps the
    // previous database file as its backup).
    CommandResult Run(const std::u16string& nameField, const std::u16string& folderField,
                      bool update) {
        RunState state(host, flags, folders, wordIndex, lastCopiedFolder);
        state.setup.chunkSize = std::max(2, options.chunkSize);
        state.setup.parseThreads = ParseThreadsFor(options);
        state.setup.nameField = nameField;
        CommandResult result;
        result.databaseName = nameField;
        Reset();
        if (const std::u16string refusal = UnwritableFolderText(folders); !refusal.empty()) {
            host.Tell(MessageKind::Error, refusal);
            result.outcome = CommandOutcome::Failed;
            return result;
        }
        result.outcome = FindDocuments(state, folderField);
        if (result.outcome != CommandOutcome::Done) return result;
        // The database is written only by the run that holds its lock, from here to its end.
        const std::optional<platform::FileLock> lock = TakeLock(state, result.outcome);
        if (!lock) return result;
        result.outcome = IndexDocuments(state, folderField, update);
        result.documents = state.count.documents;
        result.failures = state.count.failures;
        result.postings = state.count.postings;
        result.passes = state.pass.number;
        result.reused = state.count.reused;
        return result;
    }

  private:
    // The lock of the database, or nullopt with the outcome set and the reason shown.
    std::optional<platform::FileLock> TakeLock(const RunState& state, CommandOutcome& outcome) {
        const std::u16string lockFile = state.Files().Lock();
        platform::LockHolder holder;
        std::optional<platform::FileLock> lock = platform::FileLock::TryTake(lockFile, &holder);
        if (lock) return lock;
        const int error = errno;
        host.SetStatusLine(u"");
        if (error == EWOULDBLOCK) {
            host.Tell(MessageKind::Information, BusyText(state.setup.nameField, holder));
            outcome = CommandOutcome::Busy;
        } else {
            host.Tell(MessageKind::Error,
                      platform::FileErrorText(lockFile, u"kann nicht angelegt werden", error));
            outcome = CommandOutcome::Failed;
        }
        return std::nullopt;
    }

    // A command starts with an empty status area and no request of the last one.
    void Reset() {
        RunSwitch(flags).ClearRequests();
        host.SetStatusLine(u"");
        host.SetTotalsLine(u"");
        host.SetProgressLine(u"");
        wordIndex.ResetExtensionCounters();
    }

    // The pre-scan and the notice: Done when documents were found and the user chose to index
    // them.
    CommandOutcome FindDocuments(RunState& state, const std::u16string& folderField) {
        host.SetPatienceIndicator(true);
        host.SetStatusLine(
            u"Es wird nach den Dateien gesucht. Bitte WARTEN, Sie müssen noch bestätigen!");
        host.Pause();
        PreScan(state, folderField, u"*.xml");
        const std::u16string sizeText = SizeText(state.found.bytes);
        host.SetPatienceIndicator(false);

        if (state.found.files.Empty()) {
            host.Tell(MessageKind::Information,
                      u"In: \"" + folderField + u"\" wurden keine XML-Dokumente gefunden!");
            host.SetStatusLine(u"");
            return CommandOutcome::Refused;
        }
        state.found.count = static_cast<int32_t>(state.found.files.Size());
        const bool confirmed = host.ConfirmIndexing(state.found.count, sizeText);
        host.Pause();
        if (!confirmed) {
            host.SetStatusLine(u"");
            return CommandOutcome::Declined;
        }
        return CommandOutcome::Done;
    }

    // The indexing run; a file-system error ends it (Failed, reported by an error box) and
    // the display returns to idle.
    CommandOutcome IndexDocuments(RunState& state, const std::u16string& folderField, bool update) {
        try {
            if (!update) {
                host.SetStatusLine(u"Datenbank wird neu erstellt.");
            } else {
                host.SetStatusLine(u"Datenbank wird aktualisiert.");
                // The previous database stays in place until the run's files replace it.
                state.setup.previousCopy = state.Files().Backup();
                state.setup.reuseTextCopies = !options.fullReindex;
            }
            state.setup.scanMask = u"*.xml";
            state.setup.rootFolder = NormalizeRootFolder(folderField);
            state.count.sizeTotal = 0;
            RunSwitch(flags).StartIndexing();
            host.Pause();
            RunIndexing(state);
            host.RefreshDatabaseList();
            return CommandOutcome::Done;
        } catch (const std::exception& error) {
            RunSwitch(flags).EndAfterFailure();
            host.SetPatienceIndicator(false);
            host.StopElapsedDisplay();
            host.SetCurrentFile(u"");
            host.SetCurrentFileVisible(false);
            host.Tell(MessageKind::Error, platform::FromUtf8(error.what()));
            host.ShowRunControls(RunControls::Idle);
            return CommandOutcome::Failed;
        }
    }
};

IndexingCommands::IndexingCommands(Host& host, RunFlags& flags, platform::WorkingFolders folders)
    : impl_(std::make_unique<Impl>(host, flags, std::move(folders))) {}

IndexingCommands::~IndexingCommands() = default;

void IndexingCommands::SetOptions(const RunOptions& options) {
    impl_->options = options;
}

const RunOptions& IndexingCommands::Options() const {
    return impl_->options;
}

const platform::WorkingFolders& IndexingCommands::Folders() const {
    return impl_->folders;
}

CommandResult IndexingCommands::Create(const std::u16string& name, const std::u16string& folder) {
    // The text copies, word lists and log take the row's name, where the search and the
    // re-index look.
    return impl_->Run(index::CreatedName(name), folder, false);
}

std::u16string IndexingCommands::StoredFolder(const std::u16string& databaseName) const {
    const std::u16string file = index::DatabaseFiles(impl_->folders, databaseName).Database();
    // The folder is read whole, also beyond the usual length of a profile value.
    constexpr std::size_t kWhole = std::u16string::npos;
    std::u16string value =
        platform::ReadProfileString(file, index::kScanMaskSection, index::kFolderKey, kWhole);
    if (value.empty()) {
        value =
            platform::ReadProfileString(file, index::kScanMaskSection, index::kScanMaskKey, kWhole);
    }
    value = platform::Trim(index::FolderOfScanMaskValue(value));
    // The file holds the folder upper-cased; the run works on the spelling found on disk so
    // that the text copies land where the create run put them.
    if (!value.empty() && platform::DirectoryExists(value)) {
        const std::string hostPath = platform::ToHostPath(value);
        if (!hostPath.empty()) {
            std::u16string onDisk = platform::ToWindowsPath(hostPath);
            if (platform::DirectoryExists(onDisk)) value = std::move(onDisk);
        }
    }
    return value;
}

CommandResult IndexingCommands::Reindex(const std::u16string& selectedName, int rowCount,
                                        const ReindexDialog& dialog) {
    Host& host = impl_->host;
    RunSwitch run(impl_->flags);
    run.StartUpdate();
    impl_->wordIndex.ListenLoeschen();
    CommandResult result;
    result.databaseName = selectedName;
    if (selectedName.empty()) {
        host.Tell(
            MessageKind::Information,
            rowCount > 0
                ? u"Sie müssen zuerst eine Datenbank auswählen! Mit linker Maustaste anklicken!"
                : u"Es existiert noch keine Datenbank! Betätigen Sie bitte den Schalter \"Neue "
                  u"Datenbank erstellen\".");
    } else {
        std::u16string folder = StoredFolder(selectedName);
        if (!dialog || dialog(selectedName, folder)) {
            result = impl_->Run(selectedName, folder, true);
        } else {
            result.outcome = CommandOutcome::Declined;
        }
    }
    run.EndUpdate();
    host.ShowRunControls(RunControls::Idle);
    return result;
}

}  // namespace vx::indexing
