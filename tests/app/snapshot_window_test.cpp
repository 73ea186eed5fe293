// File, Snapshots: the list of the chosen neighbourhood's snapshots and a restore in two clicks,
// on a generated game after Adultify grew its child up.
#include "app/snapshot_window.h"

#include "game/snapshots.h"
#include "hood/resident_view.h"
#include "tests/support/sample_game.h"

#include <gtest/gtest.h>

#include <regex>

namespace adultify {
namespace {

namespace fs = std::filesystem;
using test::SampleGame;
using test::SmallHood;

const auto Child = test::Jo;

bool IsRestoreQuestion(const MessageRecord& r) {
    return r.title == "Restore Snapshot" && r.buttons == MsgButtons::YesNoDefaultNo;
}

class SnapshotWindowTest : public ::testing::Test {
  protected:
    SnapshotWindowTest()
        : g(SampleGame::OneHood(SmallHood({test::Bob(), Child()}, {"Newbie", "Newbie"}))) {
        g.app.m.game.snapshotRoot = snapshots.path();
        hoodBefore = HoodNow();
        characterBefore = CharacterNow();
        g.ChooseHood();
    }
    void GrowUpJo() {
        g.ClickResident(1);
        (void)DispatchEvent(g.app.run(), "Command1", UiEvent::Click);
        ASSERT_EQ(g.app.ui.Messages().back().title, "Completed");
        ASSERT_NE(HoodNow(), hoodBefore);
        ASSERT_NE(CharacterNow(), characterBefore);
    }
    // Opens the window through the menu; `inside` acts while it is open.
    bool OpenWindow(const std::function<void()>& inside) {
        g.app.ui.onModal = [&](FormId form) {
            if (form == FormId("frmSnapshots")) inside();
        };
        return DispatchEvent(g.app.run(), "menu_snapshots", UiEvent::Click);
    }
    void Select(int line) {
        g.app.ui.ListSelect("frmSnapshots.List1", line);
        (void)DispatchEvent(g.app.run(), "frmSnapshots.List1", UiEvent::Click);
    }
    void ClickRestore() {
        (void)DispatchEvent(g.app.run(), "frmSnapshots.cmdRestore", UiEvent::Click);
    }
    void AnswerRestoreWith(MsgAnswer answer) {
        g.app.ui.answerMessage = [answer](const MessageRecord& r) {
            return IsRestoreQuestion(r) ? answer : MsgAnswer::Ok;
        };
    }
    std::vector<std::string> Lines() { return g.app.ui.ListItems("frmSnapshots.List1"); }
    std::size_t SnapshotCount() { return ListSnapshots(snapshots.path(), g.dir.path(), 1).size(); }
    Bytes HoodNow() { return test::ReadBytes(g.HoodFolder() / "Neighborhood.iff"); }
    Bytes CharacterNow() { return test::ReadBytes(g.CharacterPath(Child())); }

