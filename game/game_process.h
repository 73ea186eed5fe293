#pragma once
// Whether The Sims is running, so that no save is edited under it.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace adultify {

struct RunningGame {
    int pid = 0;
    std::string command; // its command line, arguments joined by blanks
};

// The first process running the game's program, Sims.exe (any letter case), natively or
// under Wine or Proton; nothing when none is found or the process list cannot be read.
// On Linux it scans the numbered folders of `procRoot`; on Windows `procRoot` is unused.
[[nodiscard]] std::optional<RunningGame>
FindRunningGame(const std::filesystem::path& procRoot = "/proc");

// The part after the last separator of either system: Wine shows Windows paths.
[[nodiscard]] std::string_view FileNamePart(std::string_view path);

// Sims.exe alone, in any letter case: every release runs it, the 2025 re-release's Steam folder
// included.
[[nodiscard]] bool NamesTheGame(std::string_view path);

} // namespace adultify
