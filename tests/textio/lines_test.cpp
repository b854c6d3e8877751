#include <gtest/gtest.h>

#include "platform/utf8.h"

#include <string>
#include <vector>

#include "platform/read_only_file.h"
#include "platform/text.h"
#include "temp_folder.h"
#include "textio/byte_lines.h"
#include "textio/detail/text_source.h"
#include "textio/text_file.h"

namespace vx::textio {
namespace {

using testing::TempFolder;
using Lines = std::vector<std::u16string>;

struct SplitCase {
    const char* name;
    std::u16string text;
    Lines lines;
};

const SplitCase kSplitCases[] = {
    {"empty", u"", {}},
    {"one line without break", u"a", {u"a"}},
    {"final CR LF adds no line", u"a\r\n", {u"a"}},
    {"final LF adds no line", u"a\n", {u"a"}},
    {"final CR adds no line", u"a\r", {u"a"}},
    {"mixed breaks", u"a\r\nb\nc\rd", {u"a", u"b", u"c", u"d"}},
    {"empty lines", u"\r\n\r\n", {u"", u""}},
    {"LF CR is two breaks", u"a\n\rb", {u"a", u"", u"b"}},
    {"CR CR LF", u"a\r\r\nb", {u"a", u"", u"b"}},
    {"only a break", u"\n", {u""}},
    {"text after empty line", u"\nx", {u"", u"x"}},
    {"non-ascii", u"Größe\r\nΩ日本\r\n", {u"Größe", u"Ω日本"}},
};

TEST(SplitLines, Table) {
    for (const auto& c : kSplitCases) EXPECT_EQ(SplitLines(c.text), c.lines) << c.name;
}

TEST(JoinLines, EveryLineEndsWithCrLf) {
    EXPECT_EQ(JoinLines({}), u"");
    EXPECT_EQ(JoinLines({u""}), u"\r\n");
    EXPECT_EQ(JoinLines({u"a", u"b"}), u"a\r\nb\r\n");
    const Lines lines = {u"x", u"", u"Größe"};
    EXPECT_EQ(SplitLines(JoinLines(lines)), lines);
}

Lines ReadLines(const std::u16string& fileName) {
    LineReader reader(fileName);
    Lines lines;
    std::u16string line;
    while (reader.Next(line)) lines.push_back(line);
    EXPECT_FALSE(reader.Next(line));  // stays at the end
    return lines;
}

// The line reader yields the lines that SplitLines finds in ReadTextFile's text.
TEST(LineReader, AgreesWithSplitLines) {
    TempFolder folder;
    for (const auto& c : kSplitCases) {
        WriteToStream(c.text, folder.Windows(u"l.txt"), 65001);
        EXPECT_EQ(ReadLines(folder.Windows(u"l.txt")), c.lines) << c.name;
    }
}

TEST(LineReader, DecodesLikeReadTextFile) {
    using namespace std::string_literals;
    const std::string bytes[] = {
        "\xEF\xBB\xBF"s + "a\r\nb"s,      // UTF-8 mark
        "\xFF\xFE"s + "A\0\r\0\n\0B\0"s,  // UTF-16 LE mark
        "x\xC3\r\n\xE2\x82\xAC\xF6"s,     // invalid bytes
    };
    TempFolder folder;
    for (const auto& b : bytes) {
        folder.WriteBytes(folder.Host("m.txt"), b);
        EXPECT_EQ(ReadLines(folder.Windows(u"m.txt")),
                  SplitLines(ReadTextFile(folder.Windows(u"m.txt"))));
    }
}

TEST(LineReader, LongLinesAndBreaksAcrossReads) {
    TempFolder folder;
    // Lines far longer than one read, and CR LF pairs falling on every offset of the boundaries.
    Lines lines = {std::u16string(3 * kReadChunkBytes + 5, u'ä'), u"", u"kurz"};
    for (std::size_t i = 0; i < 70000; ++i) lines.push_back(std::u16string(i % 7, u'x'));
    lines.push_back(std::u16string(kReadChunkBytes, u'€'));
    std::u16string text = JoinLines(lines);
    text += u"ohne Umbruch am Ende";
    lines.push_back(u"ohne Umbruch am Ende");
    WriteToStream(text, folder.Windows(u"long.txt"), 65001);
    const Lines read = ReadLines(folder.Windows(u"long.txt"));
    ASSERT_EQ(read.size(), lines.size());
    EXPECT_TRUE(read == lines);
}

TEST(LineReader, CrAtTheEndOfAReadFollowedByLf) {
    TempFolder folder;
    // The line reader reads 64K units at a time; put CR at the last unit of a read.
    for (size_t length : {65535u, 65534u, 65536u}) {
        std::u16string text(length, u'a');
        text += u"\r\nb\r";
        WriteToStream(text, folder.Windows(u"cr.txt"), 65001);
        const Lines read = ReadLines(folder.Windows(u"cr.txt"));
        ASSERT_EQ(read.size(), 2u) << length;
        EXPECT_EQ(read[0].size(), length);
        EXPECT_EQ(read[1], u"b");
    }
}

TEST(LineReader, MissingFileRaisesFileError) {
    TempFolder folder;
    EXPECT_THROW(LineReader reader(folder.Windows(u"fehlt.txt")), FileError);
}

// Every piece ends with the high half of a pair whose low half begins the next piece, so pairs
// fall across the writer's flushes and the stream's conversion pieces.
TEST(TextWriter, WritesTheFormOfWriteToStream) {
    TempFolder folder;
    std::u16string text;
    {
        TextWriter writer(folder.Windows(u"w.txt"));
        for (std::size_t i = 0; i < 50000; ++i) {
            const std::u16string piece = (i > 0 ? u"\xDE00" : u"") + std::u16string(u"Größe Ω ") +
                                         std::u16string(i % 3, u'\0') + u"\r\n\xD83D";
            writer.Write(piece);
            text += piece;
        }
        writer.Close();
    }
    WriteToStream(text, folder.Windows(u"s.txt"), 65001);
    const std::string written = folder.ReadBytes(folder.Host("w.txt"));
    EXPECT_TRUE(written == folder.ReadBytes(folder.Host("s.txt")));
    EXPECT_TRUE(written == platform::EncodeUtf8(text));
    text.back() = u'\uFFFD';  // the last high half has no partner
    EXPECT_EQ(ReadTextFile(folder.Windows(u"w.txt")), text);
}

TEST(TextWriter, DestructorFlushesWithoutClose) {
    TempFolder folder;
    { TextWriter(folder.Windows(u"d.txt")).Write(u"ä"); }
    EXPECT_EQ(folder.ReadBytes(folder.Host("d.txt")), "\xC3\xA4");
}

TEST(TextWriter, WriteAfterCloseFails) {
    TempFolder folder;
    TextWriter writer(folder.Windows(u"c.txt"));
    writer.Close();
    EXPECT_THROW(writer.Write(u"x"), FileError);
}

TEST(WriteUtf16LeLines, MarkThenLinesWithCrLf) {
    using namespace std::string_literals;
    TempFolder folder;
    WriteUtf16LeLines({u"A", u"", u"Ω"}, folder.Windows(u"u.log"));
    EXPECT_EQ(folder.ReadBytes(folder.Host("u.log")),
              "\xFF\xFE"s + "A\0\r\0\n\0\r\0\n\0\xA9\x03\r\0\n\0"s);
    WriteUtf16LeLines({}, folder.Windows(u"e.log"));
    EXPECT_EQ(folder.ReadBytes(folder.Host("e.log")), "\xFF\xFE");
}

}  // namespace
}  // namespace vx::textio

