// Running vantor-xml-cli (VX_CLI_PATH) as a process of its own, as a script would.
#pragma once

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace vx::testing {

struct CliResult {
    int status = -1;
    std::string out;
    std::string err;
};

inline std::string ShellQuote(const std::string& arg) {
    std::string quoted = "'";
    for (char c : arg) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

// Runs the tool in root/wd (created when missing) with its settings in root/xdg and standard
// input from the file input (/dev/null: a question is answered with no unless --yes is given);
// environment settings ("PATH=...") go before the program.
inline CliResult RunCliIn(const std::filesystem::path& root, const std::vector<std::string>& args,
                          const std::string& input = "/dev/null",
                          const std::string& environment = "") {
    std::filesystem::create_directories(root / "wd");
    std::string command = "cd " + ShellQuote((root / "wd").string()) +
                          " && XDG_DATA_HOME=" + ShellQuote((root / "xdg").string()) + " " +
                          environment + " " + ShellQuote(VX_CLI_PATH);
    for (const auto& arg : args) command += " " + ShellQuote(arg);
    command += " < " + ShellQuote(input) + " > " + ShellQuote((root / "out.txt").string()) +
               " 2> " + ShellQuote((root / "err.txt").string());
    const int raw = std::system(command.c_str());
    const auto bytesOf = [](const std::filesystem::path& file) {
        std::ifstream in(file, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    };
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, bytesOf(root / "out.txt"),
            bytesOf(root / "err.txt")};
}

}  // namespace vx::testing
