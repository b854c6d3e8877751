// Extraction ahead of the filing on worker threads leaves the same files as a run without them.
#include <gtest/gtest.h>

#include "indexing_fixture.h"

namespace vx::indexing {
namespace {

using namespace testing;

// Documents and folders whose names differ only in letter case are all indexed, each with a text
// copy of its own, whatever the number of threads.
TEST(Prefetch, NamesThatDifferInCaseKeepCopiesOfTheirOwn) {
    TempDir dir;
    const auto data = dir.Path() / "Daten";
    WriteBytes(data / "a.xml", "<r>Klein</r>");
    WriteBytes(data / "a.XML", "<r>Gross</r>");
    WriteBytes(data / "Sub" / "c.xml", "<r>Oben</r>");
    WriteBytes(data / "sub" / "c.xml", "<r>Unten</r>");
    for (int i = 1; i <= 6; ++i) {
        WriteBytes(data / ("b" + std::to_string(i) + ".xml"),
                   "<r>Wort" + std::string(1, char('A' + i)) + "</r>");
    }
    std::string expectedDatabase;
    std::map<std::string, std::string> expectedCopies;
    for (const int threads : {0, 2, 2, 2, 2, 2, 2, 2, 2, 3, 3, 3, 3}) {
        SCOPED_TRACE(threads);
        TempDir work;
        CreateRun run(work.Path());
        ASSERT_EQ(run.Create("Fall", data, 20000, threads).outcome, CommandOutcome::Done);
        std::string database = ReadBytes(run.Database() / "Fall.dat");
        // The DATE fields are the same for all runs; the whole file must not differ.
        const auto copies = TreeContents(run.TextCopies());
        if (threads == 0) {
            expectedDatabase = database;
            expectedCopies = copies;
            ASSERT_EQ(copies.size(), 10u);
            std::string texts;
            for (const auto& [name, text] : copies) texts += text;
            for (const char* word : {"Klein", "Gross", "Oben", "Unten"}) {
                EXPECT_NE(texts.find(word), std::string::npos) << word;
            }
            continue;
        }
        EXPECT_EQ(database, expectedDatabase);
        EXPECT_EQ(copies, expectedCopies);
    }
}

}  // namespace
}  // namespace vx::indexing
