// The window layer's contract, run against the Win32 implementation under Windows or Wine: the
// user's presses reach the real message boxes and dialogs through their own message loops.
#include "tests/ui/window_layer_contract.h"

#include "ui/win32/message_box.h"
#include "ui/win32/wide_text.h"
#include "ui/win32/win32_window_system.h"

#include <commctrl.h>
#include <windows.h>

#include <algorithm>
#include <utility>

namespace adultify {
namespace {

bool HasButton(HWND box, int id) {
    HWND button = GetDlgItem(box, id);
    return button && IsWindowVisible(button);
}

struct Child {
    std::wstring text;
    HICON icon = nullptr;
    int lines = 0; // as the text control shows it, at its width
};

// The lines a text control shows its text in, wrapped at its width in its font.
int LinesShown(HWND text, const std::wstring& shown) {
    RECT r{};
    GetClientRect(text, &r);
    HDC dc = GetDC(text);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(text, WM_GETFONT, 0, 0)));
    TEXTMETRICW tm{};
    GetTextMetricsW(dc, &tm);
    DrawTextW(dc, shown.c_str(), -1, &r, DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX);
    SelectObject(dc, old);
    ReleaseDC(text, dc);
    return static_cast<int>((r.bottom - r.top + tm.tmHeight / 2) / tm.tmHeight);
}

// The box's message (its text control) and icon, whatever ids the system gives them.
Child ReadBoxChildren(HWND box) {
    Child seen;
    for (HWND c = GetWindow(box, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        wchar_t cls[16] = {};
        GetClassNameW(c, cls, 16);
        if (lstrcmpiW(cls, L"Static") != 0) continue;
        if ((GetWindowLongW(c, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
            seen.icon = reinterpret_cast<HICON>(SendMessageW(c, STM_GETICON, 0, 0));
            continue;
        }
        wchar_t text[512] = {};
        GetWindowTextW(c, text, 512);
        if (text[0] == L'\0' || !seen.text.empty()) continue;
        seen.text = text;
        seen.lines = LinesShown(c, seen.text);
        // The no-break spaces that hold a line together read as the spaces they stand for.
        std::replace(seen.text.begin(), seen.text.end(), L'\u00a0', L' ');
    }
    return seen;
}

MsgIcon IconOf(HICON icon) {
    if (!icon) return MsgIcon::None;
    const struct {
        const wchar_t* id;
        MsgIcon icon;
    } kIcons[] = {{IDI_HAND, MsgIcon::Critical},
                  {IDI_QUESTION, MsgIcon::Question},
                  {IDI_EXCLAMATION, MsgIcon::Exclamation},
                  {IDI_ASTERISK, MsgIcon::Information}};
    for (const auto& k : kIcons)
        if (LoadIconW(nullptr, k.id) == icon) return k.icon;
    return MsgIcon::None;
}

struct VirtualKey {
    WPARAM key;
    bool shift = false;
};

VirtualKey VirtualKeyOf(Key key) {
    switch (key) {
    case Key::Tab: return {VK_TAB};
    case Key::BackTab: return {VK_TAB, true};
    case Key::Enter: return {VK_RETURN};
    case Key::Escape: return {VK_ESCAPE};
    case Key::Space: return {VK_SPACE};
    case Key::Left: return {VK_LEFT};
    case Key::Right: return {VK_RIGHT};
    case Key::Up: return {VK_UP};
    case Key::Down: return {VK_DOWN};
    case Key::PageUp: return {VK_PRIOR};
    case Key::PageDown: return {VK_NEXT};
    case Key::Home: return {VK_HOME};
    case Key::End: return {VK_END};
    }
    return {VK_SPACE};
}

SIZE TextSize(HWND hwnd, HFONT font, const std::wstring& text) {
    HDC dc = GetDC(hwnd);
    HGDIOBJ old = SelectObject(dc, font);
    SIZE size{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    SelectObject(dc, old);
    ReleaseDC(hwnd, dc);
    return size;
}

HFONT FontOf(HWND hwnd) {
    return reinterpret_cast<HFONT>(SendMessageW(hwnd, WM_GETFONT, 0, 0));
}

std::wstring TextOf(HWND hwnd) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(hwnd)) + 1, L'\0');
    text.resize(
        static_cast<std::size_t>(GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()))));
    return text;
}

