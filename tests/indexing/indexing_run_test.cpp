// Create runs of the engine: the database file line by line, passes with their chunks, the
// merge, cancelling, and the re-index command.
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "indexing_fixture.h"
#include "platform/file_lock.h"
#include "platform/files.h"
#include "textio/text_file.h"

namespace vx::indexing {
namespace {

using namespace testing;
using platform::ToUtf8;
using platform::UpperCase;

std::string Upper(const fs::path& path) {
    return ToUtf8(UpperCase(Win(path)));
}

// "SIZE:n DATE:t" of a file as the document line writes it.
std::string SizeAndDate(const fs::path& file) {
    const auto info = platform::StatPath(Win(file));
    EXPECT_TRUE(info.has_value()) << file;
    return "SIZE:" + std::to_string(static_cast<int32_t>(info->size)) +
           " DATE:" + std::to_string(info->dosTime);
}

std::vector<std::string> DocumentLines(const std::vector<std::string>& lines) {
    // Lines before the index section that begin with a number.
    std::vector<std::string> out;
    for (const auto& line : lines) {
        if (line == "[DATENBANK]") break;
        if (!line.empty() && line[0] >= '1' && line[0] <= '9') out.push_back(line);
    }
    return out;
}

std::vector<std::string> After(const std::vector<std::string>& lines, const std::string& marker) {
    auto it = std::find(lines.begin(), lines.end(), marker);
    return it == lines.end() ? std::vector<std::string>()
                             : std::vector<std::string>(it + 1, lines.end());
}

TEST(IndexingRun, OnePassDatabaseFileLineByLine) {
    TempDir dir;
    const auto data = dir.Path() / "Daten";
    WriteBytes(data / "a.xml", "<r>Haus Baum</r>");
    WriteBytes(data / "b.xml", "<r>Haus</r>");
    WriteBytes(data / "c.xml", "<r><![CDATA[Zelt]]></r>");
    WriteBytes(data / "Sub" / "d.xml", "<r>Baum Ωmega</r>");
    WriteBytes(data / "notes.txt", "Haus");
    CreateRun run(dir.Path());
    const auto result = run.Create("Projekte", data);
    ASSERT_EQ(result.outcome, CommandOutcome::Done);
    EXPECT_EQ(result.documents, 4);
    EXPECT_EQ(run.host.noticeCount, 4);

    const std::string root = Upper(data);
    const auto size =
        std::to_string(fs::file_size(data / "a.xml") + fs::file_size(data / "b.xml") +
                       fs::file_size(data / "c.xml") + fs::file_size(data / "Sub" / "d.xml"));
    const std::vector<std::string> expected = {
        "[SCANMASKE]",
        "TEXTDATEIENPFAD=" + root + "\\*.XML",
        "",
        "",
        "[PFADLISTE]",
        "",
        "P1=" + root,
        "P2=",
        "P3=",
        "P4=" + root + "\\SUB",
        "1 P3 \\A.XML " + SizeAndDate(data / "a.xml"),
        "2 P3 \\B.XML " + SizeAndDate(data / "b.xml"),
        "3 P3 \\C.XML " + SizeAndDate(data / "c.xml"),
        "4 P4 \\D.XML " + SizeAndDate(data / "Sub" / "d.xml"),
        " ",
        " ",
        "GESAMTGRÖßE DER INDIZIERTEN DATEIEN IN BYTE: " + size + " BYTES",
        " ",
        "[DATENBANK]",
        " ",
        // Save order: pair buckets BA, HA, ZE, then the Unicode postings.
        "BAUM=1,4,",
        "HAUS=1,2,",
        "ZELT=3,",
        "ΩMEGA=4,",
    };
    EXPECT_EQ(ReadCrLfLines(run.Database() / "Projekte.dat"), expected);
    EXPECT_EQ(ReadCrLfLines(run.Database() / "Projekte_ansi.txt"),
              (std::vector<std::string>{"BAUM", "HAUS", "ZELT", "ΩMEGA"}));
    EXPECT_EQ(ReadCrLfLines(run.Database() / "Projekte_unicode.txt"), std::vector<std::string>{});
    // The pass-1 chunk of a one-pass run stays until the next run.
    EXPECT_EQ(ReadBytes(run.Staging("Projekte") / "Projekte.dat"),
              ReadBytes(run.Database() / "Projekte.dat"));

    // Text copies below the database's folder, one per document.
    const auto copies = TreeContents(run.TextCopies() / "Projekte");
    const std::string folder = "Z" + data.string();
    EXPECT_EQ(copies.at(folder + "/a.txt"), "Haus Baum\r\nr\r\n");
    EXPECT_EQ(copies.at(folder + "/c.txt"), "Zelt\r\nr\r\n");
    EXPECT_EQ(copies.at(folder + "/Sub/d.txt"), "Baum Ωmega\r\nr\r\n");
    EXPECT_EQ(copies.size(), 4u);

    EXPECT_EQ(ToUtf8(run.host.status), "Fertig mit der Indizierung.");
    EXPECT_EQ(ToUtf8(run.host.progress), "6 Wörter in Datenbank aufgenommen (aus 4 Dateien).");
    EXPECT_EQ(run.host.controls, RunControls::Idle);
    EXPECT_FALSE(run.flags.running);
    const auto log = run.host.log;
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0], " ");
    EXPECT_TRUE(log[1].starts_with("4 XML-Dateien wurden indiziert.   Zeit: ")) << log[1];
    EXPECT_TRUE(log[1].ends_with("  Gesamtgröße: " + size +
                                 " Bytes.    6 Wörter in Datenbank aufgenommen."))
        << log[1];
    // The log file: UTF-16 LE with mark.
    const std::string logBytes = ReadBytes(run.Database() / "Projekte.log");
    ASSERT_GE(logBytes.size(), 2u);
    EXPECT_EQ(logBytes.substr(0, 4), std::string("\xFF\xFE \0", 4));
}

