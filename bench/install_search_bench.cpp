// The search for every install on a home with 3 Steam libraries holding 200 Proton prefixes,
// against the bare cost of listing the same folders and of reading every prefix's system.reg.
#include "install/install_search.h"
#include "sample/game_folder.h"
#include "sample/home_folder.h"

#include <benchmark/benchmark.h>

#include <fstream>
#include <map>

using namespace adultify;
namespace fs = std::filesystem;

namespace {

constexpr int kPrefixes = 200;

struct Home {
    fs::path root;
    fs::path home;
    std::vector<fs::path> libraries;
};

// One home per size of system.reg, written once; a started Proton prefix's runs to 1 MB or more.
const Home& HomeWith(std::size_t fillerKeys) {
    static std::map<std::size_t, Home> homes;
    static struct Cleanup {
        ~Cleanup() {
            std::error_code ec;
            for (const auto& [keys, h] : homes)
                fs::remove_all(h.root, ec);
        }
    } cleanup;
    if (auto it = homes.find(fillerKeys); it != homes.end()) return it->second;
    Home h;
    h.root = fs::temp_directory_path() / ("adultify-bench-home-" + std::to_string(fillerKeys));
    fs::remove_all(h.root);
    h.home = h.root / "home";
    h.libraries = {h.home / ".local/share/Steam", h.root / "mnt/a/SteamLibrary",
                   h.root / "mnt/b/SteamLibrary"};
    sample::WriteSteamRoot(h.libraries[0], {h.libraries[1], h.libraries[2]});
    sample::WriteSteamRoot(h.libraries[1], {});
    sample::WriteSteamRoot(h.libraries[2], {});
    sample::PrefixSpec plain;
    plain.fillerKeys = fillerKeys;
    for (int i = 0; i < kPrefixes - 2; ++i)
        sample::WriteProtonPrefix(h.libraries[static_cast<std::size_t>(i % 3)],
                                  std::to_string(1000 + i * 10), plain);
    sample::WriteReReleaseSaves(sample::WriteProtonPrefix(h.libraries[0], "3314060", plain),
                                "steamuser", sample::EmptyHoods({1}, false));
    sample::PrefixSpec withGame = plain;
    withGame.simsData = "C:\\Games\\The Sims";
    const fs::path nonSteam = sample::WriteProtonPrefix(h.libraries[1], "2911111111", withGame);
    sample::WriteGameFolder(nonSteam / "drive_c/Games/The Sims", sample::EmptyHoods({1}));
    return homes.emplace(fillerKeys, std::move(h)).first->second;
}

const char* NoEnvironment(const char*) {
    return nullptr;
}

void BM_FindGames(benchmark::State& state) {
    const Home& h = HomeWith(static_cast<std::size_t>(state.range(0)));
    SearchPlaces places;
    places.home = h.home;
    places.env = NoEnvironment;
    std::size_t found = 0;
    for (auto _ : state) {
        found = FindGames(places).size();
        benchmark::DoNotOptimize(found);
    }
    if (found != 2) state.SkipWithError("the two generated games were not both found");
}

// The folders the search cannot avoid listing: each library's compatdata and each prefix.
void BM_ListFolders(benchmark::State& state) {
    const Home& h = HomeWith(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        std::size_t entries = 0;
        for (const fs::path& library : h.libraries)
            for (const auto& compat : fs::directory_iterator(library / "steamapps/compatdata"))
                for (const auto& entry : fs::directory_iterator(compat.path() / "pfx")) {
                    benchmark::DoNotOptimize(entry);
                    ++entries;
                }
        benchmark::DoNotOptimize(entries);
    }
}

void BM_ReadEverySystemReg(benchmark::State& state) {
    const Home& h = HomeWith(static_cast<std::size_t>(state.range(0)));
    std::vector<fs::path> files;
    for (const fs::path& library : h.libraries)
        for (const auto& compat : fs::directory_iterator(library / "steamapps/compatdata"))
            files.push_back(compat.path() / "pfx/system.reg");
    std::size_t bytes = 0;
    std::string text;
    for (auto _ : state) {
        bytes = 0;
        for (const fs::path& f : files) {
            std::ifstream in(f, std::ios::binary | std::ios::ate);
            text.resize(static_cast<std::size_t>(in.tellg()));
            in.seekg(0);
            in.read(text.data(), static_cast<std::streamsize>(text.size()));
            bytes += text.size();
        }
        benchmark::DoNotOptimize(bytes);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(bytes) * state.iterations());
}

} // namespace

// 0 filler keys: a system.reg under 1 KB; 5000: about 1.5 MB.
BENCHMARK(BM_FindGames)->Arg(0)->Arg(5000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ListFolders)->Arg(0)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadEverySystemReg)->Arg(0)->Arg(5000)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
