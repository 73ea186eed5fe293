#include "hood/resident_view.h"

#include "app/game_switch.h"
#include "hood/resident_layout.h"
#include "tests/support/sample_game.h"

#include <gtest/gtest.h>

#include <functional>
#include <regex>

namespace adultify {
namespace {

using test::SampleGame;
using test::Sim;
using test::SmallHood;

sample::SimSpec Adult() {
    sample::SimSpec s = test::Bob();
    s.gender = 0;
    s.career = 3;
    s.careerLevel = 5;
    s.personality = {100, 200, 300, 400, 1000};
    s.skills = {537, 1, 2, 3, 4, 5};
    return s;
}

TEST(ResidentView, ShowsAnAdultsDetailsValuesAndPictures) {
    SampleGame g(SampleGame::OneHood(SmallHood({Adult()}, {"Newbie"})));
    g.ChooseHood();
    g.ClickResident(0);
    auto& ui = g.app.ui;
    EXPECT_EQ(ui.Caption("Frame2"), "Personal Infomation for Bob Newbie");
    EXPECT_EQ(
        ui.ListItems("List2"),
        (std::vector<std::string>{"Filename:user00001", "Gender: Male", "Career: Law Enforcement",
                                  "Career Level: 5", "Age: Adult", "      "}));
    const struct {
        ControlId label;
        const char* value;
    } values[] = {{"Label7", "100"},   {"Label8", "200"},  {"Label9", "300"}, {"Label10", "400"},
                  {"Label11", "1000"}, {"Label18", "537"}, {"Label19", "1"},  {"Label20", "2"},
                  {"Label21", "3"},    {"Label22", "4"},   {"Label23", "5"}};
    for (const auto& [label, value] : values)
        EXPECT_EQ(ui.Caption(label), value) << label;
    EXPECT_FALSE(ui.IsEnabled("Command1"));
    EXPECT_TRUE(ui.IsEnabled("Label18"));
    EXPECT_TRUE(ui.IsEnabled("menu_fix_thumbnails"));
    EXPECT_FALSE(ui.IsEnabled("menu_Save"));
    EXPECT_EQ(ui.Picture("Picture1"), (HeadlessPicture{HeadlessPicture::Kind::Bitmap, 25, 25}));
    EXPECT_EQ(ui.Picture("Picture2"), (HeadlessPicture{HeadlessPicture::Kind::Bitmap, 105, 41}));
    EXPECT_EQ(ui.Caption("Label3"), "Idle");
    ui.ListSelect("List2", 2);
    (void)DispatchEvent(g.app.run(), "List2", UiEvent::Click);
    EXPECT_EQ(ui.Caption("Label3"), "Career: Law Enforcement") << "a detail line clicked";
}

// The "k/n" progress texts the status line showed since entry `from` of its history.
std::vector<std::string> ProgressShown(const SampleGame& g, std::size_t from) {
    const auto& all = g.app.ui.CaptionHistory("Label3");
    std::vector<std::string> progress;
    for (std::size_t k = from; k < all.size(); ++k)
        if (std::regex_match(all[k], std::regex(R"(\d+/\d+)"))) progress.push_back(all[k]);
    return progress;
}

TEST(ResidentView, AChildEnablesAdultifyLocksTheSkillsAndTheStatusCountsEveryLine) {
    SampleGame g(SampleGame::OneHood(SmallHood(
        {Adult(), Sim("user00002", "Jo", 9, 0x91929394), Sim("user00003", "Al", 27, 0xA1A2A3A4)})));
    g.ChooseHood();
    const std::size_t before = g.app.ui.CaptionHistory("Label3").size();
    g.ClickResident(1);
    auto& ui = g.app.ui;
    EXPECT_EQ(ui.ListItems("List2"), (std::vector<std::string>{"Filename:user00002", "Gender: Male",
                                                               "Age: Child", "      "}))
        << "a child's career code -1 shows no career";
    EXPECT_TRUE(ui.IsEnabled("Command1"));
    for (const SkillRow& row : kSkillRows)
        EXPECT_FALSE(ui.IsEnabled(row.valueLabel)) << row.valueLabel;
    EXPECT_EQ(ui.Picture("Picture1").kind, HeadlessPicture::Kind::Bitmap);
    EXPECT_EQ(ui.Picture("Picture2").kind, HeadlessPicture::Kind::Bitmap);
    EXPECT_EQ(ProgressShown(g, before), (std::vector<std::string>{"0/2", "1/2", "2/2"}));
    EXPECT_EQ(ui.Caption("Label3"), "Idle");
}

TEST(ResidentView, OddCodesAndStoredValues) {
    sample::SimSpec odd = Adult();
    odd.age = 12;
    odd.gender = 2;
    odd.career = 11;
    odd.skills[0] = 40000;
    SampleGame g(SampleGame::OneHood(SmallHood({Sim("user00002", "Jo", 9, 0x91929394), odd})));
    g.ChooseHood();
    g.ClickResident(0);
    g.ClickResident(1);
    EXPECT_EQ(
        g.app.ui.ListItems("List2"),
        (std::vector<std::string>{"Filename:user00001", "Gender: Male", "Age: Unknown", "      "}));
    EXPECT_TRUE(g.app.ui.IsEnabled("Command1"))
        << "an unknown age keeps the state of the resident before";
    EXPECT_EQ(g.app.ui.Caption("Label18"), "40000") << "the unsigned number stored";
}

// Whenever List1 has no selection, nothing of the resident shown before stays on view.
TEST(ResidentView, WithoutASelectionTheViewIsEmptyAndItsCommandsInert) {
    struct Case {
        const char* how;
        std::function<void(SampleGame&)> deselect;
    } cases[] = {
        {"the line deselected", [](SampleGame& g) { g.ClickResident(-1); }},
        {"another neighbourhood picked", [](SampleGame& g) { g.ChooseHood(1); }},
        {"the game read again", [](SampleGame& g) { ReadGameAgain(g.app.m); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.how);
        sample::GameSpec game =
            SampleGame::OneHood(SmallHood({Adult(), Sim("user00002", "Jo", 9, 0x91929394)}));
        sample::HoodSpec three = SmallHood({Sim("user00003", "Al", 27, 0xA1A2A3A4)});
        three.number = 3;
        game.hoods.push_back(three);
        SampleGame g(game);
        g.ChooseHood();
        g.ClickResident(1);
        ASSERT_TRUE(g.app.ui.IsEnabled("Command1"));
        const std::size_t before = g.app.ui.CaptionHistory("Label3").size();
        c.deselect(g);
        auto& ui = g.app.ui;
        EXPECT_EQ(SelectedResident(g.app.m), -1);
        EXPECT_EQ(ui.Caption("Frame2"), "Personal Infomation");
        EXPECT_EQ(ui.ListCount("List2"), 0);
        for (ControlId label : kValueLabels)
            EXPECT_EQ(ui.Caption(label), "") << label;
        EXPECT_EQ(ui.Picture("Picture1").kind, HeadlessPicture::Kind::None);
        EXPECT_EQ(ui.Picture("Picture2").kind, HeadlessPicture::Kind::None);
        EXPECT_FALSE(ui.IsEnabled("Command1"));
        EXPECT_FALSE(ui.IsEnabled("menu_fix_thumbnails"));
        EXPECT_FALSE(DispatchEvent(g.app.run(), "Command1", UiEvent::Click)) << "cannot be pressed";
        int dialogs = 0;
        ui.onModal = [&](FormId) { ++dialogs; };
        EXPECT_TRUE(DispatchEvent(g.app.run(), "Label12", UiEvent::Click));
        EXPECT_EQ(dialogs, 0) << "no skill dialog for nobody";
        EXPECT_TRUE(ui.Messages().empty());
        EXPECT_EQ(ui.Caption("Label3"), "Idle");
        if (std::string(c.how) == "the line deselected") {
            EXPECT_EQ(ProgressShown(g, before), (std::vector<std::string>{"0/1", "1/1"}));
        }
    }
}

TEST(ResidentView, AMissingCharacterFileShowsNoPicturesOfAnother) {
    sample::SimSpec ghost = Sim("user00002", "Ghost", 27, 0x91929394);
    ghost.hasCharacterFile = false;
    sample::SimSpec oldSim = Sim("user00003", "Old", 27, 0xA1A2A3A4);
    oldSim.thumbnailLabelledNewimage = false;
    oldSim.hasFaces = false;
    SampleGame g(SampleGame::OneHood(SmallHood({Adult(), ghost, oldSim})));
    g.ChooseHood();
    g.ClickResident(0);
    g.ClickResident(1);
    EXPECT_EQ(g.app.ui.Picture("Picture1").kind, HeadlessPicture::Kind::None);
    g.ClickResident(2);
    EXPECT_EQ(g.app.ui.Picture("Picture1").kind, HeadlessPicture::Kind::Bitmap)
        << "labelled \"thumbnail\"";
    EXPECT_EQ(g.app.ui.Picture("Picture2").kind, HeadlessPicture::Kind::Stock);
}

TEST(ResidentView, ATwinUserFileShowsTheFirstEntrysValues) {
    sample::SimSpec twin = Adult();
    twin.skills = {900, 900, 900, 900, 900, 900};
    twin.guid = 0x91929394;
    twin.gender = 1;
    SampleGame g(SampleGame::OneHood(SmallHood({Adult(), twin})));
    g.ChooseHood();
    g.ClickResident(1);
    EXPECT_EQ(g.app.ui.Caption("Label18"), "537");
    EXPECT_EQ(g.app.ui.ListItems("List2")[1], "Gender: Female") << "the record's own gender";
}

} // namespace
} // namespace adultify
