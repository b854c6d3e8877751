#include "platform/profile_reader.h"

#include <gtest/gtest.h>

#include "platform/text.h"
#include "temp_dir.h"

namespace vx::platform {
namespace {

using testing::TempDir;

const char kDatabase[] =
    "[SCANMASKE]\r\n"
    "TEXTDATEIENPFAD=C:\\DATEN\\GR\xC3\x96\xC3\x9F"
    "E\\*.XML\r\n"
    "\r\n"
    "\r\n"
    "[PFADLISTE]\r\n"
    "\r\n"
    "P1=C:\\DATEN\r\n"
    "P2=\r\n"
    "1 P2 \\BERICHT.XML SIZE:20480 DATE:1234\r\n"
    " \r\n"
    "[DATENBANK]\r\n"
    " \r\n"
    "HAUS=1,\r\n"
    "[Extra]\r\n"
    "  Spaced Key  =   value with spaces   \r\n"
    "empty=\r\n"
    "eq=a=b\r\n"
    "noequals\r\n"
    "[extra]\r\n"
    "later=unused\r\n";

TEST(ProfileReader, ReadsKeysOfDatabaseFile) {
    TempDir dir;
    dir.WriteFile("Projekte.dat", kDatabase);
    const std::u16string file = dir.Win() + u"\\PROJEKTE.DAT";
    const struct {
        std::u16string section;
        std::u16string key;
        std::u16string value;
    } cases[] = {
        {u"Scanmaske", u"TextDateienPfad", u"C:\\DATEN\\GR\u00D6\u00DFE\\*.XML"},
        {u"SCANMASKE", u"TEXTDATEIENPFAD", u"C:\\DATEN\\GR\u00D6\u00DFE\\*.XML"},
        {u"Pfadliste", u"P1", u"C:\\DATEN"},
        {u"Pfadliste", u"P2", u""},
        {u"Scanmaske", u"P1", u""},  // the key belongs to another section
        {u"EXTRA", u"spaced key", u"value with spaces"},
        {u"extra", u"EQ", u"a=b"},
        {u"extra", u"empty", u""},
        {u"extra", u"noequals", u""},
        {u"extra", u"later", u""},  // only the first section of that name counts
        {u"absent", u"P1", u""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(ToUtf8(c.section) + "/" + ToUtf8(c.key));
        EXPECT_EQ(ReadProfileString(file, c.section, c.key), c.value);
    }
    EXPECT_EQ(ReadProfileString(dir.Win() + u"\\absent.dat", u"Scanmaske", u"TextDateienPfad"),
              u"");
}

TEST(ProfileReader, LongValuesAreCut) {
    TempDir dir;
    const std::string longValue(300, 'x');
    // A character outside the BMP straddling the limit is not cut in half.
    const std::string straddle = std::string(253, 'y') + "\xF0\x9F\x98\x80" + "zz";
    dir.WriteFile("a.ini",
                  "\xEF\xBB\xBF[s]\nlong=" + longValue + "\nstraddle=" + straddle + "\nlf=x\n");
    const std::u16string file = dir.Win() + u"\\a.ini";
    EXPECT_EQ(ReadProfileString(file, u"s", u"long"), std::u16string(254, u'x'));
    EXPECT_EQ(ReadProfileString(file, u"s", u"straddle"), std::u16string(253, u'y'));
    EXPECT_EQ(ReadProfileString(file, u"s", u"lf"), u"x");
}

}  // namespace
}  // namespace vx::platform
