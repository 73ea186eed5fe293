#include "ageing/skill_editor.h"

#include "tests/support/sample_game.h"

#include <gtest/gtest.h>

namespace adultify {
namespace {

using test::SampleGame;
using test::Sim;
using test::SmallHood;

sample::SimSpec Adult(int cooking = 537) {
    sample::SimSpec s = test::Bob();
    s.skills = {cooking, 100, 200, 300, 400, 500};
    return s;
}

// Drives the dialog as a user does: moves the scroll bar, then accepts or cancels.
struct DialogScript {
    std::optional<int> moveTo;
    bool accept = true;
    std::string label2, label3, shapes;
    std::vector<DrawOp> gauge;
    int opened = 0;

    void Attach(SampleGame& g) {
        g.app.ui.onModal = [this, &g](FormId form) {
            ASSERT_EQ(form.Name(), "Form3");
            ++opened;
            auto& ui = g.app.ui;
            if (moveTo && ui.SetScrollValue("Form3.HScroll1", *moveTo))
                (void)DispatchEvent(g.app.run(), "Form3.HScroll1", UiEvent::Change);
            label2 = ui.Caption("Form3.Label2");
            label3 = ui.Caption("Form3.Label3");
            shapes.clear();
            for (ControlId box : kShape2)
                shapes += std::to_string(ui.FillStyle(box));
            gauge = ui.DrawOps("Form3.Picture2");
            (void)DispatchEvent(g.app.run(),
                                accept ? ControlId("Form3.Command1") : ControlId("Form3.Command2"),
                                UiEvent::Click);
        };
    }
};

// A game of `sim` alone, its resident shown, the dialog driven by `script` whenever it opens.
struct Shown {
    explicit Shown(const sample::SimSpec& sim, std::optional<int> moveTo = std::nullopt,
                   bool accept = true, bool playersVariants = false)
        : g(SampleGame::OneHood(SmallHood({sim}, {}, playersVariants))) {
        script.moveTo = moveTo;
        script.accept = accept;
        script.Attach(g);
        g.ChooseHood();
        g.ClickResident(0);
    }
    SampleGame g;
    DialogScript script;
};

Position UserAt(const SampleGame& g) {
    return FindBytes(g.app.m.hood.HoodData, "user00001", 1);
}

// Neither accepting the value the dialog opened with nor cancelling a move is an edit.
TEST(SkillEditor, AcceptingTheShownValueOrCancellingChangesAndMarksNothing) {
    struct Case {
        const char* name;
        std::optional<int> moveTo;
        bool accept;
    } cases[] = {{"accepted as shown", std::nullopt, true}, {"moved, then cancelled", 900, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Shown shown(Adult(), c.moveTo, c.accept);
        SampleGame& g = shown.g;
        const DialogScript& script = shown.script;
        const Bytes before = g.app.m.hood.HoodData;
        (void)DispatchEvent(g.app.run(), "Label18", UiEvent::Click);
        EXPECT_EQ(script.opened, 1);
        EXPECT_EQ(g.app.m.hood.HoodData, before);
        EXPECT_EQ(g.app.m.editing.UnsavedData, kFalse);
        EXPECT_FALSE(g.app.ui.IsEnabled("menu_Save"));
        EXPECT_EQ(g.app.ui.TitleShown("Form1"), "Adultify");
        EXPECT_EQ(g.app.ui.Caption("Label18"), "537");
        EXPECT_EQ(g.app.ui.CaptionHistory("Label3").back(), "Idle");
    }
}

class SkillEditorTest : public ::testing::TestWithParam<bool> {};
ADULTIFY_OVER_BOTH_FILE_KINDS(SkillEditorTest);

TEST_P(SkillEditorTest, AnAcceptedChangeIsWrittenAndMarked) {
    Shown shown(Adult(), 538, true, GetParam());
    SampleGame& g = shown.g;
    const DialogScript& script = shown.script;
    (void)DispatchEvent(g.app.run(), "Label18", UiEvent::Click);
    EXPECT_EQ(script.label2, "538");
    EXPECT_EQ(script.label3, " 5 / 38%");
    EXPECT_EQ(script.shapes, "0000011111");
    EXPECT_EQ(ByteAt(g.app.m.hood.HoodData, UserAt(g) + 38), 0x1A);
    EXPECT_EQ(ByteAt(g.app.m.hood.HoodData, UserAt(g) + 39), 0x02);
    EXPECT_EQ(g.app.m.editing.UnsavedData, kTrue);
    EXPECT_TRUE(g.app.ui.IsEnabled("menu_Save"));
    EXPECT_EQ(g.app.ui.TitleShown("Form1"), "*Adultify");
    EXPECT_EQ(g.app.ui.Caption("Label18"), "538");
    EXPECT_EQ(g.app.ui.CaptionHistory("Form3.Frame1").back(), "Status Change - Cooking");
    EXPECT_EQ(g.app.ui.CaptionHistory("Form3.Label1").back(), "Cooking:");
}

TEST(SkillEditor, BoxesAndPointsAtTheBoundaries) {
    struct Case {
        int value;
        const char* label3;
        const char* shapes;
        bool cyan;
    } cases[] = {{1000, " 10 / 0%", "0000000000", false},
                 {100, " 1 / 0%", "0111111111", false},
                 {99, " 0 / 99%", "1111111111", true},
                 {0, " 0 / 0%", "1111111111", false},
                 {329, " 3 / 29%", "0001111111", true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        Shown shown(Adult(), c.value);
        SampleGame& g = shown.g;
        const DialogScript& script = shown.script;
        (void)DispatchEvent(g.app.run(), "Label12", UiEvent::Click);
        EXPECT_EQ(script.label3, c.label3);
        EXPECT_EQ(script.shapes, c.shapes);
        const bool hasCyan =
            std::any_of(script.gauge.begin(), script.gauge.end(), [](const DrawOp& op) {
                return op.kind == DrawOp::Kind::Fill && op.colour == Rgb{0, 255, 255};
            });
        EXPECT_EQ(hasCyan, c.cyan);
        EXPECT_EQ(ReadU16LE(g.app.m.hood.HoodData, UserAt(g) + 38), static_cast<unsigned>(c.value));
        EXPECT_EQ(g.app.ui.Caption("Label18"), std::to_string(c.value));
    }
}

// The cyan part rises from the bottom in proportion to the progress within the point.
TEST(SkillEditor, TheGaugeFillsWithTheProgressWithinAPoint) {
    Shown shown(Adult());
    SampleGame& g = shown.g;
    const DialogScript& script = shown.script;
    (void)DispatchEvent(g.app.run(), "Label18", UiEvent::Click);
    const float h = g.app.ui.ScaleHeight("Form3.Picture2");
    ASSERT_EQ(script.gauge.size(), 7u);
    const DrawOp& cyan = script.gauge[2];
    EXPECT_EQ(cyan.colour, (Rgb{0, 255, 255}));
    EXPECT_NEAR((cyan.d - cyan.b) / (h - 4), 0.37, 0.05) << "37 % of the height";
    EXPECT_EQ(script.gauge[3].kind, DrawOp::Kind::Arc);
    EXPECT_EQ(script.gauge[3].lineWidth, 2);
}

TEST(SkillEditor, AChildsValueLabelsTakeNoClickButItsCaptionLabelsDo) {
    sample::SimSpec child = Adult();
    child.age = 9;
    Shown shown(child, 250);
    SampleGame& g = shown.g;
    const DialogScript& script = shown.script;
    EXPECT_FALSE(DispatchEvent(g.app.run(), "Label21", UiEvent::Click));
    EXPECT_EQ(script.opened, 0);
    EXPECT_TRUE(DispatchEvent(g.app.run(), "Label15", UiEvent::Click));
    EXPECT_EQ(script.opened, 1);
    EXPECT_EQ(ReadU16LE(g.app.m.hood.HoodData, UserAt(g) + 52), 250u) << "Body";
    EXPECT_EQ(g.app.ui.Caption("Label21"), "250");
}

TEST(SkillEditor, AStoredValueBeyondTheRangeIsClampedOnlyOnTheScrollBar) {
    Shown shown(Adult(1500), std::nullopt, false);
    SampleGame& g = shown.g;
    const DialogScript& script = shown.script;
    (void)DispatchEvent(g.app.run(), "Label18", UiEvent::Click);
    EXPECT_EQ(script.label2, "1000");
    EXPECT_EQ(ReadU16LE(g.app.m.hood.HoodData, UserAt(g) + 38), 1500u)
        << "cancel keeps the stored value";
}

} // namespace
} // namespace adultify
