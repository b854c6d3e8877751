// Indexes a small corpus with vantor-xml-cli and compares whole result pages with the expected
// files in the data folder (the scratch folder's path replaced by "@DIR@").
#include <gtest/gtest.h>

#include <cstdlib>

#include "test_support.h"

namespace vx::search {
namespace {

using testing::ReadBytes;
using testing::ScratchFolder;
using testing::WriteBytes;

class EndToEndTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        folder_ = new ScratchFolder();
        const auto corpus = folder_->Path() / "corpus";
        WriteBytes(corpus / "Bericht.xml",
                   "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                   "<bericht><titel>Das Haus am See</titel>\n"
                   "<absatz>Vor dem Haus steht ein alter Baum.</absatz>\n"
                   "<absatz>Pfad: C:\\Daten\\Haus.txt</absatz></bericht>\n");
        WriteBytes(corpus / "Unterordner" / "Notiz.xml",
                   "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                   "<notiz><text>Hausboot &amp; Baumhaus &lt;b&gt;fett&lt;/b&gt;</text>\n"
                   "<text>Häuser und Bäume</text></notiz>\n");
        WriteBytes(corpus / "Unterordner" / "Liste.xml",
                   "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                   "<liste><eintrag>Baum</eintrag><eintrag>Gartenhaus</eintrag></liste>\n");
        std::filesystem::create_directories(Work());
        created_ = Cli("create Korpus '" + corpus.string() + "' --yes") == 0;
    }
    static void TearDownTestSuite() {
        delete folder_;
        folder_ = nullptr;
    }

    static std::filesystem::path Work() { return folder_->Path() / "work"; }
    static int Cli(const std::string& arguments) {
        const std::string command = "cd '" + Work().string() + "' && '" VX_CLI_PATH "' " +
                                    arguments + " >'" + (folder_->Path() / "out.txt").string() +
                                    "' 2>&1";
        int status = std::system(command.c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    static std::string Output() { return ReadBytes(folder_->Path() / "out.txt"); }
    // The page with the scratch folder's path replaced.
    static std::string Page() {
        std::string page = ReadBytes(Work() / "VT_Ergebnis.htm");
        const std::string dir = folder_->Path().string();
        for (std::size_t at = page.find(dir); at != std::string::npos; at = page.find(dir, at)) {
            page.replace(at, dir.size(), "@DIR@");
        }
        return page;
    }

    static inline ScratchFolder* folder_ = nullptr;
    static inline bool created_ = false;
};

struct PageCase {
    std::string arguments;
    std::string expectedFile;
    std::vector<std::string> hits;  // documents printed, relative to the corpus
};

class ResultPageFileTest : public EndToEndTest, public ::testing::WithParamInterface<PageCase> {};

TEST_P(ResultPageFileTest, WholePageAsExpected) {
    ASSERT_TRUE(created_) << Output();
    const PageCase& c = GetParam();
    ASSERT_EQ(Cli("search Korpus " + c.arguments), 0) << Output();
    EXPECT_EQ(Page(), ReadBytes(std::filesystem::path(VX_TEST_DATA) / c.expectedFile));
    std::string expectedOutput;
    for (const std::string& hit : c.hits) {
        expectedOutput += (folder_->Path() / "corpus" / hit).string() + "\n";
    }
    const std::string output = Output();
    ASSERT_NE(output.find('\n'), std::string::npos);
    EXPECT_EQ(output.substr(output.find('\n') + 1), expectedOutput);
}

INSTANTIATE_TEST_SUITE_P(
    Searches, ResultPageFileTest,
    ::testing::Values(PageCase{"haus", "one_word.htm", {"Bericht.xml"}},
                      PageCase{"--and 'haus*' baum", "and.htm", {"Bericht.xml"}},
                      PageCase{"'*haus*'",
                               "wildcard.htm",
                               {"Unterordner/Notiz.xml", "Unterordner/Liste.xml", "Bericht.xml"}},
                      PageCase{"--phrase vor dem haus", "phrase.htm", {"Bericht.xml"}}));

TEST_F(EndToEndTest, RefusalsAndHistory) {
    ASSERT_TRUE(created_) << Output();
    struct Case {
        std::string arguments;
        int status;
        std::string message;
    };
    for (const Case& c : {
             Case{"Unbekannt haus", 2, "Die Datenbank \"Unbekannt\" existiert nicht!"},
             Case{"Korpus a b c d e f", 2, "Sie haben 6 eingetragen!"},
             Case{"Korpus --phrase '*a?'", 2, "Einzelne Buchstaben"},
             Case{"Korpus --limit 51 haus", 2, "--limit braucht eine ganze Zahl von 1 bis 50"},
             Case{"Korpus --none haus baum", 1, "wurde in 0 Datei gefunden."},
             Case{"Korpus haus", 0, "wurde in 1 Datei gefunden. Datenbankname: \"Korpus.dat\""},
         }) {
        EXPECT_EQ(Cli("search " + c.arguments), c.status) << c.arguments;
        EXPECT_NE(Output().find(c.message), std::string::npos) << c.arguments << ": " << Output();
    }
    // Newest first; the refused searches never reached the history.
    std::string history = ReadBytes(Work() / "Suchwoerterliste.txt");
    EXPECT_EQ(history.substr(0, 2), "\xFF\xFE");
    EXPECT_EQ(history.substr(2, 10), std::string("h\0a\0u\0s\0\r\0", 10));
    EXPECT_EQ(history.find(std::string("a\0 \0b\0", 6)), std::string::npos);
}

TEST_F(EndToEndTest, DamagedDatabaseEndsWithStatusTwo) {
    ASSERT_TRUE(created_) << Output();
    WriteBytes(Work() / "Datenbank" / "Kaputt.dat", "[DATENBANK]\r\nHAUS=1,\r\n");
    EXPECT_EQ(Cli("search Kaputt haus"), 2);
    EXPECT_NE(Output().find("Datenbank ist beschädigt! Indizieren Sie die Datenbank noch mal neu. "
                            "Programm wird beendet!"),
              std::string::npos);
    std::filesystem::remove(Work() / "Datenbank" / "Kaputt.dat");
}

}  // namespace
}  // namespace vx::search
