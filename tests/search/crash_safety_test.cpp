// What a killed run or a full disk leaves: the previous database stays listed and searchable, a
// failed create leaves no database, and the next run succeeds. The runs are vantor-xml-cli
// processes, killed with SIGKILL at chosen moments.
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <thread>

#include "common/disk_faults.h"
#include "indexing/indexing_fixture.h"
#include "search/search_run.h"

namespace vx::search {
namespace {

using indexing::testing::ReadBytes;
using indexing::testing::TempDir;
using indexing::testing::TreeContents;
using indexing::testing::WriteBytes;
namespace fs = std::filesystem;

struct Work {
    TempDir dir;
    fs::path data = dir.Path() / "Daten";
    fs::path wd = dir.Path() / "wd";
    fs::path output = dir.Path() / "out.txt";

    Work() { fs::create_directories(wd / "Datenbank" / "Temp"); }

    // Documents in a few folders; every one holds "Wort" + its number modulo 50 (and the extra
    // word, when one is given).
    void WriteCorpus(int documents, const std::string& extra = "") const {
        for (int i = 0; i < documents; ++i) {
            std::string text = "<r>";
            for (int j = 0; j < 40; ++j) text += " Wort" + std::to_string((i + j) % 50);
            WriteBytes(data / ("f" + std::to_string(i % 7)) / ("d" + std::to_string(i) + ".xml"),
                       text + " Einzig" + std::to_string(i) + extra + "</r>");
        }
    }

