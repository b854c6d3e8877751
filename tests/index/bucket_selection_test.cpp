#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <string>
#include <vector>

#include "index/word_index.h"

namespace vx::index {
namespace {

int Pair(char x, char y) {
    return kFirstPairBucket + (x - 'A') * 26 + (y - 'A');
}

struct SelectionCase {
    const char* name;
    std::string word;  // Windows-1252 bytes
    std::vector<int> lookup;
    std::vector<int> add;
};

class BucketSelectionTest : public testing::TestWithParam<SelectionCase> {};

TEST_P(BucketSelectionTest, SelectsBucketsInVisitingOrder) {
    const SelectionCase& c = GetParam();
    EXPECT_EQ(SelectBuckets(c.word, BucketPurpose::Lookup), c.lookup);
    EXPECT_EQ(SelectBuckets(c.word, BucketPurpose::Add), c.add);
}

const std::vector<int> kNone;

INSTANTIATE_TEST_SUITE_P(
    Words, BucketSelectionTest,
    testing::Values(
        SelectionCase{"HAUS", "HAUS", {Pair('H', 'A')}, {Pair('H', 'A')}},
        SelectionCase{"haus", "haus", {Pair('H', 'A')}, {Pair('H', 'A')}},
        SelectionCase{"MixedCase", "hA", {Pair('H', 'A')}, {Pair('H', 'A')}},
        SelectionCase{"HashTag", "#TAG", {kHashBucket}, {kHashBucket}},
        SelectionCase{"HashDigit", "#1", {kHashBucket}, {kHashBucket}},
        SelectionCase{"A4", "A4", {kDigitBucket}, {kDigitBucket}},
        SelectionCase{"B2B", "B2B", {kDigitBucket}, {kDigitBucket}},
        SelectionCase{"LowerLetterDigit", "a4", kNone, kNone},
        SelectionCase{"LeadingDigit", "3D", {kDigitBucket}, {kDigitBucket}},
        SelectionCase{"Aerger", "\xC4RGER", {kInitialUmlautBucket}, {kInitialUmlautBucket}},
        SelectionCase{"LowerUmlautFirst", "\xF6L", {kInitialUmlautBucket}, {kInitialUmlautBucket}},
        SelectionCase{"Amp", "&AMP", {kInitialUmlautBucket}, {kInitialUmlautBucket}},
        SelectionCase{"Mueller", "M\xDCLLER", {kSecondUmlautBucket}, {kSecondUmlautBucket}},
        SelectionCase{
            "LowerSecondUmlaut", "m\xFCller", {kSecondUmlautBucket}, {kSecondUmlautBucket}},
        SelectionCase{"RandD", "R&D", kNone, {kSecondUmlautBucket}},
        SelectionCase{"AmpOel",
                      "&\xD6L",
                      {kInitialUmlautBucket, kSecondUmlautBucket},
                      {kInitialUmlautBucket, kSecondUmlautBucket}},
        SelectionCase{
            "AmpAmp", "&&", {kInitialUmlautBucket}, {kInitialUmlautBucket, kSecondUmlautBucket}},
        SelectionCase{"XRay", "X-RAY", kNone, kNone}, SelectionCase{"EOn", "E.ON", kNone, kNone},
        SelectionCase{"ONeil", "O'NEIL", kNone, kNone},
        SelectionCase{"SharpS",
                      "\xDF"
                      "A",
                      kNone, kNone},
        SelectionCase{"LetterSharpS", "A\xDF", kNone, kNone},
        SelectionCase{"ASpace", "A B", {Pair('A', 'A')}, {Pair('A', 'A')}},
        SelectionCase{"LowerASpace", "a b", {Pair('A', 'A')}, {Pair('A', 'A')}},
        SelectionCase{"BSpace", "B C", kNone, kNone},
        SelectionCase{"ZZ", "ZZ", {Pair('Z', 'Z')}, {Pair('Z', 'Z')}},
        SelectionCase{"SingleDigit", "7", {kDigitBucket}, {kDigitBucket}},
        SelectionCase{"Empty", "", kNone, kNone}),
    [](const testing::TestParamInfo<SelectionCase>& test) { return test.param.name; });

TEST(SaveOrderTest, SecondUmlautBucketStandsBetweenKOAndKP) {
    const std::vector<int>& order = SaveOrder();
    ASSERT_EQ(order.size(), static_cast<std::size_t>(kBucketCount));
    EXPECT_EQ(order[0], kHashBucket);
    EXPECT_EQ(order[1], kDigitBucket);
    EXPECT_EQ(order[2], kInitialUmlautBucket);
    EXPECT_EQ(order[3], Pair('A', 'A'));
    const auto umlaut = std::find(order.begin(), order.end(), kSecondUmlautBucket);
    ASSERT_NE(umlaut, order.end());
    EXPECT_EQ(*(umlaut - 1), Pair('K', 'O'));
    EXPECT_EQ(*(umlaut + 1), Pair('K', 'P'));
    EXPECT_EQ(order.back(), Pair('Z', 'Z'));

    std::vector<int> sorted = order;
    std::sort(sorted.begin(), sorted.end());
    std::vector<int> all(kBucketCount);
    std::iota(all.begin(), all.end(), 0);
    EXPECT_EQ(sorted, all) << "every bucket is saved exactly once";
}

}  // namespace
}  // namespace vx::index
