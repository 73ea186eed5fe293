#include "install/install_search.h"

#include "install/prefix_probe.h"
#include "install/steam_libraries.h"
#include "install/wine_prefix.h"
#include "sample/game_folder.h"
#include "sample/home_folder.h"
#include "tests/support/environment.h"
#include "tests/support/skip_on_windows.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>

namespace adultify {
namespace {

namespace fs = std::filesystem;

using Env = test::Environment;
using Names = std::vector<std::string>;

// The search through Wine prefixes and Steam, Bottles, Lutris and Heroic homes is Linux's;
// Windows reads its registry and Saved Games.
#ifndef _WIN32
std::vector<FoundGame> Find(const fs::path& home, const Env& env = {},
                            std::vector<RememberedFolder> remembered = {}) {
    SearchPlaces places;
    places.home = home;
    places.env = test::LookupIn(env);
    places.remembered = std::move(remembered);
    return FindGames(places);
}

Names Sources(const std::vector<FoundGame>& games) {
    Names out;
    for (const FoundGame& g : games)
        out.emplace_back(SourceName(g.source));
    return out;
}

void Overwrite(const fs::path& p, std::string_view text) {
    std::ofstream(p, std::ios::binary | std::ios::trunc) << text;
}

// A generated home, removed with the object; path() is the folder that holds it.
class Home : public test::TempDir, public sample::SampleHome {
  public:
    Home() : sample::SampleHome(sample::WriteSampleHome(path())) {}
};

// A generated home with the game in every place the search looks.
class InstallSearch : public ::testing::Test {
  protected:
    const Home h;
};

const Names kEverySource{"registry", "re-release", "re-release", "steam",
                         "bottles",  "bottles",    "lutris",     "heroic"};

TEST_F(InstallSearch, FindsEverySourceOnceInOrder) {
    const auto games = Find(h.home);
    ASSERT_EQ(Sources(games), kEverySource);
    const std::string saves = "\\Saved Games\\Electronic Arts\\The Sims 25\\";
    const fs::path steam = h.home / ".local/share/Steam/steamapps/compatdata/3314060/pfx";
    const fs::path flatpak = h.home / ".var/app/com.valvesoftware.Steam/.local/share/Steam/"
                                      "steamapps/compatdata/3314060/pfx";
    const fs::path bottles = h.home / ".var/app/com.usebottles.bottles/data/bottles/bottles/EA";
    struct Expected {
        std::string gameFolder;
        fs::path native, prefix;
        int codePage;
        std::vector<int> hoods;
    } expected[] = {
        {"C:\\Program Files (x86)\\Maxis\\The Sims\\", h.wineGame, h.home / ".wine", 1252, {1}},
        {"C:\\users\\steamuser" + saves, h.steamSaves, steam, 1252, {1, 2}},
        {"C:\\users\\steamuser" + saves, h.flatpakSaves, flatpak, 1252, {3}},
        {"C:\\Игры\\The Sims\\",
         h.nonSteamGame,
         h.library2 / "steamapps/compatdata/2911111111/pfx",
         1251,
         {1, 4}},
        {"C:\\Program Files\\Maxis\\The Sims\\",
         h.bottleGame,
         h.home / ".local/share/bottles/bottles/The Sims",
         1252,
         {1, 2, 3}},
        {"C:\\users\\player" + saves, h.eaBottleSaves, bottles, 1252, {2}},
        {"C:\\users\\player" + saves, h.lutrisSaves, h.home / "Games/the-sims-legacy", 1252, {7}},
        {"D:\\Games\\The Sims\\", h.heroicGame, h.home / "Games/Heroic/Prefixes/TheSims", 932, {1}},
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

TEST_F(InstallSearch, AFolderReachedTwiceIsListedOnce) {
    // ~/.wine again as a Lutris prefix, the bottle's game through the Z: drive of another
    // bottle, and Snap's Steam listing libraries already seen.
    fs::create_directory_symlink(h.home / ".wine", h.home / "Games" / "wine-link");
    sample::WritePrefix(h.home / ".local/share/bottles/bottles/Again",
                        {.simsData = "Z:" + fs::canonical(h.bottleGame).string()});
    sample::WriteSteamRoot(h.home / "snap/steam/common/.local/share/Steam",
                           {h.library2, h.home / ".steam/steam"});
    EXPECT_EQ(Sources(Find(h.home)), kEverySource);

    const auto libraries = SteamLibraries(h.home);
    ASSERT_EQ(libraries.size(), 4u);
    EXPECT_TRUE(fs::equivalent(libraries[1], h.library2));
}

TEST_F(InstallSearch, WineprefixComesFirstAndDotWineLast) {
    const fs::path other = h.path() / "other-prefix";
    const fs::path game =
        sample::WritePrefix(other, {.simsData = "C:\\The Sims", .codePage = 1250});
    sample::WriteGameFolder(game, sample::EmptyHoods({2}));

    auto games = Find(h.home, {{"WINEPREFIX", other.string()}});
    ASSERT_EQ(games.size(), 9u);
    EXPECT_EQ(SourceName(games.front().source), "registry");
    EXPECT_TRUE(fs::equivalent(games.front().native, game));
    EXPECT_EQ(games.front().codePage, 1250);
    EXPECT_EQ(SourceName(games.back().source), "wine-prefix");
    EXPECT_TRUE(fs::equivalent(games.back().native, h.wineGame));

    EXPECT_EQ(Sources(Find(h.home, {{"WINEPREFIX", "relative/prefix"}})), kEverySource);
}

TEST_F(InstallSearch, BrokenListsAndFoldersWithoutAGameLeaveTheRest) {
    const fs::path nativeVdf = h.home / ".local/share/Steam/steamapps/libraryfolders.vdf";
    Overwrite(nativeVdf, "\"libraryfolders\" { \"0\" { \"path\" \"unterminated");
    EXPECT_EQ(Sources(Find(h.home)), kEverySource) << "Flatpak's Steam lists library 2 too";

    fs::remove(h.home /
               ".var/app/com.valvesoftware.Steam/.local/share/Steam/steamapps/libraryfolders.vdf");
    Overwrite(nativeVdf, std::string(100000, '{'));
    Overwrite(h.home / ".wine/system.reg", "garbage\n[Software\\\\Maxis\\\\The Sims]\n");
    fs::remove_all(h.flatpakSaves / "UserData3"); // a save folder without neighbourhoods
    fs::remove(h.bottleGame / "Sims.exe");        // neighbourhoods alone still count
    fs::remove_all(h.heroicGame);                 // uninstalled, its key left behind
    EXPECT_EQ(Sources(Find(h.home)), (Names{"re-release", "bottles", "bottles", "lutris"}));

    SearchPlaces noEnvironment;
    noEnvironment.home = h.home / "no-such-home";
    EXPECT_TRUE(FindGames(noEnvironment).empty());
}

TEST_F(InstallSearch, RememberedFoldersComeRightAfterTheRegistryAndOnlyOnce) {
    test::TempDir elsewhere;
    sample::WriteGameFolder(elsewhere.path(), sample::EmptyHoods({5}));
    // The re-release's saves in the default prefix come after the folders chosen by hand.
    sample::WriteReReleaseSaves(h.home / ".wine", "player", sample::EmptyHoods({7}, false));
    const auto games = Find(h.home, {},
                            {{elsewhere.asSimsPath(), std::nullopt},
                             {"C:\\Program Files (x86)\\Maxis\\The Sims\\", h.home / ".wine"},
                             {(h.path() / "not-a-game/").string(), std::nullopt},
                             {h.steamSaves.string() + "\\", std::nullopt}});
    EXPECT_EQ(Sources(games),
              (Names{"registry", "remembered", "remembered", "re-release", "re-release", "steam",
                     "bottles", "bottles", "lutris", "heroic"}))
        << "the re-release's Steam saves, chosen by hand, count as remembered";
    ASSERT_EQ(games.size(), 10u);
    EXPECT_EQ(games[1].gameFolder, elsewhere.asSimsPath());
    EXPECT_FALSE(games[1].prefix.has_value());
    EXPECT_EQ(games[1].codePage, 1252);
    EXPECT_EQ(games[1].hoods, std::vector<int>{5});
    EXPECT_EQ(games[2].hoods, (std::vector<int>{1, 2}));
}

TEST_F(InstallSearch, WithoutAHomeOnlyTheNamedPrefixAndRememberedFolders) {
    const fs::path before = fs::current_path();
    fs::current_path(h.home); // where relative Steam and Bottles folders would be found
    const auto games = Find({}, {}, {{h.bottleGame.string() + "\\", std::nullopt}});
    const auto withPrefix = Find({}, {{"WINEPREFIX", (h.home / ".wine").string()}});
    fs::current_path(before);
    EXPECT_EQ(Sources(games), Names{"remembered"});
    EXPECT_EQ(Sources(withPrefix), Names{"registry"});
}

#endif

TEST(SteamLibraries, PathsOfBothLayoutsOfTheList) {
    const VdfResult current = ParseVdf(R"("libraryfolders" {
        "contentstatsid" "-2"
        "0" { "path" "/mnt/a" "apps" { "620" "1" } }
        "1" { "label" "no path" }
        "2" { "path" "relative/b" } })");
    EXPECT_EQ(LibraryPaths(current.root), (Names{"/mnt/a", "relative/b"}));
    const VdfResult old = ParseVdf(R"("LibraryFolders" {
        "TimeNextStatsReport" "1690000000"
        "1" "/mnt/old library" })");
    EXPECT_EQ(LibraryPaths(old.root), Names{"/mnt/old library"});
}

TEST(PrefixProbe, RecognisesTheGamesKeyAndMapsItsFolder) {
    ADULTIFY_SKIP_ON_WINDOWS(
        "Wine prefixes and their drive links are read on Linux; Windows has its own drives");
    EXPECT_TRUE(MentionsGameKey("[Software\\\\Wow6432Node\\\\Maxis\\\\The Sims] 1796589658"));
    EXPECT_TRUE(MentionsGameKey("[SOFTWARE\\\\MAXIS\\\\THE SIMS]"));
    EXPECT_FALSE(MentionsGameKey("[Software\\\\Maxis\\\\The Sims 2] 1796589658"));
    EXPECT_FALSE(MentionsGameKey("\"Path\"=\"C:\\\\Maxis\\\\The Sims\""));

    // A prefix Wine has not started yet has no drive links.
    test::TempDir dir;
    const fs::path game =
        sample::WritePrefix(dir.path(), {.simsData = "c:\\program files\\MAXIS\\the sims"});
    sample::WriteGameFolder(game, sample::EmptyHoods({1}));
    fs::remove_all(dir.path() / "dosdevices");
    PrefixProbe probe(dir.path());
    const auto folder = probe.RegistryFolder();
    ASSERT_TRUE(folder.has_value());
    EXPECT_EQ(folder->windowsPath, "c:\\program files\\MAXIS\\the sims\\");
    EXPECT_TRUE(fs::equivalent(folder->native, game));
}

TEST(WinePrefix, WineprefixWhenAbsoluteElseHomeDotWine) {
    ADULTIFY_SKIP_ON_WINDOWS("WINEPREFIX and ~/.wine are Linux's");
    test::Environment env = {{"HOME", "/srv/player-home"}};
    const EnvironmentLookup lookup = test::LookupIn(env);
    EXPECT_EQ(WinePrefix(lookup), std::filesystem::path("/srv/player-home/.wine"));
    env["WINEPREFIX"] = "relative/prefix";
    EXPECT_EQ(WinePrefix(lookup), std::filesystem::path("/srv/player-home/.wine"));
    env["WINEPREFIX"] = "/games/sims-prefix";
    EXPECT_EQ(WinePrefix(lookup), std::filesystem::path("/games/sims-prefix"));
    env.clear();
    EXPECT_FALSE(WinePrefix(lookup).has_value());
}

} // namespace
} // namespace adultify
