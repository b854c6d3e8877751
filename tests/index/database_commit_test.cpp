#include "index/database_commit.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <sstream>
#include <string>

#include "common/scratch_directory.h"
#include "platform/paths.h"
#include "textio/text_file.h"

namespace vx::index {
namespace {

namespace fs = std::filesystem;

std::map<std::string, std::string> Contents(const fs::path& folder) {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::directory_iterator(folder)) {
        if (!entry.is_regular_file()) continue;
        std::ifstream in(entry.path(), std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        files[entry.path().filename().string()] = text.str();
    }
    return files;
}

void Write(const std::u16string& windowsPath, const std::string& text) {
    std::ofstream(platform::ToHostPath(windowsPath), std::ios::binary) << text;
}

struct Folders {
    testing::ScratchDirectory scratch{"vx_commit_"};
    fs::path database = scratch.Path() / "Datenbank";
    fs::path temp = database / "Temp";
    Folders() { fs::create_directories(temp); }
    std::u16string Windows(const fs::path& path) const {
        return platform::ToWindowsPath(path.string());
    }
};

TEST(DatabaseCommit, PutsTheStagedFilesInPlaceAndKeepsThePreviousDatabase) {
    struct Case {
        const char* name;
        std::map<std::string, std::string> before;  // Datenbank before the commit
        bool keepPrevious;
        std::map<std::string, std::string> after;
    };
    const Case cases[] = {
        {"create", {}, false, {{"A.dat", "new"}, {"A_ansi.txt", "words"}, {"A.log", "log"}}},
        {"re-index",
         {{"A.dat", "old"}, {"A_ansi.txt", "old words"}, {"A.old", "older"}},
         true,
         {{"A.dat", "new"}, {"A_ansi.txt", "words"}, {"A.log", "log"}, {"A.old", "old"}}},
        {"re-index without an earlier copy",
         {{"A.dat", "old"}},
         true,
         {{"A.dat", "new"}, {"A_ansi.txt", "words"}, {"A.log", "log"}, {"A.old", "old"}}},
        {"a create over an existing file",
         {{"A.dat", "old"}},
         false,
         {{"A.dat", "new"}, {"A_ansi.txt", "words"}, {"A.log", "log"}}},
    };
    for (const Case& c : cases) {
        Folders folders;
        for (const auto& [name, text] : c.before)
            Write(folders.Windows(folders.database / name), text);
        DatabaseCommit commit(folders.Windows(folders.temp),
                              folders.Windows(folders.database / "A.dat"));
        // The database file is staged first but must still be renamed last.
        Write(commit.Stage(folders.Windows(folders.database / "A.dat")), "new");
        Write(commit.Stage(folders.Windows(folders.database / "A_ansi.txt")), "words");
        Write(commit.Stage(folders.Windows(folders.database / "A.log")), "log");
        EXPECT_EQ(Contents(folders.database), c.before) << c.name;  // nothing changes before
        commit.Commit(c.keepPrevious ? folders.Windows(folders.database / "A.old") : u"");
        EXPECT_EQ(Contents(folders.database), c.after) << c.name;
        EXPECT_TRUE(Contents(folders.temp).empty()) << c.name;
    }
}

TEST(DatabaseCommit, AFailedRunLeavesThePreviousFilesAndNoLeftovers) {
    Folders folders;
    Write(folders.Windows(folders.database / "A.dat"), "old");
    const fs::path copies = folders.scratch.Path() / "XML_Texte" / "A";
    fs::create_directories(copies / "d");
    std::ofstream(copies / "d" / "x.txt") << "old copy";
    {
        DatabaseCommit commit(folders.Windows(folders.temp),
                              folders.Windows(folders.database / "A.dat"));
        Write(commit.Stage(folders.Windows(folders.database / "A.dat")), "half");
        commit.Stage(folders.Windows(folders.database / "A_ansi.txt"));  // never written
        for (const char* name : {"x", "y"}) {
            const std::u16string staged =
                folders.Windows(folders.temp / (std::string("copy-") + name));
            Write(staged, "new copy");
            commit.StageTextCopy(staged,
                                 folders.Windows(copies / "d" / (name + std::string(".txt"))));
        }
        EXPECT_THROW(commit.Commit(folders.Windows(folders.database / "A.old")), textio::FileError);
    }
    EXPECT_EQ(Contents(folders.database), (std::map<std::string, std::string>{{"A.dat", "old"}}));
    EXPECT_TRUE(Contents(folders.temp).empty());
    // The previous database keeps its own text copies.
    EXPECT_EQ(Contents(copies / "d"), (std::map<std::string, std::string>{{"x.txt", "old copy"}}));
}

// Text copies go where they are named, in the letter case given, over the copies before them.
TEST(DatabaseCommit, PutsTextCopiesInPlaceAsNamed) {
    Folders folders;
    const fs::path copies = folders.scratch.Path() / "XML_Texte" / "A";
    fs::create_directories(copies / "docs");
    std::ofstream(copies / "docs" / "x.txt") << "old";
    DatabaseCommit commit(folders.Windows(folders.temp),
                          folders.Windows(folders.database / "A.dat"));
    Write(commit.Stage(folders.Windows(folders.database / "A.dat")), "new");
    const std::pair<const char*, fs::path> staged[] = {{"c1", copies / "docs" / "x.txt"},
                                                       {"c2", copies / "Docs" / "y.txt"},
                                                       {"c3", copies / "neu" / "tief" / "z.txt"}};
    for (const auto& [name, target] : staged) {
        Write(folders.Windows(folders.temp / name), name);
        commit.StageTextCopy(folders.Windows(folders.temp / name), folders.Windows(target));
    }
    commit.Commit();
    for (const auto& [name, target] : staged)
        EXPECT_EQ(Contents(target.parent_path())[target.filename().string()], name);
    EXPECT_FALSE(fs::exists(copies / "docs" / "y.txt"));
    EXPECT_TRUE(Contents(folders.temp).empty());
}

}  // namespace
}  // namespace vx::index
