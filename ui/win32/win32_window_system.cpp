#include "ui/win32/win32_window_system.h"
#include "text/path_text.h"

#include "ui/control_id.h"
#include "ui/folder_listing.h"
#include "ui/keyboard.h"
#include "ui/win32/bmp_file.h"
#include "ui/win32/gdi_images.h"
#include "ui/win32/message_box.h"
#include "ui/win32/wide_text.h"

#include <commctrl.h>
#include <shellapi.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <numbers>
#include <stdexcept>
#include <system_error>

namespace adultify::win32 {

namespace {

constexpr wchar_t kFormClass[] = L"AdultifyForm";
constexpr wchar_t kPictureClass[] = L"AdultifyPicture";
constexpr int kFirstId = 1000; // child and menu command ids: the table row after this
constexpr UINT_PTR kLabelSubclass = 0xAD02;
constexpr UINT_PTR kFolderListSubclass = 0xAD03;
constexpr int kDropHeight = 160; // a drop-down's open list, at 100 %
constexpr int kIndent = 12;      // a folder list's indent per level, at 100 %
constexpr int kIconSize = 16;    // its folder icons, at 100 %
constexpr int kMarkGap = 6;      // between a line's text and its mark, at 100 %
// The entry whose enabled state means unsaved edits: the main window's title shows a "*".
constexpr ControlId kSaveEntry = "menu_Save";

int IdOf(ControlId id) {
    return kFirstId + static_cast<int>(id.Row());
}
std::optional<ControlId> ControlOfId(int id) {
    if (id < kFirstId || static_cast<std::size_t>(id - kFirstId) >= kControlCount)
        return std::nullopt;
    return ControlId::AtRow(static_cast<std::size_t>(id - kFirstId));
}

bool HasEntries(const ControlDesign& menu) {
    return std::any_of(std::begin(kControlDesigns), std::end(kControlDesigns),
                       [&](const ControlDesign& d) {
                           return d.kind == ControlKind::Menu && d.parent == menu.name;
                       });
}

bool IsPainted(ControlKind kind) {
    return kind == ControlKind::Frame || kind == ControlKind::Shape || kind == ControlKind::Line;
}

using DpiForWindow = UINT(WINAPI*)(HWND);
UINT WindowDpi(HWND hwnd) {
    // Windows 10 1607 and later; older systems draw at 96 DPI and let the system scale.
    static const auto query = reinterpret_cast<DpiForWindow>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
    const UINT dpi = query && hwnd ? query(hwnd) : 0;
    return dpi != 0 ? dpi : USER_DEFAULT_SCREEN_DPI;
}

void RegisterClasses(HINSTANCE instance, WNDPROC formProc, WNDPROC pictureProc) {
    static bool done = false;
    if (done) return;
    done = true;
    INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX),
                                  ICC_STANDARD_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    WNDCLASSEXW form{};
    form.cbSize = sizeof(form);
    form.lpfnWndProc = formProc;
    form.hInstance = instance;
    form.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    form.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    form.lpszClassName = kFormClass;
    RegisterClassExW(&form);
    WNDCLASSEXW picture = form;
    picture.lpfnWndProc = pictureProc;
    picture.hbrBackground = nullptr; // painted whole, off screen first
    picture.lpszClassName = kPictureClass;
    RegisterClassExW(&picture);
}

COLORREF Colour(const std::optional<Rgb>& c) {
    return c ? RGB(c->r, c->g, c->b) : GetSysColor(COLOR_WINDOWTEXT);
}

} // namespace

struct Win32WindowSystem::Control {
    HWND hwnd = nullptr;
    std::string caption;
    bool enabled = true;
    bool checked = false;
    int chosen = -1;                 // the list line or drop-down entry the program last saw
    std::vector<std::string> items;  // list lines and drop-down entries, as the program gave them
    std::vector<std::wstring> paths; // folder and drive lists: the path of each line
    HWND tip = nullptr;              // a folder list's tooltip: the whole path of the line
    std::wstring menuTip;            // a menu entry's longer text
    int tipLine = -1;                // the line the tooltip tells of
    int widest = 0;                  // a list's widest line, for its sideways scrolling
    std::vector<LineMark> marks;     // a list's line marks, by line
    std::vector<int> depths;         // a folder list's indent of each line
    std::vector<bool> opens;         // a folder list's lines on the way to the open folder
    int wider = 0, taller = 0;       // a sizable window: how much larger than laid out, at 100 %
    std::size_t measured = 0;        // a list's lines measured for that
    bool filling = false;            // a list refilled without repainting, until FinishFills
    enum class Shows { Nothing, Bitmap, Stock, Splash } shows = Shows::Nothing;
    std::shared_ptr<const BmpFile> bitmap;
    std::vector<DrawOp> ops;
    int lineWidth = 1;
    int fillStyle = 1;
    int scrollMin = 0, scrollMax = 32767, smallChange = 1, largeChange = 1, scrollValue = 0;
};

Win32WindowSystem::Win32WindowSystem()
    : controls_(std::make_unique<std::vector<Control>>(kControlCount)) {
    RegisterClasses(GetModuleHandleW(nullptr), FormProc, PictureProc);
    Build(kMainForm);
    SetWindowIcon(1);
}

Win32WindowSystem::~Win32WindowSystem() {
    for (FormId form : AllForms())
        if (HWND hwnd = At(form.Control()).hwnd) DestroyWindow(hwnd);
    Bury();
    for (auto& [key, font] : fonts_)
        DeleteObject(font);
    for (auto& [key, icon] : icons_)
        DestroyIcon(icon);
    for (auto& [key, icon] : folderIcons_)
        DestroyIcon(icon);
}

Win32WindowSystem::Control& Win32WindowSystem::At(ControlId control) {
    return (*controls_)[control.Row()];
}
const Win32WindowSystem::Control& Win32WindowSystem::At(ControlId control) const {
    return (*controls_)[control.Row()];
}
Win32WindowSystem::Control* Win32WindowSystem::Open(ControlId control) {
    return IsLoaded(control.Form()) ? &At(control) : nullptr;
}
const Win32WindowSystem::Control* Win32WindowSystem::Open(ControlId control) const {
    return IsLoaded(control.Form()) ? &At(control) : nullptr;
}

std::optional<FormId> Win32WindowSystem::FormOf(HWND hwnd) const {
    if (!hwnd) return std::nullopt;
    for (FormId form : AllForms())
        if (At(form.Control()).hwnd == hwnd) return form;
    return std::nullopt;
}

HWND Win32WindowSystem::Window(FormId form) const {
    return At(form.Control()).hwnd;
}
HWND Win32WindowSystem::Handle(ControlId control) const {
    return At(control).hwnd;
}
std::optional<FormId> Win32WindowSystem::ModalForm() const {
    if (modals_.empty()) return std::nullopt;
    return ControlId::AtRow(modals_.back().row).Form();
}
const std::vector<DrawOp>& Win32WindowSystem::DrawOps(ControlId box) const {
    return At(box).ops;
}

// ---- scale

int Win32WindowSystem::Dpi(FormId form) const {
    return static_cast<int>(WindowDpi(Window(form)));
}
int Win32WindowSystem::Scale(FormId form, int pixels) const {
    return MulDiv(pixels, Dpi(form), USER_DEFAULT_SCREEN_DPI);
}

// The control's rectangle in its window's client area, scaled; frames hold no windows of their
// own, so a control inside one is placed by the sum of the offsets.
RECT Win32WindowSystem::Place(FormId form, const ControlDesign& c) const {
    const Control& window = At(form.Control());
    const LaidOut own = PlaceFollowing(c, window.wider, window.taller);
    int x = own.x, y = own.y;
    for (std::string_view parent = c.parent; !parent.empty();) {
        const ControlDesign& p = ControlId::Find(parent)->Design();
        x += p.x;
        y += p.y;
        parent = p.parent;
    }
    return {Scale(form, x), Scale(form, y), Scale(form, x + own.width),
            Scale(form, y + own.height)};
}

