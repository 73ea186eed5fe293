#include "game/game_folder_check.h"

#include "iff/byte_string.h"
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

} // namespace
} // namespace adultify
