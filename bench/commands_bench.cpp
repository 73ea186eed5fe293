// Whole adultify-cli commands on generated games, each against its floor: a static program
// that reads each file the command needs once (and writes and flushes the new files, for a
// command that writes). The same floor linked with the shared C library, as adultify-cli is,
// runs in the same rounds, to tell the loader's share of a gap from the command's own. CPU time of
// the child processes, median of interleaved rounds, so that a loaded machine slows both sides
// alike. ADULTIFY_CLI_BEFORE names an older build to measure in the same rounds; its output is
// compared with this build's, byte for byte. ADULTIFY_BENCH_ONLY=TEXT runs only the cases whose
// name holds TEXT.
#include "bench/spawn.h"
#include "game/snapshots.h"
#include "sample/game_folder.h"
#include "sample/game_model.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <iostream>
#include <iterator>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

using namespace adultify;
namespace fs = std::filesystem;

namespace {

using Argv = std::vector<std::string>;

using bench::Cost;
using bench::Spawn;

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

std::string Slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

struct Case {
    std::string name;
    std::vector<Argv> floor;   // processes, one after the other
    std::vector<Argv> command; // argv[0] "cli" is replaced by the build measured
    fs::path dataHome;         // the snapshots' folder of the command
    std::function<void()> reset = [] {};
};

// The sides measured in each round: the static floor, this build, an older one and the
// floor linked with the shared C library.
enum Side { kFloor, kAfter, kBefore, kShared, kSides };

struct Result {
    std::array<std::vector<double>, kSides> cpuMs;
    std::array<long, kSides> peakKb{};
    bool sameOutput = true;
};

fs::path Scratch() {
    static const fs::path p =
        fs::temp_directory_path() / ("adultify-commands-bench-" + std::to_string(::getpid()));
    return p;
}

// The processes one after the other: CPU summed, peak memory the largest; nothing when one
// fails. `cli` replaces "cli" in a command's steps; in a floor's, with `shared`, the floor
// linked with the shared C library replaces the static one.
std::optional<Cost> RunAll(const std::vector<Argv>& steps, const std::string& cli,
                           const std::string& out, bool shared = false) {
    Cost total;
    std::string all;
    for (Argv argv : steps) {
        if (argv[0] == "cli") argv[0] = cli;
        if (shared && argv[0] == ADULTIFY_READ_FLOOR_PATH)
            argv[0] = ADULTIFY_READ_FLOOR_SHARED_PATH;
        const auto cost = Spawn(argv, out + ".step");
        // A step that failed did less than the work measured: no figure at all.
        if (!cost || cost->exitCode != 0) {
            std::cerr << argv[0] << " exited with " << (cost ? cost->exitCode : -1) << "\n";
            return std::nullopt;
        }
        total.cpuMs += cost->cpuMs;
        total.peakKb = std::max(total.peakKb, cost->peakKb);
        all += Slurp(out + ".step");
    }
    std::ofstream(out, std::ios::binary) << all;
    return total;
}

std::optional<Cost> RunSide(const Case& c, Side side, const std::string& after,
                            const std::string& before, const std::string& out) {
    switch (side) {
    case kFloor: return RunAll(c.floor, "", out);
    case kShared: return RunAll(c.floor, "", out, true);
    case kAfter: return RunAll(c.command, after, out);
    default: return RunAll(c.command, before, out);
    }
}

Result Measure(const Case& c, const std::string& after, const std::string& before, int rounds) {
    Result r;
    ::setenv("XDG_DATA_HOME", c.dataHome.c_str(), 1);
    const std::string outAfter = (Scratch() / "out-after").string();
    const std::string outBefore = (Scratch() / "out-before").string();
    const std::string outFloor = (Scratch() / "out-floor").string();
    for (int round = 0; round < rounds; ++round) {
        // The order turns each round, so that no side always runs first.
        for (int k = 0; k < kSides; ++k) {
            const auto side = static_cast<Side>((round + k) % kSides);
            if (side == kBefore && before.empty()) continue;
            c.reset();
            const std::string& out = side == kAfter    ? outAfter
                                     : side == kBefore ? outBefore
                                                       : outFloor;
            const auto cost = RunSide(c, side, after, before, out);
            if (!cost) {
                std::cerr << c.name << ": a run failed\n";
                std::exit(1);
            }
            r.cpuMs[side].push_back(cost->cpuMs);
            r.peakKb[side] = std::max(r.peakKb[side], cost->peakKb);
        }
        if (round == 0 && !before.empty()) r.sameOutput = Slurp(outAfter) == Slurp(outBefore);
    }
    c.reset();
    return r;
}

struct Game {
    fs::path folder;
    std::vector<fs::path> files; // the neighbourhood file of hood 1, then its character files
};

// Neighbourhood `number` of 30 residents, with character files of about 30 KB.
sample::HoodSpec SmallHood(int number) {
    sample::RandomHoodParams p = sample::PlayersProportions(30, static_cast<unsigned>(number));
    p.number = number;
    p.fillerBytes = 20000;
    return sample::RandomHood(p);
}

Game WriteGame(const std::string& name, const std::vector<sample::HoodSpec>& hoods) {
    Game g{Scratch() / name, {}};
    sample::GameSpec model;
    model.hoods = hoods;
    sample::WriteGameFolder(g.folder, model);
    g.files.push_back(g.folder / "UserData" / "Neighborhood.iff");
    std::vector<fs::path> characters;
    for (const auto& e : fs::directory_iterator(g.folder / "UserData" / "Characters"))
        characters.push_back(e.path());
    std::sort(characters.begin(), characters.end());
    g.files.insert(g.files.end(), characters.begin(), characters.end());
    return g;
}

Argv FloorOf(const std::vector<fs::path>& files, int writes = 0) {
    Argv argv{ADULTIFY_READ_FLOOR_PATH};
    if (writes > 0) argv.insert(argv.end(), {"-w", std::to_string(writes)});
    for (const fs::path& f : files)
        argv.push_back(f.string());
    return argv;
}

// The same, and what else a save leaves durable: an undo snapshot of the files written (their
// copies and a record, in a new folder under `dataHome`) and, with `backup`, the numbered
// backup linked to the first of them.
Argv WholeFloorOf(const std::vector<fs::path>& files, int writes, const fs::path& dataHome,
                  const std::optional<fs::path>& backup = std::nullopt) {
    fs::create_directories(dataHome);
    Argv argv = FloorOf(files, writes);
    const Argv options{"-s", (dataHome / "floor-snapshot").string()};
    argv.insert(argv.begin() + 3, options.begin(), options.end());
    if (backup) argv.insert(argv.begin() + 3, {"-b", backup->string()});
    return argv;
}

// Keeps copies of the files and answers a reset that puts them back and removes what the
// commands add: the backups beside the neighbourhood file and the snapshots but `keep`.
std::function<void()> Restorer(const std::vector<fs::path>& files, const fs::path& dataHome,
                               const std::string& keep = {}) {
    std::vector<std::pair<fs::path, fs::path>> copies;
    for (const fs::path& f : files) {
        const fs::path copy = Scratch() / "kept" / std::to_string(copies.size());
        fs::create_directories(copy.parent_path());
        fs::copy_file(f, copy, fs::copy_options::overwrite_existing);
        copies.emplace_back(f, copy);
    }
    return [copies, dataHome, keep] {
        for (const auto& [file, copy] : copies) {
            fs::copy_file(copy, file, fs::copy_options::overwrite_existing);
            for (const auto& e : fs::directory_iterator(file.parent_path()))
                if (e.path().stem() == "Neighborhood" && e.path().extension() != ".iff")
                    fs::remove(e.path());
        }
        if (!fs::exists(dataHome)) return;
        std::vector<fs::path> taken;
        for (const auto& e : fs::recursive_directory_iterator(dataHome))
            if (e.path().filename() == "snapshot.txt" && e.path().parent_path().filename() != keep)
                taken.push_back(e.path().parent_path());
        for (const fs::path& folder : taken)
            fs::remove_all(folder);
    };
}

// The first line of `residents` whose age is a child's.
std::string FirstChild(const std::string& cli, const fs::path& game) {
    const std::string out = (Scratch() / "residents").string();
    if (!Spawn({cli, "--game", game.string(), "residents"}, out)) return "0";
    std::istringstream lines(Slurp(out));
    for (std::string line; std::getline(lines, line);) {
        std::istringstream fields(line);
        std::string k, age;
        std::getline(fields, k, '\t');
        std::getline(fields, age, '\t');
        if (age == "Child") return k;
    }
    return "0";
}

} // namespace