HFONT Win32WindowSystem::Font(int dpi, Face face) {
    HFONT& font = fonts_[{dpi, face}];
    if (font) return font;
    LOGFONTW lf{};
    lf.lfHeight = -MulDiv(11, dpi, USER_DEFAULT_SCREEN_DPI); // an 8-point dialog font
    lf.lfWeight = FW_NORMAL;
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfQuality = CLEARTYPE_QUALITY;
    lstrcpynW(lf.lfFaceName, L"MS Shell Dlg 2", LF_FACESIZE);
    if (face == Face::Link) lf.lfUnderline = TRUE;
    if (face == Face::Narrow) {
        // Somewhat condensed: the average width of the plain face, less an eighth.
        HDC dc = GetDC(nullptr);
        HFONT plain = Font(dpi, Face::Dialog);
        HGDIOBJ old = SelectObject(dc, plain);
        TEXTMETRICW tm{};
        GetTextMetricsW(dc, &tm);
        SelectObject(dc, old);
        ReleaseDC(nullptr, dc);
        lf.lfWidth = tm.tmAveCharWidth * 7 / 8;
    }
    font = CreateFontIndirectW(&lf);
    return font;
}

HICON Win32WindowSystem::Icon(int index, int size) {
    HICON& icon = icons_[{index, size}];
    if (!icon) icon = NewFaceIcon(index, size);
    return icon;
}

// ---- building

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

void Win32WindowSystem::BuildControl(FormId form, const ControlDesign& c, ControlId id) {
    Control& control = At(id);
    control = Control{};
    control.caption = std::string(c.caption);
    control.enabled = c.enabled;
    control.checked = c.checked;
    if (c.image == Image::Stock) control.shows = Control::Shows::Stock;
    if (c.image == Image::Splash) control.shows = Control::Shows::Splash;

    const wchar_t* cls = nullptr;
    DWORD style = WS_CHILD | WS_CLIPSIBLINGS;
    DWORD ex = 0;
    std::wstring text;
    switch (c.kind) {
    case ControlKind::Label:
        cls = WC_STATICW;
        style |= SS_OWNERDRAW | SS_NOPREFIX; // its text is no mnemonic
        if (id.Reports(UiEvent::Click) || id.Reports(UiEvent::MouseMove)) style |= SS_NOTIFY;
        if (c.tabStop) style |= WS_TABSTOP; // Enter or Space clicks it
        text = WidenShown(c.caption);       // drawn by the window; read by tools that read text
        if (c.border) ex |= WS_EX_STATICEDGE;
        break;
    case ControlKind::Button:
        cls = WC_BUTTONW;
        style |= (c.enterPresses ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON) | WS_TABSTOP;
        text = Widen(c.caption);
        break;
    case ControlKind::List:
    case ControlKind::DirList:
    case ControlKind::FileList:
        cls = WC_LISTBOXW;
        style |= LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_HSCROLL | WS_TABSTOP;
        // Drawn by the window: a folder's indent and icon, a line's mark after its text. The
        // text is the list's own, so that typed letters find a line.
        if (c.kind != ControlKind::FileList) style |= LBS_OWNERDRAWFIXED | LBS_HASSTRINGS;
        ex |= WS_EX_CLIENTEDGE;
        break;
    case ControlKind::FolderBox:
        cls = WC_EDITW;
        style |= ES_AUTOHSCROLL | WS_TABSTOP;
        ex |= WS_EX_CLIENTEDGE;
        break;
    case ControlKind::Combo:
    case ControlKind::DriveList:
        cls = WC_COMBOBOXW;
        style |= CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP;
        break;
    case ControlKind::Picture:
        cls = kPictureClass;
        if (c.border) ex |= WS_EX_CLIENTEDGE;
        break;
    case ControlKind::ScrollBar:
        cls = WC_SCROLLBARW;
        style |= SBS_HORZ | WS_TABSTOP;
        break;
    case ControlKind::Window:
    case ControlKind::Menu:
    case ControlKind::Frame:
    case ControlKind::Shape:
    case ControlKind::Line:
    case ControlKind::HiddenPicture:
        return; // painted by the window, held in memory, or a menu entry
    }
    // A control laid out beyond its window's edge (the path dialog's file list) is never seen.
    const bool outside = c.x >= form.Design().width || c.y >= form.Design().height;
    if (!outside) style |= WS_VISIBLE;
    if (!c.enabled) style |= WS_DISABLED;
    control.hwnd = CreateWindowExW(ex, cls, text.c_str(), style, 0, 0, 0, 0, Window(form),
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(IdOf(id))),
                                   GetModuleHandleW(nullptr), nullptr);
    if (!control.hwnd) throw std::runtime_error("cannot create a control");
    SetWindowLongPtrW(control.hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    if (c.kind == ControlKind::Label && (id.Reports(UiEvent::MouseMove) || c.tabStop))
        SetWindowSubclass(control.hwnd, LabelProc, kLabelSubclass,
                          reinterpret_cast<DWORD_PTR>(this));
    if (c.kind == ControlKind::ScrollBar) {
        SCROLLINFO info{sizeof(info), SIF_RANGE | SIF_POS | SIF_PAGE, 0, 32767, 0, 0, 0};
        SetScrollInfo(control.hwnd, SB_CTL, &info, FALSE);
    }
    if (c.kind == ControlKind::DriveList) FillDriveList(id);
    if (c.kind == ControlKind::DirList) {
        // Each line's whole path, which a deep folder's indented name does not show.
        control.tip = CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX, 0, 0, 0,
                                      0, Window(form), nullptr, GetModuleHandleW(nullptr), nullptr);
        TTTOOLINFOW tool{};
        tool.cbSize = sizeof(tool);
        tool.uFlags = TTF_IDISHWND; // the list's mouse moves are relayed by its subclass
        tool.hwnd = Window(form);
        tool.uId = reinterpret_cast<UINT_PTR>(control.hwnd);
        tool.lpszText = const_cast<wchar_t*>(L"");
        SendMessageW(control.tip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
        SendMessageW(control.tip, TTM_SETMAXTIPWIDTH, 0, 32767);
        SendMessageW(control.tip, TTM_ACTIVATE, FALSE, 0); // until the pointer is on a line
        SetWindowSubclass(control.hwnd, FolderListProc, kFolderListSubclass,
                          reinterpret_cast<DWORD_PTR>(this));
    }
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
    const std::wstring title =
        WidenShown(form == kMainForm && At(kSaveEntry).enabled ? MarkedTitle(caption) : caption);
    SetWindowTextW(hwnd, title.c_str());
}

void Win32WindowSystem::Invalidate(ControlId control) {
    const FormId form = control.Form();
    if (HWND hwnd = At(control).hwnd) {
        InvalidateRect(hwnd, nullptr, TRUE);
        return;
    }
    if (!IsPainted(control.Kind()) || !Window(form)) return;
    const RECT r = Place(form, control.Design());
    InvalidateRect(Window(form), &r, TRUE);
}

// ---- the path dialog's lists

namespace {

// All lines at once and one repaint: a list box redrawn per line shows itself filling.
void ReplaceLines(HWND list, const std::vector<std::wstring>& lines, UINT reset, UINT add) {
    SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    SendMessageW(list, reset, 0, 0);
    for (const std::wstring& line : lines)
        SendMessageW(list, add, 0, reinterpret_cast<LPARAM>(line.c_str()));
    SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
}

std::wstring AsWide(const std::string& text) {
    return WidenShown(text);
}
const std::wstring& AsWide(const std::wstring& text) {
    return text;
}

// How wide a list box needs to be for its widest line, in its own font, with what `beside(i)`
// adds to line i (its indent, its mark): one device context for all of them.
template <typename Lines, typename Beside>
int WidestLine(HWND list, const Lines& lines, std::size_t from, Beside beside) {
    HDC dc = GetDC(list);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(list, WM_GETFONT, 0, 0)));
    int widest = 0;
    for (std::size_t i = from; i < lines.size(); ++i) {
        const std::wstring& line = AsWide(lines[i]);
        SIZE size{};
        GetTextExtentPoint32W(dc, line.c_str(), static_cast<int>(line.size()), &size);
        widest = std::max(widest, static_cast<int>(size.cx) + beside(i));
    }
    SelectObject(dc, old);
    ReleaseDC(list, dc);
    return widest;
}

} // namespace

