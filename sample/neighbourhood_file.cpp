#include "sample/game_model.h"
#include "sample/iff_builder.h"

#include "sample/text_encoding.h"

namespace adultify::sample {

namespace {

void PutI16(Bytes& out, int v) {
    PutU16(out, static_cast<unsigned>(v) & 0xFFFF);
}

void PutName(Bytes& out, const std::string& name) {
    PutText(out, name);
    out.push_back(0);
    if ((name.size() + 1) % 2 != 0) out.push_back(0); // padded to an even length
}

// Person data value i is the int16 at U + 18 + 2i, in both record versions.
std::vector<int> PersonData(const SimSpec& sim) {
    std::vector<int> v(sim.recordVersion == 4 ? 80 : 256, 0);
    v[2] = sim.personality[0];
    v[3] = sim.personality[1];
    v[5] = sim.personality[2];
    v[6] = sim.personality[3];
    v[7] = sim.personality[4];
    v[10] = sim.skills[0]; // cooking
    v[12] = sim.skills[1]; // mechanical
    v[11] = sim.skills[2]; // charisma
    v[17] = sim.skills[3]; // body
    v[18] = sim.skills[4]; // logic
    v[15] = sim.skills[5]; // creativity
    v[56] = sim.age == 9 ? -1 : sim.career;
    v[57] = sim.careerLevel;
    v[58] = sim.age;
    v[60] = sim.skin;
    v[61] = sim.familyChunkId;
    v[65] = sim.gender;
    return v;
}

void PutRecord(Bytes& out, const SimSpec& sim, int neighbourId) {
    PutU32(out, 1); // slot in use
    PutU32(out, static_cast<std::uint32_t>(sim.recordVersion));
    if (sim.recordVersion == 10) PutU32(out, 9);
    PutName(out, sim.userFile);
    PutU32(out, 0); // current house
    PutU32(out, static_cast<std::uint32_t>(sim.personDataVersion != 0
                                               ? sim.personDataVersion
                                               : (sim.recordVersion == 4 ? 5 : 9)));
    for (int value : PersonData(sim))
        PutI16(out, value);
    PutI16(out, neighbourId);
    PutU32(out, sim.guid);
    PutU32(out, 0xFFFFFFFF);
    PutU32(out, 1); // one relationship
    PutU32(out, 1);
    PutU32(out, static_cast<std::uint32_t>(neighbourId % 7));
    PutU32(out, 2);
    PutU32(out, 10);
    PutU32(out, 25);
}

void PutNonPlayer(Bytes& out, const std::string& name, int neighbourId, std::uint32_t guid) {
    PutU32(out, 1);
    PutU32(out, 10);
    PutU32(out, 9);
    PutName(out, name);
    PutU32(out, 0);
    PutU32(out, 0); // no person data
    PutI16(out, neighbourId);
    PutU32(out, guid);
    PutU32(out, 0xFFFFFFFF);
    PutU32(out, 0);
}

Bytes Head(std::uint32_t version, const char* reversedType) {
    Bytes out;
    PutU32(out, 0);
    PutU32(out, version);
    PutText(out, reversedType);
    return out;
}

// Old copies the game left ahead of the real chunks, live but not in the rsmp.
void PutStaleCopies(std::vector<Chunk>& chunks, const HoodSpec& hood) {
    for (int k = 0; k < 3; ++k) {
        Bytes ngbh = Head(0x44, "HBGN");
        PutU32(ngbh, static_cast<std::uint32_t>(k));
        chunks.push_back({"NGBH", 1, 0x0010, "", ngbh, false});
        chunks.push_back(
            {"FAMs", static_cast<std::uint16_t>(k + 1), 0x0010, "",
             StringTable({{1, EncodeText("Old" + std::to_string(k), hood.codePage), ""}}), false});
        Bytes famh = Head(1, "hMAF");
        PutU32(famh, static_cast<std::uint32_t>(k));
        chunks.push_back({"FAMh", static_cast<std::uint16_t>(k + 1), 0x0010, "", famh, false});
        Bytes tatt = Head(1, "TTAT");
        PutU32(tatt, static_cast<std::uint32_t>(k));
        chunks.push_back({"TATT", 1, 0x0010, "", tatt, false});
    }
}

} // namespace

Bytes NeighbourhoodFile(const HoodSpec& hood) {
    if (hood.rawFile) return *hood.rawFile;
    std::vector<Chunk> chunks;
    if (hood.unlistedDuplicates) PutStaleCopies(chunks, hood);

    Bytes ngbh = Head(static_cast<std::uint32_t>(hood.nbrsVersion), "HBGN");
    PutU32(ngbh, 0);
    PutU32(ngbh, static_cast<std::uint32_t>(hood.families.size()));
    chunks.push_back({"NGBH", 1, 0x0010, "", ngbh});

    Bytes nbrs = Head(static_cast<std::uint32_t>(hood.nbrsVersion), "SRBN");
    const int slots =
        static_cast<int>(hood.sims.size()) + hood.emptySlots + (hood.nonPlayerRecords ? 2 : 0);
    PutU32(nbrs, static_cast<std::uint32_t>(slots));
    int id = 1;
    for (int k = 0; k < hood.emptySlots; ++k)
        PutU32(nbrs, 0);
    if (hood.nonPlayerRecords) {
        PutNonPlayer(nbrs, "maid", id++, 0x0C4A1B22);
        PutNonPlayer(nbrs, "grimreaper", id++, 0x0C4A1B30);
    }
    for (const SimSpec& sim : hood.sims)
        PutRecord(nbrs, sim, id++);
    chunks.push_back({"NBRS", 1, 0x0010, "", nbrs});

    for (const FamilySpec& family : hood.families) {
        if (family.hasFami) {
            Bytes fami = Head(static_cast<std::uint32_t>(hood.famiVersion), "IMAF");
            PutU32(fami, static_cast<std::uint32_t>(family.chunkId)); // house number
            PutU32(fami, static_cast<std::uint32_t>(family.chunkId)); // creation order
            PutU32(fami, static_cast<std::uint32_t>(family.funds));
            PutU32(fami, 0);
            PutU32(fami, 0);
            PutU32(fami, 0);
            PutU32(fami, static_cast<std::uint32_t>(family.members.size()));
            for (std::uint32_t guid : family.members)
                PutU32(fami, guid);
            if (hood.famiVersion >= 9) fami.insert(fami.end(), 16, 0);
            chunks.push_back(
                {"FAMI", static_cast<std::uint16_t>(family.chunkId), 0x0010, "", fami});
        }
        chunks.push_back({"FAMs", static_cast<std::uint16_t>(family.chunkId), 0x0010, "",
                          StringTable({{1, EncodeText(family.name, hood.codePage), ""}})});
        if (family.chunkId % 3 == 0 || hood.unlistedDuplicates) {
            Bytes famh = Head(1, "hMAF");
            PutU32(famh, 0);
            chunks.push_back(
                {"FAMh", static_cast<std::uint16_t>(family.chunkId), 0x0010, "", famh});
            if (hood.unlistedDuplicates) // a second one of the same ID
                chunks.push_back(
                    {"FAMh", static_cast<std::uint16_t>(family.chunkId), 0x0010, "", famh, false});
        }
    }
    Bytes tatt = Head(1, "TTAT");
    PutU32(tatt, 0);
    chunks.push_back({"TATT", 1, 0x0010, "", tatt});
    return BuildIff(chunks);
}

} // namespace adultify::sample
