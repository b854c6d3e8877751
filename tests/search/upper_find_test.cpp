#include <gtest/gtest.h>

#include "search/detail/upper_find.h"

namespace vx::search {
namespace {

// The ASCII shortcut of FindUpper relies on exactly these code units mapping into ASCII.
TEST(UpperFindTest, OnlyDotlessIAndLongSMapIntoAscii) {
    for (unsigned c = 0x80; c <= 0xFFFF; ++c) {
        const char16_t unit = static_cast<char16_t>(c);
        EXPECT_EQ(platform::UpperChar(unit) < 0x80, UpperIsAscii(unit)) << std::hex << c;
    }
}

TEST(UpperFindTest, FindsWithoutRegardToCase) {
    struct Case {
        std::u16string text;
        std::u16string needle;
        std::size_t from;
        std::size_t found;
    };
    const std::size_t none = std::u16string_view::npos;
    for (const Case& c : {
             Case{u"xhaus", u"HAUS", 0, 1},
             Case{u"HAUS haus", u"HAUS", 1, 5},
             Case{u"ſtraße", u"STRAßE", 0, 0},
             Case{u"ıch", u"ICH", 0, 0},
             Case{u"äpfel", u"ÄPFEL", 0, 0},
             Case{u"xyz", u"ÄPFEL", 0, none},
             Case{u"ha", u"HAUS", 0, none},
             Case{u"12=3,", u"=3,", 0, 2},
             Case{u"abc", u"", 2, 2},
             Case{u"xland=1,land=2,", u"LAND=", 0, 1},
             Case{u"xland=1,land=2,", u"LAND=", 2, 8},
             Case{u"=1,", u"LAND=", 0, none},
             Case{u"ab,ab,", u"B,", 3, 4},
             Case{u"ab,", u"AB,", 1, none},
             Case{u"12#ab #Ab", u"#AB", 3, 6},
             Case{u"Ärger ärger", u"ÄRGER", 1, 6},
         }) {
        EXPECT_EQ(FindUpper(c.text, c.needle, c.from), c.found);
    }
    EXPECT_TRUE(UpperMatchesAt(u"haus=1,", 0, u"HAUS="));
    EXPECT_FALSE(UpperMatchesAt(u"hau", 0, u"HAUS"));
}

}  // namespace
}  // namespace vx::search
