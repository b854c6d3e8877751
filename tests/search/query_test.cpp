#include <gtest/gtest.h>

#include "search/detail/word_split.h"
#include "search/query.h"
#include "test_support.h"

namespace vx::search {
namespace {

using testing::S;
using testing::U;

struct SplitCase {
    std::string text;
    std::string separators;
    int count;
    std::vector<std::string> words;
    std::vector<int> starts;
};

class WordSplitTest : public ::testing::TestWithParam<SplitCase> {};

TEST_P(WordSplitTest, CountsFindsAndExtractsEveryRun) {
    const SplitCase& c = GetParam();
    const std::u16string text = U(c.text), set = U(c.separators);
    EXPECT_EQ(CountWords(text, set), c.count);
    for (int k = 1; k <= c.count; ++k) {
        const auto i = static_cast<std::size_t>(k - 1);
        EXPECT_EQ(S(ExtractWordAt(k, text, set)), c.words[i]) << "word " << k;
        int position = -1;
        EXPECT_TRUE(WordStartPos(k, text, set, position));
        EXPECT_EQ(position, c.starts[i]) << "word " << k;
    }
    int position = -1;
    EXPECT_FALSE(WordStartPos(c.count + 1, text, set, position));
    EXPECT_EQ(position, 0);
    EXPECT_EQ(ExtractWordAt(c.count + 1, text, set), u"");
    EXPECT_EQ(ExtractWordAt(0, text, set), u"");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, WordSplitTest,
    ::testing::Values(SplitCase{"haus baum", " ", 2, {"haus", "baum"}, {1, 6}},
                      SplitCase{"  haus   baum  ", " ", 2, {"haus", "baum"}, {3, 10}},
                      SplitCase{"haus,baum", " ", 1, {"haus,baum"}, {1}},
                      SplitCase{"haus\tbaum", " ", 1, {"haus\tbaum"}, {1}},
                      SplitCase{"3,17,,250,", ",", 3, {"3", "17", "250"}, {1, 3, 7}},
                      SplitCase{"", " ", 0, {}, {}}, SplitCase{"   ", " ", 0, {}, {}},
                      SplitCase{"a-b c", " -", 3, {"a", "b", "c"}, {1, 3, 5}}));

TEST(SeparatorTest, OnlyCharactersOfTheSetSeparate) {
    EXPECT_TRUE(IsSeparatorChar(u" ,", u','));
    EXPECT_TRUE(IsSeparatorChar(u" ,", u' '));
    EXPECT_FALSE(IsSeparatorChar(u" ,", u'\t'));
    EXPECT_FALSE(IsSeparatorChar(u"", u' '));
}

struct TypedWord {
    std::string typed;
    std::string stored;
    bool leading;
    bool trailing;
    std::string display;
};

class TypedWordTest : public ::testing::TestWithParam<TypedWord> {};

TEST_P(TypedWordTest, PreparesStoredTextAndFlags) {
    const TypedWord& c = GetParam();
    PreparedQuery q = PrepareWords(U(c.typed));
    ASSERT_EQ(q.count, 1);
    EXPECT_EQ(S(q.words[0].text), c.stored);
    EXPECT_EQ(q.words[0].leading, c.leading);
    EXPECT_EQ(q.words[0].trailing, c.trailing);
    EXPECT_EQ(S(q.displayText), c.display);
    for (std::size_t k = 1; k < kMaxWords; ++k) {
        EXPECT_TRUE(q.words[k].text.empty());
        EXPECT_FALSE(q.words[k].leading || q.words[k].trailing);
    }
}

INSTANTIATE_TEST_SUITE_P(Table, TypedWordTest,
                         ::testing::Values(TypedWord{"haus", "HAUS=", false, false, "haus"},
                                           TypedWord{"Haus*", "HAUS", false, true, "Haus*"},
                                           TypedWord{"*haus", "HAUS=", true, false, "*haus"},
                                           TypedWord{"*haus*", "HAUS", true, true, "*haus*"},
                                           TypedWord{"haus**", "HAUS", false, true, "haus**"},
                                           TypedWord{"haus?", "HAUS", false, true, "haus?"},
                                           TypedWord{"?haus", "HAUS=", true, false, "?haus"},
                                           TypedWord{"ha?us", "HA?US=", false, false, "ha?us"},
                                           TypedWord{"* haus", "HAUS=", true, false, "*haus"},
                                           TypedWord{"? haus", "HAUS=", true, false, "?haus"},
                                           TypedWord{"a", "A =", false, false, "a"},
                                           TypedWord{"haus,baum", "HAUS,BAUM=", false, false,
                                                     "haus,baum"},
                                           TypedWord{"straße", "STRAßE=", false, false, "straße"}));

TEST(PrepareWordsTest, LoneWildcardsLeaveEmptyWords) {
    PreparedQuery q = PrepareWords(u"* ** haus ?");
    // "* " loses its blank: "*** haus ?" has the words "***", "haus" and "?".
    EXPECT_EQ(S(q.displayText), "*** haus ?");
    ASSERT_EQ(q.count, 3);
    EXPECT_EQ(q.words[0].text, u"");
    EXPECT_TRUE(q.words[0].leading && q.words[0].trailing);
    EXPECT_EQ(S(q.words[1].text), "HAUS=");
    EXPECT_EQ(q.words[2].text, u"");
    EXPECT_TRUE(q.words[2].leading);
    EXPECT_EQ(q.ExistingWords(), 1);
}

TEST(PrepareWordsTest, UsesTheFirstFiveWordsAndUpperCases) {
    PreparedQuery q = PrepareWords(u"eins zwei drei vier fünf sechs");
    ASSERT_EQ(q.count, 5);
    EXPECT_EQ(S(q.words[4].text), "FÜNF=");
    EXPECT_EQ(q.ExistingWords(), 5);
}

struct ConfirmCase {
    std::string text;
    bool phrase;
    bool accepted;
    std::string field;
    std::vector<std::string> messages;
};

class ConfirmCheckTest : public ::testing::TestWithParam<ConfirmCase> {};

TEST_P(ConfirmCheckTest, MessagesFieldAndResult) {
    const ConfirmCase& c = GetParam();
    ConfirmResult r = ConfirmCheck(U(c.text), c.phrase, false);
    EXPECT_EQ(r.accepted, c.accepted);
    EXPECT_EQ(S(r.fieldText), c.field);
    ASSERT_EQ(r.messages.size(), c.messages.size());
    for (std::size_t i = 0; i < c.messages.size(); ++i) EXPECT_EQ(S(r.messages[i]), c.messages[i]);
    EXPECT_FALSE(r.clipboardText.has_value());
}

const std::string kSingleLetter =
    "Einzelne Buchstaben sind bei der \"Suche als Satz\" nicht erlaubt";

INSTANTIATE_TEST_SUITE_P(
    Rules, ConfirmCheckTest,
    ::testing::Values(
        ConfirmCase{"haus baum", false, true, "haus baum", {}},
        ConfirmCase{"  haus  ", false, true, "  haus  ", {}},
        ConfirmCase{"a b c d e f",
                    false,
                    false,
                    "a b c d e f",
                    {"Der Suchtext darf nur maximal 5 Wörter enthalten! Sie haben 6 eingetragen!"}},
        ConfirmCase{"*a?", true, false, "a", {kSingleLetter}},
        ConfirmCase{"*a?", false, true, "*a?", {}},
        ConfirmCase{" ha*us  baum? ", true, true, "haus  baum", {}},
        ConfirmCase{"   ", false, true, "Sie_haben_keinen_Suchtext_eingegeben!", {}},
        ConfirmCase{"", false, true, "Sie_haben_keinen_Suchtext_eingegeben!", {}},
        ConfirmCase{"* ?", true, true, "Sie_haben_keinen_Suchtext_eingegeben!", {}},
        ConfirmCase{
            "a b c d e f x",
            true,
            false,
            "a b c d e f x",
            {"Der Suchtext darf nur maximal 5 Wörter enthalten! Sie haben 7 eingetragen!"}}));

TEST(ConfirmCheckClipboardTest, CopiesFirstWordOrWholeText) {
    struct Case {
        std::string text;
        bool phrase;
        std::string clip;
    };
    for (const Case& c : {Case{"  haus baum ", false, "haus "}, Case{"haus", false, "haus"},
                          Case{" haus baum", true, "haus baum"}}) {
        ConfirmResult r = ConfirmCheck(U(c.text), c.phrase, true);
        ASSERT_TRUE(r.clipboardText.has_value()) << c.text;
        EXPECT_EQ(S(*r.clipboardText), c.clip) << c.text;
    }
}

TEST(ConfirmCheckTest, LongTextIsCheckedWithoutFailure) {
    std::u16string text(10000, u'x');
    ConfirmResult r = ConfirmCheck(text, false, false);
    EXPECT_TRUE(r.accepted);
    EXPECT_EQ(r.fieldText, text);
    PreparedQuery q = PrepareWords(text);
    EXPECT_EQ(q.words[0].text.size(), 10001u);
}

}  // namespace
}  // namespace vx::search
