#include "game/user_folders.h"

#include "install/known_folder_windows.h"
#include "text/path_text.h"

namespace adultify {

namespace fs = std::filesystem;

namespace {

// The shell's known folder, else the environment's `variable`; then "Adultify".
std::optional<fs::path> AdultifyFolder(const EnvironmentLookup& env, REFKNOWNFOLDERID id,
                                       const char* variable) {
    std::optional<fs::path> folder = KnownFolder(id);
    if (const char* value = env(variable); !folder && value && *value) folder = TextPath(value);
    if (!folder) return std::nullopt;
    return *folder / "Adultify";
}

} // namespace

std::optional<fs::path> RememberedFolderFile(const EnvironmentLookup& env) {
    const auto folder = AdultifyFolder(env, FOLDERID_RoamingAppData, "APPDATA");
    if (!folder) return std::nullopt;
    return *folder / "remembered";
}

std::optional<fs::path> DefaultSnapshotRoot(const EnvironmentLookup& env) {
    const auto folder = AdultifyFolder(env, FOLDERID_LocalAppData, "LOCALAPPDATA");
    if (!folder) return std::nullopt;
    return *folder / "Snapshots";
}

} // namespace adultify
