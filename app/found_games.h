#pragma once
// The games the install search found, and which one the run uses. Using a game points the
// program at it whole: SimsPath, the file system (through the game's Wine prefix) and the code
// page its names are read in. The games menu lists them, the one in use checked.

#include "app/platform.h"
#include "core/module1.h"
#include "install/install_search.h"

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace adultify {

struct GameShelf {
    std::vector<FoundGame> games;
    std::optional<std::size_t> current; // none: a folder chosen by hand, or no game yet
    std::optional<int> codePage;        // given on the command line: read every game in it
    // Where the editor keeps the folder last chosen by hand; none: not kept.
    std::optional<std::filesystem::path> rememberIn;
};

// A game's path as its games menu entry shows it: one longer than kShownPathLength characters
// loses its middle to an ellipsis, so that the menu stays narrower than the screen. The entry's
// tip holds the whole path.
inline constexpr std::size_t kShownPathLength = 60;
[[nodiscard]] std::string ShortenedPath(std::string_view path);

// The install search on the platform's machine: the home folder and $WINEPREFIX from its
// environment, its registry, the folder remembered in the user's settings.
[[nodiscard]] GameShelf SearchGames(Platform& platform);

// Lists the games in the games menu, the one in use checked.
void ShowFoundGames(Module1& m, const GameShelf& shelf);

// Makes games[index] the one in use; false when there is none such.
// A game in a Wine prefix is reached through that prefix on `platform` (none: no prefix is
// followed), and the path dialog offers the prefix's drive letters.
bool UseFoundGame(Module1& m, GameShelf& shelf, Platform* platform, std::size_t index);

// SimsPath was chosen by hand: its code page is found (the game found there, else the Wine
// prefix it lies in, else the system's) and, when the shelf says where, the choice is kept.
void UseChosenFolder(Module1& m, GameShelf& shelf);

} // namespace adultify
