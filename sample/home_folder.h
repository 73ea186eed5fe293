#pragma once
// The pieces of a player's home folder where game managers keep Wine prefixes: Steam roots
// and libraries with their Proton prefixes, and prefixes of any kind with or without the game.

#include "sample/game_model.h"

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace adultify::sample {

struct PrefixSpec {
    std::optional<std::string> simsData =
        std::nullopt; // the game's registry key names it; no key without it
    bool win64 = true;
    std::optional<int> codePage =
        std::nullopt;               // the ACP value; Wine leaves it out for 1252 at times
    std::string user = "steamuser"; // the folder under drive_c/users
    std::size_t fillerKeys = 0;     // unrelated keys, about 200 bytes each
};

// system.reg as Wine writes it for `spec`.
[[nodiscard]] std::string PrefixSystemReg(const PrefixSpec& spec);

// A Wine prefix with its drive links, registry files and user folder. Answers the native folder
// of spec.simsData, or drive_c without it.
std::filesystem::path WritePrefix(const std::filesystem::path& prefix, const PrefixSpec& spec);

// The re-release's save folder of `user` (drive_c/users/<user>/Saved Games/Electronic Arts/
// The Sims 25) with the neighbourhoods of `game` and no program; answers the folder.
std::filesystem::path WriteReReleaseSaves(const std::filesystem::path& prefix,
                                          const std::string& user, const GameSpec& game);

// libraryfolders.vdf listing `libraries` in order, in the shape Steam writes.
[[nodiscard]] std::string LibraryFoldersVdf(const std::vector<std::filesystem::path>& libraries);

// A Steam root whose libraryfolders.vdf lists itself, then `others`.
void WriteSteamRoot(const std::filesystem::path& root,
                    const std::vector<std::filesystem::path>& others);

// The Proton prefix of `appId` in a library; answers its pfx folder.
std::filesystem::path WriteProtonPrefix(const std::filesystem::path& library,
                                        const std::string& appId, const PrefixSpec& spec);

} // namespace adultify::sample
