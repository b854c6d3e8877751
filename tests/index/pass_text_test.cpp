#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "index/database_file.h"
#include "index/pass_text.h"
#include "index/word_index.h"
#include "platform/paths.h"
#include "textio/text_file.h"

namespace vx::index {
namespace {

std::u16string Joined(const std::vector<std::u16string>& lines) {
    std::u16string text;
    for (const std::u16string& line : lines) text += line + u"\r\n";
    return text;
}

void File(WordIndex& index, const std::string& word, int32_t number) {
    bool handled = true;
    index.ExtendWordEntry(word + "=", number, handled);
    if (handled) index.AddWordEntry(word, number);
}

// The lists of a one-document run over C:\Daten as the indexing run fills them.
PassLists OneDocumentRun(const WordIndex& index) {
    PassLists lists;
    lists.header = {
        u"[Scanmaske]",  u"TextDateienPfad=C:\\Daten\\*.xml", u" ", u" ", u"[Pfadliste]", u" ",
        u"P1=C:\\Daten "};
    lists.documents = {u"1 P1 \\Bericht.xml Size:20480 Date:1234567"};
    lists.index = {u" ", u" ",           u"Gesamtgröße der indizierten Dateien in Byte: 12 MB",
                   u" ", u"[DATENBANK]", u" "};
    index.SaveBuckets(lists.index);
    return lists;
}

TEST(PassTextTest, OneDocumentRunLineByLine) {
    WordIndex index;
    File(index, "Bericht", 1);
    File(index,
         "STRA\xDF"
         "E",
         1);
    index.AddUnicodePosting(u"Ωmega", 1);
    const std::vector<std::u16string> expected = {
        u"[SCANMASKE]",
        u"TEXTDATEIENPFAD=C:\\DATEN\\*.XML",
        u"",
        u"",
        u"[PFADLISTE]",
        u"",
        u"P1=C:\\DATEN",
        u"1 P1 \\BERICHT.XML SIZE:20480 DATE:1234567",
        u" ",
        u" ",
        u"GESAMTGRÖßE DER INDIZIERTEN DATEIEN IN BYTE: 12 MB",
        u" ",
        u"[DATENBANK]",
        u" ",
        u"BERICHT=1,",
        u"STRAßE=1,",
        u"ΩMEGA=1,",
    };
    EXPECT_EQ(BuildPassText(OneDocumentRun(index)), Joined(expected));
}

struct LineCase {
    const char* name;
    std::u16string line;
    std::u16string asHeader;
    std::u16string asOther;  // document and index lines
};

class PassLineTest : public testing::TestWithParam<LineCase> {};

TEST_P(PassLineTest, HeaderLinesAreTrimmedOthersAreNot) {
    const LineCase& c = GetParam();
    EXPECT_EQ(BuildPassText({{c.line}, {}, {}}), c.asHeader + u"\r\n");
    EXPECT_EQ(BuildPassText({{}, {c.line}, {}}), c.asOther + u"\r\n");
    EXPECT_EQ(BuildPassText({{}, {}, {c.line}}), c.asOther + u"\r\n");
}

INSTANTIATE_TEST_SUITE_P(
    Lines, PassLineTest,
    testing::Values(LineCase{"Blank", u" ", u"", u" "},
                    LineCase{"DriveRoot", u"P1=C:\\", u"P1=C:", u"P1=C:\\"},
                    LineCase{"OneBackslashOnly", u"x\\\\", u"X\\", u"X\\\\"},
                    LineCase{"BackslashBeforeBlank", u"x\\ ", u"X", u"X\\ "},
                    LineCase{"ControlCharacters", u"\tp1=a\r", u"P1=A", u"\tP1=A\r"},
                    LineCase{"SharpSStays", u"straße", u"STRAßE", u"STRAßE"},
                    LineCase{"Accents", u"école ÿ", u"ÉCOLE Ÿ", u"ÉCOLE Ÿ"},
                    LineCase{"Greek", u"ωmega", u"ΩMEGA", u"ΩMEGA"}),
    [](const testing::TestParamInfo<LineCase>& test) { return test.param.name; });

TEST(PassTextTest, ListsKeepTheirOrder) {
    const PassLists lists{{u"h"}, {u"d1", u"d2"}, {u"i"}};
    EXPECT_EQ(BuildPassText(lists), u"H\r\nD1\r\nD2\r\nI\r\n");
    EXPECT_EQ(BuildPassText({}), u"");
}

class PassFilesTest : public testing::Test {
  protected:
    void SetUp() override {
        folder_ = std::filesystem::temp_directory_path() /
                  ("vx_index_pass_" + std::to_string(::getpid()));
        std::filesystem::create_directories(folder_);
    }
    void TearDown() override { std::filesystem::remove_all(folder_); }
    std::u16string Path(const char* name) const {
        return platform::ToWindowsPath((folder_ / name).string());
    }
    std::filesystem::path folder_;
};

TEST_F(PassFilesTest, StreamedFilesHoldTheBuiltText) {
    WordIndex index;
    for (int32_t doc = 1; doc <= 3000; ++doc) {
        File(index, "HAUS", doc);
        File(index, "W" + std::to_string(doc % 700) + "X", doc);  // digit bucket
        File(index, "M\xDCLLER", doc);
    }
    index.AddUnicodePosting(u"ΑΒΓ", 4);
    PassLists head = OneDocumentRun(WordIndex());
    std::vector<std::u16string> seen;
    WritePassFiles(head, index, {Path("a.dat"), Path("b.dat")},
                   [&](std::u16string_view line) { seen.emplace_back(line); });

    PassLists full = head;
    index.SaveBuckets(full.index);
    const std::u16string expected = BuildPassText(full);
    EXPECT_EQ(textio::ReadTextFile(Path("a.dat")), expected);
    EXPECT_EQ(textio::ReadTextFile(Path("b.dat")), expected);
    EXPECT_EQ(seen, full.index);
}

}  // namespace
}  // namespace vx::index
