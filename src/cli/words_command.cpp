// vantor-xml-cli words NAME [--unicode]: the lines of a database's word list.
#include <iostream>

#include "cli/cli_options.h"
#include "cli/command_registry.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "platform/text.h"
#include "platform/working_folders.h"
#include "textio/text_file.h"

namespace vx::cli {
namespace {

constexpr char kUsage[] =
    "Aufruf: vantor-xml-cli words NAME [--unicode]\n"
    "Zeigt die Wortliste der Datenbank NAME (Datenbank/NAME_ansi.txt, mit --unicode\n"
    "Datenbank/NAME_unicode.txt), ein Wort je Zeile.\n";

int RunWords(int argc, char** argv) {
    const IndexingArguments args = ParseIndexingArguments(argc, argv, {"--unicode"});
    if (args.help) return PrintUsage(kUsage, kExitOk);
    if (!args.error.empty() || args.positional.size() != 1) {
        if (!args.error.empty()) std::cerr << args.error << '\n';
        return PrintUsage(kUsage, kExitRefused);
    }
    const auto folders = platform::WorkingFolders::FromEnvironment();
    const std::u16string file = folders.database + u"\\" + platform::FromUtf8(args.positional[0]) +
                                (args.unicode ? u"_unicode.txt" : u"_ansi.txt");
    if (!platform::FileExists(file)) {
        std::cerr << "Keine Wortliste gefunden: Datenbank/"
                  << platform::ToUtf8(platform::NameOf(file)) << '\n';
        return kExitRefused;
    }
    try {
        for (const auto& line : textio::SplitLines(textio::ReadTextFile(file))) {
            std::cout << platform::ToUtf8(line) << '\n';
        }
    } catch (const std::exception& error) {
        std::cerr << "Fehler: " << error.what() << '\n';
        return kExitFailed;
    }
    return kExitOk;
}

const RegisterCliCommand kRegister({"words", "words NAME [--unicode]", RunWords});

}  // namespace
}  // namespace vx::cli
