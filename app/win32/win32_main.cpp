// adultify.exe: the editor for Windows.
#include "app/editor.h"
#include "app/editor_command_line.h"
#include "text/wide_text.h"
#include "ui/win32/win32_window_system.h"

#include <windows.h>

#include <shellapi.h>

#include <cstdlib>
#include <exception>
#include <sstream>

namespace {

std::vector<std::string> Arguments() {
    int count = 0;
    LPWSTR* wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    std::vector<std::string> args;
    for (int i = 1; wide != nullptr && i < count; ++i)
        args.push_back(adultify::Narrow(wide[i]));
    ::LocalFree(wide);
    return args;
}

// A windowed program has no console of its own: the text goes where standard output or error
// was sent, else to the console it was started from, else into a message box.
void Say(const std::string& text, DWORD stream, UINT icon) {
    if (text.empty()) return;
    DWORD written = 0;
    HANDLE to = ::GetStdHandle(stream);
    if (to != nullptr && to != INVALID_HANDLE_VALUE &&
        ::WriteFile(to, text.data(), static_cast<DWORD>(text.size()), &written, nullptr))
        return;
    if (::AttachConsole(ATTACH_PARENT_PROCESS)) {
        HANDLE console = ::CreateFileW(L"CONOUT$", GENERIC_WRITE, FILE_SHARE_WRITE, nullptr,
                                       OPEN_EXISTING, 0, nullptr);
        const std::wstring wide = adultify::Widen(text);
        const bool ok = console != INVALID_HANDLE_VALUE &&
                        ::WriteConsoleW(console, wide.data(), static_cast<DWORD>(wide.size()),
                                        &written, nullptr);
        if (console != INVALID_HANDLE_VALUE) ::CloseHandle(console);
        if (ok) return;
    }
    ::MessageBoxW(nullptr, adultify::Widen(text).c_str(), L"Adultify", MB_OK | icon);
}

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    std::ostringstream out, err;
    if (const auto code = adultify::EditorCommandLine(Arguments(), out, err)) {
        Say(out.str(), STD_OUTPUT_HANDLE, MB_ICONINFORMATION);
        Say(err.str(), STD_ERROR_HANDLE, MB_ICONERROR);
        return *code;
    }
    const auto env = [](const char* name) { return std::getenv(name); };
    try {
        adultify::EditorOn<adultify::win32::Win32WindowSystem> editor(env);
        if (!editor.Load()) return editor.ui().ExitCode();
        return editor.Run();
    } catch (const std::exception& e) { // no window could be made, or memory ran out
        MessageBoxW(nullptr, adultify::Widen(e.what()).c_str(), L"Adultify", MB_OK | MB_ICONERROR);
        return 1;
    }
}