// As the old folder list: the open folder's ancestors, the folder, its subfolders.
void Win32WindowSystem::FillDirList(ControlId id, std::string_view text) {
    Control& c = At(id);
    const std::vector<FolderEntry> entries = ListFolders(text);
    std::vector<std::wstring> lines;
    c.items.clear();
    c.paths.clear();
    c.depths.clear();
    c.opens.clear();
    for (const FolderEntry& e : entries) {
        lines.push_back(Widen(e.name)); // indented by drawing: typed letters find the name
        c.items.push_back(e.path);
        c.paths.push_back(Widen(e.path));
        c.depths.push_back(e.depth);
        c.opens.push_back(e.open);
    }
    const int open = OpenFolderLine(entries);
    if (open >= 0) c.caption = entries[static_cast<std::size_t>(open)].path;
    c.tipLine = -1;
    ShowOpenFolder(id.Form());
    if (!c.hwnd) return;
    ReplaceLines(c.hwnd, lines, LB_RESETCONTENT, LB_ADDSTRING);
    // A deep folder's line scrolls sideways rather than being cut off.
    c.widest = WidestLine(c.hwnd, lines, 0,
                          [&](std::size_t i) { return LineLead(id, static_cast<int>(i)); }) +
               Scale(id.Form(), 3);
    SendMessageW(c.hwnd, LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(c.widest), 0);
    SendMessageW(c.hwnd, LB_SETCURSEL, static_cast<WPARAM>(open), 0);
}

void Win32WindowSystem::FillFileList(ControlId id, std::string_view folder) {
    Control& c = At(id);
    c.items = ListFiles(folder, id.Design().caption.empty() ? "*.*" : id.Design().caption);
    if (!c.hwnd) return;
    std::vector<std::wstring> lines;
    for (const std::string& name : c.items)
        lines.push_back(Widen(name));
    ReplaceLines(c.hwnd, lines, LB_RESETCONTENT, LB_ADDSTRING);
}

// The machine's drives and the Wine prefix's drive letters; the working folder's drive chosen.
void Win32WindowSystem::FillDriveList(ControlId id) {
    Control& c = At(id);
    std::vector<std::wstring> names;
    c.items.clear();
    c.paths.clear();
    for (const DriveEntry& drive : ListDrives(dosdevices_)) {
        names.push_back(Widen(drive.name));
        c.items.push_back(drive.root);
        c.paths.push_back(Widen(drive.root));
    }
    ReplaceLines(c.hwnd, names, CB_RESETCONTENT, CB_ADDSTRING);
    std::error_code ec;
    const std::filesystem::path current = std::filesystem::current_path(ec);
    const std::u8string working = current.u8string();
    ChooseDriveOf(id, ec ? std::string_view{} : std::string(working.begin(), working.end()));
}

void Win32WindowSystem::ChooseDriveOf(ControlId id, std::string_view folder) {
    Control& c = At(id);
    std::vector<DriveEntry> drives;
    for (std::size_t i = 0; i < c.items.size(); ++i)
        drives.push_back({c.items[i], c.items[i]});
    c.chosen = folder.empty() ? -1 : DriveHolding(drives, folder);
    c.caption = c.chosen >= 0 ? c.items[static_cast<std::size_t>(c.chosen)] : std::string();
    if (c.hwnd) SendMessageW(c.hwnd, CB_SETCURSEL, static_cast<WPARAM>(c.chosen), 0);
}

// How far in from the list's left edge a line's text starts.
int Win32WindowSystem::LineLead(ControlId list, int line) const {
    const FormId form = list.Form();
    const Control& c = At(list);
    if (list.Kind() != ControlKind::DirList || line < 0 ||
        line >= static_cast<int>(c.depths.size()))
        return Scale(form, 2);
    return Scale(form, 2 + c.depths[static_cast<std::size_t>(line)] * kIndent + kIconSize + 4);
}

int Win32WindowSystem::MarkWidth(ControlId list, LineMark mark) {
    if (mark == LineMark::None) return 0;
    const FormId form = list.Form();
    const SIZE text = [&] {
        HDC dc = GetDC(nullptr);
        HGDIOBJ old = SelectObject(dc, Font(Dpi(form), Face::Narrow));
        SIZE size{};
        GetTextExtentPoint32W(dc, L"child", 5, &size);
        SelectObject(dc, old);
        ReleaseDC(nullptr, dc);
        return size;
    }();
    return Scale(form, kMarkGap) + text.cx + Scale(form, 8);
}

int Win32WindowSystem::LineHeight(ControlId list) {
    const FormId form = list.Form();
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, Font(Dpi(form), Face::Dialog));
    TEXTMETRICW tm{};
    GetTextMetricsW(dc, &tm);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    const int icon = list.Kind() == ControlKind::DirList ? Scale(form, kIconSize) : 0;
    return std::max<int>(tm.tmHeight, icon) + Scale(form, 2);
}

// The shell's own folder icon, at the size asked for.
HICON Win32WindowSystem::FolderIcon(bool open, int size) {
    HICON& icon = folderIcons_[{open, size}];
    if (icon) return icon;
    SHSTOCKICONINFO info{};
    info.cbSize = sizeof(info);
    if (SUCCEEDED(
            SHGetStockIconInfo(open ? SIID_FOLDEROPEN : SIID_FOLDER, SHGSI_ICONLOCATION, &info)))
        (void)SHDefExtractIconW(info.szPath, info.iIcon, 0, &icon, nullptr,
                                static_cast<UINT>(MAKELONG(size, size)));
    if (!icon && SUCCEEDED(SHGetStockIconInfo(open ? SIID_FOLDEROPEN : SIID_FOLDER,
                                              SHGSI_ICON | SHGSI_SMALLICON, &info)))
        icon = info.hIcon;
    return icon;
}

void Win32WindowSystem::PaintListLine(const DRAWITEMSTRUCT& item) {
    const std::optional<ControlId> id = ControlOfId(static_cast<int>(item.CtlID));
    if (!id || !Open(*id)) return;
    HDC dc = item.hDC;
    RECT r = item.rcItem;
    const bool selected = (item.itemState & ODS_SELECTED) != 0;
    ::FillRect(dc, &r, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    if (item.itemID == static_cast<UINT>(-1)) {
        if (item.itemState & ODS_FOCUS) DrawFocusRect(dc, &r);
        return;
    }
    const FormId form = id->Form();
    const Control& c = At(*id);
    const auto line = static_cast<int>(item.itemID);
    const auto at = static_cast<std::size_t>(line);
    int x = r.left + LineLead(*id, line);
    if (id->Kind() == ControlKind::DirList && at < c.depths.size()) {
        const int size = Scale(form, kIconSize);
        if (HICON icon = FolderIcon(c.opens[at], size))
            DrawIconEx(dc, x - size - Scale(form, 4), r.top + (r.bottom - r.top - size) / 2, icon,
                       size, size, 0, nullptr, DI_NORMAL);
    }
    const auto length =
        static_cast<int>(SendMessageW(item.hwndItem, LB_GETTEXTLEN, item.itemID, 0));
    std::wstring text(static_cast<std::size_t>(std::max(length, 0)) + 1, L'\0');
    SendMessageW(item.hwndItem, LB_GETTEXT, item.itemID, reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(std::max(length, 0)));
    const bool enabled = IsWindowEnabled(item.hwndItem) != FALSE;
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(selected  ? COLOR_HIGHLIGHTTEXT
                                 : enabled ? COLOR_WINDOWTEXT
                                           : COLOR_GRAYTEXT));
    HGDIOBJ oldFont = SelectObject(dc, Font(Dpi(form), Face::Dialog));
    RECT textRect{x, r.top, r.right, r.bottom};
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &textRect,
              DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    const LineMark mark = at < c.marks.size() ? c.marks[at] : LineMark::None;
    if (mark != LineMark::None) {
        SIZE size{};
        GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
        const int left = x + size.cx + Scale(form, kMarkGap);
        const int width = MarkWidth(*id, mark) - Scale(form, kMarkGap);
        const int inset = Scale(form, 2);
        RECT tag{left, r.top + inset, left + width, r.bottom - inset};
        const COLORREF ink = selected ? GetSysColor(COLOR_HIGHLIGHTTEXT) : RGB(0, 96, 160);
        HPEN pen = CreatePen(PS_SOLID, std::max(1, Scale(form, 1)), ink);
        HBRUSH fill = CreateSolidBrush(RGB(224, 240, 255));
        HGDIOBJ oldPen = SelectObject(dc, pen);
        HGDIOBJ oldBrush = SelectObject(dc, selected ? GetStockObject(NULL_BRUSH) : fill);
        const int round = (tag.bottom - tag.top) * 4 / 5;
        RoundRect(dc, tag.left, tag.top, tag.right, tag.bottom, round, round);
        SelectObject(dc, oldBrush);
        SelectObject(dc, oldPen);
        DeleteObject(fill);
        DeleteObject(pen);
        SelectObject(dc, Font(Dpi(form), Face::Narrow));
        SetTextColor(dc, ink);
        DrawTextW(dc, L"child", 5, &tag, DT_SINGLELINE | DT_VCENTER | DT_CENTER | DT_NOPREFIX);
    }
    SelectObject(dc, oldFont);
    if (item.itemState & ODS_FOCUS) DrawFocusRect(dc, &r);
}

