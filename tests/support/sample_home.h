#pragma once
// A player's home folder with the game in every place the install search knows, beside a
// second Steam library on another disk. Everything is generated under a temporary folder.

#include "sample/game_folder.h"
#include "sample/home_folder.h"
#include "tests/support/temp_dir.h"

#include <filesystem>
#include <initializer_list>

namespace adultify::test {

inline sample::GameSpec Hoods(std::initializer_list<int> numbers, bool withExe = true) {
    sample::GameSpec game;
    for (int n : numbers) {
        sample::HoodSpec hood;
        hood.number = n;
        game.hoods.push_back(hood);
    }
    if (!withExe) game.exeName.clear();
    return game;
}

class SampleHome {
  public:
    SampleHome() {
        namespace fs = std::filesystem;
        // ~/.wine: the older release, installed the usual way.
        wineGame = sample::WritePrefix(
            home / ".wine",
            {.simsData = "C:\\Program Files (x86)\\Maxis\\The Sims", .user = "player"});
        sample::WriteGameFolder(wineGame, Hoods({1}));

        // Steam's own root, ~/.steam/steam linking to it, and a second library elsewhere.
        const fs::path steam = home / ".local/share/Steam";
        sample::WriteSteamRoot(steam, {library2});
        fs::create_directories(home / ".steam");
        fs::create_directory_symlink(steam, home / ".steam" / "steam");
        sample::WriteSteamRoot(library2, {});
        const fs::path reRelease = sample::WriteProtonPrefix(steam, "3314060", {});
        steamSaves = sample::WriteReReleaseSaves(reRelease, "steamuser", Hoods({1, 2}, false));
        sample::WriteProtonPrefix(steam, "228980", {});
        sample::WriteProtonPrefix(library2, "620", {});
        // The older release added as a non-Steam game, on a Russian system.
        const fs::path nonSteam = library2 / "steamapps/compatdata/2911111111/pfx";
        nonSteamGame =
            sample::WritePrefix(nonSteam, {.simsData = "C:\\Games\\The Sims", .codePage = 1251});
        sample::WriteGameFolder(nonSteamGame, Hoods({1, 4}));

        // Flatpak's Steam lists the second library too.
        const fs::path flatpak = home / ".var/app/com.valvesoftware.Steam/.local/share/Steam";
        sample::WriteSteamRoot(flatpak, {library2});
        flatpakSaves = sample::WriteReReleaseSaves(
            sample::WriteProtonPrefix(flatpak, "3314060", {}), "steamuser", Hoods({3}, false));

        // A bottle of a 32-bit prefix.
        bottleGame =
            sample::WritePrefix(home / ".local/share/bottles/bottles/The Sims",
                                {.simsData = "C:\\Program Files\\Maxis\\The Sims", .win64 = false});
        sample::WriteGameFolder(bottleGame, Hoods({1, 2, 3}));

        // Lutris running the EA app's re-release.
        const fs::path lutris = home / "Games" / "the-sims-legacy";
        sample::WritePrefix(lutris, {.user = "player"});
        lutrisSaves = sample::WriteReReleaseSaves(lutris, "player", Hoods({7}, false));

        // Heroic, with the game on a second Wine drive.
        const fs::path heroic = home / "Games/Heroic/Prefixes/TheSims";
        sample::WritePrefix(heroic, {.simsData = "D:\\Games\\The Sims"});
        fs::create_directories(dir.path() / "disk-d");
        fs::create_directory_symlink(dir.path() / "disk-d", heroic / "dosdevices" / "d:");
        heroicGame = dir.path() / "disk-d" / "Games" / "The Sims";
        sample::WriteGameFolder(heroicGame, Hoods({1}));
    }

    TempDir dir;
    std::filesystem::path home = dir.path() / "home";
    std::filesystem::path library2 = dir.path() / "mnt" / "games" / "SteamLibrary";
    std::filesystem::path wineGame, steamSaves, nonSteamGame, flatpakSaves, bottleGame, lutrisSaves,
        heroicGame;
};

} // namespace adultify::test
