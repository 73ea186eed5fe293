// Writes the seed corpora, all made by the sample generator: make_seeds <folder> gives
// <folder>/<target>/ for every fuzz target.
#include "fuzz/fuzz_game.h"
#include "sample/game_folder.h"
#include "sample/home_folder.h"

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

using namespace adultify;
namespace fs = std::filesystem;

namespace {

// Small files keep each run fast; the generator's realistic filler adds no structure.
constexpr std::size_t kFiller = 64;

sample::SimSpec Sim(const std::string& userFile, const std::string& firstName, int age,
                    std::uint32_t guid, int recordVersion) {
    sample::SimSpec s = sample::Sim(userFile, firstName, age, guid, recordVersion);
    s.fillerBytes = kFiller;
    return s;
}

sample::HoodSpec Families(std::vector<sample::SimSpec> sims) {
    sample::HoodSpec hood;
    for (std::size_t i = 0; i < sims.size(); ++i) {
        sample::FamilySpec family;
        family.chunkId = static_cast<int>(i) + 1;
        family.name = "Family" + std::to_string(i + 1);
        family.members = {sims[i].guid};
        sims[i].familyChunkId = family.chunkId;
        hood.families.push_back(family);
    }
    hood.sims = std::move(sims);
    return hood;
}

// Character files in the shapes the reader meets.
std::vector<sample::SimSpec> CharacterShapes() {
    std::vector<sample::SimSpec> shapes;
    auto add = [&](auto change) {
        sample::SimSpec s = Sim("user00001", "Jo", 9, 0x81828384, 10);
        s.staleChunks = 1;
        change(s);
        shapes.push_back(s);
    };
    add([](sample::SimSpec&) {});
    add([](sample::SimSpec& s) { s.age = 27, s.firstName = "Bella"; });
    add([](sample::SimSpec& s) { s.thumbnailLabelledNewimage = false; });
    add([](sample::SimSpec& s) { s.ctssEntries = 1; });
    add([](sample::SimSpec& s) { s.hasThumbnail = false, s.hasFaces = false; });
    add([](sample::SimSpec& s) { s.hasBodyStrings = false; });
    add([](sample::SimSpec& s) { s.bodyStringCount = 30, s.staleChunks = 0; });
    add([](sample::SimSpec& s) { s.bodyStringCount = 34, s.nameLanguages = {2}; });
    add([](sample::SimSpec& s) { s.nameLanguages = {1, 2, 3, 4, 5, 6}; });
    return shapes;
}

void Write(const fs::path& folder, const std::string& name, const Bytes& data) {
    sample::WriteFile(folder / name, data);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_seeds <corpus folder>\n");
        return 2;
    }
    const fs::path root = argv[1];

    std::vector<Bytes> characters;
    for (const sample::SimSpec& s : CharacterShapes())
        characters.push_back(sample::CharacterFile(s));
    for (const char* target : {"character", "adultify", "restore", "thumbnails", "body_strings"})
        for (std::size_t i = 0; i < characters.size(); ++i)
            Write(root / target, "generated-" + std::to_string(i), characters[i]);

    std::vector<sample::HoodSpec> hoods = {
        Families({Sim("user00001", "Bob", 27, 0x81828384, 4),
                  Sim("user00004", "Bella", 27, 0x91929394, 10),
                  Sim("user00007", "Jo", 9, 0xA1A2A3A4, 10)}),
        Families({Sim("User00002", "Ann", 9, 0x11121314, 4)}),
    };
    sample::RandomHoodParams params;
    params.families = 2;
    params.residents = 4;
    params.children = 2;
    params.baseGameRecords = 1;
    params.fillerBytes = kFiller;
    hoods.push_back(sample::RandomHood(params));
    params.playersVariants = true; // NBRS 0x44, FAMI 8, records 4 with person data 7, duplicates
    hoods.push_back(sample::RandomHood(params));
    for (const char* target : {"hood", "resident_view"}) {
        int n = 0;
        for (const sample::HoodSpec& hood : hoods) {
            const Bytes file = sample::NeighbourhoodFile(hood);
            Write(root / target, "generated-" + std::to_string(n++), file);
            for (std::size_t i = 0; i < characters.size(); i += 3)
                Write(root / target, "generated-" + std::to_string(n++),
                      fuzz::JoinHoodInput(file, characters[i]));
        }
    }

    const fs::path reg = root / "wine_registry";
    Write(reg, "win64",
          ToBytes(sample::SystemReg("C:\\Program Files (x86)\\Maxis\\The Sims", true)));
    Write(reg, "win32", ToBytes(sample::SystemReg("D:\\Games\\Sims\\", false)));
    sample::PrefixSpec prefix;
    prefix.simsData = "C:\\Program Files\\Maxis\\The Sims";
    prefix.codePage = 1251;
    prefix.fillerKeys = 2;
    Write(reg, "code-page", ToBytes(sample::PrefixSystemReg(prefix)));

    const fs::path paths = root / "path_mapper";
    int n = 0;
    for (const char* path :
         {"C:\\Program Files\\Maxis\\The Sims\\Sims.exe",
          "c:\\PROGRAM FILES\\maxis\\the sims\\userdata\\characters\\USER00001.iff",
          "C:/Program Files//Maxis\\/The Sims\\UserData2\\Neighborhood.iff", "z:\\Users\\steamuser",
          "Program Files\\Maxis", "C:\\Program Files\\..\\windows"})
        Write(paths, "generated-" + std::to_string(n++), ToBytes(path));

    const fs::path vdf = root / "vdf";
    Write(vdf, "one-library", ToBytes(sample::LibraryFoldersVdf({"/library/one"})));
    Write(vdf, "two-libraries",
          ToBytes(sample::LibraryFoldersVdf({"/library/one", "/library/two"})));
    return 0;
}
