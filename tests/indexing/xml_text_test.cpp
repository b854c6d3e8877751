#include "indexing/xml_text.h"

#include <gtest/gtest.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "platform/paths.h"
#include "platform/text.h"

namespace vx::indexing {
namespace {

using Lines = std::vector<std::u16string>;

// Collects every entry's lines (an entry's line breaks split it).
class LineSink : public XmlTextSink {
  public:
    void Entry(std::u16string_view text) override {
        ++entries;
        maxEntry = std::max(maxEntry, text.size());
        std::size_t start = 0;
        for (;;) {
            const std::size_t lf = text.find(u'\n', start);
            lines.emplace_back(text.substr(start, lf - start));
            if (lf == std::u16string_view::npos) break;
            start = lf + 1;
        }
    }
    Lines lines;
    std::size_t entries = 0;
    std::size_t maxEntry = 0;
};

class XmlTextTest : public testing::Test {
  protected:
    void SetUp() override {
        char pattern[] = "/tmp/vx_xml_text_XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir_ = pattern;
    }
    void TearDown() override { std::system(("rm -rf '" + dir_ + "'").c_str()); }

    // Writes the bytes to a file of the test folder and returns its Windows-form path.
    std::u16string Write(const std::string& name, const std::string& bytes) {
        const std::string host = dir_ + "/" + name;
        std::ofstream(host, std::ios::binary) << bytes;
        return platform::ToWindowsPath(host);
    }
    std::string HostPath(const std::string& name) const { return dir_ + "/" + name; }

    XmlLoadResult Extract(const std::string& bytes, LineSink& sink) {
        const std::atomic<bool> cancel{false};
        return ExtractXmlText(Write("doc.xml", bytes), sink, cancel);
    }

