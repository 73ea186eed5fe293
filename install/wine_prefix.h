#pragma once

#include <filesystem>
#include <functional>
#include <optional>

namespace adultify {

using EnvironmentLookup = std::function<const char*(const char*)>;

// $WINEPREFIX when it is an absolute path, else ~/.wine; nothing when neither can be named.
[[nodiscard]] std::optional<std::filesystem::path> WinePrefix(const EnvironmentLookup& env);

// The Wine prefix `folder` lies in: the nearest of it and its parents that holds system.reg and
// drive_c; nothing outside every prefix.
[[nodiscard]] std::optional<std::filesystem::path>
EnclosingPrefix(const std::filesystem::path& folder);

} // namespace adultify
