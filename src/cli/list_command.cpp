// vantor-xml-cli list: the database list, one name a line.
#include <iostream>

#include "cli/command_registry.h"
#include "indexing/database_names.h"
#include "platform/text.h"
#include "platform/working_folders.h"

namespace vx::cli {
namespace {

int RunList(const Arguments&) {
    for (const auto& name :
         indexing::ListDatabaseNames(platform::WorkingFolders::FromEnvironment())) {
        std::cout << platform::ToUtf8(name) << '\n';
    }
    return kExitOk;
}

const RegisterCliCommand kRegister({
    {"list",
     "",
     "Zeigt die Datenbanken des aktuellen Verzeichnisses, einen Namen je Zeile.\n",
     {},
     0,
     0,
     kPlainExitCodes},
    RunList,
});

}  // namespace
}  // namespace vx::cli
