#include "files/folder_lock.h"

#include "tests/support/system_calls.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <csignal>

namespace adultify {
namespace {

void ExpectHeldElsewhere(const FileResult<FolderLock>& taken) {
    ASSERT_FALSE(taken);
    EXPECT_EQ(taken.error().kind, FileErrorKind::Locked);
    EXPECT_EQ(taken.error().reason, "another Adultify is editing this game");
}

TEST(FolderLock, ASecondTakerInTheSameProcessIsRefusedAtOnceUntilTheFirstEnds) {
    test::TempDir dir;
    {
        auto first = FolderLock::Take(dir.path());
        ASSERT_TRUE(first) << Describe(first.error());
        ExpectHeldElsewhere(FolderLock::Take(dir.path()));
        FolderLock moved = std::move(first.value());
        ExpectHeldElsewhere(FolderLock::Take(dir.path()));
        moved.Release();
        EXPECT_FALSE(moved.Held());
        auto next = FolderLock::Take(dir.path());
        ASSERT_TRUE(next) << "released on request";
        EXPECT_TRUE(next.value().Held());
    }
    EXPECT_TRUE(FolderLock::Take(dir.path())) << "released with its owner";
    EXPECT_TRUE(std::filesystem::exists(FolderLock::LockFile(dir.path())));

    auto nowhere = FolderLock::Take(dir.path() / "missing");
    ASSERT_FALSE(nowhere);
    EXPECT_EQ(nowhere.error().kind, FileErrorKind::NotFound);
}

#ifndef _WIN32
// Holds the lock in a child process, as another program would, until the child is killed.
enum class Holder {
    Adultify,        // which also opens and closes the lock file again, as reads of it would
    WineServerStyle, // a process-wide record lock on the first byte: what Wine's LockFileEx takes
};

bool HoldInChild(Holder holder, const std::filesystem::path& folder) {
    if (holder == Holder::Adultify) {
        static auto lock = FolderLock::Take(folder); // held until the child ends
        if (!lock) return false;
        const int again = ::open(FolderLock::LockFile(folder).c_str(), O_RDONLY | O_CLOEXEC);
        ::close(again);
        return lock.value().Held();
    }
    const int fd = ::open(FolderLock::LockFile(folder).c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    struct flock range {};
    range.l_type = F_WRLCK;
    range.l_whence = SEEK_SET;
    range.l_len = 1;
    return fd >= 0 && ::fcntl(fd, F_SETLK, &range) == 0;
}
#endif

TEST(FolderLock, AnotherProcessHoldsItUntilItIsKilled) {
#ifdef _WIN32
    GTEST_SKIP() << "fork and SIGKILL are POSIX's; the Wine test covers Windows";
#else
    for (const Holder holder : {Holder::Adultify, Holder::WineServerStyle}) {
        SCOPED_TRACE(static_cast<int>(holder));
        test::TempDir dir;
        int ready[2];
        ASSERT_EQ(::pipe(ready), 0);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            const char state = HoldInChild(holder, dir.path()) ? 'y' : 'n';
            (void)::write(ready[1], &state, 1);
            for (;;)
                ::pause();
        }
        char state = 0;
        ASSERT_EQ(::read(ready[0], &state, 1), 1);
        EXPECT_EQ(state, 'y');
        ExpectHeldElsewhere(FolderLock::Take(dir.path()));
        ::kill(child, SIGKILL);
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_TRUE(FolderLock::Take(dir.path()));
        ::close(ready[0]);
        ::close(ready[1]);
    }
#endif
}

} // namespace
} // namespace adultify
