#include <gtest/gtest.h>

#include "search/html_text.h"
#include "search/result_page.h"
#include "test_support.h"

namespace vx::search {
namespace {

using testing::RecordingHost;
using testing::S;
using testing::ScratchFolder;
using testing::U;

TEST(PageLineTest, CountTexts) {
    struct Case {
        std::u16string text;
        std::string expected;
    };
    for (const Case& c : {
             Case{CountLine(1, true), "wurde in 1 Datei(en) gefunden:"},
             Case{CountLine(3, false), "wurden in 3 Datei(en) gefunden:"},
             Case{IntermediateCountLine(6),
                  "wurde bisher in 6 Datei(en) gefunden. Suche geht weiter..."},
             Case{LimitCountLine(5),
                  "wurde in 5 Datei(en) gefunden. Eingestellte Anzahl maximale "
                  "Ergebnisse anzeigen erreicht. <br>Suche wurde abgebrochen!"},
             Case{FinalCountLine(0, u"Projekte"),
                  "wurde in 0 Datei gefunden. Datenbankname: \"Projekte.dat\""},
             Case{FinalCountLine(1, u"P"), "wurde in 1 Datei gefunden. Datenbankname: \"P.dat\""},
             Case{FinalCountLine(2, u"P"),
                  "wurde in 2 Datei(en) gefunden. Datenbankname: \"P.dat\""},
         }) {
        EXPECT_EQ(S(c.text), c.expected);
    }
}

TEST(PageLineTest, HeadingsAndSearchText) {
    EXPECT_EQ(S(HeadingLine(Heading::SingleWord)), "Der Suchbegriff: <font color=\"#cc0000\"><u>");
    EXPECT_EQ(S(HeadingLine(Heading::Oder)),
              "Die ODER-verknüpften Suchbegriffe: <font color=\"#cc0000\"><u>");
    EXPECT_EQ(S(HeadingLine(Heading::Und)),
              "Die UND-verknüpften Suchbegriffe: <font color=\"#cc0000\"><u>");
    EXPECT_EQ(S(SearchTextLine(u"haus* baum")), "haus* baum</u><font color=\"#000000\" ><br>");
    EXPECT_EQ(S(SearchTextLine(u"<b>&\"")),
              "&lt;b&gt;&amp;&quot;</u><font color=\"#000000\" ><br>");
    EXPECT_EQ(std::u16string(kSeparatorLine).size(), 8u + 92u);
}

TEST(CountPathLinesTest, RepeatsOfThePreviousPathCountOnce) {
    std::vector<std::u16string> lines(5, u"head C:\\X");
    for (const char16_t* line : {u"C:\\A.XML", u"<br>... text", u"C:\\A.XML", u"C:\\B.XML",
                                 u"x C:\\C.XML", u"C:\\A.XML"}) {
        lines.emplace_back(line);
    }
    EXPECT_EQ(CountPathLines(lines, false), 4);
    EXPECT_EQ(CountPathLines(lines, true), 3);
}

class LinkTest : public ::testing::Test {
  protected:
    void SetUp() override {
        testing::WriteBytes(folder.Path() / "docs" / "Bericht Ä&1.xml", "<a/>");
        working = folder.Windows() + u"work\\";
    }
    ScratchFolder folder;
    std::u16string working;
};

TEST_F(LinkTest, ExistingDocumentIsLinkedWithItsCaseOnDisk) {
    std::u16string stored = platform::UpperCase(folder.Windows() + u"docs\\Bericht Ä&1.xml");
    std::string onDisk = (folder.Path() / "docs" / "Bericht Ä&1.xml").string();
    std::string url = FileUrl(onDisk);
    EXPECT_NE(url.find("/Bericht%20%C3%84%261.xml"), std::string::npos) << url;
    EXPECT_EQ(S(RewriteLinkLine(HtmlEscape(stored), working)),
              "<a href=\"" + url + "\" target=\"_blank\">" + S(HtmlEscape(U(onDisk))) + "</a>");
}

TEST_F(LinkTest, DocumentOnAnotherDriveIsLookedForOnTheWorkingDrive) {
    std::u16string elsewhere = u"C" + folder.Windows().substr(1) + u"DOCS\\BERICHT Ä&1.XML";
    std::string onDisk = (folder.Path() / "docs" / "Bericht Ä&1.xml").string();
    EXPECT_EQ(S(ResolveLinkTarget(elsewhere, working)), "Z" + S(elsewhere.substr(1)));
    EXPECT_NE(S(RewriteLinkLine(elsewhere, working)).find(">" + S(HtmlEscape(U(onDisk))) + "<"),
              std::string::npos);
}

TEST_F(LinkTest, MissingDocumentIsLinkedInTheWorkingFolderAndTextInFrontStays) {
    std::u16string line = u"<br>... Pfad C:\\NIRGENDS\\WEG.XML &lt;x&gt;";
    EXPECT_EQ(ResolveLinkTarget(HtmlUnescape(line), working), working + u"WEG.XML <x>");
    std::string expectedPath = folder.Path().string() + "/work/WEG.XML <x>";
    EXPECT_EQ(S(RewriteLinkLine(line, working)), "<br>... Pfad <a href=\"" + FileUrl(expectedPath) +
                                                     "\" target=\"_blank\">" +
                                                     S(HtmlEscape(U(expectedPath))) + "</a>");
}

// Whatever a context line holds, the page's own markup stays whole: the drive letter of a link is
// a letter of the text, and the link ends where the next markup begins.
TEST_F(LinkTest, LinksInContextLinesKeepThePagesMarkupWhole) {
    const std::string weg = folder.Path().string() + "/work/WEG.XML ";
    const std::string link =
        "<a href=\"" + FileUrl(weg) + "\" target=\"_blank\">" + S(HtmlEscape(U(weg))) + "</a>";
    const std::pair<std::u16string, std::string> cases[] = {
        {u"<br>... x<font color=\"#000000\" >:\\y", "<br>... x<font color=\"#000000\" >:\\y"},
        {u"<br>... &gt;:\\y", "<br>... &gt;:\\y"},
        {u"<br>... C:\\NIRGENDS\\WEG.XML <font color=\"#cc0000\"><u>Haus</u> mehr",
         "<br>... " + link + "<font color=\"#cc0000\"><u>Haus</u> mehr"},
    };
    for (const auto& [line, expected] : cases) {
        EXPECT_EQ(S(RewriteLinkLine(line, working)), expected) << S(line);
    }
}

TEST(ResultPageTest, HeadTailTrimmedLinesAndLinks) {
    ScratchFolder folder;
    std::vector<std::u16string> lines = {HeadingLine(Heading::SingleWord),
                                         SearchTextLine(u"haus"),
                                         u"wurde in 1 Datei gefunden.",
                                         u" ",
                                         kSeparatorLine,
                                         u" <br> ",
                                         u"Q:\\FEHLT.XML",
                                         u"<br>... x",
                                         u" "};
    std::vector<std::u16string> page = BuildResultPage(lines, folder.Windows());
    ASSERT_EQ(page.size(), 6u + lines.size() + 3u);
    EXPECT_EQ(S(page[0]), "<html>");
    EXPECT_EQ(S(page[1]), "<Head>");
    EXPECT_EQ(S(page[2]), "<Title> Vantor-XML Suchergebnis </Title>");
    EXPECT_EQ(S(page[3]),
              "<META http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\">");
    EXPECT_EQ(S(page[4]), "</Head>");
    EXPECT_EQ(S(page[5]),
              "<body bgcolor=\"#FFFFFF\" text=\"#000000\" link=\"#669900\" Vlink=\"#999999\" "
              "Alink=\"#999999\" > <font face=\"verdana, arial, helvetica\">");
    EXPECT_EQ(page[6], lines[0]);
    EXPECT_EQ(S(page[9]), "");
    EXPECT_EQ(S(page[11]), "<br>");
    const std::string missing = folder.Path().string() + "/FEHLT.XML";
    EXPECT_EQ(S(page[12]),
              "<a href=\"" + FileUrl(missing) + "\" target=\"_blank\">" + missing + "</a>");
    EXPECT_EQ(S(page[14]), "");
    EXPECT_EQ(S(page[15]), "</font>");
    EXPECT_EQ(S(page[16]), "</body>");
    EXPECT_EQ(S(page[17]), "</html>");
}

TEST(ResultPageTest, WritesUtf8WithCrLfAndOpensTheLowerCaseName) {
    ScratchFolder folder;
    RecordingHost host;
    SchreibHTMLDoc({u"ä"}, folder.Windows(), &host);
    std::string bytes = testing::ReadBytes(folder.Path() / "VT_Ergebnis.htm");
    EXPECT_TRUE(bytes.starts_with("<html>\r\n<Head>\r\n"));
    EXPECT_NE(bytes.find("\r\n\xC3\xA4\r\n</font>\r\n</body>\r\n</html>\r\n"), std::string::npos);
    ASSERT_EQ(host.opened.size(), 1u);
    EXPECT_EQ(host.opened[0], folder.Windows() + u"vt_ergebnis.htm");
    SchreibHTMLDoc({u"x"}, folder.Windows(), nullptr);
    EXPECT_EQ(host.opened.size(), 1u);
}

TEST(FileUrlTest, PercentEncodesAllButUnreservedAndSlash) {
    EXPECT_EQ(FileUrl("/a-b_c.d~e/F 1%#?\"<"), "file:///a-b_c.d~e/F%201%25%23%3F%22%3C");
    EXPECT_EQ(FileUrl("/ü"), "file:///%C3%BC");
}

TEST(HtmlTextTest, EscapeAndUnescapeRoundTrip) {
    std::u16string text = u"<a href=\"x\">&amp;</a>";
    EXPECT_EQ(S(HtmlEscape(text)), "&lt;a href=&quot;x&quot;&gt;&amp;amp;&lt;/a&gt;");
    EXPECT_EQ(HtmlUnescape(HtmlEscape(text)), text);
    EXPECT_EQ(HtmlUnescape(u"&nbsp;&amp"), u"&nbsp;&amp");
}

}  // namespace
}  // namespace vx::search
