// The file-system seam on the machine's own files, through Windows-style paths.
#include "files/native_file_system.h"

#include "tests/support/system_calls.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

namespace adultify {
namespace {

namespace fs = std::filesystem;

TEST(NativeFileSystem, CanOpenForReadingOnlyRegularFilesAndNeverWaitsOnAPipe) {
#ifdef _WIN32
    GTEST_SKIP() << "a FIFO is POSIX's: Windows has no named pipe in a folder";
#else
    test::TempDir dir;
    NativeFileSystem files;
    test::WriteBytes(dir.path() / "empty.iff", {});
    ASSERT_EQ(::mkfifo((dir.path() / "pipe.iff").c_str(), 0600), 0);
    EXPECT_TRUE(files.CanOpenForReading(dir.str() + "/empty.iff"));
    EXPECT_FALSE(files.CanOpenForReading(dir.str()));
    EXPECT_FALSE(files.CanOpenForReading(dir.str() + "/pipe.iff")) << "and returns at once";
    EXPECT_FALSE(files.CanOpenForReading(dir.str() + "/missing.iff"));
    EXPECT_FALSE(files.CanOpenForReading(dir.str() + "/nofolder/missing.iff"));
    EXPECT_TRUE(files.EntryExists(dir.str() + "/pipe.iff"));
    EXPECT_FALSE(files.EntryExists(dir.str() + "/missing.iff"));
#endif
}

TEST(NativeFileSystem, ReplaceKeepsEveryByteAndTheBackupUnderAFreeName) {
    test::TempDir dir;
    NativeFileSystem files;
    Bytes all(256);
    for (int i = 0; i < 256; ++i)
        all[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i);
    test::WriteBytes(dir.path() / "UserData" / "Neighborhood.iff", ToBytes("old"));
    test::WriteBytes(dir.path() / "UserData" / "neighborhood.000", ToBytes("older"));
    const std::string base = dir.str() + "\\UserData\\Neighborhood";
    const auto backup = files.FreeBackupName(base);
    ASSERT_TRUE(backup);
    EXPECT_EQ(backup.value(), base + ".001") << "a name taken in another letter case is taken";
    ASSERT_TRUE(files.Replace(dir.str(), {{base + ".iff", all, backup.value()}}));
    EXPECT_EQ(files.ReadFile(base + ".iff", 1000).value(), all);
    EXPECT_EQ(test::ReadBytes(dir.path() / "UserData" / "Neighborhood.001"), ToBytes("old"));
    EXPECT_EQ(test::ReadBytes(dir.path() / "UserData" / "neighborhood.000"), ToBytes("older"));
    for (const auto& entry : fs::directory_iterator(dir.path() / "UserData"))
        EXPECT_EQ(entry.path().filename().string().find("adultify"), std::string::npos)
            << "nothing left beside the files: " << entry.path();
}

TEST(NativeFileSystem, ReadsStopAtTheLimitGiven) {
    test::TempDir dir;
    NativeFileSystem files;
    test::WriteBytes(dir.path() / "big.iff", Bytes(2000, 7));
    const auto big = files.ReadFile(dir.str() + "/big.iff", 1999);
    ASSERT_FALSE(big);
    EXPECT_EQ(big.error().kind, FileErrorKind::TooLarge) << "the limit reaches the read";
}

} // namespace
} // namespace adultify
