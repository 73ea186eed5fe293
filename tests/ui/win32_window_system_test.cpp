// What the Win32 window layer does beyond the contract every layer keeps: the main window's
// size and menus, what it draws, sideways scrolling.
#include "ui/win32/win32_window_system.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <vector>

namespace adultify {
namespace {

// What the screen shows of a window's client area, once every repaint it asked for has run.
struct Shot {
    int width = 0;
    std::vector<COLORREF> pixels;
    COLORREF At(int x, int y) const {
        return pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                      static_cast<std::size_t>(x)];
    }
};

// `erase`: false repaints over what the screen shows, as a repaint that erases nothing does.
Shot ShootClient(HWND window, bool erase = true) {
    SetForegroundWindow(window);
    RedrawWindow(window, nullptr, nullptr,
                 RDW_INVALIDATE | (erase ? RDW_ERASE : 0) | RDW_UPDATENOW | RDW_ALLCHILDREN);
    for (MSG msg; PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE);)
        DispatchMessageW(&msg);
    RECT r{};
    GetClientRect(window, &r);
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&r), 2);
    Shot shot;
    shot.width = r.right - r.left;
    const int height = r.bottom - r.top;
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), shot.width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HDC screen = GetDC(nullptr);
    HDC copy = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(copy, bitmap);
    BitBlt(copy, 0, 0, shot.width, height, screen, r.left, r.top, SRCCOPY);
    GdiFlush();
    const auto* bgrx = static_cast<const std::uint32_t*>(bits);
    for (std::size_t i = 0; i < static_cast<std::size_t>(shot.width) * height; ++i)
        shot.pixels.push_back(RGB((bgrx[i] >> 16) & 0xFF, (bgrx[i] >> 8) & 0xFF, bgrx[i] & 0xFF));
    SelectObject(copy, old);
    DeleteObject(bitmap);
    DeleteDC(copy);
    ReleaseDC(nullptr, screen);
    return shot;
}

class Win32Layer : public ::testing::Test {
  protected:
    win32::Win32WindowSystem ui;
};

