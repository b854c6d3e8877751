// vantor-xml-cli create NAME FOLDER [--chunk-size N] [--threads N] [--yes]
#include <iostream>

#include "cli/cli_options.h"
#include "cli/command_registry.h"
#include "cli/indexing_exit.h"
#include "cli/terminal_host.h"
#include "indexing/commands.h"
#include "platform/paths.h"
#include "platform/text.h"
#include "platform/working_folders.h"

namespace vx::cli {
namespace {

constexpr char kUsage[] =
    "Aufruf: vantor-xml-cli create NAME ORDNER [--chunk-size N] [--threads N] [--yes]\n"
    "Erstellt die Datenbank NAME aus den XML-Dokumenten unter ORDNER (ein Linux-Pfad) im\n"
    "aktuellen Verzeichnis (Datenbank/, XML_Texte/).\n"
    "  --chunk-size N  Dokumente je Durchgang (ab 2, Vorgabe 20000)\n"
    "  --threads N     Threads, die Dokumente vorab lesen (0: keine; Vorgabe: nach Prozessoren)\n"
    "  --yes           die Frage vor der Indizierung mit Ja beantworten\n"
    "Strg-C bricht die Indizierung ab; was indiziert wurde, wird gespeichert.\n";

int RunCreate(int argc, char** argv) {
    const IndexingArguments args =
        ParseIndexingArguments(argc, argv, {"--yes", "--chunk-size", "--threads"});
    if (args.help) return PrintUsage(kUsage, kExitOk);
    if (!args.error.empty() || args.positional.size() != 2) {
        if (!args.error.empty()) std::cerr << args.error << '\n';
        return PrintUsage(kUsage, kExitRefused);
    }
    const std::u16string name = platform::FromUtf8(args.positional[0]);
    const std::string linuxFolder = AbsoluteLinuxPath(args.positional[1]);
    const std::u16string folder =
        linuxFolder.empty() ? std::u16string() : platform::ToWindowsPath(linuxFolder);

    TerminalHost host(args.yes);
    const auto folders = platform::WorkingFolders::FromEnvironment();
    bool removed = false;
    indexing::RemoveInvalidNameChars(name, removed);
    if (removed) {
        host.ShowMessage(MessageKind::Plain, u"", indexing::kInvalidNameMessage,
                         MessageButtons::Ok);
        return kExitRefused;
    }
    indexing::EnsureDataFolders(host, folders);
    const auto checks = indexing::CheckNewDatabase(name, folder, indexing::DialogMode::Create,
                                                   indexing::ListDatabaseNames(folders));
    for (const auto& message : checks.messages) {
        host.ShowMessage(MessageKind::Information, u"Information", message, MessageButtons::Ok);
    }
    if (!checks.ok) return kExitRefused;

    RunFlags flags;
    host.HandleInterrupts(flags);
    indexing::IndexingCommands commands(host, flags, folders);
    commands.SetOptions({args.chunkSize, args.threads});
    const auto result = commands.Create(name, folder);
    if (result.outcome == indexing::CommandOutcome::Done) host.FinishRun();
    return ExitStatusOf(result.outcome);
}

const RegisterCliCommand kRegister({"create",
                                    "create NAME ORDNER [--chunk-size N] [--threads N] [--yes]",
                                    RunCreate});

}  // namespace
}  // namespace vx::cli
