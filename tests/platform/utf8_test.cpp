#include "platform/utf8.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/text.h"

namespace vx::platform {
namespace {

std::string Bytes(std::initializer_list<int> values) {
    std::string s;
    for (int v : values) s.push_back(static_cast<char>(v));
    return s;
}

struct EncodeCase {
    char16_t unit;
    std::string bytes;
};

TEST(Utf8Encode, SingleCodeUnits) {
    const EncodeCase cases[] = {
        {u'A', "A"},
        {0x007F, Bytes({0x7F})},
        {0x0000, Bytes({0x00})},
        {0x0080, Bytes({0xC2, 0x80})},
        {u'ö', Bytes({0xC3, 0xB6})},
        {0x07FF, Bytes({0xDF, 0xBF})},
        {0x0800, Bytes({0xE0, 0xA0, 0x80})},
        {u'€', Bytes({0xE2, 0x82, 0xAC})},
        {0xD83D, Bytes({0xEF, 0xBF, 0xBD})},  // a lone half is no character: U+FFFD
        {0xDE00, Bytes({0xEF, 0xBF, 0xBD})},
        {0xFFFF, Bytes({0xEF, 0xBF, 0xBF})},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(EncodeUtf8(std::u16string(1, c.unit)), c.bytes) << std::hex << int(c.unit);
    }
}

TEST(Utf8Encode, SurrogatePairsAndHalves) {
    const std::u16string loneLow(1, char16_t(0xDE00));
    const std::u16string loneHigh(1, char16_t(0xD83D));
    EXPECT_EQ(EncodeUtf8(u"\U0001F600"), Bytes({0xF0, 0x9F, 0x98, 0x80}));
    EXPECT_EQ(EncodeUtf8(u"a\U00010400b"), Bytes({0x61, 0xF0, 0x90, 0x90, 0x80, 0x62}));
    EXPECT_EQ(EncodeUtf8(loneLow + loneHigh), Bytes({0xEF, 0xBF, 0xBD, 0xEF, 0xBF, 0xBD}));
    // Names of the host keep the halves, so that they map back to the same bytes.
    EXPECT_EQ(EncodeUtf8(loneHigh + u"x", LoneSurrogates::Keep), Bytes({0xED, 0xA0, 0xBD, 0x78}));
    EXPECT_EQ(DecodeUtf8(EncodeUtf8(loneLow + loneHigh, LoneSurrogates::Keep)), loneLow + loneHigh);
}

struct DecodeCase {
    const char* name;
    std::string bytes;
    std::u16string text;
};

TEST(Utf8Decode, Table) {
    const DecodeCase cases[] = {
        {"ascii", "Hallo Welt", u"Hallo Welt"},
        {"umlauts", Bytes({0x47, 0x72, 0xC3, 0xB6, 0xC3, 0x9F, 0x65}), u"Größe"},
        {"cjk", Bytes({0xE6, 0x97, 0xA5, 0xE6, 0x9C, 0xAC}), u"日本"},
        {"four bytes", Bytes({0xF0, 0x9F, 0x98, 0x80}), u"\U0001F600"},
        {"highest", Bytes({0xF4, 0x8F, 0xBF, 0xBF}), u"\U0010FFFF"},
        {"earlier zero form", Bytes({0x61, 0xE0, 0x80, 0x80, 0x62}), std::u16string(u"a\0b", 3)},
        {"earlier pair form", Bytes({0xED, 0xA0, 0xBD, 0xED, 0xB8, 0x80}), u"\U0001F600"},
        {"lone high half", Bytes({0xED, 0xA0, 0xBD}), std::u16string(1, char16_t(0xD83D))},
        {"lone low half", Bytes({0xED, 0xB8, 0x80}), std::u16string(1, char16_t(0xDE00))},
        {"stray continuation", Bytes({0x61, 0x80, 0x62}), u"a\uFFFDb"},
        {"overlong two bytes", Bytes({0xC0, 0xAF}), u"\uFFFD\uFFFD"},
        {"overlong three bytes", Bytes({0xE0, 0x80, 0xAF}), u"\uFFFD\uFFFD"},
        {"overlong four bytes", Bytes({0xF0, 0x8F, 0xBF, 0xBF}), u"\uFFFD\uFFFD\uFFFD\uFFFD"},
        {"above U+10FFFF", Bytes({0xF4, 0x90, 0x80, 0x80}), u"\uFFFD\uFFFD\uFFFD\uFFFD"},
        {"no lead byte", Bytes({0xF8, 0xFF, 0x41}), u"\uFFFD\uFFFDA"},
        {"cut by ascii", Bytes({0xE2, 0x82, 0x41}), u"\uFFFDA"},
        {"truncated at end", Bytes({0x41, 0xE2, 0x82}), u"A\uFFFD"},
        {"latin1 bytes", Bytes({0x47, 0x72, 0xF6, 0xDF, 0x65}), u"Gr\uFFFD\uFFFDe"},
        {"empty", "", u""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DecodeUtf8(c.bytes), c.text) << c.name;
    }
}

TEST(Utf8Decode, EveryCodeUnitReadsBackAsWritten) {
    std::u16string all;
    for (uint32_t c = 0; c <= 0xFFFF; ++c) all.push_back(static_cast<char16_t>(c));
    EXPECT_EQ(DecodeUtf8(EncodeUtf8(all, LoneSurrogates::Keep)), all);
}

// Every way of cutting the input into two pieces decodes like the whole.
TEST(Utf8Decode, PiecesCutAnywhereDecodeLikeTheWhole) {
    const std::string input = Bytes({0x41, 0xC3, 0xB6, 0xE2, 0x82, 0xAC, 0xF0, 0x9F, 0x98, 0x80,
                                     0xE0, 0x80, 0x80, 0xE2, 0x82, 0x42, 0xC3});
    const std::u16string whole = DecodeUtf8(input);
    const auto* bytes = reinterpret_cast<const uint8_t*>(input.data());
    for (size_t cut1 = 0; cut1 <= input.size(); ++cut1) {
        for (size_t cut2 = cut1; cut2 <= input.size(); ++cut2) {
            Utf8Decoder decoder;
            std::u16string out(Utf8Decoder::MaxUnits(input.size()) * 3, u'\0');
            size_t n = decoder.Decode(bytes, cut1, out.data());
            n += decoder.Decode(bytes + cut1, cut2 - cut1, out.data() + n);
            n += decoder.Decode(bytes + cut2, input.size() - cut2, out.data() + n);
            n += decoder.Finish(out.data() + n);
            out.resize(n);
            EXPECT_EQ(out, whole) << "cuts " << cut1 << ", " << cut2;
        }
    }
}

TEST(Utf8Decode, LongAsciiRunsMixedWithMultiByteCharacters) {
    std::u16string text;
    for (int i = 0; i < 1000; ++i) {
        text += u"abcdefghijklmnopq";
        text.push_back(static_cast<char16_t>(u'ä' + i % 5));
        text += u"中";
    }
    EXPECT_EQ(DecodeUtf8(EncodeUtf8(text)), text);
}

// Upper-casing without decoding agrees with decoding, UpperCase and encoding for every code unit
// of the usual kinds, and leaves every other kind of bytes to them.
TEST(Utf8UpperCase, UsualBytesAsDecodedAndOthersRefused) {
    std::string upper;
    for (uint32_t c = 0; c <= 0xFFFF; ++c) {
        if (c >= 0xD800 && c <= 0xDFFF) continue;
        const std::u16string unit(1, static_cast<char16_t>(c));
        ASSERT_TRUE(UpperCaseUsualUtf8(EncodeUtf8(unit) + "ab", upper)) << std::hex << c;
        EXPECT_EQ(upper, EncodeUtf8(UpperCase(unit)) + "AB") << std::hex << c;
    }
    for (const std::string& unusual : {
             Bytes({0xF0, 0x9F, 0x98, 0x80}),  // a character beyond U+FFFF
             Bytes({0xED, 0xA0, 0x80}),        // a surrogate half as earlier versions wrote it
             Bytes({0xE0, 0x80, 0x80}),        // U+0000 as earlier versions wrote it
             Bytes({0x80}),                    // a stray continuation byte
             Bytes({0xC3}),                    // a sequence cut short
             Bytes({0xE2, 0x82}),
         }) {
        EXPECT_FALSE(UpperCaseUsualUtf8("x" + unusual, upper));
    }
}

}  // namespace
}  // namespace vx::platform