namespace vx::textio {
namespace {

TEST(ReadUtf16LeLines, KeepsEveryCharacterOfTheFilesItReads) {
    using namespace std::string_literals;
    struct Case {
        const char* name;
        std::string bytes;
        Lines lines;
    };
    const Case cases[] = {
        {"utf16 le", "\xFF\xFE"s + "\xF6\0\r\0\n\0\xA9\x03"s, {u"ö", u"Ω"}},
        {"utf16 be", "\xFE\xFF"s + "\0\xF6\0\n"s, {u"ö"}},
        {"utf8 mark", "\xEF\xBB\xBF"s + "Größe\r\n"s, {u"Größe"}},
        {"utf8 without mark", "Größe\r\nΩ"s, {u"Größe", u"Ω"}},
        {"mark only", "\xFF\xFE"s, {}},
    };
    TempFolder folder;
    for (const auto& c : cases) {
        folder.WriteBytes(folder.Host("r.txt"), c.bytes);
        EXPECT_EQ(ReadUtf16LeLines(folder.Windows(u"r.txt")), c.lines) << c.name;
    }
}

TEST(ReadUtf16LeLines, ReadsBackWhatWriteUtf16LeLinesWrote) {
    const Lines lines = {u"Größe", u"", u"ΑΒΓ \U0001F600", std::u16string(70000, u'ü')};
    TempFolder folder;
    WriteUtf16LeLines(lines, folder.Windows(u"h.txt"));
    EXPECT_EQ(ReadUtf16LeLines(folder.Windows(u"h.txt")), lines);
    EXPECT_THROW(ReadUtf16LeLines(folder.Windows(u"fehlt.txt")), FileError);
}

}  // namespace
}  // namespace vx::textio