TEST_F(Win32Layer, TheMainWindowKeepsItsSizeAndMenusFollowTheProgram) {
    HWND main = ui.Window("Form1"); // not resizable: the window-layer contract
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

// A list scrolls sideways as far as its longest line (the window-layer contract), and no
// further once it is emptied.
TEST_F(Win32Layer, AClearedListLosesItsSidewaysExtent) {
    HWND list = ui.Handle("List1");
    ui.ListAdd("List1", "Wilhelmina Bartholomew-Featherstonehaugh the Third");
    RECT client{};
    GetClientRect(list, &client);
    EXPECT_GT(SendMessageW(list, LB_GETHORIZONTALEXTENT, 0, 0), client.right);
    ui.ListClear("List1");
    ui.IdleTurn(); // a refill ends when the program waits
    EXPECT_EQ(SendMessageW(list, LB_GETHORIZONTALEXTENT, 0, 0), 0);
}

// A refilled list shows its old lines until the program waits, then is painted once.
TEST_F(Win32Layer, ARefilledListIsPaintedOnlyOnceTheProgramWaits) {
    HWND list = ui.Handle("List1");
    ui.ShowForm("Form1");
    ui.ListAdd("List1", "Bob Newbie");
    ui.IdleTurn();
    ui.ListClear("List1");
    ui.ListAdd("List1", "Betty Newbie");
    EXPECT_FALSE(GetUpdateRect(list, nullptr, FALSE)) << "repainted during the refill";
    ui.IdleTurn();
    EXPECT_FALSE(GetUpdateRect(list, nullptr, FALSE)) << "not painted once the program waits";
}

// A value label laid out past its frame's inner edge (the skill dialog's) leaves the frame's
// etched border whole: every row of a frame's bottom edge is one colour from end to end.
TEST_F(Win32Layer, LabelsLeaveTheFramesBordersWhole) {
    for (FormId form : {FormId("Form1"), FormId("Form3")}) {
        ui.ShowForm(form);
        if (form == FormId("Form3")) ui.SetCaption("Form3.Label2", "537");
        const Shot shot = ShootClient(ui.Window(form));
        const int dpi = static_cast<int>(GetDpiForWindow(ui.Window(form)));
        for (const ControlDesign& c : form.Controls()) {
            if (c.kind != ControlKind::Frame) continue;
            const int left = MulDiv(c.x, dpi, 96) + 2, right = MulDiv(c.x + c.width, dpi, 96) - 2;
            const int bottom = MulDiv(c.y + c.height, dpi, 96);
            for (int y = bottom - 2; y < bottom; ++y)
                for (int x = left; x < right; ++x)
                    ASSERT_EQ(shot.At(x, y), shot.At(left, y))
                        << c.name << " bottom edge at " << x << "," << y;
        }
        if (form != FormId("Form1")) ui.UnloadForm(form);
    }
}

// The window draws its labels: a new text replaces the old one whole, even in a repaint that
// erases nothing (a window drawn before the program waits), and looks as on a window drawn
// afresh.
TEST_F(Win32Layer, ALabelsNewTextLeavesNothingOfTheOld) {
    ui.ShowForm("Form1");
    HWND main = ui.Window("Form1");
    const ControlId label = "Label3";
    ui.SetCaption(label, "Display_user_Details()");
    ui.IdleTurn();
    (void)ShootClient(main);
    ui.SetCaption(label, "Idle");
    const Shot over = ShootClient(main, false);
    const Shot afresh = ShootClient(main);
    RECT r{};
    GetWindowRect(ui.Handle(label), &r);
    MapWindowPoints(nullptr, main, reinterpret_cast<POINT*>(&r), 2);
    int inked = 0;
    for (LONG y = r.top; y < r.bottom; ++y)
        for (LONG x = r.left; x < r.right; ++x) {
            ASSERT_EQ(over.At(x, y), afresh.At(x, y)) << x << "," << y;
            inked += afresh.At(x, y) != afresh.At(r.right - 3, r.top + 3);
        }
    EXPECT_GT(inked, 0) << "no text drawn";
}

// A press of the mouse on a label the window draws is its click when it reports clicks and
// is enabled, as on a static control.
TEST_F(Win32Layer, ALabelTakesTheMousesPressesAsAStaticControl) {
    std::vector<ControlId> clicked;
    ui.eventSink = [&](ControlId control, UiEvent event) {
        if (event == UiEvent::Click) clicked.push_back(control);
        return true;
    };
    ui.ShowForm("Form1");
    HWND main = ui.Window("Form1");
    const auto press = [&](ControlId label) {
        RECT r{};
        GetWindowRect(ui.Handle(label), &r);
        MapWindowPoints(nullptr, main, reinterpret_cast<POINT*>(&r), 2);
        const LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
        PostMessageW(main, WM_LBUTTONDOWN, MK_LBUTTON, at);
        PostMessageW(main, WM_LBUTTONUP, 0, at);
        ui.IdleTurn();
    };
    ui.SetEnabled("Label18", true);
    press("Label12"); // Cooking's caption
    press("Label18"); // its value
    press("Label7");  // Nice's value reports no click
    ui.SetEnabled("Label18", false);
    press("Label18");
    EXPECT_EQ(clicked, (std::vector<ControlId>{"Label12", "Label18"}));
}

// The link's underline ends where its text does.
TEST_F(Win32Layer, TheLinksUnderlineEndsWithItsText) {
    ui.ShowForm("frmAbout");
    ui.SetCaption("frmAbout.Label11", "https://adultify.invalid/home");
    HWND label = ui.Handle("frmAbout.Label11");
    SetFocus(ui.Handle("frmAbout.cmdOK")); // the link's focus mark is no text
    const Shot shot = ShootClient(ui.Window("frmAbout"));
    RECT r{};
    GetWindowRect(label, &r);
    MapWindowPoints(nullptr, ui.Window("frmAbout"), reinterpret_cast<POINT*>(&r), 2);
    const COLORREF background = shot.At(r.right - 1, r.top);
    // The underline: the row with the most ink; the text: every other row.
    int underline = -1, underlineEnd = 0, textEnd = 0, most = 0;
    for (LONG y = r.top; y < r.bottom; ++y) {
        int inked = 0, end = 0;
        for (LONG x = r.left; x < r.right; ++x)
            if (shot.At(x, y) != background) ++inked, end = x;
        if (inked > most) most = inked, underline = y, underlineEnd = end;
    }
    for (LONG y = r.top; y < r.bottom; ++y)
        for (LONG x = r.left; x < r.right && y != underline; ++x)
            if (shot.At(x, y) != background) textEnd = std::max<int>(textEnd, x);
    ASSERT_GE(underline, 0) << "no link drawn";
    // The last letter's advance may reach a pixel or two past its ink.
    const int slack = MulDiv(2, static_cast<int>(GetDpiForWindow(label)), 96);
    EXPECT_LE(underlineEnd, textEnd + slack) << "the underline runs past the text";
    ui.UnloadForm("frmAbout");
}

} // namespace
} // namespace adultify
