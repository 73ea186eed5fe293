// Lists and drop-downs: their lines, marks and the line chosen.

#include "ui/win32/layer_control.h"

#include <algorithm>

namespace adultify::win32 {

namespace {
bool IsDropDown(ControlId id) {
    return id.Kind() == ControlKind::Combo || id.Kind() == ControlKind::DriveList;
}
} // namespace

// A list refilled (a neighbourhood's residents, say) is not repainted line by line: it stays
// as it was on the screen until the command yields to the user, then is measured and painted
// once (FinishFills). Lines added without a clear, a command's log, show at once.
void Win32WindowSystem::ListClear(ControlId list) {
    Control& c = At(list);
    c.items.clear();
    c.marks.Clear();
    c.chosen = -1;
    c.widest = 0;
    c.measured = 0;
    if (!c.hwnd) return;
    if (IsDropDown(list)) {
        SendMessageW(c.hwnd, CB_RESETCONTENT, 0, 0);
        return;
    }
    if (!c.filling) {
        SendMessageW(c.hwnd, WM_SETREDRAW, FALSE, 0);
        c.filling = true;
        fills_.push_back(list);
    }
    SendMessageW(c.hwnd, LB_RESETCONTENT, 0, 0);
    // Wine's list box invalidates itself on a reset even with its redraw off, and then paints
    // the empty list at the command's next yield: a second repaint, and a flash of no lines.
    ValidateRect(c.hwnd, nullptr);
}

void Win32WindowSystem::ListAdd(ControlId list, std::string_view item) {
    Control& c = At(list);
    c.items.emplace_back(item);
    if (!c.hwnd) return;
    const std::wstring line = WidenShown(item);
    // Adding keeps the selection as it was.
    SendMessageW(c.hwnd, IsDropDown(list) ? CB_ADDSTRING : LB_ADDSTRING, 0,
                 reinterpret_cast<LPARAM>(line.c_str()));
    if (!IsDropDown(list) && !c.filling) MeasureLines(list);
}

// A line wider than the list scrolls sideways rather than being cut off, as far as its mark. A
// refilled list keeps its extent until the fill ends, and is given a new one only when it
// differs: each change redraws the list's frame and scroll bar.
void Win32WindowSystem::MeasureLines(ControlId list) {
    Control& c = At(list);
    if (c.measured >= c.items.size()) {
        ShowExtent(c);
        return;
    }
    // A list box writes its lines a pixel in from the left edge.
    const int width =
        WidestLine(c.hwnd, c.items, c.measured,
                   [&](std::size_t i) {
                       return LineLead(list, static_cast<int>(i)) + MarkWidth(list, c.marks.Of(i));
                   }) +
        Scale(list.Form(), 3);
    c.measured = c.items.size();
    c.widest = std::max(c.widest, width);
    ShowExtent(c);
}

void Win32WindowSystem::ShowExtent(Control& c) {
    if (c.filling || c.widest == c.extent || !c.hwnd) return;
    c.extent = c.widest;
    SendMessageW(c.hwnd, LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(c.extent), 0);
}

void Win32WindowSystem::ListSetMark(ControlId list, int index, LineMark mark) {
    Control& c = At(list);
    if (!c.marks.Set(index, ListCount(list), mark)) return;
    if (!c.hwnd || IsDropDown(list)) return;
    c.measured = std::min(c.measured, static_cast<std::size_t>(index));
    if (c.filling) return; // measured and painted once the fill ends
    MeasureLines(list);
    RECT r{};
    if (SendMessageW(c.hwnd, LB_GETITEMRECT, static_cast<WPARAM>(index),
                     reinterpret_cast<LPARAM>(&r)) != LB_ERR)
        InvalidateRect(c.hwnd, &r, TRUE);
}

LineMark Win32WindowSystem::ListMark(ControlId list, int index) const {
    return At(list).marks.Of(index);
}

void Win32WindowSystem::FinishFills() {
    ShowCaptions();
    std::vector<ControlId> fills;
    fills.swap(fills_);
    for (ControlId list : fills) {
        Control& c = At(list);
        if (!c.filling || !c.hwnd) continue; // its window has gone since
        c.filling = false;
        MeasureLines(list);
        SendMessageW(c.hwnd, WM_SETREDRAW, TRUE, 0);
        InvalidateRect(c.hwnd, nullptr, TRUE);
    }
}

int Win32WindowSystem::ListCount(ControlId list) const {
    return static_cast<int>(At(list).items.size());
}

std::string Win32WindowSystem::ListItem(ControlId list, int index) const {
    const Control& c = At(list);
    if (index < 0 || index >= static_cast<int>(c.items.size())) return {};
    return c.items[static_cast<std::size_t>(index)];
}

bool Win32WindowSystem::ListSelected(ControlId list, int index) const {
    const Control& c = At(list);
    if (index < 0) return false;
    // A list or drop-down: the line the program last saw, which each pick (Picked) and each
    // choice the program makes keep in step with the window. No message per question, where a
    // click asks about each of 999 lines. A folder or file list's highlight is the window's.
    const ControlKind kind = list.Kind();
    if (!c.hwnd || kind == ControlKind::List || kind == ControlKind::Combo)
        return c.chosen == index;
    const LRESULT shown =
        SendMessageW(c.hwnd, IsDropDown(list) ? CB_GETCURSEL : LB_GETCURSEL, 0, 0);
    return shown == index;
}

void Win32WindowSystem::ListSelect(ControlId list, int index) {
    Control& c = At(list);
    c.chosen = index >= 0 && index < ListCount(list) ? index : -1;
    ShowChoice(list);
}

void Win32WindowSystem::ShowChoice(ControlId list) {
    const Control& c = At(list);
    if (!c.hwnd) return;
    const auto chosen = static_cast<WPARAM>(c.chosen); // -1 selects nothing
    SendMessageW(c.hwnd, IsDropDown(list) ? CB_SETCURSEL : LB_SETCURSEL, chosen, 0);
}

// A user's pick in a list or drop-down: a click the program takes, or undone.
void Win32WindowSystem::Picked(ControlId control) {
    Control& c = At(control);
    const auto shown = static_cast<int>(
        SendMessageW(c.hwnd, IsDropDown(control) ? CB_GETCURSEL : LB_GETCURSEL, 0, 0));
    const bool list = !IsDropDown(control);
    if (list && shown == c.chosen) return;
    const int before = c.chosen;
    c.chosen = shown;
    if (!control.Reports(UiEvent::Click) || Send(control, UiEvent::Click)) return;
    // Held back (a command is running, and derives its paths from this control): the control
    // shows again what the program holds.
    At(control).chosen = before;
    ShowChoice(control);
}

} // namespace adultify::win32
