#include "textio/gp_text_stream.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "textio/byte_stream.h"

namespace vx::textio {
namespace {

std::string Bytes(std::initializer_list<int> values) {
    std::string s;
    for (int v : values) s.push_back(static_cast<char>(v));
    return s;
}

// Reads everything through the stream with a buffer of the given byte size.
std::u16string ReadAll(TGpTextStream& stream, size_t bufferBytes = 4096) {
    std::u16string text;
    std::string buffer(bufferBytes, '\0');
    for (;;) {
        const size_t n = stream.Read(buffer.data(), buffer.size());
        if (n == 0) break;
        EXPECT_EQ(n % 2, 0u);
        std::u16string piece(n / 2, u'\0');
        std::memcpy(piece.data(), buffer.data(), n);
        text += piece;
    }
    return text;
}

struct MarkCase {
    const char* name;
    std::string bytes;
    uint16_t codePage;
    bool reversed;
    int64_t position;
};

TEST(TextStreamMark, DetectionTable) {
    const MarkCase cases[] = {
        {"utf32 le", Bytes({0xFF, 0xFE, 0x00, 0x00, 0x41, 0x00, 0x00, 0x00}), 12000, false, 4},
        {"utf32 reversed", Bytes({0xFE, 0xFF, 0x00, 0x00, 0x00}), 12000, true, 4},
        {"utf16 le", Bytes({0xFF, 0xFE, 0x41, 0x00}), 1200, false, 2},
        {"utf16 reversed", Bytes({0xFE, 0xFF, 0x00, 0x41}), 1200, true, 2},
        {"utf16 le, then not zeros", Bytes({0xFF, 0xFE, 0x00, 0x01}), 1200, false, 2},
        {"utf8", Bytes({0xEF, 0xBB, 0xBF, 0x41}), 65001, false, 3},
        {"utf8 mark only", Bytes({0xEF, 0xBB, 0xBF}), 65001, false, 3},
        // "FF FE 00 00" needs a file longer than 3 bytes; 3 bytes are the 2-byte mark.
        {"utf32 mark cut", Bytes({0xFF, 0xFE, 0x00}), 1200, false, 2},
        // A file of exactly 4 bytes is long enough for the 4-byte mark.
        {"utf32 mark only", Bytes({0xFF, 0xFE, 0x00, 0x00}), 12000, false, 4},
        {"utf16 mark only", Bytes({0xFF, 0xFE}), 1200, false, 2},
        {"utf8 mark cut", Bytes({0xEF, 0xBB}), 1252, false, 0},
        // A 1-byte file never tests for a mark.
        {"one byte", Bytes({0xFF}), 1252, false, 0},
        {"empty", "", 1252, false, 0},
        {"no mark", "Hallo", 1252, false, 0},
        {"reversed utf8 order", Bytes({0xBF, 0xBB, 0xEF, 0x41}), 1252, false, 0},
    };
    for (const auto& c : cases) {
        MemoryByteStream bytes(c.bytes);
        TGpTextStream stream(bytes, 0, 0, TextAccess::Read);
        EXPECT_EQ(stream.Codepage(), c.codePage) << c.name;
        EXPECT_EQ(stream.IsUnicode(), c.codePage != 1252) << c.name;
        EXPECT_EQ(stream.IsReversed(), c.reversed) << c.name;
        EXPECT_EQ(bytes.Position(), c.position) << c.name;
    }
}

TEST(TextStreamMark, DetectedMarkOverridesGivenCodePage) {
    MemoryByteStream bytes(Bytes({0xFF, 0xFE, 0x41, 0x00}));
    TGpTextStream stream(bytes, kCodePageUtf8, 0, TextAccess::ReadWrite);
    EXPECT_EQ(stream.Codepage(), kCodePageUtf16);
    EXPECT_EQ(ReadAll(stream), u"A");
}

TEST(TextStreamMark, WithoutMarkTheGivenCodePageStays) {
    MemoryByteStream bytes(Bytes({0xC3, 0xB6}));
    TGpTextStream stream(bytes, kCodePageUtf8, 0, TextAccess::Read);
    EXPECT_EQ(stream.Codepage(), kCodePageUtf8);
    EXPECT_EQ(ReadAll(stream), u"ö");
}

struct CodePageCase {
    uint16_t given;
    unsigned flags;
    uint16_t codePage;
    bool unicode;
};

TEST(TextStreamCodePage, UnicodeFlagFollowsTheCodePage) {
    const CodePageCase cases[] = {
        {1200, 0, 1200, true},
        {12000, 0, 12000, true},
        {65001, 0, 65001, true},
        {1252, kCreateUnicode, 1252, false},
        {0, 0, 1252, false},
        {0, kCreateUnicode, 1200, true},
        {850, kCreateUnicode, 850, false},
    };
    for (const auto& c : cases) {
        MemoryByteStream bytes;
        TGpTextStream stream(bytes, c.given, c.flags, TextAccess::Write);
        EXPECT_EQ(stream.Codepage(), c.codePage) << c.given;
        EXPECT_EQ(stream.IsUnicode(), c.unicode) << c.given;
    }
}

struct WriteCase {
    const char* name;
    uint16_t codePage;
    unsigned flags;
    std::u16string text;
    std::string bytes;
};

TEST(TextStreamWrite, EncodingsAndMarks) {
    const WriteCase cases[] = {
        {"utf8 without mark", 65001, 0, u"Größe",
         Bytes({0x47, 0x72, 0xC3, 0xB6, 0xC3, 0x9F, 0x65})},
        {"utf8 with mark", 65001, kCreateWriteUtf8Mark, u"A", Bytes({0xEF, 0xBB, 0xBF, 0x41})},
        {"utf8 zero", 65001, 0, std::u16string(1, u'\0'), Bytes({0x00})},
        {"utf8 pair", 65001, 0, u"\U0001F600", Bytes({0xF0, 0x9F, 0x98, 0x80})},
        {"utf8 empty", 65001, 0, u"", ""},
        {"utf16", 1200, 0, u"AΩ", Bytes({0xFF, 0xFE, 0x41, 0x00, 0xA9, 0x03})},
        {"utf16 empty", 1200, 0, u"", Bytes({0xFF, 0xFE})},
        {"utf32", 12000, 0, u"AΩ",
         Bytes({0xFF, 0xFE, 0x00, 0x00, 0x41, 0x00, 0x00, 0x00, 0xA9, 0x03, 0x00, 0x00})},
        {"utf32 pair widened unit by unit", 12000, 0, u"\U0001F600",
         Bytes({0xFF, 0xFE, 0x00, 0x00, 0x3D, 0xD8, 0x00, 0x00, 0x00, 0xDE, 0x00, 0x00})},
        {"ansi", 1252, 0, u"Größe€", Bytes({0x47, 0x72, 0xF6, 0xDF, 0x65, 0x80})},
        {"ansi unmappable", 0, 0, u"ΩA\U0001F600", "?A??"},
        // Composite check: a base character and a combining mark become the precomposed
        // character when the code page has it; otherwise both are converted on their own.
        {"ansi composed", 1252, 0, u"A\u0308e\u0301u\u0308", Bytes({0xC4, 0xE9, 0xFC})},
        {"ansi composition outside the code page", 1252, 0, u"C\u0301x\u0308", "C?x?"},
        {"ansi mark without base", 1252, 0, u"\u0308A", "?A"},
        {"ansi mark after a composed character", 1252, 0, u"a\u0308\u0301", Bytes({0xE4, 0x3F})},
        {"utf8 keeps marks apart", 65001, 0, u"A\u0308", Bytes({0x41, 0xCC, 0x88})},
    };
    for (const auto& c : cases) {
        MemoryByteStream bytes("old content that write must remove");
        TGpTextStream stream(bytes, c.codePage, c.flags, TextAccess::Write);
        EXPECT_TRUE(stream.WriteString(c.text)) << c.name;
        EXPECT_EQ(bytes.Bytes(), c.bytes) << c.name;
    }
}

TEST(TextStreamWrite, WrittenTextReadsBack) {
    std::u16string text = u"Größe Ω 日本 \U0001F600 ";
    text.push_back(u'\0');
    text.push_back(static_cast<char16_t>(0xDC00));  // lone low half
    text.push_back(static_cast<char16_t>(0xD800));  // lone high half at the end
    for (uint16_t codePage : {uint16_t{65001}, uint16_t{1200}, uint16_t{12000}}) {
        MemoryByteStream bytes;
        TGpTextStream writer(bytes, codePage, 0, TextAccess::Write);
        ASSERT_TRUE(writer.WriteString(text));
        bytes.Seek(0, SeekOrigin::Begin);
        TGpTextStream reader(bytes, codePage, 0, TextAccess::Read);
        // UTF-8 has no form for a lone half: it reads back as U+FFFD.
        std::u16string expected = text;
        if (codePage == 65001) expected.replace(expected.size() - 2, 2, u"\uFFFD\uFFFD");
        EXPECT_EQ(ReadAll(reader), expected) << codePage;
    }
}

TEST(TextStreamWrite, AppendWritesMarkOnlyIntoEmptyStream) {
    MemoryByteStream empty;
    {
        TGpTextStream stream(empty, kCodePageUtf16, 0, TextAccess::Append);
        stream.WriteString(u"A");
    }
    EXPECT_EQ(empty.Bytes(), Bytes({0xFF, 0xFE, 0x41, 0x00}));
    {
        TGpTextStream stream(empty, kCodePageUtf16, 0, TextAccess::Append);
        stream.WriteString(u"B");
    }
    EXPECT_EQ(empty.Bytes(), Bytes({0xFF, 0xFE, 0x41, 0x00, 0x42, 0x00}));
}

TEST(TextStreamWrite, OddByteCountConsumesWholeUnitsOnly) {
    MemoryByteStream bytes;
    TGpTextStream stream(bytes, kCodePageUtf8, 0, TextAccess::Write);
    const char16_t units[] = {u'a', u'b'};
    EXPECT_EQ(stream.Write(units, 3), 2u);
    EXPECT_EQ(bytes.Bytes(), "a");
}

TEST(TextStreamWrite, LongTextIsWrittenInPieces) {
    std::u16string text;
    for (int i = 0; i < 100000; ++i) text += u"ä€x";
    MemoryByteStream bytes;
    TGpTextStream stream(bytes, kCodePageUtf8, 0, TextAccess::Write);
    ASSERT_TRUE(stream.WriteString(text));
    EXPECT_EQ(bytes.Bytes().size(), 100000u * 6);
    EXPECT_EQ(bytes.Bytes().substr(bytes.Bytes().size() - 6),
              Bytes({0xC3, 0xA4, 0xE2, 0x82, 0xAC, 0x78}));
}

TEST(TextStreamWrite, AnsiCompositesAcrossPieces) {
    // Long enough for several conversion pieces; every base letter has its mark after it.
    std::u16string text;
    for (int i = 0; i < 70000; ++i) text += u"o\u0308";
    MemoryByteStream bytes;
    TGpTextStream stream(bytes, 1252, 0, TextAccess::Write);
    ASSERT_TRUE(stream.WriteString(text));
    EXPECT_EQ(bytes.Bytes().size(), 70000u);
    EXPECT_TRUE(bytes.Bytes() == std::string(70000, static_cast<char>(0xF6)));
}

struct ErrorCase {
    TextAccess access;
    const char* message;
    int code;
};

TEST(TextStreamErrors, ReversedStreamsCannotBeWrittenOrAppended) {
    const ErrorCase cases[] = {
        {TextAccess::Write, "TGpTextStream:Cannot write to reversed Unicode stream.", 3004},
        {TextAccess::Append, "TGpTextStream:Cannot append reversed Unicode stream.", 3003},
    };
    for (const auto& c : cases) {
        MemoryByteStream bytes("keep");
        try {
            TGpTextStream stream(bytes, kCodePageUtf16, kCreateReverseByteOrder, c.access);
            ADD_FAILURE() << "no error for " << c.message;
        } catch (const TextStreamError& e) {
            EXPECT_STREQ(e.what(), c.message);
            EXPECT_EQ(e.Code(), c.code);
        }
        EXPECT_EQ(bytes.Bytes(), "keep");  // refused before anything was emptied
    }
}

TEST(TextStreamErrors, OddByteCountInAnsiMode) {
    MemoryByteStream bytes("abcdef");
    TGpTextStream stream(bytes, 0, 0, TextAccess::Read);
    char buffer[8];
    try {
        stream.Read(buffer, 5);
        ADD_FAILURE() << "no error";
    } catch (const TextStreamError& e) {
        EXPECT_STREQ(e.what(), "TGpTextStream:Cannot convert odd number of bytes: 5");
        EXPECT_EQ(e.Code(), 3005);
    }
    EXPECT_EQ(stream.Read(buffer, 4), 4u);  // even counts convert
}

TEST(TextStreamErrors, ConversionErrorTexts) {
    const TextStreamError withCode =
        ConversionError("WideCharToMultiByte", 87, "Falscher Parameter.");
    EXPECT_STREQ(withCode.what(),
                 "WideCharToMultiByte failed. Win32-Fehler. Code: 87.\nFalscher Parameter.");
    EXPECT_EQ(withCode.Code(), 3001);
    const TextStreamError withoutCode = ConversionError("MultiByteToWideChar", 0, "");
    EXPECT_STREQ(withoutCode.what(),
                 "MultiByteToWideChar failed. Eine Win32-API-Funktion ist fehlgeschlagen");
    EXPECT_EQ(withoutCode.Code(), 3002);
}

struct ReadCase {
    const char* name;
    std::string bytes;
    std::u16string text;
};

TEST(TextStreamRead, Encodings) {
    const ReadCase cases[] = {
        {"ansi", Bytes({0x47, 0x72, 0xF6, 0xDF, 0x65, 0x80, 0x81}), u"Größe€\u0081"},
        {"utf8 mark", Bytes({0xEF, 0xBB, 0xBF, 0xC3, 0xB6}), u"ö"},
        {"utf16 le", Bytes({0xFF, 0xFE, 0xA9, 0x03, 0x41, 0x00}), u"ΩA"},
        {"utf16 be", Bytes({0xFE, 0xFF, 0x03, 0xA9, 0x00, 0x41}), u"ΩA"},
        {"utf32 low 16 bits", Bytes({0xFF, 0xFE, 0x00, 0x00, 0x00, 0xF6, 0x01, 0x00}), u"\uF600"},
        {"utf32 truncated unit", Bytes({0xFF, 0xFE, 0x00, 0x00, 0x41, 0x00, 0x00, 0x00, 0x42}),
         u"A\uFFFD"},
    };
    for (const auto& c : cases) {
        for (size_t bufferBytes : {2u, 4u, 6u, 4096u}) {
            MemoryByteStream bytes(c.bytes);
            TGpTextStream stream(bytes, 0, 0, TextAccess::Read);
            EXPECT_EQ(ReadAll(stream, bufferBytes), c.text) << c.name << " / " << bufferBytes;
        }
    }
}

// A multi-byte sequence cut by the caller's buffer is carried over to the next Read, whatever the
// buffer size; a surrogate pair cut by the buffer is delivered half by half.
TEST(TextStreamRead, Utf8PiecesCarryIncompleteSequences) {
    const std::u16string text = u"x€ö\U0001F600日本語ab\U0001F601";
    MemoryByteStream source;
    TGpTextStream(source, kCodePageUtf8, 0, TextAccess::Write).WriteString(text);
    for (size_t bufferBytes = 2; bufferBytes <= 24; bufferBytes += 2) {
        MemoryByteStream bytes(source.Bytes());
        TGpTextStream stream(bytes, kCodePageUtf8, 0, TextAccess::Read);
        EXPECT_EQ(ReadAll(stream, bufferBytes), text) << bufferBytes;
    }
}

TEST(TextStreamRead, StandardFourByteSequencesBecomeSurrogatePairs) {
    MemoryByteStream bytes(Bytes({0xEF, 0xBB, 0xBF, 0xF0, 0x9F, 0x98, 0x80}));
    TGpTextStream stream(bytes, 0, 0, TextAccess::Read);
    EXPECT_EQ(ReadAll(stream, 2), u"\U0001F600");
}

TEST(StreamWrapper, SizeQueryDoesNotMoveTheWrappedStream) {
    MemoryByteStream bytes("0123456789");
    TGpStreamWrapper wrapper(bytes);
    char c;
    wrapper.Read(&c, 1);
    const int before = bytes.MovingSeeks();
    // The three seeks of a size query: remember, go to end, come back.
    EXPECT_EQ(wrapper.Seek(0, SeekOrigin::Current), 1);
    EXPECT_EQ(wrapper.Seek(0, SeekOrigin::End), 10);
    EXPECT_EQ(wrapper.Seek(1, SeekOrigin::Begin), 1);
    EXPECT_EQ(bytes.MovingSeeks(), before);
    wrapper.Read(&c, 1);
    EXPECT_EQ(c, '1');
}

TEST(StreamWrapper, PendingSeekToEndIsAppliedBeforeReadAndWrite) {
    MemoryByteStream bytes("0123");
    TGpStreamWrapper wrapper(bytes);
    wrapper.Seek(0, SeekOrigin::Current);
    wrapper.Seek(0, SeekOrigin::End);
    char c;
    EXPECT_EQ(wrapper.Read(&c, 1), 0u);
    wrapper.Seek(0, SeekOrigin::Current);
    wrapper.Seek(0, SeekOrigin::End);
    wrapper.Write("x", 1);
    EXPECT_EQ(bytes.Bytes(), "0123x");
    // Any other seek applies the pending one first, so a relative seek counts from the end.
    wrapper.Seek(0, SeekOrigin::Current);
    wrapper.Seek(0, SeekOrigin::End);
    EXPECT_EQ(wrapper.Seek(-2, SeekOrigin::Current), 3);
}

}  // namespace
}  // namespace vx::textio
