// The two checks made before every save: is the game running (a full scan of a generated
// /proc of 400 processes, none of them the game, and of this machine's), and has the
// neighbourhood changed on disk (a 1 MB file, unchanged, so that it is read and hashed).
#include "files/checksum.h"
#include "files/file_stamp.h"
#include "game/game_process.h"

#include <benchmark/benchmark.h>

#include <fstream>

using namespace adultify;
namespace fs = std::filesystem;

namespace {

constexpr int kProcesses = 400;

class Folder {
  public:
    explicit Folder(const std::string& name) : path_(fs::temp_directory_path() / name) {
        fs::remove_all(path_);
        fs::create_directories(path_);
    }
    ~Folder() {
        std::error_code ec;
        fs::remove_all(path_, ec);
    }
    Folder(const Folder&) = delete;
    Folder& operator=(const Folder&) = delete;
    const fs::path& path() const { return path_; }

  private:
    fs::path path_;
};

// Desktop processes, Wine services and kernel threads in the proportions of a real session.
void WriteFakeProc(const fs::path& root) {
    for (int i = 0; i < kProcesses; ++i) {
        const fs::path pid = root / std::to_string(1 + i * 7);
        fs::create_directories(pid);
        std::string cmdline;
        std::string exe;
        switch (i % 4) {
        case 0: // kernel thread
            break;
        case 1:
            cmdline = std::string("/usr/lib/x86_64-linux-gnu/libexec/kf5/worker") + '\0' +
                      "--type=renderer" + '\0' + "--field-trial-handle=" + std::string(200, '7') +
                      '\0';
            exe = "/usr/lib/x86_64-linux-gnu/libexec/kf5/worker";
            break;
        case 2:
            cmdline = std::string("C:\\windows\\system32\\svchost.exe") + '\0' + "-k" + '\0' +
                      "LocalServiceNetworkRestricted" + '\0';
            exe = "/home/u1/.local/share/Steam/steamapps/common/Proton 9.0 "
                  "(Beta)/files/bin/wine64-preloader";
            break;
        default:
            cmdline = std::string("/usr/bin/python3") + '\0' +
                      "/home/u1/.local/share/Steam/steamapps/common/Proton 9.0/proton" + '\0' +
                      "waitforexitandrun" + '\0' + "/home/u1/Games/The Sims/Sims.exe" + '\0';
            exe = "/usr/bin/python3.11";
        }
        std::ofstream(pid / "cmdline", std::ios::binary) << cmdline;
        if (!exe.empty()) fs::create_symlink(exe, pid / "exe");
    }
}

const fs::path& FakeProc() {
    static const Folder proc("adultify-bench-proc");
    static const bool written = (WriteFakeProc(proc.path()), true);
    (void)written;
    return proc.path();
}

void BM_FindRunningGame_Fake400(benchmark::State& state) {
    const fs::path& proc = FakeProc();
    for (auto _ : state)
        benchmark::DoNotOptimize(FindRunningGame(proc));
    if (FindRunningGame(proc)) state.SkipWithError("a generated process was taken for the game");
}

void BM_FindRunningGame_RealProc(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(FindRunningGame());
}

void BM_CompareWithDisk(benchmark::State& state) {
    static const Folder folder("adultify-bench-stamp");
    const fs::path file = folder.path() / "Neighborhood.iff";
    Bytes bytes(static_cast<std::size_t>(state.range(0)));
    for (std::size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<std::uint8_t>(i * 131 + (i >> 9));
    std::ofstream(file, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    const FileStamp stamp = StampOf(file, bytes);
    Change change = Change::Changed;
    for (auto _ : state) {
        change = CompareWithDisk(file, stamp);
        benchmark::DoNotOptimize(change);
    }
    if (change != Change::Same) state.SkipWithError("the untouched file was not found the same");
    state.SetBytesProcessed(state.range(0) * state.iterations());
}

void BM_StampOf(benchmark::State& state) {
    static const Folder folder("adultify-bench-stamp-of");
    const fs::path file = folder.path() / "Neighborhood.iff";
    const Bytes bytes(static_cast<std::size_t>(state.range(0)), 0x5A);
    std::ofstream(file, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    for (auto _ : state)
        benchmark::DoNotOptimize(StampOf(file, bytes));
    state.SetBytesProcessed(state.range(0) * state.iterations());
}

// The checksum of a snapshot's copies and of a save's new files, and the record's hash.
void BM_Crc32(benchmark::State& state) {
    const Bytes bytes(static_cast<std::size_t>(state.range(0)), 0x5A);
    for (auto _ : state)
        benchmark::DoNotOptimize(Crc32(bytes.data(), bytes.size()));
    state.SetBytesProcessed(state.range(0) * state.iterations());
}

void BM_Fnv1a64(benchmark::State& state) {
    const Bytes bytes(static_cast<std::size_t>(state.range(0)), 0x5A);
    for (auto _ : state)
        benchmark::DoNotOptimize(Fnv1a64(bytes));
    state.SetBytesProcessed(state.range(0) * state.iterations());
}

} // namespace

BENCHMARK(BM_FindRunningGame_Fake400)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FindRunningGame_RealProc)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CompareWithDisk)->Arg(1 << 20)->Arg(8 << 20)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StampOf)->Arg(1 << 20)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Crc32)->Arg(1 << 20)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Fnv1a64)->Arg(1 << 20)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
