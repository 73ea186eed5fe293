#include "install/wine_prefix.h"

#include <system_error>

namespace adultify {

std::optional<std::filesystem::path> WinePrefix(const EnvironmentLookup& env) {
    if (const char* prefix = env("WINEPREFIX"); prefix && *prefix) {
        std::filesystem::path p(prefix);
        if (p.is_absolute()) return p;
    }
    if (const char* home = env("HOME"); home && *home) return std::filesystem::path(home) / ".wine";
    return std::nullopt;
}

std::optional<std::filesystem::path> EnclosingPrefix(const std::filesystem::path& folder) {
    std::error_code ec;
    std::filesystem::path at = std::filesystem::absolute(folder, ec).lexically_normal();
    if (ec) return std::nullopt;
    if (!at.has_filename()) at = at.parent_path(); // "/a/b/" is "/a/b"
    for (;; at = at.parent_path()) {
        if (std::filesystem::is_regular_file(at / "system.reg", ec) &&
            std::filesystem::is_directory(at / "drive_c", ec))
            return at;
        if (at == at.parent_path()) return std::nullopt;
    }
}

} // namespace adultify
