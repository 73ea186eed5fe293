#pragma once
// Two neighbourhoods with children of three families, and adultify-cli run on them in-process.

#include "sample/game_folder.h"
#include "tests/support/cli_run.h"
#include "tests/support/residents.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <map>
#include <sstream>

namespace adultify::test {

namespace fs = std::filesystem;

// Neighbourhood 1: an adult and a child of the Newbies, two Goth children; neighbourhood 2: a
// Pleasant adult and child.
inline sample::GameSpec Game() {
    const sample::HoodSpec one = test::NewbiesAndGoths();
    sample::HoodSpec two;
    two.number = 2;
    two.sims = {Resident("user00001", "A\"n\\n", 27, 0x201, 1),
                Resident("user00002", "Lily", 9, 0x202, 1)};
    two.families = {{"Pleasant", 1, {0x201, 0x202}}};
    sample::GameSpec game;
    game.hoods = {one, two};
    return game;
}

class ChildrenGame : public ::testing::Test {
  protected:
    ChildrenGame() { sample::WriteGameFolder(dir.path(), Game()); }

    Result Run(std::vector<std::string> args, const test::TempDir& game) {
        args.insert(args.begin(), {"--game", game.str()});
        return RunCliIn(args, {{"HOME", "/nonexistent-home"},
                               {"XDG_DATA_HOME", data.str()},
                               {"XDG_CONFIG_HOME", (data.path() / "config").string()}});
    }
    Result Run(std::vector<std::string> args) { return Run(std::move(args), dir); }
    fs::path Character(const std::string& name, int hood = 1) const {
        return dir.path() / (hood == 1 ? "UserData" : "UserData" + std::to_string(hood)) /
               "Characters" / name;
    }

    test::TempDir dir;
    test::TempDir data;
};

} // namespace adultify::test
