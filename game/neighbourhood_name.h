#pragma once
// The one rule that turns the chosen Combo1 entry back into a neighbourhood's folder and files.

#include "core/module1.h"
#include "install/hood_folders.h"

#include <optional>
#include <string>
#include <string_view>

namespace adultify {

inline constexpr std::string_view kHoodEntryPrefix = "Neighbourhood";

// "Neighbourhood" + blank + n.
[[nodiscard]] std::string HoodEntryText(int n);
// The number after the entry's prefix, leading blanks ignored.
[[nodiscard]] int HoodNumber(std::string_view entryText);
// SimsPath + HoodFolder, without the file's ending: ".iff" and the backups' ".000" follow.
[[nodiscard]] std::string HoodBaseName(std::string_view simsPath, int n);
// SimsPath + HoodFolder + "\Neighborhood.iff".
[[nodiscard]] std::string HoodFile(std::string_view simsPath, int n);
// SimsPath + HoodFolder + "\Characters\".
[[nodiscard]] std::string CharactersFolder(std::string_view simsPath, int n);
// The character file of a user-file name, the name read in the game's code page as the game
// opens it; nothing for an unsafe name.
[[nodiscard]] std::optional<std::string> UserFilePath(std::string_view simsPath, int n,
                                                      const Bytes& userFile, int codePage);

// The same for the neighbourhood chosen in Combo1.
[[nodiscard]] int ChosenHood(Module1& m);
[[nodiscard]] std::optional<std::string> ChosenUserFilePath(Module1& m, const Bytes& userFile);

} // namespace adultify