void Win32WindowSystem::ShowOpenFolder(FormId form) {
    std::string open;
    for (const ControlDesign& d : form.Controls())
        if (d.kind == ControlKind::DirList) open = At(form.IdOf(d)).caption;
    for (const ControlDesign& d : form.Controls())
        if (d.kind == ControlKind::FolderBox) {
            Control& box = At(form.IdOf(d));
            box.caption = open;
            if (box.hwnd) SetWindowTextW(box.hwnd, Widen(open).c_str());
        }
}

void Win32WindowSystem::OpenTypedFolder(ControlId box) {
    const std::string typed = Caption(box);
    std::error_code ec;
    if (typed.empty() || !std::filesystem::is_directory(TextPath(typed), ec)) {
        Beep();
        return;
    }
    const FormId form = box.Form();
    for (const ControlDesign& d : form.Controls())
        if (d.kind == ControlKind::DirList) {
            SetCaption(form.IdOf(d), typed);
            Send(form.IdOf(d), UiEvent::Change);
        }
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

// The tooltip tells the whole path of the line under the pointer.
void Win32WindowSystem::ShowFolderTip(ControlId id, int line) {
    Control& c = At(id);
    if (!c.tip || line == c.tipLine) return;
    c.tipLine = line;
    const std::wstring text = line >= 0 && line < static_cast<int>(c.paths.size())
                                  ? c.paths[static_cast<std::size_t>(line)]
                                  : std::wstring();
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof(tool);
    tool.hwnd = GetParent(c.hwnd);
    tool.uId = reinterpret_cast<UINT_PTR>(c.hwnd);
    tool.lpszText = const_cast<wchar_t*>(text.c_str());
    SendMessageW(c.tip, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
    SendMessageW(c.tip, TTM_ACTIVATE, !text.empty(), 0);
}

// ---- captions and states

void Win32WindowSystem::SetCaption(ControlId control, std::string_view text) {
    // A closed window's label (the splash's, after start-up) takes no text.
    Control* c = Open(control);
    if (!c) return;
    c->caption = std::string(text);
    switch (control.Kind()) {
    case ControlKind::Window:
        RefreshTitle(control.Form());
        break;
    case ControlKind::Menu:
        if (const ControlDesign& d = control.Design(); !d.parent.empty())
            RebuildMenu(*ControlId::Find(d.parent));
        else
            RebuildMenu(control.Form().Control());
        break;
    case ControlKind::Button:
        SetWindowTextW(c->hwnd, WidenShown(text).c_str());
        break;
    case ControlKind::DirList:
        FillDirList(control, text);
        break;
    case ControlKind::FileList:
        FillFileList(control, text);
        break;
    case ControlKind::DriveList:
        ChooseDriveOf(control, text);
        break;
    case ControlKind::FolderBox:
        SetWindowTextW(c->hwnd, Widen(text).c_str());
        break;
    case ControlKind::Label: // drawn from the caption at the next repaint
        SetWindowTextW(c->hwnd, WidenShown(text).c_str());
        Invalidate(control);
        break;
    case ControlKind::Frame:
        Invalidate(control);
        break;
    default:
        break;
    }
}

std::string Win32WindowSystem::Caption(ControlId control) const {
    const Control* c = Open(control);
    if (!c) return {};
    if (control.Kind() == ControlKind::Combo)
        return c->chosen >= 0 && c->chosen < static_cast<int>(c->items.size())
                   ? c->items[static_cast<std::size_t>(c->chosen)]
                   : std::string();
    if (control.Kind() == ControlKind::FolderBox && c->hwnd) {
        std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(c->hwnd)) + 1, L'\0');
        text.resize(static_cast<std::size_t>(
            GetWindowTextW(c->hwnd, text.data(), static_cast<int>(text.size()))));
        return Narrow(text);
    }
    return c->caption;
}

void Win32WindowSystem::SetEnabled(ControlId control, bool enabled) {
    Control* c = Open(control);
    if (!c) return;
    c->enabled = enabled;
    if (c->hwnd) EnableWindow(c->hwnd, enabled);
    if (control.Kind() == ControlKind::Menu) {
        const ControlDesign& d = control.Design();
        RebuildMenu(d.parent.empty() ? control.Form().Control() : *ControlId::Find(d.parent));
        if (control == kSaveEntry) RefreshTitle(control.Form());
    }
    if (IsPainted(control.Kind())) Invalidate(control);
}

bool Win32WindowSystem::IsEnabled(ControlId control) const {
    const Control* c = Open(control);
    return c && c->enabled;
}

void Win32WindowSystem::SetChecked(ControlId menuEntry, bool checked) {
    Control& c = At(menuEntry);
    c.checked = checked;
    const ControlDesign& d = menuEntry.Design();
    if (menuEntry.Kind() == ControlKind::Menu && !d.parent.empty())
        RebuildMenu(*ControlId::Find(d.parent));
}

bool Win32WindowSystem::IsChecked(ControlId menuEntry) const {
    return At(menuEntry).checked;
}

void Win32WindowSystem::SetMenuTip(ControlId menuEntry, std::string_view text) {
    At(menuEntry).menuTip = WidenShown(text);
}

// Menus have no tooltips of their own: an entry's tip is a tooltip put beside the entry while
// it is highlighted (WM_MENUSELECT), and taken away with the highlight or the menu.
void Win32WindowSystem::ShowMenuTip(HWND window, HMENU menu, UINT item, UINT flags) {
    if (!menuTip_ || !IsWindow(menuTip_)) {
        menuTip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                                   WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, 0, 0, 0, 0, window,
                                   nullptr, GetModuleHandleW(nullptr), nullptr);
        TTTOOLINFOW tool{};
        tool.cbSize = sizeof(tool);
        tool.uFlags = TTF_TRACK | TTF_ABSOLUTE;
        tool.hwnd = window;
        tool.lpszText = const_cast<wchar_t*>(L"");
        SendMessageW(menuTip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
        SendMessageW(menuTip_, TTM_SETMAXTIPWIDTH, 0, 32767);
    }
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof(tool);
    tool.hwnd = window;
    const std::optional<ControlId> id =
        menu && (flags & MF_POPUP) == 0 ? ControlOfId(static_cast<int>(item)) : std::nullopt;
    const std::wstring* tip = id ? &At(*id).menuTip : nullptr;
    int position = -1;
    for (int i = 0; tip && !tip->empty() && i < GetMenuItemCount(menu) && position < 0; ++i)
        if (GetMenuItemID(menu, i) == item) position = i;
    RECT entry{};
    if (position < 0 || !GetMenuItemRect(window, menu, static_cast<UINT>(position), &entry)) {
        SendMessageW(menuTip_, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&tool));
        return;
    }
    tool.lpszText = const_cast<wchar_t*>(tip->c_str());
    SendMessageW(menuTip_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
    SendMessageW(menuTip_, TTM_TRACKPOSITION, 0, MAKELPARAM(entry.right, entry.top));
    SendMessageW(menuTip_, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&tool));
}

// ---- lists

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
    c.marks.clear();
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
    SendMessageW(c.hwnd, LB_SETHORIZONTALEXTENT, 0, 0);
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

// A line wider than the list scrolls sideways rather than being cut off, as far as its mark.
void Win32WindowSystem::MeasureLines(ControlId list) {
    Control& c = At(list);
    if (c.measured >= c.items.size()) return;
    // A list box writes its lines a pixel in from the left edge.
    const int width =
        WidestLine(c.hwnd, c.items, c.measured,
                   [&](std::size_t i) {
                       const LineMark mark = i < c.marks.size() ? c.marks[i] : LineMark::None;
                       return LineLead(list, static_cast<int>(i)) + MarkWidth(list, mark);
                   }) +
        Scale(list.Form(), 3);
    c.measured = c.items.size();
    if (width > c.widest) {
        c.widest = width;
        SendMessageW(c.hwnd, LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(width), 0);
    }
}

