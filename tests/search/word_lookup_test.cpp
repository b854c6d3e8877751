#include <gtest/gtest.h>

#include "search/result_page.h"
#include "search/word_lookup.h"
#include "test_support.h"

namespace vx::search {
namespace {

using testing::RecordingHost;
using testing::S;
using testing::ScratchFolder;
using testing::U;

std::vector<std::string> Strings(const std::vector<std::u16string>& lines) {
    std::vector<std::string> out;
    for (const std::u16string& line : lines) out.push_back(S(line));
    return out;
}

// Header part of a small pass-form database over C:\DATEN with documents 1, 2, 3 and 7.
std::vector<std::string> Header() {
    return {"[SCANMASKE]",
            "TEXTDATEIENPFAD=C:\\DATEN\\*.XML",
            "",
            "",
            "[PFADLISTE]",
            "",
            "P1=C:\\DATEN",
            "P2=",
            "P3=C:\\DATEN\\SUB",
            "1 P2 \\A.XML SIZE:10 DATE:1",
            "2 P2 \\B.XML SIZE:10 DATE:1",
            "3 P3 \\C.XML SIZE:10 DATE:1",
            "7 P3 \\D.XML SIZE:10 DATE:1",
            " ",
            " ",
            "GESAMTGRÖßE DER INDIZIERTEN DATEIEN IN BYTE: 40 BYTES",
            " "};
}

// A database file with the given bytes in a scratch folder, opened as the search opens it.
SearchDatabase DatabaseOf(const ScratchFolder& folder, const std::string& bytes) {
    testing::WriteBytes(folder.Path() / "Datenbank" / "db.dat", bytes);
    return SearchDatabase::Open(folder.Windows() + u"Datenbank\\db.dat");
}

const std::vector<std::string> kIndex = {"HAUS=3,7,", "HAUSE=3,", "XHAUS=2,", "BAUM=3,",
                                         "ABC1=9,",   "Q=10,1,",  "A=1,"};

struct Fixture {
    explicit Fixture(const std::string& text, bool und = false)
        : query(PrepareWords(U(text))),
          lookup(host, flags, pageLines, query, folder.Folders().textCopy, u"Proj") {
        flags.searchActive = true;
        lookup.SetUnd(und);
        pageLines = {HeadingLine(Heading::Oder), SearchTextLine(query.displayText)};
    }
    // Creates the text copy of a document of the test database (lower case on disk).
    void TextCopy(const std::string& relative) {
        testing::WriteBytes(folder.Path() / "XML_Texte" / "Proj" / relative, "text\r\n");
    }
    // The test database with the given index section.
    SearchDatabase Database(const std::vector<std::string>& index) const {
        std::vector<std::string> lines = Header();
        lines.push_back("[DATENBANK]");
        lines.push_back(" ");
        lines.insert(lines.end(), index.begin(), index.end());
        return DatabaseOf(folder, testing::CrLf(lines));
    }

