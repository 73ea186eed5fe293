#include "game/neighbourhood_list.h"
#include "game/neighbourhood_name.h"
#include "tests/support/headless_app.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

namespace adultify {
namespace {

TEST(NeighbourhoodList, ListsEveryFolderWithANeighbourhoodFileAndNoOthers) {
    test::TempDir dir;
    for (const char* folder :
         {"UserData", "UserData2", "UserData5", "UserData1", "UserData100", "userdata7"})
        test::WriteBytes(dir.path() / folder / "Neighborhood.iff", ToBytes("IFF"));
    std::filesystem::create_directories(dir.path() / "UserData3");
    test::HeadlessApp app;
    app.m.game.SimsPath = dir.asSimsPath();
    app.ui.LoadForm("frmSplash"); // as during start-up
    FillNeighbourhoodList(app.m);
    EXPECT_EQ(app.ui.ListItems("Combo1"),
              (std::vector<std::string>{"Neighbourhood 1", "Neighbourhood 2", "Neighbourhood 5",
                                        "Neighbourhood 7"}));
    EXPECT_EQ(app.ui.CaptionHistory("frmSplash.Label1"),
              (std::vector<std::string>{"Find Neighbourhoods - 1", "Find Neighbourhoods - 2",
                                        "Find Neighbourhoods - 5", "Find Neighbourhoods - 7"}));
    EXPECT_TRUE(app.ui.CaptionHistory("Label3").empty()) << "the main status line is not written";
    EXPECT_TRUE(app.ui.Messages().empty());
}

TEST(NeighbourhoodName, DerivesFolderAndFileFromTheEntryText) {
    EXPECT_EQ(HoodEntryText(12), "Neighbourhood 12");
    EXPECT_EQ(HoodNumber("Neighbourhood 12"), 12);
    EXPECT_EQ(HoodNumber("Neighbourhood   3"), 3);
    EXPECT_EQ(HoodFolder(1), "UserData");
    EXPECT_EQ(HoodFolder(10), "UserData10");
    EXPECT_EQ(HoodFile("C:\\Sims\\", 10), "C:\\Sims\\UserData10\\Neighborhood.iff");
    EXPECT_EQ(HoodFile("C:\\Sims\\", 1), "C:\\Sims\\UserData\\Neighborhood.iff");
    EXPECT_EQ(CharactersFolder("C:\\Sims\\", 3), "C:\\Sims\\UserData3\\Characters\\");
}

TEST(UserFilePath, FollowsTheChosenNeighbourhood) {
    test::HeadlessApp app;
    app.m.game.SimsPath = "C:\\Sims\\";
    app.ui.ListAdd("Combo1", "Neighbourhood 1");
    app.ui.ListAdd("Combo1", "Neighbourhood 3");
    app.ui.ListSelect("Combo1", 0);
    EXPECT_EQ(ChosenUserFilePath(app.m, ToBytes("user00001")),
              "C:\\Sims\\UserData\\Characters\\user00001.iff");
    app.ui.ListSelect("Combo1", 1);
    EXPECT_EQ(ChosenUserFilePath(app.m, ToBytes("user00001")),
              "C:\\Sims\\UserData3\\Characters\\user00001.iff");
    EXPECT_FALSE(ChosenUserFilePath(app.m, ToBytes("USER/../x")).has_value());
}

} // namespace
} // namespace adultify