void Win32WindowSystem::ListSetMark(ControlId list, int index, LineMark mark) {
    Control& c = At(list);
    if (index < 0 || index >= ListCount(list)) return;
    c.marks.resize(c.items.size());
    c.marks[static_cast<std::size_t>(index)] = mark;
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
    const Control& c = At(list);
    return index >= 0 && index < static_cast<int>(c.marks.size())
               ? c.marks[static_cast<std::size_t>(index)]
               : LineMark::None;
}

void Win32WindowSystem::FinishFills() {
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
    if (!c.hwnd) return c.chosen == index;
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

// ---- pictures

bool Win32WindowSystem::SetPictureBitmap(ControlId box, BitmapBytes bmpFile) {
    std::optional<BmpFile> bmp = ReadBmpFile(bmpFile);
    if (!bmp) return false;
    Control& c = At(box);
    c.bitmap = std::make_shared<const BmpFile>(std::move(*bmp));
    c.shows = Control::Shows::Bitmap;
    Invalidate(box);
    return true;
}

void Win32WindowSystem::SetPictureStock(ControlId box) {
    CopyPicture(kStockPictureHolder, box);
}

void Win32WindowSystem::CopyPicture(ControlId from, ControlId to) {
    const Control& source = At(from);
    Control& target = At(to);
    target.shows = source.shows;
    target.bitmap = source.bitmap;
    Invalidate(to);
}

void Win32WindowSystem::RemovePicture(ControlId box) {
    Control& c = At(box);
    c.shows = Control::Shows::Nothing;
    c.bitmap.reset();
    c.ops.clear();
    Invalidate(box);
}

void Win32WindowSystem::PictureClear(ControlId box) {
    At(box).ops.clear();
    Invalidate(box);
}

void Win32WindowSystem::SetLineWidth(ControlId box, int width) {
    At(box).lineWidth = width;
}

void Win32WindowSystem::FillRect(ControlId box, float x1, float y1, float x2, float y2, Rgb c) {
    Control& p = At(box);
    p.ops.push_back({DrawOp::Kind::Fill, x1, y1, x2, y2, 0, c, p.lineWidth});
    Invalidate(box);
}

void Win32WindowSystem::DrawLine(ControlId box, float x1, float y1, float x2, float y2, Rgb c) {
    Control& p = At(box);
    p.ops.push_back({DrawOp::Kind::Line, x1, y1, x2, y2, 0, c, p.lineWidth});
    Invalidate(box);
}

void Win32WindowSystem::DrawArc(ControlId box, float cx, float cy, float radius, float fromAngle,
                                float toAngle, std::optional<Rgb> c) {
    Control& p = At(box);
    p.ops.push_back({DrawOp::Kind::Arc, cx, cy, radius, fromAngle, toAngle, c, p.lineWidth});
    Invalidate(box);
}

float Win32WindowSystem::ScaleWidth(ControlId box) const {
    const ControlDesign& d = box.Design();
    return static_cast<float>(d.width - (d.border ? 4 : 0));
}

float Win32WindowSystem::ScaleHeight(ControlId box) const {
    const ControlDesign& d = box.Design();
    return static_cast<float>(d.height - (d.border ? 4 : 0));
}

// What a picture box shows, into `inner` (its client area, or where it lies under a label).
void Win32WindowSystem::PaintPicture(ControlId box, HDC dc, const RECT& inner) const {
    const Control& c = At(box);
    const FormId form = box.Form();
    const double scale = Dpi(form) / static_cast<double>(USER_DEFAULT_SCREEN_DPI);
    const int innerWidth = inner.right - inner.left, innerHeight = inner.bottom - inner.top;
    const auto sized = [&](int width, int height) {
        // The picture's own size at this scale, made smaller to fit, never larger.
        double w = width * scale, h = height * scale;
        if (w > innerWidth || h > innerHeight) {
            const double fit = std::min(innerWidth / w, innerHeight / h);
            w *= fit;
            h *= fit;
        }
        return RECT{inner.left, inner.top, inner.left + static_cast<int>(std::lround(w)),
                    inner.top + static_cast<int>(std::lround(h))};
    };
    if (!c.ops.empty()) ::FillRect(dc, &inner, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    switch (c.shows) {
    case Control::Shows::Nothing:
        break;
    case Control::Shows::Bitmap: {
        const BmpFile& bmp = *c.bitmap;
        const RECT to = sized(bmp.width, bmp.height);
        SetStretchBltMode(dc, HALFTONE);
        SetBrushOrgEx(dc, 0, 0, nullptr);
        StretchDIBits(dc, to.left, to.top, to.right - to.left, to.bottom - to.top, 0, 0, bmp.width,
                      bmp.height, bmp.bytes.data() + bmp.bitsOffset,
                      reinterpret_cast<const BITMAPINFO*>(bmp.bytes.data() + bmp.infoOffset),
                      DIB_RGB_COLORS, SRCCOPY);
        break;
    }
    case Control::Shows::Stock:
        PaintStockPicture(dc, sized(25, 25));
        break;
    case Control::Shows::Splash:
        PaintSplashPicture(dc, sized(320, 240));
        break;
    }
    if (c.ops.empty()) return;
    const auto X = [&](float v) { return inner.left + static_cast<int>(std::lround(v * scale)); };
    const auto Y = [&](float v) { return inner.top + static_cast<int>(std::lround(v * scale)); };
    const int saved = SaveDC(dc);
    IntersectClipRect(dc, inner.left, inner.top, inner.right, inner.bottom);
    SelectObject(dc, GetStockObject(NULL_BRUSH));
    for (const DrawOp& op : c.ops) {
        const int width = std::max(1, static_cast<int>(std::lround(op.lineWidth * scale)));
        HPEN pen = CreatePen(PS_SOLID, width, Colour(op.colour));
        HGDIOBJ old = SelectObject(dc, pen);
        switch (op.kind) {
        case DrawOp::Kind::Fill: {
            HBRUSH brush = CreateSolidBrush(Colour(op.colour));
            const RECT r{X(std::min(op.a, op.c)), Y(std::min(op.b, op.d)), X(std::max(op.a, op.c)),
                         Y(std::max(op.b, op.d))};
            ::FillRect(dc, &r, brush);
            DeleteObject(brush);
            break;
        }
        case DrawOp::Kind::Line:
            MoveToEx(dc, X(op.a), Y(op.b), nullptr);
            LineTo(dc, X(op.c), Y(op.d));
            break;
        case DrawOp::Kind::Arc: {
            // Counter-clockwise on screen from d to e, as GDI draws by default; y points down.
            const float r = op.c;
            SetArcDirection(dc, AD_COUNTERCLOCKWISE);
            Arc(dc, X(op.a - r), Y(op.b - r), X(op.a + r), Y(op.b + r),
                X(op.a + r * std::cos(op.d)), Y(op.b - r * std::sin(op.d)),
                X(op.a + r * std::cos(op.e)), Y(op.b - r * std::sin(op.e)));
            break;
        }
        }
        SelectObject(dc, old);
        DeleteObject(pen);
    }
    RestoreDC(dc, saved);
}

// ---- scroll bar and shapes

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
    case SB_LINELEFT:
        value -= c.smallChange;
        break;
    case SB_LINERIGHT:
        value += c.smallChange;
        break;
    case SB_PAGELEFT:
        value -= c.largeChange;
        break;
    case SB_PAGERIGHT:
        value += c.largeChange;
        break;
    case SB_LEFT:
        value = c.scrollMin;
        break;
    case SB_RIGHT:
        value = c.scrollMax;
        break;
    case SB_THUMBPOSITION: { // the change comes when the thumb is let go
        SCROLLINFO info{sizeof(info), SIF_TRACKPOS, 0, 0, 0, 0, 0};
        GetScrollInfo(c.hwnd, SB_CTL, &info);
        value = info.nTrackPos;
        break;
    }
    default:
        return;
    }
    value = std::clamp(value, c.scrollMin, c.scrollMax);
    if (!SetScrollValue(bar, value)) return;
    Send(bar, UiEvent::Change);
}

