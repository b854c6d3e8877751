#include <gtest/gtest.h>

#include "platform/utf8.h"
#include "search/context.h"
#include "test_support.h"

namespace vx::search {
namespace {

using testing::CrLf;
using testing::S;
using testing::ScratchFolder;
using testing::U;

const std::string kOpen = "<font color=\"#cc0000\"><u>";
const std::string kClose = "</u><font color=\"#000000\" >";

class ContextTest : public ::testing::Test {
  protected:
    // Writes the text copy (UTF-8, CR LF) and collects the context of the word.
    std::string Collect(const std::vector<std::string>& lines, const std::string& word) {
        testing::WriteBytes(folder.Path() / "copy.txt", CrLf(lines));
        return S(KontextHolenTextFiles(File(), U(word)));
    }
    std::u16string File() const { return folder.Windows() + u"copy.txt"; }

    ScratchFolder folder;
};

struct LineCase {
    std::vector<std::string> lines;
    std::string word;
    std::string context;
};

class ContextLineTest : public ContextTest, public ::testing::WithParamInterface<LineCase> {};

TEST_P(ContextLineTest, CollectsTheLinesWithTheWord) {
    EXPECT_EQ(Collect(GetParam().lines, GetParam().word), GetParam().context);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ContextLineTest,
    ::testing::Values(
        LineCase{{"Das Haus am See."}, "HAUS=", "<br>... Das Haus am See <br></u>"},
        LineCase{{"Ende.,"}, "ENDE=", "<br>... Ende <br></u>"},
        LineCase{{"Ende,."}, "ENDE=", "<br>... Ende, <br></u>"},
        LineCase{{"Das Hochhaus steht"}, "HAUS=", "<br>... Das Hochhaus steht "},
        LineCase{{"eins", "Haus zwei", "drei haus"},
                 "HAUS",
                 "<br>... Haus zwei <br></u><br>... drei haus <br></u>"},
        LineCase{{"Hallo Welt"}, "HA?US=", "<br>... Hallo Welt <br></u>"},
        LineCase{{"Pfad C:\\DATEN\\X haus"}, "HAUS=", "<br>... Pfad CDATEN\\X haus <br></u>"},
        // One ":\" of the whole context goes after each further line of the text copy.
        LineCase{{"haus C:\\A D:\\B", "nichts"}, "HAUS=", "<br>... haus CA DB <br></u>"},
        LineCase{{"haus C:\\A D:\\B"}, "HAUS=", "<br>... haus CA D:\\B <br></u>"},
        LineCase{{"das", "haus"}, "das haus", "das haus Kein Kontext enthalten!"},
        LineCase{{"kein Treffer"}, "HAUS=", "HAUS= Kein Kontext enthalten!"},
        LineCase{{"x <b>a&b</b> \"y\""}, "A&B=", "<br>... x <b>a&b</b> \"y\" "},
        // The word "A" is looked for as "A " (from "A ="): the blank added after the line
        // lets it match at the line's end, also after a final period or comma.
        LineCase{{"Vitamin A", "Typ A.", "Ahorn", "A, B"},
                 "A =",
                 "<br>... Vitamin A <br></u><br>... Typ A <br></u>"},
        LineCase{{"Der Wert,", "Wertpapier"}, "Wert =", "<br>... Der Wert <br></u>"}));

TEST_F(ContextTest, LongLineIsCutBeforeTheWord) {
    std::string line = std::string(798, 'x') + " HAUS" + std::string(197, 'y');
    ASSERT_EQ(line.size(), 1000u);
    // The word stands at position 800 of the line: the piece begins with position 550 (from 0).
    EXPECT_EQ(Collect({line}, "HAUS="), "<br>..." + line.substr(550) + " <br></u>");
    std::string piece = Collect({line}, "HAUS=").substr(7);
    EXPECT_EQ(piece.find("HAUS") + 1, kCutBefore);
}

TEST_F(ContextTest, LongLineWithTheWordEarlyIsKept) {
    std::string line = "HAUS " + std::string(995, 'z');
    EXPECT_EQ(Collect({line}, "HAUS="), "<br>... " + line + " <br></u>");
}

TEST_F(ContextTest, CollectionStopsOnlyBeyondTwoThousandCharacters) {
    for (std::size_t extra : {0u, 1u}) {
        // "<br>" + "..." + " " + line + " " is 2000 (then 2001) characters long.
        std::string first = "XHAUS" + std::string(1986 + extra, 'y');
        std::string context = Collect({first, "Haus zwei"}, "HAUS=");
        std::string firstPiece = "<br>... " + first + " ";
        ASSERT_EQ(firstPiece.size(), 2000 + extra);
        if (extra == 0) {
            EXPECT_EQ(context, firstPiece + "<br>... Haus zwei <br></u>");
        } else {
            EXPECT_EQ(context, firstPiece);
        }
    }
}

TEST_F(ContextTest, ManyLinesAreCappedAfterThePieceThatCrossesTheLimit) {
    std::vector<std::string> lines(5000, "ein Haus mit einem langen Satz und noch mehr Text dazu");
    std::string context = Collect(lines, "HAUS=");
    EXPECT_GT(context.size(), kContextLimit);
    EXPECT_LT(context.size(), kContextLimit + 100);
}

TEST_F(ContextTest, MissingOrBinaryTextCopy) {
    EXPECT_EQ(KontextHolenTextFiles(folder.Windows() + u"fehlt.txt", u"HAUS="), u"");
    std::string binary;
    for (int i = 0; i < 4096; ++i) binary += static_cast<char>((i * 37) & 0xFF);
    testing::WriteBytes(folder.Path() / "binary.txt", binary);
    Context context = CollectContext(folder.Windows() + u"binary.txt", u"HAUS=");
    EXPECT_FALSE(context.Empty());  // at least the "Kein Kontext enthalten!" form
    context.Trim();
    std::u16string marked = MarkContext(context, u"HAUS=", false, false, false);
    for (char16_t c : marked) EXPECT_GE(c, 32);
}

Context TextContext(const std::string& text) {
    Context context;
    context.AppendText(U(text));
    return context;
}

struct MarkCase {
    std::string context;
    std::string word;
    bool leading;
    bool trailing;
    bool phrase;
    std::string marked;
};

class MarkTest : public ::testing::TestWithParam<MarkCase> {};

TEST_P(MarkTest, WrapsEveryOccurrence) {
    const MarkCase& c = GetParam();
    EXPECT_EQ(S(MarkContext(TextContext(c.context), U(c.word), c.leading, c.trailing, c.phrase)),
              c.marked);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, MarkTest,
    ::testing::Values(
        MarkCase{"Das Haus am See", "HAUS=", false, false, false,
                 "Das " + kOpen + "Haus" + kClose + " am See"},
        MarkCase{"Hochhausbau und Haus", "HAUS", true, true, false,
                 "Hoch" + kOpen + "haus" + kClose + "bau und <u>Haus</u>"},
        MarkCase{"Hochhaus. Hochhausbau", "HAUS=", true, false, false,
                 "Hoch" + kOpen + "haus" + kClose + ". Hoch<u>haus</u>bau"},
        MarkCase{" Hausbau Haus ", "HAUS", false, true, false,
                 " " + kOpen + "Haus" + kClose + "bau <u>Haus</u> "},
        MarkCase{"xdas hausx", "das haus", false, false, true,
                 "x" + kOpen + "das haus" + kClose + "x"},
        MarkCase{"font FONT", "FONT=", false, false, false,
                 kOpen + "font" + kClose + " " + kOpen + "FONT" + kClose},
        MarkCase{"a\tHaus\x01", "HAUS=", false, false, false, "a " + kOpen + "Haus" + kClose + " "},
        MarkCase{"a\tb", "a\tb", false, false, true, kOpen + "a\tb" + kClose},
        MarkCase{"HAUS= Kein Kontext enthalten!", "HAUS=", false, false, false,
                 " ... " + kOpen + "HAUS" + kClose + " Nicht gefunden! <br>"},
        MarkCase{"HAUS Kein Kontext enthalten!", "HAUS", false, true, false,
                 " ... <u>HAUS</u> Kein Kontext enthalten! Nicht gefunden! <br>"},
        MarkCase{"das haus Kein Kontext enthalten!", "das haus", false, false, true,
                 kOpen + "das haus" + kClose + " Kein Kontext enthalten!"},
        MarkCase{
            "<script>x</script> & \"haus\"", "HAUS=", false, false, false,
            "&lt;script&gt;x&lt;/script&gt; &amp; &quot;" + kOpen + "haus" + kClose + "&quot;"},
        MarkCase{"x a&b y", "A&B=", false, false, false, "x " + kOpen + "a&amp;b" + kClose + " y"},
        MarkCase{"ohne", "=", false, false, false, "ohne"}));

TEST(MarkSystemMarkupTest, MarkupIsKeptAndNeverMarked) {
    Context context;
    context.AppendMarkup(u"<br>");
    context.AppendText(u"... <br> br ");
    context.AppendMarkup(u"<br></u>");
    EXPECT_EQ(S(MarkContext(context, u"BR", true, true, false)),
              "<br>... &lt;<u>br</u>&gt; <u>br</u> <br></u>");
}

TEST(ContextTrimTest, TrimsBothEndsAndKeepsTheMarkupFlags) {
    Context context;
    context.AppendText(u"  \t");
    context.AppendMarkup(u"<br>");
    context.AppendText(u"x \r\n");
    context.Trim();
    EXPECT_EQ(context.Text(), u"<br>x");
    EXPECT_TRUE(context.IsMarkup(0));
    EXPECT_FALSE(context.IsMarkup(4));
}

}  // namespace
}  // namespace vx::search

