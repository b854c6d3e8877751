// Parsing of the options shared by the indexing commands of vantor-xml-cli.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace vx::cli {

struct IndexingArguments {
    std::vector<std::string> positional;
    bool yes = false;
    bool help = false;
    bool unicode = false;  // words --unicode
    int chunkSize = 20000;
    int threads = -1;
    std::string error;  // set when the arguments are not usable
};

// Reads positional arguments and the options --yes, --help/-h, --unicode, --chunk-size N and
// --threads N (argv[0] is the command name). allowed lists the options the command takes.
IndexingArguments ParseIndexingArguments(int argc, char** argv,
                                         const std::vector<std::string>& allowed);

// Prints the usage text to the stream of the exit status (0: standard output, else standard
// error) and returns the status.
int PrintUsage(const std::string& usage, int status);

// The absolute, lexically normalised form of a Linux path (relative to the current directory).
std::string AbsoluteLinuxPath(const std::string& path);

}  // namespace vx::cli