namespace vx::textio {
namespace {

// Blocks of whole lines, for pieces of any size: the lines found in them, decoded one by one,
// are those of ReadTextFile's text.
TEST(ByteBlockReader, BlocksHoldWholeLinesLikeSplitLines) {
    using namespace std::string_literals;
    std::vector<std::string> texts = {"x\xC3\r\n\xE2\x82\xAC\xF6\r"s, "\xEF\xBB\xBF"s + "a\r\nb"s,
                                      "\r\r\n\n\r"s, std::string(100, 'y') + "\r\nz"s};
    for (const auto& c : kSplitCases) texts.push_back(platform::EncodeUtf8(c.text));
    TempFolder folder;
    for (const std::string& text : texts) {
        folder.WriteBytes(folder.Host("b.txt"), text);
        const Lines expected = SplitLines(ReadTextFile(folder.Windows(u"b.txt")));
        const auto file = platform::ReadOnlyFile::Open(folder.Windows(u"b.txt"));
        ASSERT_TRUE(file);
        const std::optional<uint64_t> start = Utf8TextStart(*file);
        ASSERT_EQ(start, text.starts_with("\xEF\xBB\xBF") ? 3u : 0u);
        for (std::size_t piece : {1u, 2u, 3u, 7u, 4096u}) {
            ByteBlockReader reader(*file, *start, piece);
            Lines lines;
            std::string_view block;
            uint64_t offset = 0, next = *start;
            while (reader.Next(block, offset)) {
                EXPECT_EQ(offset, next);
                next = offset + block.size();
                const char* const end = block.data() + block.size();
                for (const char* p = block.data(); p != end;) {
                    const char* const lineEnd = FindByteLineBreak(p, end);
                    lines.push_back(platform::DecodeUtf8(std::string_view(p, lineEnd)));
                    p = SkipByteLineBreak(lineEnd, end);
                }
            }
            EXPECT_EQ(lines, expected) << piece;
        }
    }
    folder.WriteBytes(folder.Host("w.txt"), "\xFF\xFE"s + "A\0"s);
    EXPECT_FALSE(Utf8TextStart(*platform::ReadOnlyFile::Open(folder.Windows(u"w.txt"))));
}

// A line longer than the bound ends the reading, wherever it stands; lines up to it do not.
TEST(ByteBlockReader, ALineBeyondTheBoundIsNeverHeld) {
    struct Case {
        std::string text;
        bool tooLong;
    };
    TempFolder folder;
    for (const Case& c :
         {Case{"ab\r\n" + std::string(16, 'x') + "\r\ncd", false},
          Case{"ab\r\n" + std::string(17, 'x') + "\r\ncd", true}, Case{std::string(17, 'x'), true},
          Case{"a\n" + std::string(17, 'x'), true}, Case{std::string(16, 'x') + "\r", false}}) {
        folder.WriteBytes(folder.Host("l.txt"), c.text);
        const auto file = platform::ReadOnlyFile::Open(folder.Windows(u"l.txt"));
        ByteBlockReader reader(*file, 0, 4, 16);
        std::string_view block;
        uint64_t offset = 0;
        std::string read;
        while (reader.Next(block, offset)) read += block;
        EXPECT_EQ(reader.TooLong(), c.tooLong) << c.text;
        if (!c.tooLong) {
            EXPECT_EQ(read, c.text);
        }
    }
}

}  // namespace
}  // namespace vx::textio
