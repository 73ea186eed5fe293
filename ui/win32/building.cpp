// Making the windows, their controls and menus from the layout table, and laying them out at
// the window's DPI and size.

#include "ui/form_design.h"
#include "ui/win32/layer_control.h"

#include <commctrl.h>

#include <algorithm>
#include <iterator>
#include <stdexcept>

namespace adultify::win32 {

void RegisterClasses(HINSTANCE instance, WNDPROC formProc, WNDPROC pictureProc) {
    static bool done = false;
    if (done) return;
    done = true;
    INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX),
                                  ICC_STANDARD_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    WNDCLASSEXW form{};
    form.cbSize = sizeof(form);
    // The second press of a double click on a label the window draws is no second click, as
    // on a static control.
    form.style = CS_DBLCLKS;
    form.lpfnWndProc = formProc;
    form.hInstance = instance;
    form.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    form.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    form.lpszClassName = kFormClass;
    RegisterClassExW(&form);
    WNDCLASSEXW picture = form;
    picture.style = 0;
    picture.lpfnWndProc = pictureProc;
    picture.hbrBackground = nullptr; // painted whole, off screen first
    picture.lpszClassName = kPictureClass;
    RegisterClassExW(&picture);
}

namespace {

bool HasEntries(const ControlDesign& menu) {
    return std::any_of(std::begin(kControlDesigns), std::end(kControlDesigns),
                       [&](const ControlDesign& d) {
                           return d.kind == ControlKind::Menu && d.parent == menu.name;
                       });
}

} // namespace

