// Switching games in a run: from the games menu and through the path dialog, on the in-memory
// window layer with generated games.
#include "app/form1_events.h"
#include "app/found_games.h"
#include "app/startup.h"
#include "files/record_text.h"
#include "game/path_dialog.h"
#include "game/remembered_folder.h"
#include "sample/game_folder.h"
#include "sample/home_folder.h"
#include "tests/support/headless_app.h"
#include "tests/support/skip_on_windows.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

namespace adultify {
namespace {

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;

FoundGame Found(InstallSource source, const test::TempDir& dir, int codePage = 1252) {
    return {source, dir.str() + "\\", dir.path(), std::nullopt, codePage, {}};
}

class GameSwitch : public ::testing::Test {
  protected:
    GameSwitch() {
        sample::WriteGameFolder(a.path(), sample::OneFamilyHoods({1}, {"Newbie", "Bob", "Daisy"}));
        // The re-release's saves: neighbourhoods without the program.
        sample::WriteNeighbourhoods(b.path(),
                                    sample::OneFamilyHoods({1, 2}, {"Legacy", "Ada", "Max"}).hoods);
        sample::WriteGameFolder(c.path(),
                                sample::OneFamilyHoods({1}, {"Иванов", "Борис", "Маша"}, 1251));
        sample::WriteGameFolder(empty.path(), sample::GameSpec{});
        shelf.games = {Found(InstallSource::Registry, a), Found(InstallSource::ReRelease, b),
                       Found(InstallSource::Steam, c, 1251), Found(InstallSource::Bottles, empty)};
        ShowFoundGames(app.m, shelf);
        Form1_Load(app.run());
    }

    void EditCooking(int value) {
        app.EditCooking(value);
        ASSERT_EQ(app.m.editing.UnsavedData, kTrue);
    }
    void Switch(int entry) { (void)DispatchEvent(app.run(), kGameEntries[entry], UiEvent::Click); }
    static fs::path HoodFile(const test::TempDir& game) {
        return game.path() / "UserData" / "Neighborhood.iff";
    }
    static bool HasBackup(const test::TempDir& game) {
        return fs::exists(game.path() / "UserData" / "Neighborhood.000");
    }
    std::vector<bool> Checks() const {
        std::vector<bool> checks;
        for (ControlId entry : kGameEntries)
            checks.push_back(app.ui.IsChecked(entry));
        return checks;
    }

