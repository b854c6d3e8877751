// The three ways of the entry scan (lookup file, byte scan, every line decoded) give the same
// result page, byte for byte, over generated databases of every awkward shape and generated
// queries of every kind; a lookup file that no longer fits its database is never trusted.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <random>

#include "index/database_files.h"
#include "index/lookup_file.h"
#include "search/result_page.h"
#include "search/search_run.h"
#include "test_support.h"

namespace vx::search {
namespace {

using testing::RecordingHost;
using testing::ScratchFolder;

constexpr int kDocuments = 9;

// The pieces of a text between "|" characters.
std::vector<std::string> SplitAtBars(const std::string& text) {
    std::vector<std::string> split;
    for (std::size_t start = 0, bar; start <= text.size(); start = bar + 1) {
        bar = std::min(text.find('|', start), text.size());
        split.push_back(text.substr(start, bar - start));
    }
    return split;
}

// Index lines as the files may hold them, split at "|", each a template for one line: "#"
// stands for a list of document numbers, "@" for a list longer than any read of the search.
std::vector<std::string> EntryShapes() {
    const std::string shapes =
        "HAUS=#|HAUSE=#|XHAUS=#|BAUM=#|MONTAG=#|DIENSTAG=#|MONTAGE=#|ABC1=#|2020=#|12=#|A =#|"
        "Q?X=#|STRAßE=#|ÄRGER=#|ΑΒΓ=#|ΣΟΦΙΑ=#|LANG=@|WORT=#, 3,|"
        // Words outside the Basic Multilingual Plane (4-byte sequences), lower-case lines.
        "\xF0\x9D\x90\x80"
        "BC=#|\xF0\x9F\x98\x80=#|haus=#|σοφια=#|straße=#|"
        // "=" at unusual places, text after the "=" other than numbers, lines without "=".
        "=#|A=B=#|X==#|ODD=#X,| HAUS=#|HAUS|ZZZ| |[DATENBANK]X=#|"
        // A pair as earlier versions wrote it (two 3-byte halves), a lone half, a byte that is no
        // UTF-8.
        "\xED\xA0\xB5\xED\xB0\x80"
        "BC=#|\xED\xA0\x80Y=#|\xFF"
        "HAUS=#";
    return SplitAtBars(shapes);
}

struct Shape {
    const char* name;
    bool merged;          // sorted entries with continuation lines, no blank lines
    const char* newline;  // between lines
    bool mark;            // UTF-8 byte-order mark
    int entries;          // lines of the index section (0: empty section, -1: no marker)
};

const Shape kShapes[] = {
    {"pass form", false, "\r\n", false, 120},         {"merged form", true, "\r\n", false, 120},
    {"mark and LF", false, "\n", true, 80},           {"CR only", true, "\r", false, 80},
    {"empty index section", false, "\r\n", false, 0}, {"no marker", false, "\r\n", false, -1},
};

std::string Numbers(std::mt19937& random) {
    std::string numbers;
    const int count = 1 + static_cast<int>(random() % 3);
    // Numbers beyond the documents too: a continuation line may begin like a word of digits.
    for (int i = 0; i < count; ++i) numbers += std::to_string(1 + random() % 14) + ",";
    return numbers;
}

// The query texts, split at "|": every kind of word for the words of the database, and the odd
// cases.
std::vector<std::string> QueryTexts() {
    const std::string texts =
        "haus|Haus*|haus?|*haus|*haus*|hau|*aus*|*tag|mont*|*onta*|montag dienstag|"
        "haus baum xhaus abc1 montag|*1|*1*|1*|12*|*12*|2020|a|*a|a*|q?x|*?x|straße|STRASSE|*ße|"
        "ärger|*rger*|αβγ|σοφια|*οφι*|\xF0\x9D\x90\x80"
        "bc|*\xF0\x9D\x90\x80*|\xF0\x9F\x98\x80|"
        "=*|*=|a=b|*b|*b=*|x=|*x*|odd|*dd|*datenbank*|[dat*|[datenbank]|zzz*|*|ha?us|y|*y|lang*|"
        "wort|*ort";
    return SplitAtBars(texts);
}

class LookupExactness : public ::testing::Test {
  protected:
    // Writes the database "Proj", the documents and their text copies.
    void MakeDatabase(const Shape& shape, unsigned seed) {
        std::mt19937 random(seed);
        const std::string docs = testing::S(platform::UpperCase(folder.Windows() + u"docs"));
        std::vector<std::string> lines = {"[SCANMASKE]", "TEXTDATEIENPFAD=" + docs + "\\*.XML"};
        if (!shape.merged) lines.insert(lines.end(), {"", ""});
        lines.push_back("[PFADLISTE]");
        if (!shape.merged) lines.push_back("");
        for (int i = 1; i <= kDocuments; ++i) {
            lines.push_back("P" + std::to_string(i) + "=" + (i == 1 ? docs : ""));
        }
        const std::vector<std::string> texts = {"Das Haus am See.",
                                                "Montag und Dienstag",
                                                "haus, Hause; XHAUS",
                                                "Straße ABC1 2020",
                                                "ΣΟΦΙΑ σοφια ΑΒΓ",
                                                "\xF0\x9D\x90\x80"
                                                "BC \xF0\x9F\x98\x80 Ärger",
                                                "A = B = C",
                                                "Q?X odd 12",
                                                "Baum C:\\DATEN\\HAUS"};
        for (std::size_t i = 1; i <= kDocuments; ++i) {
            const std::string name = "d" + std::to_string(i);
            lines.push_back(std::to_string(i) + " P" + std::to_string(kDocuments) + " \\" +
                            testing::S(platform::UpperCase(testing::U(name))) +
                            ".XML SIZE:4 DATE:1");
            testing::WriteBytes(folder.Path() / "docs" / (name + ".xml"), "<a/>");
            std::filesystem::path copy = folder.Path() / "XML_Texte" / "Proj" / "Z";
            copy += folder.Path();
            testing::WriteBytes(copy / "docs" / (name + ".txt"),
                                texts[(i - 1) % texts.size()] + "\r\n" + texts[i % texts.size()]);
        }
        if (!shape.merged) {
            lines.insert(lines.end(),
                         {" ", " ", "GESAMTGRÖßE DER INDIZIERTEN DATEIEN IN BYTE: 4", " "});
        }
        std::string bytes = shape.mark ? "\xEF\xBB\xBF" : "";
        for (const std::string& line : lines) bytes += line + "\r\n";
        lines.clear();
        if (shape.entries >= 0) lines.push_back("[DATENBANK]");
        if (!shape.merged && shape.entries >= 0) lines.push_back(" ");
        std::vector<std::string> entries;
        const std::vector<std::string> entryShapes = EntryShapes();
        for (int i = 0; i < shape.entries; ++i) {
            std::string entry = entryShapes[random() % entryShapes.size()];
            if (const std::size_t at = entry.find('#'); at != std::string::npos) {
                entry.replace(at, 1, Numbers(random));
            }
            if (const std::size_t at = entry.find('@'); at != std::string::npos) {
                std::string numbers;
                while (numbers.size() < 70000) numbers += Numbers(random);
                entry.replace(at, 1, numbers);
            }
            entries.push_back(entry);
        }
        if (shape.merged) std::sort(entries.begin(), entries.end());
        for (const std::string& entry : entries) {
            lines.push_back(entry);
            // Continuation lines, up to the limit of 100 and beyond it once.
            const int more = shape.merged ? static_cast<int>(random() % 4) : 0;
            for (int k = 0; k < more; ++k) lines.push_back(Numbers(random));
            if (shape.merged && random() % 40 == 0) {
                for (int k = 0; k < 101; ++k) lines.push_back(Numbers(random));
            }
        }
        for (const std::string& line : lines) bytes += line + shape.newline;
        testing::WriteBytes(DatabasePath(), bytes);
    }

