#include "files/windows_path.h"

#include "tests/support/skip_on_windows.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <chrono>

namespace adultify {
namespace {

namespace fs = std::filesystem;

class WindowsPathTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ADULTIFY_SKIP_ON_WINDOWS(
            "a Wine prefix's drive links are followed on Linux; Windows has its "
            "own drives");
        prefix = dir.path() / "prefix";
        fs::create_directories(prefix / "drive_c" / "Program Files" / "Maxis" / "The Sims" /
                               "UserData" / "Characters");
        fs::create_directories(prefix / "dosdevices");
        fs::create_directory_symlink("../drive_c", prefix / "dosdevices" / "c:");
        sims = prefix / "drive_c" / "Program Files" / "Maxis" / "The Sims";
        test::WriteBytes(sims / "SIMS.EXE", ToBytes("x"));
        test::WriteBytes(sims / "UserData" / "Characters" / "User00001.iff", ToBytes("x"));
    }
    test::TempDir dir;
    fs::path prefix, sims;
};

TEST_F(WindowsPathTest, DriveLettersGoThroughDosdevicesAndCaseIsIgnored) {
    const WindowsPathMapper mapper(prefix / "dosdevices");
    const fs::path hit =
        mapper.ToNative("c:\\PROGRAM FILES\\maxis\\The Sims\\userdata\\Characters\\USER00001.iff");
    EXPECT_TRUE(fs::exists(hit));
    EXPECT_EQ(hit.filename(), "User00001.iff");
    EXPECT_EQ(mapper.ToNative("C:\\Program Files\\Maxis\\The Sims\\Sims.exe").filename(),
              "SIMS.EXE");
}

TEST_F(WindowsPathTest, DoubledAndMixedSeparatorsCountAsOne) {
    const WindowsPathMapper mapper(prefix / "dosdevices");
    EXPECT_TRUE(fs::exists(mapper.ToNative("C:\\\\Program Files//Maxis\\/The Sims\\\\Sims.exe")));
}

TEST_F(WindowsPathTest, UnknownDriveOrNoPrefixResolvesNowhere) {
    EXPECT_TRUE(WindowsPathMapper(prefix / "dosdevices").ToNative("D:\\x").empty());
    EXPECT_TRUE(WindowsPathMapper().ToNative("C:\\x").empty());
}

TEST_F(WindowsPathTest, NativeAbsolutePathsWorkWithBackslashedTails) {
    const WindowsPathMapper mapper;
    const std::string simsPath = sims.string() + "\\";
    EXPECT_TRUE(fs::exists(mapper.ToNative(simsPath + "UserData\\Characters\\user00001.iff")));
    EXPECT_FALSE(fs::exists(mapper.ToNative(simsPath + "UserData\\Characters\\user00002.iff")));
}

// The folder is listed once and read again when it changes; the listing's own spelling is
// what the program opens, on Windows too. A second folder in between must not lend its names.
TEST_F(WindowsPathTest, ExactNameWinsElseFirstInSortedOrderAlsoAfterTheFolderChanges) {
    test::WriteBytes(dir.path() / "names" / "User1.iff", ToBytes("a"));
    test::WriteBytes(dir.path() / "names" / "USER1.IFF", ToBytes("b"));
    test::WriteBytes(dir.path() / "names" / "user1.iff", ToBytes("c"));
    test::WriteBytes(dir.path() / "other" / "USER2.IFF", ToBytes("e"));
    struct Step {
        const char* in;      // the folder asked
        const char* added;   // before the lookup
        const char* removed; // before the lookup
        const char* asked;
        const char* found; // nothing: no entry has the name
    };
    const Step steps[] = {
        {"names", nullptr, nullptr, "user1.iff", "user1.iff"},
        {"names", nullptr, nullptr, "uSeR1.iff", "USER1.IFF"},
        {"other", nullptr, nullptr, "user2.iff", "USER2.IFF"},
        {"names", nullptr, nullptr, "user1.iff", "user1.iff"},
        {"names", nullptr, nullptr, "user2.iff", nullptr},
        {"names", "User2.iff", nullptr, "user2.iff", "User2.iff"},
        {"other", nullptr, nullptr, "user2.iff", "USER2.IFF"},
        {"names", nullptr, "USER1.IFF", "uSeR1.iff", "User1.iff"},
    };
    const WindowsPathMapper mapper;
    // Each change gives the folder a time of its own long past, as a change an hour ago would,
    // so that its listing is kept between the changes.
    const auto past = fs::file_time_type::clock::now() - std::chrono::hours(1);
    int changes = 0;
    for (const char* name : {"names", "other"})
        fs::last_write_time(dir.path() / name, past);
    for (const Step& s : steps) {
        SCOPED_TRACE(std::string(s.in) + "/" + s.asked);
        const fs::path folder = dir.path() / s.in;
        if (s.added) test::WriteBytes(folder / s.added, ToBytes("d"));
        if (s.removed) fs::remove(folder / s.removed);
        if (s.added || s.removed)
            fs::last_write_time(folder, past + std::chrono::seconds(++changes));
        const fs::path spelt = s.found ? s.found : s.asked;
        const fs::path native = mapper.ToNative(folder.string() + "\\" + s.asked);
        EXPECT_EQ(native, folder / spelt);
        EXPECT_EQ(fs::exists(native), s.found != nullptr);
        EXPECT_EQ(mapper.ListedSpelling(folder / s.asked).filename(), spelt);
        const auto matched = MatchComponent(folder, s.asked);
        EXPECT_EQ(matched ? matched->filename() : fs::path(), s.found ? spelt : fs::path());
    }
}

} // namespace
} // namespace adultify