    test::TempDir a, b, c, empty;
    test::HeadlessApp app;
    GameShelf& shelf = app.shelf;
};

TEST_F(GameSwitch, TheGamesMenuListsEveryGameWithTheOneInUseChecked) {
    EXPECT_EQ(app.ui.Caption("menu_game(1)"), "&1 registry: " + a.str());
    EXPECT_EQ(app.ui.Caption("menu_game(2)"), "&2 re-release: " + b.str());
    EXPECT_EQ(app.ui.Caption("menu_game(4)"), "&4 bottles: " + empty.str());
    EXPECT_EQ(app.ui.Caption("menu_game(5)"), "") << "no fifth game: the entry stays hidden";
    EXPECT_TRUE(app.ui.IsEnabled("menu_games"));
    EXPECT_EQ(Checks(),
              (std::vector<bool>{true, false, false, false, false, false, false, false, false}));
    Switch(1);
    EXPECT_EQ(Checks(),
              (std::vector<bool>{false, true, false, false, false, false, false, false, false}));

    test::HeadlessApp alone;
    GameShelf none;
    ShowFoundGames(alone.m, none);
    EXPECT_FALSE(alone.ui.IsEnabled("menu_games"));
}

// A long path loses its middle in the menu, counted in characters, and stays whole in the tip.
TEST(GamesMenu, ALongPathIsShortenedInItsMiddleAndWholeInTheTip) {
    ADULTIFY_SKIP_ON_WINDOWS("the paths are a Linux home's");
    struct Case {
        std::string path, shown;
    };
    for (const Case& c :
         {Case{"/home/player/Games/The Sims", "/home/player/Games/The Sims"},
          Case{"/home/player/.local/share/Steam/steamapps/common/The Sims Complete "
               "Collection/Maxis/The Sims",
               "/home/player/.local/\u2026Sims Complete Collection/Maxis/The Sims"},
          Case{"/home/j\u00fcrgen/Spiele/Die Sims \u2013 Komplettsammlung/Maxis/Die "
               "Sims/\u00dcnterordner/Noch ein Ordner mit \u00dcmlauten",
               "/home/j\u00fcrgen/Spiele/\u2026nterordner/Noch ein Ordner mit \u00dcmlauten"}}) {
        test::HeadlessApp app;
        GameShelf shelf;
        const fs::path native(std::u8string(c.path.begin(), c.path.end()));
        shelf.games = {{InstallSource::Steam, "C:\\Sims\\", native, std::nullopt, 1252, {}}};
        ShowFoundGames(app.m, shelf);
        EXPECT_EQ(app.ui.Caption("menu_game(1)"), "&1 steam: " + c.shown);
        EXPECT_EQ(app.ui.MenuTip("menu_game(1)"), c.path);
    }
}

TEST_F(GameSwitch, AfterASwitchSaveWritesOnlyIntoTheChosenGame) {
    const Bytes aBefore = test::ReadBytes(HoodFile(a));
    const Bytes bBefore = test::ReadBytes(HoodFile(b));
    EditCooking(900);
    app.ui.answerMessage = [](const MessageRecord&) { return MsgAnswer::No; };
    Switch(1); // the edit is let go
    app.ui.answerMessage = nullptr;
    ASSERT_EQ(app.ui.Messages().size(), 1u);
    EXPECT_EQ(app.ui.Messages()[0].title, "Unsaved Data Warning");
    EXPECT_EQ(app.m.game.SimsPath, b.str() + "\\");
    EXPECT_EQ(app.ui.ListItems("Combo1"), (Lines{"Neighbourhood 1", "Neighbourhood 2"}));
    EXPECT_EQ(app.ui.Caption("Combo1"), "Neighbourhood 1");
    EXPECT_EQ(app.ui.ListItems("List1"), (Lines{"Ada Legacy", "Max Legacy"}));
    EXPECT_FALSE(app.ui.IsEnabled("menu_Save"));

    EditCooking(700);
    (void)DispatchEvent(app.run(), "menu_Save", UiEvent::Click);
    EXPECT_NE(test::ReadBytes(HoodFile(b)), bBefore);
    EXPECT_EQ(test::ReadBytes(b.path() / "UserData" / "Neighborhood.000"), bBefore);
    EXPECT_EQ(test::ReadBytes(HoodFile(a)), aBefore);
    EXPECT_FALSE(HasBackup(a));
    EXPECT_FALSE(fs::exists(b.path() / "UserData2" / "Neighborhood.000"));
}

TEST_F(GameSwitch, YesSavesIntoTheGameLeftBehindFirst) {
    const Bytes aBefore = test::ReadBytes(HoodFile(a));
    EditCooking(900);
    app.ui.answerMessage = [](const MessageRecord&) { return MsgAnswer::Yes; };
    Switch(1);
    EXPECT_NE(test::ReadBytes(HoodFile(a)), aBefore);
    EXPECT_EQ(test::ReadBytes(a.path() / "UserData" / "Neighborhood.000"), aBefore);
    EXPECT_FALSE(HasBackup(b));
    EXPECT_EQ(app.ui.ListItems("List1"), (Lines{"Ada Legacy", "Max Legacy"}));
}

// Everything a switch could change, to compare before and after one that did not happen.
struct Shown {
    std::string simsPath, combo, label18;
    Lines hoods, residents, log;
    bool residentSelected, saveEnabled;
    VbBool unsaved;
    int codePage;
    std::vector<bool> checks;
    friend bool operator==(const Shown&, const Shown&) = default;
};

TEST_F(GameSwitch, CancelOrAFailedSaveStaysWithTheGameAsItWas) {
    const Bytes aBefore = test::ReadBytes(HoodFile(a));
    EditCooking(900);
    auto shown = [this] {
        return Shown{app.m.game.SimsPath,
                     app.ui.Caption("Combo1"),
                     app.ui.Caption("Label18"),
                     app.ui.ListItems("Combo1"),
                     app.ui.ListItems("List1"),
                     app.ui.ListItems("List2"),
                     app.ui.ListSelected("List1", 0),
                     app.ui.IsEnabled("menu_Save"),
                     app.m.editing.UnsavedData,
                     app.m.game.codePage,
                     Checks()};
    };
    const Shown before = shown();
    ASSERT_EQ(before.label18, "900");

    app.ui.answerMessage = [](const MessageRecord&) { return MsgAnswer::Cancel; };
    Switch(2);
    EXPECT_EQ(shown(), before) << "Cancel from the games menu";
    ASSERT_EQ(app.ui.Messages().size(), 1u);
    EXPECT_EQ(app.ui.Messages()[0].buttons, MsgButtons::YesNoCancel);

    bool openAfterOk = false;
    app.ui.onModal = [&](FormId) {
        app.ui.SetCaption("Form2.Dir1", b.str());
        (void)DispatchEvent(app.run(), "Form2.Command1", UiEvent::Click);
        openAfterOk = app.ui.IsLoaded("Form2");
    };
    (void)DispatchEvent(app.run(), "menu_path", UiEvent::Click);
    EXPECT_TRUE(openAfterOk) << "Cancel keeps the path dialog open";
    EXPECT_EQ(shown(), before) << "Cancel in the path dialog";

    // Yes, but the save cannot be made: nothing is left, nothing is switched.
    fs::rename(HoodFile(a), a.path() / "UserData" / "moved.iff");
    app.ui.answerMessage = [](const MessageRecord& r) {
        return r.buttons == MsgButtons::YesNoCancel ? MsgAnswer::Yes : r.answer;
    };
    Switch(1);
    EXPECT_EQ(shown(), before) << "a failed save";
    EXPECT_EQ(app.ui.Messages().back().title, "Nothing Changed");
    fs::rename(a.path() / "UserData" / "moved.iff", HoodFile(a));

    (void)DispatchEvent(app.run(), "menu_Save", UiEvent::Click);
    EXPECT_EQ(test::ReadBytes(a.path() / "UserData" / "Neighborhood.000"), aBefore);
    EXPECT_NE(test::ReadBytes(HoodFile(a)), aBefore);
    EXPECT_FALSE(HasBackup(b));
    EXPECT_FALSE(HasBackup(c));
    EXPECT_FALSE(fs::exists(b.path() / "UserData2" / "Neighborhood.000"));
}

// A found game's names read in its code page: CliGames (--found, through the same UseFoundGame).
TEST_F(GameSwitch, AGameWithoutNeighbourhoodsLeavesNothingOfTheOneBefore) {
    app.ui.ListSelect("List1", 0);
    (void)DispatchEvent(app.run(), "List1", UiEvent::Click);
    Switch(3);
    EXPECT_EQ(app.ui.ListCount("Combo1"), 0);
    EXPECT_EQ(app.ui.ListCount("List1"), 0);
    EXPECT_EQ(app.ui.ListCount("List2"), 0);
    EXPECT_EQ(app.ui.Caption("Frame2"), "Personal Infomation");
    EXPECT_EQ(app.ui.Caption("Label7"), "");
    EXPECT_TRUE(app.m.hood.HoodData.empty());
    EXPECT_FALSE(app.ui.IsEnabled("Command1"));
    ASSERT_EQ(app.ui.Messages().size(), 1u) << "the empty window is explained";
    EXPECT_EQ(app.ui.Messages()[0].text, NoNeighbourhoodText(empty.str()));
}

TEST_F(GameSwitch, ThePathDialogOpensAtTheGameInUseWhoseOkKeepsTheNeighbourhoodChosen) {
    Switch(1);
    app.ui.ListSelect("Combo1", 1);
    (void)DispatchEvent(app.run(), "Combo1", UiEvent::Click);
    EditCooking(900);
    std::string opened;
    app.ui.onModal = [&](FormId) {
        opened = app.ui.Caption("Form2.Dir1");
        (void)DispatchEvent(app.run(), "Form2.Command1", UiEvent::Click);
    };
    (void)DispatchEvent(app.run(), "menu_path", UiEvent::Click);
    EXPECT_EQ(opened, b.str());
    EXPECT_FALSE(app.ui.IsLoaded("Form2"));
    EXPECT_EQ(app.ui.Caption("Combo1"), "Neighbourhood 2");
    EXPECT_EQ(app.ui.Caption("Label18"), "900") << "the edit is neither asked about nor lost";
    EXPECT_EQ(app.m.editing.UnsavedData, kTrue);
    EXPECT_TRUE(app.ui.Messages().empty());
}

TEST_F(GameSwitch, BrowseOpensTheFolderChosenInThePlatformsChooserAndCancelNothing) {
    struct Case {
        std::optional<std::string> chosen;
        std::string opened;
    };
    for (const Case& pick : {Case{b.str(), b.str()}, Case{std::nullopt, a.str()}}) {
        std::string startedAt, opened;
        app.ui.chooseFolder = [&](FormId owner, std::string_view start) {
            EXPECT_EQ(owner, FormId("Form2"));
            startedAt = start;
            return pick.chosen;
        };
        app.ui.onModal = [&](FormId) {
            (void)DispatchEvent(app.run(), "Form2.Command3", UiEvent::Click);
            opened = app.ui.Caption("Form2.Dir1");
        };
        (void)DispatchEvent(app.run(), "menu_path", UiEvent::Click);
        EXPECT_EQ(startedAt, a.str()) << "the chooser starts at the folder open";
        EXPECT_EQ(opened, pick.opened);
    }
    EXPECT_EQ(app.m.game.SimsPath, a.str() + "\\") << "only Ok changes the game";
}

TEST(PathDialogStart, TheGameInUseElseTheHomeFolderElseTheWorkingFolder) {
    const test::TempDir game, home;
    const std::string gone = PathText(home.path() / "gone");
    std::error_code ec;
    const std::string working = PathText(fs::current_path(ec));
    struct Case {
        std::string simsPath;
        std::optional<std::string> home;
        std::string expected;
    };
    for (const Case& c :
         {Case{game.str() + "\\", home.str(), game.str()},
          Case{game.str() + "/", std::nullopt, game.str()},
          Case{gone + "\\", home.str(), home.str()}, Case{"", home.str(), home.str()},
          Case{"", gone, working}, Case{"", std::nullopt, working}}) {
        test::HeadlessApp app;
        app.m.game.SimsPath = c.simsPath;
        const auto env = [&](const char* name) -> const char* {
            return std::string_view(name) == "HOME" && c.home ? c.home->c_str() : nullptr;
        };
        EXPECT_EQ(StartFolder(app.m, env), c.expected) << c.simsPath;
    }
}

TEST_F(GameSwitch, OkInThePathDialogReadsTheChosenFolderAndRemembersIt) {
    ADULTIFY_SKIP_ON_WINDOWS(
        "the names are read in the code page of the Wine prefix around the folder, on Linux");
    test::TempDir config;
    shelf.rememberIn = config.path() / "adultify" / "remembered";
    app.ui.onModal = [this](FormId) {
        app.ui.SetCaption("Form2.Dir1", c.str());
        (void)DispatchEvent(app.run(), "Form2.Command1", UiEvent::Click);
    };
    (void)DispatchEvent(app.run(), "menu_path", UiEvent::Click);
    EXPECT_FALSE(app.ui.IsLoaded("Form2"));
    EXPECT_EQ(app.m.game.SimsPath, c.str() + "\\");
    EXPECT_EQ(app.ui.ListItems("List1"), (Lines{"Борис Иванов", "Маша Иванов"}))
        << "the game found there gives its code page";
    EXPECT_EQ(Checks()[2], true);
    const auto kept = ReadRememberedFolders(*shelf.rememberIn);
    ASSERT_EQ(kept.size(), 1u);
    EXPECT_EQ(kept[0].gameFolder, c.str() + "\\");

    // A folder no search found: neither checked nor read in another code page.
    test::TempDir other;
    sample::WriteNeighbourhoods(other.path(),
                                sample::OneFamilyHoods({5}, {"Pleasant", "Jill", "Jack"}).hoods);
    app.ui.onModal = [&](FormId) {
        app.ui.SetCaption("Form2.Dir1", other.str());
        (void)DispatchEvent(app.run(), "Form2.Command1", UiEvent::Click);
    };
    (void)DispatchEvent(app.run(), "menu_path", UiEvent::Click);
    EXPECT_EQ(app.ui.ListItems("Combo1"), Lines{"Neighbourhood 5"});
    EXPECT_EQ(app.ui.ListItems("List1"), (Lines{"Jill Pleasant", "Jack Pleasant"}));
    EXPECT_EQ(app.m.game.codePage, 1252);
    EXPECT_EQ(Checks(), std::vector<bool>(9, false));
    EXPECT_EQ(ReadRememberedFolders(*shelf.rememberIn)[0].gameFolder, other.str() + "\\");
}

} // namespace
} // namespace adultify
