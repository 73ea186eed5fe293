#include "game/game_process.h"
#include "text/wide_text.h"

#include <windows.h>

#include <tlhelp32.h>

#include <iterator>

namespace adultify {

namespace {

// The full path when the process lets us ask, else the bare name the snapshot gives.
std::string ImagePath(DWORD pid, const wchar_t* exeName) {
    if (HANDLE process = ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid)) {
        wchar_t path[MAX_PATH * 4];
        DWORD size = static_cast<DWORD>(std::size(path));
        const bool ok = ::QueryFullProcessImageNameW(process, 0, path, &size) != 0;
        ::CloseHandle(process);
        if (ok) return Narrow(path);
    }
    return Narrow(exeName);
}

} // namespace

std::optional<RunningGame> FindRunningGame(const std::filesystem::path&) {
    HANDLE snapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return std::nullopt;
    std::optional<RunningGame> found;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = ::Process32FirstW(snapshot, &entry); more && !found;
         more = ::Process32NextW(snapshot, &entry))
        if (NamesTheGame(Narrow(entry.szExeFile)))
            found = RunningGame{static_cast<int>(entry.th32ProcessID),
                                ImagePath(entry.th32ProcessID, entry.szExeFile)};
    ::CloseHandle(snapshot);
    return found;
}

} // namespace adultify
