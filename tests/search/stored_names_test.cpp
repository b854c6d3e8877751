// Documents whose names the plain database form cannot hold, and words outside the Basic
// Multilingual Plane: indexed, found and linked to their own files.
#include <gtest/gtest.h>

#include <algorithm>

#include "indexing/indexing_fixture.h"
#include "search/search_run.h"

namespace vx::search {
namespace {

using indexing::testing::CreateRun;
using indexing::testing::ReadBytes;
using indexing::testing::TempDir;
using indexing::testing::WriteBytes;
namespace fs = std::filesystem;

struct Corpus {
    TempDir dir;
    fs::path data = dir.Path() / "Daten";
    CreateRun run{dir.Path()};

    SearchResult Search(const std::u16string& text, const SearchOptions& options = {}) {
        SearchHistory history;
        SearchRun search(run.host, run.flags, run.folders, history);
        search.SetOpenPages(false);
        return search.Run(text, options, u"Akten");
    }
    std::string Page() const { return ReadBytes(run.root / "wd" / "VT_Ergebnis.htm"); }
};

std::vector<std::string> Sorted(std::vector<std::string> paths) {
    std::sort(paths.begin(), paths.end());
    return paths;
}

TEST(StoredNames, CaseTwinsAreIndexedFoundAndLinkedEachToItsOwnFile) {
    Corpus c;
    const std::pair<const char*, const char*> files[] = {
        {"Bericht.xml", "rot"}, {"bericht.xml", "gelb"}, {"BERICHT.XML", "grün"},
        {"Sub/a.xml", "oben"},  {"sub/a.xml", "unten"},  {"|strich%.xml", "Strich"},
    };
    for (const auto& [name, word] : files) {
        WriteBytes(c.data / name, std::string("<r>Apfel ") + word + "</r>");
    }
    ASSERT_EQ(c.run.Create("Akten", c.data).outcome, indexing::CommandOutcome::Done);
    EXPECT_EQ(c.run.host.noticeCount, 6);

    const SearchResult result = c.Search(u"apfel");
    std::vector<std::string> expected;
    for (const auto& [name, word] : files) expected.push_back((c.data / name).string());
    EXPECT_EQ(Sorted(result.hitPaths), Sorted(expected));
    // Each document's link leads to the file itself and is followed by its own text.
    const std::string page = c.Page();
    for (const auto& [name, word] : files) {
        const std::string link = "target=\"_blank\">" + (c.data / name).string() + "</a>";
        const std::size_t at = page.find(link);
        ASSERT_NE(at, std::string::npos) << name;
        EXPECT_LT(page.find(word, at + link.size()), page.find("<a href", at + link.size()))
            << name;
    }
}

TEST(StoredNames, FoldersAndNamesHoldingXmlOrTxtKeepTheirTextCopies) {
    Corpus c;
    // The copy of a document is named after its name alone: the name without the first
    // occurrence of its extension as written, plus ".txt".
    const std::pair<const char*, const char*> files[] = {
        {"docs.xml/a.xml", "Aalfang"}, {"notes.txt.d/b.xml", "Bachlauf"},
        {"X.XML.d/C.XML", "Cello"},    {"d.xml.xml", "Dachboden"},
        {"Mixed.XML.e.xml", "Efeu"},   {"f.xml.g.xml", "Fjord"},
        {"h.txt.xml", "Hafer"},
    };
    for (const auto& [name, word] : files) {
        WriteBytes(c.data / name, std::string("<r>") + word + " Zander</r>");
    }
    ASSERT_EQ(c.run.Create("Akten", c.data).outcome, indexing::CommandOutcome::Done);
    SearchOptions und;
    und.und = true;
    und.oder = false;
    for (const auto& [name, word] : files) {
        const std::string document = (c.data / name).string();
        const std::u16string text = platform::FromUtf8(word);
        for (const SearchResult& result : {c.Search(text), c.Search(text + u" zander", und)}) {
            EXPECT_EQ(result.hitPaths, std::vector<std::string>{document}) << name;
            EXPECT_EQ(result.hitContexts,
                      std::vector<std::vector<std::u16string>>{{text + u" Zander"}})
                << name;
        }
    }
}

// Twins of names too long for the escaped form, and a folder named as the text copy of a
// document beside it: every document has a copy of its own, is found and linked to its file.
TEST(StoredNames, LongTwinsAndAFolderNamedAsACopyAreFoundAndLinked) {
    Corpus c;
    const std::string longName = "Jahresbericht" + std::string(180, 'x') + ".xml";
    std::string lowerLong = longName;
    lowerLong[0] = 'j';
    const std::pair<std::string, const char*> files[] = {
        {longName, "rot"},       {lowerLong, "gelb"},        {"d.xml", "dach"},
        {"d.txt/e.xml", "ecke"}, {"D.TXT/f.xml", "fenster"}, {"x.txt.d/g.xml", "garten"},
    };
    for (const auto& [name, word] : files) {
        WriteBytes(c.data / name, std::string("<r>Apfel ") + word + "</r>");
    }
    ASSERT_EQ(c.run.Create("Akten", c.data).outcome, indexing::CommandOutcome::Done);
    EXPECT_EQ(c.run.host.noticeCount, 6);
    EXPECT_EQ(c.run.host.log.size(), 2u) << "nothing but the summary";
    std::vector<std::string> expected;
    for (const auto& [name, word] : files) {
        expected.push_back((c.data / name).string());
        EXPECT_EQ(c.Search(platform::FromUtf8(word)).hitPaths,
                  std::vector<std::string>{expected.back()});
    }
    EXPECT_EQ(Sorted(c.Search(u"apfel").hitPaths), Sorted(expected));
}

TEST(StoredNames, NamesTheFormatCannotHoldAreLoggedAndCounted) {
    Corpus c;
    WriteBytes(c.data / "gut.xml", "<r>Apfel</r>");
    WriteBytes(c.data / "b\n[Datenbank]\n.xml", "<r>Apfel</r>");
    WriteBytes(c.data / "ungültig\xFF.xml", "<r>Apfel</r>");
    WriteBytes(c.data / "a size:1.xml", "<r>Apfel</r>");
    WriteBytes(c.data / "Ordner\r" / "drin.xml", "<r>Apfel</r>");
    ASSERT_EQ(c.run.Create("Akten", c.data).outcome, indexing::CommandOutcome::Done);
    EXPECT_EQ(c.run.host.noticeCount, 1);
    const std::string log = ReadBytes(c.run.Database() / "Akten.log");
    std::string logText;  // UTF-16 LE with mark, ASCII part
    for (std::size_t i = 2; i < log.size(); i += 2) logText += log[i];
    EXPECT_NE(logText.find("4 Dateien oder Ordner"), std::string::npos) << logText;
    ASSERT_FALSE(c.run.host.messages.empty());
    EXPECT_NE(c.run.host.messages.back().text.find("4 Dateien oder Ordner"), std::string::npos);
    // The database holds only the good document, and every later line is still found.
    EXPECT_EQ(c.Search(u"apfel").hitPaths, std::vector<std::string>{(c.data / "gut.xml").string()});
}

TEST(StoredNames, AnUnloadableDocumentIsLoggedWithTheParsersReasonAndLine) {
    Corpus c;
    WriteBytes(c.data / "gut.xml", "<r>Apfel</r>");
    WriteBytes(c.data / "kaputt.xml", "<r>\n<a>Apfel & Birne</a>\n</r>");
    ASSERT_EQ(c.run.Create("Akten", c.data).outcome, indexing::CommandOutcome::Done);
    const auto& log = c.run.host.log;
    const auto line = std::find_if(log.begin(), log.end(), [](const std::string& l) {
        return l.starts_with("Fehler im XML-Dokument ");
    });
    ASSERT_NE(line, log.end());
    EXPECT_NE(line->find("kaputt.xml, Zeile 2: "), std::string::npos) << *line;
    EXPECT_NE(log.back().find("1 XML-Dateien mit Fehlern"), std::string::npos) << log.back();
}

TEST(StoredNames, WordsOutsideTheBmpAreWrittenAsFourBytesAndFoundInOldFilesToo) {
    Corpus c;
    WriteBytes(c.data / "a.xml", "<r>\xF0\x9F\x98\x80Lachen \xF0\x90\x90\x80\xF0\x90\x90\xA8</r>");
    ASSERT_EQ(c.run.Create("Akten", c.data).outcome, indexing::CommandOutcome::Done);
    const fs::path file = c.run.Database() / "Akten.dat";
    std::string database = ReadBytes(file);
    EXPECT_NE(database.find("\xF0\x9F\x98\x80LACHEN=1,"), std::string::npos);
    EXPECT_EQ(database.find("\xED"), std::string::npos);  // no surrogate halves
    const std::string hit = (c.data / "a.xml").string();
    EXPECT_EQ(c.Search(u"\U0001F600lachen").hitPaths, std::vector<std::string>{hit});
    EXPECT_EQ(c.Search(u"\U00010400\U00010428").hitPaths, std::vector<std::string>{hit});

    // The form earlier versions wrote: each half of a pair as its own 3-byte sequence.
    for (std::size_t at = database.find("\xF0\x9F\x98\x80"); at != std::string::npos;
         at = database.find("\xF0\x9F\x98\x80")) {
        database.replace(at, 4, "\xED\xA0\xBD\xED\xB8\x80");
    }
    WriteBytes(file, database);
    EXPECT_EQ(c.Search(u"\U0001F600lachen").hitPaths, std::vector<std::string>{hit});
    EXPECT_EQ(c.Search(u"\U0001F600*").hitPaths, std::vector<std::string>{hit});
}

}  // namespace
}  // namespace vx::search
