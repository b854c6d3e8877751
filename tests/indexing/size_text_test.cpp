#include "indexing/size_text.h"

#include <gtest/gtest.h>

#include "platform/text.h"

namespace vx::indexing {
namespace {

using platform::ToUtf8;

TEST(SizeText, UnitBoundaries) {
    const struct {
        int64_t bytes;
        const char* text;
    } cases[] = {
        {0, "0 Bytes"},
        {1024, "1024 Bytes"},
        {1025, "1 KB"},
        {1048576, "1024 KB"},
        {1048577, "1 MB"},
        {1073741824, "1024 MB"},
        {1073741825, "1 GB"},
        // Beyond 32 bits the totals stay correct.
        {2147483648LL + 1, "2 GB"},
        {5LL * 1073741824 + 7, "5 GB"},
        {40000LL * 1073741824, "40000 GB"},
    };
    for (const auto& c : cases) EXPECT_EQ(ToUtf8(SizeText(c.bytes)), c.text) << c.bytes;
}

TEST(ElapsedText, HoursMinutesSecondsWithoutLeadingZeros) {
    const struct {
        int64_t seconds;
        const char* text;
    } cases[] = {{0, "0:0:0"},    {59, "0:0:59"},  {60, "0:1:0"},
                 {3600, "1:0:0"}, {3725, "1:2:5"}, {90061, "25:1:1"}};
    for (const auto& c : cases) EXPECT_EQ(ToUtf8(ElapsedText(c.seconds)), c.text) << c.seconds;
}

TEST(ElapsedText, CountsWholeSecondsOfTheTicks) {
    // 1999 ms and 2001 ms lie in different seconds of the tick count.
    EXPECT_EQ(ToUtf8(ElapsedSince(1999, 2001)), "0:0:1");
    EXPECT_EQ(ToUtf8(ElapsedSince(1000, 1999)), "0:0:0");
}

TEST(ShortenPath, StepsOfTheExample) {
    // Each step keeps the first half of the components and drops the next two.
    const struct {
        const char16_t* path;
        int budget;
        const char* text;
    } cases[] = {
        {u"C:\\a\\b\\c\\d\\e\\f", 100, "C:\\a\\b\\c\\d\\e\\f"},
        {u"C:\\a\\b\\c\\d\\e\\f", 14, "C:\\a\\b\\c\\d\\e\\f"},
        {u"C:\\a\\bb\\cc\\dd\\e\\f", 15, "C:\\a\\bb\\...\\e\\f"},
        {u"C:\\a\\b\\c\\d\\e\\f", 13, "C:\\a\\...\\e\\f"},
        {u"C:\\a\\b\\c\\d\\e\\f", 11, "C:\\a\\...\\f"},
        {u"C:\\a\\b\\c\\d\\e\\f", 9, "C:\\...\\f"},
        {u"C:\\a\\b\\c\\d\\e\\f", 1, "C:\\...\\f"},  // stops at two backslashes
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ToUtf8(ShortenPath(c.path, c.budget)), c.text) << c.budget;
    }
}

TEST(ShortenPath, FewSeparatorsStayWhole) {
    EXPECT_EQ(ToUtf8(ShortenPath(u"C:\\verylongfoldername\\x", 3)), "C:\\verylongfoldername\\x");
}

TEST(TotalsText, JoinsSizeAndTime) {
    EXPECT_EQ(ToUtf8(TotalsText(2048, u"0:1:2")), "XML-Dateien-Gesamtgröße: 2 KB     Zeit: 0:1:2");
}

}  // namespace
}  // namespace vx::indexing
