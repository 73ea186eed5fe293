#include "ui/win32/message_box.h"

#include "ui/message_lines.h"
#include "ui/win32/from_integer.h"
#include "ui/win32/wide_text.h"

#include <commctrl.h>

#include <algorithm>
#include <string>
#include <vector>

namespace adultify::win32 {

namespace {

// The box being opened on this thread; a box opened from inside another nests.
thread_local HHOOK hook = nullptr;
thread_local MsgButtons opening = MsgButtons::Ok;

constexpr UINT_PTR kSubclass = 0xAD01;

// Windows ignores Escape and greys the close box when a box has no Cancel button; here both
// end it with the answer a box closed without a button gives.
LRESULT CALLBACK BoxProc(HWND box, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR buttons) {
    const auto kind = static_cast<MsgButtons>(buttons);
    const bool closes = msg == WM_CLOSE || (msg == WM_COMMAND && LOWORD(wp) == IDCANCEL);
    if (closes && kind != MsgButtons::YesNoCancel) {
        EndDialog(box, kind == MsgButtons::Ok ? IDOK : IDNO);
        return 0;
    }
    if (msg == WM_NCDESTROY) RemoveWindowSubclass(box, BoxProc, kSubclass);
    return DefSubclassProc(box, msg, wp, lp);
}

LRESULT CALLBACK WatchForBox(int code, WPARAM wp, LPARAM lp) {
    if (code == HCBT_ACTIVATE) {
        const auto box = Pointer<HWND>(wp);
        wchar_t cls[16] = {};
        GetClassNameW(box, cls, 16);
        if (lstrcmpW(cls, L"#32770") == 0) {
            SetWindowSubclass(box, BoxProc, kSubclass, static_cast<DWORD_PTR>(opening));
            EnableMenuItem(GetSystemMenu(box, FALSE), SC_CLOSE, MF_BYCOMMAND | MF_ENABLED);
            UnhookWindowsHookEx(hook);
            hook = nullptr;
            return 0;
        }
    }
    return CallNextHookEx(nullptr, code, wp, lp);
}

// The box wraps its text at a width of its own, which at 144 DPI cuts sentences in two: the
// spaces of each line the text breaks by itself become no-break spaces, and the box grows to
// the widest such line instead.
std::wstring HoldingLines(std::string_view text) {
    std::string held;
    const std::vector<std::string_view> lines = HeldLines(text);
    std::size_t next = 0;
    for (std::size_t at = 0; at <= text.size();) {
        const std::size_t end = std::min(text.find('\n', at), text.size());
        const std::string_view line = text.substr(at, end - at);
        const bool holds = next < lines.size() && lines[next].data() == line.data();
        if (holds) ++next;
        for (const char c : line)
            held += holds && c == ' ' ? std::string("\xC2\xA0") : std::string(1, c);
        if (end < text.size()) held += '\n';
        at = end + 1;
    }
    return WidenShown(held);
}

} // namespace

UINT MessageBoxFlags(MsgButtons buttons, MsgIcon icon) {
    UINT flags = MB_SETFOREGROUND;
    switch (buttons) {
    case MsgButtons::Ok: flags |= MB_OK; break;
    case MsgButtons::YesNo: flags |= MB_YESNO; break;
    case MsgButtons::YesNoCancel: flags |= MB_YESNOCANCEL; break;
    case MsgButtons::YesNoDefaultNo: flags |= MB_YESNO | MB_DEFBUTTON2; break;
    }
    switch (icon) {
    case MsgIcon::None: break;
    case MsgIcon::Critical: flags |= MB_ICONERROR; break;
    case MsgIcon::Question: flags |= MB_ICONQUESTION; break;
    case MsgIcon::Exclamation: flags |= MB_ICONWARNING; break;
    case MsgIcon::Information: flags |= MB_ICONINFORMATION; break;
    }
    return flags;
}

MsgAnswer RunMessageBox(HWND owner, std::string_view text, MsgButtons buttons, MsgIcon icon,
                        std::string_view title) {
    UINT flags = MessageBoxFlags(buttons, icon);
    if (!owner) flags |= MB_TASKMODAL;
    if (hook) UnhookWindowsHookEx(hook);
    opening = buttons;
    hook = SetWindowsHookExW(WH_CBT, WatchForBox, nullptr, GetCurrentThreadId());
    const int answer =
        MessageBoxW(owner, HoldingLines(text).c_str(), WidenShown(title).c_str(), flags);
    if (hook) {
        UnhookWindowsHookEx(hook);
        hook = nullptr;
    }
    switch (answer) {
    case IDYES: return MsgAnswer::Yes;
    case IDNO: return MsgAnswer::No;
    case IDOK: return MsgAnswer::Ok;
    default: // Cancel, or no box could be shown: what closing it without a button answers
        break;
    }
    return buttons == MsgButtons::YesNoCancel ? MsgAnswer::Cancel
           : buttons == MsgButtons::Ok        ? MsgAnswer::Ok
                                              : MsgAnswer::No;
}

HWND OpenMessageBoxOfThisThread() {
    HWND found = nullptr;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND hwnd, LPARAM out) {
            wchar_t cls[16] = {};
            GetClassNameW(hwnd, cls, 16);
            if (lstrcmpW(cls, L"#32770") != 0 || !IsWindowVisible(hwnd)) return TRUE;
            *Pointer<HWND*>(out) = hwnd;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

} // namespace adultify::win32
