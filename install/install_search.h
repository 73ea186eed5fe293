#pragma once
// Every install of the game on this machine, in the order start-up tries them:
//  1. registry     the machine's registry (on Linux: of $WINEPREFIX, else ~/.wine)
//  2. remembered   folders the user chose by hand before
//  3. re-release   the re-release's save folder: Windows' Saved Games folder; on Linux in
//                  the prefix of 1, then in each Steam library's compatdata/3314060/pfx
//  4. steam        every other Proton prefix of every Steam library whose registry names the
//                  game (the older release, added to Steam as a non-Steam game)
//  5. bottles, lutris, heroic   each manager's prefixes: their registry, then their Saved Games
//  6. wine-prefix  ~/.wine when $WINEPREFIX named another prefix, the same way
// Without a home folder only 1 to 3 are looked at.
// A folder counts once, under the first source that found it. Only directory listings and
// system.reg files are read, never a save. A folder counts as a game by IsGameFolder.

#include "install/code_page.h"
#include "install/registry.h"
#include "install/wine_prefix.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace adultify {

enum class InstallSource {
    Registry,
    ReRelease,
    Steam,
    Bottles,
    Lutris,
    Heroic,
    WinePrefix,
    Remembered
};

// "registry", "re-release", "steam", "bottles", "lutris", "heroic", "wine-prefix", "remembered".
[[nodiscard]] std::string_view SourceName(InstallSource source);

struct FoundGame {
    InstallSource source = InstallSource::Registry;
    std::string gameFolder;       // as SimsPath holds it, with its trailing separator
    std::filesystem::path native; // the same folder on this machine
    std::optional<std::filesystem::path> prefix; // the Wine prefix gameFolder is read through
    int codePage = kDefaultCodePage;             // of the names in its files
    std::vector<int> hoods;                      // neighbourhood numbers, ascending
};

struct RememberedFolder {
    std::string gameFolder;
    std::optional<std::filesystem::path> prefix;
};

struct SearchPlaces {
    std::filesystem::path home;   // empty: none
    EnvironmentLookup env;        // $WINEPREFIX
    Registry* registry = nullptr; // Windows: the machine's registry; unused elsewhere
    std::vector<RememberedFolder> remembered;
};

[[nodiscard]] std::vector<FoundGame> FindGames(const SearchPlaces& places);

} // namespace adultify
