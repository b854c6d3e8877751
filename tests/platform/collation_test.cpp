#include "platform/collation.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <thread>

#include "platform/text.h"

namespace vx::platform {
namespace {

int Sign(int v) {
    return (v > 0) - (v < 0);
}

TEST(Collation, CaseIgnoredAccentsNot) {
    const struct {
        std::u16string a;
        std::u16string b;
        int order;
    } cases[] = {
        {u"haus", u"HAUS", 0},
        {u"Stra\u00DFe", u"STRA\u00DFE", 0},
        {u"\u00E4", u"\u00C4", 0},
        {u"a", u"\u00E4", -1},
        {u"\u00E4", u"b", -1},
        {u"M\u00DCLLER", u"MULLER", 1},
        {u"abc", u"ABD", -1},
        {u"", u"a", -1},
        {u"\u03C9mega", u"\u03A9MEGA", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(ToUtf8(c.a) + " / " + ToUtf8(c.b));
        EXPECT_EQ(Sign(CollateCompare(c.a, c.b)), c.order);
        EXPECT_EQ(Sign(CollateCompare(c.b, c.a)), -c.order);
        const std::string ka = CollationKey(c.a);
        const std::string kb = CollationKey(c.b);
        EXPECT_EQ(Sign(ka.compare(kb)), c.order);
    }
}

// Only letter case is ignored: strings that differ in kana type, character width or a
// sharp s against "SS" stay apart, so none of them is merged away in a sorted unique list.
TEST(Collation, OnlyLetterCaseIsIgnored) {
    const struct {
        std::u16string a;
        std::u16string b;
    } distinct[] = {
        {u"\u304B\u305F", u"\u30AB\u30BF"},  // hiragana / katakana
        {u"\uFF21\uFF22", u"AB"},            // full width / normal width
        {u"STRA\u00DFE", u"STRASSE"},
        {u"e\u0301", u"E"},
    };
    for (const auto& c : distinct) {
        SCOPED_TRACE(ToUtf8(c.a) + " / " + ToUtf8(c.b));
        EXPECT_NE(CollateCompare(c.a, c.b), 0);
        EXPECT_NE(CollationKey(c.a), CollationKey(c.b));
        SortedUniqueList list;
        EXPECT_TRUE(list.Add(c.a));
        EXPECT_TRUE(list.Add(c.b));
    }
    SortedUniqueList list;
    EXPECT_TRUE(list.Add(u"\u304B\u305F=5,"));
    EXPECT_FALSE(list.Add(u"\u304B\u305F=5,"));
    EXPECT_TRUE(list.Add(u"Stra\u00DFe"));
    EXPECT_FALSE(list.Add(u"STRA\u00DFE"));
}

TEST(Collation, LocaleFromEnvironment) {
    const struct {
        const char* all;
        const char* collate;
        const char* lang;
        std::string locale;
    } cases[] = {
        {nullptr, nullptr, nullptr, "de"},          {"", "", "", "de"},
        {"C", "sv_SE.UTF-8", "en_US", "de"},        {nullptr, "POSIX", nullptr, "de"},
        {nullptr, "sv_SE.UTF-8", "en_US", "sv_SE"}, {nullptr, nullptr, "de_AT.UTF-8@euro", "de_AT"},
        {"fr_FR", "sv_SE", nullptr, "fr_FR"},       {"", "", "C.UTF-8", "de"},
    };
    for (const auto& c : cases) EXPECT_EQ(CollationLocaleFor(c.all, c.collate, c.lang), c.locale);
}

TEST(Collation, SortIsStableAndAgreesWithCompare) {
    std::vector<std::u16string> items = {u"b",    u"HAUS",  u"\u00E4rger", u"a",  u"Haus",
                                         u"haus", u"Zebra", u"\u00C4rger", u"12", u"aal"};
    const std::vector<std::u16string> original = items;
    SortByCollation(items);
    ASSERT_EQ(items.size(), original.size());
    EXPECT_TRUE(std::is_permutation(items.begin(), items.end(), original.begin()));
    for (std::size_t i = 1; i < items.size(); ++i) {
        EXPECT_LE(CollateCompare(items[i - 1], items[i]), 0) << i;
    }
    // Equal strings keep their input order.
    const auto haus = std::find(items.begin(), items.end(), u"HAUS");
    ASSERT_LE(haus + 2, items.end() - 1);
    EXPECT_EQ(*(haus + 1), u"Haus");
    EXPECT_EQ(*(haus + 2), u"haus");
}

TEST(Collation, SafeFromSeveralThreads) {
    std::vector<std::u16string> words;
    std::mt19937 rng(7);
    for (int i = 0; i < 2000; ++i) {
        std::u16string w;
        for (int k = 0; k < 6; ++k) w.push_back(u"aAbB\u00E4\u00C4zZ"[rng() % 8]);
        words.push_back(w);
    }
    std::vector<int> expected;
    for (std::size_t i = 1; i < words.size(); ++i) {
        expected.push_back(Sign(CollateCompare(words[i - 1], words[i])));
    }
    std::vector<std::thread> threads;
    std::vector<int> mismatches(4, 0);
    for (std::size_t t = 0; t < 4; ++t) {
        threads.emplace_back([&, t] {
            for (std::size_t i = 1; i < words.size(); ++i) {
                if (Sign(CollateCompare(words[i - 1], words[i])) != expected[i - 1])
                    ++mismatches[t];
                if (Sign(CollationKey(words[i - 1]).compare(CollationKey(words[i]))) !=
                    expected[i - 1]) {
                    ++mismatches[t];
                }
            }
        });
    }
    for (auto& th : threads) th.join();
    for (int m : mismatches) EXPECT_EQ(m, 0);
}

TEST(SortedUniqueList, IgnoresEqualStringsAndKeepsFirstSpelling) {
    SortedUniqueList list;
    const struct {
        std::u16string s;
        bool added;
    } adds[] = {
        {u"HAUS", true},  {u"Haus", false},       {u"baum", true},  {u"\u00E4pfel", true},
        {u"apfel", true}, {u"\u00C4PFEL", false}, {u"BAUM", false}, {u"Zaun", true},
    };
    for (const auto& a : adds) EXPECT_EQ(list.Add(a.s), a.added) << ToUtf8(a.s);
    const std::vector<std::u16string> expected = {u"apfel", u"\u00E4pfel", u"baum", u"HAUS",
                                                  u"Zaun"};
    EXPECT_EQ(list.Items(), expected);
    EXPECT_EQ(std::vector<std::u16string>(list.begin(), list.end()), expected);
    EXPECT_EQ(list.Size(), 5u);
    EXPECT_TRUE(list.Contains(u"haus"));
    EXPECT_FALSE(list.Contains(u"h\u00E4us"));
    EXPECT_TRUE(list.Remove(u"ZAUN"));
    EXPECT_FALSE(list.Remove(u"zaun"));
    EXPECT_FALSE(list.Contains(u"Zaun"));
    list.Clear();
    EXPECT_TRUE(list.Empty());
}

}  // namespace
}  // namespace vx::platform
