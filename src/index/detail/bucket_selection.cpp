#include "index/detail/bucket_selection.h"

namespace vx::index {

namespace {

bool IsUpperLetter(unsigned char c) {
    return c >= 'A' && c <= 'Z';
}
bool IsLowerLetter(unsigned char c) {
    return c >= 'a' && c <= 'z';
}
bool IsLetter(unsigned char c) {
    return IsUpperLetter(c) || IsLowerLetter(c);
}
bool IsDigit(unsigned char c) {
    return c >= '0' && c <= '9';
}
int LetterIndex(unsigned char c) {
    return IsUpperLetter(c) ? c - 'A' : c - 'a';
}

// Windows-1252 bytes of the umlauts.
bool IsUmlaut(unsigned char c) {
    return c == 0xC4 || c == 0xD6 || c == 0xDC || c == 0xE4 || c == 0xF6 || c == 0xFC;
}

std::vector<int> BuildSaveOrder() {
    std::vector<int> order = {kHashBucket, kDigitBucket, kInitialUmlautBucket};
    const int firstAfterKO = kFirstPairBucket + ('K' - 'A') * 26 + ('P' - 'A');
    for (int b = kFirstPairBucket; b < firstAfterKO; ++b) order.push_back(b);
    order.push_back(kSecondUmlautBucket);
    for (int b = firstAfterKO; b < kBucketCount; ++b) order.push_back(b);
    return order;
}

}  // namespace

BucketSet SelectBucketSet(unsigned char c1, unsigned char c2, BucketPurpose purpose) {
    BucketSet set;
    const auto add = [&](int bucket) {
        set.buckets[static_cast<std::size_t>(set.count++)] = bucket;
    };
    if (c1 == '#') add(kHashBucket);
    if (IsDigit(c1) || (IsUpperLetter(c1) && IsDigit(c2))) add(kDigitBucket);
    if (c1 == '&' || IsUmlaut(c1)) add(kInitialUmlautBucket);
    // Only adding treats "&" as the second-umlaut character, so lookup never sees those entries.
    if (IsUmlaut(c2) || (purpose == BucketPurpose::Add && c2 == '&')) add(kSecondUmlautBucket);
    if (IsLetter(c1) && IsLetter(c2)) {
        add(kFirstPairBucket + LetterIndex(c1) * 26 + LetterIndex(c2));
    } else if ((c1 == 'A' || c1 == 'a') && c2 == ' ') {
        add(kFirstPairBucket);
    }
    return set;
}

std::vector<int> SelectBuckets(std::string_view ansiWord, BucketPurpose purpose) {
    const BucketSet set = SelectBucketSet(ansiWord, purpose);
    return std::vector<int>(set.buckets.begin(), set.buckets.begin() + set.count);
}

const std::vector<int>& SaveOrder() {
    static const std::vector<int> order = BuildSaveOrder();
    return order;
}

}  // namespace vx::index
