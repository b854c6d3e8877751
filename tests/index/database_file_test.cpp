#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "index/database_file.h"
#include "index/index_section.h"
#include "platform/paths.h"
#include "platform/text.h"
#include "textio/text_file.h"

namespace vx::index {
namespace {

// Three files in C:\Daten and one in C:\Daten\Sub, followed by an index that holds the words
// P1 and P4 (entries that look like path lines) and a line that looks like a document line.
std::vector<std::u16string> PassFile() {
    return {u"[SCANMASKE]",
            u"TEXTDATEIENPFAD=C:\\DATEN\\*.XML",
            u"",
            u"",
            u"[PFADLISTE]",
            u"",
            u"P1=C:\\DATEN",
            u"P2=",
            u"P3=",
            u"P4=C:\\DATEN\\SUB",
            u"1 P3 \\A.XML SIZE:10 DATE:5",
            u"2 P3 \\B.XML SIZE:20 DATE:6",
            u"3 P3 \\C.XML SIZE:30 DATE:7",
            u"4 P4 \\D.XML SIZE:40 DATE:8",
            u"1 P9 \\DUPLICATE.XML SIZE:1 DATE:1",
            u" ",
            u" ",
            u"GESAMTGRÖßE DER INDIZIERTEN DATEIEN IN BYTE: 100 BYTES",
            u" ",
            u"[DATENBANK]",
            u" ",
            u"P1=5,",
            u"P4=2,3,",
            u"5 P1 \\AFTER.XML SIZE:1 DATE:1"};
}

struct PathCase {
    const char* name;
    std::u16string key;
    std::optional<std::u16string> line;
};

class PathLineTest : public testing::TestWithParam<PathCase> {};

TEST_P(PathLineTest, ResolvesRepeatedFolders) {
    const DatabaseFile file(PassFile());
    EXPECT_EQ(file.PathLine(GetParam().key), GetParam().line);
}

INSTANTIATE_TEST_SUITE_P(
    Keys, PathLineTest,
    testing::Values(PathCase{"First", u"P1", u"P1=C:\\DATEN"},
                    PathCase{"Repeated", u"P2", u"P1=C:\\DATEN"},
                    PathCase{"RepeatedTwice", u"P3", u"P1=C:\\DATEN"},
                    PathCase{"OwnFolder", u"P4", u"P4=C:\\DATEN\\SUB"},
                    PathCase{"Missing", u"P5", std::nullopt},
                    PathCase{"PrefixOfKeys", u"P", std::nullopt},
                    PathCase{"OtherKey", u"TEXTDATEIENPFAD", u"TEXTDATEIENPFAD=C:\\DATEN\\*.XML"},
                    PathCase{"KeyWithEquals", u"P1=C:\\DATEN", std::nullopt}),
    [](const testing::TestParamInfo<PathCase>& test) { return test.param.name; });

struct DocumentCase {
    const char* name;
    std::u16string number;
    const char16_t* line;  // nullptr: none
};

class DocumentLineTest : public testing::TestWithParam<DocumentCase> {};

TEST_P(DocumentLineTest, FindsTheFirstLineBeforeTheMarker) {
    const DatabaseFile file(PassFile());
    const std::u16string* line = file.DocumentLine(GetParam().number);
    if (GetParam().line == nullptr) {
        EXPECT_EQ(line, nullptr) << std::string(line->begin(), line->end());
    } else {
        ASSERT_NE(line, nullptr);
        EXPECT_EQ(*line, GetParam().line);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Numbers, DocumentLineTest,
    testing::Values(DocumentCase{"First", u"1", u"1 P3 \\A.XML SIZE:10 DATE:5"},
                    DocumentCase{"Sub", u"4", u"4 P4 \\D.XML SIZE:40 DATE:8"},
                    DocumentCase{"AfterMarker", u"5", nullptr},
                    DocumentCase{"Unknown", u"17", nullptr},
                    DocumentCase{"WithBlank", u"2 P3", u"2 P3 \\B.XML SIZE:20 DATE:6"},
                    DocumentCase{"EmptyFindsABlankLine", u"", u" "}),
    [](const testing::TestParamInfo<DocumentCase>& test) { return test.param.name; });

TEST(DatabaseFileTest, MarkerLine) {
    EXPECT_EQ(DatabaseFile(PassFile()).DatabaseMarkerLine(), std::optional<std::size_t>(19));
    EXPECT_EQ(DatabaseFile({u"A=1,", u" [DATENBANK] "}).DatabaseMarkerLine(),
              std::optional<std::size_t>(1));
    EXPECT_EQ(DatabaseFile({u"A=1,"}).DatabaseMarkerLine(), std::nullopt);
    // The document line of a file named "A[Datenbank].xml" does not open the index section.
    const DatabaseFile file({u"P1=C:\\D", u"1 P1 \\A[DATENBANK].XML SIZE:1 DATE:2",
                             u"2 P1 \\ZZ.XML SIZE:1 DATE:2", u"[DATENBANK]", u"ZEBRA=2,"});
    EXPECT_EQ(file.DatabaseMarkerLine(), std::optional<std::size_t>(3));
    ASSERT_NE(file.DocumentLine(u"2"), nullptr);
}

TEST(DatabaseFileTest, WithoutMarkerTheWholeFileIsSearched) {
    const DatabaseFile file({u"P1=", u"P2=X:\\A", u"P3=", u"7 P3 \\A.XML"});
    ASSERT_NE(file.DocumentLine(u"7"), nullptr);
    EXPECT_EQ(*file.DocumentLine(u"7"), u"7 P3 \\A.XML");
    EXPECT_EQ(file.PathLine(u"P3"), u"P2=X:\\A");
    EXPECT_EQ(file.PathLine(u"P1"), u"") << "no folder above the first repeated entry";
}

TEST(DatabaseFileTest, PathLineIsTrimmed) {
    const DatabaseFile file({u" P1=C:\\A \t", u"P1=C:\\B", u"P2="});
    EXPECT_EQ(file.PathLine(u"P1"), u"P1=C:\\B");
    EXPECT_EQ(file.PathLine(u"P2"), u"P1=C:\\B");
}

TEST(DatabaseFileTest, LoadsASavedFile) {
    const auto folder =
        std::filesystem::temp_directory_path() / ("vx_index_db_" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    const std::u16string name = platform::ToWindowsPath((folder / "Projekte.dat").string());
    std::u16string text;
    for (const std::u16string& line : PassFile()) text += line + u"\r\n";
    textio::WriteToStream(text, name, textio::kCodePageUtf8);
    const DatabaseFile file = DatabaseFile::Load(name);
    std::filesystem::remove_all(folder);
    EXPECT_EQ(file.Lines(), PassFile());
    EXPECT_EQ(file.PathLine(u"P3"), u"P1=C:\\DATEN");
}

struct DocumentsCase {
    const char* name;
    std::vector<std::u16string> lines;  // the entry line and what follows it
    std::vector<std::u16string> documents;
};

class EntryDocumentsTest : public testing::TestWithParam<DocumentsCase> {};

TEST_P(EntryDocumentsTest, ReadsEntryWithContinuationLines) {
    const auto& lines = GetParam().lines;
    const std::u16string entry = lines[0] + ContinuationText(lines, 0);
    EXPECT_EQ(EntryDocuments(entry), GetParam().documents);
}

std::vector<std::u16string> ManyContinuations() {
    std::vector<std::u16string> lines = {u"W=0,"};
    for (int i = 1; i <= 120; ++i) {
        std::u16string line;
        for (const char c : std::to_string(i)) line.push_back(static_cast<char16_t>(c));
        lines.push_back(line + u",");
    }
    return lines;
}

std::vector<std::u16string> Numbers(int last) {
    std::vector<std::u16string> numbers;
    for (int i = 0; i <= last; ++i) {
        std::u16string n;
        for (const char c : std::to_string(i)) n.push_back(static_cast<char16_t>(c));
        numbers.push_back(n);
    }
    return numbers;
}

INSTANTIATE_TEST_SUITE_P(
    Entries, EntryDocumentsTest,
    testing::Values(
        DocumentsCase{"Merged", {u"AAL=1,5,", u"9,", u"AB=2,"}, {u"1", u"5", u"9"}},
        DocumentsCase{
            "SeveralContinuations", {u"AAL=1,5,", u"9,", u"11,"}, {u"1", u"5", u"9", u"11"}},
        DocumentsCase{"NoContinuation", {u"HAUS=3,7,", u"HAUSE=8,"}, {u"3", u"7"}},
        DocumentsCase{"EmptyPieces", {u"HAUS=3,,7"}, {u"3", u"7"}},
        DocumentsCase{"NoNumbers", {u"HAUS="}, {}},
        DocumentsCase{"NoEquals", {u"9,10,"}, {u"9", u"10"}},
        DocumentsCase{"ContinuationLinesAreTrimmed",
                      {u"AAL=1,5,", u"  9, ", u"\t12,\r", u"AB=2,"},
                      {u"1", u"5", u"9", u"12"}},
        DocumentsCase{"BlankContinuationLine", {u"AAL=1,", u" ", u"7,", u"AB=2,"}, {u"1", u"7"}},
        DocumentsCase{"AtMostHundredLines", ManyContinuations(), Numbers(100)}),
    [](const testing::TestParamInfo<DocumentsCase>& test) { return test.param.name; });

struct ChunkCase {
    const char* name;
    std::vector<std::u16string> lines;
    std::vector<std::u16string> header;
    std::vector<std::u16string> entries;
};

class SplitChunkTest : public testing::TestWithParam<ChunkCase> {};

TEST_P(SplitChunkTest, SplitsHeaderAndEntries) {
    const ChunkParts parts = SplitChunk(GetParam().lines);
    EXPECT_EQ(parts.header, GetParam().header);
    EXPECT_EQ(parts.entries, GetParam().entries);
}

INSTANTIATE_TEST_SUITE_P(
    Chunks, SplitChunkTest,
    testing::Values(
        ChunkCase{"PassForm",
                  {u"[SCANMASKE]", u"P1=C:\\A", u"1 P1 \\A.XML", u" ",
                   u"GESAMTGRÖßE DER INDIZIERTEN DATEIEN IN BYTE: 1 KB", u" ", u"[DATENBANK]", u" ",
                   u"HAUS=1,"},
                  {u"[SCANMASKE]", u"P1=C:\\A", u"1 P1 \\A.XML", u" "},
                  {u" ", u"HAUS=1,"}},
        ChunkCase{"NeitherMarker", {u"A", u"B=1,"}, {u"A", u"B=1,"}, {}},
        ChunkCase{"SecondMarkerIsAnEntry",
                  {u"GESAMTGRÖßE DER INDIZIERTEN DATEIEN IN BYTE: 1 KB", u"[DATENBANK]",
                   u"[DATENBANK]", u"A=1,"},
                  {},
                  {u"[DATENBANK]", u"A=1,"}},
        ChunkCase{"NamesHoldingTheMarkerTexts",
                  {u"P1=C:\\X DER INDIZIERTEN DATEIEN", u"1 P1 \\A[DATENBANK].XML SIZE:1 DATE:2",
                   u"GESAMTGRÖßE DER INDIZIERTEN DATEIEN IN BYTE: 1 KB", u"[DATENBANK]", u"A=1,"},
                  {u"P1=C:\\X DER INDIZIERTEN DATEIEN", u"1 P1 \\A[DATENBANK].XML SIZE:1 DATE:2"},
                  {u"A=1,"}}),
    [](const testing::TestParamInfo<ChunkCase>& test) { return test.param.name; });

}  // namespace
}  // namespace vx::index
