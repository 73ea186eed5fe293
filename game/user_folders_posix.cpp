#include "game/user_folders.h"

namespace adultify {

namespace fs = std::filesystem;

namespace {

// $`variable` when it is an absolute folder, else $HOME/`underHome`; then "adultify".
std::optional<fs::path> AdultifyFolder(const EnvironmentLookup& env, const char* variable,
                                       const fs::path& underHome) {
    if (const char* value = env(variable); value && *value && fs::path(value).is_absolute())
        return fs::path(value) / "adultify";
    if (const char* home = env("HOME"); home && *home)
        return fs::path(home) / underHome / "adultify";
    return std::nullopt;
}

} // namespace

std::optional<fs::path> RememberedFolderFile(const EnvironmentLookup& env) {
    const auto folder = AdultifyFolder(env, "XDG_CONFIG_HOME", ".config");
    if (!folder) return std::nullopt;
    return *folder / "remembered";
}

std::optional<fs::path> DefaultSnapshotRoot(const EnvironmentLookup& env) {
    const auto folder = AdultifyFolder(env, "XDG_DATA_HOME", fs::path(".local") / "share");
    if (!folder) return std::nullopt;
    return *folder / "snapshots";
}

} // namespace adultify