    std::string dir_;
};

std::string Nested(int depth) {
    std::string doc;
    for (int i = 0; i < depth; ++i) doc += "<e>";
    doc += "x";
    for (int i = 0; i < depth; ++i) doc += "</e>";
    return doc;
}

std::string Utf16Le(const std::u16string& s, bool mark) {
    std::string out = mark ? std::string("\xFF\xFE", 2) : std::string();
    for (const char16_t c : s) {
        out.push_back(static_cast<char>(c & 0xFF));
        out.push_back(static_cast<char>(c >> 8));
    }
    return out;
}

std::string Utf16Be(const std::u16string& s) {
    std::string out("\xFE\xFF", 2);
    for (const char16_t c : s) {
        out.push_back(static_cast<char>(c >> 8));
        out.push_back(static_cast<char>(c & 0xFF));
    }
    return out;
}

struct LoadCase {
    const char* name;
    std::string document;
    Lines lines;
};

TEST_F(XmlTextTest, DeliversTextThenSortedElementNames) {
    const std::vector<LoadCase> cases = {
        {"example",
         R"(<a x="1">Hallo<b/>Welt<!--Notiz--></a>)",
         {u"Hallo", u"Welt", u"Notiz", u"a", u"b"}},
        {"repeated names once, after all text",
         "<r><x>1</x><y>2</y><x>3</x><y/></r>",
         {u"1", u"2", u"3", u"r", u"x", u"y"}},
        {"names differing in case once, first spelling",
         "<r><Item/><item/><ITEM/><Zeile/></r>",
         {u"Item", u"r", u"Zeile"}},
        {"qualified names with prefix",
         R"(<p:r xmlns:p="urn:p" xmlns="urn:d"><p:b/><b/><q:b xmlns:q="urn:p"/></p:r>)",
         {u"b", u"p:b", u"p:r", u"q:b"}},
        {"CDATA unchanged with markup and white space",
         "<a><![CDATA[ <b>&amp;</b>\n  zwei ]]></a>",
         {u" <b>&amp;</b>", u"  zwei ", u"a"}},
        {"empty CDATA and empty comment are empty lines",
         "<a><![CDATA[]]><!----></a>",
         {u"", u"", u"a"}},
        {"adjacent CDATA sections stay apart",
         "<a><![CDATA[x]]><![CDATA[y]]></a>",
         {u"x", u"y", u"a"}},
        {"text around CDATA is its own node",
         "<a> x <![CDATA[ y ]]> z </a>",
         {u"x", u" y ", u"z", u"a"}},
        {"white-space-only nodes dropped",
         "<a>\n  <b> x </b>\n\t<c>\r\n</c>  </a>",
         {u"x", u"a", u"b", u"c"}},
        {"trimmed at both ends, inner lines kept",
         "<a>\n  eins\n  zwei \r\n drei\t\n</a>",
         {u"eins", u"  zwei ", u" drei", u"a"}},
        {"xml:space preserve keeps white space",
         R"(<a xml:space="preserve"> <b>  y  </b><c xml:space="default"> </c> z </a>)",
         {u" ", u"  y  ", u" z ", u"a", u"b", u"c"}},
        {"character references and predefined entities",
         "<a>x &lt;&amp;&gt;&quot;&apos; &#x3A9;&#65;&#x1D11E; y</a>",
         {u"x <&>\"' \u03A9A\U0001D11E y", u"a"}},
        {"line break from a character reference", "<a>x&#10;y</a>", {u"x", u"y", u"a"}},
        {"no-break space is not white space", "<a>&#160;</a>", {u"\u00A0", u"a"}},
        {"internal entity at its place",
         "<!DOCTYPE a [<!ENTITY e \"Entit\xC3\xA4t\">]><a>vor &e; und &e;&e; nach</a>",
         {u"vor Entit\u00E4t und Entit\u00E4tEntit\u00E4t nach", u"a"}},
        {"nested internal entities",
         "<!DOCTYPE a [<!ENTITY i \"innen\"><!ENTITY o \"[&i;]\">]><a>&o;&o;</a>",
         {u"[innen][innen]", u"a"}},
        {"entity with markup",
         "<!DOCTYPE a [<!ENTITY e \"<i>kursiv</i>\">]><a>x&e;y&e;</a>",
         {u"x", u"kursiv", u"y", u"kursiv", u"a", u"i"}},
        {"comments before and after the root",
         "<?xml version=\"1.0\"?><!--vorne--><a/><!--hinten-->",
         {u"vorne", u"hinten", u"a"}},
        {"multi-line comment", "<a><!-- eins\n zwei --></a>", {u" eins", u" zwei ", u"a"}},
        {"processing instruction ends a text node", "<a>x<?pi daten?>y</a>", {u"x", u"y", u"a"}},
        {"attributes contribute nothing", R"(<a b="Wert" c='x'/>)", {u"a"}},
        {"document type declaration contributes nothing",
         "<!DOCTYPE a [<!-- im DTD --><!ELEMENT a ANY><!ATTLIST a b CDATA \"def\">"
         "<?pi x?>]><a/>",
         {u"a"}},
        {"external DTD is not needed",
         R"(<!DOCTYPE a SYSTEM "fehlt.dtd"><a>t&nbsp;</a>)",
         {u"t", u"a"}},
        {"UTF-8 with mark",
         "\xEF\xBB\xBF<a>\xC3\x84rger \xE2\x82\xAC</a>",
         {u"\u00C4rger \u20AC", u"a"}},
        {"ISO-8859-1",
         "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><\xE4>\xC4rger \xDF</\xE4>",
         {u"\u00C4rger \u00DF", u"\u00E4"}},
        {"windows-1252",
         "<?xml version=\"1.0\" encoding=\"windows-1252\"?><a>\x80 \x84x\x93</a>",
         {u"\u20AC \u201Ex\u201C", u"a"}},
        {"ISO-8859-7",
         "<?xml version=\"1.0\" encoding=\"ISO-8859-7\"?><a>\xD9mega</a>",
         {u"\u03A9mega", u"a"}},
        {"UTF-16 LE without mark, declared",
         Utf16Le(u"<?xml version=\"1.0\" encoding=\"UTF-16\"?><a>\u03A9 \u00E4</a>", false),
         {u"\u03A9 \u00E4", u"a"}},
        {"UTF-16 LE with mark",
         Utf16Le(u"<a>\u03A9\U0001D11E</a>", true),
         {u"\u03A9\U0001D11E", u"a"}},
        {"UTF-16 BE with mark", Utf16Be(u"<\u00E4>x</\u00E4>"), {u"x", u"\u00E4"}},
        {"256 levels", Nested(256), {u"x", u"e"}},
    };
    for (const auto& c : cases) {
        LineSink sink;
        EXPECT_EQ(Extract(c.document, sink), XmlLoadResult::Loaded) << c.name;
        EXPECT_EQ(sink.lines, c.lines) << c.name;
    }
}

std::string BillionLaughs() {
    std::string doc = "<!DOCTYPE l [<!ENTITY l0 \"lol\">";
    for (int i = 1; i < 10; ++i) {
        doc += "<!ENTITY l" + std::to_string(i) + " \"";
        for (int j = 0; j < 10; ++j) doc += "&l" + std::to_string(i - 1) + ";";
        doc += "\">";
    }
    return doc + "]><l>&l9;</l>";
}

// One large entity referenced many times: no nesting, but a huge expansion.
std::string QuadraticBlowup() {
    std::string doc = "<!DOCTYPE l [<!ENTITY a \"" + std::string(50000, 'a') + "\">]><l>";
    for (int i = 0; i < 50000; ++i) doc += "&a;";
    return doc + "</l>";
}

struct FailCase {
    const char* name;
    std::string document;
};

TEST_F(XmlTextTest, DocumentsThatCannotBeLoaded) {
    std::string binary;
    for (int i = 0; i < 4096; ++i) binary.push_back(static_cast<char>((i * 7919) & 0xFF));
    const std::vector<FailCase> cases = {
        {"empty file", ""},
        {"only white space", " \n "},
        {"unclosed element", "<a><b>text</a>"},
        {"text after the root", "<a/>x"},
        {"two roots", "<a/><b/>"},
        {"binary data", binary},
        {"invalid UTF-8", "<a>\xC3\x28</a>"},
        {"unknown encoding", "<?xml version=\"1.0\" encoding=\"x-unbekannt\"?><a/>"},
        {"undeclared entity", "<a>&fehlt;</a>"},
        {"undeclared prefix", "<p:a/>"},
        {"257 levels", Nested(257)},
        {"billion laughs", BillionLaughs()},
        {"quadratic blowup", QuadraticBlowup()},
        {"recursive entity", "<!DOCTYPE a [<!ENTITY e \"x&e;\">]><a>&e;</a>"},
        {"257 levels through an entity", "<!DOCTYPE a [<!ENTITY e \"" + Nested(200) + "\">]>" +
                                             "<a>" + Nested(56).substr(0, 56 * 3) + "&e;" +
                                             Nested(56).substr(56 * 3 + 1) + "</a>"},
    };
    for (const auto& c : cases) {
        LineSink sink;
        const auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(Extract(c.document, sink), XmlLoadResult::NotLoaded) << c.name;
        EXPECT_EQ(ExtractXmlPaneText(Write("doc.xml", c.document)), u"") << c.name;
        // Expansion bombs are refused quickly (a generous bound, not a benchmark).
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20)) << c.name;
    }
}

