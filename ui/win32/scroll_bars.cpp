// Scroll bars: their range, value and the user's moves.

#include "ui/win32/layer_control.h"

#include <algorithm>
#include <optional>

namespace adultify::win32 {

namespace {

// A scroll bar with the focus blinks its thumb with a caret, which Wine leaves where the thumb
// was when the program moves it, blinking there as a ghost thumb: it is hidden while the bar
// repaints and put back on the thumb.
void MoveThumb(HWND bar, const SCROLLINFO& info) {
    const bool focused = GetFocus() == bar;
    if (focused) HideCaret(bar);
    SetScrollInfo(bar, SB_CTL, &info, TRUE);
    if (!focused) return;
    SCROLLBARINFO thumb{};
    thumb.cbSize = sizeof(thumb);
    if (GetScrollBarInfo(bar, OBJID_CLIENT, &thumb)) SetCaretPos(thumb.xyThumbTop + 1, 1);
    ShowCaret(bar);
}

// The user's move of a scroll bar as the key that moves it as far.
std::optional<Key> KeyOf(WORD request) {
    switch (request) {
    case SB_LINELEFT: return Key::Left;
    case SB_LINERIGHT: return Key::Right;
    case SB_PAGELEFT: return Key::PageUp;
    case SB_PAGERIGHT: return Key::PageDown;
    case SB_LEFT: return Key::Home;
    case SB_RIGHT: return Key::End;
    default: return std::nullopt;
    }
}

} // namespace

void Win32WindowSystem::SetScrollRange(ControlId bar, int min, int max, int smallChange,
                                       int largeChange) {
    Control& c = At(bar);
    c.scroll.SetRange({min, max, smallChange, largeChange});
    if (!c.hwnd) return;
    // No page: the thumb reaches the maximum, and a large change is only a step.
    const ScrollRange& r = c.scroll.Range();
    SCROLLINFO info{
        sizeof(info), SIF_RANGE | SIF_POS | SIF_PAGE, r.min, r.max, 0, c.scroll.Value(), 0};
    MoveThumb(c.hwnd, info);
}

bool Win32WindowSystem::SetScrollValue(ControlId bar, int value) {
    Control& c = At(bar);
    const bool changed = c.scroll.SetValue(value);
    if (c.hwnd) {
        SCROLLINFO info{sizeof(info), SIF_POS, 0, 0, 0, value, 0};
        MoveThumb(c.hwnd, info);
    }
    return changed;
}

int Win32WindowSystem::ScrollValue(ControlId bar) const {
    return At(bar).scroll.Value();
}

void Win32WindowSystem::OnScroll(ControlId bar, WPARAM wp) {
    Control& c = At(bar);
    const ScrollRange& range = c.scroll.Range();
    int value = 0;
    if (LOWORD(wp) == SB_THUMBPOSITION) { // the change comes when the thumb is let go
        SCROLLINFO info{sizeof(info), SIF_TRACKPOS, 0, 0, 0, 0, 0};
        GetScrollInfo(c.hwnd, SB_CTL, &info);
        value = std::clamp(info.nTrackPos, range.min, range.max);
    } else if (const std::optional<Key> key = KeyOf(LOWORD(wp))) {
        value = ScrollAfterKey(*key, c.scroll.Value(), range);
    } else {
        return;
    }
    if (!SetScrollValue(bar, value)) return;
    Send(bar, UiEvent::Change);
}

} // namespace adultify::win32
