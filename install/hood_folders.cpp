#include "install/hood_folders.h"

#include "text/ascii.h"

namespace adultify {

std::string HoodFolder(int n) {
    return n == 1 ? "UserData" : "UserData" + std::to_string(n);
}

int HoodOfFolderName(std::string_view name) {
    // Only the game's own spellings count: "UserData1" and "UserData02" are not neighbourhoods.
    constexpr std::string_view stem = "userdata";
    if (name.size() < stem.size() || !EqualIgnoringCase(name.substr(0, stem.size()), stem))
        return 0;
    const std::string_view digits = name.substr(stem.size());
    if (digits.empty()) return kFirstHood;
    if (digits.size() > 2 || digits[0] == '0' ||
        digits.find_first_not_of("0123456789") != std::string_view::npos)
        return 0;
    int n = 0;
    for (const char digit : digits)
        n = n * 10 + (digit - '0');
    return n >= 2 && n <= kLastHood ? n : 0;
}

} // namespace adultify