TEST_F(XmlTextTest, FilesThatCannotBeRead) {
    const std::atomic<bool> cancel{false};
    LineSink sink;
    EXPECT_EQ(ExtractXmlText(platform::ToWindowsPath(HostPath("fehlt.xml")), sink, cancel),
              XmlLoadResult::NotLoaded);
    ASSERT_EQ(mkdir(HostPath("ordner.xml").c_str(), 0755), 0);
    EXPECT_EQ(ExtractXmlText(platform::ToWindowsPath(HostPath("ordner.xml")), sink, cancel),
              XmlLoadResult::NotLoaded);
    // A pipe named like a document is not read (reading it would block).
    ASSERT_EQ(mkfifo(HostPath("pipe.xml").c_str(), 0644), 0);
    EXPECT_EQ(ExtractXmlText(platform::ToWindowsPath(HostPath("pipe.xml")), sink, cancel),
              XmlLoadResult::NotLoaded);
    EXPECT_EQ(ExtractXmlText(u"", sink, cancel), XmlLoadResult::NotLoaded);
    EXPECT_TRUE(sink.lines.empty());

    const std::u16string locked = Write("gesperrt.xml", "<a>geheim</a>");
    ASSERT_EQ(chmod(HostPath("gesperrt.xml").c_str(), 0), 0);
    if (geteuid() == 0) GTEST_SKIP() << "permissions do not bind the superuser";
    EXPECT_EQ(ExtractXmlText(locked, sink, cancel), XmlLoadResult::NotLoaded);
}

