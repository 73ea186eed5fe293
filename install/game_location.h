#pragma once

#include "install/registry.h"

#include <string>
#include <string_view>

namespace adultify {

inline constexpr std::string_view kNotFound = "Not Found";
inline constexpr std::string_view kFallbackSimsPath = "\\Games\\The Sims\\";

// The game folder from the registry with a trailing backslash, or "Not Found".
[[nodiscard]] std::string GetSimsPath(Registry& registry);
[[nodiscard]] std::string GetRegValue(Registry& registry, RegRoot root, std::string_view keyName,
                                      std::string_view valueName);
[[nodiscard]] std::string QueryRegValue(Registry& registry, RegKey key, std::string_view valueName);

} // namespace adultify