// The tooltip a window owns, if any.
HWND TooltipOf(HWND owner) {
    struct Search {
        HWND owner, found;
    } search{owner, nullptr};
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND hwnd, LPARAM out) {
            auto* s = reinterpret_cast<Search*>(out);
            wchar_t cls[32] = {};
            GetClassNameW(hwnd, cls, 32);
            if (lstrcmpiW(cls, TOOLTIPS_CLASSW) != 0 || GetWindow(hwnd, GW_OWNER) != s->owner)
                return TRUE;
            s->found = hwnd;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

class Win32Driver final : public DriverBase {
  public:
    Win32Driver() { current = this; }
    ~Win32Driver() override {
        Stop();
        current = nullptr;
    }
    WindowSystem& ui() override { return ui_; }

    void AnswerNextMessage(MsgAnswer answer) override {
        OnNextMessage([answer](HWND box) {
            const int id = answer == MsgAnswer::Yes      ? IDYES
                           : answer == MsgAnswer::No     ? IDNO
                           : answer == MsgAnswer::Cancel ? IDCANCEL
                                                         : IDOK;
            if (HasButton(box, id))
                SendMessageW(GetDlgItem(box, id), BM_CLICK, 0, 0);
            else
                ADD_FAILURE() << "the message box has no such button";
        });
    }
    void DismissNextMessage(Dismissal how) override {
        OnNextMessage([how](HWND box) {
            if (how == Dismissal::CloseBox) {
                PostMessageW(box, WM_SYSCOMMAND, SC_CLOSE, 0);
                return;
            }
            HWND focus = GetFocus();
            PostMessageW(focus && IsChild(box, focus) ? focus : box, WM_KEYDOWN,
                         how == Dismissal::Enter ? VK_RETURN : VK_ESCAPE, 0);
        });
    }
    MessageSeen LastMessage() const override { return last_; }
    void WhenModal(std::function<void(FormId)> step) override {
        Start([this, step] {
            const std::optional<FormId> form = ui_.ModalForm();
            if (!form) return false;
            EXPECT_NE(ui_.Window(*form), nullptr);
            step(*form);
            return true;
        });
    }
    std::vector<DrawKind> Drawn(ControlId box) const override { return KindsOf(ui_.DrawOps(box)); }

    void InTheLoop(std::function<void()> step) override {
        Start([step] {
            step();
            return true;
        });
    }
    void ClickLine(ControlId list, int index) override { Mouse(list, index, false); }
    void DoubleClickLine(ControlId list, int index) override { Mouse(list, index, true); }
    void Press(ControlId control, Key key) override {
        HWND hwnd = ui_.Handle(control);
        ASSERT_NE(hwnd, nullptr) << control;
        SetFocus(hwnd);
        PressKey(control.Form(), key);
    }
    // The pointer rests on the line: the list's tooltip then tells of it.
    std::string HoverText(ControlId list, int index) const override {
        HWND hwnd = ui_.Handle(list);
        const POINT at = ShownLine(hwnd, index);
        SendMessageW(hwnd, WM_MOUSEMOVE, 0, MAKELPARAM(at.x, at.y));
        HWND tip = TooltipOf(GetParent(hwnd));
        if (!tip) return {};
        TTTOOLINFOW tool{};
        tool.cbSize = sizeof(tool);
        tool.hwnd = GetParent(hwnd);
        tool.uId = reinterpret_cast<UINT_PTR>(hwnd);
        std::wstring text(1024, L'\0');
        tool.lpszText = text.data();
        SendMessageW(tip, TTM_GETTEXTW, text.size(), reinterpret_cast<LPARAM>(&tool));
        text.resize(static_cast<std::size_t>(lstrlenW(text.c_str())));
        return Narrow(text);
    }
    // Posted to the control with the focus, and taken from the queue through the layer's own
    // loop, which gives the dialog keys their meaning; Shift is held for Shift+Tab.
    void PressKey(FormId form, Key key) override {
        HWND window = ui_.Window(form);
        ASSERT_NE(window, nullptr) << form;
        HWND focus = GetFocus();
        HWND to = focus && (focus == window || IsChild(window, focus)) ? focus : window;
        const VirtualKey vk = VirtualKeyOf(key);
        BYTE keys[256] = {};
        GetKeyboardState(keys);
        const BYTE shift = keys[VK_SHIFT];
        if (vk.shift) {
            keys[VK_SHIFT] = 0x80;
            SetKeyboardState(keys);
        }
        PostMessageW(to, WM_KEYDOWN, vk.key, 1);
        if (vk.key == VK_SPACE) PostMessageW(to, WM_CHAR, L' ', 1);
        PostMessageW(to, WM_KEYUP, vk.key, 1 | (1u << 30) | (1u << 31));
        Pump();
        if (vk.shift) {
            keys[VK_SHIFT] = shift;
            SetKeyboardState(keys);
        }
    }
    std::optional<ControlId> Focused(FormId form) const override {
        HWND window = ui_.Window(form);
        HWND focus = GetFocus();
        if (!window || !focus || !IsChild(window, focus)) return std::nullopt;
        for (const ControlDesign& c : form.Controls())
            if (ui_.Handle(form.IdOf(c)) == focus) return form.IdOf(c);
        return std::nullopt;
    }
    // As the system moves it: to the window that the point hits, in that window's coordinates.
    void PointerOver(ControlId control) override {
        HWND window = ui_.Window(control.Form());
        ASSERT_TRUE(window && IsWindowVisible(window)) << "the window is shown";
        POINT at{};
        if (control.IsWindow()) {
            at = Background(window);
        } else {
            HWND hwnd = ui_.Handle(control);
            ASSERT_NE(hwnd, nullptr) << control;
            RECT r{};
            GetClientRect(hwnd, &r);
            at = {r.right / 2, r.bottom / 2};
            MapWindowPoints(hwnd, window, &at, 1);
        }
        POINT screen = at;
        ClientToScreen(window, &screen);
        HWND hit = WindowFromPoint(screen);
        ASSERT_TRUE(hit == window || IsChild(window, hit)) << control << ": another window on top";
        ScreenToClient(hit, &screen);
        PostMessageW(hit, WM_MOUSEMOVE, 0, MAKELPARAM(screen.x, screen.y));
        Pump();
    }
    void Settle() override { Pump(); }
    std::string TitleShown(FormId form) const override { return Narrow(TextOf(ui_.Window(form))); }
    std::string LineShown(ControlId list, int index) const override {
        HWND hwnd = ui_.Handle(list);
        return Narrow(LineText(hwnd, index, list.Kind() == ControlKind::Combo));
    }
    bool Resizable(FormId form) const override {
        const auto style = static_cast<DWORD>(GetWindowLongPtrW(ui_.Window(form), GWL_STYLE));
        return (style & (WS_THICKFRAME | WS_MAXIMIZEBOX)) != 0;
    }
    bool TextFits(ControlId control) const override {
        if (control.Kind() == ControlKind::Frame) return FrameFits(control);
        HWND hwnd = ui_.Handle(control);
        if (!hwnd) {
            ADD_FAILURE() << control << " has no window";
            return false;
        }
        RECT room{};
        GetClientRect(hwnd, &room);
        switch (control.Kind()) {
        case ControlKind::Label: return LabelFits(control, hwnd, room);
        case ControlKind::Button: {
            std::wstring text = TextOf(hwnd);
            std::erase(text, L'&'); // the mnemonic's mark is an underline
            const int margins = 2 * (GetSystemMetrics(SM_CXEDGE) + GetSystemMetrics(SM_CXBORDER));
            return TextSize(hwnd, FontOf(hwnd), text).cx <= room.right - margins;
        }
        case ControlKind::Combo:
        case ControlKind::DriveList: {
            COMBOBOXINFO info{};
            info.cbSize = sizeof(info);
            GetComboBoxInfo(hwnd, &info);
            const int width = info.rcItem.right - info.rcItem.left;
            const auto n = static_cast<int>(SendMessageW(hwnd, CB_GETCOUNT, 0, 0));
            for (int i = 0; i < n; ++i)
                if (TextSize(hwnd, FontOf(hwnd), LineText(hwnd, i, true)).cx > width) return false;
            return true;
        }
        case ControlKind::List:
        case ControlKind::DirList:
        case ControlKind::FileList: {
            // Each line is there whole, as far as the list scrolls sideways.
            const auto extent = static_cast<int>(SendMessageW(hwnd, LB_GETHORIZONTALEXTENT, 0, 0));
            const int reach = std::max<int>(room.right, extent);
            const auto n = static_cast<int>(SendMessageW(hwnd, LB_GETCOUNT, 0, 0));
            for (int i = 0; i < n; ++i)
                if (TextSize(hwnd, FontOf(hwnd), LineText(hwnd, i, false)).cx > reach) return false;
            return (GetWindowLongPtrW(hwnd, GWL_STYLE) & WS_HSCROLL) != 0 || extent <= room.right;
        }
        default: ADD_FAILURE() << control << " shows no text this driver can measure"; return false;
        }
    }

    void Type(ControlId control, std::string_view text) override {
        HWND hwnd = ui_.Handle(control);
        ASSERT_NE(hwnd, nullptr) << control;
        SetFocus(hwnd);
        if (control.Kind() == ControlKind::FolderBox) { // as pasted over what was there
            const std::wstring wide = Widen(text);
            SendMessageW(hwnd, EM_SETSEL, 0, -1);
            SendMessageW(hwnd, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(wide.c_str()));
            Pump();
            return;
        }
        for (const char letter : text) {
            PostMessageW(hwnd, WM_CHAR, static_cast<unsigned char>(letter), 1);
            Pump();
        }
    }
    // The line as the list paints it, with its mark and without: the same, when none is drawn.
    bool MarkShown(ControlId list, int index) override {
        HWND hwnd = ui_.Handle(list);
        RECT line{};
        if (!hwnd || SendMessageW(hwnd, LB_GETITEMRECT, static_cast<WPARAM>(index),
                                  reinterpret_cast<LPARAM>(&line)) == LB_ERR)
            return false;
        const auto shot = [&] {
            RECT client{};
            GetClientRect(hwnd, &client);
            HDC screen = GetDC(hwnd);
            HDC dc = CreateCompatibleDC(screen);
            HBITMAP bitmap = CreateCompatibleBitmap(screen, client.right, client.bottom);
            HGDIOBJ old = SelectObject(dc, bitmap);
            SendMessageW(hwnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc),
                         PRF_CLIENT | PRF_ERASEBKGND);
            std::vector<COLORREF> pixels;
            for (LONG y = line.top; y < line.bottom; ++y)
                for (LONG x = line.left; x < line.right; ++x)
                    pixels.push_back(GetPixel(dc, x, y));
            SelectObject(dc, old);
            DeleteObject(bitmap);
            DeleteDC(dc);
            ReleaseDC(hwnd, screen);
            return pixels;
        };
        const LineMark mark = ui_.ListMark(list, index);
        const std::vector<COLORREF> with = shot();
        ui_.ListSetMark(list, index, LineMark::None);
        const std::vector<COLORREF> without = shot();
        ui_.ListSetMark(list, index, mark);
        return with != without;
    }
    LaidOut WindowPlace(FormId form) const override {
        RECT r{};
        GetWindowRect(ui_.Window(form), &r);
        return {r.left, r.top, r.right - r.left, r.bottom - r.top};
    }
    void PutWindowAt(FormId form, int x, int y) override {
        SetWindowPos(ui_.Window(form), nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        Pump();
    }
    void ResizeClient(FormId form, int width, int height) override {
        HWND window = ui_.Window(form);
        const auto dpi = static_cast<int>(GetDpiForWindow(window));
        RECT outer{0, 0, MulDiv(width, dpi, 96), MulDiv(height, dpi, 96)};
        AdjustWindowRectEx(&outer, static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE)),
                           GetMenu(window) != nullptr,
                           static_cast<DWORD>(GetWindowLongPtrW(window, GWL_EXSTYLE)));
        SetWindowPos(window, nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
                     SWP_NOMOVE | SWP_NOZORDER);
        Pump();
    }
    LaidOut Placed(ControlId control) const override {
        HWND hwnd = ui_.Handle(control);
        RECT r{};
        GetWindowRect(hwnd, &r);
        MapWindowPoints(nullptr, GetParent(hwnd), reinterpret_cast<POINT*>(&r), 2);
        const auto dpi = static_cast<int>(GetDpiForWindow(hwnd));
        const auto at100 = [dpi](LONG v) { return MulDiv(static_cast<int>(v), 96, dpi); };
        return {at100(r.left), at100(r.top), at100(r.right - r.left), at100(r.bottom - r.top)};
    }

  private:
    // Takes what the user's acts left in the queue through the layer's loop.
    void Pump() { ui_.IdleTurn(); }

    static std::wstring LineText(HWND hwnd, int index, bool dropDown) {
        const auto length = static_cast<std::size_t>(SendMessageW(
            hwnd, dropDown ? CB_GETLBTEXTLEN : LB_GETTEXTLEN, static_cast<WPARAM>(index), 0));
        std::wstring text(length + 1, L'\0');
        SendMessageW(hwnd, dropDown ? CB_GETLBTEXT : LB_GETTEXT, static_cast<WPARAM>(index),
                     reinterpret_cast<LPARAM>(text.data()));
        text.resize(length);
        return text;
    }

    // The middle of the line, scrolled into sight first as the user would.
    static POINT ShownLine(HWND list, int index) {
        RECT r{};
        SendMessageW(list, LB_GETITEMRECT, static_cast<WPARAM>(index),
                     reinterpret_cast<LPARAM>(&r));
        RECT client{};
        GetClientRect(list, &client);
        if (r.top < 0 || r.bottom > client.bottom) {
            SendMessageW(list, LB_SETTOPINDEX, static_cast<WPARAM>(index), 0);
            SendMessageW(list, LB_GETITEMRECT, static_cast<WPARAM>(index),
                         reinterpret_cast<LPARAM>(&r));
        }
        return {std::min<LONG>(client.right / 2, r.left + 8), (r.top + r.bottom) / 2};
    }

    void Mouse(ControlId list, int index, bool twice) {
        HWND hwnd = ui_.Handle(list);
        ASSERT_NE(hwnd, nullptr) << list;
        if (list.Kind() == ControlKind::Combo || list.Kind() == ControlKind::DriveList) {
            // Opens the drop-down, then clicks the line in its list.
            SendMessageW(hwnd, CB_SHOWDROPDOWN, TRUE, 0);
            COMBOBOXINFO info{};
            info.cbSize = sizeof(info);
            ASSERT_TRUE(GetComboBoxInfo(hwnd, &info));
            hwnd = info.hwndList;
        }
        ASSERT_LT(index, static_cast<int>(SendMessageW(hwnd, LB_GETCOUNT, 0, 0)))
            << list << " has no line " << index;
        ASSERT_GE(index, 0) << list;
        const POINT at = ShownLine(hwnd, index);
        const LPARAM where = MAKELPARAM(at.x, at.y);
        // A double click is a click, then the second press the system tells apart.
        PostMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, where);
        PostMessageW(hwnd, WM_LBUTTONUP, 0, where);
        if (twice) {
            PostMessageW(hwnd, WM_LBUTTONDBLCLK, MK_LBUTTON, where);
            PostMessageW(hwnd, WM_LBUTTONUP, 0, where);
        }
        Pump();
    }

    // A point of the window's client area that no control covers.
    static POINT Background(HWND window) {
        RECT client{};
        GetClientRect(window, &client);
        for (LONG y = 2; y < client.bottom; y += 2)
            for (LONG x = 2; x < client.right; x += 2)
                if (ChildWindowFromPointEx(window, {x, y}, CWP_SKIPINVISIBLE) == window)
                    return {x, y};
        ADD_FAILURE() << "the window has no free background";
        return {};
    }

    bool LabelFits(ControlId control, HWND hwnd, RECT room) const {
        // The layer writes a label in from a border it draws.
        if (control.Design().border) InflateRect(&room, -MulDiv(2, GetDpiForWindow(hwnd), 96), 0);
        const std::wstring text = TextOf(hwnd);
        const int width = room.right - room.left;
        HDC dc = GetDC(hwnd);
        HGDIOBJ old = SelectObject(dc, FontOf(hwnd));
        RECT needed{0, 0, width, 0};
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &needed,
                  DT_CALCRECT | DT_NOPREFIX |
                      (control.Design().wrap ? DT_WORDBREAK : DT_SINGLELINE));
        SelectObject(dc, old);
        ReleaseDC(hwnd, dc);
        return needed.right - needed.left <= width &&
               needed.bottom - needed.top <= room.bottom - room.top;
    }

    // A frame's title is written by its window, in the window's font, from 8 pixels in up to
    // 4 pixels short of its right edge, at 100 %.
    bool FrameFits(ControlId frame) const {
        HWND window = ui_.Window(frame.Form());
        const int dpi = static_cast<int>(GetDpiForWindow(window));
        const int room = MulDiv(frame.Design().width - 8 - 4, dpi, 96);
        const SIZE size = TextSize(window, FontOf(window), Widen(ui_.Caption(frame)));
        return size.cx <= room;
    }

    // Looks, at every tick of the loop that runs, for the window the user is to work in.
    void Start(std::function<bool()> act) {
        Stop();
        act_ = std::move(act);
        timer_ = SetTimer(nullptr, 0, 10, Tick);
    }
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
        if (!current || !current->act_) return;
        // The act may open a loop of its own (a box, a dialog): the timer is gone before.
        std::function<bool()> act = std::move(current->act_);
        current->act_ = nullptr;
        KillTimer(nullptr, current->timer_);
        current->timer_ = 0;
        if (act() || current->act_) return;
        current->act_ = std::move(act); // not open yet: look again
        current->timer_ = SetTimer(nullptr, 0, 10, Tick);
    }
    void Stop() {
        if (timer_) KillTimer(nullptr, timer_);
        timer_ = 0;
        act_ = nullptr;
    }
    void OnNextMessage(std::function<void(HWND)> act) {
        Start([this, act] {
            HWND box = win32::OpenMessageBoxOfThisThread();
            if (!box) return false;
            const Child seen = ReadBoxChildren(box);
            wchar_t title[256] = {};
            GetWindowTextW(box, title, 256);
            // Enter presses the default button: the one drawn as such, which has the focus.
            HWND no = GetDlgItem(box, IDNO);
            const bool defaultNo =
                no && ((GetWindowLongW(no, GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON ||
                       GetFocus() == no);
            last_ = {Narrow(seen.text), Narrow(title),
                     HasButton(box, IDCANCEL) ? MsgButtons::YesNoCancel
                     : !HasButton(box, IDYES) ? MsgButtons::Ok
                     : defaultNo              ? MsgButtons::YesNoDefaultNo
                                              : MsgButtons::YesNo,
                     IconOf(seen.icon), seen.lines};
            act(box);
            return true;
        });
    }

    static inline Win32Driver* current = nullptr;
    win32::Win32WindowSystem ui_;
    MessageSeen last_;
    std::function<bool()> act_;
    UINT_PTR timer_ = 0;
};

// The driver's measure sees a text that the control cuts, so that the contract's passes say
// something.
TEST(Win32Driver, TellsATextThatDoesNotFitItsControl) {
    Win32Driver driver;
    WindowSystem& ui = driver.ui();
    ui.ShowForm("Form1");
    const std::string tooLong(60, 'W');
    for (ControlId control : {ControlId("Label18"), ControlId("Label3"), ControlId("Frame1")}) {
        ui.SetCaption(control, tooLong);
        ui.IdleTurn(); // a label's window takes its text when events run
        EXPECT_FALSE(driver.TextFits(control)) << control;
    }
    ui.ShowForm("Form3");
    ui.SetCaption("Form3.Command1", tooLong);
    EXPECT_FALSE(driver.TextFits("Form3.Command1"));
    ui.UnloadForm("Form3");
}

ADULTIFY_WINDOW_LAYER_CONTRACT(Win32, Win32Driver, "Win32");

} // namespace
} // namespace adultify
