// The window layer's contract, run against the Win32 implementation under Windows or Wine: the
// user's presses reach the real message boxes and dialogs through their own message loops.
#include "tests/ui/window_layer_contract.h"

#include "ui/win32/wide_text.h"
#include "ui/win32/win32_window_system.h"

#include <windows.h>

namespace adultify {
namespace {

// The box of MessageBoxW open on this thread, if any.
HWND FindMessageBox() {
    HWND found = nullptr;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND hwnd, LPARAM out) {
            wchar_t cls[16] = {};
            GetClassNameW(hwnd, cls, 16);
            if (lstrcmpW(cls, L"#32770") != 0 || !IsWindowVisible(hwnd)) return TRUE;
            *reinterpret_cast<HWND*>(out) = hwnd;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

bool HasButton(HWND box, int id) {
    HWND button = GetDlgItem(box, id);
    return button && IsWindowVisible(button);
}

struct Child {
    std::wstring text;
    HICON icon = nullptr;
};

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
        if (text[0] != L'\0' && seen.text.empty()) seen.text = text;
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

class Win32Driver final : public WindowLayerDriver {
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
            PostMessageW(focus && IsChild(box, focus) ? focus : box, WM_KEYDOWN, VK_ESCAPE, 0);
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
    std::vector<DrawKind> Drawn(ControlId box) const override {
        std::vector<DrawKind> kinds;
        for (const win32::DrawOp& op : ui_.DrawOps(box)) {
            if (op.kind == win32::DrawOp::Kind::Fill) kinds.push_back(DrawKind::Fill);
            if (op.kind == win32::DrawOp::Kind::Line) kinds.push_back(DrawKind::Line);
            if (op.kind == win32::DrawOp::Kind::Arc) kinds.push_back(DrawKind::Arc);
        }
        return kinds;
    }

  private:
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
            HWND box = FindMessageBox();
            if (!box) return false;
            const Child seen = ReadBoxChildren(box);
            wchar_t title[256] = {};
            GetWindowTextW(box, title, 256);
            // Enter presses the default button: the one drawn as such, which has the focus.
            HWND no = GetDlgItem(box, IDNO);
            const bool defaultNo =
                no && ((GetWindowLongW(no, GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON ||
                       GetFocus() == no);
            last_ = {win32::Narrow(seen.text), win32::Narrow(title),
                     HasButton(box, IDCANCEL) ? MsgButtons::YesNoCancel
                     : !HasButton(box, IDYES) ? MsgButtons::Ok
                     : defaultNo              ? MsgButtons::YesNoDefaultNo
                                              : MsgButtons::YesNo,
                     IconOf(seen.icon)};
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

std::unique_ptr<WindowLayerDriver> MakeWin32() {
    return std::make_unique<Win32Driver>();
}

INSTANTIATE_TEST_SUITE_P(Win32, WindowLayerContract, ::testing::Values(&MakeWin32),
                         [](const auto&) { return std::string("Win32"); });

} // namespace
} // namespace adultify
