#include "sample/home_folder.h"

#include "sample/game_folder.h"

#include <cstdio>

namespace adultify::sample {

namespace fs = std::filesystem;

namespace {

std::string FillerKeys(std::size_t count) {
    std::string text;
    char clsid[64];
    for (std::size_t i = 0; i < count; ++i) {
        std::snprintf(clsid, sizeof clsid, "{%08zX-0000-0000-C000-000000000046}", i);
        text += "[Software\\\\Classes\\\\CLSID\\\\" + std::string(clsid) + "] 1796589600\n";
        text += "#time=1d9a0b3c4d5e6f7\n@=\"Sample component " + std::to_string(i) + "\"\n";
        text += "\"ThreadingModel\"=\"Both\"\n\"InprocServer32\"=str(2):\"%SystemRoot%\\\\system32"
                "\\\\sample.dll\"\n\n";
    }
    return text;
}

} // namespace

std::string PrefixSystemReg(const PrefixSpec& layout) {
    std::string text;
    if (layout.simsData) {
        text = SystemReg(*layout.simsData, layout.win64);
    } else {
        text = "WINE REGISTRY Version 2\n;; All keys relative to \\\\Machine\n\n";
        text += layout.win64 ? "#arch=win64\n\n" : "#arch=win32\n\n";
    }
    text += FillerKeys(layout.fillerKeys);
    if (layout.codePage) {
        text += "[System\\\\CurrentControlSet\\\\Control\\\\Nls\\\\CodePage] 1796589601\n";
        text += "#time=1d9a0b3c4d5e6f9\n\"ACP\"=\"" + std::to_string(*layout.codePage) + "\"\n";
        text += "\"MACCP\"=\"10000\"\n\"OEMCP\"=\"437\"\n\n";
    }
    return text;
}

fs::path WritePrefix(const fs::path& prefix, const PrefixSpec& layout) {
    fs::path native = WriteWinePrefix(prefix, layout.simsData.value_or("C:\\"), layout.win64);
    WriteFile(prefix / "system.reg", ToBytes(PrefixSystemReg(layout)));
    fs::create_directories(prefix / "drive_c" / "users" / layout.user / "Documents");
    fs::create_directories(prefix / "drive_c" / "users" / "Public");
    return native;
}

fs::path WriteReReleaseSaves(const fs::path& prefix, const std::string& user,
                             const GameSpec& game) {
    fs::path folder =
        prefix / "drive_c" / "users" / user / "Saved Games" / "Electronic Arts" / "The Sims 25";
    fs::create_directories(folder);
    WriteNeighbourhoods(folder, game.hoods);
    return folder;
}

std::string LibraryFoldersVdf(const std::vector<fs::path>& libraries) {
    std::string text = "\"libraryfolders\"\n{\n";
    for (std::size_t i = 0; i < libraries.size(); ++i) {
        text += "\t\"" + std::to_string(i) + "\"\n\t{\n";
        text += "\t\t\"path\"\t\t\"" + Escaped(libraries[i].string()) + "\"\n";
        text +=
            "\t\t\"label\"\t\t\"\"\n\t\t\"contentid\"\t\t\"" + std::to_string(7340 + i) + "\"\n";
        text += "\t\t\"totalsize\"\t\t\"0\"\n\t\t\"apps\"\n\t\t{\n";
        text += "\t\t\t\"228980\"\t\t\"405089123\"\n\t\t}\n\t}\n";
    }
    return text + "}\n";
}

void WriteSteamRoot(const fs::path& root, const std::vector<fs::path>& others) {
    std::vector<fs::path> libraries{root};
    libraries.insert(libraries.end(), others.begin(), others.end());
    WriteFile(root / "steamapps" / "libraryfolders.vdf", ToBytes(LibraryFoldersVdf(libraries)));
    fs::create_directories(root / "steamapps" / "common");
}

fs::path WriteProtonPrefix(const fs::path& library, const std::string& appId,
                           const PrefixSpec& layout) {
    const fs::path compat = library / "steamapps" / "compatdata" / appId;
    WriteFile(compat / "version", ToBytes("GE-Proton9-20\n"));
    WritePrefix(compat / "pfx", layout);
    return compat / "pfx";
}

GameSpec EmptyHoods(std::initializer_list<int> numbers, bool withSimsExe) {
    GameSpec game;
    for (int n : numbers) {
        HoodSpec hood;
        hood.number = n;
        game.hoods.push_back(hood);
    }
    if (!withSimsExe) game.exeName.clear();
    return game;
}

GameSpec OneFamilyHoods(std::initializer_list<int> numbers, const FamilyNames& names, int codePage,
                        bool withSimsExe) {
    GameSpec game = EmptyHoods(numbers, withSimsExe);
    for (HoodSpec& hood : game.hoods) {
        SimSpec adult;
        adult.userFile = "user00001";
        adult.firstName = names.adult;
        adult.guid = 0x51000001u + static_cast<std::uint32_t>(hood.number);
        adult.fillerBytes = 2000;
        SimSpec child = adult;
        child.userFile = "user00002";
        child.firstName = names.child;
        child.guid = 0x52000001u + static_cast<std::uint32_t>(hood.number);
        child.age = 9;
        child.gender = 1;
        const int number = hood.number;
        hood = OneFamily(names.family, {adult, child});
        hood.number = number;
        hood.codePage = codePage;
    }
    return game;
}

SampleHome WriteSampleHome(const fs::path& root) {
    SampleHome h;
    h.home = root / "home";
    h.library2 = root / "mnt" / "games" / "SteamLibrary";
    // ~/.wine: the older release, installed the usual way.
    h.wineGame =
        WritePrefix(h.home / ".wine",
                    {.simsData = "C:\\Program Files (x86)\\Maxis\\The Sims", .user = "player"});
    WriteGameFolder(h.wineGame, OneFamilyHoods({1}, {"Newbie", "Bob", "Daisy"}));

    // Steam's own root, ~/.steam/steam linking to it, and a second library elsewhere.
    const fs::path steam = h.home / ".local/share/Steam";
    WriteSteamRoot(steam, {h.library2});
    fs::create_directories(h.home / ".steam");
    fs::create_directory_symlink(steam, h.home / ".steam" / "steam");
    WriteSteamRoot(h.library2, {});
    const fs::path reRelease = WriteProtonPrefix(steam, "3314060", {});
    h.steamSaves = WriteReReleaseSaves(
        reRelease, "steamuser", OneFamilyHoods({1, 2}, {"Legacy", "Ada", "Max"}, 1252, false));
    WriteProtonPrefix(steam, "228980", {});
    WriteProtonPrefix(h.library2, "620", {});
    // The older release added as a non-Steam game, on a Russian system, in a Cyrillic folder.
    const fs::path nonSteam = h.library2 / "steamapps/compatdata/2911111111/pfx";
    h.nonSteamGame = WritePrefix(nonSteam, {.simsData = "C:\\Игры\\The Sims", .codePage = 1251});
    WriteGameFolder(h.nonSteamGame, OneFamilyHoods({1, 4}, {"Иванов", "Борис", "Маша"}, 1251));

    // Flatpak's Steam lists the second library too.
    const fs::path flatpak = h.home / ".var/app/com.valvesoftware.Steam/.local/share/Steam";
    WriteSteamRoot(flatpak, {h.library2});
    h.flatpakSaves = WriteReReleaseSaves(WriteProtonPrefix(flatpak, "3314060", {}), "steamuser",
                                         EmptyHoods({3}, false));

    // A bottle of a 32-bit prefix.
    h.bottleGame = WritePrefix(h.home / ".local/share/bottles/bottles/The Sims",
                               {.simsData = "C:\\Program Files\\Maxis\\The Sims", .win64 = false});
    WriteGameFolder(h.bottleGame, OneFamilyHoods({1, 2, 3}, {"Goth", "Mortimer", "Cassandra"}));

    // Flatpak's Bottles with the EA app's re-release.
    const fs::path eaBottle = h.home / ".var/app/com.usebottles.bottles/data/bottles/bottles/EA";
    WritePrefix(eaBottle, {.user = "player"});
    h.eaBottleSaves = WriteReReleaseSaves(eaBottle, "player", EmptyHoods({2}, false));

    // Lutris running the EA app's re-release.
    const fs::path lutris = h.home / "Games" / "the-sims-legacy";
    WritePrefix(lutris, {.user = "player"});
    h.lutrisSaves = WriteReReleaseSaves(lutris, "player", EmptyHoods({7}, false));

    // Heroic, with the game on a second Wine drive, on a Japanese system.
    const fs::path heroic = h.home / "Games/Heroic/Prefixes/TheSims";
    WritePrefix(heroic, {.simsData = "D:\\Games\\The Sims", .codePage = 932});
    fs::create_directories(root / "disk-d");
    fs::create_directory_symlink(root / "disk-d", heroic / "dosdevices" / "d:");
    h.heroicGame = root / "disk-d" / "Games" / "The Sims";
    WriteGameFolder(h.heroicGame, OneFamilyHoods({1}, {"山田", "太郎", "花子"}, 932));
    return h;
}

} // namespace adultify::sample
