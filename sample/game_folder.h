#pragma once

#include "sample/game_model.h"

#include <filesystem>
#include <string>

namespace adultify::sample {

// Writes a whole file, creating its folder; throws when it cannot.
void WriteFile(const std::filesystem::path& path, const Bytes& data);
// Backslashes and quotes escaped, as Wine's registry files and Steam's vdf files write them.
[[nodiscard]] std::string Escaped(const std::string& s);
// The same for a registry file, with every character beyond ASCII as Wine writes it: \x and
// its UTF-16 units in hex, four digits when a hex digit follows.
[[nodiscard]] std::string RegistryEscaped(const std::string& s);

// Writes the game folder: Sims.exe (a placeholder), GameData, a template folder, and per
// neighbourhood its folder with Neighborhood.iff, Characters, Houses and Export.
void WriteGameFolder(const std::filesystem::path& gameFolder, const GameSpec& game);
// A game folder with one neighbourhood of random residents.
void WriteRandomGame(const std::filesystem::path& gameFolder, const RandomHoodParams& params);
// Only the neighbourhood folders, as the re-release keeps them apart from its program.
void WriteNeighbourhoods(const std::filesystem::path& folder, const std::vector<HoodSpec>& hoods);

// Writes a Wine prefix whose registry names `windowsGamePath` (for example
// "C:\\Program Files (x86)\\Maxis\\The Sims") as the game folder, and answers the native
// folder under drive_c where that game folder is to be written.
std::filesystem::path WriteWinePrefix(const std::filesystem::path& prefix,
                                      const std::string& windowsGamePath, bool win64 = true);

// The same registry file text, for tests that need odd values.
[[nodiscard]] std::string SystemReg(const std::string& windowsGamePath, bool win64);

} // namespace adultify::sample