TEST(IndexingRun, DocumentLinesReferToTheLastPathEntryOfTheirFolder) {
    TempDir dir;
    const auto data = dir.Path() / "Baum";
    WriteBytes(data / "x1.xml", "<a>Eins</a>");
    WriteBytes(data / "A" / "y1.xml", "<a>Zwei</a>");
    WriteBytes(data / "A" / "y2.xml", "<a>Drei</a>");
    WriteBytes(data / "B" / "z1.xml", "<a>Vier</a>");
    WriteBytes(data / ".svn" / "hidden.xml", "<a>Versteckt</a>");
    CreateRun run(dir.Path());
    ASSERT_EQ(run.Create("Zwei", data).outcome, CommandOutcome::Done);
    const auto lines = ReadCrLfLines(run.Database() / "Zwei.dat");
    const std::string root = Upper(data);
    const std::vector<std::string> paths(lines.begin() + 6, lines.begin() + 10);
    EXPECT_EQ(paths, (std::vector<std::string>{"P1=" + root, "P2=" + root + "\\A",
                                               "P3=", "P4=" + root + "\\B"}));
    EXPECT_EQ(DocumentLines(lines),
              (std::vector<std::string>{"1 P1 \\X1.XML " + SizeAndDate(data / "x1.xml"),
                                        "2 P3 \\Y1.XML " + SizeAndDate(data / "A" / "y1.xml"),
                                        "3 P3 \\Y2.XML " + SizeAndDate(data / "A" / "y2.xml"),
                                        "4 P4 \\Z1.XML " + SizeAndDate(data / "B" / "z1.xml")}));
    EXPECT_EQ(ToUtf8(run.host.status), "Fertig mit der Indizierung.");
}

// Five documents whose words spread over the passes of chunk size 2.
void WriteFiveDocuments(const fs::path& data) {
    WriteBytes(data / "d1.xml", "<r>Wort Haus</r>");
    WriteBytes(data / "d2.xml", "<r>Wort</r>");
    WriteBytes(data / "d3.xml", "<r>Wort Haus</r>");
    WriteBytes(data / "s" / "d4.xml", "<r>Wort Zelt</r>");
    WriteBytes(data / "s" / "d5.xml", "<r>Wort Haus Ωmega</r>");
}

