#include "files/safe_file.h"

#include "files/checksum.h"
#include "files/safe_file_platform.h"
#include "tests/support/skip_on_windows.h"
#include "tests/support/system_calls.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

namespace adultify {
namespace {

namespace fs = std::filesystem;

Bytes AllByteValues() {
    Bytes all(256);
    for (int i = 0; i < 256; ++i)
        all[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i);
    return all;
}

#ifndef _WIN32
mode_t ModeOf(const fs::path& p) {
    struct stat st {};
    EXPECT_EQ(::lstat(p.c_str(), &st), 0) << p;
    return st.st_mode;
}
#endif

[[maybe_unused]] std::vector<std::string> Names(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(folder))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

TEST(ReadRegularFile, ReadsEveryByteAlsoThroughALinkAndUpToTheLimitExactly) {
    ADULTIFY_SKIP_ON_WINDOWS("it makes symbolic links, which libstdc++ cannot make on Windows");
    test::TempDir dir;
    test::WriteBytes(dir.path() / "a.iff", AllByteValues());
    fs::create_symlink("a.iff", dir.path() / "link.iff");
    for (const char* name : {"a.iff", "link.iff"}) {
        auto read = ReadRegularFile(dir.path() / name, 256);
        ASSERT_TRUE(read) << Describe(read.error());
        EXPECT_EQ(read.value(), AllByteValues());
    }
    test::WriteBytes(dir.path() / "empty.iff", {});
    EXPECT_TRUE(ReadRegularFile(dir.path() / "empty.iff", 0));
    auto over = ReadRegularFile(dir.path() / "a.iff", 255);
    ASSERT_FALSE(over);
    EXPECT_EQ(over.error().kind, FileErrorKind::TooLarge);
}

// Files read in turn through one buffer: each comes back whole and alone, whatever was read
// before it, and the buffer's room is used where it has enough.
TEST(ReadRegularFile, AHandedInBufferHoldsExactlyEachFileReadInTurn) {
    test::TempDir dir;
    const auto filled = [](std::size_t size, std::uint8_t seed) {
        Bytes bytes(size);
        for (std::size_t i = 0; i < size; ++i)
            bytes[i] = static_cast<std::uint8_t>(seed + i * 7);
        return bytes;
    };
    const std::vector<std::pair<const char*, Bytes>> files{{"big.iff", filled(4000, 1)},
                                                           {"small.iff", filled(100, 2)},
                                                           {"empty.iff", {}},
                                                           {"bigger.iff", filled(9000, 3)},
                                                           {"a-bit-more.iff", filled(9100, 4)}};
    for (const auto& [name, bytes] : files)
        test::WriteBytes(dir.path() / name, bytes);

    Bytes buffer;
    const std::uint8_t* room = nullptr;
    for (const auto& [name, bytes] : files) {
        auto read = ReadRegularFile(dir.path() / name, 1u << 20, std::move(buffer));
        ASSERT_TRUE(read) << Describe(read.error());
        EXPECT_EQ(read.value(), bytes) << name;
        if (std::strcmp(name, "small.iff") == 0 || std::strcmp(name, "a-bit-more.iff") == 0) {
            EXPECT_EQ(read.value().data(), room) << name << " was read into new memory";
        }
        room = read.value().data();
        buffer = std::move(read.value());
    }
}

TEST(ReadRegularFile, RefusesFoldersPipesDevicesAndSocketsWithoutWaiting) {
#ifdef _WIN32
    GTEST_SKIP() << "FIFOs, UNIX sockets and /dev/null are POSIX's";
#else
    test::TempDir dir;
    const fs::path fifo = dir.path() / "Neighborhood.iff";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    fs::create_symlink(fifo, dir.path() / "to-fifo.iff");
    const fs::path socketPath = dir.path() / "socket.iff";
    const int sock = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::snprintf(address.sun_path, sizeof address.sun_path, "%s", socketPath.c_str());
    ASSERT_EQ(::bind(sock, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);

    ::alarm(20); // a read that waits on the pipe ends the run instead of hanging it
    for (const fs::path& p :
         {dir.path(), fifo, dir.path() / "to-fifo.iff", socketPath, fs::path("/dev/null")}) {
        auto read = ReadRegularFile(p, kLargestGameFile);
        ASSERT_FALSE(read) << p;
        EXPECT_EQ(read.error().kind, FileErrorKind::NotRegular) << p;
        EXPECT_NE(read.error().reason.find("not a file"), std::string::npos);
    }
    ::alarm(0);
    ::close(sock);

    for (const fs::path& p : {dir.path() / "missing.iff", dir.path() / "no" / "such.iff"}) {
        auto read = ReadRegularFile(p, kLargestGameFile);
        ASSERT_FALSE(read);
        EXPECT_EQ(read.error().kind, FileErrorKind::NotFound);
        EXPECT_EQ(read.error().reason, std::strerror(ENOENT));
        EXPECT_EQ(read.error().path, p);
    }
#endif
}

TEST(ReadRegularFile, AHugeFileIsRefusedWithoutBeingRead) {
    test::TempDir dir;
    const fs::path huge = dir.path() / "Neighborhood.iff";
    test::WriteBytes(huge, {});
    fs::resize_file(huge, std::uint64_t{1} << 30); // sparse: no disk space taken
#ifdef _WIN32
    auto read = ReadRegularFile(huge, kLargestGameFile); // peak memory: getrusage is POSIX's
    ASSERT_FALSE(read);
    EXPECT_EQ(read.error().kind, FileErrorKind::TooLarge);
#else
    rusage before{};
    ::getrusage(RUSAGE_SELF, &before);
    auto read = ReadRegularFile(huge, kLargestGameFile);
    rusage after{};
    ::getrusage(RUSAGE_SELF, &after);
    ASSERT_FALSE(read);
    EXPECT_EQ(read.error().kind, FileErrorKind::TooLarge);
    EXPECT_LT(after.ru_maxrss - before.ru_maxrss, 64 * 1024) << "kilobytes of peak memory added";
#endif
}

TEST(ReadRegularFile, AFileNobodyMayReadGivesTheSystemsReason) {
#ifdef _WIN32
    GTEST_SKIP() << "POSIX permissions";
#else
    if (::geteuid() == 0) GTEST_SKIP() << "an administrator reads any file";
    test::TempDir dir;
    test::WriteBytes(dir.path() / "locked.iff", ToBytes("x"));
    fs::permissions(dir.path() / "locked.iff", fs::perms::none);
    auto read = ReadRegularFile(dir.path() / "locked.iff", 10);
    ASSERT_FALSE(read);
    EXPECT_EQ(read.error().kind, FileErrorKind::Unreadable);
    EXPECT_EQ(read.error().reason, std::strerror(EACCES));
#endif
}

class PlantedTempNames : public ::testing::Test {
  protected:
    void SetUp() override {
        saved_ = platform::drawTempSuffix;
        platform::drawTempSuffix = [] {
            static int n = 0;
            char text[17];
            std::snprintf(text, sizeof text, "%016x", n++ % 2);
            return std::string(text);
        };
    }
    void TearDown() override { platform::drawTempSuffix = saved_; }

  private:
    std::string (*saved_)() = nullptr;
};

TEST_F(PlantedTempNames, AnEntryAtTheDrawnNameIsNeverOpenedAndAnotherNameIsDrawn) {
    ADULTIFY_SKIP_ON_WINDOWS("it makes symbolic links, which libstdc++ cannot make on Windows");
    test::TempDir dir;
    const fs::path target = dir.path() / "Neighborhood.iff";
    const fs::path outside = dir.path() / "outside" / "precious.iff";
    test::WriteBytes(target, ToBytes("old"));
    test::WriteBytes(outside, ToBytes("precious"));
    const fs::path planted = dir.path() / "Neighborhood.iff.adultify-new-0000000000000000";
    fs::create_symlink(outside, planted);

    auto temp = WriteTempBeside(target, ToBytes("new"));
    ASSERT_TRUE(temp) << Describe(temp.error());
    EXPECT_EQ(temp.value().path.filename(), "Neighborhood.iff.adultify-new-0000000000000001");
    EXPECT_EQ(test::ReadBytes(temp.value().path), ToBytes("new"));
    EXPECT_EQ(test::ReadBytes(outside), ToBytes("precious"));
    EXPECT_TRUE(fs::is_symlink(planted));

    // The planted link is also refused where a caller names the file itself.
    auto direct = WriteNewFile(planted, ToBytes("new"));
    ASSERT_FALSE(direct);
    EXPECT_EQ(direct.error().kind, FileErrorKind::NameTaken);
    EXPECT_EQ(test::ReadBytes(outside), ToBytes("precious"));
}

TEST(WriteTempBeside, WritesAFlushedFileBesideTheTargetWithTheTargetsMode) {
#ifdef _WIN32
    GTEST_SKIP() << "POSIX modes";
#else
    test::TempDir dir;
    for (const mode_t mode : {0600, 0640, 0664}) {
        const fs::path target = dir.path() / ("User" + std::to_string(mode) + ".iff");
        test::WriteBytes(target, ToBytes("old"));
        ASSERT_EQ(::chmod(target.c_str(), mode), 0);
        auto a = WriteTempBeside(target, AllByteValues());
        auto b = WriteTempBeside(target, AllByteValues());
        ASSERT_TRUE(a && b);
        EXPECT_NE(a.value().path, b.value().path);
        EXPECT_EQ(a.value().path.parent_path(), target.parent_path());
        EXPECT_TRUE(IsTempName(a.value().path.filename().string()));
        EXPECT_EQ(ModeOf(a.value().path) & 07777, mode);
        EXPECT_EQ(test::ReadBytes(a.value().path), AllByteValues());
        EXPECT_EQ(a.value().size, 256u);
        EXPECT_EQ(a.value().crc32, Crc32(AllByteValues().data(), 256));
        EXPECT_EQ(test::ReadBytes(target), ToBytes("old"));
    }
    EXPECT_FALSE(IsTempName("Neighborhood.iff.adultify-new"));
    EXPECT_FALSE(IsTempName("Neighborhood.iff.adultify-new-000000000000000g"));
    EXPECT_FALSE(IsTempName(".adultify-new-0000000000000000"));
#endif
}

TEST(WriteTempBeside, TakesTheOwnerOfTheReplacedFileWhenRunByAnAdministrator) {
#ifdef _WIN32
    GTEST_SKIP() << "POSIX owners";
#else
    if (::geteuid() != 0) GTEST_SKIP() << "only an administrator can give a file away";
    test::TempDir dir;
    const fs::path target = dir.path() / "Neighborhood.iff";
    test::WriteBytes(target, ToBytes("old"));
    ASSERT_EQ(::chown(target.c_str(), 4242, 4343), 0);
    auto temp = WriteTempBeside(target, ToBytes("new"));
    ASSERT_TRUE(temp);
    struct stat st {};
    ASSERT_EQ(::stat(temp.value().path.c_str(), &st), 0);
    EXPECT_EQ(st.st_uid, 4242u);
    EXPECT_EQ(st.st_gid, 4343u);
#endif
}

TEST(WriteTempBeside, ReadOnlyOrOddTargetsAreRefusedBeforeAnythingIsWritten) {
#ifdef _WIN32
    GTEST_SKIP() << "POSIX modes and FIFOs";
#else
    test::TempDir dir;
    const fs::path target = dir.path() / "Neighborhood.iff";
    test::WriteBytes(target, ToBytes("old"));
    const fs::path temp = dir.path() / "prepared";
    test::WriteBytes(temp, ToBytes("new"));
    ASSERT_EQ(::chmod(target.c_str(), 0444), 0);
    fs::create_directory(dir.path() / "Folder.iff");
    ASSERT_EQ(::mkfifo((dir.path() / "Pipe.iff").c_str(), 0644), 0);
    const auto before = Names(dir.path());

    const std::pair<fs::path, FileErrorKind> cases[] = {
        {target, FileErrorKind::ReadOnly},
        {dir.path() / "Folder.iff", FileErrorKind::NotRegular},
        {dir.path() / "Pipe.iff", FileErrorKind::NotRegular},
    };
    for (const auto& [path, kind] : cases) {
        auto written = WriteTempBeside(path, ToBytes("new"));
        ASSERT_FALSE(written) << path;
        EXPECT_EQ(written.error().kind, kind) << path;
        auto replaced = ReplaceWith(temp, path);
        ASSERT_FALSE(replaced) << path;
        EXPECT_EQ(replaced.error().kind, kind) << path;
    }
    EXPECT_EQ(Names(dir.path()), before);
    EXPECT_EQ(test::ReadBytes(target), ToBytes("old"));
    EXPECT_EQ(test::ReadBytes(temp), ToBytes("new"));

    auto nowhere = WriteTempBeside(dir.path() / "missing" / "User00001.iff", ToBytes("x"));
    ASSERT_FALSE(nowhere);
    EXPECT_EQ(nowhere.error().kind, FileErrorKind::NotFound);
    EXPECT_EQ(nowhere.error().reason, std::strerror(ENOENT));
#endif
}

TEST(LinkBackup, KeepsTheOldContentsThroughTheReplacementAndNeverReplacesAnEntry) {
    ADULTIFY_SKIP_ON_WINDOWS("it makes symbolic links, which libstdc++ cannot make on Windows");
    test::TempDir dir;
    const fs::path real = dir.path() / "real.iff";
    const fs::path hood = dir.path() / "Neighborhood.iff";
    test::WriteBytes(real, ToBytes("old"));
    fs::create_symlink("real.iff", hood);

    ASSERT_TRUE(LinkBackup(hood, dir.path() / "Neighborhood.000"));
    EXPECT_FALSE(fs::is_symlink(dir.path() / "Neighborhood.000")) << "the file, not the link";
    auto temp = WriteTempBeside(hood, ToBytes("new"));
    ASSERT_TRUE(temp);
    ASSERT_TRUE(ReplaceWith(temp.value().path, hood));
    EXPECT_EQ(test::ReadBytes(hood), ToBytes("new"));
    EXPECT_EQ(test::ReadBytes(dir.path() / "Neighborhood.000"), ToBytes("old"));
    EXPECT_FALSE(fs::exists(temp.value().path));

    test::WriteBytes(dir.path() / "taken-file", ToBytes("keep"));
    fs::create_symlink("nowhere", dir.path() / "taken-link");
    fs::create_directory(dir.path() / "taken-folder");
    for (const char* name : {"taken-file", "taken-link", "taken-folder"}) {
        auto linked = LinkBackup(hood, dir.path() / name);
        ASSERT_FALSE(linked) << name;
        EXPECT_EQ(linked.error().kind, FileErrorKind::NameTaken) << name;
    }
    EXPECT_EQ(test::ReadBytes(dir.path() / "taken-file"), ToBytes("keep"));
    EXPECT_EQ(fs::read_symlink(dir.path() / "taken-link"), "nowhere");
    EXPECT_EQ(LinkBackup(dir.path() / "missing", dir.path() / "b").error().kind,
              FileErrorKind::NotFound);
}

TEST(LinkBackup, CopiesAcrossFileSystemsWhereNoLinkCanBeMade) {
#ifdef _WIN32
    GTEST_SKIP() << "it needs /dev/shm, a Linux memory file system";
#else
    test::TempDir dir;
    const fs::path memory = "/dev/shm";
    struct stat a {
    }, b{};
    if (::stat(memory.c_str(), &b) != 0 || ::stat(dir.path().c_str(), &a) != 0 ||
        a.st_dev == b.st_dev)
        GTEST_SKIP() << "needs a second file system";
    const fs::path hood = dir.path() / "Neighborhood.iff";
    test::WriteBytes(hood, AllByteValues());
    ASSERT_EQ(::chmod(hood.c_str(), 0600), 0);
    const fs::path backup = memory / ("adultify-backup-" + std::to_string(::getpid()));

    ASSERT_TRUE(LinkBackup(hood, backup));
    EXPECT_EQ(test::ReadBytes(backup), AllByteValues());
    EXPECT_EQ(ModeOf(backup) & 0777, 0600u);
    auto again = LinkBackup(hood, backup);
    ASSERT_FALSE(again);
    EXPECT_EQ(again.error().kind, FileErrorKind::NameTaken);
    EXPECT_EQ(test::ReadBytes(backup), AllByteValues());
    fs::remove(backup);
#endif
}

#ifdef _WIN32
// The game keeps its files open while it runs: the replace waits briefly, then names the file
// and the way out, and leaves it as it was.
TEST(ReplaceWith, AFileAnotherProgramHoldsOpenIsReportedWithTheWayOut) {
    test::TempDir dir;
    const fs::path target = dir.path() / "Neighborhood.iff";
    test::WriteBytes(target, ToBytes("old"));
    auto temp = WriteTempBeside(target, ToBytes("new"));
    ASSERT_TRUE(temp);
    const HANDLE held = ::CreateFileW(target.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    const FileStatus replaced = ReplaceWith(temp.value().path, target);
    ::CloseHandle(held);
    ASSERT_FALSE(replaced);
    EXPECT_EQ(replaced.error().kind, FileErrorKind::InUse);
    EXPECT_EQ(replaced.error().path, target);
    EXPECT_NE(Describe(replaced.error()).find("close the game"), std::string::npos)
        << Describe(replaced.error());
    EXPECT_EQ(test::ReadBytes(target), ToBytes("old"));
    EXPECT_TRUE(ReplaceWith(temp.value().path, target)) << "once the file is let go";
    EXPECT_EQ(test::ReadBytes(target), ToBytes("new"));
}
#endif

} // namespace
} // namespace adultify
