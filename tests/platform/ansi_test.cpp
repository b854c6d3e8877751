#include "platform/ansi.h"

#include <gtest/gtest.h>

#include <set>

namespace vx::platform {
namespace {

struct AnsiCase {
    unsigned char byte;
    char16_t wide;
};

// A sample of the table, including the euro sign and the five undefined bytes.
const AnsiCase kAnsiCases[] = {
    {0x41, u'A'},      {0x80, u'\u20AC'}, {0x81, u'\u0081'}, {0x8A, u'\u0160'}, {0x8D, u'\u008D'},
    {0x8F, u'\u008F'}, {0x90, u'\u0090'}, {0x92, u'\u2019'}, {0x9D, u'\u009D'}, {0x9F, u'\u0178'},
    {0xA0, u'\u00A0'}, {0xC4, u'\u00C4'}, {0xDF, u'\u00DF'}, {0xFF, u'\u00FF'}, {0x00, u'\0'},
};

TEST(Ansi, KnownBytesMapBothWays) {
    for (const auto& c : kAnsiCases) {
        SCOPED_TRACE(static_cast<int>(c.byte));
        EXPECT_EQ(AnsiToWideChar(c.byte), c.wide);
        EXPECT_TRUE(IsAnsiChar(c.wide));
        EXPECT_EQ(static_cast<unsigned char>(AnsiByte(c.wide)), c.byte);
    }
}

TEST(Ansi, EveryByteRoundTripsAndIsDistinct) {
    std::string all;
    for (int b = 0; b < 256; ++b) all.push_back(static_cast<char>(b));
    const std::u16string wide = AnsiToWide(all);
    ASSERT_EQ(wide.size(), 256u);
    EXPECT_EQ(std::set<char16_t>(wide.begin(), wide.end()).size(), 256u);
    EXPECT_EQ(WideToAnsi(wide), all);
}

TEST(Ansi, UnmappableBecomesQuestionMark) {
    const struct {
        std::u16string in;
        std::string out;
    } cases[] = {
        {u"\u03A9", "?"},           // omega
        {u"a\U0001F600b", "a??b"},  // each half of a surrogate pair
        {u"\u0080\u009F", "??"},    // C1 controls without a byte
        {u"\u20ACuro", "\x80uro"},  // euro sign has one
        {u"Stra\u00DFe",
         "Stra\xDF"
         "e"},  // Latin-1 letters stay
    };
    for (const auto& c : cases) {
        EXPECT_EQ(WideToAnsi(c.in), c.out);
    }
    EXPECT_FALSE(IsAnsiChar(u'\u03A9'));
    EXPECT_EQ(AnsiByte(char16_t(0xD83D)), '?');
}

}  // namespace
}  // namespace vx::platform
