#pragma once
// Every window and control as the program lays it out: kind, place, caption, initial state,
// look and the events it reports. Each window layer builds its windows from this one table and
// compares no names, so that the layers cannot drift apart and a new one has nothing to guess.

#include "ui/ui_event.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace adultify {

enum class ControlKind : std::uint8_t {
    Window,
    Label,
    Frame,
    Button,
    List,
    Combo,
    Picture,
    HiddenPicture, // holds an image only and is never shown
    ScrollBar,
    Shape,
    Line,
    DirList,
    DriveList,
    FileList,
    // A box to type or paste a folder in: it shows the window's folder list's open folder, and
    // Enter opens the folder typed there in that list.
    FolderBox,
    Menu,
};

enum class WindowStyle : std::uint8_t { Main, Dialog, Splash };
enum class Align : std::uint8_t { Left, Right, Centre };
// Narrow: the skill and trait captions keep to their column, as in the small dialog font of old.
enum class Face : std::uint8_t { Dialog, Narrow, Link };
enum class Ink : std::uint8_t { Default, White };
// What a picture box shows from the start.
enum class Image : std::uint8_t { None, Stock, Splash };

// How a control follows a window the user makes larger than laid out: it grows with the width
// or the height, or keeps its distance to the right or bottom edge.
using Follow = std::uint8_t;
inline constexpr Follow kGrowWide = 1, kGrowTall = 2, kKeepRight = 4, kKeepBottom = 8;

struct ControlDesign {
    std::string_view name;     // "Label3"; on other windows than Form1 "Form3.Label2"
    ControlKind kind;          //
    std::string_view parent;   // container control; "" the window itself; a menu entry's menu
    int x = 0, y = 0;          // pixels at 100 %, relative to the parent
    int width = 0, height = 0; // a window: its client area
    std::string_view caption = {};
    bool enabled = true;
    bool checked = false;
    bool checkable = false;
    bool border = false; // a single-line box (value labels, status line, picture boxes)
    Align align = Align::Left;
    Face face = Face::Dialog;
    Ink ink = Ink::Default;
    bool wrap = false;
    Image image = Image::None;
    WindowStyle style = WindowStyle::Dialog; // windows only
    EventMask events = 0;                    // what the control reports to the program
    bool tabStop = false;      // a label the keyboard reaches (Enter or Space clicks it)
    bool enterPresses = false; // the window's default button: Enter presses it
    // Enabled while there are unsaved edits: the window's title then carries the platform's mark.
    bool marksUnsaved = false;
    bool sizable = false; // a window the user can make larger than laid out
    Follow follows = 0;   // a control of a sizable window
};

struct LaidOut {
    int x = 0, y = 0, width = 0, height = 0;
    friend bool operator==(const LaidOut&, const LaidOut&) = default;
};

// Where a control lies, relative to its parent at 100 %, when its window's client area is
// `wider` and `taller` pixels larger than laid out.
[[nodiscard]] constexpr LaidOut PlaceFollowing(const ControlDesign& c, int wider, int taller) {
    LaidOut r{c.x, c.y, c.width, c.height};
    if (c.follows & kGrowWide) r.width += wider;
    if (c.follows & kGrowTall) r.height += taller;
    if (c.follows & kKeepRight) r.x += wider;
    if (c.follows & kKeepBottom) r.y += taller;
    return r;
}

// What a window layer keeps of a control, as its row starts it: the caption, enabled or not,
// checked or not; all else at the record's defaults.
template <typename Kept> [[nodiscard]] Kept AsLaidOut(const ControlDesign& c) {
    Kept kept{};
    kept.caption = std::string(c.caption);
    kept.enabled = c.enabled;
    kept.checked = c.checked;
    return kept;
}

