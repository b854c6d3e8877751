#include "indexing/detail/merge.h"

#include <gtest/gtest.h>

#include "index/index_section.h"
#include "index/word_lists.h"
#include "indexing/detail/indexing_run.h"
#include "indexing_fixture.h"
#include "platform/collation.h"
#include "platform/text.h"
#include "textio/text_file.h"

namespace vx::indexing {
namespace {

using namespace testing;

std::vector<std::string> Merge(const std::vector<std::u16string>& sorted) {
    std::vector<std::string> out;
    for (const auto& line : MergeSortedEntries(sorted)) out.push_back(platform::ToUtf8(line));
    return out;
}

TEST(MergeSortedEntries, JoinsEntriesOfOneWord) {
    const struct {
        const char* name;
        std::vector<std::u16string> sorted;
        std::vector<std::string> merged;
    } cases[] = {
        {"two chunks", {u"HAUS=1,2,", u"HAUS=7,"}, {"HAUS=1,2,7,", ""}},
        {"three chunks", {u"WORT=1,", u"WORT=5,", u"WORT=9,"}, {"WORT=1,5,", "9,", ""}},
        {"four chunks",
         {u"AAL=1,", u"AAL=5,", u"AAL=9,", u"AAL=12,"},
         {"AAL=1,5,", "9,", "12,", ""}},
        {"last two entries of one word",
         {u"ABC=1,", u"XYZ=2,", u"XYZ=4,"},
         {"ABC=1,", "XYZ=2,4,", ""}},
        {"different words stay apart", {u"HAUS=1,", u"HAUSE=2,"}, {"HAUS=1,", "HAUSE=2,"}},
        // Blank lines of the chunks sort first: an empty remembered word matches nothing.
        {"blank lines before the entries",
         {u" ", u" ", u"AAL=1,", u"BAUM=3,"},
         {"", "", "AAL=1,", "BAUM=3,"}},
        {"entries are trimmed", {u"  HAUS=1, ", u"HAUS= 2,"}, {"HAUS=1,2,", ""}},
    };
    for (const auto& c : cases) EXPECT_EQ(Merge(c.sorted), c.merged) << c.name;
}

TEST(PathLinesForHeader, RepeatedFoldersEndAfterTheEqualsSign) {
    const std::vector<std::u16string> pathList = {u"P1=C:\\Daten ", u"P2=C:\\Daten ",
                                                  u"P3=C:\\Daten ", u"P4=C:\\Daten\\Sub ",
                                                  u"P5=C:\\Daten "};
    std::vector<std::string> lines;
    for (const auto& line : PathLinesForHeader(pathList)) lines.push_back(platform::ToUtf8(line));
    EXPECT_EQ(lines, (std::vector<std::string>{"P1=C:\\Daten ", "P2=", "P3=", "P4=C:\\Daten\\Sub ",
                                               "P5=C:\\Daten "}));
}

// The merged files as the merge gave them when it sorted the lines of all chunks at once.
struct MergedFiles {
    std::string database, ansi, unicode;
};
MergedFiles MergeAtOnce(const std::vector<std::string>& chunks) {
    const auto isScanHeader = [](const std::u16string& line) {
        for (const std::u16string_view marker :
             {u"[SCANMASKE]", u"TEXTDATEIENPFAD=", u"[PFADLISTE]"})
            if (line.find(marker) != std::u16string::npos) return true;
        return false;
    };
    std::vector<std::u16string> header, entries;
    for (std::size_t i = 0; i < chunks.size(); ++i) {
        index::ChunkParts parts =
            index::SplitChunk(textio::SplitLines(platform::FromUtf8(chunks[i])));
        for (auto& line : parts.header) {
            if (i == 0 || !isScanHeader(line)) header.push_back(line);
        }
        entries.insert(entries.end(), parts.entries.begin(), parts.entries.end());
    }
    std::vector<std::u16string> lines, others;
    for (const auto& line : header) {
        if (platform::Trim(line).empty()) continue;
        (line.starts_with(u'P') || isScanHeader(line) ? lines : others).push_back(line);
    }
    lines.insert(lines.end(), others.begin(), others.end());
    lines.emplace_back(u"[DATENBANK]");
    platform::SortByCollation(entries);
    index::WordLists words;
    for (const auto& entry : MergeSortedEntries(entries)) {
        words.AddEntryLine(entry);
        if (!platform::Trim(entry).empty()) lines.push_back(entry);
    }
    return {platform::ToUtf8(textio::JoinLines(lines)),
            platform::ToUtf8(index::WordListText(words.Ansi())),
            platform::ToUtf8(index::WordListText(words.Unicode()))};
}

// Documents over three folders whose words the collation orders in awkward ways (see
// merge_order.h): words that begin others, accents, width and ignorable characters that make
// lines of two words interleave or compare equal, several scripts, and words in every pass.
void WriteAwkwardTree(const fs::path& data, int documents) {
    const std::string words[] = {"Aal",    "Aale",    "Aal-Suppe", "Aal＝Suppe", "Résumé", "Resume",
                                 "Straße", "Strasse", "Baum",      "Ba\u00ADum", "ΑΘΗΝΑ",  "Αθήνα",
                                 "日本語", "Москва",  "Ωmega",     "ｆｕｌｌ"};
    for (int i = 0; i < documents; ++i) {
        std::string text = "<r>Gemeinsam Dokument" + std::to_string(i % 23);
        for (std::size_t w = 0; w < std::size(words); ++w) {
            if ((static_cast<std::size_t>(i) * 7 + w * 3) % 5 < 2) text += " " + words[w];
        }
        WriteBytes(data / ("f" + std::to_string(i % 3)) / ("d" + std::to_string(i) + ".xml"),
                   text + "</r>");
    }
}

TEST(MergeChunks, WritesWhatSortingAllLinesAtOnceGave) {
    TempDir dir;
    const auto data = dir.Path() / "Korpus";
    WriteAwkwardTree(data, 140);
    const struct {
        int chunkSize;
        bool damageKeys;                              // the merge works the keys out itself
    } cases[] = {{9, false}, {9, true}, {2, false}};  // 16 passes; 70: merged in groups first
    for (const auto& c : cases) {
        SCOPED_TRACE("chunk size " + std::to_string(c.chunkSize) +
                     (c.damageKeys ? ", keys damaged" : ""));
        TempDir work;
        CreateRun run(work.Path());
        const fs::path temp = run.Staging("Korpus");
        std::vector<std::string> chunks;
        const auto chunk = [&](int pass) {
            return temp / ("Korpus" + (pass == 1 ? "" : "_" + std::to_string(pass)) + ".dat");
        };
        run.host.onStatus = [&](const std::string& status) {
            if (status != "Daten werden in Datenbank eingefügt ") return;
            for (int pass = 1; fs::exists(chunk(pass)); ++pass) {
                chunks.push_back(ReadBytes(chunk(pass)));
            }
            if (c.damageKeys) {
                fs::remove(chunk(2).string() + ".keys");
                fs::resize_file(chunk(3).string() + ".keys",
                                fs::file_size(chunk(3).string() + ".keys") / 2);
            }
        };
        ASSERT_EQ(run.Create("Korpus", data, c.chunkSize).outcome, CommandOutcome::Done);
        ASSERT_GE(chunks.size(), static_cast<std::size_t>(140 / c.chunkSize));
        const MergedFiles expected = MergeAtOnce(chunks);
        // Words of several passes give continuation lines.
        ASSERT_NE(expected.database.find("\r\n2,"), std::string::npos);
        EXPECT_EQ(ReadBytes(run.Database() / "Korpus.dat"), expected.database);
        EXPECT_EQ(ReadBytes(run.Database() / "Korpus_ansi.txt"), expected.ansi);
        EXPECT_EQ(ReadBytes(run.Database() / "Korpus_unicode.txt"), expected.unicode);
        EXPECT_TRUE(run.LeftInTemp().empty());
    }
}

}  // namespace
}  // namespace vx::indexing
