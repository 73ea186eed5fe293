#include "files/file_stamp.h"

#include "files/checksum.h"
#include "files/intent_record.h"
#include "tests/support/system_calls.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

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

// Last-write times in nanoseconds since 1970, set and read the system's own way.
using UnixNs = std::int64_t;
constexpr UnixNs kSecond = 1'000'000'000;

#ifdef _WIN32
constexpr UnixNs kTicksTo1970 = 116'444'736'000'000'000; // FILETIME counts 100 ns from 1601

UnixNs MtimeOf(const fs::path& p) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    EXPECT_TRUE(::GetFileAttributesExW(p.c_str(), GetFileExInfoStandard, &data)) << p;
    const auto ticks =
        static_cast<UnixNs>((std::uint64_t{data.ftLastWriteTime.dwHighDateTime} << 32) |
                            data.ftLastWriteTime.dwLowDateTime);
    return (ticks - kTicksTo1970) * 100;
}

void SetMtime(const fs::path& p, UnixNs mtime) {
    const auto ticks = static_cast<std::uint64_t>(mtime / 100 + kTicksTo1970);
    const FILETIME t{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
    const HANDLE h = ::CreateFileW(p.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr,
                                   OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE) << p;
    EXPECT_TRUE(::SetFileTime(h, nullptr, nullptr, &t)) << p;
    ::CloseHandle(h);
}
#else

UnixNs MtimeOf(const fs::path& p) {
    struct stat st {};
    EXPECT_EQ(::stat(p.c_str(), &st), 0) << p;
    return st.st_mtim.tv_sec * kSecond + st.st_mtim.tv_nsec;
}

void SetMtime(const fs::path& p, UnixNs mtime) {
    const struct timespec times[2] = {{0, UTIME_OMIT}, {mtime / kSecond, mtime % kSecond}};
    ASSERT_EQ(::utimensat(AT_FDCWD, p.c_str(), times, 0), 0) << p;
}
#endif

// Published FNV-1a 64 test vectors.
TEST(Fnv1a64, MatchesTheReferenceValues) {
    EXPECT_EQ(Fnv1a64(Bytes{}), 0xcbf29ce484222325u);
    EXPECT_EQ(Fnv1a64(ToBytes("a")), 0xaf63dc4c8601ec8cu);
    EXPECT_EQ(Fnv1a64(ToBytes("foobar")), 0x85944171f73967e8u);
}

// zlib's crc32 of the same bytes; lengths on both sides of the eight-byte steps and of the
// 16- and 64-byte folds, and a sum continued from a split at an odd offset, which must equal
// the sum of the whole.
TEST(Crc32, MatchesZlibAtEveryLengthAndWhenContinued) {
    const Bytes p = Pattern(1000, 5);
    const struct {
        std::string_view text;
        std::size_t size;
        std::uint32_t crc;
    } cases[] = {
        {"", 0, 0},
        {"a", 0, 0xe8b7be43u},
        {"123456789", 0, 0xcbf43926u},
        {"", 13, 0x5d6605dfu},
        {"", 63, 0x03c06465u},
        {"", 64, 0xd06cbce3u},
        {"", 65, 0x00df06ccu},
        {"", 79, 0x881de207u},
        {"", 80, 0x558251bdu},
        {"", 127, 0xa3c5a157u},
        {"", 128, 0x837f2a16u},
        {"", 129, 0xbb875259u},
        {"", 1000, 0x1a78e496u},
    };
    for (const auto& c : cases) {
        const Bytes bytes = c.text.empty() ? Bytes(p.begin(), p.begin() + c.size) : ToBytes(c.text);
        EXPECT_EQ(Crc32(bytes.data(), bytes.size()), c.crc) << c.text << c.size;
    }
    EXPECT_EQ(Crc32(p.data() + 7, 993, Crc32(p.data(), 7)), 0x1a78e496u);
    EXPECT_EQ(Crc32(p.data() + 100, 900, Crc32(p.data(), 100)), 0x1a78e496u);
    const Bytes large = Pattern(1 << 20, 3);
    EXPECT_EQ(Crc32(large.data(), large.size()), 0xe604c03cu);
}

TEST(StampOf, TakesSizeAndTimeFromTheDiskAndHashesTheBytesRead) {
    test::TempDir dir;
    const fs::path file = dir.path() / "Neighborhood.iff";
    test::WriteBytes(file, ToBytes("foobar"));
    // A whole number of 100 ns: Windows keeps no finer times.
    SetMtime(file, 1'700'000'000'123'456'700);

    const FileStamp stamp = StampOf(file, ToBytes("foobar"));
    EXPECT_EQ(stamp.size, 6u);
    EXPECT_EQ(stamp.mtimeNs, 1'700'000'000'123'456'700);
    EXPECT_EQ(stamp.hash, StampHash(ToBytes("foobar")));
    // The bytes held, not the disk's: they are what a save would write back.
    EXPECT_NE(StampOf(file, ToBytes("a")).hash, stamp.hash);
    EXPECT_EQ(StampOf(file, ToBytes("a")).size, 6u);
    // Intent records keep FNV-1a: a record left by any version is read the same.
    EXPECT_EQ(StampOf(file, ToBytes("foobar"), kRecordHash).hash, 0x85944171f73967e8u);
}

// Any one bit changed, a byte added, or two blocks of eight bytes swapped between the lanes
// gives another hash, at every length the whole steps, the words and the last bytes take.
TEST(StampHash, TellsEveryOneBitChangeAndEveryLengthApart) {
    std::set<Bytes> inputs;
    for (const std::size_t size : {0, 1, 7, 8, 9, 31, 32, 33, 63, 64, 65, 100, 1000}) {
        const Bytes bytes = Pattern(size, static_cast<std::uint8_t>(size));
        inputs.insert(bytes);
        for (std::size_t at = 0; at < size; at += std::max<std::size_t>(1, size / 16))
            for (int bit = 0; bit < 8; ++bit) {
                Bytes flipped = bytes;
                flipped[at] ^= static_cast<std::uint8_t>(1 << bit);
                inputs.insert(flipped);
            }
        Bytes longer = bytes;
        longer.push_back(0);
        inputs.insert(longer);
        if (size >= 32) {
            Bytes swapped = bytes;
            std::swap_ranges(swapped.begin(), swapped.begin() + 8, swapped.begin() + 8);
            inputs.insert(swapped);
        }
    }
    std::set<std::uint64_t> hashes;
    for (const Bytes& input : inputs)
        hashes.insert(StampHash(input));
    EXPECT_EQ(hashes.size(), inputs.size());
}

TEST(CompareWithDisk, TellsSameChangedAndGone) {
    test::TempDir dir;
    const fs::path file = dir.path() / "UserData" / "Neighborhood.iff";
    const Bytes original = Pattern(1 << 20, 1);
    test::WriteBytes(file, original);
    const FileStamp stamp = StampOf(file, original);
    const UnixNs readAt = MtimeOf(file);

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
    SetMtime(file, readAt + 2 * kSecond);
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
