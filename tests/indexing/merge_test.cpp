#include "indexing/detail/merge.h"

#include <gtest/gtest.h>

#include "indexing/detail/indexing_run.h"
#include "platform/text.h"

namespace vx::indexing {
namespace {

std::vector<std::string> Merge(const std::vector<std::u16string>& sorted) {
    std::vector<std::string> out;
    for (const auto& line : MergeSortedEntries(sorted)) out.push_back(platform::ToUtf8(line));
    return out;
}

TEST(MergeSortedEntries, JoinsEntriesOfOneWord) {
    const struct {
        const char* name;
        std::vector<std::u16string> sorted;
        std::vector<std::string> merged;
    } cases[] = {
        {"two chunks", {u"HAUS=1,2,", u"HAUS=7,"}, {"HAUS=1,2,7,", ""}},
        {"three chunks", {u"WORT=1,", u"WORT=5,", u"WORT=9,"}, {"WORT=1,5,", "9,", ""}},
        {"four chunks",
         {u"AAL=1,", u"AAL=5,", u"AAL=9,", u"AAL=12,"},
         {"AAL=1,5,", "9,", "12,", ""}},
        {"last two entries of one word",
         {u"ABC=1,", u"XYZ=2,", u"XYZ=4,"},
         {"ABC=1,", "XYZ=2,4,", ""}},
        {"different words stay apart", {u"HAUS=1,", u"HAUSE=2,"}, {"HAUS=1,", "HAUSE=2,"}},
        // Blank lines of the chunks sort first: an empty remembered word matches nothing.
        {"blank lines before the entries",
         {u" ", u" ", u"AAL=1,", u"BAUM=3,"},
         {"", "", "AAL=1,", "BAUM=3,"}},
        {"entries are trimmed", {u"  HAUS=1, ", u"HAUS= 2,"}, {"HAUS=1,2,", ""}},
    };
    for (const auto& c : cases) EXPECT_EQ(Merge(c.sorted), c.merged) << c.name;
}

TEST(PathLinesForHeader, RepeatedFoldersEndAfterTheEqualsSign) {
    const std::vector<std::u16string> pathList = {u"P1=C:\\Daten ", u"P2=C:\\Daten ",
                                                  u"P3=C:\\Daten ", u"P4=C:\\Daten\\Sub ",
                                                  u"P5=C:\\Daten "};
    std::vector<std::string> lines;
    for (const auto& line : PathLinesForHeader(pathList)) lines.push_back(platform::ToUtf8(line));
    EXPECT_EQ(lines, (std::vector<std::string>{"P1=C:\\Daten ", "P2=", "P3=", "P4=C:\\Daten\\Sub ",
                                               "P5=C:\\Daten "}));
}

}  // namespace
}  // namespace vx::indexing
