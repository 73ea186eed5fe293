#pragma once
// Whether a folder on this machine is a game the program can open, from its listing alone.

#include <filesystem>
#include <vector>

namespace adultify {

struct GameFolderContents {
    bool hasSimsExe = false;
    std::vector<int> hoods; // 1 for UserData, n for UserDataN (2..99), ascending
};

// One listing of `folder`: Sims.exe and the neighbourhood folders holding a Neighborhood.iff,
// every name in any letter case. A missing or unreadable folder gives nothing.
[[nodiscard]] GameFolderContents ReadGameFolder(const std::filesystem::path& folder);

// A game folder holds Sims.exe, or at least one neighbourhood (the re-release's save folder
// has no program in it).
[[nodiscard]] bool IsGameFolder(const GameFolderContents& contents);
[[nodiscard]] bool IsGameFolder(const std::filesystem::path& folder);

} // namespace adultify
