// vantor-xml-cli search NAME [--and | --or | --phrase | --none] [--limit N] [--open] TEXT...
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <iostream>
#include <string>
#include <vector>

#include "cli/cli_options.h"
#include "cli/command_registry.h"
#include "cli/terminal_host.h"
#include "indexing/commands.h"
#include "platform/host.h"
#include "platform/paths.h"
#include "platform/text.h"
#include "platform/working_folders.h"
#include "search/history.h"
#include "search/query.h"
#include "search/result_page.h"
#include "search/search_run.h"
#include "textio/text_file.h"

namespace vx::cli {
namespace {

using platform::FromUtf8;
using platform::ToUtf8;

constexpr char kSynopsis[] =
    "search NAME [--and | --or | --phrase | --none] [--limit N] [--open] TEXT...";
const std::string kUsage = std::string("vantor-xml-cli ") + kSynopsis;

// The terminal host, which also opens the result page with xdg-open (only asked to with --open).
class SearchTerminalHost : public TerminalHost {
  public:
    SearchTerminalHost() : TerminalHost(true) {}
    void OpenInBrowser(const std::u16string& windowsPath) override {
        const std::string path = platform::ToHostPath(windowsPath);
        if (path.empty()) return;
        const pid_t child = fork();
        if (child == 0) {
            // Detached from the terminal's output so the browser's messages do not mix in.
            const int devNull = open("/dev/null", O_WRONLY);
            if (devNull >= 0) {
                dup2(devNull, STDOUT_FILENO);
                dup2(devNull, STDERR_FILENO);
            }
            execlp("xdg-open", "xdg-open", path.c_str(), static_cast<char*>(nullptr));
            _exit(127);
        }
        if (child > 0) waitpid(child, nullptr, 0);
    }
};

int Refuse(const std::string& message) {
    std::cerr << message << '\n';
    return kExitRefused;
}

int RunSearch(int argc, char** argv) {
    if (argc >= 2 && (std::string(argv[1]) == "--help" || std::string(argv[1]) == "-h")) {
        return PrintUsage("Aufruf: " + kUsage + "\n", kExitOk);
    }
    if (argc < 2) return PrintUsage("Aufruf: " + kUsage + "\n", kExitRefused);
    const std::u16string name = FromUtf8(argv[1]);
    search::SearchOptions options;
    bool open = false;
    int i = 2;
    for (; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--") {
            ++i;
            break;
        }
        if (arg == "--and") {
            options.und = true;
            options.oder = options.phrase = false;
        } else if (arg == "--or") {
            options.oder = true;
            options.und = options.phrase = false;
        } else if (arg == "--phrase") {
            options.phrase = options.und = true;
            options.oder = false;
        } else if (arg == "--none") {
            options.und = options.oder = options.phrase = false;
        } else if (arg == "--open") {
            open = true;
        } else if (arg == "--limit") {
            int64_t limit = 0;
            if (i + 1 >= argc || !platform::ParseInt(FromUtf8(argv[i + 1]), limit) || limit < 1 ||
                limit > 50) {
                return Refuse("Die Anzahl der Ergebnisse (--limit) muss zwischen 1 und 50 liegen.");
            }
            options.resultLimit = static_cast<int>(limit);
            ++i;
        } else if (arg.starts_with("--")) {
            return Refuse("Unbekannte Option " + arg + "\nAufruf: " + kUsage);
        } else {
            break;
        }
    }
    std::u16string text;
    for (; i < argc; ++i) {
        if (!text.empty()) text += u' ';
        text += FromUtf8(argv[i]);
    }

    SearchTerminalHost host;
    auto inform = [&](const std::u16string& message) {
        host.ShowMessage(MessageKind::Information, u"Information", message, MessageButtons::Ok);
    };
    const platform::WorkingFolders folders = platform::WorkingFolders::FromEnvironment();
    const std::vector<std::u16string> rows = indexing::ListDatabaseNames(folders);
    if (rows.empty()) {
        inform(u"Es existiert noch keine Datenbank! ");
        return kExitRefused;
    }
    const std::u16string* row = nullptr;
    for (const std::u16string& candidate : rows) {
        if (candidate == name) row = &candidate;
    }
    if (row == nullptr) {
        inform(u"Die Datenbank \"" + name + u"\" existiert nicht!");
        return kExitRefused;
    }

    search::ConfirmResult check = search::ConfirmCheck(text, options.phrase, false);
    for (const std::u16string& message : check.messages) inform(message);
    if (!check.accepted) return kExitRefused;

    RunFlags flags;
    host.HandleInterrupts(flags);
    search::SearchHistory history;
    history.Load(folders.working + search::kHistoryFileName);
    search::SearchRun run(host, flags, folders, history);
    run.SetOpenPages(false);
    search::SearchResult result;
    try {
        result = run.Run(check.fieldText, options, *row);
    } catch (const std::exception& e) {
        std::cerr << e.what() << '\n';
        return kExitFailed;
    }
    if (result.outcome == search::SearchOutcome::DamagedDatabase) {
        host.ShowMessage(MessageKind::Warning, search::kDamagedDatabaseCaption,
                         search::kDamagedDatabaseMessage, MessageButtons::Ok);
        return kExitFailed;
    }
    std::cout << ToUtf8(result.countLine) << '\n';
    for (const std::string& path : result.hitPaths) std::cout << path << '\n';
    if (open && !result.pagePath.empty()) search::StarteInternetBrowser(host, folders.working);
    return result.hitPaths.empty() ? kExitRefused : kExitOk;
}

const RegisterCliCommand kRegister{{"search", kSynopsis, RunSearch}};

}  // namespace
}  // namespace vx::cli
