// The subcommands of vantor-xml-cli. Each command's file registers its table and its function
// with a static RegisterCliCommand object; main() parses the command line and dispatches.
#pragma once

#include <string>
#include <vector>

#include "cli/command_line.h"

namespace vx::cli {

struct CliCommand {
    CommandSyntax syntax;
    // Runs the command with its parsed arguments; returns the exit status.
    int (*run)(const Arguments& arguments);
    // Builds the whole index again, often (a watcher's updates) or by hand: worth a start with
    // large pages (platform::RestartWithLargePages).
    bool largePages = false;
};

inline std::vector<CliCommand>& CliCommands() {
    static std::vector<CliCommand> commands;
    return commands;
}

struct RegisterCliCommand {
    explicit RegisterCliCommand(CliCommand command) { CliCommands().push_back(std::move(command)); }
};

// Exit statuses.
constexpr int kExitOk = 0;             // done; a search with hits
constexpr int kExitNoHits = 1;         // a search without hits
constexpr int kExitError = 2;          // an error or a refusal
constexpr int kExitInterrupted = 130;  // Ctrl-C (what was indexed is saved)

inline constexpr char kIndexingExitCodes[] =
    "Rückgabewert: 0 fertig, 2 Fehler oder Ablehnung (auch: Frage nicht mit \"j\" beantwortet),\n"
    "130 mit Strg-C abgebrochen (was bis dahin indiziert wurde, ist gespeichert).\n";
inline constexpr char kPlainExitCodes[] = "Rückgabewert: 0 fertig, 2 Fehler.\n";

}  // namespace vx::cli
