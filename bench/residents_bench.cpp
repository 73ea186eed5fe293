// Reading, showing and editing a neighbourhood of 999 residents in 250 families with all
// 999 character files, against the bare cost of reading the same files once.
#include "ageing/adultify.h"
#include "app/form1_events.h"
#include "app/startup.h"
#include "characters/thumbnail_fix.h"
#include "files/native_file_system.h"
#include "game/neighbourhood_list.h"
#include "hood/get_people.h"
#include "hood/resident_view.h"
#include "sample/game_folder.h"
#include "ui/headless/headless_window_system.h"

#include <benchmark/benchmark.h>

#include <fstream>
#include <iostream>
#include <map>
#include <unistd.h>

using namespace adultify;
namespace fs = std::filesystem;

namespace {

struct Game {
    fs::path folder;
    sample::HoodSpec hood;
};

// One generated game per size, written once and removed when the run ends; every benchmark
// leaves its files as it found them, so that repetitions measure the same thing.
struct Games {
    std::map<int, Game> bySize;
    ~Games() {
        for (const auto& [size, game] : bySize)
            fs::remove_all(game.folder);
    }
};

const Game& GameOf(int residents) {
    static Games games;
    auto it = games.bySize.find(residents);
    if (it != games.bySize.end()) return it->second;
    Game g;
    g.folder = fs::temp_directory_path() / ("adultify-bench-" + std::to_string(residents));
    fs::remove_all(g.folder);
    g.hood = sample::RandomHood(sample::PlayersProportions(residents, 99));
    sample::GameSpec gameSpec;
    gameSpec.hoods.push_back(g.hood);
    sample::WriteGameFolder(g.folder, gameSpec);
    return games.bySize.emplace(residents, std::move(g)).first->second;
}

struct App {
    explicit App(const Game& g) : m(ui, fs, clock) {
        m.game.SimsPath = g.folder.string() + "/";
        FillCareerNames(m);
        FillNeighbourhoodList(m);
        ui.ListSelect("Combo1", 0);
    }
    HeadlessWindowSystem ui;
    NativeFileSystem fs;
    ManualClock clock;
    Module1 m;
};

std::size_t ReadAll(const fs::path& p) {
    std::ifstream in(p, std::ios::binary | std::ios::ate);
    const auto size = static_cast<std::size_t>(in.tellg());
    std::vector<char> data(size);
    in.seekg(0);
    in.read(data.data(), static_cast<std::streamsize>(size));
    return data.size();
}

void BM_BareRead(benchmark::State& state) {
    const Game& g = GameOf(static_cast<int>(state.range(0)));
    std::vector<fs::path> files = {g.folder / "UserData" / "Neighborhood.iff"};
    for (const auto& sim : g.hood.sims)
        files.push_back(g.folder / "UserData" / "Characters" / sample::CharacterFileName(sim));
    std::size_t bytes = 0;
    for (auto _ : state) {
        bytes = 0;
        for (const auto& f : files)
            bytes += ReadAll(f);
        benchmark::DoNotOptimize(bytes);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(bytes) * state.iterations());
}

void BM_GetPeople(benchmark::State& state) {
    const Game& g = GameOf(static_cast<int>(state.range(0)));
    App app(g);
    for (auto _ : state) {
        Get_People(app.m);
        benchmark::DoNotOptimize(app.m.hood.RecordCount);
    }
    if (app.m.hood.RecordCount != state.range(0))
        state.SkipWithError("not every resident was found");
}

void BM_DisplayLastResident(benchmark::State& state) {
    const Game& g = GameOf(999);
    App app(g);
    Get_People(app.m);
    app.ui.ListSelect("List1", 998);
    for (auto _ : state)
        Display_user_Details(app.m);
}

// The whole command, reload included; the files are put back between runs.
void BM_AdultifyCommand(benchmark::State& state) {
    const Game& g = GameOf(999);
    const fs::path hoodFile = g.folder / "UserData" / "Neighborhood.iff";
    int child = -1;
    for (std::size_t i = g.hood.sims.size(); i-- > 0;)
        if (g.hood.sims[i].age == 9) {
            child = static_cast<int>(i);
            break;
        }
    const fs::path charFile =
        g.folder / "UserData" / "Characters" /
        sample::CharacterFileName(g.hood.sims[static_cast<std::size_t>(child)]);
    const fs::path hoodCopy = hoodFile.string() + ".bench", charCopy = charFile.string() + ".bench";
    fs::copy_file(hoodFile, hoodCopy, fs::copy_options::overwrite_existing);
    fs::copy_file(charFile, charCopy, fs::copy_options::overwrite_existing);
    App app(g);
    for (auto _ : state) {
        state.PauseTiming();
        fs::copy_file(hoodCopy, hoodFile, fs::copy_options::overwrite_existing);
        fs::copy_file(charCopy, charFile, fs::copy_options::overwrite_existing);
        fs::remove(g.folder / "UserData" / "Neighborhood.000");
        ::sync(); // the command's own flushes are not to carry the set-up's writes
        Get_People(app.m);
        app.ui.ListSelect("List1", child);
        app.ui.SetEnabled("Command1", true);
        state.ResumeTiming();
        Adultify_Command1_Click(app.m);
    }
    fs::copy_file(hoodCopy, hoodFile, fs::copy_options::overwrite_existing);
    fs::copy_file(charCopy, charFile, fs::copy_options::overwrite_existing);
    fs::remove(g.folder / "UserData" / "Neighborhood.000");
}

void BM_ThumbnailScan(benchmark::State& state) {
    const Game& g = GameOf(999);
    std::ifstream in(g.folder / "UserData" / "Characters" /
                         sample::CharacterFileName(g.hood.sims[0]),
                     std::ios::binary);
    const Bytes original((std::istreambuf_iterator<char>(in)), {});
    Bytes data;
    for (auto _ : state) {
        state.PauseTiming();
        data = original;
        state.ResumeTiming();
        benchmark::DoNotOptimize(RemoveBitmapTags(data));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(original.size()) * state.iterations());
}

// The whole menu command on one file: warning answered, read, scan, safe write, view again.
void BM_ThumbnailFixCommand(benchmark::State& state) {
    const Game& g = GameOf(999);
    App app(g);
    Get_People(app.m);
    app.ui.ListSelect("List1", 0);
    app.ui.answerMessage = [](const MessageRecord& r) {
        return r.buttons == MsgButtons::YesNoDefaultNo ? MsgAnswer::Yes : MsgAnswer::Ok;
    };
    const fs::path charFile =
        g.folder / "UserData" / "Characters" / sample::CharacterFileName(g.hood.sims[0]);
    const auto size = fs::file_size(charFile);
    const fs::path charCopy = charFile.string() + ".bench";
    fs::copy_file(charFile, charCopy, fs::copy_options::overwrite_existing);
    for (auto _ : state)
        menu_fix_thumbnails_Click(app.m);
    state.SetBytesProcessed(static_cast<std::int64_t>(size) * state.iterations());
    fs::rename(charCopy, charFile);
}

} // namespace

BENCHMARK(BM_BareRead)->Arg(100)->Arg(999)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GetPeople)->Arg(100)->Arg(999)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DisplayLastResident)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AdultifyCommand)->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(BM_ThumbnailScan)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ThumbnailFixCommand)->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK_MAIN();
