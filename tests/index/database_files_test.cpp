#include "index/database_files.h"

#include <gtest/gtest.h>

#include "platform/text.h"

namespace vx::index {
namespace {

const platform::WorkingFolders kFolders =
    platform::WorkingFolders::From(u"Z:\\w", u"Z:\\home\\u\\ZipTemp");

TEST(DatabaseFiles, ChunksAreNamedAfterTheDatabaseFileInTheStagingFolder) {
    const struct {
        const char16_t* name;
        int pass;
        const char16_t* chunk;
    } cases[] = {
        {u"Projekte", 1, u"Projekte.dat"},           {u"Projekte", 2, u"Projekte_2.dat"},
        {u"Projekte", 13, u"Projekte_13.dat"},       {u"x.DAT", 3, u"x_3.dat"},
        {u"Alt_Daten", 2, u"Alt_Daten_2.dat"},       {u"Alt.Daten", 2, u"Alt_2.dat"},
        {u"Projekt.2020", 2, u"Projekt.2020_2.dat"}, {u"Straße", 1, u"Straße.dat"},
    };
    for (const auto& c : cases) {
        const DatabaseFiles files(kFolders, c.name);
        EXPECT_EQ(files.Chunk(c.pass), files.Staging() + u"\\" + c.chunk)
            << platform::ToUtf8(c.chunk);
    }
}

// The lock and the staging folder of a name in any letter case are one; a name of the chunk
// folder leads back to its database, and the scratch name of a lookup file to its process.
TEST(DatabaseFiles, NamesOfTheChunkFolderLeadBackToTheirOwners) {
    const DatabaseFiles lower(kFolders, u"projekt.lock");
    const DatabaseFiles upper(kFolders, u"PROJEKT.LOCK");
    EXPECT_EQ(lower.Lock(), upper.Lock());
    EXPECT_EQ(lower.Staging(), upper.Staging());
    EXPECT_NE(lower.Lock(), DatabaseFiles(kFolders, u"projekt").Staging());
    for (const DatabaseFiles& files : {lower, DatabaseFiles(kFolders, u"Bericht_2")}) {
        for (const std::u16string& path : {files.Lock(), files.Staging()}) {
            EXPECT_EQ(StagingOwner(path.substr(kFolders.chunk.size() + 1)),
                      platform::UpperCase(files.Name()));
        }
    }
    EXPECT_EQ(StagingOwner(u"Projekte.dat"), std::nullopt);
    const std::u16string lookup = DatabaseFiles(kFolders, u"Bench").Lookup();
    EXPECT_EQ(lookup, u"Z:\\w\\Datenbank\\Bench.dat.idx");
    EXPECT_EQ(LookupScratchOwner(u"Bench.dat.idx.4711.tmp"), 4711);
    for (const char16_t* other : {u"Bench.dat.idx", u"Bench.dat.idx.x.tmp", u"a.idx.0.tmp"}) {
        EXPECT_EQ(LookupScratchOwner(other), std::nullopt) << platform::ToUtf8(other);
    }
}

// A typed name loses a trailing database extension when a name stays; the search appends one to
// whatever the row is, so the row of "a.dat.dat" ("a.dat") finds its file again.
TEST(DatabaseFiles, TypedNamesAndRowsLeadToTheirFiles) {
    const struct {
        const char16_t* typed;
        const char16_t* created;
        const char16_t* file;
        const char16_t* searched;
    } cases[] = {
        {u"Archiv", u"Archiv", u"Archiv.dat", u"Archiv.dat"},
        {u"Archiv.DaT", u"Archiv", u"a.dat.dat", u"a.dat.dat"},
        {u".dat", u".dat", u"x.DAT", u"x.dat"},
        {u"Akten.2024", u"Akten.2024", u"Akten.2024.dat", u"Akten.2024.dat"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CreatedName(c.typed), c.created) << platform::ToUtf8(c.typed);
        EXPECT_EQ(DatabaseFileOfRow(DatabaseRowOf(c.file)), c.searched) << platform::ToUtf8(c.file);
    }
    EXPECT_EQ(StagingOwnerLock(kFolders, u"PROJEKT"), DatabaseFiles(kFolders, u"projekt").Lock());
}

}  // namespace
}  // namespace vx::index