    test::TempDir snapshots;
    SampleGame g;
    Bytes hoodBefore, characterBefore;
};

TEST_F(SnapshotWindowTest, SelectingTheLineAndClickingRestoreOnYesPutsBothFilesBack) {
    GrowUpJo();
    g.ClickResident(1);
    ASSERT_FALSE(g.app.ui.IsEnabled("Command1")) << "Jo is an adult now";
    AnswerRestoreWith(MsgAnswer::Yes);
    std::vector<std::string> lines;
    bool restoreAtFirst = true, restoreOnSelection = false, nestedCommand = true;
    std::string title;
    ASSERT_TRUE(OpenWindow([&] {
        lines = Lines();
        title = g.app.ui.Caption("frmSnapshots");
        restoreAtFirst = g.app.ui.IsEnabled("frmSnapshots.cmdRestore");
        nestedCommand = DispatchEvent(g.app.run(), "menu_snapshots", UiEvent::Click);
        Select(0);
        restoreOnSelection = g.app.ui.IsEnabled("frmSnapshots.cmdRestore");
        ClickRestore();
    }));

    ASSERT_EQ(lines.size(), 1u);
    EXPECT_TRUE(
        std::regex_match(lines[0], std::regex(R"(\d{4}-\d\d-\d\d \d\d:\d\d  Adultify  Jo Newbie)")))
        << lines[0];
    EXPECT_EQ(title, "Snapshots of Neighbourhood 1");
    EXPECT_FALSE(restoreAtFirst) << "nothing is selected yet";
    EXPECT_TRUE(restoreOnSelection);
    EXPECT_FALSE(nestedCommand) << "the main window's commands wait while the window is open";

    EXPECT_EQ(HoodNow(), hoodBefore);
    EXPECT_EQ(CharacterNow(), characterBefore);
    EXPECT_FALSE(g.app.ui.IsLoaded("frmSnapshots")) << "closed after the restore";
    const auto& messages = g.app.ui.Messages();
    ASSERT_GE(messages.size(), 2u);
    const MessageRecord& question = messages[messages.size() - 2];
    EXPECT_TRUE(IsRestoreQuestion(question));
    EXPECT_EQ(question.text, "Put back the files as they were at " + lines[0].substr(0, 16) +
                                 ", before Adultify of Jo Newbie? The current files are kept as "
                                 "a snapshot first.");
    EXPECT_EQ(messages.back().title, "Restore Snapshot");
    EXPECT_EQ(messages.back().text.rfind("Restored.", 0), 0u) << messages.back().text;

    // The neighbourhood was read again: Jo, still selected, is a child once more.
    EXPECT_EQ(g.app.ui.ListCount("List1"), 2);
    EXPECT_EQ(SelectedResident(g.app.m), 1);
    EXPECT_TRUE(g.app.ui.IsEnabled("Command1"));
    EXPECT_EQ(g.app.m.hood.HoodData, hoodBefore);
    EXPECT_EQ(SnapshotCount(), 2u) << "the files the restore replaced were kept first";
}

TEST_F(SnapshotWindowTest, AnsweringNoOrClosingChangesNothing) {
    GrowUpJo();
    const Bytes hoodGrown = HoodNow(), characterGrown = CharacterNow();
    bool openAfterNo = false;
    ASSERT_TRUE(OpenWindow([&] {
        Select(0);
        ClickRestore(); // the headless layer answers No unless told otherwise
        openAfterNo = g.app.ui.IsLoaded("frmSnapshots");
        (void)DispatchEvent(g.app.run(), "frmSnapshots.cmdClose", UiEvent::Click);
        EXPECT_FALSE(g.app.ui.IsLoaded("frmSnapshots"));
    }));
    EXPECT_TRUE(openAfterNo) << "the window stays for another choice";
    EXPECT_TRUE(IsRestoreQuestion(g.app.ui.Messages().back()));
    EXPECT_EQ(g.app.ui.Messages().back().answer, MsgAnswer::No);
    EXPECT_EQ(HoodNow(), hoodGrown);
    EXPECT_EQ(CharacterNow(), characterGrown);
    EXPECT_EQ(SnapshotCount(), 1u);
}

TEST_F(SnapshotWindowTest, EachLineSaysWhatWasDoneInWordsAndToWhom) {
    struct Case {
        const char* command;
        const char* name;
        const char* lineEnd;
    };
    const Case cases[] = {{"fix-thumbnails", "Jo Newbie", "  Fix thumbnails  Jo Newbie"},
                          {"save", "", "  Save"},
                          {"grow-up-all", "Jo Newbie", "  grow-up-all  Jo Newbie"},
                          {"restore", "Jo Newbie", "  Restore  Jo Newbie"}};
    for (const Case& c : cases)
        ASSERT_TRUE(TakeSnapshot(snapshots.path(), g.dir.path(), 1, {c.command, "", c.name}, {}));
    std::vector<std::string> lines;
    ASSERT_TRUE(OpenWindow([&] { lines = Lines(); }));
    ASSERT_EQ(lines.size(), std::size(cases));
    for (std::size_t i = 0; i < lines.size(); ++i) // newest first
        EXPECT_TRUE(lines[i].ends_with(cases[std::size(cases) - 1 - i].lineEnd)) << lines[i];
}

TEST_F(SnapshotWindowTest, WithNoSnapshotsOrNoFolderForThemOneLineSaysSoAndNothingRestores) {
    struct Case {
        bool root;
        std::string line;
    };
    for (const Case& c :
         {Case{true, "No snapshots yet."},
          Case{false, "No snapshots are kept: no folder for them could be named."}}) {
        if (!c.root) g.app.m.game.snapshotRoot.reset();
        AnswerRestoreWith(MsgAnswer::Yes);
        const std::size_t messagesBefore = g.app.ui.Messages().size();
        std::vector<std::string> lines;
        bool listEnabled = true, restoreEnabled = true;
        ASSERT_TRUE(OpenWindow([&] {
            lines = Lines();
            listEnabled = g.app.ui.IsEnabled("frmSnapshots.List1");
            Select(0);
            restoreEnabled = g.app.ui.IsEnabled("frmSnapshots.cmdRestore");
            ClickRestore();
        }));
        EXPECT_EQ(lines, std::vector<std::string>{c.line});
        EXPECT_FALSE(listEnabled) << c.line;
        EXPECT_FALSE(restoreEnabled) << c.line;
        EXPECT_EQ(g.app.ui.Messages().size(), messagesBefore) << "nothing was asked: " << c.line;
        EXPECT_EQ(HoodNow(), hoodBefore);
    }
}

} // namespace
} // namespace adultify