TEST(IndexingRun, PassesOfTheChunkSizeAndTheirMerge) {
    TempDir dir;
    const auto data = dir.Path() / "Daten";
    WriteFiveDocuments(data);
    CreateRun run(dir.Path());
    std::map<std::string, std::string> chunks;
    run.host.onStatus = [&](const std::string& status) {
        if (status != "Daten werden in Datenbank eingefügt ") return;
        chunks = TreeContents(run.Staging("Projekte"));
        std::erase_if(chunks, [](const auto& file) { return !file.first.ends_with(".dat"); });
    };
    const auto result = run.Create("Projekte", data, 2);
    ASSERT_EQ(result.outcome, CommandOutcome::Done);
    EXPECT_EQ(result.documents, 5);

    // Three chunks: pass 1 with the path list, passes 2 and 3 without it.
    ASSERT_EQ(chunks.size(), 3u);
    const auto pass1 = textio::SplitLines(platform::FromUtf8(chunks.at("Projekte.dat")));
    const auto pass2 = chunks.at("Projekte_2.dat");
    const auto pass3 = chunks.at("Projekte_3.dat");
    EXPECT_NE(chunks.at("Projekte.dat").find("P1=" + Upper(data) + "\r\n"), std::string::npos);
    EXPECT_EQ(pass2.find("P1="), std::string::npos);
    EXPECT_NE(pass2.find("\r\n[DATENBANK]\r\n \r\nHAUS=3,\r\nWORT=3,4,\r\nZELT=4,\r\n"),
              std::string::npos)
        << pass2;
    EXPECT_NE(pass3.find("\r\n[DATENBANK]\r\n \r\nHAUS=5,\r\nWORT=5,\r\nΩMEGA=5,\r\n"),
              std::string::npos)
        << pass3;
    EXPECT_NE(chunks.at("Projekte.dat").find("\r\n[DATENBANK]\r\n \r\nHAUS=1,\r\nWORT=1,2,\r\n"),
              std::string::npos);

    const std::string root = Upper(data);
    const std::vector<std::string> expected = {
        "[SCANMASKE]",
        "TEXTDATEIENPFAD=" + root + "\\*.XML",
        "[PFADLISTE]",
        "P1=" + root,
        "P2=",
        "P3=",
        "P4=" + root + "\\S",
        "P5=",
        "1 P3 \\D1.XML " + SizeAndDate(data / "d1.xml"),
        "2 P3 \\D2.XML " + SizeAndDate(data / "d2.xml"),
        "3 P3 \\D3.XML " + SizeAndDate(data / "d3.xml"),
        "4 P5 \\D4.XML " + SizeAndDate(data / "s" / "d4.xml"),
        "5 P5 \\D5.XML " + SizeAndDate(data / "s" / "d5.xml"),
        "[DATENBANK]",
        "HAUS=1,3,",
        "5,",
        "WORT=1,2,3,4,",
        "5,",
        "ZELT=4,",
        "ΩMEGA=5,",
    };
    EXPECT_EQ(ReadCrLfLines(run.Database() / "Projekte.dat"), expected);
    EXPECT_TRUE(run.LeftInTemp().empty());
    EXPECT_EQ(ReadCrLfLines(run.Database() / "Projekte_ansi.txt"),
              (std::vector<std::string>{"HAUS", "WORT", "ZELT", "ΩMEGA"}));
    EXPECT_EQ(ToUtf8(run.host.status), "Fertig mit der Indizierung.");
    EXPECT_EQ(ToUtf8(run.host.progress), "10 Wörter in Datenbank aufgenommen (aus 5 Dateien).");
}

TEST(IndexingRun, MergeReadsTheBaseChunkOfANameWithUnderscoreOnce) {
    TempDir dir;
    const auto data = dir.Path() / "Daten";
    WriteFiveDocuments(data);
    CreateRun run(dir.Path());
    ASSERT_EQ(run.Create("Alt_Daten", data, 2).outcome, CommandOutcome::Done);
    const auto lines = ReadCrLfLines(run.Database() / "Alt_Daten.dat");
    std::vector<std::string> numbers;
    for (const auto& line : DocumentLines(lines)) numbers.push_back(line.substr(0, line.find(' ')));
    EXPECT_EQ(numbers, (std::vector<std::string>{"1", "2", "3", "4", "5"}));
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "P1=" + Upper(data)), 1);
    EXPECT_EQ(After(lines, "[DATENBANK]"),
              (std::vector<std::string>{"HAUS=1,3,", "5,", "WORT=1,2,3,4,", "5,", "ZELT=4,",
                                        "ΩMEGA=5,"}));
}

