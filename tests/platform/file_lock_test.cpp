#include "platform/file_lock.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "temp_dir.h"

namespace vx::platform {
namespace {

using testing::TempDir;

// One holder at a time, within a process and across processes; the holder is named; a holder
// that dies, however, leaves the lock free.
TEST(FileLock, OneHolderNamedAndFreedWhenItEnds) {
    TempDir dir;
    const std::u16string path = dir.Win() + u"\\db.lock";
    SetProgramName(u"prüfer");
    {
        std::optional<FileLock> first = FileLock::TryTake(path);
        ASSERT_TRUE(first);
        LockHolder holder;
        EXPECT_FALSE(FileLock::TryTake(path, &holder));
        EXPECT_EQ(holder.program, u"prüfer");
        EXPECT_EQ(holder.pid, getpid());
    }
    ASSERT_TRUE(FileLock::TryTake(path));

    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        SetProgramName(u"kind");
        const std::optional<FileLock> held = FileLock::TryTake(path);
        const char c = held ? 'y' : 'n';
        (void)!write(ready[1], &c, 1);
        pause();
        _exit(0);
    }
    char c = 0;
    ASSERT_EQ(read(ready[0], &c, 1), 1);
    ASSERT_EQ(c, 'y');
    LockHolder holder;
    EXPECT_FALSE(FileLock::TryTake(path, &holder));
    EXPECT_EQ(holder.program, u"kind");
    EXPECT_EQ(holder.pid, child);
    EXPECT_TRUE(ProcessRuns(child));
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    EXPECT_FALSE(ProcessRuns(child));
    EXPECT_TRUE(FileLock::TryTake(path));
    close(ready[0]);
    close(ready[1]);
}

}  // namespace
}  // namespace vx::platform
