// End-to-end runs of vantor-xml-cli in a temporary working folder.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include <gtest/gtest.h>

#include "common/cli_process.h"
#include "indexing_fixture.h"

#ifdef VX_CLI_PATH

namespace vx::indexing {
namespace {

using namespace testing;

using vx::testing::CliResult;

CliResult RunCli(const fs::path& root, const std::vector<std::string>& args) {
    return vx::testing::RunCliIn(root, args);
}

void WriteCorpus(const fs::path& data) {
    WriteBytes(data / "a.xml", "<r>Haus Baum</r>");
    WriteBytes(data / "b.xml", "<r>Haus Ωmega</r>");
    WriteBytes(data / "sub" / "c.xml", "<r>Zelt</r>");
}

TEST(Cli, HelpOverallAndPerCommand) {
    TempDir dir;
    const auto overall = RunCli(dir.Path(), {"--help"});
    EXPECT_EQ(overall.status, 0);
    for (const char* command : {"create", "reindex", "list", "words"}) {
        EXPECT_NE(overall.out.find(std::string("vantor-xml-cli ") + command), std::string::npos)
            << command;
        const auto help = RunCli(dir.Path(), {command, "--help"});
        EXPECT_EQ(help.status, 0) << command;
        EXPECT_NE(help.out.find("Aufruf: vantor-xml-cli " + std::string(command)),
                  std::string::npos)
            << command;
    }
}

TEST(Cli, UsageErrorsAreRefused) {
    TempDir dir;
    const std::vector<std::vector<std::string>> cases = {
        {},
        {"gibtsnicht"},
        {"create", "NurName"},
        {"create", "N", ".", "--chunk-size", "1"},
        {"create", "N", ".", "--chunk-size"},
        {"create", "N", ".", "--unbekannt"},
        {"list", "zuviel"},
        {"words"},
    };
    for (const auto& args : cases) {
        const auto result = RunCli(dir.Path(), args);
        EXPECT_EQ(result.status, 2) << (args.empty() ? "" : args[0]);
        EXPECT_FALSE(result.err.empty());
    }
}

TEST(Cli, CreateChecksOfTheDialog) {
    TempDir dir;
    WriteCorpus(dir.Path() / "data");
    fs::create_directories(dir.Path() / "leer");
    ASSERT_EQ(RunCli(dir.Path(), {"create", "Da", (dir.Path() / "data").string(), "--yes"}).status,
              0);
    const struct {
        std::vector<std::string> args;
        std::string message;
    } cases[] = {
        {{"create", "Pro:jekt", (dir.Path() / "data").string()},
         "Sie haben ein ungültiges Zeichen"},
        {{"create", "", (dir.Path() / "data").string()},
         "Information: Sie haben keinen Namen für die Datenbank angegeben\n"},
        {{"create", "", ""},
         "Information: Sie haben keinen Namen für die Datenbank angegeben\n"
         "Information: Sie haben keinen Pfad angegeben\n"},
        {{"create", "Neu", (dir.Path() / "fehlt").string()},
         "Information: Der angegebene Ordner existiert nicht\n"},
        {{"create", "DA", (dir.Path() / "data").string()},
         "Information: Dieser Name existiert schon! Geben Sie einen anderen ein!\n"},
        {{"create", "Leer", (dir.Path() / "leer").string()},
         "Information: In: \"" + platform::ToUtf8(Win(dir.Path() / "leer")) +
             "\" wurden keine XML-Dokumente gefunden!\n"},
    };
    for (const auto& c : cases) {
        const auto result = RunCli(dir.Path(), c.args);
        EXPECT_EQ(result.status, 2) << c.message;
        EXPECT_NE(result.err.find(c.message), std::string::npos) << result.err;
    }
    EXPECT_EQ(RunCli(dir.Path(), {"list"}).out, "Da\n");
}

TEST(Cli, CreateListWordsAndReindex) {
    TempDir dir;
    WriteCorpus(dir.Path() / "data");
    const auto create = RunCli(dir.Path(), {"create", "Projekte", "../data", "--yes"});
    ASSERT_EQ(create.status, 0) << create.err;
    EXPECT_NE(create.err.find("Information: Es wurden 3 XML-Dokumente mit einer Gesamtgröße von "),
              std::string::npos)
        << create.err;
    EXPECT_NE(create.err.find("Möchten Sie mit der Indizierung beginnen ?"), std::string::npos);
    EXPECT_TRUE(create.out.starts_with("Fertig mit der Indizierung.\nXML-Dateien-Gesamtgröße: "))
        << create.out;
    const auto db = dir.Path() / "wd" / "Datenbank";
    // FOLDER is resolved to an absolute Linux path.
    EXPECT_EQ(ReadCrLfLines(db / "Projekte.dat")[1],
              "TEXTDATEIENPFAD=" + platform::ToUtf8(platform::UpperCase(Win(dir.Path() / "data"))) +
                  "\\*.XML");

    RunCli(dir.Path(), {"create", "Andere", (dir.Path() / "data").string(), "--yes"});
    EXPECT_EQ(RunCli(dir.Path(), {"list"}).out, "Andere\nProjekte\n");
    const auto words = RunCli(dir.Path(), {"words", "Projekte"});
    EXPECT_EQ(words.status, 0);
    EXPECT_EQ(words.out, "BAUM\nHAUS\nZELT\nΩMEGA\n");
    EXPECT_EQ(RunCli(dir.Path(), {"words", "Projekte", "--unicode"}).out, "");
    EXPECT_EQ(RunCli(dir.Path(), {"words", "Fehlt"}).status, 2);

    WriteBytes(dir.Path() / "data" / "d.xml", "<r>Neu</r>");
    const auto reindex = RunCli(dir.Path(), {"reindex", "projekte", "--chunk-size", "2", "--yes"});
    ASSERT_EQ(reindex.status, 0) << reindex.err;
    EXPECT_TRUE(fs::exists(db / "Projekte.old"));
    const auto lines = ReadCrLfLines(db / "Projekte.dat");
    EXPECT_NE(std::find(lines.begin(), lines.end(), "NEU=3,"), lines.end());
    EXPECT_NE(reindex.out.find(" von 4 XML-Dateien unverändert aus den Textkopien übernommen.\n"),
              std::string::npos)
        << reindex.out;
    const auto full = RunCli(dir.Path(), {"reindex", "Projekte", "--full", "--yes"});
    ASSERT_EQ(full.status, 0) << full.err;
    EXPECT_NE(full.out.find("\n0 von 4 XML-Dateien unverändert"), std::string::npos) << full.out;
    EXPECT_EQ(RunCli(dir.Path(), {"reindex", "Unbekannt"}).status, 2);
}

TEST(Cli, InterruptSavesWhatWasIndexed) {
    TempDir dir;
    const auto data = dir.Path() / "data";
    for (int i = 0; i < 3000; ++i) {
        WriteBytes(data / ("f" + std::to_string(i / 100)) / ("d" + std::to_string(i) + ".xml"),
                   "<r>Wort" + std::to_string(i) + " Gemeinsam</r>");
    }
    fs::create_directories(dir.Path() / "wd");
    const pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        if (chdir((dir.Path() / "wd").c_str()) != 0) _exit(99);
        setenv("XDG_DATA_HOME", (dir.Path() / "xdg").c_str(), 1);
        freopen("/dev/null", "r", stdin);
        freopen((dir.Path() / "out.txt").c_str(), "w", stdout);
        freopen((dir.Path() / "err.txt").c_str(), "w", stderr);
        execl(VX_CLI_PATH, VX_CLI_PATH, "create", "Abbruch", data.c_str(), "--chunk-size", "1000",
              "--yes", static_cast<char*>(nullptr));
        _exit(98);
    }
    // Wait until text copies appear (staged until the run ends), then press Ctrl-C.
    const auto copies = dir.Path() / "wd" / "XML_Texte" / "^ABBRUCH";
    for (int i = 0; i < 3000 && TreeContents(copies).size() < 20; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    kill(pid, SIGINT);
    int raw = 0;
    ASSERT_EQ(waitpid(pid, &raw, 0), pid);
    ASSERT_TRUE(WIFEXITED(raw)) << "ended by a signal";
    // Interrupted, after saving what was indexed.
    EXPECT_EQ(WEXITSTATUS(raw), 130) << ReadBytes(dir.Path() / "err.txt");
    const auto lines = ReadCrLfLines(dir.Path() / "wd" / "Datenbank" / "Abbruch.dat");
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines[0], "[SCANMASKE]");
    EXPECT_NE(std::find(lines.begin(), lines.end(), "[DATENBANK]"), lines.end());
    for (const auto& line : lines) EXPECT_EQ(line.find("<no CR LF>"), std::string::npos);
    std::size_t documents = 0;
    for (const auto& line : lines) documents += !line.empty() && line[0] >= '1' && line[0] <= '9';
    EXPECT_GT(documents, 0u);
    EXPECT_LT(documents, 3000u);
    EXPECT_NE(ReadBytes(dir.Path() / "err.txt").find("Indizierung wurde abgebrochen!"),
              std::string::npos);
    EXPECT_NE(ReadBytes(dir.Path() / "out.txt").find("Fertig mit der Indizierung."),
              std::string::npos);
}

}  // namespace
}  // namespace vx::indexing

#endif
