#include "index/stored_names.h"

#include <gtest/gtest.h>

#include "platform/text.h"

namespace vx::index {
namespace {

TEST(StoredNames, EscapedNamesSurviveUpperCasingAndComeBack) {
    struct Case {
        std::u16string name;
        bool isFile;
        std::u16string escaped;
    };
    const Case cases[] = {
        {u"bericht.xml", true, u"|%0062%0065%0072%0069%0063%0068%0074.%0078%006D%006C.XML"},
        {u"A.XML", true, u"|A.XML.XML"},
        {u"daten", false, u"|%0064%0061%0074%0065%006E"},
        {u"|50%", false, u"|%007C50%0025"},
        {u"Öl ß", false, u"|Ö%006C ß"},  // ß has no upper-case form of one unit: kept
    };
    for (const Case& c : cases) {
        const std::u16string escaped = EscapeName(c.name, c.isFile);
        EXPECT_EQ(escaped, c.escaped);
        EXPECT_EQ(platform::UpperCase(escaped), escaped);
        EXPECT_EQ(UnescapeName(escaped), c.name);
        EXPECT_EQ(UnescapePath(u"Z:\\A\\" + escaped + u"\\b"), u"Z:\\A\\" + c.name + u"\\b");
    }
    EXPECT_EQ(UnescapePath(u"Z:\\DATEN\\BERICHT.XML"), u"Z:\\DATEN\\BERICHT.XML");
}

TEST(StoredNames, NamesThatCannotStandInADatabaseLine) {
    for (const std::u16string name : {u"a\nb.xml", u"a\rb.xml", u"a\\b.xml", u"x size:1.xml"}) {
        EXPECT_FALSE(HoldableName(name)) << platform::ToUtf8(name);
    }
    EXPECT_TRUE(HoldableName(u"Größe: 5 = gut.xml"));
}

}  // namespace
}  // namespace vx::index
