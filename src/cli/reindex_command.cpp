// vantor-xml-cli reindex NAME: the database indexed again from the folder stored in it.
#include <iostream>

#include "cli/command_registry.h"
#include "cli/database_row.h"
#include "cli/indexing_options.h"
#include "cli/terminal_host.h"
#include "index/database_files.h"
#include "indexing/commands.h"
#include "indexing/data_folders.h"
#include "indexing/database_names.h"
#include "indexing/new_database_checks.h"
#include "platform/text.h"
#include "platform/working_folders.h"

namespace vx::cli {
namespace {

int RunReindex(const Arguments& args) {
    const std::u16string name = platform::FromUtf8(args.Positional()[0]);
    TerminalHost host(args.Has("--yes"));
    const auto folders = platform::WorkingFolders::FromEnvironment();
    indexing::EnsureDataFolders(host, folders);
    const auto rows = indexing::ListDatabaseNames(folders);
    const std::u16string* row = DatabaseRowNamed(rows, name);
    const std::u16string selected = row != nullptr ? *row : std::u16string();
    if (selected.empty()) std::cerr << "Unbekannte Datenbank: " << args.Positional()[0] << '\n';

    RunFlags flags;
    host.HandleInterrupts(flags);
    indexing::IndexingCommands commands(host, flags, folders);
    indexing::RunOptions options = RunOptionsOf(args);
    options.fullReindex = args.Has("--full");
    commands.SetOptions(options);
    auto dialog = [&](const std::u16string& dbName, std::u16string& folder) {
        const auto checks =
            indexing::CheckNewDatabase(dbName, folder, indexing::DialogMode::Update, rows);
        return ReportChecks(host, checks);
    };
    const auto result = commands.Reindex(selected, static_cast<int>(rows.size()), dialog);
    if (result.outcome == indexing::CommandOutcome::Done) {
        host.FinishRun();
        std::cout << result.reused << " von " << result.documents
                  << " XML-Dateien unverändert aus den Textkopien übernommen.\n";
    }
    return IndexingExitStatus(result.outcome, host.Interrupted());
}

const RegisterCliCommand kRegister({
    {"reindex", "NAME",
     "Indiziert die Datenbank NAME neu aus dem Ordner, der in ihr gespeichert ist; die bisherige\n"
     "Datenbankdatei bleibt als Datenbank/" +
         platform::ToUtf8(index::BackupName(u"NAME")) +
         " erhalten. Dokumente, deren Größe und\n"
         "Änderungszeit gleich geblieben sind, werden aus ihren Textkopien übernommen. Vor dem\n"
         "Indizieren wird gefragt; die Antwort (\"j\" oder \"ja\" beginnt) kommt von der\n"
         "Standardeingabe.\n"
         "Strg-C bricht die Indizierung ab; was indiziert wurde, wird gespeichert.\n",
     IndexingOptions({{"--full", "", "",
                       "alle Dokumente neu lesen (den Änderungszeiten nicht trauen)"}}),
     1, 1, kIndexingExitCodes},
    RunReindex,
    true,
});

}  // namespace
}  // namespace vx::cli
