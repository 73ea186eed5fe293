// What the Win32 window layer does beyond the contract every layer keeps: the main window's
// frame and menus, keys in message boxes, sideways scrolling, UTF-16 texts.
#include "text/wide_text.h"
#include "ui/win32/win32_window_system.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <functional>

namespace adultify {
namespace {

std::wstring TitleOf(HWND hwnd) {
    wchar_t text[256] = {};
    GetWindowTextW(hwnd, text, 256);
    return text;
}

class Win32Layer : public ::testing::Test {
  protected:
    win32::Win32WindowSystem ui;
};

TEST_F(Win32Layer, TheMainWindowKeepsItsSizeAndMenusFollowTheProgram) {
    HWND main = ui.Window("Form1");
    const LONG_PTR style = GetWindowLongPtrW(main, GWL_STYLE);
    EXPECT_FALSE(style & WS_THICKFRAME);
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);
    RECT client{};
    GetClientRect(main, &client);
    const UINT dpi = GetDpiForWindow(main);
    EXPECT_EQ(client.right, MulDiv(499, static_cast<int>(dpi), 96));
    EXPECT_EQ(client.bottom, MulDiv(273, static_cast<int>(dpi), 96));

    // The games menu shows only the entries that have a game; checks and greying follow.
    HMENU file = GetSubMenu(GetMenu(main), 0);
    HMENU games = GetSubMenu(file, 3); // after Path, Snapshots and Children
    ASSERT_NE(games, nullptr);
    EXPECT_EQ(GetMenuItemCount(games), 0);
    ui.SetCaption("menu_game(1)", "C:\\Games\\The Sims");
    ui.SetCaption("menu_game(2)", "D:\\Sims");
    ui.SetChecked("menu_game(2)", true);
    ASSERT_EQ(GetMenuItemCount(games), 2);
    EXPECT_EQ(GetMenuState(games, 1, MF_BYPOSITION) & MF_CHECKED, static_cast<UINT>(MF_CHECKED));
    EXPECT_EQ(GetMenuState(games, 0, MF_BYPOSITION) & MF_CHECKED, 0u);
    HMENU options = GetSubMenu(GetMenu(main), 3);
    ASSERT_NE(options, nullptr);
    EXPECT_EQ(GetMenuState(options, 0, MF_BYPOSITION) & MF_CHECKED, static_cast<UINT>(MF_CHECKED));
    EXPECT_TRUE(GetMenuState(options, 1, MF_BYPOSITION) & MF_GRAYED) << "Future Option";
}

TEST_F(Win32Layer, LongListLinesScrollSidewaysRatherThanBeingCut) {
    HWND list = ui.Handle("List1");
    ui.ListAdd("List1", "Bob");
    EXPECT_EQ(SendMessageW(list, LB_GETHORIZONTALEXTENT, 0, 0) >= 0, true);
    RECT client{};
    GetClientRect(list, &client);
    const LRESULT shortExtent = SendMessageW(list, LB_GETHORIZONTALEXTENT, 0, 0);
    EXPECT_LE(shortExtent, client.right) << "a short line needs no sideways scrolling";
    ui.ListAdd("List1", "Wilhelmina Bartholomew-Featherstonehaugh the Third");
    EXPECT_GT(SendMessageW(list, LB_GETHORIZONTALEXTENT, 0, 0), client.right);
    ui.ListClear("List1");
    EXPECT_EQ(SendMessageW(list, LB_GETHORIZONTALEXTENT, 0, 0), 0);
}

// Presses a key in the next message box as the user would.
void PressInNextBox(WPARAM key) {
    static WPARAM pressed;
    pressed = key;
    SetTimer(nullptr, 0, 10, [](HWND, UINT, UINT_PTR timer, DWORD) {
        HWND focus = GetFocus();
        if (!focus) return;
        KillTimer(nullptr, timer);
        PostMessageW(focus, WM_KEYDOWN, pressed, 0);
        PostMessageW(focus, WM_KEYUP, pressed, 0);
    });
}

TEST_F(Win32Layer, EnterAnswersNoToAQuestionThatChangesFilesAndYesToAPlainOne) {
    PressInNextBox(VK_RETURN);
    EXPECT_EQ(ui.ShowMessage("Write anyway?", MsgButtons::YesNoDefaultNo, MsgIcon::Exclamation,
                             "Game Running"),
              MsgAnswer::No);
    PressInNextBox(VK_RETURN);
    EXPECT_EQ(ui.ShowMessage("Go on?", MsgButtons::YesNo, MsgIcon::Question, "Question"),
              MsgAnswer::Yes);
}

TEST_F(Win32Layer, TextsCrossAsUtf16) {
    ui.SetCaption("Form1", "Adultify - \u0421\u0438\u043c\u044b \u30b7\u30e0");
    EXPECT_EQ(TitleOf(ui.Window("Form1")), L"Adultify - \u0421\u0438\u043c\u044b \u30b7\u30e0");
    ui.ListAdd("Combo1", "Chlo\u00eb");
    ui.ListSelect("Combo1", 0);
    wchar_t shown[64] = {};
    GetWindowTextW(ui.Handle("Combo1"), shown, 64);
    EXPECT_STREQ(shown, L"Chlo\u00eb");
    EXPECT_EQ(Narrow(Widen("\xF0\x9F\x98\x80 ok")), "\xF0\x9F\x98\x80 ok") << "beyond 16 bits";
}

} // namespace
} // namespace adultify

