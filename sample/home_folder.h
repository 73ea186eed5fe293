#pragma once
// The pieces of a player's home folder where game managers keep Wine prefixes: Steam roots
// and libraries with their Proton prefixes, and prefixes of any kind with or without the game.

#include "sample/game_model.h"

#include <cstddef>
#include <filesystem>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

namespace adultify::sample {

struct PrefixSpec {
    std::optional<std::string> simsData =
        std::nullopt; // the game's registry key names it; no key without it
    bool win64 = true;
    std::optional<int> codePage =
        std::nullopt;               // the ACP value; Wine leaves it out for 1252 at times
    std::string user = "steamuser"; // the folder under drive_c/users
    std::size_t fillerKeys = 0;     // unrelated keys, about 200 bytes each
};

// system.reg as Wine writes it for `layout`.
[[nodiscard]] std::string PrefixSystemReg(const PrefixSpec& layout);

// A Wine prefix with its drive links, registry files and user folder. Answers the native folder
// of layout.simsData, or drive_c without it.
std::filesystem::path WritePrefix(const std::filesystem::path& prefix, const PrefixSpec& layout);

// The re-release's save folder of `user` (drive_c/users/<user>/Saved Games/Electronic Arts/
// The Sims 25) with the neighbourhoods of `game` and no program; answers the folder.
std::filesystem::path WriteReReleaseSaves(const std::filesystem::path& prefix,
                                          const std::string& user, const GameSpec& game);

// libraryfolders.vdf listing `libraries` in order, in the shape Steam writes.
[[nodiscard]] std::string LibraryFoldersVdf(const std::vector<std::filesystem::path>& libraries);

// A Steam root whose libraryfolders.vdf lists itself, then `others`.
void WriteSteamRoot(const std::filesystem::path& root,
                    const std::vector<std::filesystem::path>& others);

// The Proton prefix of `appId` in a library; answers its pfx folder.
std::filesystem::path WriteProtonPrefix(const std::filesystem::path& library,
                                        const std::string& appId, const PrefixSpec& layout);

// Empty neighbourhoods numbered `numbers`, with or without the program beside them.
[[nodiscard]] GameSpec EmptyHoods(std::initializer_list<int> numbers, bool withSimsExe = true);

// A family of an adult (user00001) and a child (user00002) in each neighbourhood `numbers`,
// their names (UTF-8 here) written in code page `codePage`.
struct FamilyNames {
    std::string family, adult, child;
};
[[nodiscard]] GameSpec OneFamilyHoods(std::initializer_list<int> numbers, const FamilyNames& names,
                                      int codePage = 1252, bool withSimsExe = true);

// A player's home with the game in every place the install search knows, and a second Steam
// library outside it, all under `root`. Residents (an adult and a child per neighbourhood):
//   wineGame      ~/.wine, Newbie family: Bob, Daisy
//   steamSaves    the re-release under Proton, Legacy family: Ada, Max (neighbourhoods 1, 2)
//   nonSteamGame  C:\Игры\The Sims in a prefix of code page 1251: Иванов family: Борис, Маша
//   bottleGame    a Bottles bottle, Goth family: Mortimer, Cassandra
//   heroicGame    a prefix of code page 932: 山田 family: 太郎, 花子
// and empty neighbourhoods in the others.
struct SampleHome {
    std::filesystem::path home, library2;
    // The game folders and save folders written, in the order the search lists them.
    std::filesystem::path wineGame, steamSaves, flatpakSaves, nonSteamGame, bottleGame,
        eaBottleSaves, lutrisSaves, heroicGame;
};
SampleHome WriteSampleHome(const std::filesystem::path& root);

} // namespace adultify::sample