HWND Win32WindowSystem::BuildWindow(FormId form) {
    const ControlDesign& d = form.Design();
    DWORD style = WS_CLIPCHILDREN;
    DWORD ex = WS_EX_CONTROLPARENT;
    HWND owner = nullptr;
    switch (d.style) {
    case WindowStyle::Main: // a fixed size: no sizing border, no maximise box
        style |= WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
        break;
    case WindowStyle::Dialog:
        style |= WS_POPUP | WS_CAPTION | WS_SYSMENU;
        if (d.sizable)
            style |= WS_THICKFRAME;
        else
            ex |= WS_EX_DLGMODALFRAME;
        owner = Window(kMainForm);
        break;
    case WindowStyle::Splash:
        style |= WS_POPUP;
        ex |= WS_EX_TOOLWINDOW;
        break;
    }
    HWND hwnd = CreateWindowExW(ex, kFormClass, Widen(d.caption).c_str(), style, CW_USEDEFAULT,
                                CW_USEDEFAULT, d.width, d.height, owner, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
    if (!hwnd) throw std::runtime_error("cannot create a window");
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    if (d.style == WindowStyle::Dialog) {
        // No icon in a dialog's caption.
        SendMessageW(hwnd, WM_SETICON, ICON_SMALL, 0);
        SendMessageW(hwnd, WM_SETICON, ICON_BIG, 0);
    }
    return hwnd;
}

void Win32WindowSystem::Build(FormId form) {
    Bury();
    Control& window = At(form.Control());
    window = Control{};
    window.caption = std::string(form.Design().caption);
    window.hwnd = BuildWindow(form);
    for (const ControlDesign& c : form.Controls())
        BuildControl(form, c, form.IdOf(c));
    // The texts lie on the picture: it goes under every control made after it.
    for (const ControlDesign& c : form.Controls())
        if (HWND picture = At(form.IdOf(c)).hwnd; picture && c.image == Image::Splash)
            SetWindowPos(picture, HWND_BOTTOM, 0, 0, 0, 0,
                         SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    BuildMenus(form);
    Layout(form);
    RefreshTitle(form);
}

namespace {

// The window class, styles and text of the window a control is, if it is one.
struct Made {
    const wchar_t* cls = nullptr; // none: painted by the window, held in memory, or a menu entry
    DWORD style = WS_CHILD | WS_CLIPSIBLINGS;
    DWORD ex = 0;
    std::wstring text;
};

Made LabelMade(const ControlDesign& c, ControlId id) {
    Made m;
    m.cls = WC_STATICW;
    m.style |= SS_OWNERDRAW | SS_NOPREFIX; // its text is no mnemonic
    if (id.Reports(UiEvent::Click) || id.Reports(UiEvent::MouseMove)) m.style |= SS_NOTIFY;
    if (c.tabStop) m.style |= WS_TABSTOP; // Enter or Space clicks it
    m.text = WidenShown(c.caption);       // drawn by the window; read by tools that read text
    if (c.border) m.ex |= WS_EX_STATICEDGE;
    return m;
}

Made MadeOf(const ControlDesign& c, ControlId id) {
    Made m;
    switch (c.kind) {
    case ControlKind::Label: return LabelMade(c, id);
    case ControlKind::Button:
        m.cls = WC_BUTTONW;
        m.style |= (c.enterPresses ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON) | WS_TABSTOP;
        m.text = Widen(c.caption);
        break;
    case ControlKind::List:
    case ControlKind::DirList:
    case ControlKind::FileList:
        m.cls = WC_LISTBOXW;
        m.style |= LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_HSCROLL | WS_TABSTOP;
        // Drawn by the window: a folder's indent and icon, a line's mark after its text. The
        // text is the list's own, so that typed letters find a line.
        if (c.kind != ControlKind::FileList) m.style |= LBS_OWNERDRAWFIXED | LBS_HASSTRINGS;
        m.ex |= WS_EX_CLIENTEDGE;
        break;
    case ControlKind::FolderBox:
        m.cls = WC_EDITW;
        m.style |= ES_AUTOHSCROLL | WS_TABSTOP;
        m.ex |= WS_EX_CLIENTEDGE;
        break;
    case ControlKind::Combo:
    case ControlKind::DriveList:
        m.cls = WC_COMBOBOXW;
        m.style |= CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP;
        break;
    case ControlKind::Picture:
        m.cls = kPictureClass;
        if (c.border) m.ex |= WS_EX_CLIENTEDGE;
        break;
    case ControlKind::ScrollBar:
        m.cls = WC_SCROLLBARW;
        m.style |= SBS_HORZ | WS_TABSTOP;
        break;
    default: break;
    }
    return m;
}

// Whether another control's window lies over the label, which its window's own drawing would
// then not reach (the splash's texts on its picture).
bool UnderAWindow(FormId form, const ControlDesign& label) {
    const LaidOut l = InItsWindow({label.x, label.y, label.width, label.height}, label);
    for (const ControlDesign& c : form.Controls()) {
        if (c.kind == ControlKind::Label || !MadeOf(c, form.IdOf(c)).cls) continue;
        const LaidOut o = InItsWindow({c.x, c.y, c.width, c.height}, c);
        if (o.x < l.x + l.width && l.x < o.x + o.width && o.y < l.y + l.height &&
            l.y < o.y + o.height)
            return true;
    }
    return false;
}

} // namespace

void Win32WindowSystem::BuildControl(FormId form, const ControlDesign& c, ControlId id) {
    Control& control = At(id);
    control = AsLaidOut<Control>(c);
    control.given = control.caption;
    if (c.image == Image::Stock) control.shows = Control::Shows::Stock;
    if (c.image == Image::Splash) control.shows = Control::Shows::Splash;
    Made m = MadeOf(c, id);
    if (!m.cls) return;
    // A control laid out beyond its window's edge (the path dialog's file list) is never seen.
    const bool outside = c.x >= form.Design().width || c.y >= form.Design().height;
    if (!outside) m.style |= WS_VISIBLE;
    if (!c.enabled) m.style |= WS_DISABLED;
    control.hwnd = CreateWindowExW(m.ex, m.cls, m.text.c_str(), m.style, 0, 0, 0, 0, Window(form),
                                   Pointer<HMENU>(static_cast<INT_PTR>(IdOf(id))),
                                   GetModuleHandleW(nullptr), nullptr);
    if (!control.hwnd) throw std::runtime_error("cannot create a control");
    SetWindowLongPtrW(control.hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    // The window draws its labels with the rest of its face: one repaint for all the values a
    // click changes, where a window each costs the Wine server about nine calls per label.
    if (c.kind == ControlKind::Label && !UnderAWindow(form, c)) {
        control.drawnByForm = true;
        SetWindowRgn(control.hwnd, CreateRectRgn(0, 0, 0, 0), FALSE);
    }
    // Not through comctl32's subclassing, which asks the Wine server for a window property at
    // each message, twice: three per repaint of a label.
    if (c.kind == ControlKind::Label && (id.Reports(UiEvent::MouseMove) || c.tabStop))
        staticProc_ = Pointer<WNDPROC>(
            SetWindowLongPtrW(control.hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&LabelProc)));
    if (c.kind == ControlKind::ScrollBar) {
        SCROLLINFO info{sizeof(info), SIF_RANGE | SIF_POS | SIF_PAGE, 0, 32767, 0, 0, 0};
        SetScrollInfo(control.hwnd, SB_CTL, &info, FALSE);
    }
    if (c.kind == ControlKind::DriveList) FillDriveList(id);
    if (c.kind == ControlKind::DirList) AddFolderTip(form, control);
}

// Each line's whole path, which a deep folder's indented name does not show.
void Win32WindowSystem::AddFolderTip(FormId form, Control& list) {
    list.tip = CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX, 0, 0, 0, 0,
                               Window(form), nullptr, GetModuleHandleW(nullptr), nullptr);
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof(tool);
    tool.uFlags = TTF_IDISHWND; // the list's mouse moves are relayed by its subclass
    tool.hwnd = Window(form);
    tool.uId = reinterpret_cast<UINT_PTR>(list.hwnd);
    tool.lpszText = const_cast<wchar_t*>(L"");
    SendMessageW(list.tip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    SendMessageW(list.tip, TTM_SETMAXTIPWIDTH, 0, 32767);
    SendMessageW(list.tip, TTM_ACTIVATE, FALSE, 0); // until the pointer is on a line
    SetWindowSubclass(list.hwnd, FolderListProc, kFolderListSubclass,
                      reinterpret_cast<DWORD_PTR>(this));
}

void Win32WindowSystem::BuildMenus(FormId form) {
    HMENU bar = nullptr;
    for (const ControlDesign& c : form.Controls())
        if (c.kind == ControlKind::Menu) {
            if (!bar) bar = CreateMenu();
            if (HasEntries(c)) menus_[form.IdOf(c).Row()] = CreatePopupMenu();
        }
    if (!bar) return;
    menus_[form.Control().Row()] = bar;
    RebuildMenu(form.Control());
    for (const ControlDesign& c : form.Controls())
        if (c.kind == ControlKind::Menu && HasEntries(c)) RebuildMenu(form.IdOf(c));
    SetMenu(Window(form), bar);
}

// Win32 menus cannot hide an entry: a menu is filled again from the table whenever an entry
// changes, leaving out those without a caption (the games menu's unused entries).
void Win32WindowSystem::RebuildMenu(ControlId menu) {
    auto found = menus_.find(menu.Row());
    if (found == menus_.end()) return;
    HMENU handle = found->second;
    while (GetMenuItemCount(handle) > 0)
        RemoveMenu(handle, 0, MF_BYPOSITION); // detaches submenus without destroying them
    const FormId form = menu.Form();
    const std::string_view parent = menu.IsWindow() ? std::string_view{} : menu.Name();
    for (const ControlDesign& c : form.Controls()) {
        if (c.kind != ControlKind::Menu || c.parent != parent) continue;
        const ControlId id = form.IdOf(c);
        const Control& entry = At(id);
        if (entry.caption.empty()) continue;
        if (entry.caption == "-") {
            AppendMenuW(handle, MF_SEPARATOR, 0, nullptr);
            continue;
        }
        UINT flags = MF_STRING | (entry.enabled ? MF_ENABLED : MF_GRAYED);
        if (entry.checked) flags |= MF_CHECKED;
        UINT_PTR item = static_cast<UINT_PTR>(IdOf(id));
        if (auto sub = menus_.find(id.Row()); sub != menus_.end()) {
            flags |= MF_POPUP;
            item = reinterpret_cast<UINT_PTR>(sub->second);
        }
        AppendMenuW(handle, flags, item, Widen(entry.caption).c_str());
    }
    if (menu.IsWindow() && Window(form)) DrawMenuBar(Window(form));
}

void Win32WindowSystem::Layout(FormId form) {
    HWND window = Window(form);
    const int dpi = Dpi(form);
    for (const ControlDesign& c : form.Controls()) {
        const ControlId id = form.IdOf(c);
        HWND hwnd = At(id).hwnd;
        if (!hwnd) continue;
        RECT r = Place(form, c);
        if (c.kind == ControlKind::Combo || c.kind == ControlKind::DriveList)
            r.bottom += Scale(form, kDropHeight);
        SetWindowPos(hwnd, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(Font(dpi, c.face)), FALSE);
        if (c.kind == ControlKind::List || c.kind == ControlKind::DirList)
            SendMessageW(hwnd, LB_SETITEMHEIGHT, 0, LineHeight(id));
        if (c.kind == ControlKind::Combo || c.kind == ControlKind::DriveList) {
            // The closed drop-down keeps its laid-out height whatever the font's.
            const int field = Scale(form, c.height) - 6 * dpi / USER_DEFAULT_SCREEN_DPI;
            SendMessageW(hwnd, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), field);
        }
    }
    // The client area as laid out; the frame around it is whatever the system draws.
    const ControlDesign& d = form.Design();
    const Control& self = At(form.Control());
    const int width = Scale(form, d.width + self.wider),
              height = Scale(form, d.height + self.taller);
    RECT outer{0, 0, width, height};
    AdjustWindowRectEx(&outer, static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE)),
                       GetMenu(window) != nullptr,
                       static_cast<DWORD>(GetWindowLongPtrW(window, GWL_EXSTYLE)));
    SetWindowPos(window, nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    RECT client{};
    GetClientRect(window, &client);
    // A menu bar that wraps, or a frame of another thickness: make the difference good.
    const int dw = width - client.right, dh = height - client.bottom;
    if (dw != 0 || dh != 0)
        SetWindowPos(window, nullptr, 0, 0, outer.right - outer.left + dw,
                     outer.bottom - outer.top + dh, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    InvalidateRect(window, nullptr, TRUE);
}

void Win32WindowSystem::Destroy(FormId form) {
    for (auto it = modals_.begin(); it != modals_.end(); ++it)
        if (it->row == form.Control().Row()) EnableOwners(*it);
    HWND hwnd = At(form.Control()).hwnd;
    for (const ControlDesign& c : form.Controls()) {
        At(form.IdOf(c)) = Control{};
        menus_.erase(form.IdOf(c).Row());
    }
    menus_.erase(form.Control().Row());
    At(form.Control()) = Control{};
    if (!hwnd) return;
    // Its own handler may be running (a button that closes its window): it goes out of sight
    // now and is destroyed once the handler has returned.
    ShowWindow(hwnd, SW_HIDE);
    graveyard_.push_back(hwnd);
}

void Win32WindowSystem::Bury() {
    std::vector<HWND> dead;
    dead.swap(graveyard_);
    for (HWND hwnd : dead)
        DestroyWindow(hwnd);
}

void Win32WindowSystem::RefreshTitle(FormId form) {
    HWND hwnd = Window(form);
    if (!hwnd) return;
    const std::string& caption = At(form.Control()).caption;
    const std::optional<ControlId> marker = UnsavedMarker(form);
    const std::wstring title =
        WidenShown(marker && At(*marker).enabled ? MarkedTitle(caption) : caption);
    SetWindowTextW(hwnd, title.c_str());
}

void Win32WindowSystem::Invalidate(ControlId control) {
    const FormId form = control.Form();
    const Control& c = At(control);
    if (c.hwnd && !c.drawnByForm) {
        InvalidateRect(c.hwnd, nullptr, TRUE);
        return;
    }
    if ((!IsPainted(control.Kind()) && !c.drawnByForm) || !Window(form)) return;
    const RECT r = Place(form, control.Design());
    InvalidateRect(Window(form), &r, TRUE);
}

void Win32WindowSystem::FollowSize(FormId form) {
    HWND window = Window(form);
    const ControlDesign& d = form.Design();
    if (!window || !d.sizable) return;
    RECT client{};
    GetClientRect(window, &client);
    Control& self = At(form.Control());
    const int dpi = Dpi(form);
    self.wider = std::max(0, MulDiv(client.right, USER_DEFAULT_SCREEN_DPI, dpi) - d.width);
    self.taller = std::max(0, MulDiv(client.bottom, USER_DEFAULT_SCREEN_DPI, dpi) - d.height);
    for (const ControlDesign& c : form.Controls()) {
        HWND hwnd = c.follows ? At(form.IdOf(c)).hwnd : nullptr;
        if (!hwnd) continue;
        RECT r = Place(form, c);
        if (c.kind == ControlKind::DriveList) r.bottom += Scale(form, kDropHeight);
        SetWindowPos(hwnd, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
    InvalidateRect(window, nullptr, TRUE);
}

} // namespace adultify::win32
