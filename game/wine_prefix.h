#pragma once

#include <filesystem>
#include <functional>
#include <optional>

namespace adultify {

using EnvironmentLookup = std::function<const char*(const char*)>;

// $WINEPREFIX when it is an absolute path, else ~/.wine; nothing when neither can be named.
[[nodiscard]] std::optional<std::filesystem::path> WinePrefix(const EnvironmentLookup& env);

} // namespace adultify