    std::filesystem::path DatabasePath() const { return folder.Path() / "Datenbank" / "Proj.dat"; }
    std::u16string DatabaseFile() const { return folder.Windows() + u"Datenbank\\Proj.dat"; }
    std::filesystem::path LookupPath() const {
        return folder.Path() / "Datenbank" / "Proj.dat.idx";
    }
    // Identifies the lookup file on disk: a search that found it damaged writes a new one.
    ino_t LookupInode() const {
        struct stat st {};
        return ::stat(LookupPath().c_str(), &st) == 0 ? st.st_ino : 0;
    }

    struct Outcome {
        SearchOutcome outcome;
        std::string page;
        std::string countLine;
        std::vector<std::string> hits;
        ScanPath path;
        bool operator==(const Outcome& other) const {
            return outcome == other.outcome && page == other.page && countLine == other.countLine &&
                   hits == other.hits;
        }
    };
    Outcome Search(const std::string& text, const SearchOptions& options, ScanMode mode) {
        RecordingHost host;
        RunFlags flags;
        SearchHistory history;
        SearchRun run(host, flags, folder.Folders(), history);
        run.SetScanMode(mode);
        std::filesystem::remove(folder.Path() / kResultFileName);
        const SearchResult result = run.Run(testing::U(text), options, u"Proj");
        EXPECT_EQ(result.outcome, SearchOutcome::Finished);
        return {result.outcome, testing::ReadBytes(folder.Path() / kResultFileName),
                testing::S(result.countLine), result.hitPaths, run.LastScanPath()};
    }

