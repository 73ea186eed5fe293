#pragma once
// The game folder last chosen by hand, kept for the next start in the user's settings folder:
// on Linux $XDG_CONFIG_HOME/adultify/remembered (else ~/.config/adultify/remembered), on
// Windows %APPDATA%\Adultify\remembered. A small UTF-8 text: the folder as SimsPath holds it,
// then, when it lies in a Wine prefix, that prefix on a second line.

#include "game/user_folders.h"
#include "install/install_search.h"
#include "install/wine_prefix.h"

#include <filesystem>
#include <optional>
#include <vector>

namespace adultify {

// The folder the file holds; none when it is missing, empty or unreadable.
[[nodiscard]] std::vector<RememberedFolder>
ReadRememberedFolders(const std::filesystem::path& file);

// Replaces the file whole (written beside it, then renamed); false when it cannot.
bool WriteRememberedFolder(const std::filesystem::path& file, const RememberedFolder& folder);

} // namespace adultify
