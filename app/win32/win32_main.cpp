// adultify.exe: the editor for Windows.
#include "app/win32/win32_front_end.h"
#include "ui/win32/wide_text.h"

#include <windows.h>

#include <cstdlib>
#include <exception>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    const auto env = [](const char* name) { return std::getenv(name); };
    try {
        adultify::Win32Editor editor(env);
        if (!editor.Load()) return editor.ui().ExitCode();
        return editor.Run();
    } catch (const std::exception& e) { // no window could be made, or memory ran out
        MessageBoxW(nullptr, adultify::win32::Widen(e.what()).c_str(), L"Adultify",
                    MB_OK | MB_ICONERROR);
        return 1;
    }
}
