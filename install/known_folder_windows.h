#pragma once
// The user's own folders on Windows (Saved Games, AppData, ...), as the shell names them.

#include <windows.h>

#include <shlobj.h>

#include <filesystem>
#include <optional>

namespace adultify {

// Nothing when the shell names no such folder. shell32 and ole32 are loaded at the first call,
// not at start: a run that asks for none (--help, --version) never loads them.
[[nodiscard]] std::optional<std::filesystem::path> KnownFolder(REFKNOWNFOLDERID id);

} // namespace adultify
