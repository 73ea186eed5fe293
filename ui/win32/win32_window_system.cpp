#include "ui/win32/win32_window_system.h"

#include "ui/form_design.h"
#include "ui/keyboard.h"
#include "ui/win32/gdi_images.h"
#include "ui/win32/layer_control.h"
#include "ui/win32/message_box.h"

#include <shellapi.h>
#include <shobjidl.h>

#include <algorithm>
#include <stdexcept>

namespace adultify::win32 {

namespace {

using DpiForWindow = UINT(WINAPI*)(HWND);
UINT WindowDpi(HWND hwnd) {
    // Windows 10 1607 and later; older systems draw at 96 DPI and let the system scale.
    static const auto query = reinterpret_cast<DpiForWindow>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
    const UINT dpi = query && hwnd ? query(hwnd) : 0;
    return dpi != 0 ? dpi : USER_DEFAULT_SCREEN_DPI;
}

// An 8-point dialog font; `width` 0 is the face's own.
HFONT NewFont(int dpi, bool underlined, LONG width) {
    LOGFONTW lf{};
    lf.lfHeight = -MulDiv(11, dpi, USER_DEFAULT_SCREEN_DPI);
    lf.lfWidth = width;
    lf.lfWeight = FW_NORMAL;
    lf.lfUnderline = underlined ? TRUE : FALSE;
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfQuality = CLEARTYPE_QUALITY;
    lstrcpynW(lf.lfFaceName, L"MS Shell Dlg 2", LF_FACESIZE);
    return CreateFontIndirectW(&lf);
}

LONG AverageWidth(HFONT font) {
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font);
    TEXTMETRICW tm{};
    GetTextMetricsW(dc, &tm);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    return tm.tmAveCharWidth;
}

} // namespace

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
    if (buffer_) {
        SelectObject(buffer_, bufferOld_);
        DeleteObject(bufferBitmap_);
        DeleteDC(buffer_);
    }
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
// own, so a control inside one is placed in the window itself.
RECT Win32WindowSystem::Place(FormId form, const ControlDesign& c) const {
    const Control& window = At(form.Control());
    const LaidOut at = InItsWindow(PlaceFollowing(c, window.wider, window.taller), c);
    return {Scale(form, at.x), Scale(form, at.y), Scale(form, at.x + at.width),
            Scale(form, at.y + at.height)};
}

HFONT Win32WindowSystem::Font(int dpi, Face face) {
    HFONT& font = fonts_[{dpi, face}];
    if (font) return font;
    LONG width = 0;
    if (face == Face::Narrow) {
        // Somewhat condensed: the average width of the plain face, less an eighth.
        HFONT& plain = fonts_[{dpi, Face::Dialog}];
        if (!plain) plain = NewFont(dpi, false, 0);
        width = AverageWidth(plain) * 7 / 8;
    }
    font = NewFont(dpi, face == Face::Link, width);
    return font;
}

HICON Win32WindowSystem::Icon(int index, int size) {
    HICON& icon = icons_[{index, size}];
    if (!icon) icon = NewFaceIcon(index, size);
    return icon;
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
    while (IsLoaded(form) && Window(form) == dialog && !Ended()) {
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
    return !Ended() && At(form.Control()).hwnd != nullptr;
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
    MarkEnded(exitCode);
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
    ShowCaptions();
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
    while (!Ended()) {
        Bury();
        FinishFills();
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got <= 0) return Ended() ? ExitCode() : static_cast<int>(msg.wParam);
        Route(msg);
    }
    return ExitCode();
}

} // namespace adultify::win32
