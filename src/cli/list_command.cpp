// vantor-xml-cli list: the database list, one name a line.
#include <iostream>

#include "cli/cli_options.h"
#include "cli/command_registry.h"
#include "indexing/commands.h"
#include "platform/text.h"
#include "platform/working_folders.h"

namespace vx::cli {
namespace {

constexpr char kUsage[] =
    "Aufruf: vantor-xml-cli list\n"
    "Zeigt die Datenbanken des aktuellen Verzeichnisses, einen Namen je Zeile.\n";

int RunList(int argc, char** argv) {
    const IndexingArguments args = ParseIndexingArguments(argc, argv, {});
    if (args.help) return PrintUsage(kUsage, kExitOk);
    if (!args.error.empty() || !args.positional.empty()) {
        if (!args.error.empty()) std::cerr << args.error << '\n';
        return PrintUsage(kUsage, kExitRefused);
    }
    for (const auto& name :
         indexing::ListDatabaseNames(platform::WorkingFolders::FromEnvironment())) {
        std::cout << platform::ToUtf8(name) << '\n';
    }
    return kExitOk;
}

const RegisterCliCommand kRegister({"list", "list", RunList});

}  // namespace
}  // namespace vx::cli
