#pragma once
// The game's neighbourhood folders: UserData for the first, UserData2 to UserData99 after it.

#include <string>
#include <string_view>

namespace adultify {

inline constexpr int kFirstHood = 1, kLastHood = 99;

// "UserData" for 1, "UserData" + n otherwise.
[[nodiscard]] std::string HoodFolder(int n);
// The n whose HoodFolder(n) is `name`, letter case aside; 0 for none.
[[nodiscard]] int HoodOfFolderName(std::string_view name);

} // namespace adultify
