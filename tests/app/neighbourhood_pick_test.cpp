// Picking a neighbourhood in Combo1 while the one shown has unsaved edits.
#include "app/form1_events.h"

#include "tests/support/faulty_file_system.h"
#include "tests/support/sample_game.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace adultify {
namespace {

namespace fs = std::filesystem;
using test::SampleGame;

using test::TwoHoods;

// Reads neighbourhood 1 and sets Bob's cooking to 329 through the skill dialog.
void EditBobsCooking(SampleGame& g) {
    g.ChooseHood(0);
    g.app.EditCooking(329);
    ASSERT_EQ(g.app.ui.Caption("Label18"), "329");
    ASSERT_EQ(g.app.m.editing.UnsavedData, kTrue);
}

int Reads(const SampleGame& g) {
    const auto& history = g.app.ui.CaptionHistory("Label3");
    return static_cast<int>(std::count(history.begin(), history.end(), "Read Neighborhood.iff"));
}

void ExpectNeighbourhood1WithItsEdit(const SampleGame& g) {
    EXPECT_EQ(g.app.ui.Caption("Combo1"), "Neighbourhood 1");
    EXPECT_EQ(g.app.ui.ListItems("List1"), (std::vector<std::string>{"Bob Newbie", "Jo Newbie"}));
    EXPECT_TRUE(g.app.ui.ListSelected("List1", 0));
    EXPECT_EQ(g.app.ui.Caption("Label18"), "329");
    EXPECT_EQ(g.app.m.editing.UnsavedData, kTrue);
    EXPECT_TRUE(g.app.ui.IsEnabled("menu_Save"));
}

void ExpectNeighbourhood3Clean(const SampleGame& g) {
    EXPECT_EQ(g.app.ui.Caption("Combo1"), "Neighbourhood 3");
    EXPECT_EQ(g.app.ui.ListItems("List1"), (std::vector<std::string>{"Ann Other"}));
    EXPECT_EQ(g.app.m.editing.UnsavedData, kFalse);
    EXPECT_FALSE(g.app.ui.IsEnabled("menu_Save")) << "nothing of neighbourhood 3 is unsaved";
}

TEST(NeighbourhoodPick, WithUnsavedEditsAsksYesSavesNoDropsCancelStays) {
    struct Case {
        std::optional<MsgAnswer> answer; // none: the box closed without a button
        bool saved, switched;
    };
    for (const Case& c :
         {Case{MsgAnswer::Yes, true, true}, Case{MsgAnswer::No, false, true},
          Case{MsgAnswer::Cancel, false, false}, Case{std::nullopt, false, false}}) {
        SCOPED_TRACE(c.answer ? static_cast<int>(*c.answer) : -1);
        SampleGame g(TwoHoods());
        EditBobsCooking(g);
        if (c.answer) g.app.ui.answerMessage = [&c](const MessageRecord&) { return *c.answer; };
        g.ChooseHood(1);
        ASSERT_EQ(g.app.ui.Messages().size(), 1u);
        EXPECT_EQ(g.app.ui.Messages()[0].title, "Unsaved Data Warning");
        EXPECT_EQ(g.app.ui.Messages()[0].text,
                  "You have unsaved Data. Would you like to save it now?");
        EXPECT_EQ(g.app.ui.Messages()[0].buttons, MsgButtons::YesNoCancel);
        EXPECT_EQ(fs::exists(g.HoodFolder(1) / "Neighborhood.000"), c.saved)
            << "the edited neighbourhood is the one saved";
        EXPECT_FALSE(fs::exists(g.HoodFolder(3) / "Neighborhood.000"));
        if (c.switched)
            ExpectNeighbourhood3Clean(g);
        else
            ExpectNeighbourhood1WithItsEdit(g);
    }
}

TEST(NeighbourhoodPick, AFailedSaveKeepsTheEditedNeighbourhood) {
    NativeFileSystem native;
    test::FaultyFileSystem faulty(native);
    SampleGame g(TwoHoods(), &faulty);
    EditBobsCooking(g);
    faulty.failAt = faulty.operations;
    g.app.ui.answerMessage = [](const MessageRecord& r) {
        return r.buttons == MsgButtons::Ok ? MsgAnswer::Ok : MsgAnswer::Yes;
    };
    g.ChooseHood(1);
    ASSERT_EQ(g.app.ui.Messages().size(), 2u) << "the question, then the failure";
    ExpectNeighbourhood1WithItsEdit(g);
}

TEST(NeighbourhoodPick, TheEntryAlreadyShownIsNotReadAgain) {
    SampleGame g(TwoHoods());
    EditBobsCooking(g);
    const int reads = Reads(g);
    g.ChooseHood(0);
    EXPECT_EQ(Reads(g), reads);
    EXPECT_TRUE(g.app.ui.Messages().empty());
    ExpectNeighbourhood1WithItsEdit(g);

    // With nothing unsaved another pick is read at once, and the first one again after it.
    SampleGame clean(TwoHoods());
    clean.ChooseHood(0);
    clean.ChooseHood(1);
    clean.ChooseHood(0);
    EXPECT_EQ(Reads(clean), 3);
    EXPECT_TRUE(clean.app.ui.Messages().empty());
}

} // namespace
} // namespace adultify
