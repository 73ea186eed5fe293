#pragma once
// What a generated game holds, before it is turned into files.

#include "iff/byte_string.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace adultify::sample {

struct SimSpec {
    std::string userFile = "user00000"; // as the neighbourhood spells it
    std::string firstName = "Bob";
    std::string biography = "A resident of the neighbourhood.";
    int recordVersion = 10;    // 4 (base game) or 10 (later editions)
    int personDataVersion = 0; // 0: 5 with record version 4, 9 with 10; 7 occurs with 4 too
    int age = 27;              // 9 child, 27 adult
    int gender = 0;            // 0 male, 1 female
    int career = 0;
    int careerLevel = 0;
    int skin = 1;                                            // 1 light, 2 dark, 3 medium
    std::array<int, 5> personality{500, 500, 500, 500, 500}; // nice active playful outgoing neat
    std::array<int, 6> skills{}; // cooking mechanical charisma body logic creativity
    std::uint32_t guid = 0x10000001;
    int familyChunkId = 0;

    // The character file.
    bool hasCharacterFile = true;
    std::optional<std::string> characterFileName; // default: capital U, as the game writes
    bool thumbnailLabelledNewimage = true;        // "newimage" after Create-a-Sim, else "thumbnail"
    bool hasThumbnail = true;
    bool hasFaces = true;
    bool hasBodyStrings = true;
    int ctssEntries = 2; // first name, biography; 1 for a name alone
    // The name table's languages, each with the first name and the biography, grouped as the
    // game writes them. Create-a-Sim writes only the game's own (2 in a UK-English game); the
    // game's own sims carry 1 and translations, marked here by the code after the name.
    std::vector<std::uint8_t> nameLanguages{1};
    int bodyStringCount = 35;        // 30 in the base game
    std::size_t fillerBytes = 60000; // behaviour trees and the like, for a realistic size
    int staleChunks = 2;             // XXXX leftovers: stale body strings and CTSS copies
};

// A resident by the fields the tests and the fuzzers' seeds vary.
inline SimSpec Sim(const std::string& userFile, const std::string& firstName, int age,
                   std::uint32_t guid, int recordVersion = 10) {
    SimSpec s;
    s.userFile = userFile;
    s.firstName = firstName;
    s.age = age;
    s.guid = guid;
    s.recordVersion = recordVersion;
    return s;
}

struct FamilySpec {
    std::string name = "Newbie";
    int chunkId = 1;
    std::vector<std::uint32_t> members; // GUIDs
    bool hasFami = true;
    int funds = 20000;
};

struct HoodSpec {
    int number = 1; // 1 -> UserData, n -> UserDataN
    std::vector<SimSpec> sims;
    std::vector<FamilySpec> families;
    int emptySlots = 2;
    bool nonPlayerRecords = true; // maid, grimreaper ...
    std::optional<Bytes> rawFile; // written instead of a generated Neighborhood.iff
    int codePage = 1252;          // of the family and first names, in every file
    int nbrsVersion = 0x49;       // 0x3E in the base game, 0x44 with early expansions
    int famiVersion = 9;          // 7 in the base game, 8 with early expansions
    // Live chunks the rsmp does not list, as the game leaves them: old NGBH, FAMs, FAMh and
    // TATT chunks ahead of the real ones and a second FAMh.
    bool unlistedDuplicates = false;
};

struct GameSpec {
    std::vector<HoodSpec> hoods;
    std::string exeName = "Sims.exe";
};

// A neighbourhood of one family, `family`, holding every resident given.
inline HoodSpec OneFamily(const std::string& family, std::vector<SimSpec> sims) {
    HoodSpec hood;
    FamilySpec f{family, 1, {}};
    for (SimSpec& s : sims) {
        s.familyChunkId = f.chunkId;
        f.members.push_back(s.guid);
    }
    hood.sims = std::move(sims);
    hood.families = {f};
    return hood;
}

// Realistic random neighbourhoods.
struct RandomHoodParams {
    int number = 1;
    int families = 4;
    int residents = 12;
    int children = 4;        // how many of the residents are children
    int baseGameRecords = 0; // how many records use the base game's version 4
    std::size_t fillerBytes = 60000;
    std::uint32_t seed = 1;
    bool playersVariants = false; // MixPlayersVariants
};

[[nodiscard]] HoodSpec RandomHood(const RandomHoodParams& params);

// `residents` in the proportions of players' neighbourhoods: families of about four, a fifth
// of them children, a tenth in the base game's records, character files of about 110 KB.
[[nodiscard]] RandomHoodParams PlayersProportions(int residents, std::uint32_t seed);
// A neighbourhood of a real player's size: 216 residents in 55 families, 40 of them children.
[[nodiscard]] RandomHoodParams RealSizeHood(std::uint32_t seed);

// Gives a neighbourhood the variants seen in players' files, mixed over its residents: NBRS
// 0x44, FAMI 8 and unlisted duplicates; records of version 4 (80 values) with person data 7,
// body-string tables of 34, 30 and 35 entries, name tables in languages 1 to 6 and with
// several languages. The first resident has every variant a record can have.
void MixPlayersVariants(HoodSpec& hood);

// A game as a player of that language has it: Create-a-Sim's sims with their names in the
// game's language code and code page, the game's own sims with translations. "uk", "de",
// "fr" (Windows-1252) and "ja" (932); throws for any other.
[[nodiscard]] HoodSpec LocalisedHood(const std::string& language, int number = 1);

[[nodiscard]] Bytes NeighbourhoodFile(const HoodSpec& hood);
[[nodiscard]] Bytes CharacterFile(const SimSpec& sim, int codePage = 1252);
[[nodiscard]] std::string CharacterFileName(const SimSpec& sim);
// The values of the character file's body-string table (STR# 200), in order.
[[nodiscard]] std::vector<std::string> BodyStringValues(const SimSpec& sim);

} // namespace adultify::sample
