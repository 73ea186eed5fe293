// The windows' messages: commands, keys, the pointer, painting, sizing and the focus.

#include "ui/form_design.h"
#include "ui/keyboard.h"
#include "ui/win32/layer_control.h"

#include <commctrl.h>

#include <algorithm>

namespace adultify::win32 {

namespace {
constexpr UINT kNavigate = WM_APP + 1; // a folder picked in a folder list, opened after the pick
constexpr wchar_t kFocusProperty[] = L"AdultifyFocus";

// A mouse message's point, in the window's client area (negative left of or above it).
POINT PointOf(LPARAM lp) {
    return {static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
}

// The control that had the focus gets it back when the window is active again: answers
// whether it did.
bool KeepFocus(HWND window, bool leaving) {
    if (leaving) {
        HWND focus = GetFocus();
        SetPropW(window, kFocusProperty, focus && IsChild(window, focus) ? focus : nullptr);
        return false;
    }
    auto focus = static_cast<HWND>(GetPropW(window, kFocusProperty));
    if (!focus || !IsWindow(focus) || !IsChild(window, focus)) return false;
    SetFocus(focus);
    return true;
}

} // namespace

// An inactive window gets the control's focus back when it is next activated.
void Win32WindowSystem::FocusControl(ControlId control) {
    HWND hwnd = At(control).hwnd;
    HWND window = Window(control.Form());
    if (!hwnd || !window) return;
    if (GetActiveWindow() == window)
        SetFocus(hwnd);
    else
        SetPropW(window, kFocusProperty, hwnd);
}

namespace {

Win32WindowSystem* Self(HWND hwnd) {
    return Pointer<Win32WindowSystem*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

} // namespace

LRESULT CALLBACK Win32WindowSystem::FormProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    Win32WindowSystem* self = Self(hwnd);
    const std::optional<FormId> form = self ? self->FormOf(hwnd) : std::nullopt;
    if (!form) return DefWindowProcW(hwnd, msg, wp, lp); // being built, or unloaded
    return self->OnFormMessage(*form, hwnd, msg, wp, lp);
}

LRESULT Win32WindowSystem::OnFormMessage(FormId form, HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_COMMAND: OnCommand(form, wp, lp); return 0;
    case WM_MENUSELECT: ShowMenuTip(hwnd, Pointer<HMENU>(lp), LOWORD(wp), HIWORD(wp)); return 0;
    case kNavigate: OnNavigate(wp, lp); return 0;
    case WM_HSCROLL:
        if (std::optional<ControlId> id = ControlOfId(GetDlgCtrlID(Pointer<HWND>(lp))))
            OnScroll(*id, wp);
        return 0;
    case WM_CLOSE:
        if (form.Control().Reports(UiEvent::Close))
            Send(form.Control(), UiEvent::Close); // the program unloads the window, or not
        else
            UnloadForm(form);
        return 0;
    case WM_QUERYENDSESSION: // the end of the session runs the exit sequence
        if (form != kMainForm) break;
        Send(form.Control(), UiEvent::Close);
        return Ended() ? TRUE : FALSE;
    case WM_MOUSEMOVE: OnMouseMove(form, lp); break;
    case WM_LBUTTONDOWN: // on a label the window draws: its click, as a static control's
        if (const std::optional<ControlId> label = LabelAt(form, PointOf(lp));
            label && label->Reports(UiEvent::Click))
            Send(*label, UiEvent::Click);
        break;
    case WM_CHAR:
        if (!form.Control().Reports(UiEvent::KeyPress)) break;
        Send(form.Control(), UiEvent::KeyPress);
        return 0;
    case WM_SETCURSOR:
        if (!pointer_) break;
        SetCursor(pointer_);
        return TRUE;
    default: return OnWindowMessage(form, hwnd, msg, wp, lp);
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

// Painting, sizing, the DPI and the focus.
LRESULT Win32WindowSystem::OnWindowMessage(FormId form, HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_GETFONT: // the font the window writes its frames' titles in
        return reinterpret_cast<LRESULT>(Font(Dpi(form), Face::Dialog));
    case WM_DRAWITEM:
        if (OnDrawItem(*Pointer<const DRAWITEMSTRUCT*>(lp))) return TRUE;
        break;
    case WM_MEASUREITEM: // while the list is made; its font's height is set when laid out
        if (auto* item = Pointer<MEASUREITEMSTRUCT*>(lp); item->CtlType == ODT_LISTBOX) {
            item->itemHeight = static_cast<UINT>(Scale(form, kIconSize + 2));
            return TRUE;
        }
        break;
    case WM_SIZE: FollowSize(form); break;
    case WM_GETMINMAXINFO:
        if (!form.Design().sizable) break;
        KeepLaidOutSize(form, hwnd, *Pointer<MINMAXINFO*>(lp));
        return 0;
    case WM_ERASEBKGND: return 1; // the background is drawn with the rest, off screen
    case WM_PAINT: {
        // The window's face (frames, labels) is drawn off screen and shown in one piece: the
        // screen never shows the labels' backgrounds without their texts.
        HRGN update = CreateRectRgn(0, 0, 0, 0);
        const bool known = GetUpdateRgn(hwnd, update, FALSE) != ERROR;
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        const RECT& r = ps.rcPaint;
        if (known && !IsRectEmpty(&r)) {
            HDC buffer = Buffer(dc, r.right - r.left, r.bottom - r.top);
            OffsetRgn(update, -r.left, -r.top);
            SelectClipRgn(buffer, update);
            POINT origin{};
            SetViewportOrgEx(buffer, -r.left, -r.top, &origin);
            ::FillRect(buffer, &r, GetSysColorBrush(COLOR_BTNFACE));
            PaintForm(form, buffer);
            SetViewportOrgEx(buffer, origin.x, origin.y, nullptr);
            SelectClipRgn(buffer, nullptr);
            BitBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, buffer, 0, 0, SRCCOPY);
        } else {
            ::FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
            PaintForm(form, dc);
        }
        DeleteObject(update);
        EndPaint(hwnd, &ps);
        return 0;
    }
    case WM_DPICHANGED: OnDpiChanged(form, hwnd, *Pointer<const RECT*>(lp)); return 0;
    case WM_ACTIVATE:
        if (KeepFocus(hwnd, LOWORD(wp) == WA_INACTIVE)) return 0;
        break;
    case WM_DESTROY: RemovePropW(hwnd, kFocusProperty); break;
    default: break;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

// A folder picked in a folder list, opened once the list has finished with the pick.
void Win32WindowSystem::OnNavigate(WPARAM wp, LPARAM lp) {
    const std::optional<ControlId> id = ControlOfId(static_cast<int>(wp));
    if (!id || !Open(*id)) return;
    const Control& c = At(*id);
    const auto line = static_cast<std::size_t>(lp);
    if (line >= c.paths.size()) return;
    SetCaption(*id, Narrow(c.paths[line]));
    Send(*id, UiEvent::Change);
}

bool Win32WindowSystem::OnDrawItem(const DRAWITEMSTRUCT& item) {
    if (item.CtlType == ODT_LISTBOX) {
        PaintListLine(item);
        return true;
    }
    if (item.CtlType != ODT_STATIC) return false;
    PaintLabel(item);
    return true;
}

// Never smaller than laid out.
void Win32WindowSystem::KeepLaidOutSize(FormId form, HWND hwnd, MINMAXINFO& info) const {
    RECT outer{0, 0, Scale(form, form.Design().width), Scale(form, form.Design().height)};
    AdjustWindowRectEx(&outer, static_cast<DWORD>(GetWindowLongPtrW(hwnd, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongPtrW(hwnd, GWL_EXSTYLE)));
    info.ptMinTrackSize = {outer.right - outer.left, outer.bottom - outer.top};
}

void Win32WindowSystem::OnDpiChanged(FormId form, HWND hwnd, const RECT& suggested) {
    SetWindowPos(hwnd, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    Layout(form);
    // The lines' widths change with the font.
    for (const ControlDesign& c : form.Controls()) {
        const ControlId id = form.IdOf(c);
        if (!At(id).hwnd) continue;
        if (c.kind == ControlKind::List) Relist(id);
        if (c.kind == ControlKind::DirList) {
            const std::string open = At(id).caption; // a copy: it is listed anew
            FillDirList(id, open);
        }
    }
    if (form == kMainForm) SetWindowIcon(icon_);
}

// A list filled again with its own lines, marks and choice.
void Win32WindowSystem::Relist(ControlId list) {
    const Control& l = At(list);
    const std::vector<std::string> lines = l.items;
    const LineMarks marks = l.marks;
    const int chosen = l.chosen;
    ListClear(list);
    for (const std::string& line : lines)
        ListAdd(list, line);
    for (std::size_t i = 0; i < marks.Count(); ++i)
        if (marks.Of(i) != LineMark::None) ListSetMark(list, static_cast<int>(i), marks.Of(i));
    ListSelect(list, chosen);
}

void Win32WindowSystem::OnCommand(FormId form, WPARAM wp, LPARAM lp) {
    const int id = LOWORD(wp);
    const int code = HIWORD(wp);
    if (lp == 0) {
        OnKeyOrMenu(form, id);
        return;
    }
    std::optional<ControlId> control = ControlOfId(id);
    if (!control || !Open(*control)) return;
    switch (control->Kind()) {
    case ControlKind::Button:
        if (code == BN_CLICKED) Send(*control, UiEvent::Click);
        break;
    case ControlKind::Label:
        if (code == STN_CLICKED && control->Reports(UiEvent::Click)) Send(*control, UiEvent::Click);
        break;
    case ControlKind::List:
    case ControlKind::Combo:
        if ((control->Kind() == ControlKind::List && code == LBN_SELCHANGE) ||
            (control->Kind() == ControlKind::Combo && code == CBN_SELCHANGE))
            Picked(*control);
        break;
    case ControlKind::DirList:
        // A click only highlights; a double click opens, once the list has finished with it:
        // opening refills it.
        if (code == LBN_DBLCLK)
            PostMessageW(Window(form), kNavigate, static_cast<WPARAM>(id),
                         SendMessageW(At(*control).hwnd, LB_GETCURSEL, 0, 0));
        break;
    case ControlKind::DriveList:
        if (code == CBN_SELCHANGE) DriveChosen(*control);
        break;
    default: break;
    }
}

// Escape and Enter through the dialog keys, and menu entries.
void Win32WindowSystem::OnKeyOrMenu(FormId form, int id) {
    // Escape: as the close box.
    if (id == IDCANCEL && form.Design().style != WindowStyle::Main) {
        PostMessageW(Window(form), WM_CLOSE, 0, 0);
        return;
    }
    if (id == IDOK) {
        PressFocused(form);
        return;
    }
    std::optional<ControlId> entry = ControlOfId(id);
    if (entry && entry->Kind() == ControlKind::Menu && Open(*entry) && At(*entry).enabled)
        Send(*entry, UiEvent::Click); // the program keeps any check mark itself
}

void Win32WindowSystem::DriveChosen(ControlId list) {
    Control& c = At(list);
    const auto chosen = static_cast<std::size_t>(SendMessageW(c.hwnd, CB_GETCURSEL, 0, 0));
    if (chosen >= c.items.size()) return;
    c.chosen = static_cast<int>(chosen);
    c.caption = c.items[chosen];
    Send(list, UiEvent::Change);
}

// Enter, through the dialog keys: opens the folder highlighted in a folder list and goes no
// further; presses the button or clicks the label that has the focus; else presses the
// window's default button.
void Win32WindowSystem::PressFocused(FormId form) {
    HWND focus = GetFocus();
    std::optional<ControlId> at = ControlOfId(focus ? GetDlgCtrlID(focus) : 0);
    if (at && At(*at).hwnd == focus) {
        if (at->Kind() == ControlKind::DirList) {
            PostMessageW(Window(form), kNavigate, static_cast<WPARAM>(IdOf(*at)),
                         SendMessageW(focus, LB_GETCURSEL, 0, 0));
            return;
        }
        if (at->Kind() == ControlKind::FolderBox) {
            OpenTypedFolder(*at);
            return;
        }
        if (at->Kind() == ControlKind::Button ||
            (at->Kind() == ControlKind::Label && at->Reports(UiEvent::Click))) {
            Send(*at, UiEvent::Click);
            return;
        }
    }
    if (const std::optional<ControlId> button = DefaultButton(form);
        button && Open(*button) && At(*button).enabled)
        Send(*button, UiEvent::Click);
}

// A label the window draws that takes the mouse (one that reports a click or the pointer's
// moves, as a static control with SS_NOTIFY), enabled, under the point; others let the pointer
// through to what lies beneath.
std::optional<ControlId> Win32WindowSystem::LabelAt(FormId form, POINT at) const {
    for (const ControlDesign& c : form.Controls()) {
        const ControlId id = form.IdOf(c);
        if (c.kind != ControlKind::Label || !At(id).drawnByForm || !At(id).enabled) continue;
        if (!id.Reports(UiEvent::Click) && !id.Reports(UiEvent::MouseMove)) continue;
        const RECT r = Place(form, c);
        if (PtInRect(&r, at)) return id;
    }
    return std::nullopt;
}

void Win32WindowSystem::OnMouseMove(FormId form, LPARAM lp) {
    const POINT at = PointOf(lp);
    if (const std::optional<ControlId> label = LabelAt(form, at)) {
        if (label->Reports(UiEvent::MouseMove)) Send(*label, UiEvent::MouseMove);
        return;
    }
    // The innermost frame under the pointer that reports it, else the window.
    std::optional<ControlId> over;
    for (const ControlDesign& c : form.Controls()) {
        if (c.kind != ControlKind::Frame) continue;
        const RECT r = Place(form, c);
        if (PtInRect(&r, at)) over = form.IdOf(c);
    }
    if (over) {
        if (over->Reports(UiEvent::MouseMove)) Send(*over, UiEvent::MouseMove);
        return;
    }
    // The window's own background only: a control the pointer passes through (a picture, a
    // label that reports nothing) is not the background.
    for (const ControlDesign& c : form.Controls()) {
        HWND hwnd = At(form.IdOf(c)).hwnd;
        if (!hwnd || !IsWindowVisible(hwnd)) continue;
        RECT r{};
        GetWindowRect(hwnd, &r);
        MapWindowPoints(nullptr, Window(form), reinterpret_cast<POINT*>(&r), 2);
        if (PtInRect(&r, at)) return;
    }
    if (form.Control().Reports(UiEvent::MouseMove)) Send(form.Control(), UiEvent::MouseMove);
}

LRESULT CALLBACK Win32WindowSystem::LabelProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    Win32WindowSystem* layer = Self(hwnd);
    const std::optional<ControlId> id = ControlOfId(GetDlgCtrlID(hwnd));
    const bool open = id && layer->Open(*id);
    switch (msg) {
    case WM_MOUSEMOVE:
        if (open && id->Reports(UiEvent::MouseMove)) layer->Send(*id, UiEvent::MouseMove);
        break;
    case WM_KEYUP: // Space clicks a label the keyboard reaches, as it does a button
        if (wp == VK_SPACE && open && id->Reports(UiEvent::Click)) layer->Send(*id, UiEvent::Click);
        break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS: // the focus mark
        if (msg == WM_SETFOCUS)
            layer->focusedLabel_ = hwnd;
        else if (layer->focusedLabel_ == hwnd)
            layer->focusedLabel_ = nullptr;
        if (open)
            layer->Invalidate(*id);
        else
            InvalidateRect(hwnd, nullptr, TRUE);
        break;
    default: break;
    }
    return CallWindowProcW(layer->staticProc_, hwnd, msg, wp, lp);
}

LRESULT CALLBACK Win32WindowSystem::FolderListProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp,
                                                   UINT_PTR, DWORD_PTR self) {
    if (msg == WM_MOUSEMOVE) {
        auto* layer = Pointer<Win32WindowSystem*>(self);
        const LRESULT hit = SendMessageW(hwnd, LB_ITEMFROMPOINT, 0, lp);
        const int line = HIWORD(hit) == 0 ? LOWORD(hit) : -1; // not beyond the last line
        if (std::optional<ControlId> id = ControlOfId(GetDlgCtrlID(hwnd)); id && layer->Open(*id)) {
            layer->ShowFolderTip(*id, line);
            MSG relay{hwnd, msg, wp, lp, static_cast<DWORD>(GetMessageTime()), {}};
            SendMessageW(layer->At(*id).tip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&relay));
        }
    }
    if (msg == WM_NCDESTROY) RemoveWindowSubclass(hwnd, FolderListProc, kFolderListSubclass);
    return DefSubclassProc(hwnd, msg, wp, lp);
}

LRESULT CALLBACK Win32WindowSystem::PictureProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    Win32WindowSystem* self = Self(hwnd);
    switch (msg) {
    case WM_NCHITTEST: // the window under it takes the pointer
        return HTTRANSPARENT;
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        RECT client{};
        GetClientRect(hwnd, &client);
        // Drawn off screen first, so that a picture redrawn often does not flicker.
        std::optional<ControlId> id = ControlOfId(GetDlgCtrlID(hwnd));
        if (self && id && self->Open(*id)) {
            HDC buffer = self->Buffer(dc, client.right, client.bottom);
            ::FillRect(buffer, &client, GetSysColorBrush(COLOR_BTNFACE));
            self->PaintPicture(*id, buffer, client);
            BitBlt(dc, 0, 0, client.right, client.bottom, buffer, 0, 0, SRCCOPY);
        } else {
            ::FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
        }
        EndPaint(hwnd, &ps);
        return 0;
    }
    default: return DefWindowProcW(hwnd, msg, wp, lp);
    }
}

} // namespace adultify::win32
