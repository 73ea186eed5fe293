#pragma once

#include "core/module1.h"
#include "game/registry.h"

#include <string>
#include <string_view>

namespace adultify {

inline constexpr std::string_view kNotFound = "Not Found";
inline constexpr std::string_view kFallbackSimsPath = "\\Games\\The Sims\\";

// The game folder from the registry with a trailing backslash, or "Not Found".
[[nodiscard]] std::string GetSimsPath(Registry& registry);
[[nodiscard]] std::string GetRegValue(Registry& registry, RegRoot root, std::string_view keyName,
                                      std::string_view valueName);
// The message of a start without a game folder.
void ShowNoSimsMessage(Module1& m);

[[nodiscard]] std::string QueryRegValue(Registry& registry, RegKey key, std::string_view valueName);

} // namespace adultify
