#include "cli/cli_options.h"

#include <algorithm>
#include <filesystem>
#include <iostream>

namespace vx::cli {

namespace {

bool ParseCount(const std::string& text, int minimum, int& value) {
    if (text.empty() || text.size() > 9 ||
        !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        return false;
    }
    value = std::stoi(text);
    return value >= minimum;
}

}  // namespace

IndexingArguments ParseIndexingArguments(int argc, char** argv,
                                         const std::vector<std::string>& allowed) {
    IndexingArguments args;
    auto takes = [&](const std::string& option) {
        return std::find(allowed.begin(), allowed.end(), option) != allowed.end();
    };
    bool onlyPositional = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (onlyPositional || arg.empty() || arg[0] != '-' || arg == "-") {
            args.positional.push_back(arg);
        } else if (arg == "--") {
            onlyPositional = true;
        } else if (arg == "--help" || arg == "-h") {
            args.help = true;
        } else if (arg == "--yes" && takes(arg)) {
            args.yes = true;
        } else if (arg == "--unicode" && takes(arg)) {
            args.unicode = true;
        } else if ((arg == "--chunk-size" || arg == "--threads") && takes(arg)) {
            if (i + 1 >= argc) {
                args.error = arg + " braucht eine Zahl";
                break;
            }
            const std::string value = argv[++i];
            const bool chunk = arg == "--chunk-size";
            if (!ParseCount(value, chunk ? 2 : 0, chunk ? args.chunkSize : args.threads)) {
                args.error = chunk ? "--chunk-size braucht eine ganze Zahl ab 2"
                                   : "--threads braucht eine ganze Zahl ab 0";
                break;
            }
        } else {
            args.error = "Unbekannte Option: " + arg;
            break;
        }
    }
    return args;
}

int PrintUsage(const std::string& usage, int status) {
    (status == 0 ? std::cout : std::cerr) << usage;
    return status;
}

std::string AbsoluteLinuxPath(const std::string& path) {
    if (path.empty()) return path;
    std::error_code error;
    std::filesystem::path absolute = std::filesystem::absolute(path, error);
    if (error) return path;
    std::string result = absolute.lexically_normal().string();
    while (result.size() > 1 && result.ends_with('/')) result.pop_back();
    return result;
}

}  // namespace vx::cli
