#include "platform/folder_listing.h"

#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#include "platform/text.h"
#include "temp_dir.h"

namespace vx::platform {
namespace {

using testing::TempDir;
namespace fs = std::filesystem;

std::vector<std::u16string> Names(const std::vector<FolderEntry>& entries) {
    std::vector<std::u16string> names;
    for (const auto& e : entries) names.push_back(e.name);
    return names;
}

TEST(FolderMask, MatchesWithoutRegardToCase) {
    const struct {
        std::u16string name;
        std::u16string mask;
        bool plain;
        bool shortName;
    } cases[] = {
        {u"a.XML", u"*.xml", true, false},
        {u"Bericht.xml", u"*.XML", true, false},
        {u"x.Dat", u"*.DAT", true, false},
        {u"a.xml.bak", u"*.xml", false, false},
        {u"daten.xmlx", u"*.xml", false, true},
        {u"daten.XMLX", u"*.xml", false, true},
        {u"daten.xm", u"*.xml", false, false},
        {u"xml", u"*.xml", false, false},
        {u"noext", u"*.*", true, false},
        {u".hidden", u"*.*", true, false},
        {u"", u"*", true, false},
        {u"anything", u"*", true, false},
        {u"abc", u"a?c", true, false},
        {u"ac", u"a?c", false, false},
        {u"\u00E4BC.txt", u"\u00C4*.TXT", true, false},
        {u"aXbXc", u"*x*x*", true, false},
        {u"aXb", u"*x*x*", false, false},
        {u"report", u"report.*", true, false},
        {u"a.xmlx", u"*.x?l", false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(ToUtf8(c.name) + " ~ " + ToUtf8(c.mask));
        EXPECT_EQ(MatchesMask(c.name, c.mask), c.plain);
        EXPECT_EQ(MatchesShortNameMask(c.name, c.mask), c.shortName);
    }
}

TEST(FolderListing, SortedByUpperCasedNameAndFilteredByMask) {
    TempDir dir;
    for (const char* n : {"b.xml", "A.XML", "_x.xml", "c.Xml", "Z.dat", "a.xmlx", "sub"}) {
        if (std::string(n) == "sub") {
            dir.MakeDirs(n);
        } else {
            dir.WriteFile(n, std::string(std::strlen(n), 'x'));
        }
    }
    dir.WriteFile("\xC3\xA4.xml");  // "ä" sorts after every ASCII letter
    const std::u16string r = dir.Win();
    const struct {
        std::u16string mask;
        std::vector<std::u16string> names;
    } cases[] = {
        {u"*.xml", {u"A.XML", u"a.xmlx", u"b.xml", u"c.Xml", u"_x.xml", u"\u00E4.xml"}},
        {u"*.DAT", {u"Z.dat"}},
        {u"*.*",
         {u"A.XML", u"a.xmlx", u"b.xml", u"c.Xml", u"sub", u"Z.dat", u"_x.xml", u"\u00E4.xml"}},
        {u"*.none", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(ToUtf8(c.mask));
        EXPECT_EQ(Names(ListFolder(r + u"\\", c.mask)), c.names);
    }
    const auto all = ListFolder(UpperCase(r), u"*");
    ASSERT_EQ(all.size(), 8u);
    for (const auto& e : all) {
        EXPECT_EQ(e.isDirectory, e.name == u"sub") << ToUtf8(e.name);
        EXPECT_FALSE(e.isSymlink);
        if (!e.isDirectory && e.name != u"\u00E4.xml") {
            EXPECT_EQ(e.size, e.name.size());
        }
    }
    EXPECT_TRUE(ListFolder(r + u"\\absent", u"*").empty());
    EXPECT_TRUE(ListFolder(u"C:\\Windows", u"*").empty());
}

TEST(FolderListing, LinksReportWhatTheyLeadTo) {
    TempDir dir;
    dir.MakeDirs("tree/inner");
    dir.WriteFile("tree/file.xml", "12345");
    fs::create_directory_symlink(dir.HostOf("tree"), dir.HostOf("tree/inner/loop"));
    fs::create_symlink(dir.HostOf("tree/file.xml"), dir.HostOf("tree/inner/filelink.xml"));
    fs::create_symlink(dir.HostOf("tree/gone"), dir.HostOf("tree/inner/broken.xml"));
    ASSERT_EQ(mkfifo(dir.HostOf("tree/inner/pipe.xml").c_str(), 0600), 0);

    uint64_t treeDev = 0, treeIno = 0;
    ASSERT_TRUE(FolderIdentity(dir.Win() + u"\\TREE", treeDev, treeIno));
    const auto entries = ListFolder(dir.Win() + u"\\tree\\inner", u"*.*");
    ASSERT_EQ(Names(entries),
              (std::vector<std::u16string>{u"broken.xml", u"filelink.xml", u"loop"}));
    const auto& broken = entries[0];
    EXPECT_TRUE(broken.isSymlink);
    EXPECT_FALSE(broken.isDirectory);
    EXPECT_EQ(broken.size, 0u);
    const auto& fileLink = entries[1];
    EXPECT_TRUE(fileLink.isSymlink);
    EXPECT_FALSE(fileLink.isDirectory);
    EXPECT_EQ(fileLink.size, 5u);
    const auto& loop = entries[2];
    EXPECT_TRUE(loop.isSymlink);
    EXPECT_TRUE(loop.isDirectory);
    EXPECT_EQ(loop.device, treeDev);
    EXPECT_EQ(loop.inode, treeIno);
    uint64_t d = 0, i = 0;
    EXPECT_FALSE(FolderIdentity(dir.Win() + u"\\tree\\file.xml", d, i));
}

TEST(FolderListing, NamesThatAreNotUtf8CanBeOpenedAgain) {
    TempDir dir;
    dir.WriteFile("bad\xFF.xml", "abc");
    const auto entries = ListFolder(dir.Win(), u"*.xml");
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].name, u"bad\uFFFD.xml");
    const std::u16string path = dir.Win() + u"\\" + entries[0].name;
    EXPECT_EQ(ToHostPath(path), dir.HostOf("bad\xFF.xml"));
}

TEST(FolderListing, UnreadableFolderYieldsNothing) {
    if (geteuid() == 0) GTEST_SKIP() << "permissions do not bind the super-user";
    TempDir dir;
    dir.MakeDirs("closed");
    dir.WriteFile("closed/a.xml");
    ASSERT_EQ(chmod(dir.HostOf("closed").c_str(), 0), 0);
    EXPECT_TRUE(ListFolder(dir.Win() + u"\\closed", u"*").empty());
    chmod(dir.HostOf("closed").c_str(), 0700);
}

}  // namespace
}  // namespace vx::platform