TEST(IndexingRun, ExtractionAheadGivesTheSameFiles) {
    TempDir dir;
    const auto data = dir.Path() / "Korpus";
    for (int folder = 0; folder < 4; ++folder) {
        for (int doc = 0; doc < 9; ++doc) {
            std::string text = "<doc n=\"" + std::to_string(doc) + "\"><t>Gemeinsam Ordner" +
                               std::to_string(folder) + " Dokument" + std::to_string(doc) +
                               "</t><u>Ωmega Straße Ärger</u><!-- Notiz --></doc>";
            if (doc == 4) text = "<kaputt>";
            WriteBytes(data / ("f" + std::to_string(folder)) / ("d" + std::to_string(doc) + ".xml"),
                       text);
        }
    }
    for (int chunkSize : {2, 7, 20000}) {
        std::map<std::string, std::string> reference;
        for (int threads : {0, 1, 3}) {
            TempDir work;
            CreateRun run(work.Path());
            ASSERT_EQ(run.Create("Korpus", data, chunkSize, threads).outcome, CommandOutcome::Done);
            auto files = TreeContents(run.Database());
            files.erase("Korpus.log");      // holds the elapsed time
            files.erase("Korpus.dat.idx");  // names the database file's time
            files.erase("Korpus.cache");    // records only documents written long enough ago
            files.erase("Korpus.words");    // so does the words file
            for (auto& [name, bytes] : TreeContents(run.TextCopies()))
                files["copy/" + name] = bytes;
            ASSERT_GT(files.size(), 30u);
            if (threads == 0) {
                reference = std::move(files);
            } else {
                EXPECT_EQ(files, reference)
                    << "chunk size " << chunkSize << ", " << threads << " threads";
            }
        }
    }
}

TEST(IndexingRun, CancelInThePassOneKeepsALoadableDatabase) {
    TempDir dir;
    const auto data = dir.Path() / "Daten";
    WriteFiveDocuments(data);
    CreateRun run(dir.Path());
    run.host.onDocument = [&](int32_t documents) {
        if (documents == 2) CloseButtonClick(run.host, run.flags);
    };
    const auto result = run.Create("Abbruch", data, 20000, 2);
    ASSERT_EQ(result.outcome, CommandOutcome::Done);
    EXPECT_EQ(result.documents, 2);
    const auto lines = ReadCrLfLines(run.Database() / "Abbruch.dat");
    // The cancel came after document 2 was numbered and before its words were filed.
    EXPECT_EQ(DocumentLines(lines).size(), 2u);
    EXPECT_EQ(After(lines, "[DATENBANK]"), (std::vector<std::string>{" ", "HAUS=1,", "WORT=1,"}));
    EXPECT_TRUE(fs::exists(run.Database() / "Abbruch_ansi.txt"));
    EXPECT_TRUE(fs::exists(run.Database() / "Abbruch_unicode.txt"));
    EXPECT_EQ(ToUtf8(run.host.status), "Fertig mit der Indizierung.");
    EXPECT_NE(std::find(run.host.statusHistory.begin(), run.host.statusHistory.end(),
                        "Indizierung wurde abgebrochen! Die Daten werden gespeichert"),
              run.host.statusHistory.end());
    EXPECT_FALSE(run.flags.running);
}

TEST(IndexingRun, CancelInALaterPassMergesTheChunksSoFar) {
    TempDir dir;
    const auto data = dir.Path() / "Daten";
    WriteFiveDocuments(data);
    CreateRun run(dir.Path());
    run.host.onDocument = [&](int32_t documents) {
        if (documents == 3) CloseButtonClick(run.host, run.flags);
    };
    const auto result = run.Create("Abbruch", data, 2, 0);
    ASSERT_EQ(result.outcome, CommandOutcome::Done);
    EXPECT_EQ(result.documents, 3);
    const auto lines = ReadCrLfLines(run.Database() / "Abbruch.dat");
    EXPECT_EQ(DocumentLines(lines).size(), 3u);
    EXPECT_EQ(After(lines, "[DATENBANK]"), (std::vector<std::string>{"HAUS=1,", "WORT=1,2,"}));
    EXPECT_TRUE(run.LeftInTemp().empty());
    EXPECT_EQ(ToUtf8(run.host.status), "Fertig mit der Indizierung.");
}

