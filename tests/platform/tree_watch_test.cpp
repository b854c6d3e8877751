// The tree watch on real inotify events in a temporary tree: each step changes the tree and waits
// (bounded) until the watch reports what it should; documents of hidden folders and other files
// are never reported.
#include "platform/tree_watch.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>

#include "temp_dir.h"

namespace vx::platform {
namespace {

namespace fs = std::filesystem;
using Kind = TreeEvent::Kind;
using testing::TempDir;

bool IsXml(std::string_view name) {
    return name.ends_with(".xml");
}

// Reads the watch until an event of the kind and path came (true), or 10 s passed (false).
bool AwaitEvent(TreeWatch& watch, Kind kind, const std::string& path,
                std::vector<TreeEvent>& seen) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    for (;;) {
        for (const TreeEvent& event : seen) {
            if (event.kind == kind && event.path == path) return true;
        }
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0 || watch.Fd() < 0) return false;
        pollfd fd{watch.Fd(), POLLIN, 0};
        poll(&fd, 1, static_cast<int>(left.count()));
        watch.Read(seen);
    }
}

struct Step {
    // Changes the tree; outside is a folder beside it.
    std::function<void(const TempDir& tree, const TempDir& outside)> change;
    Kind kind;         // what the watch then reports
    std::string path;  // of that, relative to the tree ("" for the tree itself)
};

TEST(TreeWatch, ReportsWhatChangesBelowTheTree) {
    const auto write = [](const std::string& rel) {
        return [rel](const TempDir& tree, const TempDir&) { tree.WriteFile(rel, "<r/>"); };
    };
    const struct {
        const char* name;
        std::vector<Step> steps;
        std::string never;  // a path no event may name
    } cases[] = {
        {"document written, changed, removed, its attributes changed",
         {{write("neu.xml"), Kind::Document, "neu.xml"},
          {[](const TempDir& tree, const TempDir&) {
               std::ofstream(tree.HostOf("a/b/x.xml"), std::ios::app) << "y";
           },
           Kind::Document, "a/b/x.xml"},
          {[](const TempDir& tree, const TempDir&) { fs::remove(tree.HostOf("a/x.xml")); },
           Kind::Document, "a/x.xml"},
          {[](const TempDir& tree, const TempDir&) {
               fs::permissions(tree.HostOf("x.xml"), fs::perms::owner_read);
           },
           Kind::Document, "x.xml"}},
         ""},
        {"new folder, its documents, and what comes into it later",
         {{[](const TempDir& tree, const TempDir&) {
               tree.MakeDirs("c/d");
               tree.WriteFile("c/d/x.xml");
           },
           Kind::Document, "c/d/x.xml"},
          {write("c/d/spaeter.xml"), Kind::Document, "c/d/spaeter.xml"}},
         ""},
        {"folder renamed: gone under its old name, watched under its new one",
         {{[](const TempDir& tree, const TempDir&) {
               fs::rename(tree.HostOf("a"), tree.HostOf("z"));
           },
           Kind::FolderGone, "a"},
          {write("z/b/neu.xml"), Kind::Document, "z/b/neu.xml"}},
         "a/b/neu.xml"},
        {"folder moved in from outside, then out again and no longer watched",
         {{[](const TempDir& tree, const TempDir& outside) {
               outside.MakeDirs("e");
               outside.WriteFile("e/x.xml");
               fs::rename(outside.HostOf("e"), tree.HostOf("a/e"));
           },
           Kind::Document, "a/e/x.xml"},
          {[](const TempDir& tree, const TempDir& outside) {
               fs::rename(tree.HostOf("a/e"), outside.HostOf("e"));
           },
           Kind::FolderGone, "a/e"},
          {[](const TempDir& tree, const TempDir& outside) {
               outside.WriteFile("e/draussen.xml");
               tree.WriteFile("a/danach.xml");
           },
           Kind::Document, "a/danach.xml"}},
         "a/e/draussen.xml"},
        {"folder removed",
         {{[](const TempDir& tree, const TempDir&) { fs::remove_all(tree.HostOf("a")); },
           Kind::FolderGone, "a"}},
         ""},
        {"tree removed",
         {{[](const TempDir& tree, const TempDir&) { fs::remove_all(tree.Host()); }, Kind::RootGone,
           ""}},
         ""},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.name);
        TempDir tree, outside;
        tree.MakeDirs("a/b");
        tree.MakeDirs(".versteckt");
        for (const char* file : {"x.xml", "a/x.xml", "a/b/x.xml"}) tree.WriteFile(file);
        TreeWatch watch(tree.Host(), IsXml);
        std::vector<TreeEvent> seen;
        watch.Start(seen);
        ASSERT_TRUE(seen.empty());
        ASSERT_GE(watch.Fd(), 0);
        EXPECT_EQ(watch.WatchCount(), 3u);
        for (const Step& step : test.steps) {
            // Neither a hidden folder's document nor another file is reported; both come before
            // the step's own event, which so shows that they were passed over.
            tree.WriteFile(".versteckt/x.xml");
            tree.WriteFile("notiz.txt");
            step.change(tree, outside);
            const std::string path = step.path.empty() ? tree.Host() : tree.HostOf(step.path);
            EXPECT_TRUE(AwaitEvent(watch, step.kind, path, seen)) << step.path;
        }
        for (const TreeEvent& event : seen) {
            EXPECT_EQ(event.path.find(".versteckt"), std::string::npos);
            EXPECT_FALSE(event.path.ends_with(".txt"));
            if (!test.never.empty()) {
                EXPECT_NE(event.path, tree.HostOf(test.never));
            }
        }
    }
}

