// Re-index takes unchanged documents from their text copies: whatever changed in the tree, in the
// cache or in the copies, the database files equal those of a fresh create over the same tree.
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <regex>

#include "common/disk_faults.h"
#include "index/lookup_file.h"
#include "indexing_fixture.h"
#include "textio/text_file.h"

namespace vx::indexing {
namespace {

using namespace testing;

constexpr char kName[] = "Projekte";

// File times an hour back: the run trusts only times that settled before it read the file.
void SetBack(const fs::path& file, std::chrono::minutes age = std::chrono::minutes(60)) {
    fs::last_write_time(file, fs::file_time_type::clock::now() - age);
}

// With a broken document, which is parsed by every run, a re-index never keeps the previous
// run's files; without one, an unchanged tree keeps them.
void WriteTree(const fs::path& data, bool broken = true) {
    WriteBytes(data / "a.xml", "<r>Haus Baum \xCE\xA9mega</r>");
    WriteBytes(data / "b.xml",
               "<r>Wort R&amp;D Stra\xC3\x9F"
               "e</r>");
    WriteBytes(data / "c.xml", "<r><![CDATA[Zelt Haus]]><!--Notiz--></r>");
    WriteBytes(data / "s" / "d.xml", "<r>Wort \xC3\x84rger \xE6\x97\xA5\xE6\x9C\xAC</r>");
    if (broken) WriteBytes(data / "s" / "e.xml", "<kaputt>");  // never loads, never taken
    WriteBytes(data / "s" / "Bericht.xml", "<r>Bericht Haus</r>");
    // Two documents of one size and time, as copies from an archive have.
    WriteBytes(data / "x.xml", "<r>Xaver</r>");
    WriteBytes(data / "y.xml", "<r>Yvonn</r>");
    for (const auto& entry : fs::recursive_directory_iterator(data)) {
        if (entry.is_regular_file()) SetBack(entry.path());
    }
    fs::last_write_time(data / "y.xml", fs::last_write_time(data / "x.xml"));
}

fs::path CopyOf(const CreateRun& run, const fs::path& document) {
    fs::path copy = run.TextCopies() / kName / ("Z" + document.parent_path().string());
    return copy / (document.stem().string() + ".txt");
}

// The files a run writes, the log without its time, and with copies its text copies.
std::map<std::string, std::string> RunFiles(const CreateRun& run, bool withCopies = false) {
    const fs::path database = run.Database();
    std::map<std::string, std::string> files;
    if (withCopies) {
        for (auto& [name, bytes] : TreeContents(run.TextCopies()))
            files["XML_Texte/" + name] = bytes;
    }
    const std::string name = kName;
    for (const std::string& file : {name + ".dat", name + "_ansi.txt", name + "_unicode.txt"}) {
        files[file] = ReadBytes(database / file);
    }
    std::string log;
    for (const auto& line : textio::ReadUtf16LeLines(Win(database / (name + ".log")))) {
        log +=
            std::regex_replace(platform::ToUtf8(line), std::regex("Zeit: [0-9:]+"), "Zeit:") + "\n";
    }
    files[name + ".log"] = log;
    return files;
}

std::map<std::string, std::string> FreshCreate(const fs::path& data, int chunkSize,
                                               bool withCopies = false) {
    TempDir other;
    CreateRun fresh(other.Path());
    EXPECT_EQ(fresh.Create(kName, data, chunkSize).outcome, CommandOutcome::Done);
    return RunFiles(fresh, withCopies);
}

CommandResult Reindex(CreateRun& run, int chunkSize, int threads, bool full = false) {
    IndexingCommands commands(run.host, run.flags, run.folders);
    commands.SetOptions({chunkSize, threads, full});
    return commands.Reindex(platform::FromUtf8(kName), 1, nullptr);
}

struct Change {
    const char* name;
    std::function<void(const fs::path& data, const CreateRun& run)> apply;
    int reused;  // documents taken from their copies afterwards
};

TEST(Reindex, EqualsAFreshCreateWhateverChanged) {
    const fs::path cache = fs::path("Datenbank") / (std::string(kName) + ".cache");
    const fs::path words = fs::path("Datenbank") / (std::string(kName) + ".words");
    const std::vector<Change> changes = {
        {"nothing", [](const fs::path&, const CreateRun&) {}, 7},
        {"content, same size",
         [](const fs::path& d, const CreateRun&) {
             WriteBytes(d / "a.xml", "<r>Haus Baum \xCE\xA9megb</r>");
         },
         6},
        {"size", [](const fs::path& d, const CreateRun&) { WriteBytes(d / "b.xml", "<r>Neu</r>"); },
         6},
        {"only the time",
         [](const fs::path& d, const CreateRun&) {
             SetBack(d / "c.xml", std::chrono::minutes(120));
         },
         6},
        {"added",
         [](const fs::path& d, const CreateRun&) {
             WriteBytes(d / "s" / "f.xml", "<r>Dazu Haus</r>");
             SetBack(d / "s" / "f.xml");
         },
         7},
        {"deleted", [](const fs::path& d, const CreateRun&) { fs::remove(d / "a.xml"); }, 6},
        {"renamed",
         [](const fs::path& d, const CreateRun&) { fs::rename(d / "c.xml", d / "c2.xml"); }, 6},
        {"case-renamed",
         [](const fs::path& d, const CreateRun&) {
             fs::rename(d / "s" / "Bericht.xml", d / "s" / "bericht.xml");
         },
         6},
        {"cache missing",
         [&](const fs::path&, const CreateRun& r) { fs::remove(r.root / "wd" / cache); }, 0},
        {"cache damaged",
         [&](const fs::path&, const CreateRun& r) {
             std::string bytes = ReadBytes(r.root / "wd" / cache);
             bytes[bytes.size() / 2] ^= 0x40;
             WriteBytes(r.root / "wd" / cache, bytes);
         },
         0},
        {"cache cut short",
         [&](const fs::path&, const CreateRun& r) {
             const std::string bytes = ReadBytes(r.root / "wd" / cache);
             WriteBytes(r.root / "wd" / cache, bytes.substr(0, bytes.size() - 20));
         },
         0},
        {"kept words missing",
         [&](const fs::path&, const CreateRun& r) { fs::remove(r.root / "wd" / words); }, 7},
        {"kept words damaged",
         [&](const fs::path&, const CreateRun& r) {
             std::string bytes = ReadBytes(r.root / "wd" / words);
             for (std::size_t i = 0; i < bytes.size(); i += 7) bytes[i] ^= 0x21;
             WriteBytes(r.root / "wd" / words, bytes);
         },
         7},
        {"text copy missing",
         [](const fs::path& d, const CreateRun& r) { fs::remove(CopyOf(r, d / "a.xml")); }, 6},
        {"swapped for one of the same size and time",
         [](const fs::path& d, const CreateRun&) { fs::rename(d / "y.xml", d / "x.xml"); }, 5},
        {"text copy read-only, document changed",
         [](const fs::path& d, const CreateRun& r) {
             fs::permissions(CopyOf(r, d / "a.xml"), fs::perms::owner_read);
             WriteBytes(d / "a.xml", "<r>Haus Baum Neu</r>");
         },
         6},
        {"text copy damaged",
         [](const fs::path& d, const CreateRun& r) {
             std::string bytes = ReadBytes(CopyOf(r, d / "b.xml"));
             bytes[1] = 'X';
             WriteBytes(CopyOf(r, d / "b.xml"), bytes);
         },
         6},
    };
    // One pass with worker threads; several passes on the run thread alone.
    for (const auto& [chunkSize, threads, broken] :
         {std::tuple{20000, 2, true}, {20000, 2, false}, {2, 0, true}}) {
        for (const Change& change : changes) {
            SCOPED_TRACE(std::string(change.name) + ", chunk size " + std::to_string(chunkSize) +
                         (broken ? ", broken document" : ""));
            TempDir dir;
            const fs::path data = dir.Path() / "Daten";
            WriteTree(data, broken);
            CreateRun run(dir.Path());
            ASSERT_EQ(run.Create(kName, data, chunkSize, threads).outcome, CommandOutcome::Done);
            change.apply(data, run);
            const CommandResult result = Reindex(run, chunkSize, threads);
            ASSERT_EQ(result.outcome, CommandOutcome::Done);
            EXPECT_EQ(result.reused, change.reused);
            EXPECT_EQ(RunFiles(run, true), FreshCreate(data, chunkSize, true));
        }
    }
}

// A re-index of an unchanged tree takes the documents and their copies on their sizes and times
// and keeps the previous run's files as its own, unless those files changed since; then it files
// the words the previous run kept, and reads a copy only where those cannot be used.
TEST(Reindex, UnchangedTreeKeepsThePreviousFilesAsTheyWereWritten) {
    // reused: the forged copy below is found out where a copy is read.
    const std::vector<Change> changes = {
        {"nothing", [](const fs::path&, const CreateRun&) {}, 7},
        {"database file changed",
         [](const fs::path&, const CreateRun& r) {
             WriteBytes(r.Database() / "Projekte.dat",
                        ReadBytes(r.Database() / "Projekte.dat") + "ZELT=9,\r\n");
         },
         7},
        {"word list changed",
         [](const fs::path&, const CreateRun& r) {
             WriteBytes(r.Database() / "Projekte_ansi.txt", "ZELT\r\n");
         },
         7},
        {"text copy written again",
         [](const fs::path& d, const CreateRun& r) {
             WriteBytes(CopyOf(r, d / "a.xml"), ReadBytes(CopyOf(r, d / "a.xml")));
         },
         7},
        {"kept words cut short, word list changed",
         [](const fs::path&, const CreateRun& r) {
             WriteBytes(r.Database() / "Projekte_ansi.txt", "ZELT\r\n");
             fs::resize_file(r.Database() / "Projekte.words", 1);
         },
         6},
    };
    for (const Change& change : changes) {
        SCOPED_TRACE(change.name);
        TempDir dir;
        const fs::path data = dir.Path() / "Daten";
        WriteTree(data, false);
        CreateRun run(dir.Path());
        ASSERT_EQ(run.Create(kName, data).outcome, CommandOutcome::Done);
        // A copy changed behind the run's back without a trace in its size or time.
        const fs::path copy = CopyOf(run, data / "b.xml");
        const auto copyTime = fs::last_write_time(copy);
        std::string forged = ReadBytes(copy);
        forged[1] = 'X';
        WriteBytes(copy, forged);
        fs::last_write_time(copy, copyTime);
        change.apply(data, run);
        const CommandResult result = Reindex(run, 20000, 2);
        ASSERT_EQ(result.outcome, CommandOutcome::Done);
        EXPECT_EQ(result.reused, change.reused);
        EXPECT_EQ(RunFiles(run), FreshCreate(data, 20000));
        // Files kept or words taken from the words file: the copies were not read; where those
        // words could not be used, the forged copy was read and found out.
        EXPECT_EQ(ReadBytes(copy) == forged, change.reused == 7);
        const auto database = platform::ReadOnlyFile::Open(Win(run.Database() / "Projekte.dat"));
        ASSERT_TRUE(database);
        EXPECT_NE(index::LookupFile::Open(Win(run.Database() / "Projekte.dat.idx"), *database),
                  nullptr);
        // The next run keeps the files of this one.
        EXPECT_EQ(Reindex(run, 20000, 2).reused, 7);
        EXPECT_EQ(ReadBytes(copy) == forged, change.reused == 7);
    }
}

// A document that cannot be read now (locked, with no scratch folder to copy it to, or without
// read permission) is logged as a fresh create logs it: the copy of an earlier run holds another
// text and is not filed.
TEST(Reindex, ADocumentThatCannotBeReadNowIsNotTakenFromItsOldCopy) {
    for (const bool locked : {true, false}) {
        if (!locked && geteuid() == 0) continue;  // permissions do not bind the super-user
        SCOPED_TRACE(locked ? "locked" : "unreadable");
        TempDir dir;
        const fs::path data = dir.Path() / "Daten";
        WriteTree(data, false);
        CreateRun run(dir.Path());
        ASSERT_EQ(run.Create(kName, data).outcome, CommandOutcome::Done);
        const int fd = open((data / "a.xml").c_str(), O_RDONLY);
        ASSERT_GE(fd, 0);
        if (locked) {
            ASSERT_EQ(flock(fd, LOCK_EX), 0);
        } else {
            fs::permissions(data / "a.xml", fs::perms::none);
        }
        const auto withoutScratch = [](const CreateRun& r) { fs::remove_all(r.root / "zip"); };
        withoutScratch(run);
        const CommandResult result = Reindex(run, 20000, 2);
        EXPECT_EQ(result.failures, 1);
        TempDir other;
        CreateRun fresh(other.Path());
        withoutScratch(fresh);
        ASSERT_EQ(fresh.Create(kName, data).failures, 1);
        EXPECT_EQ(RunFiles(run, true), RunFiles(fresh, true));
        close(fd);
        fs::permissions(data / "a.xml", fs::perms::owner_all);
    }
}

// A tree the user cannot write (a read-only file system, or files without write permission) is
// reused as any other.
TEST(Reindex, AReadOnlyTreeIsReused) {
    TempDir dir;
    const fs::path data = dir.Path() / "Daten";
    fs::create_directories(data);
    vx::testing::SmallDisk disk(data, 1u << 20);
    WriteTree(data, false);
    if (disk.Mounted()) {
        ASSERT_TRUE(disk.RemountReadOnly());
    } else {
        for (const auto& entry : fs::recursive_directory_iterator(data)) {
            fs::permissions(
                entry.path(),
                fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                fs::perm_options::remove);
        }
    }
    CreateRun run(dir.Path());
    ASSERT_EQ(run.Create(kName, data).outcome, CommandOutcome::Done);
    EXPECT_EQ(Reindex(run, 20000, 2).reused, 7);
    EXPECT_EQ(RunFiles(run, true), FreshCreate(data, 20000, true));
    if (!disk.Mounted()) {
        for (const auto& entry : fs::recursive_directory_iterator(data)) {
            fs::permissions(entry.path(), fs::perms::owner_write, fs::perm_options::add);
        }
    }
}

// A re-index killed before its end leaves the previous database and cache, and text copies it
// already rewrote. A document whose size and time are back to those recorded must still not be
// taken from a copy that holds another text.
TEST(Reindex, ACopyRewrittenByAKilledRunIsNotTaken) {
    TempDir dir;
    const fs::path data = dir.Path() / "Daten";
    WriteTree(data);
    CreateRun run(dir.Path());
    ASSERT_EQ(run.Create(kName, data).outcome, CommandOutcome::Done);
    const auto before = TreeContents(run.Database());
    const std::string original = ReadBytes(data / "a.xml");
    const auto time = fs::last_write_time(data / "a.xml");

    WriteBytes(data / "a.xml", "<r>Haus Baum \xCE\xA9megb</r>");
    ASSERT_EQ(Reindex(run, 20000, 2).outcome, CommandOutcome::Done);
    // The kill: the files of the second run never replaced those of the first.
    fs::remove_all(run.Database());
    for (const auto& [name, bytes] : before) WriteBytes(run.Database() / name, bytes);
    WriteBytes(data / "a.xml", original);
    fs::last_write_time(data / "a.xml", time);

    const CommandResult result = Reindex(run, 20000, 2);
    EXPECT_EQ(result.reused, 6);
    EXPECT_EQ(RunFiles(run), FreshCreate(data, 20000));
}

// An edit whose file time was set back still changes the document's change time: it is parsed.
// --full parses every document.
TEST(Reindex, AnEditWhoseTimeWasSetBackIsParsed) {
    TempDir dir;
    const fs::path data = dir.Path() / "Daten";
    WriteTree(data);
    CreateRun run(dir.Path());
    ASSERT_EQ(run.Create(kName, data).outcome, CommandOutcome::Done);
    const auto time = fs::last_write_time(data / "a.xml");
    WriteBytes(data / "a.xml", "<r>Haus Baum \xCE\xA9megb</r>");
    fs::last_write_time(data / "a.xml", time);

    EXPECT_EQ(Reindex(run, 20000, 2).reused, 6);
    EXPECT_NE(ReadBytes(run.Database() / "Projekte.dat").find("\xCE\xA9MEGB=1,"),
              std::string::npos);
    const CommandResult full = Reindex(run, 20000, 2, true);
    EXPECT_EQ(full.reused, 0);
    EXPECT_EQ(RunFiles(run), FreshCreate(data, 20000));
}

// A cancelled re-index saves what it has, as one that parses everything does; the cache it
// writes serves the next run.
TEST(Reindex, CancelledRunKeepsWhatItHasAndTheNextRunCompletes) {
    // Several passes; one pass over a tree whose unchanged documents are filed only when needed.
    for (const auto& [chunkSize, broken] : {std::pair{2, true}, std::pair{20000, false}}) {
        SCOPED_TRACE("chunk size " + std::to_string(chunkSize));
        TempDir dir;
        const fs::path data = dir.Path() / "Daten";
        WriteTree(data, broken);
        std::map<std::string, std::string> cancelled[2];
        for (const bool full : {false, true}) {
            TempDir work;
            CreateRun run(work.Path());
            ASSERT_EQ(run.Create(kName, data, chunkSize).outcome, CommandOutcome::Done);
            run.host.onDocument = [&](int32_t documents) {
                if (documents == 3) CloseButtonClick(run.host, run.flags);
            };
            ASSERT_EQ(Reindex(run, chunkSize, 0, full).outcome, CommandOutcome::Done);
            cancelled[full] = RunFiles(run);
            run.host.onDocument = nullptr;
            if (full) continue;
            const CommandResult next = Reindex(run, chunkSize, 0);
            EXPECT_EQ(next.reused, 2) << "the documents filed before the cancel";
            EXPECT_EQ(RunFiles(run), FreshCreate(data, chunkSize));
        }
        EXPECT_EQ(cancelled[0], cancelled[1]);
    }
}

}  // namespace
}  // namespace vx::indexing
