#pragma once
// What the keyboard does in every window layer: which controls Tab visits and in what order,
// what Enter answers in a message box, and how a scroll bar's keys move it. A layer whose
// platform does this by itself agrees with these rules; the others follow them.

#include "ui/control_id.h"
#include "ui/window_system.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <vector>

namespace adultify {

enum class Key : std::uint8_t {
    Tab,
    BackTab,
    Enter,
    Escape,
    Space,
    Left,
    Right,
    Up,
    Down,
    PageUp,
    PageDown,
    Home,
    End
};

[[nodiscard]] constexpr bool MovesAScrollBar(Key key) {
    return key >= Key::Left;
}

// Whether the control lies wholly inside its window's client area as laid out.
[[nodiscard]] constexpr bool LiesInsideItsWindow(ControlId control) {
    const ControlDesign& c = control.Design();
    const LaidOut at = InItsWindow({c.x, c.y, c.width, c.height}, c);
    const ControlDesign& w = control.Form().Design();
    return at.x >= 0 && at.y >= 0 && at.x + at.width <= w.width && at.y + at.height <= w.height;
}

// A control the keyboard reaches: one a user works with, inside the window's client area (the
// path dialog's file list lies beyond it and is never seen).
[[nodiscard]] constexpr bool TakesFocus(ControlId control) {
    switch (control.Kind()) {
    case ControlKind::Button:
    case ControlKind::List:
    case ControlKind::Combo:
    case ControlKind::ScrollBar:
    case ControlKind::DirList:
    case ControlKind::DriveList:
    case ControlKind::FileList:
    case ControlKind::FolderBox: return LiesInsideItsWindow(control);
    case ControlKind::Label: return control.Design().tabStop && LiesInsideItsWindow(control);
    default: return false;
    }
}

// The controls Tab visits, in the order of the layout table; a disabled one is passed over.
[[nodiscard]] inline std::vector<ControlId> TabOrder(FormId form) {
    std::vector<ControlId> order;
    for (const ControlDesign& c : form.Controls())
        if (TakesFocus(form.IdOf(c))) order.push_back(form.IdOf(c));
    return order;
}

// Where the focus is when a window opens: its first tab stop that is not a label, so that a
// link is reached by Tab but Enter first answers the window's own controls.
[[nodiscard]] inline std::optional<ControlId> FirstFocus(FormId form) {
    for (ControlId id : TabOrder(form))
        if (id.Kind() != ControlKind::Label && id.Design().enabled) return id;
    return std::nullopt;
}

// The window's default button, which Enter presses when the focus is not on a button.
[[nodiscard]] constexpr std::optional<ControlId> DefaultButton(FormId form) {
    for (const ControlDesign& c : form.Controls())
        if (c.enterPresses) return form.IdOf(c);
    return std::nullopt;
}

// The button Enter presses in a message box: No where Yes would change or discard files.
[[nodiscard]] constexpr MsgAnswer EnterAnswer(MsgButtons buttons) {
    switch (buttons) {
    case MsgButtons::Ok: return MsgAnswer::Ok;
    case MsgButtons::YesNoDefaultNo: return MsgAnswer::No;
    case MsgButtons::YesNo:
    case MsgButtons::YesNoCancel: break;
    }
    return MsgAnswer::Yes;
}

struct ScrollRange {
    int min = 0, max = 0, smallChange = 1, largeChange = 1;
};

// A scroll bar's value after a key, as on Windows: Left and Up go towards the minimum, Page Up
// and Page Down by a large change, Home and End to the ends. Other keys leave it.
[[nodiscard]] constexpr int ScrollAfterKey(Key key, int value, ScrollRange r) {
    long long v = value;
    switch (key) {
    case Key::Left:
    case Key::Up: v -= r.smallChange; break;
    case Key::Right:
    case Key::Down: v += r.smallChange; break;
    case Key::PageUp: v -= r.largeChange; break;
    case Key::PageDown: v += r.largeChange; break;
    case Key::Home: v = r.min; break;
    case Key::End: v = r.max; break;
    default: break;
    }
    return static_cast<int>(std::clamp<long long>(v, r.min, r.max));
}

} // namespace adultify
