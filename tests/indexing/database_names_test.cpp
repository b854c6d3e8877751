// Database file names of names with a dot, and document lines of files beyond 2 GB.
#include <gtest/gtest.h>

#include "index/database_files.h"
#include "index/lookup_file.h"
#include "indexing/new_database_checks.h"
#include "indexing_fixture.h"

namespace vx::indexing {
namespace {

using namespace testing;

std::vector<std::string> DocumentLinesOf(const fs::path& file) {
    std::vector<std::string> lines;
    for (const auto& line : ReadCrLfLines(file)) {
        if (!line.empty() && line[0] >= '1' && line[0] <= '9') lines.push_back(line);
    }
    return lines;
}

bool HasDatabaseLine(const fs::path& file, const std::string& line) {
    const auto lines = ReadCrLfLines(file);
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

// A name with a dot that is not ".dat" still gives a database that the list shows, that a
// second create refuses and that the re-index finds, in one pass and in several.
TEST(DatabaseNames, ADottedNameBecomesAListedDatabase) {
    struct Case {
        const char* name;
        int chunkSize;
        const char* file;  // the database file below Datenbank
        const char* row;   // its row in the database list
    };
    const Case cases[] = {
        {"Akten.2024", 20000, "Akten.2024.dat", "Akten.2024"},
        {"Akten.2024", 2, "Akten.2024.dat", "Akten.2024"},
        {"Version 1.5", 20000, "Version 1.5.dat", "Version 1.5"},
        {"Archiv.DAT", 2, "Archiv.dat", "Archiv"},
        {"Projekte", 2, "Projekte.dat", "Projekte"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.name) + " / " + std::to_string(c.chunkSize));
        TempDir dir;
        const auto data = dir.Path() / "Daten";
        for (int i = 1; i <= 3; ++i) {
            WriteBytes(data / ("d" + std::to_string(i) + ".xml"),
                       "<r>Wort" + std::string(1, char('A' + i)) + "</r>");
        }
        CreateRun run(dir.Path());
        ASSERT_EQ(run.Create(c.name, data, c.chunkSize).outcome, CommandOutcome::Done);
        const auto db = run.Database() / c.file;
        ASSERT_TRUE(fs::exists(db));
        EXPECT_EQ(DocumentLinesOf(db).size(), 3u);
        EXPECT_EQ(ReadCrLfLines(db).back(), "WORTD=3,");
        // The search lookup file lies beside it, made from it, and is never listed.
        const std::u16string databaseFile = platform::ToWindowsPath(db.string());
        const auto file = platform::ReadOnlyFile::Open(databaseFile);
        ASSERT_TRUE(file);
        EXPECT_NE(index::LookupFile::Open(index::LookupFileName(databaseFile), *file), nullptr);
        EXPECT_EQ(ListDatabaseNames(run.folders),
                  std::vector<std::u16string>{platform::FromUtf8(c.row)});
        EXPECT_TRUE(run.LeftInTemp().size() <= 1u);

        // The list's row is refused as a new name and re-indexed from its file.
        const auto checks = CheckNewDatabase(platform::FromUtf8(c.row), Win(data),
                                             DialogMode::Create, ListDatabaseNames(run.folders));
        EXPECT_FALSE(checks.ok);
        IndexingCommands commands(run.host, run.flags, run.folders);
        commands.SetOptions({c.chunkSize, 0});
        EXPECT_EQ(commands.StoredFolder(platform::FromUtf8(c.row)), Win(data));
    }
}

// A new name whose database file is that of a listed database is refused: creating it would
// overwrite that database.
TEST(DatabaseNames, ANameThatWouldOverwriteAListedDatabaseIsRefused) {
    TempDir dir;
    const std::vector<std::u16string> rows = {u"Archiv", u"Akten.2024", u"Projekte"};
    const std::u16string folder = Win(dir.Path());
    const struct {
        const char16_t* name;
        bool ok;
    } cases[] = {
        {u"Archiv", false},      {u"archiv.dat", false},      {u"ARCHIV.DAT", false},
        {u"Akten.2024", false},  {u"Akten.2024.DAT", false},  {u"Akten", true},
        {u"Archiv.daten", true}, {u"Projekte.dat.dat", true}, {u"Neu.dat", true},
    };
    for (const auto& c : cases) {
        const auto checks = CheckNewDatabase(c.name, folder, DialogMode::Create, rows);
        EXPECT_EQ(checks.ok, c.ok) << platform::ToUtf8(c.name);
        if (!c.ok) {
            EXPECT_EQ(checks.messages,
                      std::vector<std::u16string>{
                          u"Dieser Name existiert schon! Geben Sie einen anderen ein!"})
                << platform::ToUtf8(c.name);
        }
    }
}

// After a create run the list selects the row of the database just written, also when the name
// carries the ".dat" that the row does not show.
TEST(DatabaseNames, TheCreatedDatabaseIsSelected) {
    const std::vector<std::u16string> rows = {u"Archiv", u"Archivalien", u"Recht",
                                              u"Rechtsprechung"};
    const struct {
        const char16_t* name;
        int row;
    } cases[] = {
        {u"Archiv.dat", 0}, {u"ARCHIV.DAT", 0}, {u"Archiv", 0},
        {u"Recht", 2},      {u"Recht.dat", 2},  {u"echt", 3},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(RowToSelectAfterCreate(rows, c.name), c.row) << platform::ToUtf8(c.name);
    }
}

// A name typed with ".dat" names the same database as the row the list shows for it: its text
// copies, word lists and log lie where the search and the re-index of that row look for them.
TEST(DatabaseNames, ANameWithDatKeepsTheFilesOfItsRow) {
    for (const char* typed : {"Archiv.dat", "Archiv.DAT", "Archiv"}) {
        SCOPED_TRACE(typed);
        TempDir dir;
        const auto data = dir.Path() / "Daten";
        WriteBytes(data / "d1.xml", "<r>Eins</r>");
        WriteBytes(data / "d2.xml", "<r>Zwei</r>");
        CreateRun run(dir.Path());
        const auto result = run.Create(typed, data);
        ASSERT_EQ(result.outcome, CommandOutcome::Done);
        EXPECT_EQ(platform::ToUtf8(result.databaseName), "Archiv");
        std::vector<std::string> files;
        for (const auto& [name, bytes] : TreeContents(run.Database())) files.push_back(name);
        EXPECT_EQ(files, (std::vector<std::string>{"Archiv.cache", "Archiv.dat", "Archiv.dat.idx",
                                                   "Archiv.log", "Archiv.words", "Archiv_ansi.txt",
                                                   "Archiv_unicode.txt", "Temp/ARCHIV.lock",
                                                   "Temp/ARCHIV.run/Archiv.dat"}));
        std::vector<std::string> copies;
        for (const auto& [name, bytes] : TreeContents(run.TextCopies())) {
            copies.push_back(name.substr(0, name.find('/')));
        }
        EXPECT_EQ(copies, (std::vector<std::string>{"Archiv", "Archiv"}));

        IndexingCommands commands(run.host, run.flags, run.folders);
        commands.SetOptions({20000, 0});
        ASSERT_EQ(commands.Reindex(u"Archiv", 1, nullptr).outcome, CommandOutcome::Done);
        EXPECT_EQ(TreeContents(run.TextCopies()).size(), 2u);
        EXPECT_TRUE(fs::exists(run.Database() / "Archiv.old"));
        EXPECT_TRUE(HasDatabaseLine(run.Database() / "Archiv.dat", "ZWEI=2,"));
    }
}

// The re-index finds the stored folder also when its path is longer than a profile value.
TEST(DatabaseNames, ALongFolderIsReindexedWhole) {
    TempDir dir;
    fs::path data = dir.Path() / "Daten";
    for (int i = 0; i < 12; ++i) data /= "Ordner_mit_einem_langen_Namen_" + std::to_string(i);
    ASSERT_GT(Win(data).size(), 300u);
    WriteBytes(data / "d1.xml", "<r>Tief unten</r>");
    WriteBytes(dir.Path() / "Daten" / "oben.xml", "<r>Oben</r>");
    CreateRun run(dir.Path());
    ASSERT_EQ(run.Create("Lang", data).outcome, CommandOutcome::Done);
    IndexingCommands commands(run.host, run.flags, run.folders);
    commands.SetOptions({20000, 0});
    EXPECT_EQ(platform::ToUtf8(commands.StoredFolder(u"Lang")), platform::ToUtf8(Win(data)));
    ASSERT_EQ(commands.Reindex(u"Lang", 1, nullptr).outcome, CommandOutcome::Done);
    EXPECT_TRUE(HasDatabaseLine(run.Database() / "Lang.dat", "TIEF=1,"));
    EXPECT_FALSE(HasDatabaseLine(run.Database() / "Lang.dat", "OBEN=1,"));
}

// Distinct file names are distinct documents, also when the locale's comparison sees no
// difference between them (digits of other scripts, full-width letters); only letter case
// makes two names one, as the file systems of Windows do.
TEST(DatabaseNames, EveryDistinctFileNameIsADocument) {
    TempDir dir;
    const auto data = dir.Path() / "Daten";
    const struct {
        const char* file;
        const char* word;
    } files[] = {
        {"doc1.xml", "EINS"},      {"doc\u0661.xml", "ZWEI"},    {"\uFF44oc3.xml", "DREI"},
        {"doc3.xml", "VIER"},      {"Stra\u00DFe.xml", "FUENF"}, {"Strasse.xml", "SECHS"},
        {"x\u00B2.xml", "SIEBEN"}, {"x2.xml", "ACHT"},
    };
    for (const auto& f : files) {
        WriteBytes(data / f.file, std::string("<r>") + f.word + "</r>");
    }
    CreateRun run(dir.Path());
    ASSERT_EQ(run.Create("Namen", data).outcome, CommandOutcome::Done);
    EXPECT_EQ(run.host.noticeCount, 8);
    EXPECT_EQ(DocumentLinesOf(run.Database() / "Namen.dat").size(), 8u);
    for (const auto& f : files) {
        bool found = false;
        for (const auto& line : ReadCrLfLines(run.Database() / "Namen.dat")) {
            found = found || line.starts_with(std::string(f.word) + "=");
        }
        EXPECT_TRUE(found) << f.word;
    }
}

// A document of more than 2 GB shows its size in its document line and in the totals.
TEST(DatabaseNames, SizesBeyondTwoGigabytes) {
    TempDir dir;
    const auto data = dir.Path() / "Daten";
    WriteBytes(data / "klein.xml", "<r>Klein</r>");
    const auto big = data / "riesig.xml";
    WriteBytes(big, "");
    const uint64_t bigSize = (uint64_t{5} << 29) + 7;  // 2.5 GB, sparse
    std::error_code error;
    fs::resize_file(big, bigSize, error);
    if (error) GTEST_SKIP() << "no sparse file: " << error.message();
    CreateRun run(dir.Path());
    ASSERT_EQ(run.Create("Gross", data).outcome, CommandOutcome::Done);
    bool found = false;
    for (const auto& line : DocumentLinesOf(run.Database() / "Gross.dat")) {
        if (line.find("\\RIESIG.XML") == std::string::npos) continue;
        found = true;
        EXPECT_NE(line.find(" SIZE:" + std::to_string(bigSize) + " DATE:"), std::string::npos)
            << line;
    }
    EXPECT_TRUE(found);
    EXPECT_EQ(run.host.noticeSize, "2 GB");
}

}  // namespace
}  // namespace vx::indexing
