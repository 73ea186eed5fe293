// File, Children on a generated game of two neighbourhoods, driven by mouse and keyboard: the
// children of both listed and sorted, several grown up in one go, each exactly as a single
// Adultify of the same child leaves it, a Cancel, a refusal.
#include "app/children_window.h"

#include "app/grow_up.h"
#include "hood/resident_view.h"
#include "tests/support/sample_game.h"

#include <gtest/gtest.h>

#include <map>

namespace adultify {
namespace {

namespace fs = std::filesystem;
using test::SampleGame;

constexpr std::uint32_t kSeed = 7;
constexpr FormId kWindow = "frmChildren";

using test::Resident;

// Neighbourhood 1: Bob (adult) and Renée Newbie, Tom and Cass Goth; neighbourhood 2: Ann
// (adult), Lily, Max and Zoe Pleasant.
sample::GameSpec Game() {
    const sample::HoodSpec one = test::NewbiesAndGoths();
    sample::HoodSpec two;
    two.number = 2;
    two.sims = {
        Resident("user00001", "Ann", 27, 0x201, 1), Resident("user00002", "Lily", 9, 0x202, 1),
        Resident("user00003", "Max", 9, 0x203, 1), Resident("user00004", "Zoe", 9, 0x204, 1)};
    two.families = {{"Pleasant", 1, {0x201, 0x202, 0x203, 0x204}}};
    sample::GameSpec game;
    game.hoods = {one, two};
    return game;
}

fs::path CharacterFile(const fs::path& game, int hood, int number) {
    return game / (hood == 1 ? "UserData" : "UserData2") / "Characters" /
           ("User0000" + std::to_string(number) + ".iff");
}

// Each child alone, through the main window's button, in a run of its own on another copy.
void SingleAdultifies(const fs::path& game, const std::vector<std::pair<int, int>>& children) {
    test::TempDir snapshots;
    for (const auto& [hood, k] : children) {
        test::HeadlessApp app;
        app.m.game.SimsPath = game.string() + "/";
        app.m.game.snapshotRoot = snapshots.path();
        app.m.random.Force(kSeed);
        FillCareerNames(app.m);
        FillNeighbourhoodList(app.m);
        ASSERT_TRUE(PickHood(app.m, hood));
        app.ui.ListSelect("List1", k);
        (void)DispatchEvent(app.run(), "List1", UiEvent::Click);
        (void)DispatchEvent(app.run(), "Command1", UiEvent::Click);
        ASSERT_EQ(app.ui.Messages().back().title, "Completed") << hood << "/" << k;
    }
}

class ChildrenWindowTest : public ::testing::Test {
  protected:
    ChildrenWindowTest() : g(Game()) {
        test::CopyTreeInto(g.dir.path(), alone.path());
        g.app.m.game.snapshotRoot = snapshots.path();
        g.app.m.random.Force(kSeed);
        g.ChooseHood();
        g.app.ui.eventSink = [this](ControlId c, UiEvent e) {
            return DispatchEvent(g.app.run(), c, e);
        };
    }
    Module1& m() { return g.app.m; }
    HeadlessWindowSystem& ui() { return g.app.ui; }

    // Opens the window from the menu; `inside` acts while it is open.
    void OpenWindow(const std::function<void()>& inside) {
        ui().onModal = [&](FormId form) {
            if (form == kWindow) inside();
        };
        ASSERT_TRUE(DispatchEvent(g.app.run(), "menu_children", UiEvent::Click));
        EXPECT_FALSE(ui().IsLoaded(kWindow));
    }
    // Tab to the button, then Enter.
    void Press(ControlId button) {
        for (int tabs = 0; tabs < 20 && ui().Focused(kWindow) != button; ++tabs)
            ui().PressKey(kWindow, Key::Tab);
        ASSERT_EQ(ui().Focused(kWindow), button);
        ui().PressKey(kWindow, Key::Enter);
    }
    // A click on the line holding `name`, then Mark from the keyboard.
    void Mark(const std::string& name) {
        const std::vector<std::string> lines = ui().ListItems("frmChildren.List1");
        const auto it = std::find_if(lines.begin(), lines.end(), [&](const std::string& l) {
            return l.size() >= name.size() &&
                   l.compare(l.size() - name.size(), name.size(), name) == 0;
        });
        ASSERT_NE(it, lines.end()) << name;
        ui().UserClick("frmChildren.List1", static_cast<int>(it - lines.begin()));
        Press("frmChildren.cmdMark");
    }
    std::string Summary() const {
        for (auto it = g.app.ui.Messages().rbegin(); it != g.app.ui.Messages().rend(); ++it)
            if (it->title == "Children") return it->text;
        return {};
    }

