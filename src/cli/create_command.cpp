// vantor-xml-cli create NAME ORDNER: a new database from the XML documents under a folder.
#include <filesystem>
#include <iostream>

#include "cli/command_registry.h"
#include "cli/indexing_options.h"
#include "cli/terminal_host.h"
#include "indexing/commands.h"
#include "indexing/data_folders.h"
#include "indexing/database_names.h"
#include "indexing/new_database_checks.h"
#include "platform/paths.h"
#include "platform/text.h"
#include "platform/working_folders.h"

namespace vx::cli {
namespace {

// The absolute, lexically normalised form of a Linux path (relative to the current directory).
std::string AbsoluteLinuxPath(const std::string& path) {
    if (path.empty()) return path;
    std::error_code error;
    std::filesystem::path absolute = std::filesystem::absolute(path, error);
    if (error) return path;
    std::string result = absolute.lexically_normal().string();
    while (result.size() > 1 && result.ends_with('/')) result.pop_back();
    return result;
}

int RunCreate(const Arguments& args) {
    const std::u16string name = platform::FromUtf8(args.Positional()[0]);
    const std::string linuxFolder = AbsoluteLinuxPath(args.Positional()[1]);
    const std::u16string folder =
        linuxFolder.empty() ? std::u16string() : platform::ToWindowsPath(linuxFolder);

    TerminalHost host(args.Has("--yes"));
    const auto folders = platform::WorkingFolders::FromEnvironment();
    bool removed = false;
    indexing::RemoveInvalidNameChars(name, removed);
    if (removed) {
        host.ShowMessage(MessageKind::Plain, u"", indexing::kInvalidNameMessage,
                         MessageButtons::Ok);
        return kExitError;
    }
    indexing::EnsureDataFolders(host, folders);
    const auto checks = indexing::CheckNewDatabase(name, folder, indexing::DialogMode::Create,
                                                   indexing::ListDatabaseNames(folders));
    if (!ReportChecks(host, checks)) return kExitError;

    RunFlags flags;
    host.HandleInterrupts(flags);
    indexing::IndexingCommands commands(host, flags, folders);
    commands.SetOptions(RunOptionsOf(args));
    const auto result = commands.Create(name, folder);
    if (result.outcome == indexing::CommandOutcome::Done) host.FinishRun();
    return IndexingExitStatus(result.outcome, host.Interrupted());
}

const RegisterCliCommand kRegister({
    {"create", "NAME ORDNER",
     "Erstellt die Datenbank NAME aus den XML-Dokumenten unter ORDNER (ein Linux-Pfad) im\n"
     "aktuellen Verzeichnis (Datenbank/, XML_Texte/). Vor dem Indizieren wird gefragt; die\n"
     "Antwort (\"j\" oder \"ja\" beginnt) kommt von der Standardeingabe, auch aus einer Pipe.\n"
     "Strg-C bricht die Indizierung ab; was indiziert wurde, wird gespeichert.\n",
     IndexingOptions({}), 2, 2, kIndexingExitCodes},
    RunCreate,
});

}  // namespace
}  // namespace vx::cli
