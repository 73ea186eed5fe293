// adultify-screenshots.exe OUTDIR: each window of the Windows editor on a generated sample
// game, as a .bmp of what the screen shows (the script around it turns them into PNG).
#include "app/editor.h"
#include "sample/game_folder.h"
#include "sample/game_registry_windows.h"
#include "screenshots/tour.h"
#include "ui/win32/message_box.h"
#include "ui/win32/win32_window_system.h"

#include <windows.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <map>

using namespace adultify;

namespace {

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

void WriteBitmapFile(const std::filesystem::path& path, const BITMAPINFOHEADER& header,
                     const void* bits, DWORD size) {
    const BITMAPFILEHEADER file{
        0x4D42, static_cast<DWORD>(sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER) + size), 0,
        0, sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER)};
    std::ofstream f(path, std::ios::binary);
    f.write(reinterpret_cast<const char*>(&file), sizeof(file));
    f.write(reinterpret_cast<const char*>(&header), sizeof(BITMAPINFOHEADER));
    f.write(static_cast<const char*>(bits), size);
    std::cout << (f ? "wrote " : "could not write ") << path.string() << "\n";
}

// The window as the screen shows it, frame included, as a 24-bit bitmap file.
void Save(HWND hwnd, const std::filesystem::path& path) {
    if (!hwnd) return;
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
    WriteBitmapFile(path, info.bmiHeader, bits, stride * static_cast<DWORD>(height));
    SelectObject(copy, old);
    DeleteObject(bitmap);
    DeleteDC(copy);
    ReleaseDC(nullptr, screen);
}

std::map<UINT_PTR, std::function<void()>> pending;

class Win32Camera final : public screenshots::Camera {
  public:
    Win32Camera(std::filesystem::path out, ManualClock& clock)
        : out_(std::move(out)), clock_(clock) {}

    void Grab(WindowSystem& ui, FormId form, const std::string& name) override {
        Save(static_cast<win32::Win32WindowSystem&>(ui).Window(form), File(name));
    }
    void GrabModal(WindowSystem& ui, const std::string& name) override {
        auto& windows = static_cast<win32::Win32WindowSystem&>(ui);
        if (std::optional<FormId> form = windows.ModalForm())
            Save(windows.Window(*form), File(name));
    }
    void GrabBox(const std::string& name) override {
        Save(win32::OpenMessageBoxOfThisThread(), File(name));
    }
    void AnswerBox(MsgAnswer answer) override {
        if (HWND box = win32::OpenMessageBoxOfThisThread())
            PostMessageW(box, WM_COMMAND, static_cast<WPARAM>(ButtonId(answer)), 0);
    }
    void After(int ms, std::function<void()> act) override {
        const UINT_PTR timer =
            SetTimer(nullptr, 0, static_cast<UINT>(ms), [](HWND, UINT, UINT_PTR id, DWORD) {
                KillTimer(nullptr, id);
                auto it = pending.find(id);
                if (it == pending.end()) return;
                std::function<void()> run = std::move(it->second);
                pending.erase(it);
                run();
            });
        pending[timer] = std::move(act);
    }
    void OpenSecondEditor(const std::function<void(WindowSystem&)>& whenLoaded) override {
        EditorOn<win32::Win32WindowSystem> second(
            [](const char* name) { return std::getenv(name); }, &clock_);
        if (second.Load()) whenLoaded(second.ui());
    }

  private:
    static int ButtonId(MsgAnswer answer) {
        switch (answer) {
        case MsgAnswer::Yes: return IDYES;
        case MsgAnswer::No: return IDNO;
        case MsgAnswer::Cancel: return IDCANCEL;
        case MsgAnswer::Ok: break;
        }
        return IDOK;
    }
    [[nodiscard]] std::filesystem::path File(const std::string& name) const {
        return out_ / (name + ".bmp");
    }

    std::filesystem::path out_;
    ManualClock& clock_;
};

// A sample game under `out`, named in the registry where the editor looks first.
void WriteSampleGame(const std::filesystem::path& out) {
    const std::filesystem::path game = std::filesystem::absolute(out / "sample-game");
    std::filesystem::remove_all(game);
    sample::WriteRandomGame(game, screenshots::TourGame());
    sample::NameGameInRegistry(game);
}

} // namespace

int main(int argc, char** argv) try {
    if (argc < 2) {
        std::cerr << "usage: adultify-screenshots OUTDIR\n";
        return 1;
    }
    const std::filesystem::path out = argv[1];
    std::filesystem::create_directories(out);
    WriteSampleGame(out);

    ManualClock clock;
    EditorOn<win32::Win32WindowSystem> editor([](const char* name) { return std::getenv(name); },
                                              &clock);
    Win32Camera camera(out, clock);
    return screenshots::RunTour(editor.run(), editor.ui(), camera,
                                [&editor] { return editor.Load(); })
               ? 0
               : 3;
} catch (const std::exception& e) {
    std::cerr << "adultify-screenshots: " << e.what() << "\n";
    return 3;
}
