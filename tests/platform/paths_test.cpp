#include "platform/paths.h"

#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/text.h"
#include "temp_dir.h"

namespace vx::platform {
namespace {

using testing::TempDir;
namespace fs = std::filesystem;

TEST(Paths, LexicalMappingToHost) {
    // Paths below a folder that does not exist keep their spelling.
    const struct {
        std::u16string win;
        std::string host;
    } cases[] = {
        {u"Z:\\vx_absent_root\\a\\x.xml", "/vx_absent_root/a/x.xml"},
        {u"z:\\vx_absent_root\\A", "/vx_absent_root/A"},
        {u"Z:\\\\vx_absent_root\\\\a\\\\b.txt", "/vx_absent_root/a/b.txt"},
        {u"Z:/vx_absent_root/a/", "/vx_absent_root/a"},
        {u"Z:\\vx_absent_root\\.\\a\\..\\b", "/vx_absent_root/b"},
        {u"Z:\\vx_absent_root\\Gr\u00F6\u00DFe",
         "/vx_absent_root/Gr\xC3\xB6\xC3\x9F"
         "e"},
        {u"Z:\\", "/"},
        {u"Z:", "/"},
        {u"C:\\vx_absent_root\\a", ""},
        {u"D:\\", ""},
        {u"\\vx_absent_root\\a", ""},
        {u"vx_absent_root\\a", ""},
        {u"Z:vx_absent_root", ""},
        {u"\\\\server\\share\\a", ""},
        {u"", ""},
        {std::u16string(u"Z:\\etc\\passwd\0.xml", 18), ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(ToUtf8(c.win));
        EXPECT_EQ(ToHostPath(c.win), c.host);
    }
}

TEST(Paths, MappingToWindows) {
    const struct {
        std::string host;
        std::u16string win;
    } cases[] = {
        {"/home/a", u"Z:\\home\\a"},
        {"/home/a/x.xml", u"Z:\\home\\a\\x.xml"},
        {"/", u"Z:\\"},
        {"//home//a/", u"Z:\\home\\a\\"},
        {"/tmp/a\xFF"
         "b",
         u"Z:\\tmp\\a\uFFFDb"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.host);
        EXPECT_EQ(ToWindowsPath(c.host), c.win);
    }
}

TEST(Paths, ResolvesLetterCaseFromDisk) {
    TempDir dir;
    dir.MakeDirs("daten/Sub");
    dir.WriteFile("daten/Bericht.xml");
    dir.WriteFile(
        "daten/Sub/stra\xC3\x9F"
        "e.xml");
    const std::u16string root = dir.Win();
    const struct {
        std::u16string win;
        std::string host;
    } cases[] = {
        {root + u"\\DATEN\\BERICHT.XML", dir.HostOf("daten/Bericht.xml")},
        {root + u"\\daten\\Bericht.xml", dir.HostOf("daten/Bericht.xml")},
        {root + u"\\\\Daten\\\\bericht.XML", dir.HostOf("daten/Bericht.xml")},
        {root + u"\\DATEN\\SUB\\STRA\u00DFE.XML", dir.HostOf("daten/Sub/stra\xC3\x9F"
                                                             "e.xml")},
        // "ß" upper-cases to itself, so "SS" is another name.
        {root + u"\\DATEN\\SUB\\STRASSE.XML", dir.HostOf("daten/Sub/STRASSE.XML")},
        // Missing components keep their spelling below the folders that exist.
        {root + u"\\DATEN\\Neu\\Datei.txt", dir.HostOf("daten/Neu/Datei.txt")},
        {root + u"\\DATEN\\SUB\\neu.txt", dir.HostOf("daten/Sub/neu.txt")},
        // The folder as written, the name in another spelling, or not there at all.
        {root + u"\\daten\\BERICHT.XML", dir.HostOf("daten/Bericht.xml")},
        {root + u"\\daten\\Sub\\Neu.XML", dir.HostOf("daten/Sub/Neu.XML")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(ToUtf8(c.win));
        EXPECT_EQ(ToHostPath(c.win), c.host);
    }
}

TEST(Paths, SeesEntriesCreatedAfterTheFolderWasCached) {
    TempDir dir;
    dir.MakeDirs("f");
    const std::u16string root = dir.Win();
    for (int i = 0; i < 20; ++i) {
        const std::string name = "File" + std::to_string(i) + ".Txt";
        EXPECT_EQ(ToHostPath(root + u"\\F\\" + UpperCase(FromUtf8(name))),
                  dir.HostOf("f/FILE" + std::to_string(i) + ".TXT"));
        dir.WriteFile("f/" + name);
        EXPECT_EQ(ToHostPath(root + u"\\F\\" + UpperCase(FromUtf8(name))), dir.HostOf("f/" + name));
    }
}

TEST(Paths, FollowsChangesOfCachedFolders) {
    TempDir dir;
    dir.MakeDirs("Top/Sub");
    dir.WriteFile("Top/Sub/Old.txt");
    const std::u16string path = dir.Win() + u"\\TOP\\SUB\\OLD.TXT";
    EXPECT_EQ(ToHostPath(path), dir.HostOf("Top/Sub/Old.txt"));

    fs::rename(dir.HostOf("Top/Sub/Old.txt"), dir.HostOf("Top/Sub/oLD.txt"));
    EXPECT_EQ(ToHostPath(path), dir.HostOf("Top/Sub/oLD.txt"));

    fs::remove(dir.HostOf("Top/Sub/oLD.txt"));
    EXPECT_EQ(ToHostPath(path), dir.HostOf("Top/Sub/OLD.TXT"));

    // The folder itself renamed, and another one put in its place.
    fs::rename(dir.HostOf("Top/Sub"), dir.HostOf("Top/Moved"));
    dir.MakeDirs("Top/sub");
    dir.WriteFile("Top/sub/old.Txt");
    EXPECT_EQ(ToHostPath(path), dir.HostOf("Top/sub/old.Txt"));
    EXPECT_EQ(ToHostPath(dir.Win() + u"\\TOP\\MOVED"), dir.HostOf("Top/Moved"));

    // A parent renamed: the path now leads to a different folder.
    fs::rename(dir.HostOf("Top"), dir.HostOf("Gone"));
    dir.MakeDirs("Top/Sub");
    dir.WriteFile("Top/Sub/OLD.txt");
    EXPECT_EQ(ToHostPath(path), dir.HostOf("Top/Sub/OLD.txt"));
}

TEST(Paths, ReachesNamesThatAreNotUtf8) {
    TempDir dir;
    dir.MakeDirs("bad\xFFname");
    dir.WriteFile("bad\xFFname/a\xFE.xml");
    const std::u16string shown = dir.Win() + u"\\bad\uFFFDname\\A\uFFFD.XML";
    EXPECT_EQ(ToHostPath(shown), dir.HostOf("bad\xFFname/a\xFE.xml"));
    EXPECT_EQ(ToWindowsPath(dir.HostOf("bad\xFFname")), dir.Win() + u"\\bad\uFFFDname");
}

TEST(Paths, CurrentDirectoryInWindowsForm) {
    TempDir dir;
    char old[4096];
    ASSERT_NE(getcwd(old, sizeof old), nullptr);
    ASSERT_EQ(chdir(dir.Host().c_str()), 0);
    EXPECT_EQ(CurrentDirectory(), dir.Win());
    ASSERT_EQ(chdir("/"), 0);
    EXPECT_EQ(CurrentDirectory(), u"Z:\\");
    ASSERT_EQ(chdir(old), 0);
}

TEST(Paths, NameHelpers) {
    const struct {
        std::u16string path;
        std::u16string folder;
        std::u16string name;
        std::u16string ext;
    } cases[] = {
        {u"C:\\a\\b.xml", u"C:\\a", u"b.xml", u".xml"},
        {u"C:\\a\\a.xml.Xml", u"C:\\a", u"a.xml.Xml", u".Xml"},
        {u"C:\\a.b\\noext", u"C:\\a.b", u"noext", u""},
        {u"C:\\b.xml", u"C:", u"b.xml", u".xml"},
        {u"C:\\a\\", u"C:\\a", u"", u""},
        {u"name.txt", u"", u"name.txt", u".txt"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(ToUtf8(c.path));
        EXPECT_EQ(FolderOf(c.path), c.folder);
        EXPECT_EQ(NameOf(c.path), c.name);
        EXPECT_EQ(ExtensionOf(c.path), c.ext);
    }
    EXPECT_EQ(WithTrailingBackslash(u"C:\\a"), u"C:\\a\\");
    EXPECT_EQ(WithTrailingBackslash(u"C:\\a\\"), u"C:\\a\\");
}

}  // namespace
}  // namespace vx::platform
