#include "sample/game_model.h"

#include <algorithm>
#include <map>
#include <random>
#include <stdexcept>

namespace adultify::sample {

namespace {

const char* const kFirstNames[] = {"Bob",  "Betty", "Mortimer", "Bella",   "Cassandra", "Alexander",
                                   "Jeff", "Ginny", "Pete",     "Bonnie",  "Daniel",    "Chloë",
                                   "Lucy", "Karen", "Brandi",   "Dudley",  "Ajay",      "Renée",
                                   "Skip", "Hank",  "Mona",     "Ophelia", "Jo",        "Zoë"};
const char* const kFamilyNames[] = {"Newbie",   "Goth",  "Pleasant", "Roomies",
                                    "Bachelor", "Burb",  "Caliente", "Pleasant",
                                    "Smith",    "Oldie", "Monty",    "Capp"};

// GUIDs that hold no ASCII letter, so that no stray "user" can appear in the file.
std::uint32_t Guid(std::mt19937& rng) {
    for (;;) {
        const std::uint32_t g = rng();
        bool clean = true;
        for (int k = 0; k < 4; ++k) {
            const auto b = static_cast<std::uint8_t>((g >> (8 * k)) & 0xFF);
            if ((b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z') || b == 0) clean = false;
        }
        if (clean) return g;
    }
}

// Personality points: 25 points shared over five traits, 0 to 10 each.
std::array<int, 5> Personality(std::mt19937& rng) {
    std::array<int, 5> points{};
    for (int left = 25; left > 0;) {
        const auto k = static_cast<std::size_t>(rng() % 5);
        if (points[k] < 10) {
            ++points[k];
            --left;
        }
    }
    for (int& p : points)
        p *= 100;
    return points;
}

} // namespace

RandomHoodParams PlayersProportions(int residents, std::uint32_t seed) {
    RandomHoodParams p;
    p.residents = residents;
    p.families = residents / 4 + 1;
    p.children = residents / 5;
    p.baseGameRecords = residents / 10;
    p.fillerBytes = 90000;
    p.seed = seed;
    return p;
}

RandomHoodParams RealSizeHood(std::uint32_t seed) {
    RandomHoodParams p = PlayersProportions(216, seed);
    p.families = 55;
    p.children = 40;
    p.baseGameRecords = 20;
    return p;
}

HoodSpec RandomHood(const RandomHoodParams& params) {
    std::mt19937 rng(params.seed);
    HoodSpec hood;
    hood.number = params.number;
    const int families = std::max(1, params.families);
    for (int f = 0; f < families; ++f) {
        FamilySpec family;
        family.chunkId = f + 1;
        family.name =
            std::string(kFamilyNames[static_cast<std::size_t>(f) % std::size(kFamilyNames)]);
        if (f >= static_cast<int>(std::size(kFamilyNames))) family.name += std::to_string(f);
        family.funds = static_cast<int>(rng() % 50000);
        hood.families.push_back(family);
    }
    for (int r = 0; r < params.residents; ++r) {
        SimSpec sim;
        char name[16];
        std::snprintf(name, sizeof name, "user%05d", r * 3 + 1); // numbering has gaps
        sim.userFile = name;
        sim.firstName = kFirstNames[rng() % std::size(kFirstNames)];
        sim.recordVersion = r < params.baseGameRecords ? 4 : 10;
        // Children spread over the list, so that both kinds are found near its end.
        sim.age =
            (params.children > 0 && r % std::max(1, params.residents / params.children) == 0 &&
             r / std::max(1, params.residents / params.children) < params.children)
                ? 9
                : 27;
        sim.gender = static_cast<int>(rng() % 2);
        sim.skin = 1 + static_cast<int>(rng() % 3);
        sim.personality = Personality(rng);
        for (int& s : sim.skills)
            s = sim.age == 9 ? static_cast<int>(rng() % 300) : static_cast<int>(rng() % 1001);
        sim.career = sim.age == 9 ? 0 : static_cast<int>(rng() % 11);
        sim.careerLevel = sim.career == 0 ? 0 : 1 + static_cast<int>(rng() % 10);
        sim.guid = Guid(rng);
        sim.thumbnailLabelledNewimage = rng() % 12 != 0; // the game's own sims say "thumbnail"
        sim.fillerBytes = params.fillerBytes;
        sim.staleChunks = 1 + static_cast<int>(rng() % 4);
        FamilySpec& family = hood.families[static_cast<std::size_t>(r % families)];
        sim.familyChunkId = family.chunkId;
        family.members.push_back(sim.guid);
        hood.sims.push_back(sim);
    }
    if (params.playersVariants) MixPlayersVariants(hood);
    return hood;
}

void MixPlayersVariants(HoodSpec& hood) {
    hood.nbrsVersion = 0x44;
    hood.famiVersion = 8;
    hood.unlistedDuplicates = true;
    const std::vector<std::vector<std::uint8_t>> languages = {
        {2}, {1, 2, 3, 4, 5, 6}, {3}, {4}, {5}, {6}, {1}, {6, 5}};
    constexpr int kBodyStringCounts[] = {34, 30, 35};
    for (std::size_t k = 0; k < hood.sims.size(); ++k) {
        SimSpec& sim = hood.sims[k];
        if (k % 2 == 0) {
            sim.recordVersion = 4;
            sim.personDataVersion = 7;
        }
        sim.bodyStringCount = kBodyStringCounts[k % std::size(kBodyStringCounts)];
        sim.nameLanguages = languages[k % languages.size()];
    }
}

HoodSpec LocalisedHood(const std::string& language, int number) {
    struct Names {
        std::uint8_t code;
        int codePage;
        std::vector<const char*> first, family;
    };
    // UK English writes 2; the codes given the other languages here are this sample's own.
    static const std::map<std::string, Names> kLanguages = {
        {"uk", {2, 1252, {"Gareth", "Siobhan", "Nigel", "Fiona"}, {"Smith", "O'Brien"}}},
        {"de", {4, 1252, {"Jürgen", "Ännchen", "Björn", "Grete"}, {"Müller", "Weiß"}}},
        {"fr", {3, 1252, {"Hélène", "François", "Zoë", "Maël"}, {"Lefèvre", "Garçon"}}},
        {"ja", {6, 932, {"太郎", "花子", "健一", "さくら"}, {"山田", "佐藤"}}},
    };
    static const char* const kOwnSims[] = {"Bob", "Betty", "Mortimer"};
    const auto it = kLanguages.find(language);
    if (it == kLanguages.end()) throw std::invalid_argument("no such language: " + language);
    const Names& names = it->second;
    RandomHoodParams params;
    params.number = number;
    params.families = 3;
    params.residents = 9;
    params.children = 3;
    params.baseGameRecords = 3;
    params.fillerBytes = 4000;
    HoodSpec hood = RandomHood(params);
    hood.codePage = names.codePage;
    for (std::size_t f = 0; f < hood.families.size(); ++f)
        hood.families[f].name = f == 0 ? "Newbie" : names.family[(f - 1) % names.family.size()];
    for (std::size_t k = 0; k < hood.sims.size(); ++k) {
        SimSpec& sim = hood.sims[k];
        const bool gamesOwn = sim.familyChunkId == 1; // the Newbies came with the game
        sim.nameLanguages = gamesOwn ? std::vector<std::uint8_t>{1, 2, 3, 4, 5, 6}
                                     : std::vector<std::uint8_t>{names.code};
        sim.firstName = gamesOwn ? kOwnSims[k / hood.families.size() % std::size(kOwnSims)]
                                 : names.first[k % names.first.size()];
        sim.biography = "";
    }
    return hood;
}

} // namespace adultify::sample
