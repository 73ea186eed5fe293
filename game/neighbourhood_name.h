#pragma once
// The one rule that turns the chosen Combo1 entry back into a neighbourhood's folder and files.

#include <string>
#include <string_view>

namespace adultify {

// "Neighbourhood" + blank + n.
[[nodiscard]] std::string HoodEntryText(int n);
// The number after the first 13 characters of the entry text, leading blanks ignored.
[[nodiscard]] int HoodNumber(std::string_view entryText);
// "UserData" for 1, "UserData" + n otherwise.
[[nodiscard]] std::string HoodFolder(int n);
// SimsPath + HoodFolder + "\Neighborhood.iff".
[[nodiscard]] std::string HoodFile(std::string_view simsPath, std::string_view entryText);
// SimsPath + HoodFolder + "\Characters\".
[[nodiscard]] std::string CharactersFolder(std::string_view simsPath, std::string_view entryText);

} // namespace adultify
