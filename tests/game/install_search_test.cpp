#include "game/install_search.h"

#include "game/prefix_probe.h"
#include "game/steam_libraries.h"
#include "game/wine_managers.h"
#include "tests/support/sample_home.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>

namespace adultify {
namespace {

namespace fs = std::filesystem;

using Env = std::map<std::string, std::string>;

std::vector<FoundGame> Find(const fs::path& home, const Env& env = {},
                            std::vector<RememberedFolder> remembered = {}) {
    SearchPlaces places;
    places.home = home;
    places.env = [&env](const char* name) -> const char* {
        const auto it = env.find(name);
        return it == env.end() ? nullptr : it->second.c_str();
    };
    places.remembered = std::move(remembered);
    return FindGames(places);
}

std::vector<std::string> Sources(const std::vector<FoundGame>& games) {
    std::vector<std::string> out;
    for (const FoundGame& g : games)
        out.emplace_back(SourceName(g.source));
    return out;
}

void Overwrite(const fs::path& p, std::string_view text) {
    std::ofstream(p, std::ios::binary | std::ios::trunc) << text;
}

TEST(InstallSearch, FindsEverySourceOnceInOrder) {
    test::SampleHome h;
    const auto games = Find(h.home);
    ASSERT_EQ(Sources(games), (std::vector<std::string>{"registry", "re-release", "re-release",
                                                        "steam", "bottles", "lutris", "heroic"}));
    struct Expected {
        std::string gameFolder;
        fs::path native;
        fs::path prefix;
        int codePage;
        std::vector<int> hoods;
    } expected[] = {
        {"C:\\Program Files (x86)\\Maxis\\The Sims\\", h.wineGame, h.home / ".wine", 1252, {1}},
        {"C:\\users\\steamuser\\Saved Games\\Electronic Arts\\The Sims 25\\",
         h.steamSaves,
         h.home / ".local/share/Steam/steamapps/compatdata/3314060/pfx",
         1252,
         {1, 2}},
        {"C:\\users\\steamuser\\Saved Games\\Electronic Arts\\The Sims 25\\",
         h.flatpakSaves,
         h.home / ".var/app/com.valvesoftware.Steam/.local/share/Steam/steamapps/compatdata/"
                  "3314060/pfx",
         1252,
         {3}},
        {"C:\\Games\\The Sims\\",
         h.nonSteamGame,
         h.library2 / "steamapps/compatdata/2911111111/pfx",
         1251,
         {1, 4}},
        {"C:\\Program Files\\Maxis\\The Sims\\",
         h.bottleGame,
         h.home / ".local/share/bottles/bottles/The Sims",
         1252,
         {1, 2, 3}},
        {"C:\\users\\player\\Saved Games\\Electronic Arts\\The Sims 25\\",
         h.lutrisSaves,
         h.home / "Games/the-sims-legacy",
         1252,
         {7}},
        {"D:\\Games\\The Sims\\",
         h.heroicGame,
         h.home / "Games/Heroic/Prefixes/TheSims",
         1252,
         {1}},
    };
    for (std::size_t i = 0; i < games.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(games[i].gameFolder, expected[i].gameFolder);
        EXPECT_TRUE(fs::equivalent(games[i].native, expected[i].native)) << games[i].native;
        ASSERT_TRUE(games[i].prefix.has_value());
        EXPECT_TRUE(fs::equivalent(*games[i].prefix, expected[i].prefix)) << *games[i].prefix;
        EXPECT_EQ(games[i].codePage, expected[i].codePage);
        EXPECT_EQ(games[i].hoods, expected[i].hoods);
    }
}

TEST(InstallSearch, AFolderReachedTwiceIsListedOnce) {
    test::SampleHome h;
    // A Lutris entry that is ~/.wine under another name, and a bottle naming the same folder
    // through the Z: drive.
    fs::create_directory_symlink(h.home / ".wine", h.home / "Games" / "wine-link");
    const fs::path bottle = h.home / ".local/share/bottles/bottles/Again";
    sample::WritePrefix(bottle, {.simsData = "Z:" + fs::canonical(h.bottleGame).string()});
    // Snap's Steam lists the libraries already seen.
    sample::WriteSteamRoot(h.home / "snap/steam/common/.local/share/Steam",
                           {h.library2, h.home / ".steam/steam"});

    const auto games = Find(h.home);
    EXPECT_EQ(Sources(games), (std::vector<std::string>{"registry", "re-release", "re-release",
                                                        "steam", "bottles", "lutris", "heroic"}));
}

TEST(InstallSearch, WineprefixComesFirstAndDotWineLast) {
    test::SampleHome h;
    const fs::path other = h.dir.path() / "other-prefix";
    const fs::path game =
        sample::WritePrefix(other, {.simsData = "C:\\The Sims", .codePage = 1250});
    sample::WriteGameFolder(game, test::Hoods({2}));

    auto games = Find(h.home, {{"WINEPREFIX", other.string()}});
    ASSERT_EQ(games.size(), 8u);
    EXPECT_EQ(SourceName(games.front().source), "registry");
    EXPECT_TRUE(fs::equivalent(games.front().native, game));
    EXPECT_EQ(games.front().codePage, 1250);
    EXPECT_EQ(SourceName(games.back().source), "wine-prefix");
    EXPECT_TRUE(fs::equivalent(games.back().native, h.wineGame));

    games = Find(h.home, {{"WINEPREFIX", "relative/prefix"}});
    EXPECT_EQ(SourceName(games.front().source), "registry");
    EXPECT_TRUE(fs::equivalent(games.front().native, h.wineGame));
    EXPECT_EQ(games.size(), 7u) << "~/.wine once, as the registry";
}

TEST(InstallSearch, AMissingOrGarbledLibraryListLeavesTheRest) {
    test::SampleHome h;
    const fs::path nativeVdf = h.home / ".local/share/Steam/steamapps/libraryfolders.vdf";
    const fs::path flatpakVdf =
        h.home / ".var/app/com.valvesoftware.Steam/.local/share/Steam/steamapps/libraryfolders.vdf";
    const std::vector<std::string> all{"registry", "re-release", "re-release", "steam",
                                       "bottles",  "lutris",     "heroic"};

    Overwrite(nativeVdf, "\"libraryfolders\" { \"0\" { \"path\" \"unterminated");
    EXPECT_EQ(Sources(Find(h.home)), all) << "the Flatpak root still lists the second library";

    fs::remove(flatpakVdf);
    EXPECT_EQ(Sources(Find(h.home)),
              (std::vector<std::string>{"registry", "re-release", "re-release", "bottles", "lutris",
                                        "heroic"}));

    Overwrite(nativeVdf, std::string(100000, '{'));
    Overwrite(h.home / ".wine/system.reg", "garbage\n[Software\\\\Maxis\\\\The Sims]\n");
    EXPECT_EQ(Sources(Find(h.home)), (std::vector<std::string>{"re-release", "re-release",
                                                               "bottles", "lutris", "heroic"}));
}

TEST(InstallSearch, WhatIsNotAGameIsSkipped) {
    test::SampleHome h;
    fs::remove_all(h.wineGame);                   // uninstalled, the key left behind
    fs::remove_all(h.flatpakSaves / "UserData3"); // the save folder without neighbourhoods
    fs::remove(h.bottleGame / "Sims.exe");        // neighbourhoods alone still count
    EXPECT_EQ(Sources(Find(h.home)),
              (std::vector<std::string>{"re-release", "steam", "bottles", "lutris", "heroic"}));

    test::TempDir empty;
    EXPECT_TRUE(Find(empty.path()).empty());
    EXPECT_TRUE(Find(empty.path() / "no-such-home").empty());
    SearchPlaces noEnvironment;
    noEnvironment.home = h.home;
    EXPECT_EQ(FindGames(noEnvironment).size(), 5u);
}

TEST(InstallSearch, RememberedFoldersComeLastAndOnlyOnce) {
    test::SampleHome h;
    test::TempDir elsewhere;
    sample::WriteGameFolder(elsewhere.path(), test::Hoods({5}));
    const auto games = Find(h.home, {},
                            {{elsewhere.asSimsPath(), std::nullopt},
                             {"C:\\Program Files (x86)\\Maxis\\The Sims\\", h.home / ".wine"},
                             {(h.dir.path() / "not-a-game/").string(), std::nullopt}});
    ASSERT_EQ(games.size(), 8u);
    EXPECT_EQ(SourceName(games.back().source), "remembered");
    EXPECT_EQ(games.back().gameFolder, elsewhere.asSimsPath());
    EXPECT_FALSE(games.back().prefix.has_value());
    EXPECT_EQ(games.back().hoods, std::vector<int>{5});
}

TEST(SteamLibraries, EachLibraryOnceWhateverLeadsToIt) {
    test::SampleHome h;
    const auto libraries = SteamLibraries(h.home);
    ASSERT_EQ(libraries.size(), 3u);
    EXPECT_TRUE(fs::equivalent(libraries[0], h.home / ".local/share/Steam"));
    EXPECT_TRUE(fs::equivalent(libraries[1], h.library2));
    EXPECT_TRUE(fs::equivalent(libraries[2],
                               h.home / ".var/app/com.valvesoftware.Steam/.local/share/Steam"));

    std::vector<std::string> ids;
    for (const CompatPrefix& c : CompatPrefixes(h.library2))
        ids.push_back(c.appId);
    EXPECT_EQ(ids, (std::vector<std::string>{"620", "2911111111"})) << "by number, not by text";
}

TEST(SteamLibraries, PathsOfBothLayoutsOfTheList) {
    const VdfResult current = ParseVdf(R"("libraryfolders" {
        "contentstatsid" "-2"
        "0" { "path" "/mnt/a" "apps" { "620" "1" } }
        "1" { "label" "no path" }
        "2" { "path" "relative/b" } })");
    EXPECT_EQ(LibraryPaths(current.root), (std::vector<std::string>{"/mnt/a", "relative/b"}));
    const VdfResult old = ParseVdf(R"("LibraryFolders" {
        "TimeNextStatsReport" "1690000000"
        "ContentStatsID" "-4"
        "1" "/mnt/old library" })");
    EXPECT_EQ(LibraryPaths(old.root), std::vector<std::string>{"/mnt/old library"});
    EXPECT_TRUE(LibraryPaths(ParseVdf(R"("other" { "0" { "path" "/x" } })").root).empty());
}

