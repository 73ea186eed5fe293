#pragma once
// Whether a folder on this machine is a game the program can open, from its listing alone.

#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

namespace adultify {

struct UnreadableFolder {
    int hood = 0;
    std::filesystem::path folder;
    std::string reason; // the system's words ("Permission denied")
};

struct GameFolderContents {
    bool hasSimsExe = false;
    std::vector<int> hoods; // 1 for UserData, n for UserDataN (2..99), ascending
    std::vector<UnreadableFolder> unreadableHoods; // neighbourhood folders that cannot be listed
    std::error_code unlisted;                      // why the folder itself could not be listed
};

enum class GameFolderReading {
    Whole,       // every neighbourhood
    UntilItIsOne // stops at the first sign of a game folder: whether it is one is all it tells
};

// One listing of `folder`: Sims.exe and the neighbourhood folders holding a Neighborhood.iff,
// every name in any letter case. A missing or unreadable folder gives nothing.
[[nodiscard]] GameFolderContents
ReadGameFolder(const std::filesystem::path& folder,
               GameFolderReading reading = GameFolderReading::Whole);

// A game folder holds Sims.exe, or at least one neighbourhood (the re-release's save folder
// has no program in it).
[[nodiscard]] bool IsGameFolder(const GameFolderContents& contents);
[[nodiscard]] bool IsGameFolder(const std::filesystem::path& folder);

// Why `folder` is not a game folder, in one sentence; empty when it is one.
[[nodiscard]] std::string GameFolderRefusal(const std::filesystem::path& folder);

} // namespace adultify
