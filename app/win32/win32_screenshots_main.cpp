// adultify-screenshots.exe OUTDIR: each window of the Windows editor on a generated sample
// game, as a .bmp of what the screen shows (the script around it turns them into PNG).
#include "about/about_windows.h"
#include "ageing/skill_editor.h"
#include "app/children_window.h"
#include "app/form1_events.h"
#include "app/snapshot_window.h"
#include "app/startup.h"
#include "app/win32/win32_front_end.h"
#include "characters/thumbnail_fix.h"
#include "game/path_dialog.h"
#include "sample/game_folder.h"
#include "text/wide_text.h"
#include "ui/win32/message_box.h"

#include <windows.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <map>

using namespace adultify;

namespace {

std::filesystem::path out;

// Lets every pending repaint run, so that the picture shows the window whole.
void Settle(HWND hwnd) {
    for (int turn = 0; turn < 20; ++turn) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        RedrawWindow(hwnd, nullptr, nullptr,
                     RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_FRAME);
        Sleep(20);
    }
}

// The window as the screen shows it, frame included, as a 24-bit bitmap file.
bool Save(HWND hwnd, const char* name) {
    if (!hwnd) return false;
    SetForegroundWindow(hwnd);
    // The pointer off the window: resting on a list, it would open a tooltip over the picture.
    SetCursorPos(0, 0);
    Settle(hwnd);
    RECT r{};
    GetWindowRect(hwnd, &r);
    const int width = r.right - r.left, height = r.bottom - r.top;
    HDC screen = GetDC(nullptr);
    HDC copy = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(copy, bitmap);
    BitBlt(copy, 0, 0, width, height, screen, r.left, r.top, SRCCOPY);
    GdiFlush();
    const DWORD stride = (static_cast<DWORD>(width) * 3 + 3) & ~3u;
    const DWORD size = stride * static_cast<DWORD>(height);
    BITMAPFILEHEADER file{
        0x4D42, static_cast<DWORD>(sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER) + size), 0,
        0, sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER)};
    const std::filesystem::path path = out / (std::string(name) + ".bmp");
    std::ofstream f(path, std::ios::binary);
    f.write(reinterpret_cast<const char*>(&file), sizeof(file));
    f.write(reinterpret_cast<const char*>(&info.bmiHeader), sizeof(BITMAPINFOHEADER));
    f.write(static_cast<const char*>(bits), size);
    SelectObject(copy, old);
    DeleteObject(bitmap);
    DeleteDC(copy);
    ReleaseDC(nullptr, screen);
    std::cout << (f ? "wrote " : "could not write ") << path.string() << "\n";
    return static_cast<bool>(f);
}

std::map<UINT_PTR, std::function<void()>> pending;

// `act` runs `ms` from now inside whatever loop runs then (a modal window's, a box's).
void After(UINT ms, std::function<void()> act) {
    const UINT_PTR timer = SetTimer(nullptr, 0, ms, [](HWND, UINT, UINT_PTR id, DWORD) {
        KillTimer(nullptr, id);
        auto it = pending.find(id);
        if (it == pending.end()) return;
        std::function<void()> run = std::move(it->second);
        pending.erase(it);
        run();
    });
    pending[timer] = std::move(act);
}

