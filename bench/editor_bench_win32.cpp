// The Win32 editor's answers, under Wine (bench/editor-bench.sh) or Windows.
#include "app/win32/win32_front_end.h"
#include "bench/editor_bench.h"

#include <windows.h>

#include <map>

using namespace adultify;

namespace {

std::map<HWND, int> paints;

// Sees each WM_PAINT a window takes from the queue.
LRESULT CALLBACK CountPaints(int code, WPARAM removed, LPARAM message) {
    const auto* msg = reinterpret_cast<const MSG*>(message);
    if (code >= 0 && removed == PM_REMOVE && msg->message == WM_PAINT) ++paints[msg->hwnd];
    return CallNextHookEx(nullptr, code, removed, message);
}

// The game named in the registry, where the editor looks first.
void NameGame(const std::filesystem::path& game) {
    HKEY key = nullptr;
    RegCreateKeyExW(HKEY_LOCAL_MACHINE, L"Software\\Maxis\\The Sims", 0, nullptr, 0, KEY_SET_VALUE,
                    nullptr, &key, nullptr);
    const std::wstring& value = game.native();
    RegSetValueExW(key, L"SIMS_DATA", 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
}

} // namespace

int main(int argc, char** argv) {
    const std::filesystem::path root = std::filesystem::absolute(
        argc > 1 ? std::filesystem::path(argv[1])
                 : std::filesystem::temp_directory_path() / "adultify-editor-bench");
    const std::filesystem::path game = root / "The Sims";
    bench::WriteBenchGame(game, root / "many");
    NameGame(game);
    bench::Platform p;
    p.cpuMs = [] {
        FILETIME created, ended, kernel, user;
        GetProcessTimes(GetCurrentProcess(), &created, &ended, &kernel, &user);
        const auto ms = [](FILETIME t) {
            return static_cast<double>((ULONGLONG{t.dwHighDateTime} << 32) | t.dwLowDateTime) / 1e4;
        };
        return ms(kernel) + ms(user);
    };
    HHOOK hook = nullptr;
    p.countPaints = [&hook](bool on) {
        paints.clear();
        if (hook) UnhookWindowsHookEx(hook);
        hook = on ? SetWindowsHookExW(WH_GETMESSAGE, CountPaints, nullptr, GetCurrentThreadId())
                  : nullptr;
    };
    p.mostPaintsOfOne = [] {
        int most = 0;
        for (const auto& [window, n] : paints)
            most = std::max(most, n);
        return most;
    };
    p.paintsOf = [](WindowSystem& ui, ControlId id) {
        const auto found = paints.find(static_cast<win32::Win32WindowSystem&>(ui).Handle(id));
        return found == paints.end() ? 0 : found->second;
    };
    return bench::RunEditorBench<Win32Editor>(
        p, root / "many",
        [](Clock& clock) {
            return std::make_unique<Win32Editor>([](const char* name) { return std::getenv(name); },
                                                 &clock);
        },
        argc > 2 ? argv[2] : "");
}
