// The contract of vantor-xml-cli with scripts: exit statuses, options anywhere before "--",
// answers from a pipe, the machine-readable outputs and the opener of --open.

#include <filesystem>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "cli/database_row.h"
#include "cli/json_text.h"
#include "common/cli_process.h"
#include "common/file_bytes.h"
#include "common/scratch_directory.h"
#include "platform/collation.h"

namespace vx::cli {
namespace {

namespace fs = std::filesystem;

using vx::testing::CliResult;
using vx::testing::ReadBytes;
using vx::testing::WriteBytes;

class CliContractTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        scratch_ = new vx::testing::ScratchDirectory("vx-cli-");
        WriteBytes(Corpus() / "a.xml", "<r>Haus Baum</r>");
        WriteBytes(Corpus() / "b.xml", "<r>Haus am See</r>");
        WriteBytes(Corpus() / "unter" / "c.xml", "<r>Zelt</r>");
        fs::create_directories(Root() / "leer");
        created_ = Run({"create", "Korpus", Corpus().string(), "--yes"}).status == 0;
    }
    static void TearDownTestSuite() {
        delete scratch_;
        scratch_ = nullptr;
    }
    void SetUp() override { ASSERT_TRUE(created_); }

    static fs::path Root() { return scratch_->Path(); }
    static fs::path Corpus() { return Root() / "korpus"; }
    static fs::path Work() { return Root() / "wd"; }

    // Runs the tool in the working folder with the given standard input; environment settings
    // ("PATH=...") go before the program.
    static CliResult Run(const std::vector<std::string>& args, const std::string& input = "",
                         const std::string& environment = "") {
        WriteBytes(Root() / "in.txt", input);
        return vx::testing::RunCliIn(Root(), args, (Root() / "in.txt").string(), environment);
    }

    static inline vx::testing::ScratchDirectory* scratch_ = nullptr;
    static inline bool created_ = false;
};

TEST_F(CliContractTest, ExitStatuses) {
    const std::string corpus = Corpus().string();
    const std::string empty = (Root() / "leer").string();
    const struct {
        std::vector<std::string> args;
        int status;
    } cases[] = {
        {{"search", "Korpus", "haus"}, 0},
        {{"search", "Korpus", "zzz"}, 1},
        {{"search", "Korpus", "haus", "zzz", "--and"}, 1},
        {{"search", "Korpus", "baum", "haus", "--phrase"}, 1},  // both words, not as a phrase
        {{"search", "korpus", "haus"}, 0},  // the name in another letter case, as reindex takes it
        {{"search", "Korpus", " "}, 2},     // no search text
        {{"search", "Korpus", "*?", "--phrase"}, 2},
        {{"search", "Korpus", "haus", "--bogus"}, 2},
        {{"search", "Korpus", "haus", "--limit", "0"}, 2},
        {{"search", "Korpus", "haus", "--limit"}, 2},
        {{"search", "Korpus", "haus", "--and", "--or"}, 2},
        {{"search", "Korpus", "haus", "--json", "--paths"}, 2},
        {{"search", "Korpus", "a", "b", "c", "d", "e", "f"}, 2},  // more than five words
        {{"search", "Korpus", "a", "--phrase"}, 2},               // one letter as a phrase
        {{"search", "Korpus"}, 2},
        {{"search", "Fehlt", "haus"}, 2},
        {{"create", "Korpus", corpus, "--yes"}, 2},  // the name exists
        {{"create", "Neu", (Root() / "fehlt").string(), "--yes"}, 2},
        {{"create", "Leer", empty, "--yes"}, 2},  // no XML documents
        {{"create", "Pro:jekt", corpus, "--yes"}, 2},
        {{"reindex", "Fehlt", "--yes"}, 2},
        {{"words", "Fehlt"}, 2},
        {{"list", "zuviel"}, 2},
        {{"gibtsnicht"}, 2},
        {{}, 2},
        {{"--version"}, 0},
        {{"search", "--version"}, 0},
        {{"words", "Korpus", "--help"}, 0},
    };
    for (const auto& c : cases) {
        std::string line;
        for (const auto& arg : c.args) line += arg + " ";
        SCOPED_TRACE(line);
        const CliResult result = Run(c.args);
        EXPECT_EQ(result.status, c.status) << result.err;
        if (c.status == 2) {
            EXPECT_FALSE(result.err.empty());
        }
    }
}

