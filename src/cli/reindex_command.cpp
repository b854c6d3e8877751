// vantor-xml-cli reindex NAME [--chunk-size N] [--threads N] [--yes]
#include <iostream>

#include "cli/cli_options.h"
#include "cli/command_registry.h"
#include "cli/indexing_exit.h"
#include "cli/terminal_host.h"
#include "indexing/commands.h"
#include "platform/text.h"
#include "platform/working_folders.h"

namespace vx::cli {
namespace {

constexpr char kUsage[] =
    "Aufruf: vantor-xml-cli reindex NAME [--chunk-size N] [--threads N] [--yes]\n"
    "Indiziert die Datenbank NAME neu aus dem Ordner, der in ihr gespeichert ist; die bisherige\n"
    "Datenbankdatei bleibt als Datenbank/NAME.old erhalten.\n"
    "  --chunk-size N  Dokumente je Durchgang (ab 2, Vorgabe 20000)\n"
    "  --threads N     Threads, die Dokumente vorab lesen (0: keine; Vorgabe: nach Prozessoren)\n"
    "  --yes           die Frage vor der Indizierung mit Ja beantworten\n"
    "Strg-C bricht die Indizierung ab; was indiziert wurde, wird gespeichert.\n";

int RunReindex(int argc, char** argv) {
    const IndexingArguments args =
        ParseIndexingArguments(argc, argv, {"--yes", "--chunk-size", "--threads"});
    if (args.help) return PrintUsage(kUsage, kExitOk);
    if (!args.error.empty() || args.positional.size() != 1) {
        if (!args.error.empty()) std::cerr << args.error << '\n';
        return PrintUsage(kUsage, kExitRefused);
    }
    const std::u16string name = platform::FromUtf8(args.positional[0]);
    TerminalHost host(args.yes);
    const auto folders = platform::WorkingFolders::FromEnvironment();
    indexing::EnsureDataFolders(host, folders);
    const auto rows = indexing::ListDatabaseNames(folders);
    // The row of the list that the command re-indexes: the one equal to NAME, case ignored.
    std::u16string selected;
    const std::u16string upperName = platform::UpperCase(name);
    for (const auto& row : rows) {
        if (platform::UpperCase(row) == upperName) selected = row;
    }
    if (selected.empty()) std::cerr << "Unbekannte Datenbank: " << args.positional[0] << '\n';

    RunFlags flags;
    host.HandleInterrupts(flags);
    indexing::IndexingCommands commands(host, flags, folders);
    commands.SetOptions({args.chunkSize, args.threads});
    auto dialog = [&](const std::u16string& dbName, std::u16string& folder) {
        const auto checks =
            indexing::CheckNewDatabase(dbName, folder, indexing::DialogMode::Update, rows);
        for (const auto& message : checks.messages) {
            host.ShowMessage(MessageKind::Information, u"Information", message, MessageButtons::Ok);
        }
        return checks.ok;
    };
    const auto result = commands.Reindex(selected, static_cast<int>(rows.size()), dialog);
    if (result.outcome == indexing::CommandOutcome::Done) host.FinishRun();
    return ExitStatusOf(result.outcome);
}

const RegisterCliCommand kRegister({"reindex",
                                    "reindex NAME [--chunk-size N] [--threads N] [--yes]",
                                    RunReindex});

}  // namespace
}  // namespace vx::cli