void Win32WindowSystem::SetFillStyle(ControlId shape, int style) {
    At(shape).fillStyle = style;
    Invalidate(shape);
}

int Win32WindowSystem::FillStyle(ControlId shape) const {
    return At(shape).fillStyle;
}

void Win32WindowSystem::SetWindowIcon(int index) {
    icon_ = std::clamp(index, 0, 4);
    HWND main = Window(kMainForm);
    if (!main) return;
    const int dpi = Dpi(kMainForm);
    const int big = MulDiv(32, dpi, USER_DEFAULT_SCREEN_DPI);
    const int small = MulDiv(16, dpi, USER_DEFAULT_SCREEN_DPI);
    SendMessageW(main, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(Icon(icon_, big)));
    SendMessageW(main, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(Icon(icon_, small)));
}

// ---- windows

namespace {

// Centred on the owner when it is shown, else on the work area; kept within the work area of
// the owner's monitor, its title bar within reach.
void CentreOnOwner(HWND hwnd, HWND owner) {
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    GetMonitorInfoW(MonitorFromWindow(owner ? owner : hwnd, MONITOR_DEFAULTTOPRIMARY), &monitor);
    RECT r{};
    GetWindowRect(hwnd, &r);
    const int width = r.right - r.left, height = r.bottom - r.top;
    const RECT& area = monitor.rcWork;
    RECT around = area;
    if (owner && IsWindowVisible(owner) && !IsIconic(owner)) GetWindowRect(owner, &around);
    int x = around.left + (around.right - around.left - width) / 2;
    int y = around.top + (around.bottom - around.top - height) / 2;
    x = std::max<int>(area.left, std::min<int>(x, area.right - width));
    y = std::max<int>(area.top, std::min<int>(y, area.bottom - height));
    SetWindowPos(hwnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

} // namespace

// The window's first control for the keyboard, else the window itself.
void Win32WindowSystem::Focus(FormId form) {
    const std::optional<ControlId> first = FirstFocus(form);
    HWND control = first ? At(*first).hwnd : nullptr;
    SetFocus(control && IsWindowEnabled(control) ? control : Window(form));
}

void Win32WindowSystem::LoadForm(FormId form) {
    if (IsLoaded(form)) return;
    Build(form);
}

void Win32WindowSystem::ShowForm(FormId form) {
    LoadForm(form);
    HWND hwnd = Window(form);
    // Dialogs open in the middle of the main window; the main window the first time in the
    // middle of the screen.
    const bool main = form.Design().style == WindowStyle::Main;
    if (!IsWindowVisible(hwnd) && (!main || !mainPlaced_))
        CentreOnOwner(hwnd, main ? nullptr : Window(kMainForm));
    if (main) mainPlaced_ = true;
    if (IsWindowVisible(hwnd)) {
        SetForegroundWindow(hwnd);
        return;
    }
    ShowWindow(hwnd, SW_SHOW);
    UpdateWindow(hwnd);
    if (GetForegroundWindow() == hwnd) Focus(form);
}

void Win32WindowSystem::EnableOwners(Modal& modal) {
    // Enabled again before the modal window goes, so that the activation returns to them.
    for (HWND hwnd : modal.disabled)
        if (IsWindow(hwnd)) EnableWindow(hwnd, TRUE);
    modal.disabled.clear();
}

void Win32WindowSystem::ShowModal(FormId form) {
    LoadForm(form);
    HWND dialog = Window(form);
    Modal modal{form.Control().Row(), {}};
    for (FormId other : AllForms()) {
        HWND hwnd = Window(other);
        if (other == form || !hwnd || !IsWindowVisible(hwnd) || !IsWindowEnabled(hwnd)) continue;
        EnableWindow(hwnd, FALSE);
        modal.disabled.push_back(hwnd);
    }
    modals_.push_back(std::move(modal));
    if (!IsWindowVisible(dialog)) CentreOnOwner(dialog, Window(kMainForm));
    ShowWindow(dialog, SW_SHOW);
    SetForegroundWindow(dialog);
    Focus(form);
    MSG msg;
    while (IsLoaded(form) && Window(form) == dialog && !ended_) {
        Bury();
        FinishFills();
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got <= 0) {
            if (got == 0) PostQuitMessage(static_cast<int>(msg.wParam)); // for the outer loop
            break;
        }
        Route(msg);
    }
    for (auto it = modals_.begin(); it != modals_.end(); ++it)
        if (it->row == form.Control().Row()) {
            EnableOwners(*it);
            modals_.erase(it);
            break;
        }
    if (IsLoaded(form) && Window(form) == dialog) Destroy(form);
    Bury();
}

void Win32WindowSystem::UnloadForm(FormId form) {
    if (form.Design().style == WindowStyle::Main) return; // only the end closes it
    if (At(form.Control()).hwnd) Destroy(form);
}

bool Win32WindowSystem::IsLoaded(FormId form) const {
    return !ended_ && At(form.Control()).hwnd != nullptr;
}

MsgAnswer Win32WindowSystem::ShowMessageBox(std::string_view text, MsgButtons buttons, MsgIcon icon,
                                            std::string_view title) {
    HWND owner = nullptr;
    if (std::optional<FormId> modal = ModalForm()) owner = Window(*modal);
    if (!owner && IsWindowVisible(Window(kMainForm))) owner = Window(kMainForm);
    FinishFills(); // the question stands over the lists as they now are
    // The pointer of a running command does not stand over the question.
    const HCURSOR pointer = pointer_;
    pointer_ = nullptr;
    const MsgAnswer answer = RunMessageBox(owner, text, buttons, icon, title);
    pointer_ = pointer;
    return answer;
}

// The shell's folder picker.
std::optional<std::string> Win32WindowSystem::ChooseFolder(FormId owner, std::string_view start) {
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    std::optional<std::string> chosen;
    IFileOpenDialog* dialog = nullptr;
    if (SUCCEEDED(CoCreateInstance(CLSID_FileOpenDialog, nullptr, CLSCTX_INPROC_SERVER,
                                   IID_IFileOpenDialog, reinterpret_cast<void**>(&dialog)))) {
        FILEOPENDIALOGOPTIONS options = 0;
        dialog->GetOptions(&options);
        dialog->SetOptions(options | FOS_PICKFOLDERS | FOS_FORCEFILESYSTEM | FOS_PATHMUSTEXIST);
        IShellItem* at = nullptr;
        if (SUCCEEDED(SHCreateItemFromParsingName(Widen(start).c_str(), nullptr, IID_IShellItem,
                                                  reinterpret_cast<void**>(&at)))) {
            dialog->SetFolder(at);
            at->Release();
        }
        IShellItem* result = nullptr;
        if (SUCCEEDED(dialog->Show(Window(owner))) && SUCCEEDED(dialog->GetResult(&result))) {
            PWSTR path = nullptr;
            if (SUCCEEDED(result->GetDisplayName(SIGDN_FILESYSPATH, &path)) && path)
                chosen = Narrow(path);
            CoTaskMemFree(path);
            result->Release();
        }
        dialog->Release();
    }
    if (SUCCEEDED(com)) CoUninitialize();
    return chosen;
}

void Win32WindowSystem::Beep() {
    MessageBeep(MB_OK);
}

void Win32WindowSystem::SetPointer(MousePointer pointer) {
    const wchar_t* shape = pointer == MousePointer::Hourglass ? IDC_WAIT
                           : pointer == MousePointer::UpArrow ? IDC_UPARROW
                                                              : nullptr;
    pointer_ = shape ? LoadCursorW(nullptr, shape) : nullptr;
    SetCursor(pointer_ ? pointer_ : LoadCursorW(nullptr, IDC_ARROW));
}

void Win32WindowSystem::ShellOpen(FormId window, std::string_view document) {
    // Failures are ignored: the page is offered, not needed.
    (void)ShellExecuteW(Window(window), L"open", Widen(document).c_str(), nullptr, nullptr,
                        SW_SHOWNORMAL);
}

void Win32WindowSystem::EndProgram(int exitCode) {
    SetPointer(MousePointer::Default);
    for (FormId form : AllForms())
        if (HWND hwnd = Window(form)) ShowWindow(hwnd, SW_HIDE);
    ended_ = true;
    exitCode_ = exitCode;
    // Wakes a loop waiting for input, which then sees the end.
    PostThreadMessageW(GetCurrentThreadId(), WM_NULL, 0, 0);
}

void Win32WindowSystem::Route(MSG& msg) {
    // Tab, Enter, Escape and mnemonics work in every window as in a dialog.
    HWND root = msg.hwnd ? GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
    if (root && FormOf(root) && IsDialogMessageW(root, &msg)) return;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
}

void Win32WindowSystem::ProcessEvents() {
    Bury();
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam)); // for the loop that waits for it
            break;
        }
        Route(msg);
    }
}