TEST_F(XmlTextTest, ExternalEntitiesAreNeverRead) {
    const std::string secret = HostPath("geheim.txt");
    std::ofstream(secret) << "GEHEIMNIS";
    const int watch = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    ASSERT_GE(watch, 0);
    ASSERT_GE(inotify_add_watch(watch, secret.c_str(), IN_OPEN | IN_ACCESS), 0);

    const std::string uri = "file://" + secret;
    const std::vector<FailCase> documents = {
        {"general entity", "<!DOCTYPE a [<!ENTITY x SYSTEM \"" + uri + "\">]><a>vor &x; nach</a>"},
        {"general entity by path",
         "<!DOCTYPE a [<!ENTITY x SYSTEM \"" + secret + "\">]><a>&x;</a>"},
        {"parameter entity", "<!DOCTYPE a [<!ENTITY % p SYSTEM \"" + uri + "\"> %p;]><a>t</a>"},
        {"external subset", "<!DOCTYPE a SYSTEM \"" + uri + "\"><a>t</a>"},
        {"passwd", "<!DOCTYPE a [<!ENTITY x SYSTEM \"file:///etc/passwd\">]><a>&x;</a>"},
    };
    for (const auto& d : documents) {
        LineSink sink;
        const auto result = Extract(d.document, sink);
        // The documents load; the entity contributes nothing.
        EXPECT_EQ(result, XmlLoadResult::Loaded) << d.name;
        for (const auto& line : sink.lines) {
            EXPECT_EQ(line.find(u"GEHEIMNIS"), std::u16string::npos) << d.name;
            EXPECT_EQ(line.find(u"root:"), std::u16string::npos) << d.name;
        }
    }
    LineSink sink;
    Extract("<!DOCTYPE a [<!ENTITY x SYSTEM \"" + uri + "\">]><a>vor &x; nach</a>", sink);
    EXPECT_EQ(sink.lines, (Lines{u"vor  nach", u"a"}));

    char events[4096];
    EXPECT_LT(read(watch, events, sizeof events), 0) << "the secret file was opened";
    close(watch);
}

// Sets the cancel flag when the given entry arrives.
class CancellingSink : public LineSink {
  public:
    CancellingSink(std::atomic<bool>& cancel, std::size_t after) : cancel_(cancel), after_(after) {}
    void Entry(std::u16string_view text) override {
        LineSink::Entry(text);
        if (entries == after_) cancel_ = true;
    }

  private:
    std::atomic<bool>& cancel_;
    std::size_t after_;
};

TEST_F(XmlTextTest, CancelStopsBetweenNodes) {
    std::string doc = "<r>";
    for (int i = 0; i < 1000; ++i) doc += "<e>" + std::to_string(i) + "</e><!--c-->";
    doc += "</r>";
    const std::u16string path = Write("viele.xml", doc);
    for (const std::size_t after : {std::size_t{1}, std::size_t{2}, std::size_t{777}}) {
        std::atomic<bool> cancel{false};
        CancellingSink sink(cancel, after);
        EXPECT_EQ(ExtractXmlText(path, sink, cancel), XmlLoadResult::Cancelled) << after;
        // The entries so far stay; no element names follow.
        EXPECT_EQ(sink.entries, after);
        EXPECT_EQ(sink.lines.back(),
                  after % 2 == 1 ? platform::IntText(static_cast<int64_t>(after - 1) / 2) : u"c");
    }
    // Cancelled inside an entity's content: the entity is parsed by a context of its own.
    const std::u16string entityPath = Write(
        "entity.xml", "<!DOCTYPE r [<!ENTITY e \"<i>a</i><i>b</i><i>c</i>\">]><r>&e;&e;x</r>");
    for (const std::size_t after : {std::size_t{1}, std::size_t{4}}) {
        std::atomic<bool> cancel{false};
        CancellingSink sink(cancel, after);
        EXPECT_EQ(ExtractXmlText(entityPath, sink, cancel), XmlLoadResult::Cancelled) << after;
        EXPECT_EQ(sink.entries, after);
    }
    std::atomic<bool> cancel{true};
    LineSink sink;
    EXPECT_EQ(ExtractXmlText(path, sink, cancel), XmlLoadResult::Cancelled);
    EXPECT_EQ(sink.entries, 0u);
}

