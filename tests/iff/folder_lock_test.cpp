#include "iff/folder_lock.h"

#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <csignal>
#ifndef _WIN32
#include <sys/wait.h>
#include <unistd.h>
#endif

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
    }
    EXPECT_TRUE(FolderLock::Take(dir.path())) << "released with its owner";
    EXPECT_TRUE(std::filesystem::exists(FolderLock::LockFile(dir.path())));

    auto nowhere = FolderLock::Take(dir.path() / "missing");
    ASSERT_FALSE(nowhere);
    EXPECT_EQ(nowhere.error().kind, FileErrorKind::NotFound);
}

TEST(FolderLock, AnotherProcessHoldsItUntilItIsKilled) {
#ifdef _WIN32
    GTEST_SKIP() << "fork and SIGKILL are POSIX's";
#else
    test::TempDir dir;
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        auto lock = FolderLock::Take(dir.path());
        const char state = lock ? 'y' : 'n';
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
#endif
}

} // namespace
} // namespace adultify
