#include "game/save_hood.h"

#include "iff/native_file_system.h"
#include "tests/support/faulty_file_system.h"
#include "tests/support/headless_app.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

namespace adultify {
namespace {

namespace fs = std::filesystem;

class SaveHoodTest : public ::testing::Test {
  protected:
    void Prepare(test::HeadlessApp& app, const std::string& entry = "Neighbourhood 1") {
        app.m.SimsPath = dir.asSimsPath();
        app.ui.ListAdd("Combo1", entry);
        app.ui.ListSelect("Combo1", 0);
        app.m.HoodData = ToBytes("new neighbourhood");
        app.m.UnsavedData = kTrue;
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
    EXPECT_EQ(app.m.UnsavedData, kFalse);
    EXPECT_FALSE(app.ui.IsEnabled("menu_Save"));
    EXPECT_TRUE(app.ui.Messages().empty());

    EXPECT_TRUE(SaveHood(app.m)) << "an unchanged image still makes a backup";
    EXPECT_EQ(test::ReadBytes(Folder() / "Neighborhood.001"), ToBytes("new neighbourhood"));
    EXPECT_EQ(std::distance(fs::directory_iterator(Folder()), fs::directory_iterator{}), 3);
}

TEST_F(SaveHoodTest, TakesTheFirstFreeNumberInTheChosenNeighbourhood) {
    test::WriteBytes(Folder("UserData3") / "Neighborhood.iff", ToBytes("old"));
    test::WriteBytes(Folder("UserData3") / "Neighborhood.001", ToBytes("one"));
    test::HeadlessApp app;
    Prepare(app, "Neighbourhood 3");
    EXPECT_TRUE(SaveHood(app.m));
    EXPECT_EQ(test::ReadBytes(Folder("UserData3") / "Neighborhood.000"), ToBytes("old"));
    EXPECT_EQ(test::ReadBytes(Folder("UserData3") / "Neighborhood.001"), ToBytes("one"));
    EXPECT_EQ(BackupName("x\\Neighborhood", 7), "x\\Neighborhood.007");
    EXPECT_EQ(BackupName("x\\Neighborhood", 123), "x\\Neighborhood.123");
}

TEST_F(SaveHoodTest, WithAllThousandBackupNamesTakenNothingChanges) {
    test::WriteBytes(Folder() / "Neighborhood.iff", ToBytes("old"));
    for (int k = 0; k <= 999; ++k) // Neighborhood.000 to .999
        test::WriteBytes(Folder() / ("Neighborhood." + std::to_string(1000 + k).substr(1)), {});
    test::HeadlessApp app;
    Prepare(app);
    EXPECT_FALSE(SaveHood(app.m));
    EXPECT_EQ(test::ReadBytes(Folder() / "Neighborhood.iff"), ToBytes("old"));
    ASSERT_EQ(app.ui.Messages().size(), 1u);
    EXPECT_EQ(app.ui.Messages()[0].icon, MsgIcon::Critical);
    EXPECT_NE(app.ui.Messages()[0].text.find("Neighborhood.999"), std::string::npos);
    EXPECT_EQ(app.m.UnsavedData, kTrue);
    EXPECT_TRUE(app.ui.IsEnabled("menu_Save"));
}

// Whatever single operation fails, a whole neighbourhood file stays in place: the old one
// untouched, or the new one with the old one as its backup.
TEST_F(SaveHoodTest, EveryFailurePointLeavesAWholeNeighbourhood) {
    for (int failAt = 0; failAt < 8; ++failAt) {
        SCOPED_TRACE("failing operation " + std::to_string(failAt));
        fs::remove_all(Folder());
        test::WriteBytes(Folder() / "Neighborhood.iff", ToBytes("old"));
        NativeFileSystem native;
        test::FaultyFileSystem faulty(native);
        faulty.failAt = failAt;
        test::HeadlessApp app(&faulty);
        Prepare(app);
        const bool saved = SaveHood(app.m);

        const Bytes now = test::ReadBytes(Folder() / "Neighborhood.iff");
        if (saved) {
            EXPECT_EQ(now, ToBytes("new neighbourhood"));
            EXPECT_EQ(test::ReadBytes(Folder() / "Neighborhood.000"), ToBytes("old"));
            EXPECT_EQ(app.m.UnsavedData, kFalse);
        } else {
            EXPECT_EQ(now, ToBytes("old"));
            EXPECT_FALSE(fs::exists(Folder() / "Neighborhood.000"));
            EXPECT_EQ(app.m.UnsavedData, kTrue);
            EXPECT_TRUE(app.ui.IsEnabled("menu_Save"));
            ASSERT_EQ(app.ui.Messages().size(), 1u);
            EXPECT_EQ(app.ui.Messages()[0].icon, MsgIcon::Critical);
            EXPECT_NE(app.ui.Messages()[0].text.find("Neighborhood.iff"), std::string::npos);
            EXPECT_EQ(app.m.failedWrites, 1);
        }
        EXPECT_FALSE(fs::exists(Folder() / "Neighborhood.iff.adultify-new"));
        if (failAt >= faulty.operations) {
            EXPECT_TRUE(saved) << "no operation failed";
            break;
        }
    }
}

TEST_F(SaveHoodTest, AMissingNeighbourhoodFileIsReportedAndNothingIsWritten) {
    fs::create_directories(Folder());
    test::HeadlessApp app;
    Prepare(app);
    EXPECT_FALSE(SaveHood(app.m));
    EXPECT_FALSE(fs::exists(Folder() / "Neighborhood.iff"));
    EXPECT_FALSE(fs::exists(Folder() / "Neighborhood.000"));
    EXPECT_EQ(app.ui.Messages().size(), 1u);
}

} // namespace
} // namespace adultify
