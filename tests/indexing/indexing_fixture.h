// Helpers of the indexing tests: a temporary working folder, files, and a host that records
// what the engine shows and lets a test press the cancel button at a chosen document.
#pragma once

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "common/scratch_directory.h"
#include "indexing/close_button.h"
#include "indexing/commands.h"
#include "indexing/database_names.h"
#include "platform/host.h"
#include "platform/paths.h"
#include "platform/text.h"
#include "platform/working_folders.h"

namespace vx::indexing::testing {

namespace fs = std::filesystem;

class TempDir {
  public:
    const fs::path& Path() const { return dir_.Path(); }

  private:
    vx::testing::ScratchDirectory dir_{"vx-indexing-"};
};

inline void WriteBytes(const fs::path& file, const std::string& bytes) {
    fs::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << bytes;
}

inline std::string ReadBytes(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// The lines of a file written by the system (UTF-8, every line ended by CR LF).
inline std::vector<std::string> ReadCrLfLines(const fs::path& file) {
    const std::string text = ReadBytes(file);
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (auto end = text.find("\r\n"); end != std::string::npos; end = text.find("\r\n", start)) {
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    if (start < text.size()) lines.push_back(text.substr(start) + "<no CR LF>");
    return lines;
}

inline std::u16string Win(const fs::path& path) {
    return platform::ToWindowsPath(path.string());
}

// Working folder and scratch folder below a temporary folder, created as at start-up.
inline platform::WorkingFolders MakeFolders(const fs::path& root) {
    fs::create_directories(root / "wd");
    auto folders = platform::WorkingFolders::From(Win(root / "wd"), Win(root / "zip"));
    fs::create_directories(root / "zip");
    fs::create_directories(root / "wd" / "XML_Texte");
    fs::create_directories(root / "wd" / "Datenbank" / "Temp");
    return folders;
}

struct RecordedMessage {
    MessageKind kind;
    std::string text;
};

class RecordingHost : public Host {
  public:
    void SetStatusLine(const std::u16string& text) override {
        status = text;
        statusHistory.push_back(platform::ToUtf8(text));
        if (onStatus) onStatus(statusHistory.back());
    }
    void SetTotalsLine(const std::u16string& text) override { totals = text; }
    void SetProgressLine(const std::u16string& text) override { progress = text; }
    void SetCurrentFile(const std::u16string& text) override {
        if (text.empty()) return;
        currentFiles.push_back(platform::ToUtf8(text));
        if (onCurrentFile) onCurrentFile();
    }
    MessageAnswer ShowMessage(MessageKind kind, const std::u16string&, const std::u16string& text,
                              MessageButtons buttons) override {
        messages.push_back({kind, platform::ToUtf8(text)});
        return buttons == MessageButtons::YesNo ? MessageAnswer::Yes : MessageAnswer::Ok;
    }
    void ShowRunControls(RunControls shown) override { controls = shown; }
    void Pause() override {}
    void RunLogLine(const std::u16string& line) override { log.push_back(platform::ToUtf8(line)); }
    bool ConfirmIndexing(int documentCount, const std::u16string& sizeText) override {
        noticeCount = documentCount;
        noticeSize = platform::ToUtf8(sizeText);
        if (beforeRun) beforeRun();
        return answerYes;
    }
    void DocumentIndexed(const RunProgress& p) override {
        if (onDocument) onDocument(p.documents);
    }

    std::u16string status, totals, progress;
    std::vector<std::string> statusHistory, currentFiles, log;
    std::vector<RecordedMessage> messages;
    std::optional<RunControls> controls;
    bool answerYes = true;
    int noticeCount = -1;
    std::string noticeSize;
    std::function<void()> beforeRun;
    std::function<void(int32_t)> onDocument;
    std::function<void(const std::string&)> onStatus;
    std::function<void()> onCurrentFile;
};

// The files of a folder tree (relative path -> bytes).
inline std::map<std::string, std::string> TreeContents(const fs::path& root) {
    std::map<std::string, std::string> files;
    if (!fs::exists(root)) return files;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        if (entry.is_regular_file()) {
            files[fs::relative(entry.path(), root).string()] = ReadBytes(entry.path());
        }
    }
    return files;
}

// A create run of the engine in a working folder below root.
struct CreateRun {
    explicit CreateRun(const fs::path& r) : root(r), folders(MakeFolders(r)) {}
    CommandResult Create(const std::string& name, const fs::path& data, int chunkSize = 20000,
                         int threads = 0) {
        IndexingCommands commands(host, flags, folders);
        commands.SetOptions({chunkSize, threads});
        return commands.Create(platform::FromUtf8(name), Win(data));
    }
    fs::path Database() const { return root / "wd" / "Datenbank"; }
    fs::path TextCopies() const { return root / "wd" / "XML_Texte"; }
    // The staging folder of a database's runs.
    fs::path Staging(const std::string& name) const {
        return Database() / "Temp" /
               (platform::ToUtf8(platform::UpperCase(platform::FromUtf8(name))) + ".run");
    }
    // What runs left in the chunk folder besides the databases' locks and empty folders.
    std::map<std::string, std::string> LeftInTemp() const {
        auto files = TreeContents(Database() / "Temp");
        std::erase_if(files, [](const auto& file) { return file.first.ends_with(".lock"); });
        return files;
    }

    fs::path root;
    platform::WorkingFolders folders;
    RecordingHost host;
    RunFlags flags;
};

}  // namespace vx::indexing::testing