TEST_F(CliContractTest, OptionsMayStandAnywhereBeforeTheDoubleDash) {
    const CliResult expected = Run({"search", "Korpus", "--and", "haus", "baum"});
    ASSERT_EQ(expected.status, 0) << expected.err;
    EXPECT_EQ(expected.out, "wurde in 1 Datei gefunden. Datenbankname: \"Korpus.dat\"\n" +
                                (Corpus() / "a.xml").string() + "\n");
    const std::vector<std::vector<std::string>> orders = {
        {"search", "Korpus", "haus", "baum", "--and"},
        {"search", "Korpus", "haus", "--and", "baum"},
        {"search", "--and", "Korpus", "haus", "baum"},
        {"search", "Korpus", "haus", "baum", "--and", "--limit", "5"},
        {"search", "Korpus", "haus", "baum", "--limit=5", "--and"},
    };
    for (const auto& args : orders) EXPECT_EQ(Run(args).out, expected.out) << args[3];
    // After "--" an option is search text: "--and" is looked for and not found.
    const CliResult text = Run({"search", "Korpus", "--", "--and"});
    EXPECT_EQ(text.status, 1) << text.err;
}

TEST_F(CliContractTest, AnswersComeFromStandardInput) {
    const struct {
        const char* input;
        bool starts;
    } cases[] = {
        {"j\n", true},  {"ja\n", true},    {" Ja \n", true},
        {"n\n", false}, {"", false},  // end of input
        {"y\n", false}, {"jaja\n", false},
    };
    int number = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.input);
        const std::string name = "Frage" + std::to_string(++number);
        const CliResult result = Run({"create", name, Corpus().string()}, c.input);
        EXPECT_EQ(result.status, c.starts ? 0 : 2) << result.err;
        EXPECT_NE(result.err.find("Möchten Sie mit der Indizierung beginnen ? [j/n]"),
                  std::string::npos);
        EXPECT_EQ(fs::exists(Work() / "Datenbank" / (name + ".dat")), c.starts);
    }
    const CliResult declined = Run({"reindex", "Korpus"}, "nein\n");
    EXPECT_EQ(declined.status, 2);
    EXPECT_FALSE(fs::exists(Work() / "Datenbank" / "Korpus.old"));
}

TEST_F(CliContractTest, MachineReadableOutputs) {
    const std::string a = (Corpus() / "a.xml").string();
    const std::string b = (Corpus() / "b.xml").string();
    const struct {
        std::vector<std::string> args;
        std::string out;
    } cases[] = {
        {{"search", "Korpus", "haus", "--paths"}, a + "\n" + b + "\n"},
        {{"search", "Korpus", "-0", "haus"}, a + '\0' + b + '\0'},
        {{"search", "Korpus", "zzz", "--paths"}, ""},
        {{"search", "Korpus", "baum", "see", "--json"},
         "{\"database\":\"Korpus\",\"query\":\"baum see\",\"mode\":\"or\",\"limit\":50,"
         "\"count\":2,\"limitReached\":false,\"hits\":[{\"path\":\"" +
             a + "\",\"context\":[\"Haus Baum\"]},{\"path\":\"" + b +
             "\",\"context\":[\"Haus am See\"]}]}\n"},
        {{"search", "Korpus", "--json", "--limit", "1", "--phrase", "haus am"},
         "{\"database\":\"Korpus\",\"query\":\"haus am\",\"mode\":\"phrase\",\"limit\":1,"
         "\"count\":1,\"allWords\":1,\"limitReached\":true,\"hits\":[{\"path\":\"" +
             b + "\",\"context\":[\"Haus am See\"]}]}\n"},
        // a.xml holds both words but not "baum haus" on a line: the page lists it, nothing else.
        {{"search", "Korpus", "--phrase", "baum haus", "--paths"}, ""},
        {{"search", "Korpus", "-0", "--phrase", "baum haus"}, ""},
        {{"search", "Korpus", "--phrase", "baum haus", "--json"},
         "{\"database\":\"Korpus\",\"query\":\"baum haus\",\"mode\":\"phrase\",\"limit\":50,"
         "\"count\":0,\"allWords\":1,\"limitReached\":false,\"hits\":[]}\n"},
    };
    for (const auto& c : cases) {
        const CliResult result = Run(c.args);
        EXPECT_EQ(result.out, c.out) << result.err;
    }
}

