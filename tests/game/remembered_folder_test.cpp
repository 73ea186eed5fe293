#include "game/remembered_folder.h"

#include "game/user_folders.h"
#include "sample/game_folder.h"
#include "sample/home_folder.h"
#include "tests/support/environment.h"
#include "tests/support/skip_on_windows.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <map>

namespace adultify {
namespace {

namespace fs = std::filesystem;

// The settings file and the snapshots: in the user's own folders, never in a Wine prefix; a
// relative XDG folder is not one.
TEST(UserFolders, LieInTheUsersOwnFoldersOutsideTheWinePrefix) {
    ADULTIFY_SKIP_ON_WINDOWS("the XDG folders are Linux's; Windows uses its known folders");
    struct Case {
        test::Environment env;
        std::optional<fs::path> settings, snapshots;
    };
    const fs::path config = "/home/player1/.config/adultify/remembered",
                   data = "/home/player1/.local/share/adultify/snapshots";
    const Case cases[] = {
        {{{"HOME", "/home/player1"}}, config, data},
        {{{"HOME", "/home/player1"},
          {"XDG_CONFIG_HOME", "relative/config"},
          {"XDG_DATA_HOME", "relative/data"}},
         config,
         data},
        {{{"HOME", "/home/player1"},
          {"XDG_CONFIG_HOME", "/srv/config"},
          {"XDG_DATA_HOME", "/srv/data"}},
         fs::path("/srv/config/adultify/remembered"),
         fs::path("/srv/data/adultify/snapshots")},
        {{}, std::nullopt, std::nullopt},
    };
    for (const Case& c : cases) {
        const EnvironmentLookup lookup = test::LookupIn(c.env);
        EXPECT_EQ(RememberedFolderFile(lookup), c.settings);
        EXPECT_EQ(DefaultSnapshotRoot(lookup), c.snapshots);
    }
    const fs::path prefix = "/home/player1/.wine";
    for (const fs::path& folder :
         {prefix / "drive_c" / "Program Files" / "Maxis" / "The Sims", prefix})
        for (const fs::path& kept : {config, data})
            EXPECT_EQ(kept.lexically_relative(folder).begin()->string(), "..") << folder;
}

TEST(RememberedFolder, WrittenWholeAndReadBack) {
    test::TempDir dir;
    const fs::path file = dir.path() / "config" / "adultify" / "remembered";
    EXPECT_TRUE(ReadRememberedFolders(file).empty()) << "nothing chosen yet";

    ASSERT_TRUE(WriteRememberedFolder(file, {"C:\\Игры\\The Sims\\", dir.path() / "префикс"}));
    auto read = ReadRememberedFolders(file);
    ASSERT_EQ(read.size(), 1u);
    EXPECT_EQ(read[0].gameFolder, "C:\\Игры\\The Sims\\");
    EXPECT_EQ(read[0].prefix, dir.path() / "префикс");

    ASSERT_TRUE(WriteRememberedFolder(file, {"/games/The Sims\\", std::nullopt}));
    read = ReadRememberedFolders(file);
    ASSERT_EQ(read.size(), 1u) << "the last choice replaces the one before";
    EXPECT_EQ(read[0].gameFolder, "/games/The Sims\\");
    EXPECT_FALSE(read[0].prefix.has_value());
    EXPECT_EQ(test::ReadBytes(file), ToBytes("/games/The Sims\\\n"));
    EXPECT_FALSE(fs::exists(fs::path(file).concat(".new")));

    test::WriteBytes(file, {});
    EXPECT_TRUE(ReadRememberedFolders(file).empty());
    EXPECT_FALSE(WriteRememberedFolder(file / "under-a-file", {"x\\", std::nullopt}));
}

// A remembered game folder in a prefix is found and read in the prefix's code page; the prefix
// is the nearest folder above it with a registry and a drive C.
TEST(EnclosingPrefix, IsTheNearestFolderWithARegistryAndDriveCAndGivesItsCodePage) {
    ADULTIFY_SKIP_ON_WINDOWS(
        "Wine prefixes and their drive links are read on Linux; Windows has its own drives");
    test::TempDir dir;
    const fs::path game = sample::WritePrefix(dir.path() / "pfx",
                                              {.simsData = "C:\\Игры\\The Sims", .codePage = 1251});
    sample::WriteGameFolder(game, sample::EmptyHoods({2}));
    const fs::path file = dir.path() / "remembered";
    ASSERT_TRUE(WriteRememberedFolder(file, {game.string() + "\\", EnclosingPrefix(game)}));

    SearchPlaces places;
    places.remembered = ReadRememberedFolders(file);
    const std::vector<FoundGame> games = FindGames(places);
    ASSERT_EQ(games.size(), 1u);
    EXPECT_EQ(SourceName(games[0].source), "remembered");
    EXPECT_EQ(games[0].gameFolder, game.string() + "\\");
    EXPECT_EQ(games[0].codePage, 1251);
    EXPECT_EQ(games[0].hoods, std::vector<int>{2});

    EXPECT_EQ(EnclosingPrefix(game), dir.path() / "pfx");
    EXPECT_EQ(EnclosingPrefix(game.string() + "/"), dir.path() / "pfx");
    EXPECT_EQ(EnclosingPrefix(dir.path() / "pfx"), dir.path() / "pfx");
    EXPECT_FALSE(EnclosingPrefix(dir.path()).has_value());
    fs::remove_all(dir.path() / "pfx" / "drive_c");
    EXPECT_FALSE(EnclosingPrefix(dir.path() / "pfx").has_value()) << "a registry alone is not one";
}

} // namespace
} // namespace adultify