// More events than the kernel queues while nobody reads: the watch says they were lost, starts
// afresh, and goes on reporting.
TEST(TreeWatch, OverflowedQueueIsReportedAndTheWatchGoesOn) {
    int64_t queued = 0;
    std::ifstream("/proc/sys/fs/inotify/max_queued_events") >> queued;
    if (queued <= 0 || queued > 1'000'000) GTEST_SKIP() << "event queue of " << queued;
    TempDir dir;
    dir.MakeDirs("a");
    TreeWatch watch(dir.Host(), IsXml);
    std::vector<TreeEvent> seen;
    watch.Start(seen);
    // Writes alternating between two files: the kernel merges only equal events in a row.
    const int files[] = {open(dir.HostOf("eins.txt").c_str(), O_WRONLY | O_CREAT, 0644),
                         open(dir.HostOf("zwei.txt").c_str(), O_WRONLY | O_CREAT, 0644)};
    for (int64_t i = 0; i <= queued; ++i) ASSERT_EQ(pwrite(files[i % 2], "x", 1, 0), 1);
    for (const int fd : files) close(fd);
    EXPECT_TRUE(AwaitEvent(watch, Kind::Lost, dir.Host(), seen));
    EXPECT_EQ(watch.WatchCount(), 2u);
    dir.WriteFile("a/danach.xml");
    EXPECT_TRUE(AwaitEvent(watch, Kind::Document, dir.HostOf("a/danach.xml"), seen));
}

// Beyond the limit of watches a folder is reported as unwatched (ENOSPC), as the system's limit
// makes it; the folders within the limit are still watched.
TEST(TreeWatch, FoldersBeyondTheLimitAreReported) {
    TempDir dir;
    dir.MakeDirs("a/b");
    TreeWatch watch(dir.Host(), IsXml, {.subfolders = true, .maxWatches = 2});
    std::vector<TreeEvent> seen;
    watch.Start(seen);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].kind, Kind::Unwatched);
    EXPECT_EQ(seen[0].path, dir.HostOf("a/b"));
    EXPECT_EQ(seen[0].error, ENOSPC);
    dir.WriteFile("a/x.xml");
    EXPECT_TRUE(AwaitEvent(watch, Kind::Document, dir.HostOf("a/x.xml"), seen));
}

}  // namespace
}  // namespace vx::platform
