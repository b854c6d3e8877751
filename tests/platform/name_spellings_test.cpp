#include "platform/detail/name_spellings.h"

#include <gtest/gtest.h>

#include "platform/detail/name_cache.h"
#include "platform/text.h"
#include "temp_dir.h"

namespace vx::platform::detail {
namespace {

using testing::TempDir;

// Trying the spellings one by one must find the name a reading of the folder finds: the smallest
// in bytes of those that upper-case to the name, those of the dotless i and long s included.
TEST(NameSpellings, FindWhatTheReadingOfTheFolderFinds) {
    TempDir dir;
    dir.MakeDirs("f");
    for (const std::string name : {"de.xml", "data.xml", "DATA.XmL", "Data.xml", "main",
                                   "ma\xC4\xB1n", "six", "S\xC4\xB1x", "\xC5\xBFub", "sub"}) {
        dir.WriteFile("f/" + name);
    }
    const std::string folder = dir.HostOf("f");
    const struct {
        std::u16string upper;
        std::optional<std::string> name;
    } cases[] = {
        {u"DE.XML", "de.xml"},    {u"DATA.XML", "DATA.XmL"}, {u"MAIN", "main"},
        {u"SIX", "S\xC4\xB1x"},   {u"SUB", "sub"},           {u"D", std::nullopt},
        {u"DE.XM", std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(ToUtf8(c.upper));
        const SpelledName spelled = FindBySpellings(folder, c.upper, 1000);
        EXPECT_TRUE(spelled.tried);
        EXPECT_EQ(spelled.name, c.name);
        EXPECT_EQ(FindNameIgnoringCase(folder, c.upper), c.name);
    }
    // Too many spellings, or a name that is not ASCII: the folder must be read.
    EXPECT_FALSE(FindBySpellings(folder, u"DATA.XML", 64).tried);
    EXPECT_FALSE(FindBySpellings(folder, u"\u00C4.XML", 1000).tried);
}

}  // namespace
}  // namespace vx::platform::detail
