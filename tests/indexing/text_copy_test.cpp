#include "indexing/detail/text_copy.h"

#include <gtest/gtest.h>

#include "indexing_fixture.h"
#include "platform/text.h"

namespace vx::indexing {
namespace {

using platform::ToUtf8;
using namespace testing;

TEST(CopyName, FirstOccurrenceOfTheExtensionIsRemoved) {
    const struct {
        const char16_t* name;
        const char* copy;
    } cases[] = {
        {u"Bericht.xml", "Bericht.txt"},     {u"a.xml.xml", "a.xml.txt"},
        {u"a.XML.xml", "a.XML.txt"},         {u"x.Xml", "x.txt"},
        {u"noextension", "noextension.txt"}, {u"v1.2.xml", "v1.2.txt"},
    };
    for (const auto& c : cases) EXPECT_EQ(ToUtf8(CopyName(c.name)), c.copy) << c.copy;
}

TEST(LocateTextCopy, BuildsTheCopyPathBelowTheDatabaseFolder) {
    const struct {
        const char16_t* path;
        const char* copyFolder;
        const char* copyFile;
    } cases[] = {
        {u"D:\\Daten\\XML\\Bericht.xml", "T:\\XML_Texte\\Projekte\\D\\Daten\\XML\\",
         "T:\\XML_Texte\\Projekte\\D\\Daten\\XML\\\\Bericht.txt"},
        {u"C:\\a.xml.xml", "T:\\XML_Texte\\Projekte\\C\\",
         "T:\\XML_Texte\\Projekte\\C\\\\a.xml.txt"},
        {u"Z:\\home\\ü\\Ωmega.xml", "T:\\XML_Texte\\Projekte\\Z\\home\\ü\\",
         "T:\\XML_Texte\\Projekte\\Z\\home\\ü\\\\Ωmega.txt"},
    };
    for (const auto& c : cases) {
        const auto location = LocateTextCopy(u"T:\\XML_Texte\\", u"Projekte", c.path);
        EXPECT_EQ(ToUtf8(location.copyFolder), c.copyFolder);
        EXPECT_EQ(ToUtf8(location.copyFile), c.copyFile);
    }
}

TEST(TextCopySink, EveryLineBreakOfAnEntryStartsALine) {
    TempDir dir;
    const auto file = dir.Path() / "copy.txt";
    TextCopySink sink(Win(file), true);
    sink.Entry(u"eins\r\nzwei\ndrei\rvier");
    sink.Entry(u"");
    sink.Entry(u"Ärger Ωmega");
    sink.Finish(XmlLoadResult::Loaded);
    EXPECT_TRUE(sink.Written());
    ASSERT_TRUE(sink.LinesValid());
    EXPECT_EQ(ReadBytes(file), "eins\r\nzwei\r\ndrei\r\nvier\r\n\r\nÄrger Ωmega\r\n");
    std::vector<std::string> lines;
    for (const auto& line : sink.Lines()) lines.push_back(ToUtf8(line));
    EXPECT_EQ(lines, (std::vector<std::string>{"eins", "zwei", "drei", "vier", "", "Ärger Ωmega"}));
}

TEST(TextCopySink, ADocumentThatCannotBeLoadedLeavesAnEmptyCopy) {
    TempDir dir;
    const auto file = dir.Path() / "copy.txt";
    WriteBytes(file, "old text\r\n");
    TextCopySink sink(Win(file), true);
    sink.Entry(u"partial");
    sink.Finish(XmlLoadResult::NotLoaded);
    EXPECT_TRUE(fs::exists(file));
    EXPECT_EQ(ReadBytes(file), "");
    EXPECT_TRUE(sink.Lines().empty());
}

TEST(TextCopySink, ADocumentInUseWritesOnlyWhenItHasText) {
    TempDir dir;
    const auto file = dir.Path() / "copy.txt";
    {
        TextCopySink sink(Win(file), false);
        sink.Finish(XmlLoadResult::Loaded);
        EXPECT_FALSE(sink.Written());
        EXPECT_FALSE(fs::exists(file));
    }
    {
        TextCopySink sink(Win(file), false);
        sink.Entry(u"text");
        sink.Finish(XmlLoadResult::NotLoaded);
        EXPECT_FALSE(sink.Written());
        EXPECT_FALSE(fs::exists(file));
    }
}

TEST(TextCopySink, UnpairedSurrogatesAreReadBackFromTheFile) {
    TempDir dir;
    TextCopySink sink(Win(dir.Path() / "copy.txt"), true);
    sink.Entry(std::u16string(u"a") + char16_t(0xD800) + u"b");
    sink.Finish(XmlLoadResult::Loaded);
    EXPECT_TRUE(sink.Written());
    EXPECT_FALSE(sink.LinesValid());
}

TEST(CreateCopyFolder, CreatesMissingParents) {
    TempDir dir;
    bool failed = true;
    const auto folder = CreateCopyFolder(Win(dir.Path()) + u"\\", u"Projekte",
                                         u"Z:\\deep\\er\\Bericht.xml", failed);
    EXPECT_FALSE(failed);
    EXPECT_TRUE(fs::is_directory(dir.Path() / "Projekte" / "Z" / "deep" / "er"));
    EXPECT_EQ(folder, Win(dir.Path()) + u"\\Projekte\\Z\\deep\\er\\");
}

TEST(CreateCopyFolder, ReportsAFolderThatCannotBeCreated) {
    TempDir dir;
    WriteBytes(dir.Path() / "Projekte", "a file where the folder should be");
    bool failed = false;
    const auto folder =
        CreateCopyFolder(Win(dir.Path()) + u"\\", u"Projekte", u"Z:\\prog.exe\\sub\\a.xml", failed);
    EXPECT_TRUE(failed);
    // The folder part is cut at ".exe".
    EXPECT_EQ(folder, Win(dir.Path()) + u"\\Projekte\\Z\\prog");
}

}  // namespace
}  // namespace vx::indexing
