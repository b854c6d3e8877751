// Documents and trees that must not stop a run or lose what was indexed before.
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "indexing_fixture.h"

namespace vx::indexing {
namespace {

using namespace testing;
using platform::ToUtf8;

std::vector<std::string> DocumentLines(const fs::path& database) {
    std::vector<std::string> out;
    for (const auto& line : ReadCrLfLines(database)) {
        if (!line.empty() && line[0] >= '1' && line[0] <= '9') out.push_back(line);
    }
    return out;
}

bool HasLine(const fs::path& file, const std::string& line) {
    const auto lines = ReadCrLfLines(file);
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

const char kBillionLaughs[] =
    "<?xml version=\"1.0\"?><!DOCTYPE lolz [<!ENTITY lol \"lol\">"
    "<!ENTITY lol1 \"&lol;&lol;&lol;&lol;&lol;&lol;&lol;&lol;&lol;&lol;\">"
    "<!ENTITY lol2 \"&lol1;&lol1;&lol1;&lol1;&lol1;&lol1;&lol1;&lol1;&lol1;&lol1;\">"
    "<!ENTITY lol3 \"&lol2;&lol2;&lol2;&lol2;&lol2;&lol2;&lol2;&lol2;&lol2;&lol2;\">"
    "<!ENTITY lol4 \"&lol3;&lol3;&lol3;&lol3;&lol3;&lol3;&lol3;&lol3;&lol3;&lol3;\">"
    "<!ENTITY lol5 \"&lol4;&lol4;&lol4;&lol4;&lol4;&lol4;&lol4;&lol4;&lol4;&lol4;\">"
    "<!ENTITY lol6 \"&lol5;&lol5;&lol5;&lol5;&lol5;&lol5;&lol5;&lol5;&lol5;&lol5;\">"
    "<!ENTITY lol7 \"&lol6;&lol6;&lol6;&lol6;&lol6;&lol6;&lol6;&lol6;&lol6;&lol6;\">"
    "<!ENTITY lol8 \"&lol7;&lol7;&lol7;&lol7;&lol7;&lol7;&lol7;&lol7;&lol7;&lol7;\">"
    "<!ENTITY lol9 \"&lol8;&lol8;&lol8;&lol8;&lol8;&lol8;&lol8;&lol8;&lol8;&lol8;\">"
    "]><lolz>&lol9;</lolz>";

const char kExternalEntity[] =
    "<?xml version=\"1.0\"?><!DOCTYPE r [<!ENTITY geheim SYSTEM \"file:///etc/passwd\">]>"
    "<r>Vorher &geheim; Nachher</r>";

TEST(BadInput, BrokenDocumentsAreNumberedWithEmptyCopies) {
    TempDir dir;
    const auto data = dir.Path() / "Daten";
    WriteBytes(data / "1gut.xml", "<r>Gutes Dokument</r>");
    WriteBytes(data / "2kaputt.xml", "<r>offen <b></r>");
    WriteBytes(data / "3leer.xml", "");
    WriteBytes(data / "4binaer.xml",
               std::string("\x00\xff\xfe\x01\x02PK\x03\x04garbage\x00\x00", 17));
    WriteBytes(data / "5lachen.xml", kBillionLaughs);
    WriteBytes(data / "6extern.xml", kExternalEntity);
    WriteBytes(data / "7spaet.xml", "<r>Späteres Dokument</r>");
    CreateRun run(dir.Path());
    ASSERT_EQ(run.Create("Alt", dir.Path() / "Daten").outcome, CommandOutcome::Done);
    const std::string before = ReadBytes(run.Database() / "Alt.dat");
    const auto result = run.Create("Schlecht", data, 2, 2);
    ASSERT_EQ(result.outcome, CommandOutcome::Done);
    EXPECT_EQ(result.documents, 7);
    EXPECT_EQ(result.failures, 0);
    EXPECT_EQ(DocumentLines(run.Database() / "Schlecht.dat").size(), 7u);
    EXPECT_TRUE(HasLine(run.Database() / "Schlecht.dat", "GUTES=1,"));
    EXPECT_TRUE(HasLine(run.Database() / "Schlecht.dat", "SPÄTERES=7,"));

    const std::string folder = "Schlecht/Z" + data.string() + "/";
    const auto copies = TreeContents(run.TextCopies());
    for (const char* empty : {"2kaputt.txt", "3leer.txt", "4binaer.txt", "5lachen.txt"}) {
        ASSERT_TRUE(copies.contains(folder + empty)) << empty;
        EXPECT_EQ(copies.at(folder + empty), "") << empty;
    }
    // Nothing of /etc/passwd reaches the copy or the database.
    ASSERT_TRUE(copies.contains(folder + "6extern.txt"));
    for (const auto& [name, bytes] : copies) {
        EXPECT_EQ(bytes.find("root:"), std::string::npos) << name;
    }
    EXPECT_EQ(ReadBytes(run.Database() / "Schlecht.dat").find("ROOT:"), std::string::npos);
    // The database made before is untouched.
    EXPECT_EQ(ReadBytes(run.Database() / "Alt.dat"), before);
}

TEST(BadInput, NamesWithBlanksUmlautsGreekAndInvalidBytes) {
    TempDir dir;
    const auto data = dir.Path() / "Namen mit Ümlaut";
    WriteBytes(data / "mit Leerzeichen.xml", "<r>Leerzeichen</r>");
    WriteBytes(data / "Ärger über Öl.xml", "<r>Umlaute</r>");
    WriteBytes(data / "Ωμέγα" / "Αλφα.xml", "<r>Griechisch</r>");
    WriteBytes(data / "ungültig\xff\xfe.xml", "<r>Bytes</r>");
    WriteBytes(data / "zuletzt.xml", "<r>Zuletzt</r>");
    CreateRun run(dir.Path());
    const auto result = run.Create("Namen", data);
    ASSERT_EQ(result.outcome, CommandOutcome::Done);
    const auto db = run.Database() / "Namen.dat";
    for (const char* word : {"LEERZEICHEN", "UMLAUTE", "GRIECHISCH", "ZULETZT"}) {
        bool found = false;
        for (const auto& line : ReadCrLfLines(db))
            found = found || line.starts_with(std::string(word) + "=");
        EXPECT_TRUE(found) << word;
    }
    const auto docs = DocumentLines(db);
    const auto has = [&](const std::string& part) {
        return std::any_of(docs.begin(), docs.end(),
                           [&](const std::string& d) { return d.find(part) != std::string::npos; });
    };
    EXPECT_TRUE(has("\\MIT LEERZEICHEN.XML "));
    EXPECT_TRUE(has("\\ÄRGER ÜBER ÖL.XML "));
    EXPECT_TRUE(has("\\ΑΛΦΑ.XML "));
    const auto copies = TreeContents(run.TextCopies());
    EXPECT_TRUE(copies.contains("Namen/Z" + data.string() + "/Ωμέγα/Αλφα.txt"));
}

TEST(BadInput, SymbolicLinkLoopsAreNotFollowed) {
    TempDir dir;
    const auto data = dir.Path() / "Daten";
    WriteBytes(data / "a.xml", "<r>Oben</r>");
    WriteBytes(data / "sub" / "b.xml", "<r>Unten</r>");
    fs::create_directory_symlink("..", data / "sub" / "zurueck");
    fs::create_directory_symlink(data, data / "sub" / "absolut");
    CreateRun run(dir.Path());
    const auto result = run.Create("Schleife", data);
    ASSERT_EQ(result.outcome, CommandOutcome::Done);
    EXPECT_EQ(result.documents, 2);
    EXPECT_EQ(run.host.noticeCount, 2);
    EXPECT_TRUE(HasLine(run.Database() / "Schleife.dat", "OBEN=1,"));
    EXPECT_TRUE(HasLine(run.Database() / "Schleife.dat", "UNTEN=2,"));
}

TEST(BadInput, AFolderThatVanishesDuringTheRun) {
    TempDir dir;
    const auto data = dir.Path() / "Daten";
    WriteBytes(data / "a.xml", "<r>Bleibt</r>");
    WriteBytes(data / "weg" / "b.xml", "<r>Verschwindet</r>");
    WriteBytes(data / "z" / "c.xml", "<r>Auch</r>");
    CreateRun run(dir.Path());
    run.host.beforeRun = [&] { fs::remove_all(data / "weg"); };
    const auto result = run.Create("Weg", data, 2, 2);
    ASSERT_EQ(result.outcome, CommandOutcome::Done);
    EXPECT_EQ(run.host.noticeCount, 3);
    EXPECT_EQ(result.documents, 2);
    EXPECT_TRUE(HasLine(run.Database() / "Weg.dat", "BLEIBT=1,"));
    EXPECT_TRUE(HasLine(run.Database() / "Weg.dat", "AUCH=2,"));
}

TEST(BadInput, ADocumentInUseOrWithoutReadPermission) {
    TempDir dir;
    const auto data = dir.Path() / "Daten";
    WriteBytes(data / "a.xml", "<r>Frei</r>");
    WriteBytes(data / "b.xml", "<r>Gesperrt</r>");
    CreateRun run(dir.Path());
    const bool superuser = geteuid() == 0;
    int fd = -1;
    if (superuser) {
        // Permissions do not bind the superuser: hold a lock instead; the copy in the scratch
        // folder is indexed.
        fd = open((data / "b.xml").c_str(), O_RDONLY);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(flock(fd, LOCK_EX), 0);
    } else {
        fs::permissions(data / "b.xml", fs::perms::none);
    }
    const auto result = run.Create("Gesperrt", data);
    if (fd >= 0) close(fd);
    ASSERT_EQ(result.outcome, CommandOutcome::Done);
    EXPECT_EQ(result.documents, 2);
    EXPECT_TRUE(HasLine(run.Database() / "Gesperrt.dat", "FREI=1,"));
    if (superuser) {
        EXPECT_EQ(result.failures, 0);
        EXPECT_TRUE(HasLine(run.Database() / "Gesperrt.dat", "GESPERRT=2,"));
    } else {
        EXPECT_EQ(result.failures, 1);
        const std::string line = "Kann nicht indiziert werden: " + ToUtf8(Win(data / "b.xml"));
        EXPECT_NE(std::find(run.host.log.begin(), run.host.log.end(), line), run.host.log.end());
        EXPECT_TRUE(run.host.progress.find(u"(aus 1 Dateien).") != std::u16string::npos);
    }
    // The scratch folder is emptied at the end of the run.
    EXPECT_TRUE(TreeContents(dir.Path() / "zip").empty());
}

TEST(BadInput, ADatabaseNameEndingInDat) {
    TempDir dir;
    const auto data = dir.Path() / "Daten";
    for (int i = 1; i <= 5; ++i) {
        WriteBytes(data / ("d" + std::to_string(i) + ".xml"),
                   "<r>Wort" + std::to_string(i) + "</r>");
    }
    CreateRun run(dir.Path());
    const auto result = run.Create("Archiv.dat", data, 2);
    ASSERT_EQ(result.outcome, CommandOutcome::Done);
    EXPECT_EQ(DocumentLines(run.Database() / "Archiv.dat").size(), 5u);
    for (int i = 1; i <= 5; ++i) {
        EXPECT_TRUE(HasLine(run.Database() / "Archiv.dat",
                            "WORT" + std::to_string(i) + "=" + std::to_string(i) + ","));
    }
    EXPECT_TRUE(run.LeftInTemp().empty());
    EXPECT_EQ(ListDatabaseNames(run.folders), std::vector<std::u16string>{u"Archiv"});
}

TEST(BadInput, ALargeDocumentIsFiledFromItsCopy) {
    TempDir dir;
    const auto data = dir.Path() / "Daten";
    // About 12 million characters of text: more than the lines kept in memory.
    std::string xml = "<r><a>Anfang</a>";
    for (int i = 0; i < 200000; ++i) {
        xml += "<p>Zeile mit einigen Woertern und Zahlen 123 und noch etwas Text dazu</p>\n";
    }
    xml += "<z>Ende</z></r>";
    WriteBytes(data / "gross.xml", xml);
    CreateRun run(dir.Path());
    const auto result = run.Create("Gross", data, 20000, 1);
    ASSERT_EQ(result.outcome, CommandOutcome::Done);
    EXPECT_TRUE(HasLine(run.Database() / "Gross.dat", "ANFANG=1,"));
    EXPECT_TRUE(HasLine(run.Database() / "Gross.dat", "ENDE=1,"));
    EXPECT_TRUE(HasLine(run.Database() / "Gross.dat", "WOERTERN=1,"));
}

}  // namespace
}  // namespace vx::indexing
