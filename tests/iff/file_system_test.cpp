#include "iff/native_file_system.h"

#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

namespace adultify {
namespace {

TEST(NativeFileSystem, CanOpenForReadingOnlyRealReadableFiles) {
    test::TempDir dir;
    NativeFileSystem fs;
    test::WriteBytes(dir.path() / "empty.iff", {});
    EXPECT_TRUE(fs.CanOpenForReading(dir.str() + "/empty.iff"));
    EXPECT_FALSE(fs.CanOpenForReading(dir.str()));
    EXPECT_FALSE(fs.CanOpenForReading(dir.str() + "/missing.iff"));
    EXPECT_FALSE(fs.CanOpenForReading(dir.str() + "/nofolder/missing.iff"));
}

TEST(NativeFileSystem, ReadWriteRoundTripKeepsEveryByte) {
    test::TempDir dir;
    NativeFileSystem fs;
    Bytes all(256);
    for (int i = 0; i < 256; ++i)
        all[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i);
    const std::string path = dir.str() + "\\bytes.bin";
    ASSERT_TRUE(fs.WriteNew(path, all));
    EXPECT_EQ(fs.Read(path, nullptr), all);
    ASSERT_TRUE(fs.WriteNew(path, ToBytes("short")));
    EXPECT_EQ(fs.Read(path, nullptr), ToBytes("short")) << "a new file is truncated";
}

TEST(ReplaceFile, WritesBesideThenRenamesAndLeavesNoSidecar) {
    test::TempDir dir;
    NativeFileSystem fs;
    const std::string path = dir.str() + "/User00001.iff";
    test::WriteBytes(path, ToBytes("old"));
    ASSERT_TRUE(ReplaceWholeFile(fs, path, ToBytes("new contents")));
    EXPECT_EQ(test::ReadBytes(path), ToBytes("new contents"));
    EXPECT_FALSE(std::filesystem::exists(SidecarPath(path)));
}

TEST(ReplaceFile, AFailedWriteLeavesTheOldFile) {
    test::TempDir dir;
    NativeFileSystem fs;
    const std::string path = dir.str() + "/missing-folder/User00001.iff";
    const IoResult r = ReplaceWholeFile(fs, path, ToBytes("new"));
    EXPECT_FALSE(r.ok);
    EXPECT_FALSE(r.reason.empty());
}

} // namespace
} // namespace adultify
