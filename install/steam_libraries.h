#pragma once
// Steam's libraries on Linux and the Proton prefixes inside them.

#include "install/vdf.h"

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace adultify {

// The Legacy Collection re-release of 2025.
inline constexpr std::string_view kReReleaseAppId = "3314060";

// Where Steam keeps its root, in the order searched: ~/.steam/steam (usually a link to the
// next), ~/.local/share/Steam, Flatpak's and Snap's. Only folders that exist.
[[nodiscard]] std::vector<std::filesystem::path> SteamRoots(const std::filesystem::path& home);

// The library paths a parsed libraryfolders.vdf names, in file order: the "path" of each
// numbered block, or the value itself in the older flat layout.
[[nodiscard]] std::vector<std::string> LibraryPaths(const VdfNode& root);

// Every library: each root, then the absolute paths its libraryfolders.vdf lists, each folder
// once however many links or entries lead to it. A missing or garbled vdf leaves its root.
[[nodiscard]] std::vector<std::filesystem::path> SteamLibraries(const std::filesystem::path& home);

struct CompatPrefix {
    std::string appId;
    std::filesystem::path prefix; // steamapps/compatdata/<appId>/pfx
};

// The Proton prefixes of a library, by ascending app id.
[[nodiscard]] std::vector<CompatPrefix> CompatPrefixes(const std::filesystem::path& library);

} // namespace adultify
