#pragma once
// Two neighbourhoods with children of three families, and adultify-cli run on them in-process.

#include "app/cli/cli_front_end.h"
#include "sample/game_folder.h"
#include "tests/support/prefix_registry.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <map>
#include <sstream>

namespace adultify::test {

namespace fs = std::filesystem;

struct Result {
    int code;
    std::string out, err;
};

inline sample::SimSpec Resident(const std::string& file, const std::string& name, int age,
                                std::uint32_t guid, int family) {
    sample::SimSpec s;
    s.userFile = file;
    s.firstName = name;
    s.age = age;
    s.guid = guid;
    s.familyChunkId = family;
    s.fillerBytes = 2000;
    return s;
}

// Neighbourhood 1: an adult and a child of the Newbies, two Goth children; neighbourhood 2: a
// Pleasant adult and child.
inline sample::GameSpec Game() {
    sample::HoodSpec one;
    one.sims = {
        Resident("user00001", "Bob", 27, 0x101, 1), Resident("user00002", "Renée", 9, 0x102, 1),
        Resident("user00003", "Tom", 9, 0x103, 2), Resident("user00004", "Cass", 9, 0x104, 2)};
    one.families = {{"Newbie", 1, {0x101, 0x102}}, {"Goth", 2, {0x103, 0x104}}};
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
        std::ostringstream out, err;
        const std::map<std::string, std::string> env = {
            {"HOME", "/nonexistent-home"},
            {"XDG_DATA_HOME", data.str()},
            {"XDG_CONFIG_HOME", (data.path() / "config").string()}};
        const EnvironmentLookup lookup = [&env](const char* name) -> const char* {
            auto it = env.find(name);
            return it == env.end() ? nullptr : it->second.c_str();
        };
        const int code = RunCli(args, out, err, lookup, test::PrefixRegistry);
        return {code, out.str(), err.str()};
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
