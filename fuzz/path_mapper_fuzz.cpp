// The Windows path mapper on arbitrary strings, against a small generated Wine prefix made
// once per process.
#include "files/windows_path.h"
#include "sample/game_folder.h"

#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>

using namespace adultify;
namespace fs = std::filesystem;

namespace {

fs::path folder;
std::optional<WindowsPathMapper> kept; // remembers listings from one input to the next

void RemoveFolder() {
    std::error_code ec;
    fs::remove_all(folder, ec);
}

bool HasParentStep(std::string_view path) {
    for (std::size_t i = 0; i + 1 < path.size(); ++i) {
        const bool starts =
            i == 0 || path[i - 1] == '\\' || path[i - 1] == '/' || (i == 2 && path[1] == ':');
        const bool ends = i + 2 == path.size() || path[i + 2] == '\\' || path[i + 2] == '/';
        if (starts && ends && path[i] == '.' && path[i + 1] == '.') return true;
    }
    return false;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    std::random_device rd;
    folder = fs::temp_directory_path() / ("adultify-fuzz-" + std::to_string(rd()));
    const fs::path prefix = folder / "prefix";
    const fs::path game =
        sample::WriteWinePrefix(prefix, "C:\\Program Files\\Maxis\\The Sims", true);
    sample::GameSpec gameLayout;
    gameLayout.hoods.resize(2);
    gameLayout.hoods[1].number = 2;
    sample::WriteGameFolder(game, gameLayout);
    // Drive Z: is the whole disk in a real prefix; here it stays inside the folder.
    fs::remove(prefix / "dosdevices" / "z:");
    fs::create_directories(folder / "disk-z" / "Users");
    fs::create_directory_symlink(folder / "disk-z", prefix / "dosdevices" / "z:");
    kept.emplace(prefix / "dosdevices");
    std::atexit(RemoveFolder);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string path(reinterpret_cast<const char*>(data), size);
    // A path from the root or the working folder would walk the real disk: both are read
    // from drive C: instead, through the same walk.
    const bool drive =
        path.size() >= 2 && path[1] == ':' && std::isalpha(static_cast<unsigned char>(path[0]));
    if (!drive) path.insert(0, "C:");
    const fs::path native = kept->ToNative(path);
    if (WindowsPathMapper(kept->DosDevices()).ToNative(path) != native) __builtin_trap();
    const bool driveC = path.size() >= 2 && (path[0] == 'c' || path[0] == 'C') && path[1] == ':';
    if (driveC && !HasParentStep(path)) {
        const std::string base = (*kept->DosDevices() / "c:").string();
        if (native.string().compare(0, base.size(), base) != 0) __builtin_trap();
    }
    return 0;
}