namespace design {

using K = ControlKind;

constexpr ControlDesign Window(std::string_view name, std::string_view caption, int width,
                               int height, WindowStyle style, EventMask events) {
    return {.name = name,
            .kind = K::Window,
            .parent = {},
            .width = width,
            .height = height,
            .caption = caption,
            .style = style,
            .events = events};
}

constexpr ControlDesign Control(std::string_view name, ControlKind kind, std::string_view parent,
                                int x, int y, int width, int height, std::string_view caption = {},
                                EventMask events = 0) {
    return {.name = name,
            .kind = kind,
            .parent = parent,
            .x = x,
            .y = y,
            .width = width,
            .height = height,
            .caption = caption,
            .events = events};
}

constexpr ControlDesign Disabled(ControlDesign c) {
    c.enabled = false;
    return c;
}

// A caption right-aligned before its value.
constexpr ControlDesign Caption(std::string_view name, std::string_view parent, int x, int y,
                                int width, std::string_view caption, EventMask events = 0) {
    ControlDesign c = Control(name, K::Label, parent, x, y, width, 15, caption, events);
    c.align = Align::Right;
    c.face = Face::Narrow;
    return c;
}

// A number centred in a box.
constexpr ControlDesign Value(std::string_view name, int x, int y, int width,
                              EventMask events = 0) {
    ControlDesign c = Control(name, K::Label, "Frame2", x, y, width, 15, {}, events);
    c.align = Align::Centre;
    c.border = true;
    c.tabStop = (events & kClick) != 0; // the skill values open the skill dialog
    return c;
}

constexpr ControlDesign Picture(std::string_view name, std::string_view parent, int x, int y,
                                int width, int height, bool border, Image image = Image::None) {
    ControlDesign c = Control(name, K::Picture, parent, x, y, width, height);
    c.border = border;
    c.image = image;
    return c;
}

constexpr ControlDesign Menu(std::string_view name, std::string_view menu, std::string_view caption,
                             bool enabled = true) {
    ControlDesign c = Control(name, K::Menu, menu, 0, 0, 0, 0, caption, kClick);
    c.enabled = enabled;
    return c;
}

constexpr ControlDesign Following(ControlDesign c, Follow follows) {
    c.follows = follows;
    return c;
}

constexpr ControlDesign DefaultButton(ControlDesign c) {
    c.enterPresses = true;
    return c;
}

// An entry of the games menu: filled in at start-up, shown only with a caption.
constexpr ControlDesign GameEntry(std::string_view name) {
    ControlDesign c = Menu(name, "menu_games", {});
    c.checkable = true;
    return c;
}

constexpr ControlDesign SplashLabel(std::string_view name, int x, int y, int width,
                                    std::string_view caption) {
    ControlDesign c = Control(name, K::Label, "", x, y, width, 17, caption);
    c.align = Align::Centre;
    c.ink = Ink::White;
    return c;
}

constexpr ControlDesign Shape2(std::string_view name, int x) {
    return Control(name, K::Shape, "Form3.Frame1", x, 84, 8, 29);
}

// A column's caption above a list: a click on it, or Enter or Space, sorts by that column.
constexpr ControlDesign SortCaption(std::string_view name, int x, std::string_view caption,
                                    int width) {
    ControlDesign c = Control(name, K::Label, "", x, 8, width, 17, caption, kClick);
    c.tabStop = true;
    return c;
}

constexpr ControlDesign AboutLabel(std::string_view name, int x, int y, int width, int height,
                                   std::string_view caption, EventMask events = 0) {
    ControlDesign c = Control(name, K::Label, "", x, y, width, height, caption, events);
    c.wrap = height >= 30;
    return c;
}

} // namespace design

// The project's own page and support address, set in CMake. Empty until the project has
// them: the about window then shows no link, and the fatal report names no address.
inline constexpr std::string_view kHomePage = ADULTIFY_HOME_PAGE;
inline constexpr std::string_view kSupportAddress = ADULTIFY_SUPPORT_ADDRESS;

