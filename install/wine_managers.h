#pragma once
// Wine prefixes kept by the game managers of Linux desktops. Only folders holding a
// system.reg count as prefixes.

#include <filesystem>
#include <vector>

namespace adultify {

// One prefix per bottle: ~/.local/share/bottles/bottles/<name>/, then Flatpak's
// ~/.var/app/com.usebottles.bottles/data/bottles/bottles/<name>/. Each group by name.
[[nodiscard]] std::vector<std::filesystem::path> BottlesPrefixes(const std::filesystem::path& home);

// Lutris' default: ~/Games/<name>/.
[[nodiscard]] std::vector<std::filesystem::path> LutrisPrefixes(const std::filesystem::path& home);

// Heroic's default: ~/Games/Heroic/Prefixes/<name>/.
[[nodiscard]] std::vector<std::filesystem::path> HeroicPrefixes(const std::filesystem::path& home);

// The prefixes directly inside `folder`, by name.
[[nodiscard]] std::vector<std::filesystem::path> PrefixesIn(const std::filesystem::path& folder);

} // namespace adultify
