#include "app/startup.h"

#include "app/form1_events.h"
#include "app/found_games.h"
#include "sample/game_folder.h"
#include "tests/support/sample_game.h"

#include <gtest/gtest.h>

namespace adultify {
namespace {

// What the install search gives for a game found through the registry.
GameShelf OneGame(const test::TempDir& dir) {
    GameShelf shelf;
    shelf.games.push_back(FoundGame{
        InstallSource::Registry, dir.str() + "\\", dir.path(), std::nullopt, 1252, {1, 3}});
    return shelf;
}

void Load(test::HeadlessApp& app, GameShelf shelf) {
    app.shelf = std::move(shelf);
    ShowFoundGames(app.m, app.shelf);
    Form1_Load(app.run());
}

class StartUpTest : public ::testing::Test {
  protected:
    StartUpTest() {
        sample::GameSpec game;
        sample::HoodSpec one = test::SmallHood({test::Bob()}, {"Newbie"});
        sample::HoodSpec three = one;
        three.number = 3;
        game.hoods = {one, three};
        sample::WriteGameFolder(dir.path(), game);
    }
    test::TempDir dir;
    test::HeadlessApp app;
};

TEST_F(StartUpTest, TheSequenceReportsItsStepsAndReadsTheFirstNeighbourhood) {
    GameShelf shelf = OneGame(dir);
    const double start = app.clock.TimeOfDay();
    Load(app, shelf);
    EXPECT_EQ(app.ui.CaptionHistory("frmSplash.Label1"),
              (std::vector<std::string>{
                  "Init.", "Init...", "Find Neighbourhoods", "Find Neighbourhoods - 1",
                  "Find Neighbourhoods - 3", "Read Neighborhood.iff", "Find Residents",
                  "Find Residents (Bob Newbie)", "Idle", "Get Residents", "Idle"}));
    EXPECT_GT(app.clock.TimeOfDay() - start, 4.0) << "the splash stays four seconds";
    EXPECT_EQ(app.ui.CaptionHistory("frmSplash.lblVersion").back(), "Version 1.2.8");
    EXPECT_EQ(app.m.editing.VersionText, "Version 1.2.8");
    EXPECT_EQ(app.m.game.SimsPath, dir.str() + "\\");
    EXPECT_EQ(app.ui.ListItems("Combo1"),
              (std::vector<std::string>{"Neighbourhood 1", "Neighbourhood 3"}));
    EXPECT_EQ(app.ui.Caption("Combo1"), "Neighbourhood 1");
    EXPECT_EQ(app.ui.ListItems("List1"), (std::vector<std::string>{"Bob Newbie"}));
    EXPECT_FALSE(app.ui.IsEnabled("Command1"));
    EXPECT_FALSE(app.ui.IsEnabled("menu_fix_thumbnails"));
    EXPECT_EQ(app.ui.Caption("Label7"), "");
    EXPECT_EQ(app.ui.WindowIcon(), 1);
    EXPECT_FALSE(app.ui.IsLoaded("frmSplash"));
    EXPECT_EQ(app.m.game.CareerNames[10], "X-Treme Sports");
    EXPECT_TRUE(app.ui.Messages().empty());
}

TEST_F(StartUpTest, WithoutAGameTheUserIsToldAndTheDialogShown) {
    GameShelf none;
    std::vector<std::string> shown;
    app.ui.onModal = [&](FormId form) { shown.emplace_back(form.Name()); };
    Load(app, none);
    ASSERT_EQ(app.ui.Messages().size(), 1u);
    EXPECT_EQ(app.ui.Messages()[0].title, "No Sims");
    EXPECT_EQ(app.ui.Messages()[0].icon, MsgIcon::Critical);
    EXPECT_EQ(shown, (std::vector<std::string>{"Form2"}));
    EXPECT_EQ(app.m.game.SimsPath, "\\Games\\The Sims\\") << "cancelled: the fallback stays";
    EXPECT_EQ(app.ui.ListCount("Combo1"), 0);
    EXPECT_EQ(app.ui.Caption("Label3"), "Idle");
}

TEST_F(StartUpTest, AGameFolderWithoutNeighbourhoodsSaysSoAndWhereToChooseAnother) {
    test::TempDir bare;
    sample::WriteGameFolder(bare.path(), sample::GameSpec{});
    GameShelf shelf = OneGame(bare);
    Load(app, shelf);
    EXPECT_EQ(app.ui.ListCount("Combo1"), 0);
    ASSERT_EQ(app.ui.Messages().size(), 1u);
    const MessageRecord& said = app.ui.Messages()[0];
    EXPECT_EQ(said.buttons, MsgButtons::Ok);
    EXPECT_NE(said.text.find("No neighbourhood was found"), std::string::npos) << said.text;
    EXPECT_NE(said.text.find("\n" + bare.str() + "\n"), std::string::npos)
        << "the folder, on a line of its own: " << said.text;
    EXPECT_NE(said.text.find("File, Path"), std::string::npos) << "the menu entry as shown";
    EXPECT_EQ(app.ui.Caption("Label3"), "Idle") << "start-up still completes";
}

TEST_F(StartUpTest, WithoutAGameOkOnAGameFolderClosesTheDialogAndStartUpReadsIt) {
    GameShelf none;
    int dialogs = 0;
    app.ui.onModal = [&](FormId) {
        ++dialogs;
        app.ui.SetCaption("Form2.Dir1", (dir.path() / "UserData").string());
        (void)DispatchEvent(app.run(), "Form2.Command1", UiEvent::Click);
        EXPECT_TRUE(app.ui.IsLoaded("Form2")) << "neither Sims.exe nor a neighbourhood: it stays";
        // The folder above highlighted, not opened: "&Ok" takes it.
        app.ui.UserPress("Form2.Dir1", Key::Up);
        (void)DispatchEvent(app.run(), "Form2.Command1", UiEvent::Click);
        EXPECT_FALSE(app.ui.IsLoaded("Form2")) << "a game folder: it closes";
    };
    Load(app, none);
    EXPECT_EQ(dialogs, 1);
    ASSERT_EQ(app.ui.Messages().size(), 2u);
    EXPECT_EQ(app.ui.Messages()[0].title, "No Sims");
    EXPECT_EQ(app.ui.Messages()[1].text,
              "Cannot find SIMS.EXE.\n" + (dir.path() / "UserData").string() +
                  "\nIt holds no Sims.exe and no neighbourhood folder (UserData, UserData2, ... "
                  "with a Neighborhood.iff).");
    EXPECT_EQ(app.ui.Messages()[1].title, "Invalid Directory");
    EXPECT_EQ(app.m.game.SimsPath, dir.str() + "\\");
    EXPECT_EQ(app.ui.ListItems("Combo1"),
              (std::vector<std::string>{"Neighbourhood 1", "Neighbourhood 3"}));
    EXPECT_EQ(app.ui.ListItems("List1"), (std::vector<std::string>{"Bob Newbie"}));
}

TEST_F(StartUpTest, ExitAsksOnlyWithUnsavedDataAndSavesOnYes) {
    GameShelf shelf = OneGame(dir);
    Load(app, shelf);
    EXPECT_THROW((void)DispatchEvent(app.run(), "menu_exit", UiEvent::Click), ProgramEnd);
    EXPECT_TRUE(app.ui.Messages().empty());
    EXPECT_EQ(app.ui.WindowIcon(), 3);

    for (MsgAnswer answer : {MsgAnswer::No, MsgAnswer::Yes}) {
        test::HeadlessApp other;
        GameShelf again = OneGame(dir);
        Load(other, again);
        other.m.editing.UnsavedData = kTrue;
        other.ui.answerMessage = [answer](const MessageRecord&) { return answer; };
        EXPECT_THROW((void)DispatchEvent(other.run(), "Form1", UiEvent::Close), ProgramEnd)
            << "the close box";
        EXPECT_EQ(other.ui.Messages().back().title, "Unsaved Data Warning");
        EXPECT_EQ(other.ui.Messages().back().buttons, MsgButtons::YesNoCancel);
        EXPECT_EQ(std::filesystem::exists(dir.path() / "UserData" / "Neighborhood.000"),
                  answer == MsgAnswer::Yes);
    }
}

TEST_F(StartUpTest, ExitCancelledOrWithAFailedSaveKeepsTheProgramAndItsData) {
    struct Case {
        std::optional<MsgAnswer> answer; // none: the question closed without a button
        bool fileMoved;
        bool gameRunning; // and No answered to its question
        const char* status;
    };
    const char* const kept = "Adultify was not closed; the changes are kept.";
    for (const Case& c :
         {Case{MsgAnswer::Cancel, false, false, kept}, Case{std::nullopt, false, false, kept},
          Case{MsgAnswer::Yes, true, false,
               "Nothing was saved: the neighbourhood's file is no longer there. Adultify was not "
               "closed."},
          Case{MsgAnswer::Yes, false, true,
               "Nothing was saved: the game is running. Adultify was not closed."}}) {
        SCOPED_TRACE(c.status);
        test::HeadlessApp other;
        GameShelf shelf = OneGame(dir);
        Load(other, shelf);
        other.m.editing.UnsavedData = kTrue;
        other.ui.SetEnabled("menu_Save", true);
        const std::filesystem::path hood = dir.path() / "UserData" / "Neighborhood.iff";
        const std::filesystem::path moved = dir.path() / "UserData" / "moved.iff";
        if (c.fileMoved) std::filesystem::rename(hood, moved);
        if (c.gameRunning)
            other.m.findRunningGame = [] { return std::optional<std::string>("Sims.exe"); };
        if (c.answer)
            other.ui.answerMessage = [&c](const MessageRecord& r) {
                if (r.title == "The Sims Is Running") return MsgAnswer::No;
                return r.buttons == MsgButtons::Ok ? MsgAnswer::Ok : *c.answer;
            };
        EXPECT_NO_THROW((void)DispatchEvent(other.run(), "menu_exit", UiEvent::Click));
        EXPECT_NO_THROW((void)DispatchEvent(other.run(), "Form1", UiEvent::Close));
        if (c.fileMoved) std::filesystem::rename(moved, hood);
        EXPECT_FALSE(other.ui.Ended());
        EXPECT_TRUE(other.ui.IsLoaded("Form1"));
        EXPECT_EQ(other.m.editing.UnsavedData, kTrue);
        EXPECT_TRUE(other.ui.IsEnabled("menu_Save"));
        EXPECT_EQ(other.ui.WindowIcon(), 1) << "the frown of the exit goes again";
        EXPECT_EQ(other.ui.Caption("Label3"), c.status);
        EXPECT_FALSE(std::filesystem::exists(dir.path() / "UserData" / "Neighborhood.000"));
    }
}

TEST_F(StartUpTest, SmallWindowBehaviours) {
    GameShelf shelf = OneGame(dir);
    Load(app, shelf);
    (void)DispatchEvent(app.run(), "menu_personality", UiEvent::Click);
    EXPECT_FALSE(app.ui.IsChecked("menu_personality"));
    (void)DispatchEvent(app.run(), "menu_personality", UiEvent::Click);
    EXPECT_TRUE(app.ui.IsChecked("menu_personality"));

    app.ui.SetWindowIcon(2);
    std::vector<int> during;
    app.ui.onModal = [&](FormId form) {
        during.push_back(app.ui.WindowIcon());
        EXPECT_EQ(form.Name(), "frmAbout");
        EXPECT_EQ(app.ui.Caption("frmAbout"), "About Adultify");
        (void)DispatchEvent(app.run(), "frmAbout.Label11", UiEvent::MouseMove);
        EXPECT_EQ(app.ui.Pointer(), MousePointer::UpArrow);
        (void)DispatchEvent(app.run(), "frmAbout.Label11", UiEvent::Click);
        (void)DispatchEvent(app.run(), "frmAbout.Label10", UiEvent::MouseMove);
        EXPECT_EQ(app.ui.Pointer(), MousePointer::Default);
        (void)DispatchEvent(app.run(), "frmAbout.cmdOK", UiEvent::Click);
    };
    (void)DispatchEvent(app.run(), "menu_about", UiEvent::Click);
    EXPECT_EQ(during, (std::vector<int>{4}));
    EXPECT_EQ(app.ui.WindowIcon(), 1);
    // No page yet: no link is shown, and a click on its place opens nothing.
    EXPECT_EQ(app.ui.ShellOpened(), kHomePage.empty()
                                        ? std::vector<std::string>{}
                                        : std::vector<std::string>{std::string(kHomePage)});

    // About one move in a hundred over the two frames changes the icon.
    const std::size_t before = app.ui.IconHistory().size();
    for (int i = 0; i < 5000; ++i)
        (void)DispatchEvent(app.run(), i % 2 ? ControlId("Frame1") : ControlId("Frame3"),
                            UiEvent::MouseMove);
    (void)DispatchEvent(app.run(), "Frame2", UiEvent::MouseMove);
    const auto changes = static_cast<int>(app.ui.IconHistory().size() - before);
    EXPECT_GT(changes, 20);
    EXPECT_LT(changes, 90);
}

} // namespace
} // namespace adultify