// The lines of one text node delivered whole: trimmed at both ends, split at line breaks.
Lines WholeNodeLines(const std::string& text) {
    const std::size_t b = text.find_first_not_of(" \t\r\n");
    const std::size_t e = text.find_last_not_of(" \t\r\n");
    Lines lines;
    std::size_t start = b;
    for (;;) {
        const std::size_t lf = text.find('\n', start);
        if (lf == std::string::npos || lf > e) {
            lines.push_back(platform::Ascii(text.substr(start, e + 1 - start)));
            return lines;
        }
        lines.push_back(platform::Ascii(text.substr(start, lf - start)));
        start = lf + 1;
    }
}

TEST_F(XmlTextTest, HugeTextNodeKeepsItsLinesWithBoundedEntries) {
    struct Case {
        const char* name;
        std::string head;
        std::string tail;
    };
    const std::vector<Case> cases = {
        {"white space at both ends", " \n\n  ", "  \n\n \t"},
        {"no white space at the ends", "", "Ende"},
    };
    for (const auto& c : cases) {
        // About 11 MB of text in one node, with empty lines and trailing blanks inside.
        std::string text = c.head;
        for (int i = 0; i < 800000; ++i) {
            if (i % 1000 == 0) text += (i % 2000 == 0) ? "\n" : "   \n";
            text += "Zeile " + std::to_string(i) + (i % 3 == 0 ? "  \n" : "\n");
        }
        text += c.tail;
        Lines expected = WholeNodeLines(text);
        expected.push_back(u"a");

        LineSink sink;
        EXPECT_EQ(Extract("<a>" + text + "</a>", sink), XmlLoadResult::Loaded) << c.name;
        EXPECT_EQ(sink.lines, expected) << c.name;
        // Delivered in several entries, none of them near the node's size.
        EXPECT_GT(sink.entries, 3u) << c.name;
        EXPECT_LT(sink.maxEntry, 6u << 20) << c.name;
    }
}

TEST_F(XmlTextTest, ParserMessagesStayOffStandardError) {
    testing::internal::CaptureStderr();
    LineSink sink;
    Extract("<a><b></a>", sink);
    Extract("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><a>\xE4</b>", sink);
    Extract("<a>\xFF\xFE</a>", sink);
    Extract(Utf16Le(u"<a>\xD800</a>", true), sink);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}

TEST_F(XmlTextTest, ParallelExtractionsGiveTheSequentialResults) {
    std::vector<std::u16string> paths;
    for (int i = 0; i < 8; ++i) {
        std::string doc = "<!DOCTYPE r [<!ENTITY e \"E" + std::to_string(i) + "\">]><r>";
        for (int j = 0; j < 2000; ++j)
            doc += "<t" + std::to_string(j % 7) + ">&e;" + std::to_string(j) + "</t" +
                   std::to_string(j % 7) + ">";
        paths.push_back(Write("p" + std::to_string(i) + ".xml", doc + "</r>"));
    }
    std::vector<std::u16string> sequential;
    for (const auto& p : paths) sequential.push_back(ExtractXmlPaneText(p));
    std::vector<std::u16string> parallel(paths.size());
    std::vector<std::thread> threads;
    for (std::size_t t = 0; t < 4; ++t) {
        threads.emplace_back([&, t] {
            for (std::size_t i = t; i < paths.size(); i += 4)
                parallel[i] = ExtractXmlPaneText(paths[i]);
        });
    }
    for (auto& t : threads) t.join();
    EXPECT_EQ(parallel, sequential);
    EXPECT_NE(sequential[0], sequential[1]);
}

TEST_F(XmlTextTest, PaneTextEndsEveryLineWithCrLf) {
    EXPECT_EQ(ExtractXmlPaneText(Write("a.xml", "<a>x\ny</a>")), u"x\r\ny\r\na\r\n");
    EXPECT_TRUE(XmlParserAvailable());
}

}  // namespace
}  // namespace vx::indexing
