#include "iff/file_stamp.h"

#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>

namespace adultify {
namespace {

namespace fs = std::filesystem;

// A neighbourhood-sized file whose bytes all differ from their neighbours'.
Bytes Pattern(std::size_t size, std::uint8_t seed) {
    Bytes bytes(size);
    for (std::size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<std::uint8_t>(i * 31 + seed);
    return bytes;
}

struct timespec MtimeOf(const fs::path& p) {
    struct stat st {};
    EXPECT_EQ(::stat(p.c_str(), &st), 0) << p;
    return st.st_mtim;
}

void SetMtime(const fs::path& p, const struct timespec& mtime) {
    const struct timespec times[2] = {{0, UTIME_OMIT}, mtime};
    ASSERT_EQ(::utimensat(AT_FDCWD, p.c_str(), times, 0), 0) << p;
}

// Published FNV-1a 64 test vectors.
TEST(Fnv1a64, MatchesTheReferenceValues) {
    EXPECT_EQ(Fnv1a64(Bytes{}), 0xcbf29ce484222325u);
    EXPECT_EQ(Fnv1a64(ToBytes("a")), 0xaf63dc4c8601ec8cu);
    EXPECT_EQ(Fnv1a64(ToBytes("foobar")), 0x85944171f73967e8u);
}

TEST(StampOf, TakesSizeAndTimeFromTheDiskAndHashesTheBytesRead) {
    test::TempDir dir;
    const fs::path file = dir.path() / "Neighborhood.iff";
    test::WriteBytes(file, ToBytes("foobar"));
    SetMtime(file, {1'700'000'000, 123'456'789});

    const FileStamp stamp = StampOf(file, ToBytes("foobar"));
    EXPECT_EQ(stamp.size, 6u);
    EXPECT_EQ(stamp.mtimeNs, 1'700'000'000'123'456'789);
    EXPECT_EQ(stamp.hash, 0x85944171f73967e8u);
    // The bytes held, not the disk's: they are what a save would write back.
    EXPECT_EQ(StampOf(file, ToBytes("a")).hash, 0xaf63dc4c8601ec8cu);
    EXPECT_EQ(StampOf(file, ToBytes("a")).size, 6u);
}

TEST(CompareWithDisk, TellsSameChangedAndGone) {
    test::TempDir dir;
    const fs::path file = dir.path() / "UserData" / "Neighborhood.iff";
    const Bytes original = Pattern(1 << 20, 1);
    test::WriteBytes(file, original);
    const FileStamp stamp = StampOf(file, original);
    const struct timespec readAt = MtimeOf(file);

    EXPECT_EQ(CompareWithDisk(file, stamp), Change::Same) << "untouched";
    EXPECT_EQ(CompareWithDisk(file, stamp), Change::Same) << "checking changes nothing";

    // Same size and the old time put back: only the bytes tell.
    Bytes oneByte = original;
    oneByte[500'000] ^= 0x01;
    test::WriteBytes(file, oneByte);
    SetMtime(file, readAt);
    ASSERT_EQ(fs::file_size(file), original.size());
    EXPECT_EQ(CompareWithDisk(file, stamp), Change::Changed) << "rewritten in place";

    test::WriteBytes(file, original);
    SetMtime(file, readAt);
    EXPECT_EQ(CompareWithDisk(file, stamp), Change::Same) << "written back as it was";

    Bytes longer = original;
    longer.push_back(0);
    test::WriteBytes(file, longer);
    SetMtime(file, readAt);
    EXPECT_EQ(CompareWithDisk(file, stamp), Change::Changed) << "appended, time put back";

    test::WriteBytes(file, original);
    SetMtime(file, {readAt.tv_sec + 2, readAt.tv_nsec});
    EXPECT_EQ(CompareWithDisk(file, stamp), Change::Changed) << "same bytes, newer time";

    fs::remove(file);
    EXPECT_EQ(CompareWithDisk(file, stamp), Change::Gone) << "removed";
    fs::remove_all(dir.path() / "UserData");
    EXPECT_EQ(CompareWithDisk(file, stamp), Change::Gone) << "folder removed";
    test::WriteBytes(dir.path() / "UserData", original);
    EXPECT_EQ(CompareWithDisk(file, stamp), Change::Gone) << "a file took the folder's name";
}

TEST(CompareWithDisk, CountsWhatCannotBeCheckedAsChanged) {
    test::TempDir dir;
    const fs::path file = dir.path() / "Neighborhood.iff";
    const Bytes bytes = Pattern(100, 3);

    // Stamped after the file was already gone: it can never be Same again.
    const FileStamp unstamped = StampOf(file, bytes);
    test::WriteBytes(file, bytes);
    EXPECT_EQ(CompareWithDisk(file, unstamped), Change::Changed);

    const FileStamp stamp = StampOf(file, bytes);
    fs::remove(file);
    fs::create_directory(file);
    EXPECT_EQ(CompareWithDisk(file, stamp), Change::Changed) << "a folder took its name";
}

} // namespace
} // namespace adultify
