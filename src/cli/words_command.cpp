// vantor-xml-cli words NAME: the lines of a database's word list.
#include <iostream>

#include "cli/command_registry.h"
#include "index/database_files.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "platform/text.h"
#include "platform/working_folders.h"
#include "textio/text_file.h"

namespace vx::cli {
namespace {

int RunWords(const Arguments& args) {
    const auto folders = platform::WorkingFolders::FromEnvironment();
    const index::DatabaseFiles files(folders, platform::FromUtf8(args.Positional()[0]));
    const std::u16string file =
        args.Has("--unicode") ? files.UnicodeWordList() : files.AnsiWordList();
    if (!platform::FileExists(file)) {
        std::cerr << "Keine Wortliste gefunden: Datenbank/"
                  << platform::ToUtf8(platform::NameOf(file)) << '\n';
        return kExitError;
    }
    try {
        for (const auto& line : textio::SplitLines(textio::ReadTextFile(file))) {
            std::cout << platform::ToUtf8(line) << '\n';
        }
    } catch (const std::exception& error) {
        std::cerr << "Fehler: " << error.what() << '\n';
        return kExitError;
    }
    return kExitOk;
}

const RegisterCliCommand kRegister({
    {"words",
     "NAME",
     "Zeigt die Wortliste der Datenbank NAME (Datenbank/" +
         platform::ToUtf8(index::AnsiWordListName(u"NAME")) +
         ": Wörter, die mit einem\n"
         "ANSI-Buchstaben beginnen), ein Wort je Zeile.\n",
     {{"--unicode", "", "",
       "die Liste der reinen Unicode-Wörter (Datenbank/" +
           platform::ToUtf8(index::UnicodeWordListName(u"NAME")) + ")"}},
     1,
     1,
     kPlainExitCodes},
    RunWords,
});

}  // namespace
}  // namespace vx::cli