void Win32WindowSystem::IdleTurn() {
    FinishFills();
    ProcessEvents();
}

int Win32WindowSystem::Run() {
    MSG msg;
    while (!ended_) {
        Bury();
        FinishFills();
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got <= 0) return ended_ ? exitCode_ : static_cast<int>(msg.wParam);
        Route(msg);
    }
    return exitCode_;
}

bool Win32WindowSystem::Send(ControlId control, UiEvent event) {
    if (ended_ || !eventSink) return false;
    return eventSink(control, event);
}

// ---- events

namespace {
constexpr UINT kNavigate = WM_APP + 1; // a folder picked in a folder list, opened after the pick
constexpr wchar_t kFocusProperty[] = L"AdultifyFocus";

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
    return reinterpret_cast<Win32WindowSystem*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
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
    case WM_COMMAND:
        OnCommand(form, wp, lp);
        return 0;
    case WM_MENUSELECT:
        ShowMenuTip(hwnd, reinterpret_cast<HMENU>(lp), LOWORD(wp), HIWORD(wp));
        return 0;
    case kNavigate:
        if (std::optional<ControlId> id = ControlOfId(static_cast<int>(wp)); id && Open(*id)) {
            const Control& c = At(*id);
            const auto line = static_cast<std::size_t>(lp);
            if (line < c.paths.size()) {
                SetCaption(*id, Narrow(c.paths[line]));
                Send(*id, UiEvent::Change);
            }
        }
        return 0;
    case WM_HSCROLL:
        if (std::optional<ControlId> id = ControlOfId(GetDlgCtrlID(reinterpret_cast<HWND>(lp))))
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
        return ended_ ? TRUE : FALSE;
    case WM_MOUSEMOVE:
        OnMouseMove(form, lp);
        break;
    case WM_CHAR:
        if (form.Control().Reports(UiEvent::KeyPress)) {
            Send(form.Control(), UiEvent::KeyPress);
            return 0;
        }
        break;
    case WM_GETFONT: // the font the window writes its frames' titles in
        return reinterpret_cast<LRESULT>(Font(Dpi(form), Face::Dialog));
    case WM_SETCURSOR:
        if (pointer_) {
            SetCursor(pointer_);
            return TRUE;
        }
        break;
    case WM_DRAWITEM: {
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
        if (item->CtlType == ODT_LISTBOX) {
            PaintListLine(*item);
            return TRUE;
        }
        if (item->CtlType != ODT_STATIC) break;
        PaintLabel(*item);
        return TRUE;
    }
    case WM_MEASUREITEM: // while the list is made; its font's height is set when laid out
        if (auto* item = reinterpret_cast<MEASUREITEMSTRUCT*>(lp); item->CtlType == ODT_LISTBOX) {
            item->itemHeight = static_cast<UINT>(Scale(form, kIconSize + 2));
            return TRUE;
        }
        break;
    case WM_SIZE:
        FollowSize(form);
        break;
    case WM_GETMINMAXINFO:
        if (form.Design().sizable) {
            // Never smaller than laid out.
            RECT outer{0, 0, Scale(form, form.Design().width), Scale(form, form.Design().height)};
            AdjustWindowRectEx(&outer, static_cast<DWORD>(GetWindowLongPtrW(hwnd, GWL_STYLE)),
                               FALSE, static_cast<DWORD>(GetWindowLongPtrW(hwnd, GWL_EXSTYLE)));
            auto* info = reinterpret_cast<MINMAXINFO*>(lp);
            info->ptMinTrackSize = {outer.right - outer.left, outer.bottom - outer.top};
            return 0;
        }
        break;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        PaintForm(form, dc);
        EndPaint(hwnd, &ps);
        return 0;
    }
    case WM_DPICHANGED: {
        const auto* suggested = reinterpret_cast<const RECT*>(lp);
        SetWindowPos(hwnd, nullptr, suggested->left, suggested->top,
                     suggested->right - suggested->left, suggested->bottom - suggested->top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        Layout(form);
        for (const ControlDesign& c : form.Controls())
            if (HWND list = At(form.IdOf(c)).hwnd; list && c.kind == ControlKind::List) {
                // The lines' widths change with the font.
                Control& l = At(form.IdOf(c));
                std::vector<std::string> lines = l.items;
                std::vector<LineMark> marks = l.marks;
                const int chosen = l.chosen;
                ListClear(form.IdOf(c));
                for (const std::string& line : lines)
                    ListAdd(form.IdOf(c), line);
                for (std::size_t i = 0; i < marks.size(); ++i)
                    if (marks[i] != LineMark::None)
                        ListSetMark(form.IdOf(c), static_cast<int>(i), marks[i]);
                ListSelect(form.IdOf(c), chosen);
            } else if (list && c.kind == ControlKind::DirList) {
                const std::string open = At(form.IdOf(c)).caption; // a copy: it is listed anew
                FillDirList(form.IdOf(c), open);
            }
        if (form == kMainForm) SetWindowIcon(icon_);
        return 0;
    }
    case WM_ACTIVATE:
        // The control that had the focus gets it back when the window is active again.
        if (LOWORD(wp) == WA_INACTIVE) {
            HWND focus = GetFocus();
            SetPropW(hwnd, kFocusProperty, focus && IsChild(hwnd, focus) ? focus : nullptr);
        } else if (auto focus = static_cast<HWND>(GetPropW(hwnd, kFocusProperty));
                   focus && IsWindow(focus) && IsChild(hwnd, focus)) {
            SetFocus(focus);
            return 0;
        }
        break;
    case WM_DESTROY:
        RemovePropW(hwnd, kFocusProperty);
        break;
    default:
        break;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

void Win32WindowSystem::OnCommand(FormId form, WPARAM wp, LPARAM lp) {
    const int id = LOWORD(wp);
    const int code = HIWORD(wp);
    if (lp == 0) {
        // Escape, through the dialog keys: as the close box.
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
        if (code == CBN_SELCHANGE) {
            Control& c = At(*control);
            const auto chosen = static_cast<std::size_t>(SendMessageW(c.hwnd, CB_GETCURSEL, 0, 0));
            if (chosen >= c.items.size()) break;
            c.chosen = static_cast<int>(chosen);
            c.caption = c.items[chosen];
            Send(*control, UiEvent::Change);
        }
        break;
    default:
        break;
    }
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

void Win32WindowSystem::OnMouseMove(FormId form, LPARAM lp) {
    const POINT at{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
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

LRESULT CALLBACK Win32WindowSystem::LabelProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR,
                                              DWORD_PTR self) {
    auto* layer = reinterpret_cast<Win32WindowSystem*>(self);
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
        InvalidateRect(hwnd, nullptr, TRUE);
        break;
    default:
        break;
    }
    if (msg == WM_NCDESTROY) RemoveWindowSubclass(hwnd, LabelProc, kLabelSubclass);
    return DefSubclassProc(hwnd, msg, wp, lp);
}

LRESULT CALLBACK Win32WindowSystem::FolderListProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp,
                                                   UINT_PTR, DWORD_PTR self) {
    if (msg == WM_MOUSEMOVE) {
        auto* layer = reinterpret_cast<Win32WindowSystem*>(self);
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
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        RECT client{};
        GetClientRect(hwnd, &client);
        // Drawn off screen first, so that a picture redrawn often does not flicker.
        HDC buffer = CreateCompatibleDC(dc);
        HBITMAP bitmap = CreateCompatibleBitmap(dc, client.right, client.bottom);
        HGDIOBJ old = SelectObject(buffer, bitmap);
        ::FillRect(buffer, &client, GetSysColorBrush(COLOR_BTNFACE));
        std::optional<ControlId> id = ControlOfId(GetDlgCtrlID(hwnd));
        if (self && id && self->Open(*id)) self->PaintPicture(*id, buffer, client);
        BitBlt(dc, 0, 0, client.right, client.bottom, buffer, 0, 0, SRCCOPY);
        SelectObject(buffer, old);
        DeleteObject(bitmap);
        DeleteDC(buffer);
        EndPaint(hwnd, &ps);
        return 0;
    }
    default:
        return DefWindowProcW(hwnd, msg, wp, lp);
    }
}

