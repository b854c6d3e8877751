#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "index/database_file.h"
#include "index/word_lists.h"

namespace vx::index {
namespace {

struct ClassCase {
    const char* name;
    std::u16string word;
    WordList list;
};

class ClassifyWordTest : public testing::TestWithParam<ClassCase> {};

TEST_P(ClassifyWordTest, PicksTheList) {
    EXPECT_EQ(ClassifyWord(GetParam().word), GetParam().list);
}

INSTANTIATE_TEST_SUITE_P(Words, ClassifyWordTest,
                         testing::Values(ClassCase{"Strasse", u"STRAßE", WordList::Ansi},
                                         ClassCase{"Greek", u"ΑΒΓ", WordList::Unicode},
                                         ClassCase{"OmegaThenLatin", u"ΩMEGA", WordList::Ansi},
                                         ClassCase{"Parenthesised", u"(1)", WordList::None},
                                         ClassCase{"At", u"@HOME", WordList::Ansi},
                                         ClassCase{"LowerCase", u"haus", WordList::None},
                                         ClassCase{"SecondCapital", u"hA", WordList::Ansi},
                                         ClassCase{"SecondSharpS", u"(ß", WordList::Ansi},
                                         ClassCase{"FirstSharpS", u"ß(", WordList::None},
                                         ClassCase{"Superscript3", u"³(", WordList::Ansi},
                                         ClassCase{"Guillemet", u"»(", WordList::Ansi},
                                         ClassCase{"Umlauts", u"ÄRGER", WordList::Ansi},
                                         ClassCase{"EAcute", u"(É", WordList::Ansi},
                                         ClassCase{"LowerUmlaut", u"ärger", WordList::None},
                                         ClassCase{"Digits", u"A4", WordList::Ansi},
                                         ClassCase{"Delete", u"\u007F", WordList::Unicode},
                                         ClassCase{"SingleAccent", u"é", WordList::Unicode},
                                         ClassCase{"SingleLetter", u"A", WordList::Ansi},
                                         ClassCase{"Empty", u"", WordList::None}),
                         [](const testing::TestParamInfo<ClassCase>& test) {
                             return test.param.name;
                         });

TEST(WordListsTest, CollectsTheWordsOfAnIndexList) {
    WordLists lists;
    for (const char16_t* line : {u" ", u" ", u"Gesamtgröße der indizierten Dateien in Byte: 12 MB",
                                 u"GESAMTGRÖßE DER INDIZIERTEN DATEIEN IN BYTE: 3 KB", u" ",
                                 u"[DATENBANK]", u" ", u"HAUS=1,2,", u"  HAUS=3,", u"haus=9,",
                                 u"ΑΒΓ=4,", u"(1)=5,", u"STRAßE=1,", u"ΩMEGA=2,", u"ÄRGER=7,"}) {
        lists.AddIndexLine(line);
    }
    EXPECT_EQ(lists.Ansi(), (std::vector<std::u16string>{u"ÄRGER", u"HAUS", u"STRAßE", u"ΩMEGA"}));
    EXPECT_EQ(lists.Unicode(), std::vector<std::u16string>{u"ΑΒΓ"});
}

TEST(WordListsTest, OnlyTheMarkerLineItselfIsSkipped) {
    // "[" separates no words, so a text such as "XY[Datenbank]" is filed as one word.
    WordLists lists;
    for (const char16_t* line :
         {u" ", u"[DATENBANK]", u" ", u"XY[DATENBANK]=3,", u"ΩΨ[DATENBANK]=4,"}) {
        lists.AddIndexLine(line);
    }
    EXPECT_EQ(lists.Ansi(), std::vector<std::u16string>{u"XY[DATENBANK]"});
    EXPECT_EQ(lists.Unicode(), std::vector<std::u16string>{});
}

TEST(WordListsTest, MergedEntriesAndContinuationLines) {
    WordLists lists;
    for (const char16_t* line : {u"AAL=1,5,", u"9,", u" ", u"ZEBRA=3,"}) {
        lists.AddEntryLine(line);
    }
    EXPECT_EQ(lists.Ansi(), (std::vector<std::u16string>{u"AAL", u"ZEBRA"}));
    EXPECT_TRUE(lists.Unicode().empty()) << "a blank line is no word";
}

TEST(WordListsTest, TextIsSortedByTheCollation) {
    WordLists lists;
    for (const char16_t* word : {u"ZEBRA", u"ÄRGER", u"APFEL", u"BAUM"}) lists.AddWord(word);
    EXPECT_EQ(WordListText(lists.Ansi()), u"APFEL\r\nÄRGER\r\nBAUM\r\nZEBRA\r\n");
    EXPECT_EQ(WordListText(lists.Unicode()), u"");
}

}  // namespace
}  // namespace vx::index