namespace adultify {
namespace {

struct Seen {
    ControlId control;
    UiEvent event;
    friend bool operator==(const Seen&, const Seen&) = default;
};

// The layer with a program that records what reaches it and takes it, or holds it back.
class Win32Events : public ::testing::Test {
  protected:
    Win32Events() {
        ui.eventSink = [this](ControlId control, UiEvent event) {
            seen.push_back({control, event});
            return take;
        };
    }
    void Key(HWND window, WPARAM key, UINT message = WM_KEYDOWN) {
        MSG msg{GetFocus(), message, key, 0, 0, {}};
        if (!IsDialogMessageW(window, &msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    win32::Win32WindowSystem ui;
    std::vector<Seen> seen;
    bool take = true;
};

// A label the keyboard reaches is clicked by Space, as a button is.
TEST_F(Win32Events, SpaceClicksTheLinkThatHasTheFocus) {
    ui.ShowForm("frmAbout");
    HWND about = ui.Window("frmAbout");
    SetForegroundWindow(about);
    SetFocus(ui.Handle("frmAbout.Label11"));
    ASSERT_EQ(GetFocus(), ui.Handle("frmAbout.Label11"));
    Key(about, VK_SPACE);
    Key(about, VK_SPACE, WM_KEYUP);
    EXPECT_EQ(seen, (std::vector<Seen>{{"frmAbout.Label11", UiEvent::Click}}));
    ui.UnloadForm("frmAbout");
}

TEST_F(Win32Events, APickTheProgramHoldsBackIsUndoneOnTheList) {
    ui.ListAdd("List1", "Bob Newbie");
    ui.ListAdd("List1", "Betty Newbie");
    ui.ListSelect("List1", 0);
    HWND list = ui.Handle("List1");
    const auto pick = [&](int line) {
        SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(line), 0);
        SendMessageW(ui.Window("Form1"), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(list), LBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(list));
    };
    take = false;
    pick(1);
    EXPECT_EQ(SendMessageW(list, LB_GETCURSEL, 0, 0), 0) << "shows again what the program holds";
    EXPECT_TRUE(ui.ListSelected("List1", 0));
    take = true;
    pick(1);
    EXPECT_TRUE(ui.ListSelected("List1", 1));
    EXPECT_EQ(seen.size(), 2u);
}

} // namespace
} // namespace adultify
