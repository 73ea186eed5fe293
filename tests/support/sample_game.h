#pragma once
// A generated game folder with the program's state pointed at it.

#include "app/form1_events.h"
#include "app/startup.h"
#include "game/neighbourhood_list.h"
#include "sample/game_folder.h"
#include "tests/support/headless_app.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

namespace adultify::test {

class SampleGame {
  public:
    explicit SampleGame(const sample::GameSpec& game, FileSystem* files = nullptr) : app(files) {
        sample::WriteGameFolder(dir.path(), game);
        app.m.SimsPath = dir.asSimsPath();
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
        (void)DispatchEvent(app.m, "Combo1", UiEvent::Click);
    }
    void ClickResident(int line) {
        app.ui.ListSelect("List1", line);
        (void)DispatchEvent(app.m, "List1", UiEvent::Click);
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

// A family of one per resident. With `playersVariants` the files take the variants seen in
// players' files (sample::MixPlayersVariants).
inline sample::HoodSpec SmallHood(std::vector<sample::SimSpec> sims,
                                  std::vector<std::string> families = {},
                                  bool playersVariants = false) {
    sample::HoodSpec hood;
    for (std::size_t i = 0; i < sims.size(); ++i) {
        sample::FamilySpec family;
        family.chunkId = static_cast<int>(i) + 1;
        family.name = i < families.size() ? families[i] : "Family" + std::to_string(i + 1);
        family.members = {sims[i].guid};
        sims[i].familyChunkId = family.chunkId;
        sims[i].fillerBytes = 2000;
        hood.families.push_back(family);
    }
    hood.sims = std::move(sims);
    if (playersVariants) sample::MixPlayersVariants(hood);
    return hood;
}

// The two kinds of file every reading and editing test runs over, for TEST_P suites.
inline std::string FileKindName(const ::testing::TestParamInfo<bool>& info) {
    return info.param ? "PlayersVariants" : "LaterEditions";
}
#define ADULTIFY_OVER_BOTH_FILE_KINDS(suite)                                                       \
    INSTANTIATE_TEST_SUITE_P(FileKinds, suite, ::testing::Bool(), ::adultify::test::FileKindName)

inline sample::SimSpec Sim(const std::string& userFile, const std::string& firstName, int age,
                           std::uint32_t guid, int recordVersion = 10) {
    sample::SimSpec s;
    s.userFile = userFile;
    s.firstName = firstName;
    s.age = age;
    s.guid = guid;
    s.recordVersion = recordVersion;
    return s;
}

} // namespace adultify::test