    test::TempDir alone, snapshots;
    SampleGame g;
};

TEST_F(ChildrenWindowTest, EveryChildListedAndSortedByEachColumn) {
    OpenWindow([&] {
        EXPECT_EQ(ui().ListItems("frmChildren.List1"),
                  (std::vector<std::string>{"[  ] Neighbourhood 1  ·  Newbie  ·  Renée Newbie",
                                            "[  ] Neighbourhood 1  ·  Goth  ·  Tom Goth",
                                            "[  ] Neighbourhood 1  ·  Goth  ·  Cass Goth",
                                            "[  ] Neighbourhood 2  ·  Pleasant  ·  Lily Pleasant",
                                            "[  ] Neighbourhood 2  ·  Pleasant  ·  Max Pleasant",
                                            "[  ] Neighbourhood 2  ·  Pleasant  ·  Zoe Pleasant"}));
        struct Sort {
            ControlId caption;
            std::vector<std::string> lastWords; // each line's end, in order
        };
        for (const Sort& s : {Sort{"frmChildren.lblName",
                                   {"Cass Goth", "Lily Pleasant", "Max Pleasant", "Renée Newbie",
                                    "Tom Goth", "Zoe Pleasant"}},
                              Sort{"frmChildren.lblFamily",
                                   {"Tom Goth", "Cass Goth", "Renée Newbie", "Lily Pleasant",
                                    "Max Pleasant", "Zoe Pleasant"}},
                              Sort{"frmChildren.lblHood",
                                   {"Renée Newbie", "Tom Goth", "Cass Goth", "Lily Pleasant",
                                    "Max Pleasant", "Zoe Pleasant"}}}) {
            ASSERT_TRUE(ui().eventSink(s.caption, UiEvent::Click));
            const auto lines = ui().ListItems("frmChildren.List1");
            ASSERT_EQ(lines.size(), s.lastWords.size());
            for (std::size_t i = 0; i < lines.size(); ++i)
                EXPECT_TRUE(lines[i].ends_with(s.lastWords[i])) << s.caption.Name() << " " << i;
        }
        // Open: the main window shows that neighbourhood and child.
        ui().UserClick("frmChildren.List1", 4);
        Press("frmChildren.cmdOpen");
    });
    EXPECT_EQ(ui().Caption("Combo1"), "Neighbourhood 2");
    EXPECT_EQ(SelectedResident(m()), 2);
    EXPECT_EQ(ui().Caption("Frame2"), "Personal Infomation for Max Pleasant");
}

TEST_F(ChildrenWindowTest, ThreeInTwoNeighbourhoodsGrowUpAsEachAloneWould) {
    OpenWindow([&] {
        for (const char* name : {"Renée Newbie", "Cass Goth", "Lily Pleasant"})
            Mark(name);
        Press("frmChildren.cmdGrowUp");
        EXPECT_EQ(ui().ListItems("frmChildren.List1").size(), 3u) << "three children are left";
        ui().PressKey(kWindow, Key::Escape);
    });
    EXPECT_EQ(Summary(), "Grown up: Renée Newbie (Neighbourhood 1), Cass Goth (Neighbourhood 1), "
                         "Lily Pleasant (Neighbourhood 2).");
    SingleAdultifies(alone.path(), {{1, 1}, {1, 3}, {2, 1}});
    // Neighbourhoods, their backups and every character file, byte for byte.
    EXPECT_EQ(test::FilesUnder(g.dir.path()), test::FilesUnder(alone.path()));
}

TEST_F(ChildrenWindowTest, ARefusalIsNamedAndCancelStopsAfterTheChildInHand) {
    const fs::path tom = CharacterFile(g.dir.path(), 1, 3);
    const Bytes tomBefore = test::ReadBytes(tom);
    fs::permissions(tom, fs::perms::owner_write, fs::perm_options::remove);
    OpenWindow([&] {
        for (const char* name : {"Renée Newbie", "Tom Goth", "Max Pleasant"})
            Mark(name);
        Press("frmChildren.cmdGrowUp");
    });
    const std::string summary = Summary();
    EXPECT_EQ(summary.rfind("Grown up: Renée Newbie (Neighbourhood 1), Max Pleasant "
                            "(Neighbourhood 2).\nRefused:\nTom Goth (Neighbourhood 1): ",
                            0),
              0u)
        << summary;
    EXPECT_EQ(test::ReadBytes(tom), tomBefore);
    ASSERT_TRUE(PickHood(m(), 1));
    EXPECT_EQ(AgeText(m().hood.People[2]), "Child") << "Tom's record is a child's still";

    // Another three: Cancel while the first grows up.
    ui().SetDoEventsInterval(std::chrono::milliseconds(0));
    bool cancelled = false;
    ui().onEvents = [&] {
        if (m().editing.growingUp && !cancelled)
            cancelled = ui().eventSink("frmChildren.cmdCancel", UiEvent::Click);
    };
    const Bytes lily = test::ReadBytes(CharacterFile(g.dir.path(), 2, 2));
    const Bytes zoe = test::ReadBytes(CharacterFile(g.dir.path(), 2, 4));
    OpenWindow([&] {
        for (const char* name : {"Cass Goth", "Lily Pleasant", "Zoe Pleasant"})
            Mark(name);
        Press("frmChildren.cmdGrowUp");
    });
    EXPECT_TRUE(cancelled);
    EXPECT_EQ(Summary(), "Grown up: Cass Goth (Neighbourhood 1).\nCancelled before: Lily "
                         "Pleasant (Neighbourhood 2), Zoe Pleasant (Neighbourhood 2).");
    EXPECT_EQ(test::ReadBytes(CharacterFile(g.dir.path(), 2, 2)), lily);
    EXPECT_EQ(test::ReadBytes(CharacterFile(g.dir.path(), 2, 4)), zoe);
    SingleAdultifies(alone.path(), {{1, 3}});
    EXPECT_EQ(test::ReadBytes(CharacterFile(g.dir.path(), 1, 4)),
              test::ReadBytes(CharacterFile(alone.path(), 1, 4)));
}

TEST_F(ChildrenWindowTest, UnsavedEditsAreAskedAboutFirst) {
    m().editing.UnsavedData = kTrue;
    ui().SetEnabled("menu_Save", true);
    bool opened = false;
    ui().answerMessage = [](const MessageRecord& r) {
        return r.buttons == MsgButtons::YesNoCancel ? MsgAnswer::Cancel : MsgAnswer::Ok;
    };
    OpenWindow([&] { opened = true; });
    EXPECT_FALSE(opened) << "Cancel keeps the edits and the window shut";
    EXPECT_EQ(m().editing.UnsavedData, kTrue);
}

} // namespace
} // namespace adultify
