#pragma once
// The design-time state of every window: controls, captions, initial states and layout in
// pixels. Both window implementations build their windows from it, so they cannot drift.

#include <span>
#include <string_view>

namespace adultify {

enum class ControlKind {
    Label,
    ValueLabel,  // centred text in a single-line border
    StatusLabel, // single-line border
    Frame,
    Button,
    List,
    Combo,
    Picture,
    HiddenPicture, // holds an image only; lies outside the visible area
    ScrollBar,
    Shape,
    Line,
    DirList,
    DriveList,
    FileList,
    Menu,
    LinkLabel,
};

struct ControlDesign {
    std::string_view name; // "Label3"; on other windows than Form1 "Form3.Label2"
    ControlKind kind;
    std::string_view parent; // container control, or "" for the window itself (menus: the menu)
    int x, y, width, height; // pixels at 100 %, relative to the parent
    std::string_view caption = {};
    bool enabled = true;
    bool checked = false;
    bool rightAligned = false;
};

struct FormDesign {
    std::string_view name;
    std::string_view caption;
    int width, height; // client area, pixels
    std::span<const ControlDesign> controls;
};

[[nodiscard]] std::span<const FormDesign> AllFormDesigns();
// The design of a window by name; throws std::out_of_range for an unknown one.
[[nodiscard]] const FormDesign& FormDesignOf(std::string_view form);
// The window a control belongs to: the part before the dot, or "Form1".
[[nodiscard]] std::string_view FormOfControl(std::string_view control);

// The picture box that holds the stock picture (a red prohibition sign on black) from the start.
inline constexpr std::string_view kStockPictureBox = "Picture4";

inline constexpr std::string_view kHomePage = "https://adultify.example.org/";
inline constexpr std::string_view kSupportAddress = "support@adultify.example.org";

} // namespace adultify
