// vantor-xml-cli: the engine's commands for scripts and tests, run in the current folder.
#include <algorithm>
#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "cli/command_line.h"
#include "cli/command_registry.h"
#include "platform/memory.h"

namespace {

using vx::cli::CliCommand;

void PrintOverallUsage(std::ostream& out) {
    auto commands = vx::cli::CliCommands();
    std::sort(commands.begin(), commands.end(),
              [](const auto& a, const auto& b) { return a.syntax.name < b.syntax.name; });
    out << "Aufruf: vantor-xml-cli BEFEHL [ARGUMENTE] [OPTIONEN]\n"
           "Arbeitet im aktuellen Verzeichnis, wie Vantor-XML selbst.\n"
           "Befehle:\n";
    for (const CliCommand& command : commands) {
        const vx::cli::CommandSyntax& syntax = command.syntax;
        std::string line = "  vantor-xml-cli " + syntax.name;
        if (!syntax.arguments.empty()) line += " " + syntax.arguments;
        out << line << '\n';
    }
    out << "Optionen stehen vor oder hinter den Argumenten; nach \"--\" ist alles Argument.\n"
           "vantor-xml-cli BEFEHL --help zeigt die Hilfe eines Befehls, --version die Version.\n"
           "Rückgabewert: 0 fertig (search: Treffer gefunden), 1 search ohne Treffer,\n"
           "2 Fehler oder Ablehnung, 130 mit Strg-C abgebrochen.\n";
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty()) {
        PrintOverallUsage(std::cerr);
        return vx::cli::kExitError;
    }
    if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        PrintOverallUsage(std::cout);
        return vx::cli::kExitOk;
    }
    if (args[0] == "--version") {
        std::cout << vx::cli::VersionText();
        return vx::cli::kExitOk;
    }
    const auto& commands = vx::cli::CliCommands();
    const auto command = std::find_if(commands.begin(), commands.end(), [&](const CliCommand& c) {
        return c.syntax.name == args[0];
    });
    if (command == commands.end()) {
        std::cerr << "Unbekannter Befehl: " << args[0] << '\n';
        PrintOverallUsage(std::cerr);
        return vx::cli::kExitError;
    }
    const vx::cli::ParseResult parsed =
        vx::cli::ParseCommandLine(command->syntax, {args.begin() + 1, args.end()});
    if (parsed.help) {
        std::cout << vx::cli::HelpText(command->syntax);
        return vx::cli::kExitOk;
    }
    if (parsed.version) {
        std::cout << vx::cli::VersionText();
        return vx::cli::kExitOk;
    }
    if (!parsed.error.empty()) {
        std::cerr << "vantor-xml-cli " << command->syntax.name << ": " << parsed.error << '\n'
                  << vx::cli::UsageLine(command->syntax) << "\"vantor-xml-cli "
                  << command->syntax.name << " --help\" zeigt die Hilfe.\n";
        return vx::cli::kExitError;
    }
    if (command->largePages) vx::platform::RestartWithLargePages(argv);
    try {
        return command->run(parsed.arguments);
    } catch (const std::exception& error) {
        // What a command lets pass (a file that cannot be read or written) ends it as an error.
        std::cerr << "Fehler: " << error.what() << '\n';
        return vx::cli::kExitError;
    }
}
