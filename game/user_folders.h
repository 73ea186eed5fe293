#pragma once
// The user's own folders where Adultify keeps what is not the game's: the settings file that
// remembers a game folder chosen by hand, and the snapshots. Never inside a game folder or a
// Wine prefix.

#include "install/wine_prefix.h"

#include <filesystem>
#include <optional>

namespace adultify {

// Linux: $XDG_CONFIG_HOME/adultify/remembered ($XDG_CONFIG_HOME when absolute), else
// $HOME/.config/adultify/remembered. Windows: %APPDATA%\Adultify\remembered.
// Nothing when the environment names no settings folder.
[[nodiscard]] std::optional<std::filesystem::path>
RememberedFolderFile(const EnvironmentLookup& env);

// Linux: $XDG_DATA_HOME/adultify/snapshots ($XDG_DATA_HOME when absolute), else
// $HOME/.local/share/adultify/snapshots. Windows: %LOCALAPPDATA%\Adultify\Snapshots.
// Nothing when no such folder can be named.
[[nodiscard]] std::optional<std::filesystem::path>
DefaultSnapshotRoot(const EnvironmentLookup& env);

} // namespace adultify
