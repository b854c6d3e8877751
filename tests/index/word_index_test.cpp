#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "index/word_index.h"

namespace vx::index {
namespace {

int Pair(char x, char y) {
    return kFirstPairBucket + (x - 'A') * 26 + (y - 'A');
}

// Files one occurrence the way the document indexing does; returns the handled flag.
bool File(WordIndex& index, const std::string& word, int32_t number) {
    bool handled = true;
    index.ExtendWordEntry(word + "=", number, handled);
    if (handled) index.AddWordEntry(word, number);
    return handled;
}

std::vector<std::u16string> Saved(const WordIndex& index) {
    std::vector<std::u16string> list;
    index.SaveBuckets(list);
    return list;
}

struct BucketExpectation {
    int bucket;
    std::vector<std::u16string> entries;
    int64_t counter;
};

struct InsertionCase {
    const char* name;
    std::vector<std::pair<std::string, int32_t>> occurrences;
    std::vector<BucketExpectation> expected;
};

class InsertionTest : public testing::TestWithParam<InsertionCase> {};

TEST_P(InsertionTest, FilesOccurrences) {
    WordIndex index;
    for (const auto& [word, number] : GetParam().occurrences) File(index, word, number);
    std::size_t expectedTotal = 0;
    for (const BucketExpectation& e : GetParam().expected) {
        EXPECT_EQ(index.BucketEntries(e.bucket), e.entries) << "bucket " << e.bucket;
        EXPECT_EQ(index.ExtensionCounter(e.bucket), e.counter) << "bucket " << e.bucket;
        expectedTotal += e.entries.size();
    }
    EXPECT_EQ(Saved(index).size(), expectedTotal) << "no entry in any other bucket";
}

INSTANTIATE_TEST_SUITE_P(
    Cases, InsertionTest,
    testing::Values(
        InsertionCase{"FirstOccurrence", {{"HAUS", 7}}, {{Pair('H', 'A'), {u"HAUS=7,"}, 0}}},
        InsertionCase{
            "SameDocumentAgain", {{"HAUS", 7}, {"HAUS", 7}}, {{Pair('H', 'A'), {u"HAUS=7,"}, 0}}},
        InsertionCase{"LaterDocuments",
                      {{"HAUS", 7}, {"HAUS", 7}, {"HAUS", 9}, {"HAUS", 19}, {"HAUS", 19}},
                      {{Pair('H', 'A'), {u"HAUS=7,9,19,"}, 2}}},
        InsertionCase{"LongerWordIsAnotherEntry",
                      {{"HAUS", 7}, {"HAUST\xDCR", 8}, {"HAUS", 8}},
                      {{Pair('H', 'A'), {u"HAUS=7,8,", u"HAUSTÜR=8,"}, 1}}},
        InsertionCase{"ExtendedEntryKeepsItsPosition",
                      {{"HAUS", 1}, {"HALLE", 1}, {"HAUS", 2}, {"HALLE", 3}},
                      {{Pair('H', 'A'), {u"HAUS=1,2,", u"HALLE=1,3,"}, 2}}},
        InsertionCase{"NumberInsideTheWordDoesNotCount",
                      {{"A17,B", 3}, {"A17,B", 17}, {"A17,B", 17}},
                      {{kDigitBucket, {u"A17,B=3,17,"}, 1}}},
        InsertionCase{"RandDIsNeverFoundByLookup",
                      {{"R&D", 3}, {"R&D", 3}, {"R&D", 4}},
                      {{kSecondUmlautBucket, {u"R&D=3,", u"R&D=3,", u"R&D=4,"}, 0}}},
        InsertionCase{
            "TwoBucketsFiledAndExtendedEach",
            {{"&\xD6L", 2}, {"&\xD6L", 5}, {"&\xD6L", 5}},
            {{kInitialUmlautBucket, {u"&ÖL=2,5,"}, 1}, {kSecondUmlautBucket, {u"&ÖL=2,5,"}, 1}}},
        InsertionCase{"LowerLetterDigitStoresNothing", {{"a4", 1}, {"a4", 2}}, {}},
        InsertionCase{"EntriesKeepTheirLetterCase",
                      {{"haus", 1}, {"HAUS", 2}},
                      {{Pair('H', 'A'), {u"haus=1,", u"HAUS=2,"}, 0}}},
        InsertionCase{"NumbersOutOfOrderStillFiledOnce",
                      {{"HAUS", 5}, {"HAUS", 3}, {"HAUS", 5}, {"HAUS", 3}},
                      {{Pair('H', 'A'), {u"HAUS=5,3,"}, 1}}},
        InsertionCase{"OutOfOrderAcrossNumberGroups",
                      {{"HAUS", 10},
                       {"HAUS", 11},
                       {"HAUS", 12},
                       {"HAUS", 13},
                       {"HAUS", 14},
                       {"HAUS", 15},
                       {"HAUS", 16},
                       {"HAUS", 17},
                       {"HAUS", 12},
                       {"HAUS", 5},
                       {"HAUS", 17},
                       {"HAUS", 5},
                       {"HAUS", 10}},
                      {{Pair('H', 'A'), {u"HAUS=10,11,12,13,14,15,16,17,5,"}, 8}}},
        InsertionCase{"LongWords",
                      {{"DONAUDAMPFSCHIFFFAHRTSGESELLSCHAFT", 1},
                       {"DONAUDAMPFSCHIFFFAHRTSGESELLSCHAFTEN", 1},
                       {"DONAUDAMPFSCHIFFFAHRTSGESELLSCHAFT", 2},
                       {"DONAUDAMPFSCHIFFFAHRTSGESELLSCHAFT", 2}},
                      {{Pair('D', 'O'),
                        {u"DONAUDAMPFSCHIFFFAHRTSGESELLSCHAFT=1,2,",
                         u"DONAUDAMPFSCHIFFFAHRTSGESELLSCHAFTEN=1,"},
                        1}}},
        InsertionCase{
            "Windows1252WordSavedAsWide",
            {{"AB\x80", 1}, {"\xC4RGER", 2}},
            {{Pair('A', 'B'), {u"AB€=1,"}, 0}, {kInitialUmlautBucket, {u"ÄRGER=2,"}, 0}}}),
    [](const testing::TestParamInfo<InsertionCase>& test) { return test.param.name; });

struct FlagCase {
    const char* name;
    std::vector<std::string> earlierWords;  // filed in document 1 first
    std::string word;
    bool flagBefore;
    bool flagAfter;
};

class HandledFlagTest : public testing::TestWithParam<FlagCase> {};

TEST_P(HandledFlagTest, ExtendClearsTheFlagOnlyWhenTheWordHasAnEntry) {
    const FlagCase& c = GetParam();
    WordIndex index;
    for (const std::string& w : c.earlierWords) File(index, w, 1);
    bool handled = c.flagBefore;
    index.ExtendWordEntry(c.word + "=", 2, handled);
    EXPECT_EQ(handled, c.flagAfter);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, HandledFlagTest,
    testing::Values(FlagCase{"EmptyIndex", {}, "HAUS", true, true},
                    FlagCase{"Found", {"HAUS"}, "HAUS", true, false},
                    FlagCase{"PrefixIsNotFound", {"HAUST\xDCR"}, "HAUS", true, true},
                    FlagCase{"LongerIsNotFound", {"HAUS"}, "HAUSE", true, true},
                    FlagCase{"FalseStaysFalse", {}, "HAUS", false, false},
                    FlagCase{"RandDNeverFound", {"R&D"}, "R&D", true, true},
                    FlagCase{"LowerDigitNeverFound", {"a4"}, "a4", true, true}),
    [](const testing::TestParamInfo<FlagCase>& test) { return test.param.name; });

TEST(WordIndexTest, ABucketPastAThousandExtensionsKeepsFiling) {
    WordIndex index;
    std::u16string expected = u"HAUS=";
    for (int32_t doc = 1; doc <= 1500; ++doc) {
        File(index, "HAUS", doc);
        for (const char c : std::to_string(doc)) expected.push_back(static_cast<char16_t>(c));
        expected.push_back(u',');
    }
    EXPECT_FALSE(File(index, "HAUS", 1500));
    EXPECT_TRUE(File(index, "HALLE", 1501)) << "a new word still gets its entry";
    EXPECT_EQ(index.BucketEntries(Pair('H', 'A')),
              (std::vector<std::u16string>{expected, u"HALLE=1501,"}));
    EXPECT_EQ(index.ExtensionCounter(Pair('H', 'A')), 1499);
}

TEST(WordIndexTest, ManyWordsAreEachFoundAgain) {
    WordIndex index;
    std::vector<std::string> words;
    for (int i = 0; i < 5000; ++i) {
        std::string word = "W";
        for (int n = i; n > 0 || word.size() == 1; n /= 26)
            word.push_back(static_cast<char>('A' + n % 26));
        words.push_back(word);
    }
    for (const std::string& w : words) EXPECT_TRUE(File(index, w, 1)) << w;
    for (const std::string& w : words) EXPECT_FALSE(File(index, w, 2)) << w;
    const std::vector<std::u16string> saved = Saved(index);
    ASSERT_EQ(saved.size(), words.size());
    for (const std::u16string& entry : saved) {
        EXPECT_TRUE(entry.ends_with(u"=1,2,")) << std::string(entry.begin(), entry.end());
    }
}

TEST(WordIndexTest, CountersSurviveClearingAndAreResetOnRequest) {
    WordIndex index;
    File(index, "HAUS", 1);
    File(index, "HAUS", 2);
    index.ListenLoeschen();
    EXPECT_EQ(index.ExtensionCounter(Pair('H', 'A')), 1);
    File(index, "HAUS", 3);
    File(index, "HAUS", 4);
    EXPECT_EQ(index.ExtensionCounter(Pair('H', 'A')), 2);
    index.ResetExtensionCounters();
    EXPECT_EQ(index.ExtensionCounter(Pair('H', 'A')), 0);
    EXPECT_EQ(index.BucketEntries(Pair('H', 'A')), std::vector<std::u16string>{u"HAUS=3,4,"});
}

TEST(WordIndexTest, SavesInBucketOrderThenUnicodePostings) {
    WordIndex index;
    File(index, "KPAX", 1);
    index.AddUnicodePosting(u"ΑΒΓ", 4);
    File(index, "ZZZ", 1);
    File(index, "M\xDCLLER", 3);
    File(index, "KOMMA", 1);
    File(index, "KOBALT", 2);
    File(index, "AAL", 1);
    File(index, "\xC4RGER", 1);
    File(index, "A4", 1);
    File(index, "#TAG", 1);
    const std::vector<std::u16string> expected = {
        u"#TAG=1,",   u"A4=1,",     u"ÄRGER=1,", u"AAL=1,", u"KOMMA=1,",
        u"KOBALT=2,", u"MÜLLER=3,", u"KPAX=1,",  u"ZZZ=1,", u"ΑΒΓ=4,"};
    EXPECT_EQ(Saved(index), expected);
}

TEST(WordIndexTest, SaveAppendsToTheHeadLinesAndLeavesTheIndex) {
    WordIndex index;
    File(index, "HAUS", 1);
    std::vector<std::u16string> list = {u" ", u"[DATENBANK]", u" "};
    index.SaveBuckets(list);
    EXPECT_EQ(list, (std::vector<std::u16string>{u" ", u"[DATENBANK]", u" ", u"HAUS=1,"}));
    EXPECT_EQ(Saved(index), std::vector<std::u16string>{u"HAUS=1,"});
}

TEST(WordIndexTest, EmptyPassSavesNothing) {
    WordIndex index;
    EXPECT_TRUE(Saved(index).empty());
    File(index, "HAUS", 1);
    index.AddUnicodePosting(u"ΩMEGA", 1);
    index.ListenLoeschen();
    EXPECT_TRUE(Saved(index).empty());
    EXPECT_EQ(index.UnicodePostingCount(), 0u);
}

TEST(WordIndexTest, SecondPassHoldsOnlyItsOwnEntries) {
    WordIndex index;
    File(index, "HAUS", 1);
    File(index, "BAUM", 2);
    index.AddUnicodePosting(u"ΑΒΓ", 2);
    index.ListenLoeschen();
    File(index, "HAUS", 3);
    index.AddUnicodePosting(u"ΩMEGA", 3);
    EXPECT_EQ(Saved(index), (std::vector<std::u16string>{u"HAUS=3,", u"ΩMEGA=3,"}));
}

TEST(WordIndexTest, UnicodePostingsKeepOneEntryPerWordAndDocument) {
    WordIndex index;
    index.AddUnicodePosting(u"ΩMEGA", 12);
    index.AddUnicodePosting(u"ΩMEGA", 12);
    EXPECT_EQ(index.UnicodePostingCount(), 1u);
    // Every entry of the list belongs to the word; the new document is still recorded.
    index.AddUnicodePosting(u"ΩMEGA", 13);
    index.AddUnicodePosting(u"ωmega", 13);  // equal when case is ignored
    index.AddUnicodePosting(u"ΑΒΓ", 12);
    index.AddUnicodePosting(u"Ж", 1);  // one code unit is recorded too
    EXPECT_EQ(index.UnicodePostingCount(), 4u);
    EXPECT_EQ(Saved(index),
              (std::vector<std::u16string>{u"ΑΒΓ=12,", u"ΩMEGA=12,", u"ΩMEGA=13,", u"Ж=1,"}));
}

}  // namespace
}  // namespace vx::index
