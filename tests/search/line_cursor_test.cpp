#include <gtest/gtest.h>

#include "platform/read_only_file.h"
#include "search/detail/line_cursor.h"
#include "test_support.h"

namespace vx::search {
namespace {

// Lines read from offsets as SplitLines gives them; a line beyond the bound is read past without
// being held, whether its break falls inside a read or on the edge of one.
TEST(LineCursor, ReadsLinesAndPassesOverOnesTooLong) {
    testing::ScratchFolder folder;
    const std::size_t kBound = 100000;
    for (const std::size_t length :
         std::vector<std::size_t>{kBound - 1, 65535, 65536, 131071, 131072, 196606, 196607}) {
        for (const std::string brk : {"\r\n", "\n", "\r"}) {
            const std::string text =
                "kurz\r" + std::string(length, 'x') + brk + "danach\r\n\r\nende";
            testing::WriteBytes(folder.Path() / "l.txt", text);
            const auto file = platform::ReadOnlyFile::Open(folder.Windows() + u"l.txt");
            ASSERT_TRUE(file);
            FileWindow window(*file);
            LineCursor cursor(window, 0);
            // Each line as its first and last character and its length ("cut" for one cut).
            std::vector<std::string> lines;
            std::string_view line;
            while (cursor.NextBytes(line, kBound)) {
                lines.push_back(cursor.Cut()   ? "cut"
                                : line.empty() ? ""
                                               : std::string(1, line.front()) +
                                                     std::to_string(line.size()) + line.back());
            }
            const std::string middle = length > kBound ? "cut" : "x" + std::to_string(length) + "x";
            EXPECT_EQ(lines, (std::vector<std::string>{"k4z", middle, "d6h", "", "e4e"}))
                << length << " " << brk.size();
        }
    }
}

}  // namespace
}  // namespace vx::search
