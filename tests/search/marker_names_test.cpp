// Documents and folders whose names hold the marker texts of the database file ("[Datenbank]",
// "der indizierten Dateien") must not hide other documents from the search, in a database of one
// pass and in one merged from several chunks.
#include <gtest/gtest.h>

#include <cstdlib>

#include "test_support.h"

namespace vx::search {
namespace {

using testing::ReadBytes;
using testing::ScratchFolder;
using testing::WriteBytes;

int Cli(const std::filesystem::path& work, const std::string& arguments,
        const std::filesystem::path& output) {
    const std::string command = "cd '" + work.string() + "' && XDG_DATA_HOME='" +
                                (work / "xdg").string() + "' '" VX_CLI_PATH "' " + arguments +
                                " >'" + output.string() + "' 2>&1";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

class MarkerNamesTest : public ::testing::TestWithParam<const char*> {};

TEST_P(MarkerNamesTest, EveryDocumentIsFound) {
    ScratchFolder folder;
    const auto corpus = folder.Path() / "corpus";
    const auto work = folder.Path() / "work";
    std::filesystem::create_directories(work);
    WriteBytes(corpus / "A[Datenbank].xml", "<a>alpha</a>");
    WriteBytes(corpus / "zz.xml", "<a>zebra</a>");
    WriteBytes(corpus / "B der indizierten Dateien" / "b.xml", "<a>beta</a>");
    const auto out = folder.Path() / "out.txt";
    ASSERT_EQ(
        Cli(work, std::string("create Marken '") + corpus.string() + "' --yes " + GetParam(), out),
        0)
        << ReadBytes(out);

    const struct {
        const char* word;
        std::filesystem::path document;
    } cases[] = {
        {"alpha", corpus / "A[Datenbank].xml"},
        {"zebra", corpus / "zz.xml"},
        {"beta", corpus / "B der indizierten Dateien" / "b.xml"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.word);
        EXPECT_EQ(Cli(work, std::string("search Marken ") + c.word, out), 0) << ReadBytes(out);
        const std::string printed = ReadBytes(out);
        EXPECT_NE(printed.find("wurde in 1 Datei gefunden."), std::string::npos) << printed;
        EXPECT_NE(printed.find(c.document.string() + "\n"), std::string::npos) << printed;
    }
}

INSTANTIATE_TEST_SUITE_P(OnePassAndMerged, MarkerNamesTest,
                         ::testing::Values("", "--chunk-size 2"));

}  // namespace
}  // namespace vx::search
