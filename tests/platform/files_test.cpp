#include "platform/files.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/text.h"
#include "temp_dir.h"

namespace vx::platform {
namespace {

using testing::TempDir;
namespace fs = std::filesystem;

std::string Slurp(const std::string& host) {
    std::ifstream in(host, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

class UtcZone : public ::testing::Test {
  protected:
    void SetUp() override {
        const char* tz = std::getenv("TZ");
        hadTz_ = tz != nullptr;
        if (hadTz_) oldTz_ = tz;
        setenv("TZ", "UTC", 1);
        tzset();
    }
    void TearDown() override {
        if (hadTz_) {
            setenv("TZ", oldTz_.c_str(), 1);
        } else {
            unsetenv("TZ");
        }
        tzset();
    }

  private:
    bool hadTz_ = false;
    std::string oldTz_;
};

using DosTime = UtcZone;

TEST_F(DosTime, PacksDateHighAndTimeLow) {
    const struct {
        int64_t seconds;
        uint32_t packed;
    } cases[] = {
        // 1980-01-01 00:00:00, the first DOS date
        {315532800, (0u << 25) | (1u << 21) | (1u << 16)},
        // 2024-02-29 13:45:58
        {1709214358, (44u << 25) | (2u << 21) | (29u << 16) | (13u << 11) | (45u << 5) | 29u},
        // odd seconds round down: 13:45:59 packs as :58
        {1709214359, (44u << 25) | (2u << 21) | (29u << 16) | (13u << 11) | (45u << 5) | 29u},
        // 2100-06-30 23:59:59 has the sign bit set
        {4118083199, (120u << 25) | (6u << 21) | (30u << 16) | (23u << 11) | (59u << 5) | 29u},
        // before 1980: the first DOS date
        {0, (1u << 21) | (1u << 16)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.seconds);
        EXPECT_EQ(PackDosTime(c.seconds), static_cast<int32_t>(c.packed));
    }
}

TEST_F(DosTime, StatReportsSizeAndPackedTime) {
    TempDir dir;
    dir.WriteFile("Doc.xml", std::string(5000, 'a'));
    const timespec times[2] = {{1709214358, 0}, {1709214358, 0}};
    ASSERT_EQ(utimensat(AT_FDCWD, dir.HostOf("Doc.xml").c_str(), times, 0), 0);
    const auto info = StatPath(dir.Win() + u"\\DOC.XML");
    ASSERT_TRUE(info.has_value());
    EXPECT_EQ(info->size, 5000u);
    EXPECT_EQ(info->dosTime, PackDosTime(1709214358));
    EXPECT_FALSE(info->isDirectory);
    const auto folder = StatPath(dir.Win());
    ASSERT_TRUE(folder.has_value());
    EXPECT_TRUE(folder->isDirectory);
    EXPECT_FALSE(StatPath(dir.Win() + u"\\absent").has_value());
}

TEST(Files, ExistenceTests) {
    TempDir dir;
    dir.MakeDirs("Folder");
    dir.WriteFile("Folder/File.txt");
    fs::create_symlink(dir.HostOf("Folder/nowhere"), dir.HostOf("broken"));
    // Links are followed, also where the path names them as written.
    fs::create_symlink(dir.HostOf("Folder/File.txt"), dir.HostOf("fileLink"));
    fs::create_directory_symlink(dir.HostOf("Folder"), dir.HostOf("folderLink"));
    const std::u16string r = dir.Win();
    const struct {
        std::u16string path;
        bool file;
        bool folder;
    } cases[] = {
        {r + u"\\Folder\\File.txt", true, false}, {r + u"\\FOLDER\\FILE.TXT", true, false},
        {r + u"\\folder", false, true},           {r + u"\\folder\\", false, true},
        {r + u"\\Folder\\absent", false, false},  {r + u"\\broken", false, false},
        {u"C:\\Windows", false, false},           {u"", false, false},
        {r + u"\\fileLink", true, false},         {r + u"\\FOLDERLINK", false, true},
        {r + u"\\folderLink", false, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(ToUtf8(c.path));
        EXPECT_EQ(FileExists(c.path), c.file);
        EXPECT_EQ(DirectoryExists(c.path), c.folder);
    }
}

TEST(Files, CreateFolders) {
    TempDir dir;
    dir.MakeDirs("Daten");
    const std::u16string r = dir.Win();
    EXPECT_TRUE(CreateFolder(r + u"\\DATEN\\Neu"));
    EXPECT_TRUE(fs::is_directory(dir.HostOf("Daten/Neu")));
    EXPECT_TRUE(CreateFolder(r + u"\\Daten\\Neu"));  // already there
    EXPECT_FALSE(CreateFolder(r + u"\\x\\y"));       // one level only
    EXPECT_TRUE(CreateFolderTree(r + u"\\DATEN\\NEU\\a\\\\b\\c\\"));
    EXPECT_TRUE(fs::is_directory(dir.HostOf("Daten/Neu/a/b/c")));
    EXPECT_FALSE(fs::exists(dir.HostOf("DATEN")));
    dir.WriteFile("file");
    EXPECT_FALSE(CreateFolderTree(r + u"\\file\\sub"));
    EXPECT_FALSE(CreateFolder(u"C:\\vx"));
}

TEST(Files, DeleteAndRename) {
    TempDir dir;
    dir.WriteFile("a.dat", "A");
    dir.WriteFile("b.dat", "B");
    const std::u16string r = dir.Win();
    EXPECT_FALSE(RenameFileAt(r + u"\\A.DAT", r + u"\\B.dat"));  // target exists in another case
    EXPECT_EQ(Slurp(dir.HostOf("b.dat")), "B");
    EXPECT_TRUE(RenameFileAt(r + u"\\A.DAT", r + u"\\a.old"));
    EXPECT_EQ(Slurp(dir.HostOf("a.old")), "A");
    EXPECT_FALSE(fs::exists(dir.HostOf("a.dat")));
    EXPECT_TRUE(RenameFileAt(r + u"\\a.old", r + u"\\A.OLD"));  // a change of case only
    EXPECT_TRUE(fs::exists(dir.HostOf("A.OLD")));
    EXPECT_FALSE(fs::exists(dir.HostOf("a.old")));
    EXPECT_FALSE(RenameFileAt(r + u"\\absent", r + u"\\x"));
    EXPECT_TRUE(DeleteFileAt(r + u"\\B.DAT"));
    EXPECT_FALSE(fs::exists(dir.HostOf("b.dat")));
    EXPECT_FALSE(DeleteFileAt(r + u"\\B.DAT"));
    dir.MakeDirs("sub");
    EXPECT_FALSE(DeleteFileAt(r + u"\\sub"));
}

TEST(Files, CopyIntoRenamesOnCollision) {
    TempDir dir;
    dir.MakeDirs("src");
    dir.MakeDirs("Zip");
    dir.WriteFile("src/Doc.xml", "content");
    const timespec times[2] = {{1600000000, 0}, {1600000000, 0}};
    ASSERT_EQ(utimensat(AT_FDCWD, dir.HostOf("src/Doc.xml").c_str(), times, 0), 0);
    dir.WriteFile("Zip/Kopie (2) von DOC.XML", "other");
    const std::u16string r = dir.Win();
    const std::u16string expected[] = {
        r + u"\\ZIP\\Doc.xml",
        r + u"\\ZIP\\Kopie (3) von Doc.xml",  // "(2)" is taken in another case
        r + u"\\ZIP\\Kopie (4) von Doc.xml",
    };
    for (const auto& e : expected) {
        const std::u16string copy = CopyFileInto(r + u"\\src\\Doc.xml", r + u"\\ZIP");
        EXPECT_EQ(copy, e);
        const std::string host = ToHostPath(copy);
        EXPECT_EQ(Slurp(host), "content");
        EXPECT_EQ(fs::last_write_time(host), fs::last_write_time(dir.HostOf("src/Doc.xml")));
    }
    EXPECT_EQ(Slurp(dir.HostOf("Zip/Kopie (2) von DOC.XML")), "other");
    EXPECT_EQ(CopyFileInto(r + u"\\src\\absent.xml", r + u"\\Zip"), u"");
    EXPECT_EQ(CopyFileInto(r + u"\\src\\Doc.xml", r + u"\\NoFolder"), u"");
}

TEST(Files, DeleteAllFilesKeepsFolders) {
    TempDir dir;
    dir.MakeDirs("t/sub");
    dir.WriteFile("t/a.xml");
    dir.WriteFile("t/b");
    dir.WriteFile("t/sub/inner");
    fs::create_directory_symlink(dir.HostOf("t/sub"), dir.HostOf("t/link"));
    DeleteAllFilesIn(dir.Win() + u"\\T\\");
    EXPECT_FALSE(fs::exists(dir.HostOf("t/a.xml")));
    EXPECT_FALSE(fs::exists(dir.HostOf("t/b")));
    EXPECT_TRUE(fs::exists(dir.HostOf("t/sub/inner")));
    EXPECT_TRUE(fs::is_symlink(dir.HostOf("t/link")));
    DeleteAllFilesIn(dir.Win() + u"\\absent");  // silently nothing
}

TEST(Files, FileInUse) {
    TempDir dir;
    dir.WriteFile("free.xml");
    dir.WriteFile("locked.xml");
    dir.WriteFile("childlocked.xml");
    dir.WriteFile("recordlocked.xml");
    const std::u16string r = dir.Win();

    EXPECT_FALSE(IsFileInUse(r + u"\\FREE.XML"));
    EXPECT_FALSE(IsFileInUse(r + u"\\absent.xml"));
    EXPECT_FALSE(IsFileInUse(r));

    // A lock on another open file description conflicts even within one process.
    const int fd = open(dir.HostOf("locked.xml").c_str(), O_RDONLY);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(flock(fd, LOCK_EX), 0);
    EXPECT_TRUE(IsFileInUse(r + u"\\locked.xml"));
    close(fd);
    EXPECT_FALSE(IsFileInUse(r + u"\\locked.xml"));

    // A lock held by another process.
    int ready[2];
    int release[2];
    ASSERT_EQ(pipe(ready), 0);
    ASSERT_EQ(pipe(release), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        const int cfd = open(dir.HostOf("childlocked.xml").c_str(), O_RDONLY);
        const int rfd = open(dir.HostOf("recordlocked.xml").c_str(), O_RDWR);
        struct flock record {};
        record.l_type = F_WRLCK;
        record.l_whence = SEEK_SET;
        char c = flock(cfd, LOCK_EX) == 0 && fcntl(rfd, F_SETLK, &record) == 0 ? 'y' : 'n';
        (void)!write(ready[1], &c, 1);
        (void)!read(release[0], &c, 1);
        _exit(0);
    }
    char c = 0;
    ASSERT_EQ(read(ready[0], &c, 1), 1);
    ASSERT_EQ(c, 'y');
    EXPECT_TRUE(IsFileInUse(r + u"\\childlocked.xml"));
    EXPECT_TRUE(IsFileInUse(r + u"\\recordlocked.xml"));
    (void)!write(release[1], &c, 1);
    waitpid(child, nullptr, 0);
    EXPECT_FALSE(IsFileInUse(r + u"\\childlocked.xml"));
    EXPECT_FALSE(IsFileInUse(r + u"\\recordlocked.xml"));
    for (int p : {ready[0], ready[1], release[0], release[1]}) close(p);
}

// Only a file that cannot be read counts as in use; one without write permission is read as
// any other.
TEST(Files, InUseByPermission) {
    if (geteuid() == 0) GTEST_SKIP() << "permissions do not bind the super-user";
    TempDir dir;
    for (const auto& [mode, inUse] : {std::pair{0444, false}, {0000, true}}) {
        dir.WriteFile("doc.xml");
        ASSERT_EQ(chmod(dir.HostOf("doc.xml").c_str(), static_cast<mode_t>(mode)), 0);
        EXPECT_EQ(IsFileInUse(dir.Win() + u"\\doc.xml"), inUse) << std::oct << mode;
        chmod(dir.HostOf("doc.xml").c_str(), 0644);
    }
}

}  // namespace
}  // namespace vx::platform