    ScratchFolder folder;
    RecordingHost host;
    RunFlags flags;
    std::vector<std::u16string> pageLines;
    PreparedQuery query;
    Lookup lookup;
};

struct MatchCase {
    std::string typed;
    std::vector<std::string> recorded;
};

class MatchModeTest : public ::testing::TestWithParam<MatchCase> {};

TEST_P(MatchModeTest, RecordsTheEntriesOfTheMatchMode) {
    Fixture f(GetParam().typed);
    SearchDatabase db = f.Database(kIndex);
    f.lookup.ScanWordEntries(db);
    EXPECT_EQ(Strings(f.lookup.CombinedEntries()), GetParam().recorded);
    EXPECT_EQ(f.host.pauses, 1);
}

INSTANTIATE_TEST_SUITE_P(
    Table, MatchModeTest,
    ::testing::Values(
        MatchCase{"haus", {"HAUS=3,7,"}}, MatchCase{"Haus*", {"HAUS=3,7,", "HAUSE=3,"}},
        MatchCase{"haus?", {"HAUS=3,7,", "HAUSE=3,"}},
        MatchCase{"*haus", {"HAUS=3,7,", "XHAUS=2,"}},
        // Both wildcards: an entry that begins with the word is recorded twice.
        MatchCase{"*haus*", {"HAUS=3,7,", "HAUS=3,7,", "HAUSE=3,", "HAUSE=3,", "XHAUS=2,"}},
        MatchCase{"*1", {"ABC1=9,"}}, MatchCase{"*1*", {"ABC1=9,", "Q=10,1,", "A=1,"}},
        MatchCase{"a", {}}, MatchCase{"hau", {}}, MatchCase{"baum haus", {"HAUS=3,7,", "BAUM=3,"}},
        MatchCase{"*", {}}));

TEST(EntryScanTest, LinesBeforeTheMarkerAndEmptyLinesAreIgnored) {
    Fixture f("*p3*");
    SearchDatabase db = f.Database({"", "XP3=1,"});
    f.lookup.ScanWordEntries(db);
    // The document lines "3 P3 ..." stand before "[DATENBANK]".
    EXPECT_EQ(Strings(f.lookup.CombinedEntries()), std::vector<std::string>{"XP3=1,"});
}

TEST(EntryScanTest, LowerCaseLinesAreUpperCasedAndRecordedUpperCase) {
    Fixture f("haus");
    SearchDatabase db = f.Database({"haus=4,"});
    f.lookup.ScanWordEntries(db);
    EXPECT_EQ(Strings(f.lookup.CombinedEntries()), std::vector<std::string>{"HAUS=4,"});
}

TEST(EntryScanTest, WithoutMarkerNothingIsFound) {
    Fixture f("*1*");
    SearchDatabase db = DatabaseOf(f.folder, testing::CrLf(Header()));
    f.lookup.ScanWordEntries(db);
    EXPECT_TRUE(f.lookup.CombinedEntries().empty());
}

TEST(EntryScanTest, AndKeepsOneListPerWord) {
    Fixture f("haus* baum", true);
    SearchDatabase db = f.Database(kIndex);
    f.lookup.ScanWordEntries(db);
    EXPECT_EQ(Strings(f.lookup.WordEntries(0)),
              (std::vector<std::string>{"HAUS=3,7,", "HAUSE=3,"}));
    EXPECT_EQ(Strings(f.lookup.WordEntries(1)), std::vector<std::string>{"BAUM=3,"});
    // Word 1 always goes to the combined list too.
    EXPECT_EQ(f.lookup.CombinedEntries().size(), 2u);
}

TEST(EntryScanTest, ContinuationLinesAreAppendedUpToOneHundred) {
    std::vector<std::string> index = {"AAL=1,5,"};
    for (int k = 6; k <= 106; ++k) index.push_back(std::to_string(k) + ",");  // 101 lines
    index.push_back("AALE=2,");
    Fixture f("aal");
    SearchDatabase db = f.Database(index);
    f.lookup.ScanWordEntries(db);
    ASSERT_EQ(f.lookup.CombinedEntries().size(), 1u);
    std::vector<std::u16string> numbers = EntryNumbers(f.lookup.CombinedEntries()[0]);
    ASSERT_EQ(numbers.size(), 102u);  // 1, 5 and the first 100 continuation lines
    EXPECT_EQ(numbers.back(), u"105");
}

TEST(EntryScanTest, ContinuationStopsAtTheNextEntry) {
    Fixture f("aal");
    SearchDatabase db = f.Database({"AAL=1,5,", "9,", " 11, ", "AALE=2,", "12,"});
    f.lookup.ScanWordEntries(db);
    EXPECT_EQ(Strings(f.lookup.CombinedEntries()), std::vector<std::string>{"AAL=1,5,9, 11,"});
}

TEST(EntryNumbersTest, PiecesAfterTheFirstEquals) {
    EXPECT_EQ(Strings(EntryNumbers(u"HAUS=3,,7,")), (std::vector<std::string>{"3", "7"}));
    EXPECT_EQ(Strings(EntryNumbers(u"9,11,")), (std::vector<std::string>{"9", "11"}));
    EXPECT_EQ(Strings(EntryNumbers(u"A=B=1,")), (std::vector<std::string>{"B=1"}));
    EXPECT_TRUE(EntryNumbers(u"HAUS=").empty());
}

TEST(TextCopyPathTest, DocumentLineAndRepeatedFolder) {
    Fixture f("haus");
    SearchDatabase db = DatabaseOf(
        f.folder, testing::CrLf({"[PFADLISTE]", "P2=C:\\DATEN\\SUB",
                                 "P3=", "17 P3 \\BERICHT.XML SIZE:2048 DATE:1234", "[DATENBANK]"}));
    EXPECT_EQ(f.lookup.TextCopyPathOf(db, u"17"),
              f.folder.Folders().textCopy + u"Proj\\C\\DATEN\\SUB\\BERICHT.txt");
    // Without a document line the path is built from the number and is never found.
    EXPECT_EQ(f.lookup.TextCopyPathOf(db, u"99"), f.folder.Folders().textCopy + u"Proj\\9999");
}

TEST(TextCopyPathTest, DriveRootFolder) {
    Fixture f("haus");
    SearchDatabase db =
        DatabaseOf(f.folder, testing::CrLf({"P1=D:", "1 P1 \\X.XML SIZE:1 DATE:1", "[DATENBANK]"}));
    EXPECT_EQ(f.lookup.TextCopyPathOf(db, u"1"), f.folder.Folders().textCopy + u"Proj\\D\\X.txt");
}

TEST(OrCollectionTest, DocumentInTwoEntriesCountsOnce) {
    Fixture f("haus baum");
    SearchDatabase db = f.Database(kIndex);
    f.lookup.ScanWordEntries(db);
    f.lookup.CollectAnyWord(db);
    ASSERT_EQ(f.lookup.Hits().size(), 2u);
    EXPECT_EQ(f.lookup.Hits()[0].textCopy,
              f.folder.Folders().textCopy + u"Proj\\C\\DATEN\\SUB\\C.txt");
    EXPECT_EQ(f.lookup.UniqueCount(), 2);
    EXPECT_EQ(f.lookup.HitCount(), 2);
    ASSERT_EQ(f.pageLines.size(), 5u);
    EXPECT_EQ(S(f.pageLines[2]), "wurden in 2 Datei(en) gefunden:");
    EXPECT_EQ(f.pageLines[3], u" ");
    EXPECT_EQ(f.pageLines[4], kSeparatorLine);
    EXPECT_TRUE(f.lookup.CombinedEntries().empty());
}

TEST(OrCollectionTest, LimitOneStopsAtTheSecondDocument) {
    Fixture f("haus");
    f.lookup.SetResultLimit(1);
    SearchDatabase db = f.Database(kIndex);
    f.lookup.ScanWordEntries(db);
    f.lookup.CollectAnyWord(db);
    EXPECT_EQ(f.lookup.Hits().size(), 1u);
    EXPECT_EQ(S(f.pageLines[2]), "wurde in 1 Datei(en) gefunden:");
    EXPECT_FALSE(f.flags.searchActive);
    EXPECT_FALSE(f.lookup.SawCancel());
}

TEST(OrCollectionTest, CancelRequestEndsAtTheNextDocument) {
    Fixture f("haus");
    f.flags.cancel = true;
    SearchDatabase db = f.Database(kIndex);
    f.lookup.ScanWordEntries(db);
    f.lookup.CollectAnyWord(db);
    EXPECT_TRUE(f.lookup.Hits().empty());
    EXPECT_FALSE(f.flags.cancel);
    EXPECT_FALSE(f.flags.searchActive);
    EXPECT_TRUE(f.lookup.SawCancel());
}

TEST(OrCollectionTest, InactiveSearchEndsAtTheFirstEntry) {
    Fixture f("haus");
    SearchDatabase db = f.Database(kIndex);
    f.lookup.ScanWordEntries(db);
    f.flags.searchActive = false;
    f.flags.cancel = true;
    f.lookup.CollectAnyWord(db);
    EXPECT_TRUE(f.lookup.Hits().empty());
    EXPECT_EQ(S(f.host.currentFile), "   Suche wurde abgebrochen! Treffer: 0");
    EXPECT_EQ(S(f.pageLines[2]), "wurde in 0 Datei(en) gefunden:");
    EXPECT_FALSE(f.flags.cancel);
}

TEST(AndCollectionTest, WildcardWordListsTheDocumentOncePerEntry) {
    Fixture f("haus* baum", true);
    f.TextCopy("c/daten/sub/c.txt");
    SearchDatabase db = f.Database(kIndex);
    f.lookup.ScanWordEntries(db);
    f.lookup.CollectAllWords(db);
    ASSERT_EQ(f.lookup.Hits().size(), 2u);
    EXPECT_EQ(f.lookup.Hits()[0].textCopy, f.lookup.Hits()[1].textCopy);
    EXPECT_EQ(f.lookup.HitCount(), 2);
    EXPECT_EQ(S(f.pageLines[2]), "wurden in 2 Datei(en) gefunden:");
    EXPECT_TRUE(f.lookup.FoundList().empty());
}

TEST(AndCollectionTest, MissingTextCopyIsSkippedAndTheRestListed) {
    Fixture f("haus x y", true);
    f.TextCopy("c/daten/sub/d.txt");  // the copy of document 7; the one of 3 is missing
    SearchDatabase db = f.Database({"HAUS=3,7,", "X=3,7,", "Y=3,7,"});
    f.lookup.ScanWordEntries(db);
    f.lookup.CollectAllWords(db);
    ASSERT_EQ(f.lookup.Hits().size(), 1u);
    EXPECT_EQ(f.lookup.Hits()[0].textCopy,
              f.folder.Folders().textCopy + u"Proj\\C\\DATEN\\SUB\\D.txt");
    EXPECT_EQ(f.lookup.UniqueCount(), 2);
}

TEST(AndCollectionTest, LimitListsWhatWasFound) {
    Fixture f("haus* baum", true);
    f.lookup.SetResultLimit(1);
    f.TextCopy("c/daten/sub/c.txt");
    SearchDatabase db = f.Database(kIndex);
    f.lookup.ScanWordEntries(db);
    f.lookup.CollectAllWords(db);
    EXPECT_EQ(f.lookup.Hits().size(), 1u);
    EXPECT_FALSE(f.flags.searchActive);
    EXPECT_EQ(S(f.pageLines[2]), "wurden in 1 Datei(en) gefunden:");
}

TEST(AndCollectionTest, InactiveSearchListsNothing) {
    Fixture f("haus baum", true);
    SearchDatabase db = f.Database(kIndex);
    f.lookup.ScanWordEntries(db);
    f.flags.searchActive = false;
    f.lookup.CollectAllWords(db);
    EXPECT_TRUE(f.lookup.Hits().empty());
    EXPECT_EQ(f.pageLines.size(), 2u);  // the count head is never written
    EXPECT_EQ(S(f.host.currentFile), "   Suche wurde abgebrochen! Treffer: 0");
}

TEST(AndCollectionTest, FiveWords) {
    Fixture f("a1 a2 a3 a4 a5", true);
    f.TextCopy("c/daten/sub/d.txt");
    SearchDatabase db = f.Database({"A1=3,7,", "A2=7,", "A3=1,7,", "A4=7,9,", "A5=2,7,", "A5=7,"});
    f.lookup.ScanWordEntries(db);
    f.lookup.CollectAllWords(db);
    // Document 7 is in one entry of words 1 to 4 and in two entries of word 5.
    EXPECT_EQ(f.lookup.HitCount(), 2);
    EXPECT_EQ(f.lookup.Hits().size(), 2u);
}

}  // namespace
}  // namespace vx::search

namespace vx::search {
namespace {

TEST(SearchDatabaseTest, HeaderEndsWithTheMarkerLine) {
    struct Case {
        std::string text;
        std::vector<std::string> header;
        std::optional<uint64_t> marker;
    };
    ScratchFolder folder;
    for (const Case& c : {
             Case{"P1=C:\r\n1 P1 \\A[DATENBANK].XML\r\n [DATENBANK] \r\nA=1,\r\n\r\n",
                  {"P1=C:", "1 P1 \\A[DATENBANK].XML", " [DATENBANK] "},
                  31},
             Case{"\xEF\xBB\xBFP1=C:\n[DATENBANK]\rA=1,\nB=2,", {"P1=C:", "[DATENBANK]"}, 9},
             Case{"P1=C:\r\nA=1,\r\n", {"P1=C:", "A=1,"}, std::nullopt},
             Case{"", {}, std::nullopt},
         }) {
        SearchDatabase db = DatabaseOf(folder, c.text);
        EXPECT_EQ(Strings(db.Header().Lines()), c.header) << c.text;
        EXPECT_EQ(db.MarkerOffset(), c.marker) << c.text;
    }
}

}  // namespace
}  // namespace vx::search
