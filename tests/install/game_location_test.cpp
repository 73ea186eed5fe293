#include "files/native_file_system.h"
#include "install/game_location.h"
#include "install/wine_prefix.h"
#include "install/wine_registry.h"
#include "sample/game_folder.h"
#include "tests/support/environment.h"
#include "tests/support/skip_on_windows.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <map>

namespace adultify {
namespace {

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

TEST(GameLocation, AGeneratedPrefixLeadsToTheGameFolderOnDisk) {
    ADULTIFY_SKIP_ON_WINDOWS(
        "Wine prefixes and their drive links are read on Linux; Windows has its own drives");
    test::TempDir dir;
    const auto gameFolder =
        sample::WriteWinePrefix(dir.path(), "C:\\Program Files (x86)\\Maxis\\The Sims");
    sample::GameSpec game;
    game.exeName = "SIMS.EXE";
    game.hoods.push_back(sample::HoodSpec{});
    sample::WriteGameFolder(gameFolder, game);

    WineRegistry reg = WineRegistry::FromPrefix(dir.path());
    const std::string simsPath = GetSimsPath(reg);
    NativeFileSystem fs(WindowsPathMapper(dir.path() / "dosdevices"));
    EXPECT_TRUE(fs.CanOpenForReading(simsPath + "Sims.exe"));
    EXPECT_TRUE(fs.CanOpenForReading(simsPath + "USERDATA\\neighborhood.IFF"));
}

} // namespace
} // namespace adultify