// A sample game under `out`, named in the registry where the editor looks first.
void WriteSampleGame() {
    const std::filesystem::path game = std::filesystem::absolute(out / "sample-game");
    std::filesystem::remove_all(game);
    sample::RandomHoodParams params;
    params.residents = 12;
    params.children = 4;
    params.fillerBytes = 4000;
    sample::WriteRandomGame(game, params);
    HKEY key = nullptr;
    RegCreateKeyExW(HKEY_LOCAL_MACHINE, L"Software\\Maxis\\The Sims", 0, nullptr, 0, KEY_SET_VALUE,
                    nullptr, &key, nullptr);
    const std::wstring value = game.native();
    RegSetValueExW(key, L"SIMS_DATA", 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
}

// The open message box's picture, if `name` is given, then its button `id` pressed; `then`
// runs after, to answer the box that follows.
void AnswerNextBox(const char* name, int id, std::function<void()> then = {}) {
    After(300, [name, id, then] {
        HWND box = win32::OpenMessageBoxOfThisThread();
        if (name) Save(box, name);
        if (box) PostMessageW(box, WM_COMMAND, static_cast<WPARAM>(id), 0);
        if (then) then();
    });
}

// The first child of the list, selected and shown.
void SelectChild(win32::Win32WindowSystem& ui, Module1& m) {
    for (int line = 0; line < ui.ListCount("List1"); ++line) {
        ui.ListSelect("List1", line);
        (void)DispatchEvent(m, "List1", UiEvent::Click);
        if (ui.IsEnabled("Command1")) return;
    }
}

// The child shown grown up and shown again; then the next one refused while the game runs.
void GrabAdultifyPictures(win32::Win32WindowSystem& ui, Module1& m) {
    // The thumbnail warning answered No, then the notice that nothing was removed.
    AnswerNextBox("ThumbnailWarning", IDNO, [] { AnswerNextBox(nullptr, IDOK); });
    menu_fix_thumbnails_Click(m);
    SelectChild(ui, m);

    AnswerNextBox("AdultifyResult", IDOK);
    (void)DispatchEvent(m, "Command1", UiEvent::Click);
    Save(ui.Window("Form1"), "Form1-AfterAdultify");

    SelectChild(ui, m);
    m.findRunningGame = [] { return std::optional<std::string>("Sims.exe (process 4242)"); };
    AnswerNextBox("GameRunningQuestion", IDNO);
    (void)DispatchEvent(m, "Command1", UiEvent::Click);
    Save(ui.Window("Form1"), "Form1-Refused");
    m.findRunningGame = nullptr;
}

// A second editor on the same game while the first is open: told at once, and read-only.
void GrabSecondEditor(ManualClock& clock) {
    Win32Editor second([](const char* name) { return std::getenv(name); }, &clock);
    AnswerNextBox("ReadOnlyMessage", IDOK);
    if (!second.Load()) return;
    second.ui().ShowForm("Form1");
    Save(second.ui().Window("Form1"), "Form1-ReadOnly");
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::cerr << "usage: adultify-screenshots OUTDIR\n";
        return 1;
    }
    out = argv[1];
    std::filesystem::create_directories(out);
    WriteSampleGame();

    ManualClock clock;
    Win32Editor editor([](const char* name) { return std::getenv(name); }, &clock);
    Module1& m = editor.m();
    auto& ui = editor.ui();

    ui.LoadForm("frmSplash");
    ui.SetCaption("frmSplash.lblVersion", MakeVersionText());
    ui.SetCaption("frmSplash.Label1", "Find Neighbourhoods - 1");
    ui.ShowForm("frmSplash");
    Save(ui.Window("frmSplash"), "frmSplash");
    ui.UnloadForm("frmSplash");

    if (!editor.Load()) return 3;
    ui.ShowForm("Form1");
    SelectChild(ui, m); // the one the main command is for
    Save(ui.Window("Form1"), "Form1");

    const auto grabModal = [&](const char* name, ControlId close) {
        After(300, [&ui, &m, name, close] {
            if (std::optional<FormId> form = ui.ModalForm()) Save(ui.Window(*form), name);
            (void)DispatchEvent(m, close, UiEvent::Click);
        });
    };
    grabModal("Form2", "Form2.Command2");
    ShowPathDialog(m);
    grabModal("frmAbout", "frmAbout.cmdOK");
    AboutSequence(m);
    grabModal("frmSnapshots", "frmSnapshots.cmdClose");
    ShowSnapshotWindow(m);
    // The children window with two lines marked and the next one chosen.
    After(150, [&] {
        for (int line = 0; line < 3 && line < ui.ListCount("frmChildren.List1"); ++line) {
            ui.ListSelect("frmChildren.List1", line);
            (void)DispatchEvent(m, "frmChildren.List1", UiEvent::Click);
            if (line < 2) (void)DispatchEvent(m, "frmChildren.cmdMark", UiEvent::Click);
        }
    });
    grabModal("frmChildren", "frmChildren.cmdClose");
    ShowChildrenWindow(m);

    After(150, [&] {
        if (ui.SetScrollValue("Form3.HScroll1", 537))
            (void)DispatchEvent(m, "Form3.HScroll1", UiEvent::Change);
    });
    grabModal("Form3", "Form3.Command2");
    (void)EditSkill(m, 0, 1000, 120, "Cooking");

    GrabAdultifyPictures(ui, m);
    GrabSecondEditor(clock);

    // The question before leaving with unsaved edits, answered Cancel.
    m.UnsavedData = kTrue;
    AnswerNextBox("UnsavedQuestion", IDCANCEL);
    (void)DispatchEvent(m, "menu_exit", UiEvent::Click);
    return 0;
}
