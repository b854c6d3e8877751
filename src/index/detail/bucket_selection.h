// Bucket selection on the first two bytes of a word, without allocating.
#pragma once

#include <array>
#include <cstddef>
#include <string_view>

#include "index/word_index.h"

namespace vx::index {

struct BucketSet {
    std::array<int, 4> buckets{};
    int count = 0;
    bool Contains(int bucket) const {
        for (int i = 0; i < count; ++i)
            if (buckets[static_cast<std::size_t>(i)] == bucket) return true;
        return false;
    }
};

// c1 and c2 are the first two bytes of the word; a missing byte is 0 (the terminator the
// original string type would show there).
BucketSet SelectBucketSet(unsigned char c1, unsigned char c2, BucketPurpose purpose);

inline BucketSet SelectBucketSet(std::string_view ansiWord, BucketPurpose purpose) {
    const auto at = [&](std::size_t i) {
        return static_cast<unsigned char>(i < ansiWord.size() ? ansiWord[i] : 0);
    };
    return SelectBucketSet(at(0), at(1), purpose);
}

}  // namespace vx::index
