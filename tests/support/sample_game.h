#pragma once
// A generated game folder with the program's state pointed at it.

#include "app/form1_events.h"
#include "app/startup.h"
#include "game/neighbourhood_list.h"
#include "sample/game_folder.h"
#include "tests/support/headless_app.h"
#include "tests/support/residents.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

namespace adultify::test {

class SampleGame {
  public:
    explicit SampleGame(const sample::GameSpec& game, FileSystem* files = nullptr) : app(files) {
        sample::WriteGameFolder(dir.path(), game);
        app.m.game.SimsPath = dir.asSimsPath();
        FillCareerNames(app.m);
        FillNeighbourhoodList(app.m);
    }
    static sample::GameSpec OneHood(sample::HoodSpec hood) {
        sample::GameSpec game;
        game.hoods.push_back(std::move(hood));
        return game;
    }

    // Picks Combo1's entry as a user does: its residents are read.
    void ChooseHood(int index = 0) {
        app.ui.ListSelect("Combo1", index);
        (void)DispatchEvent(app.run(), "Combo1", UiEvent::Click);
    }
    void ClickResident(int line) {
        app.ui.ListSelect("List1", line);
        (void)DispatchEvent(app.run(), "List1", UiEvent::Click);
    }
    std::filesystem::path HoodFolder(int n = 1) const {
        return dir.path() / (n == 1 ? std::string("UserData") : "UserData" + std::to_string(n));
    }
    std::filesystem::path CharacterPath(const sample::SimSpec& sim, int hood = 1) const {
        return HoodFolder(hood) / "Characters" / sample::CharacterFileName(sim);
    }

    TempDir dir;
    HeadlessApp app;
};

// The two kinds of file every reading and editing test runs over, for TEST_P suites.
inline std::string FileKindName(const ::testing::TestParamInfo<bool>& info) {
    return info.param ? "PlayersVariants" : "LaterEditions";
}
#define ADULTIFY_OVER_BOTH_FILE_KINDS(suite)                                                       \
    INSTANTIATE_TEST_SUITE_P(FileKinds, suite, ::testing::Bool(), ::adultify::test::FileKindName)

} // namespace adultify::test
