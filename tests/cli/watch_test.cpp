// vantor-xml-cli watch on real inotify events: a watcher process runs over a temporary tree, the
// test changes the tree and waits (bounded, polling) until a search finds the change; a second
// writer holds the lock; events are lost; the limit of watches is reached; the signals end it.
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "common/cli_process.h"
#include "common/file_bytes.h"
#include "common/scratch_directory.h"
#include "index/database_files.h"
#include "platform/file_lock.h"
#include "platform/paths.h"
#include "platform/working_folders.h"

namespace vx::cli {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
using vx::testing::ReadBytes;
using vx::testing::WriteBytes;

constexpr auto kPatience = std::chrono::seconds(60);  // bounds every wait; passing takes ~1 s

// Polls until the condition holds (true) or the patience is used up (false).
bool Eventually(const std::function<bool()>& condition) {
    const auto deadline = Clock::now() + kPatience;
    while (!condition()) {
        if (Clock::now() > deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}

// vantor-xml-cli watch as a process of its own in root/wd, its output in root/watch.txt.
class WatchProcess {
  public:
    WatchProcess(const fs::path& root, const std::vector<std::string>& args)
        : output_(root / "watch.txt") {
        std::vector<std::string> argv{"vantor-xml-cli", "watch"};
        argv.insert(argv.end(), args.begin(), args.end());
        std::vector<char*> pointers;
        for (std::string& arg : argv) pointers.push_back(arg.data());
        pointers.push_back(nullptr);
        const std::string wd = (root / "wd").string();
        const std::string xdg = (root / "xdg").string();
        // Emptied here, so that nothing an earlier watcher wrote is taken for this one's.
        const int out = open(output_.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        pid_ = fork();
        if (pid_ == 0) {
            if (out < 0 || chdir(wd.c_str()) != 0) _exit(127);
            dup2(out, STDOUT_FILENO);
            dup2(out, STDERR_FILENO);
            setenv("XDG_DATA_HOME", xdg.c_str(), 1);
            execv(VX_CLI_PATH, pointers.data());
            _exit(127);
        }
        if (out >= 0) close(out);
    }
    ~WatchProcess() {
        if (pid_ > 0) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
    }
    WatchProcess(const WatchProcess&) = delete;
    WatchProcess& operator=(const WatchProcess&) = delete;

    pid_t Pid() const { return pid_; }
    std::string Output() const { return ReadBytes(output_); }
    bool Shows(const std::string& text) const {
        return Eventually([&] { return Output().find(text) != std::string::npos; });
    }
    // Sends the signal and waits for the end: the exit status, or nullopt when it did not end
    // normally.
    std::optional<int> Stop(int signal) {
        kill(pid_, signal);
        int status = 0;
        const bool ended = Eventually([&] { return waitpid(pid_, &status, WNOHANG) == pid_; });
        if (!ended) return std::nullopt;
        pid_ = 0;
        if (!WIFEXITED(status)) return std::nullopt;
        return WEXITSTATUS(status);
    }

  private:
    fs::path output_;
    pid_t pid_ = 0;
};

class WatchTest : public ::testing::Test {
  protected:
    void SetUp() override {
        WriteBytes(Tree() / "a.xml", "<r>Haus</r>");
        WriteBytes(Tree() / "s" / "b.xml", "<r>Baum</r>");
        WriteBytes(Tree() / "s" / "t" / "c.xml", "<r>Zelt</r>");
        ASSERT_EQ(Cli({"create", "K", Tree().string(), "--yes"}).status, 0);
    }

    fs::path Root() const { return scratch_.Path(); }
    fs::path Tree() const { return Root() / "dokumente"; }
    vx::testing::CliResult Cli(const std::vector<std::string>& args) const {
        return vx::testing::RunCliIn(Root(), args);
    }
    // The paths a search for the word lists ("" when it finds none).
    std::string Found(const std::string& word) const {
        return Cli({"search", "K", word, "--paths"}).out;
    }
    // Waits until the search for the word lists the path (or, with "", finds nothing).
    bool Finds(const std::string& word, const std::string& path) const {
        return Eventually([&] {
            const std::string found = Found(word);
            return path.empty() ? found.empty() : found.find(path) != std::string::npos;
        });
    }

    vx::testing::ScratchDirectory scratch_{"vx-watch-"};
};

// Writes to two files by turns, more often than the kernel queues events: the kernel merges only
// equal events in a row.
void OverflowEventQueue(const fs::path& folder, int64_t queued) {
    const int files[] = {open((folder / "eins.txt").c_str(), O_WRONLY | O_CREAT, 0644),
                         open((folder / "zwei.txt").c_str(), O_WRONLY | O_CREAT, 0644)};
    for (int64_t i = 0; i <= queued; ++i) ASSERT_EQ(pwrite(files[i % 2], "x", 1, 0), 1);
    for (const int fd : files) close(fd);
}

// The database files of the working folder below root and its text copies (the lookup file
// names the time of its database file, which differs).
std::map<std::string, std::string> DatabaseFiles(const fs::path& root) {
    std::map<std::string, std::string> files;
    for (const char* name : {"K.dat", "K_ansi.txt", "K_unicode.txt"}) {
        files[name] = ReadBytes(root / "wd" / "Datenbank" / name);
    }
    const fs::path copies = root / "wd" / "XML_Texte";
    for (const auto& entry : fs::recursive_directory_iterator(copies)) {
        if (entry.is_regular_file()) {
            files[fs::relative(entry.path(), copies).string()] = ReadBytes(entry.path());
        }
    }
    return files;
}

TEST_F(WatchTest, KeepsTheDatabaseCurrentUntilSigterm) {
    WatchProcess watcher(Root(), {});
    ASSERT_TRUE(watcher.Shows("K aktualisiert in")) << watcher.Output();
    const fs::path tree = Tree();
    const struct {
        const char* name;
        std::function<void()> change;
        std::string word, path;  // the search for word then lists path ("": finds nothing)
    } changes[] = {
        {"edited", [&] { WriteBytes(tree / "a.xml", "<r>Haus Edelweiss</r>"); }, "edelweiss",
         "/dokumente/a.xml"},
        {"deleted", [&] { fs::remove(tree / "s" / "b.xml"); }, "baum", ""},
        {"in a new folder", [&] { WriteBytes(tree / "n" / "m" / "d.xml", "<r>Gletscher</r>"); },
         "gletscher", "/dokumente/n/m/d.xml"},
        {"folder renamed", [&] { fs::rename(tree / "s", tree / "s2"); }, "zelt",
         "/dokumente/s2/t/c.xml"},
        {"in the renamed folder", [&] { WriteBytes(tree / "s2" / "t" / "e.xml", "<r>Murmel</r>"); },
         "murmel", "/dokumente/s2/t/e.xml"},
    };
    for (const auto& change : changes) {
        SCOPED_TRACE(change.name);
        change.change();
        EXPECT_TRUE(Finds(change.word, change.path)) << watcher.Output();
    }

    {
        // A second writer holds the lock: the watcher waits for it, and updates once it is free.
        platform::SetProgramName(u"Prüfling");
        const auto folders =
            platform::WorkingFolders::From(platform::ToWindowsPath((Root() / "wd").string()), u"");
        const std::u16string lockFile = index::DatabaseFiles(folders, u"K").Lock();
        std::optional<platform::FileLock> lock;
        // The last update may still be finishing.
        ASSERT_TRUE(Eventually([&] {
            lock = platform::FileLock::TryTake(lockFile);
            return lock.has_value();
        }));
        WriteBytes(tree / "s2" / "f.xml", "<r>Steinbock</r>");
        EXPECT_TRUE(watcher.Shows("K wird gerade von Prüfling")) << watcher.Output();
        EXPECT_EQ(Found("steinbock"), "");
        lock.reset();
        EXPECT_TRUE(Finds("steinbock", "/dokumente/s2/f.xml")) << watcher.Output();
    }

    int64_t queued = 0;
    std::ifstream("/proc/sys/fs/inotify/max_queued_events") >> queued;
    if (queued > 0 && queued <= 1'000'000) {
        // Events lost while the watcher is stopped: the document written after the queue was
        // full is found by comparing the whole tree.
        ASSERT_EQ(kill(watcher.Pid(), SIGSTOP), 0);
        OverflowEventQueue(tree / "n", queued);
        WriteBytes(tree / "n" / "g.xml", "<r>Adler</r>");
        ASSERT_EQ(kill(watcher.Pid(), SIGCONT), 0);
        EXPECT_TRUE(watcher.Shows("Ereignisse gingen verloren")) << watcher.Output();
        EXPECT_TRUE(Finds("adler", "/dokumente/n/g.xml")) << watcher.Output();
    }

    EXPECT_EQ(watcher.Stop(SIGTERM), 0);
    // What the watcher left equals a fresh create over the same tree.
    vx::testing::ScratchDirectory other("vx-watch-fresh-");
    ASSERT_EQ(vx::testing::RunCliIn(other.Path(), {"create", "K", tree.string(), "--yes"}).status,
              0);
    EXPECT_EQ(DatabaseFiles(Root()), DatabaseFiles(other.Path()));
}

// Beyond the limit of watches the watcher says so, and a walk at the interval finds a document
// of a folder it does not watch.
TEST_F(WatchTest, WalksWhereTheLimitOfWatchesIsReached) {
    WatchProcess watcher(Root(), {"K", "--max-watches", "2", "--interval", "1"});
    ASSERT_TRUE(watcher.Shows("Die Grenze von --max-watches 2 Ordnern ist erreicht"))
        << watcher.Output();
    WriteBytes(Tree() / "s" / "t" / "h.xml", "<r>Fuchs</r>");
    EXPECT_TRUE(Finds("fuchs", "/dokumente/s/t/h.xml")) << watcher.Output();
}

TEST_F(WatchTest, ExitStatuses) {
    const struct {
        std::vector<std::string> args;
        int signal;  // sent once the first update is done (0: none)
        int status;
    } cases[] = {
        {{}, SIGTERM, 0},
        {{"k"}, SIGINT, 130},
        {{"K", "Unbekannt"}, 0, 2},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.status);
        WatchProcess watcher(Root(), test.args);
        if (test.signal != 0) {
            ASSERT_TRUE(watcher.Shows("K aktualisiert in"));
        }
        EXPECT_EQ(watcher.Stop(test.signal), test.status) << watcher.Output();
    }
}

}  // namespace
}  // namespace vx::cli
