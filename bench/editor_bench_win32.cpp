// The Win32 editor's answers, under Wine (bench/editor-bench.sh) or Windows.
#include "bench/editor_bench.h"
#include "sample/game_registry_windows.h"
#include "ui/win32/win32_window_system.h"

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

} // namespace

int main(int argc, char** argv) {
    const std::filesystem::path root = std::filesystem::absolute(
        argc > 1 ? std::filesystem::path(argv[1])
                 : std::filesystem::temp_directory_path() / "adultify-editor-bench");
    const std::filesystem::path game = root / "The Sims";
    bench::WriteBenchGame(game, root / "many");
    sample::NameGameInRegistry(game);
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
    p.mostPaintsOfOne = [] { return bench::Most(paints); };
    p.paintsOf = [](WindowSystem& ui, ControlId id) {
        const auto found = paints.find(static_cast<win32::Win32WindowSystem&>(ui).Handle(id));
        return found == paints.end() ? 0 : found->second;
    };
    return bench::RunEditorBench<win32::Win32WindowSystem>(p, root / "many",
                                                           argc > 2 ? argv[2] : "");
}
