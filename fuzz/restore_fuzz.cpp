// A restore through the write door: Adultify on a game whose child has the input as its
// character file, then the snapshot it kept put back; both files return byte for byte, and
// the restore keeps its own snapshot. The game lies in memory, the snapshots on disk.
#include "fuzz/fuzz_game.h"
#include "game/game_writes.h"
#include "game/snapshots.h"

#include <filesystem>
#include <string>
#include <unistd.h>

using namespace adultify;

namespace {

const std::filesystem::path& SnapshotRoot() {
    static const std::filesystem::path root = std::filesystem::temp_directory_path() /
                                              ("adultify-restore-fuzz-" + std::to_string(getpid()));
    return root;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const Bytes file(data, data + size);
    fuzz::FuzzGame g(fuzz::OneChildHood(), file);
    g.m.game.snapshotRoot = SnapshotRoot();
    const std::string characterPath(fuzz::kChildCharacterPath);
    g.AdultifyFirstResident();
    if (g.ui.Ended() || g.files.Get(characterPath) == file) return 0;
    const auto kept = ListSnapshots(*g.m.game.snapshotRoot, NativeFile(g.m, g.m.game.SimsPath), 1);
    if (kept.empty() || kept.front().command != "adultify") __builtin_trap();
    if (!RestoreFromSnapshot(g.m, kept.front().id)) __builtin_trap();
    if (g.files.Get(std::string(fuzz::kHoodPath)) != fuzz::OneChildHood()) __builtin_trap();
    if (g.files.Get(characterPath) != file) __builtin_trap();
    const auto after = ListSnapshots(*g.m.game.snapshotRoot, NativeFile(g.m, g.m.game.SimsPath), 1);
    if (after.empty() || after.front().command != "restore") __builtin_trap();
    return 0;
}
