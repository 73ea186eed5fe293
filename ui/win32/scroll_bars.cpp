// Scroll bars: their range, value and the user's moves.

#include "ui/win32/layer_control.h"

#include <algorithm>
#include <stdexcept>

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

} // namespace

void Win32WindowSystem::SetScrollRange(ControlId bar, int min, int max, int smallChange,
                                       int largeChange) {
    Control& c = At(bar);
    c.scrollMin = min;
    c.scrollMax = max;
    c.smallChange = smallChange;
    c.largeChange = largeChange;
    c.scrollValue = std::clamp(c.scrollValue, min, max);
    if (!c.hwnd) return;
    // No page: the thumb reaches the maximum, and a large change is only a step.
    SCROLLINFO info{sizeof(info), SIF_RANGE | SIF_POS | SIF_PAGE, min, max, 0, c.scrollValue, 0};
    MoveThumb(c.hwnd, info);
}

bool Win32WindowSystem::SetScrollValue(ControlId bar, int value) {
    Control& c = At(bar);
    if (value < c.scrollMin || value > c.scrollMax)
        throw std::out_of_range("scroll bar value outside its range");
    const bool changed = c.scrollValue != value;
    c.scrollValue = value;
    if (c.hwnd) {
        SCROLLINFO info{sizeof(info), SIF_POS, 0, 0, 0, value, 0};
        MoveThumb(c.hwnd, info);
    }
    return changed;
}

int Win32WindowSystem::ScrollValue(ControlId bar) const {
    return At(bar).scrollValue;
}

void Win32WindowSystem::OnScroll(ControlId bar, WPARAM wp) {
    Control& c = At(bar);
    int value = c.scrollValue;
    switch (LOWORD(wp)) {
    case SB_LINELEFT: value -= c.smallChange; break;
    case SB_LINERIGHT: value += c.smallChange; break;
    case SB_PAGELEFT: value -= c.largeChange; break;
    case SB_PAGERIGHT: value += c.largeChange; break;
    case SB_LEFT: value = c.scrollMin; break;
    case SB_RIGHT: value = c.scrollMax; break;
    case SB_THUMBPOSITION: { // the change comes when the thumb is let go
        SCROLLINFO info{sizeof(info), SIF_TRACKPOS, 0, 0, 0, 0, 0};
        GetScrollInfo(c.hwnd, SB_CTL, &info);
        value = info.nTrackPos;
        break;
    }
    default: return;
    }
    value = std::clamp(value, c.scrollMin, c.scrollMax);
    if (!SetScrollValue(bar, value)) return;
    Send(bar, UiEvent::Change);
}

} // namespace adultify::win32
