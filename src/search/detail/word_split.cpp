#include "search/detail/word_split.h"

namespace vx::search {

bool IsSeparatorChar(std::u16string_view separators, char16_t c) {
    return separators.find(c) != std::u16string_view::npos;
}

namespace {

// 0-based start and length of the k-th word; false when there are fewer than k words.
bool FindWord(int k, std::u16string_view s, std::u16string_view separators, std::size_t& start,
              std::size_t& length) {
    if (k < 1) return false;
    int seen = 0;
    std::size_t i = 0;
    while (i < s.size()) {
        while (i < s.size() && IsSeparatorChar(separators, s[i])) ++i;
        if (i >= s.size()) break;
        std::size_t begin = i;
        while (i < s.size() && !IsSeparatorChar(separators, s[i])) ++i;
        if (++seen == k) {
            start = begin;
            length = i - begin;
            return true;
        }
    }
    return false;
}

}  // namespace

int CountWords(std::u16string_view s, std::u16string_view separators) {
    int count = 0;
    bool inWord = false;
    for (char16_t c : s) {
        bool separator = IsSeparatorChar(separators, c);
        if (!separator && !inWord) ++count;
        inWord = !separator;
    }
    return count;
}

bool WordStartPos(int k, std::u16string_view s, std::u16string_view separators, int& position) {
    std::size_t start = 0, length = 0;
    if (!FindWord(k, s, separators, start, length)) {
        position = 0;
        return false;
    }
    position = static_cast<int>(start) + 1;
    return true;
}

std::u16string ExtractWordAt(int k, std::u16string_view s, std::u16string_view separators) {
    std::size_t start = 0, length = 0;
    if (!FindWord(k, s, separators, start, length)) return {};
    return std::u16string(s.substr(start, length));
}

}  // namespace vx::search
