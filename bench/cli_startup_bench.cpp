// adultify-cli as a player's script starts it: whole processes, each started and waited for,
// against the bare cost of starting a trivial static program. What the program adds to a
// start must stay under 5 ms.
#include "bench/spawn.h"
#include "sample/game_folder.h"
#include "sample/game_model.h"

#include <benchmark/benchmark.h>

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <map>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using namespace adultify;

namespace {

constexpr double kMostStartUpMs = 5.0;

// A neighbourhood of real size: 216 residents in 55 families, character files of 110 KB.
const fs::path& SampleGame() {
    static const fs::path folder = [] {
        fs::path f =
            fs::temp_directory_path() / ("adultify-startup-bench-" + std::to_string(::getpid()));
        sample::WriteRandomGame(f, sample::RealSizeHood(7));
        return f;
    }();
    return folder;
}

// Starts the program with its output thrown away and waits for it; false when it failed.
bool RunOnce(const std::vector<std::string>& argv) {
    const auto cost = bench::Spawn(argv);
    return cost && cost->exitCode == 0;
}

std::map<std::string, double> secondsPerRun;

void Exec(benchmark::State& state, const std::string& name, std::vector<std::string> argv) {
    for (auto _ : state)
        if (!RunOnce(argv)) state.SkipWithError(("failed: " + argv[0]).c_str());
    const auto start = std::chrono::steady_clock::now();
    const int repeats = 20;
    for (int i = 0; i < repeats; ++i)
        (void)RunOnce(argv);
    secondsPerRun[name] =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() / repeats;
}

} // namespace

int main(int argc, char** argv) {
    // ADULTIFY_CLI measures another build of the program, an older one say, the same way.
    const char* other = std::getenv("ADULTIFY_CLI");
    const std::string cli = other && *other ? other : ADULTIFY_CLI_PATH;
    const std::string floor = ADULTIFY_EXEC_FLOOR_PATH;
    const std::string game = SampleGame().string();
    benchmark::RegisterBenchmark("exec/trivial_static_program", Exec, "floor",
                                 std::vector<std::string>{floor});
    benchmark::RegisterBenchmark("exec/adultify-cli --help", Exec, "help",
                                 std::vector<std::string>{cli, "--help"});
    benchmark::RegisterBenchmark("exec/adultify-cli list (216 residents)", Exec, "list",
                                 std::vector<std::string>{cli, "--game", game, "list"});
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    fs::remove_all(game);

    const double bare = secondsPerRun["floor"];
    if (bare <= 0) return 1;
    int status = 0;
    for (const char* name : {"help", "list"}) {
        const double t = secondsPerRun[name];
        if (t <= 0) continue;
        const double addedMs = (t - bare) * 1000;
        std::printf("%s: %.2f ms a run, %.1f times the bare start (%.2f ms), %.2f ms added\n", name,
                    t * 1000, t / bare, bare * 1000, addedMs);
        if (std::string(name) == "help" && addedMs > kMostStartUpMs) {
            std::printf("start-up costs %.2f ms, more than the %.0f ms allowed\n", addedMs,
                        kMostStartUpMs);
            status = 1;
        }
    }
    return status;
}