    ScratchFolder folder;
};

std::vector<std::pair<std::string, SearchOptions>> Queries() {
    std::vector<std::pair<std::string, SearchOptions>> queries;
    SearchOptions orOptions, andOptions, none, phrase, limited;
    andOptions.und = true;
    andOptions.oder = false;
    none.oder = false;
    phrase.phrase = phrase.und = true;
    phrase.oder = false;
    limited.resultLimit = 2;
    for (const std::string& text : QueryTexts()) queries.emplace_back(text, orOptions);
    for (const char* text :
         {"haus* baum", "haus baum xhaus abc1 montag", "*aus hause", "montag *tag"}) {
        queries.emplace_back(text, andOptions);
        queries.emplace_back(text, none);
        queries.emplace_back(text, limited);
    }
    queries.emplace_back("das haus", phrase);
    queries.emplace_back("Montag und Dienstag", phrase);
    return queries;
}

TEST_F(LookupExactness, PagesThroughTheLookupFileEqualThePagesOfTheScan) {
    const auto queries = Queries();
    unsigned seed = 1;
    for (const Shape& shape : kShapes) {
        {
            ++seed;
            SCOPED_TRACE(std::string(shape.name) + ", seed " + std::to_string(seed));
            MakeDatabase(shape, seed);
            ASSERT_TRUE(
                index::WriteLookupFile(DatabaseFile(), index::LookupFileName(DatabaseFile())));
            const ino_t lookupFile = LookupInode();
            int throughLookup = 0;
            for (const auto& [text, options] : queries) {
                SCOPED_TRACE(text);
                const Outcome decoded = Search(text, options, ScanMode::Decoding);
                const Outcome scanned = Search(text, options, ScanMode::Scan);
                const Outcome looked = Search(text, options, ScanMode::Auto);
                EXPECT_EQ(scanned, decoded);
                EXPECT_EQ(looked, decoded);
                if (looked.path == ScanPath::Lookup) ++throughLookup;
            }
            // Most words are answered by the lookup file (the rest need a scan: numbers only,
            // a "=" inside a word with wildcards on both sides), and it never seemed damaged.
            EXPECT_GT(throughLookup, static_cast<int>(queries.size()) / 2);
            EXPECT_EQ(LookupInode(), lookupFile);
        }
    }
}

TEST_F(LookupExactness, AStaleOrDamagedLookupFileIsNotTrusted) {
    MakeDatabase(kShapes[1], 7);
    const std::u16string lookupName = index::LookupFileName(DatabaseFile());
    ASSERT_TRUE(index::WriteLookupFile(DatabaseFile(), lookupName));
    const std::string good = testing::ReadBytes(LookupPath());
    SearchOptions options;
    const std::vector<std::string> texts = {"haus", "*tag", "mont*", "*onta*", "*aus hause"};
    std::vector<Outcome> expected;
    for (const std::string& text : texts) {
        expected.push_back(Search(text, options, ScanMode::Scan));
        ASSERT_EQ(Search(text, options, ScanMode::Auto).path, ScanPath::Lookup);
    }
    const auto searchesLikeTheScan = [&](const std::string& what) {
        for (std::size_t i = 0; i < texts.size(); ++i) {
            EXPECT_EQ(Search(texts[i], options, ScanMode::Auto), expected[i]) << what;
        }
    };

    // Damaged: cut short, or any one byte changed.
    for (std::size_t size : {std::size_t{0}, std::size_t{100}, good.size() / 2, good.size() - 1}) {
        testing::WriteBytes(LookupPath(), good.substr(0, size));
        searchesLikeTheScan("cut to " + std::to_string(size));
        // The search wrote a fresh one, which serves the next search.
        EXPECT_EQ(testing::ReadBytes(LookupPath()).size(), good.size());
        EXPECT_EQ(Search("haus", options, ScanMode::Auto).path, ScanPath::Lookup);
    }
    for (std::size_t at = 0; at < good.size(); at += 1 + good.size() / 53) {
        std::string bad = good;
        bad[at] = static_cast<char>(bad[at] ^ (1 << (at % 8)));
        testing::WriteBytes(LookupPath(), bad);
        searchesLikeTheScan("byte " + std::to_string(at) + " changed");
    }

    // Stale: the database file replaced by another one, with or without its size and time.
    const auto time = std::filesystem::last_write_time(DatabasePath());
    std::string database = testing::ReadBytes(DatabasePath());
    for (const auto& [from, to] : std::vector<std::pair<std::string, std::string>>{
             {"[DATENBANK]", "[DATENBANK]\r\nDAUS=1,"},
             // The same size and time: the first changes a line the lookup file leads to, the
             // second makes a line of a word searched for (found by the sampled bytes).
             {"MONTAG=", "MONTAH="},
             {"BAUM=", "HAUS="}}) {
        testing::WriteBytes(LookupPath(), good);
        const std::size_t at = database.find(from);
        ASSERT_NE(at, std::string::npos);
        std::string changed = database;
        changed.replace(at, from.size(), to);
        testing::WriteBytes(DatabasePath(), changed);
        std::filesystem::last_write_time(DatabasePath(), time);
        for (const std::string& text : texts) {
            EXPECT_EQ(Search(text, options, ScanMode::Auto), Search(text, options, ScanMode::Scan))
                << from;
        }
    }
}

}  // namespace
}  // namespace vx::search
