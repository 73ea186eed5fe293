#pragma once
// What the logic relies on from any window layer. Each layer brings a driver that acts as the
// user would (answers a message box, works in a modal window) and tells what was drawn.

#include "sample/bitmap.h"
#include "tests/support/temp_dir.h"
#include "text/path_text.h"
#include "ui/keyboard.h"
#include "ui/window_system.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <memory>
#include <system_error>
#include <utility>
#include <variant>

namespace adultify {

struct MessageSeen {
    std::string text, title;
    MsgButtons buttons = MsgButtons::Ok;
    MsgIcon icon = MsgIcon::None;
    int lines = 0; // how many lines the box shows its text in; -1: cut off
};

enum class DrawKind { Fill, Line, Arc };

// How a user closes a message box without clicking one of its buttons: Enter presses the
// default one.
enum class Dismissal { Escape, CloseBox, Enter };

struct Reported {
    ControlId control;
    UiEvent event;
    friend bool operator==(const Reported&, const Reported&) = default;
};
inline std::ostream& operator<<(std::ostream& out, const Reported& r) {
    return out << r.control << " event " << static_cast<int>(r.event);
}

class WindowLayerDriver {
  public:
    virtual ~WindowLayerDriver() = default;
    virtual WindowSystem& ui() = 0;
    // The next message box is answered by pressing the button of `answer`.
    virtual void AnswerNextMessage(MsgAnswer answer) = 0;
    // The next message box is closed without a button.
    virtual void DismissNextMessage(Dismissal how) = 0;
    [[nodiscard]] virtual MessageSeen LastMessage() const = 0;
    // `step` runs once the next modal window is open, as the user working in it.
    virtual void WhenModal(std::function<void(FormId)> step) = 0;
    // What a picture box holds drawn, in order, since it was last cleared.
    [[nodiscard]] virtual std::vector<DrawKind> Drawn(ControlId box) const = 0;

