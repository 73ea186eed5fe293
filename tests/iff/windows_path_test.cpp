#include "iff/windows_path.h"

#include "tests/support/skip_on_windows.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

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

TEST_F(WindowsPathTest, ExactNameWinsElseFirstInSortedOrder) {
    const fs::path folder = dir.path() / "names";
    test::WriteBytes(folder / "User1.iff", ToBytes("a"));
    test::WriteBytes(folder / "USER1.IFF", ToBytes("b"));
    test::WriteBytes(folder / "user1.iff", ToBytes("c"));
    const WindowsPathMapper mapper;
    const std::string base = folder.string() + "\\";
    EXPECT_EQ(mapper.ToNative(base + "user1.iff").filename(), "user1.iff");
    EXPECT_EQ(mapper.ToNative(base + "uSeR1.iff").filename(), "USER1.IFF");
    EXPECT_FALSE(fs::exists(mapper.ToNative(base + "user2.iff")));
    EXPECT_EQ(MatchComponent(folder, "user1.iff")->filename(), "user1.iff");
    EXPECT_EQ(MatchComponent(folder, "uSeR1.iff")->filename(), "USER1.IFF");
    EXPECT_FALSE(MatchComponent(folder, "user2.iff").has_value());
}

} // namespace
} // namespace adultify