TEST(IndexingRun, NothingFoundAndDeclinedNoticeChangeNothing) {
    TempDir dir;
    fs::create_directories(dir.Path() / "leer" / "sub");
    WriteBytes(dir.Path() / "leer" / "sub" / "a.txt", "kein XML");
    WriteFiveDocuments(dir.Path() / "voll");
    CreateRun run(dir.Path());
    EXPECT_EQ(run.Create("Leer", dir.Path() / "leer").outcome, CommandOutcome::Refused);
    ASSERT_EQ(run.host.messages.size(), 1u);
    EXPECT_EQ(run.host.messages[0].text, "In: \"" + ToUtf8(Win(dir.Path() / "leer")) +
                                             "\" wurden keine XML-Dokumente gefunden!");
    run.host.answerYes = false;
    EXPECT_EQ(run.Create("Nein", dir.Path() / "voll").outcome, CommandOutcome::Declined);
    EXPECT_EQ(run.host.noticeCount, 5);
    EXPECT_TRUE(TreeContents(run.Database()).empty());
    EXPECT_TRUE(TreeContents(run.TextCopies()).empty());
    EXPECT_EQ(ToUtf8(run.host.status), "");
}

// A run removes what processes that ended without cleaning up left: the staging folders of a
// database nobody writes, and a search's half-written lookup file. What a live writer holds and
// the lookup file of a running search stay.
TEST(IndexingRun, LeftoversOfEndedProcessesAreRemoved) {
    TempDir dir;
    const auto data = dir.Path() / "Daten";
    WriteFiveDocuments(data);
    CreateRun run(dir.Path());
    const pid_t ended = fork();
    if (ended == 0) _exit(0);
    waitpid(ended, nullptr, 0);
    const fs::path database = run.Database();
    const std::string endedScratch = "Alt.dat.idx." + std::to_string(ended) + ".tmp";
    const std::string liveScratch = "Alt.dat.idx." + std::to_string(getpid()) + ".tmp";
    const std::vector<fs::path> leftovers = {
        database / "Temp" / "ALT.run" / "Alt_2.dat", run.TextCopies() / "^ALT" / "1.txt",
        database / "Temp" / "Alt.dat", database / endedScratch};
    const std::vector<fs::path> kept = {database / "Temp" / "LEBT.run" / "Lebt_2.dat",
                                        run.TextCopies() / "^LEBT" / "1.txt",
                                        database / liveScratch};
    for (const auto& file : leftovers) WriteBytes(file, "alt");
    for (const auto& file : kept) WriteBytes(file, "lebt");
    WriteBytes(database / "Temp" / "ALT.lock", "");
    const auto held = platform::FileLock::TryTake(Win(database / "Temp" / "LEBT.lock"));
    ASSERT_TRUE(held);
    ASSERT_EQ(run.Create("Projekte", data).outcome, CommandOutcome::Done);
    for (const auto& file : leftovers) EXPECT_FALSE(fs::exists(file)) << file;
    for (const auto& file : kept) EXPECT_TRUE(fs::exists(file)) << file;
}

