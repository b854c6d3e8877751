#include "platform/working_folders.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/paths.h"

namespace vx::platform {
namespace {

TEST(WorkingFolders, DerivedFromTheWorkingFolder) {
    for (const std::u16string working : {u"Z:\\work", u"Z:\\work\\"}) {
        const auto f = WorkingFolders::From(working, u"Z:\\data\\ZipTemp");
        EXPECT_EQ(f.working, u"Z:\\work\\");
        EXPECT_EQ(f.database, u"Z:\\work\\Datenbank");
        EXPECT_EQ(f.chunk, u"Z:\\work\\Datenbank\\Temp");
        EXPECT_EQ(f.textCopy, u"Z:\\work\\XML_Texte\\");
        EXPECT_EQ(f.zipTemp, u"Z:\\data\\ZipTemp\\");
    }
    EXPECT_EQ(WorkingFolders::From(u"Z:\\", u"Z:\\z\\").database, u"Z:\\Datenbank");
}

TEST(WorkingFolders, FromEnvironment) {
    const char* oldXdg = std::getenv("XDG_DATA_HOME");
    const std::string saved = oldXdg ? oldXdg : "";
    const struct {
        const char* xdg;  // nullptr: unset
        std::u16string zip;
    } cases[] = {
        {"/srv/data", u"Z:\\srv\\data\\ZipTemp\\"},
        {"/srv/data/", u"Z:\\srv\\data\\ZipTemp\\"},
        {nullptr, ToWindowsPath(std::string(std::getenv("HOME") ? std::getenv("HOME") : "")) +
                      u"\\.local\\share\\ZipTemp\\"},
    };
    for (const auto& c : cases) {
        if (c.xdg) {
            setenv("XDG_DATA_HOME", c.xdg, 1);
        } else {
            unsetenv("XDG_DATA_HOME");
        }
        const auto f = WorkingFolders::FromEnvironment();
        if (c.xdg || std::getenv("HOME")) {
            EXPECT_EQ(f.zipTemp, c.zip);
        }
        EXPECT_EQ(f.working, CurrentDirectory() == u"Z:\\" ? u"Z:\\" : CurrentDirectory() + u"\\");
    }
    if (oldXdg) {
        setenv("XDG_DATA_HOME", saved.c_str(), 1);
    } else {
        unsetenv("XDG_DATA_HOME");
    }
}

}  // namespace
}  // namespace vx::platform
