// adultify-sample: writes a synthetic game folder, optionally inside a Wine prefix, or a whole
// home folder with the game installed in every place the program looks.
#include "sample/game_folder.h"
#include "sample/home_folder.h"

#include <cstdlib>
#include <cstring>
#include <iostream>
#include <optional>
#include <string>

using namespace adultify::sample;

namespace {

// On standard output with exit 0 when asked for (--help), else on standard error with 1.
int Usage(std::ostream& to = std::cerr) {
    to << "usage: adultify-sample DIR [--wine] [--hoods N] [--residents N] [--families N]\n"
          "                       [--children N] [--seed S] [--filler BYTES] [--variants]\n"
          "                       [--language uk|de|fr|ja]\n"
          "       adultify-sample --home DIR\n"
          "Writes a game folder at DIR, or with --wine a Wine prefix at DIR whose registry\n"
          "names the game folder it holds; prints the game folder's path.\n"
          "--variants gives the files the variants seen in players' files (NBRS 0x44,\n"
          "FAMI 8, old records, 34 body strings, name tables in languages 1 to 6,\n"
          "duplicate chunks); --language writes a game of that language instead, its\n"
          "names in its code page (932 for ja).\n"
          "With --home: a home folder under DIR with the game under Steam's Proton (the\n"
          "re-release), in a Bottles bottle, in ~/.wine, in a prefix with a Cyrillic game\n"
          "folder and names (code page 1251), with Japanese names (932) and more; prints\n"
          "the home folder's path, for HOME.\n";
    return &to == &std::cout ? 0 : 1;
}

int WriteHome(const char* dir) {
    try {
        const SampleHome home = WriteSampleHome(std::filesystem::absolute(dir));
        std::cout << home.home.string() << "\n";
        return 0;
    } catch (const std::exception& e) { // a folder already there, a full disk
        std::cerr << "adultify-sample: " << e.what() << "\n";
        return 1;
    }
}

struct GameOptions {
    std::string dir;
    bool wine = false;
    int hoods = 2;
    std::string language;
    RandomHoodParams params;
};

// Empty when the arguments are not understood.
std::optional<GameOptions> ParseGameOptions(int argc, char** argv) {
    GameOptions o;
    o.params.residents = 12;
    o.params.families = 4;
    o.params.children = 4;
    o.params.baseGameRecords = 2;
    RandomHoodParams& params = o.params;
    bool valueMissing = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        auto next = [&]() -> long {
            if (i + 1 >= argc) {
                valueMissing = true;
                return 0;
            }
            return std::strtol(argv[++i], nullptr, 10);
        };
        if (arg == "--wine")
            o.wine = true;
        else if (arg == "--variants")
            params.playersVariants = true;
        else if (arg == "--hoods")
            o.hoods = static_cast<int>(next());
        else if (arg == "--residents")
            params.residents = static_cast<int>(next());
        else if (arg == "--families")
            params.families = static_cast<int>(next());
        else if (arg == "--children")
            params.children = static_cast<int>(next());
        else if (arg == "--seed")
            params.seed = static_cast<std::uint32_t>(next());
        else if (arg == "--filler")
            params.fillerBytes = static_cast<std::size_t>(next());
        else if (arg == "--language" && i + 1 < argc)
            o.language = argv[++i];
        else if (!arg.empty() && arg[0] == '-')
            return std::nullopt;
        else
            o.dir = arg;
    }
    if (valueMissing || o.dir.empty()) return std::nullopt;
    return o;
}

int WriteGame(int argc, char** argv) {
    const std::optional<GameOptions> options = ParseGameOptions(argc, argv);
    if (!options) return Usage();
    const auto& [dir, wine, hoods, language, params] = *options;

    GameSpec game;
    for (int h = 0; h < hoods; ++h) {
        RandomHoodParams p = params;
        p.number = h == 0 ? 1 : 2 * h + 1; // UserData, UserData3, UserData5: gaps as players have
        p.seed = params.seed + static_cast<std::uint32_t>(h);
        if (h > 0) p.residents = std::max(1, params.residents / 2);
        game.hoods.push_back(language.empty() ? RandomHood(p) : LocalisedHood(language, p.number));
    }
    std::filesystem::path gameFolder = dir;
    if (wine) gameFolder = WriteWinePrefix(dir, "C:\\Program Files (x86)\\Maxis\\The Sims");
    WriteGameFolder(gameFolder, game);
    std::cout << std::filesystem::absolute(gameFolder).string() << "\n";
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0))
        return Usage(std::cout);
    if (argc >= 2 && std::strcmp(argv[1], "--home") == 0)
        return argc == 3 ? WriteHome(argv[2]) : Usage();
    try {
        return WriteGame(argc, argv);
    } catch (const std::exception& e) { // an unknown language, a full disk
        std::cerr << "adultify-sample: " << e.what() << "\n";
        return 1;
    }
}
