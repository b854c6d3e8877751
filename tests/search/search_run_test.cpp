#include <gtest/gtest.h>

#include "search/html_text.h"
#include "search/result_page.h"
#include "search/search_database.h"
#include "search/search_run.h"
#include "test_support.h"

namespace vx::search {
namespace {

using testing::CrLf;
using testing::RecordingHost;
using testing::S;
using testing::ScratchFolder;
using testing::U;

struct Doc {
    std::string name;  // file name in the docs folder
    std::string text;  // content of its text copy
};

class SearchRunTest : public ::testing::Test {
  protected:
    // Writes the documents, their text copies and the database file "Proj.dat" whose index
    // section holds the given lines (document numbers count from 1 in the order of docs).
    void MakeDatabase(const std::vector<Doc>& docs, const std::vector<std::string>& index,
                      const std::string& scanMask = "TEXTDATEIENPFAD=Z:\\DOCS\\*.XML") {
        const std::string docsFolder = S(platform::UpperCase(folder.Windows() + u"docs"));
        std::vector<std::string> lines = {"[SCANMASKE]", scanMask, "", "", "[PFADLISTE]", ""};
        for (std::size_t i = 0; i < docs.size(); ++i) {
            lines.push_back("P" + std::to_string(i + 1) + "=" + (i == 0 ? docsFolder : ""));
        }
        for (std::size_t i = 0; i < docs.size(); ++i) {
            std::string upper = S(platform::UpperCase(U(docs[i].name)));
            lines.push_back(std::to_string(i + 1) + " P" + std::to_string(docs.size()) + " \\" +
                            upper + " SIZE:4 DATE:1");
            testing::WriteBytes(folder.Path() / "docs" / docs[i].name, "<a/>");
            std::string copy = docs[i].name.substr(0, docs[i].name.size() - 4) + ".txt";
            std::filesystem::path copyPath = folder.Path() / "XML_Texte" / "Proj" / "Z";
            copyPath += folder.Path();
            testing::WriteBytes(copyPath / "docs" / copy, docs[i].text);
        }
        lines.insert(lines.end(), {" ", " ", "GESAMTGRÖßE DER INDIZIERTEN DATEIEN IN BYTE: 4 BYTES",
                                   " ", "[DATENBANK]", " "});
        lines.insert(lines.end(), index.begin(), index.end());
        WriteDatabase(CrLf(lines));
    }
    void WriteDatabase(const std::string& bytes) {
        testing::WriteBytes(folder.Path() / "Datenbank" / "Proj.dat", bytes);
    }

    SearchResult Run(const std::string& text, SearchOptions options = {}) {
        SearchRun run(host, flags, folder.Folders(), history);
        SearchResult result = run.Run(U(text), options, u"Proj");
        page.clear();
        for (const std::u16string& line : run.PageLines()) page.push_back(S(line));
        return result;
    }
    std::string DocPath(const std::string& name) const {
        return (folder.Path() / "docs" / name).string();
    }
    std::string DisplayOf(const std::string& name) const {
        return S(platform::UpperCase(folder.Windows() + u"docs\\" + U(name)));
    }
    int Count(const std::string& line) const {
        return static_cast<int>(std::count(page.begin(), page.end(), line));
    }
    std::string PageFile() const { return testing::ReadBytes(folder.Path() / "VT_Ergebnis.htm"); }

