// The lookup file built while the database file is written equals the one built from the
// complete file, and over an index section of many sorted batches it leads every kind of match
// to exactly the lines a scan finds.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "common/scratch_directory.h"
#include "index/database_files.h"
#include "index/lookup_file.h"
#include "platform/paths.h"

namespace vx::index {
namespace {

namespace fs = std::filesystem;

std::string ReadAll(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// A database file whose index section holds several batches of lines: words that share long
// beginnings and endings, multi-byte letters, the same word on lines far apart, continuation
// lines. Returns the file's bytes and, per key, the offsets of its lines.
std::string MakeDatabase(std::map<std::string, std::vector<uint64_t>>& lines) {
    std::mt19937 random(11);
    const std::vector<std::string> stems = {
        "HAUS", "HAUSTÜR", "ΣΟΦΙΑ", "STRAẞE", "A", "Q?X", "LANGERANFANGGLEICH", "ENDEGLEICHLANGER"};
    std::string bytes =
        "[SCANMASKE]\r\nTEXTDATEIENPFAD=Z:\\D\\*.XML\r\n \r\n[PFADLISTE]\r\n"
        "P1=Z:\\D\r\n1 P1 \\A.XML SIZE:1 DATE:1\r\n[DATENBANK]\r\n";
    for (int i = 0; i < 200000; ++i) {
        const std::string& stem = stems[random() % stems.size()];
        const std::string number = std::to_string(random() % 30000);
        const std::string key = random() % 2 ? stem + number : number + stem;
        lines[key].push_back(bytes.size());
        bytes += key + "=" + std::to_string(1 + random() % 9) + ",\r\n";
        if (random() % 50 == 0) bytes += "4,5,\r\n";
    }
    return bytes;
}

TEST(LookupFileBuilder, WhileWrittenEqualsFromTheFileAndFindsWhatAScanFinds) {
    testing::ScratchDirectory scratch("vx_lookup_builder_");
    std::map<std::string, std::vector<uint64_t>> lines;
    const std::string bytes = MakeDatabase(lines);
    const fs::path database = scratch.Path() / "Proj.dat";
    const std::u16string databaseFile = platform::ToWindowsPath(database.string());

    // Written in pieces that cut lines, line breaks and letters apart.
    std::ofstream(database, std::ios::binary).flush();
    LookupFileBuilder builder(databaseFile, databaseFile + u".following");
    for (std::size_t at = 0; at < bytes.size();) {
        const std::size_t piece = std::min<std::size_t>(bytes.size() - at, 1 + at % 777777);
        std::ofstream(database, std::ios::binary | std::ios::app)
            .write(bytes.data() + at, static_cast<std::streamsize>(piece));
        builder.TakeWritten();
        at += piece;
    }
    ASSERT_TRUE(builder.Finish());
    ASSERT_TRUE(WriteLookupFile(databaseFile, LookupFileName(databaseFile)));
    EXPECT_EQ(ReadAll(scratch.Path() / "Proj.dat.following"),
              ReadAll(scratch.Path() / "Proj.dat.idx"));

    const auto file = platform::ReadOnlyFile::Open(databaseFile);
    ASSERT_TRUE(file);
    const auto lookup = LookupFile::Open(LookupFileName(databaseFile), *file);
    ASSERT_NE(lookup, nullptr);
    using Match = LookupFile::Match;
    const auto matches = [](Match match, const std::string& key, const std::string& text) {
        switch (match) {
            case Match::Equal:
                return key == text;
            case Match::Prefix:
                return key.starts_with(text);
            case Match::Suffix:
                return key.ends_with(text);
            case Match::Contains:
                return key.find(text) != std::string::npos;
        }
        return false;
    };
    const std::vector<std::pair<Match, std::string>> queries = {
        {Match::Equal, "HAUS17"},    {Match::Equal, "29999ΣΟΦΙΑ"},
        {Match::Prefix, "HAUSTÜR2"}, {Match::Prefix, "LANGERANFANGGLEICH12"},
        {Match::Suffix, "7ΣΟΦΙΑ"},   {Match::Suffix, "1ENDEGLEICHLANGER"},
        {Match::Suffix, "12Q?X"},    {Match::Contains, "RAẞE29"},
        {Match::Equal, "NICHTDA"},
    };
    for (const auto& [match, text] : queries) {
        SCOPED_TRACE(text);
        std::vector<uint64_t> expected;
        for (const auto& [key, offsets] : lines) {
            if (matches(match, key, text))
                expected.insert(expected.end(), offsets.begin(), offsets.end());
        }
        LookupFile::Lines found;
        ASSERT_TRUE(lookup->FindLines(match, text, found, 1000000));
        std::vector<uint64_t> offsets;
        for (const auto& line : found.lines) offsets.push_back(line.offset);
        // Equal and prefix matches come in key order, each key's lines in file order.
        if (match == Match::Suffix || match == Match::Contains) {
            std::sort(expected.begin(), expected.end());
            std::sort(offsets.begin(), offsets.end());
        }
        EXPECT_EQ(offsets, expected);
    }
}

}  // namespace
}  // namespace vx::index