TEST_F(CliContractTest, OpenReportsAPageNoBrowserShows) {
    const fs::path bin = Root() / "bin";
    WriteBytes(bin / "ok" / "xdg-open", "#!/bin/sh\nexit 0\n");
    WriteBytes(bin / "refused" / "xdg-open", "#!/bin/sh\nexit 3\n");
    fs::create_directories(bin / "none");
    for (const char* folder : {"ok", "refused"}) {
        fs::permissions(bin / folder / "xdg-open", fs::perms::owner_all);
    }
    const std::string page = (Work() / "VT_Ergebnis.htm").string();
    const struct {
        const char* folder;
        int status;
    } cases[] = {{"ok", 0}, {"refused", 2}, {"none", 2}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.folder);
        const CliResult result = Run({"search", "Korpus", "haus", "--open"}, "",
                                     "PATH=" + vx::testing::ShellQuote((bin / c.folder).string()));
        EXPECT_EQ(result.status, c.status) << result.err;
        EXPECT_EQ(result.err.find(page) != std::string::npos, c.status != 0) << result.err;
    }
}

TEST_F(CliContractTest, HelpAndManPageDescribeEveryOption) {
    std::string manPage = ReadBytes(VX_MAN_PAGE);
    std::erase(manPage, '\\');  // roff writes "--limit" as "\-\-limit"
    const std::regex option("(^|[ \\[,])(--?[a-z0-9][a-z-]*)");
    for (const char* command : {"create", "reindex", "search", "list", "words", "watch"}) {
        const CliResult help = Run({command, "--help"});
        ASSERT_EQ(help.status, 0) << command;
        EXPECT_NE(help.out.find("Rückgabewert:"), std::string::npos) << command;
        std::set<std::string> options;
        for (std::sregex_iterator it(help.out.begin(), help.out.end(), option), end; it != end;
             ++it) {
            options.insert((*it)[2]);
        }
        EXPECT_FALSE(options.empty()) << command;
        for (const std::string& name : options) {
            EXPECT_NE(manPage.find(name), std::string::npos) << command << " " << name;
        }
    }
    // The search's help explains the modes, the wildcards and the limit.
    const std::string search = Run({"search", "--help"}).out;
    for (const char* text : {"ODER", "--and", "--phrase", "\"*\"", "\"?\"", "--limit"}) {
        EXPECT_NE(search.find(text), std::string::npos) << text;
    }
}

TEST(DatabaseRowNamed, ExactSpellingFirstThenLetterCaseIgnored) {
    const std::vector<std::u16string> rows = {u"Akten",  u"akten", u"Korpus",
                                              u"Straße", u"Dix",   u"D\u0131x"};
    const struct {
        std::u16string name;
        std::u16string row;  // "": none
    } cases[] = {
        {u"akten", u"akten"},   {u"Akten", u"Akten"}, {u"AKTEN", u"akten"},  {u"korpus", u"Korpus"},
        {u"STRAßE", u"Straße"}, {u"Kor", u""},        {u"DIX", u"D\u0131x"},
    };
    // The search looks among the rows as listed: sorting them must not change the row named.
    std::vector<std::u16string> sorted = rows;
    platform::SortByCollation(sorted);
    for (const auto& c : cases) {
        const std::u16string* row = DatabaseRowNamed(rows, c.name);
        EXPECT_EQ(row != nullptr ? *row : u"", c.row);
        const std::u16string* inSorted = DatabaseRowNamed(sorted, c.name);
        EXPECT_EQ(inSorted != nullptr ? *inSorted : u"", c.row);
    }
}

TEST(JsonString, EscapesAndKeepsTheOutputValidUtf8) {
    const struct {
        std::string in;
        std::string out;
    } cases[] = {
        {"plain", "\"plain\""},
        {"a\"b\\c", "\"a\\\"b\\\\c\""},
        {"tab\there\nline\x01", "\"tab\\there\\nline\\u0001\""},
        {"Größe €", "\"Größe €\""},
        {"caf\xE9.xml", "\"caf\xEF\xBF\xBD.xml\""},  // Latin-1 byte in a file name
        {"\xED\xA0\x80x", "\"\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBDx\""},  // encoded surrogate
        {"\xF0\x9F\x98\x80", "\"\xF0\x9F\x98\x80\""},
    };
    for (const auto& c : cases) EXPECT_EQ(JsonString(c.in), c.out) << c.in;
}

}  // namespace
}  // namespace vx::cli
