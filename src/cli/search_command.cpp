// vantor-xml-cli search NAME [--and | --or | --phrase | --none] [--limit N] [--open] TEXT...
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

#include "cli/command_registry.h"
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

constexpr char kUsage[] =
    "vantor-xml-cli search NAME [--and | --or | --phrase | --none] [--limit N] [--open] TEXT...";

// The status area of a search goes nowhere; messages go to standard error.
class SearchTerminalHost : public Host {
  public:
    void SetStatusLine(const std::u16string& text) override { status_ = text; }
    std::u16string StatusLine() const override { return status_; }
    void SetTotalsLine(const std::u16string& text) override { totals_ = text; }
    std::u16string TotalsLine() const override { return totals_; }
    void SetProgressLine(const std::u16string& text) override { progress_ = text; }
    std::u16string ProgressLine() const override { return progress_; }
    void SetCurrentFile(const std::u16string& text) override {
        if (!text.empty()) std::cerr << ToUtf8(platform::Trim(text)) << '\n';
    }
    void SetCurrentFileVisible(bool) override {}
    MessageAnswer ShowMessage(MessageKind, const std::u16string&, const std::u16string& text,
                              MessageButtons) override {
        std::cerr << ToUtf8(text) << '\n';
        return MessageAnswer::Ok;
    }
    void SetPatienceIndicator(bool) override {}
    void StartElapsedDisplay(int64_t, std::function<std::u16string()>) override {}
    void StopElapsedDisplay() override {}
    void SetCommandsEnabled(bool) override {}
    void SetCloseButton(const std::u16string&, bool) override {}
    void Pause(int) override {}
    void OpenInBrowser(const std::u16string& windowsPath) override {
        std::string path = platform::ToHostPath(windowsPath);
        if (path.empty()) return;
        std::string command = "xdg-open '";
        for (char c : path) {
            if (c == '\'') {
                command += "'\\''";
            } else {
                command += c;
            }
        }
        command += "' >/dev/null 2>&1 &";
        int ignored = std::system(command.c_str());
        (void)ignored;
    }

  private:
    std::u16string status_, totals_, progress_;
};

int Refuse(const std::string& message) {
    std::cerr << message << '\n';
    return kExitRefused;
}

int RunSearch(int argc, char** argv) {
    if (argc < 2) return Refuse(std::string("Aufruf: ") + kUsage);
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

    const platform::WorkingFolders folders = platform::WorkingFolders::FromEnvironment();
    const std::vector<std::u16string> rows = indexing::ListDatabaseNames(folders);
    if (rows.empty()) return Refuse("Es existiert noch keine Datenbank! ");
    const std::u16string* row = nullptr;
    for (const std::u16string& candidate : rows) {
        if (candidate == name) row = &candidate;
    }
    if (row == nullptr) {
        return Refuse("Die Datenbank \"" + ToUtf8(name) + "\" existiert nicht!");
    }

    search::ConfirmResult check = search::ConfirmCheck(text, options.phrase, false);
    for (const std::u16string& message : check.messages) std::cerr << ToUtf8(message) << '\n';
    if (!check.accepted) return kExitRefused;

    SearchTerminalHost host;
    RunFlags flags;
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
        std::cerr << ToUtf8(search::kDamagedDatabaseMessage) << '\n';
        return kExitFailed;
    }
    std::cout << ToUtf8(result.countLine) << '\n';
    for (const std::string& path : result.hitPaths) std::cout << path << '\n';
    if (open && !result.pagePath.empty()) search::StarteInternetBrowser(host, folders.working);
    return result.hitPaths.empty() ? kExitRefused : kExitOk;
}

const RegisterCliCommand kRegister{{"search", kUsage, RunSearch}};

}  // namespace
}  // namespace vx::cli