int main() {
    const char* beforeEnv = std::getenv("ADULTIFY_CLI_BEFORE");
    const char* roundsEnv = std::getenv("ADULTIFY_BENCH_ROUNDS");
    const std::string after = ADULTIFY_CLI_PATH, before = beforeEnv ? beforeEnv : "";
    const int rounds = roundsEnv ? std::max(1, std::atoi(roundsEnv)) : 9;
    fs::remove_all(Scratch());
    fs::create_directories(Scratch() / "home");
    ::setenv("HOME", (Scratch() / "home").c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", (Scratch() / "home" / "config").c_str(), 1);
    ::unsetenv("WINEPREFIX");

    const Game g216 = WriteGame("g216", {sample::RandomHood(sample::RealSizeHood(7))});
    const Game g100 = WriteGame("g100", {sample::RandomHood(sample::PlayersProportions(100, 99))});
    const Game g999 = WriteGame("g999", {sample::RandomHood(sample::PlayersProportions(999, 99))});
    // 99 neighbourhoods of 30 residents each, the first the same in both games.
    std::vector<sample::HoodSpec> hoods;
    for (int n = 1; n <= 99; ++n)
        hoods.push_back(SmallHood(n));
    const Game one = WriteGame("hood1of1", {hoods[0]});
    const Game all = WriteGame("hood1of99", hoods);

    const fs::path none = Scratch() / "data-none";
    auto list = [](const Game& g) { return Argv{"cli", "--game", g.folder.string(), "list"}; };
    std::vector<Case> cases;
    cases.push_back(
        {"list, 216 residents (real shape)", {FloorOf(g216.files)}, {list(g216)}, none});
    cases.push_back({"list, 100 residents", {FloorOf(g100.files)}, {list(g100)}, none});
    cases.push_back({"list, 999 residents", {FloorOf(g999.files)}, {list(g999)}, none});
    cases.push_back({"list, hood 1 of 1", {FloorOf(one.files)}, {list(one)}, none});
    cases.push_back({"list, hood 1 of 99", {FloorOf(all.files)}, {list(all)}, none});
    Case turn{"list, all 99 in turn", {}, {}, none};
    for (int n = 1; n <= 99; ++n) {
        const fs::path folder = all.folder / (n == 1 ? "UserData" : "UserData" + std::to_string(n));
        std::vector<fs::path> files{folder / "Neighborhood.iff"};
        for (const auto& e : fs::directory_iterator(folder / "Characters"))
            files.push_back(e.path());
        turn.floor.push_back(FloorOf(files));
        turn.command.push_back(
            {"cli", "--game", all.folder.string(), "--hood", std::to_string(n), "list"});
    }
    cases.push_back(turn);

    const std::string child = FirstChild(after, g216.folder);
    const fs::path adultifyHome = Scratch() / "data-adultify";
    // The first numbered backup, as the commands make it on this game.
    const fs::path backup = g216.folder / "UserData" / "Neighborhood.000";
    {
        Case c{"adultify (durable floor)",
               {FloorOf(g216.files, 2)},
               {{"cli", "--game", g216.folder.string(), "--seed", "1", "adultify", child}},
               adultifyHome};
        c.reset = Restorer(g216.files, adultifyHome);
        cases.push_back(c);
        c.name = "adultify (every file it leaves)";
        c.floor = {WholeFloorOf(g216.files, 2, adultifyHome, backup)};
        cases.push_back(c);
    }
    const fs::path skillHome = Scratch() / "data-skill";
    {
        Case c{"skill + save (durable floor)",
               {FloorOf(g216.files, 1)},
               {{"cli", "--game", g216.folder.string(), "skill", "0", "Cooking", "500"}},
               skillHome};
        c.reset = Restorer({g216.files[0]}, skillHome);
        cases.push_back(c);
        c.name = "skill + save (every file it leaves)";
        c.floor = {WholeFloorOf(g216.files, 1, skillHome, backup)};
        cases.push_back(c);
    }
    const fs::path snapshotsHome = Scratch() / "data-snapshots";
    const fs::path root = snapshotsHome / "adultify" / "snapshots";
    std::vector<fs::path> records;
    std::string lastId;
    for (int k = 0; k < kSnapshotsKeptPerHood; ++k) {
        std::vector<SnapshotCopy> kept;
        for (const fs::path& file : {g216.files[0], g216.files[1]})
            kept.push_back({file.lexically_relative(g216.folder).generic_string(),
                            ReadRegularFile(file, kLargestGameFile).value(),
                            {}});
        const auto s = TakeSnapshot(root, g216.folder, 1, {"skill", "user00001", ""}, kept);
        if (!s) {
            std::cerr << "no snapshot: " << Describe(s.error()) << "\n";
            return 1;
        }
        records.push_back(s.value().folder / kSnapshotRecord);
        lastId = s.value().id;
    }
    cases.push_back({"snapshots, 200 present (floor: the records)",
                     {FloorOf(records)},
                     {{"cli", "--game", g216.folder.string(), "snapshots"}},
                     snapshotsHome});
    {
        const fs::path folder = records.back().parent_path();
        std::vector<fs::path> copies;
        for (const auto& e : fs::directory_iterator(folder))
            if (e.path().filename() != kSnapshotRecord) copies.push_back(e.path());
        std::sort(copies.begin(), copies.end());
        copies.push_back(records.back());
        copies.push_back(g216.files[0]);
        copies.push_back(g216.files[1]);
        Case c{"restore (durable floor)",
               {FloorOf(copies, 2)},
               {{"cli", "--game", g216.folder.string(), "restore", lastId}},
               snapshotsHome};
        c.reset = Restorer({g216.files[0], g216.files[1]}, snapshotsHome, lastId);
        cases.push_back(c);
        c.name = "restore (every file it leaves)";
        c.floor = {WholeFloorOf(copies, 2, snapshotsHome)};
        cases.push_back(c);
    }

    std::printf("%d interleaved rounds, CPU ms medians; load %s\n", rounds,
                Slurp("/proc/loadavg").c_str());
    std::printf("%-44s %8s %8s %8s %8s %7s %7s %7s %s\n", "case", "floor", "shared", "before",
                "after", "before", "after", "/shared", "peak MB floor/before/after, output");
    const char* only = std::getenv("ADULTIFY_BENCH_ONLY");
    for (const Case& c : cases) {
        if (only && c.name.find(only) == std::string::npos) continue;
        const Result r = Measure(c, after, before, rounds);
        const double f = Median(r.cpuMs[kFloor]), a = Median(r.cpuMs[kAfter]),
                     b = Median(r.cpuMs[kBefore]), s = Median(r.cpuMs[kShared]);
        std::printf("%-44s %8.1f %8.1f %8.1f %8.1f %6.2fx %6.2fx %6.2fx %.0f/%.0f/%.0f %s\n",
                    c.name.c_str(), f, s, b, a, f > 0 ? b / f : 0, f > 0 ? a / f : 0,
                    s > 0 ? a / s : 0, r.peakKb[kFloor] / 1024.0, r.peakKb[kBefore] / 1024.0,
                    r.peakKb[kAfter] / 1024.0,
                    before.empty() ? ""
                    : r.sameOutput ? "same"
                                   : "DIFFERS");
        std::fflush(stdout);
    }
    // ADULTIFY_BENCH_KEEP leaves the games for a profiler.
    if (std::getenv("ADULTIFY_BENCH_KEEP"))
        std::printf("games kept in %s\n", Scratch().c_str());
    else
        fs::remove_all(Scratch());
    return 0;
}
