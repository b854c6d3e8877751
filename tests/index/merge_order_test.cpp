#include "index/merge_order.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "index/word_index.h"
#include "platform/collation.h"
#include "platform/text.h"

namespace vx::index {
namespace {

// Words whose lines the collation orders in awkward ways: a word that begins another ("AAL",
// "AALE") or ends where another goes on with a character that weighs less than "=" ("AAL-X"),
// words equal but for accents, width or an ignorable character (their lines interleave by the
// numbers, and two lines can compare equal), a character weighing like "=", and scripts whose
// characters combine or reorder.
const std::u16string kWords[] = {
    u"AAL",     u"AALE",   u"AAL-X",        u"ÄAL",    u"A\u00ADAL", u"AAL\uFF1DX", u"AAL\uFF1D-",
    u"STRASSE", u"STRAßE", u"RESUME",       u"RÉSUMÉ", u"ΑΘΗΝΑ",     u"ΆΘΗΝΑ",      u"日本",
    u"ＡＡＬ",  u"เกม",    u"\u0915\u094D", u"1990",   u"\uFFFDX",   u"",
};
const std::u16string kNumbers[] = {u"1,", u"5,", u"9,", u"10,", u"100,", u"1,5,9,", u"1,5,", u""};
// Lines that are no entry of a word.
const std::u16string kOddLines[] = {u" ", u"", u"AAL=B=1,", u"AAL=-5,", u"ΑΘΗΝΑ", u"AAL==1,"};

std::vector<std::u16string> RandomLines(std::mt19937& random, std::size_t count) {
    std::vector<std::u16string> lines;
    for (std::size_t i = 0; i < count; ++i) {
        if (random() % 10 == 0) {
            lines.push_back(kOddLines[random() % std::size(kOddLines)]);
        } else {
            lines.push_back(kWords[random() % std::size(kWords)] + u"=" +
                            kNumbers[random() % std::size(kNumbers)]);
        }
    }
    return lines;
}

std::vector<std::string> Texts(const std::vector<std::u16string>& lines) {
    std::vector<std::string> texts;
    for (const auto& line : lines) texts.push_back(platform::ToUtf8(line));
    return texts;
}

TEST(MergeInOrder, GivesTheStableSortOfAllLinesOfTheSources) {
    std::mt19937 random(7);
    for (int round = 0; round < 300; ++round) {
        std::vector<std::u16string> all;
        std::vector<std::unique_ptr<SortedLines>> sources;
        const std::size_t sourceCount = 1 + random() % 4;
        for (std::size_t s = 0; s < sourceCount; ++s) {
            std::vector<std::u16string> lines = RandomLines(random, random() % 12);
            all.insert(all.end(), lines.begin(), lines.end());
            sources.push_back(std::make_unique<SortedLines>(std::move(lines)));
        }
        std::vector<OrderedLines*> pointers;
        for (const auto& source : sources) pointers.push_back(source.get());
        std::vector<std::u16string> merged;
        MergeInOrder(pointers, [&](const OrderedLine& line) { merged.emplace_back(line.text); });
        platform::SortByCollation(all);
        ASSERT_EQ(Texts(merged), Texts(all)) << "round " << round;
    }
}

TEST(WordIndex, EntriesInMergeOrderAreTheSavedEntriesSortedStably) {
    // ANSI words as the document indexing files them (Windows-1252), Unicode words with one
    // entry per document, a lone surrogate half among them.
    const std::string ansiWords[] = {"AAL",
                                     "AALE",
                                     "AAL-X",
                                     "\xC4\x41L",
                                     "A\xAD\x41L",
                                     "STRASSE",
                                     "STRA\xDF"
                                     "E",
                                     "RESUME",
                                     "R\xC9SUM\xC9",
                                     "haus",
                                     "R&D",
                                     "1990",
                                     "\xE4rger"};
    const std::u16string unicodeWords[] = {u"ΑΘΗΝΑ",    u"ΆΘΗΝΑ", u"日本", u"ＡＡＬ",   u"\xD800ΩΩ",
                                           u"\xDBFFΩΩ", u"ω",     u"ΑΒ",   u"ΑΒ\uFF1D-"};
    WordIndex index;
    std::mt19937 random(11);
    for (int32_t document = 1; document <= 60; ++document) {
        for (int k = 0; k < 6; ++k) {
            const std::string& word = ansiWords[random() % std::size(ansiWords)];
            index.FileOccurrence(word, WordIndex::WordHash(word), document, true);
            index.AddUnicodePosting(unicodeWords[random() % std::size(unicodeWords)], document);
        }
    }
    std::vector<std::u16string> expected;
    index.SaveBuckets(expected);
    for (std::u16string& line : expected) {
        line = platform::UpperCase(line);
        AsReadBack(line);
    }
    platform::SortByCollation(expected);

    std::vector<std::u16string> sorted;
    const std::unique_ptr<OrderedLines> lines = index.EntriesInMergeOrder();
    while (lines->Next()) {
        EXPECT_EQ(lines->Line().key, MergeKey(MergeKeyText(lines->Line().text)));
        sorted.emplace_back(lines->Line().text);
    }
    EXPECT_EQ(Texts(sorted), Texts(expected));
}

}  // namespace
}  // namespace vx::index
