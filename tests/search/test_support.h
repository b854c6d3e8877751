// Shared helpers of the search tests: a scratch working folder, files written byte for byte,
// and a host that records what the engine shows.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "common/scratch_directory.h"
#include "platform/host.h"
#include "platform/paths.h"
#include "platform/text.h"
#include "platform/working_folders.h"

namespace vx::search::testing {

class ScratchFolder {
  public:
    const std::filesystem::path& Path() const { return dir_.Path(); }
    // Windows form of the folder, with a trailing backslash.
    std::u16string Windows() const { return platform::ToWindowsPath(dir_.Path().string()) + u"\\"; }
    platform::WorkingFolders Folders() const {
        return platform::WorkingFolders::From(Windows(), Windows() + u"ZipTemp\\");
    }

  private:
    vx::testing::ScratchDirectory dir_{"vx-search-"};
};

inline void WriteBytes(const std::filesystem::path& file, const std::string& bytes) {
    std::filesystem::create_directories(file.parent_path());
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out << bytes;
}

inline std::string ReadBytes(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Lines joined with CR LF after each.
inline std::string CrLf(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += line + "\r\n";
    return text;
}

inline std::u16string U(const std::string& utf8) {
    return platform::FromUtf8(utf8);
}
inline std::string S(std::u16string_view text) {
    return platform::ToUtf8(text);
}

class RecordingHost : public Host {
  public:
    void SetStatusLine(const std::u16string& text) override {
        status = text;
        statusHistory.push_back(text);
    }
    void SetTotalsLine(const std::u16string& text) override { totals = text; }
    void SetProgressLine(const std::u16string& text) override { progress = text; }
    void SetCurrentFile(const std::u16string& text) override { currentFile = text; }
    MessageAnswer ShowMessage(MessageKind, const std::u16string&, const std::u16string& text,
                              MessageButtons) override {
        messages.push_back(text);
        return MessageAnswer::Ok;
    }
    void SetPatienceIndicator(bool on) override { patience = on; }
    void ShowRunControls(RunControls shown) override { controls = shown; }
    void Pause() override {
        ++pauses;
        if (onPause) onPause();
    }
    void OpenInBrowser(const std::u16string& path) override { opened.push_back(path); }

    std::u16string status, totals, progress, currentFile;
    std::optional<RunControls> controls;
    std::vector<std::u16string> statusHistory, messages, opened;
    bool patience = false;
    int pauses = 0;
    std::function<void()> onPause;
};

}  // namespace vx::search::testing
