#include "index/database_lines.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/text.h"

namespace vx::index {
namespace {

TEST(DatabaseLinesTest, MarkerAndSizeLinesAreRecognisedWhole) {
    const struct {
        std::u16string line;
        bool marker;
        bool size;
    } cases[] = {
        {u"[DATENBANK]", true, false},
        {u" [DATENBANK]\t", true, false},
        {u"X [DATENBANK] Y", false, false},
        {u"1 P1 \\A[DATENBANK].XML SIZE:1 DATE:2", false, false},
        {u"GESAMTGRÖßE DER INDIZIERTEN DATEIEN IN BYTE: 12 MB", false, true},
        {u"Gesamtgröße der indizierten Dateien in Byte: 12 MB", false, true},
        {u"P3=C:\\B DER INDIZIERTEN DATEIEN", false, false},
        {u"", false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(platform::ToUtf8(c.line));
        EXPECT_EQ(IsIndexMarkerLine(c.line), c.marker);
        EXPECT_EQ(IsSizeLine(c.line), c.size);
    }
}

// Each built line as the file holds it (upper-cased), and read back by the readers' rules.
TEST(DatabaseLinesTest, BuiltLinesReadBack) {
    EXPECT_EQ(platform::UpperCase(BuildScanMaskLine(u"C:\\Daten\\", u"*.xml")),
              u"TEXTDATEIENPFAD=C:\\DATEN\\*.XML");
    EXPECT_TRUE(IsScanHeaderLine(platform::UpperCase(BuildScanMaskLine(u"C:\\D\\", u"*.xml"))));
    EXPECT_EQ(FolderOfScanMaskValue(u"C:\\DATEN\\ *.XML"), u"C:\\DATEN\\ ");
    EXPECT_TRUE(IsSizeLine(BuildSizeLine(u"12 MB")));
    EXPECT_TRUE(IsIndexMarkerLine(kIndexSectionLine));

    const std::u16string path = BuildPathLine(3, u"C:\\Daten");
    EXPECT_EQ(path, u"P3=C:\\Daten ");
    EXPECT_EQ(PathLineKey(path), u"P3");
    EXPECT_EQ(PathLineFolder(path), u"C:\\Daten ");
    EXPECT_EQ(SameFolderPathLine(path), u"P3=");
    EXPECT_FALSE(NamesFolder(SameFolderPathLine(path)));

    const struct {
        std::u16string name;
        const char16_t* folderLine;  // the path line the key leads to, or nullptr for none
        std::u16string stored;
    } cases[] = {
        {u"Bericht.xml", u"P3=C:\\DATEN", u"C:\\DATEN\\BERICHT.XML"},
        {u"a b.xml", u"P3=C:\\D E", u"C:\\D E\\A B.XML"},
        {u"x.xml", nullptr, u"P3\\X.XML"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(platform::ToUtf8(c.name));
        const std::u16string line =
            platform::UpperCase(BuildDocumentLine(17, 3, c.name, 20480, -5));
        EXPECT_TRUE(HoldsSizeMarker(line));
        ASSERT_EQ(DocumentKeyEnd(line), 2U);
        DocumentLineParts parts = SplitDocumentLine(u"17", &line);
        EXPECT_EQ(parts.key, u"P3");
        if (c.folderLine != nullptr) parts.key = c.folderLine;
        EXPECT_EQ(DocumentPath(parts.key, parts.rest), c.stored);
    }
}

TEST(DatabaseLinesTest, EntryWordAndNumbers) {
    EXPECT_EQ(EntryWord(u"HAUS=1,4,"), u"HAUS");
    EXPECT_EQ(EntryWord(u"9,11,"), u"9,11,");
    EXPECT_EQ(EntryNumberList(u"A=B=1,"), u"B=1,");
    EXPECT_EQ(EntryNumberList(u"9,11,"), u"9,11,");
}

}  // namespace
}  // namespace vx::index
