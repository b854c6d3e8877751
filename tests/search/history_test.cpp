#include <gtest/gtest.h>

#include "search/history.h"
#include "search/query.h"
#include "test_support.h"

namespace vx::search {
namespace {

using testing::ScratchFolder;

std::vector<std::u16string> Numbered(int count) {
    std::vector<std::u16string> items;
    for (int i = 1; i <= count; ++i) items.push_back(u"text " + platform::IntText(i));
    return items;
}

TEST(SearchHistoryTest, AddRules) {
    struct Case {
        std::vector<std::u16string> before;
        std::u16string added;
        std::vector<std::u16string> after;
    };
    std::vector<std::u16string> fifty = Numbered(50);
    std::vector<std::u16string> fiftyAfter = Numbered(49);
    fiftyAfter.insert(fiftyAfter.begin(), u"neu");
    for (const Case& c : {
             Case{{}, u"haus", {u"haus"}},
             Case{{u"baum", u"haus", u"dach"}, u"haus", {u"haus", u"baum", u"dach"}},
             Case{{u"haus ", u"haus"}, u"haus", {u"haus", u"haus "}},
             Case{{u"a", u"", u"b"}, u"c", {u"c", u"a", u"b"}},
             Case{{u"a", kPlaceholderText}, kPlaceholderText, {u"a"}},
             Case{fifty, u"neu", fiftyAfter},
             Case{Numbered(60), u"text 1", Numbered(50)},
         }) {
        SearchHistory history;
        history.SetItems(c.before);
        history.Add(c.added);
        EXPECT_EQ(history.Items(), c.after);
    }
}

TEST(SearchHistoryTest, FileIsUtf16LittleEndianWithMarkAndLoadsBack) {
    ScratchFolder folder;
    const std::u16string file = folder.Windows() + kHistoryFileName;
    SearchHistory history;
    history.SetItems({u"Straße", u"ΩMEGA haus*"});
    history.Save(file);
    std::string bytes = testing::ReadBytes(folder.Path() / "Suchwoerterliste.txt");
    ASSERT_GE(bytes.size(), 4u);
    EXPECT_EQ(bytes.substr(0, 2), "\xFF\xFE");
    EXPECT_EQ(bytes.substr(2, 4), std::string("S\0t\0", 4));
    EXPECT_EQ(bytes.substr(bytes.size() - 4), std::string("\r\0\n\0", 4));

    SearchHistory loaded;
    loaded.Load(file);
    EXPECT_EQ(loaded.Items(), history.Items());
}

TEST(SearchHistoryTest, MissingFileLoadsEmpty) {
    ScratchFolder folder;
    SearchHistory history;
    history.SetItems({u"alt"});
    history.Load(folder.Windows() + u"fehlt.txt");
    EXPECT_TRUE(history.Items().empty());
}

}  // namespace
}  // namespace vx::search