    ScratchFolder folder;
    RecordingHost host;
    RunFlags flags;
    SearchHistory history;
    std::vector<std::string> page;
};

const std::string kOpen = "<font color=\"#cc0000\"><u>";
const std::string kClose = "</u><font color=\"#000000\" >";

TEST_F(SearchRunTest, OneWordFindsAndReports) {
    MakeDatabase({{"a.xml", "Das Haus am See.\r\n"}, {"b.xml", "nichts\r\n"}},
                 {"HAUS=1,", "NICHTS=2,"});
    SearchResult result = Run("Haus");
    EXPECT_EQ(result.outcome, SearchOutcome::Finished);
    EXPECT_FALSE(result.limitReached);
    EXPECT_EQ(result.hitPaths, std::vector<std::string>{DocPath("a.xml")});
    EXPECT_EQ(S(result.countLine), "wurde in 1 Datei gefunden. Datenbankname: \"Proj.dat\"");
    std::vector<std::string> expected = {
        "Der Suchbegriff: " + kOpen,
        "Haus" + kClose + "<br>",
        "wurde in 1 Datei gefunden. Datenbankname: \"Proj.dat\"",
        " ",
        S(kSeparatorLine),
        " <br> ",
        DisplayOf("a.xml"),
        "<br>... Das " + kOpen + "Haus" + kClose + " am See <br></u>",
        " "};
    EXPECT_EQ(page, expected);
    EXPECT_EQ(S(host.status), "Fertig mit Suche.");
    EXPECT_NE(std::find(host.statusHistory.begin(), host.statusHistory.end(), u"Suche läuft."),
              host.statusHistory.end());
    EXPECT_EQ(host.controls, RunControls::Idle);
    EXPECT_FALSE(host.patience);
    EXPECT_FALSE(flags.searchActive);
    EXPECT_FALSE(flags.cancel);
    EXPECT_EQ(host.opened.size(), 1u);
    EXPECT_NE(PageFile().find("href=\"" + FileUrl(DocPath("a.xml"))), std::string::npos);
    EXPECT_EQ(history.Items(), std::vector<std::u16string>{u"Haus"});
    EXPECT_EQ(testing::ReadBytes(folder.Path() / "Suchwoerterliste.txt").substr(0, 2), "\xFF\xFE");
}

TEST_F(SearchRunTest, TwoWordsInOneDocumentShowThePathInEachBlockAndCountOnce) {
    MakeDatabase({{"a.xml", "haus\r\nbaum\r\n"}}, {"HAUS=1,", "BAUM=1,"});
    SearchResult result = Run("haus baum");
    EXPECT_EQ(Count(DisplayOf("a.xml")), 2);
    EXPECT_EQ(S(result.countLine), "wurde in 1 Datei gefunden. Datenbankname: \"Proj.dat\"");
    EXPECT_EQ(page[0], "Die ODER-verknüpften Suchbegriffe: " + kOpen);
}

TEST_F(SearchRunTest, WordWithoutContextShowsTheNote) {
    MakeDatabase({{"a.xml", "baum\r\n"}}, {"HAUS=1,", "BAUM=1,"});
    struct Case {
        std::string text;
        int paths;  // the note of an exact word no longer holds "Kein Kontext enthalten!"
        std::string note;
    };
    for (const Case& c :
         {Case{"haus baum", 2, " ... " + kOpen + "HAUS" + kClose + " Nicht gefunden! <br>"},
          Case{"haus* baum", 1, " ... <u>HAUS</u> Kein Kontext enthalten! Nicht gefunden! <br>"}}) {
        SearchResult result = Run(c.text);
        EXPECT_EQ(Count(DisplayOf("a.xml")), c.paths) << c.text;
        EXPECT_EQ(Count(c.note), 1) << c.text;
        EXPECT_EQ(S(result.countLine), "wurde in 1 Datei gefunden. Datenbankname: \"Proj.dat\"");
    }
}

TEST_F(SearchRunTest, ResultLimitOneEndsWithTheLimitText) {
    MakeDatabase({{"a.xml", "haus\r\n"}, {"b.xml", "haus\r\n"}}, {"HAUS=1,2,"});
    SearchOptions options;
    options.resultLimit = 1;
    SearchResult result = Run("haus", options);
    EXPECT_TRUE(result.limitReached);
    EXPECT_EQ(result.outcome, SearchOutcome::Finished);
    EXPECT_EQ(S(result.countLine),
              "wurde in 1 Datei(en) gefunden. Eingestellte Anzahl maximale Ergebnisse anzeigen "
              "erreicht. Suche wurde abgebrochen!");
    EXPECT_EQ(result.hitPaths.size(), 1u);
    EXPECT_FALSE(flags.searchActive);
    EXPECT_FALSE(flags.cancel);
    EXPECT_EQ(host.controls, RunControls::Idle);
    EXPECT_EQ(S(host.status), "Fertig mit Suche.");
}

TEST_F(SearchRunTest, ResultLimitOutsideTheRangeIsClamped) {
    std::vector<Doc> docs;
    std::string numbers;
    for (int i = 1; i <= 55; ++i) {
        docs.push_back({"d" + std::to_string(i) + ".xml", "haus\r\n"});
        numbers += std::to_string(i) + ",";
    }
    MakeDatabase(docs, {"HAUS=" + numbers});
    struct Case {
        int limit;
        std::size_t hits;
    };
    for (const Case& c : {Case{0, 1}, Case{-7, 1}, Case{51, 50}, Case{1000, 50}}) {
        SearchOptions options;
        options.resultLimit = c.limit;
        SearchResult result = Run("haus", options);
        EXPECT_EQ(result.hitPaths.size(), c.hits) << c.limit;
        EXPECT_TRUE(result.limitReached) << c.limit;
    }
}

TEST_F(SearchRunTest, LongHitListWritesIntermediatePages) {
    std::vector<Doc> docs;
    std::string numbers;
    for (int i = 1; i <= 13; ++i) {
        docs.push_back({"d" + std::to_string(i) + ".xml", "haus\r\n"});
        numbers += std::to_string(i) + ",";
    }
    MakeDatabase(docs, {"HAUS=" + numbers});
    SearchResult result = Run("haus");
    EXPECT_EQ(host.opened.size(), 2u);  // at the sixth hit, and the final page
    EXPECT_EQ(S(result.countLine), "wurde in 13 Datei(en) gefunden. Datenbankname: \"Proj.dat\"");
    EXPECT_EQ(result.hitPaths.size(), 13u);
}

TEST_F(SearchRunTest, AndWithWildcardListsTheDocumentTwiceButCountsItOnce) {
    MakeDatabase({{"a.xml", "Haus und Hause am Baum\r\n"}}, {"HAUS=1,", "HAUSE=1,", "BAUM=1,"});
    SearchOptions options;
    options.und = true;
    options.oder = false;
    SearchResult result = Run("haus* baum", options);
    EXPECT_EQ(page[0], "Die UND-verknüpften Suchbegriffe: " + kOpen);
    EXPECT_EQ(Count(DisplayOf("a.xml")), 4);  // two hits, two words each
    EXPECT_EQ(S(result.countLine), "wurde in 1 Datei gefunden. Datenbankname: \"Proj.dat\"");
}

TEST_F(SearchRunTest, PhraseIsLookedForInTheContext) {
    MakeDatabase({{"a.xml", "vor dem Haus am See\r\n"}, {"b.xml", "am\r\nHaus\r\n"}},
                 {"HAUS=1,2,", "AM=1,2,"});
    SearchOptions options;
    options.phrase = options.und = true;
    options.oder = false;
    SearchResult result = Run("haus am", options);
    EXPECT_EQ(Count(DisplayOf("a.xml")), 1);
    EXPECT_EQ(Count("<br>... vor dem " + kOpen + "Haus am" + kClose + " See <br></u>"), 1);
    EXPECT_EQ(Count(kOpen + "haus am" + kClose + " Kein Kontext enthalten!"), 1);
    // Found is only the document with the phrase on a line; the page lists both.
    EXPECT_EQ(result.hitPaths.size(), 1u);
    EXPECT_EQ(result.allWordsDocuments, 2u);
}

TEST_F(SearchRunTest, BothOptionsOffWithTwoWordsWritesAnEmptyResult) {
    MakeDatabase({{"a.xml", "haus\r\n"}}, {"HAUS=1,", "BAUM=1,"});
    SearchOptions options;
    options.und = options.oder = false;
    SearchResult result = Run("haus baum", options);
    EXPECT_EQ(result.outcome, SearchOutcome::Finished);
    EXPECT_TRUE(result.hitPaths.empty());
    ASSERT_EQ(page.size(), 5u);
    EXPECT_EQ(S(result.countLine), "wurde in 0 Datei gefunden. Datenbankname: \"Proj.dat\"");
    EXPECT_NE(PageFile().find("wurde in 0 Datei gefunden."), std::string::npos);
}

TEST_F(SearchRunTest, DamagedOrMissingDatabase) {
    MakeDatabase({{"a.xml", "haus\r\n"}}, {"HAUS=1,"}, "TEXTDATEIENPFAD=");
    EXPECT_EQ(Run("haus").outcome, SearchOutcome::DamagedDatabase);
    EXPECT_FALSE(flags.searchActive);
    WriteDatabase(CrLf({"[DATENBANK]", "HAUS=1,"}));
    EXPECT_EQ(Run("haus").outcome, SearchOutcome::DamagedDatabase);
    std::filesystem::remove(folder.Path() / "Datenbank" / "Proj.dat");
    EXPECT_EQ(Run("haus").outcome, SearchOutcome::DamagedDatabase);
    // A path line longer than any path can be: damaged, found without holding it once per hit.
    const std::string longFolder = "P2=Z:\\" + std::string(kMaxHeaderLineUnits, 'X');
    WriteDatabase(CrLf({"[SCANMASKE]", "TEXTDATEIENPFAD=Z:\\X\\*.XML", "[PFADLISTE]", "P1=Z:\\A",
                        longFolder, "1 P1 \\A.XML SIZE:1 DATE:1", "[DATENBANK]", "HAUS=1,"}));
    EXPECT_EQ(Run("haus").outcome, SearchOutcome::DamagedDatabase);
}

TEST_F(SearchRunTest, BadDatabaseFilesNeitherCrashNorHang) {
    MakeDatabase({{"a.xml", "haus\r\n"}}, {});
    const std::string head = CrLf({"[SCANMASKE]", "TEXTDATEIENPFAD=Z:\\X\\*.XML", "[PFADLISTE]",
                                   "P1=" + S(platform::UpperCase(folder.Windows() + u"docs")),
                                   "1 P1 \\A.XML SIZE:1 DATE:1"});
    struct Case {
        std::string name;
        std::string bytes;
        std::size_t hits;
    };
    const std::string longLine = "HAUS=1," + std::string(10 * 1024 * 1024, '7') + ",";
    for (const Case& c : {
             Case{"truncated", head + "[DATENBANK]\r\nHAUS=1,\r\nHAU", 1},
             Case{"truncated in the marker", head + "[DATENB", 0},
             Case{"without marker", head + "HAUS=1,\r\n", 0},
             Case{"invalid UTF-8", head + "[DATENBANK]\r\n\xFF\xFEHAUS=1,\r\nHAUS=\xC3(1,\r\n", 1},
             Case{"ten megabyte line", head + "[DATENBANK]\r\n" + longLine + "\r\n", 1},
         }) {
        WriteDatabase(c.bytes);
        SearchResult result = Run("*haus*");
        EXPECT_EQ(result.outcome, SearchOutcome::Finished) << c.name;
        EXPECT_EQ(result.hitPaths.size(), c.hits) << c.name;
        EXPECT_NE(PageFile().find("Datenbankname"), std::string::npos) << c.name;
    }
}

TEST_F(SearchRunTest, MissingAndBinaryTextCopiesGiveNoBlockOrANote) {
    MakeDatabase({{"a.xml", std::string("\x00\x01\xFF\xFE\x80 haus", 10)}, {"b.xml", "x"}},
                 {"HAUS=1,2,3,"});
    std::filesystem::remove_all(folder.Path() / "XML_Texte" / "Proj" / "Z" /
                                folder.Path().relative_path() / "docs" / "b.txt");
    SearchResult result = Run("haus");
    EXPECT_EQ(result.hitPaths, std::vector<std::string>{DocPath("a.xml")});
    EXPECT_EQ(S(result.countLine), "wurde in 1 Datei gefunden. Datenbankname: \"Proj.dat\"");
}

TEST_F(SearchRunTest, SearchTextAndDocumentTextAreEscaped) {
    MakeDatabase({{"a.xml", "<script>alert(1)</script> a&b \"q\"\r\n"}}, {"A&B=1,"});
    SearchResult result = Run("<script>x</script> a&b");
    std::string file = PageFile();
    EXPECT_EQ(file.find("<script>"), std::string::npos);
    EXPECT_NE(file.find("&lt;script&gt;x&lt;/script&gt; a&amp;b</u>"), std::string::npos);
    EXPECT_NE(file.find("&lt;script&gt;alert(1)&lt;/script&gt; " + kOpen + "a&amp;b" + kClose +
                        " &quot;q&quot;"),
              std::string::npos);
    EXPECT_EQ(result.hitPaths.size(), 1u);
}

TEST_F(SearchRunTest, OddSearchTexts) {
    MakeDatabase({{"a.xml", "haus\r\n"}}, {"HAUS=1,"});
    struct Case {
        std::string text;
        std::size_t hits;
    };
    for (const Case& c :
         {Case{"* ? ** *?", 0}, Case{"a b c d e haus", 0}, Case{"haus b c d e f", 1},
          Case{std::string(10000, 'h'), 0}, Case{"Sie_haben_keinen_Suchtext_eingegeben!", 0}}) {
        SearchResult result = Run(c.text);
        EXPECT_EQ(result.outcome, SearchOutcome::Finished) << c.text.substr(0, 20);
        EXPECT_EQ(result.hitPaths.size(), c.hits) << c.text.substr(0, 20);
    }
    // The placeholder never stays in the history.
    EXPECT_EQ(std::count(history.Items().begin(), history.Items().end(),
                         std::u16string(kPlaceholderText)),
              0);
    EXPECT_EQ(history.Items().size(), 4u);
}

TEST_F(SearchRunTest, CancelDuringTheLookupEndsTheRunNormally) {
    MakeDatabase({{"a.xml", "haus\r\n"}}, {"HAUS=1,"});
    host.onPause = [&] {
        flags.searchActive = false;
        flags.cancel = true;
    };
    SearchResult result = Run("haus");
    EXPECT_EQ(result.outcome, SearchOutcome::Cancelled);
    EXPECT_EQ(S(host.currentFile), "   Suche wurde abgebrochen! Treffer: 0");
    EXPECT_TRUE(result.hitPaths.empty());
    EXPECT_FALSE(flags.cancel);
    EXPECT_EQ(S(host.status), "Fertig mit Suche.");
}

// A cancelled indexing run leaves its cancel request; the next search is not the one cancelled.
TEST_F(SearchRunTest, ACancelRequestOfAnEarlierRunDoesNotStopTheSearch) {
    MakeDatabase({{"a.xml", "haus\r\n"}}, {"HAUS=1,"});
    flags.cancel = true;
    SearchResult result = Run("haus");
    EXPECT_EQ(result.outcome, SearchOutcome::Finished);
    EXPECT_EQ(result.hitPaths, std::vector<std::string>{DocPath("a.xml")});
}

TEST_F(SearchRunTest, PathsOutsideTheAnsiCodePageStayIntact) {
    MakeDatabase({{"ωmega.xml", "haus\r\n"}}, {"HAUS=1,"});
    SearchResult result = Run("haus");
    EXPECT_EQ(Count(DisplayOf("ωmega.xml")), 1);
    EXPECT_EQ(result.hitPaths, std::vector<std::string>{DocPath("ωmega.xml")});
}

}  // namespace
}  // namespace vx::search

namespace vx::search {
namespace {

TEST_F(SearchRunTest, PageThatCannotBeWrittenEndsTheRunWithItsFlagsCleared) {
    MakeDatabase({{"a.xml", "haus\r\n"}}, {"HAUS=1,"});
    std::filesystem::create_directories(folder.Path() / "VT_Ergebnis.htm");
    EXPECT_THROW(Run("haus"), std::exception);
    EXPECT_FALSE(flags.searchActive);
    EXPECT_FALSE(flags.cancel);
    EXPECT_FALSE(host.patience);
    EXPECT_TRUE(host.opened.empty());
}

}  // namespace
}  // namespace vx::search
