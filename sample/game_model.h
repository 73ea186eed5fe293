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
    int recordVersion = 10; // 4 (base game) or 10 (later editions)
    int age = 27;           // 9 child, 27 adult
    int gender = 0;         // 0 male, 1 female
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
    int ctssEntries = 2;             // 1 gives the count-byte quirk of the name reader
    int bodyStringCount = 35;        // 30 in the base game
    std::size_t fillerBytes = 60000; // behaviour trees and the like, for a realistic size
    int staleChunks = 2;             // XXXX leftovers: stale body strings and CTSS copies
};

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
};

struct GameSpec {
    std::vector<HoodSpec> hoods;
    std::string exeName = "Sims.exe";
};

// Realistic random neighbourhoods.
struct RandomHoodParams {
    int number = 1;
    int families = 4;
    int residents = 12;
    int children = 4;        // how many of the residents are children
    int baseGameRecords = 0; // how many records use the base game's version 4
    std::size_t fillerBytes = 60000;
    std::uint32_t seed = 1;
};

[[nodiscard]] HoodSpec RandomHood(const RandomHoodParams& params);

[[nodiscard]] Bytes NeighbourhoodFile(const HoodSpec& hood);
[[nodiscard]] Bytes CharacterFile(const SimSpec& sim, int codePage = 1252);
[[nodiscard]] std::string CharacterFileName(const SimSpec& sim);
// The values of the character file's body-string table (STR# 200), in order.
[[nodiscard]] std::vector<std::string> BodyStringValues(const SimSpec& sim);

} // namespace adultify::sample