    // Starts vantor-xml-cli in the working folder; fileSizeLimit > 0 makes bigger writes fail.
    // Its output goes to the output file, or to the one given.
    pid_t Start(const std::vector<std::string>& arguments, rlim_t fileSizeLimit = 0,
                const fs::path& outputFile = {}) const {
        const pid_t pid = ::fork();
        if (pid != 0) return pid;
        if (::chdir(wd.c_str()) != 0) ::_exit(99);
        const fs::path& to = outputFile.empty() ? output : outputFile;
        const int out = ::open(to.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        ::dup2(out, 1);
        ::dup2(out, 2);
        ::setenv("XDG_DATA_HOME", (dir.Path() / "xdg").c_str(), 1);
        if (fileSizeLimit > 0) vx::testing::LimitFileSizeInChild(fileSizeLimit);
        std::vector<char*> argv{const_cast<char*>(VX_CLI_PATH)};
        for (const std::string& a : arguments) argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        ::execv(VX_CLI_PATH, argv.data());
        ::_exit(98);
    }
    static int Wait(pid_t pid) {
        int status = 0;
        ::waitpid(pid, &status, 0);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -WTERMSIG(status);
    }
    int Run(const std::vector<std::string>& arguments, rlim_t fileSizeLimit = 0) const {
        return Wait(Start(arguments, fileSizeLimit));
    }
    std::string Output() const { return ReadBytes(output); }

    platform::WorkingFolders Folders() const {
        return platform::WorkingFolders::From(
            platform::ToWindowsPath(wd.string()) + u"\\",
            platform::ToWindowsPath(dir.Path().string()) + u"\\xdg\\ZipTemp\\");
    }
    std::vector<std::u16string> Databases() const { return indexing::ListDatabaseNames(Folders()); }
    std::vector<std::string> Search(const std::u16string& text) const {
        indexing::testing::RecordingHost host;
        RunFlags flags;
        SearchHistory history;
        SearchRun run(host, flags, Folders(), history);
        run.SetOpenPages(false);
        return run.Run(text, SearchOptions{}, u"Akten").hitPaths;
    }
    std::map<std::string, std::string> DatabaseFiles() const {
        auto files = TreeContents(wd / "Datenbank");
        std::erase_if(files, [](const auto& f) { return f.first.starts_with("Temp"); });
        return files;
    }
};

// Kills the child once the condition holds; false when the child ended first.
bool KillWhen(pid_t child, const std::function<bool()>& condition) {
    for (;;) {
        if (condition()) {
            ::kill(child, SIGKILL);
            return Work::Wait(child) == -SIGKILL;
        }
        int status = 0;
        if (::waitpid(child, &status, WNOHANG) == child) return false;
        std::this_thread::sleep_for(std::chrono::microseconds(100));
    }
}

TEST(CrashSafety, AReindexKilledAtAnyPointLeavesThePreviousDatabase) {
    struct Case {
        const char* name;
        const char* chunkSize;
        std::function<bool(const fs::path& staging)> moment;
    };
    bool sawSecondChunk = false;
    const Case cases[] = {
        {"during the walk", "150",
         [](const fs::path& temp) { return fs::exists(temp / "Akten.dat"); }},
        {"during the save", "100000",
         [](const fs::path& temp) { return fs::exists(temp / "~Akten.dat.tmp"); }},
        {"during the merge", "150",
         [&](const fs::path& temp) {
             // The merge deletes each further chunk once it has read it.
             if (fs::exists(temp / "Akten_2.dat")) sawSecondChunk = true;
             return sawSecondChunk && !fs::exists(temp / "Akten_2.dat");
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        sawSecondChunk = false;
        Work work;
        work.WriteCorpus(600);
        ASSERT_EQ(
            work.Run({"create", "Akten", work.data.string(), "--yes", "--chunk-size", c.chunkSize}),
            0)
            << work.Output();
        const auto before = work.DatabaseFiles();
        const auto copies = TreeContents(work.wd / "XML_Texte" / "Akten");
        const auto hits = work.Search(u"einzig7");
        ASSERT_FALSE(hits.empty());
        work.WriteCorpus(600, " Neu");  // the run parses every document and writes new copies

        const pid_t child = work.Start({"reindex", "Akten", "--yes", "--chunk-size", c.chunkSize});
        ASSERT_TRUE(
            KillWhen(child, [&] { return c.moment(work.wd / "Datenbank" / "Temp" / "AKTEN.run"); }))
            << "the run ended before the moment came: " << work.Output();
        EXPECT_EQ(work.Databases(), std::vector<std::u16string>{u"Akten"});
        EXPECT_EQ(work.DatabaseFiles(), before);
        EXPECT_EQ(TreeContents(work.wd / "XML_Texte" / "Akten"), copies);
        EXPECT_EQ(work.Search(u"einzig7"), hits);

        ASSERT_EQ(work.Run({"reindex", "Akten", "--yes", "--chunk-size", c.chunkSize}), 0)
            << work.Output();
        EXPECT_EQ(work.Search(u"einzig7"), hits);
        EXPECT_EQ(ReadBytes(work.wd / "Datenbank" / "Akten.old"), before.at("Akten.dat"));
        for (const auto& [name, bytes] : TreeContents(work.wd / "Datenbank" / "Temp")) {
            EXPECT_FALSE(name.starts_with("~")) << name;  // the killed run's files are gone
        }
    }
}

TEST(CrashSafety, AFullDiskEndsTheRunWithItsReasonAndLosesNothing) {
    Work work;
    work.WriteCorpus(300);
    vx::testing::SmallDisk disk(work.wd / "Datenbank", 4u << 20);
    if (disk.Mounted()) fs::create_directories(work.wd / "Datenbank" / "Temp");
    // Without a small disk of its own the child's file-size limit stands in for it.
    const rlim_t limit = disk.Mounted() ? 0 : 64 * 1024;
    const auto fill = [&] {
        if (!disk.Mounted()) return;
        std::string ballast(4u << 20, 'x');
        std::ofstream(work.wd / "Datenbank" / "ballast", std::ios::binary) << ballast;
    };
    const char* reasons[] = {"Kein Speicherplatz mehr auf dem Datenträger",
                             "Die Datei ist zu groß"};
    const auto saysWhy = [&](const std::string& output) {
        return output.find(reasons[disk.Mounted() ? 0 : 1]) != std::string::npos &&
               output.find("Fertig mit der") == std::string::npos;
    };

    // A create that fails leaves no database.
    fill();
    EXPECT_EQ(work.Run({"create", "Voll", work.data.string(), "--yes"}, limit), 2);
    EXPECT_TRUE(saysWhy(work.Output())) << work.Output();
    EXPECT_TRUE(work.Databases().empty());
    fs::remove(work.wd / "Datenbank" / "ballast");

    // A re-index that fails leaves the previous database as it was.
    ASSERT_EQ(work.Run({"create", "Akten", work.data.string(), "--yes"}), 0) << work.Output();
    const auto before = work.DatabaseFiles();
    fill();
    for (int i = 300; i < 400; ++i) {
        WriteBytes(work.data / ("d" + std::to_string(i) + ".xml"), "<r>Neu Wort1</r>");
    }
    EXPECT_EQ(work.Run({"reindex", "Akten", "--yes"}, limit), 2);
    EXPECT_TRUE(saysWhy(work.Output())) << work.Output();
    fs::remove(work.wd / "Datenbank" / "ballast");
    EXPECT_EQ(work.DatabaseFiles(), before);
    EXPECT_FALSE(work.Search(u"einzig7").empty());
}

// Programs sharing one working folder: a second writer of a database is refused and told who
// writes it, a writer of another database and every search go on meanwhile.
TEST(CrashSafety, WritersTakeTurnsPerDatabaseAndSearchesAlwaysAnswer) {
    Work work;
    work.WriteCorpus(1500);
    ASSERT_EQ(work.Run({"create", "Akten", work.data.string(), "--yes"}), 0) << work.Output();
    work.WriteCorpus(1500, " Neu");  // the re-index parses every document
    const fs::path firstOutput = work.dir.Path() / "first.txt";
    const pid_t first = work.Start({"reindex", "Akten", "--yes", "--threads", "0"}, 0, firstOutput);
    // Once the run writes text copies, it holds the database's lock.
    const fs::path staged = work.wd / "XML_Texte" / "^AKTEN";
    while (!fs::exists(staged) ||
           std::distance(fs::directory_iterator(staged), fs::directory_iterator()) < 50) {
        int status = 0;
        ASSERT_EQ(::waitpid(first, &status, WNOHANG), 0) << "the run ended too soon";
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    EXPECT_EQ(work.Run({"reindex", "akten", "--yes"}), 2);
    EXPECT_NE(
        work.Output().find("Die Datenbank \"Akten\" wird gerade von vantor-xml-cli (Prozess " +
                           std::to_string(first) + ") indiziert."),
        std::string::npos)
        << work.Output();
    const fs::path otherOutput = work.dir.Path() / "other.txt";
    const pid_t other =
        work.Start({"create", "Zweite", work.data.string(), "--yes"}, 0, otherOutput);
    int searches = 0;
    for (int status = 0; ::waitpid(first, &status, WNOHANG) == 0; ++searches) {
        EXPECT_FALSE(work.Search(u"einzig7").empty());
    }
    EXPECT_GT(searches, 0);
    EXPECT_EQ(Work::Wait(other), 0) << ReadBytes(otherOutput);
    EXPECT_FALSE(work.Search(u"neu").empty()) << ReadBytes(firstOutput);
    EXPECT_EQ(work.Databases(), (std::vector<std::u16string>{u"Akten", u"Zweite"}));
}

TEST(CrashSafety, AWorkingFolderThatTakesNoFiles) {
    Work work;
    work.WriteCorpus(20);
    vx::testing::SmallDisk disk(work.wd, 16u << 20);
    fs::create_directories(work.wd / "Datenbank" / "Temp");
    ASSERT_EQ(work.Run({"create", "Akten", work.data.string(), "--yes"}), 0) << work.Output();
    fs::create_directories(work.dir.Path() / "xdg" / "ZipTemp");
    const bool readOnly = disk.Mounted()
                              ? disk.RemountReadOnly()
                              : vx::testing::DenyWritesTo(work.wd / "Datenbank" / "Temp") &&
                                    vx::testing::DenyWritesTo(work.wd / "Datenbank") &&
                                    vx::testing::DenyWritesTo(work.wd);
    if (!readOnly) GTEST_SKIP() << "no way to make a folder read-only here";

    // The search still writes its page, in the scratch folder, and says why.
    indexing::testing::RecordingHost host;
    RunFlags flags;
    SearchHistory history;
    SearchRun run(host, flags, work.Folders(), history);
    run.SetOpenPages(false);
    const SearchResult result = run.Run(u"einzig7", SearchOptions{}, u"Akten");
    EXPECT_FALSE(result.hitPaths.empty());
    EXPECT_EQ(result.pagePath, work.Folders().zipTemp + u"VT_Ergebnis.htm");
    ASSERT_EQ(host.messages.size(), 2u);  // the history, then the page
    EXPECT_NE(host.messages[0].text.find("Suchwoerterliste.txt"), std::string::npos);

    // A create checks its folders before it looks for documents.
    indexing::IndexingCommands commands(host, flags, work.Folders());
    EXPECT_EQ(commands.Create(u"Neu", platform::ToWindowsPath(work.data.string())).outcome,
              indexing::CommandOutcome::Failed);
    EXPECT_EQ(host.noticeCount, -1);
    EXPECT_NE(host.messages.back().text.find("können keine Dateien angelegt werden"),
              std::string::npos);
    if (disk.Mounted()) return;
    for (const fs::path& folder :
         {work.wd, work.wd / "Datenbank", work.wd / "Datenbank" / "Temp"}) {
        fs::permissions(folder, fs::perms::owner_all, fs::perm_options::add);
    }
}

}  // namespace
}  // namespace vx::search
