// Every child of ten neighbourhoods of 216 residents listed, against reading their files once;
// ten children grown up in one run, against one. CPU time of this process, each figure the
// median of interleaved pairs, so that a change in the machine's load falls on both sides.
#include "app/cli/cli_front_end.h"
#include "sample/game_folder.h"

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

using namespace adultify;
namespace fs = std::filesystem;

namespace {

constexpr int kHoods = 10, kResidents = 216, kPairs = 9;
constexpr double kMostListRatio = 1.5, kMostBatchRatio = 10.0;

double CpuSeconds() {
    timespec t{};
    ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

double Timed(const std::function<void()>& f) {
    const double start = CpuSeconds();
    f();
    return CpuSeconds() - start;
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

std::string Load() {
    std::ifstream in("/proc/loadavg");
    std::string one, five;
    in >> one >> five;
    return one.empty() ? "unknown" : one + " (1 min), " + five + " (5 min)";
}

// One read of the whole file into a buffer of its size: the least a reader can do.
std::vector<char> Contents(const fs::path& p) {
    std::ifstream in(p, std::ios::binary | std::ios::ate);
    std::vector<char> data(static_cast<std::size_t>(in.tellg()));
    in.seekg(0);
    in.read(data.data(), static_cast<std::streamsize>(data.size()));
    return data;
}

struct Bench {
    fs::path game, data;
    std::vector<fs::path> files; // every neighbourhood and character file
    std::map<fs::path, std::vector<char>> kept;

    int Cli(std::vector<std::string> args) {
        args.insert(args.begin(), {"--game", game.string(), "--seed", "1"});
        std::ostringstream out, err;
        const std::string home = data.string();
        const EnvironmentLookup env = [&home](const char* name) -> const char* {
            return std::string(name) == "XDG_DATA_HOME" ? home.c_str() : nullptr;
        };
        return RunCli(args, out, err, env, SystemRegistry);
    }

    // The first neighbourhood as it was: its files, no backups, no snapshots.
    void PutBack() {
        for (const auto& [path, bytes] : kept)
            std::ofstream(path, std::ios::binary | std::ios::trunc)
                .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        for (const auto& e : fs::directory_iterator(game / "UserData"))
            if (e.path().stem() == "Neighborhood" && e.path().extension() != ".iff")
                fs::remove(e.path());
        fs::remove_all(data);
    }
};

} // namespace

int main() {
    Bench b;
    b.game = fs::temp_directory_path() / ("adultify-children-bench-" + std::to_string(::getpid()));
    b.data = b.game.string() + "-data";
    sample::GameSpec model;
    for (int n = 1; n <= kHoods; ++n) {
        sample::RandomHoodParams p = sample::RealSizeHood(static_cast<std::uint32_t>(n));
        p.number = n;
        model.hoods.push_back(sample::RandomHood(p));
    }
    sample::WriteGameFolder(b.game, model);
    for (const auto& e : fs::recursive_directory_iterator(b.game))
        if (e.is_regular_file() && e.path().extension() == ".iff") b.files.push_back(e.path());
    for (const auto& e : fs::recursive_directory_iterator(b.game / "UserData"))
        if (e.is_regular_file()) b.kept[e.path()] = Contents(e.path());
    std::vector<std::string> ten;
    for (std::size_t k = 0; k < model.hoods[0].sims.size() && ten.size() < 10; ++k)
        if (model.hoods[0].sims[k].age == 9) ten.push_back(std::to_string(k));

    const std::string loadBefore = Load();
    std::vector<double> listRatios, batchRatios, floorTimes, listTimes, oneTimes, tenTimes;
    bool failed = false;
    std::size_t bytes = 0;
    for (int i = 0; i < kPairs; ++i) {
        bytes = 0;
        const double floor = Timed([&] {
            for (const fs::path& f : b.files)
                bytes += Contents(f).size();
        });
        const double list = Timed([&] { failed |= b.Cli({"children"}) != 0; });
        floorTimes.push_back(floor);
        listTimes.push_back(list);
        listRatios.push_back(list / floor);

        b.PutBack();
        const double one = Timed([&] { failed |= b.Cli({"adultify", ten[0]}) != 0; });
        b.PutBack();
        std::vector<std::string> args = {"adultify"};
        args.insert(args.end(), ten.begin(), ten.end());
        const double all = Timed([&] { failed |= b.Cli(args) != 0; });
        b.PutBack();
        oneTimes.push_back(one);
        tenTimes.push_back(all);
        batchRatios.push_back(all / one);
    }
    fs::remove_all(b.game);
    fs::remove_all(b.data);
    if (failed) {
        std::printf("a command failed\n");
        return 1;
    }

    const double listRatio = Median(listRatios), batchRatio = Median(batchRatios);
    std::printf("load before: %s; after: %s\n", loadBefore.c_str(), Load().c_str());
    std::printf("children over %d neighbourhoods of %d residents: %.1f ms CPU, reading their %zu "
                "files (%.0f MB) once %.1f ms: %.2f x (at most %.1f), median of %d pairs\n",
                kHoods, kResidents, Median(listTimes) * 1000, b.files.size(),
                static_cast<double>(bytes) / 1e6, Median(floorTimes) * 1000, listRatio,
                kMostListRatio, kPairs);
    std::printf("adultify of 10 children in one run: %.1f ms CPU, one child %.1f ms: %.2f x (at "
                "most %.1f), median of %d pairs\n",
                Median(tenTimes) * 1000, Median(oneTimes) * 1000, batchRatio, kMostBatchRatio,
                kPairs);
    return listRatio <= kMostListRatio && batchRatio <= kMostBatchRatio ? 0 : 1;
}
