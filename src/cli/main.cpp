// vantor-xml-cli: the engine's commands for scripts and tests, run in the current folder.
#include <algorithm>
#include <cstring>
#include <iostream>

#include "cli/command_registry.h"

namespace {

int PrintOverallUsage(int status) {
    auto commands = vx::cli::CliCommands();
    std::sort(commands.begin(), commands.end(),
              [](const auto& a, const auto& b) { return a.name < b.name; });
    std::ostream& out = status == 0 ? std::cout : std::cerr;
    out << "Aufruf: vantor-xml-cli BEFEHL [ARGUMENTE]\n"
           "Arbeitet im aktuellen Verzeichnis, wie Vantor-XML selbst.\n"
           "Befehle:\n";
    for (const auto& command : commands) out << "  vantor-xml-cli " << command.synopsis << '\n';
    out << "vantor-xml-cli BEFEHL --help zeigt die Hilfe eines Befehls.\n";
    return status;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return PrintOverallUsage(vx::cli::kExitRefused);
    if (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0 ||
        std::strcmp(argv[1], "help") == 0) {
        return PrintOverallUsage(vx::cli::kExitOk);
    }
    for (const auto& command : vx::cli::CliCommands()) {
        if (command.name == argv[1]) return command.run(argc - 1, argv + 1);
    }
    std::cerr << "Unbekannter Befehl: " << argv[1] << '\n';
    return PrintOverallUsage(vx::cli::kExitRefused);
}
