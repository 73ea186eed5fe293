#include "game/wine_prefix.h"

namespace adultify {

std::optional<std::filesystem::path> WinePrefix(const EnvironmentLookup& env) {
    if (const char* prefix = env("WINEPREFIX"); prefix && *prefix) {
        std::filesystem::path p(prefix);
        if (p.is_absolute()) return p;
    }
    if (const char* home = env("HOME"); home && *home) return std::filesystem::path(home) / ".wine";
    return std::nullopt;
}

} // namespace adultify
