#include "game/remembered_folder.h"

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

TEST(RememberedFolder, LivesInTheUsersSettingsFolder) {
    ADULTIFY_SKIP_ON_WINDOWS("the XDG folders are Linux's; Windows uses its known folders");
    test::Environment env = {{"HOME", "/srv/player"}};
    const EnvironmentLookup lookup = test::LookupIn(env);
    EXPECT_EQ(RememberedFolderFile(lookup), fs::path("/srv/player/.config/adultify/remembered"));
    env["XDG_CONFIG_HOME"] = "relative/config";
    EXPECT_EQ(RememberedFolderFile(lookup), fs::path("/srv/player/.config/adultify/remembered"));
    env["XDG_CONFIG_HOME"] = "/srv/config";
    EXPECT_EQ(RememberedFolderFile(lookup), fs::path("/srv/config/adultify/remembered"));
    env.clear();
    EXPECT_FALSE(RememberedFolderFile(lookup).has_value());
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

TEST(EnclosingPrefix, TheNearestFolderWithARegistryAndDriveC) {
    ADULTIFY_SKIP_ON_WINDOWS(
        "Wine prefixes and their drive links are read on Linux; Windows has its own drives");
    test::TempDir dir;
    const fs::path game = sample::WritePrefix(dir.path() / "pfx",
                                              {.simsData = "C:\\Игры\\The Sims", .codePage = 1251});
    fs::create_directories(game);
    EXPECT_EQ(EnclosingPrefix(game), dir.path() / "pfx");
    EXPECT_EQ(EnclosingPrefix(game.string() + "/"), dir.path() / "pfx");
    EXPECT_EQ(EnclosingPrefix(dir.path() / "pfx"), dir.path() / "pfx");
    EXPECT_FALSE(EnclosingPrefix(dir.path()).has_value());
    fs::remove_all(dir.path() / "pfx" / "drive_c");
    EXPECT_FALSE(EnclosingPrefix(dir.path() / "pfx").has_value()) << "a registry alone is not one";
}

TEST(EnclosingPrefix, ARememberedFolderInAPrefixIsReadInItsCodePage) {
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
}

} // namespace
} // namespace adultify
