// The database list, the new-database checks, the data folders and the close/cancel button.
#include <gtest/gtest.h>

#include "indexing/data_folders.h"
#include "indexing/new_database_checks.h"
#include "indexing_fixture.h"

namespace vx::indexing {
namespace {

using namespace testing;
using platform::ToUtf8;

std::vector<std::string> Utf8(const std::vector<std::u16string>& items) {
    std::vector<std::string> out;
    for (const auto& s : items) out.push_back(ToUtf8(s));
    return out;
}

TEST(ListDatabaseNames, SortedIgnoringCaseWithoutTheFirstDat) {
    TempDir dir;
    const auto folders = MakeFolders(dir.Path());
    const auto db = dir.Path() / "wd" / "Datenbank";
    for (const char* name : {"b.DAT", "A.dat", "c.DAT", "Alt.DATEN.DAT", "Projekt.2020", "x.txt",
                             "Ärger.dat", "B_ansi.txt"}) {
        WriteBytes(db / name, "");
    }
    EXPECT_EQ(Utf8(ListDatabaseNames(folders)),
              (std::vector<std::string>{"A", "AltEN.DAT", "Ärger", "b", "c"}));
}

TEST(ListDatabaseNames, MissingFolderGivesNoRows) {
    TempDir dir;
    const auto folders = platform::WorkingFolders::From(Win(dir.Path() / "none"), u"Z:\\tmp");
    EXPECT_TRUE(ListDatabaseNames(folders).empty());
}

TEST(RowToSelectAfterCreate, TheEqualRowWins) {
    const std::vector<std::u16string> rows = {u"Alt", u"Recht", u"Rechtsprechung", u"Zoo"};
    const struct {
        const char16_t* name;
        int row;
    } cases[] = {
        {u"Recht", 1},      // equal wins over the later row that contains it
        {u"RECHT", 1},      // letter case ignored for the equal row
        {u"sprechung", 2},  // only a containing row
        {u"echt", 2},       // the last containing row
        {u"Fehlt", -1},    {u"", -1},
    };
    for (const auto& c : cases) EXPECT_EQ(RowToSelectAfterCreate(rows, c.name), c.row);
}

TEST(CheckNewDatabase, ChecksInOrderAndGoesOnAfterAFailure) {
    TempDir dir;
    const std::u16string existing = Win(dir.Path());
    const std::u16string missing = Win(dir.Path() / "fehlt");
    const std::vector<std::u16string> rows = {u"Projekte", u"Straße"};
    const struct {
        const char* name;
        std::u16string dbName;
        std::u16string folder;
        DialogMode mode;
        bool ok;
        std::vector<std::string> messages;
    } cases[] = {
        {"fine", u"Neu", existing, DialogMode::Create, true, {}},
        {"empty name and folder",
         u"",
         u"",
         DialogMode::Create,
         false,
         {"Sie haben keinen Namen für die Datenbank angegeben", "Sie haben keinen Pfad angegeben"}},
        {"missing folder",
         u"Neu",
         missing,
         DialogMode::Create,
         false,
         {"Der angegebene Ordner existiert nicht"}},
        {"name exists, case ignored",
         u"PROJEKTE",
         existing,
         DialogMode::Create,
         false,
         {"Dieser Name existiert schon! Geben Sie einen anderen ein!"}},
        {"name exists with ß",
         u"STRAßE",
         existing,
         DialogMode::Create,
         false,
         {"Dieser Name existiert schon! Geben Sie einen anderen ein!"}},
        {"update accepts the existing name", u"Projekte", existing, DialogMode::Update, true, {}},
        {"blanks are a name", u"   ", existing, DialogMode::Create, true, {}},
        {"update with a missing folder",
         u"Projekte",
         missing,
         DialogMode::Update,
         false,
         {"Der angegebene Ordner existiert nicht"}},
    };
    for (const auto& c : cases) {
        const auto checks = CheckNewDatabase(c.dbName, c.folder, c.mode, rows);
        EXPECT_EQ(checks.ok, c.ok) << c.name;
        EXPECT_EQ(Utf8(checks.messages), c.messages) << c.name;
    }
}

TEST(RemoveInvalidNameChars, RemovesEveryOccurrence) {
    const struct {
        const char16_t* typed;
        const char* name;
        bool removed;
    } cases[] = {{u"Pro:jekt", "Projekt", true},
                 {u"a/b\\c*d?e\"f<g>h|i:j^k", "abcdefghijk", true},
                 {u"Ärger Ωmega.dat", "Ärger Ωmega.dat", false},
                 {u"", "", false}};
    for (const auto& c : cases) {
        bool removed = !c.removed;
        EXPECT_EQ(ToUtf8(RemoveInvalidNameChars(c.typed, removed)), c.name);
        EXPECT_EQ(removed, c.removed);
    }
}

TEST(EnsureDataFolders, CreatesTheFoldersSilently) {
    TempDir dir;
    const auto folders = platform::WorkingFolders::From(Win(dir.Path() / "wd"),
                                                        Win(dir.Path() / "data" / "ZipTemp"));
    fs::create_directories(dir.Path() / "wd");
    RecordingHost host;
    EnsureDataFolders(host, folders);
    EXPECT_TRUE(host.messages.empty());
    for (const char* sub : {"wd/XML_Texte", "wd/Datenbank", "wd/Datenbank/Temp", "data/ZipTemp"}) {
        EXPECT_TRUE(fs::is_directory(dir.Path() / sub)) << sub;
    }
}

TEST(EnsureDataFolders, WarnsForEachFolderThatCannotBeCreated) {
    TempDir dir;
    fs::create_directories(dir.Path() / "wd");
    WriteBytes(dir.Path() / "wd" / "Datenbank", "a file");
    WriteBytes(dir.Path() / "zip", "a file");
    const auto folders =
        platform::WorkingFolders::From(Win(dir.Path() / "wd"), Win(dir.Path() / "zip"));
    RecordingHost host;
    EnsureDataFolders(host, folders);
    const std::string wd = ToUtf8(folders.working);
    std::vector<std::string> texts;
    for (const auto& m : host.messages) {
        EXPECT_EQ(m.kind, MessageKind::Warning);
        texts.push_back(m.text);
    }
    EXPECT_EQ(texts,
              (std::vector<std::string>{
                  "Kann das temporäre Verzeichnis " + ToUtf8(folders.zipTemp) + " nicht anlegen!",
                  "Kann das Verzeichnis " + wd + "Datenbank nicht anlegen!",
                  "Kann das Verzeichnis " + wd + "Datenbank\\Temp nicht anlegen!"}));
}

TEST(CloseButtonClick, CancelRulesOfTheRunFlags) {
    const struct {
        const char* name;
        bool running, updateRunning, searchActive;
        bool finished;  // the closing text of an ended run stands
        bool handled;
        const char* status;
        bool cancel, chunkFull, aborted;
    } cases[] = {
        {"idle closes", false, false, false, true, false, "", false, false, false},
        {"indexing", true, false, false, false, true,
         "Indizierung wurde abgebrochen! Die Daten werden gespeichert", true, false, false},
        {"re-index", true, true, false, true, true,
         "Indizierung wurde abgebrochen! Die Daten werden gespeichert", true, true, false},
        {"re-index before its run", false, true, false, false, true,
         "Aktualisierung wurde abgebrochen! ", true, true, false},
        {"search", false, false, true, true, true, "", true, false, true},
    };
    for (const auto& c : cases) {
        RecordingHost host;
        RunFlags flags;
        flags.finished = c.finished;
        flags.running = c.running;
        flags.updateRunning = c.updateRunning;
        flags.searchActive = c.searchActive;
        EXPECT_EQ(CloseButtonClick(host, flags), c.handled) << c.name;
        EXPECT_EQ(ToUtf8(host.status), c.status) << c.name;
        EXPECT_EQ(flags.cancel.load(), c.cancel) << c.name;
        EXPECT_EQ(flags.chunkFull.load(), c.chunkFull) << c.name;
        EXPECT_EQ(flags.aborted.load(), c.aborted) << c.name;
        EXPECT_FALSE(flags.running || flags.updateRunning || flags.searchActive) << c.name;
    }
}

}  // namespace
}  // namespace vx::indexing