namespace vx::search {
namespace {

// The context taken from the copy's bytes, where only lines with the word's bytes are decoded,
// equals the one taken line by line from the decoded text.
TEST(ContextFromBytes, EqualsTheContextOfTheDecodedText) {
    const std::string long1(400, 'x');
    const std::vector<std::string> texts = {
        "Das Haus am See.\r\nhaus C:\\A D:\\B E:\\C\r\neins\r\nzwei\r\ndrei\r\nvier\r\nHAUS",
        "haus C:\\A\rD:\\B\nhause\r\n\r\nx haus",
        "x\xC3\r\n\xE2\x82\xAC haus\xF6\r\nStraße STRASSE straße",
        "\xEF\xBB\xBFVitamin A\r\nTyp A.\r\nAhorn\r\nA, B",
        "\xF0\x9D\x90\x80"
        "BC und \xED\xA0\xB5\xED\xB0\x80"
        "bc\r\nσοφια ΣΟΦΙΑ ς",
        long1 + " haus " + long1 + "\r\n" + std::string(30, '-') + "haus" + long1,
        // Dotless i and long s upper-case to ASCII letters.
        "D\xC4\xB1\x65n\xC5\xBFtag\r\nkein",
    };
    const std::vector<std::u16string> words = {
        u"HAUS=",         u"HAUS", u"STRASSE=", u"STRAßE=",  u"A =",    u"ΣΟΦΙΑ=",    u"Σ",
        u"\U0001D400BC=", u"C:\\", u"xhaus",    u"das haus", u"FEHLT=", u"DIENSTAG=", u"IENS"};
    for (const std::string& text : texts) {
        const TextCopy copy = TextCopy::FromBytes(text);
        const std::u16string decoded =
            platform::DecodeUtf8(text.starts_with("\xEF\xBB\xBF") ? text.substr(3) : text);
        for (const std::u16string& word : words) {
            EXPECT_EQ(CollectContextIn(copy, word).Text(), CollectContextIn(decoded, word).Text())
                << text << " / " << S(word);
        }
    }
}

}  // namespace
}  // namespace vx::search