// ---- painting

// Frames, shapes and lines have no windows of their own: the window draws them.
void Win32WindowSystem::PaintForm(FormId form, HDC dc) {
    const int dpi = Dpi(form);
    const int oldMode = SetBkMode(dc, TRANSPARENT);
    for (const ControlDesign& c : form.Controls()) {
        const ControlId id = form.IdOf(c);
        RECT r = Place(form, c);
        switch (c.kind) {
        case ControlKind::Frame: {
            HGDIOBJ oldFont = SelectObject(dc, Font(dpi, c.face));
            TEXTMETRICW tm{};
            GetTextMetricsW(dc, &tm);
            RECT edge{r.left, r.top + tm.tmHeight / 2, r.right, r.bottom};
            DrawEdge(dc, &edge, EDGE_ETCHED, BF_RECT);
            const std::wstring text = WidenShown(At(id).caption);
            if (!text.empty()) {
                SIZE size{};
                GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
                const int inset = Scale(form, 8), gap = Scale(form, 2);
                // The title may run up to the frame's right border, as the Qt frames' do.
                const LONG end = r.right - 2 * gap;
                RECT behind{r.left + inset - gap, r.top, r.left + inset + size.cx + gap,
                            r.top + tm.tmHeight};
                // A caption longer than its frame ends in an ellipsis inside the frame.
                behind.right = std::min(behind.right, end + gap);
                ::FillRect(dc, &behind, GetSysColorBrush(COLOR_BTNFACE));
                SetTextColor(dc, GetSysColor(At(id).enabled ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
                RECT line{r.left + inset, r.top, end, r.top + tm.tmHeight};
                DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &line,
                          DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
            }
            SelectObject(dc, oldFont);
            break;
        }
        case ControlKind::Shape: {
            HPEN pen = CreatePen(PS_INSIDEFRAME, std::max(1, Scale(form, 1)),
                                 GetSysColor(COLOR_WINDOWTEXT));
            HBRUSH brush = At(id).fillStyle == 0 ? GetSysColorBrush(COLOR_WINDOWTEXT)
                                                 : static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
            HGDIOBJ oldPen = SelectObject(dc, pen);
            HGDIOBJ oldBrush = SelectObject(dc, brush);
            Rectangle(dc, r.left, r.top, r.right, r.bottom);
            SelectObject(dc, oldPen);
            SelectObject(dc, oldBrush);
            DeleteObject(pen);
            break;
        }
        case ControlKind::Line:
            r.bottom = r.top + 2;
            DrawEdge(dc, &r, EDGE_ETCHED, BF_TOP);
            break;
        default:
            break;
        }
    }
    SetBkMode(dc, oldMode);
}

namespace {

// Wine's Tahoma draws small glyphs narrower than GDI measures them, and an underlined font's
// line, drawn as measured, then runs past the text: each glyph is put where it measures, so
// that text and line end together. One line, aligned and centred in `r` as DrawText would.
void DrawAsMeasured(HDC dc, const std::wstring& text, const RECT& r, UINT format) {
    const auto n = static_cast<int>(text.size());
    std::vector<int> ends(text.size()), steps(text.size());
    SIZE size{};
    GetTextExtentExPointW(dc, text.c_str(), n, 0, nullptr, ends.data(), &size);
    for (std::size_t i = 0; i < ends.size(); ++i)
        steps[i] = ends[i] - (i > 0 ? ends[i - 1] : 0);
    const LONG spare = r.right - r.left - size.cx;
    const LONG x = r.left + ((format & DT_RIGHT) != 0    ? spare
                             : (format & DT_CENTER) != 0 ? spare / 2
                                                         : 0);
    const LONG y = r.top + (r.bottom - r.top - size.cy) / 2;
    ExtTextOutW(dc, x, y, ETO_CLIPPED, &r, text.c_str(), static_cast<UINT>(n), steps.data());
}

} // namespace

// What lies under a label, which has no background of its own: the window's own drawings (a
// frame's border it reaches onto) and the pictures it stands on.
void Win32WindowSystem::PaintBackdrop(FormId form, ControlId over, HDC dc) {
    RECT label{};
    GetClientRect(At(over).hwnd, &label);
    MapWindowPoints(At(over).hwnd, Window(form), reinterpret_cast<POINT*>(&label), 2);
    POINT origin{};
    SetViewportOrgEx(dc, -label.left, -label.top, &origin);
    PaintForm(form, dc);
    SetViewportOrgEx(dc, origin.x, origin.y, nullptr);
    for (const ControlDesign& c : form.Controls()) {
        HWND picture = At(form.IdOf(c)).hwnd;
        if (c.kind != ControlKind::Picture || !picture) continue;
        RECT inner{};
        GetClientRect(picture, &inner);
        MapWindowPoints(picture, Window(form), reinterpret_cast<POINT*>(&inner), 2);
        RECT common{};
        if (!IntersectRect(&common, &inner, &label)) continue;
        OffsetRect(&inner, -label.left, -label.top);
        PaintPicture(form.IdOf(c), dc, inner);
    }
}

void Win32WindowSystem::PaintLabel(const DRAWITEMSTRUCT& item) {
    const std::optional<ControlId> id = ControlOfId(static_cast<int>(item.CtlID));
    if (!id || !Open(*id)) return;
    const FormId form = id->Form();
    const ControlDesign& d = id->Design();
    const Control& c = At(*id);
    HDC dc = item.hDC;
    RECT r = item.rcItem;
    ::FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
    // A static control draws with its window's clipping (CS_PARENTDC): what lies beneath it
    // is kept to its own rectangle.
    const int saved = SaveDC(dc);
    IntersectClipRect(dc, r.left, r.top, r.right, r.bottom);
    PaintBackdrop(form, *id, dc);
    RestoreDC(dc, saved);
    const int dpi = Dpi(form);
    const std::wstring text = WidenShown(c.caption);
    InflateRect(&r, -Scale(form, d.border ? 2 : 0), 0);
    // A narrow caption is condensed only when the plain face does not fit its column.
    HGDIOBJ oldFont = SelectObject(dc, Font(dpi, d.face == Face::Narrow ? Face::Dialog : d.face));
    SIZE plain{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &plain);
    if (d.face == Face::Narrow && plain.cx > r.right - r.left)
        SelectObject(dc, Font(dpi, Face::Narrow));
    const int oldMode = SetBkMode(dc, TRANSPARENT);
    COLORREF ink = GetSysColor(COLOR_BTNTEXT);
    if (d.face == Face::Link) ink = RGB(0, 0, 192);
    if (d.ink == Ink::White) ink = RGB(255, 255, 255);
    if (!c.enabled) ink = GetSysColor(COLOR_GRAYTEXT);
    SetTextColor(dc, ink);
    UINT format = DT_NOPREFIX;
    format |= d.align == Align::Right ? DT_RIGHT : d.align == Align::Centre ? DT_CENTER : DT_LEFT;
    // One line, centred in its height; a long one ends in an ellipsis rather than being cut.
    format |= d.wrap ? DT_WORDBREAK : DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS;
    if (d.face == Face::Link && !d.wrap)
        DrawAsMeasured(dc, text, r, format);
    else
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, format);
    if (GetFocus() == item.hwndItem) {
        RECT mark = r;
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &mark, format | DT_CALCRECT);
        // Where the text stands: DT_CALCRECT measures from the top left corner.
        const LONG spare = r.right - mark.right;
        const LONG dx = d.align == Align::Right ? spare : d.align == Align::Centre ? spare / 2 : 0;
        OffsetRect(&mark, dx, d.wrap ? 0 : (r.bottom - mark.bottom) / 2);
        IntersectRect(&mark, &mark, &item.rcItem);
        DrawFocusRect(dc, &mark);
    }
    SetBkMode(dc, oldMode);
    SelectObject(dc, oldFont);
}

} // namespace adultify::win32
