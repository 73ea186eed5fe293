#include "install/game_folder_check.h"

#include "iff/byte_string.h"
#include "tests/support/system_calls.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

namespace adultify {
namespace {

namespace fs = std::filesystem;

void Touch(const fs::path& p) {
    test::WriteBytes(p, ToBytes("x"));
}

TEST(GameFolderCheck, SimsExeOrANeighbourhoodInAnyLetterCase) {
    test::TempDir dir;
    const fs::path exeOnly = dir.path() / "install";
    Touch(exeOnly / "SIMS.EXE");
    const GameFolderContents install = ReadGameFolder(exeOnly);
    EXPECT_TRUE(install.hasSimsExe);
    EXPECT_TRUE(install.hoods.empty());
    EXPECT_TRUE(IsGameFolder(exeOnly));

    const fs::path saves = dir.path() / "The Sims 25";
    Touch(saves / "UserData" / "Neighborhood.iff");
    Touch(saves / "USERDATA2" / "neighborhood.IFF");
    Touch(saves / "userdata99" / "Neighborhood.iff");
    const GameFolderContents hoods = ReadGameFolder(saves);
    EXPECT_FALSE(hoods.hasSimsExe);
    EXPECT_EQ(hoods.hoods, (std::vector<int>{1, 2, 99}));
    EXPECT_TRUE(IsGameFolder(saves));
}

TEST(GameFolderCheck, LookalikesAreNotGamesAndNoNeighbourhoodCountsTwice) {
    test::TempDir dir;
    const fs::path f = dir.path();
    for (const char* name :
         {"UserData1", "UserData02", "UserData100", "UserData0", "TemplateUserData", "UserData-3"})
        Touch(f / name / "Neighborhood.iff");
    fs::create_directories(f / "UserData2" / "Characters"); // no Neighborhood.iff
    fs::create_directories(f / "UserData3" / "Neighborhood.iff");
    Touch(f / "UserData4");
    fs::create_directories(f / "Sims.exe");
    Touch(f / "Sims.exe.bak");
    EXPECT_FALSE(ReadGameFolder(f).hasSimsExe);
    EXPECT_FALSE(IsGameFolder(f));
    EXPECT_FALSE(IsGameFolder(f / "missing"));

    Touch(f / "UserData5" / "Neighborhood.iff");
    Touch(f / "userdata5" / "Neighborhood.iff");
    EXPECT_EQ(ReadGameFolder(f).hoods, std::vector<int>{5});
}

// Each refusal names its cause; the folder itself is named by the message that shows it.
TEST(GameFolderCheck, ARefusalSaysWhy) {
    test::TempDir dir;
    const fs::path f = dir.path();
    Touch(f / "game" / "Sims.exe");
    Touch(f / "plain.txt");
    fs::create_directories(f / "empty");
    fs::create_directories(f / "bare" / "UserData" / "Characters");
    Touch(f / "locked" / "UserData" / "Neighborhood.iff");
    Touch(f / "lockedHood" / "UserData" / "Neighborhood.iff");
    struct Case {
        fs::path folder;
        std::string why;
        bool needsPermissions = false;
    } cases[] = {
        {f / "game", ""},
        {f / "missing", "The folder does not exist."},
        {f / "plain.txt", "This is not a folder."},
        {f / "empty", "It holds no Sims.exe and no neighbourhood folder (UserData, UserData2, ... "
                      "with a Neighborhood.iff)."},
        {f / "bare", "It holds no Sims.exe and no neighbourhood folder (UserData, UserData2, ... "
                     "with a Neighborhood.iff)."},
        {f / "locked", "The folder cannot be read: Permission denied.", true},
        {f / "lockedHood", "Its neighbourhood folder UserData cannot be read: Permission denied.",
         true},
    };
    fs::permissions(f / "locked", fs::perms::owner_write | fs::perms::owner_exec);
    fs::permissions(f / "lockedHood" / "UserData", fs::perms::none);
    for (const Case& c : cases) {
#ifdef _WIN32
        if (c.needsPermissions) continue; // POSIX permissions
#else
        if (c.needsPermissions && ::geteuid() == 0) continue; // an administrator reads any folder
#endif
        EXPECT_EQ(GameFolderRefusal(c.folder), c.why) << c.folder;
    }
    const GameFolderContents lockedHood = ReadGameFolder(f / "lockedHood");
    fs::permissions(f / "locked", fs::perms::owner_all);
    fs::permissions(f / "lockedHood" / "UserData", fs::perms::owner_all);
#ifndef _WIN32
    if (::geteuid() != 0) {
        ASSERT_EQ(lockedHood.unreadableHoods.size(), 1u);
        EXPECT_EQ(lockedHood.unreadableHoods[0].hood, 1);
        EXPECT_EQ(lockedHood.unreadableHoods[0].reason, "Permission denied");
    }
#endif
}

} // namespace
} // namespace adultify
