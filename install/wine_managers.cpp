#include "install/wine_managers.h"

#include <algorithm>
#include <system_error>

namespace adultify {

namespace fs = std::filesystem;

std::vector<fs::path> PrefixesIn(const fs::path& folder) {
    std::vector<fs::path> prefixes;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code fileError;
        if (fs::is_regular_file(it->path() / "system.reg", fileError))
            prefixes.push_back(it->path());
    }
    std::sort(prefixes.begin(), prefixes.end());
    return prefixes;
}

std::vector<fs::path> BottlesPrefixes(const fs::path& home) {
    std::vector<fs::path> prefixes = PrefixesIn(home / ".local/share/bottles/bottles");
    const auto flatpak = PrefixesIn(home / ".var/app/com.usebottles.bottles/data/bottles/bottles");
    prefixes.insert(prefixes.end(), flatpak.begin(), flatpak.end());
    return prefixes;
}

std::vector<fs::path> LutrisPrefixes(const fs::path& home) {
    return PrefixesIn(home / "Games");
}

std::vector<fs::path> HeroicPrefixes(const fs::path& home) {
    return PrefixesIn(home / "Games" / "Heroic" / "Prefixes");
}

} // namespace adultify