// Windows first, each followed by its controls in the order they are created and tabbed through.
inline constexpr ControlDesign kControlDesigns[] = {
    design::Window("Form1", "Adultify", 499, 273, WindowStyle::Main, kClose),
    design::Control("Frame3", ControlKind::Frame, "", 8, 8, 153, 49, "Neighbourhood", kMouseMove),
    design::Control("Combo1", ControlKind::Combo, "Frame3", 16, 16, 121, 21, {}, kClick),
    design::Control("Frame1", ControlKind::Frame, "", 7, 63, 153, 201, "People", kMouseMove),
    design::Control("List1", ControlKind::List, "Frame1", 7, 21, 135, 134, {}, kClick),
    design::Disabled(design::Control("Command1", ControlKind::Button, "Frame1", 7, 168, 135, 25,
                                     "&Adultify", kClick)),
    design::Control("Frame2", ControlKind::Frame, "", 168, 8, 325, 233, "Personal Infomation"),
    design::Picture("Picture1", "Frame2", 4, 16, 25, 25, true),
    design::Caption("Label1", "Frame2", 30, 24, 43, "Nice:"),
    design::Caption("Label2", "Frame2", 30, 40, 43, "Active:"),
    design::Caption("Label4", "Frame2", 4, 56, 69, "Playful:"),
    design::Caption("Label5", "Frame2", 4, 72, 69, "Outgoing:"),
    design::Caption("Label6", "Frame2", 4, 88, 69, "Neat:"),
    design::Value("Label7", 80, 24, 41),
    design::Value("Label8", 80, 40, 41),
    design::Value("Label9", 80, 56, 41),
    design::Value("Label10", 80, 72, 41),
    design::Value("Label11", 80, 88, 41),
    design::Control("Line2", ControlKind::Line, "Frame2", 16, 112, 104, 1),
    design::Caption("Label12", "Frame2", 2, 120, 63, "Cooking:", kClick),
    design::Caption("Label13", "Frame2", 2, 136, 63, "Mechanical:", kClick),
    design::Caption("Label14", "Frame2", 2, 152, 63, "Charisma:", kClick),
    design::Caption("Label15", "Frame2", 2, 168, 63, "Body:", kClick),
    design::Caption("Label16", "Frame2", 2, 184, 63, "Logic:", kClick),
    design::Caption("Label17", "Frame2", 2, 200, 63, "Creativity:", kClick),
    design::Value("Label18", 72, 120, 49, kClick),
    design::Value("Label19", 72, 136, 49, kClick),
    design::Value("Label20", 72, 152, 49, kClick),
    design::Value("Label21", 72, 168, 49, kClick),
    design::Value("Label22", 72, 184, 49, kClick),
    design::Value("Label23", 72, 200, 49, kClick),
    design::Control("List2", ControlKind::List, "Frame2", 128, 24, 189, 199, {}, kClick),
    [] {
        ControlDesign c = design::Control("Label3", ControlKind::Label, "", 168, 248, 321, 17);
        c.border = true;
        return c;
    }(),
    design::Control("Picture2", ControlKind::HiddenPicture, "", 8, 300, 105, 41),
    [] {
        ControlDesign c =
            design::Control("Picture4", ControlKind::HiddenPicture, "", 120, 300, 25, 25);
        c.image = Image::Stock;
        return c;
    }(),
    design::Control("menu_file", ControlKind::Menu, "", 0, 0, 0, 0, "&File"),
    design::Menu("menu_path", "menu_file", "&Path"),
    design::Menu("menu_snapshots", "menu_file", "&Snapshots..."),
    design::Menu("menu_children", "menu_file", "&Children..."),
    design::Control("menu_games", ControlKind::Menu, "menu_file", 0, 0, 0, 0, "&Games"),
    design::GameEntry("menu_game(1)"),
    design::GameEntry("menu_game(2)"),
    design::GameEntry("menu_game(3)"),
    design::GameEntry("menu_game(4)"),
    design::GameEntry("menu_game(5)"),
    design::GameEntry("menu_game(6)"),
    design::GameEntry("menu_game(7)"),
    design::GameEntry("menu_game(8)"),
    design::GameEntry("menu_game(9)"),
    design::Control("menu_sep1", ControlKind::Menu, "menu_file", 0, 0, 0, 0, "-"),
    design::Menu("menu_exit", "menu_file", "E&xit"),
    [] {
        ControlDesign c = design::Menu("menu_Save", "", "&Save", false);
        c.marksUnsaved = true;
        return c;
    }(),
    design::Menu("menu_iff", "", "&IFF"),
    design::Control("menu_Options", ControlKind::Menu, "", 0, 0, 0, 0, "&Options"),
    [] {
        ControlDesign c = design::Menu("menu_personality", "menu_Options", "Auto &Personality");
        c.checkable = true;
        c.checked = true;
        return c;
    }(),
    design::Menu("menu_future", "menu_Options", "Future Option", false),
    design::Control("menu_sep2", ControlKind::Menu, "menu_Options", 0, 0, 0, 0, "-"),
    design::Menu("menu_fix_thumbnails", "menu_Options", "Fix Thumbnails"),
    design::Control("menu_help", ControlKind::Menu, "", 0, 0, 0, 0, "&Help"),
    design::Menu("menu_about", "menu_help", "&About"),

    // Wide enough for a game folder's whole name; larger at the user's wish.
    [] {
        ControlDesign c =
            design::Window("Form2", "The Sims Path", 376, 316, WindowStyle::Dialog, kClose);
        c.sizable = true;
        return c;
    }(),
    design::Following(
        design::Control("Form2.Dir1", ControlKind::DirList, "", 8, 8, 360, 200, {}, kChange),
        kGrowWide | kGrowTall),
    design::Following(design::Control("Form2.Text1", ControlKind::FolderBox, "", 8, 214, 360, 21),
                      kGrowWide | kKeepBottom),
    design::Following(
        design::Control("Form2.Drive1", ControlKind::DriveList, "", 8, 241, 360, 21, {}, kChange),
        kGrowWide | kKeepBottom),
    design::Following(design::DefaultButton(design::Control("Form2.Command1", ControlKind::Button,
                                                            "", 8, 283, 73, 25, "&Ok", kClick)),
                      kKeepBottom),
    design::Following(design::Control("Form2.Command2", ControlKind::Button, "", 88, 283, 73, 25,
                                      "&Cancel", kClick),
                      kKeepBottom),
    design::Following(design::Control("Form2.Command3", ControlKind::Button, "", 295, 283, 73, 25,
                                      "&Browse…", kClick),
                      kKeepRight | kKeepBottom),
    design::Control("Form2.File1", ControlKind::FileList, "", 400, 8, 137, 136, "*.IFF"),

    design::Window("Form3", "Status Change", 179, 261, WindowStyle::Dialog, kClose),
    design::Control("Form3.Frame1", ControlKind::Frame, "", 4, 4, 169, 177, "Status Change"),
    design::Picture("Form3.Picture1", "Form3.Frame1", 8, 21, 118, 37, true),
    design::Picture("Form3.Picture2", "Form3.Frame1", 133, 14, 18, 60, true),
    design::Control("Form3.Shape1", ControlKind::Shape, "Form3.Frame1", 7, 77, 148, 43),
    design::Shape2("Form3.Shape2(0)", 14),
    design::Shape2("Form3.Shape2(1)", 28),
    design::Shape2("Form3.Shape2(2)", 42),
    design::Shape2("Form3.Shape2(3)", 56),
    design::Shape2("Form3.Shape2(4)", 70),
    design::Shape2("Form3.Shape2(5)", 84),
    design::Shape2("Form3.Shape2(6)", 98),
    design::Shape2("Form3.Shape2(7)", 112),
    design::Shape2("Form3.Shape2(8)", 126),
    design::Shape2("Form3.Shape2(9)", 140),
    design::Control("Form3.Label1", ControlKind::Label, "Form3.Frame1", 7, 126, 84, 17),
    design::Control("Form3.Label3", ControlKind::Label, "Form3.Frame1", 98, 126, 64, 15),
    design::Control("Form3.HScroll1", ControlKind::ScrollBar, "Form3.Frame1", 7, 147, 152, 17, {},
                    kChange),
    design::Control("Form3.Label2", ControlKind::Label, "Form3.Frame1", 98, 161, 58, 17, "Label2"),
    design::DefaultButton(design::Control("Form3.Command1", ControlKind::Button, "", 4, 189, 169,
                                          29, "&Accept Change", kClick)),
    design::Control("Form3.Command2", ControlKind::Button, "", 4, 224, 169, 29, "&Cancel Change",
                    kClick),

    // Exactly the picture's size: a wider window shows a strip of its own background.
    design::Window("frmSplash", "", 320, 240, WindowStyle::Splash, kKeyPress | kClose),
    design::Picture("frmSplash.Picture1", "", 0, 0, 320, 240, false, Image::Splash),
    design::SplashLabel("frmSplash.lblVersion", 7, 7, 308, "Version 0.0000"),
    design::SplashLabel("frmSplash.Label2", 7, 28, 308,
                        "Please make a backup of your neighbourhood first."),
    design::SplashLabel("frmSplash.Label1", 0, 222, 320, {}),

    design::Window("frmAbout", "About", 500, 327, WindowStyle::Dialog, kMouseMove | kClose),
    design::Picture("frmAbout.Picture1", "", 8, 8, 160, 120, false, Image::Splash),
    design::AboutLabel("frmAbout.lblVersion", 176, 8, 316, 17, "Version"),
    design::AboutLabel("frmAbout.lblDescription", 176, 28, 316, 17,
                       "Grows a child Sim of The Sims into an adult."),
    design::AboutLabel("frmAbout.Label1", 176, 48, 316, 17,
                       "Questions and reports: see the home page below."),
    design::AboutLabel("frmAbout.Label2", 176, 68, 316, 30,
                       "The Sims and its logos are trademarks of Electronic Arts Inc. and Maxis."),
    design::AboutLabel("frmAbout.Label3", 8, 136, 484, 17,
                       "Special Thanks to the following people"),
    design::AboutLabel("frmAbout.Label4", 24, 156, 468, 15, "The testers"),
    design::AboutLabel("frmAbout.Label5", 24, 172, 468, 15,
                       "The players who shared their neighbourhoods"),
    design::AboutLabel("frmAbout.Label6", 24, 188, 468, 15,
                       "The readers of the game's file formats"),
    design::AboutLabel("frmAbout.Label7", 24, 204, 468, 15, "The translators"),
    design::AboutLabel("frmAbout.Label8", 24, 220, 468, 15, "Everyone who reported a fault"),
    design::AboutLabel("frmAbout.Label9", 8, 240, 484, 17,
                       "for helping to make Adultify a reality:"),
    design::AboutLabel("frmAbout.Label10", 8, 264, 200, 17,
                       kHomePage.empty() ? "" : "Visit Adultifys web site at:", kMouseMove),
    [] {
        ControlDesign c = design::AboutLabel("frmAbout.Label11", 208, 264, 284, 17, kHomePage,
                                             kClick | kMouseMove);
        c.face = Face::Link;
        c.tabStop = true;
        return c;
    }(),
    design::DefaultButton(design::Control("frmAbout.cmdOK", ControlKind::Button, "", 336, 292, 156,
                                          27, "&I am Impressed!", kClick)),

    design::Window("frmSnapshots", "Snapshots", 360, 230, WindowStyle::Dialog, kClose),
    design::Control("frmSnapshots.List1", ControlKind::List, "", 8, 8, 344, 181, {}, kClick),
    design::Disabled(design::Control("frmSnapshots.cmdRestore", ControlKind::Button, "", 196, 197,
                                     75, 25, "&Restore", kClick)),
    // Enter closes: a restore replaces files, so it is never the default.
    design::DefaultButton(design::Control("frmSnapshots.cmdClose", ControlKind::Button, "", 277,
                                          197, 75, 25, "&Close", kClick)),

    // File, Children. The column captions sort by their column; Enter closes, as growing up
    // changes files and is never the default.
    design::Window("frmChildren", "Children", 420, 280, WindowStyle::Dialog, kClose),
    design::SortCaption("frmChildren.lblHood", 8, "Neighbourhood", 120),
    design::SortCaption("frmChildren.lblFamily", 132, "Family", 100),
    design::SortCaption("frmChildren.lblName", 236, "Name", 100),
    design::Control("frmChildren.List1", ControlKind::List, "", 8, 28, 404, 186, {}, kClick),
    design::Picture("frmChildren.picProgress", "", 8, 222, 404, 17, true),
    design::Disabled(design::Control("frmChildren.cmdMark", ControlKind::Button, "", 8, 247, 75, 25,
                                     "&Mark", kClick)),
    design::Disabled(design::Control("frmChildren.cmdOpen", ControlKind::Button, "", 89, 247, 75,
                                     25, "&Open", kClick)),
    design::Disabled(design::Control("frmChildren.cmdGrowUp", ControlKind::Button, "", 170, 247, 75,
                                     25, "&Grow Up", kClick)),
    design::Disabled(design::Control("frmChildren.cmdCancel", ControlKind::Button, "", 256, 247, 75,
                                     25, "Cancel", kClick)),
    design::DefaultButton(design::Control("frmChildren.cmdClose", ControlKind::Button, "", 337, 247,
                                          75, 25, "&Close", kClick)),
};

inline constexpr std::size_t kControlCount = std::size(kControlDesigns);

} // namespace adultify
