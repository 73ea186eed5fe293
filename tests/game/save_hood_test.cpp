#include "game/save_hood.h"

#include "game/game_writes.h"
#include "tests/support/headless_app.h"
#include "tests/support/system_calls.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

namespace adultify {
namespace {

namespace fs = std::filesystem;

class SaveHoodTest : public ::testing::Test {
  protected:
    void Prepare(test::HeadlessApp& app, const std::string& entry = "Neighbourhood 1") {
        app.m.game.SimsPath = dir.asSimsPath();
        app.ui.ListAdd("Combo1", entry);
        app.ui.ListSelect("Combo1", 0);
        app.m.hood.HoodData = ToBytes("new neighbourhood");
        app.m.editing.UnsavedData = kTrue;
        app.ui.SetEnabled("menu_Save", true);
    }
    fs::path Folder(const char* name = "UserData") { return dir.path() / name; }
    test::TempDir dir;
};

TEST_F(SaveHoodTest, FirstSaveKeepsTheOldFileAsBackup000) {
    test::WriteBytes(Folder() / "Neighborhood.iff", ToBytes("old"));
    test::HeadlessApp app;
    Prepare(app);
    EXPECT_TRUE(SaveHood(app.m));
    EXPECT_EQ(test::ReadBytes(Folder() / "Neighborhood.iff"), ToBytes("new neighbourhood"));
    EXPECT_EQ(test::ReadBytes(Folder() / "Neighborhood.000"), ToBytes("old"));
    EXPECT_EQ(app.m.editing.UnsavedData, kFalse);
    EXPECT_FALSE(app.ui.IsEnabled("menu_Save"));
    EXPECT_TRUE(app.ui.Messages().empty());
    EXPECT_EQ(app.ui.Caption("Label3"), "Saved Neighborhood.iff; the old one is Neighborhood.000");

    EXPECT_TRUE(SaveHood(app.m)) << "an unchanged image still makes a backup";
    EXPECT_EQ(test::ReadBytes(Folder() / "Neighborhood.001"), ToBytes("new neighbourhood"));
    EXPECT_EQ(app.ui.Caption("Label3"), "Saved Neighborhood.iff; the old one is Neighborhood.001");
    EXPECT_EQ(std::distance(fs::directory_iterator(Folder()), fs::directory_iterator{}), 3);
}

TEST_F(SaveHoodTest, TakesTheFirstFreeNumberInTheChosenNeighbourhood) {
    // In the letter case a copy from a Windows disk may have.
    test::WriteBytes(Folder("userdata3") / "neighborhood.iff", ToBytes("old"));
    test::WriteBytes(Folder("userdata3") / "neighborhood.001", ToBytes("one"));
    test::HeadlessApp app;
    Prepare(app, "Neighbourhood 3");
    EXPECT_TRUE(SaveHood(app.m));
    EXPECT_EQ(test::ReadBytes(Folder("userdata3") / "neighborhood.iff"),
              ToBytes("new neighbourhood"));
    EXPECT_EQ(test::ReadBytes(Folder("userdata3") / "Neighborhood.000"), ToBytes("old"));
    EXPECT_EQ(test::ReadBytes(Folder("userdata3") / "neighborhood.001"), ToBytes("one"));
}

// .999 is the last backup name; with it taken too nothing is saved.
TEST_F(SaveHoodTest, WithAllThousandBackupNamesTakenNothingChanges) {
    test::WriteBytes(Folder() / "Neighborhood.iff", ToBytes("old"));
    for (int k = 0; k <= 998; ++k) // Neighborhood.000 to .998
        test::WriteBytes(Folder() / ("Neighborhood." + std::to_string(1000 + k).substr(1)), {});
    test::HeadlessApp last;
    Prepare(last);
    EXPECT_TRUE(SaveHood(last.m));
    EXPECT_EQ(test::ReadBytes(Folder() / "Neighborhood.999"), ToBytes("old"));
    test::WriteBytes(Folder() / "Neighborhood.iff", ToBytes("old"));
    test::HeadlessApp app;
    Prepare(app);
    EXPECT_FALSE(SaveHood(app.m));
    EXPECT_EQ(test::ReadBytes(Folder() / "Neighborhood.iff"), ToBytes("old"));
    ASSERT_EQ(app.ui.Messages().size(), 1u);
    EXPECT_EQ(app.ui.Messages()[0].icon, MsgIcon::Critical);
    EXPECT_NE(app.ui.Messages()[0].text.find("Neighborhood.999"), std::string::npos);
    EXPECT_EQ(app.m.editing.UnsavedData, kTrue);
    EXPECT_TRUE(app.ui.IsEnabled("menu_Save"));
}

// A failed save and a neighbourhood file gone: NeighbourhoodPick.AFailedSaveKeepsTheEdited-
// Neighbourhood, StartUpTest.ExitCancelledOrWithAFailedSaveKeepsTheProgramAndItsData.
TEST_F(SaveHoodTest, ANameAnyEntryHasIsNeverUsedForTheBackup) {
#ifdef _WIN32
    GTEST_SKIP() << "the names are taken by a dangling symbolic link and a FIFO, POSIX's";
#else
    test::WriteBytes(Folder() / "Neighborhood.iff", ToBytes("old"));
    fs::create_symlink(dir.path() / "nowhere", Folder() / "Neighborhood.000"); // dangling
    fs::create_directories(Folder() / "Neighborhood.001");
    ASSERT_EQ(::mkfifo((Folder() / "Neighborhood.002").c_str(), 0600), 0);
    test::WriteBytes(Folder() / "Neighborhood.003", ToBytes("x"));
    fs::permissions(Folder() / "Neighborhood.003", fs::perms::none); // nobody may read it
    test::HeadlessApp app;
    Prepare(app);
    EXPECT_TRUE(SaveHood(app.m));
    EXPECT_EQ(test::ReadBytes(Folder() / "Neighborhood.004"), ToBytes("old"));
    EXPECT_TRUE(fs::is_symlink(Folder() / "Neighborhood.000"));
    EXPECT_FALSE(fs::exists(dir.path() / "nowhere")) << "nothing written through the link";
#endif
}

// The other refusals of the write door (the game running, another run holding the game):
// AdultifyRefusals.
TEST_F(SaveHoodTest, AFileChangedSinceItWasReadIsAskedAboutFirst) {
    test::WriteBytes(Folder() / "Neighborhood.iff", ToBytes("old"));
    test::HeadlessApp app;
    Prepare(app);
    RememberRead(app.m, dir.asSimsPath() + "UserData\\Neighborhood.iff", ToBytes("old"));
    test::WriteBytes(Folder() / "Neighborhood.iff", ToBytes("saved by the game"));
    EXPECT_FALSE(SaveHood(app.m)) << "No is the answer unless the user says Yes";
    EXPECT_EQ(app.ui.Messages().back().title, "File Changed");
    EXPECT_EQ(app.m.outcomes.refusals, 1);
    EXPECT_EQ(app.ui.Caption("Label3"),
              "Nothing was saved: a file changed on disk since it was read.");
    EXPECT_EQ(test::ReadBytes(Folder() / "Neighborhood.iff"), ToBytes("saved by the game"));
    app.ui.answerMessage = [](const MessageRecord&) { return MsgAnswer::Yes; };
    EXPECT_TRUE(SaveHood(app.m));
    EXPECT_EQ(test::ReadBytes(Folder() / "Neighborhood.iff"), ToBytes("new neighbourhood"));
}

} // namespace
} // namespace adultify