    // `step` runs once the windows' event loop (WindowSystem::Run) runs.
    virtual void InTheLoop(std::function<void()> step) = 0;
    // The user clicks, or double-clicks, line `index` of a list in an open window (for a
    // drop-down: opens it and clicks the line).
    virtual void ClickLine(ControlId list, int index) = 0;
    virtual void DoubleClickLine(ControlId list, int index) = 0;
    virtual void Press(ControlId control, Key key) = 0;
    // What the user reads with the pointer resting on a list's line.
    [[nodiscard]] virtual std::string HoverText(ControlId list, int index) const = 0;
    // A key pressed in an open window, to the control holding its focus.
    virtual void PressKey(FormId form, Key key) = 0;
    [[nodiscard]] virtual std::optional<ControlId> Focused(FormId form) const = 0;
    // The pointer moved over a control, or over a window's background.
    virtual void PointerOver(ControlId control) = 0;
    // The events the windows posted reach the program.
    virtual void Settle() {}
    // The window's title as the platform shows it, marks included.
    [[nodiscard]] virtual std::string TitleShown(FormId form) const = 0;
    // A list's or drop-down's line as drawn, in UTF-8.
    [[nodiscard]] virtual std::string LineShown(ControlId list, int index) const = 0;
    // Whether the user can change the window's size.
    [[nodiscard]] virtual bool Resizable(FormId form) const = 0;
    // Whether the control shows its whole text at the screen's scale (a control that scrolls
    // shows it all).
    [[nodiscard]] virtual bool TextFits(ControlId control) const = 0;
    // The user types into a control that has the focus: a folder box's text becomes `text` (as
    // typed over, or pasted); in a list each letter is a key of its own.
    virtual void Type(ControlId control, std::string_view text) = 0;
    // Whether something is drawn after the text of a list's line, as its mark.
    [[nodiscard]] virtual bool MarkShown(ControlId list, int index) = 0;
    // A window's outer rectangle on the screen, in the platform's pixels; the user moves it, or
    // drags its edge so that its client area has this size in pixels at 100 %.
    [[nodiscard]] virtual LaidOut WindowPlace(FormId form) const = 0;
    virtual void PutWindowAt(FormId form, int x, int y) = 0;
    virtual void ResizeClient(FormId form, int width, int height) = 0;
    // Where a control lies in its parent, in pixels at 100 %.
    [[nodiscard]] virtual LaidOut Placed(ControlId control) const = 0;
};

// What every driver does alike: reads a picture box's drawing, whatever the layer calls its
// operations.
class DriverBase : public WindowLayerDriver {
  protected:
    template <typename Ops> static std::vector<DrawKind> KindsOf(const Ops& ops) {
        std::vector<DrawKind> kinds;
        for (const auto& op : ops) {
            using Kind = decltype(op.kind);
            if (op.kind == Kind::Fill) kinds.push_back(DrawKind::Fill);
            if (op.kind == Kind::Line) kinds.push_back(DrawKind::Line);
            if (op.kind == Kind::Arc) kinds.push_back(DrawKind::Arc);
        }
        return kinds;
    }
};

using DriverFactory = std::unique_ptr<WindowLayerDriver> (*)();

// Runs the contract against a layer through its driver class, under the name `label`.
#define ADULTIFY_WINDOW_LAYER_CONTRACT(layer, Driver, label)                                       \
    INSTANTIATE_TEST_SUITE_P(layer, WindowLayerContract,                                           \
                             ::testing::Values(+[]() -> std::unique_ptr<WindowLayerDriver> {       \
                                 return std::make_unique<Driver>();                                \
                             }),                                                                   \
                             [](const auto&) { return std::string(label); })

class WindowLayerContract : public ::testing::TestWithParam<DriverFactory> {
  protected:
    void SetUp() override {
        driver = GetParam()();
        ui = &driver->ui();
        ui->eventSink = [this](ControlId control, UiEvent event) {
            reported.push_back({control, event});
            return take;
        };
    }
    // The events the windows reported to the program since the last call.
    std::vector<Reported> TakeReported() {
        driver->Settle();
        return std::exchange(reported, {});
    }
    std::unique_ptr<WindowLayerDriver> driver;
    WindowSystem* ui = nullptr;
    std::vector<Reported> reported;
    bool take = true; // false: the program holds the events back (a command runs)
};

TEST_P(WindowLayerContract, StartsWithTheLayoutsStates) {
    EXPECT_EQ(ui->Caption("Frame2"), "Personal Infomation");
    EXPECT_EQ(ui->Caption("Command1"), "&Adultify");
    EXPECT_EQ(ui->Caption("Label13"), "Mechanical:");
    EXPECT_FALSE(ui->IsEnabled("menu_Save"));
    EXPECT_FALSE(ui->IsEnabled("menu_future"));
    EXPECT_TRUE(ui->IsEnabled("menu_iff"));
    EXPECT_TRUE(ui->IsChecked("menu_personality"));
    EXPECT_EQ(ui->Caption("Label7"), "");
    EXPECT_TRUE(ui->IsLoaded("Form1"));
    EXPECT_FALSE(ui->IsLoaded("Form3"));
}

TEST_P(WindowLayerContract, ListsKeepOrderAndOneSelection) {
    ui->ListAdd("List1", "Bob Newbie");
    ui->ListAdd("List1", "Chloë Goth");
    ui->ListAdd("List1", "Bob Newbie");
    EXPECT_EQ(ui->ListCount("List1"), 3);
    EXPECT_EQ(ui->ListItem("List1", 1), "Chloë Goth");
    ui->ListSelect("List1", 2);
    EXPECT_TRUE(ui->ListSelected("List1", 2));
    EXPECT_FALSE(ui->ListSelected("List1", 0));
    ui->ListSelect("List1", -1);
    EXPECT_FALSE(ui->ListSelected("List1", 2));
    ui->ListClear("List1");
    EXPECT_EQ(ui->ListCount("List1"), 0);
}

// A user's pick the program holds back is undone on the control; the next one is taken.
TEST_P(WindowLayerContract, APickTheProgramHoldsBackIsUndoneOnTheListOrDropDown) {
    ui->ShowForm("Form1");
    for (ControlId list : {ControlId("List1"), ControlId("Combo1")}) {
        ui->ListAdd(list, "Bob Newbie");
        ui->ListAdd(list, "Betty Newbie");
        ui->ListSelect(list, 0);
        take = false;
        driver->ClickLine(list, 1);
        EXPECT_TRUE(ui->ListSelected(list, 0)) << list << " shows what the program holds";
        take = true;
        driver->ClickLine(list, 1);
        EXPECT_TRUE(ui->ListSelected(list, 1)) << list;
        EXPECT_EQ(TakeReported(), (std::vector<Reported>(2, {list, UiEvent::Click})));
    }
}

TEST_P(WindowLayerContract, TheDropDownsTextIsItsSelectedEntryAndAddingKeepsIt) {
    ui->ListAdd("Combo1", "Neighbourhood 1");
    ui->ListAdd("Combo1", "Neighbourhood 3");
    EXPECT_EQ(ui->Caption("Combo1"), "") << "nothing is chosen until a choice is made";
    ui->ListSelect("Combo1", 1);
    EXPECT_EQ(ui->Caption("Combo1"), "Neighbourhood 3");
    ui->ListAdd("Combo1", "Neighbourhood 4");
    EXPECT_TRUE(ui->ListSelected("Combo1", 1));
    EXPECT_EQ(ui->Caption("Combo1"), "Neighbourhood 3");
}

TEST_P(WindowLayerContract, AChildsLineShowsItsMarkWhileItsTextStaysTheName) {
    ui->ShowForm("Form1");
    for (const char* name : {"Bob Newbie", "Daisy Newbie", "Lisa Goth"})
        ui->ListAdd("List1", name);
    ui->ListSetMark("List1", 1, LineMark::Child);
    ui->ListSetMark("List1", 3, LineMark::Child); // no such line: nothing
    EXPECT_EQ(ui->ListItem("List1", 1), "Daisy Newbie") << "the mark is no part of the text";
    EXPECT_EQ(ui->ListCount("List1"), 3);
    std::vector<bool> shown;
    for (int line = 0; line < 3; ++line) {
        EXPECT_EQ(ui->ListMark("List1", line), line == 1 ? LineMark::Child : LineMark::None);
        shown.push_back(driver->MarkShown("List1", line));
    }
    EXPECT_EQ(shown, (std::vector<bool>{false, true, false}));
    ui->ListSelect("List1", 1);
    EXPECT_TRUE(driver->MarkShown("List1", 1)) << "on the highlighted line too";
    ui->ListClear("List1");
    ui->ListAdd("List1", "Daisy Newbie");
    EXPECT_EQ(ui->ListMark("List1", 0), LineMark::None) << "a cleared list keeps no mark";
    EXPECT_FALSE(driver->MarkShown("List1", 0));
}

TEST_P(WindowLayerContract, CaptionsEnabledAndCheckedStates) {
    ui->SetCaption("Label3", "Find Residents (Bob Newbie)");
    EXPECT_EQ(ui->Caption("Label3"), "Find Residents (Bob Newbie)");
    ui->SetCaption("Label3", "");
    EXPECT_EQ(ui->Caption("Label3"), "");
    ui->SetEnabled("Command1", true);
    EXPECT_TRUE(ui->IsEnabled("Command1"));
    ui->SetEnabled("Label18", false);
    EXPECT_FALSE(ui->IsEnabled("Label18"));
    ui->SetChecked("menu_personality", false);
    EXPECT_FALSE(ui->IsChecked("menu_personality"));
    ui->SetCaption("Form1", "Adultify - Neighbourhood 1");
    EXPECT_EQ(ui->Caption("Form1"), "Adultify - Neighbourhood 1");
}

TEST_P(WindowLayerContract, AClosedWindowTakesNoCaptionAndOpensAsLaidOut) {
    ui->SetCaption("frmSplash.Label1", "Idle");
    EXPECT_EQ(ui->Caption("frmSplash.Label1"), "");
    EXPECT_FALSE(ui->IsLoaded("frmSplash"));
    ui->LoadForm("Form3");
    ui->SetCaption("Form3.Label2", "537");
    EXPECT_EQ(ui->Caption("Form3.Label2"), "537");
    ui->UnloadForm("Form3");
    EXPECT_EQ(ui->Caption("Form3.Label2"), "");
    ui->LoadForm("Form3");
    EXPECT_EQ(ui->Caption("Form3.Label2"), "Label2");
    ui->UnloadForm("Form3");
    ui->UnloadForm("Form1");
    EXPECT_TRUE(ui->IsLoaded("Form1")) << "the main window closes only at the end";
}

TEST_P(WindowLayerContract, TheLoopRunsUntilTheProgramEndsAfterWhichNoWindowIsLoaded) {
    ui->LoadForm("frmAbout");
    driver->InTheLoop([this] { ui->EndProgram(3); });
    EXPECT_FALSE(ui->Ended());
    EXPECT_EQ(ui->Run(), 3);
    EXPECT_TRUE(ui->Ended());
    EXPECT_EQ(ui->ExitCode(), 3);
    for (FormId form : AllForms())
        EXPECT_FALSE(ui->IsLoaded(form)) << form;
}

TEST_P(WindowLayerContract, PicturesAcceptGameBitmapsAndRefuseOthers) {
    const Bytes thumb = sample::ThumbnailBitmap({200, 150, 120}, {50, 30, 10});
    EXPECT_TRUE(ui->SetPictureBitmap("Picture1", thumb));
    Bytes broken = thumb;
    broken.resize(20);
    EXPECT_FALSE(ui->SetPictureBitmap("Picture1", broken));
    Bytes notBmp = thumb;
    notBmp[0] = 'X';
    EXPECT_FALSE(ui->SetPictureBitmap("Picture2", notBmp));
    ui->SetPictureStock("Picture2");
    ui->CopyPicture("Picture2", "Picture1");
}

TEST_P(WindowLayerContract, PictureBoxesDrawInTheirInnerPixels) {
    ui->LoadForm("Form3");
    EXPECT_EQ(ui->ScaleWidth("Form3.Picture2"), 14.0f) << "a bordered box loses two pixels a side";
    EXPECT_EQ(ui->ScaleHeight("Form3.Picture2"), 56.0f);
    ui->LoadForm("frmSplash");
    EXPECT_EQ(ui->ScaleWidth("frmSplash.Picture1"), 320.0f) << "the splash picture has no border";
    EXPECT_EQ(ui->ScaleHeight("frmSplash.Picture1"), 240.0f);
    ui->UnloadForm("frmSplash");

    const ControlId box = "Form3.Picture2";
    ui->PictureClear(box);
    ui->SetLineWidth(box, 2);
    ui->FillRect(box, 2, 30, 12, 2, Rgb{0, 0, 255});
    ui->DrawArc(box, 7, 7, 7, 0, 3.14f, std::nullopt);
    ui->DrawLine(box, 1, 7, 1, 48, Rgb{});
    EXPECT_EQ(driver->Drawn(box),
              (std::vector<DrawKind>{DrawKind::Fill, DrawKind::Arc, DrawKind::Line}));
    ui->PictureClear(box);
    EXPECT_TRUE(driver->Drawn(box).empty());
    ui->UnloadForm("Form3");
}

TEST_P(WindowLayerContract, ScrollBarAnswersWhetherTheValueChanged) {
    ui->LoadForm("Form3");
    ui->SetScrollRange("Form3.HScroll1", 0, 1000, 1, 100);
    const int start = ui->ScrollValue("Form3.HScroll1");
    EXPECT_EQ(ui->SetScrollValue("Form3.HScroll1", start), false);
    EXPECT_EQ(ui->SetScrollValue("Form3.HScroll1", 537), start != 537);
    EXPECT_EQ(ui->ScrollValue("Form3.HScroll1"), 537);
    EXPECT_TRUE(ui->SetScrollValue("Form3.HScroll1", 1000));
    EXPECT_THROW((void)ui->SetScrollValue("Form3.HScroll1", 1001), std::out_of_range);
    ui->SetScrollRange("Form3.HScroll1", 10, 5, 1, 100); // reversed: 10 the one value
    EXPECT_EQ(ui->ScrollValue("Form3.HScroll1"), 10);
    EXPECT_THROW((void)ui->SetScrollValue("Form3.HScroll1", 7), std::out_of_range);
    ui->SetFillStyle("Form3.Shape2(3)", 0);
    EXPECT_EQ(ui->FillStyle("Form3.Shape2(3)"), 0);
    ui->UnloadForm("Form3");
    EXPECT_FALSE(ui->IsLoaded("Form3"));
}

// A box answers the button pressed; closed without one (Escape, its close box), it cancels
// where it can; Enter presses its default button.
TEST_P(WindowLayerContract, MessageBoxesShowWhatTheyAreGivenAndAnswerAsTheyWereClosed) {
    struct Case {
        MsgButtons buttons;
        MsgIcon icon;
        std::variant<MsgAnswer, Dismissal> closed; // a button pressed, or how the box was closed
        MsgAnswer expected;
    };
    using B = MsgButtons;
    using I = MsgIcon;
    using A = MsgAnswer;
    using D = Dismissal;
    for (const Case& c :
         {Case{B::Ok, I::Critical, A::Ok, A::Ok}, Case{B::Ok, I::Exclamation, A::Ok, A::Ok},
          Case{B::Ok, I::None, A::Ok, A::Ok}, Case{B::YesNo, I::Information, A::Yes, A::Yes},
          Case{B::YesNo, I::Exclamation, A::No, A::No}, Case{B::YesNo, I::Question, A::Yes, A::Yes},
          Case{B::YesNoDefaultNo, I::Information, A::Yes, A::Yes},
          Case{B::YesNoCancel, I::Exclamation, A::Yes, A::Yes},
          Case{B::YesNoCancel, I::Exclamation, A::No, A::No},
          Case{B::YesNoCancel, I::Question, A::Cancel, A::Cancel},
          Case{B::YesNoCancel, I::Exclamation, D::Escape, A::Cancel},
          Case{B::YesNoCancel, I::Exclamation, D::CloseBox, A::Cancel},
          Case{B::YesNo, I::Exclamation, D::Escape, A::No},
          Case{B::YesNoDefaultNo, I::Exclamation, D::Escape, A::No},
          Case{B::Ok, I::Exclamation, D::Escape, A::Ok},
          Case{B::Ok, I::Exclamation, D::Enter, A::Ok},
          Case{B::YesNo, I::Exclamation, D::Enter, A::Yes},
          Case{B::YesNoDefaultNo, I::Exclamation, D::Enter, A::No},
          Case{B::YesNoCancel, I::Exclamation, D::Enter, A::Yes}}) {
        if (const auto* press = std::get_if<MsgAnswer>(&c.closed))
            driver->AnswerNextMessage(*press);
        else
            driver->DismissNextMessage(std::get<Dismissal>(c.closed));
        EXPECT_EQ(ui->ShowMessage("Line one\nLine two", c.buttons, c.icon, "Title"), c.expected)
            << static_cast<int>(c.buttons) << " closed by " << c.closed.index() << ":"
            << static_cast<int>(c.expected);
        const MessageSeen seen = driver->LastMessage();
        EXPECT_EQ(seen.text, "Line one\nLine two");
        EXPECT_EQ(seen.lines, 2);
        EXPECT_EQ(seen.title, "Title");
        EXPECT_EQ(seen.buttons, c.buttons);
        EXPECT_EQ(seen.icon, c.icon);
    }
}

TEST_P(WindowLayerContract, AModalWindowRunsUntilTheProgramUnloadsIt) {
    std::vector<std::string> seen;
    driver->WhenModal([&](FormId form) {
        seen.emplace_back(form.Name());
        EXPECT_TRUE(ui->IsLoaded("Form3"));
        ui->SetCaption("Form3.Label2", "537");
        seen.push_back(ui->Caption("Form3.Label2"));
        ui->UnloadForm("Form3");
    });
    ui->LoadForm("Form3");
    ui->ShowModal("Form3");
    EXPECT_EQ(seen, (std::vector<std::string>{"Form3", "537"}));
    EXPECT_FALSE(ui->IsLoaded("Form3"));
}

namespace folders {

namespace fs = std::filesystem;

inline std::vector<std::string> Lines(const WindowSystem& ui, ControlId list) {
    std::vector<std::string> lines;
    for (int i = 0; i < ui.ListCount(list); ++i)
        lines.push_back(ui.ListItem(list, i));
    return lines;
}

inline int LineOf(const WindowSystem& ui, ControlId list, const std::string& folder) {
    const std::vector<std::string> lines = Lines(ui, list);
    const auto at = std::find(lines.begin(), lines.end(), folder);
    return at == lines.end() ? -1 : static_cast<int>(at - lines.begin());
}

inline int Highlighted(const WindowSystem& ui, ControlId list) {
    for (int i = 0; i < ui.ListCount(list); ++i)
        if (ui.ListSelected(list, i)) return i;
    return -1;
}

// A folder with subfolders of every sort a player meets, and a few files.
struct Tree {
    Tree() {
        for (const fs::path& sub : {beta / "Inner", alpha, steam, longName, folderIff})
            fs::create_directories(sub);
        for (const char* file : {"User00001.iff", "b.IFF", "readme.txt"})
            test::WriteBytes(dir.path() / file, Bytes{1});
    }
    test::TempDir dir;
    fs::path beta = dir.path() / "Beta", alpha = dir.path() / "alpha",
             steam = dir.path() / ".steam", folderIff = dir.path() / "folder.iff",
             longName = dir.path() / "Saved Games of a player with a name far wider than the list";
};

} // namespace folders

TEST_P(WindowLayerContract, TheFolderListShowsTheWayDownThenEverySubfolderHiddenOnesToo) {
    using namespace folders;
    const Tree tree;
    ui->LoadForm("Form2");
    ui->SetCaption("Form2.Dir1", PathText(tree.dir.path() / ""));
    EXPECT_EQ(ui->Caption("Form2.Dir1"), PathText(tree.dir.path()))
        << "the folder open, as written";
    const std::vector<std::string> lines = Lines(*ui, "Form2.Dir1");
    const int open = LineOf(*ui, "Form2.Dir1", PathText(tree.dir.path()));
    ASSERT_GE(open, 1) << "the folders above it come first";
    EXPECT_EQ(lines.front(), PathText(tree.dir.path().root_path()));
    EXPECT_EQ(lines[static_cast<std::size_t>(open - 1)], PathText(tree.dir.path().parent_path()));
    EXPECT_EQ(Highlighted(*ui, "Form2.Dir1"), open);
    EXPECT_EQ(
        std::vector<std::string>(lines.begin() + open + 1, lines.end()),
        (std::vector<std::string>{PathText(tree.steam), PathText(tree.alpha), PathText(tree.beta),
                                  PathText(tree.folderIff), PathText(tree.longName)}))
        << "by name, letter case ignored; no file among them";
    EXPECT_EQ(driver->HoverText("Form2.Dir1", LineOf(*ui, "Form2.Dir1", PathText(tree.longName))),
              PathText(tree.longName))
        << "a long name is there to read whole";
    ui->SetCaption("Form2.File1", tree.dir.str());
    EXPECT_EQ(Lines(*ui, "Form2.File1"), (std::vector<std::string>{"b.IFF", "User00001.iff"}));
    EXPECT_TRUE(TakeReported().empty()) << "what the program sets, it is not told of";
    ui->UnloadForm("Form2");
}

TEST_P(WindowLayerContract, AClickHighlightsAFolderWhileADoubleClickOrEnterOpensIt) {
    using namespace folders;
    const Tree tree;
    const ControlId dirs = "Form2.Dir1";
    auto line = [&](const fs::path& folder) { return LineOf(*ui, dirs, PathText(folder)); };
    std::vector<std::string> opened;
    driver->WhenModal([&](FormId) {
        ui->SetCaption(dirs, tree.dir.str());
        driver->ClickLine(dirs, line(tree.beta));
        EXPECT_EQ(ui->Caption(dirs), PathText(tree.dir.path())) << "a click opens nothing";
        EXPECT_EQ(Highlighted(*ui, dirs), line(tree.beta));
        driver->Press(dirs, Key::Up);
        EXPECT_EQ(Highlighted(*ui, dirs), line(tree.alpha));
        for (int i = 0; i < 4; ++i)
            driver->Press(dirs, Key::Down);
        EXPECT_EQ(Highlighted(*ui, dirs), line(tree.longName)) << "the last line stays";
        driver->Press(dirs, Key::Up);
        driver->Press(dirs, Key::Up);
        EXPECT_TRUE(TakeReported().empty());

        driver->Press(dirs, Key::Enter);
        opened.push_back(ui->Caption(dirs));
        EXPECT_EQ(Highlighted(*ui, dirs), line(tree.beta)) << "the folder opened is highlighted";
        driver->DoubleClickLine(dirs, line(tree.beta / "Inner"));
        opened.push_back(ui->Caption(dirs));
        driver->DoubleClickLine(dirs, line(tree.dir.path()));
        opened.push_back(ui->Caption(dirs));
        driver->DoubleClickLine(dirs, line(tree.steam));
        opened.push_back(ui->Caption(dirs));
        ui->UnloadForm("Form2");
    });
    ui->LoadForm("Form2");
    ui->ShowModal("Form2");
    EXPECT_EQ(opened, (std::vector<std::string>{PathText(tree.beta), PathText(tree.beta / "Inner"),
                                                PathText(tree.dir.path()), PathText(tree.steam)}));
    EXPECT_EQ(TakeReported(), std::vector<Reported>(4, Reported{"Form2.Dir1", UiEvent::Change}))
        << "each opening is reported, and Enter presses no button";
}

TEST_P(WindowLayerContract, TypedLettersFindAFolderAndAFolderTypedInTheBoxOpensWithEnter) {
    using namespace folders;
    const Tree tree;
    const ControlId dirs = "Form2.Dir1", box = "Form2.Text1";
    auto line = [&](const fs::path& folder) { return LineOf(*ui, dirs, PathText(folder)); };
    std::vector<int> highlighted, expected;
    std::vector<std::string> opened;
    driver->WhenModal([&](FormId) {
        ui->SetCaption(dirs, tree.dir.str());
        expected = {line(tree.beta), line(tree.folderIff), line(tree.longName), line(tree.steam)};
        EXPECT_EQ(ui->Caption(box), PathText(tree.dir.path())) << "the box shows the folder open";
        for (const char* letters : {"b", "F", "s", "."}) {
            driver->Type(dirs, letters);
            highlighted.push_back(Highlighted(*ui, dirs));
        }
        EXPECT_TRUE(TakeReported().empty()) << "a letter opens nothing";
        for (const fs::path& typed : {tree.beta / "Inner", tree.dir.path() / "nowhere"}) {
            driver->Type(box, PathText(typed));
            driver->Press(box, Key::Enter);
            opened.push_back(ui->Caption(dirs));
        }
        EXPECT_EQ(ui->Caption(box), PathText(tree.dir.path() / "nowhere")) << "kept, to be mended";
        ui->UnloadForm("Form2");
    });
    ui->LoadForm("Form2");
    ui->ShowModal("Form2");
    EXPECT_EQ(highlighted, expected)
        << "the next folder whose name starts with the letter, letter case ignored";
    EXPECT_EQ(opened, (std::vector<std::string>(2, PathText(tree.beta / "Inner"))))
        << "a folder that is not there opens nothing";
    EXPECT_EQ(TakeReported(), (std::vector<Reported>{{"Form2.Dir1", UiEvent::Change}}))
        << "Enter in the box opens the folder and presses no button";
}

TEST_P(WindowLayerContract, TheDriveListChoosesTheDriveThatHoldsAFolder) {
    using namespace folders;
    test::TempDir prefix;
    fs::create_directories(prefix.path() / "drive_c" / "users" / "steamuser");
    fs::create_directories(prefix.path() / "dosdevices");
    std::error_code ec;
    fs::create_directory_symlink("../drive_c", prefix.path() / "dosdevices" / "c:", ec);
    if (ec) GTEST_SKIP() << "no symbolic links here: " << ec.message();
    ui->SetDosDevices(prefix.path() / "dosdevices");
    const std::string driveC = PathText(fs::canonical(prefix.path() / "drive_c"));
    const ControlId drives = "Form2.Drive1";
    std::vector<std::string> chosen;
    driver->WhenModal([&](FormId) {
        ui->SetCaption(drives, PathText(prefix.path() / "drive_c" / "users" / "steamuser"));
        chosen.push_back(ui->Caption(drives));
        EXPECT_EQ(Highlighted(*ui, drives), LineOf(*ui, drives, driveC));
        ui->SetCaption(drives, prefix.str());
        chosen.push_back(ui->Caption(drives));
        EXPECT_TRUE(TakeReported().empty());
        driver->ClickLine(drives, LineOf(*ui, drives, driveC));
        chosen.push_back(ui->Caption(drives));
        ui->UnloadForm("Form2");
    });
    ui->LoadForm("Form2");
    ui->ShowModal("Form2");
    EXPECT_EQ(chosen, (std::vector<std::string>{
                          driveC, PathText(fs::canonical(prefix.path()).root_path()), driveC}));
    EXPECT_EQ(TakeReported(), (std::vector<Reported>{{"Form2.Drive1", UiEvent::Change}}));
}

TEST_P(WindowLayerContract, TabVisitsTheKeyboardsControlsInTheLayoutsOrderPassingDisabledOnes) {
    for (FormId form : AllForms()) {
        if (form.Design().style == WindowStyle::Splash) continue; // a key closes it
        ui->ShowForm(form);
        const std::vector<ControlId> order = TabOrder(form);
        EXPECT_EQ(driver->Focused(form), FirstFocus(form)) << form;
        std::vector<ControlId> expected;
        const auto first = std::find(order.begin(), order.end(), FirstFocus(form));
        for (std::size_t i = 0; first != order.end() && i < order.size(); ++i) {
            const ControlId id =
                order[(static_cast<std::size_t>(first - order.begin()) + i) % order.size()];
            if (ui->IsEnabled(id)) expected.push_back(id);
        }
        std::vector<ControlId> visited;
        for (std::size_t i = 0; i < expected.size() && driver->Focused(form); ++i) {
            visited.push_back(*driver->Focused(form));
            driver->PressKey(form, Key::Tab);
        }
        EXPECT_EQ(driver->Focused(form), FirstFocus(form)) << form << ": Tab comes round";
        EXPECT_EQ(visited, expected) << form;
        if (!expected.empty()) {
            driver->PressKey(form, Key::BackTab);
            EXPECT_EQ(driver->Focused(form), expected.back()) << form << ": Shift+Tab goes back";
        }
        ui->UnloadForm(form);
    }
    EXPECT_EQ(TabOrder("Form3"),
              (std::vector<ControlId>{"Form3.HScroll1", "Form3.Command1", "Form3.Command2"}));
    for (ControlId id : TabOrder("Form2"))
        EXPECT_NE(id, ControlId("Form2.File1")) << "it lies beyond the window's edge";
}

// After Adultify the button that had the focus is disabled: the program hands the focus to the
// resident list, where the arrow keys work at once; also while a message box is open.
TEST_P(WindowLayerContract, TheProgramHandsTheFocusOnFromADisabledButton) {
    ui->ShowForm("Form1");
    ui->ListAdd("List1", "Bob Newbie");
    ui->ListAdd("List1", "Jo Newbie");
    ui->SetEnabled("Command1", true);
    ui->FocusControl("Command1");
    ASSERT_EQ(driver->Focused("Form1"), ControlId("Command1"));
    ui->SetEnabled("Command1", false);
    ui->FocusControl("List1");
    EXPECT_EQ(driver->Focused("Form1"), ControlId("List1"));
    ui->FocusControl("Combo1");
    driver->AnswerNextMessage(MsgAnswer::Ok);
    (void)ui->ShowMessage("Sucess. Your child has grown up.", MsgButtons::Ok, MsgIcon::Exclamation,
                          "Completed");
    EXPECT_EQ(driver->Focused("Form1"), ControlId("Combo1")) << "kept over the message";
}

TEST_P(WindowLayerContract, TheScrollBarsKeysMoveItAndReportEachChange) {
    const FormId form = "Form3";
    ui->ShowForm(form);
    ui->SetScrollRange("Form3.HScroll1", 0, 1000, 1, 100);
    (void)ui->SetScrollValue("Form3.HScroll1", 500);
    ASSERT_EQ(driver->Focused(form), ControlId("Form3.HScroll1"));
    (void)TakeReported();
    struct Step {
        Key key;
        int value;
    };
    for (const Step& s :
         {Step{Key::Right, 501}, Step{Key::Left, 500}, Step{Key::Up, 499}, Step{Key::Down, 500},
          Step{Key::PageDown, 600}, Step{Key::PageUp, 500}, Step{Key::End, 1000},
          Step{Key::PageDown, 1000}, Step{Key::Home, 0}, Step{Key::Left, 0}}) {
        const int before = ui->ScrollValue("Form3.HScroll1");
        driver->PressKey(form, s.key);
        EXPECT_EQ(ui->ScrollValue("Form3.HScroll1"), s.value) << static_cast<int>(s.key);
        const std::vector<Reported> changes =
            s.value == before ? std::vector<Reported>{}
                              : std::vector<Reported>{{"Form3.HScroll1", UiEvent::Change}};
        EXPECT_EQ(TakeReported(), changes) << static_cast<int>(s.key);
    }
    ui->UnloadForm(form);
}

TEST_P(WindowLayerContract, EnterPressesTheFocusedButtonElseTheDefaultOneAndEscapeCloses) {
    const FormId form = "Form3";
    ui->ShowForm(form);
    (void)TakeReported();
    driver->PressKey(form, Key::Enter); // on the scroll bar
    EXPECT_EQ(TakeReported(), (std::vector<Reported>{{*DefaultButton(form), UiEvent::Click}}));
    driver->PressKey(form, Key::Tab);
    driver->PressKey(form, Key::Tab);
    ASSERT_EQ(driver->Focused(form), ControlId("Form3.Command2"));
    driver->PressKey(form, Key::Enter);
    driver->PressKey(form, Key::Space);
    EXPECT_EQ(TakeReported(), (std::vector<Reported>{{"Form3.Command2", UiEvent::Click},
                                                     {"Form3.Command2", UiEvent::Click}}));
    driver->PressKey(form, Key::Escape);
    EXPECT_EQ(TakeReported(), (std::vector<Reported>{{"Form3", UiEvent::Close}}));
    ui->UnloadForm(form);

    ui->ShowForm("frmAbout");
    driver->PressKey("frmAbout", Key::BackTab);
    ASSERT_EQ(driver->Focused("frmAbout"), ControlId("frmAbout.Label11")) << "the link";
    (void)TakeReported();
    driver->PressKey("frmAbout", Key::Enter);
    driver->PressKey("frmAbout", Key::Space); // a label the keyboard reaches, as a button
    EXPECT_EQ(TakeReported(), (std::vector<Reported>(2, {"frmAbout.Label11", UiEvent::Click})));
    ui->UnloadForm("frmAbout");
}

TEST_P(WindowLayerContract, OnlyTheLinkTheWindowAndLabel10ReportThePointerOverTheAboutWindow) {
    ui->ShowForm("frmAbout");
    struct Case {
        ControlId over;
        std::vector<Reported> reported;
    };
    for (const Case& c : {Case{"frmAbout.Label11", {{"frmAbout.Label11", UiEvent::MouseMove}}},
                          Case{"frmAbout.Label3", {}}, Case{"frmAbout.lblVersion", {}},
                          Case{"frmAbout.Picture1", {}}, Case{"frmAbout.cmdOK", {}},
                          Case{"frmAbout.Label10", {{"frmAbout.Label10", UiEvent::MouseMove}}},
                          Case{"frmAbout", {{"frmAbout", UiEvent::MouseMove}}}}) {
        (void)TakeReported();
        driver->PointerOver(c.over);
        EXPECT_EQ(TakeReported(), c.reported) << c.over;
    }
    ui->UnloadForm("frmAbout");
}

TEST_P(WindowLayerContract, TheTitleCarriesTheUnsavedMarkWhileSaveIsEnabled) {
    ui->SetCaption("Form1", "Adultify");
    ui->ShowForm("Form1");
    const std::string clean = driver->TitleShown("Form1");
    EXPECT_EQ(clean, "Adultify");
    ui->SetEnabled(*UnsavedMarker("Form1"), true);
    EXPECT_EQ(driver->TitleShown("Form1"), "*Adultify") << "the same mark in every layer";
    EXPECT_EQ(ui->Caption("Form1"), "Adultify") << "the program's own text has no mark";
    ui->SetCaption("Form1", "Adultify (read-only) [*]");
    EXPECT_EQ(driver->TitleShown("Form1"), "*Adultify (read-only) [*]");
    ui->SetEnabled(*UnsavedMarker("Form1"), false);
    EXPECT_EQ(driver->TitleShown("Form1"), "Adultify (read-only) [*]");
}

TEST_P(WindowLayerContract, ControlCharactersFromASaveAreDrawnAsThePlaceholderAndKeptAsGiven) {
    // ESC with a screen-clearing sequence, TAB, CR, BEL, DEL and the C1 CSI; a no-break space
    // (C2 A0), an accented letter, Cyrillic and a character beyond 16 bits are text.
    const std::string given =
        "Ann\x1b[2J\tB\r\x07\x7f\xc2\x9b!\xc2\xa0\xc3\xa9\xd0\xa1\xF0\x9F\x98\x80";
    const std::string drawn =
        "Ann\uFFFD[2J\uFFFDB\uFFFD\uFFFD\uFFFD\uFFFD!\u00A0\u00E9\u0421\U0001F600";
    ui->ShowForm("Form1");
    ui->ListAdd("List1", given);
    ui->ListAdd("List1", "Bob");
    ui->ListAdd("Combo1", given);
    ui->ListSelect("Combo1", 0);
    ui->SetCaption("Form1", given);
    EXPECT_EQ(driver->LineShown("List1", 0), drawn);
    EXPECT_EQ(driver->LineShown("List1", 1), "Bob");
    EXPECT_EQ(driver->LineShown("Combo1", 0), drawn);
    EXPECT_EQ(driver->TitleShown("Form1"), drawn);
    EXPECT_EQ(ui->ListItem("List1", 0), given) << "the program reads back what it gave";
    EXPECT_EQ(ui->ListItem("Combo1", 0), given);
    EXPECT_EQ(ui->Caption("Combo1"), given);
    EXPECT_EQ(ui->Caption("Form1"), given);
}

// Sizes and texts measured in pixels: run again at 150 % and 200 % (QT_SCALE_FACTOR).
// A box is as wide as the lines its text breaks by itself (the thumbnail warning's longest),
// never wrapping one mid-sentence; a text of one line is shown whole, wrapped or not.
TEST_P(WindowLayerContract, AMessagesOwnLineBreaksHoldAtEveryScale) {
    const std::string longest =
        "Using this option may destroy your Sim or may cause your game to crash.";
    struct Case {
        std::string text;
        int fewest, most;
    };
    for (const Case& c :
         {Case{"WARNING\n" + longest + "\n" + longest + "\n\nDo you still wish to proceed?", 5, 5},
          Case{"You have unsaved Data. Would you like to save it now?", 1, 3}}) {
        driver->AnswerNextMessage(MsgAnswer::No);
        (void)ui->ShowMessage(c.text, MsgButtons::YesNo, MsgIcon::Exclamation, "WARNING");
        EXPECT_GE(driver->LastMessage().lines, c.fewest) << c.text;
        EXPECT_LE(driver->LastMessage().lines, c.most) << c.text;
    }
}

TEST_P(WindowLayerContract, OnlyThePathDialogCanBeResizedAtEveryScale) {
    for (FormId form : AllForms()) {
        ui->ShowForm(form);
        EXPECT_EQ(driver->Resizable(form), form == FormId("Form2")) << form;
        ui->UnloadForm(form);
    }
}

TEST_P(WindowLayerContract, ThePathDialogsListsGrowWithItAndItsButtonsKeepToTheEdges) {
    ui->ShowForm("Form2");
    driver->ResizeClient("Form2", 376 + 124, 316 + 84);
    struct Case {
        ControlId control;
        LaidOut expected;
    };
    for (const Case& c :
         {Case{"Form2.Dir1", {8, 8, 484, 284}}, Case{"Form2.Text1", {8, 298, 484, 21}},
          Case{"Form2.Drive1", {8, 325, 484, 21}}, Case{"Form2.Command1", {8, 367, 73, 25}},
          Case{"Form2.Command3", {419, 367, 73, 25}}}) {
        const LaidOut at = driver->Placed(c.control);
        EXPECT_NEAR(at.x, c.expected.x, 1) << c.control;
        EXPECT_NEAR(at.y, c.expected.y, 1) << c.control;
        EXPECT_NEAR(at.width, c.expected.width, 1) << c.control;
        if (c.control.Kind() != ControlKind::DriveList) { // a drop-down's height is its font's
            EXPECT_NEAR(at.height, c.expected.height, 1) << c.control;
        }
    }
    driver->ResizeClient("Form2", 100, 100);
    EXPECT_NEAR(driver->Placed("Form2.Command3").x, 295, 1) << "never smaller than laid out";
    ui->UnloadForm("Form2");
}

TEST_P(WindowLayerContract, DialogsOpenCentredOnTheMainWindow) {
    ui->ShowForm("Form1");
    driver->PutWindowAt("Form1", 40, 30);
    const LaidOut main = driver->WindowPlace("Form1");
    auto centred = [&](FormId form) {
        const LaidOut dialog = driver->WindowPlace(form);
        EXPECT_NEAR(dialog.x + dialog.width / 2, main.x + main.width / 2, 2) << form;
        EXPECT_NEAR(dialog.y + dialog.height / 2, main.y + main.height / 2, 2) << form;
    };
    for (FormId form : AllForms()) {
        if (form.Design().style != WindowStyle::Dialog) continue;
        ui->ShowForm(form);
        centred(form);
        ui->UnloadForm(form);
    }
    bool seen = false;
    driver->WhenModal([&](FormId form) {
        centred(form);
        seen = true;
        ui->UnloadForm(form);
    });
    ui->LoadForm("Form3");
    ui->ShowModal("Form3");
    EXPECT_TRUE(seen);
}

TEST_P(WindowLayerContract, EveryTextFitsItsControlAtEveryScale) {
    for (FormId form : AllForms()) {
        ui->ShowForm(form);
        // A menu sizes itself; the file list's caption is its pattern, never shown.
        for (const ControlDesign& c : form.Controls()) {
            const bool shown = !c.caption.empty() && c.kind != ControlKind::Menu &&
                               c.kind != ControlKind::FileList;
            EXPECT_TRUE(!shown || driver->TextFits(form.IdOf(c))) << c.name << ": " << c.caption;
        }
        ui->UnloadForm(form);
    }
    // The longest texts the program writes into fixed controls.
    struct Written {
        ControlId control;
        const char* text;
    };
    for (const Written& w :
         {Written{"Label18", "1000"}, Written{"Label7", "1000"},
          Written{"Form3.Frame1", "Status Change - Mechanical"},
          Written{"Form3.Label1", "Mechanical:"}, Written{"Form3.Label3", " 10 / 0%"},
          Written{"Form3.Label2", "1000"}, Written{"frmSplash.lblVersion", "Version 1.2.8"},
          Written{"frmSplash.Label1", "Find Neighbourhoods - 99"},
          Written{"Label3", "Find Residents (Neighbourhood 99)"}}) {
        ui->ShowForm(w.control.Form());
        ui->SetCaption(w.control, w.text);
        EXPECT_TRUE(driver->TextFits(w.control)) << w.control << ": " << w.text;
        ui->UnloadForm(w.control.Form());
    }
    ui->ShowForm("Form1");
    ui->ListAdd("List2", "2:b002fcchd_01,BODY=b002fcchd_01,HEAD-HEAD=c003fc_01,HAND=lhand,");
    ui->ListAdd("List2", "Adjusting Personality due to life change: nice, active, playful");
    EXPECT_TRUE(driver->TextFits("List2")) << "a list scrolls sideways to its longest line";
}

} // namespace adultify
