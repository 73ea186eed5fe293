#pragma once
// The residents and neighbourhoods the tests generate their games from.

#include "sample/game_model.h"

#include <string>
#include <vector>

namespace adultify::test {

using sample::Sim;

// A resident of family `family` (its chunk id), as families of several members hold them.
inline sample::SimSpec Resident(const std::string& file, const std::string& name, int age,
                                std::uint32_t guid, int family) {
    sample::SimSpec s = Sim(file, name, age, guid);
    s.familyChunkId = family;
    s.fillerBytes = 2000;
    return s;
}

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

// Children of two families: Bob (adult) and Renée Newbie, Tom and Cass Goth.
inline sample::HoodSpec NewbiesAndGoths() {
    sample::HoodSpec hood;
    hood.sims = {
        Resident("user00001", "Bob", 27, 0x101, 1), Resident("user00002", "Renée", 9, 0x102, 1),
        Resident("user00003", "Tom", 9, 0x103, 2), Resident("user00004", "Cass", 9, 0x104, 2)};
    hood.families = {{"Newbie", 1, {0x101, 0x102}}, {"Goth", 2, {0x103, 0x104}}};
    return hood;
}

// The residents most tests use: Bob, an adult, and Jo, a child, of the Newbie family.
inline sample::SimSpec Bob() {
    return Sim("user00001", "Bob", 27, 0x81828384);
}
inline sample::SimSpec Jo() {
    return Sim("user00004", "Jo", 9, 0x91929394);
}

// Neighbourhood 1 holds Bob (cooking 537) and Jo; 3 holds Ann.
inline sample::GameSpec TwoHoods() {
    sample::SimSpec bob = Bob();
    bob.skills = {537, 0, 0, 0, 0, 0};
    sample::GameSpec game;
    game.hoods.push_back(SmallHood({bob, Jo()}, {"Newbie", "Newbie"}));
    sample::HoodSpec three = SmallHood({Sim("user00007", "Ann", 30, 0xa1a2a3a4)}, {"Other"});
    three.number = 3;
    game.hoods.push_back(three);
    return game;
}

} // namespace adultify::test
