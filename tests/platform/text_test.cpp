#include "platform/text.h"

#include <gtest/gtest.h>
#include <unicode/uchar.h>

#include <limits>

namespace vx::platform {
namespace {

TEST(Text, UpperCaseMapsOneUnitToOne) {
    const struct {
        std::u16string in;
        std::u16string out;
    } cases[] = {
        {u"stra\u00DFe", u"STRA\u00DFE"},  // sharp s has no one-unit form
        {u"\u03C9mega", u"\u03A9MEGA"},    // Greek
        {u"\u00FF", u"\u0178"},            // y diaeresis leaves Latin-1
        {u"m\u00FCller", u"M\u00DCLLER"},
        {u"\U00010428", u"\U00010428"},  // Deseret: surrogates stay as they are
        {{char16_t(0xD801), u'x', char16_t(0xDC28)}, {char16_t(0xD801), u'X', char16_t(0xDC28)}},
        {u"\uFB00", u"\uFB00"},  // ligature ff has only a full mapping
        {u"123 ,.-", u"123 ,.-"},
        {u"", u""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(UpperCase(c.in), c.out);
        for (std::size_t i = 0; i < c.in.size(); ++i) EXPECT_EQ(UpperChar(c.in[i]), c.out[i]);
    }
}

TEST(Text, TrimRemovesWhiteSpaceAndControlsAtBothEnds) {
    const struct {
        std::u16string in;
        std::u16string out;
    } cases[] = {
        {u"  abc  ", u"abc"},
        {u"\t\r\nabc\r\n", u"abc"},
        {u"\u00A0\u2003abc\u3000\u2028", u"abc"},
        {std::u16string(u"\0\x01 a b \x1F\x7F\u0085", 11), u"a b"},
        {u"\uFEFFabc", u"\uFEFFabc"},  // the byte-order mark is a format character
        {u"a\u00ADb", u"a\u00ADb"},
        {u" \t ", u""},
        {u"", u""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Trim(c.in), c.out);
        EXPECT_EQ(TrimView(c.in), c.out);
    }
    for (char16_t c : {u'x', u'\u00DF', u'\uFEFF', char16_t(0xD800)}) EXPECT_FALSE(IsTrimChar(c));
}

// The tables are built from ICU's property sets: every code unit must answer as ICU does.
TEST(Text, TablesAnswerAsIcuForEveryCodeUnit) {
    for (UChar32 c = 0; c < 0x10000; ++c) {
        const auto unit = static_cast<char16_t>(c);
        const bool surrogate = c >= 0xD800 && c <= 0xDFFF;
        const UChar32 upper = surrogate ? c : u_toupper(c);
        ASSERT_EQ(UpperChar(unit), upper <= 0xFFFF ? upper : c) << c;
        ASSERT_EQ(IsTrimChar(unit), u_isUWhiteSpace(c) || u_charType(c) == U_CONTROL_CHAR) << c;
        ASSERT_EQ(IsFormatChar(unit), u_charType(c) == U_FORMAT_CHAR) << c;
    }
}

TEST(Text, Utf8RoundTrip) {
    const struct {
        std::u16string wide;
        std::string utf8;
    } cases[] = {
        {u"Gr\u00F6\u00DFe", "\x47\x72\xC3\xB6\xC3\x9F\x65"},
        {u"\u20AC", "\xE2\x82\xAC"},
        {u"\U0001F600", "\xF0\x9F\x98\x80"},
        {{char16_t(0xD800)}, "\xED\xA0\x80"},  // a lone surrogate keeps its 3-byte form
        {{u'a', char16_t(0xDC00), u'b'},
         "a\xED\xB0\x80"
         "b"},
        {std::u16string(u"\0", 1), std::string("\0", 1)},
        {u"\uFFFF", "\xEF\xBF\xBF"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ToUtf8(c.wide), c.utf8);
        EXPECT_EQ(FromUtf8(c.utf8), c.wide);
    }
}

TEST(Text, IntegerTexts) {
    const struct {
        int64_t n;
        std::u16string plain;
        std::u16string grouped;
    } cases[] = {
        {0, u"0", u"0"},
        {999, u"999", u"999"},
        {1000, u"1000", u"1.000"},
        {-1234, u"-1234", u"-1.234"},
        {1234567, u"1234567", u"1.234.567"},
        {-100000, u"-100000", u"-100.000"},
        {std::numeric_limits<int64_t>::min(), u"-9223372036854775808",
         u"-9.223.372.036.854.775.808"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IntText(c.n), c.plain);
        EXPECT_EQ(GroupedIntText(c.n), c.grouped);
        int64_t back = 1;
        EXPECT_TRUE(ParseInt(c.plain, back));
        EXPECT_EQ(back, c.n);
    }
}

TEST(Text, ParseIntAcceptsOnlyWholeNumbers) {
    const struct {
        std::u16string in;
        bool ok;
        int64_t value;
    } cases[] = {
        {u" 42 ", true, 42},
        {u"+7", true, 7},
        {u"-0", true, 0},
        {u"9223372036854775807", true, std::numeric_limits<int64_t>::max()},
        {u"9223372036854775808", false, 0},
        {u"-9223372036854775809", false, 0},
        {u"", false, 0},
        {u"-", false, 0},
        {u"1 2", false, 0},
        {u"12a", false, 0},
        {u"1.000", false, 0},
        {u"\u0661", false, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(ToUtf8(c.in));
        int64_t v = -99;
        EXPECT_EQ(ParseInt(c.in, v), c.ok);
        if (c.ok) {
            EXPECT_EQ(v, c.value);
        }
    }
}

TEST(Text, AsciiWidensBytes) {
    EXPECT_EQ(Ascii("P12=\\"), u"P12=\\");
}

}  // namespace
}  // namespace vx::platform
