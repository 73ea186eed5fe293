#include "game/neighbourhood_name.h"

#include "app/utilities.h"

namespace adultify {

std::string HoodEntryText(int n) {
    return "Neighbourhood" + WithSignPosition(n);
}

int HoodNumber(std::string_view entryText) {
    if (entryText.size() <= 13) return 0;
    return static_cast<int>(LeadingNumber(entryText.substr(13)));
}

std::string HoodFolder(int n) {
    return n == 1 ? "UserData" : "UserData" + std::to_string(n);
}

std::string HoodFile(std::string_view simsPath, std::string_view entryText) {
    return std::string(simsPath) + HoodFolder(HoodNumber(entryText)) + "\\Neighborhood.iff";
}

std::string CharactersFolder(std::string_view simsPath, std::string_view entryText) {
    return std::string(simsPath) + HoodFolder(HoodNumber(entryText)) + "\\Characters\\";
}

} // namespace adultify
