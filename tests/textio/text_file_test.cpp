#include "textio/text_file.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/text.h"
#include "temp_folder.h"
#include "textio/detail/text_source.h"

namespace vx::textio {
namespace {

using testing::TempFolder;

std::string Bytes(std::initializer_list<int> values) {
    std::string s;
    for (int v : values) s.push_back(static_cast<char>(v));
    return s;
}

struct WriteCase {
    const char* name;
    std::u16string text;
    int codePage;
    std::string bytes;
};

TEST(WriteToStream, Table) {
    const WriteCase cases[] = {
        {"Größe", u"Größe", 65001, Bytes({0x47, 0x72, 0xC3, 0xB6, 0xC3, 0x9F, 0x65})},
        {"empty", u"", 65001, ""},
        {"zero and a pair", std::u16string{u'a', u'\0', char16_t(0xD800), char16_t(0xDC00), u'b'},
         65001, Bytes({0x61, 0x00, 0xF0, 0x90, 0x80, 0x80, 0x62})},
        {"lone halves", std::u16string{u'a', char16_t(0xDC00), char16_t(0xD800), u'b'}, 65001,
         Bytes({0x61, 0xEF, 0xBF, 0xBD, 0xEF, 0xBF, 0xBD, 0x62})},
        {"lines", u"eins\r\nzwei\r\n", 65001, "eins\r\nzwei\r\n"},
        {"utf16", u"Ω", 1200, Bytes({0xFF, 0xFE, 0xA9, 0x03})},
        {"utf32", u"Ω", 12000, Bytes({0xFF, 0xFE, 0x00, 0x00, 0xA9, 0x03, 0x00, 0x00})},
        {"ansi", u"Öl Ω", 1252, Bytes({0xD6, 0x6C, 0x20, 0x3F})},
    };
    TempFolder folder;
    for (const auto& c : cases) {
        WriteToStream(c.text, folder.Windows(u"out.txt"), c.codePage);
        EXPECT_EQ(folder.ReadBytes(folder.Host("out.txt")), c.bytes) << c.name;
    }
}

TEST(WriteToStream, TruncatesALongerFile) {
    TempFolder folder;
    folder.WriteBytes(folder.Host("a.txt"), std::string(1000, 'x'));
    WriteToStream(u"kurz", folder.Windows(u"a.txt"), 65001);
    EXPECT_EQ(folder.ReadBytes(folder.Host("a.txt")), "kurz");
}

struct ReadCase {
    const char* name;
    std::string bytes;
    std::u16string text;
};

TEST(ReadTextFile, Table) {
    const ReadCase cases[] = {
        {"utf8 without mark", Bytes({0x47, 0x72, 0xC3, 0xB6, 0xC3, 0x9F, 0x65}), u"Größe"},
        {"utf8 mark skipped", Bytes({0xEF, 0xBB, 0xBF, 0xC3, 0xB6, 0x0D, 0x0A}), u"ö\r\n"},
        {"empty", "", u""},
        {"one byte", "A", u"A"},
        {"one byte FF", Bytes({0xFF}), u"\uFFFD"},
        {"written zero", Bytes({0xE0, 0x80, 0x80}), std::u16string(1, u'\0')},
        {"four-byte sequence", Bytes({0xF0, 0x9F, 0x98, 0x80}), u"\U0001F600"},
        {"ansi bytes are not utf8", Bytes({0x47, 0x72, 0xF6, 0xDF, 0x65}), u"Gr\uFFFD\uFFFDe"},
        // UTF-16 and UTF-32 pass through the ANSI code page: characters without a byte become "?"
        // and the ANSI bytes are then decoded as UTF-8.
        {"utf16 le ascii", Bytes({0xFF, 0xFE, 0x41, 0x00, 0x0D, 0x00, 0x0A, 0x00}), u"A\r\n"},
        {"utf16 le omega", Bytes({0xFF, 0xFE, 0xA9, 0x03, 0x41, 0x00}), u"?A"},
        {"utf16 le umlaut", Bytes({0xFF, 0xFE, 0xF6, 0x00, 0x41, 0x00}), u"\uFFFDA"},
        {"utf16 le odd last byte", Bytes({0xFF, 0xFE, 0x41, 0x00, 0x42}), u"A"},
        {"utf16 be", Bytes({0xFE, 0xFF, 0x00, 0x41, 0x03, 0xA9}), u"A?"},
        {"utf32 le", Bytes({0xFF, 0xFE, 0x00, 0x00, 0x41, 0x00, 0x00, 0x00}), u"A"},
    };
    TempFolder folder;
    for (const auto& c : cases) {
        folder.WriteBytes(folder.Host("in.txt"), c.bytes);
        EXPECT_EQ(ReadTextFile(folder.Windows(u"in.txt")), c.text) << c.name;
    }
}

TEST(ReadTextFile, ReadsBackEverythingWritten) {
    std::u16string text;
    for (uint32_t c = 0; c <= 0xFFFF; ++c) text.push_back(static_cast<char16_t>(c));
    text += u"\U0001F600 Größe\r\n";
    TempFolder folder;
    WriteToStream(text, folder.Windows(u"all.txt"), 65001);
    // Of the surrogate halves only U+DBFF U+DC00 form a pair; the others read back as U+FFFD.
    std::u16string expected = text;
    for (uint32_t c = 0xD800; c <= 0xDFFF; ++c) {
        if (c != 0xDBFF && c != 0xDC00) expected[c] = u'\uFFFD';
    }
    EXPECT_EQ(ReadTextFile(folder.Windows(u"all.txt")), expected);
}

// Characters cut by the boundary of the file reads are carried over to the next read.
TEST(ReadTextFile, CharactersAcrossReadBoundaries) {
    const std::string euro = Bytes({0xE2, 0x82, 0xAC});
    const std::string smile = Bytes({0xF0, 0x9F, 0x98, 0x80});
    TempFolder folder;
    for (size_t shift = 0; shift < 4; ++shift) {
        std::string bytes(kReadChunkBytes - 3 + shift, 'a');
        bytes += euro + smile;
        bytes += std::string(kReadChunkBytes, 'b') + euro;
        folder.WriteBytes(folder.Host("big.txt"), bytes);
        std::u16string expected(kReadChunkBytes - 3 + shift, u'a');
        expected += u"€\U0001F600" + std::u16string(kReadChunkBytes, u'b') + u"€";
        const std::u16string text = ReadTextFile(folder.Windows(u"big.txt"));
        EXPECT_EQ(text.size(), expected.size()) << shift;
        EXPECT_TRUE(text == expected) << shift;
    }
}

TEST(ReadTextFile, Utf16FileLargerThanOneRead) {
    TempFolder folder;
    std::vector<std::u16string> lines(200000, u"Zeile mit Text");
    WriteUtf16LeLines(lines, folder.Windows(u"log.log"));
    const std::u16string text = ReadTextFile(folder.Windows(u"log.log"));
    EXPECT_TRUE(text == JoinLines(lines));
}

TEST(TextFiles, UnicodeFileNamesThroughWindowsPaths) {
    const std::u16string names[] = {u"Größe.txt", u"ΑΒΓ δέλτα.txt", u"日本.txt",
                                    u"Müller Ärger.TXT"};
    TempFolder folder;
    for (const auto& name : names) {
        WriteToStream(u"Inhalt " + name, folder.Windows(name), 65001);
        // The file exists on the host under its UTF-8 name.
        EXPECT_EQ(folder.ReadBytes(folder.Host(vx::platform::ToUtf8(name))),
                  "Inhalt " + vx::platform::ToUtf8(name));
        EXPECT_EQ(ReadTextFile(folder.Windows(name)), u"Inhalt " + name);
    }
}

TEST(TextFiles, PathWithOtherLetterCaseIsResolved) {
    TempFolder folder;
    WriteToStream(u"x", folder.Windows(u"Straße Ölfeld.txt"), 65001);
    EXPECT_EQ(ReadTextFile(folder.Windows(u"STRAßE ÖLFELD.TXT")), u"x");
}

TEST(TextFiles, MissingFilesAndFoldersRaiseFileErrorNamingTheFile) {
    TempFolder folder;
    const std::u16string missing[] = {folder.Windows(u"fehlt.txt"), folder.Windows(u"kein\\a.txt"),
                                      u"Q:\\nirgends\\b.txt", u"relativ.txt"};
    for (const auto& path : missing) {
        try {
            ReadTextFile(path);
            ADD_FAILURE() << "no error";
        } catch (const FileError& e) {
            EXPECT_NE(std::string(e.what()).find(vx::platform::ToUtf8(path)), std::string::npos)
                << e.what();
        }
    }
    EXPECT_THROW(WriteToStream(u"x", folder.Windows(u"kein\\a.txt"), 65001), FileError);
    EXPECT_THROW(ReadTextFile(folder.Windows(u"")), FileError);  // a folder is no file
}

}  // namespace
}  // namespace vx::textio
