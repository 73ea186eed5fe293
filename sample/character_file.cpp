#include "sample/bitmap.h"
#include "sample/game_model.h"
#include "sample/iff_builder.h"

#include "sample/text_encoding.h"

#include <random>

namespace adultify::sample {

namespace {

Colour SkinColour(int skin) {
    switch (skin) {
    case 2: return {110, 70, 45};
    case 3: return {190, 140, 100};
    default: return {240, 200, 170};
    }
}

const char* SkinWord(int skin) {
    return skin == 2 ? "drk" : skin == 3 ? "med" : "lgt";
}

std::vector<StringEntry> BodyStrings(const SimSpec& sim) {
    std::vector<StringEntry> entries;
    for (const std::string& s : BodyStringValues(sim))
        entries.push_back({1, s, ""});
    return entries;
}

// The game's texts are in the system's code page.
std::vector<StringEntry> NameTable(const SimSpec& sim, int codePage) {
    std::vector<StringEntry> entries;
    for (std::uint8_t language : sim.nameLanguages) {
        const std::string name =
            entries.empty() ? sim.firstName : sim.firstName + " " + std::to_string(language);
        entries.push_back({language, EncodeText(name, codePage), ""});
        entries.push_back({language, EncodeText(sim.biography, codePage), ""});
    }
    if (sim.nameLanguages.size() <= 1)
        entries.resize(
            static_cast<std::size_t>(sim.ctssEntries),
            StringEntry{sim.nameLanguages.empty() ? std::uint8_t{1} : sim.nameLanguages[0], "",
                        ""});
    return entries;
}

Bytes Objd(const SimSpec& sim) {
    Bytes d(216, 0);
    d[0] = 0x8A; // version
    for (std::size_t k = 0; k < 4; ++k)
        d[28 + k] = static_cast<std::uint8_t>((sim.guid >> (8 * k)) & 0xFF);
    return d;
}

// Behaviour code and the like: small numbers only, so it cannot spell a chunk tag.
Bytes Filler(std::size_t size, std::uint32_t seed) {
    std::mt19937 rng(seed);
    Bytes d(size);
    for (auto& b : d)
        b = static_cast<std::uint8_t>(rng() & 0x3F);
    return d;
}

} // namespace

std::vector<std::string> BodyStringValues(const SimSpec& sim) {
    const bool child = sim.age == 9;
    const std::string sex = sim.gender == 1 ? "f" : "m";
    const std::string tone = SkinWord(sim.skin);
    const std::string ageLetter = child ? "c" : "a";
    std::vector<std::string> v(35);
    v[0] = child ? "child" : "adult";
    v[1] = "b002" + sex + ageLetter + "chd_01,BODY=b002" + sex + ageLetter + "chd" + tone + "_slob";
    v[2] = "c003" + sex + ageLetter + "_01,HEAD-HEAD=c003" + sex + ageLetter + "_" + tone + "_01";
    v[3] = "HEAD";
    v[4] = "Top";
    v[5] = "R_HAND";
    v[6] = "Palm";
    v[12] = sim.gender == 1 ? "female" : "male";
    v[13] = child ? "9" : "27";
    v[14] = tone;
    v[15] = "n" + sex + ageLetter + "_01,BODY=n" + sex + ageLetter + tone;
    v[16] = "s" + sex + ageLetter + "_01,BODY=s" + sex + ageLetter + tone;
    for (std::size_t k = 17; k <= 22; ++k) {
        v[k] = "Hu";
        v[k] += k % 2 ? "LO" : "RO";
        v[k] += ",HAND=hu" + ageLetter;
        v[k] += "o" + tone;
    }
    v[27] = "f" + sex + ageLetter + "_01,BODY=f" + sex + ageLetter + tone;
    v[28] = "gloves_l";
    v[29] = "gloves_r";
    const std::string sexAge = sex + ageLetter;
    for (std::size_t k = 30; k < 35; ++k) {
        std::string entry(1, 'x'); // not "x" + ...: GCC 12 at -O3 warns of an overlapping copy
        entry += std::to_string(k);
        entry += sexAge;
        v[k] = std::move(entry);
    }
    v.resize(static_cast<std::size_t>(sim.bodyStringCount));
    return v;
}

std::string CharacterFileName(const SimSpec& sim) {
    if (sim.characterFileName) return *sim.characterFileName;
    std::string name = sim.userFile;
    if (!name.empty()) name[0] = 'U';
    return name + ".iff";
}

Bytes CharacterFile(const SimSpec& sim, int codePage) {
    const Colour skin = SkinColour(sim.skin);
    const Colour hair{static_cast<std::uint8_t>(60 + (sim.guid % 120)), 40, 20};
    std::vector<Chunk> chunks;
    chunks.push_back({"OBJD", 128, 0x0010,
                      sim.userFile + " - " + EncodeText(sim.firstName, codePage), Objd(sim)});
    chunks.push_back({"GLOB",
                      128,
                      0x0010,
                      "",
                      {'P', 'e', 'r', 's', 'o', 'n', 'G', 'l', 'o', 'b', 'a', 'l', 's', 0}});
    chunks.push_back({"SLOT", 128, 0x0010, "", Filler(96, sim.guid)});
    const std::size_t each = sim.fillerBytes / 3;
    chunks.push_back({"BHAV", 4096, 0x0010, "main", Filler(each, sim.guid + 1)});
    chunks.push_back({"TPRP", 4096, 0x0010, "main", Filler(each, sim.guid + 2)});
    chunks.push_back(
        {"TREE", 4096, 0x0010, "main", Filler(sim.fillerBytes - 2 * each, sim.guid + 3)});
    chunks.push_back({"STR#", 256, 0x0010, "person attributes",
                      StringTable({{1, "Nice", ""}, {1, "Active", ""}})});
    chunks.push_back(
        {"STR#", 304, 0x0010, "suit names", StringTable({{1, "formal", ""}, {1, "swimwear", ""}})});
    chunks.push_back({"STR#", 258, 0x0000, "", StringTable({{1, "", ""}})});
    chunks.push_back({"STR#", 257, 0x0000, "", StringTable({{1, "", ""}})});
    chunks.push_back({"STR#", 300, 0x0000, "", StringTable({{1, "", ""}})});

    const std::vector<StringEntry> ctss = NameTable(sim, codePage);
    for (int k = 0; k < sim.staleChunks; ++k) {
        if (k % 2 == 0)
            chunks.push_back(
                {"XXXX", 200, 0x0010, "bodystring", StringTable(BodyStrings(sim), 0x00)});
        else
            chunks.push_back({"XXXX", 2000, 0x0010, "", StringTable(ctss)});
    }
    chunks.push_back({"CTSS", 2000, 0x0010, "", StringTable(ctss)});
    if (sim.hasBodyStrings)
        chunks.push_back({"STR#", 200, 0x0010, "bodystring", StringTable(BodyStrings(sim), 0xA3)});

    chunks.push_back(
        {"BMP_", 2003, 0x0010, "rel. images", Bitmap24(16, 16, [&](int, int) { return skin; })});
    if (sim.hasFaces) chunks.push_back({"BMP_", 2002, 0x0010, "faces", FacesBitmap(skin, hair)});
    chunks.push_back({"BMP_", 2005, 0x0010, "", Bitmap24(8, 8, [&](int, int) { return hair; })});
    chunks.push_back({"BMP_", 2006, 0x0010, "", Bitmap24(8, 8, [&](int, int) { return hair; })});
    if (sim.hasThumbnail)
        chunks.push_back({"BMP_", 2004, 0x0010,
                          sim.thumbnailLabelledNewimage ? "newimage" : "thumbnail",
                          ThumbnailBitmap(skin, hair)});
    chunks.push_back({"BMP_", 2007, 0x0010, "web_image",
                      Bitmap24(32, 32, [&](int x, int y) { return (x + y) % 2 ? skin : hair; })});
    return BuildIff(chunks);
}

} // namespace adultify::sample
