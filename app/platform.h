#pragma once
// What a run reads the machine through: the registry and the file system, wired the same way
// for both front ends. On Windows the real ones; elsewhere the Wine prefix's.

#include "files/native_file_system.h"
#include "install/registry.h"
#include "install/wine_prefix.h"

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace adultify {

// Windows programs take "/?" as a request for help.
#ifdef _WIN32
inline constexpr bool kSlashHelp = true;
#else
inline constexpr bool kSlashHelp = false;
#endif

struct Platform {
    std::unique_ptr<Registry> registry;
    std::unique_ptr<FileSystem> files;
    // The prefix's drive folder (Linux): the path dialog offers its drives.
    std::optional<std::filesystem::path> dosdevices;
    // Where snapshots are kept, in the user's own data folder.
    std::optional<std::filesystem::path> snapshotRoot;
    // The game's process, in words, when it runs.
    std::function<std::optional<std::string>()> findRunningGame;
    // The environment the platform was made from: the install search reads it.
    EnvironmentLookup env;
};

// The machine's own registry: Windows's, elsewhere the Wine prefix's the environment names.
[[nodiscard]] std::unique_ptr<Registry> SystemRegistry(const EnvironmentLookup& env);

// Makes the registry a run reads from its environment, when it is first read.
using RegistryMaker = std::function<std::unique_ptr<Registry>(const EnvironmentLookup&)>;

[[nodiscard]] Platform MakePlatform(const EnvironmentLookup& env);
// The same with another registry: tests hand in their own, whatever the host's holds.
[[nodiscard]] Platform MakePlatform(const EnvironmentLookup& env, RegistryMaker registry);

// Makes the file system reach a game read through another Wine prefix: its drive letters are
// that prefix's from now on. Nothing changes on Windows, or for a file system of another kind.
void UsePrefix(Platform& p, const std::filesystem::path& prefix);

} // namespace adultify