TEST(Reindex, MovesTheDatabaseToOldAndRebuildsIt) {
    TempDir dir;
    const auto data = dir.Path() / "Daten";
    WriteFiveDocuments(data);
    CreateRun run(dir.Path());
    ASSERT_EQ(run.Create("Projekte", data).outcome, CommandOutcome::Done);
    const std::string before = ReadBytes(run.Database() / "Projekte.dat");
    const auto copiesBefore = TreeContents(run.TextCopies());
    WriteBytes(data / "s" / "d6.xml", "<r>Neu</r>");

    IndexingCommands commands(run.host, run.flags, run.folders);
    EXPECT_EQ(ToUtf8(commands.StoredFolder(u"Projekte")), ToUtf8(Win(data)));
    std::u16string dialogFolder;
    const auto result =
        commands.Reindex(u"Projekte", 1, [&](const std::u16string& name, std::u16string& folder) {
            EXPECT_EQ(ToUtf8(name), "Projekte");
            dialogFolder = folder;
            return true;
        });
    ASSERT_EQ(result.outcome, CommandOutcome::Done);
    EXPECT_EQ(result.documents, 6);
    EXPECT_EQ(dialogFolder, Win(data));
    EXPECT_EQ(ReadBytes(run.Database() / "Projekte.old"), before);
    const auto lines = ReadCrLfLines(run.Database() / "Projekte.dat");
    EXPECT_EQ(DocumentLines(lines).size(), 6u);
    EXPECT_NE(std::find(lines.begin(), lines.end(), "NEU=6,"), lines.end());
    EXPECT_FALSE(run.flags.updateRunning);
    // The copies land where the create run put them: one more, none in an upper-cased folder.
    auto copiesAfter = TreeContents(run.TextCopies());
    EXPECT_EQ(copiesAfter.size(), copiesBefore.size() + 1);
    for (const auto& [name, bytes] : copiesBefore) EXPECT_TRUE(copiesAfter.contains(name)) << name;

    // A second re-index replaces the ".old" file.
    const std::string second = ReadBytes(run.Database() / "Projekte.dat");
    ASSERT_EQ(commands.Reindex(u"Projekte", 1, nullptr).outcome, CommandOutcome::Done);
    EXPECT_EQ(ReadBytes(run.Database() / "Projekte.old"), second);
}

TEST(Reindex, WithoutSelectionShowsItsMessage) {
    TempDir dir;
    CreateRun run(dir.Path());
    IndexingCommands commands(run.host, run.flags, run.folders);
    EXPECT_EQ(commands.Reindex(u"", 2, nullptr).outcome, CommandOutcome::Refused);
    EXPECT_EQ(commands.Reindex(u"", 0, nullptr).outcome, CommandOutcome::Refused);
    ASSERT_EQ(run.host.messages.size(), 2u);
    EXPECT_EQ(run.host.messages[0].text,
              "Sie müssen zuerst eine Datenbank auswählen! Mit linker Maustaste anklicken!");
    EXPECT_EQ(run.host.messages[1].text,
              "Es existiert noch keine Datenbank! Betätigen Sie bitte den Schalter \"Neue "
              "Datenbank erstellen\".");
    EXPECT_FALSE(run.flags.updateRunning);
}

TEST(Reindex, CancelBeforeTheFirstDocumentReportsAnEmptyDatabase) {
    TempDir dir;
    const auto data = dir.Path() / "Daten";
    WriteFiveDocuments(data);
    CreateRun run(dir.Path());
    ASSERT_EQ(run.Create("Projekte", data).outcome, CommandOutcome::Done);
    run.host.messages.clear();
    IndexingCommands commands(run.host, run.flags, run.folders);
    // The close button pressed when the walk shows its first document.
    bool pressed = false;
    run.host.onCurrentFile = [&] {
        if (!pressed) CloseButtonClick(run.host, run.flags);
        pressed = true;
    };
    ASSERT_EQ(commands.Reindex(u"Projekte", 1, nullptr).outcome, CommandOutcome::Done);
    run.host.onCurrentFile = nullptr;
    ASSERT_FALSE(run.host.messages.empty());
    EXPECT_EQ(run.host.messages.back().text,
              "Im angegeben Laufwerk/Verzeichnis konnten keine entsprechenden Dokumente gefunden "
              "werden! Die neue Datenbank \"Projekte\" ist leer und kann gelöscht werden!");
    // The previous database stays as ".old"; the new one is loadable and empty.
    EXPECT_EQ(DocumentLines(ReadCrLfLines(run.Database() / "Projekte.old")).size(), 5u);
    const auto lines = ReadCrLfLines(run.Database() / "Projekte.dat");
    EXPECT_TRUE(DocumentLines(lines).empty());
    EXPECT_NE(std::find(lines.begin(), lines.end(), "[DATENBANK]"), lines.end());
}

}  // namespace
}  // namespace vx::indexing