TEST(PrefixProbe, RecognisesTheGamesKeyAndMapsItsFolder) {
    EXPECT_TRUE(MentionsGameKey("[Software\\\\Wow6432Node\\\\Maxis\\\\The Sims] 1796589658"));
    EXPECT_TRUE(MentionsGameKey("[SOFTWARE\\\\MAXIS\\\\THE SIMS]"));
    EXPECT_FALSE(MentionsGameKey("[Software\\\\Maxis\\\\The Sims 2] 1796589658"));
    EXPECT_FALSE(MentionsGameKey("\"Path\"=\"C:\\\\Maxis\\\\The Sims\""));
    EXPECT_FALSE(MentionsGameKey(""));

    // A prefix Wine has not started yet has no drive links.
    test::TempDir dir;
    const fs::path game =
        sample::WritePrefix(dir.path(), {.simsData = "c:\\program files\\MAXIS\\the sims"});
    sample::WriteGameFolder(game, test::Hoods({1}));
    fs::remove_all(dir.path() / "dosdevices");
    PrefixProbe probe(dir.path());
    const auto folder = probe.RegistryFolder();
    ASSERT_TRUE(folder.has_value());
    EXPECT_EQ(folder->windowsPath, "c:\\program files\\MAXIS\\the sims\\");
    EXPECT_TRUE(fs::equivalent(folder->native, game));
}

TEST(WineManagers, OnlyFoldersWithARegistryArePrefixes) {
    test::TempDir dir;
    sample::WritePrefix(dir.path() / ".local/share/bottles/bottles/b", {});
    sample::WritePrefix(dir.path() / ".var/app/com.usebottles.bottles/data/bottles/bottles/a", {});
    fs::create_directories(dir.path() / ".local/share/bottles/bottles/not-a-bottle/drive_c");
    sample::WritePrefix(dir.path() / "Games/Heroic/Prefixes/h", {});
    const auto bottles = BottlesPrefixes(dir.path());
    ASSERT_EQ(bottles.size(), 2u);
    EXPECT_EQ(bottles[0].filename(), "b") << "the native install before Flatpak's";
    EXPECT_EQ(bottles[1].filename(), "a");
    EXPECT_TRUE(LutrisPrefixes(dir.path()).empty()) << "~/Games/Heroic is no prefix";
    EXPECT_EQ(HeroicPrefixes(dir.path()).size(), 1u);
}

} // namespace
} // namespace adultify
