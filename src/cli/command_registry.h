// The subcommands of vantor-xml-cli. Each command's file registers it with a static
// RegisterCliCommand object; main() dispatches by name.
#pragma once

#include <string>
#include <vector>

namespace vx::cli {

struct CliCommand {
    std::string name;
    std::string synopsis;  // one usage line for the overall help
    // argv[0] is the command name; returns the exit status.
    int (*run)(int argc, char** argv);
};

inline std::vector<CliCommand>& CliCommands() {
    static std::vector<CliCommand> commands;
    return commands;
}

struct RegisterCliCommand {
    explicit RegisterCliCommand(CliCommand command) { CliCommands().push_back(std::move(command)); }
};

// Exit statuses.
constexpr int kExitOk = 0;
constexpr int kExitRefused = 1;  // usage, dialog checks, nothing found
constexpr int kExitFailed = 2;

}  // namespace vx::cli
