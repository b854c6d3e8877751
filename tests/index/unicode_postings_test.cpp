// The Unicode postings list orders its entries from one key per word; compared here with a sorted
// list that ignores equal strings and holds every entry with its own key, over words built to
// stress the order: accents, width, ignorable characters, hyphens and a character that weighs
// like "=", words that begin other words, numbers of every length.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "index/word_index.h"
#include "platform/collation.h"

namespace vx::index {
namespace {

std::u16string Entry(const std::u16string& word, int32_t number) {
    std::u16string entry = word + u"=";
    for (const char c : std::to_string(number)) entry.push_back(static_cast<char16_t>(c));
    return entry + u",";
}

TEST(UnicodePostingsTest, SaveOrderEqualsASortedListOfWholeEntries) {
    const std::vector<std::u16string> pieces = {
        u"Α",      u"Ά",      u"α", u"Β", u"Ω", u"-",      u"\uFF1D", u"\uFE66",
        u"\u200B", u"\u0301", u"Ж", u"ж", u"Ё", u"Е",      u"日",     u"本",
        u"1",      u"２",     u"ß", u"Ä", u".", u"\u00AD", u"Ѐ",      u"\U0001D49C"};
    for (const unsigned seed : {1u, 2u, 3u, 4u}) {
        std::mt19937 random(seed);
        std::vector<std::u16string> words;
        for (int i = 0; i < 60; ++i) {
            std::u16string word = pieces[random() % 6];  // a Greek letter or "-" first
            const int length = static_cast<int>(random() % 4);
            for (int k = 0; k < length; ++k) word += pieces[random() % pieces.size()];
            words.push_back(word);
        }
        WordIndex index;
        platform::SortedUniqueList reference;
        // Numbers grow as in a run; some documents hold many of the words.
        int32_t number = 1;
        for (int doc = 0; doc < 400; ++doc) {
            number += static_cast<int32_t>(random() % (doc % 50 == 0 ? 900 : 3)) + 1;
            const int count = static_cast<int>(random() % 8);
            for (int k = 0; k < count; ++k) {
                const std::u16string& word = words[random() % words.size()];
                index.AddUnicodePosting(word, number);
                reference.Add(Entry(word, number));
            }
        }
        std::vector<std::u16string> saved;
        index.SaveBuckets(saved);
        EXPECT_EQ(saved, reference.Items()) << "seed " << seed;
        EXPECT_EQ(index.UnicodePostingCount(), reference.Size()) << "seed " << seed;
    }
}

}  // namespace
}  // namespace vx::index
